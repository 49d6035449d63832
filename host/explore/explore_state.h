// What the explorer tells states apart by: the part of the instrument and
// its panel that decides what the panel's inputs do next. Two moments with
// the same key answer every input alike as far as the screens and the rules
// go, so the walk visits each key once.
//
// The key holds whether the instrument is on; the screen and, where the
// screen or the one it goes back to reads them, the cursor, the editing
// mark and the screen a message returns to; whether a flight runs; the
// alarm and its acknowledgement; and the settings set on one screen that
// change what the keys do on another: the flight detection mode, the QNH
// unit and the airspeed unit. The rest counts only where it is read:
// "Calibrate" on the main menu, "KeyFast" while a speed row is edited, and, of
// the numeric settings a screen edits, where each stands in its range
// (below it, at its lowest, between, at its highest, above it) while the
// keys move it. Values in between act alike: a key moves them by a step
// and nothing else, so the walk holds a key until the value reaches an end
// instead of visiting every number. What the key leaves out (the other
// settings, the boxes elsewhere, the sliders, the timers, the smoothing
// memories) is carried by the moment the walk first reached the key with;
// where it matters, the walk changes it there.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/instrument.h"
#include "host/panel/panel_inputs.h"

namespace kvr9 {

// Where a numeric setting stands in its range.
enum class RangePlace : std::uint8_t { Inside, Lowest, Highest, Below, Above };

// The most numeric settings one screen edits (calibration: two; airspeed
// setup: the two alarm speeds).
inline constexpr std::size_t kEditedPerScreen = 2;

struct ExploreKey {
  ScreenHandler screen = nullptr;    // null while off
  ScreenHandler returnTo = nullptr;  // message screens only
  std::uint8_t cursor = 0;
  std::uint8_t editing = 0;
  bool calibrate = false;
  bool keyFast = false;
  std::uint8_t inFlight = 0;
  std::uint8_t alarmActive = 0;
  std::uint8_t alarmAcknowledged = 0;
  std::uint8_t flightDetectAuto = 0;
  std::uint8_t qnhUnit = 0;
  std::uint8_t asiUnit = 0;
  std::array<RangePlace, kEditedPerScreen> edited{};

  bool operator==(const ExploreKey&) const = default;
};

struct ExploreKeyHash {
  std::size_t operator()(const ExploreKey& key) const;
};

// A moment of the walk as it is kept: everything the next pass depends on.
struct ExploreMoment {
  InstrumentState state;
  PowerPhase phase = PowerPhase::Off;
  bool running = false;
  bool restartRequested = false;
  SplashProgress splash;
  PanelInputs::Kept inputs;
  bool ledLit = false;
};

// The numeric settings a screen edits, by their state field name (at most
// kEditedPerScreen; the rest are null).
std::array<const char*, kEditedPerScreen> EditedSettings(ScreenHandler screen);
// The range a numeric setting is kept in with the instrument's settings now
// (the speeds' range follows the airspeed unit).
void SettingRange(const char* name, const InstrumentState& state, std::int64_t& lowest,
                  std::int64_t& highest);
RangePlace PlaceInRange(std::int64_t value, std::int64_t lowest, std::int64_t highest);
const char* RangePlaceWord(RangePlace place);

ExploreKey KeyOf(const ExploreMoment& moment);
// "AsiSetupScreen cursor 4 editing, lowAlarmSpeed highest, in flight, calibrate"
std::string DescribeKey(const ExploreKey& key);

}  // namespace kvr9
