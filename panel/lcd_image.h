// The LCD picture in Qt's terms: the one LCD painter of the host library
// writing into a QImage, for the window, its clipboard copy and the panel's
// benchmark; and the instrument's colours as QColor.
#pragma once

#include <QColor>
#include <QImage>
#include <QRgb>

#include "host/panel/lcd_colours.h"
#include "lcd/frame_buffer.h"

namespace kvr9 {

inline QColor ToQColor(Rgb colour) {
  return QColor(colour.red, colour.green, colour.blue);
}

// Paints dot (x, y) as the scale x scale block at (scale x, scale y) of an
// RGB32 surface. The surface must hold at least kLcdWidth * scale x
// kLcdHeight * scale pixels; pixels beyond that stay as they are.
void PaintLcd(QImage& surface, const FrameBuffer& frameBuffer, QRgb blankDot, int scale);

// A new picture of exactly the LCD's dots, each a scale x scale block.
QImage LcdImage(const FrameBuffer& frameBuffer, QRgb blankDot, int scale);

}  // namespace kvr9
