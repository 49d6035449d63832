// The state described once: every field of the table is a scenario's field
// and a snapshot's, with the same range, so a field added to the table is
// shown, checked and saved everywhere.
#include "host/state/state_fields.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "host/scenario/fields.h"
#include "host/snapshot/snapshot_json.h"

namespace kvr9 {
namespace {

// A switched-on instrument, so that every setting holds its range.
Snapshot SwitchedOn() {
  Instrument instrument;
  LoadDefaultSettings(instrument);
  LoadDefaultCalibration(instrument);
  Snapshot snapshot;
  snapshot.state = instrument.state;
  return snapshot;
}

TEST(StateFields, EveryFieldIsAScenariosAndASnapshotsWithItsRange) {
  const nlohmann::ordered_json written = nlohmann::ordered_json::parse(WriteSnapshot(SwitchedOn()));
  for (const StateField& field : StateFields()) {
    const std::string path = StateFieldPath(field);
    const FieldInfo* scenario = FindField(field.name);
    ASSERT_NE(scenario, nullptr) << path;
    EXPECT_EQ(scenario->state, &field) << path;
    ASSERT_TRUE(written.contains(field.section) && written[field.section].contains(field.name))
        << path << " is not saved";
    if (field.kind != StateKind::Number && field.kind != StateKind::Named) continue;
    // One past the top is refused by both readers, the top taken by both.
    std::string normalised;
    std::string reason;
    EXPECT_TRUE(
        NormaliseExpectedValue(*scenario, std::to_string(field.highest), normalised, reason))
        << path << ": " << reason;
    if (field.highest == INT64_MAX) continue;
    EXPECT_FALSE(
        NormaliseExpectedValue(*scenario, std::to_string(field.highest + 1), normalised, reason))
        << path;
    nlohmann::ordered_json beyond = written;
    beyond[field.section][field.name] = field.highest + 1;
    const SnapshotReadResult read = ReadSnapshot(beyond.dump(), "state.json");
    EXPECT_FALSE(read.ok) << path;
    EXPECT_NE(read.error.find(path), std::string::npos) << read.error;
  }
}

// A value's word stands for it in a scenario as it does in a snapshot.
TEST(StateFields, AFieldsWordsAreTakenForItsValues) {
  for (const StateField& field : StateFields()) {
    for (std::size_t value = 0; value < field.words.size(); ++value) {
      std::string normalised;
      std::string reason;
      ASSERT_TRUE(
          NormaliseExpectedValue(*FindField(field.name), field.words[value], normalised, reason))
          << field.name << " " << field.words[value] << ": " << reason;
      EXPECT_EQ(normalised, std::to_string(value));
    }
  }
}

}  // namespace
}  // namespace kvr9
