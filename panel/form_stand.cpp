// Stand mode, for a dealer's stand: the demo flight loops on the running
// instrument and a caption over the communication window says what it
// shows; the host library's StandMode keeps the rules. The next click,
// touch, wheel turn or key anywhere in the window ends it and is held back
// from the instrument, which is handed over as it stands.
#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

#include "panel/form_layout.h"
#include "panel/pcmain.h"

namespace kvr9 {

namespace {

// Where the communication window lies on the form.
constexpr QRect kStandPanelRect(344, 100, 273, 285);

bool StartsAnInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::TouchBegin:
    case QEvent::Wheel:
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
    case QEvent::ContextMenu:
      return true;
    default:
      return false;
  }
}

bool EndsAnInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseButtonRelease:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::KeyRelease:
      return true;
    default:
      return false;
  }
}

}  // namespace

void TForm1::CreateStandPanel() {
  StandPanel = new QFrame(this);
  StandPanel->setObjectName(QStringLiteral("StandPanel"));
  StandPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  StandPanel->setAutoFillBackground(true);
  StandPanel->setGeometry(kStandPanelRect);
  StandPanel->setAccessibleName(QStringLiteral("Stand mode"));
  auto* heading = new QLabel(QStringLiteral("Tarvesk KVR-9"), StandPanel);
  QFont large = heading->font();
  large.setPointSize(large.pointSize() + 5);
  large.setBold(true);
  heading->setFont(large);
  StandCaption = new QLabel(StandPanel);
  StandCaption->setObjectName(QStringLiteral("StandCaption"));
  StandCaption->setTextFormat(Qt::PlainText);
  StandCaption->setWordWrap(true);
  StandCaption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  large.setBold(false);
  large.setPointSize(large.pointSize() - 1);
  StandCaption->setFont(large);
  auto* takeOver = new QLabel(QString::fromLatin1(kStandTakeOver), StandPanel);
  takeOver->setWordWrap(true);
  auto* rows = new QVBoxLayout(StandPanel);
  rows->setContentsMargins(12, 10, 12, 10);
  rows->addWidget(heading);
  rows->addWidget(StandCaption, 1);
  rows->addWidget(takeOver);
  StandPanel->hide();
}

// Switched on afresh, as "Fly" does, with the demo at its start.
void TForm1::StartStandMode() {
  CloseLessons();
  if (StandPanel == nullptr) CreateStandPanel();
  ShowFlightBar();
  stand_.Start();
  FlightSpeed->button(1)->setChecked(true);
  StandCaption->setText(QString::fromLatin1(kStandSwitchingOn));
  StandPanel->show();
  StandPanel->raise();
  if (!standEnding_) qApp->installEventFilter(this);
  Button1Click();
  UpdateFlightBar();
}

void TForm1::EndStandMode() {
  stand_.End();
  if (StandPanel != nullptr) StandPanel->hide();
  UpdateFlightBar();
}

void TForm1::UpdateStandCaption() {
  if (!stand_.Active()) return;
  const QString caption = QString::fromLatin1(stand_.Caption(instrument_, session_.LedLit()));
  if (StandCaption->text() != caption) StandCaption->setText(caption);
}

// Installed on the application while stand mode runs and until the input
// that ended it has let go: that input, press and release, reaches no
// control of this window, nor any shortcut (a key's shortcut is asked
// about first, as an override, and held back then).
bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  const auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr || widget->window() != this) return false;
  const QEvent::Type type = event->type();
  if (stand_.Active() && StartsAnInput(type)) {
    EndStandMode();
    standEnding_ = true;
    // A key's press follows its override at once; a release that never
    // comes must not hold back a later input.
    QTimer::singleShot(1000, this, [this] {
      if (standEnding_ && !stand_.Active()) {
        standEnding_ = false;
        qApp->removeEventFilter(this);
      }
    });
    event->accept();
    return true;
  }
  if (!stand_.Active() && standEnding_) {
    if (StartsAnInput(type)) {
      event->accept();
      return true;
    }
    if (EndsAnInput(type)) {
      if (type != QEvent::TouchUpdate) {
        standEnding_ = false;
        qApp->removeEventFilter(this);
      }
      event->accept();
      return true;
    }
  }
  return false;
}

}  // namespace kvr9
