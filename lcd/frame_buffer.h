// The 128 x 64 LCD image: 8 pages of 128 column bytes, bit 0 the top row of a
// page. A set bit is a dark dot.
#pragma once

#include <array>
#include <cstdint>

namespace kvr9 {

inline constexpr int kLcdWidth = 128;
inline constexpr int kLcdHeight = 64;
inline constexpr std::size_t kFrameBufferSize = 1024;

struct FrameBuffer {
  std::array<std::uint8_t, kFrameBufferSize> bytes{};

  bool operator==(const FrameBuffer&) const = default;
};

enum PixelMode : std::uint8_t { PixelClear = 0, PixelSet = 1, PixelInvert = 2 };

inline constexpr std::array<std::uint8_t, 8> RowMask = {0x01, 0x02, 0x04, 0x08,
                                                        0x10, 0x20, 0x40, 0x80};

// Positions on the LCD are bytes: a sum past 255 wraps round, as on the instrument.
inline std::uint8_t Wrap8(unsigned value) {
  return static_cast<std::uint8_t>(value & 0xFF);
}

void ClearFrameBuffer(FrameBuffer& frameBuffer);
std::uint8_t GetPixel(const FrameBuffer& frameBuffer, std::uint8_t x, std::uint8_t y);
void PutPixel(FrameBuffer& frameBuffer, std::uint8_t x, std::uint8_t y, std::uint8_t mode);
void DrawLine(FrameBuffer& frameBuffer, std::int32_t x0, std::int32_t y0, std::int32_t x1,
              std::int32_t y1, std::uint8_t mode);
void DrawRect(FrameBuffer& frameBuffer, std::uint8_t x0, std::uint8_t y0, std::uint8_t x1,
              std::uint8_t y1, std::uint8_t mode);
void FillRect(FrameBuffer& frameBuffer, std::uint8_t x0, std::uint8_t y0, std::uint8_t x1,
              std::uint8_t y1, std::uint8_t mode);

}  // namespace kvr9
