// The panel's basic types, as every part of the host names them: the two
// converter sliders and the two check boxes with the words scenarios call
// them by, the units a slider position may be given in, the sliders' range.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kvr9 {

enum class SliderKind : std::uint8_t { Altitude, Airspeed };
enum class BoxKind : std::uint8_t { Calibrate, KeyFast };

// The words scenarios name the sliders and the boxes by.
template <typename Kind>
struct NamedKind {
  Kind kind;
  const char* word;
};
inline constexpr std::array<NamedKind<SliderKind>, 2> kSliderWords = {
    {{SliderKind::Altitude, "altitude"}, {SliderKind::Airspeed, "airspeed"}}};
inline constexpr std::array<NamedKind<BoxKind>, 2> kBoxWords = {
    {{BoxKind::Calibrate, "calibrate"}, {BoxKind::KeyFast, "keyfast"}}};

constexpr const char* SliderWord(SliderKind slider) {
  return kSliderWords[static_cast<std::size_t>(slider)].word;
}
constexpr const char* BoxWord(BoxKind box) {
  return kBoxWords[static_cast<std::size_t>(box)].word;
}
// A slider position as a converter count, or as a reading in a pilot's unit.
enum class ReadingUnit : std::uint8_t { Count, Feet, Metres, Mph, Kmh, Knots };

inline constexpr std::uint32_t kSliderHighest = 4096;
// The most a single "pass N" or "tick N" step may say: the recorder
// writes longer runs as several steps.
inline constexpr std::uint32_t kMostPassesOrTicks = 1000000;

}  // namespace kvr9
