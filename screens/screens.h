// Every screen of the instrument. A screen draws its whole page into the
// cleared frame buffer, then consumes the pending key.
#pragma once

#include "core/instrument.h"

namespace kvr9 {

// Main display and main menu.
void MainScreen(Instrument& instrument);
void DrawMainDisplay(Instrument& instrument);
void MainMenuScreen(Instrument& instrument);

// Flight control.
void StartStopScreen(Instrument& instrument);
void FlightInfoScreen(Instrument& instrument);
void MaxValuesScreen(Instrument& instrument);

// Display and altitude setup.
void DisplaySetupScreen(Instrument& instrument);
void ContrastScreen(Instrument& instrument);
void AltSetupScreen(Instrument& instrument);

// Flight log and messages.
void FlightLogScreen(Instrument& instrument);
void LogViewScreen(Instrument& instrument);
void DrawLogEntry(Instrument& instrument, std::uint8_t index, std::uint8_t baseY,
                  std::uint8_t firstIndex);
void EraseLogScreen(Instrument& instrument);
void LogBusyScreen(Instrument& instrument);
void MessageScreen(Instrument& instrument);

// Airspeed setup, zero, calibration and converter readings.
void AsiSetupScreen(Instrument& instrument);
void ZeroAsiScreen(Instrument& instrument);
void CalibrateScreen(Instrument& instrument);
void AdcValuesScreen(Instrument& instrument);

}  // namespace kvr9
