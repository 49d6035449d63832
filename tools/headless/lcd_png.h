// Writes an LCD frame as a PNG picture: every dot a square of scale x scale
// pixels, dark dots black, blank dots the grey-green of an unlit LCD.
#pragma once

#include <string>

#include "lcd/frame_buffer.h"

namespace kvr9::headless {

inline constexpr int kDefaultPngScale = 2;  // as the window paints the LCD
inline constexpr int kLargestPngScale = 16;
inline constexpr unsigned kLcdBlankRgb = 0xC7D3B0;
inline constexpr unsigned kLcdDarkRgb = 0x000000;

// False when the file cannot be written.
bool SaveFramePng(const FrameBuffer& frameBuffer, const std::string& path, int scale);

}  // namespace kvr9::headless
