// Lessons: what their reader refuses, one row a kind of fault, and how a
// run follows the person's hands on a live session.
#include "host/lessons/lesson.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "host/lessons/lesson_run.h"
#include "host/panel/panel_session.h"

namespace kvr9 {
namespace {

constexpr const char* kHead = "title T\nstart defaults\n";
constexpr const char* kStep =
    "step Do it.\nhint Like so.\ncontrol knob\ncheck expect qnh 1014250\n";

TEST(LessonReader, RefusesEachFaultWithItsLineAndKeepsNothing) {
  const struct {
    std::string text;
    int line;
    const char* says;
  } rows[] = {
      {std::string(kHead) + kStep + "stepp Next.\n", 7, "unknown line 'stepp'"},
      {std::string("start defaults\n") + kStep, 1, "no title line"},
      {std::string(kHead) + "title U\n" + kStep, 3, "a second title"},
      {std::string("title T\n") + kStep, 1, "no start line"},
      {std::string("title T\nstart snapshot a.snap\n") + kStep, 2, "not possible yet"},
      {std::string("title T\nstart cold\n") + kStep, 2, "unknown start 'cold'"},
      {std::string(kHead), 2, "no steps"},
      {std::string(kHead) + "hint Like so.\n" + kStep, 3, "'hint' before the first step"},
      {std::string(kHead) + "step Do it.\ncontrol knob\ncheck expect qnh 1014250\n", 3,
       "no hint line"},
      {std::string(kHead) + "step Do it.\nhint H.\ncheck expect qnh 1014250\nstep B\n", 3,
       "no control line"},
      {std::string(kHead) + "step Do it.\nhint H.\ncontrol F1\n", 3, "no check line"},
      {std::string(kHead) + kStep + "hint Again.\n", 7, "a second hint"},
      {std::string(kHead) + "step Do it.\nhint H.\ncontrol Knobb\n", 5, "did you mean knob?"},
      {std::string(kHead) + kStep + "check pass 10\n", 7, "not 'pass'"},
      {std::string(kHead) + kStep + "check expect qhn 1014250\n", 7, "unknown field 'qhn'"},
      {std::string(kHead) + kStep + "check expect-text /(/\n", 7, "not a regular expression"},
      {std::string(kHead) + "step\n", 3, "'step' needs a text"},
      {std::string(kHead) + "step Do \x1b[2J it.\n", 3, "a control character"},
      {std::string(kHead) + "step Caf\xc3 it.\n", 3, "not UTF-8"},
  };
  for (const auto& row : rows) {
    const LessonReadResult read = ParseLesson(row.text, "t.lesson", ".");
    EXPECT_FALSE(read.ok) << row.says;
    const std::string where = "t.lesson:" + std::to_string(row.line) + ": ";
    EXPECT_EQ(read.error.rfind(where, 0), 0u) << read.error;
    EXPECT_NE(read.error.find(row.says), std::string::npos) << read.error;
    EXPECT_EQ(read.error.find('\n'), std::string::npos) << read.error;
    EXPECT_TRUE(read.lesson.steps.empty() && read.lesson.checks.steps.empty()) << row.says;
  }
}

TEST(LessonReader, RefusesAFileBeyondItsSizeUnparsed) {
  const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                     ("kvr9_big_" + std::to_string(::getpid()) + ".lesson");
  {
    std::ofstream out(path);
    out << kHead << kStep << std::string(kLargestLessonBytes, '#') << '\n';
  }
  const LessonReadResult read = ReadLessonFile(path);
  std::filesystem::remove(path);
  EXPECT_FALSE(read.ok);
  EXPECT_NE(read.error.find("larger than 65536 bytes"), std::string::npos) << read.error;
}

// A session on the main display, as a front end has it after "ON".
class LessonRunTest : public ::testing::Test, public PanelView {
 protected:
  void ShowFrame(const FrameBuffer&, bool) override {}

  void SetUp() override {
    session_.PressOn();
    Passes(81);
    ASSERT_EQ(session_.ScreenLines().find("1013mB") != std::string::npos, true);
  }
  void Passes(int count) {
    for (int i = 0; i < count; ++i) session_.Step();
  }
  Lesson Read(const std::string& steps) {
    LessonReadResult read = ParseLesson(std::string(kHead) + steps, "t.lesson", ".");
    EXPECT_TRUE(read.ok) << read.error;
    return std::move(read.lesson);
  }

  PanelSession session_{*this};
};

// The first check holds from the start: the step still waits for a hand.
TEST_F(LessonRunTest, AStepPassesOnlyAfterAnInputAndThePassThatShowsIt) {
  const Lesson lesson = Read(
      "step Look.\nhint H.\ncontrol knob\ncheck expect currentScreen MainScreen\n"
      "step Menu.\nhint H.\ncontrol knob\ncheck expect currentScreen MainMenuScreen\n"
      "check expect-text EXIT\n");
  LessonRun run(lesson, session_);
  Passes(20);
  session_.inputs().TimerTick();                                  // the clock is nobody's hand
  session_.inputs().MoveSlider(SliderKind::Altitude, 900, true);  // nor is a flight
  Passes(20);
  EXPECT_EQ(run.StepsPassed(), 0u);

  session_.inputs().ClickKey(KeyClockwise);
  Passes(1);
  EXPECT_EQ(run.StepsPassed(), 1u);

  session_.inputs().ClickKey(KeyPress);
  EXPECT_FALSE(run.Check());
  Passes(1);  // the main display takes the key...
  EXPECT_EQ(run.StepsPassed(), 1u);
  Passes(1);  // ...and the menu is drawn
  EXPECT_TRUE(run.Done());
  EXPECT_EQ(run.Current(), nullptr);
}

// Turning the wrong way never sets QNH 1014; the hint comes with the
// fourth input on the step, not before, and the run never moved anything.
TEST_F(LessonRunTest, AWrongPathLeavesItUnfinishedWithTheHintDue) {
  const Lesson lesson = Read(kStep);
  LessonRun run(lesson, session_);
  for (std::uint32_t i = 1; i <= LessonRun::kInputsBeforeHint; ++i) {
    EXPECT_FALSE(run.HintDue()) << i;
    session_.inputs().ClickKey(KeyAntiClockwise);
    Passes(2);
  }
  EXPECT_FALSE(run.Done());
  EXPECT_TRUE(run.HintDue());
  EXPECT_EQ(run.Current()->hint, "Like so.");
  EXPECT_EQ(run.Current()->control, PanelControl::Knob);
  EXPECT_EQ(run.WhatIsMissing(), "expect qnh: expected 1014250, actual 1009250");
}

}  // namespace
}  // namespace kvr9
