#include "screens/screen_table.h"

#include "screens/screen_rows.h"
#include "screens/screens.h"

namespace kvr9 {

const std::array<ScreenEntry, kScreenCount>& ScreenTable() {
  static constexpr std::array<ScreenEntry, kScreenCount> kScreens = {{
      {"MainScreen", MainScreen, nullptr},
      {"MainMenuScreen", MainMenuScreen, nullptr},
      {"StartStopScreen", StartStopScreen, nullptr},
      {"FlightInfoScreen", FlightInfoScreen, nullptr},
      {"MaxValuesScreen", MaxValuesScreen, MaxValuesScreen},
      {"DisplaySetupScreen", DisplaySetupScreen, DisplaySetupScreen},
      {"ContrastScreen", ContrastScreen, nullptr},
      {"AltSetupScreen", AltSetupScreen, AltSetupScreen},
      {"FlightLogScreen", FlightLogScreen, FlightLogScreen},
      {"LogViewScreen", LogViewScreen, nullptr},
      {"EraseLogScreen", EraseLogScreen, nullptr},
      {"LogBusyScreen", LogBusyScreen, nullptr},
      {"MessageScreen", MessageScreen, nullptr},
      {"AsiSetupScreen", AsiSetupScreen, AsiSetupScreen},
      {"ZeroAsiScreen", ZeroAsiScreen, nullptr},
      {"CalibrateScreen", CalibrateScreen, CalibrateScreen},
      {"AdcValuesScreen", AdcValuesScreen, AdcValuesScreen},
  }};
  return kScreens;
}

const ScreenEntry* FindScreen(ScreenHandler handler) {
  for (const ScreenEntry& entry : ScreenTable()) {
    if (entry.handler == handler) return &entry;
  }
  return nullptr;
}

const ScreenEntry* FindScreenByName(std::string_view name) {
  for (const ScreenEntry& entry : ScreenTable()) {
    if (name == entry.name) return &entry;
  }
  return nullptr;
}

std::uint8_t ReturnMenuItem(ScreenHandler screen) {
  const ScreenEntry* entry = FindScreen(screen);
  return entry != nullptr && entry->menuItemScreen != nullptr
             ? MainMenuItemOf(entry->menuItemScreen)
             : 0;
}

}  // namespace kvr9

namespace kvr9 {

std::uint8_t LastCursor(ScreenHandler screen, const InstrumentState& state) {
  if (screen == MainMenuScreen) {
    return (state.ui.calibrateMode == 1 ? kMenuItemsWithCalibration : kMenuItemsPlain) - 1;
  }
  if (screen == DisplaySetupScreen) return kDisplaySetupLastRow;
  if (screen == AltSetupScreen) return kAltSetupLastRow;
  if (screen == AsiSetupScreen) return kAsiSetupLastRow;
  if (screen == CalibrateScreen) return kCalibrateLastRow;
  if (screen == FlightLogScreen) {
    return state.settings.flightDetectAuto != 0 ? kFlightLogLastRowDetect : kFlightLogLastRowManual;
  }
  if (screen == LogViewScreen) return kLogViewLastPage;
  if (screen == FlightInfoScreen || screen == MaxValuesScreen) return kTwoRowLastRow;
  return 0;
}

}  // namespace kvr9
