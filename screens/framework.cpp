// Shared drawing and key helpers of the menu screens.
#include "screens/framework.h"

#include <cstdio>
#include <cstring>

#include "lcd/text.h"

namespace kvr9 {

const char AltUnitNames[2][3] = {"ft", "m"};
const char QnhUnitNames[2][7] = {"mB", "\"Hg"};
const char AsiUnitNames[3][7] = {"mph", "km/h", "knots"};
const char SwitchNames[2][4] = {"OFF", "ON"};
const char AsiKindNames[2][4] = {"IAS", "TAS"};
const char FilterNames[3][5] = {"NONE", "FAST", "SLOW"};

const char* AltUnitName(std::uint8_t altUnit) {
  return AltUnitNames[altUnit < 2 ? altUnit : 0];
}
const char* QnhUnitName(std::uint8_t qnhUnit) {
  return QnhUnitNames[qnhUnit < 2 ? qnhUnit : 0];
}
const char* AsiUnitName(std::uint8_t asiUnit) {
  return AsiUnitNames[asiUnit < 3 ? asiUnit : 0];
}
const char* SwitchName(std::uint8_t value) {
  return SwitchNames[value < 2 ? value : 0];
}
const char* AsiKindName(std::uint8_t asiShowsTas) {
  return AsiKindNames[asiShowsTas < 2 ? asiShowsTas : 0];
}
const char* FilterName(std::uint8_t asiFilter) {
  return FilterNames[asiFilter < 3 ? asiFilter : 0];
}

std::uint8_t ScrollOffset(const Instrument& instrument) {
  const std::uint8_t cursor = instrument.state.ui.cursor;
  return cursor > kVisibleListRows - 1 ? static_cast<std::uint8_t>(cursor - (kVisibleListRows - 1))
                                       : 0;
}

// The title is centred on x 64 with a rule running out to both edges
// through the blank cells at its ends.
void DrawTitle(Instrument& instrument, const char* text) {
  FrameBuffer& fb = instrument.frameBuffer;
  const auto n = static_cast<std::int32_t>(std::strlen(text));
  DrawText8Literal(fb, static_cast<std::uint8_t>((64 - 4 * n) & 0xFF), 0, text, 0, PixelSet, 0);
  DrawLine(fb, 0, 4, 66 - 4 * n, 4, PixelSet);
  DrawLine(fb, 62 + 4 * n, 4, 127, 4, PixelSet);
}

// Rows at y 7 or above would run into the title bar and are left out.
void DrawRowText(Instrument& instrument, std::uint8_t x, std::uint8_t y, const char* text,
                 std::uint8_t inverse) {
  if (y < 8) return;
  DrawText8Literal(instrument.frameBuffer, x, y, text, 0, PixelSet, inverse);
}

void DrawSettingRow(Instrument& instrument, std::uint8_t valueShift, int row, const char* label,
                    const char* value) {
  if (row < 0 || row >= kVisibleListRows) return;
  const UiState& ui = instrument.state.ui;
  const auto y = static_cast<std::uint8_t>(8 * row + 8);
  const bool selected = ui.cursor - ScrollOffset(instrument) == row;
  DrawRowText(instrument, 0, y, label, selected && ui.editing == 0 ? 1 : 0);
  const auto valueX = static_cast<std::uint8_t>((8 * std::strlen(label) + valueShift) & 0xFF);
  DrawRowText(instrument, valueX, y, value, selected ? 1 : 0);
}

void DrawDoneRow(Instrument& instrument, std::uint8_t y) {
  DrawText8CentredLiteral(instrument.frameBuffer, 64, y, "*** DONE ***", 0, PixelSet,
                          instrument.state.ui.cursor == 0 ? 1 : 0);
}

void DrawMenuScrollBar(Instrument& instrument, std::uint8_t cursor, std::uint8_t itemCount) {
  FrameBuffer& fb = instrument.frameBuffer;
  const unsigned step = itemCount == 0 ? 0 : 560u / itemCount;
  DrawLine(fb, 125, 8, 125, 63, PixelSet);
  const unsigned top = (step * cursor + 80) / 10;
  const unsigned bottom = top + step / 10;
  FillRect(fb, 123, static_cast<std::uint8_t>(top & 0xFF), 127,
           static_cast<std::uint8_t>(bottom & 0xFF), PixelSet);
}

namespace {

void AppendText(char* text, std::size_t size, const char* suffix) {
  const std::size_t used = std::strlen(text);
  if (used + 1 >= size) return;
  std::snprintf(text + used, size - used, "%s", suffix);
}

}  // namespace

void AppendAltUnit(const Instrument& instrument, char* text, std::size_t size) {
  AppendText(text, size, AltUnitName(instrument.state.settings.altUnit));
}
void AppendQnhUnit(const Instrument& instrument, char* text, std::size_t size) {
  AppendText(text, size, QnhUnitName(instrument.state.settings.qnhUnit));
}
void AppendAsiUnit(const Instrument& instrument, char* text, std::size_t size) {
  AppendText(text, size, AsiUnitName(instrument.state.settings.asiUnit));
}

void FormatFlightTime(const Settings& settings, std::uint8_t hours, std::uint8_t minutes,
                      char* text, std::size_t size) {
  std::snprintf(text, size, settings.hourFractDecimal == 1 ? "%02d.%02d" : "%02d:%02d", hours,
                minutes);
}

std::uint8_t TakeKey(Instrument& instrument) {
  const std::uint8_t key = instrument.state.ui.pendingKey;
  instrument.state.ui.pendingKey = KeyNone;
  return key;
}

void LeaveTo(Instrument& instrument, ScreenHandler screen, std::uint8_t cursor) {
  UiState& ui = instrument.state.ui;
  ui.currentScreen = screen;
  ui.cursor = cursor;
  ui.editing = 0;
}

void MoveCursor(Instrument& instrument, std::uint8_t key, std::uint8_t lastRow) {
  std::uint8_t& cursor = instrument.state.ui.cursor;
  if ((key == KeyClockwise || key == KeyF2) && cursor < lastRow) ++cursor;
  if ((key == KeyAntiClockwise || key == KeyF1) && cursor > 0) --cursor;
}

std::uint8_t Flipped(std::uint8_t value) {
  return value == 0 ? 1 : 0;
}

bool IsIncreaseKey(std::uint8_t key) {
  return key == KeyClockwise || key == KeyF1;
}

bool IsEditKey(std::uint8_t key) {
  return key == KeyClockwise || key == KeyAntiClockwise || key == KeyF1 || key == KeyF2;
}

void HandleListKey(Instrument& instrument, std::uint8_t key, std::uint8_t lastRow,
                   void (*chooseRow)(Instrument&),
                   void (*changeRow)(Instrument&, std::uint8_t key)) {
  UiState& ui = instrument.state.ui;
  if (ui.editing == 0) {
    if (key == KeyPress) {
      chooseRow(instrument);
    } else {
      MoveCursor(instrument, key, lastRow);
    }
  } else if (key == KeyPress) {
    ui.editing = 0;
  } else if (IsEditKey(key)) {
    changeRow(instrument, key);
  }
}

}  // namespace kvr9
