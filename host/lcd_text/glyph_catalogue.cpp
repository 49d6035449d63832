#include "host/lcd_text/glyph_catalogue.h"

#include <algorithm>
#include <bit>

#include "lcd/big_numbers.h"
#include "lcd/icons.h"
#include "lcd/text.h"

namespace kvr9::lcd_text {

namespace {

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

}  // namespace

std::uint64_t WindowKey(const Columns& columns, int x, int y, int width, int height) {
  std::uint64_t key = 0;
  for (int c = 0; c < width; ++c) {
    key |= Slice(columns[static_cast<std::size_t>(x + c)], y, height) << (height * c);
  }
  return key;
}

const Glyphs& TheGlyphs() {
  static const Glyphs glyphs = BuildGlyphs();
  return glyphs;
}

}  // namespace kvr9::lcd_text
