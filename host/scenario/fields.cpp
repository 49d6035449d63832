#include "host/scenario/fields.h"

#include <charconv>
#include <limits>
#include <sstream>

#include "host/common/quote.h"
#include "host/scenario/nearest_word.h"
#include "screens/screen_table.h"

namespace kvr9 {

namespace {

std::string FormatBytes(const std::uint8_t* bytes, std::size_t count) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) text += ' ';
    text += std::to_string(bytes[i]);
  }
  return text;
}

bool ParseInteger(std::string_view text, std::int64_t& value) {
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, value);
  return result.ec == std::errc() && result.ptr == end;
}

bool NormaliseNumber(const FieldInfo& field, std::string_view written, std::string& normalised,
                     std::string& reason) {
  std::int64_t value = 0;
  if (!ParseInteger(written, value)) {
    reason = Quoted(written) + " is not a whole number";
    return false;
  }
  if (value < field.lowest || value > field.highest) {
    reason = std::string(field.name) + " holds " + std::to_string(field.lowest) + ".." +
             std::to_string(field.highest) + ", never " + Clipped(written);
    return false;
  }
  normalised = std::to_string(value);
  return true;
}

// A byte list compares by its numbers, whatever blanks separate them.
bool NormaliseBytes(const FieldInfo& field, std::string_view written, std::size_t expectedCount,
                    std::string& normalised, std::string& reason) {
  std::istringstream words{std::string(written)};
  std::string word;
  std::size_t count = 0;
  normalised.clear();
  while (words >> word) {
    std::int64_t value = 0;
    if (!ParseInteger(word, value) || value < 0 || value > 255) {
      reason = Quoted(word) + " is not a byte value 0..255";
      return false;
    }
    if (count > 0) normalised += ' ';
    normalised += std::to_string(value);
    ++count;
  }
  if (count != expectedCount) {
    reason = std::string(field.name) + " has " + std::to_string(expectedCount) + " bytes, not " +
             std::to_string(count);
    return false;
  }
  return true;
}

}  // namespace

// One entry per state field; the name is the member's own, so the two cannot
// drift apart, and the range comes from the member's type.
#define KVR9_NUMBER_FIELD(Record, record, member)                                        \
  FieldInfo {                                                                            \
#member, FieldKind::Number, std::numeric_limits < decltype(Record::member)> ::min(), \
        std::numeric_limits < decltype(Record::member)> ::max(),                         \
        [](const InstrumentState& state) { return std::to_string(state.record.member); } \
  }

