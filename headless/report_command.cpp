#include "headless/report_command.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <optional>
#include <sstream>

#include "headless/junit_read.h"
#include "headless/junit_report.h"
#include "headless/lcd_png.h"
#include "headless/picture_files.h"
#include "headless/worker_pool.h"
#include "host/common/quote.h"
#include "host/common/read_file.h"
#include "host/snapshot/snapshot_image.h"

namespace kvr9::headless {

namespace {

std::filesystem::path FolderOf(const std::string& name) {
  return std::filesystem::path(name).parent_path();
}

// What running one scenario gives, wherever it ran.
struct ScenarioRun {
  ExitStatus status = kExitPassed;
  double seconds = 0;
  std::string output;
  std::string problems;
  std::optional<Snapshot> failingMoment;
};

ScenarioRun RunScenarioFile(const std::string& name, const PassWatch& watch) {
  ScenarioRun run;
  const auto start = std::chrono::steady_clock::now();
  const FileText scenario = ReadWholeFile(name, kLargestScenarioBytes);
  std::ostringstream output;
  std::ostringstream problems;
  if (scenario.ok) {
    PictureFiles pictures;
    run.status = RunScenarioText(scenario.text, name, FolderOf(name), output, problems,
                                 {nullptr, &run.failingMoment, &pictures, watch.afterEachPass});
    if (watch.scenarioOver) watch.scenarioOver();
  } else {
    run.status = kExitBadInput;
    problems << "kvr9-headless: cannot read scenario " << QuotedPath(name) << ": "
             << scenario.problem << '\n';
  }
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  run.output = output.str();
  run.problems = problems.str();
  return run;
}

// A run handed from a worker to the report, field by field; the failing
// moment as the snapshot's image, exact, since both ends are this same
// program.
std::string RunAsText(const ScenarioRun& run) {
  std::string text;
  PutField(text, std::to_string(static_cast<int>(run.status)));
  PutField(text, std::to_string(run.seconds));
  PutField(text, run.output);
  PutField(text, run.problems);
  PutField(text, run.failingMoment ? SnapshotImage(*run.failingMoment) : std::string());
  return text;
}

bool RunFromText(std::string_view text, ScenarioRun& run) {
  std::string status, seconds, moment;
  if (!TakeField(text, status) || !TakeField(text, seconds) || !TakeField(text, run.output) ||
      !TakeField(text, run.problems) || !TakeField(text, moment) || !text.empty()) {
    return false;
  }
  run.status = static_cast<ExitStatus>(std::clamp(std::atoi(status.c_str()), 0, 2));
  run.seconds = std::strtod(seconds.c_str(), nullptr);
  if (!moment.empty()) {
    Snapshot snapshot;
    if (!SnapshotFromImage(moment, snapshot)) return false;
    run.failingMoment = snapshot;
  }
  return true;
}

// The failing moment's files, beside the report: FOLDER/STEM.failed.json
// and .png, STEM the scenario's own name with a number added should two
// scenarios share it.
void KeepFailingMoment(const Snapshot& moment, const std::filesystem::path& folder,
                       const std::string& name, std::vector<std::string>& taken,
                       ScenarioResult& result, std::ostream& problems) {
  std::string stem = std::filesystem::path(name).stem().string();
  if (stem.empty()) stem = "scenario";
  std::string unique = stem;
  for (int n = 2; std::find(taken.begin(), taken.end(), unique) != taken.end(); ++n) {
    unique = stem + "-" + std::to_string(n);
  }
  taken.push_back(unique);
  std::error_code ignored;
  const std::filesystem::path base = std::filesystem::absolute(folder, ignored) / unique;
  const std::string state = base.string() + ".failed.json";
  const std::string picture = base.string() + ".failed.png";
  std::string problem;
  if (SaveMomentFile(moment, state, problem)) {
    result.attachments.push_back(state);
  } else {
    problems << "kvr9-headless: the failing moment: " << problem << '\n';
  }
  if (SaveFramePng(moment.panel.shownFrame, picture, kDefaultPngScale)) {
    result.attachments.push_back(picture);
  } else {
    problems << "kvr9-headless: the failing moment: cannot write " << QuotedPath(picture) << '\n';
  }
}

// A run as its testcase; what went wrong also goes to err, scenario by
// scenario in the order given.
ScenarioResult ResultOf(const std::string& name, const ScenarioRun& run,
                        const std::filesystem::path& reportFolder, std::vector<std::string>& taken,
                        std::ostream& err) {
  ScenarioResult result;
  result.name = name;
  result.status = run.status;
  result.seconds = run.seconds;
  std::ostringstream kept;
  if (run.failingMoment) {
    KeepFailingMoment(*run.failingMoment, reportFolder, name, taken, result, kept);
  }
  result.output = run.output;
  result.details = run.problems + kept.str();
  // The message is the failure's first line, past any reader's warnings.
  std::size_t first = 0;
  while (result.details.compare(first, 9, "warning: ") == 0) {
    const std::size_t end = result.details.find('\n', first);
    if (end == std::string::npos) break;
    first = end + 1;
  }
  result.message = result.details.substr(first, result.details.find('\n', first) - first);
  err << result.details;
  return result;
}

// A worker that did not hand back its run: the scenario's error.
ScenarioRun LostRun(const std::string& name, const std::string& why) {
  ScenarioRun run;
  run.status = kExitBadInput;
  run.problems = "kvr9-headless: scenario " + QuotedPath(name) + ": its worker " + why + '\n';
  return run;
}

// "K/N", 1 <= K <= N <= kMostShards.
constexpr std::uint32_t kMostShards = 1000;

bool ReadShard(const std::string& word, std::uint32_t& shard, std::uint32_t& shards) {
  const std::size_t slash = word.find('/');
  if (slash == std::string::npos) return false;
  const auto number = [](std::string_view digits, std::uint32_t& value) {
    const char* end = digits.data() + digits.size();
    const auto [at, problem] = std::from_chars(digits.data(), end, value);
    return problem == std::errc() && at == end && !digits.empty() && digits[0] != '+';
  };
  const std::string_view text(word);
  return number(text.substr(0, slash), shard) && number(text.substr(slash + 1), shards) &&
         shard >= 1 && shards >= 1 && shard <= shards && shards <= kMostShards;
}

// Which shard a scenario falls to: by its name alone (FNV-1a), so adding a
// file moves no other.
std::uint32_t ShardOf(const std::string& name, std::uint32_t shards) {
  std::uint32_t hash = 2166136261u;
  for (const char c : name) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 16777619u;
  }
  return hash % shards + 1;
}

}  // namespace

