#include "host/panel/lcd_painter.h"

#include <bit>
#include <cstring>

namespace kvr9 {

// RgbaBytesPixel lays the bytes out for a little-endian machine, as x86,
// ARM Linux and WebAssembly all are.
static_assert(std::endian::native == std::endian::little);

// The picture is written a row of pixels at a time, which keeps every write
// next to the one before it.
void PaintLcd(std::uint32_t* pixels, std::size_t pixelsPerRow, const FrameBuffer& frameBuffer,
              std::uint32_t darkPixel, std::uint32_t blankPixel, int scale) {
  if (scale < 1 || scale > kLargestLcdScale) return;
  const auto blockSize = static_cast<std::size_t>(scale);
  const std::size_t rowBytes = kLcdWidth * blockSize * sizeof(std::uint32_t);
  for (std::size_t y = 0; y < kLcdHeight; ++y) {
    const std::uint8_t* const page = &frameBuffer.bytes[y / 8 * kLcdWidth];
    const std::uint8_t mask = RowMask[y & 7];
    std::uint32_t* const first = pixels + y * blockSize * pixelsPerRow;
    std::uint32_t* pixel = first;
    for (std::size_t x = 0; x < kLcdWidth; ++x) {
      const std::uint32_t colour = (page[x] & mask) != 0 ? darkPixel : blankPixel;
      for (std::size_t dx = 0; dx < blockSize; ++dx) *pixel++ = colour;
    }
    // The block's other rows repeat its first.
    for (std::size_t dy = 1; dy < blockSize; ++dy) {
      std::memcpy(first + dy * pixelsPerRow, first, rowBytes);
    }
  }
}

RgbaPicture PaintLcdRgba(const FrameBuffer& frameBuffer, Rgb blankDot, int scale) {
  RgbaPicture picture;
  if (scale < 1 || scale > kLargestLcdScale) return picture;
  picture.width = kLcdWidth * scale;
  picture.height = kLcdHeight * scale;
  const auto count =
      static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height);
  std::vector<std::uint32_t> pixels(count);
  PaintLcd(pixels.data(), static_cast<std::size_t>(picture.width), frameBuffer,
           RgbaBytesPixel(kLcdDarkDot), RgbaBytesPixel(blankDot), scale);
  picture.rgba.resize(count * 4);
  std::memcpy(picture.rgba.data(), pixels.data(), picture.rgba.size());
  return picture;
}

}  // namespace kvr9
