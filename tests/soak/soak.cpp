// A long seeded stream of random front-panel actions through the firmware:
// keys, slider moves, box changes, timer ticks and "ON"/"OFF" at random
// moments, splash included. After every pass the instrument's invariants are
// checked. A failure prints the seed and the step, so it can be replayed:
//   kvr9_soak --seed S --actions N
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <random>

#include "core/instrument.h"
#include "host/panel/panel_inputs.h"
#include "screens/screen_table.h"
#include "screens/screens.h"
#include "support/allocation_counter.h"

namespace kvr9 {
namespace {

struct ScreenLimit {
  ScreenHandler screen;
  std::uint8_t lastCursor;
};

// The highest cursor of each screen; the screens themselves come from the
// instrument's table of screens.
const ScreenLimit kLastCursors[] = {
    {MainScreen, 0},      {MainMenuScreen, 7},     {StartStopScreen, 0}, {FlightInfoScreen, 1},
    {MaxValuesScreen, 1}, {DisplaySetupScreen, 2}, {ContrastScreen, 0},  {AltSetupScreen, 3},
    {FlightLogScreen, 5}, {LogViewScreen, 3},      {EraseLogScreen, 2},  {LogBusyScreen, 1},
    {MessageScreen, 2},   {AsiSetupScreen, 10},    {ZeroAsiScreen, 1},   {CalibrateScreen, 2},
    {AdcValuesScreen, 0},
};
static_assert(std::size(kLastCursors) == kScreenCount, "a limit for every screen");

const ScreenLimit* FindLimit(ScreenHandler screen) {
  for (const ScreenLimit& limit : kLastCursors) {
    if (limit.screen == screen) return &limit;
  }
  return nullptr;
}

bool InRange(std::uint32_t value, std::uint32_t lowest, std::uint32_t highest) {
  return value >= lowest && value <= highest;
}

// Returns nullptr when every invariant holds, else what is broken.
const char* BrokenInvariant(const Instrument& instrument, bool inMainLoop) {
  const Settings& s = instrument.state.settings;
  const UiState& ui = instrument.state.ui;
  if (s.contrast > 62 || s.contrast % 2 != 0) return "contrast";
  if (!InRange(s.qnh, 940250, 1080250)) return "qnh";
  if (!InRange(s.asiCalPercent, 50, 150)) return "asiCalPercent";
  if (s.altCalOffset < -125 || s.altCalOffset > 125) return "altCalOffset";
  for (const std::uint8_t flag :
       {s.backlightOn, s.altUnit, s.qnhUnit, s.altitudeOnTop, s.asiShowsTas, s.lowAlarmOn,
        s.highAlarmOn, s.distZeroAuto, s.hourFractDecimal, s.flightDetectAuto}) {
    if (flag > 1) return "two-state setting";
  }
  if (s.asiFilter > 2 || s.asiUnit > 2) return "three-state setting";
  if (ui.editing > 1) return "editing";
  if (!inMainLoop) return nullptr;

  // A unit change on the airspeed list is clamped at the list's next pass.
  if (ui.currentScreen != AsiSetupScreen) {
    const SpeedRange range = SpeedRangeForUnit(s.asiUnit);
    for (const std::uint32_t speed : {s.lowAlarmSpeed, s.highAlarmSpeed, s.takeoffSpeed}) {
      if (!InRange(speed, range.lowest, range.highest)) return "speed setting";
    }
  }
  const ScreenLimit* screen = FindLimit(ui.currentScreen);
  if (screen == nullptr) return "currentScreen";
  std::uint8_t lastCursor = screen->lastCursor;
  if (ui.currentScreen == FlightLogScreen && s.flightDetectAuto == 0) lastCursor = 4;
  if (ui.cursor > lastCursor) return "cursor";
  return nullptr;
}

enum Action {
  ActKey,
  ActSliderAltitude,
  ActSliderAirspeed,
  ActBox,
  ActTick,
  ActOn,
  ActOff,
  ActPass
};

class SoakHost : public HostPanel {
 public:
  SoakHost(Instrument& instrument, std::uint32_t seed, long actions)
      : instrument_(instrument), seed_(seed), rng_(seed), actionsLeft_(actions) {
    instrument.host = this;
  }

  void PresentFrameBuffer(const FrameBuffer&) override {}
  void SetLcdVisible(bool) override {}
  void SetAlarmLed(bool) override {}
  bool IsCalibrateChecked() override { return inputs_.IsCalibrateChecked(); }
  bool IsKeyFastChecked() override { return inputs_.IsKeyFastChecked(); }
  void AppendCommLine(const char*) override {}

