#include "panel/panel_controller.h"

#include "panel/pcmain.h"

namespace kvr9 {

PanelController::PanelController(TForm1& form, Instrument& instrument)
    : form_(form), rig_(*this, instrument) {
  passTimer_.setTimerType(Qt::PreciseTimer);
  passTimer_.setInterval(TForm1::kPassPeriodMs);
  connect(&passTimer_, &QTimer::timeout, &form_, &TForm1::PassTimerTimer);
}

void PanelController::SetPacing(bool paced) {
  passTimer_.setInterval(paced ? TForm1::kPassPeriodMs : 0);
}

void PanelController::ShowFrame(const FrameBuffer& frame, bool changed) {
  form_.ShowFrame(frame, changed);
}

void PanelController::ShowLcdVisible(bool visible) {
  form_.ShowLcdVisible(visible);
}

void PanelController::ShowLed(bool lit) {
  form_.ShowLed(lit);
}

void PanelController::ShowCommLine(const char* text, const CommLines::Change& change) {
  form_.ShowCommLine(text, change);
}

void PanelController::PassEnded() {
  form_.PassEnded();
}

// The passes go on from here, or stay stopped.
void PanelController::ShowRunning(bool on) {
  if (!on) {
    passTimer_.stop();
  } else if (!passTimer_.isActive()) {
    passTimer_.start();
  }
}

void PanelController::ShowSlider(SliderKind slider, std::int32_t position) {
  form_.PutSlider(slider, position);
}

void PanelController::ShowBox(BoxKind box, bool checked) {
  form_.PutBox(box, checked);
}

void PanelController::ShowCommWindow(const CommLines::Memory& lines) {
  form_.PutCommLines(lines);
}

void PanelController::ShowFlight() {
  form_.FollowFlight();
}

void PanelController::ShowStandCaption(const char* caption) {
  form_.FollowStandCaption(caption);
}

void PanelController::ShowLesson() {
  form_.UpdateLessonPanel();
}

}  // namespace kvr9
