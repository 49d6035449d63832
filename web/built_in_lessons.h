// The built-in lessons, built into the page's full program
// (embed_lessons.cmake), so that they come with it and work offline: the
// English ones first, then their translations.
#pragma once

#include <span>
#include <string_view>

namespace kvr9::web {

struct BuiltInLesson {
  std::string_view file;      // "04-qnh-altitude-unit.lesson", the English lesson's name
  std::string_view language;  // "en", or a translation's: "de", "fr"
  std::string_view text;
};

std::span<const BuiltInLesson> BuiltInLessons();

}  // namespace kvr9::web
