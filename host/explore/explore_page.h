// The explorer's findings as one page an engineer opens in a browser: the
// walk's counts, every screen (reached, or unreachable and why), the map of
// the screens and the inputs that lead from one to another, and each broken
// rule with its scenario. One self-contained HTML file: its style inline,
// no scripts, nothing fetched.
//
// The map is drawn by whoever calls: the page hands over the map as DOT text
// and takes back SVG to put inline (the headless driver runs Graphviz's dot);
// without a drawing the map is a table of the moves between screens.
//
// A page of a suite's coverage is the same page with marks: which states and
// which moves of the walk the suite's scenarios reach. Then each screen on
// the map is coloured by the share of its states reached, each move by the
// share of its moves, and the page lists the states missed, screen by screen.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "host/explore/explorer.h"

namespace kvr9 {

// By the walk's own indexes: states[i] for result.nodes[i], edges[i] for
// result.edges[i]. An index past the end counts as not reached.
struct ExploreCoverageMarks {
  std::vector<bool> states;
  std::vector<bool> edges;
};

// DOT text in, SVG out; nullopt when it cannot be drawn.
using ExploreMapDrawer = std::function<std::optional<std::string>(const std::string& dot)>;

struct ExplorePageOptions {
  std::string title = "KVR-9: every state the panel's inputs reach";
  std::string intro;  // a paragraph under the title, as text
  const ExploreCoverageMarks* coverage = nullptr;
  ExploreMapDrawer drawMap;  // empty: the map as a table
};

// The fill of a screen (and the colour of a move) on a map with marks.
inline constexpr const char* kExploreAllReached = "#c8e6c9";
inline constexpr const char* kExplorePartReached = "#ffe0b2";
inline constexpr const char* kExploreNoneReached = "#ffcdd2";

std::string ExplorePage(const ExploreResult& result, const ExploreOptions& options,
                        const ExplorePageOptions& page = {});

// The map as DOT: a node for each screen of the instrument and one for the
// instrument switched off, an arrow for each pair of screens a move leads
// between, labelled with the inputs that do. Moves within a screen are left
// out, and so are the OFF button's from every screen to off. Written in a
// fixed order, so the same walk gives the same text.
std::string ExploreMapDot(const ExploreResult& result,
                          const ExploreCoverageMarks* coverage = nullptr);

// Text made safe inside HTML, in an element or an attribute.
std::string HtmlEscaped(const std::string& text);

}  // namespace kvr9
