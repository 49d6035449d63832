#include "host/lessons/lesson.h"

#include <algorithm>
#include <array>

#include "host/common/quote.h"
#include "host/common/read_file.h"
#include "host/lessons/lesson_snapshot.h"
#include "host/scenario/nearest_word.h"

namespace kvr9 {

namespace {

// The steps of the scenario language that look at the instrument without
// moving it: the only ones a lesson may check with.
constexpr std::array<const char*, 5> kCheckWords = {"expect", "expect-text", "expect-led",
                                                    "expect-lcd", "expect-comm"};

constexpr const char* kBlanks = " \t\r\v\f";

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// Lesson words are shown by the window and the page: UTF-8 without
// control characters (a tab aside).
std::string TextProblem(std::string_view line) {
  std::size_t at = 0;
  while (at < line.size()) {
    const auto c = static_cast<unsigned char>(line[at]);
    if (c < 0x80) {
      if ((c < 0x20 && c != '\t' && c != '\r') || c == 0x7f) {
        return "a control character " + Quoted(line.substr(at, 1)) + " in the line";
      }
      ++at;
      continue;
    }
    const std::size_t length = c >= 0xf0 && c <= 0xf4 ? 4 : c >= 0xe0 ? 3 : c >= 0xc2 ? 2 : 0;
    bool valid = length > 0 && at + length <= line.size() && !(c >= 0xf0 && length != 4);
    for (std::size_t i = 1; valid && i < length; ++i) {
      valid = (static_cast<unsigned char>(line[at + i]) & 0xc0) == 0x80;
    }
    if (valid && length == 3) {
      const auto next = static_cast<unsigned char>(line[at + 1]);
      valid = !(c == 0xe0 && next < 0xa0) && !(c == 0xed && next >= 0xa0);
    }
    if (valid && length == 4) {
      const auto next = static_cast<unsigned char>(line[at + 1]);
      valid = !(c == 0xf0 && next < 0x90) && !(c == 0xf4 && next >= 0x90);
    }
    if (!valid) return "the line is not UTF-8 text (byte " + Quoted(line.substr(at, 1)) + ")";
    at += length;
  }
  return {};
}

// The snapshot reader names a field as the JSON spells it, and a key may
// hold an escaped line break: the lesson's fault stays one line.
std::string OneLine(std::string_view text) {
  std::string line;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    line += byte < 0x20 || byte == 0x7f ? Clipped(std::string_view(&c, 1)) : std::string(1, c);
  }
  return line;
}

struct LessonReader {
  const std::string& source;
  const std::filesystem::path& baseDir;
  Lesson& lesson;
  int titleLine = 0;
  int startLine = 0;
  LessonStep* step = nullptr;  // the step being read
  int hintLine = 0;            // of the step being read
  int controlLine = 0;
  int snapshotLine = 0;  // of the "snapshot" section, which ends the lesson
  std::string error;
  int errorLine = 0;
  std::string reason;

  bool Fail(int line, const std::string& message) {
    error = source + ":" + std::to_string(line) + ": " + message;
    errorLine = line;
    reason = message;
    return false;
  }

  // The step before a new one, or the last, must be whole.
  bool FinishStep() {
    if (step == nullptr) return true;
    const char* missing = hintLine == 0           ? "hint"
                          : controlLine == 0      ? "control"
                          : step->checkCount == 0 ? "check"
                                                  : nullptr;
    if (missing != nullptr)
      return Fail(step->line, "the step has no " + std::string(missing) + " line");
    return true;
  }

  bool Title(int line, std::string_view text) {
    if (titleLine != 0) {
      return Fail(line, "a second title (the first is on line " + std::to_string(titleLine) + ")");
    }
    titleLine = line;
    lesson.title = text;
    return true;
  }

  bool Start(int line, std::string_view text) {
    if (startLine != 0) {
      return Fail(line, "a second start (the first is on line " + std::to_string(startLine) + ")");
    }
    startLine = line;
    if (text == "defaults") {
      lesson.start = LessonStart::Defaults;
      return true;
    }
    constexpr std::string_view kSnapshot = "snapshot";
    if (text.starts_with(kSnapshot) &&
        (text.size() == kSnapshot.size() || IsBlank(text[kSnapshot.size()]))) {
      return FromSnapshot(line, Trimmed(text.substr(kSnapshot.size())));
    }
    return Fail(line,
                "unknown start " + Quoted(text) +
                    ": use 'start defaults', 'start snapshot FILE' or 'start snapshot inline'");
  }

