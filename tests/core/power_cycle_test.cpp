// The power cycle, the main loop's flight logic and LED, and the timer.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/instrument.h"
#include "screens/screens.h"
#include "support/fake_host.h"

namespace kvr9 {
namespace {

using testing::FakeHost;
using testing::HookRecorder;

constexpr int kSplashPasses = 80;

TEST(PowerOnSequence, ResetsKeepsAndCallsHooksInOrder) {
  Instrument instrument;
  HookRecorder hooks(instrument);
  InstrumentState& s = instrument.state;
  s.airData.airspeed = 77;
  s.airData.altitude = 1234;
  s.airData.altAdcRaw = 3000;
  s.airData.asiAdcRaw = 900;
  s.airData.pressureAltFilter = 800;
  s.flightTimer.inFlight = 1;
  s.flightTimer.flightSeconds = 42;
  s.flightTimer.flightHours = 3;
  s.ui.editing = 1;
  s.ui.pendingKey = KeyF2;
  s.settings.asiUnit = 2;

  RunPowerOnSequence(instrument);

  EXPECT_EQ(hooks.calls, (std::vector<std::string>{"MaxValuesReset", "SetContrast", "BacklightOn",
                                                   "EraseFlightLog", "SaveSettings"}));
  EXPECT_EQ(s.airData.maxAirspeed, 77u);  // from the previous run
  EXPECT_EQ(s.airData.maxAltitude, 1234);
  EXPECT_EQ(s.airData.asiAdcRaw, 0);     // reads 0 until the slider moves
  EXPECT_EQ(s.airData.altAdcRaw, 3000);  // keeps the slider's value
  EXPECT_EQ(s.airData.pressureAltFilter, 800);
  EXPECT_EQ(s.flightTimer.inFlight, 0);
  EXPECT_EQ(s.flightTimer.flightHours, 0);
  EXPECT_EQ(s.flightTimer.flightSeconds, 42);
  EXPECT_EQ(s.ui.editing, 1);
  EXPECT_EQ(s.ui.pendingKey, KeyNone);
  EXPECT_EQ(s.settings.asiUnit, 0);
  EXPECT_EQ(s.settings.qnh, 1013250u);
  EXPECT_EQ(s.settings.contrast, 32);
  EXPECT_EQ(s.settings.asiCalPercent, 100);
}

TEST(PowerCycle, SplashThenMainLoopUntilOffWhichIsLostDuringSplash) {
  Instrument instrument;
  FakeHost host(instrument);
  host.OffAt(10);  // during the splash: lost
  host.OffAt(kSplashPasses + 5);
  PowerOn(instrument);
  EXPECT_EQ(host.eventCalls, kSplashPasses + 5);
  EXPECT_EQ(host.commLines.size(), 5u);  // one per main-loop pass, none in the splash
  EXPECT_EQ(host.ledStates.size(), 5u);  // the LED is left alone during the splash
  EXPECT_EQ(instrument.state.ui.currentScreen, &MainScreen);
  EXPECT_FALSE(IsRunning(instrument));
}

TEST(PowerCycle, OnWhileRunningRestartsInPlaceAndOneOffStops) {
  Instrument instrument;
  FakeHost host(instrument);
  host.At(kSplashPasses + 3, [](Instrument& i) {
    i.state.settings.qnh = 1020250;
    i.state.settings.asiUnit = 2;
    RequestPowerOn(i);
  });
  host.At(kSplashPasses + 10, [](Instrument& i) { RequestPowerOn(i); });  // during the new splash
  host.OffAt(3 * kSplashPasses + 20);
  PowerOn(instrument);
  EXPECT_EQ(host.eventCalls, 3 * kSplashPasses + 20);
  EXPECT_EQ(instrument.state.settings.qnh, 1013250u);
  EXPECT_EQ(instrument.state.settings.asiUnit, 0);
  EXPECT_FALSE(IsRunning(instrument));
}

// The host owns time: stepped a pass at a time, with the events delivered
// inside the pass or between the steps, and two instruments taking turns,
// the power cycle runs as PowerOn runs it, since none of it lives on the
// call stack (the splash's progress included).
TEST(PowerCycle, SteppedPassByPassAsPowerOnRunsIt) {
  // What the air data hold at each event point, as the events see them.
  const auto script = [](FakeHost& host, std::vector<std::int32_t>& filters) {
    for (int call = 1; call <= 3 * kSplashPasses + 20; ++call) {
      host.At(call,
              [&filters](Instrument& i) { filters.push_back(i.state.airData.pressureAltFilter); });
    }
    host.OffAt(10);  // lost in the splash
    host.At(30, [](Instrument& i) { StoreKey(i, KeyF2); });
    host.At(31, [](Instrument& i) { i.state.airData.altAdcRaw = 2000; });  // before its air data
    host.At(kSplashPasses + 3, [](Instrument& i) { RequestPowerOn(i); });
    host.At(kSplashPasses + 40, [](Instrument& i) { RequestPowerOn(i); });  // in the new splash
    host.At(3 * kSplashPasses + 5, [](Instrument& i) { StoreKey(i, KeyPress); });
    host.At(3 * kSplashPasses + 7, [](Instrument& i) { OnTimerTick(i); });
    host.OffAt(3 * kSplashPasses + 20);
  };
  Instrument whole;
  FakeHost wholeHost(whole);
  std::vector<std::int32_t> wholeFilters, insideFilters, betweenFilters;
  script(wholeHost, wholeFilters);
  PowerOn(whole);

  Instrument inside, between;
  FakeHost insideHost(inside), betweenHost(between);
  script(insideHost, insideFilters);
  script(betweenHost, betweenFilters);
  betweenHost.holdEvents = true;
  EXPECT_FALSE(StepPowerCycle(inside));  // off: nothing runs
  EXPECT_TRUE(insideHost.frames.empty());
  SwitchOn(inside);
  SwitchOn(between);
  for (bool insideOn = true, betweenOn = true; insideOn || betweenOn;) {
    if (insideOn) insideOn = StepPowerCycle(inside);
    if (betweenOn) betweenOn = StepPowerCycle(between);
    if (betweenOn) betweenHost.DeliverHeld();
  }
  for (const FakeHost* stepped : {&insideHost, &betweenHost}) {
    EXPECT_EQ(stepped->eventCalls, wholeHost.eventCalls);
    EXPECT_TRUE(std::equal(stepped->frames.begin(), stepped->frames.end(), wholeHost.frames.begin(),
                           wholeHost.frames.end(), [](const FrameBuffer& a, const FrameBuffer& b) {
                             return a.bytes == b.bytes;
                           }));
    EXPECT_EQ(stepped->ledStates, wholeHost.ledStates);
    EXPECT_EQ(stepped->commLines.size(), wholeHost.commLines.size());
  }
  EXPECT_EQ(insideFilters, wholeFilters);
  EXPECT_EQ(betweenFilters, wholeFilters);
  EXPECT_EQ(inside.state.ui.currentScreen, whole.state.ui.currentScreen);
  EXPECT_EQ(between.phase, PowerPhase::Off);
}

TEST(PowerCycle, KeysDuringSplashWaitForTheFirstPassAndSecondKeyIsDropped) {
  Instrument instrument;
  FakeHost host(instrument);
  host.At(40, [](Instrument& i) {
    StoreKey(i, KeyPress);
    StoreKey(i, KeyF2);  // dropped: one is pending
  });
  host.OffAt(kSplashPasses + 1);
  PowerOn(instrument);
  EXPECT_EQ(instrument.state.ui.currentScreen, &MainMenuScreen);
  EXPECT_EQ(instrument.state.ui.pendingKey, KeyNone);
}

TEST(MainLoop, KeyIsHandledByTheScreenDrawnInTheSamePass) {
  Instrument instrument;
  FakeHost host(instrument);
  testing::StartOnMainDisplay(instrument);
  MainLoopPass(instrument);
  const FrameBuffer mainDisplay = host.frames.back();
  testing::PassWithKey(instrument, KeyPress);
  EXPECT_EQ(host.frames.back().bytes, mainDisplay.bytes);  // still the main display
  EXPECT_EQ(instrument.state.ui.pendingKey, KeyNone);
  EXPECT_EQ(instrument.state.ui.currentScreen, &MainMenuScreen);
  MainLoopPass(instrument);
  EXPECT_NE(host.frames.back().bytes, mainDisplay.bytes);  // the menu shows now
  EXPECT_TRUE(host.lcdVisible);
}

TEST(Timer, BlinkEveryEleventhTickSlowTickEveryTwentieth) {
  Instrument instrument;
  std::vector<int> blinkToggles;
  std::vector<int> slowTicks;
  std::uint8_t phase = 0;
  for (int tick = 1; tick <= 60; ++tick) {
    OnTimerTick(instrument);
    if (instrument.state.ui.blinkPhase != phase) {
      phase = instrument.state.ui.blinkPhase;
      blinkToggles.push_back(tick);
    }
    if (instrument.state.flightTimer.slowTick == 1) {
      slowTicks.push_back(tick);
      instrument.state.flightTimer.slowTick = 0;
    }
  }
  EXPECT_EQ(blinkToggles, (std::vector<int>{11, 22, 33, 44, 55}));
  EXPECT_EQ(slowTicks, (std::vector<int>{20, 40, 60}));
}

class Flight : public ::testing::Test {
 protected:
  Flight() : host(instrument), hooks(instrument) {
    testing::StartOnMainDisplay(instrument);
    hooks.calls.clear();
  }
  void Passes(int n) {
    for (int i = 0; i < n; ++i) MainLoopPass(instrument);
  }
  void SlowTickPass() {
    instrument.state.flightTimer.slowTick = 1;
    MainLoopPass(instrument);
  }
  Instrument instrument;
  FakeHost host;
  HookRecorder hooks;
  FlightTimer& timer = instrument.state.flightTimer;
};

TEST_F(Flight, AutoDetectionStartsOnceAndZeroesDistanceOnce) {
  instrument.state.settings.flightDetectAuto = 1;
  instrument.state.settings.distZeroAuto = 1;
  instrument.state.settings.asiFilter = 0;
  instrument.state.airData.asiAdcRaw = 1000;  // 122 mph, above the take-off speed
  Passes(3);                                  // no slow tick yet: no flight
  EXPECT_EQ(timer.inFlight, 0);
  const std::uint32_t before = instrument.state.airData.distanceSum;
  EXPECT_GT(before, 0u);
  SlowTickPass();  // detection sees the previous pass's airspeed
  EXPECT_EQ(timer.inFlight, 1);
  EXPECT_EQ(instrument.state.airData.distanceSum, 122u);  // zeroed, then this pass
  SlowTickPass();
  EXPECT_EQ(instrument.state.airData.distanceSum, 244u);  // not zeroed again
}

TEST_F(Flight, AutoDetectionStartsAtTheTakeoffSpeedItself) {
  instrument.state.settings.flightDetectAuto = 1;
  instrument.state.settings.asiFilter = 0;
  instrument.state.settings.takeoffSpeed = 38;
  struct Case {
    std::int32_t count;
    std::uint8_t inFlight;
  };
  for (const Case c : {Case{90, 0}, Case{100, 1}}) {  // 36 mph, then exactly 38 mph
    instrument.state.airData.asiAdcRaw = c.count;
    Passes(1);
    SlowTickPass();
    EXPECT_EQ(timer.inFlight, c.inFlight) << c.count;
  }
}

TEST_F(Flight, SlowTickWaitsRaisedUntilTheTakeoffSpeedIsReached) {
  instrument.state.settings.flightDetectAuto = 1;
  instrument.state.settings.asiFilter = 0;
  instrument.state.airData.asiAdcRaw = 18;  // 16 mph, below the take-off speed of 30
  SlowTickPass();
  Passes(2);
  EXPECT_EQ(timer.inFlight, 0);
  instrument.state.airData.asiAdcRaw = 1000;  // 122 mph, before the next slow tick
  Passes(2);
  EXPECT_EQ(timer.inFlight, 1);
  EXPECT_EQ(timer.slowTick, 0);  // the first pass in flight lowers it
}

TEST_F(Flight, LandingCountdownEndsFlightAfterThirtyQuietPasses) {
  // Started by hand: the count-down still ends it.
  instrument.state.ui.currentScreen = StartStopScreen;
  timer.inFlight = 1;
  SlowTickPass();
  Passes(29);
  EXPECT_EQ(timer.inFlight, 1);
  Passes(1);
  EXPECT_EQ(timer.inFlight, 0);
  EXPECT_EQ(hooks.Count("StoreFlightLogEntry"), 0);  // ended before its first minute
}

TEST_F(Flight, CountdownStopsWithAFlightEndedByHand) {
  timer.inFlight = 1;
  timer.flightCounted = 1;
  SlowTickPass();  // the count-down is running
  StopFlight(instrument);
  EXPECT_EQ(hooks.Count("StoreFlightLogEntry"), 1);
  Passes(40);  // no second end and no second entry
  EXPECT_EQ(hooks.Count("StoreFlightLogEntry"), 1);
  EXPECT_EQ(timer.landingCountdown, 30);
}

TEST_F(Flight, CountedAfterSixtyPassesAndStoredAtTheEnd) {
  timer.inFlight = 1;
  for (int i = 0; i < 70; ++i) SlowTickPass();
  EXPECT_EQ(timer.flightCounted, 1);
  EXPECT_EQ(timer.flightMinutes, 1);
  EXPECT_EQ(hooks.Count("StoreFlightLogEntry"), 1);
  Passes(30);
  EXPECT_EQ(timer.inFlight, 0);
  EXPECT_EQ(hooks.Count("StoreFlightLogEntry"), 2);
}

TEST_F(Flight, HoursReach99ThenWrapTo0) {
  timer.inFlight = 1;
  timer.flightHours = 98;
  for (const int hours : {99, 0}) {
    timer.flightMinutes = 59;
    timer.flightSeconds = 59;
    SlowTickPass();
    EXPECT_EQ(timer.flightHours, hours);
    EXPECT_EQ(timer.flightMinutes, 0);
  }
}

TEST_F(Flight, LedLitOnlyForUnacknowledgedAlarmInBlinkPhaseOne) {
  AirData& air = instrument.state.airData;
  instrument.state.settings.asiFilter = 0;
  air.asiAdcRaw = 1000;  // 122 mph, above the high alarm of 80
  struct Case {
    std::uint8_t blinkPhase;
    std::uint8_t acknowledged;
    bool lit;
  };
  MainLoopPass(instrument);  // raise the alarm
  for (const Case c : {Case{1, 0, true}, Case{0, 0, false}, Case{1, 1, false}}) {
    instrument.state.ui.blinkPhase = c.blinkPhase;
    air.alarmAcknowledged = c.acknowledged;
    hooks.calls.clear();
    MainLoopPass(instrument);
    EXPECT_EQ(host.ledStates.back(), c.lit);
    EXPECT_EQ(hooks.Count(c.lit ? "AlarmOutputOn" : "AlarmOutputOff"), 1);
  }
  air.asiAdcRaw = 100;  // 38 mph: the condition ends and so does the acknowledgement
  MainLoopPass(instrument);
  MainLoopPass(instrument);
  EXPECT_EQ(air.alarmAcknowledged, 0);
  EXPECT_FALSE(host.ledStates.back());
}

TEST_F(Flight, OneCommLinePerPassAndBoxesReadEveryPass) {
  host.calibrateChecked = true;
  host.keyFastChecked = true;
  Passes(7);
  EXPECT_EQ(host.commLines, std::vector<std::string>(7, ""));
  EXPECT_EQ(instrument.state.ui.calibrateMode, 1);
  EXPECT_EQ(instrument.state.ui.keyStep, 10);
  host.keyFastChecked = false;
  Passes(1);
  EXPECT_EQ(instrument.state.ui.keyStep, 1);
  EXPECT_EQ(hooks.Count("BacklightOn"), 8);
}

}  // namespace
}  // namespace kvr9
