// Feeds arbitrary bytes to the lesson reader, snapshot section and all.
// Besides the sanitizers' findings it stops on a broken promise of the
// reader: an error that is not one line starting with the source's name
// and its line, a refused lesson that keeps anything, a lesson whose steps
// lack their checks, or one that keeps a snapshot's flight. Input with a
// line "=====" is also handed over as the page hands a lesson and the
// snapshot file picked for it: what that keeps must read again alone.
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

// The lesson and its picked snapshot, as the page opens them.
void CheckHandedOver(std::string_view text) {
  constexpr std::string_view kSplit = "\n=====\n";
  const std::size_t split = text.find(kSplit);
  if (split == std::string_view::npos) return;
  const kvr9::LessonTextOpened opened =
      kvr9::OpenLessonText(text.substr(0, split), text.substr(split + kSplit.size()), "fuzz");
  if (!opened.read.ok) {
    Check(opened.text.empty() && opened.read.error.find('\n') == std::string::npos);
    Check(opened.read.error.rfind("fuzz", 0) == 0);
    return;
  }
  Check(opened.text.size() <= kvr9::kLargestLessonBytes && opened.snapshotWanted.empty());
  const kvr9::LessonReadResult again = kvr9::ParseLesson(opened.text, "fuzz", {});
  Check(again.ok && again.lesson.steps.size() == opened.read.lesson.steps.size());
  Check(again.lesson.start == opened.read.lesson.start);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckHandedOver(text);
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
