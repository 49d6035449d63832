// IGC flight-recorder files: time and pressure altitude from the B records
// (the fixes); airspeed from an IAS or TAS extension declared in the I
// record, else the ground speed: the logger's own GSP extension, or the
// speed between fixes. A speed of three digits is in km/h, one of five in
// hundredths of km/h (as loggers that log to the hundredth write it). Every
// other record (A, H, L, G, C, E, F, ...) is passed over, and nothing of the
// headers is kept.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <optional>
#include <vector>

#include "host/flights/flight_profile.h"
#include "host/flights/profile_text.h"

namespace kvr9 {

using namespace profile_text;

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
// A fall in the time of day is taken for midnight when the clock has moved
// on less than this across it; a larger fall is time running backwards.
constexpr std::int64_t kLongestMidnightStep = 12 * 3600;
// B record layout, 0-based: time 1..6, latitude 7..14, longitude 15..23,
// validity 24, pressure altitude 25..29, GNSS altitude 30..34.
constexpr std::size_t kFixBytes = 35;
constexpr double kEarthRadiusM = 6371000.0;
constexpr double kMphPerMetrePerSecond = 3600.0 / 1609.344;

// The speeds a fix may carry, in the order they are chosen for the airspeed.
enum class Speed { Ias, Tas, Gsp };

struct Extension {
  Speed speed = Speed::Ias;
  std::size_t start = 0;  // 0-based
  std::size_t length = 0;
};

// Bytes of a speed field and what one of its units is in km/h.
constexpr std::size_t kKmhDigits = 3;
constexpr std::size_t kHundredthsDigits = 5;

double KmhPerUnit(const Extension& field) {
  return field.length == kHundredthsDigits ? 0.01 : 1.0;
}

std::string SpeedName(Speed speed) {
  return speed == Speed::Ias ? "IAS" : speed == Speed::Tas ? "TAS" : "GSP";
}

struct Fix {
  std::size_t line = 0;
  std::int64_t seconds = 0;  // days of midnights included, so 64-bit on every target
  double latitude = 0;       // radians
  double longitude = 0;
  long pressureAltitudeM = 0;
  long gnssAltitudeM = 0;
  double speedKmh = 0;  // the chosen extension's speed, when one is declared
};

// A time of day, hh:mm:ss.
std::string Clock(std::int64_t timeOfDay) {
  const auto seconds = static_cast<int>(timeOfDay % kSecondsPerDay);
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60,
                seconds % 60);
  return buffer;
}

// Empty on success. I record: "I", a count nn, then nn times SSFFCCC (first
// and last byte, 1-based within the B record, and the three-letter code).
// `speed` is the declared speed the airspeed comes from: IAS, else TAS, else
// GSP; a field of another length than 3 or 5 is refused only when chosen.
std::string ReadExtensions(std::string_view line, std::optional<Extension>& speed) {
  long count = 0;
  if (line.size() < 3 || !ParseDigits(line.substr(1, 2), count)) {
    return "I record " + Quoted(line) + " does not start with a two-digit count";
  }
  if (line.size() != 3 + 7 * static_cast<std::size_t>(count)) {
    return "I record declares " + std::to_string(count) + " extensions, which take " +
           std::to_string(3 + 7 * count) + " bytes, not " + std::to_string(line.size());
  }
  for (long i = 0; i < count; ++i) {
    const std::string_view entry = line.substr(3 + 7 * static_cast<std::size_t>(i), 7);
    long first = 0;
    long last = 0;
    if (!ParseDigits(entry.substr(0, 2), first) || !ParseDigits(entry.substr(2, 2), last)) {
      return "I record entry " + Quoted(entry) + " has no byte positions";
    }
    const std::string_view code = entry.substr(4, 3);
    if (first < static_cast<long>(kFixBytes) + 1 || last < first) {
      return "I record places " + Quoted(code) + " at bytes " + std::to_string(first) + " to " +
             std::to_string(last) + "; extensions follow byte 35";
    }
    for (const Speed kind : {Speed::Ias, Speed::Tas, Speed::Gsp}) {
      if (code != SpeedName(kind) || (speed && speed->speed <= kind)) continue;
      speed = Extension{kind, static_cast<std::size_t>(first - 1),
                        static_cast<std::size_t>(last - first + 1)};
    }
  }
  if (speed && speed->length != kKmhDigits && speed->length != kHundredthsDigits) {
    return SpeedName(speed->speed) + " of " + std::to_string(speed->length) +
           " bytes; 3 digits of km/h or 5 of hundredths of km/h are read";
  }
  return {};
}

// A signed altitude of 5 bytes: 5 digits or a minus and 4 digits.
bool ParseAltitude(std::string_view text, long& metres) {
  if (text.front() == '-') {
    if (!ParseDigits(text.substr(1), metres)) return false;
    metres = -metres;
    return true;
  }
  return ParseDigits(text, metres);
}

