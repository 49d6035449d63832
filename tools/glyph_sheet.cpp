// Draws every glyph table of the LCD onto one picture for people to look at:
// the small font, the 8x8 font, the big numerals and the menu icons, each dot
// enlarged with the dot grid showing, grouped and captioned.
//
// Usage: kvr9-glyph-sheet OUTPUT.png
//
// The tables are read exactly as the drawing routines read them, so the sheet
// shows what the LCD will show, including a glyph that has not been drawn yet
// (an empty cell).
#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "lcd/glyphs.h"

namespace {

constexpr int kDot = 5;       // screen pixels per LCD dot, grid line included
constexpr int kPanelDot = 2;  // the front panel paints each dot as 2 x 2
constexpr int kMinCellWidth = 44;
constexpr int kMargin = 24;
constexpr int kCellGap = 12;
constexpr int kCaptionHeight = 16;
constexpr int kTitleHeight = 30;
constexpr int kSectionGap = 20;

const QColor kPaper(250, 250, 246);
const QColor kGrid(168, 180, 156);
const QColor kBlankDot(204, 216, 192);
const QColor kInkDot(28, 34, 48);
const QColor kText(40, 40, 40);

// One glyph as a grid of dots, row by row, top row first.
struct Bitmap {
  int width = 0;
  int height = 0;
  std::vector<bool> ink;

