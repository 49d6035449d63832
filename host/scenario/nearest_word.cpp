#include "host/scenario/nearest_word.h"

#include <algorithm>
#include <cctype>

namespace kvr9 {

namespace {

// Words longer than this are not compared: a mistyped word is short, and
// the distance costs the product of the two lengths.
constexpr std::size_t kLongestComparedWord = 64;

char Lower(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// Edits (insert, delete, replace) from one word to the other, case ignored.
std::size_t EditDistance(std::string_view a, std::string_view b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      const std::size_t replace = diagonal + (Lower(a[i - 1]) == Lower(b[j - 1]) ? 0 : 1);
      row[j] = std::min({above + 1, row[j - 1] + 1, replace});
      diagonal = above;
    }
  }
  return row[b.size()];
}

bool StartsWithIgnoringCase(std::string_view word, std::string_view prefix) {
  if (prefix.size() > word.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (Lower(word[i]) != Lower(prefix[i])) return false;
  }
  return true;
}

}  // namespace

std::string NearestWord(std::string_view word, const std::vector<std::string_view>& candidates) {
  if (word.empty() || word.size() > kLongestComparedWord) return {};
  const std::size_t allowed = std::max<std::size_t>(2, word.size() / 3);
  std::string_view best;
  std::size_t bestDistance = allowed + 1;
  for (const std::string_view candidate : candidates) {
    if (candidate.size() > kLongestComparedWord) continue;
    std::size_t distance = EditDistance(word, candidate);
    // A word that the candidate begins with counts as one slip.
    if (word.size() >= 3 && StartsWithIgnoringCase(candidate, word)) distance = 1;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = candidate;
    }
  }
  return std::string(best);
}

std::string DidYouMean(std::string_view word, const std::vector<std::string_view>& candidates) {
  const std::string nearest = NearestWord(word, candidates);
  return nearest.empty() ? std::string() : ": did you mean " + nearest + "?";
}

}  // namespace kvr9
