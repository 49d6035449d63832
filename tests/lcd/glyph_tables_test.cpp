// The font tables against their fixed rows and the spacing rules the text
// routines rely on.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lcd/glyphs.h"

namespace kvr9 {
namespace {

constexpr std::size_t kSmallGlyphBytes = 5;
constexpr std::size_t kFont8x8GlyphBytes = 8;

std::vector<std::uint8_t> SmallGlyph(unsigned code) {
  const auto first = SmallFont.begin() + (code - kSmallFontFirst) * kSmallGlyphBytes;
  return {first, first + kSmallGlyphBytes};
}

std::vector<std::uint8_t> Glyph8x8(unsigned code) {
  const auto first = Font8x8.begin() + (code - kFont8x8First) * kFont8x8GlyphBytes;
  return {first, first + kFont8x8GlyphBytes};
}

bool HasInk(const std::vector<std::uint8_t>& glyph) {
  for (std::uint8_t column : glyph) {
    if (column != 0) return true;
  }
  return false;
}

enum class Font { Small, Bold8x8 };

struct TellingRow {
  const char* name;
  Font font;
  unsigned code;
  std::vector<std::uint8_t> bytes;
};

class GlyphTellingRowTest : public testing::TestWithParam<TellingRow> {};

TEST_P(GlyphTellingRowTest, MatchesByteForByte) {
  const TellingRow& row = GetParam();
  const auto glyph = row.font == Font::Small ? SmallGlyph(row.code) : Glyph8x8(row.code);
  EXPECT_EQ(glyph, row.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    GlyphTables, GlyphTellingRowTest,
    testing::Values(
        TellingRow{"SmallZero", Font::Small, '0', {0x3E, 0x45, 0x49, 0x51, 0x3E}},
        TellingRow{"SmallOne", Font::Small, '1', {0x00, 0x21, 0x7F, 0x01, 0x00}},
        TellingRow{"SmallA", Font::Small, 'A', {0x3F, 0x48, 0x48, 0x48, 0x3F}},
        TellingRow{"SmallBang", Font::Small, '!', {0x00, 0x00, 0x79, 0x00, 0x00}},
        TellingRow{"SmallDegree", Font::Small, 124, {0x00, 0x30, 0x48, 0x48, 0x30}},
        TellingRow{"SmallOmega", Font::Small, 125, {0x39, 0x46, 0x40, 0x46, 0x39}},
        TellingRow{
            "BoldZero", Font::Bold8x8, '0', {0x3E, 0x7F, 0x41, 0x41, 0x41, 0x7F, 0x3E, 0x00}},
        TellingRow{"BoldOne", Font::Bold8x8, '1', {0x00, 0x40, 0x42, 0x7F, 0x7F, 0x40, 0x40, 0x00}},
        TellingRow{"BoldA", Font::Bold8x8, 'A', {0x7C, 0x7E, 0x13, 0x11, 0x13, 0x7E, 0x7C, 0x00}},
        TellingRow{"BoldUp", Font::Bold8x8, '{', {0x20, 0x30, 0x38, 0x3C, 0x38, 0x30, 0x20, 0x00}},
        TellingRow{
            "BoldDegree", Font::Bold8x8, '|', {0x00, 0x00, 0x06, 0x09, 0x09, 0x06, 0x00, 0x00}},
        TellingRow{
            "BoldDown", Font::Bold8x8, '}', {0x04, 0x0C, 0x1C, 0x3C, 0x1C, 0x0C, 0x04, 0x00}},
        TellingRow{
            "BoldKnob", Font::Bold8x8, '~', {0x1C, 0x3E, 0x63, 0x63, 0x63, 0x2A, 0x0C, 0x0E}}),
    [](const testing::TestParamInfo<TellingRow>& row) { return std::string(row.param.name); });

TEST(GlyphTablesTest, SmallFontLeavesTheRowAboveEveryGlyphEmpty) {
  for (std::size_t i = 0; i < SmallFont.size(); ++i) {
    EXPECT_EQ(SmallFont[i] & 0x80, 0) << "byte " << i;
  }
}

// Column 7 and row 7 of the 8x8 cell are the gap between characters and
// between text rows; only these glyphs may reach into them, and they do. The
// airspeed marking labels after 127 fill the whole cell and are left out.
TEST(GlyphTablesTest, Font8x8KeepsColumn7AndRow7ForSpacing) {
  constexpr std::string_view kReachColumn7 = "Y\\_~";
  constexpr std::string_view kReachRow7 = ",;Qjpqy_";
  for (unsigned code = kFont8x8First; code <= 127; ++code) {
    SCOPED_TRACE(testing::Message() << "code " << code);
    const auto glyph = Glyph8x8(code);
    unsigned row7 = 0;
    for (std::uint8_t column : glyph) row7 |= column & 0x80u;
    const char ch = static_cast<char>(code);
    EXPECT_EQ(glyph[7] != 0, kReachColumn7.find(ch) != std::string_view::npos) << "column 7";
    EXPECT_EQ(row7 != 0, kReachRow7.find(ch) != std::string_view::npos) << "row 7";
  }
}

TEST(GlyphTablesTest, EveryGlyphButTheSpaceHasInk) {
  for (unsigned code = kSmallFontFirst + 1; code <= kSmallFontLast; ++code) {
    EXPECT_TRUE(HasInk(SmallGlyph(code))) << "small font, code " << code;
  }
  for (unsigned code = kFont8x8First + 1; code <= kFont8x8Last; ++code) {
    EXPECT_TRUE(HasInk(Glyph8x8(code))) << "8x8 font, code " << code;
  }
  EXPECT_FALSE(HasInk(SmallGlyph(' ')));
  EXPECT_FALSE(HasInk(Glyph8x8(' ')));
}

// A glyph pasted twice would pass every other check; the small font's omega
// is the one shape that stands in two places.
TEST(GlyphTablesTest, NoTwoCharactersLookAlike) {
  EXPECT_EQ(SmallGlyph(127), SmallGlyph(125));
  for (unsigned a = kSmallFontFirst; a < 127; ++a) {
    for (unsigned b = a + 1; b < 127; ++b) {
      EXPECT_NE(SmallGlyph(a), SmallGlyph(b)) << "small font, codes " << a << " and " << b;
    }
  }
  for (unsigned a = kFont8x8First; a <= kFont8x8Last; ++a) {
    for (unsigned b = a + 1; b <= kFont8x8Last; ++b) {
      EXPECT_NE(Glyph8x8(a), Glyph8x8(b)) << "8x8 font, codes " << a << " and " << b;
    }
  }
}

}  // namespace
}  // namespace kvr9
