#include "headless/command_line.h"

#include <algorithm>
#include <optional>
#include <sstream>

#include "headless/check_lesson_command.h"
#include "headless/coverage_run.h"
#include "headless/explore_command.h"
#include "headless/lcd_png.h"
#include "headless/mcp_server.h"
#include "headless/picture_files.h"
#include "headless/report_command.h"
#include "headless/sweep_command.h"
#include "host/common/quote.h"
#include "host/common/read_file.h"

namespace kvr9::headless {

namespace {

constexpr const char* kUsage =
    "usage: kvr9-headless [--from STATE.json] [SCENARIO | -]\n"
    "       kvr9-headless [-j N] [--timeout SECONDS] [--shard K/N]\n"
    "                     --junit REPORT.xml SCENARIO...\n"
    "       kvr9-headless merge-junit OUT.xml REPORT.xml...\n"
    "       kvr9-headless --mcp\n"
    "       kvr9-headless explore [--json FILE] [--report FILE.html] [--scenarios DIR]\n"
    "                             [--max-states N] [--max-depth N] [--pass-bound-us N]\n"
    "       kvr9-headless --coverage FILE.json [--coverage-html FILE.html]\n"
    "                     [--junit REPORT.xml] SCENARIO...\n"
    "       kvr9-headless sweep DIR|LOG... [--csv FILE] [--junit REPORT.xml]\n"
    "                           [--from STATE.json | --scenario FILE] [-j N]\n"
    "                           [--timeout SECONDS]\n"
    "       kvr9-headless check-lesson FILE [SOLUTION.scn]\n"
    "\n"
    "Runs the KVR-9 firmware without a window, step by step as a scenario says.\n"
    "The scenario is read from the file SCENARIO, or from standard input when it\n"
    "is '-' or missing. One step a line; '#' starts a comment.\n"
    "\n"
    "  on | off                      the ON and OFF buttons\n"
    "  key press|cw|ccw|f1|f2        a click on the knob, a turn button or a key\n"
    "  slider altitude|airspeed N    a converter slider moved to N (0..4096)\n"
    "  box calibrate|keyfast on|off  a check box ticked or cleared\n"
    "  pass [N]                      let N passes run (default 1)\n"
    "  tick [N]                      N ticks of the 100 ms timer (default 1)\n"
    "  slider altitude 3000ft | 900m  the position whose reading is nearest\n"
    "  slider airspeed 90mph | 150kmh | 80knots\n"
    "  show-lcd                      print the LCD as text art\n"
    "  save-lcd FILE.png [SCALE] [green]\n"
    "                                write the LCD as a PNG (SCALE pixels a dot, default 2;\n"
    "                                green: the grey-green of an unlit LCD glass)\n"
    "  save-animation FILE.gif [SCALE]  record the frames that follow as a GIF\n"
    "  stop-animation                end that recording (else it ends with the scenario)\n"
    "  expect-lcd FILE               compare the LCD with a text-art frame\n"
    "  show-text                     print the LCD read as text, one line a row\n"
    "  expect-text TEXT | \"TEXT\"     some row of the LCD holds TEXT (blanks as on it)\n"
    "  expect-text line TEXT | \"TEXT\"  some row is exactly TEXT\n"
    "  expect-text [line] /PATTERN/  a row matches the regular expression (with line:\n"
    "                                the whole row), e.g. /^\\d{4}mB$/\n"
    "  expect-text at Y TEXT         a run of text standing on dot row Y holds TEXT\n"
    "  expect-text readable TOP BOTTOM  every dark dot of those rows is text the LCD reads\n"
    "  show FIELD | show all         print state fields as name=value\n"
    "  expect FIELD VALUE            compare a state field with a value\n"
    "  show-led | expect-led lit|unlit\n"
    "  show-comm | expect-comm N     communication lines written so far\n"
    "  expect FIELD LOW..HIGH        a number within a range\n"
    "  fly FILE|demo [FROM [TO]] [pace N]\n"
    "                                fly a CSV or IGC profile, or the demo circuit\n"
    "                                (times in seconds or h:mm:ss from its start;\n"
    "                                N passes a second, default 10)\n"
    "  at MOMENT | at end            fly on to that moment; the steps after it run there\n"
    "  trace FILE.csv FIELD...       a CSV row of number fields a pass, with the profile\n"
    "  stop-trace                    end that trace\n"
    "  lesson FILE [unfinished]      start a lesson where it says (off, on afresh or\n"
    "                                its snapshot) and follow it through the steps\n"
    "                                after it: it must be finished at the end\n"
    "                                (unfinished: must not be, with its hint due)\n"
    "  save-state FILE.json          write the whole instrument and panel as a snapshot\n"
    "  load-state FILE.json          set them back from a snapshot (nothing of a bad one)\n"
    "\n"
    "With --mcp, it serves one instrument to an agent as a Model Context Protocol\n"
    "server on standard input and output (JSON-RPC, one message a line).\n"
    "\n"
    "explore walks every state the panel's inputs reach from power-on and checks\n"
    "the instrument's rules in each: settings within their limits, every state a\n"
    "way back to the main display, the keys doing what they promise, the rows of\n"
    "text on their lines, the alarm and the LED, the time of a pass. --json writes\n"
    "the states, the moves, every screen and each broken rule; --report the same\n"
    "as one page; --scenarios a scenario for each broken rule, which the driver\n"
    "runs as it is. Exit status 1 when a rule is broken.\n"
    "\n"
    "sweep flies every flight log (*.csv, *.igc of each DIR, by name, and each\n"
    "LOG) from power-on, from STATE.json, or through the scenario FILE whose\n"
    "'fly LOG' flies each; one CSV row a log: its highest, fastest and length,\n"
    "MAX VALUES after it, the alarms raised, the flights detected, or why it\n"
    "was refused. -j N flies N logs at a time (0: a log a core).\n"
    "\n"
    "With --coverage, the SCENARIOs run as usual and FILE.json gets which of the\n"
    "explorer's states and moves they reached, with the states missed by screen;\n"
    "--coverage-html the same as a page with the map coloured.\n"
    "\n"
    "check-lesson reads a lesson and prints its faults, one line each: the\n"
    "reader's, a check written twice in a step, a step that checks nothing the\n"
    "step before it does not. With SOLUTION.scn it follows the lesson through\n"
    "those steps, as their 'lesson' line does (or from their start), and says\n"
    "whether they finish it, and which steps taught nothing: their checks all\n"
    "held as they came up. Exit status 1 on a fault or an unfinished lesson.\n"
    "\n"
    "With --from, the scenario starts from the snapshot STATE.json instead of a\n"
    "freshly started instrument.\n"
    "\n"
    "With --junit, every SCENARIO runs on a freshly started instrument and\n"
    "REPORT.xml gets one JUnit testcase for each. A failed expectation leaves its\n"
    "moment beside the report, a snapshot (NAME.failed.json, for the window's\n"
    "\"Open state...\" or --from) and the LCD (NAME.failed.png), named in the\n"
    "testcase's output as [[ATTACHMENT|FILE]].\n"
    "\n"
    "With --shard K/N, only the SCENARIOs of shard K of N run: N machines of a CI\n"
    "matrix given the same list run each scenario exactly once. A scenario's\n"
    "shard follows from its name alone, so adding one moves no other.\n"
    "\n"
    "With -j N, the SCENARIOs run side by side in N worker processes (-j 0: one\n"
    "a core); the report, the output and the exit status are those of a run one\n"
    "at a time. A worker that crashes, or runs past --timeout SECONDS, is its\n"
    "scenario's error and the others run on.\n"
    "\n"
    "merge-junit joins the shards' reports into OUT.xml, the testcases in order\n"
    "of their names; its exit status is the worst of them.\n"
    "\n"
    "A failed expectation is followed by the rows of text the LCD showed.\n"
    "\n"
    "Exit status: 0 every expectation held, 1 an expectation failed,\n"
    "2 a malformed scenario or argument, or a file that cannot be read or written.\n"
    "With --junit the worst of all scenarios.\n";

std::filesystem::path FolderOf(const std::string& name) {
  return std::filesystem::path(name).parent_path();
}

ExitStatus RunFrom(const std::vector<std::string>& arguments, const Snapshot* from,
                   std::istream& in, std::ostream& out, std::ostream& err);

// --coverage FILE.json [--coverage-html FILE.html] [--junit REPORT.xml] SCENARIO...:
// the scenarios run as usual (each on a fresh instrument), watched pass by
// pass against the explorer's walk.
ExitStatus RunCoverage(const std::vector<std::string>& arguments, std::ostream& out,
                       std::ostream& err) {
  CoverageRequest request;
  std::size_t next = 0;
  while (next < arguments.size() &&
         (arguments[next] == "--coverage" || arguments[next] == "--coverage-html")) {
    if (next + 1 >= arguments.size()) {
      err << "kvr9-headless: " << arguments[next] << " needs a file (try --help)\n";
      return kExitBadInput;
    }
    (arguments[next] == "--coverage" ? request.json : request.html) = arguments[next + 1];
    next += 2;
  }
  const std::vector<std::string> rest(arguments.begin() + static_cast<std::ptrdiff_t>(next),
                                      arguments.end());
  const bool junit = !rest.empty() && rest[0] == "--junit";
  if (rest.size() < (junit ? 3u : 1u)) {
    err << "kvr9-headless: coverage needs at least one scenario (try --help)\n";
    return kExitBadInput;
  }
  for (const std::string& name : rest) {
    if (name.size() > 1 && name[0] == '-' && name != "--junit") {
      err << "kvr9-headless: unknown option " << Quoted(name) << " (try --help)\n";
      return kExitBadInput;
    }
  }
  CoverageRun run(request);
  if (!run.Ready(err)) return kExitBadInput;
  ExitStatus worst = kExitPassed;
  if (junit) {
    worst = RunForReport(rest[1], {rest.begin() + 2, rest.end()}, err, run.Watch());
  } else {
    for (const std::string& name : rest) {
      const FileText scenario = ReadWholeFile(name, kLargestScenarioBytes);
      ExitStatus status = kExitBadInput;
      if (scenario.ok) {
        PictureFiles pictures;
        status = RunScenarioText(scenario.text, name, FolderOf(name), out, err,
                                 {nullptr, nullptr, &pictures, run.Watch().afterEachPass});
        run.Watch().scenarioOver();
      } else {
        err << "kvr9-headless: cannot read scenario " << QuotedPath(name) << ": "
            << scenario.problem << '\n';
      }
      worst = std::max(worst, status);
    }
  }
  // Scenarios that could not even start measure nothing.
  if (worst == kExitBadInput && !run.Walked()) return kExitBadInput;
  if (!run.Finish(out, err)) return kExitBadInput;
  return worst;
}

}  // namespace

ExitStatus RunHeadlessCommand(const std::vector<std::string>& arguments, std::istream& in,
                              std::ostream& out, std::ostream& err) {
  if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
    out << kUsage;
    return kExitPassed;
  }
  if (!arguments.empty() && IsReportOption(arguments[0])) return RunReportCommand(arguments, err);
  if (!arguments.empty() && (arguments[0] == "--coverage" || arguments[0] == "--coverage-html")) {
    return RunCoverage(arguments, out, err);
  }
  if (!arguments.empty() && arguments[0] == "merge-junit") {
    return RunMergeJUnit({arguments.begin() + 1, arguments.end()}, err);
  }
  if (!arguments.empty() && arguments[0] == "sweep") {
    return RunSweepCommand({arguments.begin() + 1, arguments.end()}, out, err);
  }
  if (!arguments.empty() && arguments[0] == "check-lesson") {
    return RunCheckLessonCommand({arguments.begin() + 1, arguments.end()}, out, err);
  }
  if (!arguments.empty() && arguments[0] == "explore") {
    return RunExploreCommand({arguments.begin() + 1, arguments.end()}, out, err);
  }
  if (!arguments.empty() && arguments[0] == "--mcp") {
    if (arguments.size() > 1) {
      err << "kvr9-headless: --mcp takes nothing after it (try --help)\n";
      return kExitBadInput;
    }
    return static_cast<ExitStatus>(RunMcpServer(in, out));
  }
  std::optional<Snapshot> from;
  if (!arguments.empty() && arguments[0] == "--from") {
    if (arguments.size() < 2) {
      err << "kvr9-headless: --from needs a snapshot file (try --help)\n";
      return kExitBadInput;
    }
    const MomentRead read = ReadMomentFile(arguments[1]);
    if (!read.ok) {
      err << "kvr9-headless: --from: " << read.error << '\n';
      return kExitBadInput;
    }
    from = read.snapshot;
    std::vector<std::string> rest(arguments.begin() + 2, arguments.end());
    return RunFrom(rest, &*from, in, out, err);
  }
  return RunFrom(arguments, nullptr, in, out, err);
}

