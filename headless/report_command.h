// Several scenarios, one JUnit report: --junit REPORT.xml SCENARIO..., with
// -j N to run them side by side in worker processes and --shard K/N to run
// one machine's share of a CI matrix.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "headless/coverage_run.h"
#include "host/scenario/executor.h"

namespace kvr9::headless {

struct ReportOptions {
  unsigned workers = 0;       // worker processes; 0 runs every scenario here, one by one
  double timeoutSeconds = 0;  // a worker's longest scenario; 0 for none
};

// Each scenario on a fresh instrument, its testcase in REPORT.xml in the
// order given; the worst status of all.
ExitStatus RunForReport(const std::string& report, const std::vector<std::string>& scenarios,
                        std::ostream& err, const PassWatch& watch = {},
                        const ReportOptions& options = {});

// arguments: [-j N] [--timeout SECONDS] [--shard K/N] --junit REPORT.xml SCENARIO...
ExitStatus RunReportCommand(const std::vector<std::string>& arguments, std::ostream& err);

// OUT.xml IN.xml...: the reports of a CI matrix's shards joined into one;
// the worst status of its testcases.
ExitStatus RunMergeJUnit(const std::vector<std::string>& arguments, std::ostream& err);

// Whether a word starts the report command's options.
bool IsReportOption(const std::string& word);

}  // namespace kvr9::headless
