// How far each screen's cursor goes: the last row of the list screens, the
// main menu's item counts and the log view's last page. The screens stop
// their cursor here, and whatever checks them from outside reads the same
// numbers.
#pragma once

#include <cstdint>

#include "core/instrument.h"

namespace kvr9 {

inline constexpr std::uint8_t kMenuItemsWithCalibration = 8;  // while "Calibrate" is ticked
inline constexpr std::uint8_t kMenuItemsPlain = 6;
inline constexpr std::uint8_t kDisplaySetupLastRow = 2;
inline constexpr std::uint8_t kAltSetupLastRow = 3;
inline constexpr std::uint8_t kAsiSetupLastRow = 10;
inline constexpr std::uint8_t kCalibrateLastRow = 2;
// FLIGHT T/O shows only while flights are detected by airspeed.
inline constexpr std::uint8_t kFlightLogLastRowManual = 4;
inline constexpr std::uint8_t kFlightLogLastRowDetect = 5;
inline constexpr std::uint8_t kLogViewLastPage = 3;
// The two-row screens (flight info, max values) select row 0 or 1.
inline constexpr std::uint8_t kTwoRowLastRow = 1;

// The highest cursor the keys move to on a screen as the instrument stands;
// 0 for a screen whose keys move no cursor.
std::uint8_t LastCursor(ScreenHandler screen, const InstrumentState& state);

}  // namespace kvr9
