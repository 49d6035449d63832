// The communication window's rule, for every front end that shows one: it
// keeps its latest kMostLines lines, and once it is full of one line that
// keeps coming, a new copy of that line changes nothing a person sees, so
// the front end may leave its picture alone.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kvr9 {

class CommLines {
 public:
  static constexpr std::size_t kMostLines = 1000;

  struct Change {
    bool dropOldest;      // the window was full: its first line goes
    std::size_t repeats;  // how many of its last lines are now the newest line
    bool sameAsBefore;    // full before and after, and the newest line equals the one before
  };

  Change Append(std::string_view line);

  // A window showing its last linesInView lines looks the same after the
  // newest line as before it.
  static bool LooksTheSame(const Change& change, std::size_t linesInView) {
    return change.sameAsBefore && change.repeats > linesInView;
  }

  std::size_t lines() const { return lines_; }

  // All the rule remembers, for a snapshot of the panel.
  struct Memory {
    std::size_t lines = 0;
    std::size_t repeats = 0;
    std::string last;

    bool operator==(const Memory&) const = default;
  };
  Memory Remembered() const { return {lines_, repeats_, last_}; }
  void Restore(const Memory& memory) {
    lines_ = memory.lines;
    repeats_ = memory.repeats;
    last_ = memory.last;
  }

 private:
  std::size_t lines_ = 0;
  std::size_t repeats_ = 0;
  std::string last_;
};

}  // namespace kvr9
