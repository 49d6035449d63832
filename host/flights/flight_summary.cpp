#include "host/flights/flight_summary.h"

#include <cmath>
#include <cstdio>

#include "host/panel/reading_units.h"

namespace kvr9 {

namespace {

double InUnit(double value, ReadingUnit unit) {
  switch (unit) {
    case ReadingUnit::Metres:
      return value / kFeetPerMetre;
    case ReadingUnit::Kmh:
      return value / kMphPerKmh;
    case ReadingUnit::Knots:
      return value / kMphPerKnot;
    default:
      return value;
  }
}

}  // namespace

ShownFlightValues ShownValues(const Settings& settings, const ProfileSample& sample) {
  const ReadingUnit altitudeUnit = ShownUnit(settings, SliderKind::Altitude);
  const ReadingUnit airspeedUnit = ShownUnit(settings, SliderKind::Airspeed);
  return {std::lround(InUnit(sample.altitudeFt, altitudeUnit)), ShownUnitName(altitudeUnit),
          std::lround(InUnit(sample.airspeedMph, airspeedUnit)), ShownUnitName(airspeedUnit)};
}

std::string ShownValuesText(const ShownFlightValues& values) {
  return std::to_string(values.altitude) + ' ' + values.altitudeUnit + ", " +
         std::to_string(values.airspeed) + ' ' + values.airspeedUnit;
}

std::string OneLineName(std::string name) {
  for (char& c : name) {
    if (static_cast<unsigned char>(c) < ' ' || c == '\x7f') c = ' ';
  }
  return name;
}

std::string ClockText(long seconds) {
  if (seconds < 0) seconds = 0;
  char text[32];
  if (seconds >= 3600) {
    std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
  } else {
    std::snprintf(text, sizeof text, "%ld:%02ld", seconds / 60, seconds % 60);
  }
  return text;
}

std::string FlightSummaryText(const Settings& settings, const FlightProfile& profile) {
  const ProfileSample highest{0, profile.AltitudeRangeFt().highest,
                              profile.AirspeedRangeMph().highest};
  const ShownFlightValues shown = ShownValues(settings, highest);
  return "Highest " + std::to_string(shown.altitude) + ' ' + shown.altitudeUnit + ", fastest " +
         std::to_string(shown.airspeed) + ' ' + shown.airspeedUnit + ", " +
         ClockText(std::lround(std::floor(profile.DurationSeconds() + 1e-6))) + " long";
}

std::string PilotNote(const ProfileReadResult& read) {
  if (!read.Ok() || !read.airspeedFromGroundSpeed) return {};
  return "This log has no airspeed, so its ground speed stands in for it (the wind is "
         "ignored).";
}

}  // namespace kvr9
