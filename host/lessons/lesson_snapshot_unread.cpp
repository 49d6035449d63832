// Built where the snapshot's text side is not: the page, whose snapshot
// reader is a module of its own.
#include "host/common/quote.h"
#include "host/lessons/lesson_snapshot.h"

namespace kvr9 {

bool ReadLessonSnapshot(const std::filesystem::path& path, Snapshot& /*snapshot*/,
                        std::string& problem) {
  problem = QuotedPath(path.string()) + ": snapshots are not read here";
  return false;
}

}  // namespace kvr9
