// The glyph catalogue of the LCD text reader: every glyph of both fonts,
// the big numerals and the icons as their routines draw them, read back off
// a scratch frame and indexed by their dots, with the small helpers that
// cut windows of columns out of a frame. Inside the reader only.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "host/lcd_text/lcd_text.h"
#include "lcd/frame_buffer.h"
#include "lcd/glyphs.h"

namespace kvr9::lcd_text {

// One column of the LCD: bit y is dot (x, y). Rows below the display read
// blank, which lets text on the bottom line (whose spacing row falls off
// the LCD) be read.
using Column = std::uint64_t;
using Columns = std::array<Column, kLcdWidth>;

inline Columns ReadColumns(const FrameBuffer& frameBuffer) {
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
inline Column Slice(Column column, int y, int height) {
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

// Rows y .. y + height - 1 of width columns from x, as one key.
std::uint64_t WindowKey(const Columns& columns, int x, int y, int width, int height);

// Made once, on first use.
const Glyphs& TheGlyphs();

}  // namespace kvr9::lcd_text
