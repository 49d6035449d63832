// Text, big numerals and icons as they land in the frame buffer.
#include "lcd/text.h"

#include <gtest/gtest.h>

#include <string>

#include "lcd/big_numbers.h"
#include "lcd/glyphs.h"
#include "lcd/icons.h"

namespace kvr9 {
namespace {

struct Box {
  int x0, y0, x1, y1;
};

int CountDots(const FrameBuffer& fb, Box box = {0, 0, 127, 63}) {
  int n = 0;
  for (int y = box.y0; y <= box.y1; ++y) {
    for (int x = box.x0; x <= box.x1; ++x) {
      n += GetPixel(fb, static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y));
    }
  }
  return n;
}

FrameBuffer Filled() {
  FrameBuffer fb;
  fb.bytes.fill(0xFF);
  return fb;
}

struct Text8Case {
  const char* name;
  std::uint8_t doubleHeight, ink, inverse;
  bool startFilled;
  int dotsInCell;  // dots set in the cell afterwards
  Box cell;
};

class Text8Modes : public ::testing::TestWithParam<Text8Case> {};

TEST_P(Text8Modes, LetterACell) {
  const Text8Case& c = GetParam();
  FrameBuffer fb = c.startFilled ? Filled() : FrameBuffer{};
  const int outsideBefore = CountDots(fb) - CountDots(fb, c.cell);
  DrawText8(fb, 0, static_cast<std::uint8_t>(c.cell.y0), "A", c.doubleHeight, c.ink, c.inverse);
  EXPECT_EQ(CountDots(fb, c.cell), c.dotsInCell) << c.name;
  EXPECT_EQ(CountDots(fb) - CountDots(fb, c.cell), outsideBefore) << c.name << ": outside cell";
}

INSTANTIATE_TEST_SUITE_P(
    A, Text8Modes,
    ::testing::Values(Text8Case{"normal", 0, 1, 0, false, 30, {0, 8, 7, 15}},
                      Text8Case{"inverse", 0, 1, 1, false, 34, {0, 8, 7, 15}},
                      Text8Case{"inverse 100 is normal", 0, 1, 100, false, 30, {0, 8, 7, 15}},
                      Text8Case{"inverse over ink", 0, 1, 1, true, 34, {0, 8, 7, 15}},
                      Text8Case{"double height", 1, 1, 0, false, 60, {0, 0, 7, 15}},
                      Text8Case{"double height ink 0", 1, 0, 0, true, 128 - 60, {0, 0, 7, 15}},
                      Text8Case{"double height ink 2", 1, 2, 0, false, 0, {0, 0, 7, 15}},
                      Text8Case{
                          "double height ignores inverse", 1, 1, 1, false, 60, {0, 0, 7, 15}}));

TEST(Text8, CentringAndWrapAtBothEdges) {
  FrameBuffer centred;
  FrameBuffer placed;
  DrawText8Centred(centred, 64, 8, "ABCD", 0, 1, 0);
  DrawText8(placed, 48, 8, "ABCD", 0, 1, 0);
  EXPECT_EQ(centred.bytes, placed.bytes);

  // 20 characters centred on 64 start at 240: the first two fall off the
  // left, the third lands on column 0.
  const std::string twenty = "ABCDEFGHIJKLMNOPQRST";
  ClearFrameBuffer(centred);
  ClearFrameBuffer(placed);
  DrawText8Centred(centred, 64, 8, twenty.c_str(), 0, 1, 0);
  DrawText8(placed, 0, 8, twenty.substr(2, 16).c_str(), 0, 1, 0);
  EXPECT_EQ(centred.bytes, placed.bytes);

  FrameBuffer cut;
  FrameBuffer single;
  DrawText8(cut, 120, 8, "AB", 0, 1, 0);
  DrawText8(single, 120, 8, "A", 0, 1, 0);
  EXPECT_EQ(cut.bytes, single.bytes);
  EXPECT_GT(CountDots(cut), 0);
}

TEST(TextSmall, CellsInversionAndCentring) {
  FrameBuffer fb;
  DrawTextSmall(fb, 0, 1, "A", 100);
  EXPECT_EQ(CountDots(fb, {0, 1, 4, 7}), 18);
  EXPECT_EQ(CountDots(fb), 18);

  ClearFrameBuffer(fb);
  DrawTextSmall(fb, 0, 1, "A", 0);
  EXPECT_EQ(CountDots(fb, {0, 0, 5, 7}), 30);
  EXPECT_EQ(CountDots(fb), 30);

  ClearFrameBuffer(fb);
  DrawTextSmall(fb, 0, 1, "AB", 1);
  EXPECT_EQ(CountDots(fb, {0, 0, 5, 7}), 18);  // "A" normal
  FrameBuffer invertedB;
  DrawTextSmall(invertedB, 6, 1, "B", 0);
  EXPECT_EQ(CountDots(fb, {6, 0, 11, 7}), CountDots(invertedB));

  FrameBuffer centred;
  FrameBuffer placed;
  DrawTextSmallCentred(centred, 64, 20, "ABCD", 100);
  DrawTextSmall(placed, 52, 20, "ABCD", 100);
  EXPECT_EQ(centred.bytes, placed.bytes);

  // The spacing row above a text at y 0 wraps to 255 and is dropped.
  ClearFrameBuffer(fb);
  DrawTextSmall(fb, 0, 0, "A", 0);
  EXPECT_EQ(CountDots(fb), 30 - 6);
}

TEST(TextLiterals, DrawAsThePlainEntriesAndStopAt31Characters) {
  const std::string thirtyOne(31, 'I');
  const std::string long80 = thirtyOne + std::string(49, 'W');
  FrameBuffer plain;
  FrameBuffer literal;
  DrawText8(plain, 0, 0, thirtyOne.c_str(), 0, 1, 0);
  DrawText8Literal(literal, 0, 0, thirtyOne.c_str(), 0, 1, 0);
  EXPECT_EQ(plain.bytes, literal.bytes);
  ClearFrameBuffer(literal);
  DrawText8Literal(literal, 0, 0, long80.c_str(), 0, 1, 0);
  EXPECT_EQ(plain.bytes, literal.bytes);

  for (int x = 0; x < 256; x += 37) {
    FrameBuffer a;
    FrameBuffer b;
    const auto ux = static_cast<std::uint8_t>(x);
    DrawTextSmall(a, ux, 20, thirtyOne.c_str(), 5);
    DrawTextSmallLiteral(b, ux, 20, long80.c_str(), 5);
    EXPECT_EQ(a.bytes, b.bytes);
    DrawText8Centred(a, ux, 30, thirtyOne.c_str(), 1, 1, 0);
    DrawText8CentredLiteral(b, ux, 30, long80.c_str(), 1, 1, 0);
    DrawTextSmallCentred(a, ux, 50, thirtyOne.c_str(), 100);
    DrawTextSmallCentredLiteral(b, ux, 50, long80.c_str(), 100);
    EXPECT_EQ(a.bytes, b.bytes);
  }
}

TEST(TextTables, CodesOutsideEveryTableDrawNothing) {
  for (int code = 1; code < 256; ++code) {
    const char text[2] = {static_cast<char>(code), '\0'};
    FrameBuffer fb;
    DrawTextSmall(fb, 10, 10, text, 100);
    DrawText8(fb, 30, 10, text, 0, 1, 0);
    DrawText8(fb, 50, 10, text, 1, 1, 0);
    DrawBigNumber(fb, 70, 10, text);
    const bool smallKnown = code >= 32 && code <= 127;
    const bool font8Known = code >= 32 && code <= 131;
    const bool bigKnown = (code >= '0' && code <= '9') || code == '-' || code == '+';
    if (!smallKnown) {
      EXPECT_EQ(CountDots(fb, {10, 9, 15, 16}), 0) << code;
    }
    if (!font8Known) {
      EXPECT_EQ(CountDots(fb, {30, 10, 57, 25}), 0) << code;
    }
    if (!bigKnown) {
      EXPECT_EQ(CountDots(fb, {70, 10, 87, 33}), 0) << code;
    }
  }
  for (int icon = 10; icon < 256; ++icon) {
    FrameBuffer fb = Filled();
    DrawIcon(fb, static_cast<std::uint8_t>(icon));
    EXPECT_EQ(fb.bytes, Filled().bytes) << icon;
  }
}

TEST(BigNumber, CellsBlanksMinusAndClipping) {
  FrameBuffer fb = Filled();
  for (int y = 3; y <= 26; ++y) {
    for (int x = 70; x <= 87; ++x) {
      PutPixel(fb, static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), PixelClear);
    }
  }
  const FrameBuffer before = fb;
  DrawBigNumber(fb, 34, 3, "  0");
  EXPECT_EQ(CountDots(fb, {34, 0, 69, 63}), CountDots(before, {34, 0, 69, 63}));
  EXPECT_EQ(CountDots(fb, {70, 3, 70, 26}) + CountDots(fb, {86, 3, 87, 26}) +
                CountDots(fb, {70, 26, 87, 26}),
            0);  // ink only in columns 71..85, rows 3..25
  EXPECT_GT(CountDots(fb, {71, 3, 71, 25}), 0);
  EXPECT_GT(CountDots(fb, {85, 3, 85, 25}), 0);
  EXPECT_GT(CountDots(fb, {71, 3, 85, 3}), 0);
  EXPECT_GT(CountDots(fb, {71, 25, 85, 25}), 0);

