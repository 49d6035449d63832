#include "host/panel/panel_inputs.h"

#include <algorithm>

namespace kvr9 {

PanelInputs::PanelInputs(Instrument& instrument, PanelObserver* observer)
    : instrument_(instrument) {
  if (observer != nullptr) observers_.push_back(observer);
}

void PanelInputs::AddObserver(PanelObserver& observer) {
  observers_.push_back(&observer);
}

void PanelInputs::RemoveObserver(PanelObserver& observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), &observer), observers_.end());
}

void PanelInputs::PressOn() {
  const bool running = IsRunning(instrument_);
  for (PanelObserver* observer : observers_) observer->PowerOnClicked(running);
  if (!running) stopWanted_ = false;
  RequestPowerOn(instrument_);
}

void PanelInputs::SwitchOn() {
  const bool running = IsRunning(instrument_);
  for (PanelObserver* observer : observers_) observer->PowerOnClicked(running);
  if (!running) stopWanted_ = false;
  kvr9::SwitchOn(instrument_);
}

void PanelInputs::PressOff() {
  for (PanelObserver* observer : observers_) observer->OffClicked();
  RequestStop(instrument_);
}

void PanelInputs::ClickKey(KeyEvent key) {
  const bool stored = instrument_.state.ui.pendingKey == KeyNone;
  for (PanelObserver* observer : observers_) observer->KeyClicked(key, stored);
  StoreKey(instrument_, key);
}

void PanelInputs::MoveSlider(SliderKind slider, std::int32_t position, bool byFlight) {
  constexpr auto kHighest = static_cast<std::int32_t>(kSliderHighest);
  const std::int32_t reading = position < 0 ? 0 : position > kHighest ? kHighest : position;
  for (PanelObserver* observer : observers_) {
    if (byFlight) {
      observer->FlightMovedSlider(slider, reading);
    } else {
      observer->SliderMoved(slider, reading);
    }
  }
  AirData& air = instrument_.state.airData;
  (slider == SliderKind::Altitude ? air.altAdcRaw : air.asiAdcRaw) = reading;
}

void PanelInputs::SetBox(BoxKind box, bool checked) {
  for (PanelObserver* observer : observers_) observer->BoxChanged(box, checked);
  (box == BoxKind::Calibrate ? calibrateChecked_ : keyFastChecked_) = checked;
}

void PanelInputs::TimerTick() {
  for (PanelObserver* observer : observers_) observer->TimerTicked();
  OnTimerTick(instrument_);
}

void PanelInputs::StopAtFirstChance() {
  stopWanted_ = true;
  RequestStop(instrument_);
}

void PanelInputs::EventsBegin() {
  for (PanelObserver* observer : observers_) observer->EventsBegin();
}

void PanelInputs::EventsEnd() {
  if (stopWanted_ && IsRunning(instrument_)) RequestStop(instrument_);
  for (PanelObserver* observer : observers_) observer->EventsEnd();
}

}  // namespace kvr9
