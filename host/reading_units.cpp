#include "host/reading_units.h"

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

std::int32_t AltitudeReading(Instrument& scratch, std::uint32_t count) {
  AirData& air = scratch.state.airData;
  air.altAdcRaw = static_cast<std::int32_t>(count);
  air.qnhAltFilter = kFarBelow;
  UpdateAltitude(scratch);
  if (std::llabs(std::int64_t{air.qnhAltitudeFt} - (kFarBelow >> 3)) > kNearCentreFt) {
    return air.altitude;
  }
  air.qnhAltFilter = kFarAbove;
  UpdateAltitude(scratch);
  return air.altitude;
}

std::int32_t AirspeedReading(Instrument& scratch, std::uint32_t count) {
  scratch.state.airData.asiAdcRaw = static_cast<std::int32_t>(count);
  UpdateAirspeed(scratch);
  return static_cast<std::int32_t>(scratch.state.airData.airspeed);
}

}  // namespace

CountChoice CountForReading(const Instrument& instrument, SliderKind slider, ReadingUnit unit,
                            std::int32_t reading) {
  // A scratch instrument takes the passes, with the state alone: no host,
  // no hardware hooks, and the instrument itself is not touched.
  Instrument scratch;
  scratch.state = instrument.state;
  Settings& settings = scratch.state.settings;
  settings.altUnit = unit == ReadingUnit::Metres ? 1 : 0;
  settings.asiUnit = unit == ReadingUnit::Kmh ? 1 : unit == ReadingUnit::Knots ? 2 : 0;
  settings.asiFilter = 0;  // the filter only delays the reading
  CountChoice choice;
  std::int64_t nearest = std::numeric_limits<std::int64_t>::max();
  for (std::uint32_t count = 0; count <= kSliderHighest; ++count) {
    const std::int32_t value = slider == SliderKind::Altitude ? AltitudeReading(scratch, count)
                                                              : AirspeedReading(scratch, count);
    if (count == 0 || value < choice.lowest) choice.lowest = value;
    if (count == 0 || value > choice.highest) choice.highest = value;
    const std::int64_t distance = std::llabs(std::int64_t{value} - reading);
    if (distance < nearest) {
      nearest = distance;
      choice.count = count;
    }
  }
  choice.reachable = reading >= choice.lowest && reading <= choice.highest;
  return choice;
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

}  // namespace kvr9
