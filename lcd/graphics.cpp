// Big numerals of the main display and the 32 x 32 menu icons.
#include <cstdint>

#include "lcd/glyphs.h"
#include "lcd/text.h"

namespace kvr9 {

namespace {

constexpr unsigned kBigDigitBandBytes = 180;
constexpr unsigned kIconCount = 10;
constexpr unsigned kIconSize = 32;
constexpr unsigned kIconBands = 4;
constexpr unsigned kStripBytes = 512;

std::uint8_t Wrap8(unsigned value) {
  return static_cast<std::uint8_t>(value & 0xFF);
}

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

struct IconSource {
  const std::array<std::uint8_t, 1024>* bank;
  unsigned strip;
  unsigned columnOffset;
};

IconSource IconSourceFor(unsigned icon) {
  if (icon == 8) return {&IconBankB, 1, 96};
  if (icon == 9) return {&IconBankB, 0, 96};
  return {&IconBankA, icon / 4, (icon % 4) * kIconSize};
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

// Opaque byte copy into whole 8-row bands; every place lies inside the display.
void DrawIcon(FrameBuffer& fb, std::uint8_t icon) {
  if (icon >= kIconCount) return;
  const IconSource source = IconSourceFor(icon);
  unsigned leftColumn = 10;
  unsigned firstBand = 2;
  if (icon == 3) {
    leftColumn = 8;
    firstBand = 1;
  } else if (icon == 5) {
    leftColumn = 8;
  }
  for (unsigned band = 0; band < kIconBands; ++band) {
    for (unsigned col = 0; col < kIconSize; ++col) {
      fb.bytes[(firstBand + band) * kLcdWidth + leftColumn + col] =
          (*source.bank)[source.strip * kStripBytes + band * kLcdWidth + source.columnOffset + col];
    }
  }
}

}  // namespace kvr9
