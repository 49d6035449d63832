// Pixel art is written as text pictures: '#' is an ink dot, '.' a blank one.
// A picture holds glyphs of one size one after another, each written row by
// row, top row first. These helpers read such a picture at compile time so
// the tables the LCD code uses are built from what a reviewer sees.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kvr9::pixel_art {

// True when the picture is exactly count glyphs of width x height and holds
// nothing but '#' and '.'.
constexpr bool IsWellFormed(std::string_view picture, std::size_t count, std::size_t width,
                            std::size_t height) {
  if (picture.size() != count * width * height) return false;
  for (char c : picture) {
    if (c != '#' && c != '.') return false;
  }
  return true;
}

constexpr bool IsInk(std::string_view picture, std::size_t glyph, std::size_t width,
                     std::size_t height, std::size_t x, std::size_t y) {
  return picture[(glyph * height + y) * width + x] == '#';
}

// One column byte in the LCD convention: bit n is row firstRow + n, bit 0 on
// top. Rows beyond the glyph's height read as blank.
constexpr std::uint8_t ColumnByte(std::string_view picture, std::size_t glyph, std::size_t width,
                                  std::size_t height, std::size_t x, std::size_t firstRow) {
  unsigned byte = 0;
  for (std::size_t n = 0; n < 8; ++n) {
    const std::size_t y = firstRow + n;
    if (y < height && IsInk(picture, glyph, width, height, x, y)) byte |= 1u << n;
  }
  return static_cast<std::uint8_t>(byte);
}

}  // namespace kvr9::pixel_art
