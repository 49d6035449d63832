// How the window runs the instrument: a timer steps it a pass at a time,
// every kPassPeriodMs paced or back to back unpaced, and Qt's own event
// loop delivers the window's events between the passes; and how closing
// the window switches a running instrument off.
#include <QCloseEvent>
#include <QTimer>

#include "panel/panel_widgets.h"
#include "panel/pcmain.h"

namespace kvr9 {

void TForm1::SetPacing(bool paced) {
  passTimer_->setInterval(paced ? kPassPeriodMs : 0);
}

// "ON": switched off, the instrument starts and its first pass runs at
// once, as the power-on does; then the timer runs the passes. While it
// runs, the next pass starts the power cycle over.
void TForm1::Button1Click() {
  const bool wasOn = session_.IsOn();
  session_.PressOn();
  if (wasOn || passTimer_->isActive()) return;
  if (RunPass()) passTimer_->start();
}

// Before each pass but the first, the flight moves the sliders, after the
// events the window has let in since the pass before.
void TForm1::PassTimerTimer() {
  PlayFlightPass();
  RunPass();
}

bool TForm1::RunPass() {
  const bool on = session_.Step();
  if (!on) {
    passTimer_->stop();
    flight_.SwitchedOff();
    UpdateFlightBar();
  }
  return on;
}

// What the firmware's wait for events used to do as a pass ended: the LCD
// is read as text for a new frame, once it has been presented, and what
// the main loop hid while drawing is shown again.
void TForm1::PassEnded() {
  if (lcdDescriptionStale_) {
    lcdDescriptionStale_ = false;
    DescribeLcd();
  }
  Image1->ShowVisibilityChange();
  UpdateSliderToolTips();
  UpdateStandCaption();
  UpdateLessonPanel();
}

// Closing the window while the instrument runs switches it off: its passes
// run back to back until it is (a stop during the splash is asked again at
// every pass); the program ends once the window has closed.
void TForm1::closeEvent(QCloseEvent* event) {
  if (session_.IsOn()) {
    inputs_.StopAtFirstChance();
    while (RunPass()) {
    }
  }
  event->accept();
}

}  // namespace kvr9
