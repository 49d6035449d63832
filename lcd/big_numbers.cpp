// Big numerals of the main display, drawn from the 18 x 24 digit font.
#include "lcd/big_numbers.h"

#include <cstdint>

#include "lcd/glyphs.h"

namespace kvr9 {

namespace {

constexpr unsigned kBigDigitBandBytes = 180;

// The minus bar: rows 9 to 11 of the cell, columns 4 to 12.
void DrawBigMinus(FrameBuffer& fb, std::uint8_t x, std::uint8_t y) {
  for (unsigned row = 9; row <= 11; ++row) {
    DrawLine(fb, x + 4, y + static_cast<std::int32_t>(row), x + 12,
             y + static_cast<std::int32_t>(row), PixelSet);
  }
}

// The plus adds a stroke four columns wide, rows 5 to 14, centred on the bar.
void DrawBigPlus(FrameBuffer& fb, std::uint8_t x, std::uint8_t y) {
  DrawBigMinus(fb, x, y);
  for (unsigned col = 7; col <= 10; ++col) {
    DrawLine(fb, x + static_cast<std::int32_t>(col), y + 5, x + static_cast<std::int32_t>(col),
             y + 14, PixelSet);
  }
}

// Transparent: only ink dots are set.
void DrawBigDigit(FrameBuffer& fb, std::uint8_t x, std::uint8_t y, unsigned digit) {
  for (unsigned band = 0; band < kBigDigitBands; ++band) {
    for (unsigned col = 0; col < kBigDigitWidth; ++col) {
      const std::uint8_t bits =
          BigDigitFont[band * kBigDigitBandBytes + digit * kBigDigitWidth + col];
      for (unsigned r = 0; r < 8; ++r) {
        if ((bits >> r & 1) != 0) PutPixel(fb, Wrap8(x + col), Wrap8(y + 8 * band + r), PixelSet);
      }
    }
  }
}

}  // namespace

void DrawBigNumber(FrameBuffer& fb, std::uint8_t x, std::uint8_t y, const char* text) {
  for (const char* p = text; *p != '\0'; ++p) {
    const char ch = *p;
    if (ch >= '0' && ch <= '9') {
      DrawBigDigit(fb, x, y, static_cast<unsigned>(ch - '0'));
    } else if (ch == '-') {
      DrawBigMinus(fb, x, y);
    } else if (ch == '+') {
      DrawBigPlus(fb, x, y);
    }
    x = Wrap8(x + kBigDigitWidth);
  }
}

}  // namespace kvr9
