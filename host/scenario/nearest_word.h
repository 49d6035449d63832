// "Did you mean ...?": the known word nearest a mistyped one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kvr9 {

// The candidate a person most likely meant: the same word in another case,
// one the word begins (MainMenu for MainMenuScreen), or one within a couple
// of typing slips. Empty when none is near enough to suggest.
std::string NearestWord(std::string_view word, const std::vector<std::string_view>& candidates);

// ": did you mean X?" for the nearest candidate, or nothing.
std::string DidYouMean(std::string_view word, const std::vector<std::string_view>& candidates);

}  // namespace kvr9
