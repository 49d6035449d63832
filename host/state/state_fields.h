// The instrument's state described once: every field of InstrumentState
// with the record it lives in, the range the instrument keeps it in (from
// the firmware's own constants), and the words for its values where it has
// them. The scenario's show and expect, the snapshot's JSON and the agent
// server's schemas are all made from this table, so a field added here is
// shown, checked, saved and described everywhere.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/instrument.h"

namespace kvr9 {

enum class StateKind : std::uint8_t {
  Number,  // an integer within [lowest, highest]
  Named,   // an integer 0..words-1, written in a snapshot by its word
  Screen,  // a ScreenHandler, by its name
  Text,    // the zero-terminated communication line
  Bytes,   // the flight log's bytes
};

struct StateField {
  const char* section;  // the record: "settings", "airData", "flightTimer", "ui"
  const char* name;     // the member's own name
  StateKind kind;
  // Number and Named. The settings hold their range once the instrument
  // has been switched on; before, every setting is 0.
  std::int64_t lowest;
  std::int64_t highest;
  std::span<const char* const> words;           // Named: index = value
  std::int64_t (*get)(const InstrumentState&);  // Number and Named
  void (*set)(InstrumentState&, std::int64_t);  // Number and Named
};

inline constexpr const char* kStateSections[] = {"settings", "airData", "flightTimer", "ui"};

// Every field, in the order of the state record.
std::span<const StateField> StateFields();
const StateField* FindStateField(std::string_view name);
// "settings.qnh"
std::string StateFieldPath(const StateField& field);
// Every field in a line, for an agent's schema: "contrast 0..62, ...,
// altUnit ft|m (0..1), ..., currentScreen a screen's name, ...".
std::string DescribeStateFields();

}  // namespace kvr9
