// Slider positions asked for in a pilot's units ("3000ft", "80knots") or by
// a flight profile: the converter count whose reading comes nearest once
// the display has settled, found by running the firmware's own arithmetic
// on a scratch instrument that holds the present state alone.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/instrument.h"
#include "host/panel/panel_types.h"

namespace kvr9 {

struct CountChoice {
  bool reachable = false;  // false: the reading lies outside [lowest, highest]
  std::uint32_t count = 0;
  std::int32_t lowest = 0;   // the smallest reading any count settles at
  std::int32_t highest = 0;  // the largest
};

// What a table's readings are.
enum class ReadingOf : std::uint8_t {
  Display,  // what the LCD shows, in the asked unit (QNH altitude, TAS when on)
  Profile,  // what a flight profile gives: pressure altitude in feet and
            // indicated airspeed in mph, before the TAS correction and unit
};

// The reading every count settles at, for one slider and the settings it
// was made with. Making one runs a few hundred thousand channel steps
// (about a millisecond), so a player keeps one and lets Update remake it
// only when a setting it depends on has changed.
class SettledReadings {
 public:
  // unit is ignored for ReadingOf::Profile.
  void Update(const Instrument& instrument, SliderKind slider, ReadingOf of, ReadingUnit unit);
  // The count whose settled reading is nearest; ties go to the lower count.
  CountChoice Nearest(double reading) const;
  std::int32_t Lowest() const { return lowest_; }
  std::int32_t Highest() const { return highest_; }
  std::int32_t At(std::uint32_t count) const { return readings_[count]; }
  // The first count that reads more than count 0 does (kSliderHighest + 1
  // when none does).
  std::uint32_t FirstRise() const { return firstRise_; }

 private:
  struct Key {
    bool made = false;
    SliderKind slider = SliderKind::Altitude;
    ReadingOf of = ReadingOf::Display;
    ReadingUnit unit = ReadingUnit::Count;
    std::int8_t altCalOffset = 0;
    std::uint32_t qnh = 0;
    std::uint32_t asiZeroOffset = 0;
    std::uint8_t asiFilter = 0;
    std::uint8_t asiCalPercent = 0;
    std::uint8_t asiShowsTas = 0;
    std::int32_t qnhAltitudeFt = 0;  // the TAS correction's altitude, when shown
    bool operator==(const Key&) const = default;
  };
  static Key KeyFor(const Instrument& instrument, SliderKind slider, ReadingOf of,
                    ReadingUnit unit);
  void Make(const Instrument& instrument);

  Key key_;
  std::array<std::int32_t, kSliderHighest + 1> readings_{};
  std::int32_t lowest_ = 0;
  std::int32_t highest_ = 0;
  bool rising_ = true;    // readings never fall as the count rises
  bool monotone_ = true;  // rising or falling throughout: a binary search finds the nearest
  std::uint32_t firstRise_ = 0;
};

// The reading one count settles at, as the table holds it; cheap enough to
// ask at every pass (a window's tooltip).
std::int32_t SettledReading(const Instrument& instrument, SliderKind slider, ReadingOf of,
                            ReadingUnit unit, std::uint32_t count);

// A display reading in a pilot's unit, with the settings of this moment.
CountChoice CountForReading(const Instrument& instrument, SliderKind slider, ReadingUnit unit,
                            std::int32_t reading);

const char* UnitName(ReadingUnit unit);

// The unit the display shows a slider's reading in with these settings, and
// its name as the pilot reads it ("km/h", where a scenario says "kmh").
ReadingUnit ShownUnit(const Settings& settings, SliderKind slider);
const char* ShownUnitName(ReadingUnit unit);

// A slider's tooltip and accessible description: "Airspeed converter: 1234
// counts, about 90 mph", the reading the count settles at with the present
// settings in the pilot's units. Before the first power-on the settings are
// all zero and there is no reading to give, so only the counts are named.
std::string SliderDescription(const Instrument& instrument, SliderKind slider, std::uint32_t count);

}  // namespace kvr9
