// The LCD read as text. Every cell a character can occupy is looked up
// whole: the dots of the window must be exactly the glyph as its routine
// draws it, blank dots included, so a character is read only where nothing
// else touches its cell. Candidates that overlap are settled in favour of
// the longer run, which is what text looks like and stray matches do not.
// Here: the accepted cells as runs in reading order, and the lines.
#include <algorithm>

#include "host/lcd_text/lcd_text.h"
#include "host/lcd_text/reader.h"

namespace kvr9::lcd_text {

// Accepted cells become runs: cells side by side join, and one blank cell
// between two characters of a normal run is a space.
void Reader::BuildRuns(std::size_t first) {
  const auto begin = hits.begin() + static_cast<std::ptrdiff_t>(first);
  const auto end = hits.begin() + static_cast<std::ptrdiff_t>(hitCount);
  std::sort(begin, end, ByRow);
  LcdTextRun* run = nullptr;
  const auto append = [&run](char code) {
    if (run->length < run->characters.size()) run->characters[run->length++] = code;
  };
  for (auto it = begin; it != end; ++it) {
    const StyleShape& shape = kShapes[it->style];
    const bool sameRow = run != nullptr && it != begin && SameRow(*it, *(it - 1));
    const int runEnd = sameRow ? run->x + run->width : 0;
    if (sameRow && it->x == runEnd + shape.width && !shape.inverse &&
        IsBlankCell(runEnd, it->y, it->style) &&
        !IsClaimed(runEnd, it->y, shape.width, shape.height)) {
      append(' ');
    } else if (!sameRow || it->x != runEnd) {
      if (out.runCount == out.runs.size()) return;
      run = &out.runs[out.runCount++];
      *run = {};
      run->x = it->x;
      run->y = it->y;
      run->height = static_cast<std::int16_t>(shape.height);
      run->font = shape.font;
      run->doubleHeight = shape.doubleHeight;
      run->inverse = shape.inverse;
    }
    append(it->code);
    run->width = static_cast<std::int16_t>(it->x + shape.width - run->x);
  }
}

// Reading order: a run joins the line above when its characters share rows
// of dots with it. An icon takes part with its top 8 rows only, so it stands
// in the line of the caption beside it instead of joining every line it
// spans.
void Reader::OrderRuns() {
  // The rows a run's characters stand in, without the cell's spacing row.
  const auto top = [](const LcdTextRun& run) {
    return run.y + (run.font == LcdFont::Small ? 1 : 0);
  };
  const auto bottom = [](const LcdTextRun& run) {
    if (run.font == LcdFont::Icon) return run.y + 8;
    if (run.font == LcdFont::Small) return run.y + run.height;
    return run.y + run.height - (run.doubleHeight ? 2 : 1);
  };
  auto* const begin = out.runs.data();
  auto* const end = begin + out.runCount;
  std::sort(begin, end, [&](const LcdTextRun& a, const LcdTextRun& b) {
    if (top(a) != top(b)) return top(a) < top(b);
    return a.x < b.x;
  });
  std::array<std::uint8_t, kLcdTextRunCapacity> line{};
  int lineNumber = -1;
  int lineBottom = 0;
  for (auto* run = begin; run != end; ++run) {
    if (lineNumber < 0 || top(*run) >= lineBottom) {
      ++lineNumber;
      lineBottom = bottom(*run);
    } else {
      lineBottom = std::max(lineBottom, bottom(*run));
    }
    line[static_cast<std::size_t>(run - begin)] = static_cast<std::uint8_t>(lineNumber);
  }
  // Within a line, left to right; the line number rides in the top byte of
  // a sort key so that the sort is stable across lines.
  std::array<std::uint32_t, kLcdTextRunCapacity> order{};
  for (std::size_t i = 0; i < out.runCount; ++i) {
    order[i] = static_cast<std::uint32_t>(line[i]) << 24 |
               static_cast<std::uint32_t>(out.runs[i].x + 64) << 8 | static_cast<std::uint32_t>(i);
  }
  std::sort(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(out.runCount));
  auto& sorted = work.sorted;
  for (std::size_t i = 0; i < out.runCount; ++i) {
    sorted[i] = out.runs[order[i] & 0xFF];
    sorted[i].line = line[order[i] & 0xFF];
  }
  std::copy_n(sorted.begin(), out.runCount, out.runs.begin());
}

}  // namespace kvr9::lcd_text

namespace kvr9 {

void ReadLcdText(const FrameBuffer& frameBuffer, LcdText& text) {
  text.runCount = 0;
  static thread_local lcd_text::Workspace workspace;
  lcd_text::Reader reader(frameBuffer, text, workspace);
  reader.ReadIcons();
  reader.ScanBig();
  const std::size_t bigEnd = reader.hitCount;
  reader.ScanText();
  reader.ScanDoubleHeight();
  reader.AddInverseBlanks(bigEnd);
  reader.SettleText(bigEnd);
  reader.BuildRuns(0);
  reader.OrderRuns();
}

LcdText ReadLcdText(const FrameBuffer& frameBuffer) {
  LcdText text;
  ReadLcdText(frameBuffer, text);
  return text;
}

void LcdText::AppendLines(std::string& out) const {
  std::string line;
  const auto flush = [&]() {
    const std::size_t last = line.find_last_not_of(' ');
    const std::size_t firstChar = line.find_first_not_of(' ');
    if (firstChar != std::string::npos) out.append(line, firstChar, last - firstChar + 1);
    out += '\n';
    line.clear();
  };
  for (std::size_t i = 0; i < runCount; ++i) {
    const LcdTextRun& run = runs[i];
    if (i > 0 && run.line != runs[i - 1].line) flush();
    if (i > 0 && run.line == runs[i - 1].line) {
      const LcdTextRun& before = runs[i - 1];
      const int gap = run.x - (before.x + before.width);
      if (gap > 0) line.append(static_cast<std::size_t>(std::max(1, (gap + 4) / 8)), ' ');
    }
    if (run.font == LcdFont::Icon) {
      line += "[icon:";
      line += run.Text();
      line += ']';
    } else {
      line += run.Text();
    }
  }
  if (runCount > 0) flush();
}

std::string LcdText::AsLines() const {
  std::string out;
  AppendLines(out);
  return out;
}

bool LcdText::Contains(std::string_view text) const {
  const std::string lines = AsLines();
  for (std::size_t start = 0; start < lines.size();) {
    const std::size_t end = lines.find('\n', start);
    if (std::string_view(lines).substr(start, end - start).find(text) != std::string_view::npos) {
      return true;
    }
    start = end + 1;
  }
  return false;
}

UnreadInk FindUnreadInk(const FrameBuffer& frameBuffer, const LcdText& text, int top, int bottom) {
  UnreadInk unread;
  for (int y = std::max(top, 0); y <= std::min(bottom, kLcdHeight - 1); ++y) {
    for (int x = 0; x < kLcdWidth; ++x) {
      const std::size_t byte = static_cast<std::size_t>(y / 8 * kLcdWidth + x);
      if ((frameBuffer.bytes[byte] >> (y % 8) & 1) == 0) continue;
      const bool read =
          std::any_of(text.Runs().begin(), text.Runs().end(), [&](const LcdTextRun& run) {
            return x >= run.x && x < run.x + run.width && y >= run.y && y < run.y + run.height;
          });
      if (read) continue;
      if (unread.dots++ == 0) {
        unread.firstX = x;
        unread.firstY = y;
      }
    }
  }
  return unread;
}

}  // namespace kvr9
