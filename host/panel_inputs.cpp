#include "host/panel_inputs.h"

namespace kvr9 {

PanelInputs::PanelInputs(Instrument& instrument, SessionRecord* record)
    : instrument_(instrument), record_(record) {}

void PanelInputs::Apply(const PanelInput& input) {
  switch (input.kind) {
    case InputKind::On:
      PressOn();
      break;
    case InputKind::Off:
      PressOff();
      break;
    case InputKind::Key:
      ClickKey(input.key);
      break;
    case InputKind::Slider:
      MoveSlider(input.slider, input.position);
      break;
    case InputKind::Box:
      SetBox(input.box, input.checked);
      break;
    case InputKind::Tick:
      TimerTick();
      break;
  }
}

void PanelInputs::PressOn() {
  const bool running = IsRunning(instrument_);
  if (record_ != nullptr) record_->PowerOnClicked(running);
  if (!running) stopWanted_ = false;
  RequestPowerOn(instrument_);
}

void PanelInputs::PressOff() {
  if (record_ != nullptr) record_->OffClicked();
  RequestStop(instrument_);
}

void PanelInputs::ClickKey(KeyEvent key) {
  if (record_ != nullptr) record_->KeyClicked(key, instrument_.state.ui.pendingKey == KeyNone);
  StoreKey(instrument_, key);
}

void PanelInputs::MoveSlider(SliderKind slider, std::int32_t position) {
  constexpr auto kHighest = static_cast<std::int32_t>(kSliderHighest);
  const std::int32_t reading = position < 0 ? 0 : position > kHighest ? kHighest : position;
  if (record_ != nullptr) record_->SliderMoved(slider, reading);
  AirData& air = instrument_.state.airData;
  (slider == SliderKind::Altitude ? air.altAdcRaw : air.asiAdcRaw) = reading;
}

void PanelInputs::SetBox(BoxKind box, bool checked) {
  if (record_ != nullptr) record_->BoxChanged(box, checked);
  (box == BoxKind::Calibrate ? calibrateChecked_ : keyFastChecked_) = checked;
}

void PanelInputs::TimerTick() {
  if (record_ != nullptr) record_->TimerTicked();
  OnTimerTick(instrument_);
}

void PanelInputs::StopAtFirstChance() {
  stopWanted_ = true;
  RequestStop(instrument_);
}

void PanelInputs::EventsBegin() {
  if (record_ != nullptr) record_->EventsBegin();
}

void PanelInputs::EventsEnd() {
  if (stopWanted_ && IsRunning(instrument_)) RequestStop(instrument_);
  if (record_ != nullptr) record_->EventsEnd();
}

}  // namespace kvr9
