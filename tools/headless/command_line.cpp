#include "tools/headless/command_line.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <sstream>

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
    "  save-lcd FILE.png [SCALE] [green]\n"
    "                                write the LCD as a PNG (SCALE pixels a dot, default 2;\n"
    "                                green: the grey-green of an unlit LCD glass)\n"
    "  expect-lcd FILE               compare the LCD with a text-art frame\n"
    "  show FIELD | show all         print state fields as name=value\n"
    "  expect FIELD VALUE            compare a state field with a value\n"
    "  show-led | expect-led lit|unlit\n"
    "  show-comm | expect-comm N     communication lines written so far\n"
    "\n"
    "Exit status: 0 every expectation held, 1 an expectation failed,\n"
    "2 a malformed scenario or argument, or a file that cannot be read or written.\n";

struct ScenarioText {
  bool ok = false;
  std::string text;
  std::string problem;
};

ScenarioText ReadFile(const std::string& name) {
  ScenarioText result;
  std::FILE* file = std::fopen(name.c_str(), "rb");
  if (file == nullptr) {
    result.problem = std::strerror(errno);
    return result;
  }
  char buffer[4096];
  std::size_t count = 0;
  while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0)
    result.text.append(buffer, count);
  // A folder opens but cannot be read; errno says why.
  const bool failed = std::ferror(file) != 0;
  const int readError = errno;
  std::fclose(file);
  if (failed) {
    result.problem = std::strerror(readError);
    return result;
  }
  result.ok = true;
  return result;
}

ScenarioText ReadStream(std::istream& in) {
  ScenarioText result;
  result.text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  result.ok = !in.bad();
  if (!result.ok) result.problem = "read error";
  return result;
}

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
    err << "kvr9-headless: unknown option '" << name << "' (try --help)\n";
    return kExitBadInput;
  }
  const bool fromStdin = name == "-";
  const ScenarioText scenario = fromStdin ? ReadStream(in) : ReadFile(name);
  if (!scenario.ok) {
    err << "kvr9-headless: cannot read scenario '" << name << "': " << scenario.problem << '\n';
    return kExitBadInput;
  }
  const std::filesystem::path baseDir =
      fromStdin ? std::filesystem::path(".") : std::filesystem::path(name).parent_path();
  return RunScenarioText(scenario.text, fromStdin ? "<stdin>" : name, baseDir, out, err);
}

}  // namespace kvr9::headless
