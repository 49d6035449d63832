// Display setup, contrast and altitude setup screens, driven key by key.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "screens/screens.h"
#include "screens/setup_screen_fixture.h"

namespace kvr9 {
namespace {

using Hooks = std::vector<std::string>;
using testing::Runs;
using testing::SetupScreenTest;
using DisplaySetup = SetupScreenTest;
using Contrast = SetupScreenTest;
using AltSetup = SetupScreenTest;

// ---- Display setup ---------------------------------------------------------

struct ListKeyCase {
  const char* name;
  std::uint8_t cursor, editing;
  KeyEvent key;
  std::uint8_t cursorAfter, editingAfter;
  ScreenHandler screenAfter;
};

class DisplaySetupKeys : public SetupScreenTest,
                         public ::testing::WithParamInterface<ListKeyCase> {};

TEST_P(DisplaySetupKeys, MoveSelectAndLeave) {
  const ListKeyCase& c = GetParam();
  Open(DisplaySetupScreen, c.cursor, c.editing);
  const std::uint8_t backlight = settings().backlightOn;
  EXPECT_EQ(Pass(c.key), Hooks{});  // leaving through the done row saves nothing either
  EXPECT_EQ(ui().pendingKey, KeyNone);
  EXPECT_EQ(ui().cursor, c.cursorAfter);
  EXPECT_EQ(ui().editing, c.editingAfter);
  EXPECT_EQ(ui().currentScreen, c.screenAfter);
  EXPECT_EQ(settings().backlightOn, backlight);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DisplaySetupKeys,
    ::testing::Values(
        ListKeyCase{"DownByKnob", 0, 0, KeyClockwise, 1, 0, DisplaySetupScreen},
        ListKeyCase{"DownByF2", 1, 0, KeyF2, 2, 0, DisplaySetupScreen},
        ListKeyCase{"StopsAtLastByKnob", 2, 0, KeyClockwise, 2, 0, DisplaySetupScreen},
        ListKeyCase{"StopsAtLastByF2", 2, 0, KeyF2, 2, 0, DisplaySetupScreen},
        ListKeyCase{"UpByF1", 2, 0, KeyF1, 1, 0, DisplaySetupScreen},
        ListKeyCase{"UpByKnob", 1, 0, KeyAntiClockwise, 0, 0, DisplaySetupScreen},
        ListKeyCase{"StopsAtDoneByF1", 0, 0, KeyF1, 0, 0, DisplaySetupScreen},
        ListKeyCase{"StopsAtDoneByKnob", 0, 0, KeyAntiClockwise, 0, 0, DisplaySetupScreen},
        ListKeyCase{"PressOnBacklightEdits", 2, 0, KeyPress, 2, 1, DisplaySetupScreen},
        ListKeyCase{"PressAgainEndsEditing", 2, 1, KeyPress, 2, 0, DisplaySetupScreen},
        ListKeyCase{"PressOnContrastOpensIt", 1, 0, KeyPress, 0, 0, ContrastScreen},
        ListKeyCase{"DoneReturnsToItem3", 0, 0, KeyPress, 3, 0, MainMenuScreen}),
    testing::CaseName());

class DisplaySetupBacklight : public SetupScreenTest,
                              public ::testing::WithParamInterface<KeyEvent> {};

TEST_P(DisplaySetupBacklight, EveryTurnAndArrowFlipsWithItsHook) {
  Open(DisplaySetupScreen, 2, 1);
  settings().backlightOn = 1;
  EXPECT_EQ(Pass(GetParam()), Hooks{"BacklightOff"});
  EXPECT_EQ(settings().backlightOn, 0);
  EXPECT_EQ(Pass(GetParam()), Hooks{"BacklightOn"});
  EXPECT_EQ(settings().backlightOn, 1);
  EXPECT_EQ(ui().cursor, 2);
  EXPECT_EQ(ui().editing, 1);
}

INSTANTIATE_TEST_SUITE_P(Keys, DisplaySetupBacklight,
                         ::testing::Values(KeyClockwise, KeyAntiClockwise, KeyF1, KeyF2));

TEST_F(DisplaySetup, BacklightRowHighlight) {
  Open(DisplaySetupScreen, 2, 0);
  Pass(KeyNone);  // label and value one bar, x 0 to 103
  EXPECT_EQ(testing::CompareWithGolden(Frame(), "display_setup_navigation"), "");
  EXPECT_EQ(testing::InverseCellRuns(Frame(), 24), (Runs{{0, 103}}));
  Pass(KeyPress);
  Pass(KeyNone);  // only the value, x 88 to 103
  EXPECT_EQ(testing::CompareWithGolden(Frame(), "display_setup_editing"), "");
  EXPECT_EQ(testing::InverseCellRuns(Frame(), 24), (Runs{{88, 103}}));
}

// ---- Contrast --------------------------------------------------------------

struct ContrastCase {
  const char* name;
  std::uint8_t contrast;
  KeyEvent key;
  std::uint8_t contrastAfter;
};

class ContrastKeys : public SetupScreenTest, public ::testing::WithParamInterface<ContrastCase> {};

TEST_P(ContrastKeys, StepByTwoWithinLimitsAndAlwaysSetTheHardware) {
  const ContrastCase& c = GetParam();
  Open(ContrastScreen);
  settings().contrast = c.contrast;
  EXPECT_EQ(Pass(c.key), Hooks{"SetContrast"});
  EXPECT_EQ(settings().contrast, c.contrastAfter);
  EXPECT_EQ(ui().currentScreen, ContrastScreen);
}

INSTANTIATE_TEST_SUITE_P(Table, ContrastKeys,
                         ::testing::Values(ContrastCase{"UpByKnob", 32, KeyClockwise, 34},
                                           ContrastCase{"UpByF1", 32, KeyF1, 34},
                                           ContrastCase{"DownByKnob", 32, KeyAntiClockwise, 30},
                                           ContrastCase{"DownByF2", 32, KeyF2, 30},
                                           ContrastCase{"TopByKnob", 62, KeyClockwise, 62},
                                           ContrastCase{"TopByF1", 62, KeyF1, 62},
                                           ContrastCase{"BottomByKnob", 0, KeyAntiClockwise, 0},
                                           ContrastCase{"BottomByF2", 0, KeyF2, 0},
                                           ContrastCase{"LastStepUp", 60, KeyClockwise, 62},
                                           ContrastCase{"LastStepDown", 2, KeyF2, 0}),
                         testing::CaseName());

TEST_F(Contrast, SweepsFromDefaultToBothEnds) {
  Open(ContrastScreen);
  ASSERT_EQ(settings().contrast, 32);
  for (int i = 0; i < 16; ++i) Pass(KeyAntiClockwise);
  EXPECT_EQ(settings().contrast, 0);
  for (int i = 0; i < 15; ++i) Pass(KeyClockwise);
  EXPECT_EQ(settings().contrast, 30);
  for (int i = 0; i < 17; ++i) Pass(KeyClockwise);
  EXPECT_EQ(settings().contrast, 62);
}

TEST_F(Contrast, PressSavesAndReturnsToItsRow) {
  Open(DisplaySetupScreen, 1);
  Pass(KeyPress);
  ASSERT_EQ(ui().currentScreen, ContrastScreen);
  Pass(KeyClockwise);
  EXPECT_EQ(Pass(KeyPress), Hooks{"SaveSettings"});
  EXPECT_EQ(ui().currentScreen, DisplaySetupScreen);
  EXPECT_EQ(ui().cursor, 1);
  EXPECT_EQ(ui().editing, 0);
  EXPECT_EQ(settings().contrast, 34);
}

struct BarCase {
  std::uint8_t contrast;
  Runs insideTheFrame;  // a row between the frame's top and bottom
};

class ContrastBar : public SetupScreenTest, public ::testing::WithParamInterface<BarCase> {};

// The bar ends at x 1 (on the frame's edge), 65 and 125 (one inside the
// frame, whose right edge is x 126), and shares the frame's rows 15 and 25.
TEST_P(ContrastBar, FillsFromTheLeftEdgeOfTheFrame) {
  const BarCase& c = GetParam();
  Open(ContrastScreen);
  settings().contrast = c.contrast;
  Pass(KeyNone);
  EXPECT_EQ(testing::CompareWithGolden(Frame(), "contrast_" + std::to_string(c.contrast)), "");
  for (const int y : {16, 24}) EXPECT_EQ(testing::InkRunsInRow(Frame(), y), c.insideTheFrame);
  EXPECT_EQ(testing::InkRunsInColumn(Frame(), 1, 8), (Runs{{15, 25}}));
}

INSTANTIATE_TEST_SUITE_P(Goldens, ContrastBar,
                         ::testing::Values(BarCase{0, {{1, 1}, {126, 126}}},
                                           BarCase{32, {{1, 65}, {126, 126}}},
                                           BarCase{62, {{1, 126}}}));

// ---- Altitude setup --------------------------------------------------------

class AltSetupKeys : public SetupScreenTest, public ::testing::WithParamInterface<ListKeyCase> {};

TEST_P(AltSetupKeys, MoveSelectAndLeave) {
  const ListKeyCase& c = GetParam();
  Open(AltSetupScreen, c.cursor, c.editing);
  const Settings before = settings();
  EXPECT_EQ(Pass(c.key), Hooks{});
  EXPECT_EQ(ui().pendingKey, KeyNone);
  EXPECT_EQ(ui().cursor, c.cursorAfter);
  EXPECT_EQ(ui().editing, c.editingAfter);
  EXPECT_EQ(ui().currentScreen, c.screenAfter);
  EXPECT_EQ(settings().altUnit, before.altUnit);
  EXPECT_EQ(settings().qnhUnit, before.qnhUnit);
  EXPECT_EQ(settings().altitudeOnTop, before.altitudeOnTop);
}

INSTANTIATE_TEST_SUITE_P(
    Table, AltSetupKeys,
    ::testing::Values(ListKeyCase{"DownByKnob", 0, 0, KeyClockwise, 1, 0, AltSetupScreen},
                      ListKeyCase{"DownByF2", 2, 0, KeyF2, 3, 0, AltSetupScreen},
                      ListKeyCase{"StopsAtRow3ByKnob", 3, 0, KeyClockwise, 3, 0, AltSetupScreen},
                      ListKeyCase{"StopsAtRow3ByF2", 3, 0, KeyF2, 3, 0, AltSetupScreen},
                      ListKeyCase{"UpByF1", 3, 0, KeyF1, 2, 0, AltSetupScreen},
                      ListKeyCase{"UpByKnob", 1, 0, KeyAntiClockwise, 0, 0, AltSetupScreen},
                      ListKeyCase{"StopsAtDoneByF1", 0, 0, KeyF1, 0, 0, AltSetupScreen},
                      ListKeyCase{"StopsAtDoneByKnob", 0, 0, KeyAntiClockwise, 0, 0,
                                  AltSetupScreen},
                      ListKeyCase{"PressOnRow1Edits", 1, 0, KeyPress, 1, 1, AltSetupScreen},
                      ListKeyCase{"PressOnRow3Edits", 3, 0, KeyPress, 3, 1, AltSetupScreen},
                      ListKeyCase{"PressAgainEndsEditing", 2, 1, KeyPress, 2, 0, AltSetupScreen},
                      ListKeyCase{"DoneReturnsToItem4", 0, 0, KeyPress, 4, 0, MainMenuScreen}),
    testing::CaseName());

struct AltFlipCase {
  std::uint8_t row;
  std::uint8_t Settings::*field;
};

class AltSetupFlips : public SetupScreenTest,
                      public ::testing::WithParamInterface<std::tuple<AltFlipCase, KeyEvent>> {};

TEST_P(AltSetupFlips, EveryTurnAndArrowFlipsTheSelectedRowOnly) {
  const auto [c, key] = GetParam();
  Open(AltSetupScreen, c.row, 1);
  const Settings before = settings();
  Pass(key);
  EXPECT_EQ(settings().*c.field, 1);
  Pass(key);
  EXPECT_EQ(settings().*c.field, 0);
  Pass(key);
  EXPECT_EQ(settings().*c.field, 1);
  for (auto field : {&Settings::altUnit, &Settings::qnhUnit, &Settings::altitudeOnTop}) {
    if (field != c.field) {
      EXPECT_EQ(settings().*field, before.*field);
    }
  }
  EXPECT_EQ(ui().cursor, c.row);
  EXPECT_EQ(ui().editing, 1);
}

INSTANTIATE_TEST_SUITE_P(
    RowsAndKeys, AltSetupFlips,
    ::testing::Combine(::testing::Values(AltFlipCase{1, &Settings::altUnit},
                                         AltFlipCase{2, &Settings::qnhUnit},
                                         AltFlipCase{3, &Settings::altitudeOnTop}),
                       ::testing::Values(KeyClockwise, KeyAntiClockwise, KeyF1, KeyF2)));

class AltSetupUnitFlips : public SetupScreenTest {
 protected:
  // Settled, then a small climb on the static slider, inside the altitude
  // smoothing window, so every UpdateAltitude moves the altitude further.
  void Prepare(std::uint8_t row) {
    Open(AltSetupScreen, row, 1);
    air().altAdcRaw = 3346;  // about 0 ft
    for (int i = 0; i < 3; ++i) Pass(KeyNone);
    air().altAdcRaw = 3343;  // about 20 ft higher
    air().maxAirspeed = 999;
    air().maxAltitude = 9999;
  }
};

TEST_F(AltSetupUnitFlips, QnhUnitRecomputesAltitudeAndRestartsMaxima) {
  Prepare(2);
  // The altitude the pass should leave: the loop's update and one more.
  Instrument once;
  once.state = instrument.state;
  UpdateAltitude(once);
  Instrument twice = once;
  UpdateAltitude(twice);
  ASSERT_NE(once.state.airData.altitude, twice.state.airData.altitude);

  EXPECT_EQ(Pass(KeyClockwise), Hooks{"MaxValuesReset"});
  EXPECT_EQ(settings().qnhUnit, 1);
  EXPECT_EQ(air().altitude, twice.state.airData.altitude);
  EXPECT_EQ(air().maxAltitude, air().altitude);
  EXPECT_EQ(air().maxAirspeed, air().airspeed);
}

TEST_F(AltSetupUnitFlips, AltUnitResetsNothing) {
  Prepare(1);
  EXPECT_EQ(Pass(KeyClockwise), Hooks{});
  EXPECT_EQ(settings().altUnit, 1);
  EXPECT_EQ(air().maxAirspeed, 999u);
  EXPECT_EQ(air().maxAltitude, 9999);
}

TEST_F(AltSetup, ShowsBothPositionWords) {
  Open(AltSetupScreen, 1, 0);
  settings().altitudeOnTop = 0;
  Pass(KeyNone);
  EXPECT_EQ(testing::CompareWithGolden(Frame(), "alt_setup_navigation"), "");  // BOTTOM
  EXPECT_EQ(testing::InverseCellRuns(Frame(), 16), (Runs{{0, 95}}));           // "ALT UNIT: ft"
  Open(AltSetupScreen, 3, 1);
  settings().altitudeOnTop = 1;
  settings().qnhUnit = 1;
  Pass(KeyNone);
  EXPECT_EQ(testing::CompareWithGolden(Frame(), "alt_setup_editing_top"), "");  // TOP, "Hg
  EXPECT_EQ(testing::InverseCellRuns(Frame(), 32), (Runs{{80, 103}}));  // values start at x 80
}

}  // namespace
}  // namespace kvr9