const std::vector<FieldInfo>& AllFields() {
  static const std::vector<FieldInfo> fields = {
      KVR9_NUMBER_FIELD(Settings, settings, contrast),
      KVR9_NUMBER_FIELD(Settings, settings, backlightOn),
      KVR9_NUMBER_FIELD(Settings, settings, qnh),
      KVR9_NUMBER_FIELD(Settings, settings, altUnit),
      KVR9_NUMBER_FIELD(Settings, settings, qnhUnit),
      KVR9_NUMBER_FIELD(Settings, settings, altitudeOnTop),
      KVR9_NUMBER_FIELD(Settings, settings, asiShowsTas),
      KVR9_NUMBER_FIELD(Settings, settings, lowAlarmSpeed),
      KVR9_NUMBER_FIELD(Settings, settings, lowAlarmOn),
      KVR9_NUMBER_FIELD(Settings, settings, highAlarmSpeed),
      KVR9_NUMBER_FIELD(Settings, settings, highAlarmOn),
      KVR9_NUMBER_FIELD(Settings, settings, asiFilter),
      KVR9_NUMBER_FIELD(Settings, settings, asiUnit),
      KVR9_NUMBER_FIELD(Settings, settings, distZeroAuto),
      KVR9_NUMBER_FIELD(Settings, settings, hourFractDecimal),
      KVR9_NUMBER_FIELD(Settings, settings, flightDetectAuto),
      KVR9_NUMBER_FIELD(Settings, settings, takeoffSpeed),
      KVR9_NUMBER_FIELD(Settings, settings, asiCalPercent),
      KVR9_NUMBER_FIELD(Settings, settings, altCalOffset),
      KVR9_NUMBER_FIELD(Settings, settings, asiZeroOffset),
      KVR9_NUMBER_FIELD(AirData, airData, altAdcRaw),
      KVR9_NUMBER_FIELD(AirData, airData, asiAdcRaw),
      KVR9_NUMBER_FIELD(AirData, airData, altAdc),
      KVR9_NUMBER_FIELD(AirData, airData, asiAdc),
      KVR9_NUMBER_FIELD(AirData, airData, staticPressure),
      KVR9_NUMBER_FIELD(AirData, airData, pressureAltFilter),
      KVR9_NUMBER_FIELD(AirData, airData, pressureAltitudeFt),
      KVR9_NUMBER_FIELD(AirData, airData, qnhAltFilter),
      KVR9_NUMBER_FIELD(AirData, airData, qnhAltitudeFt),
      KVR9_NUMBER_FIELD(AirData, airData, altitude),
      KVR9_NUMBER_FIELD(AirData, airData, maxAltitude),
      KVR9_NUMBER_FIELD(AirData, airData, asiFilterState),
      KVR9_NUMBER_FIELD(AirData, airData, airspeed),
      KVR9_NUMBER_FIELD(AirData, airData, maxAirspeed),
      KVR9_NUMBER_FIELD(AirData, airData, distanceSum),
      KVR9_NUMBER_FIELD(AirData, airData, alarmActive),
      KVR9_NUMBER_FIELD(AirData, airData, alarmAcknowledged),
      KVR9_NUMBER_FIELD(FlightTimer, flightTimer, inFlight),
      KVR9_NUMBER_FIELD(FlightTimer, flightTimer, flightCounted),
      KVR9_NUMBER_FIELD(FlightTimer, flightTimer, flightSeconds),
      KVR9_NUMBER_FIELD(FlightTimer, flightTimer, flightMinutes),
      KVR9_NUMBER_FIELD(FlightTimer, flightTimer, flightHours),
      KVR9_NUMBER_FIELD(FlightTimer, flightTimer, landingCountdown),
      KVR9_NUMBER_FIELD(FlightTimer, flightTimer, tickDivider),
      KVR9_NUMBER_FIELD(FlightTimer, flightTimer, slowTick),
      FieldInfo{"flightLog", FieldKind::Bytes, 0, 255,
                [](const InstrumentState& state) {
                  const auto& log = state.flightTimer.flightLog;
                  return FormatBytes(log.data(), log.size());
                }},
      FieldInfo{"currentScreen", FieldKind::Screen, 0, 0,
                [](const InstrumentState& state) { return ScreenName(state.ui.currentScreen); }},
      FieldInfo{"returnScreen", FieldKind::Screen, 0, 0,
                [](const InstrumentState& state) { return ScreenName(state.ui.returnScreen); }},
      KVR9_NUMBER_FIELD(UiState, ui, cursor),
      KVR9_NUMBER_FIELD(UiState, ui, editing),
      KVR9_NUMBER_FIELD(UiState, ui, pendingKey),
      KVR9_NUMBER_FIELD(UiState, ui, keyStep),
      KVR9_NUMBER_FIELD(UiState, ui, calibrateMode),
      KVR9_NUMBER_FIELD(UiState, ui, blinkDivider),
      KVR9_NUMBER_FIELD(UiState, ui, blinkPhase),
      // The firmware keeps the line zero-terminated; the size bounds a line
      // that somehow is not.
      FieldInfo{"commLine", FieldKind::Text, 0, 0,
                [](const InstrumentState& state) {
                  const auto& line = state.ui.commLine;
                  std::size_t length = 0;
                  while (length < line.size() && line[length] != '\0') ++length;
                  return std::string(line.data(), length);
                }},
      KVR9_NUMBER_FIELD(UiState, ui, stopRequested),
  };
  return fields;
}

#undef KVR9_NUMBER_FIELD

const FieldInfo* FindField(std::string_view name) {
  for (const FieldInfo& field : AllFields()) {
    if (name == field.name) return &field;
  }
  return nullptr;
}

std::string FormatField(const FieldInfo& field, const InstrumentState& state) {
  return field.format(state);
}

bool NormaliseExpectedValue(const FieldInfo& field, std::string_view written,
                            std::string& normalised, std::string& reason) {
  switch (field.kind) {
    case FieldKind::Number:
      return NormaliseNumber(field, written, normalised, reason);
    case FieldKind::Screen:
      if (!IsScreenName(written)) {
        std::vector<std::string_view> known = {"none"};
        for (const ScreenEntry& entry : ScreenTable()) known.emplace_back(entry.name);
        reason = Quoted(written) + " is not a screen name" + DidYouMean(written, known);
        return false;
      }
      normalised = std::string(written);
      return true;
    case FieldKind::Bytes:
      return NormaliseBytes(field, written, 2 * kFlightLogEntries, normalised, reason);
    case FieldKind::Text:
      if (written.size() >= kCommLineSize) {
        reason = std::string(field.name) + " holds at most " + std::to_string(kCommLineSize - 1) +
                 " characters";
        return false;
      }
      normalised = std::string(written);
      return true;
  }
  return false;
}

std::string ScreenName(ScreenHandler screen) {
  if (screen == nullptr) return "none";
  const ScreenEntry* entry = FindScreen(screen);
  return entry != nullptr ? entry->name : "unknown";
}

bool IsScreenName(std::string_view name) {
  return name == "none" || FindScreenByName(name) != nullptr;
}

}  // namespace kvr9
