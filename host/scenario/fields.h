// The instrument's state fields by name, as a scenario shows and checks
// them: numbers as decimal (a field with words for its values takes its
// word too), screens by their handler's name. Made from the one table of
// the state (host/state/state_fields.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/instrument.h"

namespace kvr9 {

enum class FieldKind : std::uint8_t {
  Number,  // an integer within [lowest, highest]
  Screen,  // a ScreenHandler, shown by name
  Text,    // a zero-terminated character field
  Bytes,   // a byte array, shown as numbers separated by single blanks
};

struct StateField;

struct FieldInfo {
  const char* name;
  FieldKind kind;
  std::int64_t lowest;   // Number only; a setting may also be 0, before the first ON
  std::int64_t highest;  // Number only
  const StateField* state;
};

// Every field, in the order of the state record.
const std::vector<FieldInfo>& AllFields();
const FieldInfo* FindField(std::string_view name);

std::string FormatField(const FieldInfo& field, const InstrumentState& state);

// Turns an expected value as written in a scenario into the form FormatField
// prints, so the two compare as text. Returns false (with a reason) when the
// value can never be shown by the field.
bool NormaliseExpectedValue(const FieldInfo& field, std::string_view written,
                            std::string& normalised, std::string& reason);

// "MainScreen" for MainScreen, "none" for an empty slot, "unknown" for a
// handler that is not one of the instrument's screens.
std::string ScreenName(ScreenHandler screen);
bool IsScreenName(std::string_view name);

}  // namespace kvr9