// DDMMmmm or DDDMMmmm and a hemisphere letter; minutes below 60.
bool ParseAngle(std::string_view text, long largestDegrees, char positive, char negative,
                double& radians) {
  const std::size_t degreeDigits = text.size() - 6;
  long degrees = 0;
  long thousandthMinutes = 0;
  if (!ParseDigits(text.substr(0, degreeDigits), degrees) ||
      !ParseDigits(text.substr(degreeDigits, 5), thousandthMinutes) || degrees > largestDegrees ||
      thousandthMinutes >= 60000) {
    return false;
  }
  const char hemisphere = text.back();
  if (hemisphere != positive && hemisphere != negative) return false;
  const double value =
      static_cast<double>(degrees) + static_cast<double>(thousandthMinutes) / 60000.0;
  if (value > static_cast<double>(largestDegrees)) return false;
  radians = (hemisphere == negative ? -value : value) * std::numbers::pi / 180.0;
  return true;
}

// Empty on success; fix.seconds is the time of day.
std::string ReadFix(std::string_view line, const std::optional<Extension>& speed, Fix& fix) {
  if (line.size() < kFixBytes) {
    return "B record of " + std::to_string(line.size()) + " bytes; a fix takes " +
           std::to_string(kFixBytes);
  }
  long hours = 0;
  long minutes = 0;
  long seconds = 0;
  if (!ParseDigits(line.substr(1, 2), hours) || !ParseDigits(line.substr(3, 2), minutes) ||
      !ParseDigits(line.substr(5, 2), seconds) || hours > 23 || minutes > 59 || seconds > 59) {
    return "B record time " + Quoted(line.substr(1, 6)) + " is no HHMMSS";
  }
  fix.seconds = hours * 3600 + minutes * 60 + seconds;
  if (!ParseAngle(line.substr(7, 8), 90, 'N', 'S', fix.latitude)) {
    return "B record latitude " + Quoted(line.substr(7, 8)) + " is no DDMMmmmN or DDMMmmmS";
  }
  if (!ParseAngle(line.substr(15, 9), 180, 'E', 'W', fix.longitude)) {
    return "B record longitude " + Quoted(line.substr(15, 9)) + " is no DDDMMmmmE or DDDMMmmmW";
  }
  if (line[24] != 'A' && line[24] != 'V') {
    return "B record validity " + Quoted(line.substr(24, 1)) + " is neither A nor V";
  }
  if (!ParseAltitude(line.substr(25, 5), fix.pressureAltitudeM)) {
    return "B record pressure altitude " + Quoted(line.substr(25, 5)) + " is no 5-byte altitude";
  }
  if (!ParseAltitude(line.substr(30, 5), fix.gnssAltitudeM)) {
    return "B record GNSS altitude " + Quoted(line.substr(30, 5)) + " is no 5-byte altitude";
  }
  if (speed) {
    if (line.size() < speed->start + speed->length) {
      return "B record of " + std::to_string(line.size()) +
             " bytes ends before its airspeed at byte " + std::to_string(speed->start + 1);
    }
    const std::string_view digits = line.substr(speed->start, speed->length);
    long units = 0;
    if (!ParseDigits(digits, units)) {
      return "B record " + SpeedName(speed->speed) + " " + Quoted(digits) +
             (speed->length == kHundredthsDigits ? " is no hundredths of km/h"
                                                 : " is no whole number of km/h");
    }
    fix.speedKmh = static_cast<double>(units) * KmhPerUnit(*speed);
  }
  return {};
}

// Density over sea-level density in the standard atmosphere: the
// troposphere's lapse of 6.5 K/km up to 11 km, isothermal above.
double DensityRatio(double altitudeM) {
  constexpr double kSeaLevelK = 288.15;
  constexpr double kLapseKPerM = 0.0065;
  constexpr double kTropopauseM = 11000.0;
  constexpr double kExponent = 4.255876;  // g / (R L) - 1
  if (altitudeM <= kTropopauseM) {
    return std::pow((kSeaLevelK - kLapseKPerM * altitudeM) / kSeaLevelK, kExponent);
  }
  const double atTropopause =
      std::pow((kSeaLevelK - kLapseKPerM * kTropopauseM) / kSeaLevelK, kExponent);
  return atTropopause * std::exp(-(altitudeM - kTropopauseM) / 6341.62);
}

double GreatCircleM(const Fix& a, const Fix& b) {
  const double dLat = b.latitude - a.latitude;
  const double dLon = b.longitude - a.longitude;
  const double h =
      std::sin(dLat / 2) * std::sin(dLat / 2) +
      std::cos(a.latitude) * std::cos(b.latitude) * std::sin(dLon / 2) * std::sin(dLon / 2);
  return 2 * kEarthRadiusM * std::asin(std::sqrt(std::min(1.0, h)));
}

}  // namespace

