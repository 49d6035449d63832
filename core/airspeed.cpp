// The pitot channel: converter count to airspeed, air distance, maximum and
// the airspeed alarm.
#include <cstdint>

#include "core/instrument.h"

namespace kvr9 {

namespace {

constexpr std::uint32_t kZeroedCountLimit = 32768;
constexpr std::uint32_t kAirspeedCapMph = 250;
constexpr std::uint32_t kAirspeedFloorMph = 16;

std::uint32_t ZeroedCount(std::uint32_t reading, std::uint32_t zeroOffset) {
  if (zeroOffset > reading) return 0;
  const std::uint32_t count = reading - zeroOffset;
  return count > kZeroedCountLimit ? 0 : count;
}

std::uint32_t FilteredCount(std::uint32_t count, std::uint8_t filter, std::uint32_t& memory) {
  switch (filter) {
    case 1:  // FAST: memory holds twice the count, moves halfway per pass
      memory = (2 * count + memory) >> 1;
      return memory >> 1;
    case 2:  // SLOW: memory holds four times the count, moves a quarter per pass
      memory = (3 * memory + 4 * count) >> 2;
      return memory >> 2;
    default:
      return count;
  }
}

// 1.75 % of the airspeed per 1000 ft of QNH altitude. Added as a signed
// value; a negative correction (only below -300 ft) cannot take the
// airspeed under zero.
std::uint32_t WithTrueAirspeedCorrection(std::uint32_t airspeed, std::int32_t qnhAltitudeFt) {
  const std::int64_t correction = std::int64_t{airspeed} * 175 * (qnhAltitudeFt / 100) / 100000;
  const std::int64_t corrected = std::int64_t{airspeed} + correction;
  return corrected < 0 ? 0 : static_cast<std::uint32_t>(corrected);
}

std::uint32_t InAirspeedUnit(std::uint32_t mph, std::uint8_t asiUnit) {
  if (asiUnit == 1) return mph * 1609 / 1000;
  if (asiUnit == 2) return mph * 869 / 1000;
  return mph;
}

}  // namespace

bool AirspeedAlarmCondition(const InstrumentState& state) {
  const Settings& s = state.settings;
  const std::uint32_t airspeed = state.airData.airspeed;
  return (airspeed > s.highAlarmSpeed && s.highAlarmOn == 1) ||
         (airspeed < s.lowAlarmSpeed && s.lowAlarmOn == 1 && state.flightTimer.inFlight == 1);
}

SpeedRange SpeedRangeForUnit(std::uint8_t asiUnit) {
  if (asiUnit == 1) return {26, 402};
  if (asiUnit == 2) return {14, 217};
  return {16, 250};
}

std::uint32_t IntegerSquareRoot(std::uint32_t value) {
  std::uint32_t result = 0;
  std::uint32_t bit = 1u << 28;
  while (bit != 0) {
    const std::uint32_t trial = result + bit;
    result >>= 1;
    if (value >= trial) {
      value -= trial;
      result += bit;
    }
    bit >>= 2;
  }
  return result;
}

void UpdateAirspeed(Instrument& instrument) {
  InstrumentState& state = instrument.state;
  AirData& air = state.airData;
  const Settings& settings = state.settings;

  air.asiAdc = ReadConverter(instrument, ConverterPitot);
  std::uint32_t count = ZeroedCount(air.asiAdc, settings.asiZeroOffset);
  count = FilteredCount(count, settings.asiFilter, air.asiFilterState);

  std::uint32_t speed = settings.asiCalPercent * IntegerSquareRoot(15 * count) / 100;
  if (speed > kAirspeedCapMph) speed = kAirspeedCapMph;
  air.airspeed = speed < kAirspeedFloorMph ? 0 : speed;

  if (settings.asiShowsTas == 1) {
    air.airspeed = WithTrueAirspeedCorrection(air.airspeed, air.qnhAltitudeFt);
  }
  air.distanceSum += air.airspeed;

  air.airspeed = InAirspeedUnit(air.airspeed, settings.asiUnit);
  if (air.airspeed > air.maxAirspeed) air.maxAirspeed = air.airspeed;

  if (AirspeedAlarmCondition(state)) {
    air.alarmActive = 1;
  } else {
    air.alarmActive = 0;
    air.alarmAcknowledged = 0;
  }
}

void ClampSpeedSettings(Instrument& instrument) {
  Settings& s = instrument.state.settings;
  const SpeedRange range = SpeedRangeForUnit(s.asiUnit);
  for (std::uint32_t* speed : {&s.highAlarmSpeed, &s.lowAlarmSpeed, &s.takeoffSpeed}) {
    if (*speed > range.highest) *speed = range.highest;
  }
  for (std::uint32_t* speed : {&s.highAlarmSpeed, &s.lowAlarmSpeed, &s.takeoffSpeed}) {
    if (*speed < range.lowest) *speed = range.lowest;
  }
}

}  // namespace kvr9
