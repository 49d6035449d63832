#include "host/explore/explore_json.h"

#include <map>
#include <nlohmann/json.hpp>

#include "screens/screen_table.h"

namespace kvr9 {
namespace {

std::string ScreenOf(const ExploreKey& key) {
  if (key.screen == nullptr) return "off";
  const ScreenEntry* entry = FindScreen(key.screen);
  return entry != nullptr ? entry->name : "unknown";
}

}  // namespace

std::string UnreachableReason(const ExploreResult& result) {
  if (result.stateLimitReached) return "the walk stopped at its limit of states before reaching it";
  if (result.depthLimitReached) return "the walk stopped at its depth limit before reaching it";
  return "no sequence of the panel's inputs from power-on leads to it";
}

std::string ExploreJson(const ExploreResult& result, const ExploreOptions& options) {
  using nlohmann::json;
  json out;
  std::map<std::string, std::size_t> statesOnScreen;
  for (const ExploreNode& node : result.nodes) ++statesOnScreen[ScreenOf(node.key)];
  std::size_t reached = 0;
  json screens = json::array();
  for (const ScreenEntry& entry : ScreenTable()) {
    const auto found = statesOnScreen.find(entry.name);
    json screen = {{"name", entry.name}, {"reached", found != statesOnScreen.end()}};
    if (found != statesOnScreen.end()) {
      screen["states"] = found->second;
      ++reached;
    } else {
      screen["unreachable"] = UnreachableReason(result);
    }
    screens.push_back(std::move(screen));
  }
  out["walk"] = {{"states", result.nodes.size()},
                 {"transitions", result.edges.size()},
                 {"passes", result.passes},
                 {"screens", ScreenTable().size()},
                 {"screensReached", reached},
                 {"mostKeysHome", result.mostHomeDistance},
                 {"worstPassMicros", result.worstPassMicros},
                 {"maxStates", options.maxStates},
                 {"maxDepth", options.maxDepth},
                 {"passBoundMicros", options.passBoundMicros},
                 {"stateLimitReached", result.stateLimitReached},
                 {"depthLimitReached", result.depthLimitReached}};
  json moves = json::array();
  for (const ExploreMove& move : result.moves) {
    json entry = {{"move", MoveWord(move)}};
    if (move.kind == MoveKind::Slider) entry["why"] = move.why;
    moves.push_back(std::move(entry));
  }
  out["moves"] = std::move(moves);
  out["screens"] = std::move(screens);
  json states = json::array();
  for (std::size_t i = 0; i < result.nodes.size(); ++i) {
    const ExploreNode& node = result.nodes[i];
    json state = {{"id", i},
                  {"screen", ScreenOf(node.key)},
                  {"state", DescribeKey(node.key)},
                  {"depth", node.depth}};
    if (i != 0) {
      state["from"] = node.parent;
      state["by"] = node.move;
    }
    if (node.key.screen != nullptr) {
      state["keysHome"] = node.homeDistance >= 0 ? json(node.homeDistance) : json(nullptr);
    }
    states.push_back(std::move(state));
  }
  out["states"] = std::move(states);
  json transitions = json::array();
  for (const ExploreEdge& edge : result.edges) {
    transitions.push_back({edge.from, edge.to, edge.move});
  }
  out["transitions"] = std::move(transitions);
  out["transitionsAre"] = "[from, to, move]";
  json violations = json::array();
  for (const ExploreViolation& violation : result.violations) {
    violations.push_back({{"rule", violation.rule},
                          {"message", violation.message},
                          {"state", violation.state},
                          {"screen", ScreenOf(result.nodes[violation.state].key)},
                          {"occurrences", violation.occurrences},
                          {"scenario", ViolationScenario(result, violation)}});
  }
  out["violations"] = std::move(violations);
  return out.dump(1) + "\n";
}

}  // namespace kvr9
