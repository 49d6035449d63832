// kvr9-headless explore: the walk over every state the panel's inputs reach,
// with the rules checked in each; its findings as JSON, as one page, and as
// a scenario file for each broken rule.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "host/scenario/executor.h"

namespace kvr9::headless {

// arguments: what follows "explore".
ExitStatus RunExploreCommand(const std::vector<std::string>& arguments, std::ostream& out,
                             std::ostream& err);

}  // namespace kvr9::headless
