#include "host/common/quote.h"

namespace kvr9 {

std::string Clipped(std::string_view word, std::size_t longest) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string safe;
  const std::size_t shown = word.size() < longest ? word.size() : longest;
  for (std::size_t i = 0; i < shown; ++i) {
    const auto byte = static_cast<unsigned char>(word[i]);
    // A backslash stands as written (a pattern's \d copies back from a
    // message) unless an x follows it, where it would read as an escape.
    const bool escapeLike = byte == '\\' && i + 1 < shown && word[i + 1] == 'x';
    if (byte >= 0x20 && byte < 0x7F && !escapeLike) {
      safe.push_back(static_cast<char>(byte));
    } else {
      safe.append("\\x");
      safe.push_back(kHex[byte >> 4]);
      safe.push_back(kHex[byte & 0x0F]);
    }
  }
  if (shown < word.size()) safe.append("...");
  return safe;
}

std::string Quoted(std::string_view word, std::size_t longest) {
  std::string quoted(1, '\'');
  quoted.append(Clipped(word, longest));
  quoted.push_back('\'');
  return quoted;
}

std::string QuotedPath(std::string_view path) {
  return Quoted(path, kLongestQuotedPath);
}

}  // namespace kvr9
