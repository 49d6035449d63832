// kvr9-headless sweep: every flight log of a folder (or the logs named)
// flown through the firmware, one CSV row a log: the log's own summary
// beside what the instrument made of it (MAX VALUES, alarms, flights).
// Logs are flown one at a time, or side by side in worker processes with
// -j, the rows always in the logs' order.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "host/scenario/executor.h"

namespace kvr9::headless {

// The CSV's first line: the units stand in the column names.
inline constexpr const char* kSweepCsvHeader =
    "log,highest_ft,fastest_mph,length_s,max_altitude_ft,max_airspeed_mph,alarms,"
    "first_alarm_s,flights,flight_timer_s,problem";

// arguments: what follows "sweep". The rows go to standard output unless
// --csv names a file.
ExitStatus RunSweepCommand(const std::vector<std::string>& arguments, std::ostream& out,
                           std::ostream& err);

}  // namespace kvr9::headless
