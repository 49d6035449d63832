#include "headless/sweep_command.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string_view>

#include "headless/junit_report.h"
#include "headless/picture_files.h"
#include "headless/worker_pool.h"
#include "host/common/quote.h"
#include "host/common/read_file.h"
#include "host/flights/flight_player.h"
#include "host/flights/flight_summary.h"
#include "host/scenario/scenario.h"

namespace kvr9::headless {

namespace {

namespace fs = std::filesystem;

struct SweepArguments {
  std::vector<std::string> inputs;  // folders and logs, as given
  std::string csv;
  std::string junit;
  std::string from;
  std::string scenario;
  unsigned workers = 0;       // 0: every log flown here, one by one
  double timeoutSeconds = 0;  // a worker's longest log; 0 for none
};

// What every log is flown with: a scenario whose "fly LOG" flies it.
struct SweepPlan {
  std::string scenarioText;  // empty: the instrument's defaults, switched on at the log's start
  std::string scenarioName;
  fs::path baseDir = ".";
  std::optional<Snapshot> from;
};

// One log's row, as a worker hands it back.
struct SweepRow {
  ExitStatus status = kExitPassed;
  std::string csv;      // the CSV line, without its end
  std::string message;  // the first line of what went wrong
  std::string details;  // all of it
  std::string output;   // what a --scenario's show steps printed
  double seconds = 0;
};

// ---------------------------------------------------------------------------
// The row through a worker's pipe, field by field.

std::string RowText(const SweepRow& row) {
  std::string text;
  PutField(text, std::to_string(static_cast<int>(row.status)));
  PutField(text, row.csv);
  PutField(text, row.message);
  PutField(text, row.details);
  PutField(text, row.output);
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%.6f", row.seconds);
  PutField(text, seconds);
  return text;
}

bool ReadRow(std::string_view text, SweepRow& row) {
  std::string status;
  std::string seconds;
  if (!TakeField(text, status) || !TakeField(text, row.csv) || !TakeField(text, row.message) ||
      !TakeField(text, row.details) || !TakeField(text, row.output) || !TakeField(text, seconds) ||
      !text.empty()) {
    return false;
  }
  if (status != "0" && status != "1" && status != "2") return false;
  row.status = static_cast<ExitStatus>(status[0] - '0');
  row.seconds = std::strtod(seconds.c_str(), nullptr);
  return true;
}

// ---------------------------------------------------------------------------
// The CSV row.

std::string CsvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

// A log that could not be flown: its name, its reason, the columns between
// empty (or the summary's, when the log itself was read).
std::string ProblemRow(const std::string& log, const std::string& summary,
                       const std::string& reason) {
  return CsvField(log) + "," + (summary.empty() ? ",," : summary) + ",,,,,,," + CsvField(reason);
}

SweepRow RefusedRow(const std::string& log, const std::string& reason) {
  SweepRow row;
  row.status = kExitBadInput;
  row.csv = ProblemRow(log, {}, reason);
  row.message = reason;
  row.details = reason + "\n";
  return row;
}

// MAX VALUES are kept in the units shown; the CSV's are feet and mph.
long MaxAltitudeFt(const InstrumentState& state) {
  const std::int32_t shown = state.airData.maxAltitude;
  return state.settings.altUnit == 1 ? std::lround(shown * kFeetPerMetre) : shown;
}

long MaxAirspeedMph(const InstrumentState& state) {
  const double shown = state.airData.maxAirspeed;
  switch (state.settings.asiUnit) {
    case 1:
      return std::lround(shown * kMphPerKmh);
    case 2:
      return std::lround(shown * kMphPerKnot);
    default:
      return std::lround(shown);
  }
}

// What the firmware does while the log flies, watched pass by pass: an
// alarm or a flight already raised at the log's first pass counts as
// raised there.
class FlightWatch {
 public:
  void Pass(const Instrument& instrument, std::optional<double> flown) {
    if (!flown) return;  // the log has not started: the scenario's own passes
    const bool alarm = instrument.state.airData.alarmActive != 0;
    const bool flying = instrument.state.flightTimer.inFlight != 0;
    if (alarm && !alarm_) {
      ++alarms_;
      if (!firstAlarm_) firstAlarm_ = *flown;
    }
    if (flying && !flying_) ++flights_;
    alarm_ = alarm;
    flying_ = flying;
  }

