// The snapshot a lesson starts from, read and checked whole with the
// lesson.
#pragma once

#include <filesystem>
#include <string>

#include "host/snapshot/snapshot.h"

namespace kvr9 {

// False, with a one-line reason naming the file, when it cannot be read or
// does not hold a snapshot.
bool ReadLessonSnapshot(const std::filesystem::path& path, Snapshot& snapshot,
                        std::string& problem);

}  // namespace kvr9
