// The two air-data channels against the instrument's sample values.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "core/instrument.h"

namespace kvr9 {
namespace {

Instrument PoweredInstrument() {
  Instrument instrument;
  RunPowerOnSequence(instrument);
  return instrument;
}

void Settle(Instrument& instrument, int passes = 60) {
  for (int i = 0; i < passes; ++i) UpdateAltitude(instrument);
}

struct AltitudeSample {
  std::int32_t count;
  std::uint32_t staticPressure;
  std::int32_t pressureAltitudeFt;
  std::int32_t altitudeMetres;
};

class AltitudeSamples : public ::testing::TestWithParam<AltitudeSample> {};

TEST_P(AltitudeSamples, MatchWithinOneUnit) {
  const AltitudeSample sample = GetParam();
  Instrument instrument = PoweredInstrument();
  instrument.state.airData.altAdcRaw = sample.count;
  Settle(instrument);
  const AirData& air = instrument.state.airData;
  EXPECT_NEAR(air.staticPressure, sample.staticPressure, 1);
  EXPECT_NEAR(air.pressureAltitudeFt, sample.pressureAltitudeFt, 1);
  EXPECT_EQ(air.qnhAltitudeFt, air.pressureAltitudeFt);  // QNH at standard

  instrument.state.settings.altUnit = 1;
  UpdateAltitude(instrument);
  EXPECT_NEAR(instrument.state.airData.altitude, sample.altitudeMetres, 1);
}

INSTANTIATE_TEST_SUITE_P(Table, AltitudeSamples,
                         ::testing::Values(AltitudeSample{0, 105555, 50860, 15501},
                                           AltitudeSample{1000, 376822, 24950, 7604},
                                           AltitudeSample{2000, 648090, 11855, 3613},
                                           AltitudeSample{3000, 919357, 2666, 812},
                                           AltitudeSample{3346, 1013216, 0, 0},
                                           AltitudeSample{3347, 1013487, -6, -1},
                                           AltitudeSample{4096, 1216666, -5151, -1569}));

// Drives the smoothing through the QNH channel with a chosen raw altitude by
// picking the QNH that puts the static pressure at that height.
std::vector<std::int32_t> SmoothedSequence(std::int32_t settledFt, std::int32_t steadyFt,
                                           int passes) {
  Instrument instrument = PoweredInstrument();
  AirData& air = instrument.state.airData;
  air.qnhAltFilter = settledFt * 8;
  std::vector<std::int32_t> results;
  // Feed the raw value straight through: the smoothing only sees raw feet.
  air.altAdcRaw = 3346;  // raw 0 ft at standard QNH
  for (int i = 0; i < passes; ++i) {
    // Shift the memory so that "raw 0" plays the role of the steady reading.
    air.qnhAltFilter -= steadyFt * 8;
    UpdateAltitude(instrument);
    air.qnhAltFilter += steadyFt * 8;
    results.push_back(air.qnhAltitudeFt + steadyFt);
  }
  return results;
}

TEST(AltitudeSmoothing, RisesAndFallsAnEighthAtATime) {
  const std::vector<std::int32_t> rising = SmoothedSequence(100, 120, 40);
  EXPECT_EQ((std::vector<std::int32_t>{102, 104, 106, 108, 109}),
            std::vector<std::int32_t>(rising.begin(), rising.begin() + 5));
  EXPECT_EQ(rising.back(), 119);

  const std::vector<std::int32_t> falling = SmoothedSequence(120, 100, 40);
  EXPECT_EQ((std::vector<std::int32_t>{117, 115, 113}),
            std::vector<std::int32_t>(falling.begin(), falling.begin() + 3));
  EXPECT_EQ(falling.back(), 100);
}

TEST(AltitudeSmoothing, WindowEdgesAndNegativeRounding) {
  struct Case {
    std::int32_t settled;
    std::int32_t steady;
    bool jumps;
  };
  for (const Case c :
       {Case{100, 125, false}, Case{100, 126, true}, Case{100, 75, false}, Case{100, 74, true}}) {
    const std::int32_t first = SmoothedSequence(c.settled, c.steady, 1).front();
    EXPECT_EQ(first == c.steady, c.jumps) << c.settled << " -> " << c.steady;
  }
  // From an empty memory a raw -6 ft is smoothed to -1 ft, and -6 ft is -1 m.
  Instrument instrument = PoweredInstrument();
  instrument.state.airData.altAdcRaw = 3347;
  UpdateAltitude(instrument);
  EXPECT_EQ(instrument.state.airData.pressureAltitudeFt, -1);
  Settle(instrument);
  instrument.state.settings.altUnit = 1;
  UpdateAltitude(instrument);
  EXPECT_EQ(instrument.state.airData.qnhAltitudeFt, -6);
  EXPECT_EQ(instrument.state.airData.altitude, -1);
}

TEST(Altitude, QnhMovesOnlyTheQnhAltitudeAndMaximumFollowsDisplay) {
  Instrument instrument = PoweredInstrument();
  instrument.state.airData.altAdcRaw = 3000;
  Settle(instrument);
  const std::int32_t pressureFt = instrument.state.airData.pressureAltitudeFt;
  instrument.state.settings.qnh = 1023250;
  Settle(instrument);
  EXPECT_EQ(instrument.state.airData.pressureAltitudeFt, pressureFt);
  EXPECT_GT(instrument.state.airData.qnhAltitudeFt, pressureFt + 200);
  EXPECT_EQ(instrument.state.airData.maxAltitude, instrument.state.airData.altitude);
}

TEST(Altitude, NegativeOffsetBelowZeroCountIsHeldAtZero) {
  Instrument instrument = PoweredInstrument();
  instrument.state.settings.altCalOffset = -125;
  instrument.state.airData.altAdcRaw = 10;
  Settle(instrument);
  EXPECT_EQ(instrument.state.airData.staticPressure, 105555u);
  EXPECT_NEAR(instrument.state.airData.pressureAltitudeFt, 50860, 1);
}

TEST(Altitude, PositiveOffsetLowersAltitudeAboutSevenFeetACount) {
  Instrument instrument = PoweredInstrument();
  instrument.state.airData.altAdcRaw = 3300;
  Settle(instrument);
  const std::int32_t before = instrument.state.airData.pressureAltitudeFt;
  instrument.state.settings.altCalOffset = 10;
  Settle(instrument);
  EXPECT_NEAR(before - instrument.state.airData.pressureAltitudeFt, 70, 5);
}

struct AirspeedSample {
  std::int32_t count;
  std::uint32_t mph;
  std::uint32_t kmh;
  std::uint32_t knots;
};

class AirspeedSamples : public ::testing::TestWithParam<AirspeedSample> {};

TEST_P(AirspeedSamples, InEveryUnit) {
  const AirspeedSample sample = GetParam();
  const std::uint32_t expected[] = {sample.mph, sample.kmh, sample.knots};
  for (std::uint8_t unit = 0; unit < 3; ++unit) {
    Instrument instrument = PoweredInstrument();
    instrument.state.settings.asiFilter = 0;
    instrument.state.settings.asiUnit = unit;
    instrument.state.airData.asiAdcRaw = sample.count;
    UpdateAirspeed(instrument);
    EXPECT_EQ(instrument.state.airData.airspeed, expected[unit]) << "unit " << int{unit};
  }
}

INSTANTIATE_TEST_SUITE_P(Table, AirspeedSamples,
                         ::testing::Values(AirspeedSample{0, 0, 0, 0}, AirspeedSample{17, 0, 0, 0},
                                           AirspeedSample{18, 16, 25, 13},
                                           AirspeedSample{100, 38, 61, 33},
                                           AirspeedSample{1000, 122, 196, 106},
                                           AirspeedSample{4096, 247, 397, 214}));

enum FilterReading : std::uint8_t { FilterMemory, ShownAirspeed };

// Count 100 read through the filter from an empty memory, pass by pass:
// either the filtered count recovered from the memory, which holds 2x
// (FAST) or 4x (SLOW) of it, or the airspeed shown (38 mph unfiltered).
std::vector<std::uint32_t> FilterSequence(std::uint8_t filter, int passes,
                                          FilterReading reading = FilterMemory) {
  Instrument instrument = PoweredInstrument();
  instrument.state.settings.asiFilter = filter;
  instrument.state.airData.asiAdcRaw = 100;
  std::vector<std::uint32_t> out;
  for (int i = 0; i < passes; ++i) {
    UpdateAirspeed(instrument);
    const AirData& air = instrument.state.airData;
    out.push_back(reading == ShownAirspeed ? air.airspeed
                                           : air.asiFilterState >> (filter == 1 ? 1 : 2));
  }
  return out;
}

TEST(AirspeedFilter, FastAndSlowFromEmptyMemory) {
  EXPECT_EQ(FilterSequence(1, 9), (std::vector<std::uint32_t>{50, 75, 87, 93, 96, 98, 99, 99, 99}));
  EXPECT_EQ(FilterSequence(2, 8), (std::vector<std::uint32_t>{25, 43, 57, 68, 76, 82, 86, 89}));
  EXPECT_EQ(FilterSequence(2, 60).back(), 99u);
}

TEST(AirspeedFilter, FastAndSlowAirspeedFromEmptyMemory) {
  EXPECT_EQ(FilterSequence(1, 7, ShownAirspeed),
            (std::vector<std::uint32_t>{27, 33, 36, 37, 37, 38, 38}));
  EXPECT_EQ(FilterSequence(2, 8, ShownAirspeed),
            (std::vector<std::uint32_t>{19, 25, 29, 31, 33, 35, 35, 36}));
  EXPECT_EQ(FilterSequence(2, 60, ShownAirspeed).back(), 38u);
}

TEST(Airspeed, ZeroOffsetCapAndTrueAirspeed) {
  Instrument instrument = PoweredInstrument();
  Settings& s = instrument.state.settings;
  AirData& air = instrument.state.airData;
  s.asiFilter = 0;

  s.asiZeroOffset = 500;
  air.asiAdcRaw = 400;  // below the zero: reads 0, not a wrapped value
  UpdateAirspeed(instrument);
  EXPECT_EQ(air.airspeed, 0u);
  s.asiZeroOffset = 0;

  // At 150 % the root of 168 (count 1882) would read 252: held at the cap.
  s.asiCalPercent = 150;
  for (const auto& [count, mph] :
       {std::pair{1859, 249u}, std::pair{1882, 250u}, std::pair{4096, 250u}}) {
    air.asiAdcRaw = count;
    UpdateAirspeed(instrument);
    EXPECT_EQ(air.airspeed, mph) << count;
  }
  s.asiCalPercent = 100;

  // 100 mph at a QNH altitude of 5000 ft reads 108 mph true.
  s.asiShowsTas = 1;
  air.qnhAltitudeFt = 5000;
  air.asiAdcRaw = 667;  // isqrt(10005) = 100
  UpdateAirspeed(instrument);
  EXPECT_EQ(air.airspeed, 108u);

  // Only whole hundreds of feet count: 250 mph at 5999 ft gains 25 mph, not 26.
  s.asiCalPercent = 150;
  air.qnhAltitudeFt = 5999;
  air.asiAdcRaw = 4096;
  UpdateAirspeed(instrument);
  EXPECT_EQ(air.airspeed, 275u);
  s.asiCalPercent = 100;

  // Far below sea level the correction is negative; the airspeed never wraps.
  air.qnhAltitudeFt = -60000;
  air.asiAdcRaw = 18;
  UpdateAirspeed(instrument);
  EXPECT_EQ(air.airspeed, 0u);
  // 100 mph at -60000 ft: a correction of -105 mph is held at zero.
  air.asiAdcRaw = 667;
  UpdateAirspeed(instrument);
  EXPECT_EQ(air.airspeed, 0u);
}

TEST(Airspeed, AlarmIsStrictAndAcknowledgementClearsWithCondition) {
  Instrument instrument = PoweredInstrument();
  Settings& s = instrument.state.settings;
  AirData& air = instrument.state.airData;
  s.asiFilter = 0;
  s.highAlarmSpeed = 100;
  s.lowAlarmSpeed = 38;
  air.asiAdcRaw = 667;  // 100 mph: exactly at the high alarm
  UpdateAirspeed(instrument);
  EXPECT_EQ(air.alarmActive, 0);
  air.asiAdcRaw = 700;  // 102 mph
  UpdateAirspeed(instrument);
  EXPECT_EQ(air.alarmActive, 1);
  air.alarmAcknowledged = 1;
  UpdateAirspeed(instrument);
  EXPECT_EQ(air.alarmAcknowledged, 1);
  air.asiAdcRaw = 100;  // 38 mph: exactly at the low alarm, and not in flight anyway
  UpdateAirspeed(instrument);
  EXPECT_EQ(air.alarmActive, 0);
  EXPECT_EQ(air.alarmAcknowledged, 0);

  air.asiAdcRaw = 90;  // 36 mph, below the low alarm: only counts in flight
  UpdateAirspeed(instrument);
  EXPECT_EQ(air.alarmActive, 0);
  instrument.state.flightTimer.inFlight = 1;
  UpdateAirspeed(instrument);
  EXPECT_EQ(air.alarmActive, 1);
  air.asiAdcRaw = 100;  // 38 mph in flight: exactly at the low alarm is no alarm
  UpdateAirspeed(instrument);
  EXPECT_EQ(air.alarmActive, 0);
}

TEST(Airspeed, DistanceAccumulatesInMphAndMaximumInUnit) {
  Instrument instrument = PoweredInstrument();
  instrument.state.settings.asiFilter = 0;
  instrument.state.settings.asiUnit = 1;
  instrument.state.airData.asiAdcRaw = 1000;  // 122 mph, 196 km/h
  UpdateAirspeed(instrument);
  UpdateAirspeed(instrument);
  EXPECT_EQ(instrument.state.airData.distanceSum, 244u);
  EXPECT_EQ(instrument.state.airData.maxAirspeed, 196u);
}

TEST(IntegerSquareRoot, FloorsAcrossTheChannelsRange) {
  for (std::uint32_t v : {0u, 1u, 2u, 3u, 4u, 15u, 16u, 17u, 255u, 256u, 491520u, 1073741823u}) {
    const std::uint32_t r = IntegerSquareRoot(v);
    EXPECT_LE(std::uint64_t{r} * r, v);
    EXPECT_GT(std::uint64_t{r + 1} * (r + 1), v);
  }
}

TEST(ClampSpeedSettings, PullsIntoTheNewUnitsRangeWithoutConverting) {
  struct Case {
    std::uint8_t unit;
    std::uint32_t high, low, takeoff;
    std::uint32_t wantHigh, wantLow, wantTakeoff;
  };
  for (const Case c : {Case{0, 402, 80, 30, 250, 80, 30}, Case{1, 80, 30, 16, 80, 30, 26},
                       Case{2, 300, 300, 10, 217, 217, 14}}) {
    Instrument instrument = PoweredInstrument();
    Settings& s = instrument.state.settings;
    s.asiUnit = c.unit;
    s.highAlarmSpeed = c.high;
    s.lowAlarmSpeed = c.low;
    s.takeoffSpeed = c.takeoff;
    ClampSpeedSettings(instrument);
    EXPECT_EQ(s.highAlarmSpeed, c.wantHigh);
    EXPECT_EQ(s.lowAlarmSpeed, c.wantLow);
    EXPECT_EQ(s.takeoffSpeed, c.wantTakeoff);
  }
}

}  // namespace
}  // namespace kvr9