  std::string Columns(const Instrument& instrument) const {
    const InstrumentState& state = instrument.state;
    const FlightTimer& timer = state.flightTimer;
    const long timerSeconds =
        timer.flightHours * 3600L + timer.flightMinutes * 60L + timer.flightSeconds;
    char first[32] = "";
    if (firstAlarm_) std::snprintf(first, sizeof first, "%.1f", *firstAlarm_);
    return std::to_string(MaxAltitudeFt(state)) + "," + std::to_string(MaxAirspeedMph(state)) +
           "," + std::to_string(alarms_) + "," + first + "," + std::to_string(flights_) + "," +
           std::to_string(timerSeconds);
  }

 private:
  bool alarm_ = false;
  bool flying_ = false;
  long alarms_ = 0;
  long flights_ = 0;
  std::optional<double> firstAlarm_;
};

// The default scenario's place ("sweep:5: ") names nothing the person
// wrote: its messages go without it.
constexpr const char* kOwnSource = "sweep";

std::string WithoutOwnPlace(std::string_view text) {
  const std::string own = std::string(kOwnSource) + ":";
  std::string kept;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    const bool ended = end != std::string_view::npos;
    if (!ended) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    const std::size_t warning = line.rfind("warning: ", 0) == 0 ? 9 : 0;
    kept += line.substr(0, warning);
    line.remove_prefix(warning);
    const std::size_t place = line.find(": ");
    if (line.rfind(own, 0) == 0 && place != std::string_view::npos) line.remove_prefix(place + 2);
    kept += line;
    if (ended) kept += '\n';
  }
  return kept;
}

// What went wrong: the first line past the readers' warnings.
std::string FirstProblem(const std::string& details) {
  std::size_t first = 0;
  while (details.compare(first, 9, "warning: ") == 0) {
    const std::size_t end = details.find('\n', first);
    if (end == std::string::npos) break;
    first = end + 1;
  }
  return details.substr(first, details.find('\n', first) - first);
}

// One log flown: read with its reader's cap, summed up, flown, its row
// made. Nothing of the log outlives this call.
std::string SweepOne(const SweepPlan& plan, const std::string& log) {
  const auto start = std::chrono::steady_clock::now();
  const bool ownScenario = !plan.scenarioText.empty();
  std::string summary;
  std::string text = plan.scenarioText;
  {
    const ProfileReadResult read = ReadProfileFile(log);
    if (!read.Ok()) return RowText(RefusedRow(log, read.error));
    if (read.profile.Empty())
      return RowText(RefusedRow(log, QuotedPath(log) + " holds no samples"));
    // The instrument's power-on settings: feet and mph, as the columns.
    Instrument powerOn;
    LoadDefaultSettings(powerOn);
    LoadDefaultCalibration(powerOn);
    const FlightProfile& profile = read.profile;
    const ShownFlightValues highest =
        ShownValues(powerOn.state.settings,
                    {0, profile.AltitudeRangeFt().highest, profile.AirspeedRangeMph().highest});
    summary = std::to_string(highest.altitude) + "," + std::to_string(highest.airspeed) + "," +
              std::to_string(std::lround(std::floor(profile.DurationSeconds() + 1e-6)));
    if (!ownScenario && !plan.from) {
      // As the window's "Fly": the sliders on the log's first moment
      // before ON, so the splash starts MAX VALUES from the log, not from
      // a converter at count 0 (50860 ft).
      FlightPlayer player(profile);
      const FlightPass first = player.Next(powerOn);
      text = "slider altitude " + std::to_string(first.altitudeCount) + "\nslider airspeed " +
             std::to_string(first.airspeedCount) + "\non\npass 80\nfly LOG\n";
    } else if (!ownScenario) {
      text = "fly LOG\n";
    }
  }
  SweepRow row;
  std::ostringstream output;
  std::ostringstream problems;
  const ParseOutcome parsed =
      ParseScenario(text, ownScenario ? plan.scenarioName : kOwnSource, plan.baseDir, log);
  std::optional<std::string> columns;
  if (!parsed.ok) {
    row.status = kExitBadInput;
    problems << parsed.error << '\n';
  } else {
    for (const std::string& warning : parsed.scenario.warnings) {
      problems << "warning: " << warning << '\n';
    }
    PictureFiles pictures;
    ScenarioExecutor executor(parsed.scenario, output, problems, &pictures);
    FlightWatch watch;
    executor.WatchPasses(
        [&](const PanelRig& rig) { watch.Pass(rig.instrument(), executor.flownSeconds()); });
    row.status = executor.Run(plan.from ? &*plan.from : nullptr);
    if (row.status == kExitPassed) columns = watch.Columns(executor.instrument());
  }
  row.details = ownScenario ? problems.str() : WithoutOwnPlace(problems.str());
  row.output = output.str();
  if (columns) {
    row.csv = CsvField(log) + "," + summary + "," + *columns + ",";
  } else {
    row.message = FirstProblem(row.details);
    row.csv = ProblemRow(log, summary, row.message);
  }
  row.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return RowText(row);
}

// ---------------------------------------------------------------------------
// Arguments, logs and the plan: all found wrong before anything flies.

bool ParseSweepArguments(const std::vector<std::string>& arguments, SweepArguments& parsed,
                         std::ostream& err) {
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& word = arguments[i];
    if (word.rfind("-j", 0) == 0 || word == "--timeout") {
      std::size_t next = i;
      if (word == "--timeout") {
        if (!ReadTimeoutOption(arguments, next, parsed.timeoutSeconds, err)) return false;
        // A time-out is kept by a worker process, even a single one.
        if (parsed.workers == 0) parsed.workers = 1;
      } else if (!ReadWorkersOption(arguments, next, parsed.workers, err)) {
        return false;
      }
      i = next - 1;
      continue;
    }
    const bool takesValue =
        word == "--csv" || word == "--junit" || word == "--from" || word == "--scenario";
    if (!takesValue) {
      if (word.size() > 1 && word[0] == '-') {
        err << "kvr9-headless: sweep: unknown option " << Quoted(word) << " (try --help)\n";
        return false;
      }
      parsed.inputs.push_back(word);
      continue;
    }
    if (i + 1 >= arguments.size()) {
      err << "kvr9-headless: sweep " << word << " needs a value (try --help)\n";
      return false;
    }
    const std::string& value = arguments[++i];
    if (word == "--csv") {
      parsed.csv = value;
    } else if (word == "--junit") {
      parsed.junit = value;
    } else if (word == "--from") {
      parsed.from = value;
    } else {
      parsed.scenario = value;
    }
  }
  if (parsed.inputs.empty()) {
    err << "kvr9-headless: sweep needs a folder of flight logs or a log (try --help)\n";
    return false;
  }
  if (!parsed.from.empty() && !parsed.scenario.empty()) {
    err << "kvr9-headless: sweep: --from or --scenario, not both (a scenario starts from a "
           "snapshot with load-state)\n";
    return false;
  }
  return true;
}

