// The keyboard and the mouse wheel: the instrument's keys and knob on keys
// that no control of the form uses, so the focused control keeps its own
// (arrows and Page Up/Down move a slider, Space clicks a button or ticks a
// box); Ctrl+C copies the LCD picture; tooltips name the keys.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QFile>
#include <QKeySequence>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>

#include "host/common/quote.h"
#include "host/panel/key_table.h"
#include "panel/panel_widgets.h"
#include "panel/pcmain.h"
#include "panel/window_language.h"

namespace kvr9 {

// The handler of the control that a key of the instrument is on.
TForm1::Handler TForm1::HandlerOf(KeyEvent key) {
  switch (key) {
    case KeyF1:
      return &TForm1::Image3Click;
    case KeyF2:
      return &TForm1::Image6Click;
    case KeyPress:
      return &TForm1::Image5Click;
    case KeyClockwise:
      return &TForm1::Button3Click;
    default:
      return &TForm1::Button4Click;
  }
}

void TForm1::CreateShortcuts() {
  // The keyboard keys of the instrument's keys, from the table every front
  // end shares.
  for (const InstrumentKey& key : InstrumentKeys()) {
    auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(key.keyboard)), this);
    connect(shortcut, &QShortcut::activated, this, HandlerOf(key.key));
  }
  const struct {
    QKeySequence keys;
    Handler handler;
  } copies[] = {
      {QKeySequence::Copy, &TForm1::CopyLcdPicture},
      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), &TForm1::CopySessionAsScenario},
  };
  for (const auto& s : copies) {
    auto* shortcut = new QShortcut(s.keys, this);
    connect(shortcut, &QShortcut::activated, this, s.handler);
  }
  // Away from you turns the knob clockwise.
  connect(Image5, &ClickArea::wheelTurned, this,
          [this](bool away) { away ? Button3Click() : Button4Click(); });
}

// The form's table holds the tooltips, with the keyboard key that works
// each control (as FormToolTip writes them, in the window's language).
void TForm1::AddToolTips() {
  for (const FormControl& control : FormControls()) {
    if (control.tooltip == nullptr) continue;
    auto* widget = findChild<QWidget*>(QString::fromLatin1(control.name));
    if (widget == nullptr) continue;
    QString tip = WindowWord(control.tooltip);
    const InstrumentKey* key = KeyByEvent(control.key);
    if (control.key != KeyNone && key != nullptr) {
      tip += QCoreApplication::translate("Window", " - keyboard: %1")
                 .arg(QString::fromLatin1(key->keyboard));
    }
    widget->setToolTip(tip);
  }
}

// The LCD's context menu offers both copies, beside their shortcuts. It
// opens without a loop of its own, so the instrument keeps running while it
// is open.
void TForm1::CreateLcdMenu() {
  const struct {
    const char* text;
    QKeySequence keys;
    void (TForm1::*handler)();
  } items[] = {
      {QT_TRANSLATE_NOOP("Window", "Copy LCD picture"), QKeySequence::Copy,
       &TForm1::CopyLcdPicture},
      {QT_TRANSLATE_NOOP("Window", "Copy session as scenario"),
       QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), &TForm1::CopySessionAsScenario},
      {QT_TRANSLATE_NOOP("Window", "Open flight log..."), QKeySequence(), &TForm1::ChooseFlightLog},
      {QT_TRANSLATE_NOOP("Window", "Save state..."), QKeySequence(), &TForm1::ChooseStateToSave},
      {QT_TRANSLATE_NOOP("Window", "Open state..."), QKeySequence(), &TForm1::ChooseStateToOpen},
      {QT_TRANSLATE_NOOP("Window", "Demo flight"), QKeySequence(),
       &TForm1::PlayDemoFlightFromStart},
      {QT_TRANSLATE_NOOP("Window", "Lessons..."), QKeySequence(), &TForm1::ShowLessons},
      {QT_TRANSLATE_NOOP("Window", "Open lesson..."), QKeySequence(), &TForm1::ChooseLessonFile},
      {QT_TRANSLATE_NOOP("Window", "Stand mode"), QKeySequence(), &TForm1::StartStandMode},
  };
  lcdMenu_ = new QMenu(this);
  Image1->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(Image1, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { lcdMenu_->popup(Image1->mapToGlobal(at)); });
  for (const auto& item : items) {
    auto* action = new QAction(WindowWord(item.text), lcdMenu_);
    action->setShortcut(item.keys);
    action->setShortcutContext(Qt::WidgetShortcut);  // shown in the menu; the form's shortcut acts
    connect(action, &QAction::triggered, this, item.handler);
    lcdMenu_->addAction(action);
  }
}

// Nothing is written anywhere: the clipboard is the only way out. After a
// snapshot was opened, the record starts at its moment.
void TForm1::CopySessionAsScenario() {
  const QString format = QStringLiteral("yyyy-MM-dd HH:mm:ss");
  std::string header = SessionRecord::CopyHeader(
      "kvr9-simulator " KVR9_VERSION, sessionStart_.toString(format).toStdString(),
      QDateTime::currentDateTimeUtc().toString(format).toStdString());
  if (!openedState_.isEmpty()) {
    const std::string state =
        Clipped(QFile::encodeName(openedState_).toStdString(), kLongestQuotedPath);
    // A snapshot inside a lesson runs as that lesson's start.
    header += openedStateInLesson_ ? "# Starts from the snapshot inside the lesson " + state +
                                         ": put 'lesson " + state + "' before the first step\n"
                                   : "# Starts from the state " + state +
                                         ": kvr9-headless --from " + state + " SCENARIO\n";
  }
  QApplication::clipboard()->setText(QString::fromStdString(session().record().AsScenario(header)));
}

void TForm1::CopyLcdPicture() {
  QApplication::clipboard()->setImage(LcdPicture());
}

}  // namespace kvr9
