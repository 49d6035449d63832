// The colours every front end paints the instrument in: the LCD's dots and
// the alarm LED, as red, green and blue.
#pragma once

#include <cstdint>

namespace kvr9 {

struct Rgb {
  std::uint8_t red;
  std::uint8_t green;
  std::uint8_t blue;
  friend constexpr bool operator==(Rgb, Rgb) = default;
};

inline constexpr Rgb kLcdDarkDot{0, 0, 0};
// The blank dot the window shows with Qt's default palette (Fusion style):
// the inactive window frame colour. The window reads the desktop's palette,
// so under another colour scheme its blank dots follow that scheme; the
// page and the pictures always use this one.
inline constexpr Rgb kLcdDefaultBlankDot{184, 184, 184};
// The grey-green of an unlit LCD glass, for pictures that want that look.
inline constexpr Rgb kLcdGreenBlankDot{199, 211, 176};

inline constexpr Rgb kLedLit{255, 0, 0};
inline constexpr Rgb kLedUnlit{128, 0, 0};

// A colour as one 32-bit pixel: 0xAARRGGBB, opaque (Qt's RGB32 and ARGB32).
constexpr std::uint32_t ArgbPixel(Rgb colour) {
  return 0xFF000000u | std::uint32_t{colour.red} << 16 | std::uint32_t{colour.green} << 8 |
         colour.blue;
}

// A colour as the 32-bit pixel whose bytes in memory are red, green, blue and
// alpha (a browser's ImageData, PNG's RGBA), on a little-endian machine.
constexpr std::uint32_t RgbaBytesPixel(Rgb colour) {
  return 0xFF000000u | std::uint32_t{colour.blue} << 16 | std::uint32_t{colour.green} << 8 |
         colour.red;
}

}  // namespace kvr9
