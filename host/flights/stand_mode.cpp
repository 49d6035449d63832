#include "host/flights/stand_mode.h"

#include <array>

#include "host/flights/flight_profile.h"

namespace kvr9 {

namespace {

using Action = StandStep::Action;

constexpr std::uint32_t kSecond = kDefaultPassesPerSecond;

// The demo's moments are those of its circuit: full power at 1:30,
// take-off at 1:40, level at 3:10, above the high alarm from 4:08 to 4:24,
// downwind at 5:20. The keys then go through the menus as a person's
// would, the flight paused downwind, slow enough that its airspeed stays
// under the high alarm's 80 in every unit it passes through: the flight
// information (F2), MAX VALUES, the airspeed unit, the QNH on the main
// display.
constexpr const char* kOpenMenu = "Pressing the knob opens the menu; turning it chooses an item.";
constexpr const char* kAirspeedSetup =
    "AIRSPEED SETUP: turn the knob to a setting, press to change it.";
constexpr const char* kUnit = "The airspeed unit: from mph to knots.";
constexpr const char* kBack = "DONE, then EXIT MENU: back to the main display.";

constexpr std::array kTour{
    StandStep{Action::SwitchOn, 0, KeyNone, 1, 8 * kSecond,
              "Switching on: the maker's name, then the main display."},
    StandStep{Action::Fly, 96, KeyNone, 1, 12 * kSecond,
              "Taking off: airspeed on top, altitude below, the QNH at the bottom."},
    StandStep{Action::Fly, 180, KeyNone, 1, 8 * kSecond,
              "Cruising: the airspeed and the altitude follow the flight, live."},
    StandStep{Action::Fly, 246, KeyNone, 1, 14 * kSecond,
              "Diving too fast: the airspeed flashes and the red LED blinks."},
    StandStep{Action::Fly, 330, KeyNone, 1, 6 * kSecond, "Slowing down to land: the alarm stops."},
    StandStep{Action::Keys, 0, KeyF2, 1, 7 * kSecond,
              "F2 shows the flight: its time and the air distance flown."},
    StandStep{Action::Keys, 0, KeyPress, 1, 1 * kSecond, "Pressing the knob goes back."},
    StandStep{Action::Keys, 0, KeyPress, 1, 2 * kSecond, kOpenMenu},
    StandStep{Action::Keys, 0, KeyClockwise, 1, 2 * kSecond, kOpenMenu},
    StandStep{Action::Keys, 0, KeyPress, 1, 7 * kSecond,
              "MAX VALUES: the highest altitude and airspeed since switching on."},
    StandStep{Action::Keys, 0, KeyPress, 1, kSecond / 2, kOpenMenu},
    StandStep{Action::Keys, 0, KeyClockwise, 4, 2 * kSecond, kOpenMenu},
    StandStep{Action::Keys, 0, KeyPress, 1, 2 * kSecond, kAirspeedSetup},
    StandStep{Action::Keys, 0, KeyClockwise, 7, 2 * kSecond, kAirspeedSetup},
    StandStep{Action::Keys, 0, KeyPress, 1, 1 * kSecond, kUnit},
    StandStep{Action::Keys, 0, KeyClockwise, 2, 2 * kSecond, kUnit},
    StandStep{Action::Keys, 0, KeyPress, 1, 2 * kSecond, kUnit},
    StandStep{Action::Keys, 0, KeyAntiClockwise, 7, kSecond / 2, kBack},
    StandStep{Action::Keys, 0, KeyPress, 1, kSecond / 2, kBack},
    StandStep{Action::Keys, 0, KeyAntiClockwise, 5, kSecond / 2, kBack},
    StandStep{Action::Keys, 0, KeyPress, 1, 5 * kSecond,
              "The main display now reads the airspeed in knots."},
    StandStep{Action::Keys, 0, KeyClockwise, 5, 4 * kSecond,
              "Turning the knob on the main display sets the QNH; the altitude follows it."},
    StandStep{Action::Keys, 0, KeyAntiClockwise, 5, 3 * kSecond, "And back to 1013 mB."},
};

}  // namespace

std::span<const StandStep> StandTour() {
  return kTour;
}

std::uint32_t StandStepPasses(const StandStep& step) {
  const std::uint32_t keys = step.action == Action::Keys ? step.times - 1 : 0;
  return keys * kStandKeyGapPasses + step.passes;
}

std::uint32_t StandTourPasses() {
  std::uint32_t passes = 0;
  for (const StandStep& step : kTour) passes += StandStepPasses(step);
  return passes;
}

void StandMode::Start() {
  flight_.Use(DemoFlight(), kDemoFlightName, std::string(), std::string());
  flight_.SetSpeed(1);
  active_ = true;
  step_ = 0;  // its "ON" is the front end's
  pass_ = 0;
}

bool StandMode::BeforePass() {
  if (!active_) return false;
  bool clickOn = false;
  if (pass_ >= StandStepPasses(kTour[step_])) {
    step_ = (step_ + 1) % kTour.size();
    pass_ = 0;
    const StandStep& next = kTour[step_];
    if (next.action != Action::Fly) flight_.Pause();
    if (next.action == Action::SwitchOn) {
      flight_.MoveTo(0);
      clickOn = true;
    } else if (next.action == Action::Fly) {
      flight_.MoveTo(next.fromSeconds);
      flight_.Play();
    }
  }
  const StandStep& step = kTour[step_];
  if (step.action == Action::Keys && pass_ % kStandKeyGapPasses == 0 &&
      pass_ / kStandKeyGapPasses < step.times) {
    inputs_.ClickKey(step.key);
  }
  ++pass_;
  return clickOn;
}

void StandMode::End() {
  if (!active_) return;
  active_ = false;
  flight_.Pause();
}

const char* StandMode::Caption() const {
  return active_ ? kTour[step_].caption : "";
}

}  // namespace kvr9
