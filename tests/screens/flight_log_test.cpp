// Flight log list, log view, erase confirmation and the two notice pages,
// driven through real main-loop passes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "screens/screens.h"
#include "support/fake_host.h"
#include "support/golden.h"
#include "support/ink_runs.h"
#include "support/text_band.h"

namespace kvr9 {
namespace {

using testing::AtX;
using testing::Band;
using testing::PassWithKey;
using testing::TextBand;

constexpr KeyEvent kAllKeys[] = {KeyPress, KeyClockwise, KeyAntiClockwise, KeyF1, KeyF2};

class LogScreens : public ::testing::Test {
 protected:
  LogScreens() {
    testing::StartOnMainDisplay(instrument);
    hooks.calls.clear();  // only what the screens call
  }

  void Open(ScreenHandler screen, std::uint8_t cursor = 0, std::uint8_t editing = 0) {
    instrument.state.ui.currentScreen = screen;
    instrument.state.ui.cursor = cursor;
    instrument.state.ui.editing = editing;
  }
  const FrameBuffer& Frame() const { return host.frames.back(); }
  ScreenHandler Current() const { return instrument.state.ui.currentScreen; }

  Instrument instrument;
  testing::FakeHost host{instrument};
  testing::HookRecorder hooks{instrument};
  InstrumentState& state = instrument.state;
};

// --- Take-off speed ---------------------------------------------------------

struct TakeoffStep {
  std::uint8_t asiUnit;
  bool keyFast;
  std::uint32_t from;
  KeyEvent key;
  std::uint32_t to;
};

class TakeoffSpeedEdit : public LogScreens, public ::testing::WithParamInterface<TakeoffStep> {};

TEST_P(TakeoffSpeedEdit, WrapsOneStepBeforeEitherBound) {
  const TakeoffStep c = GetParam();
  state.settings.flightDetectAuto = 1;
  state.settings.asiUnit = c.asiUnit;
  state.settings.takeoffSpeed = c.from;
  host.keyFastChecked = c.keyFast;
  Open(FlightLogScreen, 5, 1);
  PassWithKey(instrument, c.key);
  EXPECT_EQ(state.settings.takeoffSpeed, c.to);
  EXPECT_EQ(state.ui.cursor, 5);
  EXPECT_EQ(state.ui.editing, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TakeoffSpeedEdit,
    ::testing::Values(
        // mph, step 1: the clockwise knob and F1 raise, the other two lower.
        TakeoffStep{0, false, 248, KeyClockwise, 249}, TakeoffStep{0, false, 249, KeyClockwise, 16},
        TakeoffStep{0, false, 249, KeyF1, 16}, TakeoffStep{0, false, 250, KeyClockwise, 16},
        TakeoffStep{0, false, 18, KeyAntiClockwise, 17}, TakeoffStep{0, false, 17, KeyF2, 250},
        TakeoffStep{0, false, 17, KeyAntiClockwise, 250},
        TakeoffStep{0, false, 16, KeyAntiClockwise, 250},
        // km/h, step 10: 402 and 26 are never landed on by stepping.
        TakeoffStep{1, true, 382, KeyClockwise, 392}, TakeoffStep{1, true, 392, KeyClockwise, 26},
        TakeoffStep{1, true, 46, KeyF2, 36}, TakeoffStep{1, true, 36, KeyF2, 402},
        // knots, step 1.
        TakeoffStep{2, false, 216, KeyF1, 14}, TakeoffStep{2, false, 15, KeyF2, 217},
        // A speed below the step wraps to the top instead of underflowing.
        TakeoffStep{0, true, 5, KeyAntiClockwise, 250}));

// --- Flight log list ----------------------------------------------------------

class ListLength : public LogScreens, public ::testing::WithParamInterface<int> {};

TEST_P(ListLength, CursorStopsAtTheLastRowOfTheDetectionMode) {
  const int detect = GetParam();
  state.settings.flightDetectAuto = static_cast<std::uint8_t>(detect);
  Open(FlightLogScreen);
  for (int i = 0; i < 8; ++i) PassWithKey(instrument, KeyF2);
  EXPECT_EQ(state.ui.cursor, detect == 1 ? 5 : 4);
  for (int i = 0; i < 8; ++i) PassWithKey(instrument, KeyAntiClockwise);
  EXPECT_EQ(state.ui.cursor, 0);
}

INSTANTIATE_TEST_SUITE_P(Detect, ListLength, ::testing::Values(0, 1));

using ToggleCase = std::tuple<int, KeyEvent>;
class ToggleRows : public LogScreens, public ::testing::WithParamInterface<ToggleCase> {};

TEST_P(ToggleRows, AnyTurnOrArrowFlipsTheValue) {
  const auto [row, key] = GetParam();
  std::uint8_t& value =
      row == 3 ? state.settings.hourFractDecimal : state.settings.flightDetectAuto;
  Open(FlightLogScreen, static_cast<std::uint8_t>(row), 1);
  PassWithKey(instrument, key);
  EXPECT_EQ(value, 1);
  PassWithKey(instrument, key);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(state.ui.cursor, row);
  PassWithKey(instrument, KeyPress);
  EXPECT_EQ(state.ui.editing, 0);
}

INSTANTIATE_TEST_SUITE_P(Rows, ToggleRows,
                         ::testing::Combine(::testing::Values(3, 4),
                                            ::testing::Values(KeyClockwise, KeyAntiClockwise, KeyF1,
                                                              KeyF2)));

TEST_F(LogScreens, DetectWhileEditingRowFourBringsUpTheTakeoffRow) {
  Open(FlightLogScreen, 4);
  PassWithKey(instrument, KeyPress);                            // edit FLIGHT:
  PassWithKey(instrument, KeyClockwise);                        // MANUAL -> DETECT
  EXPECT_EQ(Band(Frame(), 48, 8), Band(FrameBuffer{}, 48, 8));  // drawn before the key
  PassWithKey(instrument, KeyNone);
  EXPECT_EQ(state.ui.cursor, 4);
  EXPECT_EQ(Band(Frame(), 48, 8), TextBand(AtX, 0, 48, "FLIGHT T/O: 30"));
  PassWithKey(instrument, KeyPress);  // done editing; the new row can be reached
  PassWithKey(instrument, KeyF2);
  EXPECT_EQ(state.ui.cursor, 5);
}

TEST_F(LogScreens, DoneReturnsToTheFlightLogMenuItem) {
  PassWithKey(instrument, KeyPress);  // main menu
  PassWithKey(instrument, KeyF2);
  PassWithKey(instrument, KeyF2);  // item 2
  PassWithKey(instrument, KeyPress);
  ASSERT_EQ(Current(), FlightLogScreen);
  PassWithKey(instrument, KeyPress);
  EXPECT_EQ(Current(), MainMenuScreen);
  EXPECT_EQ(state.ui.cursor, 2);
  EXPECT_EQ(state.ui.editing, 0);
}

// --- View log and the busy notice --------------------------------------------

TEST_F(LogScreens, ViewLogOpensPageZeroAndItsDoneRowReturnsToViewLog) {
  Open(FlightLogScreen, 1);
  PassWithKey(instrument, KeyPress);
  ASSERT_EQ(Current(), LogViewScreen);
  EXPECT_EQ(state.ui.cursor, 0);
  const std::pair<KeyEvent, int> steps[] = {
      {KeyF1, 0}, {KeyF2, 1}, {KeyPress, 1},         {KeyClockwise, 2}, {KeyF2, 3}, {KeyPress, 3},
      {KeyF2, 3}, {KeyF1, 2}, {KeyAntiClockwise, 1}, {KeyPress, 1},     {KeyF1, 0}};
  for (const auto& [key, page] : steps) {
    PassWithKey(instrument, key);
    EXPECT_EQ(state.ui.cursor, page) << "after key " << int{key};
    EXPECT_EQ(Current(), LogViewScreen);
  }
  PassWithKey(instrument, KeyPress);
  EXPECT_EQ(Current(), FlightLogScreen);
  EXPECT_EQ(state.ui.cursor, 1);
  EXPECT_EQ(state.ui.editing, 0);
}

class BusyNotice : public LogScreens, public ::testing::WithParamInterface<KeyEvent> {};

TEST_P(BusyNotice, AnyKeyReturnsWithViewLogSelected) {
  state.flightTimer.inFlight = 1;
  Open(FlightLogScreen, 1);
  PassWithKey(instrument, KeyPress);
  ASSERT_EQ(Current(), LogBusyScreen);
  EXPECT_EQ(state.ui.returnScreen, FlightLogScreen);
  PassWithKey(instrument, KeyNone);
  EXPECT_EQ(Current(), LogBusyScreen);
  PassWithKey(instrument, GetParam());
  EXPECT_EQ(Current(), FlightLogScreen);
  EXPECT_EQ(state.ui.cursor, 1);
}

INSTANTIATE_TEST_SUITE_P(Keys, BusyNotice, ::testing::ValuesIn(kAllKeys));

// --- Erase and the message page -------------------------------------------------

TEST_F(LogScreens, EraseIgnoresTheKnobAndF1ErasesThroughTheMessage) {
  Open(FlightLogScreen, 2);
  PassWithKey(instrument, KeyPress);
  ASSERT_EQ(Current(), EraseLogScreen);
  PassWithKey(instrument, KeyClockwise);
  PassWithKey(instrument, KeyAntiClockwise);
  EXPECT_EQ(Current(), EraseLogScreen);
  EXPECT_EQ(hooks.Count("EraseFlightLog"), 0);

  PassWithKey(instrument, KeyF1);
  EXPECT_EQ(hooks.Count("EraseFlightLog"), 1);
  EXPECT_EQ(Current(), MessageScreen);
  EXPECT_EQ(state.ui.returnScreen, FlightLogScreen);
  PassWithKey(instrument, KeyAntiClockwise);
  EXPECT_EQ(Current(), FlightLogScreen);
  EXPECT_EQ(state.ui.cursor, 2);  // ERASE LOG
}

class EraseCancel : public LogScreens, public ::testing::WithParamInterface<KeyEvent> {};

TEST_P(EraseCancel, ReturnsToEraseLogWithoutErasing) {
  Open(FlightLogScreen, 2);
  PassWithKey(instrument, KeyPress);
  PassWithKey(instrument, GetParam());
  EXPECT_EQ(Current(), FlightLogScreen);
  EXPECT_EQ(state.ui.cursor, 2);
  EXPECT_EQ(hooks.Count("EraseFlightLog"), 0);
}

INSTANTIATE_TEST_SUITE_P(Keys, EraseCancel, ::testing::Values(KeyPress, KeyF2));

class MessageKeys : public LogScreens, public ::testing::WithParamInterface<KeyEvent> {};

TEST_P(MessageKeys, AnyKeyGoesBackLeavingTheCursor) {
  state.ui.returnScreen = AsiSetupScreen;
  Open(MessageScreen, 4);
  PassWithKey(instrument, KeyNone);
  EXPECT_EQ(Current(), MessageScreen);
  PassWithKey(instrument, GetParam());
  EXPECT_EQ(Current(), AsiSetupScreen);
  EXPECT_EQ(state.ui.cursor, 4);
}

INSTANTIATE_TEST_SUITE_P(Keys, MessageKeys, ::testing::ValuesIn(kAllKeys));

// --- Pictures -------------------------------------------------------------------

struct ListPicture {
  const char* golden;
  std::uint8_t detect;
  std::uint32_t takeoffSpeed;
  std::uint8_t cursor;
  std::uint8_t editing;
  testing::Runs highlight;  // on the selected row's line
};

class FlightLogPictures : public LogScreens, public ::testing::WithParamInterface<ListPicture> {};

TEST_P(FlightLogPictures, MatchTheGolden) {
  const ListPicture p = GetParam();
  state.settings.flightDetectAuto = p.detect;
  state.settings.takeoffSpeed = p.takeoffSpeed;
  Open(FlightLogScreen, p.cursor, p.editing);
  PassWithKey(instrument, KeyNone);
  EXPECT_EQ(testing::CompareWithGolden(Frame(), p.golden), "");
  EXPECT_EQ(testing::InverseCellRuns(Frame(), 8 * p.cursor + 8), p.highlight);
}

// "FLIGHT T/O:" has no trailing blank: its value starts at x 88.
INSTANTIATE_TEST_SUITE_P(
    Goldens, FlightLogPictures,
    ::testing::Values(ListPicture{"flight_log_manual", 0, 30, 0, 0, {{16, 111}}},
                      ListPicture{"flight_log_view_selected", 0, 30, 1, 0, {{0, 63}}},
                      ListPicture{"flight_log_detect_30_navigating", 1, 30, 5, 0, {{0, 111}}},
                      ListPicture{"flight_log_detect_30_editing", 1, 30, 5, 1, {{88, 111}}},
                      ListPicture{"flight_log_detect_100_navigating", 1, 100, 5, 0, {{0, 111}}},
                      ListPicture{"flight_log_detect_100_editing", 1, 100, 5, 1, {{88, 111}}}),
    [](const ::testing::TestParamInfo<ListPicture>& param) { return param.param.golden; });

using ViewPicture = std::tuple<int, int>;  // page, hourFractDecimal
class LogViewPictures : public LogScreens, public ::testing::WithParamInterface<ViewPicture> {};

TEST_P(LogViewPictures, MatchTheGolden) {
  const auto [page, decimal] = GetParam();
  // Entry i holds i hours and 2i + 1 minutes; 99 hours is still a time,
  // 100 and above mark an entry empty.
  auto& log = state.flightTimer.flightLog;
  for (std::uint8_t i = 0; i < kFlightLogEntries; ++i) {
    log[i] = i;
    log[i + kFlightLogEntries] = static_cast<std::uint8_t>(2 * i + 1);
  }
  log[10] = 100;
  log[22] = 99;
  log[23] = 200;
  state.settings.hourFractDecimal = static_cast<std::uint8_t>(decimal);
  Open(LogViewScreen, static_cast<std::uint8_t>(page));
  PassWithKey(instrument, KeyNone);
  const std::string name =
      "log_view_page" + std::to_string(page) + (decimal == 1 ? "_dec" : "_min");
  EXPECT_EQ(testing::CompareWithGolden(Frame(), name), "");
}

INSTANTIATE_TEST_SUITE_P(Goldens, LogViewPictures,
                         ::testing::Combine(::testing::Range(0, 4), ::testing::Values(0, 1)));

TEST_F(LogScreens, NoticePages) {
  Open(EraseLogScreen);
  PassWithKey(instrument, KeyNone);
  EXPECT_EQ(testing::CompareWithGolden(Frame(), "erase_log_confirm"), "");
  Open(LogBusyScreen);
  PassWithKey(instrument, KeyNone);
  EXPECT_EQ(testing::CompareWithGolden(Frame(), "log_busy"), "");
  Open(MessageScreen);
  PassWithKey(instrument, KeyNone);
  EXPECT_EQ(testing::CompareWithGolden(Frame(), "message_done"), "");
}

}  // namespace
}  // namespace kvr9
