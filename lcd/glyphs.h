// The glyph tables of the LCD: two text fonts, the big numerals and the
// menu icons, all in column bytes (one byte per column of 8 rows).
#pragma once

#include <array>
#include <cstdint>

namespace kvr9 {

// Codes 32..127, 5 bytes a glyph; bit 6 is the top row, bit 0 the bottom.
inline constexpr unsigned kSmallFontFirst = 32;
inline constexpr unsigned kSmallFontLast = 127;
extern const std::array<std::uint8_t, 480> SmallFont;

// Codes 32..131, 8 bytes a glyph; bit 0 is the top row.
inline constexpr unsigned kFont8x8First = 32;
inline constexpr unsigned kFont8x8Last = 131;
extern const std::array<std::uint8_t, 800> Font8x8;

// Digits 0..9, 18 x 24: 3 bands of 180 bytes; digit d, band p, column c at
// p * 180 + d * 18 + c.
inline constexpr unsigned kBigDigitWidth = 18;
inline constexpr unsigned kBigDigitBands = 3;
extern const std::array<std::uint8_t, 540> BigDigitFont;

// Two banks of two strips; a strip is 4 bands of 128 columns holding four
// 32 x 32 icons side by side. Byte for band p, column c of the icon at column
// offset k of strip s: s * 512 + p * 128 + k + c.
extern const std::array<std::uint8_t, 1024> IconBankA;
extern const std::array<std::uint8_t, 1024> IconBankB;

// Bank 0 is A, any other B.
inline const std::array<std::uint8_t, 1024>& IconBank(unsigned bank) {
  return bank == 0 ? IconBankA : IconBankB;
}

inline constexpr unsigned kIconCount = 10;
inline constexpr unsigned kIconSize = 32;

// Where each icon sits: bank, strip, column offset in the strip.
struct IconPlace {
  unsigned bank;
  unsigned strip;
  unsigned offset;
};

inline constexpr std::array<IconPlace, kIconCount> kIconPlaces{{
    {0, 0, 0},   // 0 flight log
    {0, 0, 32},  // 1 instrument dial
    {0, 0, 64},  // 2 calibration
    {0, 0, 96},  // 3 question
    {0, 1, 0},   // 4 maximum values
    {0, 1, 32},  // 5 exclamation
    {0, 1, 64},  // 6 altimeter
    {0, 1, 96},  // 7 airspeed
    {1, 1, 96},  // 8 display settings
    {1, 0, 96},  // 9 converter readings
}};

}  // namespace kvr9
