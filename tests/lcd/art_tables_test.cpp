// The big numerals and the icon banks against their fixed rows and the
// spacing and placement rules DrawBigNumber and DrawIcon rely on.
#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "lcd/glyphs.h"

namespace kvr9 {
namespace {

constexpr std::size_t kDigitBandBytes = 10 * kBigDigitWidth;
constexpr std::size_t kIconBands = kIconSize / 8;
constexpr std::size_t kStripColumns = 128;
constexpr std::size_t kStripBytes = kIconBands * kStripColumns;

std::vector<std::uint8_t> DigitBand(unsigned digit, unsigned band) {
  const auto first = BigDigitFont.begin() + band * kDigitBandBytes + digit * kBigDigitWidth;
  return {first, first + kBigDigitWidth};
}

struct DigitRow {
  const char* name;
  unsigned digit;
  unsigned band;
  std::vector<std::uint8_t> bytes;
};

class BigDigitTellingRowTest : public testing::TestWithParam<DigitRow> {};

TEST_P(BigDigitTellingRowTest, MatchesByteForByte) {
  const DigitRow& row = GetParam();
  EXPECT_EQ(DigitBand(row.digit, row.band), row.bytes);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    ArtTables, BigDigitTellingRowTest,
    testing::Values(
        DigitRow{"ZeroTop", 0, 0, {0x00, 0xC0, 0xF8, 0xFC, 0xFE, 0x3E, 0x1F, 0x0F, 0x0F,
                                   0x0F, 0x1F, 0x3E, 0xFE, 0xFC, 0xF8, 0xC0, 0x00, 0x00}},
        DigitRow{"ZeroMiddle", 0, 1, {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00,
                                      0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
        DigitRow{"ZeroBottom", 0, 2, {0x00, 0x01, 0x0F, 0x1F, 0x3F, 0x3E, 0x7C, 0x78, 0x78,
                                      0x78, 0x7C, 0x3E, 0x3F, 0x1F, 0x0F, 0x01, 0x00, 0x00}},
        DigitRow{"OneTop", 1, 0, {0x00, 0x00, 0x00, 0xC0, 0xE0, 0xE0, 0xF0, 0xF8, 0x7C,
                                  0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00}},
        DigitRow{"OneMiddle", 1, 1, {0x00, 0x00, 0x00, 0x03, 0x01, 0x01, 0x00, 0x00, 0x00,
                                     0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00}},
        DigitRow{"OneBottom", 1, 2, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                                     0x7F, 0x7F, 0x7F, 0x7F, 0x00, 0x00, 0x00, 0x00, 0x00}}),
    [](const testing::TestParamInfo<DigitRow>& row) { return std::string(row.param.name); });
// clang-format on

// Numerals are set side by side with no gap of their own: column 0, column 17
// and row 23 must stay blank so neighbours and the next text row don't touch.
// Only 4 and 5 reach column 16. Every numeral stands the full height, rows 0
// to 22, so a picture slipped by a row shows here.
class BigDigitSpacingTest : public testing::TestWithParam<unsigned> {};

TEST_P(BigDigitSpacingTest, InkStaysInsideTheCell) {
  const unsigned digit = GetParam();
  const bool wide = digit == 4 || digit == 5;
  unsigned rows = 0;  // bit r set when row r has ink
  for (unsigned band = 0; band < kBigDigitBands; ++band) {
    const auto bytes = DigitBand(digit, band);
    EXPECT_EQ(bytes[0], 0) << "column 0, band " << band;
    EXPECT_EQ(bytes[17], 0) << "column 17, band " << band;
    if (!wide) {
      EXPECT_EQ(bytes[16], 0) << "column 16, band " << band;
    }
    for (std::uint8_t column : bytes) rows |= static_cast<unsigned>(column) << (8 * band);
  }
  EXPECT_EQ(rows, 0x7FFFFFu) << "rows with ink, bit 0 the top row";
}

INSTANTIATE_TEST_SUITE_P(ArtTables, BigDigitSpacingTest, testing::Range(0u, 10u));

TEST(ArtTablesTest, NoTwoNumeralsLookAlike) {
  for (unsigned a = 0; a < 10; ++a) {
    for (unsigned b = a + 1; b < 10; ++b) {
      bool same = true;
      for (unsigned band = 0; band < kBigDigitBands; ++band) {
        same = same && DigitBand(a, band) == DigitBand(b, band);
      }
      EXPECT_FALSE(same) << "numerals " << a << " and " << b;
    }
  }
}

std::vector<std::uint8_t> IconBytes(unsigned icon) {
  const IconPlace& place = kIconPlaces[icon];
  const std::array<std::uint8_t, 1024>& bank = IconBank(place.bank);
  std::vector<std::uint8_t> bytes;
  for (std::size_t band = 0; band < kIconBands; ++band) {
    const auto first =
        bank.begin() + place.strip * kStripBytes + band * kStripColumns + place.offset;
    bytes.insert(bytes.end(), first, first + kIconSize);
  }
  return bytes;
}

std::size_t InkDots(const std::vector<std::uint8_t>& bytes) {
  std::size_t dots = 0;
  for (std::uint8_t byte : bytes) {
    for (unsigned bit = 0; bit < 8; ++bit) dots += (static_cast<unsigned>(byte) >> bit) & 1u;
  }
  return dots;
}

class IconTest : public testing::TestWithParam<unsigned> {};

// An icon is opaque and replaces what was on screen, so a blank slot would
// wipe its place clean; each must be a real picture, not a stray dot or two.
TEST_P(IconTest, HasAPicture) {
  EXPECT_GE(InkDots(IconBytes(GetParam())), 64u);
}

TEST_P(IconTest, DiffersFromEveryOtherIcon) {
  const unsigned icon = GetParam();
  for (unsigned other = 0; other < kIconPlaces.size(); ++other) {
    if (other != icon) {
      EXPECT_NE(IconBytes(icon), IconBytes(other)) << "icon " << other;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(ArtTables, IconTest, testing::Range(0u, 10u));

TEST(ArtTablesTest, IconBankBIsBlankLeftOfItsTwoIcons) {
  for (std::size_t strip = 0; strip < 2; ++strip) {
    for (std::size_t band = 0; band < kIconBands; ++band) {
      for (std::size_t col = 0; col < 96; ++col) {
        EXPECT_EQ(IconBankB[strip * kStripBytes + band * kStripColumns + col], 0)
            << "strip " << strip << ", band " << band << ", column " << col;
      }
    }
  }
}

}  // namespace
}  // namespace kvr9
