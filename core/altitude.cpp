// The static-pressure channel: converter count to pressure to altitude.
#include <cmath>
#include <cstdint>

#include "core/instrument.h"

namespace kvr9 {

namespace {

constexpr double kAltitudeExponent = 0.190263;
constexpr double kAltitudeFactorFt = 145440.688061;
constexpr float kVoltsPerCount = 0.001220703125f;  // 5 V over 4096 counts
constexpr float kTenthPascalPerKpa = 10000.0f;
constexpr std::int32_t kSmoothingWindowFt = 25;

// Truncates toward zero through a 64-bit integer; the low 32 bits are kept.
// A value the 64-bit integer cannot hold (only reachable with a QNH of zero,
// before the first power-on) is held at its nearest end.
std::int64_t TruncateToInt64(double value) {
  constexpr double kLimit = 9.2e18;
  if (std::isnan(value)) return 0;
  if (value > kLimit) return static_cast<std::int64_t>(kLimit);
  if (value < -kLimit) return -static_cast<std::int64_t>(kLimit);
  return static_cast<std::int64_t>(value);
}

std::int32_t TruncateToInt32(double value) {
  const std::int64_t wide = TruncateToInt64(value);
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(wide)));
}

std::uint32_t TruncateToUint32(double value) {
  const std::int64_t wide = TruncateToInt64(value);
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(wide));
}

std::int32_t AltitudeAboveFt(std::uint32_t staticPressure, std::uint32_t referencePressure) {
  const double ratio = static_cast<double>(staticPressure) / static_cast<double>(referencePressure);
  return TruncateToInt32((1.0 - std::pow(ratio, kAltitudeExponent)) * kAltitudeFactorFt);
}

// The memory holds eight times the smoothed altitude. Jumps of more than the
// window show at once; smaller moves creep an eighth of the way per pass.
std::int32_t SmoothAltitude(std::int32_t& memory, std::int32_t raw) {
  const std::int64_t centre = memory >> 3;
  if (raw > centre + kSmoothingWindowFt || raw < centre - kSmoothingWindowFt) {
    memory = static_cast<std::int32_t>(std::int64_t{raw} * 8);
    return raw;
  }
  memory = static_cast<std::int32_t>((7 * std::int64_t{memory} + 8 * std::int64_t{raw}) >> 3);
  return memory >> 3;
}

}  // namespace

std::uint32_t ReadConverter(const Instrument& instrument, std::uint8_t channel) {
  const AirData& air = instrument.state.airData;
  if (channel == ConverterStatic) return static_cast<std::uint32_t>(air.altAdcRaw);
  if (channel == ConverterPitot) return static_cast<std::uint32_t>(air.asiAdcRaw);
  return 0;
}

void UpdateAltitude(Instrument& instrument) {
  AirData& air = instrument.state.airData;
  const Settings& settings = instrument.state.settings;

  air.altAdc = ReadConverter(instrument, ConverterStatic);
  // An offset pulling the count below zero would wrap it to billions of
  // counts; the count stops at zero instead.
  const std::int64_t signedCount = static_cast<std::int64_t>(air.altAdc) + settings.altCalOffset;
  const auto count = static_cast<std::uint32_t>(signedCount < 0 ? 0 : signedCount);

  const float volts = static_cast<float>(count) * kVoltsPerCount;
  const auto pressureKpa =
      static_cast<float>((0.2 * static_cast<double>(volts) + 0.095) * (1000.0 / 9.0));
  air.staticPressure = TruncateToUint32(static_cast<double>(pressureKpa * kTenthPascalPerKpa));

  air.pressureAltitudeFt =
      SmoothAltitude(air.pressureAltFilter, AltitudeAboveFt(air.staticPressure, 1013250));
  air.qnhAltitudeFt =
      SmoothAltitude(air.qnhAltFilter, AltitudeAboveFt(air.staticPressure, settings.qnh));

  air.altitude = settings.altUnit == 1
                     ? static_cast<std::int32_t>(std::int64_t{air.qnhAltitudeFt} * 1000 / 3281)
                     : air.qnhAltitudeFt;
  if (air.altitude > air.maxAltitude) air.maxAltitude = air.altitude;
}

}  // namespace kvr9
