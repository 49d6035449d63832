#include "headless/check_lesson_command.h"

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <string_view>

#include "host/common/quote.h"
#include "host/common/read_file.h"
#include "host/lessons/lesson.h"
#include "host/lessons/lesson_run.h"
#include "host/rig/panel_rig.h"
#include "host/scenario/scenario.h"

namespace kvr9::headless {

namespace {

constexpr const char* kUsage = " (usage: check-lesson FILE [SOLUTION.scn])";

// The rig the solution runs on, kept here so that the lesson followed can
// be looked at after the run: it hands the frames and the pass ends on to
// the executor, as the agent server's does.
class SolutionView final : public RigView {
 public:
  ScenarioExecutor* executor = nullptr;
  void ShowFrame(const FrameBuffer& frame, bool changed) override {
    if (executor != nullptr) executor->ShowFrame(frame, changed);
  }
  void PassEnded() override {
    if (executor != nullptr) executor->PassEnded();
  }
};

std::string_view Trimmed(std::string_view text) {
  constexpr const char* kBlanks = " \t\r\v\f";
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// A check line's step as written, blanks between its words made one: two
// checks that read alike are alike.
std::string CheckText(const std::vector<std::string_view>& lines, int line) {
  if (line < 1 || static_cast<std::size_t>(line) > lines.size()) return {};
  std::string_view text = Trimmed(lines[static_cast<std::size_t>(line) - 1]);
  text = Trimmed(text.substr(std::min(text.find_first_of(" \t"), text.size())));  // "check"
  std::string words;
  bool blank = false;
  for (const char c : text) {
    const bool isBlank = c == ' ' || c == '\t';
    if (!isBlank && blank && !words.empty()) words += ' ';
    if (!isBlank) words += c;
    blank = isBlank;
  }
  return words;
}

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    lines.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  return lines;
}

// What reads but cannot teach: a check written twice in a step, and a step
// that checks nothing its step before did not (it holds as it comes up,
// since the step before passed only when all its checks held).
std::size_t ReportStaticFaults(const Lesson& lesson, std::string_view text,
                               const std::string& source, std::ostream& out) {
  const std::vector<std::string_view> lines = Lines(text);
  std::size_t faults = 0;
  std::vector<std::string> before;
  for (std::size_t s = 0; s < lesson.steps.size(); ++s) {
    const LessonStep& step = lesson.steps[s];
    std::vector<std::string> checks;
    for (std::size_t i = 0; i < step.checkCount; ++i) {
      const int line = lesson.checks.steps[step.firstCheck + i].line;
      std::string check = CheckText(lines, line);
      for (std::size_t j = 0; j < checks.size(); ++j) {
        if (checks[j] != check) continue;
        out << source << ':' << line << ": the check repeats line "
            << lesson.checks.steps[step.firstCheck + j].line << " of the same step\n";
        ++faults;
        break;
      }
      checks.push_back(std::move(check));
    }
    const bool allBefore = s > 0 && std::all_of(checks.begin(), checks.end(), [&](const auto& c) {
                             return std::find(before.begin(), before.end(), c) != before.end();
                           });
    if (allBefore) {
      out << source << ':' << step.line << ": step " << s + 1 << " checks nothing step " << s
          << " does not: its checks hold as it comes up, and any input finishes it\n";
      ++faults;
    }
    before = std::move(checks);
  }
  return faults;
}

// The solution follows FILE: its own "lesson" line, if any, is where the
// lesson starts (and is to be finished, "unfinished" or not); without one
// the lesson starts before its first step.
void FollowTheLesson(Scenario& solution, const std::string& file) {
  const auto lesson = std::find_if(solution.steps.begin(), solution.steps.end(),
                                   [](const Step& step) { return step.kind == StepKind::Lesson; });
  if (lesson != solution.steps.end()) {
    lesson->on = false;
    solution.files[lesson->detail] = {file, file, {}};
    return;
  }
  Step step;
  step.line = 1;
  step.kind = StepKind::Lesson;
  step.detail = static_cast<std::uint32_t>(solution.files.size());
  solution.files.push_back({file, file, {}});
  solution.steps.insert(solution.steps.begin(), step);
}

// Runs the solution on a rig of its own and reports the steps it finished
// that taught nothing; the run's own messages say where it stopped.
ExitStatus RunSolution(const Lesson& lesson, const std::string& file, const std::string& name,
                       std::ostream& out, std::ostream& err) {
  const FileText text = ReadWholeFile(name, kLargestScenarioBytes);
  if (!text.ok) {
    err << "kvr9-headless: check-lesson: cannot read the solution " << QuotedPath(name) << ": "
        << text.problem << '\n';
    return kExitBadInput;
  }
  ParseOutcome parsed = ParseScenario(text.text, name, std::filesystem::path(name).parent_path());
  if (!parsed.ok) {
    err << parsed.error << '\n';
    return kExitBadInput;
  }
  FollowTheLesson(parsed.scenario, file);
  SolutionView view;
  PanelRig rig(view);
  ExitStatus status = kExitPassed;
  {
    ScenarioExecutor executor(parsed.scenario, rig, out, err);
    view.executor = &executor;
    status = executor.Run();
    view.executor = nullptr;
  }
  if (status == kExitBadInput) return status;
  const LessonRun* run = rig.FollowedLesson();
  const std::size_t passed = run == nullptr ? 0 : run->StepsPassed();
  std::size_t idle = 0;
  for (std::size_t s = 0; s < passed; ++s) {
    if (!run->HeldAsItCameUp(s)) continue;
    out << Clipped(file, kLongestQuotedPath) << ':' << lesson.steps[s].line << ": step " << s + 1
        << " teaches nothing: its checks all held as it came up, so the solution's next input "
           "finished it\n";
    ++idle;
  }
  const bool finished = run != nullptr && run->Done();
  out << (finished ? "the solution finishes the lesson" : "the solution does not finish the lesson")
      << '\n';
  return status == kExitPassed && finished && idle == 0 ? kExitPassed : kExitExpectationFailed;
}

}  // namespace

ExitStatus RunCheckLessonCommand(const std::vector<std::string>& arguments, std::ostream& out,
                                 std::ostream& err) {
  if (arguments.empty() || arguments.size() > 2) {
    err << "kvr9-headless: check-lesson needs a lesson file and at most a solution" << kUsage
        << '\n';
    return kExitBadInput;
  }
  for (const std::string& argument : arguments) {
    if (argument.size() > 1 && argument[0] == '-') {
      err << "kvr9-headless: check-lesson: unknown option " << Quoted(argument) << kUsage << '\n';
      return kExitBadInput;
    }
  }
  const std::string& file = arguments[0];
  const FileText text = ReadWholeFile(file, kLargestLessonBytes);
  const std::string source = Clipped(file, kLongestQuotedPath);
  // A lesson past the reader's size is the lesson's fault; one that cannot
  // be opened is the argument's.
  if (!text.ok && text.problem.rfind("larger than", 0) != 0) {
    err << "kvr9-headless: check-lesson: cannot read the lesson " << QuotedPath(file) << ": "
        << text.problem << '\n';
    return kExitBadInput;
  }
  if (!text.ok) {
    out << source << ": cannot read the lesson: " << text.problem << '\n';
    return kExitExpectationFailed;
  }
  const LessonReadResult read =
      ParseLesson(text.text, source, std::filesystem::path(file).parent_path());
  if (!read.ok) {
    out << read.error << '\n';
    return kExitExpectationFailed;
  }
  const std::size_t faults = ReportStaticFaults(read.lesson, text.text, source, out);
  ExitStatus status = faults == 0 ? kExitPassed : kExitExpectationFailed;
  if (arguments.size() == 2) {
    status = std::max(status, RunSolution(read.lesson, file, arguments[1], out, err));
  } else if (faults == 0) {
    const std::size_t steps = read.lesson.steps.size();
    out << source << ": " << steps << (steps == 1 ? " step" : " steps") << ", no faults found\n";
  }
  return status;
}

}  // namespace kvr9::headless