  // Runs after every pass: check, then deliver actions until the next pass.
  void ProcessPendingEvents() override {
    ++passes_;
    Check(instrument_.phase == PowerPhase::MainLoop);
    DeliverUntilNextPass();
    inputs_.EventsEnd();
  }

  void DeliverUntilNextPass() {
    while (actionsLeft_ > 0) {
      if (Perform(NextAction()) == ActPass) return;
    }
    inputs_.StopAtFirstChance();  // out of actions: let the instrument stop
  }

  // Actions while the instrument is off, until "ON" starts it again.
  void RunAll() {
    while (actionsLeft_ > 0) {
      if (Perform(NextAction()) == ActOn && !failed_) inputs_.PressOn();
    }
  }

  bool failed() const { return failed_; }
  long passes() const { return passes_; }
  long actions() const { return actionsDone_; }

 private:
  Action NextAction() {
    const std::uint32_t roll = Roll() % 1000;
    if (roll < 5) return ActOn;
    if (roll < 6) return ActOff;
    if (roll < 300) return ActKey;
    if (roll < 380) return ActSliderAltitude;
    if (roll < 460) return ActSliderAirspeed;
    if (roll < 480) return ActBox;
    if (roll < 600) return ActTick;
    return ActPass;
  }

  std::int32_t SliderValue() {
    const std::uint32_t roll = Roll() % 10;
    if (roll == 0) return 0;
    if (roll == 1) return 4096;
    return static_cast<std::int32_t>(Roll() % 4097);
  }

  Action Perform(Action action) {
    --actionsLeft_;
    ++actionsDone_;
    switch (action) {
      case ActKey:
        inputs_.ClickKey(static_cast<KeyEvent>(1 + Roll() % 5));
        break;
      case ActSliderAltitude:
        inputs_.MoveSlider(SliderKind::Altitude, SliderValue());
        break;
      case ActSliderAirspeed:
        inputs_.MoveSlider(SliderKind::Airspeed, SliderValue());
        break;
      case ActBox:
        if (Roll() % 2 == 0) {
          inputs_.SetBox(BoxKind::Calibrate, !inputs_.IsCalibrateChecked());
        } else {
          inputs_.SetBox(BoxKind::KeyFast, !inputs_.IsKeyFastChecked());
        }
        break;
      case ActTick:
        for (std::uint32_t n = 1 + Roll() % 25; n > 0; --n) inputs_.TimerTick();
        break;
      case ActOn:
        // Restarts of a running instrument are rarer than switching on.
        if (IsRunning(instrument_) && Roll() % 8 == 0) inputs_.PressOn();
        break;
      case ActOff:
        inputs_.PressOff();
        break;
      case ActPass:
        break;
    }
    return action;
  }

  void Check(bool inMainLoop) {
    if (failed_) return;
    const char* broken = BrokenInvariant(instrument_, inMainLoop);
    if (broken == nullptr) return;
    failed_ = true;
    const ScreenEntry* screen = FindScreen(instrument_.state.ui.currentScreen);
    std::fprintf(
        stderr,
        "soak: invariant '%s' broken at action %ld (pass %ld), seed %u; screen %s cursor %u\n",
        broken, actionsDone_, passes_, seed_, screen ? screen->name : "?",
        unsigned{instrument_.state.ui.cursor});
    actionsLeft_ = 0;
    inputs_.StopAtFirstChance();
  }

  Instrument& instrument_;
  PanelInputs inputs_{instrument_};
  std::uint32_t seed_;
  std::mt19937 rng_;
  std::uint32_t Roll() { return static_cast<std::uint32_t>(rng_()); }
  long actionsLeft_;
  long actionsDone_ = 0;
  long passes_ = 0;
  bool failed_ = false;
};

long ArgValue(int argc, char** argv, const char* name, long fallback) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], name) == 0) return std::strtol(argv[i + 1], nullptr, 10);
  }
  return fallback;
}

}  // namespace
}  // namespace kvr9

int main(int argc, char** argv) {
  const auto seed = static_cast<std::uint32_t>(kvr9::ArgValue(argc, argv, "--seed", 20261207));
  const long actions = kvr9::ArgValue(argc, argv, "--actions", 1000000);
  static kvr9::Instrument instrument;
  kvr9::SoakHost host(instrument, seed, actions);
  kvr9::testing::StartCountingAllocations();
  host.RunAll();
  const long allocations = kvr9::testing::StopCountingAllocations();
  std::printf("soak: seed %u, %ld actions, %ld passes, %ld allocations\n", seed, host.actions(),
              host.passes(), allocations);
  if (allocations != 0) {
    std::fprintf(stderr, "soak: the firmware allocated memory (seed %u)\n", seed);
    return 1;
  }
  return host.failed() ? 1 : 0;
}
