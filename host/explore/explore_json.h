// The explorer's findings as JSON, for an engineer's tools and the report
// page: the walk's counts, every screen of the instrument (reached, or
// unreachable and why), the states, the moves between them and each broken
// rule with its scenario.
#pragma once

#include <string>

#include "host/explore/explorer.h"

namespace kvr9 {

std::string ExploreJson(const ExploreResult& result, const ExploreOptions& options);

// Why a screen was not reached: the walk stopped short, or no input from
// power-on leads there.
std::string UnreachableReason(const ExploreResult& result);

}  // namespace kvr9
