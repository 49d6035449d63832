// A JUnit XML report of several scenario runs, as CI systems read it: one
// testcase per scenario, a failed expectation as a failure, a malformed
// scenario or an unusable file as an error.
#pragma once

#include <string>
#include <vector>

#include "host/scenario/executor.h"

namespace kvr9::headless {

struct ScenarioResult {
  std::string name;  // the scenario file as given
  ExitStatus status = kExitPassed;
  double seconds = 0;
  std::string message;  // the first line of what went wrong
  std::string details;  // all of it, with a frame comparison's pictures
  std::string output;   // what the show steps printed
  // Files kept of the failing moment (its snapshot, the LCD's picture),
  // named in the testcase as CI servers show attachments.
  std::vector<std::string> attachments;
};

// The report as its XML text.
std::string JUnitReportText(const std::vector<ScenarioResult>& results);
// False when the report cannot be written.
bool WriteJUnitReport(const std::string& path, const std::vector<ScenarioResult>& results);

}  // namespace kvr9::headless