  Bitmap(int w, int h) : width(w), height(h), ink(static_cast<std::size_t>(w * h), false) {}
  void Set(int x, int y, bool on) { ink[static_cast<std::size_t>(y * width + x)] = on; }
  bool At(int x, int y) const { return ink[static_cast<std::size_t>(y * width + x)]; }
};

struct Item {
  Bitmap bitmap;
  QString caption;
};

struct Section {
  QString title;
  std::vector<Item> items;
  int perRow = 1;
  int dot = kDot;    // screen pixels per dot
  bool grid = true;  // false: plain dots, as the panel paints them
};

bool Bit(std::uint8_t byte, unsigned n) {
  return ((static_cast<unsigned>(byte) >> n) & 1u) != 0;
}

// Small font: 5 column bytes, bit 6 the top row, bit 7 the row above the
// glyph. All 8 bits are shown so a stray dot in the spacing row shows too.
Bitmap SmallGlyph(unsigned code) {
  Bitmap bitmap(5, 8);
  const std::size_t first = (code - kvr9::kSmallFontFirst) * 5;
  for (int x = 0; x < 5; ++x) {
    for (int y = 0; y < 8; ++y) {
      bitmap.Set(x, y, Bit(kvr9::SmallFont[first + static_cast<std::size_t>(x)], 7u - unsigned(y)));
    }
  }
  return bitmap;
}

// 8x8 font: 8 column bytes, bit 0 the top row.
Bitmap Glyph8x8(unsigned code) {
  Bitmap bitmap(8, 8);
  const std::size_t first = (code - kvr9::kFont8x8First) * 8;
  for (int x = 0; x < 8; ++x) {
    for (int y = 0; y < 8; ++y) {
      bitmap.Set(x, y, Bit(kvr9::Font8x8[first + static_cast<std::size_t>(x)], unsigned(y)));
    }
  }
  return bitmap;
}

// Big numerals: band p of digit d, column c at p * 180 + d * 18 + c.
Bitmap BigDigit(unsigned digit) {
  constexpr int kWidth = static_cast<int>(kvr9::kBigDigitWidth);
  Bitmap bitmap(kWidth, 8 * static_cast<int>(kvr9::kBigDigitBands));
  for (unsigned band = 0; band < kvr9::kBigDigitBands; ++band) {
    for (unsigned col = 0; col < kvr9::kBigDigitWidth; ++col) {
      const std::uint8_t byte =
          kvr9::BigDigitFont[band * 10 * kvr9::kBigDigitWidth + digit * kvr9::kBigDigitWidth + col];
      for (unsigned n = 0; n < 8; ++n) {
        bitmap.Set(static_cast<int>(col), static_cast<int>(band * 8 + n), Bit(byte, n));
      }
    }
  }
  return bitmap;
}

// Icons where DrawIcon finds them: the one placement table.
const char* const kIconCaptions[kvr9::kIconCount] = {
    "0 flight log", "1 instrument", "2 calibrate", "3 question", "4 max values",
    "5 message",    "6 altitude",   "7 airspeed",  "8 display",  "9 ADC values"};

Bitmap Icon(const kvr9::IconPlace& place) {
  const std::array<std::uint8_t, 1024>& bank = kvr9::IconBank(place.bank);
  Bitmap bitmap(32, 32);
  for (unsigned band = 0; band < 4; ++band) {
    for (unsigned col = 0; col < 32; ++col) {
      const std::uint8_t byte = bank[place.strip * 512 + band * 128 + place.offset + col];
      for (unsigned n = 0; n < 8; ++n) {
        bitmap.Set(static_cast<int>(col), static_cast<int>(band * 8 + n), Bit(byte, n));
      }
    }
  }
  return bitmap;
}

QString CodeCaption(unsigned code) {
  QString caption = QString::number(code);
  if (code > 32 && code < 127) {
    caption += QLatin1Char(' ');
    caption += QLatin1Char(static_cast<char>(code));
  }
  return caption;
}

int CellWidth(const Section& section) {
  int widest = 0;
  for (const Item& item : section.items) widest = std::max(widest, item.bitmap.width);
  return std::max(widest * section.dot + 1 + kCellGap, kMinCellWidth);
}

int CellHeight(const Section& section) {
  int tallest = 0;
  bool captioned = false;
  for (const Item& item : section.items) {
    tallest = std::max(tallest, item.bitmap.height);
    captioned = captioned || !item.caption.isEmpty();
  }
  return tallest * section.dot + 1 + (captioned ? kCaptionHeight : 0) + kCellGap / 2;
}

int Rows(const Section& section) {
  const int count = static_cast<int>(section.items.size());
  return (count + section.perRow - 1) / section.perRow;
}

int SectionWidth(const Section& section) {
  return section.perRow * CellWidth(section) - kCellGap;
}

int SectionHeight(const Section& section) {
  return kTitleHeight + Rows(section) * CellHeight(section);
}

void DrawBitmap(QPainter& painter, int left, int top, const Bitmap& bitmap, int dot, bool grid) {
  const int line = grid ? 1 : 0;
  painter.fillRect(left, top, bitmap.width * dot + line, bitmap.height * dot + line, kGrid);
  for (int y = 0; y < bitmap.height; ++y) {
    for (int x = 0; x < bitmap.width; ++x) {
      painter.fillRect(left + x * dot + line, top + y * dot + line, dot - line, dot - line,
                       bitmap.At(x, y) ? kInkDot : kBlankDot);
    }
  }
}

void DrawSection(QPainter& painter, int top, const Section& section, const QFont& titleFont,
                 const QFont& captionFont) {
  painter.setPen(kText);
  painter.setFont(titleFont);
  painter.drawText(kMargin, top, painter.device()->width() - 2 * kMargin, kTitleHeight,
                   Qt::AlignLeft | Qt::AlignVCenter, section.title);
  painter.setFont(captionFont);
  const int cellWidth = CellWidth(section);
  const int cellHeight = CellHeight(section);
  for (std::size_t i = 0; i < section.items.size(); ++i) {
    const Item& item = section.items[i];
    const int index = static_cast<int>(i);
    const int left = kMargin + (index % section.perRow) * cellWidth;
    const int cellTop = top + kTitleHeight + (index / section.perRow) * cellHeight;
    DrawBitmap(painter, left, cellTop, item.bitmap, section.dot, section.grid);
    painter.drawText(left, cellTop + item.bitmap.height * section.dot + 1, cellWidth - kCellGap / 2,
                     kCaptionHeight, Qt::AlignLeft | Qt::AlignVCenter, item.caption);
  }
}

std::vector<Section> BuildSections() {
  std::vector<Section> sections(5);

  sections[0].title = "SmallFont: codes 32-127, 5 x 7 (row above the glyph shown on top)";
  sections[0].perRow = 16;
  for (unsigned code = kvr9::kSmallFontFirst; code <= kvr9::kSmallFontLast; ++code) {
    sections[0].items.push_back({SmallGlyph(code), CodeCaption(code)});
  }

  sections[1].title = "Font8x8: codes 32-131, 8 x 8";
  sections[1].perRow = 16;
  for (unsigned code = kvr9::kFont8x8First; code <= kvr9::kFont8x8Last; ++code) {
    sections[1].items.push_back({Glyph8x8(code), CodeCaption(code)});
  }

  sections[2].title = "BigDigitFont: numerals 0-9, 18 x 24";
  sections[2].perRow = 10;
  for (unsigned digit = 0; digit < 10; ++digit) {
    sections[2].items.push_back({BigDigit(digit), QString::number(digit)});
  }

  sections[3].title = "Icons 0-9 (IconBankA, IconBankB), 32 x 32";
  sections[3].perRow = 5;
  for (unsigned icon = 0; icon < kvr9::kIconCount; ++icon) {
    sections[3].items.push_back(
        {Icon(kvr9::kIconPlaces[icon]), QString::fromLatin1(kIconCaptions[icon])});
  }

  sections[4].title = "Numerals and icons as the panel paints them, 2 x 2 pixels a dot";
  sections[4].perRow = 10;
  sections[4].dot = kPanelDot;
  sections[4].grid = false;
  for (unsigned digit = 0; digit < 10; ++digit) {
    sections[4].items.push_back({BigDigit(digit), QString()});
  }
  for (const kvr9::IconPlace& place : kvr9::kIconPlaces) {
    sections[4].items.push_back({Icon(place), QString()});
  }
  return sections;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.png\n", argc > 0 ? argv[0] : "kvr9-glyph-sheet");
    return 2;
  }
  // Text needs a GUI application, but nothing is shown: no display required.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);

  const std::vector<Section> sections = BuildSections();
  int width = 0;
  int height = kMargin;
  for (const Section& section : sections) {
    width = std::max(width, SectionWidth(section));
    height += SectionHeight(section) + kSectionGap;
  }
  width += 2 * kMargin;
  height += kMargin - kSectionGap;

  QImage sheet(width, height, QImage::Format_RGB32);
  sheet.fill(kPaper);
  QPainter painter(&sheet);
  QFont titleFont("DejaVu Sans");
  titleFont.setPixelSize(16);
  titleFont.setBold(true);
  QFont captionFont("DejaVu Sans");
  captionFont.setPixelSize(11);
  int top = kMargin;
  for (const Section& section : sections) {
    DrawSection(painter, top, section, titleFont, captionFont);
    top += SectionHeight(section) + kSectionGap;
  }
  painter.end();

  if (!sheet.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
    std::fprintf(stderr, "kvr9-glyph-sheet: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
