// The flight player: what it refuses up front, and that flying takes no
// memory beyond what the player holds from the start, however long the
// flight; and the control around it.
#include "host/flights/flight_player.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "core/instrument.h"
#include "host/flights/flight_control.h"
#include "host/flights/flight_summary.h"
#include "host/panel/panel_inputs.h"
#include "host/panel/reading_units.h"
#include "screens/screens.h"
#include "support/allocation_counter.h"
#include "support/flying_host.h"

namespace kvr9 {
namespace {

Instrument PoweredOn() {
  Instrument instrument;
  LoadDefaultSettings(instrument);
  LoadDefaultCalibration(instrument);
  return instrument;
}

// Reach at the power-on settings: the altitude converter reads -5151 to
// 50860 ft (counts 4096 and 0), the airspeed 0 to 247 mph (count 4096 reads
// 247 unfiltered; the filter settled from rest is a count short, which
// still reads 247). A calibration of 50 % halves the top airspeed; an
// altitude offset of -125 leaves count 3971 as the lowest pressure, which
// the altitude channel's formula puts at -4344 ft.
struct ReachCase {
  const char* name;
  std::vector<ProfileSample> samples;
  void (*setUp)(Settings& settings);
  double fromSeconds;
  const char* problem;  // empty: within reach
};

void PrintTo(const ReachCase& c, std::ostream* os) {
  *os << c.name;
}

class FlightPlayerReach : public ::testing::TestWithParam<ReachCase> {};

TEST_P(FlightPlayerReach, IsCheckedForTheWholeFlightUpFront) {
  const ReachCase& c = GetParam();
  Instrument instrument = PoweredOn();
  c.setUp(instrument.state.settings);
  const FlightProfile profile(c.samples);
  FlightPlayer player(profile, c.fromSeconds, profile.EndSeconds());
  EXPECT_EQ(player.CheckReach(instrument), c.problem);
}

INSTANTIATE_TEST_SUITE_P(
    Profiles, FlightPlayerReach,
    ::testing::Values(
        ReachCase{"WithinReach", {{0, -5151, 0}, {60, 50860, 247}}, [](Settings&) {}, 0, ""},
        ReachCase{"AirspeedOverTheTop",
                  {{0, 300, 0}, {60, 300, 248}},
                  [](Settings&) {},
                  0,
                  "airspeed 248 mph at 00:01:00 is beyond what the converters reach with these "
                  "settings (0..247 mph)"},
        ReachCase{"AirspeedOverAHalvedCalibration",
                  {{0, 300, 0}, {30, 300, 130}, {60, 300, 0}},
                  [](Settings& s) { s.asiCalPercent = 50; },
                  0,
                  "airspeed 130 mph at 00:00:30 is beyond what the converters reach with these "
                  "settings (0..123 mph)"},
        ReachCase{"AltitudeUnderTheBottomWithAnOffset",
                  {{100, -5000, 0}, {160, 300, 0}},
                  [](Settings& s) { s.altCalOffset = -125; },
                  0,
                  "altitude -5000 ft at 00:00:00 is beyond what the converters reach with these "
                  "settings (-4344..50860 ft)"},
        ReachCase{"OnlyTheFlownPartCounts",
                  {{0, 300, 249}, {60, 300, 100}, {120, 300, 60}},
                  [](Settings&) {},
                  60,
                  ""}),
    [](const ::testing::TestParamInfo<ReachCase>& param) { return param.param.name; });

// The pace: passes at from, from + speedUp/rate, ... up to and at the end, and the
// ticks due by each pass those of its moment on the profile's clock,
// whatever the speed-up. Faster than real time (ten passes a second of the
// log) the highest altitude (at 0.7 s) and the fastest airspeed (at 1.3 s)
// are each played and held right after the pass before them.
struct PaceCase {
  std::uint32_t passesPerSecond;
  std::uint32_t speedUp;
  // When the passes play, on a 0..2 s flight: runs of passes at a moment,
  // 0 passes standing for a hold.
  std::vector<std::pair<double, std::uint32_t>> runs;
};

TEST(FlightPlayerPace, PassesAndTicksFollowProfileTime) {
  const FlightProfile profile({{0, 300, 0}, {0.7, 400, 40}, {1.3, 350, 100}, {2, 300, 0}});
  const Instrument instrument = PoweredOn();
  std::vector<std::pair<double, std::uint32_t>> realTime;
  for (int tenth = 0; tenth <= 20; ++tenth) realTime.push_back({tenth / 10.0, 1});
  for (const PaceCase& c : std::vector<PaceCase>{
           {10, 1, realTime},
           {20, 2, realTime},
           {1, 1, {{0, 1}, {0.7, 0}, {1, 1}, {1.3, 0}, {2, 1}}},
           {10, 4, {{0, 1}, {0.4, 1}, {0.7, 0}, {0.8, 1}, {1.2, 1}, {1.3, 0}, {1.6, 1}, {2, 1}}},
           // A step past the end: the end itself is flown too.
           {10, 16, {{0, 1}, {0.7, 0}, {1.3, 0}, {1.6, 1}, {2, 1}}},
           {3, 2, {{0, 1}, {2.0 / 3, 1}, {0.7, 0}, {1.3, 0}, {4.0 / 3, 1}, {2, 1}}},
       }) {
    std::vector<double> expected;
    for (const auto& [moment, passes] : c.runs) {
      expected.insert(expected.end(), passes == 0 ? FlightPlayer::HoldPasses() : passes, moment);
    }
    FlightPlayer player(profile, 0, 2, c.passesPerSecond, c.speedUp);
    std::vector<double> seconds;
    std::uint64_t ticks = 0;
    while (!player.Finished()) {
      const FlightPass pass = player.Next(instrument);
      seconds.push_back(pass.sample.seconds);
      ticks += pass.ticks;
      EXPECT_EQ(ticks, static_cast<std::uint64_t>(std::floor(pass.sample.seconds * 10 + 1e-6)))
          << c.passesPerSecond << "/" << c.speedUp << " at " << pass.sample.seconds;
    }
    ASSERT_EQ(seconds.size(), expected.size()) << c.passesPerSecond << "/" << c.speedUp;
    for (std::size_t i = 0; i < seconds.size(); ++i)
      EXPECT_NEAR(seconds[i], expected[i], 1e-9) << c.passesPerSecond << "/" << c.speedUp;
  }
}

// A hold lasts as long as the instrument's smoothing takes, whatever its
// filter: a one-sample peak at x64 (a pass is 6.4 s of the log) from the
// ground to 240 mph (the SLOW filter's longest climb, some 30 passes) and
// 25 ft up at most (inside the altitude smoothing's window, so it creeps
// for 28) reads as its settled readings.
TEST(FlightPlayerHold, APeakBetweenPassesSettlesWhateverTheFilter) {
  SettledReadings altitudes;
  altitudes.Update(PoweredOn(), SliderKind::Altitude, ReadingOf::Profile, ReadingUnit::Feet);
  std::uint32_t top = altitudes.Nearest(1000).count;
  const std::int32_t ground = altitudes.At(top);
  while (altitudes.At(top - 1) <= ground + 25) --top;
  const double peak = altitudes.At(top);
  const FlightProfile profile(
      {{0, 1000, 0}, {59, 1000, 0}, {63, peak, 240}, {67, 1000, 0}, {200, 1000, 0}});
  for (const int filter : {0, 1, 2}) {
    Instrument instrument = PoweredOn();
    instrument.state.settings.asiFilter = static_cast<std::uint8_t>(filter);
    PanelInputs inputs(instrument);
    FlightPlayer player(profile, 0, 200, kDefaultPassesPerSecond, 64);
    while (!player.Finished()) {
      player.PlayNext(inputs, instrument);
      UpdateAltitude(instrument);
      UpdateAirspeed(instrument);
    }
    // Rising inside the window, the altitude settles a foot short.
    EXPECT_GE(instrument.state.airData.maxAltitude, peak - 1) << "filter " << filter;
    EXPECT_LE(instrument.state.airData.maxAltitude, peak) << "filter " << filter;
    EXPECT_EQ(instrument.state.airData.maxAirspeed, 240u) << "filter " << filter;
  }
}

using testing::FlyingHost;

FlightProfile Wavy(double hours) {
  std::vector<ProfileSample> samples;
  for (double t = 0; t <= hours * 3600; t += 4) {
    samples.push_back({t, 3000 + 2000 * std::sin(t / 600), 70 + 40 * std::sin(t / 97)});
  }
  return FlightProfile(std::move(samples));
}

// Memory that does not grow with the flight: once the player has made its
// reading tables, a pass of any flight takes nothing from the heap, so a
// long flight holds no more than a short one.
TEST(FlightPlayerMemory, FlyingAllocatesNothingWhateverItsLength) {
  for (const double hours : {1.0 / 60, 1.0 / 6}) {
    const FlightProfile profile = Wavy(hours);
    Instrument instrument = PoweredOn();
    FlightPlayer player(profile);
    ASSERT_EQ(player.CheckReach(instrument), "");
    FlyingHost host(instrument, player);
    instrument.host = &host;
    testing::StartCountingAllocations();
    PowerOn(instrument);
    EXPECT_EQ(testing::StopCountingAllocations(), 0) << hours << " h";
    EXPECT_TRUE(player.Finished());
  }
}

// A flight plays only in the main loop; a speed-up chosen while it plays
// takes effect at once; at a speed-up whose passes step past the log's last
// moment, that moment is flown too; a hand pauses it. Its time counts from
// its start, whatever the log's clock.
TEST(FlightControl, PlaysInTheMainLoopToTheLogsLastMomentUntilAHand) {
  Instrument instrument = PoweredOn();
  std::vector<double> put;  // the moments the sliders were put at
  FlightControl control(instrument, [&put](const FlightPass& pass, bool /*jump*/) {
    put.push_back(pass.sample.seconds);
  });
  control.Use(FlightProfile({{1000, 450, 0}, {1060, 1000, 60}, {1103, 1000, 60}}), "climb", "", "");
  EXPECT_EQ(put, std::vector<double>{1000});
  EXPECT_STREQ(control.Status().maximaNote, kSwitchOnToFlyNote);
  control.Fly();
  instrument.running = true;
  instrument.phase = PowerPhase::Splash;
  EXPECT_FALSE(control.BeforePass());  // the first readings are only being watched
  EXPECT_EQ(put.size(), 1u);
  instrument.phase = PowerPhase::MainLoop;
  control.BeforePass();  // a pass is 0.1 s of the log...
  control.SetSpeed(64);  // ...and from the next, 6.4 s
  for (int pass = 0; pass < 100 && control.Playing(); ++pass) control.BeforePass();
  EXPECT_FALSE(control.Playing());
  ASSERT_GE(put.size(), 3u);
  EXPECT_DOUBLE_EQ(put.back(), 1103);
  EXPECT_EQ(control.Status().elapsedSeconds, 103);
  EXPECT_STREQ(control.Status().maximaNote, kMaxValuesFromFlyNote);
  control.Play();  // from the end: the start again
  EXPECT_DOUBLE_EQ(put.back(), 1000);
  control.TakeOver();
  EXPECT_FALSE(control.Playing());
  instrument.state.airData.maxAltitude = 5000;  // the hand went higher than the log
  EXPECT_STREQ(control.Status().maximaNote, kMaxValuesNote);
}

// "MAX VALUES counts from power-on: switch OFF and ON ..." shows while MAX
// VALUES hold more than the flight has shown since power-on, and only then:
// gone once the pilot has done what it says, also at the flight's end.
TEST(FlightControl, TheMaxValuesNoteShowsOnlyWhileItIsTrue) {
  Instrument instrument = PoweredOn();
  AirData& air = instrument.state.airData;
  FlightControl control(instrument, [](const FlightPass&, bool) {});
  // The first pass of a power-on runs without the flight's turn before it.
  const auto firstPass = [&](std::int32_t altitude) {
    air.altitude = altitude;
    air.maxAltitude = std::max(air.maxAltitude, altitude);
  };
  const auto pass = [&](std::int32_t altitude) {
    control.BeforePass();  // notes what the pass before showed
    firstPass(altitude);
  };
  instrument.running = true;
  instrument.phase = PowerPhase::MainLoop;
  air.maxAltitude = 50860;  // a run at the sliders' start
  control.Use(FlightProfile({{0, 450, 0}, {2, 1000, 60}}), "climb", "", "");
  pass(450);
  pass(450);
  EXPECT_STREQ(control.Status().maximaNote, kMaxValuesNote);

  // MAX VALUES reset in the menu: the readings of now.
  air.maxAltitude = 450;
  pass(450);
  EXPECT_EQ(control.Status().maximaNote, nullptr);

  // A hand takes the altitude higher; OFF and ON start MAX VALUES from the
  // readings it left, which the flight's first moment then brings down.
  control.TakeOver();
  pass(3000);
  pass(3000);
  EXPECT_STREQ(control.Status().maximaNote, kMaxValuesNote);
  instrument.running = false;
  instrument.phase = PowerPhase::Off;
  control.SwitchedOff();
  EXPECT_STREQ(control.Status().maximaNote, kSwitchOnToFlyNote);
  instrument.running = true;
  instrument.phase = PowerPhase::Splash;
  control.MoveTo(0);
  firstPass(450);
  pass(450);
  EXPECT_STREQ(control.Status().maximaNote, kMaxValuesNote);

  // OFF and ON once more, on the flight's first moment, then played to its end.
  instrument.phase = PowerPhase::Off;
  control.SwitchedOff();
  air.maxAltitude = 450;
  instrument.phase = PowerPhase::Splash;
  firstPass(450);
  pass(450);
  EXPECT_EQ(control.Status().maximaNote, nullptr);
  instrument.phase = PowerPhase::MainLoop;
  control.Play();
  for (int tenth = 0; tenth < 40 && control.Playing(); ++tenth) pass(450 + 25 * tenth);
  EXPECT_TRUE(control.Status().ended);
  EXPECT_EQ(control.Status().maximaNote, nullptr);
}

// What a flight bar shows: the log's highest values and length in the units
// the instrument shows, whatever the settings.
TEST(FlightSummary, InThePilotsUnits) {
  const FlightProfile profile({{100, 1000, 60}, {200, 3000 / 0.3048, 100}, {3823, 500, 50}});
  struct Row {
    std::uint8_t altUnit, asiUnit;
    const char* summary;
    const char* values;  // at 200 s
  };
  const Row rows[] = {
      {0, 0, "Highest 9843 ft, fastest 100 mph, 1:02:03 long", "9843 ft, 100 mph"},
      {1, 1, "Highest 3000 m, fastest 161 km/h, 1:02:03 long", "3000 m, 161 km/h"},
      {0, 2, "Highest 9843 ft, fastest 87 knots, 1:02:03 long", "9843 ft, 87 knots"},
  };
  for (const Row& row : rows) {
    Settings settings;
    settings.altUnit = row.altUnit;
    settings.asiUnit = row.asiUnit;
    EXPECT_EQ(FlightSummaryText(settings, profile), row.summary);
    EXPECT_EQ(ShownValuesText(ShownValues(settings, profile.At(200))), row.values);
  }
  EXPECT_EQ(ClockText(479), "7:59");
  EXPECT_EQ(ClockText(3600), "1:00:00");
}

}  // namespace
}  // namespace kvr9
