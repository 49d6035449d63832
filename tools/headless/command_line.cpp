#include "tools/headless/command_line.h"

#include "tools/headless/quote.h"
#include "tools/headless/read_file.h"

namespace kvr9::headless {

namespace {

constexpr const char* kUsage =
    "usage: kvr9-headless [SCENARIO | -]\n"
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
    "  show-lcd                      print the LCD as text art\n"
    "  save-lcd FILE.png [SCALE]     write the LCD as a PNG (SCALE pixels a dot, default 2)\n"
    "  expect-lcd FILE               compare the LCD with a text-art frame\n"
    "  show FIELD | show all         print state fields as name=value\n"
    "  expect FIELD VALUE            compare a state field with a value\n"
    "  show-led | expect-led lit|unlit\n"
    "  show-comm | expect-comm N     communication lines written so far\n"
    "\n"
    "Exit status: 0 every expectation held, 1 an expectation failed,\n"
    "2 a malformed scenario or argument, or a file that cannot be read or written.\n";

}  // namespace

ExitStatus RunHeadlessCommand(const std::vector<std::string>& arguments, std::istream& in,
                              std::ostream& out, std::ostream& err) {
  if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
    out << kUsage;
    return kExitPassed;
  }
  if (arguments.size() > 1) {
    err << "kvr9-headless: one scenario at a time (try --help)\n";
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
  const std::filesystem::path baseDir =
      fromStdin ? std::filesystem::path(".") : std::filesystem::path(name).parent_path();
  return RunScenarioText(scenario.text, fromStdin ? "<stdin>" : name, baseDir, out, err);
}

}  // namespace kvr9::headless
