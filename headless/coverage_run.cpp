#include "headless/coverage_run.h"

#include <fstream>
#include <nlohmann/json.hpp>

#include "headless/graphviz_dot.h"
#include "host/common/quote.h"
#include "host/common/read_file.h"
#include "host/explore/explore_page.h"

namespace kvr9::headless {
namespace {

bool WriteWhole(const std::string& path, const std::string& text, std::ostream& err) {
  if (!WriteWholeFile(path, text)) {
    err << "kvr9-headless: coverage: cannot write " << QuotedPath(path) << '\n';
    return false;
  }
  return true;
}

std::string CoverageJson(const ExploreResult& walk, const ExploreCoverage& coverage) {
  using nlohmann::json;
  json missed = json::object();
  for (const auto& [screen, states] : coverage.MissedByScreen()) missed[screen] = states;
  const json out = {
      {"states", {{"reachable", walk.nodes.size()}, {"covered", coverage.StatesCovered()}}},
      {"moves", {{"reachable", walk.edges.size()}, {"covered", coverage.MovesCovered()}}},
      {"statesOutsideTheWalk", coverage.StatesOutsideTheWalk()},
      {"missed", missed}};
  return out.dump(1) + "\n";
}

}  // namespace

CoverageRun::CoverageRun(CoverageRequest request) : request_(std::move(request)) {}

bool CoverageRun::Ready(std::ostream& err) {
  // Found unwritable before anything runs, not after.
  for (const std::string& path : {request_.json, request_.html}) {
    if (!path.empty() && !WriteWhole(path, "", err)) return false;
  }
  return true;
}

void CoverageRun::Walk() {
  if (coverage_ != nullptr) return;
  walk_ = Explore(options_);
  coverage_ = std::make_unique<ExploreCoverage>(walk_);
}

PassWatch CoverageRun::Watch() {
  return {[this](const PanelRig& rig) {
            Walk();
            coverage_->Observe(rig);
          },
          [this] {
            if (coverage_ != nullptr) coverage_->EndScenario();
          }};
}

bool CoverageRun::Finish(std::ostream& out, std::ostream& err) {
  Walk();
  if (!request_.json.empty() && !WriteWhole(request_.json, CoverageJson(walk_, *coverage_), err)) {
    return false;
  }
  if (!request_.html.empty()) {
    const ExploreCoverageMarks marks{coverage_->States(), coverage_->Edges()};
    ExplorePageOptions page;
    page.title = "KVR-9: the states a suite reaches";
    page.intro =
        "Every state the panel's inputs reach from power-on, coloured by whether the "
        "scenarios stood in it; the states they missed are listed by screen.";
    page.coverage = &marks;
    page.drawMap = DotToSvg;
    if (!WriteWhole(request_.html, ExplorePage(walk_, options_, page), err)) return false;
  }
  out << "coverage: " << coverage_->StatesCovered() << " of " << walk_.nodes.size() << " states, "
      << coverage_->MovesCovered() << " of " << walk_.edges.size() << " moves";
  if (coverage_->StatesOutsideTheWalk() > 0) {
    out << "; " << coverage_->StatesOutsideTheWalk() << " states outside the walk";
  }
  out << '\n';
  return true;
}

}  // namespace kvr9::headless
