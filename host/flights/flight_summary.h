// What a flight bar tells a pilot about a flight, in the units the
// instrument shows with its present settings: the values at a moment, the
// log's own highest values and length, and the plain-words notes that go
// with a log. The window and the page both show these texts.
#pragma once

#include <string>

#include "core/instrument.h"
#include "host/flights/flight_profile.h"

namespace kvr9 {

// Speed-ups a flight bar offers, x1 to the fastest; long logs want more
// than x16.
inline constexpr std::uint32_t kFlightBarSpeeds[] = {1, 4, 16, 64};

struct ShownFlightValues {
  long altitude = 0;  // rounded, in altitudeUnit
  const char* altitudeUnit = "ft";
  long airspeed = 0;  // rounded, in airspeedUnit
  const char* airspeedUnit = "mph";
};

// A sample's pressure altitude and indicated airspeed in the display's
// units ("450 ft, 0 mph" once written out).
ShownFlightValues ShownValues(const Settings& settings, const ProfileSample& sample);
std::string ShownValuesText(const ShownFlightValues& values);

// A log's file name as a bar shows it, on one line: control bytes as spaces.
std::string OneLineName(std::string name);

// "8:00" or "1:02:03" for a number of whole seconds.
std::string ClockText(long seconds);

// The log's own summary: "Highest 6070 ft, fastest 99 mph, 1:00:00 long".
std::string FlightSummaryText(const Settings& settings, const FlightProfile& profile);

// Notes a pilot reads beside a log just opened: that it has no airspeed of
// its own, in plain words. Empty when there is nothing to say.
std::string PilotNote(const ProfileReadResult& read);

// What the bar says while the instrument runs: the maxima are the
// instrument's, counted from power-on, and how to start them afresh.
inline constexpr const char* kMaxValuesNote =
    "MAX VALUES counts from power-on: switch OFF and ON, or reset them in MAX VALUES, "
    "before playing to read this log's highest values.";

// What the bar says instead once "Fly" has switched the instrument on with
// the sliders on the log, as long as only the log moves them.
inline constexpr const char* kMaxValuesFromFlyNote =
    "MAX VALUES count from where Fly started this log.";

// What a bar may add once a flight has played to its end.
inline constexpr const char* kFlightEndedNote = "The flight has ended.";

// What the bar offers while the instrument is off.
inline constexpr const char* kSwitchOnToFlyNote = "The instrument is off: Fly switches it ON.";

}  // namespace kvr9
