// The front panel's inputs as every front end applies them: "ON", "OFF", a
// key (kept only while none is pending), a converter slider, a check box
// and the 100 ms timer tick, each applied to the instrument exactly as the
// window's handlers apply it, and told as it is applied to the panel's
// observers (the recorder, so that the session can be copied as a
// scenario).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/instrument.h"
#include "host/panel/panel_observer.h"
#include "host/panel/panel_types.h"

namespace kvr9 {

class PanelInputs {
 public:
  // A recording front end passes its record as the first observer.
  explicit PanelInputs(Instrument& instrument, PanelObserver* observer = nullptr);

  // Told of every input from now on, after the observers before it. The
  // observer must outlive the inputs or be removed first.
  void AddObserver(PanelObserver& observer);
  void RemoveObserver(PanelObserver& observer);

  // "ON" switched off runs the whole power cycle and returns when it is off
  // again; while it runs, it asks the loop to start over.
  void PressOn();
  // "ON" for a host that steps the power cycle itself: switched off, the
  // power cycle starts and its passes come with the host's steps.
  void SwitchOn();
  void PressOff();
  // Kept only while no key is pending; otherwise dropped, as a click is.
  void ClickKey(KeyEvent key);
  // A converter reading; positions beyond the slider's ends take the end.
  // byFlight: a flight being played moved it, not a person's hand.
  void MoveSlider(SliderKind slider, std::int32_t position, bool byFlight = false);
  void SetBox(BoxKind box, bool checked);
  void TimerTick();

  bool IsCalibrateChecked() const { return calibrateChecked_; }
  bool IsKeyFastChecked() const { return keyFastChecked_; }

  // Switches the instrument off at its first chance and keeps it off: a
  // stop asked for during the splash is forgotten when the splash ends, so
  // it is asked again at every pass until the loop has stopped (a window
  // closed while on, a scenario that has run out).
  void StopAtFirstChance();
  bool StopIsWanted() const { return stopWanted_; }

  // What the inputs keep between two passes, for a snapshot: set back as
  // it was, told to no observer (it is no person's input).
  struct Kept {
    bool calibrateChecked = false;
    bool keyFastChecked = false;
    bool stopWanted = false;

    bool operator==(const Kept&) const = default;
  };
  Kept KeptNow() const { return {calibrateChecked_, keyFastChecked_, stopWanted_}; }
  void Restore(const Kept& kept) {
    calibrateChecked_ = kept.calibrateChecked;
    keyFastChecked_ = kept.keyFastChecked;
    stopWanted_ = kept.stopWanted;
  }

  // The firmware's ProcessPendingEvents: entered at the end of every pass,
  // left when the firmware goes on.
  void EventsBegin();
  void EventsEnd();

 private:
  Instrument& instrument_;
  std::vector<PanelObserver*> observers_;
  bool calibrateChecked_ = false;
  bool keyFastChecked_ = false;
  bool stopWanted_ = false;
};

}  // namespace kvr9