bool IsLogName(const fs::path& name) {
  std::string extension = name.extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension == ".csv" || extension == ".igc";
}

// A folder's logs (*.csv, *.igc in any case) sorted by name, byte by byte;
// a file stands for itself, whatever its name.
bool FindLogs(const std::vector<std::string>& inputs, std::vector<std::string>& logs,
              std::ostream& err) {
  for (const std::string& input : inputs) {
    std::error_code problem;
    const fs::file_status status = fs::status(input, problem);
    if (problem || !fs::exists(status)) {
      err << "kvr9-headless: sweep: no such log or folder " << QuotedPath(input) << '\n';
      return false;
    }
    if (!fs::is_directory(status)) {
      logs.push_back(input);
      continue;
    }
    std::vector<std::string> names;
    for (fs::directory_iterator entry(input, problem), end; !problem && entry != end;
         entry.increment(problem)) {
      std::error_code ignored;
      if (IsLogName(entry->path().filename()) && entry->is_regular_file(ignored)) {
        names.push_back(entry->path().filename().string());
      }
    }
    if (problem) {
      err << "kvr9-headless: sweep: cannot read folder " << QuotedPath(input) << ": "
          << problem.message() << '\n';
      return false;
    }
    if (names.empty()) {
      err << "kvr9-headless: sweep: no flight logs (*.csv, *.igc) in " << QuotedPath(input) << '\n';
      return false;
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) logs.push_back((fs::path(input) / name).string());
  }
  return true;
}

// Whether some step of the scenario is "fly LOG", as the parser splits it.
bool HasLogPlaceholder(std::string_view text) {
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    if (end == std::string_view::npos) end = text.size();
    std::istringstream words(std::string(text.substr(0, std::min(end, text.find('#')))));
    std::string step;
    std::string file;
    if (words >> step >> file && step == "fly" && file == kLogPlaceholder) return true;
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  return false;
}

