// kvr9-headless check-lesson: a lesson file looked over as its author
// would want it looked over, before a class sits down to it. The reader's
// fault, if any; then what reads but teaches nothing; and, with a
// solution, whether doing what it says finishes the lesson.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "host/scenario/executor.h"

namespace kvr9::headless {

// arguments: what follows "check-lesson", FILE [SOLUTION.scn]. The faults
// go to out, one line each; 0 none, 1 some (or the solution does not
// finish the lesson), 2 malformed arguments or a file that cannot be read.
ExitStatus RunCheckLessonCommand(const std::vector<std::string>& arguments, std::ostream& out,
                                 std::ostream& err);

}  // namespace kvr9::headless
