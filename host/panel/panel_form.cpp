#include "host/panel/panel_form.h"

#include <array>
#include <cassert>

#include "host/panel/key_table.h"

namespace kvr9 {

namespace {

using Kind = FormControlKind;

constexpr const char* kLcdToolTip =
    "The LCD - Ctrl+C copies its picture, Ctrl+Shift+C the session as a scenario; the right "
    "button opens a flight log (IGC or CSV) or plays a demo flight, and a log dropped on the "
    "window opens too.\nFlight time runs ten times fast and air distance five times: "
    "the instrument counts a second of flight and half a second of distance each time round "
    "its loop, and the simulator goes round ten times a second.";

constexpr std::array<FormControl, 22> kControls = {{
    {"Image2",
     Kind::Picture,
     nullptr,
     {0, 0, 336, 323},
     nullptr,
     nullptr,
     "The instrument face",
     KeyNone},
    {"Shape1", Kind::Led, nullptr, {154, 16, 29, 29}, nullptr, nullptr, "Alarm LED", KeyNone},
    {"Image3",
     Kind::ClickArea,
     nullptr,
     {73, 240, 49, 49},
     nullptr,
     "F1 key (up arrow)",
     "F1 key, up",
     KeyF1},
    {"Image5",
     Kind::ClickArea,
     nullptr,
     {144, 252, 49, 49},
     nullptr,
     "Knob: click to press, wheel to turn",
     "Knob: press",
     KeyPress},
    {"Image6",
     Kind::ClickArea,
     nullptr,
     {213, 240, 49, 49},
     nullptr,
     "F2 key (down arrow)",
     "F2 key, down",
     KeyF2},
    {"Panel1", Kind::Frame, nullptr, {39, 92, 259, 131}, nullptr, nullptr, nullptr, KeyNone},
    {"Image1", Kind::Lcd, "Panel1", {1, 1, 257, 129}, nullptr, kLcdToolTip, "LCD", KeyNone},
    {"Button3",
     Kind::Button,
     nullptr,
     {96, 292, 59, 25},
     "Clockwise",
     "Turn the knob clockwise",
     nullptr,
     KeyClockwise},
    {"Button4",
     Kind::Button,
     nullptr,
     {181, 292, 75, 25},
     "AntiClockwise",
     "Turn the knob anticlockwise",
     nullptr,
     KeyAntiClockwise},
    {"Button1", Kind::Button, nullptr, {24, 328, 129, 49}, "ON", nullptr, nullptr, KeyNone},
    {"Button2", Kind::Button, nullptr, {176, 328, 137, 49}, "OFF", nullptr, nullptr, KeyNone},
    {"Label2", Kind::Label, nullptr, {344, 16, 0, 13}, "Altitude", nullptr, nullptr, KeyNone},
    {"Label3", Kind::Label, nullptr, {392, 16, 0, 13}, "0", nullptr, nullptr, KeyNone},
    {"TrackBar2", Kind::Slider, nullptr, {416, 8, 201, 33}, nullptr, nullptr, nullptr, KeyNone},
    {"Label1", Kind::Label, nullptr, {344, 48, 0, 13}, "Airspeed", nullptr, nullptr, KeyNone},
    {"Label13", Kind::Label, nullptr, {392, 48, 0, 13}, "0", nullptr, nullptr, KeyNone},
    {"TrackBar1", Kind::Slider, nullptr, {416, 40, 201, 33}, nullptr, nullptr, nullptr, KeyNone},
    {"CheckBox2",
     Kind::CheckBox,
     nullptr,
     {360, 80, 97, 17},
     "Calibrate",
     nullptr,
     nullptr,
     KeyNone},
    {"CheckBox3", Kind::CheckBox, nullptr, {472, 80, 97, 17}, "KeyFast", nullptr, nullptr, KeyNone},
    {"GroupBox1",
     Kind::GroupBox,
     nullptr,
     {344, 100, 273, 285},
     " Communication Window  ",
     nullptr,
     nullptr,
     KeyNone},
    {"Memo1",
     Kind::TextBox,
     "GroupBox1",
     {2, 15, 269, 268},
     nullptr,
     nullptr,
     "Communication Window",
     KeyNone},
    {"StatusBar1",
     Kind::StatusBar,
     nullptr,
     {0, 385, kFormWidth, 19},
     nullptr,
     nullptr,
     nullptr,
     KeyNone},
}};

}  // namespace

std::span<const FormControl> FormControls() {
  return kControls;
}

const FormControl& FormControlNamed(std::string_view name) {
  for (const FormControl& control : kControls) {
    if (name == control.name) return control;
  }
  assert(!"no such control on the form");
  return kControls.front();
}

std::string FormToolTip(const FormControl& control) {
  std::string tip = control.tooltip != nullptr ? control.tooltip : "";
  const InstrumentKey* key = KeyByEvent(control.key);
  if (control.key != KeyNone && key != nullptr) tip += std::string(" - keyboard: ") + key->keyboard;
  return tip;
}

}  // namespace kvr9
