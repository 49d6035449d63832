// Start/stop, flight information and maximum values screens, driven through
// real main-loop passes.
#include <gtest/gtest.h>

#include <string>

#include "screens/screens.h"
#include "support/fake_host.h"
#include "support/golden.h"
#include "support/text_band.h"

namespace kvr9 {
namespace {

using testing::Band;
using testing::CentredOnX;
using testing::PassWithKey;
using testing::TextBand;

class FlightScreens : public ::testing::Test {
 protected:
  FlightScreens() {
    testing::StartOnMainDisplay(instrument);
    hooks.calls.clear();  // only what the screens call
  }

  void Open(ScreenHandler screen, std::uint8_t cursor = 0) {
    instrument.state.ui.currentScreen = screen;
    instrument.state.ui.cursor = cursor;
  }
  const FrameBuffer& Frame() const { return host.frames.back(); }

  Instrument instrument;
  testing::FakeHost host{instrument};
  testing::HookRecorder hooks{instrument};
  InstrumentState& state = instrument.state;
};

// --- Start/stop ---------------------------------------------------------

class ManualStart : public FlightScreens, public ::testing::WithParamInterface<int> {};

TEST_P(ManualStart, ClearsTheTimerAndZeroesDistanceOnlyWhenAsked) {
  const auto distZeroAuto = static_cast<std::uint8_t>(GetParam());
  state.settings.distZeroAuto = distZeroAuto;
  state.airData.distanceSum = 5000;
  state.flightTimer = {
      .flightCounted = 1, .flightSeconds = 9, .flightMinutes = 8, .flightHours = 7};
  PassWithKey(instrument, KeyF1);  // main display opens the page
  ASSERT_EQ(state.ui.currentScreen, StartStopScreen);
  PassWithKey(instrument, KeyF1);

  const FlightTimer& timer = state.flightTimer;
  EXPECT_EQ(timer.inFlight, 1);
  EXPECT_EQ(timer.flightCounted, 0);
  EXPECT_EQ(timer.flightSeconds, 0);
  EXPECT_EQ(timer.flightMinutes, 0);
  EXPECT_EQ(timer.flightHours, 0);
  EXPECT_EQ(state.airData.distanceSum, distZeroAuto == 1 ? 0u : 5000u);
  EXPECT_EQ(state.ui.currentScreen, MainScreen);
}

INSTANTIATE_TEST_SUITE_P(DistZero, ManualStart, ::testing::Values(0, 1));

class ManualStop : public FlightScreens, public ::testing::WithParamInterface<int> {};

TEST_P(ManualStop, StoresALogEntryOnlyForACountedFlight) {
  const int counted = GetParam();
  state.flightTimer.inFlight = 1;
  state.flightTimer.flightCounted = static_cast<std::uint8_t>(counted);
  Open(StartStopScreen);
  PassWithKey(instrument, KeyF1);
  EXPECT_EQ(hooks.Count("StoreFlightLogEntry"), counted);
  EXPECT_EQ(state.flightTimer.inFlight, 0);
  EXPECT_EQ(state.ui.currentScreen, MainScreen);
}

INSTANTIATE_TEST_SUITE_P(Counted, ManualStop, ::testing::Values(0, 1));

using OtherKey = std::tuple<KeyEvent, int>;
class StartStopOtherKeys : public FlightScreens, public ::testing::WithParamInterface<OtherKey> {};

TEST_P(StartStopOtherKeys, LeaveWithoutStartingOrStopping) {
  const auto [key, inFlight] = GetParam();
  state.flightTimer.inFlight = static_cast<std::uint8_t>(inFlight);
  state.flightTimer.flightCounted = 1;
  Open(StartStopScreen);
  PassWithKey(instrument, key);
  EXPECT_EQ(state.ui.currentScreen, MainScreen);
  EXPECT_EQ(state.flightTimer.inFlight, inFlight);
  EXPECT_EQ(hooks.Count("StoreFlightLogEntry"), 0);
}

INSTANTIATE_TEST_SUITE_P(Keys, StartStopOtherKeys,
                         ::testing::Combine(::testing::Values(KeyPress, KeyClockwise,
                                                              KeyAntiClockwise, KeyF2),
                                            ::testing::Values(0, 1)));

// --- Flight information ---------------------------------------------------

struct DistanceCase {
  std::uint8_t asiUnit;
  std::uint32_t distanceSum;
  const char* text;
};

class AirDistanceText : public FlightScreens, public ::testing::WithParamInterface<DistanceCase> {};

TEST_P(AirDistanceText, IsConvertedIntoTheAirspeedUnit) {
  const DistanceCase c = GetParam();
  state.settings.asiUnit = c.asiUnit;
  state.airData.distanceSum = c.distanceSum;
  Open(FlightInfoScreen);
  PassWithKey(instrument, KeyNone);
  EXPECT_EQ(Band(Frame(), 50, 16), TextBand(CentredOnX, 64, 50, c.text, 1));
}

INSTANTIATE_TEST_SUITE_P(
    Table, AirDistanceText,
    ::testing::Values(DistanceCase{0, 719, "0.0"}, DistanceCase{0, 720, "0.1"},
                      DistanceCase{1, 720, "0.2"}, DistanceCase{2, 720, "0.1"},
                      DistanceCase{0, 47185200, "???.?"}, DistanceCase{0, 47185919, "???.?"},
                      DistanceCase{1, 47185200, "???.?"}, DistanceCase{0, 47184480, "6553.4"},
                      DistanceCase{1, 47184480, "10544.4"}, DistanceCase{2, 47184480, "5694.9"},
                      // Only the one count reads as unknown; beyond it the sum shows again.
                      DistanceCase{0, 47185920, "6553.6"}));

struct TimeCase {
  std::uint8_t hours;
  std::uint8_t minutes;
  std::uint8_t decimal;
  const char* text;
};

class FlightTimeText : public FlightScreens, public ::testing::WithParamInterface<TimeCase> {};

TEST_P(FlightTimeText, ShowsMinutesAfterEitherSeparator) {
  const TimeCase c = GetParam();
  state.flightTimer.flightHours = c.hours;
  state.flightTimer.flightMinutes = c.minutes;
  state.settings.hourFractDecimal = c.decimal;
  Open(FlightInfoScreen);
  PassWithKey(instrument, KeyNone);
  EXPECT_EQ(Band(Frame(), 26, 16), TextBand(CentredOnX, 64, 26, c.text, 1));
}

INSTANTIATE_TEST_SUITE_P(Table, FlightTimeText,
                         ::testing::Values(TimeCase{9, 5, 0, "09:05"}, TimeCase{9, 5, 1, "09.05"},
                                           TimeCase{1, 30, 1, "01.30"},
                                           TimeCase{99, 59, 0, "99:59"}));

// Both two-row pages pick their row outright rather than stepping.
class AbsoluteRows : public FlightScreens, public ::testing::WithParamInterface<ScreenHandler> {};

TEST_P(AbsoluteRows, DownKeysPickRowOneAndUpKeysRowZero) {
  Open(GetParam());
  const std::pair<KeyEvent, int> steps[] = {
      {KeyF2, 1},        {KeyF2, 1},        {KeyF1, 0},           {KeyF1, 0},
      {KeyClockwise, 1}, {KeyClockwise, 1}, {KeyAntiClockwise, 0}};
  for (const auto& [key, row] : steps) {
    PassWithKey(instrument, key);
    EXPECT_EQ(state.ui.cursor, row) << "after key " << int{key};
    EXPECT_EQ(state.ui.currentScreen, GetParam());
  }
}

INSTANTIATE_TEST_SUITE_P(Screens, AbsoluteRows,
                         ::testing::Values(FlightInfoScreen, MaxValuesScreen));

TEST_F(FlightScreens, ResetAirDistanceStaysAndShowsZeroNext) {
  state.airData.distanceSum = 720 * 55;
  Open(FlightInfoScreen, 1);
  PassWithKey(instrument, KeyPress);
  EXPECT_EQ(state.airData.distanceSum, 0u);
  EXPECT_EQ(state.ui.currentScreen, FlightInfoScreen);
  PassWithKey(instrument, KeyNone);
  EXPECT_EQ(Band(Frame(), 50, 16), TextBand(CentredOnX, 64, 50, "0.0", 1));
}

TEST_F(FlightScreens, FlightInfoDoneReturnsToTheMainDisplay) {
  PassWithKey(instrument, KeyF2);  // main display opens it on row 0
  ASSERT_EQ(state.ui.currentScreen, FlightInfoScreen);
  PassWithKey(instrument, KeyPress);
  EXPECT_EQ(state.ui.currentScreen, MainScreen);
  EXPECT_EQ(state.ui.cursor, 0);
}

// --- Maximum values ---------------------------------------------------------

TEST_F(FlightScreens, ResetValuesTakesThePresentReadingsAndStays) {
  state.airData.altAdcRaw = 3000;  // about 2,666 ft
  state.airData.maxAltitude = 20000;
  state.airData.maxAirspeed = 200;
  Open(MaxValuesScreen, 1);
  PassWithKey(instrument, KeyPress);
  EXPECT_EQ(state.airData.maxAltitude, state.airData.altitude);
  EXPECT_EQ(state.airData.maxAirspeed, state.airData.airspeed);
  EXPECT_EQ(hooks.Count("MaxValuesReset"), 1);
  EXPECT_EQ(state.ui.currentScreen, MaxValuesScreen);

  PassWithKey(instrument, KeyNone);
  const std::string altitude = std::to_string(state.airData.maxAltitude) + " ft";
  FrameBuffer expected{};
  DrawText8(expected, 0, 28, "ALT:", 0, PixelSet, 0);
  DrawText8(expected, 40, 28, altitude.c_str(), 1, PixelSet, 0);
  EXPECT_EQ(Band(Frame(), 28, 16), Band(expected, 28, 16));
}

TEST_F(FlightScreens, MaxValuesDoneReturnsToItsMenuItem) {
  PassWithKey(instrument, KeyPress);  // main menu, item 0
  PassWithKey(instrument, KeyF2);     // item 1
  PassWithKey(instrument, KeyPress);
  ASSERT_EQ(state.ui.currentScreen, MaxValuesScreen);
  PassWithKey(instrument, KeyPress);
  EXPECT_EQ(state.ui.currentScreen, MainMenuScreen);
  EXPECT_EQ(state.ui.cursor, 1);
  EXPECT_EQ(state.ui.editing, 0);
}

// --- Pictures ------------------------------------------------------------------

TEST_F(FlightScreens, StartStopPages) {
  Open(StartStopScreen);
  PassWithKey(instrument, KeyNone);
  EXPECT_EQ(testing::CompareWithGolden(Frame(), "start_stop_start"), "");
  state.flightTimer.inFlight = 1;
  PassWithKey(instrument, KeyNone);
  EXPECT_EQ(testing::CompareWithGolden(Frame(), "start_stop_stop"), "");
}

struct InfoPicture {
  const char* golden;
  std::uint8_t asiUnit;
  std::uint32_t distanceSum;
  std::uint8_t decimal;
  std::uint8_t cursor;
};

class FlightInfoPictures : public FlightScreens,
                           public ::testing::WithParamInterface<InfoPicture> {};

TEST_P(FlightInfoPictures, MatchTheGolden) {
  const InfoPicture p = GetParam();
  state.settings.asiUnit = p.asiUnit;
  state.settings.hourFractDecimal = p.decimal;
  state.airData.distanceSum = p.distanceSum;
  state.flightTimer.flightHours = 9;
  state.flightTimer.flightMinutes = 5;
  Open(FlightInfoScreen, p.cursor);
  PassWithKey(instrument, KeyNone);
  EXPECT_EQ(testing::CompareWithGolden(Frame(), p.golden), "");
}

// 1234 tenths of a mile: 123.4 mi, 198.6 km, 107.2 nm.
INSTANTIATE_TEST_SUITE_P(
    Goldens, FlightInfoPictures,
    ::testing::Values(InfoPicture{"flight_info_mph_min", 0, 720 * 1234, 0, 0},
                      InfoPicture{"flight_info_kmh_dec_row1", 1, 720 * 1234, 1, 1},
                      InfoPicture{"flight_info_knots", 2, 720 * 1234, 0, 0},
                      InfoPicture{"flight_info_distance_unknown", 0, 47185200, 0, 0}),
    [](const ::testing::TestParamInfo<InfoPicture>& param) { return param.param.golden; });

TEST_F(FlightScreens, MaxValuesWithANegativeAltitude) {
  state.airData.altAdcRaw = 4096;  // far below sea level: the maximum stays put
  for (int i = 0; i < 60; ++i) UpdateAltitude(instrument);
  state.airData.maxAltitude = -120;
  state.airData.maxAirspeed = 87;
  Open(MaxValuesScreen);
  PassWithKey(instrument, KeyNone);
  EXPECT_EQ(testing::CompareWithGolden(Frame(), "max_values_negative_altitude"), "");
}

}  // namespace
}  // namespace kvr9
