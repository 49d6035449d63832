// How deep a JSON text nests, found before it is parsed: a parser and the
// value it builds recurse as deep as the text nests, so a text of a few
// kilobytes of brackets would run a reader off its stack.
#pragma once

#include <string_view>

namespace kvr9 {

// Whether the arrays and objects of text nest deeper than deepest (brackets
// inside strings do not count).
bool JsonNestsDeeperThan(std::string_view text, int deepest);

}  // namespace kvr9
