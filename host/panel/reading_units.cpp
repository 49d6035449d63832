#include "host/panel/reading_units.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace kvr9 {

namespace {

// A smoothing memory whose centre lies far from the altitude a pass computes
// makes the smoothing take that altitude whole. Only an altitude near the
// low centre itself (reachable with a QNH of zero, before the first
// power-on) needs the high one instead.
constexpr std::int32_t kFarBelow = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kFarAbove = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kNearCentreFt = 1000;  // well beyond the smoothing window

bool NearLowCentre(std::int32_t altitudeFt) {
  return std::llabs(std::int64_t{altitudeFt} - (kFarBelow >> 3)) <= kNearCentreFt;
}

// The altitude after a jump from far away, which the smoothing takes whole:
// a count held from then on keeps showing it.
std::int32_t AltitudeReading(Instrument& scratch, std::uint32_t count, ReadingOf of) {
  AirData& air = scratch.state.airData;
  air.altAdcRaw = static_cast<std::int32_t>(count);
  air.pressureAltFilter = kFarBelow;
  air.qnhAltFilter = kFarBelow;
  UpdateAltitude(scratch);
  const bool profile = of == ReadingOf::Profile;
  if (!NearLowCentre(profile ? air.pressureAltitudeFt : air.qnhAltitudeFt)) {
    return profile ? air.pressureAltitudeFt : air.altitude;
  }
  air.pressureAltFilter = kFarAbove;
  air.qnhAltFilter = kFarAbove;
  UpdateAltitude(scratch);
  return profile ? air.pressureAltitudeFt : air.altitude;
}

// The airspeed once the filter has settled on a count held from below,
// where it stays one filtered count short of the reading. The filter
// memory is carried over from the count before, which settled lower, so
// each count needs only a few steps to settle.
std::int32_t AirspeedReading(Instrument& scratch, std::uint32_t count) {
  AirData& air = scratch.state.airData;
  air.asiAdcRaw = static_cast<std::int32_t>(count);
  constexpr int kMostSteps = 200;  // the slow filter settles within about 40
  for (int step = 0; step < kMostSteps; ++step) {
    const std::uint32_t memory = air.asiFilterState;
    const std::uint32_t speed = air.airspeed;
    UpdateAirspeed(scratch);
    if (step > 0 && air.asiFilterState == memory && air.airspeed == speed) break;
  }
  return static_cast<std::int32_t>(air.airspeed);
}

}  // namespace

SettledReadings::Key SettledReadings::KeyFor(const Instrument& instrument, SliderKind slider,
                                             ReadingOf of, ReadingUnit unit) {
  const Settings& s = instrument.state.settings;
  Key key;
  key.made = true;
  key.slider = slider;
  key.of = of;
  key.unit = of == ReadingOf::Profile ? ReadingUnit::Count : unit;
  if (slider == SliderKind::Altitude) {
    key.altCalOffset = s.altCalOffset;
    key.qnh = of == ReadingOf::Profile ? 0 : s.qnh;
  } else {
    key.asiZeroOffset = s.asiZeroOffset;
    key.asiFilter = s.asiFilter;
    key.asiCalPercent = s.asiCalPercent;
    if (of == ReadingOf::Display && s.asiShowsTas == 1) {
      key.asiShowsTas = 1;
      key.qnhAltitudeFt = instrument.state.airData.qnhAltitudeFt;
    }
  }
  return key;
}

void SettledReadings::Update(const Instrument& instrument, SliderKind slider, ReadingOf of,
                             ReadingUnit unit) {
  const Key key = KeyFor(instrument, slider, of, unit);
  if (key == key_) return;
  key_ = key;
  Make(instrument);
}

namespace {

// A scratch instrument takes the steps, with the state alone: no host, no
// hardware hooks, and the instrument itself is not touched. The airspeed
// starts from rest.
void MakeScratch(const Instrument& instrument, ReadingOf of, ReadingUnit unit,
                 Instrument& scratch) {
  scratch.state = instrument.state;
  Settings& settings = scratch.state.settings;
  if (of == ReadingOf::Profile) {
    settings.asiShowsTas = 0;
    settings.asiUnit = 0;
  } else {
    settings.altUnit = unit == ReadingUnit::Metres ? 1 : 0;
    settings.asiUnit = unit == ReadingUnit::Kmh ? 1 : unit == ReadingUnit::Knots ? 2 : 0;
  }
  scratch.state.airData.asiFilterState = 0;
  scratch.state.airData.airspeed = 0;
}

}  // namespace