ExitStatus RunForReport(const std::string& report, const std::vector<std::string>& scenarios,
                        std::ostream& err, const PassWatch& watch, const ReportOptions& options) {
  // Found unwritable before anything runs, not after.
  if (!WriteJUnitReport(report, {})) {
    err << "kvr9-headless: cannot write report " << QuotedPath(report) << '\n';
    return kExitBadInput;
  }
  std::vector<ScenarioResult> results;
  std::vector<std::string> taken;
  ExitStatus worst = kExitPassed;
  const auto add = [&](std::size_t i, const ScenarioRun& run) {
    results.push_back(ResultOf(scenarios[i], run, FolderOf(report), taken, err));
    worst = std::max(worst, results.back().status);
  };
  if (options.workers == 0) {
    for (std::size_t i = 0; i < scenarios.size(); ++i) add(i, RunScenarioFile(scenarios[i], watch));
  } else {
    WorkerPlan plan;
    plan.jobs = scenarios.size();
    plan.workers = options.workers;
    plan.timeoutSeconds = options.timeoutSeconds;
    plan.work = [&](std::size_t i) { return RunAsText(RunScenarioFile(scenarios[i], watch)); };
    plan.done = [&](std::size_t i, WorkerOutcome outcome) {
      ScenarioRun run;
      if (!outcome.finished) {
        run = LostRun(scenarios[i], outcome.problem);
      } else if (!RunFromText(outcome.text, run)) {
        run = LostRun(scenarios[i], "handed back a damaged result");
      }
      add(i, run);
    };
    std::string problem;
    if (!RunInWorkers(plan, problem)) {
      err << "kvr9-headless: " << problem << '\n';
      return kExitBadInput;
    }
  }
  if (!WriteJUnitReport(report, results)) {
    err << "kvr9-headless: cannot write report " << QuotedPath(report) << '\n';
    return kExitBadInput;
  }
  return worst;
}

bool IsReportOption(const std::string& word) {
  return word == "--junit" || word == "--shard" || word == "--timeout" || word.rfind("-j", 0) == 0;
}

