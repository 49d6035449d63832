#include "host/explore/explorer.h"

#include <gtest/gtest.h>

#include <iostream>
#include <map>

#include "screens/screen_table.h"

namespace kvr9 {
namespace {

TEST(Explorer, WalksTheDefaultStates) {
  ExploreOptions options;
  options.maxStates = 200000;
  const ExploreResult result = Explore(options);
  std::cerr << "states " << result.nodes.size() << " edges " << result.edges.size() << " passes "
            << result.passes << " worst " << result.worstPassMicros << " home "
            << result.mostHomeDistance << " limit " << result.stateLimitReached << "\n";
  std::map<std::string, int> perScreen;
  for (const auto& n : result.nodes) perScreen[n.key.screen ? FindScreen(n.key.screen)->name : "off"]++;
  for (auto& [k, v] : perScreen) std::cerr << k << " " << v << "\n";
  for (const auto& n : result.nodes) if ((n.key.screen && std::string(FindScreen(n.key.screen)->name) == "MainScreen") || n.depth > 40) std::cerr << DescribeKey(n.key) << " d" << n.depth << " h" << n.homeDistance << "\n";
  for (const ExploreViolation& v : result.violations) {
    std::cerr << v.rule << ": " << v.message << " x" << v.occurrences << "\n";
  }
}

}  // namespace
}  // namespace kvr9
