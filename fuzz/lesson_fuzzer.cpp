// Feeds arbitrary bytes to the lesson reader, snapshot section and all.
// Besides the sanitizers' findings it stops on a broken promise of the
// reader: an error that is not one line starting with the source's name
// and its line, a refused lesson that keeps anything, a lesson whose steps
// lack their checks, or one that keeps a snapshot's flight.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "host/lessons/lesson.h"

namespace {

void Check(bool promise) {
  if (!promise) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  // No folder of frame files: an expect-lcd check names a file not found.
  const kvr9::LessonReadResult read = kvr9::ParseLesson(text, "fuzz", "/nonexistent/kvr9-fuzz");
  if (!read.ok) {
    Check(read.line > 0 && read.error == "fuzz:" + std::to_string(read.line) + ": " + read.reason);
    Check(read.error.find('\n') == std::string::npos);
    Check(read.lesson.steps.empty() && read.lesson.checks.steps.empty());
    return 0;
  }
  Check(!read.lesson.title.empty() && !read.lesson.steps.empty());
  std::size_t next = 0;
  for (const kvr9::LessonStep& step : read.lesson.steps) {
    Check(!step.words.empty() && !step.hint.empty());
    Check(step.checkCount > 0 && step.firstCheck == next);
    next += step.checkCount;
  }
  Check(next == read.lesson.checks.steps.size());
  if (read.lesson.snapshotInline) {
    Check(read.lesson.start == kvr9::LessonStart::Snapshot && read.lesson.snapshotFile.empty());
  }
  Check(!read.lesson.snapshot.flight);
  return 0;
}