// [-j N] [--timeout SECONDS] [--shard K/N] --junit REPORT.xml SCENARIO...:
// with --shard, the scenarios of shard K of N, for N machines of a CI
// matrix that together run each exactly once.
ExitStatus RunReportCommand(const std::vector<std::string>& arguments, std::ostream& err) {
  ReportOptions options;
  bool timeoutGiven = false;
  std::uint32_t shard = 0;
  std::uint32_t shards = 0;
  std::size_t at = 0;
  while (at < arguments.size() && arguments[at] != "--junit") {
    const std::string& option = arguments[at];
    if (option.rfind("-j", 0) == 0) {
      if (!ReadWorkersOption(arguments, at, options.workers, err)) return kExitBadInput;
    } else if (option == "--timeout") {
      if (!ReadTimeoutOption(arguments, at, options.timeoutSeconds, err)) return kExitBadInput;
      timeoutGiven = true;
    } else if (option == "--shard") {
      if (at + 1 >= arguments.size() || !ReadShard(arguments[at + 1], shard, shards)) {
        err << "kvr9-headless: --shard needs K/N, 1 <= K <= N <= " << kMostShards << ", not "
            << Quoted(at + 1 < arguments.size() ? arguments[at + 1] : "") << '\n';
        return kExitBadInput;
      }
      at += 2;
    } else {
      err << "kvr9-headless: " << Quoted(option)
          << " here: -j, --timeout and --shard go before --junit REPORT.xml and the scenarios "
             "(try --help)\n";
      return kExitBadInput;
    }
  }
  if (at == arguments.size()) {
    err << "kvr9-headless: -j, --timeout and --shard go with --junit REPORT.xml and the "
           "scenarios (try --help)\n";
    return kExitBadInput;
  }
  if (arguments.size() - at < 3) {
    err << "kvr9-headless: --junit needs a report file and at least one scenario (try --help)\n";
    return kExitBadInput;
  }
  // A time-out is kept by a worker process, even a single one.
  if (timeoutGiven && options.workers == 0) options.workers = 1;
  const std::string& report = arguments[at + 1];
  std::vector<std::string> scenarios;
  for (std::size_t i = at + 2; i < arguments.size(); ++i) {
    if (shards == 0 || ShardOf(arguments[i], shards) == shard) scenarios.push_back(arguments[i]);
  }
  // A shard may hold none of the scenarios: its report is empty.
  if (scenarios.empty()) {
    if (!WriteJUnitReport(report, {})) {
      err << "kvr9-headless: cannot write report " << QuotedPath(report) << '\n';
      return kExitBadInput;
    }
    return kExitPassed;
  }
  return RunForReport(report, scenarios, err, {}, options);
}

// merge-junit OUT.xml IN.xml...: the shards' reports as one, the
// testcases in order of their names, as a shell's glob lists the files of
// an unsharded run. Nothing is written unless every report reads.
ExitStatus RunMergeJUnit(const std::vector<std::string>& arguments, std::ostream& err) {
  if (arguments.size() < 2) {
    err << "kvr9-headless: merge-junit needs the merged report and at least one report to join "
           "(try --help)\n";
    return kExitBadInput;
  }
  std::vector<ScenarioResult> merged;
  std::vector<std::size_t> fromReport;  // which report each case came from
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    JUnitRead read = ReadJUnitFile(arguments[i]);
    if (!read.ok) {
      err << "kvr9-headless: merge-junit: " << read.error << '\n';
      return kExitBadInput;
    }
    for (ScenarioResult& result : read.results) {
      merged.push_back(std::move(result));
      fromReport.push_back(i);
    }
  }
  std::vector<std::size_t> order(merged.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return merged[a].name < merged[b].name; });
  // A scenario in two shards' reports: the same shard joined twice, or
  // shards of two different splits.
  for (std::size_t i = 1; i < order.size(); ++i) {
    const std::size_t a = order[i - 1];
    const std::size_t b = order[i];
    if (merged[a].name == merged[b].name && fromReport[a] != fromReport[b]) {
      err << "kvr9-headless: merge-junit: " << Quoted(merged[b].name) << " is in both "
          << QuotedPath(arguments[fromReport[a]]) << " and " << QuotedPath(arguments[fromReport[b]])
          << '\n';
      return kExitBadInput;
    }
  }
  std::vector<ScenarioResult> sorted;
  ExitStatus worst = kExitPassed;
  for (const std::size_t i : order) {
    worst = std::max(worst, merged[i].status);
    sorted.push_back(std::move(merged[i]));
  }
  if (!WriteJUnitReport(arguments[0], sorted)) {
    err << "kvr9-headless: cannot write report " << QuotedPath(arguments[0]) << '\n';
    return kExitBadInput;
  }
  return worst;
}

}  // namespace kvr9::headless
