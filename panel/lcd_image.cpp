#include "panel/lcd_image.h"

#include <array>
#include <cstdint>

namespace kvr9 {

namespace {

constexpr int kLargestScale = 64;

}  // namespace

// The rows' addresses are taken once per picture: asking the image for a
// row per dot cost more than the painting itself.
void PaintLcd(QImage& surface, const FrameBuffer& frameBuffer, QRgb blankDot, int scale) {
  if (scale < 1 || scale > kLargestScale || surface.format() != QImage::Format_RGB32 ||
      surface.width() < kLcdWidth * scale || surface.height() < kLcdHeight * scale) {
    return;
  }
  uchar* const bits = surface.bits();
  const qsizetype bytesPerLine = surface.bytesPerLine();
  std::array<QRgb*, kLcdHeight * kLargestScale> rows{};
  for (int row = 0; row < kLcdHeight * scale; ++row) {
    rows[static_cast<std::size_t>(row)] = reinterpret_cast<QRgb*>(bits + row * bytesPerLine);
  }
  for (int x = 0; x < kLcdWidth; ++x) {
    for (int y = 0; y < kLcdHeight; ++y) {
      const std::uint8_t column =
          frameBuffer.bytes[static_cast<std::size_t>(y / 8 * kLcdWidth + x)];
      const bool dark = (column & RowMask[static_cast<std::size_t>(y & 7)]) != 0;
      const QRgb colour = dark ? kLcdDarkDot : blankDot;
      for (int dy = 0; dy < scale; ++dy) {
        QRgb* const block = rows[static_cast<std::size_t>(y * scale + dy)] + x * scale;
        for (int dx = 0; dx < scale; ++dx) block[dx] = colour;
      }
    }
  }
}

QImage LcdImage(const FrameBuffer& frameBuffer, QRgb blankDot, int scale) {
  QImage picture(kLcdWidth * scale, kLcdHeight * scale, QImage::Format_RGB32);
  PaintLcd(picture, frameBuffer, blankDot, scale);
  return picture;
}

}  // namespace kvr9
