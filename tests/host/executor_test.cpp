// The scenario executor on a panel rig: the rig it runs on is its own or
// someone else's, its pictures are made by whoever hands it the outputs,
// and its flights keep the one clock the rig's flight bar keeps.
#include "host/scenario/executor.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "host/scenario/step_on_form.h"

namespace kvr9 {
namespace {

struct QuietView : RigView {
  void ShowFrame(const FrameBuffer&, bool) override {}
};

Scenario Parsed(const std::string& text) {
  ParseOutcome parsed = ParseScenario(text, "t.scn", "/pictures");
  EXPECT_TRUE(parsed.ok) << parsed.error;
  return parsed.scenario;
}

// A rig of its own is switched off when the steps are over, or when an
// expectation has failed; one kept by someone else (the agent's) is left as
// the steps leave it.
TEST(ScenarioExecutor, SwitchesOffOnlyARigOfItsOwn) {
  const struct {
    const char* steps;
    bool kept;
    ExitStatus status;
    bool onAfter;
  } rows[] = {
      {"on\n", false, kExitPassed, false},
      {"on\npass 80\n", false, kExitPassed, false},
      {"on\npass 80\noff\non\npass 3\n", false, kExitPassed, false},
      {"on\npass 10\nexpect qnh 1\npass\n", false, kExitExpectationFailed, false},
      {"on\n", true, kExitPassed, true},
      {"on\npass 80\n", true, kExitPassed, true},
      {"on\npass 10\nexpect qnh 1\npass\n", true, kExitExpectationFailed, true},
      {"on\npass 80\noff\n", true, kExitPassed, false},
  };
  for (const auto& row : rows) {
    const Scenario scenario = Parsed(row.steps);
    std::ostringstream out;
    std::ostringstream err;
    QuietView view;
    PanelRig rig(view);
    ScenarioExecutor executor =
        row.kept ? ScenarioExecutor(scenario, rig, out, err) : ScenarioExecutor(scenario, out, err);
    EXPECT_EQ(executor.Run(), row.status) << row.steps << err.str();
    EXPECT_EQ(IsRunning(executor.instrument()), row.onAfter) << row.steps << row.kept;
  }
}

// What the executor asks of the outputs it is handed: a picture with its
// scale and look, an animation's frames one a pass until it is stopped.
struct Outputs : ScenarioOutputs {
  std::vector<std::string> calls;
  bool SaveLcd(const FrameBuffer&, const std::string& path, int scale, LcdLook look) override {
    calls.push_back("lcd " + path + " " + std::to_string(scale) +
                    (look == LcdLook::Green ? " green" : " window"));
    return true;
  }
  bool StartAnimation(const std::string& path, int scale) override {
    calls.push_back("start " + path + " " + std::to_string(scale));
    return true;
  }
  bool AddAnimationPass(const FrameBuffer&) override {
    calls.push_back("pass");
    return true;
  }
  bool FinishAnimation() override {
    calls.push_back("finish");
    return true;
  }
};

TEST(ScenarioExecutor, HandsItsPicturesToTheOutputs) {
  using Calls = std::vector<std::string>;
  const struct {
    const char* steps;
    Calls calls;
  } rows[] = {
      {"on\nsave-lcd a.png 3 green\nsave-lcd b.png\n",
       {"lcd /pictures/a.png 3 green", "lcd /pictures/b.png 2 window"}},
      {"on\nsave-animation a.gif 2\npass 3\nstop-animation\npass 2\n",
       {"start /pictures/a.gif 2", "pass", "pass", "pass", "finish"}},
      {"on\nsave-animation a.gif\npass\nsave-animation b.gif\npass\nstop-animation\n",
       {"start /pictures/a.gif 2", "pass", "finish", "start /pictures/b.gif 2", "pass", "finish"}},
  };
  for (const auto& row : rows) {
    const Scenario scenario = Parsed(row.steps);
    std::ostringstream out;
    std::ostringstream err;
    Outputs outputs;
    ScenarioExecutor executor(scenario, out, err, &outputs);
    EXPECT_EQ(executor.Run(), kExitPassed) << row.steps << err.str();
    EXPECT_EQ(outputs.calls, row.calls) << row.steps;
  }
}

// Without outputs a picture cannot be made: the step stops the run.
TEST(ScenarioExecutor, WithoutOutputsAPictureIsAStepThatCannotBeDone) {
  for (const char* steps : {"on\nsave-lcd a.png\n", "on\nsave-animation a.gif\npass\n"}) {
    const Scenario scenario = Parsed(steps);
    std::ostringstream out;
    std::ostringstream err;
    ScenarioExecutor executor(scenario, out, err);
    EXPECT_EQ(executor.Run(), kExitBadInput) << steps;
    EXPECT_NE(err.str().find("cannot write"), std::string::npos) << err.str();
  }
}

// One clock: the demo flown from the flight bar (as the window and the page
// fly it, their own 100 ms timer ticking all along) ends exactly where the
// scenario's "fly demo speed N" ends, at every speed the bar offers.
class OneClock : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(OneClock, TheBarsFlightEndsAsTheDriversDoes) {
  const std::uint32_t speed = GetParam();
  const Scenario scenario =
      Parsed("on\npass 99\nfly demo speed " + std::to_string(speed) + "\npass 50\n");
  QuietView driverView;
  PanelRig driver(driverView);
  std::ostringstream out;
  std::ostringstream err;
  ASSERT_EQ(ScenarioExecutor(scenario, driver, out, err).Run(), kExitPassed) << err.str();

