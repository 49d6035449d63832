// The LCD picture, painted by one routine for the window, its clipboard copy
// and the headless driver's PNG files: every dot a square block, dark dots
// black, blank dots in the colour the caller gives.
#pragma once

#include <QImage>
#include <QRgb>

#include "lcd/frame_buffer.h"

namespace kvr9 {

inline constexpr QRgb kLcdDarkDot = 0xFF000000;
// The blank dot the window shows with Qt's default palette (Fusion style):
// the inactive window frame colour. The window reads the desktop's palette,
// so under another colour scheme its blank dots follow that scheme.
inline constexpr QRgb kLcdDefaultBlankDot = 0xFFB8B8B8;
// The grey-green of an unlit LCD glass, for pictures that want that look.
inline constexpr QRgb kLcdGreenBlankDot = 0xFFC7D3B0;

// Paints dot (x, y) as the scale x scale block at (scale x, scale y) of an
// RGB32 surface, column by column as the instrument's display is scanned.
// The surface must hold at least kLcdWidth * scale x kLcdHeight * scale
// pixels; pixels beyond that stay as they are.
void PaintLcd(QImage& surface, const FrameBuffer& frameBuffer, QRgb blankDot, int scale);

// A new picture of exactly the LCD's dots, each a scale x scale block.
QImage LcdImage(const FrameBuffer& frameBuffer, QRgb blankDot, int scale);

}  // namespace kvr9
