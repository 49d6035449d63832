// The LCD picture, painted by one routine for every front end: every dot a
// square block of scale x scale pixels, dark dots and blank dots in the
// pixel values the caller gives (its own pixel format).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "host/panel/lcd_colours.h"
#include "lcd/frame_buffer.h"

namespace kvr9 {

inline constexpr int kLargestLcdScale = 64;

// Paints into rows of 32-bit pixels, pixelsPerRow apart; the surface must
// hold kLcdWidth * scale x kLcdHeight * scale pixels, and pixels beyond
// them stay as they are. A scale outside 1..kLargestLcdScale paints nothing.
void PaintLcd(std::uint32_t* pixels, std::size_t pixelsPerRow, const FrameBuffer& frameBuffer,
              std::uint32_t darkPixel, std::uint32_t blankPixel, int scale);

// A picture of exactly the LCD's dots, as bytes red, green, blue, alpha.
struct RgbaPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;
};

RgbaPicture PaintLcdRgba(const FrameBuffer& frameBuffer, Rgb blankDot, int scale);

}  // namespace kvr9
