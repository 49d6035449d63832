// Drawing the menu and message icons from their banks.
#include "lcd/icons.h"

#include <array>

#include "lcd/glyphs.h"

namespace kvr9 {

namespace {

constexpr unsigned kIconBands = kIconSize / 8;
constexpr unsigned kStripBytes = kIconBands * kLcdWidth;

}  // namespace

// Opaque byte copy into whole 8-row bands; every place lies inside the display.
void DrawIcon(FrameBuffer& fb, std::uint8_t icon) {
  if (icon >= kIconCount) return;
  const IconPlace& place = kIconPlaces[icon];
  const std::array<std::uint8_t, 1024>& bank = IconBank(place.bank);
  unsigned leftColumn = 10;
  unsigned firstBand = 2;
  if (icon == kIconQuestion) {
    leftColumn = 8;
    firstBand = 1;
  } else if (icon == kIconExclamation) {
    leftColumn = 8;
  }
  for (unsigned band = 0; band < kIconBands; ++band) {
    for (unsigned col = 0; col < kIconSize; ++col) {
      fb.bytes[(firstBand + band) * kLcdWidth + leftColumn + col] =
          bank[place.strip * kStripBytes + band * kLcdWidth + place.offset + col];
    }
  }
}

}  // namespace kvr9