  // Read and checked now, so that a lesson that reads starts. "inline" is
  // the snapshot section at the lesson's end, read when the reader gets
  // there (a file of that name is "./inline").
  bool FromSnapshot(int line, std::string_view file) {
    if (file.empty()) return Fail(line, "'start snapshot' needs the snapshot's file after it");
    if (file == "inline") {
      lesson.start = LessonStart::Snapshot;
      lesson.snapshotInline = true;
      return true;
    }
    const std::filesystem::path path = baseDir / std::filesystem::path(file);
    std::string problem;
    if (!ReadLessonSnapshot(path, lesson.snapshot, problem)) {
      return Fail(line, "the snapshot " + OneLine(problem));
    }
    lesson.snapshot.flight.reset();
    lesson.snapshotFile = path;
    lesson.start = LessonStart::Snapshot;
    return true;
  }

  // The rest of the text after the "snapshot" line is the snapshot's JSON,
  // read by the snapshot reader under its own caps. It is given the
  // lesson's line numbers (blank lines stand for those before it), so that
  // a JSON fault names the lesson's own line.
  bool InlineSnapshot(std::string_view json) {
    if (startLine == 0 || !lesson.snapshotInline) {
      return Fail(snapshotLine,
                  "a snapshot section, but the lesson does not start with 'start snapshot inline'");
    }
    if (json.find_first_not_of(" \t\r\n\v\f") == std::string_view::npos) {
      return Fail(snapshotLine, "the snapshot section is empty: the snapshot's JSON goes below it");
    }
    std::string numbered(static_cast<std::size_t>(snapshotLine), '\n');
    numbered.append(json);
    std::string problem;
    if (!ReadLessonSnapshotText(numbered, "the snapshot", lesson.snapshot, problem)) {
      return Fail(snapshotLine, OneLine(problem));
    }
    lesson.snapshot.flight.reset();
    return true;
  }

  bool NewStep(int line, std::string_view text) {
    if (!FinishStep()) return false;
    LessonStep& added = lesson.steps.emplace_back();
    added.line = line;
    added.words = text;
    added.firstCheck = lesson.checks.steps.size();
    step = &added;
    hintLine = 0;
    controlLine = 0;
    return true;
  }

  bool InStep(int line, const char* word) {
    if (step != nullptr) return true;
    return Fail(line, Quoted(word) + " before the first step");
  }

  bool Hint(int line, std::string_view text) {
    if (!InStep(line, "hint")) return false;
    if (hintLine != 0) {
      return Fail(line, "a second hint for the step (the first is on line " +
                            std::to_string(hintLine) + ")");
    }
    hintLine = line;
    step->hint = text;
    return true;
  }

  bool Control(int line, std::string_view text) {
    if (!InStep(line, "control")) return false;
    if (controlLine != 0) {
      return Fail(line, "a second control for the step (the first is on line " +
                            std::to_string(controlLine) + ")");
    }
    std::vector<std::string_view> known;
    for (const ControlWordEntry& named : ControlWords()) {
      if (text == named.word) {
        controlLine = line;
        step->control = named.control;
        return true;
      }
      known.emplace_back(named.word);
    }
    std::string usage;
    for (const ControlWordEntry& named : ControlWords())
      usage += (usage.empty() ? "" : ", ") + std::string(named.word);
    const std::string near = NearestWord(text, known);
    return Fail(line,
                "unknown control " + Quoted(text) +
                    (near.empty() ? ": use one of " + usage : ": did you mean " + near + "?"));
  }

