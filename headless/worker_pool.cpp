#include "headless/worker_pool.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstring>
#include <map>
#include <ostream>
#include <thread>
#include <vector>

#include "host/common/quote.h"

namespace kvr9::headless {

namespace {

using Clock = std::chrono::steady_clock;

struct Worker {
  pid_t pid = -1;
  int from = -1;  // the read end of its pipe
  std::size_t job = 0;
  Clock::time_point started;
  std::string text;
};

// In the child: the job, its text down the pipe, and out without running
// anything of the parent's at exit (buffers, test frameworks, leak checks).
[[noreturn]] void BeWorker(const WorkerPlan& plan, std::size_t job, int to) {
  int status = 0;
  try {
    const std::string text = plan.work(job);
    std::size_t sent = 0;
    while (sent < text.size()) {
      const ssize_t wrote = write(to, text.data() + sent, text.size() - sent);
      if (wrote < 0 && errno == EINTR) continue;
      if (wrote <= 0) {
        status = 3;
        break;
      }
      sent += static_cast<std::size_t>(wrote);
    }
  } catch (...) {
    status = 4;
  }
  close(to);
  _exit(status);
}

std::string WhyItFailed(int status) {
  if (WIFSIGNALED(status)) {
    const int signal = WTERMSIG(status);
    const char* name = sigabbrev_np(signal);
    return "crashed (signal " + std::to_string(signal) +
           (name != nullptr ? std::string(", SIG") + name : std::string()) + ")";
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 4) return "crashed (an exception escaped)";
  if (WIFEXITED(status)) return "ended with status " + std::to_string(WEXITSTATUS(status));
  return "ended abnormally";
}

int Reap(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return status;
}

std::string SecondsText(double seconds) {
  std::string text = std::to_string(seconds);
  while (!text.empty() && text.back() == '0') text.pop_back();
  if (!text.empty() && text.back() == '.') text.pop_back();
  return text;
}

class Pool {
 public:
  explicit Pool(const WorkerPlan& plan) : plan_(plan) {}

  bool Run(std::string& problem) {
    while (nextToStart_ < plan_.jobs || !running_.empty()) {
      while (running_.size() < plan_.workers && nextToStart_ < plan_.jobs) {
        if (!Start(nextToStart_, problem)) {
          if (running_.empty()) return false;
          break;  // try again once one is over
        }
        ++nextToStart_;
      }
      Wait();
    }
    return true;
  }

 private:
  bool Start(std::size_t job, std::string& problem) {
    int ends[2];
    if (pipe(ends) != 0) {
      problem = std::string("cannot make a pipe for a worker: ") + std::strerror(errno);
      return false;
    }
    const pid_t pid = fork();
    if (pid < 0) {
      problem = std::string("cannot start a worker: ") + std::strerror(errno);
      close(ends[0]);
      close(ends[1]);
      return false;
    }
    if (pid == 0) {
      close(ends[0]);
      for (const Worker& other : running_) close(other.from);
      BeWorker(plan_, job, ends[1]);
    }
    close(ends[1]);
    running_.push_back({pid, ends[0], job, Clock::now(), {}});
    return true;
  }