ProfileReadResult ReadIgcProfile(std::string_view text, const std::string& source) {
  ProfileReadResult result;
  result.error = SizeError(text.size(), source);
  if (!result.Ok()) return result;

  std::optional<Extension> speed;
  bool haveExtensions = false;
  std::vector<Fix> fixes;
  std::size_t firstRepeatLine = 0;
  std::int64_t day = 0;
  std::int64_t lastTimeOfDay = 0;
  LineReader lines(text);
  std::string_view line;
  while (lines.Next(line)) {
    if (line.empty()) continue;
    const auto fail = [&](const std::string& what) {
      result.error = AtLine(source, lines.Number(), what);
      return result;
    };
    const char record = line.front();
    if (record < 'A' || record > 'Z') {
      return fail("line starting " + Quoted(line.substr(0, 1)) + " is no IGC record");
    }
    if (record == 'I') {
      if (haveExtensions) return fail("a second I record");
      if (!fixes.empty()) return fail("I record after the first B record");
      const std::string wrong = ReadExtensions(line, speed);
      if (!wrong.empty()) return fail(wrong);
      haveExtensions = true;
      continue;
    }
    if (record != 'B') continue;
    Fix fix;
    fix.line = lines.Number();
    const std::string wrong = ReadFix(line, speed, fix);
    if (!wrong.empty()) return fail(wrong);
    const std::int64_t timeOfDay = fix.seconds;
    if (!fixes.empty() && timeOfDay < lastTimeOfDay) {
      if (timeOfDay + kSecondsPerDay - lastTimeOfDay >= kLongestMidnightStep) {
        return fail("time goes back from " + Clock(lastTimeOfDay) + " to " + Clock(timeOfDay));
      }
      ++day;
    }
    lastTimeOfDay = timeOfDay;
    fix.seconds = day * kSecondsPerDay + timeOfDay;
    // Recorders now and then log a second twice; the first fix stands.
    if (!fixes.empty() && fix.seconds == fixes.back().seconds) {
      if (firstRepeatLine == 0) firstRepeatLine = fix.line;
      continue;
    }
    fixes.push_back(fix);
  }
  if (fixes.empty()) {
    result.error = InFile(source, "no B records (fixes)");
    return result;
  }
  if (firstRepeatLine != 0) {
    result.warnings.push_back(
        InFile(source, "fixes repeating the second before are left out (the first at line " +
                           std::to_string(firstRepeatLine) + ")"));
  }

  bool pressureAltitude = false;
  for (const Fix& fix : fixes) pressureAltitude = pressureAltitude || fix.pressureAltitudeM != 0;
  if (!pressureAltitude) {
    result.warnings.push_back(
        InFile(source, "no pressure altitude (00000 in every fix); the GNSS altitude stands in"));
  }
  const bool airspeedLogged = speed && speed->speed != Speed::Gsp;
  if (!airspeedLogged) {
    result.airspeedFromGroundSpeed = true;
    result.warnings.push_back(InFile(
        source, "no IAS or TAS in the I record; airspeed is the ground speed, wind ignored"));
  }

  std::vector<ProfileSample> samples;
  samples.reserve(fixes.size());
  for (std::size_t i = 0; i < fixes.size(); ++i) {
    const Fix& fix = fixes[i];
    const double altitudeM =
        static_cast<double>(pressureAltitude ? fix.pressureAltitudeM : fix.gnssAltitudeM);
    double airspeedMph = 0;
    if (speed && speed->speed == Speed::Tas) {
      // Indicated is taken as equivalent airspeed: compressibility and the
      // instrument's own error are left out.
      airspeedMph = fix.speedKmh * kMphPerKmh * std::sqrt(DensityRatio(altitudeM));
    } else if (speed) {
      airspeedMph = fix.speedKmh * kMphPerKmh;
    } else if (fixes.size() > 1) {
      // Each fix gets the speed of the leg that ends at it; the first, the first leg's.
      const Fix& from = fixes[i == 0 ? 0 : i - 1];
      const Fix& to = fixes[i == 0 ? 1 : i];
      airspeedMph = GreatCircleM(from, to) / static_cast<double>(to.seconds - from.seconds) *
                    kMphPerMetrePerSecond;
    }
    const ProfileSample sample{static_cast<double>(fix.seconds), altitudeM * kFeetPerMetre,
                               airspeedMph};
    const std::string beyond = ReachError(sample.altitudeFt, sample.airspeedMph);
    if (!beyond.empty()) {
      std::string fixSays = "fix at " + std::to_string(static_cast<long>(altitudeM)) + " m";
      if (speed) fixSays += ", " + SpeedName(speed->speed) + " " + Number(fix.speedKmh) + " km/h";
      result.warnings.clear();
      result.airspeedFromGroundSpeed = false;
      result.error = AtLine(source, fix.line, fixSays + ": " + beyond);
      return result;
    }
    samples.push_back(sample);
  }
  result.profile = FlightProfile(std::move(samples));
  return result;
}

}  // namespace kvr9
