// Placeholder tables until the art is drawn.
#include "lcd/glyphs.h"

namespace kvr9 {
const std::array<std::uint8_t, 1024> IconBankA{};
const std::array<std::uint8_t, 1024> IconBankB{};
}  // namespace kvr9
