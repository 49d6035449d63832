// A lesson: a short task on the instrument in plain words, step by step.
// Each step says what to do, checks the live instrument with the scenario
// language's expect steps, and has a hint naming the control to use next.
// Lessons are plain text files that instructors and dealers write; the
// reader checks the whole file before anything is used.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "host/panel/panel_words.h"
#include "host/scenario/scenario.h"
#include "host/snapshot/snapshot.h"

namespace kvr9 {

// Where a lesson begins.
enum class LessonStart : std::uint8_t {
  Defaults,  // the instrument as power-on leaves it: every setting at its default
  Snapshot,  // a saved instrument: the lesson's snapshot
};

// The control a step's hint names (PanelControl) and its word are the
// panel's words (host/panel/panel_words.h).

struct LessonStep {
  int line = 0;       // of its "step" line
  std::string words;  // what to do, in plain words
  std::string hint;   // how, naming the control
  PanelControl control = PanelControl::Knob;
  // Its checks: checks.steps[firstCheck, firstCheck + checkCount), all of
  // which must hold.
  std::size_t firstCheck = 0;
  std::size_t checkCount = 0;
};

struct Lesson {
  std::string title;
  LessonStart start = LessonStart::Defaults;
  // A start from a snapshot: its file, found from the lesson's folder, and
  // the instrument and panel it holds, read and checked with the lesson.
  // A flight in it is left out: a lesson takes the instrument, not the
  // flight. A snapshot inside the lesson ("start snapshot inline", its
  // JSON in the "snapshot" section that ends the file) has no file of its
  // own: snapshotFile is empty.
  std::filesystem::path snapshotFile;
  bool snapshotInline = false;
  Snapshot snapshot;
  std::vector<LessonStep> steps;
  // The expect steps of every step, in the scenario language; its source
  // is the lesson's, for messages.
  Scenario checks;
};

// A lesson from the defaults whose first step is to use "ON" starts with
// the instrument switched off, for the person to switch it on; any other
// lesson from the defaults starts with it switched on afresh.
bool StartsSwitchedOff(const Lesson& lesson);

// A lesson file is refused past this size unread: a lesson is a page or
// two of words, and the largest built-in one is a few KB.
inline constexpr std::size_t kLargestLessonBytes = 64 * 1024;

struct LessonReadResult {
  bool ok = false;
  Lesson lesson;
  std::string error;   // one line, "source:line: what is wrong" (or "source: ...")
  int line = 0;        // the line at fault; 0 for a file that cannot be read
  std::string reason;  // what is wrong, without the source and the line
};

// Relative frame files of expect-lcd checks, and the snapshot a lesson
// starts from, are taken from baseDir.
LessonReadResult ParseLesson(std::string_view text, const std::string& source,
                             const std::filesystem::path& baseDir);
// The file read whole, up to kLargestLessonBytes, and parsed; its folder
// is the base of the frame and snapshot files.
LessonReadResult ReadLessonFile(const std::filesystem::path& path);

// A refused lesson as a person is told, in one sentence that names the
// file by the name given and the line at fault:
// "The lesson mine.lesson was not started: on line 12, unknown control
// 'Knobb': did you mean knob?"
std::string LessonRefusal(const LessonReadResult& read, const std::string& name);

// A lesson handed over as text by a program that reads no folders (the
// page): a snapshot it starts from by file name comes as the text of the
// file the person picked, and goes inside the lesson ("start snapshot
// inline" and its section), so that the text kept, shared and followed is
// whole. The lesson's cap holds for the whole text.
struct LessonTextOpened {
  LessonReadResult read;
  std::string text;            // the lesson as read, its snapshot inside
  std::string snapshotWanted;  // the file its start names, when none came with it
};
LessonTextOpened OpenLessonText(std::string_view text, std::string_view snapshotText,
                                const std::string& name);

}  // namespace kvr9
