#include "host/flights/flight_profile.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "host/flights/profile_text.h"

namespace kvr9 {

using profile_text::InFile;

ProfileSample FlightProfile::At(double seconds) const {
  if (samples_.empty()) return {seconds, 0, 0};
  if (!(seconds > samples_.front().seconds)) {
    ProfileSample first = samples_.front();
    first.seconds = seconds;
    return first;
  }
  const auto after =
      std::upper_bound(samples_.begin(), samples_.end(), seconds,
                       [](double t, const ProfileSample& sample) { return t < sample.seconds; });
  if (after == samples_.end()) {
    ProfileSample last = samples_.back();
    last.seconds = seconds;
    return last;
  }
  const ProfileSample& b = *after;
  const ProfileSample& a = *(after - 1);
  const double f = (seconds - a.seconds) / (b.seconds - a.seconds);
  return {seconds, a.altitudeFt + f * (b.altitudeFt - a.altitudeFt),
          a.airspeedMph + f * (b.airspeedMph - a.airspeedMph)};
}

ProfileRange FlightProfile::AltitudeRangeFt() const {
  if (samples_.empty()) return {};
  const auto [low, high] = std::minmax_element(
      samples_.begin(), samples_.end(),
      [](const ProfileSample& a, const ProfileSample& b) { return a.altitudeFt < b.altitudeFt; });
  return {low->altitudeFt, high->altitudeFt};
}

ProfileRange FlightProfile::AirspeedRangeMph() const {
  if (samples_.empty()) return {};
  const auto [low, high] = std::minmax_element(
      samples_.begin(), samples_.end(),
      [](const ProfileSample& a, const ProfileSample& b) { return a.airspeedMph < b.airspeedMph; });
  return {low->airspeedMph, high->airspeedMph};
}

namespace {

std::string LowerExtension(const std::string& path) {
  const std::size_t dot = path.find_last_of('.');
  const std::size_t slash = path.find_last_of('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  std::string extension = path.substr(dot + 1);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension;
}

// Any other name (a pipe, say) is told by its first line: an IGC file opens
// with its A record, "A" and a three-character maker code.
bool LooksLikeIgc(std::string_view text) {
  if (text.size() < 4 || text[0] != 'A') return false;
  for (std::size_t i = 1; i < 4; ++i) {
    const char c = text[i];
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
  }
  return true;
}

}  // namespace

ProfileReadResult ReadProfileFile(const std::string& path) {
  ProfileReadResult result;
  // The size is checked before anything is read; a file of unknown size (a
  // pipe) is read only up to one chunk past the cap.
  std::error_code failure;
  const std::filesystem::file_status status = std::filesystem::status(path, failure);
  if (std::filesystem::is_directory(status)) {
    result.error = InFile(path, "is a folder, not a profile");
    return result;
  }
  if (std::filesystem::is_regular_file(status)) {
    const std::uintmax_t size = std::filesystem::file_size(path, failure);
    if (!failure && size > kLargestProfileBytes) {
      result.error = profile_text::SizeError(
          static_cast<std::size_t>(std::min<std::uintmax_t>(size, SIZE_MAX)), path);
      return result;
    }
  }
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    result.error = InFile(path, "cannot be opened");
    return result;
  }
  std::string text;
  char chunk[1 << 16];
  while (text.size() <= kLargestProfileBytes && file.read(chunk, sizeof chunk).gcount() > 0) {
    text.append(chunk, static_cast<std::size_t>(file.gcount()));
  }
  if (file.bad()) {
    result.error = InFile(path, "cannot be read");
    return result;
  }
  if (text.size() > kLargestProfileBytes) {
    result.error =
        InFile(path, "is longer than the " + std::to_string(kLargestProfileBytes / (1024 * 1024)) +
                         " MB a profile may hold");
    return result;
  }
  return ReadProfileText(text, path);
}

ProfileReadResult ReadProfileText(std::string_view text, const std::string& name) {
  const std::string extension = LowerExtension(name);
  if (extension == "csv") return ReadCsvProfile(text, name);
  if (extension == "igc") return ReadIgcProfile(text, name);
  return LooksLikeIgc(text) ? ReadIgcProfile(text, name) : ReadCsvProfile(text, name);
}

}  // namespace kvr9
