// Checks one line of a screen against the same line drawn with nothing but
// the expected text, so a test can pin a formatted value without a golden.
#pragma once

#include <cstdint>
#include <string>

#include "lcd/text.h"
#include "support/golden.h"

namespace kvr9::testing {

enum TextPlacement : std::uint8_t { AtX, CentredOnX };

// Rows y .. y + height - 1 of a frame as text art; rows below the LCD are
// left out, as they are from the display.
inline std::string Band(const FrameBuffer& frame, int y, int height) {
  const auto lineSize = static_cast<std::size_t>(kLcdWidth + 1);
  return FrameToArt(frame).substr(static_cast<std::size_t>(y) * lineSize,
                                  static_cast<std::size_t>(height) * lineSize);
}

// The band an 8x8-font text occupies, drawn alone on a blank frame.
inline std::string TextBand(TextPlacement placement, std::uint8_t x, std::uint8_t y,
                            const char* text, std::uint8_t doubleHeight = 0,
                            std::uint8_t inverse = 0) {
  FrameBuffer frame{};
  if (placement == CentredOnX) {
    DrawText8Centred(frame, x, y, text, doubleHeight, PixelSet, inverse);
  } else {
    DrawText8(frame, x, y, text, doubleHeight, PixelSet, inverse);
  }
  return Band(frame, y, doubleHeight == 1 ? 16 : 8);
}

}  // namespace kvr9::testing
