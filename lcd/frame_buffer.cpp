#include "lcd/frame_buffer.h"

#include <cstdlib>

namespace kvr9 {

namespace {

std::size_t ByteIndex(std::uint8_t x, std::uint8_t y) {
  return static_cast<std::size_t>(y >> 3) * kLcdWidth + x;
}

bool OnDisplay(std::uint8_t x, std::uint8_t y) {
  return x < kLcdWidth && y < kLcdHeight;
}

void PlotWrapped(FrameBuffer& frameBuffer, std::int32_t x, std::int32_t y, std::uint8_t mode) {
  PutPixel(frameBuffer, static_cast<std::uint8_t>(x & 0xFF), static_cast<std::uint8_t>(y & 0xFF),
           mode);
}

}  // namespace

void ClearFrameBuffer(FrameBuffer& frameBuffer) {
  frameBuffer.bytes.fill(0);
}

std::uint8_t GetPixel(const FrameBuffer& frameBuffer, std::uint8_t x, std::uint8_t y) {
  if (!OnDisplay(x, y)) return 0;
  return (frameBuffer.bytes[ByteIndex(x, y)] & RowMask[y & 7]) != 0 ? 1 : 0;
}

void PutPixel(FrameBuffer& frameBuffer, std::uint8_t x, std::uint8_t y, std::uint8_t mode) {
  if (!OnDisplay(x, y)) return;
  std::uint8_t& cell = frameBuffer.bytes[ByteIndex(x, y)];
  const std::uint8_t mask = RowMask[y & 7];
  switch (mode) {
    case PixelClear:
      cell = static_cast<std::uint8_t>(cell & ~mask);
      break;
    case PixelSet:
      cell = static_cast<std::uint8_t>(cell | mask);
      break;
    case PixelInvert:
      if (GetPixel(frameBuffer, x, y) != 0) {
        cell = static_cast<std::uint8_t>(cell & ~mask);
      } else {
        cell = static_cast<std::uint8_t>(cell | mask);
      }
      break;
    default:
      break;
  }
}

// Bresenham from the first point to the second; the minor axis steps only
// when the error term is strictly positive. Every point goes through
// PutPixel reduced to 8 bits, which clips it.
void DrawLine(FrameBuffer& frameBuffer, std::int32_t x0, std::int32_t y0, std::int32_t x1,
              std::int32_t y1, std::uint8_t mode) {
  const std::int64_t dx = std::llabs(static_cast<std::int64_t>(x1) - x0);
  const std::int64_t dy = std::llabs(static_cast<std::int64_t>(y1) - y0);
  const std::int32_t sx = x0 > x1 ? -1 : 1;
  const std::int32_t sy = y0 > y1 ? -1 : 1;
  std::int32_t x = x0;
  std::int32_t y = y0;
  if (dx >= dy) {
    std::int64_t d = 2 * dy - dx;
    for (std::int64_t i = 0; i <= dx; ++i) {
      PlotWrapped(frameBuffer, x, y, mode);
      if (d > 0) {
        y += sy;
        d += 2 * dy - 2 * dx;
      } else {
        d += 2 * dy;
      }
      x += sx;
    }
  } else {
    std::int64_t d = 2 * dx - dy;
    for (std::int64_t i = 0; i <= dy; ++i) {
      PlotWrapped(frameBuffer, x, y, mode);
      if (d > 0) {
        x += sx;
        d += 2 * dx - 2 * dy;
      } else {
        d += 2 * dx;
      }
      y += sy;
    }
  }
}

void DrawRect(FrameBuffer& frameBuffer, std::uint8_t x0, std::uint8_t y0, std::uint8_t x1,
              std::uint8_t y1, std::uint8_t mode) {
  DrawLine(frameBuffer, x0, y0, x0, y1, mode);
  DrawLine(frameBuffer, x0, y0, x1, y0, mode);
  DrawLine(frameBuffer, x1, y0, x1, y1, mode);
  DrawLine(frameBuffer, x0, y1, x1, y1, mode);
}

// The column counter is wider than a byte so that x1 = 255 ends the fill
// instead of wrapping round forever.
void FillRect(FrameBuffer& frameBuffer, std::uint8_t x0, std::uint8_t y0, std::uint8_t x1,
              std::uint8_t y1, std::uint8_t mode) {
  for (unsigned col = x0; col <= x1; ++col) {
    DrawLine(frameBuffer, static_cast<std::int32_t>(col), y0, static_cast<std::int32_t>(col), y1,
             mode);
  }
}

}  // namespace kvr9
