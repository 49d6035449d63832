// What watches the panel's inputs as the firmware receives them: the
// session recorder, and whatever else wants to follow a person's hands (a
// lesson). Each is told of an input as it is applied, and of the firmware's
// passes as they begin and end the time between two passes.
#pragma once

#include <cstdint>

#include "core/instrument.h"
#include "host/panel/panel_types.h"

namespace kvr9 {

class PanelObserver {
 public:
  virtual ~PanelObserver() = default;

  // running: the instrument was on, so "ON" restarts it.
  virtual void PowerOnClicked(bool running) = 0;
  virtual void OffClicked() = 0;
  // stored: no key was pending, so the firmware keeps it.
  virtual void KeyClicked(KeyEvent key, bool stored) = 0;
  virtual void SliderMoved(SliderKind slider, std::int32_t position) = 0;
  // A flight played, not a hand, moved the slider; the firmware sees it the
  // same, so by default it is a move like any other.
  virtual void FlightMovedSlider(SliderKind slider, std::int32_t position) {
    SliderMoved(slider, position);
  }
  virtual void BoxChanged(BoxKind box, bool checked) = 0;
  virtual void TimerTicked() = 0;

  // A pass has ended and the time before the next one begins; and ends.
  virtual void EventsBegin() = 0;
  virtual void EventsEnd() = 0;
};

}  // namespace kvr9
