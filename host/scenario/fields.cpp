#include "host/scenario/fields.h"

#include <algorithm>
#include <charconv>
#include <sstream>

#include "host/common/quote.h"
#include "host/scenario/nearest_word.h"
#include "host/state/state_fields.h"
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
  // A field with words for its values takes its word: "expect asiUnit knots".
  const std::span<const char* const> words = field.state->words;
  for (std::size_t value = 0; value < words.size(); ++value) {
    if (written == words[value]) {
      normalised = std::to_string(value);
      return true;
    }
  }
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

namespace {

FieldKind KindOf(StateKind kind) {
  switch (kind) {
    case StateKind::Number:
    case StateKind::Named:
      return FieldKind::Number;
    case StateKind::Screen:
      return FieldKind::Screen;
    case StateKind::Text:
      return FieldKind::Text;
    case StateKind::Bytes:
      return FieldKind::Bytes;
  }
  return FieldKind::Number;
}

}  // namespace

const std::vector<FieldInfo>& AllFields() {
  static const std::vector<FieldInfo> fields = [] {
    std::vector<FieldInfo> made;
    for (const StateField& field : StateFields()) {
      const bool setting = std::string_view(field.section) == "settings";
      made.push_back(FieldInfo{field.name, KindOf(field.kind),
                               setting ? std::min<std::int64_t>(0, field.lowest) : field.lowest,
                               field.highest, &field});
    }
    return made;
  }();
  return fields;
}

const FieldInfo* FindField(std::string_view name) {
  for (const FieldInfo& field : AllFields()) {
    if (name == field.name) return &field;
  }
  return nullptr;
}

std::string FormatField(const FieldInfo& field, const InstrumentState& state) {
  switch (field.kind) {
    case FieldKind::Number:
      return std::to_string(field.state->get(state));
    case FieldKind::Screen:
      return ScreenName(std::string_view(field.name) == "currentScreen" ? state.ui.currentScreen
                                                                        : state.ui.returnScreen);
    case FieldKind::Bytes: {
      const auto& log = state.flightTimer.flightLog;
      return FormatBytes(log.data(), log.size());
    }
    case FieldKind::Text: {
      // The firmware keeps the line zero-terminated; the size bounds a
      // line that somehow is not.
      const auto& line = state.ui.commLine;
      std::size_t length = 0;
      while (length < line.size() && line[length] != '\0') ++length;
      return std::string(line.data(), length);
    }
  }
  return std::string();
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
