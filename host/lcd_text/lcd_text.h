// Reads an LCD frame back as text, from its dots alone: both text fonts
// (normal, inverse, double height), the big numerals and the menu icons.
// It works on any frame (a pass's frame buffer, a golden, a screenshot read
// back into dots), so front ends and tests can say what the screen shows.
// What it reads and what it cannot: docs/lcd-text.md.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "lcd/frame_buffer.h"

namespace kvr9 {

enum class LcdFont : std::uint8_t { Small, Bold8x8, BigDigits, Icon };

// Longest run text: the most cells of the narrowest font that fit across
// the display.
inline constexpr std::size_t kLcdRunTextCapacity = kLcdWidth / 6;

// Characters side by side on one row in one font and style. x and y are the
// top-left dot of the first cell (for the small font the spacing row above
// the glyphs, as its drawing routine places it at y - 1). Single blank
// cells between characters are spaces in the text; inverse runs keep the
// dark blank cells at their ends (" ZERO "). An icon is a run whose text is
// its name.
struct LcdTextRun {
  std::int16_t x = 0;
  std::int16_t y = 0;
  std::int16_t width = 0;  // in dots, every cell of the run
  std::int16_t height = 0;
  LcdFont font = LcdFont::Bold8x8;
  bool doubleHeight = false;
  bool inverse = false;
  std::uint8_t length = 0;
  std::uint8_t line = 0;  // which line of AsLines() it stands on, from 0
  std::array<char, kLcdRunTextCapacity> characters{};

  std::string_view Text() const { return {characters.data(), length}; }
};

// Disjoint cells of at least 6 x 8 dots; no frame holds more runs.
inline constexpr std::size_t kLcdTextRunCapacity = 192;

struct LcdText {
  std::array<LcdTextRun, kLcdTextRunCapacity> runs{};
  std::size_t runCount = 0;

  // In reading order: top to bottom by row, left to right within a row.
  std::span<const LcdTextRun> Runs() const { return {runs.data(), runCount}; }

  // One line per text row, "\n" after each. Runs that share rows of dots
  // make one line; the gap between two runs becomes one blank per 8 dots
  // (at least one), and lines start with their first run, not indented.
  // Icons read "[icon:name]".
  std::string AsLines() const;
  void AppendLines(std::string& out) const;

  // True when some line holds the text.
  bool Contains(std::string_view text) const;
};

// The name of each icon, in the firmware's icon order.
inline constexpr std::array<std::string_view, 10> kLcdIconNames = {
    "log",         "dial",      "tools",    "question", "chart",
    "exclamation", "altimeter", "airspeed", "display",  "adc"};

LcdText ReadLcdText(const FrameBuffer& frameBuffer);

// The dark dots of dot rows top..bottom that no run of the text covers:
// ink the reader does not read as the instrument's own words (a glyph
// changed, a stray dot). first: the first of them, row by row.
struct UnreadInk {
  std::size_t dots = 0;
  int firstX = -1;
  int firstY = -1;
};
UnreadInk FindUnreadInk(const FrameBuffer& frameBuffer, const LcdText& text, int top, int bottom);
// The same into a caller's record, for a front end that reads every pass.
void ReadLcdText(const FrameBuffer& frameBuffer, LcdText& text);

}  // namespace kvr9
