// Reads a JUnit XML report back: the shards of a CI matrix, each with its
// own report, joined into one (merge-junit). Every testcase, wherever it
// stands, with its failure or error and its output; what a report of
// kvr9-headless holds reads back as it was written, apart from nothing.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "headless/junit_report.h"

namespace kvr9::headless {

// A report past this is refused unread: some thousands of scenarios with
// their output.
inline constexpr std::size_t kLargestJUnitReportBytes = std::size_t{64} * 1024 * 1024;

struct JUnitRead {
  bool ok = false;
  std::string error;  // "NAME:LINE: what is wrong", one line
  std::vector<ScenarioResult> results;
};

JUnitRead ReadJUnitText(std::string_view text, const std::string& name);
JUnitRead ReadJUnitFile(const std::string& path);

}  // namespace kvr9::headless
