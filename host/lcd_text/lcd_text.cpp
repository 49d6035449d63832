// The LCD read as text. Every cell a character can occupy is looked up
// whole: the dots of the window must be exactly the glyph as its routine
// draws it, blank dots included, so a character is read only where nothing
// else touches its cell. Candidates that overlap are settled in favour of
// the longer run, which is what text looks like and stray matches do not.
#include "host/lcd_text/lcd_text.h"

#include <algorithm>
#include <bit>
#include <vector>

#include "lcd/big_numbers.h"
#include "lcd/glyphs.h"
#include "lcd/icons.h"
#include "lcd/text.h"

namespace kvr9 {

namespace {

// One column of the LCD: bit y is dot (x, y). Rows below the display read
// blank, which lets text on the bottom line (whose spacing row falls off
// the LCD) be read.
using Column = std::uint64_t;
using Columns = std::array<Column, kLcdWidth>;

Columns ReadColumns(const FrameBuffer& frameBuffer) {
  Columns columns{};
  for (std::size_t page = 0; page < kFrameBufferSize / kLcdWidth; ++page) {
    for (std::size_t x = 0; x < static_cast<std::size_t>(kLcdWidth); ++x) {
      columns[x] |= Column{frameBuffer.bytes[page * kLcdWidth + x]} << (8 * page);
    }
  }
  return columns;
}

constexpr Column RowsMask(int height) {
  return height >= 64 ? ~Column{0} : (Column{1} << height) - 1;
}

// Rows y .. y + height - 1 of a column as its low bits; y may be -1 (the
// small font's spacing row above the top line).
Column Slice(Column column, int y, int height) {
  const Column shifted = y >= 0 ? column >> y : column << -y;
  return shifted & RowsMask(height);
}

// The ways a cell is drawn, each with its own window.
enum Style : std::uint8_t { kSmall, kSmallInverse, kBold, kBoldInverse, kBoldDouble, kBig, kIcon };

struct StyleShape {
  int width;
  int height;
  LcdFont font;
  bool doubleHeight;
  bool inverse;
};

constexpr std::array<StyleShape, 7> kShapes{{
    {6, 8, LcdFont::Small, false, false},
    {6, 8, LcdFont::Small, false, true},
    {8, 8, LcdFont::Bold8x8, false, false},
    {8, 8, LcdFont::Bold8x8, false, true},
    {8, 16, LcdFont::Bold8x8, true, false},
    {18, 24, LcdFont::BigDigits, false, false},
    {32, 32, LcdFont::Icon, false, false},
}};

// Open addressing from a window's bits to the glyph drawn with exactly
// those bits. Key 0 (a blank window) is never stored and marks a free slot.
template <int kBits>
class GlyphIndex {
 public:
  struct Entry {
    char code = 0;
    Style style = kBold;
  };

  // The first glyph stored under a key keeps it: characters with the same
  // dots read as the lowest code, and a normal reading wins over an inverse
  // one with the same dots.
  void Add(std::uint64_t key, char code, Style style) {
    if (key == 0) return;
    for (std::size_t i = Home(key);; i = (i + 1) & kMask) {
      if (keys_[i] == key) return;
      if (keys_[i] == 0) {
        keys_[i] = key;
        entries_[i] = {code, style};
        return;
      }
    }
  }

  // Keys apart from what they stand for, so that a miss (nearly every
  // lookup) touches only the keys.
  const Entry* Find(std::uint64_t key) const {
    for (std::size_t i = Home(key);; i = (i + 1) & kMask) {
      if (keys_[i] == key) return &entries_[i];
      if (keys_[i] == 0) return nullptr;
    }
  }

 private:
  static constexpr std::size_t kMask = (std::size_t{1} << kBits) - 1;
  static std::size_t Home(std::uint64_t key) {
    return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> (64 - kBits));
  }
  std::array<std::uint64_t, std::size_t{1} << kBits> keys_{};
  std::array<Entry, std::size_t{1} << kBits> entries_{};
};

// Which pairs of column bytes some glyph has: one bit test turns away most
// candidate windows before their whole key is gathered and looked up.
class BytePairs {
 public:
  void Set(std::uint64_t first, std::uint64_t second) {
    const std::size_t pair = Pair(first, second);
    bits_[pair / 64] |= std::uint64_t{1} << (pair % 64);
  }
  bool Has(std::uint64_t first, std::uint64_t second) const {
    const std::size_t pair = Pair(first, second);
    return ((bits_[pair / 64] >> (pair % 64)) & 1) != 0;
  }

