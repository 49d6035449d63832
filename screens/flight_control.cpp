// The flight screens reached from the main display (start/stop, flight
// information) and the maximum values page of the main menu.
#include <cstdio>

#include "lcd/icons.h"
#include "lcd/text.h"
#include "screens/framework.h"
#include "screens/screen_table.h"
#include "screens/screens.h"

namespace kvr9 {

namespace {

// 720 counts of the air-distance sum make a tenth of a statute mile.
constexpr std::uint32_t kDistanceCountsPerTenth = 720;
// The one count of tenths that reads as an unknown distance.
constexpr std::uint32_t kDistanceUnknown = 65535;

// The two-row pages pick a row outright: down keys row 1, up keys row 0.
void SelectRow(Instrument& instrument, std::uint8_t key) {
  if (key == KeyClockwise || key == KeyF2) instrument.state.ui.cursor = 1;
  if (key == KeyAntiClockwise || key == KeyF1) instrument.state.ui.cursor = 0;
}

// Tenths of a statute mile in the unit the pilot flies in; the factors
// are applied in the instrument's own order.
double DistanceInUnit(std::uint32_t tenthsOfMile, std::uint8_t asiUnit) {
  const double tenths = tenthsOfMile;
  switch (asiUnit) {
    case 1:
      return tenths * 1609 * 0.0001;  // kilometres
    case 2:
      return tenths * 869 * 0.0001;  // nautical miles
    default:
      return tenths * 0.1;  // statute miles
  }
}

void FormatAirDistance(const Instrument& instrument, char* text, std::size_t size) {
  const std::uint32_t tenths = instrument.state.airData.distanceSum / kDistanceCountsPerTenth;
  if (tenths == kDistanceUnknown) {
    std::snprintf(text, size, "???.?");
    return;
  }
  std::snprintf(text, size, "%.1f", DistanceInUnit(tenths, instrument.state.settings.asiUnit));
}

}  // namespace

void StartStopScreen(Instrument& instrument) {
  FrameBuffer& fb = instrument.frameBuffer;
  const bool flying = instrument.state.flightTimer.inFlight != 0;
  DrawIcon(fb, kIconQuestion);
  DrawText8CentredLiteral(fb, 84, 10, flying ? "STOP" : "START", 1, PixelSet, 0);
  DrawText8CentredLiteral(fb, 84, 30, "FLIGHT", 1, PixelSet, 0);
  // Key label above F1, the only key that confirms.
  DrawText8Literal(fb, 0, 56, flying ? " STOP " : " START ", 0, PixelSet, 1);

  const std::uint8_t key = TakeKey(instrument);
  if (key == KeyNone) return;
  if (key == KeyF1) {
    if (flying) {
      StopFlight(instrument);
    } else {
      StartFlight(instrument);
    }
  }
  instrument.state.ui.currentScreen = MainScreen;
}

void FlightInfoScreen(Instrument& instrument) {
  FrameBuffer& fb = instrument.frameBuffer;
  const std::uint8_t cursor = instrument.state.ui.cursor;
  // No title: the done row takes the top line.
  DrawDoneRow(instrument, 0);
  DrawText8Literal(fb, 0, 8, "RESET AIR DIST", 0, PixelSet, cursor == 1 ? 1 : 0);

  char text[24];
  DrawText8Literal(fb, 0, 18, "FLIGHT TIME:", 0, PixelSet, 0);
  const FlightTimer& timer = instrument.state.flightTimer;
  FormatFlightTime(instrument.state.settings, timer.flightHours, timer.flightMinutes, text,
                   sizeof text);
  DrawText8Centred(fb, 64, 26, text, 1, PixelSet, 0);

  DrawText8Literal(fb, 0, 42, "AIR DISTANCE:", 0, PixelSet, 0);
  FormatAirDistance(instrument, text, sizeof text);
  DrawText8Centred(fb, 64, 50, text, 1, PixelSet, 0);

  const std::uint8_t key = TakeKey(instrument);
  if (key == KeyPress) {
    if (cursor == 0) {
      instrument.state.ui.currentScreen = MainScreen;
    } else {
      ResetAirDistance(instrument);
    }
  }
  SelectRow(instrument, key);
}

void MaxValuesScreen(Instrument& instrument) {
  FrameBuffer& fb = instrument.frameBuffer;
  const AirData& air = instrument.state.airData;
  const std::uint8_t cursor = instrument.state.ui.cursor;
  DrawTitle(instrument, " MAX VALUES ");
  DrawDoneRow(instrument);
  DrawText8Literal(fb, 0, 16, "RESET VALUES", 0, PixelSet, cursor == 1 ? 1 : 0);

  char text[24];
  DrawText8Literal(fb, 0, 28, "ALT:", 0, PixelSet, 0);
  std::snprintf(text, sizeof text, "%ld ", static_cast<long>(air.maxAltitude));
  AppendAltUnit(instrument, text, sizeof text);
  DrawText8(fb, 40, 28, text, 1, PixelSet, 0);

  DrawText8Literal(fb, 0, 48, "ASI:", 0, PixelSet, 0);
  std::snprintf(text, sizeof text, "%lu ", static_cast<unsigned long>(air.maxAirspeed));
  AppendAsiUnit(instrument, text, sizeof text);
  DrawText8(fb, 40, 48, text, 1, PixelSet, 0);

  const std::uint8_t key = TakeKey(instrument);
  if (key == KeyPress) {
    if (cursor == 0) {
      LeaveTo(instrument, MainMenuScreen, ReturnMenuItem(MaxValuesScreen));
    } else {
      ResetMaxValues(instrument);
    }
  }
  SelectRow(instrument, key);
}

}  // namespace kvr9
