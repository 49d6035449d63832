// The display setup list with its contrast page, and the altitude setup list.
#include <cstdint>

#include "core/limits.h"
#include "lcd/text.h"
#include "screens/framework.h"
#include "screens/screen_rows.h"
#include "screens/screen_table.h"
#include "screens/screens.h"

namespace kvr9 {

namespace {

constexpr std::uint8_t kDisplayLastRow = kDisplaySetupLastRow;
constexpr std::uint8_t kContrastRow = 1;
constexpr std::uint8_t kBacklightRow = 2;

constexpr std::uint8_t kAltLastRow = kAltSetupLastRow;
constexpr std::uint8_t kAltUnitRow = 1;
constexpr std::uint8_t kQnhUnitRow = 2;
constexpr std::uint8_t kPositionRow = 3;

// Contrast moves in steps of 2 so that its bar, two dots per step, ends one
// column inside the frame at the top value.
constexpr std::uint8_t kBarLeft = 1;
constexpr std::uint8_t kBarTop = 15;
constexpr std::uint8_t kBarRight = 126;
constexpr std::uint8_t kBarBottom = 25;

void FlipBacklight(Instrument& instrument) {
  Settings& settings = instrument.state.settings;
  if (settings.backlightOn == 0) {
    settings.backlightOn = 1;
    HookBacklightOn(instrument);
  } else {
    settings.backlightOn = 0;
    HookBacklightOff(instrument);
  }
}

void FlipAltSetting(Instrument& instrument, std::uint8_t row) {
  Settings& settings = instrument.state.settings;
  switch (row) {
    case kAltUnitRow:
      // The altitude follows from the next UpdateAltitude; the maximum keeps its number.
      settings.altUnit = Flipped(settings.altUnit);
      break;
    case kQnhUnitRow:
      settings.qnhUnit = Flipped(settings.qnhUnit);
      UpdateAltitude(instrument);
      ResetMaxValues(instrument);
      break;
    case kPositionRow:
      settings.altitudeOnTop = Flipped(settings.altitudeOnTop);
      break;
    default:
      break;
  }
}

}  // namespace

void DisplaySetupScreen(Instrument& instrument) {
  UiState& ui = instrument.state.ui;
  DrawTitle(instrument, " DISPLAY SETUP ");
  DrawDoneRow(instrument);
  DrawRowText(instrument, 0, 16, "ADJUST CONTRAST", ui.cursor == kContrastRow ? 1 : 0);
  DrawSettingRow(instrument, 0, kBacklightRow,
                 "BACKLIGHT: ", SwitchName(instrument.state.settings.backlightOn));

  const std::uint8_t key = TakeKey(instrument);
  if (key == KeyPress) {
    if (ui.cursor == 0) {
      LeaveTo(instrument, MainMenuScreen, ReturnMenuItem(DisplaySetupScreen));
    } else if (ui.cursor == kContrastRow) {
      LeaveTo(instrument, ContrastScreen, 0);
    } else if (ui.cursor == kBacklightRow) {
      ui.editing = Flipped(ui.editing);
    }
  } else if (ui.editing == 0) {
    MoveCursor(instrument, key, kDisplayLastRow);
  } else if (ui.cursor == kBacklightRow && IsEditKey(key)) {
    FlipBacklight(instrument);
  }
}

void ContrastScreen(Instrument& instrument) {
  FrameBuffer& fb = instrument.frameBuffer;
  std::uint8_t& contrast = instrument.state.settings.contrast;
  DrawTitle(instrument, " CONTRAST ");
  // The bar shares the frame's top and bottom rows; kept in a byte as the
  // display's coordinates are.
  FillRect(fb, kBarLeft, kBarTop, static_cast<std::uint8_t>((2u * contrast + kBarLeft) & 0xFF),
           kBarBottom, PixelSet);
  DrawRect(fb, kBarLeft, kBarTop, kBarRight, kBarBottom, PixelSet);
  // '{', '}' and '~' are the up, down and knob-turn symbols of the 8x8 font.
  DrawText8CentredLiteral(fb, 64, 40, "USE { } OR ~", 0, PixelSet, 0);
  DrawText8CentredLiteral(fb, 64, 48, "TO ADJUST THE", 0, PixelSet, 0);
  DrawText8CentredLiteral(fb, 64, 56, "CONTRAST", 0, PixelSet, 0);

  const std::uint8_t key = TakeKey(instrument);
  if (key == KeyPress) {
    LeaveTo(instrument, DisplaySetupScreen, kContrastRow);
    HookSaveSettings(instrument);
  } else if (IsEditKey(key)) {
    if (IsIncreaseKey(key)) {
      if (contrast + kContrastStep <= kContrastLimit) contrast += kContrastStep;
    } else if (contrast >= kContrastStep) {
      contrast -= kContrastStep;
    }
    // Sent at the limits as well: the display driver is simply told again.
    HookSetContrast(instrument);
  }
}

void AltSetupScreen(Instrument& instrument) {
  UiState& ui = instrument.state.ui;
  const Settings& settings = instrument.state.settings;
  DrawTitle(instrument, " ALT SETUP ");
  DrawDoneRow(instrument);
  DrawSettingRow(instrument, 0, kAltUnitRow, "ALT UNIT: ", AltUnitName(settings.altUnit));
  DrawSettingRow(instrument, 0, kQnhUnitRow, "QNH UNIT: ", QnhUnitName(settings.qnhUnit));
  // Where the altitude stands; the main display puts it on top for any non-zero value.
  DrawSettingRow(instrument, 0, kPositionRow,
                 "POSITION: ", settings.altitudeOnTop != 0 ? "TOP" : "BOTTOM");

  const std::uint8_t key = TakeKey(instrument);
  if (key == KeyPress) {
    if (ui.cursor == 0) {
      LeaveTo(instrument, MainMenuScreen, ReturnMenuItem(AltSetupScreen));
    } else {
      ui.editing = Flipped(ui.editing);
    }
  } else if (ui.editing != 1) {
    MoveCursor(instrument, key, kAltLastRow);
  } else if (IsEditKey(key)) {
    FlipAltSetting(instrument, ui.cursor);
  }
}

}  // namespace kvr9