 private:
  static std::size_t Pair(std::uint64_t first, std::uint64_t second) {
    return static_cast<std::size_t>((first & 0xFF) << 8 | (second & 0xFF));
  }
  std::array<std::uint64_t, 65536 / 64> bits_{};
};

using Flips = std::array<Column, 8>;

constexpr std::uint64_t kDarkRows = 0xFF;

struct BigGlyph {
  char code;
  std::array<Column, 18> columns;
};

struct IconGlyph {
  int x;
  int y;
  std::array<Column, 32> columns;
};

// Every glyph as its routine draws it, read back off a scratch frame, so the
// decoder sees exactly the dots the firmware sets.
struct Glyphs {
  GlyphIndex<10> bold;    // 8 column bytes; normal and inverse
  GlyphIndex<10> small;   // 6 column bytes; normal and inverse
  GlyphIndex<5> bigKeys;  // columns 8 and 9 of a big numeral -> its place in big
  std::vector<BigGlyph> big;
  std::array<IconGlyph, kIconCount> icons{};
  std::array<std::uint8_t, 256> evenRows{};  // bits 0, 2, 4, 6 of a byte packed
  BytePairs boldEnds;                        // first and last column of an 8x8 glyph
  BytePairs smallStarts;                     // first and second column of a small glyph
  // Last columns and bottom rows of 8x8 glyphs other than blank (normal)
  // and dark (inverse): the few glyphs that reach into their spacing.
  // Each as a mask per bit that flips a blank bit to set: a word of rows
  // XORed with it and ANDed over the 8 bits tells where the byte appears.
  std::vector<Flips> inkedLastColumns;
  std::vector<Flips> inkedBottomRows;
  bool bigEdgesBlank = true;          // every big numeral leaves its first and last column blank
  bool noFullRowsAboveBottom = true;  // no 8x8 glyph sets a whole row but in row 7
};

std::uint64_t WindowKey(const Columns& columns, int x, int y, int width, int height) {
  std::uint64_t key = 0;
  for (int c = 0; c < width; ++c) {
    key |= Slice(columns[static_cast<std::size_t>(x + c)], y, height) << (height * c);
  }
  return key;
}

void AddOnce(std::vector<Flips>& patterns, std::uint8_t byte, std::uint8_t spacing) {
  if (byte == spacing) return;
  Flips flips{};
  for (std::size_t bit = 0; bit < flips.size(); ++bit) {
    flips[bit] = ((unsigned{byte} >> bit) & 1u) != 0 ? 0 : ~Column{0};
  }
  if (std::find(patterns.begin(), patterns.end(), flips) == patterns.end()) {
    patterns.push_back(flips);
  }
}

Glyphs BuildGlyphs() {
  Glyphs glyphs;
  FrameBuffer scratch;
  for (int inverse = 0; inverse <= 1; ++inverse) {
    for (unsigned code = kFont8x8First + 1; code <= kFont8x8Last; ++code) {
      const char text[2] = {static_cast<char>(code), '\0'};
      ClearFrameBuffer(scratch);
      DrawText8(scratch, 0, 0, text, 0, PixelSet, static_cast<std::uint8_t>(inverse));
      const std::uint64_t key = WindowKey(ReadColumns(scratch), 0, 0, 8, 8);
      glyphs.bold.Add(key, text[0], inverse == 1 ? kBoldInverse : kBold);
      glyphs.boldEnds.Set(key & 0xFF, key >> 56);
      const std::uint8_t spacing = inverse == 1 ? 0xFF : 0;
      if (inverse == 0) {
        std::uint64_t rows = kDarkRows;
        for (unsigned c = 0; c < 8; ++c) rows &= key >> (8 * c);
        if ((rows & 0x7F) != 0) glyphs.noFullRowsAboveBottom = false;
      }
      unsigned bottom = 0;
      for (unsigned c = 0; c < 8; ++c) {
        bottom |= static_cast<unsigned>((key >> (8 * c + 7)) & 1u) << c;
      }
      AddOnce(glyphs.inkedLastColumns, static_cast<std::uint8_t>(key >> 56), spacing);
      AddOnce(glyphs.inkedBottomRows, static_cast<std::uint8_t>(bottom), spacing);
    }
    for (unsigned code = kSmallFontFirst + 1; code <= kSmallFontLast; ++code) {
      const char text[2] = {static_cast<char>(code), '\0'};
      ClearFrameBuffer(scratch);
      DrawTextSmall(scratch, 0, 1, text, inverse == 1 ? 0 : 100);
      const std::uint64_t key = WindowKey(ReadColumns(scratch), 0, 0, 6, 8);
      glyphs.small.Add(key, text[0], inverse == 1 ? kSmallInverse : kSmall);
      glyphs.smallStarts.Set(key & 0xFF, (key >> 8) & 0xFF);
    }
  }
  for (const char* numeral : {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "-", "+"}) {
    ClearFrameBuffer(scratch);
    DrawBigNumber(scratch, 0, 0, numeral);
    const Columns columns = ReadColumns(scratch);
    BigGlyph glyph{numeral[0], {}};
    for (std::size_t c = 0; c < glyph.columns.size(); ++c)
      glyph.columns[c] = Slice(columns[c], 0, 24);
    glyphs.bigKeys.Add(glyph.columns[8] | glyph.columns[9] << 24,
                       static_cast<char>(glyphs.big.size()), kBig);
    glyphs.big.push_back(glyph);
    glyphs.bigEdgesBlank =
        glyphs.bigEdgesBlank && glyph.columns.front() == 0 && glyph.columns.back() == 0;
  }
  // An icon is copied opaquely into its place: drawn over a blank and over a
  // dark frame, its cell is where the two agree.
  for (std::uint8_t icon = 0; icon < kIconCount; ++icon) {
    FrameBuffer dark;
    dark.bytes.fill(0xFF);
    ClearFrameBuffer(scratch);
    DrawIcon(scratch, icon);
    DrawIcon(dark, icon);
    const Columns blankColumns = ReadColumns(scratch);
    const Columns darkColumns = ReadColumns(dark);
    int left = kLcdWidth;
    Column rows = 0;
    for (int x = 0; x < kLcdWidth; ++x) {
      const Column same =
          ~(blankColumns[static_cast<std::size_t>(x)] ^ darkColumns[static_cast<std::size_t>(x)]);
      if (same != 0 && left == kLcdWidth) left = x;
      rows |= same;
    }
    IconGlyph& glyph = glyphs.icons[icon];
    glyph.x = left;
    glyph.y = std::countr_zero(rows);
    for (std::size_t c = 0; c < glyph.columns.size(); ++c) {
      glyph.columns[c] = Slice(blankColumns[static_cast<std::size_t>(left) + c], glyph.y, 32);
    }
  }
  for (unsigned byte = 0; byte < 256; ++byte) {
    unsigned packed = 0;
    for (unsigned bit = 0; bit < 4; ++bit) packed |= ((byte >> (2 * bit)) & 1u) << bit;
    glyphs.evenRows[byte] = static_cast<std::uint8_t>(packed);
  }
  return glyphs;
}

const Glyphs& TheGlyphs() {
  static const Glyphs glyphs = BuildGlyphs();
  return glyphs;
}

// A cell whose dots are exactly one glyph.
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

bool SameRow(const Hit& a, const Hit& b) {
  return a.style == b.style && a.y == b.y;
}

bool ByRow(const Hit& a, const Hit& b) {
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

}  // namespace

void ReadLcdText(const FrameBuffer& frameBuffer, LcdText& text) {
  text.runCount = 0;
  static thread_local Workspace workspace;
  Reader reader(frameBuffer, text, workspace);
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

}  // namespace kvr9
