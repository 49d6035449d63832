#include "host/lessons/lesson_snapshot.h"

#include "host/snapshot/snapshot_json.h"

namespace kvr9 {

bool ReadLessonSnapshot(const std::filesystem::path& path, Snapshot& snapshot,
                        std::string& problem) {
  SnapshotReadResult read = ReadSnapshotFile(path.string());
  if (!read.ok) {
    problem = std::move(read.error);
    return false;
  }
  snapshot = std::move(read.snapshot);
  return true;
}

bool ReadLessonSnapshotText(std::string_view text, const std::string& name, Snapshot& snapshot,
                            std::string& problem) {
  SnapshotReadResult read = ReadSnapshot(text, name);
  if (!read.ok) {
    problem = std::move(read.error);
    return false;
  }
  snapshot = std::move(read.snapshot);
  return true;
}

}  // namespace kvr9
