// The two text fonts. Every dot goes through PutPixel, so text is clipped at
// the display's edges; positions are bytes and wrap.
#include "lcd/text.h"

#include <cstring>

#include "lcd/glyphs.h"

namespace kvr9 {

namespace {

constexpr unsigned kSmallGlyphBytes = 5;
constexpr unsigned kSmallCellWidth = 6;
constexpr unsigned kFont8x8GlyphBytes = 8;

// Column col (0..4) of a small-font glyph; codes outside the table are blank.
std::uint8_t SmallGlyphColumn(unsigned char ch, unsigned col) {
  if (ch < kSmallFontFirst || ch > kSmallFontLast || col >= kSmallGlyphBytes) return 0;
  return SmallFont[(ch - kSmallFontFirst) * kSmallGlyphBytes + col];
}

std::uint8_t Font8x8Column(unsigned char ch, unsigned col) {
  if (ch < kFont8x8First || ch > kFont8x8Last) return 0;
  return Font8x8[(ch - kFont8x8First) * kFont8x8GlyphBytes + col];
}

std::uint8_t TextLength(const char* text) {
  return Wrap8(static_cast<unsigned>(std::strlen(text)));
}

struct LiteralCopy {
  char text[kLiteralBufferSize];
};

LiteralCopy CopyLiteral(const char* text) {
  LiteralCopy copy{};
  std::size_t i = 0;
  for (; i + 1 < kLiteralBufferSize && text[i] != '\0'; ++i) copy.text[i] = text[i];
  copy.text[i] = '\0';
  return copy;
}

void DrawSmallChar(FrameBuffer& fb, std::uint8_t x, std::uint8_t y, unsigned char ch,
                   bool inverted) {
  for (unsigned col = 0; col < kSmallCellWidth; ++col) {
    const std::uint8_t bits = SmallGlyphColumn(ch, col);
    for (unsigned r = 0; r < 8; ++r) {
      const bool ink = (bits >> (7 - r) & 1) != 0;
      if (ink != inverted) PutPixel(fb, Wrap8(x + col), Wrap8(y + r - 1), PixelSet);
    }
  }
}

void Draw8x8Char(FrameBuffer& fb, std::uint8_t x, std::uint8_t y, unsigned char ch,
                 std::uint8_t doubleHeight, std::uint8_t ink, std::uint8_t inverse) {
  for (unsigned col = 0; col < 8; ++col) {
    const std::uint8_t bits = Font8x8Column(ch, col);
    const std::uint8_t cx = Wrap8(x + col);
    for (unsigned r = 0; r < 8; ++r) {
      const bool set = (bits >> r & 1) != 0;
      if (doubleHeight == 1) {
        if (set && (ink == PixelClear || ink == PixelSet)) {
          PutPixel(fb, cx, Wrap8(y + 2 * r), ink);
          PutPixel(fb, cx, Wrap8(y + 2 * r + 1), ink);
        }
      } else if (inverse == 1) {
        PutPixel(fb, cx, Wrap8(y + r), set ? PixelClear : PixelSet);
      } else if (set) {
        PutPixel(fb, cx, Wrap8(y + r), PixelSet);
      }
    }
  }
}

}  // namespace

void DrawTextSmall(FrameBuffer& fb, std::uint8_t x, std::uint8_t y, const char* text,
                   std::uint8_t invertFrom) {
  bool inverted = false;
  std::uint8_t i = 0;
  for (const char* p = text; *p != '\0'; ++p) {
    if (i == invertFrom) inverted = true;
    DrawSmallChar(fb, x, y, static_cast<unsigned char>(*p), inverted);
    x = Wrap8(x + kSmallCellWidth);
    i = Wrap8(i + 1u);
  }
}

void DrawTextSmallCentred(FrameBuffer& fb, std::uint8_t x, std::uint8_t y, const char* text,
                          std::uint8_t invertFrom) {
  DrawTextSmall(fb, Wrap8(x - 3u * TextLength(text)), y, text, invertFrom);
}

void DrawText8(FrameBuffer& fb, std::uint8_t x, std::uint8_t y, const char* text,
               std::uint8_t doubleHeight, std::uint8_t ink, std::uint8_t inverse) {
  for (const char* p = text; *p != '\0'; ++p) {
    Draw8x8Char(fb, x, y, static_cast<unsigned char>(*p), doubleHeight, ink, inverse);
    x = Wrap8(x + 8u);
  }
}

void DrawText8Centred(FrameBuffer& fb, std::uint8_t x, std::uint8_t y, const char* text,
                      std::uint8_t doubleHeight, std::uint8_t ink, std::uint8_t inverse) {
  DrawText8(fb, Wrap8(x - 4u * TextLength(text)), y, text, doubleHeight, ink, inverse);
}

void DrawTextSmallLiteral(FrameBuffer& fb, std::uint8_t x, std::uint8_t y, const char* text,
                          std::uint8_t invertFrom) {
  const LiteralCopy copy = CopyLiteral(text);
  DrawTextSmall(fb, x, y, copy.text, invertFrom);
}

void DrawTextSmallCentredLiteral(FrameBuffer& fb, std::uint8_t x, std::uint8_t y, const char* text,
                                 std::uint8_t invertFrom) {
  const LiteralCopy copy = CopyLiteral(text);
  DrawTextSmallCentred(fb, x, y, copy.text, invertFrom);
}

void DrawText8Literal(FrameBuffer& fb, std::uint8_t x, std::uint8_t y, const char* text,
                      std::uint8_t doubleHeight, std::uint8_t ink, std::uint8_t inverse) {
  const LiteralCopy copy = CopyLiteral(text);
  DrawText8(fb, x, y, copy.text, doubleHeight, ink, inverse);
}

void DrawText8CentredLiteral(FrameBuffer& fb, std::uint8_t x, std::uint8_t y, const char* text,
                             std::uint8_t doubleHeight, std::uint8_t ink, std::uint8_t inverse) {
  const LiteralCopy copy = CopyLiteral(text);
  DrawText8Centred(fb, x, y, copy.text, doubleHeight, ink, inverse);
}

}  // namespace kvr9
