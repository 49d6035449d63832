#include "host/explore/explore_state.h"

#include <cstring>
#include <functional>

#include "host/state/state_fields.h"
#include "screens/screen_table.h"
#include "screens/screens.h"

namespace kvr9 {
namespace {

bool IsMessageScreen(ScreenHandler screen) {
  return screen == MessageScreen || screen == LogBusyScreen;
}

// Screens that neither read the cursor or the editing mark nor go back to
// one that does without setting them: the main display and the start/stop
// page (both lead on to the main display, the menu, or the flight info page,
// each of which sets what it needs).
bool IgnoresCursor(ScreenHandler screen) {
  return screen == MainScreen || screen == StartStopScreen;
}

// The main menu opens every screen with the editing mark cleared.
bool IgnoresEditing(ScreenHandler screen) {
  return IgnoresCursor(screen) || screen == MainMenuScreen;
}

}  // namespace

std::size_t ExploreKeyHash::operator()(const ExploreKey& key) const {
  std::size_t h = std::hash<const void*>()(reinterpret_cast<const void*>(key.screen));
  auto mix = [&h](std::size_t v) { h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); };
  mix(std::hash<const void*>()(reinterpret_cast<const void*>(key.returnTo)));
  mix(key.cursor);
  mix(key.editing);
  mix(static_cast<std::size_t>(key.calibrate) | static_cast<std::size_t>(key.keyFast) << 1 |
      static_cast<std::size_t>(key.inFlight) << 2 | static_cast<std::size_t>(key.alarmActive) << 4 |
      static_cast<std::size_t>(key.alarmAcknowledged) << 5 |
      static_cast<std::size_t>(key.flightDetectAuto) << 6 |
      static_cast<std::size_t>(key.qnhUnit) << 7 | static_cast<std::size_t>(key.asiUnit) << 8);
  for (RangePlace place : key.edited) mix(static_cast<std::size_t>(place));
  return h;
}

std::array<const char*, kEditedPerScreen> EditedSettings(ScreenHandler screen) {
  if (screen == MainScreen) return {"qnh", nullptr};
  if (screen == ContrastScreen) return {"contrast", nullptr};
  if (screen == AsiSetupScreen) return {"lowAlarmSpeed", "highAlarmSpeed"};
  if (screen == FlightLogScreen) return {"takeoffSpeed", nullptr};
  if (screen == CalibrateScreen) return {"altCalOffset", "asiCalPercent"};
  return {nullptr, nullptr};
}

void SettingRange(const char* name, const InstrumentState& state, std::int64_t& lowest,
                  std::int64_t& highest) {
  const StateField* field = FindStateField(name);
  lowest = field->lowest;
  highest = field->highest;
  if (std::strcmp(name, "lowAlarmSpeed") == 0 || std::strcmp(name, "highAlarmSpeed") == 0 ||
      std::strcmp(name, "takeoffSpeed") == 0) {
    const SpeedRange range = SpeedRangeForUnit(state.settings.asiUnit);
    lowest = range.lowest;
    highest = range.highest;
  }
}

RangePlace PlaceInRange(std::int64_t value, std::int64_t lowest, std::int64_t highest) {
  if (value < lowest) return RangePlace::Below;
  if (value > highest) return RangePlace::Above;
  if (value == lowest) return RangePlace::Lowest;
  if (value == highest) return RangePlace::Highest;
  return RangePlace::Inside;
}

const char* RangePlaceWord(RangePlace place) {
  switch (place) {
    case RangePlace::Inside:
      return "inside";
    case RangePlace::Lowest:
      return "lowest";
    case RangePlace::Highest:
      return "highest";
    case RangePlace::Below:
      return "below";
    case RangePlace::Above:
      return "above";
  }
  return "inside";
}

ExploreKey KeyOf(const ExploreMoment& moment) {
  ExploreKey key;
  if (!moment.running) {
    // Off, only the boxes go on to the next power-on.
    key.calibrate = moment.inputs.calibrateChecked;
    key.keyFast = moment.inputs.keyFastChecked;
    return key;
  }
  const InstrumentState& s = moment.state;
  key.screen = s.ui.currentScreen;
  if (IsMessageScreen(key.screen)) key.returnTo = s.ui.returnScreen;
  if (!IgnoresCursor(key.screen)) key.cursor = s.ui.cursor;
  if (!IgnoresEditing(key.screen)) key.editing = s.ui.editing;
  // The boxes count where they are read: "Calibrate" by the menu's item
  // count, "KeyFast" by the speed rows being edited.
  if (key.screen == MainMenuScreen) key.calibrate = moment.inputs.calibrateChecked;
  if ((key.screen == AsiSetupScreen || key.screen == FlightLogScreen) && key.editing != 0) {
    key.keyFast = moment.inputs.keyFastChecked;
  }
  key.inFlight = s.flightTimer.inFlight;
  key.alarmActive = s.airData.alarmActive;
  key.alarmAcknowledged = s.airData.alarmAcknowledged;
  // Settings set on one screen that change what the keys do on another:
  // the detection mode (F1 on the main display, the flight log's last row),
  // the QNH unit (the QNH key's step) and the airspeed unit (the speeds'
  // range).
  key.flightDetectAuto = s.settings.flightDetectAuto;
  key.qnhUnit = s.settings.qnhUnit;
  key.asiUnit = s.settings.asiUnit;
  // Where a value stands counts while the keys move it: on the main display
  // and the contrast page always, on a list while a row is being edited.
  const bool keysMoveValues =
      key.screen == MainScreen || key.screen == ContrastScreen || key.editing != 0;
  const auto edited = EditedSettings(key.screen);
  for (std::size_t i = 0; keysMoveValues && i < edited.size(); ++i) {
    if (edited[i] == nullptr) continue;
    std::int64_t lowest = 0;
    std::int64_t highest = 0;
    SettingRange(edited[i], s, lowest, highest);
    key.edited[i] = PlaceInRange(FindStateField(edited[i])->get(s), lowest, highest);
  }
  return key;
}

std::string DescribeKey(const ExploreKey& key) {
  std::string text;
  if (key.screen == nullptr) {
    text = "off";
  } else {
    const ScreenEntry* entry = FindScreen(key.screen);
    text = entry != nullptr ? entry->name : "an unknown screen";
    if (!IgnoresCursor(key.screen)) text += " cursor " + std::to_string(key.cursor);
    if (key.editing != 0) text += " editing";
    if (key.returnTo != nullptr) {
      const ScreenEntry* back = FindScreen(key.returnTo);
      text += std::string(" back to ") + (back != nullptr ? back->name : "an unknown screen");
    }
    const auto edited = EditedSettings(key.screen);
    const bool keysMoveValues =
        key.screen == MainScreen || key.screen == ContrastScreen || key.editing != 0;
    for (std::size_t i = 0; keysMoveValues && i < edited.size(); ++i) {
      if (edited[i] == nullptr) continue;
      text += std::string(", ") + edited[i] + " " + RangePlaceWord(key.edited[i]);
    }
    if (key.inFlight != 0) text += ", in flight";
    if (key.alarmActive != 0) {
      text += key.alarmAcknowledged != 0 ? ", alarm acknowledged" : ", alarm";
    }
    if (key.flightDetectAuto != 0) text += ", flights detected";
    if (key.qnhUnit != 0) text += ", QNH in inches";
    if (key.asiUnit == 1) text += ", km/h";
    if (key.asiUnit == 2) text += ", knots";
  }
  if (key.calibrate) text += ", calibrate";
  if (key.keyFast) text += ", keyfast";
  return text;
}

}  // namespace kvr9
