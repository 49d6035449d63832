// Jobs run side by side in worker processes: each job in a process of its
// own, forked from this one, at most `workers` at a time. What a job hands
// back travels whole through a pipe, and is handed on in the jobs' own
// order, so a report made from it reads as one made a job at a time.
//
// A job that crashes or outlives its time-out is that job's error; the
// others run on.
#pragma once

#include <cstddef>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace kvr9::headless {

struct WorkerOutcome {
  bool finished = false;  // the job ran to its end and handed back its text
  std::string text;       // what it handed back (when finished)
  std::string problem;    // else why not, one line: "crashed (signal 11)", "timed out after 60 s"
};

struct WorkerPlan {
  std::size_t jobs = 0;
  unsigned workers = 1;       // processes at a time, at least 1
  double timeoutSeconds = 0;  // a job's longest run; 0 for none
  // Runs in the worker: job's index from 0, its text handed back.
  std::function<std::string(std::size_t job)> work;
  // Runs here, job by job in order of index, as soon as a job and all
  // before it are over.
  std::function<void(std::size_t job, WorkerOutcome outcome)> done;
};

// What a job hands back as fields, one after the other, each as its
// length, ':' and its bytes, so no byte of a name or a message can break
// it. TakeField takes the first field off from; false when it is damaged.
void PutField(std::string& to, std::string_view field);
bool TakeField(std::string_view& from, std::string& field);

// False, with the reason in problem, when no worker could be started at all;
// the jobs already done were handed on.
bool RunInWorkers(const WorkerPlan& plan, std::string& problem);

// The machine's cores, at least 1 (-j 0).
unsigned MachineCores();

// The most workers -j may ask for: more only queue for the same cores.
inline constexpr unsigned kMostWorkers = 256;

// "-j N" or "-jN" at arguments[at]: N workers (0: one a core); moves at
// past it. False, with the one-line complaint in err, for a count out of
// range.
bool ReadWorkersOption(const std::vector<std::string>& arguments, std::size_t& at,
                       unsigned& workers, std::ostream& err);

// A worker's longest job: whole seconds, 1 to a day.
inline constexpr int kLongestTimeoutSeconds = 24 * 60 * 60;

// "--timeout SECONDS" at arguments[at]; moves at past it. False, with the
// one-line complaint in err, for seconds out of range or missing.
bool ReadTimeoutOption(const std::vector<std::string>& arguments, std::size_t& at, double& seconds,
                       std::ostream& err);

}  // namespace kvr9::headless