  // Until some worker has something to say, or the nearest time-out.
  void Wait() {
    std::vector<pollfd> watched;
    for (const Worker& worker : running_) watched.push_back({worker.from, POLLIN, 0});
    int waitMs = -1;
    if (plan_.timeoutSeconds > 0) {
      const Clock::time_point now = Clock::now();
      double nearest = plan_.timeoutSeconds;
      for (const Worker& worker : running_) {
        const double left =
            plan_.timeoutSeconds - std::chrono::duration<double>(now - worker.started).count();
        nearest = std::min(nearest, left);
      }
      waitMs = static_cast<int>(std::ceil(std::max(0.0, nearest) * 1000));
    }
    const int ready = poll(watched.data(), watched.size(), waitMs);
    if (ready < 0 && errno != EINTR) {
      // Nothing to wait on that poll can see: give the workers a moment.
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::vector<Worker> still;
    for (std::size_t i = 0; i < running_.size(); ++i) {
      Worker& worker = running_[i];
      if (ready > 0 && (watched[i].revents & (POLLIN | POLLHUP | POLLERR)) != 0 &&
          !ReadFrom(worker)) {
        close(worker.from);
        const int status = Reap(worker.pid);
        WorkerOutcome outcome;
        outcome.finished = WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (outcome.finished) {
          outcome.text = std::move(worker.text);
        } else {
          outcome.problem = WhyItFailed(status);
        }
        Over(worker.job, std::move(outcome));
        continue;
      }
      if (TimedOut(worker)) {
        kill(worker.pid, SIGKILL);
        close(worker.from);
        Reap(worker.pid);
        Over(worker.job,
             {false, {}, "timed out after " + SecondsText(plan_.timeoutSeconds) + " s"});
        continue;
      }
      still.push_back(std::move(worker));
    }
    running_ = std::move(still);
  }

  // False at the end of what the worker sends.
  static bool ReadFrom(Worker& worker) {
    char buffer[65536];
    const ssize_t got = read(worker.from, buffer, sizeof buffer);
    if (got < 0) return errno == EINTR || errno == EAGAIN;
    if (got == 0) return false;
    worker.text.append(buffer, static_cast<std::size_t>(got));
    return true;
  }

  bool TimedOut(const Worker& worker) const {
    if (plan_.timeoutSeconds <= 0) return false;
    return std::chrono::duration<double>(Clock::now() - worker.started).count() >=
           plan_.timeoutSeconds;
  }

  // Handed on in order: a job waits here until all before it are over.
  void Over(std::size_t job, WorkerOutcome outcome) {
    over_.emplace(job, std::move(outcome));
    while (!over_.empty() && over_.begin()->first == nextToHand_) {
      plan_.done(nextToHand_, std::move(over_.begin()->second));
      over_.erase(over_.begin());
      ++nextToHand_;
    }
  }

  const WorkerPlan& plan_;
  std::vector<Worker> running_;
  std::map<std::size_t, WorkerOutcome> over_;
  std::size_t nextToStart_ = 0;
  std::size_t nextToHand_ = 0;
};

}  // namespace

bool RunInWorkers(const WorkerPlan& plan, std::string& problem) {
  Pool pool(plan);
  return pool.Run(problem);
}

unsigned MachineCores() {
  return std::max(1u, std::thread::hardware_concurrency());
}

bool ReadWorkersOption(const std::vector<std::string>& arguments, std::size_t& at,
                       unsigned& workers, std::ostream& err) {
  std::string count = arguments[at].substr(2);
  ++at;
  if (count.empty() && at < arguments.size()) count = arguments[at++];
  unsigned value = 0;
  const char* end = count.data() + count.size();
  const auto [stop, problem] = std::from_chars(count.data(), end, value);
  if (count.empty() || problem != std::errc() || stop != end || value > kMostWorkers) {
    err << "kvr9-headless: -j needs a number of workers, 0 (one a core) to " << kMostWorkers
        << ", not " << Quoted(count) << '\n';
    return false;
  }
  workers = value == 0 ? std::min(MachineCores(), kMostWorkers) : value;
  return true;
}

bool ReadTimeoutOption(const std::vector<std::string>& arguments, std::size_t& at, double& seconds,
                       std::ostream& err) {
  const std::string word = at + 1 < arguments.size() ? arguments[at + 1] : "";
  int whole = 0;
  const char* end = word.data() + word.size();
  const auto [stop, problem] = std::from_chars(word.data(), end, whole);
  if (word.empty() || problem != std::errc() || stop != end || whole < 1 ||
      whole > kLongestTimeoutSeconds) {
    err << "kvr9-headless: --timeout needs whole seconds, 1 to " << kLongestTimeoutSeconds
        << ", not " << Quoted(word) << '\n';
    return false;
  }
  seconds = whole;
  at += 2;
  return true;
}

void PutField(std::string& to, std::string_view field) {
  to += std::to_string(field.size());
  to += ':';
  to += field;
}

bool TakeField(std::string_view& from, std::string& field) {
  const std::size_t colon = from.find(':');
  std::size_t size = 0;
  if (colon == std::string_view::npos) return false;
  const auto [end, problem] = std::from_chars(from.data(), from.data() + colon, size);
  if (problem != std::errc() || end != from.data() + colon || size > from.size() - colon - 1) {
    return false;
  }
  field.assign(from.substr(colon + 1, size));
  from.remove_prefix(colon + 1 + size);
  return true;
}

}  // namespace kvr9::headless
