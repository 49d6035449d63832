#include "tools/headless/lcd_png.h"

#include <QColor>
#include <QImage>
#include <QString>
#include <cstdint>

namespace kvr9::headless {

bool SaveFramePng(const FrameBuffer& frameBuffer, const std::string& path, int scale) {
  QImage image(kLcdWidth * scale, kLcdHeight * scale, QImage::Format_RGB32);
  image.fill(QColor::fromRgb(kLcdBlankRgb));
  const QRgb dark = QColor::fromRgb(kLcdDarkRgb).rgb();
  for (int y = 0; y < kLcdHeight; ++y) {
    for (int x = 0; x < kLcdWidth; ++x) {
      if (GetPixel(frameBuffer, static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)) == 0) {
        continue;
      }
      for (int dy = 0; dy < scale; ++dy) {
        for (int dx = 0; dx < scale; ++dx) image.setPixel(x * scale + dx, y * scale + dy, dark);
      }
    }
  }
  return image.save(QString::fromStdString(path), "PNG");
}

}  // namespace kvr9::headless
