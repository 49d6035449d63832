// Graphviz's dot, run as a child process, for a picture of a graph: the
// explorer's report draws its map of the screens with it.
#pragma once

#include <optional>
#include <string>

namespace kvr9::headless {

// The SVG that `dot -Tsvg` makes of the DOT text; nullopt when dot is not
// installed or refuses the text.
std::optional<std::string> DotToSvg(const std::string& dot);

}  // namespace kvr9::headless
