#include "host/flights/profile_text.h"

#include <cmath>
#include <cstdio>

namespace kvr9::profile_text {

bool LineReader::Next(std::string_view& line) {
  if (done_) return false;
  const std::size_t end = rest_.find('\n');
  if (end == std::string_view::npos) {
    line = rest_;
    done_ = true;
    // Text ending in a line end has no empty line after it.
    if (line.empty()) return false;
  } else {
    line = rest_.substr(0, end);
    rest_.remove_prefix(end + 1);
  }
  ++number_;
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) {
    line.remove_suffix(1);
  }
  return true;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool ParseDecimal(std::string_view text, double& value) {
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  long long mantissa = 0;
  int digits = 0;
  int fractionDigits = 0;
  bool point = false;
  for (const char c : text) {
    if (c == '.' && !point) {
      point = true;
    } else if (c >= '0' && c <= '9') {
      if (++digits > 15) return false;
      mantissa = mantissa * 10 + (c - '0');
      if (point) ++fractionDigits;
    } else {
      return false;
    }
  }
  if (digits == 0) return false;
  value = static_cast<double>(mantissa) / std::pow(10.0, fractionDigits);
  if (negative) value = -value;
  return true;
}

bool ParseDigits(std::string_view text, long& value) {
  if (text.empty() || text.size() > 9) return false;
  value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return true;
}

std::string Number(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.6g", value);
  return buffer;
}

std::string AtLine(const std::string& source, std::size_t line, const std::string& what) {
  return source + ":" + std::to_string(line) + ": " + what;
}

std::string InFile(const std::string& source, const std::string& what) {
  return source + ": " + what;
}

std::string SizeError(std::size_t bytes, const std::string& source) {
  if (bytes <= kLargestProfileBytes) return {};
  return InFile(source, std::to_string(bytes) + " bytes is more than the " +
                            std::to_string(kLargestProfileBytes / (1024 * 1024)) +
                            " MB a profile may hold");
}

std::string ReachError(double altitudeFt, double airspeedMph) {
  if (!(altitudeFt >= kLowestProfileAltitudeFt && altitudeFt <= kHighestProfileAltitudeFt)) {
    return "altitude " + Number(altitudeFt) + " ft is beyond what the static converter reads (" +
           Number(kLowestProfileAltitudeFt) + " to " + Number(kHighestProfileAltitudeFt) + " ft)";
  }
  if (!(airspeedMph >= 0 && airspeedMph <= kHighestProfileAirspeedMph)) {
    return "airspeed " + Number(airspeedMph) +
           " mph is beyond what the airspeed channel shows (0 to " +
           Number(kHighestProfileAirspeedMph) + " mph)";
  }
  return {};
}

}  // namespace kvr9::profile_text
