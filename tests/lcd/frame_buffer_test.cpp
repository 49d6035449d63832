// Dots, lines and rectangles, including clipping and the 8-bit wraps.
#include "lcd/frame_buffer.h"

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <utility>
#include <vector>

namespace kvr9 {
namespace {

using Dot = std::pair<int, int>;

std::vector<Dot> SetDots(const FrameBuffer& fb) {
  std::vector<Dot> dots;
  for (int y = 0; y < kLcdHeight; ++y) {
    for (int x = 0; x < kLcdWidth; ++x) {
      if (GetPixel(fb, static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)) != 0) {
        dots.emplace_back(x, y);
      }
    }
  }
  return dots;
}

std::set<Dot> AsSet(const std::vector<Dot>& dots) {
  return {dots.begin(), dots.end()};
}

TEST(PutPixel, AddressesColumnBytesAndIgnoresOffDisplayAndUnknownModes) {
  FrameBuffer fb;
  PutPixel(fb, 127, 63, PixelSet);
  EXPECT_EQ(fb.bytes[1023], 0x80);
  PutPixel(fb, 0, 8, PixelSet);
  EXPECT_EQ(fb.bytes[128], 0x01);

  const FrameBuffer before = fb;
  for (std::uint8_t mode : {PixelClear, PixelSet, PixelInvert}) {
    PutPixel(fb, 128, 0, mode);
    PutPixel(fb, 0, 64, mode);
    PutPixel(fb, 255, 255, mode);
  }
  PutPixel(fb, 5, 5, 3);
  EXPECT_EQ(fb.bytes, before.bytes);

  PutPixel(fb, 5, 5, PixelInvert);
  EXPECT_EQ(GetPixel(fb, 5, 5), 1);
  PutPixel(fb, 5, 5, PixelInvert);
  EXPECT_EQ(GetPixel(fb, 5, 5), 0);
  PutPixel(fb, 127, 63, PixelClear);
  EXPECT_EQ(fb.bytes[1023], 0);
  EXPECT_EQ(GetPixel(fb, 200, 10), 0);
}

// The main menu's last thumb reaches y 64: a row below the display reads
// as blank and writes nothing, also not into memory after the frame.
TEST(PutPixel, RowBelowTheDisplayStaysOutsideTheFrame) {
  struct {
    FrameBuffer fb;
    std::array<std::uint8_t, kLcdWidth> after;
  } guarded{};
  PutPixel(guarded.fb, 0, 64, PixelSet);
  EXPECT_EQ(guarded.after, (std::array<std::uint8_t, kLcdWidth>{}));
  guarded.after.fill(0xFF);
  EXPECT_EQ(GetPixel(guarded.fb, 0, 64), 0);
}

struct LineCase {
  const char* name;
  std::int32_t x0, y0, x1, y1;
  std::vector<Dot> dots;  // in no particular order
};

class Lines : public ::testing::TestWithParam<LineCase> {};

TEST_P(Lines, WriteExactlyTheseDots) {
  const LineCase& c = GetParam();
  FrameBuffer fb;
  DrawLine(fb, c.x0, c.y0, c.x1, c.y1, PixelSet);
  EXPECT_EQ(AsSet(SetDots(fb)), AsSet(c.dots)) << c.name;
}

std::vector<Dot> Row(int y, int fromX, int toX) {
  std::vector<Dot> dots;
  for (int x = fromX; x <= toX; ++x) dots.emplace_back(x, y);
  return dots;
}

INSTANTIATE_TEST_SUITE_P(
    Walks, Lines,
    ::testing::Values(
        LineCase{"single point", 5, 5, 5, 5, {{5, 5}}},
        LineCase{"shallow forward", 0, 0, 4, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}}},
        LineCase{"shallow backward", 4, 2, 0, 0, {{4, 2}, {3, 2}, {2, 1}, {1, 1}, {0, 0}}},
        LineCase{"diagonal", 0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
        LineCase{"steep", 0, 0, 1, 3, {{0, 0}, {0, 1}, {1, 2}, {1, 3}}},
        LineCase{"off the left edge", 0, 4, -10, 4, {{0, 4}}},
        LineCase{"off the right edge", 120, 10, 130, 10, Row(10, 120, 127)},
        LineCase{"off the top edge", 3, 2, 3, -5, {{3, 2}, {3, 1}, {3, 0}}},
        LineCase{"off the bottom edge", 3, 60, 3, 70, {{3, 60}, {3, 61}, {3, 62}, {3, 63}}},
        LineCase{"wraps past 256", 260, 1, 262, 1, Row(1, 4, 6)}),
    [](const ::testing::TestParamInfo<LineCase>& lineInfo) {
      std::string name = lineInfo.param.name;
      for (char& ch : name) {
        if (ch == ' ') ch = '_';
      }
      return name;
    });

TEST(Rectangles, OutlineInvertCornersAndFills) {
  FrameBuffer fb;
  DrawRect(fb, 1, 15, 126, 25, PixelSet);
  EXPECT_EQ(SetDots(fb).size(), 270u);

  ClearFrameBuffer(fb);
  DrawRect(fb, 10, 10, 20, 20, PixelInvert);
  for (const Dot& corner : {Dot{10, 10}, Dot{20, 10}, Dot{10, 20}, Dot{20, 20}}) {
    EXPECT_EQ(GetPixel(fb, static_cast<std::uint8_t>(corner.first),
                       static_cast<std::uint8_t>(corner.second)),
              0);
  }
  EXPECT_EQ(SetDots(fb).size(), 4u * 9u);

  struct Fill {
    std::uint8_t x0, y0, x1, y1;
    std::size_t dots;
  };
  for (const Fill f : {Fill{123, 20, 127, 25, 30}, Fill{10, 30, 9, 40, 0}, Fill{0, 5, 0, 5, 1},
                       Fill{0, 10, 3, 8, 12}, Fill{120, 0, 255, 1, 16}}) {
    ClearFrameBuffer(fb);
    FillRect(fb, f.x0, f.y0, f.x1, f.y1, PixelSet);
    EXPECT_EQ(SetDots(fb).size(), f.dots) << int{f.x0} << "," << int{f.y0} << " " << int{f.x1};
  }
}

TEST(Rectangles, FillInvertWritesEachDotOnce) {
  FrameBuffer fb;
  FillRect(fb, 0, 0, 127, 63, PixelSet);
  FillRect(fb, 2, 2, 5, 5, PixelInvert);
  EXPECT_EQ(SetDots(fb).size(), 128u * 64u - 16u);
}

}  // namespace
}  // namespace kvr9
