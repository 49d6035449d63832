#include "panel/lcd_image.h"

#include <cstdint>
#include <cstring>

namespace kvr9 {

namespace {

constexpr int kLargestScale = 64;

}  // namespace

// The picture is the one the instrument's column-by-column scan gives, dot
// for dot; it is written a row of pixels at a time, which keeps every write
// next to the one before it.
void PaintLcd(QImage& surface, const FrameBuffer& frameBuffer, QRgb blankDot, int scale) {
  if (scale < 1 || scale > kLargestScale || surface.format() != QImage::Format_RGB32 ||
      surface.width() < kLcdWidth * scale || surface.height() < kLcdHeight * scale) {
    return;
  }
  uchar* const bits = surface.bits();
  const qsizetype bytesPerLine = surface.bytesPerLine();
  for (int y = 0; y < kLcdHeight; ++y) {
    const std::uint8_t* const page =
        &frameBuffer.bytes[static_cast<std::size_t>(y / 8 * kLcdWidth)];
    const std::uint8_t mask = RowMask[static_cast<std::size_t>(y & 7)];
    auto* const first = reinterpret_cast<QRgb*>(bits + y * scale * bytesPerLine);
    QRgb* pixel = first;
    for (int x = 0; x < kLcdWidth; ++x) {
      const QRgb colour = (page[x] & mask) != 0 ? kLcdDarkDot : blankDot;
      for (int dx = 0; dx < scale; ++dx) *pixel++ = colour;
    }
    // The block's other rows repeat its first.
    for (int dy = 1; dy < scale; ++dy) {
      std::memcpy(bits + (y * scale + dy) * bytesPerLine, first,
                  static_cast<std::size_t>(kLcdWidth * scale) * sizeof(QRgb));
    }
  }
}

QImage LcdImage(const FrameBuffer& frameBuffer, QRgb blankDot, int scale) {
  QImage picture(kLcdWidth * scale, kLcdHeight * scale, QImage::Format_RGB32);
  PaintLcd(picture, frameBuffer, blankDot, scale);
  return picture;
}

}  // namespace kvr9
