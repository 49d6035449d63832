// The flight bar: a strip below the form with the flight's controls and
// what a pilot reads about it, in the texts the web page's bar shows too
// (host/flight_summary.h). Every text is set only when it changes, so a
// bar at rest costs no repainting.
#include <QButtonGroup>
#include <QCoreApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include "host/flights/flight_summary.h"
#include "panel/form_layout.h"
#include "panel/pcmain.h"

namespace kvr9 {

namespace {

constexpr int kNoteLines = 4;

void SetText(QLabel* label, const QString& text) {
  if (label->text() != text) label->setText(text);
}

void SetText(QPushButton* button, const QString& text) {
  if (button->text() != text) button->setText(text);
}

QPushButton* BarButton(const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setAutoDefault(false);
  return button;
}

}  // namespace

void TForm1::CreateFlightBar() {
  FlightBar = new QFrame(this);
  FlightBar->setObjectName(QStringLiteral("FlightBar"));
  FlightBar->setFrameStyle(QFrame::Panel | QFrame::Raised);
  FlightBar->setGeometry(0, kFormHeight, kFormWidth, kFlightBarHeight);
  FlightBar->setAccessibleName(QCoreApplication::translate("Window", "Flight"));
  FlightBar->hide();

  FlightPlay = BarButton(QCoreApplication::translate("Window", "Fly"), FlightBar);
  FlightPlay->setObjectName(QStringLiteral("FlightPlay"));
  FlightPlay->setMinimumWidth(64);
  FlightSpeed = new QButtonGroup(FlightBar);
  auto* controls = new QHBoxLayout;
  controls->setSpacing(4);
  controls->addWidget(FlightPlay);
  for (const std::uint32_t speedUp : kFlightBarSpeeds) {
    auto* button = BarButton(QStringLiteral("x%1").arg(speedUp), FlightBar);
    button->setCheckable(true);
    button->setChecked(speedUp == rig().Flight().speed);
    button->setFixedWidth(36);
    button->setToolTip(QCoreApplication::translate("Window", "Play %1 times as fast").arg(speedUp));
    FlightSpeed->addButton(button, static_cast<int>(speedUp));
    controls->addWidget(button);
  }
  FlightScrub = new QSlider(Qt::Horizontal, FlightBar);
  FlightScrub->setObjectName(QStringLiteral("FlightScrub"));
  FlightScrub->setAccessibleName(QCoreApplication::translate("Window", "Moment of the flight"));
  FlightScrub->setToolTip(
      QCoreApplication::translate("Window", "Drag to any moment of the flight"));
  FlightScrub->setPageStep(60);
  FlightTime = new QLabel(FlightBar);
  FlightTime->setToolTip(
      QCoreApplication::translate("Window", "Time into the flight, and its length"));
  auto* open = BarButton(QCoreApplication::translate("Window", "Open..."), FlightBar);
  open->setToolTip(QCoreApplication::translate("Window", "Open another flight log, IGC or CSV"));
  connect(open, &QPushButton::clicked, this, &TForm1::ChooseFlightLog);
  FlightClose = BarButton(QCoreApplication::translate("Window", "Close"), FlightBar);
  FlightClose->setToolTip(QCoreApplication::translate(
      "Window", "Close the flight bar; the sliders stay where they are"));
  controls->addWidget(FlightScrub, 1);
  controls->addWidget(FlightTime);
  controls->addWidget(open);
  controls->addWidget(FlightClose);

  FlightName = new QLabel(FlightBar);
  FlightName->setTextFormat(Qt::PlainText);
  FlightNow = new QLabel(FlightBar);
  FlightNow->setToolTip(QCoreApplication::translate(
      "Window",
      "The flight's pressure altitude and indicated airspeed now, in the instrument's units"));
  auto* facts = new QHBoxLayout;
  facts->addWidget(FlightName, 1);
  facts->addWidget(FlightNow);

  FlightNote = new QLabel(FlightBar);
  FlightNote->setObjectName(QStringLiteral("FlightNote"));
  FlightNote->setTextFormat(Qt::PlainText);
  FlightNote->setWordWrap(true);
  FlightNote->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  FlightNote->setFixedHeight(kNoteLines * FlightNote->fontMetrics().lineSpacing());

  auto* rows = new QVBoxLayout(FlightBar);
  rows->setContentsMargins(8, 4, 8, 4);
  rows->setSpacing(3);
  rows->addLayout(controls);
  rows->addLayout(facts);
  rows->addWidget(FlightNote, 1);

  connect(FlightPlay, &QPushButton::clicked, this, &TForm1::FlightPlayClick);
  connect(FlightSpeed, &QButtonGroup::idClicked, this,
          [this](int speedUp) { SetFlightSpeed(static_cast<std::uint32_t>(speedUp)); });
  connect(FlightScrub, &QSlider::valueChanged, this,
          [this](int seconds) { MoveFlightTo(seconds); });
  connect(FlightClose, &QPushButton::clicked, this, &TForm1::CloseFlight);
}

// Made when first shown, so that until then the form is only what its
// layout stores (its controls and their tab order). The window grows below
// the form by the bar's height.
void TForm1::ShowFlightBar() {
  if (FlightBar == nullptr) CreateFlightBar();
  if (!FlightBar->isHidden()) return;
  FlightBar->show();
  FitWindow();
}

// The bar shows while a flight is open or it has something to say (why a
// log was refused); closed, the window shrinks back to the form.
void TForm1::FollowFlight() {
  const FlightStatus status = rig().Flight();
  if (status.open || !status.message.empty()) {
    ShowFlightBar();
  } else if (FlightBar != nullptr && !FlightBar->isHidden()) {
    FlightBar->hide();
    FitWindow();
  }
  UpdateFlightBar(status);
}

void TForm1::UpdateFlightBar(const FlightStatus& status) {
  if (FlightBar == nullptr || FlightBar->isHidden()) return;
  for (QAbstractButton* button : FlightSpeed->buttons()) button->setEnabled(status.open);
  // A snapshot opened brings its flight's speed.
  if (FlightSpeed->checkedId() != static_cast<int>(status.speed)) {
    if (QAbstractButton* chosen = FlightSpeed->button(static_cast<int>(status.speed))) {
      chosen->setChecked(true);
    }
  }
  FlightPlay->setEnabled(status.open);
  FlightScrub->setEnabled(status.open);
  SetText(FlightPlay, !status.instrumentOn
                          ? QCoreApplication::translate("Window", "Fly")
                          : (status.playing ? QCoreApplication::translate("Window", "Pause")
                                            : QCoreApplication::translate("Window", "Play")));
  const QString playTip =
      status.instrumentOn
          ? QString()
          : QCoreApplication::translate("Window", "Switch the instrument ON and fly from here");
  if (FlightPlay->toolTip() != playTip) FlightPlay->setToolTip(playTip);

  std::string note = status.message;
  if (status.open) {
    if (!FlightScrub->isSliderDown()) {
      const QSignalBlocker quiet(FlightScrub);
      if (FlightScrub->maximum() != status.totalSeconds) {
        FlightScrub->setRange(0, static_cast<int>(status.totalSeconds));
      }
      FlightScrub->setValue(static_cast<int>(status.elapsedSeconds));
    }
    SetText(FlightTime, QString::fromStdString(ClockText(status.elapsedSeconds) + " / " +
                                               ClockText(status.totalSeconds)));
    SetText(FlightNow, QString::fromStdString(ShownValuesText(status.now)));
    SetText(FlightName, QString::fromStdString(status.name + ": " + status.summary));
    const std::string notes = FlightNotes(status, "\n", false);
    if (!note.empty() && !notes.empty()) note += '\n';
    note += notes;
  } else {
    SetText(FlightTime, QString());
    SetText(FlightNow, QString());
    SetText(FlightName, QCoreApplication::translate("Window", "No flight log open"));
  }
  const QString noteText = QString::fromStdString(note);
  SetText(FlightNote, noteText);
  if (FlightNote->toolTip() != noteText) FlightNote->setToolTip(noteText);
}

}  // namespace kvr9
