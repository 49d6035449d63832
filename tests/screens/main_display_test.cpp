// The main display, the main menu and the splash, against golden frames.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/instrument.h"
#include "screens/screens.h"
#include "support/fake_host.h"
#include "support/golden.h"
#include "support/ink_runs.h"

namespace kvr9 {
namespace {

using testing::CompareWithGolden;
using testing::FakeHost;
using testing::HookRecorder;
using testing::PassWithKey;

class MainDisplay : public ::testing::Test {
 protected:
  MainDisplay() : host(instrument) {
    testing::StartOnMainDisplay(instrument);
    instrument.state.airData.altAdcRaw = 3000;  // 2666 ft
    instrument.state.airData.asiAdcRaw = 1000;  // 122 mph
    instrument.state.settings.highAlarmSpeed = 200;
    Settle();
  }
  void Settle() {
    for (int i = 0; i < 40; ++i) MainLoopPass(instrument);
  }
  const FrameBuffer& Frame() const { return host.frames.back(); }

  Instrument instrument;
  FakeHost host;
  Settings& settings = instrument.state.settings;
};

struct DisplayCase {
  const char* golden;
  std::function<void(Instrument&)> setUp;
};

class MainDisplayLayouts : public MainDisplay, public ::testing::WithParamInterface<DisplayCase> {};

TEST_P(MainDisplayLayouts, MatchGolden) {
  GetParam().setUp(instrument);
  Settle();
  EXPECT_EQ(CompareWithGolden(Frame(), GetParam().golden), "");
}

INSTANTIATE_TEST_SUITE_P(
    Goldens, MainDisplayLayouts,
    ::testing::Values(
        DisplayCase{"main_display_default", [](Instrument&) {}},
        DisplayCase{"main_display_altitude_on_top",
                    [](Instrument& i) { i.state.settings.altitudeOnTop = 1; }},
        DisplayCase{"main_display_negative_altitude",
                    [](Instrument& i) { i.state.airData.altAdcRaw = 3400; }},
        DisplayCase{"main_display_metres", [](Instrument& i) { i.state.settings.altUnit = 1; }},
        DisplayCase{"main_display_kmh", [](Instrument& i) { i.state.settings.asiUnit = 1; }},
        DisplayCase{"main_display_knots_tas",
                    [](Instrument& i) {
                      i.state.settings.asiUnit = 2;
                      i.state.settings.asiShowsTas = 1;
                    }},
        DisplayCase{"main_display_inches_of_mercury",
                    [](Instrument& i) { i.state.settings.qnhUnit = 1; }},
        DisplayCase{"main_display_alarm_phase_on",
                    [](Instrument& i) {
                      i.state.settings.highAlarmSpeed = 80;
                      i.state.ui.blinkPhase = 1;
                    }},
        DisplayCase{"main_display_alarm_phase_off",
                    [](Instrument& i) {
                      i.state.settings.highAlarmSpeed = 80;
                      i.state.ui.blinkPhase = 0;
                    }}),
    [](const ::testing::TestParamInfo<DisplayCase>& caseInfo) {
      return std::string(caseInfo.param.golden);
    });

TEST_F(MainDisplay, QnhStepsStopAtTheLimitsInBothUnitsAndAlwaysSave) {
  HookRecorder hooks(instrument);
  struct Case {
    std::uint8_t unit;
    std::uint32_t from;
    KeyEvent key;
    std::uint32_t to;
  };
  for (const Case c :
       {Case{0, 1080250, KeyClockwise, 1080250}, Case{0, 940250, KeyAntiClockwise, 940250},
        Case{0, 1013250, KeyClockwise, 1014250}, Case{1, 1079950, KeyClockwise, 1079950},
        Case{1, 1079900, KeyClockwise, 1080238}, Case{1, 940588, KeyAntiClockwise, 940250},
        Case{1, 940587, KeyAntiClockwise, 940587}}) {
    settings.qnhUnit = c.unit;
    settings.qnh = c.from;
    hooks.calls.clear();
    PassWithKey(instrument, c.key);
    EXPECT_EQ(settings.qnh, c.to) << c.from;
    EXPECT_EQ(hooks.Count("SaveSettings"), 1);
  }
  // From the default, whole millibar steps land exactly on both limits.
  settings.qnhUnit = 0;
  settings.qnh = 1013250;
  for (int i = 0; i < 80; ++i) PassWithKey(instrument, KeyAntiClockwise);
  EXPECT_EQ(settings.qnh, 940250u);
  for (int i = 0; i < 150; ++i) PassWithKey(instrument, KeyClockwise);
  EXPECT_EQ(settings.qnh, 1080250u);
}

TEST_F(MainDisplay, AlarmKeyOnlyAcknowledgesThenKeysAct) {
  settings.highAlarmSpeed = 80;
  MainLoopPass(instrument);
  ASSERT_EQ(instrument.state.airData.alarmActive, 1);
  PassWithKey(instrument, KeyPress);
  EXPECT_EQ(instrument.state.airData.alarmAcknowledged, 1);
  EXPECT_EQ(instrument.state.ui.currentScreen, &MainScreen);
  PassWithKey(instrument, KeyPress);
  EXPECT_EQ(instrument.state.ui.currentScreen, &MainMenuScreen);
}

TEST_F(MainDisplay, KeysOpenTheirScreens) {
  struct Case {
    KeyEvent key;
    std::uint8_t flightDetectAuto;
    ScreenHandler opens;
  };
  for (const Case c : {Case{KeyPress, 0, MainMenuScreen}, Case{KeyF1, 0, StartStopScreen},
                       Case{KeyF1, 1, MainScreen}, Case{KeyF2, 0, FlightInfoScreen}}) {
    instrument.state.ui.currentScreen = MainScreen;
    instrument.state.ui.cursor = 3;
    settings.flightDetectAuto = c.flightDetectAuto;
    PassWithKey(instrument, c.key);
    EXPECT_EQ(instrument.state.ui.currentScreen, c.opens) << int{c.key};
    EXPECT_EQ(instrument.state.ui.pendingKey, KeyNone);
    if (c.key != KeyF1) {
      EXPECT_EQ(instrument.state.ui.cursor, 0);
    }
  }
}

class MainMenu : public MainDisplay {
 protected:
  MainMenu() {
    instrument.state.ui.currentScreen = MainMenuScreen;
    instrument.state.ui.cursor = 0;
  }
};

// Thumb rows by item; neighbours share a row, and the last of eight reaches
// y 64, below the LCD.
const std::vector<testing::InkRun> kSixItemThumbs = {{8, 17},  {17, 26}, {26, 35},
                                                     {35, 44}, {45, 54}, {54, 63}};
const std::vector<testing::InkRun> kEightItemThumbs = {{8, 15},  {15, 22}, {22, 29}, {29, 36},
                                                       {36, 43}, {43, 50}, {50, 57}, {57, 63}};

TEST_F(MainMenu, EveryItemWithSixAndEightItems) {
  for (const bool calibrate : {false, true}) {
    host.calibrateChecked = calibrate;
    instrument.state.ui.cursor = 0;
    const int items = calibrate ? 8 : 6;
    for (int item = 0; item < items; ++item) {
      MainLoopPass(instrument);
      EXPECT_EQ(instrument.state.ui.cursor, item);
      const std::string name =
          "main_menu_" + std::to_string(items) + "_item" + std::to_string(item);
      EXPECT_EQ(CompareWithGolden(Frame(), name), "");
      const testing::InkRun thumb =
          (calibrate ? kEightItemThumbs : kSixItemThumbs)[static_cast<std::size_t>(item)];
      for (const int x : {123, 127}) {  // the thumb is 5 wide over the track at x 125
        EXPECT_EQ(testing::InkRunsInColumn(Frame(), x, 8), testing::Runs{thumb}) << name;
      }
      EXPECT_EQ(testing::InkRunsInColumn(Frame(), 125, 8), (testing::Runs{{8, 63}})) << name;
      PassWithKey(instrument, KeyClockwise);
    }
    EXPECT_EQ(instrument.state.ui.cursor, items - 1);  // stops at the last item
  }
}

TEST_F(MainMenu, StaleCalibrationItemStaysUntilTheCursorMovesBack) {
  host.calibrateChecked = true;
  instrument.state.ui.cursor = 7;
  MainLoopPass(instrument);
  host.calibrateChecked = false;
  PassWithKey(instrument, KeyF2);
  EXPECT_EQ(instrument.state.ui.cursor, 7);
  EXPECT_EQ(CompareWithGolden(Frame(), "main_menu_stale_item7"), "");
  PassWithKey(instrument, KeyF1);
  EXPECT_EQ(instrument.state.ui.cursor, 6);
  PassWithKey(instrument, KeyPress);
  EXPECT_EQ(instrument.state.ui.currentScreen, &AdcValuesScreen);
}

TEST_F(MainMenu, PressOpensTheItemAndExitSaves) {
  HookRecorder hooks(instrument);
  const ScreenHandler screens[] = {MainScreen,         MaxValuesScreen, FlightLogScreen,
                                   DisplaySetupScreen, AltSetupScreen,  AsiSetupScreen,
                                   AdcValuesScreen,    CalibrateScreen};
  host.calibrateChecked = true;
  for (std::uint8_t item = 0; item < 8; ++item) {
    instrument.state.ui.currentScreen = MainMenuScreen;
    instrument.state.ui.cursor = item;
    instrument.state.ui.editing = 1;
    hooks.calls.clear();
    PassWithKey(instrument, KeyPress);
    EXPECT_EQ(instrument.state.ui.currentScreen, screens[item]);
    EXPECT_EQ(instrument.state.ui.cursor, 0);
    EXPECT_EQ(instrument.state.ui.editing, 0);
    EXPECT_EQ(hooks.Count("SaveSettings"), item == 0 ? 1 : 0);
  }
}

TEST(Splash, PassesAsGoldens) {
  Instrument instrument;
  FakeHost host(instrument);
  host.OffAt(81);
  PowerOn(instrument);
  ASSERT_GE(host.frames.size(), 80u);
  for (const int pass : {1, 14, 30, 55, 80}) {
    EXPECT_EQ(CompareWithGolden(host.frames[static_cast<std::size_t>(pass - 1)],
                                "splash_pass" + std::to_string(pass)),
              "");
  }
  EXPECT_EQ(host.frames[54].bytes, host.frames[79].bytes);  // finished from pass 55 on
}

TEST(Scenario, PowerOnWalkTheMenuAndReturn) {
  Instrument instrument;
  FakeHost host(instrument);
  host.calibrateChecked = true;
  const int mainStart = 80;
  host.At(1, [](Instrument& i) {
    i.state.airData.altAdcRaw = 3000;
    i.state.airData.asiAdcRaw = 1000;
  });
  std::string failures;
  auto check = [&](int call, const std::string& golden) {
    host.At(call + 1, [&host, &failures, golden](Instrument&) {
      failures += CompareWithGolden(host.frames.back(), golden);
    });
  };
  check(mainStart - 1, "splash_pass80");
  host.At(mainStart + 40, [](Instrument& i) {
    i.state.settings.highAlarmSpeed = 200;  // keep the numerals steady
  });
  check(mainStart + 45, "main_display_default");
  host.At(mainStart + 46, [](Instrument& i) { StoreKey(i, KeyPress); });
  for (int item = 0; item < 8; ++item) {
    const int call = mainStart + 47 + 2 * item;
    check(call, "main_menu_8_item" + std::to_string(item));
    host.At(call + 1, [](Instrument& i) { StoreKey(i, KeyClockwise); });
  }
  const int back = mainStart + 47 + 16;
  host.At(back, [](Instrument& i) { i.state.ui.cursor = 0; });
  host.At(back + 1, [](Instrument& i) { StoreKey(i, KeyPress); });
  check(back + 2, "main_display_default");
  host.OffAt(back + 4);
  PowerOn(instrument);
  EXPECT_EQ(failures, "");
  EXPECT_EQ(instrument.state.ui.currentScreen, &MainScreen);
}

}  // namespace
}  // namespace kvr9
