// The front panel's inputs as every front end applies them: "ON", "OFF", a
// key (kept only while none is pending), a converter slider, a check box
// and the 100 ms timer tick, each applied to the instrument exactly as the
// window's handlers apply it, and recorded as it is applied so that the
// session can be copied as a scenario.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/instrument.h"
#include "host/scenario.h"
#include "host/session_record.h"

namespace kvr9 {

enum class InputKind : std::uint8_t { On, Off, Key, Slider, Box, Tick };

struct PanelInput {
  InputKind kind = InputKind::Tick;
  KeyEvent key = KeyNone;                    // Key
  SliderKind slider = SliderKind::Altitude;  // Slider
  BoxKind box = BoxKind::Calibrate;          // Box
  bool checked = false;                      // Box
  std::int32_t position = 0;                 // Slider: 0..kSliderHighest
};

class PanelInputs {
 public:
  // A recording front end passes its record; the inputs are written to it
  // as they are applied.
  explicit PanelInputs(Instrument& instrument, SessionRecord* record = nullptr);

  void Apply(const PanelInput& input);

  // "ON" switched off runs the whole power cycle and returns when it is off
  // again; while it runs, it asks the loop to start over.
  void PressOn();
  void PressOff();
  // Kept only while no key is pending; otherwise dropped, as a click is.
  void ClickKey(KeyEvent key);
  // A converter reading; positions beyond the slider's ends take the end.
  void MoveSlider(SliderKind slider, std::int32_t position);
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

  // The firmware's ProcessPendingEvents: entered at the end of every pass,
  // left when the firmware goes on.
  void EventsBegin();
  void EventsEnd();

 private:
  Instrument& instrument_;
  SessionRecord* record_;
  bool calibrateChecked_ = false;
  bool keyFastChecked_ = false;
  bool stopWanted_ = false;
};

}  // namespace kvr9
