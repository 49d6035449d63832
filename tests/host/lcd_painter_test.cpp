#include "host/panel/lcd_painter.h"

#include <gtest/gtest.h>

namespace kvr9 {
namespace {

struct PaintCase {
  int x;
  int y;
  int scale;
};

class LcdPainter : public testing::TestWithParam<PaintCase> {};

// One dark dot paints exactly its scale x scale block, everything else blank.
TEST_P(LcdPainter, OneDotIsOneBlockAtItsPlace) {
  const PaintCase c = GetParam();
  FrameBuffer frame;
  PutPixel(frame, static_cast<std::uint8_t>(c.x), static_cast<std::uint8_t>(c.y), PixelSet);
  const RgbaPicture picture = PaintLcdRgba(frame, kLcdGreenBlankDot, c.scale);
  ASSERT_EQ(picture.width, kLcdWidth * c.scale);
  ASSERT_EQ(picture.height, kLcdHeight * c.scale);
  int darkPixels = 0;
  for (int py = 0; py < picture.height; ++py) {
    for (int px = 0; px < picture.width; ++px) {
      const std::uint8_t* p =
          &picture.rgba[static_cast<std::size_t>((py * picture.width + px) * 4)];
      const bool inBlock = px / c.scale == c.x && py / c.scale == c.y;
      const Rgb expected = inBlock ? kLcdDarkDot : kLcdGreenBlankDot;
      ASSERT_EQ((Rgb{p[0], p[1], p[2]}), expected) << px << "," << py;
      ASSERT_EQ(p[3], 255);
      darkPixels += inBlock ? 1 : 0;
    }
  }
  EXPECT_EQ(darkPixels, c.scale * c.scale);
}

INSTANTIATE_TEST_SUITE_P(Corners, LcdPainter,
                         testing::Values(PaintCase{0, 0, 1}, PaintCase{127, 63, 2},
                                         PaintCase{5, 9, 3}, PaintCase{64, 7, 2}));

TEST(LcdPainterScale, OutsideTheRangeGivesNoPicture) {
  EXPECT_TRUE(PaintLcdRgba(FrameBuffer{}, kLcdDefaultBlankDot, 0).rgba.empty());
  EXPECT_TRUE(PaintLcdRgba(FrameBuffer{}, kLcdDefaultBlankDot, kLargestLcdScale + 1).rgba.empty());
}

}  // namespace
}  // namespace kvr9
