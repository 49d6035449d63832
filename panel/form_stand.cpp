// Stand mode, for a dealer's stand: the rig's tour of the instrument loops
// on the running instrument and a caption over the communication window
// says what it shows; the rig keeps the tour and its rules. The next click, touch, wheel turn or
// key anywhere in the window ends it and is held back from the instrument, which is handed over as
// it stands; a minute without an input starts the tour again, until the dealer leaves stand mode
// from the status bar.
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
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
  StandPanel->setAccessibleName(QCoreApplication::translate("Window", "Stand mode"));
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

  StandResumeBar = new QWidget(StatusBar1);
  StandResumeBar->setObjectName(QStringLiteral("StandResumeBar"));
  auto* line = new QHBoxLayout(StandResumeBar);
  line->setContentsMargins(0, 0, 0, 0);
  line->addWidget(new QLabel(QString::fromLatin1(kStandResumes), StandResumeBar));
  auto* leave =
      new QPushButton(QCoreApplication::translate("Window", "Leave stand mode"), StandResumeBar);
  leave->setObjectName(QStringLiteral("StandLeave"));
  leave->setFlat(true);
  connect(leave, &QPushButton::clicked, this, &TForm1::LeaveStandMode);
  line->addWidget(leave);
  StatusBar1->addPermanentWidget(StandResumeBar);
  StandResumeBar->hide();
  StandResumeTimer = new QTimer(this);
  StandResumeTimer->setObjectName(QStringLiteral("StandResumeTimer"));
  StandResumeTimer->setSingleShot(true);
  StandResumeTimer->setTimerType(Qt::PreciseTimer);  // put off by each input, to the millisecond
  StandResumeTimer->setInterval(kStandResumeSeconds * 1000);
  connect(StandResumeTimer, &QTimer::timeout, this, &TForm1::StartStandMode);
}

// Switched on afresh, with the tour at its start. Watching every input of
// the window from now on, until the dealer leaves stand mode.
void TForm1::StartStandMode() {
  CloseLessons();
  if (StandPanel == nullptr) CreateStandPanel();
  standChosen_ = true;
  StandResumeTimer->stop();
  StandResumeBar->hide();
  qApp->installEventFilter(this);  // once: installed again, it only moves to the front
  rig().StartStand();
}

// A visitor's input, or a lesson chosen: the tour stops, and resumes after
// a quiet spell (FollowStandCaption hears of it).
void TForm1::EndStandMode() {
  rig().EndStand();
}

void TForm1::LeaveStandMode() {
  EndStandMode();
  standChosen_ = false;
  if (StandResumeTimer != nullptr) StandResumeTimer->stop();
  if (StandResumeBar != nullptr) StandResumeBar->hide();
  if (!standEnding_) qApp->removeEventFilter(this);
}

// The caption over the communication window while the tour runs; once it
// stops, whatever stopped it, the line that says it resumes.
void TForm1::FollowStandCaption(const char* caption) {
  if (StandPanel == nullptr) return;
  if (*caption != '\0') {
    const QString text = QString::fromLatin1(caption);
    if (StandCaption->text() != text) StandCaption->setText(text);
    if (StandPanel->isHidden()) {
      StandPanel->show();
      StandPanel->raise();
    }
    return;
  }
  StandPanel->hide();
  if (standChosen_) {
    StandResumeBar->show();
    StandResumeTimer->start();
  }
}

// Installed on the application while stand mode is chosen, and until the
// input that ended it has let go: that input, press and release, reaches
// no control of this window, nor any shortcut (a key's shortcut is asked
// about first, as an override, and held back then). Every input after it
// passes, and puts the tour's return off.
bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  const auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr || widget->window() != this) return false;
  const QEvent::Type type = event->type();
  if (rig().StandActive() && StartsAnInput(type)) {
    EndStandMode();
    standEnding_ = true;
    // A key's press follows its override at once; a release that never
    // comes must not hold back a later input.
    QTimer::singleShot(1000, this, [this] {
      if (standEnding_ && !rig().StandActive()) StopHoldingStandInput();
    });
    event->accept();
    return true;
  }
  if (!rig().StandActive() && standEnding_) {
    if (StartsAnInput(type)) {
      event->accept();
      return true;
    }
    if (EndsAnInput(type)) {
      if (type != QEvent::TouchUpdate) StopHoldingStandInput();
      event->accept();
      return true;
    }
  }
  if (standChosen_ && !rig().StandActive() && StartsAnInput(type)) StandResumeTimer->start();
  return false;
}

void TForm1::StopHoldingStandInput() {
  standEnding_ = false;
  if (!standChosen_) qApp->removeEventFilter(this);
}

}  // namespace kvr9