namespace {

// One scenario, from a snapshot or a fresh instrument.
ExitStatus RunFrom(const std::vector<std::string>& arguments, const Snapshot* from,
                   std::istream& in, std::ostream& out, std::ostream& err) {
  if (arguments.size() > 1) {
    err << "kvr9-headless: one scenario at a time, or --junit REPORT.xml for several (try "
           "--help)\n";
    return kExitBadInput;
  }
  const std::string name = arguments.empty() ? "-" : arguments[0];
  if (name.size() > 1 && name[0] == '-') {
    err << "kvr9-headless: unknown option " << Quoted(name) << " (try --help)\n";
    return kExitBadInput;
  }
  const bool fromStdin = name == "-";
  const FileText scenario = fromStdin ? ReadWholeStream(in, kLargestScenarioBytes)
                                      : ReadWholeFile(name, kLargestScenarioBytes);
  if (!scenario.ok) {
    err << "kvr9-headless: cannot read scenario " << QuotedPath(name) << ": " << scenario.problem
        << '\n';
    return kExitBadInput;
  }
  const std::filesystem::path baseDir = fromStdin ? std::filesystem::path(".") : FolderOf(name);
  PictureFiles pictures;
  return RunScenarioText(scenario.text, fromStdin ? "<stdin>" : name, baseDir, out, err,
                         {from, nullptr, &pictures, {}});
}

}  // namespace

}  // namespace kvr9::headless
