// The instrument's normal display and the main menu.
#include <cstdio>

#include "core/limits.h"
#include "lcd/big_numbers.h"
#include "lcd/icons.h"
#include "lcd/text.h"
#include "screens/framework.h"
#include "screens/screen_rows.h"
#include "screens/screen_table.h"
#include "screens/screens.h"

namespace kvr9 {

namespace {

constexpr double kQnhPerInchHg = 33863.0;

void DrawAirspeed(Instrument& instrument, std::uint8_t y, std::uint8_t unitY) {
  const InstrumentState& state = instrument.state;
  FrameBuffer& fb = instrument.frameBuffer;
  // An alarm flashes the numerals with the blink phase; kind and unit stay.
  if (!AirspeedAlarmCondition(state) || state.ui.blinkPhase == 1) {
    char text[16];
    std::snprintf(text, sizeof text, "%3u", static_cast<unsigned>(state.airData.airspeed));
    DrawBigNumber(fb, 34, y, text);
  }
  DrawText8Literal(fb, 0, y, AsiKindName(state.settings.asiShowsTas), 0, PixelSet, 0);
  DrawText8CentredLiteral(fb, 109, unitY, AsiUnitName(state.settings.asiUnit), 1, PixelSet, 0);
}

void DrawAltitude(Instrument& instrument, std::uint8_t y) {
  const InstrumentState& state = instrument.state;
  FrameBuffer& fb = instrument.frameBuffer;
  char text[16];
  std::snprintf(text, sizeof text, "%5ld", static_cast<long>(state.airData.altitude));
  DrawBigNumber(fb, 6, y, text);
  DrawText8CentredLiteral(fb, 109, static_cast<std::uint8_t>(y + 9),
                          AltUnitName(state.settings.altUnit), 1, PixelSet, 0);
}

void DrawQnhLine(Instrument& instrument) {
  const Settings& settings = instrument.state.settings;
  char text[24];
  if (settings.qnhUnit == 1) {
    std::snprintf(text, sizeof text, "%.2f", settings.qnh / kQnhPerInchHg);
  } else {
    std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(settings.qnh / 1000));
  }
  AppendQnhUnit(instrument, text, sizeof text);
  DrawText8Centred(instrument.frameBuffer, 64, 57, text, 0, PixelSet, 0);
}

void StepQnh(Instrument& instrument, bool up) {
  Settings& settings = instrument.state.settings;
  const std::uint32_t step = settings.qnhUnit == 1 ? kQnhStepInchHg : kQnhStepMillibar;
  if (up && settings.qnh + step <= kQnhHighest) settings.qnh += step;
  if (!up && settings.qnh >= kQnhLowest + step) settings.qnh -= step;
  HookSaveSettings(instrument);
}

}  // namespace

void DrawMainDisplay(Instrument& instrument) {
  if (instrument.state.settings.altitudeOnTop == 0) {
    DrawAirspeed(instrument, 3, 3);
    DrawAltitude(instrument, 30);
  } else {
    DrawAirspeed(instrument, 30, 39);
    DrawAltitude(instrument, 3);
  }
  DrawQnhLine(instrument);
}

void MainScreen(Instrument& instrument) {
  DrawMainDisplay(instrument);
  InstrumentState& state = instrument.state;
  const std::uint8_t key = TakeKey(instrument);
  if (key == KeyNone) return;
  // The first key of an alarm only acknowledges it.
  if (state.airData.alarmActive != 0 && state.airData.alarmAcknowledged == 0) {
    state.airData.alarmAcknowledged = 1;
    return;
  }
  switch (key) {
    case KeyPress:
      LeaveTo(instrument, MainMenuScreen, 0);
      break;
    case KeyClockwise:
      StepQnh(instrument, true);
      break;
    case KeyAntiClockwise:
      StepQnh(instrument, false);
      break;
    case KeyF1:
      if (state.settings.flightDetectAuto == 0) state.ui.currentScreen = StartStopScreen;
      break;
    case KeyF2:
      state.ui.cursor = 0;
      state.ui.currentScreen = FlightInfoScreen;
      break;
    default:
      break;
  }
}

namespace {

struct MenuItem {
  const char* captionTop;
  const char* captionBottom;  // nullptr: one line at y 26
  std::uint8_t icon;
  ScreenHandler screen;
};

const MenuItem kMenuItems[] = {
    {"EXIT", "MENU", 1, MainScreen},          {"MAXIMUM", "VALUES", 4, MaxValuesScreen},
    {"FLIGHT", "LOG", 0, FlightLogScreen},    {"DISPLAY", "SETUP", 8, DisplaySetupScreen},
    {"ALTITUDE", "SETUP", 6, AltSetupScreen}, {"AIRSPEED", "SETUP", 7, AsiSetupScreen},
    {"ADC", "VALUES", 9, AdcValuesScreen},    {"CALIBRATE", nullptr, 2, CalibrateScreen},
};
constexpr std::uint8_t kMenuItemCount = sizeof kMenuItems / sizeof kMenuItems[0];
static_assert(kMenuItemCount == kMenuItemsWithCalibration);

}  // namespace

std::uint8_t MainMenuItemOf(ScreenHandler screen) {
  for (std::uint8_t item = 0; item < kMenuItemCount; ++item) {
    if (kMenuItems[item].screen == screen) return item;
  }
  return 0;
}

void MainMenuScreen(Instrument& instrument) {
  UiState& ui = instrument.state.ui;
  FrameBuffer& fb = instrument.frameBuffer;
  DrawTitle(instrument, " MAIN MENU ");
  const std::uint8_t itemCount =
      ui.calibrateMode == 1 ? kMenuItemsWithCalibration : kMenuItemsPlain;
  DrawMenuScrollBar(instrument, ui.cursor, itemCount);
  // The cursor never leaves 0..7; a stale value still draws a sane item.
  const MenuItem& item = kMenuItems[ui.cursor < kMenuItemCount ? ui.cursor : 0];
  if (item.captionBottom != nullptr) {
    DrawText8CentredLiteral(fb, 84, 18, item.captionTop, 1, PixelSet, 0);
    DrawText8CentredLiteral(fb, 84, 36, item.captionBottom, 1, PixelSet, 0);
  } else {
    DrawText8CentredLiteral(fb, 84, 26, item.captionTop, 1, PixelSet, 0);
  }
  DrawIcon(fb, item.icon);

  const std::uint8_t key = TakeKey(instrument);
  switch (key) {
    case KeyPress:
      ui.currentScreen = item.screen;
      if (item.screen == MainScreen) HookSaveSettings(instrument);
      ui.cursor = 0;
      ui.editing = 0;
      break;
    case KeyClockwise:
    case KeyF2:
      if (ui.cursor < itemCount - 1) ++ui.cursor;
      break;
    case KeyAntiClockwise:
    case KeyF1:
      if (ui.cursor > 0) --ui.cursor;
      break;
    default:
      break;
  }
}

}  // namespace kvr9
