// Stand mode, for a dealer's stand: the demo flight plays over and over at
// x1 on a freshly switched-on instrument, with a caption saying in plain
// words what the instrument shows at that moment; the first touch, click
// or key ends it and hands the instrument over as it stands (that input is
// not the instrument's). The rules are here once; a front end shows the
// caption and ends the mode.
#pragma once

#include <cstdint>

#include "core/instrument.h"
#include "host/flights/flight_control.h"
#include "host/flights/flight_profile.h"

namespace kvr9 {

// The captions, in the order the demo flight shows them; short, as the
// page carries them.
inline constexpr const char* kStandSwitchingOn =
    "Switching on: the maker's name, then the main display.";
inline constexpr const char* kStandParked =
    "On the ground: airspeed on top, altitude below, the QNH at the bottom.";
inline constexpr const char* kStandTaxi = "Taxiing: at walking pace the airspeed reads 0.";
inline constexpr const char* kStandTakeOff = "Take-off run: at the take-off speed a flight starts.";
inline constexpr const char* kStandClimb = "Climbing out: the altitude rises.";
inline constexpr const char* kStandCruise = "Cruising: airspeed and altitude, live.";
inline constexpr const char* kStandHighAlarm =
    "Diving too fast: the high-speed alarm blinks the LED.";
inline constexpr const char* kStandLowAlarm =
    "Too slow on final: the low-speed alarm blinks the LED.";
inline constexpr const char* kStandDescent = "Descending to land.";
inline constexpr const char* kStandLanded = "Landed: the flight ends as the airspeed drops.";
inline constexpr const char* kStandAfterFlight =
    "Parked: MAX VALUES keeps the flight's highest altitude and airspeed.";
inline constexpr const char* kStandMaxValues =
    "MAX VALUES: the highest altitude and airspeed since switching on.";
inline constexpr const char* kStandMenus = "The menus: turn the knob to choose, press to open.";

// What a front end says under the caption: how to end it.
inline constexpr const char* kStandTakeOver = "Touch, click or press any key to try it yourself.";

// A moment of the instrument and the flight, as the caption reads it.
struct StandMoment {
  PowerPhase phase = PowerPhase::Off;
  ScreenHandler screen = nullptr;
  bool alarm = false;     // the LED blinking for an alarm now
  ProfileSample now;      // the flight at this moment
  ProfileSample earlier;  // and kStandTrendSeconds before it
  double groundFt = 0;    // the field's altitude, where the flight starts
  bool landed = false;    // past the flight's highest point and back down
  std::uint32_t highAlarmMph = 0;
  std::uint32_t takeoffMph = 0;
};

inline constexpr double kStandTrendSeconds = 10;

const char* StandCaption(const StandMoment& moment);

class StandMode {
 public:
  // The LED counts as blinking for this many passes after it was last lit.
  static constexpr std::uint32_t kLedPasses = 12;

  explicit StandMode(FlightControl& flight) : flight_(flight) {}

  // The demo flight at its start, x1, flown as "Fly" flies it: the front
  // end then clicks "ON" (which, while on, starts the instrument afresh).
  void Start();
  bool Active() const { return active_; }
  // Before each pass, after the flight's own: a flight that has ended
  // starts over.
  void BeforePass();
  // Ends the mode: the flight pauses where it is; the instrument and the
  // sliders stay as they are.
  void End();
  // The caption for the instrument as the pass just ended left it.
  const char* Caption(const Instrument& instrument, bool ledLit);

 private:
  FlightControl& flight_;
  bool active_ = false;
  std::uint32_t passesSinceLed_ = kLedPasses;
};

}  // namespace kvr9
