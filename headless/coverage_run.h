// A suite measured against the explorer's walk: --coverage FILE.json and
// --coverage-html FILE.html around the scenarios the driver runs as usual.
#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "host/explore/explore_coverage.h"
#include "host/explore/explorer.h"
#include "host/rig/panel_rig.h"

namespace kvr9::headless {

// What the runner of the scenarios tells the measurement.
struct PassWatch {
  std::function<void(const PanelRig&)> afterEachPass;
  std::function<void()> scenarioOver;
};

struct CoverageRequest {
  std::string json;
  std::string html;
};

class CoverageRun {
 public:
  explicit CoverageRun(CoverageRequest request);
  // Finds the output files writable.
  bool Ready(std::ostream& err);
  // Whether the firmware's states have been walked: at a scenario's first
  // pass, or when the counts are written.
  bool Walked() const { return coverage_ != nullptr; }
  PassWatch Watch();
  // Writes the files and prints the counts.
  bool Finish(std::ostream& out, std::ostream& err);

 private:
  CoverageRequest request_;
  void Walk();

  ExploreOptions options_;
  ExploreResult walk_;
  std::unique_ptr<ExploreCoverage> coverage_;
};

}  // namespace kvr9::headless