bool MakePlan(const SweepArguments& arguments, SweepPlan& plan, std::ostream& err) {
  if (!arguments.from.empty()) {
    MomentRead read = ReadMomentFile(arguments.from);
    if (!read.ok) {
      err << "kvr9-headless: sweep --from: " << read.error << '\n';
      return false;
    }
    if (!read.snapshot.running) {
      err << "kvr9-headless: sweep --from: " << QuotedPath(arguments.from)
          << " has the instrument off, and a log flies only with it on\n";
      return false;
    }
    plan.from = std::move(read.snapshot);
  }
  if (!arguments.scenario.empty()) {
    const FileText scenario = ReadWholeFile(arguments.scenario, kLargestScenarioBytes);
    if (!scenario.ok) {
      err << "kvr9-headless: sweep: cannot read scenario " << QuotedPath(arguments.scenario) << ": "
          << scenario.problem << '\n';
      return false;
    }
    if (!HasLogPlaceholder(scenario.text)) {
      err << "kvr9-headless: sweep: scenario " << QuotedPath(arguments.scenario)
          << " has no 'fly LOG' step to fly each log with\n";
      return false;
    }
    plan.scenarioText = scenario.text;
    plan.scenarioName = arguments.scenario;
    plan.baseDir = fs::path(arguments.scenario).parent_path();
  }
  return true;
}

}  // namespace

ExitStatus RunSweepCommand(const std::vector<std::string>& arguments, std::ostream& out,
                           std::ostream& err) {
  SweepArguments parsed;
  std::vector<std::string> logs;
  SweepPlan plan;
  if (!ParseSweepArguments(arguments, parsed, err) || !FindLogs(parsed.inputs, logs, err) ||
      !MakePlan(parsed, plan, err)) {
    return kExitBadInput;
  }
  // Both outputs found unwritable before anything flies, not after.
  std::ofstream csvFile;
  std::ostream* rows = &out;
  if (!parsed.csv.empty()) {
    csvFile.open(parsed.csv, std::ios::binary | std::ios::trunc);
    if (!csvFile) {
      err << "kvr9-headless: sweep: cannot write " << QuotedPath(parsed.csv) << '\n';
      return kExitBadInput;
    }
    rows = &csvFile;
  }
  const bool junit = !parsed.junit.empty();
  if (junit && !WriteJUnitReport(parsed.junit, {})) {
    err << "kvr9-headless: sweep: cannot write report " << QuotedPath(parsed.junit) << '\n';
    return kExitBadInput;
  }
  *rows << kSweepCsvHeader << '\n';

  // Rows are written as they come, in the logs' order; only the report's
  // testcases are kept to the end.
  std::vector<ScenarioResult> results;
  ExitStatus worst = kExitPassed;
  const auto done = [&](std::size_t job, WorkerOutcome outcome) {
    SweepRow row;
    if (!outcome.finished) {
      row = RefusedRow(logs[job], "the worker flying it " + outcome.problem);
    } else if (!ReadRow(outcome.text, row)) {
      row = RefusedRow(logs[job], "the worker flying it handed back no row");
    }
    *rows << row.csv << '\n' << std::flush;
    err << row.details;
    if (junit) {
      results.push_back(
          {logs[job], row.status, row.seconds, row.message, row.details, row.output, {}});
    }
    worst = std::max(worst, row.status);
  };
  if (parsed.workers == 0) {
    for (std::size_t job = 0; job < logs.size(); ++job) {
      done(job, {true, SweepOne(plan, logs[job]), {}});
    }
  } else {
    WorkerPlan workers;
    workers.jobs = logs.size();
    workers.workers = parsed.workers;
    workers.timeoutSeconds = parsed.timeoutSeconds;
    workers.work = [&](std::size_t job) { return SweepOne(plan, logs[job]); };
    workers.done = done;
    std::string problem;
    if (!RunInWorkers(workers, problem)) {
      err << "kvr9-headless: sweep: " << problem << '\n';
      return kExitBadInput;
    }
  }
  if (csvFile.is_open()) {
    csvFile.close();
    if (!csvFile) {
      err << "kvr9-headless: sweep: cannot write " << QuotedPath(parsed.csv) << '\n';
      return kExitBadInput;
    }
  }
  if (junit && !WriteJUnitReport(parsed.junit, results)) {
    err << "kvr9-headless: sweep: cannot write report " << QuotedPath(parsed.junit) << '\n';
    return kExitBadInput;
  }
  return worst;
}

}  // namespace kvr9::headless
