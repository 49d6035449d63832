// The explorer: a breadth-first walk over the panel's inputs from a fresh
// instrument, through every state a person can bring it to, with the
// instrument's rules checked in each state and on each key. Every state is
// reached by a shortest path of inputs, and every broken rule comes with a
// scenario the driver runs as it is: the path, then the input and the
// expectations the rule fixes.
//
// The walk runs the firmware on a host of its own (no session, no view),
// with the panel's inputs applied as every front end applies them, and
// keeps time as the window does at its own pace: a timer tick before every
// pass. A scenario of the walk is written the same way ("tick", "pass").
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/explore/explore_state.h"
#include "host/panel/panel_types.h"

namespace kvr9 {

enum class MoveKind : std::uint8_t {
  Key,      // a click on a key, the knob or a turn button
  HoldKey,  // the same click again and again until the state changes
  Box,      // a check box ticked or cleared
  Slider,   // a converter slider to one of the walk's positions, then let settle
  Still,    // passes without a timer tick: the landing count-down runs out
  On,       // "ON"
  Off,      // "OFF"
};

struct ExploreMove {
  MoveKind kind = MoveKind::Key;
  KeyEvent key = KeyNone;
  BoxKind box = BoxKind::Calibrate;
  SliderKind slider = SliderKind::Altitude;
  std::uint16_t position = 0;
  const char* why = "";  // Slider: what the position stands for
};

// "key cw", "hold key f1", "box calibrate", "slider airspeed 412", "still",
// "on", "off".
std::string MoveWord(const ExploreMove& move);

struct ExploreOptions {
  std::size_t maxStates = 200000;
  std::uint32_t maxDepth = 1000;
  // A pass slower than this (on this machine, this build) breaks the
  // pass-time rule: by default the window's pace, one pass every 100 ms.
  double passBoundMicros = 100000;
};

// The explorer's own bounds on its options.
inline constexpr std::size_t kExploreMostStates = 5000000;
inline constexpr std::uint32_t kExploreMostDepth = 100000;

struct ExploreNode {
  ExploreKey key;
  ExploreMoment moment;
  std::uint32_t parent = 0;  // the root is its own parent
  std::uint16_t move = 0;    // the move from the parent
  std::uint16_t count = 0;   // its passes (slider) or presses (hold)
  std::uint32_t depth = 0;
  std::int32_t homeDistance = -1;  // moves to the main display; -1: none
};

struct ExploreEdge {
  std::uint32_t from = 0;
  std::uint32_t to = 0;
  std::uint16_t move = 0;
  std::uint16_t count = 0;
};

struct ExploreViolation {
  std::string rule;         // "limits", "keys", "home", "lcd-rows", "led", "alarm", "pass-time"
  std::string message;      // one line
  std::uint32_t state = 0;  // the state the path leads to
  // The scenario's lines after the path: the input that breaks the rule and
  // the expectations the rule fixes.
  std::vector<std::string> tail;
  std::size_t occurrences = 1;  // states (or moves) that broke it on the same screen
};

struct ExploreResult {
  std::vector<ExploreMove> moves;
  std::vector<ExploreNode> nodes;  // in the order found: nodes[0] is the fresh instrument
  std::vector<ExploreEdge> edges;  // between different states
  std::vector<ExploreViolation> violations;
  bool stateLimitReached = false;
  bool depthLimitReached = false;
  std::uint64_t passes = 0;
  double worstPassMicros = 0;
  std::int32_t mostHomeDistance = 0;
  std::unordered_map<ExploreKey, std::uint32_t, ExploreKeyHash> index;
};

ExploreResult Explore(const ExploreOptions& options = {});

// One move of the walk from a moment, as the walk makes it (a hold is one
// press here).
ExploreMoment MoveFrom(const ExploreMoment& moment, const ExploreMove& move);

// The scenario lines that bring a fresh instrument to a state of the walk.
std::vector<std::string> PathLines(const ExploreResult& result, std::uint32_t state);
// A scenario file's text for a broken rule: a comment naming it, the path,
// then the rule's own lines.
std::string ViolationScenario(const ExploreResult& result, const ExploreViolation& violation);

}  // namespace kvr9