  // The check is a line of the scenario language, parsed by its own parser.
  bool Check(int line, std::string_view text) {
    if (!InStep(line, "check")) return false;
    const std::string_view word =
        text.substr(0, std::min(text.find_first_of(kBlanks), text.size()));
    bool looks = false;
    for (const char* check : kCheckWords) looks = looks || word == check;
    if (!looks) {
      return Fail(line,
                  "a check is expect, expect-text, expect-led, expect-lcd or expect-comm, not " +
                      Quoted(word));
    }
    std::string problem;
    if (!ParseScenarioLine(text, line, lesson.checks, baseDir, problem)) {
      return Fail(line, problem);
    }
    ++step->checkCount;
    return true;
  }
};

using LineParser = bool (LessonReader::*)(int, std::string_view);

struct LineSyntax {
  const char* word;
  LineParser parse;
};

constexpr std::array<LineSyntax, 6> kLines = {{
    {"title", &LessonReader::Title},
    {"start", &LessonReader::Start},
    {"step", &LessonReader::NewStep},
    {"hint", &LessonReader::Hint},
    {"control", &LessonReader::Control},
    {"check", &LessonReader::Check},
}};

bool ReadLine(LessonReader& reader, int number, std::string_view line) {
  const std::string problem = TextProblem(line);
  if (!problem.empty()) return reader.Fail(number, problem);
  const std::string_view content = Trimmed(line);
  if (content.empty() || content[0] == '#') return true;
  const std::size_t end = std::min(content.find_first_of(kBlanks), content.size());
  const std::string_view word = content.substr(0, end);
  const std::string_view text = Trimmed(content.substr(end));
  // The section that ends the lesson: its JSON follows.
  if (word == "snapshot") {
    if (!text.empty()) {
      return reader.Fail(number,
                         "'snapshot' stands alone on its line: the snapshot's JSON goes below it");
    }
    reader.snapshotLine = number;
    return true;
  }
  std::vector<std::string_view> known;
  for (const LineSyntax& syntax : kLines) {
    if (word == syntax.word) {
      if (text.empty()) return reader.Fail(number, Quoted(word) + " needs a text after it");
      return (reader.*syntax.parse)(number, text);
    }
    known.emplace_back(syntax.word);
  }
  return reader.Fail(
      number, "unknown line " + Quoted(word) +
                  ": a lesson has title, start, step, hint, control and check lines, and may end "
                  "with a snapshot section" +
                  DidYouMean(word, known));
}

// The line "start snapshot FILE" (FILE not "inline") before any snapshot
// section: where it is in the text and what it names.
struct SnapshotStart {
  std::size_t at = std::string_view::npos;
  std::size_t length = 0;
  int line = 0;
  std::string_view file;
};

SnapshotStart FindSnapshotStart(std::string_view text) {
  SnapshotStart found;
  std::size_t at = 0;
  int number = 0;
  while (at < text.size()) {
    std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    ++number;
    const std::string_view content = Trimmed(text.substr(at, end - at));
    const std::size_t wordEnd = std::min(content.find_first_of(kBlanks), content.size());
    const std::string_view word = content.substr(0, wordEnd);
    if (word == "snapshot") break;
    if (word == "start") {
      const std::string_view rest = Trimmed(content.substr(wordEnd));
      constexpr std::string_view kSnapshot = "snapshot";
      if (rest.size() > kSnapshot.size() && rest.starts_with(kSnapshot) &&
          IsBlank(rest[kSnapshot.size()])) {
        const std::string_view file = Trimmed(rest.substr(kSnapshot.size()));
        if (file != "inline") found = {at, end - at, number, file};
      }
      break;
    }
    at = end + 1;
  }
  return found;
}

LessonReadResult TooLarge(const std::string& name) {
  LessonReadResult result;
  result.reason = "larger than " + std::to_string(kLargestLessonBytes) + " bytes";
  result.error = Clipped(name, kLongestQuotedPath) + ": " + result.reason;
  return result;
}

}  // namespace

bool StartsSwitchedOff(const Lesson& lesson) {
  return lesson.start == LessonStart::Defaults && !lesson.steps.empty() &&
         lesson.steps.front().control == PanelControl::On;
}

