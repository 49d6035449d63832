// The bounds the instrument keeps its settings and counters within, named
// once: the screens and the main loop keep to them, and whatever reads a
// saved instrument back checks against these same numbers.
#pragma once

#include <cstdint>

namespace kvr9 {

// Settings the setup screens edit.
inline constexpr std::uint32_t kQnhLowest = 940250;  // 0.1 Pa
inline constexpr std::uint32_t kQnhHighest = 1080250;
// One QNH key on the main display: a millibar, or about 0.01 inch of mercury.
inline constexpr std::uint32_t kQnhStepMillibar = 1000;
inline constexpr std::uint32_t kQnhStepInchHg = 338;
inline constexpr std::uint8_t kContrastStep = 2;
inline constexpr std::uint8_t kContrastLimit = 63;  // contrast steps by two from 0 up to it
inline constexpr std::int8_t kAltCalLimit = 125;    // either side of 0
inline constexpr std::uint8_t kAsiCalLowest = 50;   // percent
inline constexpr std::uint8_t kAsiCalHighest = 150;

// The keys' step through speed settings, with and without KeyFast.
inline constexpr std::uint8_t kKeyStepSlow = 1;
inline constexpr std::uint8_t kKeyStepFast = 10;

// The flight timer and the timer tick's dividers.
inline constexpr std::uint8_t kLandingCountdownPasses = 30;
inline constexpr std::uint8_t kBlinkDividerTop = 9;  // phase toggles on every 11th tick
inline constexpr std::uint8_t kSlowTickTicks = 19;   // raised on every 20th tick
inline constexpr std::uint8_t kSecondsPerMinute = 60;
inline constexpr std::uint8_t kMinutesPerHour = 60;
inline constexpr std::uint8_t kMaxFlightHours = 99;

// Passes the splash runs before the main loop.
inline constexpr std::uint8_t kSplashPasses = 80;

}  // namespace kvr9
