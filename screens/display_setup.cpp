// Placeholder screens: any key goes back to the main menu until the real
// pages are built.
#include "screens/framework.h"
#include "screens/screens.h"

namespace kvr9 {

void DisplaySetupScreen(Instrument& instrument) {
  if (TakeKey(instrument) != KeyNone) LeaveTo(instrument, MainMenuScreen, 0);
}

void ContrastScreen(Instrument& instrument) {
  if (TakeKey(instrument) != KeyNone) LeaveTo(instrument, MainMenuScreen, 0);
}

void AltSetupScreen(Instrument& instrument) {
  if (TakeKey(instrument) != KeyNone) LeaveTo(instrument, MainMenuScreen, 0);
}

}  // namespace kvr9
