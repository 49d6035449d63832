// Text in the two LCD fonts.
// Positions and counters are 8-bit and wrap, as on the instrument.
#pragma once

#include <cstdint>

#include "lcd/frame_buffer.h"

namespace kvr9 {

// Small 5 x 7 font in a 6 x 8 cell whose top spacing row is y - 1.
// Characters from index invertFrom on are drawn inverted.
void DrawTextSmall(FrameBuffer& fb, std::uint8_t x, std::uint8_t y, const char* text,
                   std::uint8_t invertFrom);
void DrawTextSmallCentred(FrameBuffer& fb, std::uint8_t x, std::uint8_t y, const char* text,
                          std::uint8_t invertFrom);

// Bold 8 x 8 font. Only the value 1 switches doubleHeight or inverse on; ink
// is the PixelMode of double-height dots.
void DrawText8(FrameBuffer& fb, std::uint8_t x, std::uint8_t y, const char* text,
               std::uint8_t doubleHeight, std::uint8_t ink, std::uint8_t inverse);
void DrawText8Centred(FrameBuffer& fb, std::uint8_t x, std::uint8_t y, const char* text,
                      std::uint8_t doubleHeight, std::uint8_t ink, std::uint8_t inverse);

// The same, drawing a copy of a fixed text held in a 32-byte working buffer;
// longer texts are cut at 31 characters.
inline constexpr std::size_t kLiteralBufferSize = 32;
void DrawTextSmallLiteral(FrameBuffer& fb, std::uint8_t x, std::uint8_t y, const char* text,
                          std::uint8_t invertFrom);
void DrawTextSmallCentredLiteral(FrameBuffer& fb, std::uint8_t x, std::uint8_t y, const char* text,
                                 std::uint8_t invertFrom);
void DrawText8Literal(FrameBuffer& fb, std::uint8_t x, std::uint8_t y, const char* text,
                      std::uint8_t doubleHeight, std::uint8_t ink, std::uint8_t inverse);
void DrawText8CentredLiteral(FrameBuffer& fb, std::uint8_t x, std::uint8_t y, const char* text,
                             std::uint8_t doubleHeight, std::uint8_t ink, std::uint8_t inverse);

}  // namespace kvr9
