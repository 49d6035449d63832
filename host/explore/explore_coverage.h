// A suite's coverage of the explorer's states: the scenarios run as usual,
// and at the end of every pass the state they stand in is looked up among
// the walk's. A state is covered when a scenario stood in it; a move when a
// scenario went from its state to the next by the walk's step between them.
#pragma once

#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "host/explore/explorer.h"
#include "host/rig/panel_rig.h"

namespace kvr9 {

// The walk's moment of a rig as it stands between two passes.
ExploreMoment MomentOf(const PanelRig& rig);

class ExploreCoverage {
 public:
  explicit ExploreCoverage(const ExploreResult& walk);

  // The rig at the end of a pass of a scenario.
  void Observe(const PanelRig& rig);
  // A scenario is over: its next pass does not follow on from its last.
  void EndScenario() { last_ = kNone; }

  std::size_t StatesCovered() const { return statesCovered_; }
  std::size_t MovesCovered() const { return movesCovered_.size(); }
  // States a scenario stood in that the walk never reached (a flight's
  // slider positions the walk does not use, say).
  std::size_t StatesOutsideTheWalk() const { return outside_.size(); }
  const std::vector<bool>& States() const { return states_; }
  // One a walk's edge, by its index.
  std::vector<bool> Edges() const;
  // The missed states' words, by screen name, in the walk's order.
  std::map<std::string, std::vector<std::string>> MissedByScreen() const;

 private:
  static constexpr std::uint32_t kNone = 0xffffffffu;
  const ExploreResult& walk_;
  std::vector<bool> states_;
  std::size_t statesCovered_ = 0;
  std::map<std::pair<std::uint32_t, std::uint32_t>, std::size_t> edgeIndex_;
  std::set<std::size_t> movesCovered_;
  std::set<std::string> outside_;
  std::uint32_t last_ = kNone;
};

}  // namespace kvr9
