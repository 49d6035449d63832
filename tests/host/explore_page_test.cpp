// The explorer's report page: every screen named with its states or why it
// was not reached, the findings' words escaped, and a screen on the map
// coloured by the share of its states a suite's scenarios reach.
#include "host/explore/explore_page.h"

#include <gtest/gtest.h>

#include <string>

#include "host/explore/explore_json.h"
#include "screens/screen_table.h"

namespace kvr9 {
namespace {

// A short walk, cut by its limit of states, so some screens stay unreached.
ExploreOptions ShortWalkOptions() {
  ExploreOptions options;
  options.maxStates = 100;
  return options;
}

const ExploreResult& ShortWalk() {
  static const ExploreResult result = Explore(ShortWalkOptions());
  return result;
}

std::size_t StatesOn(const ExploreResult& result, const char* screen) {
  std::size_t count = 0;
  for (const ExploreNode& node : result.nodes) {
    count += node.key.screen != nullptr && FindScreen(node.key.screen)->name == std::string(screen);
  }
  return count;
}

TEST(ExplorePage, NamesEveryScreenWithItsStatesOrWhyItIsNotReached) {
  const ExploreResult& result = ShortWalk();
  ASSERT_TRUE(result.stateLimitReached);
  const std::string page = ExplorePage(result, ShortWalkOptions());
  std::size_t unreached = 0;
  for (const ScreenEntry& entry : ScreenTable()) {
    const std::string row = "<td>" + std::string(entry.name) + "</td>";
    const std::size_t states = StatesOn(result, entry.name);
    if (states > 0) {
      EXPECT_NE(page.find(row + "<td class=\"n\">" + std::to_string(states) + "</td>"),
                std::string::npos)
          << entry.name;
    } else {
      ++unreached;
      EXPECT_NE(page.find(row + "<td colspan=\"4\">unreachable: " + UnreachableReason(result)),
                std::string::npos)
          << entry.name;
    }
  }
  EXPECT_GT(unreached, 0U);
  EXPECT_NE(page.find("stopped at its limit of 100 states"), std::string::npos);
  // Without a drawing the map is a table: ON leads from off to the main display.
  EXPECT_NE(page.find("<tr><td>off</td><td>MainScreen</td><td>on</td>"), std::string::npos);
}

TEST(ExplorePage, EscapesEveryWordItShows) {
  ExploreResult result = ShortWalk();
  ExploreViolation violation;
  violation.rule = "keys";
  violation.message = "<b>\"F1\" & 'F2'</b>";
  violation.tail = {"expect-text <none>"};
  result.violations.push_back(violation);
  ExplorePageOptions page;
  page.title = "A&B <walk>";
  const std::string html = ExplorePage(result, ShortWalkOptions(), page);
  for (const char* raw : {"<b>\"F1", "\"F1\" &", "'F2'", "<none>", "A&B", "<walk>"}) {
    EXPECT_EQ(html.find(raw), std::string::npos) << raw;
  }
  for (const char* escaped : {"&lt;b&gt;&quot;F1&quot; &amp; &#39;F2&#39;&lt;/b&gt;",
                              "expect-text &lt;none&gt;", "<title>A&amp;B &lt;walk&gt;</title>"}) {
    EXPECT_NE(html.find(escaped), std::string::npos) << escaped;
  }
}

TEST(ExplorePage, ColoursAScreenByTheShareOfItsStatesReached) {
  const ExploreResult& result = ShortWalk();
  const auto onMainScreen = [&](std::size_t i) {
    const ExploreKey& key = result.nodes[i].key;
    return key.screen != nullptr && FindScreen(key.screen)->name == std::string("MainScreen");
  };
  const struct {
    const char* marked;  // the states of the main screen marked reached
    const char* fill;
  } cases[] = {
      {"none", kExploreNoneReached},
      {"one", kExplorePartReached},
      {"all", kExploreAllReached},
  };
  ASSERT_GT(StatesOn(result, "MainScreen"), 1U);
  for (const auto& c : cases) {
    ExploreCoverageMarks marks;
    marks.states.assign(result.nodes.size(), false);
    marks.edges.assign(result.edges.size(), false);
    for (std::size_t i = 0; i < result.nodes.size(); ++i) {
      if (!onMainScreen(i)) continue;
      marks.states[i] = std::string(c.marked) == "all" || std::string(c.marked) == "one";
      if (std::string(c.marked) == "one") break;
    }
    std::string dot;
    ExplorePageOptions page;
    page.coverage = &marks;
    page.drawMap = [&](const std::string& text) -> std::optional<std::string> {
      dot = text;
      return "<?xml version=\"1.0\"?>\n<svg id=\"drawn\"></svg>\n";
    };
    const std::string html = ExplorePage(result, ShortWalkOptions(), page);
    EXPECT_NE(html.find("<div class=\"map\">\n<svg id=\"drawn\"></svg>"), std::string::npos);
    EXPECT_EQ(html.find("<?xml"), std::string::npos);
    const std::size_t node = dot.find("  \"MainScreen\" [");
    ASSERT_NE(node, std::string::npos) << dot;
    const std::string line = dot.substr(node, dot.find('\n', node) - node);
    EXPECT_NE(line.find(std::string("fillcolor=\"") + c.fill + "\""), std::string::npos)
        << c.marked << ": " << line;
    // The states missed are listed under their screen.
    EXPECT_EQ(html.find("<summary>MainScreen: ") != std::string::npos,
              std::string(c.marked) != "all")
        << c.marked;
  }
}

}  // namespace
}  // namespace kvr9
