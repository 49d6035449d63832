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

}  // namespace kvr9