  FrameBuffer minus;
  DrawBigNumber(minus, 6, 30, " -120");
  EXPECT_EQ(CountDots(minus, {28, 39, 36, 41}), 27);
  EXPECT_EQ(CountDots(minus, {0, 0, 41, 63}), 27);
  FrameBuffer digits;
  DrawBigNumber(digits, 42, 30, "1");
  DrawBigNumber(digits, 60, 30, "2");
  DrawBigNumber(digits, 78, 30, "0");
  DrawBigNumber(digits, 24, 30, "-");
  EXPECT_EQ(minus.bytes, digits.bytes);

  FrameBuffer edge;
  DrawBigNumber(edge, 120, 0, "8");
  EXPECT_GT(CountDots(edge), 0);
  EXPECT_EQ(CountDots(edge, {0, 0, 119, 63}), 0);

  // Transparent: existing ink survives wherever the digit is blank.
  FrameBuffer over = Filled();
  DrawBigNumber(over, 0, 0, "8");
  EXPECT_EQ(over.bytes, Filled().bytes);
}

TEST(BigNumber, PlusIsTheBarWithAStrokeThroughIt) {
  FrameBuffer fb;
  DrawBigNumber(fb, 0, 0, "+");
  EXPECT_EQ(CountDots(fb), 27 + 4 * 10 - 4 * 3);
  EXPECT_EQ(CountDots(fb, {7, 5, 10, 14}), 40);
}

