// Feeds arbitrary bytes to both flight-profile readers. Besides the
// sanitizers' findings it stops on a broken promise of the readers: an
// error that is not one line starting with the source's name, or a profile
// out of time order or beyond what the converters read.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "host/flights/flight_profile.h"

namespace {

void Check(bool promise) {
  if (!promise) std::abort();
}

void CheckResult(const kvr9::ProfileReadResult& result) {
  const std::string source = "fuzz:";
  if (!result.Ok()) {
    Check(result.error.starts_with(source));
    Check(result.error.find('\n') == std::string::npos);
    Check(result.profile.Empty());
    return;
  }
  Check(!result.profile.Empty());
  double previous = -INFINITY;
  for (const kvr9::ProfileSample& sample : result.profile.Samples()) {
    Check(sample.seconds > previous);
    previous = sample.seconds;
    Check(sample.altitudeFt >= kvr9::kLowestProfileAltitudeFt &&
          sample.altitudeFt <= kvr9::kHighestProfileAltitudeFt);
    Check(sample.airspeedMph >= 0 && sample.airspeedMph <= kvr9::kHighestProfileAirspeedMph);
  }
  for (const std::string& warning : result.warnings) {
    Check(warning.starts_with(source) && warning.find('\n') == std::string::npos);
  }
  // Between and beyond the samples the interpolation stays within the ends.
  const kvr9::FlightProfile& profile = result.profile;
  const kvr9::ProfileRange altitude = profile.AltitudeRangeFt();
  for (const double f : {-0.5, 0.0, 0.37, 0.5, 1.0, 1.5}) {
    const kvr9::ProfileSample at =
        profile.At(profile.StartSeconds() + f * profile.DurationSeconds());
    Check(at.altitudeFt >= altitude.lowest && at.altitudeFt <= altitude.highest);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckResult(kvr9::ReadCsvProfile(text, "fuzz"));
  CheckResult(kvr9::ReadIgcProfile(text, "fuzz"));
  return 0;
}
