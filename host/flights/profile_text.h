// What the two profile readers share: lines, numbers and messages. Internal
// to host/.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "host/common/quote.h"  // Quoted, for fields in messages
#include "host/flights/flight_profile.h"

namespace kvr9::profile_text {

// Hands out the lines one by one, numbered from 1, without their line end
// ("\n" or "\r\n") and trailing blanks.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : rest_(text) {}
  bool Next(std::string_view& line);
  std::size_t Number() const { return number_; }

 private:
  std::string_view rest_;
  std::size_t number_ = 0;
  bool done_ = false;
};

std::string_view Trim(std::string_view text);

// A plain decimal: optional sign, digits, optional fraction; no exponent, no
// locale. At most 15 digits, so the double holds it exactly enough.
bool ParseDecimal(std::string_view text, double& value);

// Only digits (1 to 9 of them).
bool ParseDigits(std::string_view text, long& value);

std::string Number(double value);

std::string AtLine(const std::string& source, std::size_t line, const std::string& what);
std::string InFile(const std::string& source, const std::string& what);

// The message for a text over kLargestProfileBytes, or empty.
std::string SizeError(std::size_t bytes, const std::string& source);

// Empty when the converters could read the sample under some settings.
std::string ReachError(double altitudeFt, double airspeedMph);

}  // namespace kvr9::profile_text