  QuietView view;
  PanelRig rig(view);
  rig.PressOn();
  for (int pass = 1; pass < 100; ++pass) rig.Step();
  // The demo's first moment stands for a pass before it plays on, as the
  // driver's first flown pass does.
  rig.UseDemoFlight();
  rig.SetFlightSpeed(speed);
  rig.Step();
  rig.PlayFlight(true);
  int passes = 0;
  while (rig.FlightPlaying() && passes++ < 100000) {
    rig.TimerTick();  // the front end's own timer: not the flight's clock
    rig.Step();
  }
  for (int pass = 0; pass < 50; ++pass) rig.Step();
  const Snapshot bar = rig.Capture();
  const Snapshot flown = driver.Capture();
  EXPECT_EQ(bar.state.flightTimer, flown.state.flightTimer);
  EXPECT_EQ(bar.state.airData, flown.state.airData);
  EXPECT_EQ(bar.state, flown.state);
  EXPECT_EQ(bar.frameBuffer, flown.frameBuffer);
}

INSTANTIATE_TEST_SUITE_P(BarSpeeds, OneClock, ::testing::Values(1U, 4U, 16U, 64U));

// A scenario's input step as the form's control a person works, with a
// slider's reading at the position the executor chooses.
TEST(StepOnTheForm, NamesTheFormsControlAndTheSlidersPosition) {
  Instrument instrument;
  LoadDefaultSettings(instrument);
  LoadDefaultCalibration(instrument);
  struct Row {
    const char* line;
    const char* control;
    std::int32_t position;
    bool checked;
    std::uint32_t count;
  };
  std::uint32_t thousandFeet = 0;
  std::string problem;
  const ParseOutcome parsed = ParseScenario("slider altitude 1000ft", "s", ".");
  ASSERT_TRUE(SliderPositionFor(parsed.scenario.steps.front(), instrument, thousandFeet, problem));
  for (const Row& row :
       {Row{"on", "Button1", 0, false, 0}, Row{"off", "Button2", 0, false, 0},
        Row{"key cw", "Button3", 0, false, 0}, Row{"key f2", "Image6", 0, false, 0},
        Row{"key press", "Image5", 0, false, 0},
        Row{"slider airspeed 300", "TrackBar1", 300, false, 0},
        Row{"slider altitude 1000ft", "TrackBar2", static_cast<std::int32_t>(thousandFeet), false,
            0},
        Row{"box keyfast on", "CheckBox3", 0, true, 0}, Row{"pass 7", "", 0, false, 7},
        Row{"tick 3", "", 0, false, 3}}) {
    const StepOnForm form = StepOnTheForm(row.line, instrument);
    EXPECT_EQ(form.error, "") << row.line;
    EXPECT_EQ(form.control, row.control) << row.line;
    EXPECT_EQ(form.position, row.position) << row.line;
    EXPECT_EQ(form.checked, row.checked) << row.line;
    EXPECT_EQ(form.count, row.count) << row.line;
  }
  EXPECT_NE(StepOnTheForm("expect qnh 1013250", instrument).error, "");
  EXPECT_NE(StepOnTheForm("slider altitude 90000ft", instrument).error, "");
}

}  // namespace
}  // namespace kvr9
