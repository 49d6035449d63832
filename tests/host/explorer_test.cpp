#include "host/explore/explorer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <set>
#include <sstream>

#include "core/limits.h"
#include "host/explore/explore_coverage.h"
#include "host/explore/explore_rules.h"
#include "host/scenario/executor.h"
#include "host/state/state_fields.h"
#include "screens/screen_rows.h"
#include "screens/screen_table.h"
#include "screens/screens.h"

namespace kvr9 {
namespace {

std::string ScenarioOf(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

ExitStatus RunLines(const std::vector<std::string>& lines, std::string& err,
                    std::function<void(const PanelRig&)> watch = {}) {
  std::ostringstream out;
  std::ostringstream problems;
  RunOptions options;
  options.afterEachPass = std::move(watch);
  const ExitStatus status =
      RunScenarioText(ScenarioOf(lines), "walk.scn", ".", out, problems, options);
  err = problems.str();
  return status;
}

// The whole walk of the power-on state space, once: it ends by itself,
// reaches every screen with a way back to the main display from each
// state, finds the firmware keeping its rules, and every path it reports
// is a scenario the driver takes to the same state.
TEST(Explorer, WalksEveryScreenAndItsPathsReplayInTheDriver) {
  // The time a pass takes is the benchmark's business, not a test's.
  ExploreOptions options;
  options.passBoundMicros = 1e12;
  const ExploreResult walk = Explore(options);
  EXPECT_FALSE(walk.stateLimitReached);
  EXPECT_FALSE(walk.depthLimitReached);
  for (const ExploreViolation& violation : walk.violations) {
    ADD_FAILURE() << violation.rule << ": " << violation.message << "\n"
                  << ViolationScenario(walk, violation);
  }
  for (const ScreenEntry& screen : ScreenTable()) {
    EXPECT_TRUE(std::any_of(walk.nodes.begin(), walk.nodes.end(),
                            [&](const ExploreNode& n) { return n.key.screen == screen.handler; }))
        << screen.name << " never reached";
  }
  // ... and every row of it: the grouping of values loses none.
  std::set<std::pair<ScreenHandler, int>> rows;
  for (const ExploreNode& node : walk.nodes) {
    if (node.key.screen != nullptr) {
      EXPECT_GE(node.homeDistance, 0) << DescribeKey(node.key);
      rows.emplace(node.key.screen, node.key.cursor);
    }
  }
  InstrumentState calibrating;
  calibrating.ui.calibrateMode = 1;
  calibrating.settings.flightDetectAuto = 1;
  for (const ScreenEntry& screen : ScreenTable()) {
    const int last = LastCursor(screen.handler, calibrating);
    for (int row = 0; last > 0 && row <= last; ++row) {
      EXPECT_EQ(rows.count({screen.handler, row}), 1u) << screen.name << " row " << row;
    }
  }

  // A sample of the states, the deepest among them, replayed by the driver.
  std::vector<std::uint32_t> sample;
  for (std::uint32_t i = 0; i < walk.nodes.size(); i += 97) sample.push_back(i);
  sample.push_back(static_cast<std::uint32_t>(walk.nodes.size() - 1));
  for (const std::uint32_t state : sample) {
    const ExploreNode& node = walk.nodes[state];
    std::vector<std::string> lines = PathLines(walk, state);
    const InstrumentState& s = node.moment.state;
    if (node.key.screen != nullptr) {
      lines.push_back(std::string("expect currentScreen ") + FindScreen(s.ui.currentScreen)->name);
      for (const char* field : {"cursor", "editing", "inFlight", "alarmActive", "alarmAcknowledged",
                                "qnh", "lowAlarmSpeed", "altCalOffset"}) {
        const StateField* f = FindStateField(field);
        lines.push_back(std::string("expect ") + field + " " + std::to_string(f->get(s)));
      }
      lines.push_back(std::string("expect-led ") + (node.moment.ledLit ? "lit" : "unlit"));
    }
    std::string err;
    EXPECT_EQ(RunLines(lines, err), kExitPassed) << DescribeKey(node.key) << "\n" << err;
  }

  // Coverage: the menu opened and left again covers the main display, the
  // menu's first item and the key press between them.
  ExploreCoverage coverage(walk);
  std::string err;
  ASSERT_EQ(RunLines({"on", "pass 80", "key press", "pass 2", "key press", "pass 2"}, err,
                     [&](const PanelRig& rig) { coverage.Observe(rig); }),
            kExitPassed)
      << err;
  EXPECT_EQ(coverage.StatesCovered(), 2u);
  EXPECT_EQ(coverage.MovesCovered(), 2u);
  EXPECT_EQ(coverage.MissedByScreen().count("MainMenuScreen"), 1u);
}

// Each rule finds a moment that breaks it, and says so with the line a
// scenario checks it by; the moments as the firmware left them break none.
struct BrokenMoment {
  const char* name;
  const char* screen;  // the walk's first state on it
  const char* rule;    // "" for none
  const char* tailLine;
  std::function<void(ExploreMoment&, FrameBuffer&, std::array<ExploreMoment, 6>&)> breakIt;
};

class ExplorerRules : public ::testing::TestWithParam<BrokenMoment> {};

TEST_P(ExplorerRules, FindTheBrokenRule) {
  const BrokenMoment& c = GetParam();
  static const ExploreResult walk = [] {
    ExploreOptions options;
    options.maxStates = 400;
    options.passBoundMicros = 1e12;
    return Explore(options);
  }();
  // A state on the screen, with the walk's own results of each key there.
  const ExploreNode* node = nullptr;
  for (const ExploreNode& n : walk.nodes) {
    if (n.key.screen != nullptr && std::strcmp(FindScreen(n.key.screen)->name, c.screen) == 0) {
      node = &n;
      break;
    }
  }
  ASSERT_NE(node, nullptr) << c.screen;
  ExploreMoment moment = node->moment;
  std::array<ExploreMoment, 6> after;
  for (const KeyEvent key : {KeyPress, KeyClockwise, KeyAntiClockwise, KeyF1, KeyF2}) {
    after[key] = MoveFrom(moment, {MoveKind::Key, key});
  }
  Instrument drawn;
  drawn.state = moment.state;
  moment.state.ui.currentScreen(drawn);
  FrameBuffer frame = drawn.frameBuffer;
  c.breakIt(moment, frame, after);

  std::vector<RuleFinding> findings;
  CheckState(moment, frame, findings);
  CheckKeys(moment, after, findings);
  if (std::strlen(c.rule) == 0) {
    for (const RuleFinding& f : findings) ADD_FAILURE() << f.rule << ": " << f.message;
    return;
  }
  const auto found = std::find_if(findings.begin(), findings.end(), [&](const RuleFinding& f) {
    return f.rule == std::string(c.rule);
  });
  ASSERT_NE(found, findings.end()) << "no " << c.rule << " finding";
  EXPECT_NE(std::find(found->tail.begin(), found->tail.end(), c.tailLine), found->tail.end())
      << found->message;
}

void Keep(ExploreMoment&, FrameBuffer&, std::array<ExploreMoment, 6>&) {}

INSTANTIATE_TEST_SUITE_P(
    Rules, ExplorerRules,
    ::testing::Values(
        BrokenMoment{"KeptOnTheMainDisplay", "MainScreen", "", "", Keep},
        BrokenMoment{"KeptOnAList", "DisplaySetupScreen", "", "", Keep},
        BrokenMoment{"QnhPastItsLimit", "MainScreen", "limits", "expect qnh 940250..1080250",
                     [](ExploreMoment& m, FrameBuffer&, std::array<ExploreMoment, 6>&) {
                       m.state.settings.qnh = kQnhHighest + kQnhStepMillibar;
                     }},
        BrokenMoment{"AlarmNotRaised", "MainScreen", "alarm", "expect alarmActive 1",
                     [](ExploreMoment& m, FrameBuffer&, std::array<ExploreMoment, 6>&) {
                       m.state.airData.airspeed = m.state.settings.highAlarmSpeed + 1;
                       m.state.airData.alarmActive = 0;
                     }},
        BrokenMoment{
            "LedLitWithoutAlarm", "MainScreen", "led", "expect-led unlit",
            [](ExploreMoment& m, FrameBuffer&, std::array<ExploreMoment, 6>&) { m.ledLit = true; }},
        BrokenMoment{"RowsADotLow", "DisplaySetupScreen", "lcd-rows",
                     "expect-text at 0 DISPLAY SETUP",
                     [](ExploreMoment&, FrameBuffer& f, std::array<ExploreMoment, 6>&) {
                       for (std::size_t i = 0; i < f.bytes.size(); ++i) {
                         f.bytes[i] = static_cast<std::uint8_t>(f.bytes[i] << 1);
                       }
                     }},
        BrokenMoment{"AGlyphChanged", "DisplaySetupScreen", "lcd-words",
                     "expect-text readable 8 63",
                     [](ExploreMoment&, FrameBuffer& f, std::array<ExploreMoment, 6>&) {
                       // A dot more in the "A" of ADJUST CONTRAST (row 1, y 16..23).
                       f.bytes[2 * kLcdWidth + 3] ^= 0x01;
                     }},
        BrokenMoment{"DeadTurnOnAList", "DisplaySetupScreen", "keys", "expect cursor 1",
                     [](ExploreMoment& m, FrameBuffer&, std::array<ExploreMoment, 6>& a) {
                       a[KeyClockwise] = m;
                     }},
        BrokenMoment{"MenuPressGoesNowhere", "MainMenuScreen", "keys",
                     "expect currentScreen MainScreen",
                     [](ExploreMoment& m, FrameBuffer&, std::array<ExploreMoment, 6>& a) {
                       a[KeyPress] = m;
                     }},
        BrokenMoment{"QnhKeyPastItsLimit", "MainScreen", "keys", "expect qnh 1080250",
                     [](ExploreMoment& m, FrameBuffer&, std::array<ExploreMoment, 6>& a) {
                       m.state.settings.qnh = kQnhHighest;
                       a[KeyClockwise] = m;
                       a[KeyClockwise].state.settings.qnh = kQnhHighest + kQnhStepMillibar;
                     }}),
    [](const ::testing::TestParamInfo<BrokenMoment>& param) { return param.param.name; });

// The value an edit key leaves on a numeric list row, at the ends of its
// range: the rule accepts the right value and names it when another comes.
TEST(ExploreRules, NumericRowsStepAsTheirRowsPromise) {
  const struct {
    ScreenHandler screen;
    std::uint8_t row;
    const char* field;
    std::uint8_t asiUnit;
    bool keyFast;
    std::int64_t before;
    KeyEvent key;
    std::int64_t right;
    std::int64_t wrong;
  } cases[] = {
      {AsiSetupScreen, 4, "lowAlarmSpeed", 0, false, 250, KeyClockwise, 16, 251},
      {AsiSetupScreen, 4, "lowAlarmSpeed", 0, false, 16, KeyAntiClockwise, 250, 16},
      {AsiSetupScreen, 6, "highAlarmSpeed", 0, false, 249, KeyF1, 250, 16},
      {AsiSetupScreen, 6, "highAlarmSpeed", 0, true, 240, KeyClockwise, 250, 16},
      {AsiSetupScreen, 6, "highAlarmSpeed", 0, true, 241, KeyClockwise, 16, 250},
      {AsiSetupScreen, 4, "lowAlarmSpeed", 1, true, 400, KeyClockwise, 26, 402},
      {FlightLogScreen, 5, "takeoffSpeed", 0, false, 249, KeyClockwise, 16, 250},
      {FlightLogScreen, 5, "takeoffSpeed", 0, false, 18, KeyF2, 17, 16},
      {FlightLogScreen, 5, "takeoffSpeed", 0, false, 17, KeyAntiClockwise, 250, 16},
      {CalibrateScreen, 1, "altCalOffset", 0, true, 124, KeyClockwise, 125, 134},
      {CalibrateScreen, 1, "altCalOffset", 0, false, 125, KeyClockwise, 125, 126},
      {CalibrateScreen, 2, "asiCalPercent", 0, false, 50, KeyF2, 50, 150},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.field) + " " + std::to_string(c.before));
    ExploreMoment before;
    before.state.ui.currentScreen = c.screen;
    before.state.ui.cursor = c.row;
    before.state.ui.editing = 1;
    before.state.settings.asiUnit = c.asiUnit;
    before.state.settings.flightDetectAuto = 1;
    before.inputs.keyFastChecked = c.keyFast;
    const StateField* field = FindStateField(c.field);
    field->set(before.state, c.before);
    for (const std::int64_t value : {c.right, c.wrong}) {
      ExploreMoment after = before;
      field->set(after.state, value);
      std::vector<RuleFinding> findings;
      CheckKey(before, c.key, after, findings);
      if (value == c.right) {
        EXPECT_TRUE(findings.empty()) << findings.front().message;
        continue;
      }
      ASSERT_EQ(findings.size(), 1u);
      const std::vector<std::string>& tail = findings.front().tail;
      const std::string expect = std::string("expect ") + c.field + " " + std::to_string(c.right);
      EXPECT_NE(std::find(tail.begin(), tail.end(), expect), tail.end()) << expect;
    }
  }
}

}  // namespace
}  // namespace kvr9
