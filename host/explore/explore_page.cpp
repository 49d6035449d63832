#include "host/explore/explore_page.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <sstream>
#include <utility>

#include "host/explore/explore_json.h"
#include "screens/screen_table.h"

namespace kvr9 {
namespace {

constexpr const char* kOff = "off";
constexpr const char* kMainScreen = "MainScreen";

// The lines of a move on the map, by its share reached.
constexpr const char* kAllReachedLine = "#2e7d32";
constexpr const char* kPartReachedLine = "#ef6c00";
constexpr const char* kNoneReachedLine = "#c62828";

std::string ScreenOf(const ExploreKey& key) {
  if (key.screen == nullptr) return kOff;
  const ScreenEntry* entry = FindScreen(key.screen);
  return entry != nullptr ? entry->name : "unknown";
}

bool Marked(const std::vector<bool>& marks, std::size_t index) {
  return index < marks.size() && marks[index];
}

// The input a move stands for on the map: a slider's position left out, so
// the walk's positions of one slider make one word.
std::string InputWord(const ExploreMove& move) {
  std::string word = MoveWord(move);
  if (move.kind == MoveKind::Slider) word = word.substr(0, word.rfind(' '));
  return word;
}

enum class Share { All, Part, None };

Share ShareOf(std::size_t reached, std::size_t total) {
  if (reached >= total) return Share::All;
  return reached == 0 ? Share::None : Share::Part;
}

const char* Fill(Share share) {
  switch (share) {
    case Share::All:
      return kExploreAllReached;
    case Share::Part:
      return kExplorePartReached;
    case Share::None:
      break;
  }
  return kExploreNoneReached;
}

const char* Line(Share share) {
  switch (share) {
    case Share::All:
      return kAllReachedLine;
    case Share::Part:
      return kPartReachedLine;
    case Share::None:
      break;
  }
  return kNoneReachedLine;
}

const char* ShareClass(Share share) {
  switch (share) {
    case Share::All:
      return "all";
    case Share::Part:
      return "part";
    case Share::None:
      break;
  }
  return "none";
}

struct ScreenFacts {
  std::string name;
  std::size_t states = 0;
  std::size_t reached = 0;  // states the marks reach
  std::int32_t mostKeysHome = -1;
  std::size_t noWayHome = 0;
  std::size_t broken = 0;             // rules broken on it
  std::vector<std::uint32_t> missed;  // states the marks miss
};

ScreenFacts Named(std::string name) {
  ScreenFacts screen;
  screen.name = std::move(name);
  return screen;
}

struct Link {
  std::set<std::string> inputs;
  std::size_t moves = 0;
  std::size_t reached = 0;
};

// Every screen in the table's order, "off" first, with its states.
std::vector<ScreenFacts> Screens(const ExploreResult& result, const ExploreCoverageMarks* marks) {
  std::vector<ScreenFacts> screens;
  std::map<std::string, std::size_t> place;
  screens.push_back(Named(kOff));
  for (const ScreenEntry& entry : ScreenTable()) {
    place[entry.name] = screens.size();
    screens.push_back(Named(entry.name));
  }
  place[kOff] = 0;
  for (std::size_t i = 0; i < result.nodes.size(); ++i) {
    const ExploreNode& node = result.nodes[i];
    const std::string name = ScreenOf(node.key);
    auto found = place.find(name);
    if (found == place.end()) {
      found = place.emplace(name, screens.size()).first;
      screens.push_back(Named(name));
    }
    ScreenFacts& screen = screens[found->second];
    ++screen.states;
    if (node.key.screen != nullptr) {
      screen.mostKeysHome = std::max(screen.mostKeysHome, node.homeDistance);
      if (node.homeDistance < 0) ++screen.noWayHome;
    }
    if (marks != nullptr) {
      if (Marked(marks->states, i)) {
        ++screen.reached;
      } else {
        screen.missed.push_back(static_cast<std::uint32_t>(i));
      }
    }
  }
  for (const ExploreViolation& violation : result.violations) {
    ++screens[place[ScreenOf(result.nodes[violation.state].key)]].broken;
  }
  return screens;
}

std::map<std::pair<std::string, std::string>, Link> Links(const ExploreResult& result,
                                                          const ExploreCoverageMarks* marks) {
  std::map<std::pair<std::string, std::string>, Link> links;
  for (std::size_t i = 0; i < result.edges.size(); ++i) {
    const ExploreEdge& edge = result.edges[i];
    std::string from = ScreenOf(result.nodes[edge.from].key);
    std::string to = ScreenOf(result.nodes[edge.to].key);
    if (from == to) continue;
    Link& link = links[{std::move(from), std::move(to)}];
    link.inputs.insert(InputWord(result.moves[edge.move]));
    ++link.moves;
    if (marks != nullptr && Marked(marks->edges, i)) ++link.reached;
  }
  return links;
}

std::string DotQuoted(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '\n') {
      out += "\\n";
      continue;
    }
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

std::string Plural(std::size_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

// A move that only the OFF button makes, to the instrument switched off:
// every screen has one, so the drawing leaves them out and says so.
bool ByOffOnly(const std::pair<std::string, std::string>& ends, const Link& link) {
  return ends.second == kOff && link.inputs.size() == 1 && *link.inputs.begin() == "off";
}

// The inputs of a move in words: all five keys, when they all make it, as
// "any key".
std::string Join(std::set<std::string> words, const char* between) {
  const char* const keys[] = {"key ccw", "key cw", "key f1", "key f2", "key press"};
  if (std::all_of(std::begin(keys), std::end(keys),
                  [&](const char* key) { return words.contains(key); })) {
    for (const char* key : keys) words.erase(key);
    words.insert("any key");
  }
  std::string out;
  for (const std::string& word : words) {
    if (!out.empty()) out += between;
    out += word;
  }
  return out;
}

std::string Micros(double micros) {
  char text[32];
  if (micros >= 1000) {
    std::snprintf(text, sizeof text, "%.1f", micros / 1000);
    std::string ms = text;
    if (ms.ends_with(".0")) ms.resize(ms.size() - 2);
    return ms + " ms";
  } else {
    std::snprintf(text, sizeof text, "%.0f µs", micros);
  }
  return text;
}

constexpr const char* kStyle = R"(
:root { --ink: #1f2933; --muted: #616e7c; --line: #d9e2ec; --panel: #f5f7fa; --accent: #2f5d8a; }
* { box-sizing: border-box; }
body { margin: 0; font: 15px/1.5 "DejaVu Sans", system-ui, sans-serif; color: var(--ink); background: #fff; }
main { max-width: 1180px; margin: 0 auto; padding: 28px 32px 48px; }
h1 { font-size: 26px; margin: 0 0 4px; }
h2 { font-size: 19px; margin: 36px 0 10px; padding-bottom: 4px; border-bottom: 2px solid var(--line); }
h3 { font-size: 16px; margin: 0 0 6px; }
p { margin: 6px 0; }
.muted { color: var(--muted); }
.cards { display: grid; grid-template-columns: repeat(auto-fill, minmax(128px, 1fr)); gap: 10px; margin: 18px 0 10px; }
.card { background: var(--panel); border: 1px solid var(--line); border-radius: 8px; padding: 10px 14px; }
.card b { display: block; white-space: nowrap; font-size: 21px; line-height: 1.2; color: var(--accent); }
.card span { color: var(--muted); font-size: 13px; }
.card.bad b { color: #c62828; }
.card.wide { grid-column: span 2; }
.card.good b { color: #2e7d32; }
.limit { border-left: 4px solid #ef6c00; background: #fff4e5; padding: 8px 12px; border-radius: 4px; }
.whole { border-left: 4px solid #2e7d32; background: #edf7ee; padding: 8px 12px; border-radius: 4px; }
table { border-collapse: collapse; font-size: 14px; }
th, td { text-align: left; padding: 5px 14px; border-bottom: 1px solid var(--line); vertical-align: top; }
th { background: var(--panel); font-weight: 600; }
td.n { text-align: right; font-variant-numeric: tabular-nums; }
tr.unreached td { color: var(--muted); }
td.all { background: #c8e6c9; } td.part { background: #ffe0b2; } td.none { background: #ffcdd2; }
.map { overflow-x: auto; border: 1px solid var(--line); border-radius: 8px; padding: 12px; background: #fcfdfe; }
.map svg { max-width: 100%; height: auto; display: block; margin: 0 auto; }
.legend span { display: inline-block; padding: 1px 8px; border-radius: 4px; margin-right: 6px; font-size: 13px; }
.rule { border: 1px solid var(--line); border-radius: 8px; padding: 12px 16px; margin: 12px 0; }
.tag { display: inline-block; background: #c62828; color: #fff; border-radius: 4px; padding: 0 8px; margin-right: 8px; font-size: 13px; font-weight: 600; }
pre { background: #1f2933; color: #e4e7eb; padding: 10px 14px; border-radius: 6px; overflow-x: auto; font-size: 13px; line-height: 1.45; }
code { font-size: 13px; }
details { margin: 6px 0; }
summary { cursor: pointer; font-weight: 600; }
details ul { margin: 6px 0 10px; columns: 2; font-size: 13px; }
footer { margin-top: 36px; font-size: 13px; color: var(--muted); }
)";

// A count with its thousands apart, as "1 043 384" (narrow no-break spaces).
std::string Grouped(std::uint64_t count) {
  std::string digits = std::to_string(count);
  for (std::size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, "\u202f");
  return digits;
}

void Card(std::ostringstream& html, const std::string& value, const std::string& what,
          const char* kind = "") {
  html << "<div class=\"card " << kind << "\"><b>" << HtmlEscaped(value) << "</b><span>"
       << HtmlEscaped(what) << "</span></div>\n";
}

std::string SvgOf(const std::optional<std::string>& drawn) {
  if (!drawn) return "";
  const std::size_t start = drawn->find("<svg");
  const std::size_t end = drawn->rfind("</svg>");
  if (start == std::string::npos || end == std::string::npos || end < start) return "";
  return drawn->substr(start, end + 6 - start);
}

}  // namespace

std::string HtmlEscaped(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string ExploreMapDot(const ExploreResult& result, const ExploreCoverageMarks* coverage) {
  std::ostringstream dot;
  dot << "digraph explore {\n"
         "  graph [rankdir=LR, bgcolor=\"transparent\", nodesep=0.2, ranksep=0.45, "
         "fontname=\"DejaVu Sans\"];\n"
         "  node [shape=box, style=\"rounded,filled\", fontname=\"DejaVu Sans\", fontsize=13, "
         "fillcolor=\"#e3ecf7\", color=\"#2f5d8a\", fontcolor=\"#1f2933\"];\n"
         "  edge [fontname=\"DejaVu Sans\", fontsize=11, color=\"#7b8794\", "
         "fontcolor=\"#3e4c59\", arrowsize=0.7];\n";
  for (const ScreenFacts& screen : Screens(result, coverage)) {
    dot << "  " << DotQuoted(screen.name) << " [";
    if (screen.states == 0) {
      dot << "label=" << DotQuoted(screen.name + "\nunreachable")
          << ", style=\"rounded,dashed\", color=\"#9aa5b1\", fontcolor=\"#7b8794\"";
    } else if (coverage != nullptr) {
      dot << "label="
          << DotQuoted(screen.name + "\n" + std::to_string(screen.reached) + " of " +
                       Plural(screen.states, "state", "states") + " reached")
          << ", fillcolor=\"" << Fill(ShareOf(screen.reached, screen.states)) << "\"";
    } else {
      dot << "label=" << DotQuoted(screen.name + "\n" + Plural(screen.states, "state", "states"));
    }
    if (screen.name == kMainScreen) dot << ", penwidth=2.5";
    if (screen.broken > 0) dot << ", color=\"#c62828\", penwidth=2.5";
    dot << "];\n";
  }
  for (const auto& [ends, link] : Links(result, coverage)) {
    if (ByOffOnly(ends, link)) continue;
    dot << "  " << DotQuoted(ends.first) << " -> " << DotQuoted(ends.second)
        << " [label=" << DotQuoted(Join(link.inputs, "\n"));
    if (coverage != nullptr) {
      const Share share = ShareOf(link.reached, link.moves);
      dot << ", color=\"" << Line(share) << "\"";
      if (share == Share::None) dot << ", style=dashed";
    }
    dot << "];\n";
  }
  dot << "}\n";
  return dot.str();
}

std::string ExplorePage(const ExploreResult& result, const ExploreOptions& options,
                        const ExplorePageOptions& page) {
  const ExploreCoverageMarks* coverage = page.coverage;
  const std::vector<ScreenFacts> screens = Screens(result, coverage);
  std::size_t reachedScreens = 0;
  for (const ScreenEntry& entry : ScreenTable()) {
    for (const ScreenFacts& screen : screens) {
      if (screen.name == entry.name && screen.states > 0) ++reachedScreens;
    }
  }

  std::ostringstream html;
  html << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
       << "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>"
       << HtmlEscaped(page.title) << "</title>\n<style>" << kStyle << "</style>\n</head>\n"
       << "<body>\n<main>\n<h1>" << HtmlEscaped(page.title) << "</h1>\n";
  if (!page.intro.empty()) html << "<p class=\"muted\">" << HtmlEscaped(page.intro) << "</p>\n";

  // The counts.
  html << "<div class=\"cards\">\n";
  Card(html, Grouped(result.nodes.size()), "states reached from power-on");
  Card(html, Grouped(result.edges.size()), "moves between states");
  Card(html, std::to_string(result.moves.size()), "inputs tried in each state");
  Card(html, Grouped(result.passes), "passes of the firmware run");
  Card(html, std::to_string(reachedScreens) + " of " + std::to_string(ScreenTable().size()),
       "screens reached", reachedScreens == ScreenTable().size() ? "good" : "bad");
  Card(html, std::to_string(result.mostHomeDistance), "most keys back to the main display");
  Card(html, Micros(result.worstPassMicros),
       "slowest pass (bound " + Micros(options.passBoundMicros) + ")");
  Card(html, std::to_string(result.violations.size()), "rules broken",
       result.violations.empty() ? "good" : "bad");
  if (coverage != nullptr) {
    std::size_t states = 0;
    for (std::size_t i = 0; i < result.nodes.size(); ++i) states += Marked(coverage->states, i);
    std::size_t edges = 0;
    for (std::size_t i = 0; i < result.edges.size(); ++i) edges += Marked(coverage->edges, i);
    Card(html, Grouped(states) + " of " + Grouped(result.nodes.size()),
         "states the scenarios reach", "wide");
    Card(html, Grouped(edges) + " of " + Grouped(result.edges.size()), "moves the scenarios make",
         "wide");
  }
  html << "</div>\n";
  if (result.stateLimitReached) {
    html << "<p class=\"limit\">The walk stopped at its limit of " << options.maxStates
         << " states: states and screens beyond it are not explored.</p>\n";
  }
  if (result.depthLimitReached) {
    html << "<p class=\"limit\">The walk stopped at its depth limit of " << options.maxDepth
         << " moves: states beyond it are not explored.</p>\n";
  }
  if (!result.stateLimitReached && !result.depthLimitReached) {
    html << "<p class=\"whole\">The walk ran to its end: every state the panel's inputs reach "
            "from power-on is here (limits "
         << options.maxStates << " states, " << options.maxDepth << " moves deep).</p>\n";
  }

  // The screens.
  html << "<h2>Screens</h2>\n<table>\n<tr><th>Screen</th><th>States</th>"
       << "<th>Most keys home</th><th>States with no way home</th><th>Rules broken</th>";
  if (coverage != nullptr) html << "<th>Reached by the scenarios</th>";
  html << "</tr>\n";
  for (const ScreenFacts& screen : screens) {
    if (screen.states == 0) {
      html << "<tr class=\"unreached\"><td>" << HtmlEscaped(screen.name) << "</td><td colspan=\""
           << (coverage != nullptr ? 5 : 4)
           << "\">unreachable: " << HtmlEscaped(UnreachableReason(result)) << "</td></tr>\n";
      continue;
    }
    html << "<tr><td>" << HtmlEscaped(screen.name) << "</td><td class=\"n\">" << screen.states
         << "</td><td class=\"n\">"
         << (screen.name == kOff ? std::string("&ndash;") : std::to_string(screen.mostKeysHome))
         << "</td><td class=\"n\">" << screen.noWayHome << "</td><td class=\"n\">" << screen.broken
         << "</td>";
    if (coverage != nullptr) {
      html << "<td class=\"n " << ShareClass(ShareOf(screen.reached, screen.states)) << "\">"
           << screen.reached << " of " << screen.states << "</td>";
    }
    html << "</tr>\n";
  }
  html << "</table>\n";

  // The map.
  html << "<h2>Map of the screens</h2>\n<p class=\"muted\">Each arrow is a move from a state "
          "on one screen to a state on another, labelled with the inputs that make it; "
          "moves within a screen are left out.";
  if (coverage != nullptr) {
    html << "</p>\n<p class=\"legend\"><span style=\"background:" << kExploreAllReached
         << "\">all reached</span><span style=\"background:" << kExplorePartReached
         << "\">partly reached</span><span style=\"background:" << kExploreNoneReached
         << "\">none reached</span>";
  }
  html << "</p>\n";
  const std::string svg = page.drawMap ? SvgOf(page.drawMap(ExploreMapDot(result, coverage))) : "";
  if (!svg.empty()) {
    html << "<div class=\"map\">\n" << svg << "\n</div>\n";
    std::size_t offScreens = 0;
    std::size_t offMoves = 0;
    std::size_t offReached = 0;
    for (const auto& [ends, link] : Links(result, coverage)) {
      if (!ByOffOnly(ends, link)) continue;
      ++offScreens;
      offMoves += link.moves;
      offReached += link.reached;
    }
    if (offScreens > 0) {
      html << "<p class=\"muted\">Not drawn: the OFF button's arrows to off, from "
           << Plural(offScreens, "screen", "screens");
      if (coverage != nullptr) {
        html << " (the scenarios make " << offReached << " of their " << offMoves << " moves)";
      }
      html << ".</p>\n";
    }
  } else {
    html << "<table>\n<tr><th>From screen</th><th>To screen</th><th>Inputs</th>"
         << "<th>Moves</th>";
    if (coverage != nullptr) html << "<th>Reached by the scenarios</th>";
    html << "</tr>\n";
    for (const auto& [ends, link] : Links(result, coverage)) {
      html << "<tr><td>" << HtmlEscaped(ends.first) << "</td><td>" << HtmlEscaped(ends.second)
           << "</td><td>" << HtmlEscaped(Join(link.inputs, ", ")) << "</td><td class=\"n\">"
           << link.moves << "</td>";
      if (coverage != nullptr) {
        html << "<td class=\"n " << ShareClass(ShareOf(link.reached, link.moves)) << "\">"
             << link.reached << " of " << link.moves << "</td>";
      }
      html << "</tr>\n";
    }
    html << "</table>\n";
  }

  // The broken rules.
  html << "<h2>Rules broken</h2>\n";
  if (result.violations.empty()) html << "<p>None: every state keeps every rule.</p>\n";
  for (const ExploreViolation& violation : result.violations) {
    const ExploreNode& node = result.nodes[violation.state];
    html << "<div class=\"rule\">\n<h3><span class=\"tag\">" << HtmlEscaped(violation.rule)
         << "</span>" << HtmlEscaped(violation.message) << "</h3>\n<p class=\"muted\">"
         << (violation.occurrences == 1
                 ? std::string("Once")
                 : Plural(violation.occurrences, "time", "times") + " on the same screen")
         << "; first in <code>" << HtmlEscaped(DescribeKey(node.key)) << "</code>, "
         << Plural(node.depth, "move", "moves")
         << " from power-on. The scenario, as the driver runs it:</p>\n<pre>"
         << HtmlEscaped(ViolationScenario(result, violation)) << "</pre>\n</div>\n";
  }

  // What the scenarios miss.
  if (coverage != nullptr) {
    html << "<h2>States the scenarios miss</h2>\n";
    bool any = false;
    for (const ScreenFacts& screen : screens) {
      if (screen.missed.empty()) continue;
      any = true;
      html << "<details>\n<summary>" << HtmlEscaped(screen.name) << ": " << screen.missed.size()
           << " of " << Plural(screen.states, "state", "states") << " missed</summary>\n<ul>\n";
      for (const std::uint32_t state : screen.missed) {
        const ExploreNode& node = result.nodes[state];
        html << "<li><code>" << HtmlEscaped(DescribeKey(node.key)) << "</code> <span "
             << "class=\"muted\">(" << Plural(node.depth, "move", "moves") << " in)</span></li>\n";
      }
      html << "</ul>\n</details>\n";
    }
    if (!any) html << "<p>None: the scenarios reach every state of the walk.</p>\n";
  }

  html << "<footer>Limits of this walk: " << options.maxStates << " states, " << options.maxDepth
       << " moves deep, a pass within " << Micros(options.passBoundMicros)
       << ". The states, moves and scenarios in full: <code>kvr9-headless explore --json "
          "FILE</code> and <code>--scenarios DIR</code>.</footer>\n</main>\n</body>\n</html>\n";
  return html.str();
}

}  // namespace kvr9
