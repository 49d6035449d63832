// The snapshot as text: JSON of the "kvr9-snapshot" format, documented in
// docs/snapshots.md. Screens, units, the key and the power phase are
// written by name; the frames as text art. Reading checks every field,
// its type and its range into a complete snapshot before anything uses
// it, so a refused text changes nothing.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "host/snapshot/snapshot.h"

namespace kvr9 {

inline constexpr const char* kSnapshotFormat = "kvr9-snapshot";
inline constexpr int kSnapshotVersion = 1;
// A snapshot is about 20 KB; past this a text is refused unread.
inline constexpr std::size_t kLargestSnapshotBytes = 64 * 1024;

std::string WriteSnapshot(const Snapshot& snapshot);

struct SnapshotReadResult {
  bool ok = false;
  Snapshot snapshot;
  std::string error;  // "NAME: field: what is wrong", one line
};

// name stands for the text in the error: its file name, or what it came from.
SnapshotReadResult ReadSnapshot(std::string_view text, const std::string& name);

// Reads the file under the size cap; a file that cannot be read is an error
// naming it, as a text that does not hold.
SnapshotReadResult ReadSnapshotFile(const std::string& path);

// False, with a one-line reason, when the file cannot be written.
bool WriteSnapshotFile(const Snapshot& snapshot, const std::string& path, std::string& problem);

}  // namespace kvr9
