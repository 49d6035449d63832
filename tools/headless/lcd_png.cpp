#include "tools/headless/lcd_png.h"

#include <QImage>
#include <QString>

#include "panel/lcd_image.h"

namespace kvr9::headless {

bool SaveFramePng(const FrameBuffer& frameBuffer, const std::string& path, int scale,
                  LcdLook look) {
  const QRgb blankDot = look == LcdLook::Green ? kLcdGreenBlankDot : kLcdDefaultBlankDot;
  return LcdImage(frameBuffer, blankDot, scale).save(QString::fromStdString(path), "PNG");
}

}  // namespace kvr9::headless
