// Placeholder screens: any key goes back to the main menu until the real
// pages are built.
#include "screens/framework.h"
#include "screens/screens.h"

namespace kvr9 {

void StartStopScreen(Instrument& instrument) {
  if (TakeKey(instrument) != KeyNone) LeaveTo(instrument, MainMenuScreen, 0);
}

void FlightInfoScreen(Instrument& instrument) {
  if (TakeKey(instrument) != KeyNone) LeaveTo(instrument, MainMenuScreen, 0);
}

void MaxValuesScreen(Instrument& instrument) {
  if (TakeKey(instrument) != KeyNone) LeaveTo(instrument, MainMenuScreen, 0);
}

}  // namespace kvr9