LessonReadResult ParseLesson(std::string_view text, const std::string& source,
                             const std::filesystem::path& baseDir) {
  LessonReadResult result;
  Lesson& lesson = result.lesson;
  lesson.checks.source = source;
  LessonReader reader{source, baseDir, lesson, 0, 0, nullptr, 0, 0, 0, {}, 0, {}};
  int number = 0;
  std::size_t at = 0;
  bool ok = true;
  while (ok && at < text.size() && reader.snapshotLine == 0) {
    std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    ++number;
    ok = ReadLine(reader, number, text.substr(at, end - at));
    at = end + 1;
  }
  ok = ok && reader.FinishStep();
  if (ok && reader.snapshotLine != 0) {
    ok = reader.InlineSnapshot(text.substr(std::min(at, text.size())));
  } else if (ok && lesson.snapshotInline) {
    ok =
        reader.Fail(reader.startLine,
                    "'start snapshot inline', but the lesson does not end with a snapshot section");
  }
  if (ok && reader.titleLine == 0) ok = reader.Fail(1, "the lesson has no title line");
  if (ok && reader.startLine == 0)
    ok = reader.Fail(reader.titleLine, "the lesson has no start line");
  if (ok && lesson.steps.empty())
    ok = reader.Fail(number == 0 ? 1 : number, "the lesson has no steps");
  if (!ok) {
    result.error = reader.error;
    result.line = reader.errorLine;
    result.reason = reader.reason;
    result.lesson = Lesson{};
    return result;
  }
  result.ok = true;
  return result;
}

LessonReadResult ReadLessonFile(const std::filesystem::path& path) {
  const std::string name = path.string();
  const FileText file = ReadWholeFile(name, kLargestLessonBytes);
  if (!file.ok) {
    LessonReadResult result;
    result.reason = "cannot read the lesson: " + file.problem;
    result.error = Clipped(name, kLongestQuotedPath) + ": " + result.reason;
    return result;
  }
  return ParseLesson(file.text, Clipped(name, kLongestQuotedPath), path.parent_path());
}

std::string LessonRefusal(const LessonReadResult& read, const std::string& name) {
  std::string sentence = "The lesson " + Clipped(name, kLongestQuotedPath) + " was not started: ";
  if (read.line > 0) sentence += "on line " + std::to_string(read.line) + ", ";
  sentence += read.reason;
  const char last = sentence.back();
  if (last != '.' && last != '?' && last != '!') sentence += '.';
  return sentence;
}

LessonTextOpened OpenLessonText(std::string_view text, std::string_view snapshotText,
                                const std::string& name) {
  LessonTextOpened opened;
  if (text.size() > kLargestLessonBytes) {
    opened.read = TooLarge(name);
    return opened;
  }
  opened.text = text;
  const SnapshotStart start = FindSnapshotStart(text);
  if (start.at != std::string_view::npos) {
    if (snapshotText.empty()) {
      opened.snapshotWanted = start.file;
      opened.read.line = start.line;
      opened.read.reason =
          "it starts from the snapshot " + Quoted(start.file) + ", which must be opened with it";
      opened.read.error = name + ":" + std::to_string(start.line) + ": " + opened.read.reason;
      opened.text.clear();
      return opened;
    }
    // Its faults name the snapshot's file and the lesson's start line, as
    // they would with the file beside the lesson.
    Snapshot snapshot;
    std::string problem;
    if (!ReadLessonSnapshotText(snapshotText, std::string(start.file), snapshot, problem)) {
      opened.read.line = start.line;
      opened.read.reason = "the snapshot " + OneLine(problem);
      opened.read.error = name + ":" + std::to_string(start.line) + ": " + opened.read.reason;
      opened.text.clear();
      return opened;
    }
    opened.text.replace(start.at, start.length, "start snapshot inline");
    if (!opened.text.empty() && opened.text.back() != '\n') opened.text += '\n';
    opened.text += "snapshot\n";
    opened.text += snapshotText;
    if (opened.text.size() > kLargestLessonBytes) {
      opened.read = TooLarge(name);
      opened.read.reason = "with its snapshot " + opened.read.reason;
      opened.read.error = Clipped(name, kLongestQuotedPath) + ": " + opened.read.reason;
      opened.text.clear();
      return opened;
    }
  }
  opened.read = ParseLesson(opened.text, name, {});
  if (!opened.read.ok) opened.text.clear();
  return opened;
}

}  // namespace kvr9
