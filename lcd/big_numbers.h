// The big numerals of the main display.
// Positions are 8-bit and wrap, as on the instrument.
#pragma once

#include <cstdint>

#include "lcd/frame_buffer.h"

namespace kvr9 {

// 18 x 24 numerals side by side from (x, y); also blank, "-" and "+".
void DrawBigNumber(FrameBuffer& fb, std::uint8_t x, std::uint8_t y, const char* text);

}  // namespace kvr9
