// The kvr9-headless command: reads a scenario from a file or standard input
// and runs it. Kept apart from main() so tests can run it in-process.
#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "host/scenario/executor.h"

namespace kvr9::headless {

// arguments excludes the program name.
ExitStatus RunHeadlessCommand(const std::vector<std::string>& arguments, std::istream& in,
                              std::ostream& out, std::ostream& err);

}  // namespace kvr9::headless
