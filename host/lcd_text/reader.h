// The LCD text reader's working state: the cells that match a glyph (hits),
// the frame's columns and what is claimed of them, and the steps that turn
// hits into runs: scanning and settling (scanning.cpp), then runs in
// reading order (layout.cpp). Inside the reader only.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "host/lcd_text/glyph_catalogue.h"

namespace kvr9::lcd_text {

// A cell whose dots are exactly one glyph.
struct Hit {
  std::int16_t x;
  std::int16_t y;
  Style style;
  char code;
  bool alive;
  bool pastRightEdge;  // its cell runs past column 127
  bool spacingOnly;    // an inverse blank or underscore: the look of a bar's edge
  bool leans;          // touches ink outside its cell that a neighbour's cell covers
  std::uint16_t ink;
  // The run of hits it stands in (same style and row, cell after cell),
  // which decides between hits that overlap.
  std::uint16_t runLength;
  std::uint16_t runInk;
  bool runHasGlyph;
};

// Enough for any frame the instrument draws many times over; a frame of
// noise that yields more has the rest of its matches left unread.
constexpr std::size_t kHitCapacity = 2048;

inline bool SameRow(const Hit& a, const Hit& b) {
  return a.style == b.style && a.y == b.y;
}

inline bool ByRow(const Hit& a, const Hit& b) {
  if (a.style != b.style) return a.style < b.style;
  if (a.y != b.y) return a.y < b.y;
  return a.x < b.x;
}

// The reader's larger tables, kept off the stack (about 90 KB) and made
// once a thread.
struct Workspace {
  std::array<Hit, kHitCapacity> hits;
  std::array<std::uint16_t, 4 * kHitCapacity> bucketHits;  // a cell spans at most 4 buckets
  std::array<std::uint16_t, kHitCapacity> next;
  std::array<std::uint16_t, kHitCapacity> previous;
  std::array<std::uint16_t, kHitCapacity> length;
  std::array<std::uint32_t, kHitCapacity> ink;
  std::array<bool, kHitCapacity> glyph;
  std::array<LcdTextRun, kLcdTextRunCapacity> sorted;
};

struct Reader {
  Reader(const FrameBuffer& frameBuffer, LcdText& text, Workspace& workspace)
      : glyphs(TheGlyphs()),
        columns(ReadColumns(frameBuffer)),
        work(workspace),
        hits(workspace.hits),
        out(text),
        bucketHits(workspace.bucketHits) {
    std::copy(columns.begin(), columns.end(), padded.begin());
  }

  const Glyphs& glyphs;
  Columns columns;
  std::array<Column, kLcdWidth + 32> padded{};  // the columns, then blank ones
  Columns claimed{};                            // dots already explained by an accepted cell
  Workspace& work;
  std::array<Hit, kHitCapacity>& hits;  // the first hitCount are in use
  std::size_t hitCount = 0;
  LcdText& out;
  // Hits by the 8-column buckets their cells span, for finding neighbours.
  static constexpr int kBucketWidth = 8;
  static constexpr std::size_t kBucketCount = (kLcdWidth + 32) / kBucketWidth;
  std::array<std::uint16_t, kBucketCount + 1> bucketStart{};
  std::array<std::uint16_t, 4 * kHitCapacity>& bucketHits;

  Column At(int x) const { return x >= 0 ? padded[static_cast<std::size_t>(x)] : 0; }

  void AddHit(int x, int y, Style style, char code, int ink) {
    if (hitCount == hits.size()) return;
    hits[hitCount++] = {static_cast<std::int16_t>(x),
                        static_cast<std::int16_t>(y),
                        style,
                        code,
                        true,
                        x + kShapes[style].width > kLcdWidth,
                        false,
                        false,
                        static_cast<std::uint16_t>(ink),
                        0,
                        0,
                        false};
  }

  bool IsClaimed(int x, int y, int width, int height) const {
    for (int c = x; c < x + width && c < kLcdWidth; ++c) {
      if (Slice(claimed[static_cast<std::size_t>(c)], y, height) != 0) return true;
    }
    return false;
  }

  void Claim(int x, int y, int width, int height) {
    const Column rows = y >= 0 ? RowsMask(height) << y : RowsMask(height + y);
    for (int c = x; c < x + width && c < kLcdWidth; ++c)
      claimed[static_cast<std::size_t>(c)] |= rows;
  }

  // The dark dots of a cell. A cell's window holds nothing but its glyph, so
  // another candidate whose cell takes in none of them (only blank spacing
  // shared) is a reading of other dots and stands beside it.
  void ClaimInk(int x, int y, int width, int height) {
    const Column rows = y >= 0 ? RowsMask(height) << y : RowsMask(height + y);
    for (int c = x; c < x + width && c < kLcdWidth; ++c) {
      claimed[static_cast<std::size_t>(c)] |= columns[static_cast<std::size_t>(c)] & rows;
    }
  }

  // True when every dot of the cell is set.
  bool IsDarkCell(int x, int y, Style style) const {
    const StyleShape& shape = kShapes[style];
    if (x < 0 || x + shape.width > kLcdWidth) return false;
    for (int c = x; c < x + shape.width; ++c) {
      if (Slice(At(c), y, shape.height) != RowsMask(shape.height)) return false;
    }
    return true;
  }

  bool IsBlankCell(int x, int y, Style style) const {
    const StyleShape& shape = kShapes[style];
    for (int c = x; c < x + shape.width; ++c) {
      if (Slice(At(c), y, shape.height) != 0) return false;
    }
    return true;
  }

  std::uint64_t Key(int x, int y, int width) const;
  void ScanText();
  void ScanDoubleHeight();
  void ScanBig();
  void ReadIcons();
  void SettleBig(std::size_t first);
  void AddInverseBlanks(std::size_t first);
  bool NeighboursCover(const Hit& self, int x, Column rows) const;
  bool IsStray(Hit& hit) const;
  void FileByColumn();
  void MeasureRuns(std::size_t first, bool allowGap);
  void DropStrays(std::size_t first);
  void SettleText(std::size_t first);
  void BuildRuns(std::size_t first);
  void OrderRuns();
};

}  // namespace kvr9::lcd_text
