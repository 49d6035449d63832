#include "host/explore/explore_coverage.h"

#include "screens/screen_table.h"

namespace kvr9 {

ExploreMoment MomentOf(const PanelRig& rig) {
  const Instrument& instrument = rig.instrument();
  const PanelSession& session = rig.session();
  return {instrument.state,   instrument.phase,
          instrument.running, instrument.restartRequested,
          instrument.splash,  session.inputs().KeptNow(),
          session.LedLit()};
}

ExploreCoverage::ExploreCoverage(const ExploreResult& walk)
    : walk_(walk), states_(walk.nodes.size(), false) {
  for (std::size_t i = 0; i < walk.edges.size(); ++i) {
    edgeIndex_.emplace(std::make_pair(walk.edges[i].from, walk.edges[i].to), i);
  }
}

void ExploreCoverage::Observe(const PanelRig& rig) {
  const ExploreMoment moment = MomentOf(rig);
  // The splash is on its way to the main display, not a state of its own.
  if (moment.running && moment.phase != PowerPhase::MainLoop) return;
  const ExploreKey key = KeyOf(moment);
  const auto found = walk_.index.find(key);
  if (found == walk_.index.end()) {
    outside_.insert(DescribeKey(key));
    last_ = kNone;
    return;
  }
  const std::uint32_t state = found->second;
  if (!states_[state]) {
    states_[state] = true;
    ++statesCovered_;
  }
  if (last_ != kNone && last_ != state) {
    const auto edge = edgeIndex_.find({last_, state});
    if (edge != edgeIndex_.end()) movesCovered_.insert(edge->second);
  }
  last_ = state;
}

std::vector<bool> ExploreCoverage::Edges() const {
  std::vector<bool> edges(walk_.edges.size(), false);
  for (const std::size_t index : movesCovered_) edges[index] = true;
  return edges;
}

std::map<std::string, std::vector<std::string>> ExploreCoverage::MissedByScreen() const {
  std::map<std::string, std::vector<std::string>> missed;
  for (std::size_t i = 0; i < walk_.nodes.size(); ++i) {
    if (states_[i]) continue;
    const ExploreKey& key = walk_.nodes[i].key;
    const ScreenEntry* entry = key.screen != nullptr ? FindScreen(key.screen) : nullptr;
    missed[entry != nullptr ? entry->name : "off"].push_back(DescribeKey(key));
  }
  return missed;
}

}  // namespace kvr9
