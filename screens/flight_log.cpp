// Placeholder screens: any key goes back to the main menu until the real
// pages are built.
#include "screens/framework.h"
#include "screens/screens.h"

namespace kvr9 {

void FlightLogScreen(Instrument& instrument) {
  if (TakeKey(instrument) != KeyNone) LeaveTo(instrument, MainMenuScreen, 0);
}

void LogViewScreen(Instrument& instrument) {
  if (TakeKey(instrument) != KeyNone) LeaveTo(instrument, MainMenuScreen, 0);
}

void EraseLogScreen(Instrument& instrument) {
  if (TakeKey(instrument) != KeyNone) LeaveTo(instrument, MainMenuScreen, 0);
}

void LogBusyScreen(Instrument& instrument) {
  if (TakeKey(instrument) != KeyNone) LeaveTo(instrument, MainMenuScreen, 0);
}

void MessageScreen(Instrument& instrument) {
  if (TakeKey(instrument) != KeyNone) LeaveTo(instrument, MainMenuScreen, 0);
}

void DrawLogEntry(Instrument&, std::uint8_t, std::uint8_t, std::uint8_t) {}

}  // namespace kvr9
