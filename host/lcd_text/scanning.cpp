// Scanning a frame for cells that are exactly a glyph, and settling the
// candidates that overlap.
#include <algorithm>
#include <bit>

#include "host/lcd_text/reader.h"

namespace kvr9::lcd_text {

// Masks over rows: bit y answers for the window whose top row is y.
// Rows below the display read blank.
Column AnyOfRows(Column column, int rows) {
  Column any = column | column >> 1;
  any |= any >> 2;
  any |= any >> 4;
  if (rows > 8) any |= any >> 8;
  if (rows > 16) any |= any >> 8;
  return any;
}

Column AllOfRows8(Column column) {
  Column all = column & column >> 1;
  all &= all >> 2;
  return all & all >> 4;
}

// A right shift that reads the rows below the display as agreeing.
Column ShiftInOnes(Column column, int by) {
  return column >> by | ~(~Column{0} >> by);
}

// Rows y .. y + 7 of each of width columns from x, as a key.
std::uint64_t Reader::Key(int x, int y, int width) const {
  const Column* column = &padded[static_cast<std::size_t>(x)];
  std::uint64_t key = 0;
  if (y < 0) {
    for (int c = 0; c < width; ++c) key |= ((column[c] << 1) & 0xFF) << (8 * c);
  } else {
    for (int c = 0; c < width; ++c) key |= ((column[c] >> y) & 0xFF) << (8 * c);
  }
  return key;
}

// Every window of both fonts at normal height is a candidate only where the
// spacing of some glyph can be: the 8x8 font's last column blank, dark (an
// inverse cell) or one of the few last columns that carry ink; the small
// font's last column and top row blank, or both dark. Those tests run on
// whole columns of windows at once; only the windows they let through are
// looked up.
void Reader::ScanText() {
  constexpr int kSpan = kLcdWidth + 8;
  std::array<Column, kSpan> blank{};     // rows y .. y + 7 of the column blank
  std::array<Column, kSpan> dark{};      // rows y .. y + 7 all set
  std::array<Column, kSpan> inkedEnd{};  // rows y .. y + 7 one of the inked last columns
  for (int c = 0; c < kSpan; ++c) {
    const auto uc = static_cast<std::size_t>(c);
    const Column column = At(c);
    blank[uc] = ~AnyOfRows(column, 8);
    dark[uc] = AllOfRows8(column);
    if (column == 0) continue;  // no inked last column is blank
    std::array<Column, 8> row{};
    for (std::size_t r = 0; r < 8; ++r) row[r] = column >> r;
    for (const Flips& flips : glyphs.inkedLastColumns) {
      Column same = ~Column{0};
      for (std::size_t r = 0; r < 8; ++r) same &= row[r] ^ flips[r];
      inkedEnd[uc] |= same;
    }
  }
  for (int x = 0; x < kLcdWidth; ++x) {
    const auto ux = static_cast<std::size_t>(x);
    Column any6 = 0, all6 = ~Column{0}, allBlank6 = ~Column{0}, allDark6 = ~Column{0};
    for (std::size_t i = 0; i < 6; ++i) {
      any6 |= At(x + static_cast<int>(i));
      all6 &= At(x + static_cast<int>(i));
      allBlank6 &= blank[ux + i];
      allDark6 &= dark[ux + i];
    }
    const Column allBlank8 = allBlank6 & blank[ux + 6] & blank[ux + 7];
    const Column allDark8 = allDark6 & dark[ux + 6] & dark[ux + 7];
    Column bold = (blank[ux + 7] | dark[ux + 7] | inkedEnd[ux + 7]) & ~allBlank8 & ~allDark8;
    if (bold != 0) {
      // The bottom row the same way: blank, dark or one of the inked ones.
      const Column any8 = any6 | At(x + 6) | At(x + 7);
      Column bottom = all6 & At(x + 6) & At(x + 7);
      const Column* window = &padded[ux];
      for (const Flips& flips : glyphs.inkedBottomRows) {
        Column same = ~Column{0};
        for (std::size_t c = 0; c < 8; ++c) same &= window[c] ^ flips[c];
        bottom |= same;
      }
      bold &= ShiftInOnes(~any8, 7) | bottom >> 7;
    }
    Column small = ((blank[ux + 5] & ~any6) | (dark[ux + 5] & all6)) & ~allBlank6 & ~allDark6;
    for (; bold != 0; bold &= bold - 1) {
      const int y = std::countr_zero(bold);
      if (!glyphs.boldEnds.Has(At(x) >> y, At(x + 7) >> y)) continue;
      const std::uint64_t key = Key(x, y, 8);
      if (const auto* entry = glyphs.bold.Find(key)) {
        AddHit(x, y, entry->style, entry->code, std::popcount(key));
        hits[hitCount - 1].spacingOnly = entry->style == kBoldInverse && entry->code == '_';
      }
    }
    // The small font's spacing row may lie above the display (text at y 0).
    small = small << 1 | 1;
    for (; small != 0; small &= small - 1) {
      const int y = std::countr_zero(small) - 1;
      if (y >= 0 && !glyphs.smallStarts.Has(At(x) >> y, At(x + 1) >> y)) continue;
      const std::uint64_t key = Key(x, y, 6);
      if (key == 0 || key == RowsMask(48)) continue;
      if (const auto* entry = glyphs.small.Find(key)) {
        AddHit(x, y, entry->style, entry->code, std::popcount(key));
        hits[hitCount - 1].spacingOnly = entry->style == kSmallInverse && entry->code == '_';
      }
    }
  }
}

// Double height is the 8x8 font with every row drawn twice: a window of 16
// rows whose row pairs agree reads as the 8-row glyph.
void Reader::ScanDoubleHeight() {
  constexpr int kSpan = kLcdWidth + 8;
  std::array<Column, kSpan> paired{};  // rows y, y + 2, .. y + 14 each equal to the row below
  std::array<Column, kSpan> blank{};   // rows y .. y + 15 blank
  for (int c = 0; c < kSpan; ++c) {
    const auto uc = static_cast<std::size_t>(c);
    const Column column = At(c);
    Column same = ~(column ^ column >> 1);
    same &= ShiftInOnes(same, 2);
    same &= ShiftInOnes(same, 4);
    paired[uc] = same & ShiftInOnes(same, 8);
    blank[uc] = ~AnyOfRows(column, 16);
  }
  for (int x = 0; x < kLcdWidth; ++x) {
    const auto ux = static_cast<std::size_t>(x);
    Column candidates = ~Column{0};
    Column allBlank = ~Column{0};
    Column allSet = ~Column{0};
    for (std::size_t i = 0; i < 8; ++i) {
      candidates &= paired[ux + i];
      allBlank &= blank[ux + i];
      allSet &= At(x + static_cast<int>(i));
    }
    // Bit y of allSet says row y is set across the 8 columns; no glyph but
    // the underscore (in its bottom row) sets a whole row, so a window with
    // one above its bottom pair is a bar, not text.
    if (glyphs.noFullRowsAboveBottom) {
      Column full = allSet | allSet >> 1;
      full |= full >> 2;
      full |= full >> 4;
      candidates &= ~(full | full >> 6);
    }
    for (candidates &= ~allBlank; candidates != 0; candidates &= candidates - 1) {
      const int y = std::countr_zero(candidates);
      std::uint64_t key = 0;
      for (int c = 0; c < 8; ++c) {
        const Column rows = Slice(At(x + c), y, 16);
        key |= std::uint64_t{static_cast<std::uint8_t>(glyphs.evenRows[rows & 0xFF] |
                                                       glyphs.evenRows[(rows >> 8) & 0xFF] << 4)}
               << (8 * c);
      }
      const auto* entry = glyphs.bold.Find(key);
      if (entry != nullptr && entry->style == kBold) {
        AddHit(x, y, kBoldDouble, entry->code, 2 * std::popcount(key));
      }
    }
  }
}

// Big numerals keep their first and last columns blank; the windows that do
// are looked up by two middle columns, then compared whole.
void Reader::ScanBig() {
  const std::size_t first = hitCount;
  std::array<Column, kLcdWidth> blank{};  // rows y .. y + 23 blank
  for (std::size_t c = 0; c < blank.size(); ++c) blank[c] = ~AnyOfRows(columns[c], 24);
  for (std::size_t x = 0; x + 18 <= blank.size(); ++x) {
    Column candidates = ~blank[x + 8];
    if (glyphs.bigEdgesBlank) candidates &= blank[x] & blank[x + 17];
    for (; candidates != 0; candidates &= candidates - 1) {
      const int y = std::countr_zero(candidates);
      const std::uint64_t key = Slice(columns[x + 8], y, 24) | Slice(columns[x + 9], y, 24) << 24;
      const auto* entry = glyphs.bigKeys.Find(key);
      if (entry == nullptr) continue;
      const BigGlyph& glyph = glyphs.big[static_cast<std::size_t>(entry->code)];
      bool same = true;
      for (std::size_t c = 0; c < glyph.columns.size() && same; ++c) {
        same = Slice(columns[x + c], y, 24) == glyph.columns[c];
      }
      if (!same) continue;
      int ink = 0;
      for (Column column : glyph.columns) ink += std::popcount(column);
      AddHit(static_cast<int>(x), y, kBig, entry->code, ink);
    }
  }
  SettleBig(first);
}

void Reader::ReadIcons() {
  for (std::size_t icon = 0; icon < kIconCount; ++icon) {
    const IconGlyph& glyph = glyphs.icons[icon];
    bool same = true;
    for (std::size_t c = 0; c < glyph.columns.size() && same; ++c) {
      same = Slice(columns[static_cast<std::size_t>(glyph.x) + c], glyph.y, 32) == glyph.columns[c];
    }
    if (!same || IsClaimed(glyph.x, glyph.y, 32, 32)) continue;
    Claim(glyph.x, glyph.y, 32, 32);
    if (out.runCount == out.runs.size()) return;
    LcdTextRun& run = out.runs[out.runCount++];
    run = {};
    run.x = static_cast<std::int16_t>(glyph.x);
    run.y = static_cast<std::int16_t>(glyph.y);
    run.width = 32;
    run.height = 32;
    run.font = LcdFont::Icon;
    const std::string_view name = kLcdIconNames[icon];
    run.length = static_cast<std::uint8_t>(name.size());
    std::copy(name.begin(), name.end(), run.characters.begin());
  }
}

// Big numerals are drawn transparently and never overlap; a numeral claims
// only its ink, so text may stand in its blank margin. Its code is its
// place among the big glyphs until the runs are built.
void Reader::SettleBig(std::size_t first) {
  const auto begin = hits.begin() + static_cast<std::ptrdiff_t>(first);
  const auto end = hits.begin() + static_cast<std::ptrdiff_t>(hitCount);
  std::sort(begin, end, [](const Hit& a, const Hit& b) {
    if (a.ink != b.ink) return a.ink > b.ink;
    if (a.y != b.y) return a.y < b.y;
    return a.x < b.x;
  });
  std::size_t kept = first;
  for (auto it = begin; it != end; ++it) {
    if (IsClaimed(it->x, it->y, 18, 24)) continue;
    const BigGlyph& glyph = glyphs.big[static_cast<std::size_t>(it->code)];
    for (std::size_t c = 0; c < glyph.columns.size(); ++c) {
      claimed[static_cast<std::size_t>(it->x) + c] |= glyph.columns[c] << it->y;
    }
    it->code = glyph.code;
    hits[kept++] = *it;
  }
  hitCount = kept;
}

// An inverse character replaces its whole cell, so the dark blank cells
// between and around inverse characters are part of the bar they make:
// they join the run as spaces, and claim their place like characters.
void Reader::AddInverseBlanks(std::size_t first) {
  const std::size_t glyphEnd = hitCount;
  std::sort(hits.begin() + static_cast<std::ptrdiff_t>(first),
            hits.begin() + static_cast<std::ptrdiff_t>(glyphEnd), ByRow);
  for (std::size_t rowStart = first; rowStart < glyphEnd;) {
    std::size_t rowEnd = rowStart + 1;
    while (rowEnd < glyphEnd && SameRow(hits[rowEnd], hits[rowStart])) ++rowEnd;
    const Style style = hits[rowStart].style;
    if (kShapes[style].inverse) {
      const int pitch = kShapes[style].width;
      const int y = hits[rowStart].y;
      std::array<bool, kLcdWidth> taken{};  // cells of this row already hit
      for (std::size_t i = rowStart; i < rowEnd; ++i) {
        taken[static_cast<std::size_t>(hits[i].x)] = true;
      }
      // Walks on over cells already hit (an underscore, a blank added from
      // another character) and stops at the first cell that is neither.
      const auto addBlank = [&](int x) {
        if (x < 0 || x >= kLcdWidth) return false;
        if (taken[static_cast<std::size_t>(x)]) return true;
        if (!IsDarkCell(x, y, style)) return false;
        taken[static_cast<std::size_t>(x)] = true;
        AddHit(x, y, style, ' ', 0);
        hits[hitCount - 1].spacingOnly = true;
        return true;
      };
      // Only characters start a walk: underscores alone are a bar's edge.
      for (std::size_t i = rowStart; i < rowEnd; ++i) {
        if (hits[i].spacingOnly) continue;
        for (int x = hits[i].x + pitch; addBlank(x); x += pitch) {
        }
        for (int x = hits[i].x - pitch; addBlank(x); x -= pitch) {
        }
      }
    }
    rowStart = rowEnd;
  }
}

bool CellsOverlap(const Hit& a, const Hit& b) {
  const StyleShape& sa = kShapes[a.style];
  const StyleShape& sb = kShapes[b.style];
  return a.x < b.x + sb.width && b.x < a.x + sa.width && a.y < b.y + sb.height &&
         b.y < a.y + sa.height;
}

// The font and height a style draws with: normal and inverse cells of one
// font stand side by side in one row.
int Family(Style style) {
  return style == kSmallInverse ? kSmall : style == kBoldInverse ? kBold : style;
}

// True when every dot of rows (a mask of display rows) in column x lies in
// the cell of some live hit beside this one (not overlapping it).
bool Reader::NeighboursCover(const Hit& self, int x, Column rows) const {
  if (x < 0) return false;
  const auto bucket = static_cast<std::size_t>(x) / kBucketWidth;
  for (std::size_t k = bucketStart[bucket]; k < bucketStart[bucket + 1] && rows != 0; ++k) {
    const Hit& other = hits[bucketHits[k]];
    if (!other.alive || &other == &self || CellsOverlap(self, other)) continue;
    const StyleShape& shape = kShapes[other.style];
    if (x < other.x || x >= other.x + shape.width) continue;
    rows &= ~(other.y >= 0 ? RowsMask(shape.height) << other.y : RowsMask(shape.height + other.y));
  }
  return rows == 0;
}

// Files every hit under the column buckets its cell spans.
void Reader::FileByColumn() {
  bucketStart.fill(0);
  const auto spans = [&](const Hit& hit, auto&& visit) {
    const int last = hit.x + kShapes[hit.style].width - 1;
    for (int b = hit.x / kBucketWidth; b <= last / kBucketWidth; ++b) {
      visit(static_cast<std::size_t>(b));
    }
  };
  for (std::size_t i = 0; i < hitCount; ++i)
    spans(hits[i], [&](std::size_t b) { ++bucketStart[b + 1]; });
  for (std::size_t b = 1; b < bucketStart.size(); ++b) bucketStart[b] += bucketStart[b - 1];
  std::array<std::uint16_t, kBucketCount> fill{};
  for (std::size_t i = 0; i < hitCount; ++i) {
    spans(hits[i], [&](std::size_t b) {
      bucketHits[bucketStart[b] + fill[b]++] = static_cast<std::uint16_t>(i);
    });
  }
}

// A character's ink may meet ink outside its cell only where that ink
// belongs to another character's cell: text stands flush against text (a
// descender over the next line, an inverse bar above), while dots that
// match a glyph but run on into a line, a frame or a filled bar are part of
// that shape, not a character. Inverse cells are opaque: they stand flush
// against anything.
bool Reader::IsStray(Hit& hit) const {
  const StyleShape& shape = kShapes[hit.style];
  if (hit.pastRightEdge) {
    // On its own, a cell past the edge might have had more of a stroke in
    // its hidden columns; it is read only as the continuation of a run.
    bool continues = false;
    for (std::size_t i = 0; i < hitCount && !continues; ++i) {
      const Hit& other = hits[i];
      continues = other.alive && Family(other.style) == Family(hit.style) && other.y == hit.y &&
                  other.x + kShapes[other.style].width == hit.x;
    }
    if (!continues) return true;
    hit.leans = true;
  }
  if (shape.inverse) return false;
  // Dots outside the cell that touch its ink, side by side or corner to
  // corner (a stroke that goes on diagonally goes on all the same).
  const Column cellRows =
      hit.y >= 0 ? RowsMask(shape.height) << hit.y : RowsMask(shape.height + hit.y);
  const Column ringRows = (cellRows << 1 | cellRows >> 1) & ~cellRows;
  const int left = hit.x;
  const int right = std::min(hit.x + shape.width, kLcdWidth) - 1;
  const auto inside = [&](int c) { return c < left || c > right ? 0 : At(c) & cellRows; };
  const auto reach = [](Column ink) { return ink | ink << 1 | ink >> 1; };
  for (int c = left - 1; c <= right + 1; ++c) {
    if (c < 0 || c >= kLcdWidth) continue;
    const Column outside = c < left || c > right ? At(c) : At(c) & ringRows;
    const Column touching = outside & reach(inside(c - 1) | inside(c) | inside(c + 1));
    if (touching == 0) continue;
    if (!NeighboursCover(hit, c, touching)) return true;
    hit.leans = true;
  }
  return false;
}

// Sorts the hits from first on by row and gives each the length and ink of
// the run it stands in: hits cell after cell in one style and row (with
// allowGap, also one blank cell apart, as a word and the next). Cells of
// one row may overlap, so a run is followed from cell to cell, not through
// the sorted order.
void Reader::MeasureRuns(std::size_t first, bool allowGap) {
  const auto begin = hits.begin() + static_cast<std::ptrdiff_t>(first);
  const auto end = hits.begin() + static_cast<std::ptrdiff_t>(hitCount);
  std::sort(begin, end, ByRow);
  constexpr std::uint16_t kNone = 0xFFFF;
  auto& next = work.next;
  auto& previous = work.previous;
  std::fill(next.begin() + static_cast<std::ptrdiff_t>(first),
            next.begin() + static_cast<std::ptrdiff_t>(hitCount), kNone);
  std::fill(previous.begin() + static_cast<std::ptrdiff_t>(first),
            previous.begin() + static_cast<std::ptrdiff_t>(hitCount), kNone);
  // Two cursors per row walk to the cells one and two pitches on; hits of a
  // row are in x order, so both only move forward.
  std::size_t beside = first;
  std::size_t gapped = first;
  for (std::size_t i = first; i < hitCount; ++i) {
    const int pitch = kShapes[hits[i].style].width;
    const auto seek = [&](std::size_t& j, int x) {
      if (j <= i) j = i + 1;
      while (j < hitCount && SameRow(hits[i], hits[j]) && hits[j].x < x) ++j;
      return j < hitCount && SameRow(hits[i], hits[j]) && hits[j].x == x;
    };
    if (seek(beside, hits[i].x + pitch)) {
      next[i] = static_cast<std::uint16_t>(beside);
      previous[beside] = static_cast<std::uint16_t>(i);
    } else if (allowGap && seek(gapped, hits[i].x + 2 * pitch) && previous[gapped] == kNone) {
      next[i] = static_cast<std::uint16_t>(gapped);
      previous[gapped] = static_cast<std::uint16_t>(i);
    }
  }
  // Forward sums from the right end, then backward sums from the left end.
  auto& length = work.length;
  auto& ink = work.ink;
  auto& glyph = work.glyph;
  for (std::size_t i = hitCount; i-- > first;) {
    length[i] = 1;
    ink[i] = hits[i].ink;
    glyph[i] = !hits[i].spacingOnly;
    if (next[i] != kNone) {
      length[i] = static_cast<std::uint16_t>(length[i] + length[next[i]]);
      ink[i] += ink[next[i]];
      glyph[i] = glyph[i] || glyph[next[i]];
    }
  }
  for (std::size_t i = first; i < hitCount; ++i) {
    Hit& hit = hits[i];
    hit.runLength = length[i];
    hit.runInk = static_cast<std::uint16_t>(std::min<std::uint32_t>(ink[i], 0xFFFF));
    hit.runHasGlyph = glyph[i];
    if (previous[i] != kNone) {
      const Hit& before = hits[previous[i]];
      hit.runLength = before.runLength;
      hit.runInk = before.runInk;
      hit.runHasGlyph = before.runHasGlyph;
    }
  }
}

// Takes out strays until none is left: the end of a stray run may have
// covered its neighbour.
void Reader::DropStrays(std::size_t first) {
  // An inverse run of nothing but underscores and blanks is the bottom edge
  // of a filled area (the two look the same): never read, and it covers
  // nothing either.
  MeasureRuns(first, false);
  std::size_t kept = first;
  for (std::size_t i = first; i < hitCount; ++i) {
    if (!hits[i].spacingOnly || hits[i].runHasGlyph) hits[kept++] = hits[i];
  }
  hitCount = kept;
  // Only a hit that leant on a neighbour can turn stray when one goes.
  for (std::size_t i = first; i < hitCount; ++i) hits[i].leans = true;
  FileByColumn();
  for (bool dropped = true; dropped;) {
    dropped = false;
    for (std::size_t i = first; i < hitCount; ++i) {
      Hit& hit = hits[i];
      if (!hit.alive || !hit.leans) continue;
      hit.leans = false;
      if (IsStray(hit)) {
        hit.alive = false;
        dropped = true;
      }
    }
  }
  kept = first;
  for (std::size_t i = first; i < hitCount; ++i) {
    if (hits[i].alive) hits[kept++] = hits[i];
  }
  hitCount = kept;
}

// Overlapping text candidates: the one in the longer run wins, then the
// one with more ink, then the lower, then the left one (an isolated small
// minus is an underscore three rows higher, an isolated apostrophe a comma
// five rows higher; they read as the minus and the apostrophe). Two cells
// overlap only where one holds the other's dots; blank spacing may be
// shared.
void Reader::SettleText(std::size_t first) {
  DropStrays(first);
  MeasureRuns(first, true);
  const auto begin = hits.begin() + static_cast<std::ptrdiff_t>(first);
  const auto end = hits.begin() + static_cast<std::ptrdiff_t>(hitCount);
  std::sort(begin, end, [](const Hit& a, const Hit& b) {
    if (a.runLength != b.runLength) return a.runLength > b.runLength;
    if (a.runInk != b.runInk) return a.runInk > b.runInk;
    if (a.y != b.y) return a.y > b.y;
    if (a.x != b.x) return a.x < b.x;
    return a.style < b.style;
  });
  std::size_t kept = first;
  for (auto it = begin; it != end; ++it) {
    const StyleShape& shape = kShapes[it->style];
    if (IsClaimed(it->x, it->y, shape.width, shape.height)) continue;
    ClaimInk(it->x, it->y, shape.width, shape.height);
    hits[kept++] = *it;
  }
  hitCount = kept;
}

}  // namespace kvr9::lcd_text
