#include "host/panel/panel_words.h"

namespace kvr9 {

namespace {

constexpr UnitWord kUnitWords[] = {
    {"ft", SliderKind::Altitude, ReadingUnit::Feet},
    {"m", SliderKind::Altitude, ReadingUnit::Metres},
    {"mph", SliderKind::Airspeed, ReadingUnit::Mph},
    {"kmh", SliderKind::Airspeed, ReadingUnit::Kmh},
    {"knots", SliderKind::Airspeed, ReadingUnit::Knots},
};

// In the order of PanelControl.
constexpr ControlWordEntry kControlWords[] = {
    {PanelControl::On, "ON", {"Button1", nullptr, nullptr}},
    {PanelControl::Off, "OFF", {"Button2", nullptr, nullptr}},
    {PanelControl::Knob, "knob", {"Image5", "Button3", "Button4"}},
    {PanelControl::F1, "F1", {"Image3", nullptr, nullptr}},
    {PanelControl::F2, "F2", {"Image6", nullptr, nullptr}},
    {PanelControl::AltitudeSlider, "altitude-slider", {"TrackBar2", nullptr, nullptr}},
    {PanelControl::AirspeedSlider, "airspeed-slider", {"TrackBar1", nullptr, nullptr}},
    {PanelControl::CalibrateBox, "calibrate-box", {"CheckBox2", nullptr, nullptr}},
    {PanelControl::KeyFastBox, "keyfast-box", {"CheckBox3", nullptr, nullptr}},
};

}  // namespace

std::span<const UnitWord> UnitWords() {
  return kUnitWords;
}

const UnitWord* FindUnitWord(std::string_view word) {
  for (const UnitWord& unit : kUnitWords) {
    if (word == unit.word) return &unit;
  }
  return nullptr;
}

std::span<const ControlWordEntry> ControlWords() {
  return kControlWords;
}

const char* ControlWord(PanelControl control) {
  return kControlWords[static_cast<std::size_t>(control)].word;
}

}  // namespace kvr9
