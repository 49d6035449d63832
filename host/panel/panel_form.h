// The front panel's form, written once for every front end: each control
// by its toolkit name (Button3), what it is, where it stands in form
// pixels (inside its parent), its caption and tooltip, and the instrument
// key it works; with the form's size and the panel's timer. The window
// lays itself out from this table and the page's style sheet and
// attributes are made from it when the page is built.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/instrument.h"

namespace kvr9 {

enum class FormControlKind : std::uint8_t {
  Picture,    // the instrument face
  Led,        // the alarm LED, a filled circle
  ClickArea,  // a key or the knob on the picture
  Frame,      // the LCD's raised frame
  Lcd,        // the LCD's drawing surface, each dot 2 x 2
  Button,
  Label,  // as wide as its caption
  Slider,
  CheckBox,
  GroupBox,
  TextBox,  // the communication window
  StatusBar,
};

struct FormRect {
  int left;
  int top;
  int width;  // 0 for a label: its caption's width
  int height;
};

struct FormControl {
  const char* name;
  FormControlKind kind;
  const char* parent;  // nullptr: the form itself
  FormRect rect;
  const char* caption;  // nullptr when it has none
  const char* tooltip;  // nullptr when it has none
  const char* accessibleName;
  KeyEvent key;  // the instrument key it works, KeyNone for none
};

inline constexpr int kFormWidth = 621;
inline constexpr int kFormHeight = 404;
// The panel's timer; a front end that paces the instrument as the window
// does runs a pass in each period too.
inline constexpr int kPanelPeriodMs = 100;
// Where both sliders stand when the program starts; the converters read 0
// until a slider moves.
inline constexpr int kSliderStartPosition = 1;

// In creation order, which is stacking order: the picture at the bottom.
std::span<const FormControl> FormControls();
const FormControl& FormControlNamed(std::string_view name);

// The tooltip with the keyboard key that works the control, as both front
// ends show it: "F1 key (up arrow) - keyboard: F1".
std::string FormToolTip(const FormControl& control);

}  // namespace kvr9
