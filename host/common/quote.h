// Words from a scenario, the command line or a file, as every message quotes
// them: cut to a short prefix, with control and non-ASCII bytes written as
// \xNN, so a huge word cannot flood the terminal nor a stray ESC byte drive
// it. Everything printable stands as written, a backslash too, except one
// followed by x, written \x5c so that it cannot be taken for an escape.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kvr9 {

inline constexpr std::size_t kLongestQuotedWord = 40;
inline constexpr std::size_t kLongestQuotedPath = 200;

// The word made safe to print, without quotes; "..." marks a cut.
std::string Clipped(std::string_view word, std::size_t longest = kLongestQuotedWord);

// The same between single quotes.
std::string Quoted(std::string_view word, std::size_t longest = kLongestQuotedWord);

// A file name, allowed a longer prefix.
std::string QuotedPath(std::string_view path);

}  // namespace kvr9
