// The words the panel's things are called by, written once for the
// scenario language, the agent server, the lessons, the window and (made
// into a script when the page is built) the page: the units a reading is
// given in, and the controls a lesson names with the form's controls each
// stands for. The keys' words are the key table's (key_table.h).
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "host/panel/panel_types.h"
#include "host/panel/reading_units.h"

namespace kvr9 {

// A reading's unit as a scenario, a lesson and the agent write it:
// "3000ft", "90mph".
struct UnitWord {
  const char* word;
  SliderKind slider;
  ReadingUnit unit;
};

std::span<const UnitWord> UnitWords();
const UnitWord* FindUnitWord(std::string_view word);

// The control a lesson's step names, for a front end to mark on its panel.
enum class PanelControl : std::uint8_t {
  On,
  Off,
  Knob,  // pressed or turned
  F1,
  F2,
  AltitudeSlider,
  AirspeedSlider,
  CalibrateBox,
  KeyFastBox,
};

struct ControlWordEntry {
  PanelControl control;
  const char* word;  // "ON", "knob", "altitude-slider", ...
  // The form's controls it stands for (the knob is pressed on the picture
  // and turned by the two buttons); unused places are nullptr.
  std::array<const char*, 3> formControls;
};

std::span<const ControlWordEntry> ControlWords();
// The words a lesson names the controls by: "ON", "OFF", "knob", "F1",
// "F2", "altitude-slider", "airspeed-slider", "calibrate-box",
// "keyfast-box".
const char* ControlWord(PanelControl control);

}  // namespace kvr9
