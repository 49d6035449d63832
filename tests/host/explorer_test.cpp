#include "host/explore/explorer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "host/explore/explore_rules.h"
#include "host/state/state_fields.h"
#include "screens/screens.h"

namespace kvr9 {
namespace {

TEST(Explorer, TheWholeWalkFindsNoBrokenRule) {
  ExploreOptions options;
  options.passBoundMicros = 60e6;  // the walk times nothing here
  const ExploreResult result = Explore(options);
  EXPECT_FALSE(result.stateLimitReached);
  EXPECT_FALSE(result.depthLimitReached);
  for (const ExploreViolation& violation : result.violations) {
    ADD_FAILURE() << violation.rule << ": " << violation.message;
  }
}

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
