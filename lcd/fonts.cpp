// Placeholder tables until the art is drawn.
#include "lcd/glyphs.h"

namespace kvr9 {
const std::array<std::uint8_t, 480> SmallFont{};
const std::array<std::uint8_t, 800> Font8x8{};
}  // namespace kvr9
