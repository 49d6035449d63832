#include "panel/lcd_image.h"

#include <cstdint>

#include "host/panel/lcd_painter.h"

namespace kvr9 {

void PaintLcd(QImage& surface, const FrameBuffer& frameBuffer, QRgb blankDot, int scale) {
  if (surface.format() != QImage::Format_RGB32 || surface.width() < kLcdWidth * scale ||
      surface.height() < kLcdHeight * scale) {
    return;
  }
  // An RGB32 pixel is the 32-bit value 0xFFRRGGBB, whatever the byte order.
  auto* const pixels = reinterpret_cast<std::uint32_t*>(surface.bits());
  const auto pixelsPerRow = static_cast<std::size_t>(surface.bytesPerLine()) / sizeof(QRgb);
  kvr9::PaintLcd(pixels, pixelsPerRow, frameBuffer, ArgbPixel(kLcdDarkDot), blankDot, scale);
}

QImage LcdImage(const FrameBuffer& frameBuffer, QRgb blankDot, int scale) {
  QImage picture(kLcdWidth * scale, kLcdHeight * scale, QImage::Format_RGB32);
  PaintLcd(picture, frameBuffer, blankDot, scale);
  return picture;
}

}  // namespace kvr9
