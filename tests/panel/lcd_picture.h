// Reading the window's LCD picture back as dots, for the window's tests.
#pragma once

#include <QImage>
#include <cstdint>

#include "lcd/frame_buffer.h"

namespace kvr9::testing {

// True when every dot of the frame is shown as its 2 x 2 block: black for a
// dark dot, the given colour for a blank one.
inline bool ShowsFrame(const QImage& surface, const FrameBuffer& frame, QRgb blank) {
  if (surface.width() < 2 * kLcdWidth || surface.height() < 2 * kLcdHeight) return false;
  for (int y = 0; y < 2 * kLcdHeight; ++y) {
    for (int x = 0; x < 2 * kLcdWidth; ++x) {
      const bool dark =
          GetPixel(frame, static_cast<std::uint8_t>(x / 2), static_cast<std::uint8_t>(y / 2)) != 0;
      if (surface.pixel(x, y) != (dark ? qRgb(0, 0, 0) : blank)) return false;
    }
  }
  return true;
}

inline int DarkDots(const FrameBuffer& frame) {
  int count = 0;
  for (int y = 0; y < kLcdHeight; ++y) {
    for (int x = 0; x < kLcdWidth; ++x) {
      count += GetPixel(frame, static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y));
    }
  }
  return count;
}

}  // namespace kvr9::testing
