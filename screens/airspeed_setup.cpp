// Placeholder screens: any key goes back to the main menu until the real
// pages are built.
#include "screens/framework.h"
#include "screens/screens.h"

namespace kvr9 {

void AsiSetupScreen(Instrument& instrument) {
  if (TakeKey(instrument) != KeyNone) LeaveTo(instrument, MainMenuScreen, 0);
}

void ZeroAsiScreen(Instrument& instrument) {
  if (TakeKey(instrument) != KeyNone) LeaveTo(instrument, MainMenuScreen, 0);
}

void CalibrateScreen(Instrument& instrument) {
  if (TakeKey(instrument) != KeyNone) LeaveTo(instrument, MainMenuScreen, 0);
}

void AdcValuesScreen(Instrument& instrument) {
  if (TakeKey(instrument) != KeyNone) LeaveTo(instrument, MainMenuScreen, 0);
}

}  // namespace kvr9