struct IconPlace {
  std::uint8_t icon;
  int firstBand;
  int leftColumn;
};

class IconPlaces : public ::testing::TestWithParam<IconPlace> {};

TEST_P(IconPlaces, ReplaceExactlyTheirBytes) {
  const IconPlace p = GetParam();
  FrameBuffer fb = Filled();
  DrawIcon(fb, p.icon);
  int changedOutside = 0;
  int clearedInside = 0;
  for (int band = 0; band < 8; ++band) {
    for (int col = 0; col < 128; ++col) {
      const std::uint8_t byte = fb.bytes[static_cast<std::size_t>(band * 128 + col)];
      const bool inside = band >= p.firstBand && band < p.firstBand + 4 && col >= p.leftColumn &&
                          col < p.leftColumn + 32;
      if (!inside && byte != 0xFF) ++changedOutside;
      if (inside && byte != 0xFF) ++clearedInside;
    }
  }
  EXPECT_EQ(changedOutside, 0);
  EXPECT_GT(clearedInside, 0);  // opaque: blank icon dots clear what was there
}

INSTANTIATE_TEST_SUITE_P(Places, IconPlaces,
                         ::testing::Values(IconPlace{0, 2, 10}, IconPlace{3, 1, 8},
                                           IconPlace{5, 2, 8}, IconPlace{8, 2, 10},
                                           IconPlace{9, 2, 10}));

}  // namespace
}  // namespace kvr9
