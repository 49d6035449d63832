#include "host/state/state_fields.h"

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

#include "core/limits.h"
#include "host/panel/panel_types.h"

namespace kvr9 {

namespace {

// The words for the values of a few fields, index = value.
constexpr std::array<const char*, 2> kAltUnits = {"ft", "m"};
constexpr std::array<const char*, 2> kQnhUnits = {"mB", "inHg"};
constexpr std::array<const char*, 3> kAsiFilters = {"NONE", "FAST", "SLOW"};
constexpr std::array<const char*, 3> kAsiUnits = {"mph", "km/h", "knots"};
constexpr std::array<const char*, 6> kKeys = {"none", "press", "cw", "ccw", "f1", "f2"};

// The speed settings' bounds in whichever unit: each unit's own range is
// checked once the unit is known.
std::int64_t SlowestSpeed() {
  std::uint32_t slowest = SpeedRangeForUnit(0).lowest;
  for (std::size_t unit = 1; unit < kAsiUnits.size(); ++unit) {
    slowest = std::min(slowest, SpeedRangeForUnit(static_cast<std::uint8_t>(unit)).lowest);
  }
  return slowest;
}
std::int64_t FastestSpeed() {
  std::uint32_t fastest = SpeedRangeForUnit(0).highest;
  for (std::size_t unit = 1; unit < kAsiUnits.size(); ++unit) {
    fastest = std::max(fastest, SpeedRangeForUnit(static_cast<std::uint8_t>(unit)).highest);
  }
  return fastest;
}

#define KVR9_FIELD(section, member, kind, lowest, highest, names)                                \
  StateField {                                                                                   \
#section, #member, kind, lowest, highest, names,                                               \
        [](const InstrumentState& s) { return static_cast<std::int64_t>(s.section.member); },      \
        [](InstrumentState& s, std::int64_t v) {                                                   \
          s.section.member = static_cast<decltype(s.section.member)>(v);                           \
        } \
  }
#define KVR9_NUMBER(section, member, lowest, highest) \
  KVR9_FIELD(section, member, StateKind::Number, lowest, highest, {})
// The whole range of the member's type.
#define KVR9_ANY(section, member)                                                     \
  KVR9_NUMBER(section, member,                                                        \
              std::numeric_limits<decltype(InstrumentState{}.section.member)>::min(), \
              std::numeric_limits<decltype(InstrumentState{}.section.member)>::max())
#define KVR9_NAMED(section, member, names)                                                      \
  KVR9_FIELD(section, member, StateKind::Named, 0, static_cast<std::int64_t>(names.size()) - 1, \
             names)
#define KVR9_SPECIAL(section, member, kind)             \
  StateField {                                          \
#section, #member, kind, 0, 0, {}, nullptr, nullptr \
  }

}  // namespace

// Every field, in the order of the state record. The ranges are those the
// instrument keeps its fields in; the settings hold them once the
// instrument has been switched on (before, every setting is 0).
namespace {

const std::vector<StateField>& Table() {
  static const std::vector<StateField> fields = {
      KVR9_NUMBER(settings, contrast, 0, kContrastLimit / kContrastStep * kContrastStep),
      KVR9_NUMBER(settings, backlightOn, 0, 1),
      KVR9_NUMBER(settings, qnh, kQnhLowest, kQnhHighest),
      KVR9_NAMED(settings, altUnit, kAltUnits),
      KVR9_NAMED(settings, qnhUnit, kQnhUnits),
      KVR9_NUMBER(settings, altitudeOnTop, 0, 1),
      KVR9_NUMBER(settings, asiShowsTas, 0, 1),
      KVR9_NUMBER(settings, lowAlarmSpeed, SlowestSpeed(), FastestSpeed()),
      KVR9_NUMBER(settings, lowAlarmOn, 0, 1),
      KVR9_NUMBER(settings, highAlarmSpeed, SlowestSpeed(), FastestSpeed()),
      KVR9_NUMBER(settings, highAlarmOn, 0, 1),
      KVR9_NAMED(settings, asiFilter, kAsiFilters),
      KVR9_NAMED(settings, asiUnit, kAsiUnits),
      KVR9_NUMBER(settings, distZeroAuto, 0, 1),
      KVR9_NUMBER(settings, hourFractDecimal, 0, 1),
      KVR9_NUMBER(settings, flightDetectAuto, 0, 1),
      KVR9_NUMBER(settings, takeoffSpeed, SlowestSpeed(), FastestSpeed()),
      KVR9_NUMBER(settings, asiCalPercent, kAsiCalLowest, kAsiCalHighest),
      KVR9_NUMBER(settings, altCalOffset, -kAltCalLimit, kAltCalLimit),
      KVR9_NUMBER(settings, asiZeroOffset, 0, kSliderHighest),
      KVR9_NUMBER(airData, altAdcRaw, 0, kSliderHighest),
      KVR9_NUMBER(airData, asiAdcRaw, 0, kSliderHighest),
      KVR9_ANY(airData, altAdc),
      KVR9_ANY(airData, asiAdc),
      KVR9_ANY(airData, staticPressure),
      KVR9_ANY(airData, pressureAltFilter),
      KVR9_ANY(airData, pressureAltitudeFt),
      KVR9_ANY(airData, qnhAltFilter),
      KVR9_ANY(airData, qnhAltitudeFt),
      KVR9_ANY(airData, altitude),
      KVR9_ANY(airData, maxAltitude),
      KVR9_ANY(airData, asiFilterState),
      KVR9_ANY(airData, airspeed),
      KVR9_ANY(airData, maxAirspeed),
      KVR9_ANY(airData, distanceSum),
      KVR9_NUMBER(airData, alarmActive, 0, 1),
      KVR9_NUMBER(airData, alarmAcknowledged, 0, 1),
      KVR9_NUMBER(flightTimer, inFlight, 0, 1),
      KVR9_NUMBER(flightTimer, flightCounted, 0, 1),
      KVR9_NUMBER(flightTimer, flightSeconds, 0, kSecondsPerMinute - 1),
      KVR9_NUMBER(flightTimer, flightMinutes, 0, kMinutesPerHour - 1),
      KVR9_NUMBER(flightTimer, flightHours, 0, kMaxFlightHours),
      KVR9_NUMBER(flightTimer, landingCountdown, 0, kLandingCountdownPasses),
      KVR9_NUMBER(flightTimer, tickDivider, 0, kSlowTickTicks),
      KVR9_NUMBER(flightTimer, slowTick, 0, 1),
      KVR9_SPECIAL(flightTimer, flightLog, StateKind::Bytes),
      KVR9_SPECIAL(ui, currentScreen, StateKind::Screen),
      KVR9_SPECIAL(ui, returnScreen, StateKind::Screen),
      KVR9_ANY(ui, cursor),
      KVR9_NUMBER(ui, editing, 0, 1),
      KVR9_NAMED(ui, pendingKey, kKeys),
      KVR9_NUMBER(ui, keyStep, 0, kKeyStepFast),
      KVR9_NUMBER(ui, calibrateMode, 0, 1),
      KVR9_NUMBER(ui, blinkDivider, 0, kBlinkDividerTop + 1),
      KVR9_NUMBER(ui, blinkPhase, 0, 1),
      KVR9_SPECIAL(ui, commLine, StateKind::Text),
      KVR9_NUMBER(ui, stopRequested, 0, 1),
  };
  return fields;
}

#undef KVR9_SPECIAL
#undef KVR9_NAMED
#undef KVR9_ANY
#undef KVR9_NUMBER
#undef KVR9_FIELD

}  // namespace

std::span<const StateField> StateFields() {
  return Table();
}

const StateField* FindStateField(std::string_view name) {
  for (const StateField& field : StateFields()) {
    if (name == field.name) return &field;
  }
  return nullptr;
}

std::string StateFieldPath(const StateField& field) {
  return std::string(field.section) + "." + field.name;
}

std::string DescribeStateFields() {
  std::string text;
  for (const StateField& field : StateFields()) {
    if (!text.empty()) text += ", ";
    text += field.name;
    switch (field.kind) {
      case StateKind::Number:
        text += " " + std::to_string(field.lowest) + ".." + std::to_string(field.highest);
        break;
      case StateKind::Named: {
        text += " ";
        for (std::size_t i = 0; i < field.words.size(); ++i) {
          text += std::string(i == 0 ? "" : "|") + field.words[i];
        }
        text += " (0.." + std::to_string(field.highest) + ")";
        break;
      }
      case StateKind::Screen:
        text += " a screen's name";
        break;
      case StateKind::Text:
        text += " a line of text";
        break;
      case StateKind::Bytes:
        text += " " + std::to_string(2 * kFlightLogEntries) + " bytes";
        break;
    }
  }
  return text;
}

}  // namespace kvr9
