// Airspeed setup, sensor zero, calibration and converter screens, driven key
// by key.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "screens/screens.h"
#include "screens/setup_screen_fixture.h"

namespace kvr9 {
namespace {

using Hooks = std::vector<std::string>;
using testing::Runs;
using testing::SetupScreenTest;
using AsiSetup = SetupScreenTest;
using ZeroAsi = SetupScreenTest;
using Calibrate = SetupScreenTest;
using AdcValues = SetupScreenTest;

// ---- ASI setup: moving, selecting, leaving ---------------------------------

struct ListKeyCase {
  const char* name;
  std::uint8_t cursor, editing;
  KeyEvent key;
  std::uint8_t cursorAfter, editingAfter;
  ScreenHandler screenAfter;
};

class AsiSetupKeys : public SetupScreenTest, public ::testing::WithParamInterface<ListKeyCase> {};

TEST_P(AsiSetupKeys, MoveSelectAndLeave) {
  const ListKeyCase& c = GetParam();
  Open(AsiSetupScreen, c.cursor, c.editing);
  EXPECT_EQ(Pass(c.key), Hooks{});  // leaving the list saves nothing; the menu does
  EXPECT_EQ(ui().pendingKey, KeyNone);
  EXPECT_EQ(ui().cursor, c.cursorAfter);
  EXPECT_EQ(ui().editing, c.editingAfter);
  EXPECT_EQ(ui().currentScreen, c.screenAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Table, AsiSetupKeys,
    ::testing::Values(ListKeyCase{"DownByKnob", 6, 0, KeyClockwise, 7, 0, AsiSetupScreen},
                      ListKeyCase{"DownByF2", 9, 0, KeyF2, 10, 0, AsiSetupScreen},
                      ListKeyCase{"StopsAtRow10ByKnob", 10, 0, KeyClockwise, 10, 0, AsiSetupScreen},
                      ListKeyCase{"StopsAtRow10ByF2", 10, 0, KeyF2, 10, 0, AsiSetupScreen},
                      ListKeyCase{"UpByF1", 7, 0, KeyF1, 6, 0, AsiSetupScreen},
                      ListKeyCase{"UpByKnob", 1, 0, KeyAntiClockwise, 0, 0, AsiSetupScreen},
                      ListKeyCase{"StopsAtDoneByF1", 0, 0, KeyF1, 0, 0, AsiSetupScreen},
                      ListKeyCase{"StopsAtDoneByKnob", 0, 0, KeyAntiClockwise, 0, 0,
                                  AsiSetupScreen},
                      ListKeyCase{"PressOnRow2Edits", 2, 0, KeyPress, 2, 1, AsiSetupScreen},
                      ListKeyCase{"PressOnRow10Edits", 10, 0, KeyPress, 10, 1, AsiSetupScreen},
                      ListKeyCase{"PressAgainEndsEditing", 4, 1, KeyPress, 4, 0, AsiSetupScreen},
                      ListKeyCase{"PressOnZeroOpensZeroPage", 1, 0, KeyPress, 1, 0, ZeroAsiScreen},
                      ListKeyCase{"DoneReturnsToItem5", 0, 0, KeyPress, 5, 0, MainMenuScreen}),
    testing::CaseName());

// ---- ASI setup: two-state rows ---------------------------------------------

struct ToggleRow {
  std::uint8_t row;
  std::uint8_t Settings::*field;
};

class AsiSetupToggles : public SetupScreenTest,
                        public ::testing::WithParamInterface<std::tuple<ToggleRow, KeyEvent>> {};

TEST_P(AsiSetupToggles, EveryTurnAndArrowFlipsAndTheCursorStays) {
  const auto [c, key] = GetParam();
  Open(AsiSetupScreen, c.row, 1);
  settings().*c.field = 0;
  Pass(key);
  EXPECT_EQ(settings().*c.field, 1);
  Pass(key);
  EXPECT_EQ(settings().*c.field, 0);
  EXPECT_EQ(ui().cursor, c.row);
  EXPECT_EQ(ui().editing, 1);
}

INSTANTIATE_TEST_SUITE_P(
    RowsAndKeys, AsiSetupToggles,
    ::testing::Combine(::testing::Values(ToggleRow{2, &Settings::asiShowsTas},
                                         ToggleRow{3, &Settings::lowAlarmOn},
                                         ToggleRow{5, &Settings::highAlarmOn},
                                         ToggleRow{9, &Settings::distZeroAuto},
                                         ToggleRow{10, &Settings::altitudeOnTop}),
                       ::testing::Values(KeyClockwise, KeyAntiClockwise, KeyF1, KeyF2)));

// ---- ASI setup: alarm speeds -----------------------------------------------

struct SpeedCase {
  const char* name;
  std::uint8_t asiUnit;
  bool keyFast;
  std::uint8_t row;
  std::uint32_t speed;
  KeyEvent key;
  std::uint32_t speedAfter;
};

class AsiSetupSpeeds : public SetupScreenTest, public ::testing::WithParamInterface<SpeedCase> {};

TEST_P(AsiSetupSpeeds, StepAndWrapRoundTheUnitsRange) {
  const SpeedCase& c = GetParam();
  Open(AsiSetupScreen, c.row, 1);
  host.keyFastChecked = c.keyFast;
  settings().asiUnit = c.asiUnit;
  std::uint32_t& speed = c.row == 4 ? settings().lowAlarmSpeed : settings().highAlarmSpeed;
  speed = c.speed;
  Pass(c.key);
  EXPECT_EQ(speed, c.speedAfter);
  EXPECT_EQ(ui().cursor, c.row);
}

INSTANTIATE_TEST_SUITE_P(
    Table, AsiSetupSpeeds,
    ::testing::Values(SpeedCase{"MphTopWrapsToBottom", 0, false, 4, 250, KeyClockwise, 16},
                      SpeedCase{"MphBottomWrapsToTop", 0, false, 4, 16, KeyAntiClockwise, 250},
                      SpeedCase{"MphReachesTop", 0, false, 6, 249, KeyF1, 250},
                      SpeedCase{"MphReachesBottom", 0, false, 6, 17, KeyF2, 16},
                      SpeedCase{"MphFastReachesTop", 0, true, 4, 240, KeyClockwise, 250},
                      SpeedCase{"MphFastPastTopWraps", 0, true, 4, 241, KeyF1, 16},
                      SpeedCase{"MphFastReachesBottom", 0, true, 6, 26, KeyF2, 16},
                      SpeedCase{"MphFastPastBottomWraps", 0, true, 6, 25, KeyAntiClockwise, 250},
                      SpeedCase{"KmhFastPastTopWraps", 1, true, 6, 400, KeyClockwise, 26},
                      SpeedCase{"KmhReachesTop", 1, false, 4, 401, KeyF1, 402},
                      SpeedCase{"KnotsTopWraps", 2, false, 6, 217, KeyF1, 14},
                      SpeedCase{"KnotsBottomWraps", 2, false, 4, 14, KeyF2, 217},
                      SpeedCase{"KnotsFastStep", 2, true, 4, 100, KeyAntiClockwise, 90}),
    testing::CaseName());

TEST_F(AsiSetup, EditingASpeedRowHighlightsOnlyItsValue) {
  Open(AsiSetupScreen, 4, 1);
  settings().lowAlarmSpeed = 45;
  Pass(KeyNone);
  EXPECT_EQ(testing::CompareWithGolden(Frame(), "asi_setup_editing_speed"), "");
  EXPECT_EQ(testing::InverseCellRuns(Frame(), 40), (Runs{{88, 103}}));  // "45" after "LOW ALARM: "
}

// ---- ASI setup: unit and filter --------------------------------------------

struct CycleCase {
  const char* name;
  std::uint8_t row;
  std::uint8_t value;
  KeyEvent key;
  std::uint8_t valueAfter;
};

class AsiSetupCycles : public SetupScreenTest, public ::testing::WithParamInterface<CycleCase> {};

TEST_P(AsiSetupCycles, StepRoundThreeChoicesBothWays) {
  const CycleCase& c = GetParam();
  Open(AsiSetupScreen, c.row, 1);
  std::uint8_t& value = c.row == 7 ? settings().asiUnit : settings().asiFilter;
  value = c.value;
  air().maxAirspeed = 999;
  const Hooks screenHooks = Pass(c.key);
  EXPECT_EQ(value, c.valueAfter);
  if (c.row == 7) {
    // Maxima in the old unit are dropped in the same pass.
    EXPECT_EQ(screenHooks, Hooks{"MaxValuesReset"});
    EXPECT_EQ(air().maxAirspeed, air().airspeed);
  } else {
    EXPECT_EQ(screenHooks, Hooks{});
    EXPECT_EQ(air().maxAirspeed, 999u);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, AsiSetupCycles,
                         ::testing::Values(CycleCase{"UnitMphUp", 7, 0, KeyClockwise, 1},
                                           CycleCase{"UnitKmhUp", 7, 1, KeyF1, 2},
                                           CycleCase{"UnitKnotsUpWraps", 7, 2, KeyClockwise, 0},
                                           CycleCase{"UnitMphDownWraps", 7, 0, KeyF2, 2},
                                           CycleCase{"UnitKnotsDown", 7, 2, KeyAntiClockwise, 1},
                                           CycleCase{"UnitKmhDown", 7, 1, KeyF2, 0},
                                           CycleCase{"FilterNoneUp", 8, 0, KeyF1, 1},
                                           CycleCase{"FilterFastUp", 8, 1, KeyClockwise, 2},
                                           CycleCase{"FilterSlowUpWraps", 8, 2, KeyF1, 0},
                                           CycleCase{"FilterNoneDownWraps", 8, 0, KeyF2, 2},
                                           CycleCase{"FilterSlowDown", 8, 2, KeyAntiClockwise, 1},
                                           CycleCase{"FilterFastDown", 8, 1, KeyF2, 0}),
                         testing::CaseName());

TEST_F(AsiSetup, UnitChangeClampsTheSpeedsOnTheNextPass) {
  Open(AsiSetupScreen, 7, 1);
  settings().asiUnit = 1;  // km/h
  settings().lowAlarmSpeed = 300;
  settings().highAlarmSpeed = 300;
  EXPECT_EQ(Pass(KeyClockwise), Hooks{"MaxValuesReset"});
  ASSERT_EQ(settings().asiUnit, 2);  // knots
  // Not converted: the numbers stay until the list draws again.
  EXPECT_EQ(settings().highAlarmSpeed, 300u);
  Pass(KeyNone);
  EXPECT_EQ(settings().lowAlarmSpeed, 217u);
  EXPECT_EQ(settings().highAlarmSpeed, 217u);
  // Row 6 stands on screen row 5 (y 48) with the cursor on row 7.
  EXPECT_EQ(testing::FrameCells(Frame(), 96, 48, "217"), testing::TextCells(96, 48, "217"));
}

// ---- ASI setup: scrolling --------------------------------------------------

struct ScrollCase {
  std::uint8_t cursor;
  int selectedY;
  Runs highlight;
};

class AsiSetupScroll : public SetupScreenTest, public ::testing::WithParamInterface<ScrollCase> {};

// Scrolled, the selected row is the bottom line: rows 1-7 at cursor 7, 4-10 at 10.
TEST_P(AsiSetupScroll, SelectedRowStaysInsideTheSevenLines) {
  const ScrollCase& c = GetParam();
  Open(AsiSetupScreen, c.cursor);
  Pass(KeyNone);
  EXPECT_EQ(testing::CompareWithGolden(Frame(), "asi_setup_cursor" + std::to_string(c.cursor)), "");
  EXPECT_EQ(testing::InverseCellRuns(Frame(), c.selectedY), c.highlight);
  if (c.selectedY != 8) {
    EXPECT_EQ(testing::InverseCellRuns(Frame(), 8), Runs{});  // no done row
  }
}

// The done row is centred on x 64; a selected setting row runs from x 0 to
// the end of its value: "ASI UNIT: mph", where the descender of "p" leaves
// a gap, and "POSITION: TOP".
INSTANTIATE_TEST_SUITE_P(Goldens, AsiSetupScroll,
                         ::testing::Values(ScrollCase{0, 8, {{16, 111}}},
                                           ScrollCase{7, 56, {{0, 87}, {90, 103}}},
                                           ScrollCase{10, 56, {{0, 103}}}));

TEST_F(AsiSetup, ScrollsBackWhenTheCursorReturnsToRow6) {
  Open(AsiSetupScreen, 7);
  Pass(KeyF1);
  Pass(KeyNone);
  // The done row is back on y 8, not selected, and "ZERO ASI SENSOR" below it.
  EXPECT_EQ(testing::FrameCells(Frame(), 16, 8, "*** DONE ***"),
            testing::TextCells(16, 8, "*** DONE ***"));
  EXPECT_EQ(testing::FrameCells(Frame(), 0, 16, "ZERO ASI SENSOR"),
            testing::TextCells(0, 16, "ZERO ASI SENSOR"));
}

// ---- Zero page -------------------------------------------------------------

TEST_F(ZeroAsi, F1TakesTheReadingAndShowsTheMessage) {
  Open(AsiSetupScreen, 1);
  air().asiAdcRaw = 1234;
  Pass(KeyPress);
  ASSERT_EQ(ui().currentScreen, ZeroAsiScreen);
  Pass(KeyNone);
  EXPECT_EQ(testing::CompareWithGolden(Frame(), "zero_asi"), "");
  EXPECT_EQ(Pass(KeyF1), Hooks{"SaveSettings"});
  EXPECT_EQ(settings().asiZeroOffset, 1234u);
  EXPECT_EQ(ui().currentScreen, MessageScreen);
  EXPECT_EQ(ui().returnScreen, AsiSetupScreen);
  Pass(KeyClockwise);  // any key leaves the message
  EXPECT_EQ(ui().currentScreen, AsiSetupScreen);
  EXPECT_EQ(ui().cursor, 1);
  EXPECT_EQ(ui().editing, 0);
}

class ZeroAsiCancel : public SetupScreenTest, public ::testing::WithParamInterface<KeyEvent> {};

TEST_P(ZeroAsiCancel, OtherKeysGoBackUnchanged) {
  Open(ZeroAsiScreen, 1);
  settings().asiZeroOffset = 77;
  air().asiAdcRaw = 1234;
  EXPECT_EQ(Pass(GetParam()), Hooks{});
  EXPECT_EQ(settings().asiZeroOffset, 77u);
  EXPECT_EQ(ui().currentScreen, AsiSetupScreen);
  EXPECT_EQ(ui().cursor, 1);
}

INSTANTIATE_TEST_SUITE_P(Keys, ZeroAsiCancel,
                         ::testing::Values(KeyPress, KeyClockwise, KeyAntiClockwise, KeyF2));

// ---- Calibrate -------------------------------------------------------------

class CalibrateKeys : public SetupScreenTest, public ::testing::WithParamInterface<ListKeyCase> {};

TEST_P(CalibrateKeys, MoveSelectAndLeave) {
  const ListKeyCase& c = GetParam();
  Open(CalibrateScreen, c.cursor, c.editing);
  const Hooks screenHooks = Pass(c.key);
  EXPECT_EQ(ui().cursor, c.cursorAfter);
  EXPECT_EQ(ui().editing, c.editingAfter);
  EXPECT_EQ(ui().currentScreen, c.screenAfter);
  // Only leaving saves the calibration.
  EXPECT_EQ(screenHooks, c.screenAfter == MainMenuScreen ? Hooks{"SaveSettings"} : Hooks{});
  EXPECT_EQ(settings().altCalOffset, 0);
  EXPECT_EQ(settings().asiCalPercent, 100);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CalibrateKeys,
    ::testing::Values(ListKeyCase{"DownByKnob", 0, 0, KeyClockwise, 1, 0, CalibrateScreen},
                      ListKeyCase{"DownByF2", 1, 0, KeyF2, 2, 0, CalibrateScreen},
                      ListKeyCase{"StopsAtRow2", 2, 0, KeyClockwise, 2, 0, CalibrateScreen},
                      ListKeyCase{"UpByF1", 2, 0, KeyF1, 1, 0, CalibrateScreen},
                      ListKeyCase{"UpByKnob", 1, 0, KeyAntiClockwise, 0, 0, CalibrateScreen},
                      ListKeyCase{"StopsAtDone", 0, 0, KeyF1, 0, 0, CalibrateScreen},
                      ListKeyCase{"PressEdits", 2, 0, KeyPress, 2, 1, CalibrateScreen},
                      ListKeyCase{"PressAgainEndsEditing", 1, 1, KeyPress, 1, 0, CalibrateScreen},
                      ListKeyCase{"DoneSavesAndReturnsToItem7", 0, 0, KeyPress, 7, 0,
                                  MainMenuScreen}),
    testing::CaseName());

struct TrimCase {
  const char* name;
  std::uint8_t row;
  int value;
  KeyEvent key;
  int valueAfter;
};

class CalibrateTrims : public SetupScreenTest, public ::testing::WithParamInterface<TrimCase> {};

TEST_P(CalibrateTrims, MoveByOneAndStopAtTheLimits) {
  const TrimCase& c = GetParam();
  Open(CalibrateScreen, c.row, 1);
  host.keyFastChecked = true;  // the trims ignore it
  if (c.row == 1) {
    settings().altCalOffset = static_cast<std::int8_t>(c.value);
  } else {
    settings().asiCalPercent = static_cast<std::uint8_t>(c.value);
  }
  Pass(c.key);
  const int after = c.row == 1 ? int{settings().altCalOffset} : int{settings().asiCalPercent};
  EXPECT_EQ(after, c.valueAfter);
  EXPECT_EQ(ui().cursor, c.row);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CalibrateTrims,
    ::testing::Values(TrimCase{"AltUp", 1, 0, KeyClockwise, 1},
                      TrimCase{"AltDownBelowZero", 1, 0, KeyAntiClockwise, -1},
                      TrimCase{"AltReachesTop", 1, 124, KeyF1, 125},
                      TrimCase{"AltStopsAtTopByKnob", 1, 125, KeyClockwise, 125},
                      TrimCase{"AltStopsAtTopByF1", 1, 125, KeyF1, 125},
                      TrimCase{"AltReachesBottom", 1, -124, KeyF2, -125},
                      TrimCase{"AltStopsAtBottomByKnob", 1, -125, KeyAntiClockwise, -125},
                      TrimCase{"AltStopsAtBottomByF2", 1, -125, KeyF2, -125},
                      TrimCase{"AsiUp", 2, 100, KeyF1, 101}, TrimCase{"AsiDown", 2, 100, KeyF2, 99},
                      TrimCase{"AsiStopsAtTop", 2, 150, KeyClockwise, 150},
                      TrimCase{"AsiStopsAtBottom", 2, 50, KeyAntiClockwise, 50}),
    testing::CaseName());

TEST_F(Calibrate, ShowsSignedOffsetBesideTheAltitude) {
  air().altAdcRaw = 3346;
  Open(CalibrateScreen, 1, 0);
  Pass(KeyNone);
  char expected[32];
  std::snprintf(expected, sizeof expected, "+0 %d", static_cast<int>(air().pressureAltitudeFt));
  EXPECT_EQ(testing::FrameCells(Frame(), 40, 16, expected),
            testing::TextCells(40, 16, expected, 1));
  EXPECT_EQ(testing::CompareWithGolden(Frame(), "calibrate_navigation"), "");

  Pass(KeyPress);
  settings().altCalOffset = -7;
  Pass(KeyNone);
  std::snprintf(expected, sizeof expected, "-7 %d", static_cast<int>(air().pressureAltitudeFt));
  EXPECT_EQ(testing::FrameCells(Frame(), 0, 16, "ALT: "), testing::TextCells(0, 16, "ALT: "));
  EXPECT_EQ(testing::FrameCells(Frame(), 40, 16, expected),
            testing::TextCells(40, 16, expected, 1));
  EXPECT_EQ(testing::CompareWithGolden(Frame(), "calibrate_editing"), "");
}

// ---- ADC values ------------------------------------------------------------

struct AdcKeyCase {
  KeyEvent key;
  ScreenHandler screenAfter;
  std::uint8_t cursorAfter;
};

class AdcValuesKeys : public SetupScreenTest, public ::testing::WithParamInterface<AdcKeyCase> {};

TEST_P(AdcValuesKeys, OnlyThePressActs) {
  Open(AdcValuesScreen);
  EXPECT_EQ(Pass(GetParam().key), Hooks{});
  EXPECT_EQ(ui().pendingKey, KeyNone);
  EXPECT_EQ(ui().currentScreen, GetParam().screenAfter);
  EXPECT_EQ(ui().cursor, GetParam().cursorAfter);
}

INSTANTIATE_TEST_SUITE_P(Keys, AdcValuesKeys,
                         ::testing::Values(AdcKeyCase{KeyClockwise, AdcValuesScreen, 0},
                                           AdcKeyCase{KeyAntiClockwise, AdcValuesScreen, 0},
                                           AdcKeyCase{KeyF1, AdcValuesScreen, 0},
                                           AdcKeyCase{KeyF2, AdcValuesScreen, 0},
                                           AdcKeyCase{KeyPress, MainMenuScreen, 6}));

TEST_F(AdcValues, ShowsTheRawReadings) {
  Open(AdcValuesScreen);
  air().altAdcRaw = 2048;
  air().asiAdcRaw = 1234;
  Pass(KeyNone);
  EXPECT_EQ(testing::CompareWithGolden(Frame(), "adc_values"), "");
}

}  // namespace
}  // namespace kvr9
