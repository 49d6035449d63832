// A walk through every screen: from the main display through the menu into
// each screen and its sub-screens and back, checking every frame on the way
// and that each return lands on the item or row it left from.
#include <gtest/gtest.h>

#include <string>

#include "core/instrument.h"
#include "screens/screen_table.h"
#include "screens/screens.h"
#include "support/fake_host.h"
#include "support/golden.h"

namespace kvr9 {
namespace {

using testing::CompareWithGolden;

class Walk : public ::testing::Test {
 protected:
  Walk() : host(instrument) {
    host.calibrateChecked = true;
    testing::StartOnMainDisplay(instrument);
    instrument.state.airData.altAdcRaw = 3000;
    instrument.state.airData.asiAdcRaw = 500;        // 86 mph: above the high alarm, so
    instrument.state.settings.highAlarmSpeed = 200;  // the alarm is moved out of the way
    for (int i = 0; i < 40; ++i) MainLoopPass(instrument);
  }

  // Presses a key, lets the screen act on it, then draws the next frame.
  void Key(KeyEvent key) {
    testing::PassWithKey(instrument, key);
    MainLoopPass(instrument);
  }

  void Expect(ScreenHandler screen, std::uint8_t cursor, const std::string& golden) {
    EXPECT_EQ(instrument.state.ui.currentScreen, screen) << golden;
    EXPECT_EQ(instrument.state.ui.cursor, cursor) << golden;
    failures += CompareWithGolden(host.frames.back(), golden);
  }

  void OpenMenuItem(std::uint8_t item) {
    while (instrument.state.ui.cursor < item) Key(KeyClockwise);
    Expect(MainMenuScreen, item, "main_menu_8_item" + std::to_string(item));
    Key(KeyPress);
  }

  void BackOnMenuItem(std::uint8_t item) {
    Expect(MainMenuScreen, item, "main_menu_8_item" + std::to_string(item));
  }

  Instrument instrument;
  testing::FakeHost host;
  std::string failures;
};

TEST_F(Walk, EveryScreenAndBack) {
  Expect(MainScreen, 0, "walk_main_display");
  Key(KeyF1);
  Expect(StartStopScreen, 0, "walk_start_stop");
  Key(KeyPress);
  Expect(MainScreen, 0, "walk_main_display");
  Key(KeyF2);
  Expect(FlightInfoScreen, 0, "walk_flight_info");
  Key(KeyPress);
  Expect(MainScreen, 0, "walk_main_display");

  Key(KeyPress);
  Expect(MainMenuScreen, 0, "main_menu_8_item0");

  OpenMenuItem(1);
  Expect(MaxValuesScreen, 0, "walk_max_values");
  Key(KeyPress);
  BackOnMenuItem(1);

  OpenMenuItem(2);
  Expect(FlightLogScreen, 0, "walk_flight_log");
  Key(KeyClockwise);
  Key(KeyPress);
  Expect(LogViewScreen, 0, "walk_log_view");
  Key(KeyPress);
  Expect(FlightLogScreen, 1, "walk_flight_log_view_selected");
  Key(KeyClockwise);
  Key(KeyPress);
  Expect(EraseLogScreen, 2, "walk_erase_log");
  Key(KeyF1);
  Expect(MessageScreen, 2, "walk_message");
  Key(KeyPress);
  Expect(FlightLogScreen, 2, "walk_flight_log_erase_selected");
  Key(KeyAntiClockwise);
  Key(KeyAntiClockwise);
  Key(KeyPress);
  BackOnMenuItem(2);

  OpenMenuItem(3);
  Expect(DisplaySetupScreen, 0, "walk_display_setup");
  Key(KeyClockwise);
  Key(KeyPress);
  Expect(ContrastScreen, 0, "walk_contrast");
  Key(KeyPress);
  Expect(DisplaySetupScreen, 1, "walk_display_setup_contrast_selected");
  Key(KeyAntiClockwise);
  Key(KeyPress);
  BackOnMenuItem(3);

  OpenMenuItem(4);
  Expect(AltSetupScreen, 0, "walk_alt_setup");
  Key(KeyPress);
  BackOnMenuItem(4);

  OpenMenuItem(5);
  Expect(AsiSetupScreen, 0, "walk_asi_setup");
  Key(KeyClockwise);
  Key(KeyPress);
  Expect(ZeroAsiScreen, 1, "walk_zero_asi");
  Key(KeyF1);
  Expect(MessageScreen, 1, "walk_message");
  Key(KeyPress);
  Expect(AsiSetupScreen, 1, "walk_asi_setup_zero_selected");
  Key(KeyAntiClockwise);
  Key(KeyPress);
  BackOnMenuItem(5);

  OpenMenuItem(6);
  Expect(AdcValuesScreen, 0, "walk_adc_values");
  Key(KeyPress);
  BackOnMenuItem(6);

  OpenMenuItem(7);
  Expect(CalibrateScreen, 0, "walk_calibrate");
  Key(KeyPress);
  BackOnMenuItem(7);

  while (instrument.state.ui.cursor > 0) Key(KeyAntiClockwise);
  Key(KeyPress);
  // The sensor was zeroed on the way: the airspeed now reads 0.
  Expect(MainScreen, 0, "walk_main_display_zeroed");
  EXPECT_EQ(failures, "");
}

}  // namespace
}  // namespace kvr9

namespace kvr9 {
namespace {

// A screen listed twice, or under another's name, would show in the driver
// and the soak as the wrong screen.
TEST(ScreenTable, EachScreenOnceFoundByItsName) {
  for (const ScreenEntry& entry : ScreenTable()) {
    EXPECT_EQ(FindScreen(entry.handler), &entry) << entry.name;
    EXPECT_EQ(FindScreenByName(entry.name), &entry) << entry.name;
  }
  EXPECT_EQ(FindScreenByName("MainMenu"), nullptr);
}

}  // namespace
}  // namespace kvr9
