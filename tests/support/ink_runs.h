// Reads the facts a screen's layout rules fix straight off a frame: where a
// bar ends, which rows a scroll-bar thumb covers, how far an inverse
// highlight runs and where a text starts.
#pragma once

#include <ostream>
#include <vector>

#include "lcd/frame_buffer.h"

namespace kvr9::testing {

struct InkRun {
  int first;
  int last;
  bool operator==(const InkRun&) const = default;
};

using Runs = std::vector<InkRun>;

inline void PrintTo(const InkRun& run, std::ostream* os) {
  *os << run.first << ".." << run.last;
}

// The runs of adjacent ink dots met walking from (x, y) in steps of (dx, dy)
// until the edge of the display.
inline std::vector<InkRun> RunsAlong(const FrameBuffer& frame, int x, int y, int dx, int dy) {
  std::vector<InkRun> runs;
  bool inRun = false;
  for (int i = 0; x < kLcdWidth && y < kLcdHeight; ++i, x += dx, y += dy) {
    const bool ink =
        GetPixel(frame, static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)) != 0;
    const int at = dx != 0 ? x : y;
    if (ink && !inRun) runs.push_back({at, at});
    if (ink) runs.back().last = at;
    inRun = ink;
  }
  return runs;
}

inline std::vector<InkRun> InkRunsInRow(const FrameBuffer& frame, int y) {
  return RunsAlong(frame, 0, y, 1, 0);
}

inline std::vector<InkRun> InkRunsInColumn(const FrameBuffer& frame, int x, int fromY) {
  return RunsAlong(frame, x, fromY, 0, 1);
}

// The bottom dot row of an 8x8-font line at y: capitals, digits and the
// punctuation of the menus leave it blank, so there plain text shows
// nothing and inverse text one solid run across its cells.
inline std::vector<InkRun> InverseCellRuns(const FrameBuffer& frame, int y) {
  return InkRunsInRow(frame, y + 7);
}

}  // namespace kvr9::testing
