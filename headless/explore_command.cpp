#include "headless/explore_command.h"

#include <charconv>
#include <filesystem>
#include <fstream>

#include "headless/graphviz_dot.h"
#include "host/common/quote.h"
#include "host/common/read_file.h"
#include "host/explore/explore_json.h"
#include "host/explore/explore_page.h"
#include "host/explore/explorer.h"
#include "screens/screen_table.h"

namespace kvr9::headless {
namespace {

struct ExploreArguments {
  ExploreOptions options;
  std::string json;
  std::string report;
  std::string scenarios;  // a folder for each broken rule's scenario
};

bool ReadCount(const std::string& option, const std::string& word, std::uint64_t lowest,
               std::uint64_t highest, std::uint64_t& value, std::ostream& err) {
  const char* end = word.data() + word.size();
  const auto [at, problem] = std::from_chars(word.data(), end, value);
  if (problem != std::errc() || at != end || value < lowest || value > highest) {
    err << "kvr9-headless: explore " << option << ": " << Quoted(word) << " is not a whole number "
        << lowest << ".." << highest << '\n';
    return false;
  }
  return true;
}

bool ParseExploreArguments(const std::vector<std::string>& arguments, ExploreArguments& parsed,
                           std::ostream& err) {
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& option = arguments[i];
    const bool takesValue = option == "--json" || option == "--report" || option == "--scenarios" ||
                            option == "--max-states" || option == "--max-depth" ||
                            option == "--pass-bound-us";
    if (!takesValue) {
      err << "kvr9-headless: explore: unknown option " << Quoted(option) << " (try --help)\n";
      return false;
    }
    if (i + 1 >= arguments.size()) {
      err << "kvr9-headless: explore " << option << " needs a value (try --help)\n";
      return false;
    }
    const std::string& value = arguments[++i];
    std::uint64_t number = 0;
    if (option == "--json") {
      parsed.json = value;
    } else if (option == "--report") {
      parsed.report = value;
    } else if (option == "--scenarios") {
      parsed.scenarios = value;
    } else if (option == "--max-states") {
      if (!ReadCount(option, value, 1, kExploreMostStates, number, err)) return false;
      parsed.options.maxStates = number;
    } else if (option == "--max-depth") {
      if (!ReadCount(option, value, 1, kExploreMostDepth, number, err)) return false;
      parsed.options.maxDepth = static_cast<std::uint32_t>(number);
    } else {
      if (!ReadCount(option, value, 1, 60000000, number, err)) return false;
      parsed.options.passBoundMicros = static_cast<double>(number);
    }
  }
  return true;
}

bool WriteText(const std::string& path, const std::string& text, std::ostream& err) {
  if (!WriteWholeFile(path, text)) {
    err << "kvr9-headless: explore: cannot write " << QuotedPath(path) << '\n';
    return false;
  }
  return true;
}

// Where each scenario goes: FOLDER/NN-RULE-SCREEN.scn.
std::string ScenarioName(const ExploreResult& result, std::size_t index) {
  const ExploreViolation& violation = result.violations[index];
  std::string number = std::to_string(index + 1);
  if (number.size() < 2) number = "0" + number;
  const ExploreKey& key = result.nodes[violation.state].key;
  const ScreenEntry* entry = key.screen != nullptr ? FindScreen(key.screen) : nullptr;
  const std::string screen = entry != nullptr ? entry->name : "off";
  return number + "-" + violation.rule + "-" + screen + ".scn";
}

}  // namespace

ExitStatus RunExploreCommand(const std::vector<std::string>& arguments, std::ostream& out,
                             std::ostream& err) {
  ExploreArguments parsed;
  if (!ParseExploreArguments(arguments, parsed, err)) return kExitBadInput;
  if (!parsed.scenarios.empty()) {
    std::error_code problem;
    std::filesystem::create_directories(parsed.scenarios, problem);
    if (problem) {
      err << "kvr9-headless: explore --scenarios: cannot make " << QuotedPath(parsed.scenarios)
          << ": " << problem.message() << '\n';
      return kExitBadInput;
    }
  }
  const ExploreResult result = Explore(parsed.options);
  if (!parsed.json.empty() && !WriteText(parsed.json, ExploreJson(result, parsed.options), err)) {
    return kExitBadInput;
  }
  if (!parsed.report.empty()) {
    ExplorePageOptions page;
    page.drawMap = DotToSvg;
    if (!WriteText(parsed.report, ExplorePage(result, parsed.options, page), err)) {
      return kExitBadInput;
    }
  }
  if (!parsed.scenarios.empty()) {
    for (std::size_t i = 0; i < result.violations.size(); ++i) {
      const std::string path =
          (std::filesystem::path(parsed.scenarios) / ScenarioName(result, i)).string();
      if (!WriteText(path, ViolationScenario(result, result.violations[i]), err)) {
        return kExitBadInput;
      }
    }
  }
  out << "explored " << result.nodes.size() << " states and " << result.edges.size()
      << " moves between them in " << result.passes << " passes; at most "
      << result.mostHomeDistance << " keys from the main display\n";
  if (result.stateLimitReached) {
    out << "the walk stopped at its limit of " << parsed.options.maxStates
        << " states: states and screens beyond it are not explored\n";
  }
  if (result.depthLimitReached) {
    out << "the walk stopped at its depth limit of " << parsed.options.maxDepth
        << " moves: states beyond it are not explored\n";
  }
  for (const ExploreViolation& violation : result.violations) {
    out << violation.rule << ": " << violation.message;
    if (violation.occurrences > 1) out << " (and " << violation.occurrences - 1 << " more)";
    out << '\n';
  }
  out << result.violations.size() << (result.violations.size() == 1 ? " rule" : " rules")
      << " broken\n";
  return result.violations.empty() ? kExitPassed : kExitExpectationFailed;
}

}  // namespace kvr9::headless
