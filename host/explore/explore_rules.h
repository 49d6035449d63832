// The instrument's rules as the explorer checks them, each stated here on
// its own from what the instrument promises, not taken from the screens'
// code: settings within their limits, the alarm and the LED, the rows of
// the list screens on their 8-dot lines, and what each key does on each
// kind of screen. A finding carries the lines a scenario ends with to show
// it: the input, then the expectations the rule fixes.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/instrument.h"
#include "host/explore/explore_state.h"

namespace kvr9 {

struct RuleFinding {
  const char* rule;
  std::string message;
  std::vector<std::string> tail;
};

// A click and the two passes of a key move: the first takes the key, the
// second draws what it led to. Each pass comes after a timer tick.
std::vector<std::string> KeyMoveLines(KeyEvent key);

// Rules on one state, at the end of a move that left the instrument on,
// with the frame its last pass drew.
void CheckState(const ExploreMoment& moment, const FrameBuffer& frame,
                std::vector<RuleFinding>& findings);

// The rule on one key: before it, and after its move.
void CheckKey(const ExploreMoment& before, KeyEvent key, const ExploreMoment& after,
              std::vector<RuleFinding>& findings);

// Rules on the keys: before, and after each single key (indexed by
// KeyEvent; KeyNone unused).
void CheckKeys(const ExploreMoment& before, const std::array<ExploreMoment, 6>& after,
               std::vector<RuleFinding>& findings);

// The inputs the rules name for leaving a state towards the main display,
// with the screen each step must bring: what a scenario tries where the
// walk found no way back.
std::vector<std::string> WayOutLines(const ExploreMoment& moment);

}  // namespace kvr9
