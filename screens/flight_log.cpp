// The flight log menu, its view and erase pages, and the two notice pages
// that other screens open and that return to where they came from.
#include <cstdio>

#include "lcd/icons.h"
#include "lcd/text.h"
#include "screens/framework.h"
#include "screens/screen_rows.h"
#include "screens/screen_table.h"
#include "screens/screens.h"

namespace kvr9 {

namespace {

// Rows of the flight log menu.
constexpr std::uint8_t kRowDone = 0;
constexpr std::uint8_t kRowViewLog = 1;
constexpr std::uint8_t kRowEraseLog = 2;
constexpr std::uint8_t kRowHourFract = 3;
constexpr std::uint8_t kRowFlightDetect = 4;
constexpr std::uint8_t kRowTakeoffSpeed = 5;

// An hours byte at or above this marks an empty log entry.
constexpr std::uint8_t kEmptyEntryHours = 100;

struct LogPage {
  std::uint8_t firstIndex;
  std::uint8_t entryCount;
  std::uint8_t baseY;  // page 0 keeps its top line for the done row
};
constexpr LogPage kLogPages[] = {{0, 6, 16}, {6, 7, 8}, {13, 7, 8}, {20, 4, 8}};
constexpr std::uint8_t kLastLogPage = sizeof kLogPages / sizeof kLogPages[0] - 1;
static_assert(kLastLogPage == kLogViewLastPage);
static_assert(kRowTakeoffSpeed == kFlightLogLastRowDetect &&
              kRowFlightDetect == kFlightLogLastRowManual);

// Wraps one step before a bound: the bounds themselves are reached only
// by wrapping round from the other end.
void StepTakeoffSpeed(Instrument& instrument, bool up) {
  Settings& settings = instrument.state.settings;
  const SpeedRange range = SpeedRangeForUnit(settings.asiUnit);
  const std::uint32_t step = instrument.state.ui.keyStep;
  std::uint32_t& speed = settings.takeoffSpeed;
  if (up) {
    speed = speed + step >= range.highest ? range.lowest : speed + step;
  } else {
    // Compared without subtracting, so a speed below the step cannot
    // underflow into a huge value.
    speed = speed <= range.lowest + step ? range.highest : speed - step;
  }
}

void EditFlightLogRow(Instrument& instrument, std::uint8_t key) {
  Settings& settings = instrument.state.settings;
  switch (instrument.state.ui.cursor) {
    case kRowHourFract:
      settings.hourFractDecimal = Flipped(settings.hourFractDecimal);
      break;
    case kRowFlightDetect:
      settings.flightDetectAuto = Flipped(settings.flightDetectAuto);
      break;
    case kRowTakeoffSpeed:
      StepTakeoffSpeed(instrument, IsIncreaseKey(key));
      break;
    default:
      break;
  }
}

void ChooseFlightLogRow(Instrument& instrument) {
  UiState& ui = instrument.state.ui;
  switch (ui.cursor) {
    case kRowDone:
      LeaveTo(instrument, MainMenuScreen, ReturnMenuItem(FlightLogScreen));
      break;
    case kRowViewLog:
      // The log is being written during a flight; it can only be read after.
      if (instrument.state.flightTimer.inFlight == 0) {
        ui.cursor = 0;  // page 0
        ui.currentScreen = LogViewScreen;
      } else {
        ui.returnScreen = FlightLogScreen;
        ui.currentScreen = LogBusyScreen;
      }
      break;
    case kRowEraseLog:
      ui.currentScreen = EraseLogScreen;
      break;
    default:
      ui.editing = 1;
      break;
  }
}

// The message pages go back on any key, leaving the cursor to the screen
// they return to.
void ReturnFromMessage(Instrument& instrument) {
  if (TakeKey(instrument) == KeyNone) return;
  instrument.state.ui.currentScreen = instrument.state.ui.returnScreen;
}

}  // namespace

void FlightLogScreen(Instrument& instrument) {
  FrameBuffer& fb = instrument.frameBuffer;
  const Settings& settings = instrument.state.settings;
  UiState& ui = instrument.state.ui;
  DrawTitle(instrument, " FLIGHT LOG ");
  DrawDoneRow(instrument);
  DrawText8Literal(fb, 0, 16, "VIEW LOG", 0, PixelSet, ui.cursor == kRowViewLog ? 1 : 0);
  DrawText8Literal(fb, 0, 24, "ERASE LOG", 0, PixelSet, ui.cursor == kRowEraseLog ? 1 : 0);
  DrawSettingRow(instrument, 0, kRowHourFract,
                 "HOUR FRACT: ", settings.hourFractDecimal == 0 ? "MIN" : "DEC");
  DrawSettingRow(instrument, 0, kRowFlightDetect,
                 "FLIGHT: ", settings.flightDetectAuto == 0 ? "MANUAL" : "DETECT");
  // The take-off speed only matters while flights are detected.
  const bool detecting = settings.flightDetectAuto != 0;
  if (detecting) {
    char text[16];
    std::snprintf(text, sizeof text, "%3lu", static_cast<unsigned long>(settings.takeoffSpeed));
    DrawSettingRow(instrument, 0, kRowTakeoffSpeed, "FLIGHT T/O:", text);
  }
  const std::uint8_t lastRow = detecting ? kRowTakeoffSpeed : kRowFlightDetect;

  HandleListKey(instrument, TakeKey(instrument), lastRow, ChooseFlightLogRow, EditFlightLogRow);
}

void DrawLogEntry(Instrument& instrument, std::uint8_t index, std::uint8_t baseY,
                  std::uint8_t firstIndex) {
  if (index >= kFlightLogEntries) return;
  const auto& log = instrument.state.flightTimer.flightLog;
  const std::uint8_t hours = log[index];
  char time[8];
  if (hours >= kEmptyEntryHours) {
    std::snprintf(time, sizeof time, "-----");
  } else {
    FormatFlightTime(instrument.state.settings, hours, log[index + kFlightLogEntries], time,
                     sizeof time);
  }
  char text[16];
  std::snprintf(text, sizeof text, "%d: %s", index + 1, time);
  const auto y = static_cast<std::uint8_t>((8 * (index - firstIndex) + baseY) & 0xFF);
  DrawRowText(instrument, 0, y, text, 0);
}

void LogViewScreen(Instrument& instrument) {
  UiState& ui = instrument.state.ui;
  DrawTitle(instrument, " FLIGHT LOG ");
  const std::uint8_t page = ui.cursor <= kLastLogPage ? ui.cursor : kLastLogPage;
  if (page == 0) DrawDoneRow(instrument);  // the cursor is 0 here: always inverse
  const LogPage& entries = kLogPages[page];
  for (std::uint8_t i = 0; i < entries.entryCount; ++i) {
    DrawLogEntry(instrument, static_cast<std::uint8_t>(entries.firstIndex + i), entries.baseY,
                 entries.firstIndex);
  }

  const std::uint8_t key = TakeKey(instrument);
  if (key == KeyPress) {
    if (page == 0) LeaveTo(instrument, FlightLogScreen, kRowViewLog);
  } else if (key != KeyNone) {
    MoveCursor(instrument, key, kLastLogPage);
  }
}

void EraseLogScreen(Instrument& instrument) {
  FrameBuffer& fb = instrument.frameBuffer;
  UiState& ui = instrument.state.ui;
  DrawIcon(fb, kIconQuestion);
  DrawText8CentredLiteral(fb, 84, 3, "ERASE", 1, PixelSet, 0);
  DrawText8CentredLiteral(fb, 84, 20, "FLIGHT", 1, PixelSet, 0);
  DrawText8CentredLiteral(fb, 84, 37, "LOG", 1, PixelSet, 0);
  // Key label above F1, the only key that confirms.
  DrawText8Literal(fb, 0, 56, " ERASE ", 0, PixelSet, 1);

  // The knob is ignored so that a stray turn neither erases nor cancels.
  switch (TakeKey(instrument)) {
    case KeyF1:
      EraseFlightLog(instrument);
      ui.cursor = kRowEraseLog;
      ui.returnScreen = FlightLogScreen;
      ui.currentScreen = MessageScreen;
      break;
    case KeyPress:
    case KeyF2:
      ui.currentScreen = FlightLogScreen;
      break;
    default:
      break;
  }
}

void LogBusyScreen(Instrument& instrument) {
  FrameBuffer& fb = instrument.frameBuffer;
  DrawIcon(fb, kIconExclamation);
  DrawText8CentredLiteral(fb, 84, 8, "FLIGHT", 0, PixelSet, 0);
  DrawText8CentredLiteral(fb, 84, 18, "LOG CANT", 0, PixelSet, 0);
  DrawText8CentredLiteral(fb, 84, 28, "BE VIEWED", 0, PixelSet, 0);
  DrawText8CentredLiteral(fb, 84, 38, "WHILE IN", 0, PixelSet, 0);
  DrawText8CentredLiteral(fb, 84, 48, "FLIGHT", 0, PixelSet, 0);
  ReturnFromMessage(instrument);
}

void MessageScreen(Instrument& instrument) {
  DrawTitle(instrument, " MESSAGE ");
  DrawIcon(instrument.frameBuffer, kIconExclamation);
  DrawText8CentredLiteral(instrument.frameBuffer, 84, 26, "DONE", 1, PixelSet, 0);
  ReturnFromMessage(instrument);
}

}  // namespace kvr9
