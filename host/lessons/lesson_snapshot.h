// The snapshot a lesson starts from, read and checked whole with the
// lesson.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "host/snapshot/snapshot.h"

namespace kvr9 {

// False, with a one-line reason naming the file, when it cannot be read or
// does not hold a snapshot.
bool ReadLessonSnapshot(const std::filesystem::path& path, Snapshot& snapshot,
                        std::string& problem);
// The same for the snapshot's JSON inside the lesson, under the snapshot
// reader's own caps; the reason starts with name.
bool ReadLessonSnapshotText(std::string_view text, const std::string& name, Snapshot& snapshot,
                            std::string& problem);

}  // namespace kvr9