std::int32_t SettledReading(const Instrument& instrument, SliderKind slider, ReadingOf of,
                            ReadingUnit unit, std::uint32_t count) {
  Instrument scratch;
  MakeScratch(instrument, of, unit, scratch);
  count = std::min(count, kSliderHighest);
  return slider == SliderKind::Altitude ? AltitudeReading(scratch, count, of)
                                        : AirspeedReading(scratch, count);
}

void SettledReadings::Make(const Instrument& instrument) {
  Instrument scratch;
  MakeScratch(instrument, key_.of, key_.unit, scratch);
  for (std::uint32_t count = 0; count <= kSliderHighest; ++count) {
    readings_[count] = key_.slider == SliderKind::Altitude
                           ? AltitudeReading(scratch, count, key_.of)
                           : AirspeedReading(scratch, count);
  }
  const auto [low, high] = std::minmax_element(readings_.begin(), readings_.end());
  lowest_ = *low;
  highest_ = *high;
  rising_ = readings_.front() <= readings_.back();
  firstRise_ = static_cast<std::uint32_t>(
      std::find_if(readings_.begin(), readings_.end(),
                   [&](std::int32_t value) { return value > readings_.front(); }) -
      readings_.begin());
  monotone_ = rising_ ? std::is_sorted(readings_.begin(), readings_.end())
                      : std::is_sorted(readings_.begin(), readings_.end(), std::greater<>());
}

CountChoice SettledReadings::Nearest(double reading) const {
  CountChoice choice;
  choice.lowest = lowest_;
  choice.highest = highest_;
  choice.reachable = reading >= lowest_ && reading <= highest_;
  const auto distance = [&](std::size_t count) { return std::fabs(readings_[count] - reading); };
  if (!monotone_) {
    for (std::size_t count = 1; count < readings_.size(); ++count) {
      if (distance(count) < distance(choice.count))
        choice.count = static_cast<std::uint32_t>(count);
    }
    return choice;
  }
  // The first count at or past the reading, and the first count of the
  // run of equal readings just before it.
  const auto begin = readings_.begin();
  const auto past = [&](std::int32_t value, double wanted) {
    return rising_ ? value < wanted : value > wanted;
  };
  const auto at = std::partition_point(begin, readings_.end(),
                                       [&](std::int32_t value) { return past(value, reading); });
  const auto after = static_cast<std::size_t>(at - begin);
  if (after == 0) return choice;
  const std::int32_t beforeValue = readings_[after - 1];
  const auto before = static_cast<std::size_t>(
      std::partition_point(begin, at, [&](std::int32_t value) { return value != beforeValue; }) -
      begin);
  choice.count = static_cast<std::uint32_t>(
      after == readings_.size() || distance(before) <= distance(after) ? before : after);
  return choice;
}

CountChoice CountForReading(const Instrument& instrument, SliderKind slider, ReadingUnit unit,
                            std::int32_t reading) {
  SettledReadings readings;
  readings.Update(instrument, slider, ReadingOf::Display, unit);
  return readings.Nearest(reading);
}

const char* UnitName(ReadingUnit unit) {
  switch (unit) {
    case ReadingUnit::Feet:
      return "ft";
    case ReadingUnit::Metres:
      return "m";
    case ReadingUnit::Mph:
      return "mph";
    case ReadingUnit::Kmh:
      return "kmh";
    case ReadingUnit::Knots:
      return "knots";
    case ReadingUnit::Count:
      break;
  }
  return "";
}

ReadingUnit ShownUnit(const Settings& settings, SliderKind slider) {
  if (slider == SliderKind::Altitude) {
    return settings.altUnit == 1 ? ReadingUnit::Metres : ReadingUnit::Feet;
  }
  return settings.asiUnit == 1   ? ReadingUnit::Kmh
         : settings.asiUnit == 2 ? ReadingUnit::Knots
                                 : ReadingUnit::Mph;
}

const char* ShownUnitName(ReadingUnit unit) {
  return unit == ReadingUnit::Kmh ? "km/h" : UnitName(unit);
}

std::string SliderDescription(const Instrument& instrument, SliderKind slider,
                              std::uint32_t count) {
  std::string text = std::string(slider == SliderKind::Altitude ? "Altitude" : "Airspeed") +
                     " converter: " + std::to_string(count) + " counts";
  const Settings& settings = instrument.state.settings;
  if (settings.qnh == 0) return text;
  const ReadingUnit unit = ShownUnit(settings, slider);
  return text + ", about " +
         std::to_string(SettledReading(instrument, slider, ReadingOf::Display, unit, count)) + " " +
         ShownUnitName(unit);
}

}  // namespace kvr9
