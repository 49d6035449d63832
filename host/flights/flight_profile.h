// Flight profiles: what the two converters would see over a flight, as
// samples of pressure altitude and indicated airspeed against time, read
// from a CSV or IGC file or taken from the built-in demo flight. A player
// turns them into converter counts; this part only reads and interpolates.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kvr9 {

// Files are read whole, so a cap keeps a wrong file from eating memory.
inline constexpr std::size_t kLargestProfileBytes = std::size_t{64} * 1024 * 1024;

// What the converters can read whatever the settings: the static converter's
// count 0 is 50860 ft and its count 4096 plus the largest altitude offset
// (+125) -5941 ft; the airspeed channel caps at 250 mph. A profile
// beyond these can never be shown, so the readers refuse it. The range that
// today's settings reach is narrower and is the player's to check.
inline constexpr double kLowestProfileAltitudeFt = -5941.0;
inline constexpr double kHighestProfileAltitudeFt = 50860.0;
inline constexpr double kHighestProfileAirspeedMph = 250.0;

// Profiles come in feet or metres and in mph, km/h or knots; a sample holds
// feet and mph.
inline constexpr double kFeetPerMetre = 1.0 / 0.3048;
inline constexpr double kMphPerKmh = 1.0 / 1.609344;
inline constexpr double kMphPerKnot = 1.852 / 1.609344;

struct ProfileSample {
  double seconds = 0;      // on the profile's own clock (an IGC file's: since its first midnight)
  double altitudeFt = 0;   // pressure altitude, above the 1013.25 hPa level
  double airspeedMph = 0;  // indicated airspeed, the instrument's inner unit
};

struct ProfileRange {
  double lowest = 0;
  double highest = 0;
};

class FlightProfile {
 public:
  FlightProfile() = default;
  // The samples must be in strictly rising time order (the readers make sure).
  explicit FlightProfile(std::vector<ProfileSample> samples) : samples_(std::move(samples)) {}

  bool Empty() const { return samples_.empty(); }
  const std::vector<ProfileSample>& Samples() const { return samples_; }
  double StartSeconds() const { return samples_.empty() ? 0 : samples_.front().seconds; }
  double EndSeconds() const { return samples_.empty() ? 0 : samples_.back().seconds; }
  double DurationSeconds() const { return EndSeconds() - StartSeconds(); }

  // Straight lines between samples; before the first and after the last the
  // end values hold. An empty profile gives zeros.
  ProfileSample At(double seconds) const;

  ProfileRange AltitudeRangeFt() const;
  ProfileRange AirspeedRangeMph() const;

 private:
  std::vector<ProfileSample> samples_;
};

struct ProfileReadResult {
  FlightProfile profile;              // empty when error is set
  std::string error;                  // one line, "FILE:LINE: what is wrong"; empty if read
  std::vector<std::string> warnings;  // one line each, "FILE: ..."
  // An IGC log without IAS or TAS: its ground speed stands in.
  bool airspeedFromGroundSpeed = false;
  bool Ok() const { return error.empty(); }
};

// Chooses the reader by the name's extension, .csv or .igc (any case), and
// for other names by the first line: an IGC A record, else CSV.
ProfileReadResult ReadProfileFile(const std::string& path);

// A profile's text, read as ReadProfileFile reads a file of that name: a
// file the page was given, say. The text is capped as a file is.
ProfileReadResult ReadProfileText(std::string_view text, const std::string& name);

// `source` names the text in messages (the file's path).
ProfileReadResult ReadCsvProfile(std::string_view text, const std::string& source);
ProfileReadResult ReadIgcProfile(std::string_view text, const std::string& source);

// A microlight's circuit of about seven minutes, written for the power-on
// settings (see demo_flight.cpp).
const FlightProfile& DemoFlight();
inline constexpr const char* kDemoFlightName = "Demo flight";

}  // namespace kvr9
