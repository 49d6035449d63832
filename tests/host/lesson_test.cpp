// Lessons: what their reader refuses, one row a kind of fault, and how a
// run follows the person's hands on a live session.
#include "host/lessons/lesson.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "host/lessons/lesson_run.h"
#include "host/panel/panel_session.h"
#include "host/rig/panel_rig.h"
#include "host/scenario/executor.h"
#include "host/snapshot/snapshot_json.h"
#include "screens/screens.h"

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
      {std::string("title T\nstart snapshot a.json\n") + kStep, 2, "the snapshot ./a.json: "},
      {std::string("title T\nstart snapshot /dev/null\n") + kStep, 2, "the snapshot /dev/null: "},
      {std::string("title T\nstart snapshot\n") + kStep, 2, "needs the snapshot's file"},
      {std::string("title T\nstart cold\n") + kStep, 2, "unknown start 'cold'"},
      {std::string(kHead), 2, "no steps"},
      {std::string(kHead) + "hint Like so.\n" + kStep, 3, "'hint' before the first step"},
      {std::string(kHead) + "step Do it.\ncontrol knob\ncheck expect qnh 1014250\n", 3,
       "no hint line"},
      {std::string(kHead) + "step Do it.\nhint H.\ncheck expect qnh 1014250\nstep B\n", 3,
       "no control line"},
      {std::string(kHead) + "step Do it.\nhint H.\ncontrol F1\n", 3, "no check line"},
      {std::string(kHead) + kStep + "hint Again.\n", 7, "a second hint"},
      {std::string(kHead) + "step Do it.\nhint H.\nhint Again.\ncontrol knob\n", 5,
       "a second hint"},
      {std::string(kHead) + "step Do it.\nhint H.\ncontrol Knobb\n", 5, "did you mean knob?"},
      {std::string(kHead) + kStep + "check pass 10\n", 7, "not 'pass'"},
      {std::string(kHead) + kStep + "check expect qhn 1014250\n", 7, "unknown field 'qhn'"},
      {std::string(kHead) + kStep + "check expect-text /(/\n", 7, "not a regular expression"},
      {std::string(kHead) + "step\n", 3, "'step' needs a text"},
      {std::string(kHead) + "step Do \x1b[2J it.\n", 3, "a control character"},
      {std::string(kHead) + "step Caf\xc3 it.\n", 3, "not UTF-8"},
      // The snapshot inside the lesson: its section ends the file, and its
      // JSON's faults name the lesson's own lines.
      {std::string("title T\nstart snapshot inline\n") + kStep, 2, "does not end with a snapshot"},
      {std::string(kHead) + kStep + "snapshot\n{}\n", 7, "does not start with 'start snapshot"},
      {std::string("title T\nstart snapshot inline\n") + kStep + "snapshot now\n", 7,
       "stands alone"},
      {std::string("title T\nstart snapshot inline\n") + kStep + "snapshot\n \n", 7, "is empty"},
      {std::string("title T\nstart snapshot inline\n") + kStep + "snapshot\n{\n]\n", 7,
       "the snapshot: not a snapshot: parse error at line 9"},
      {std::string("title T\nstart snapshot inline\n") + kStep +
           "snapshot\n{\"format\": \"kvr9-snapshot\", \"version\": 1}\n",
       7, "the snapshot: power: is missing"},
      {std::string("title T\nstart snapshot inline\n") + kStep +
           "snapshot\n{\"format\": \"kvr9-snapshot\", \"version\": 1, \"a\\nb\": 1}\n",
       7, "the snapshot: a\\x0ab: is not a field"},
      {std::string("title T\nstart snapshot inline\n") + kStep + "snapshot\n" +
           std::string(kLargestLessonBytes, ' ') + "{}\n",
       7, "the snapshot: larger than 65536 bytes"},
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
// (A step's lines come in any order.)
TEST_F(LessonRunTest, AStepPassesOnlyAfterAnInputAndThePassThatShowsIt) {
  const Lesson lesson = Read(
      "step Look.\nhint H.\ncontrol knob\ncheck expect currentScreen MainScreen\n"
      "step Menu.\ncontrol knob\nhint H.\ncheck expect currentScreen MainMenuScreen\n"
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

// The hint shows by itself only when the person seems stuck. Working
// towards the step, however many clicks it takes and whichever way they
// turn, brings none; an input after which fewer of the step's checks hold,
// from the first in order, than held before leads away and brings it, and
// it stays. The run never moved anything.
TEST_F(LessonRunTest, TheHintComesWhenAnInputLeadsAwayNotForClicksOnTheWay) {
  const Lesson lesson = Read(
      "step QNH 1020.\nhint Like so.\ncontrol knob\ncheck expect currentScreen MainScreen\n"
      "check expect qnh 1020250\n");
  const struct {
    std::vector<KeyEvent> keys;
    bool hintDue;
  } rows[] = {
      {{KeyClockwise, KeyClockwise, KeyClockwise, KeyClockwise, KeyClockwise, KeyClockwise,
        KeyAntiClockwise, KeyAntiClockwise, KeyClockwise},
       false},
      {{KeyClockwise, KeyPress}, true},            // the menu takes the main display away
      {{KeyPress, KeyPress, KeyClockwise}, true},  // and back: the hint stays
  };
  for (const auto& row : rows) {
    session_.instrument().state.settings.qnh = 1013250;
    LessonRun run(lesson, session_);
    for (KeyEvent key : row.keys) {
      session_.inputs().ClickKey(key);
      Passes(2);
    }
    EXPECT_FALSE(run.Done());
    EXPECT_EQ(run.HintDue(), row.hintDue) << row.keys.size();
    EXPECT_EQ(run.Current()->hint, "Like so.");
    EXPECT_EQ(run.Current()->control, PanelControl::Knob);
    if (session_.instrument().state.ui.currentScreen != MainScreen) {
      session_.inputs().ClickKey(KeyPress);  // back to the main display for the next row
      Passes(2);
    }
  }
  EXPECT_EQ(session_.instrument().state.settings.qnh, 1013250u + 1000u);
}

// What the built-in lessons say the LCD shows, where it once said
// otherwise.
TEST(BuiltInLessons, SayWhatTheLcdShows) {
  const struct {
    const char* file;
    std::size_t step;  // from 1
    const char* says;
    const char* never;
  } rows[] = {
      {"03-airspeed-unit", 6, "comes back at \"AIRSPEED SETUP\"", "press it again on"},
      {"04-qnh-altitude-unit", 7, "comes back at \"ALTITUDE SETUP\"", "press it again on"},
      {"05-alarms", 7, "comes back at \"AIRSPEED SETUP\"", "then press it on"},
      {"06-takeoff-detection", 5, "comes back at \"FLIGHT LOG\"", "then press it on"},
      {"10-contrast-backlight", 6, "comes back at \"DISPLAY SETUP\"", "then press it on"},
      {"10-contrast-backlight", 4, "Only the bar moves", "darker"},
  };
  for (const auto& row : rows) {
    const LessonReadResult read = ReadLessonFile(std::filesystem::path(KVR9_LESSONS_DIR) /
                                                 (std::string(row.file) + ".lesson"));
    ASSERT_TRUE(read.ok) << read.error;
    ASSERT_GE(read.lesson.steps.size(), row.step) << row.file;
    const std::string& words = read.lesson.steps[row.step - 1].words;
    EXPECT_NE(words.find(row.says), std::string::npos) << row.file << ": " << words;
    EXPECT_EQ(words.find(row.never), std::string::npos) << row.file << ": " << words;
  }
}

// With no input at all the hint comes with the 600th pass on a step, and
// each step counts its own passes.
TEST_F(LessonRunTest, TheHintComesAfterAMinuteOnAStep) {
  const Lesson lesson =
      Read(std::string(kStep) + "step Again.\nhint H.\ncontrol knob\ncheck expect qnh 1015250\n");
  LessonRun run(lesson, session_);
  for (int step = 0; step < 2; ++step) {
    Passes(LessonRun::kPassesBeforeHint - 1);
    EXPECT_FALSE(run.HintDue()) << step;
    Passes(1);
    EXPECT_TRUE(run.HintDue()) << step;
    session_.inputs().ClickKey(KeyClockwise);
    Passes(1);
    EXPECT_EQ(run.StepsPassed(), static_cast<std::size_t>(step) + 1);
    EXPECT_FALSE(run.HintDue()) << step;
  }
}

// Where a lesson starts, from a session on the main display with a setting
// changed: one from the defaults that asks for "ON" first switches it off
// as a fresh one, every setting at its default and nothing shown; any other
// from the defaults is the front end's "ON"; one from a snapshot (a file
// found from the lesson's folder, or inside the lesson) is that snapshot, its
// flight left out, whatever its first step asks.
// A lesson handed over as text, as the page does, with the snapshot its
// start names picked beside it or missing.
TEST_F(LessonRunTest, LessonTextRefusesWithTheLineAndNamesTheSnapshotItWants) {
  const std::string lesson =
      std::string("title T\n# from the menu\nstart snapshot menu.json\n") + kStep;
  // A snapshot as large as its reader takes: with the lesson, past the cap.
  std::string largest = WriteSnapshot(CaptureSnapshot(session_));
  largest.resize(kLargestSnapshotBytes, ' ');
  const struct {
    std::string text;
    std::string snapshot;
    const char* wanted;
    const char* says;
  } rows[] = {
      {lesson, "", "menu.json", "t.lesson:3: it starts from the snapshot 'menu.json'"},
      {lesson, "{\n]", "", "t.lesson:3: the snapshot menu.json: not a snapshot"},
      {lesson, std::string(kLargestLessonBytes, ' ') + "{}", "",
       "t.lesson:3: the snapshot menu.json: larger than"},
      {lesson, largest, "", "t.lesson: with its snapshot larger than 65536"},
      {lesson + std::string(kLargestLessonBytes, '#'), "{}", "", "t.lesson: larger than 65536"},
      {std::string(kHead) + "step S.\n", "{}", "", "t.lesson:3: the step has no hint"},
  };
  for (const auto& row : rows) {
    const LessonTextOpened opened = OpenLessonText(row.text, row.snapshot, "t.lesson");
    EXPECT_FALSE(opened.read.ok) << row.says;
    EXPECT_EQ(opened.read.error.rfind(row.says, 0), 0u) << opened.read.error;
    EXPECT_EQ(opened.snapshotWanted, row.wanted) << row.says;
    EXPECT_TRUE(opened.text.empty()) << row.says;
  }
}

TEST_F(LessonRunTest, StartsWhereTheLessonSays) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("kvr9_start_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  session_.inputs().ClickKey(KeyPress);
  Passes(2);
  Snapshot menu = CaptureSnapshot(session_);
  ASSERT_EQ(session_.instrument().state.ui.currentScreen, MainMenuScreen);
  menu.flight = SnapshotFlight{"demo", 0, 60, 10, 1, 5, 5, true};
  std::string problem;
  ASSERT_TRUE(WriteSnapshotFile(menu, (dir / "menu.json").string(), problem)) << problem;
  const Snapshot withFlight = menu;
  menu.flight.reset();
  session_.instrument().state.settings.qnh = 1020000;
  session_.inputs().MoveSlider(SliderKind::Altitude, 900);
  session_.inputs().MoveSlider(SliderKind::Airspeed, 700);

  const std::string on = "step S.\nhint H.\ncontrol ON\ncheck expect currentScreen MainScreen\n";
  const struct {
    const char* start;
    std::string steps;
    bool switchedOff;
    bool fromSnapshot;
    std::string picked = {};  // the snapshot's text, handed over with the lesson as the page does
  } rows[] = {
      {"defaults", on + kStep, true, false},
      {"defaults", kStep + on, false, false},
      {"snapshot menu.json", on + kStep, false, true},
      {"snapshot inline", on + kStep + "snapshot\n" + WriteSnapshot(withFlight), false, true},
      {"snapshot elsewhere.json", on + kStep, false, true, WriteSnapshot(withFlight)},
  };
  for (const auto& row : rows) {
    const std::string text = "title T\nstart " + std::string(row.start) + "\n" + row.steps;
    LessonReadResult read = ParseLesson(text, "t.lesson", dir);
    if (!row.picked.empty()) {
      // What is kept and shared reads alone, its snapshot inside.
      const LessonTextOpened opened = OpenLessonText(text, row.picked, "t.lesson");
      ASSERT_TRUE(opened.read.ok) << opened.read.error;
      read = ParseLesson(opened.text, "t.lesson", {});
    }
    ASSERT_TRUE(read.ok) << read.error;
    EXPECT_EQ(StartsSwitchedOff(read.lesson), row.switchedOff) << row.start;
    const std::optional<Snapshot> from = LessonStartingPoint(read.lesson, session_);
    ASSERT_EQ(from.has_value(), row.switchedOff || row.fromSnapshot) << row.start;
    if (row.fromSnapshot) {
      EXPECT_TRUE(*from == menu);
    }
    if (!row.switchedOff) continue;
    EXPECT_FALSE(from->running);
    EXPECT_EQ(from->phase, PowerPhase::Off);
    EXPECT_EQ(from->state.settings.qnh, 1013250u);
    EXPECT_EQ(from->state.ui.currentScreen, nullptr);
    EXPECT_EQ(from->state.airData.altAdcRaw, 900);
    EXPECT_EQ(from->state.airData.asiAdcRaw, 700);
    EXPECT_TRUE(from->panel.shownFrame == FrameBuffer{});
  }
  std::filesystem::remove_all(dir);
}

struct QuietRigView : RigView {
  void ShowFrame(const FrameBuffer&, bool) override {}
};

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The way a person took through a lesson, written out as a scenario,
// finishes the lesson again and leaves the instrument and the panel exactly
// as they were: from off, switched on afresh from off and from running, and
// from a snapshot. The ways here are the solutions' own, followed on a rig.
// Switched on afresh from running, the highest altitude goes on from where
// the instrument had it (it keeps it across "ON"), and the communication
// window from what it held, which a way, starting from a fresh instrument,
// cannot know.
TEST(LessonWay, ReplaysAsTheWayItWasFollowed) {
  const std::filesystem::path builtIn = std::filesystem::path(KVR9_LESSONS_DIR) / "checks";
  const std::filesystem::path pinned = KVR9_TEST_LESSONS_DIR;
  // A lesson in a folder and under a name a scenario's words cannot hold.
  const std::filesystem::path odd = std::filesystem::temp_directory_path() /
                                    ("kvr9 way #" + std::to_string(::getpid())) /
                                    "switching on.lesson";
  std::filesystem::create_directories(odd.parent_path());
  std::filesystem::copy_file(std::filesystem::path(KVR9_LESSONS_DIR) / "01-switching-on.lesson",
                             odd, std::filesystem::copy_options::overwrite_existing);
  const struct {
    std::filesystem::path solution;
    std::string lesson;
    bool fromItsLessonStep;  // leave out what the solution does before it
    bool keptAcrossOn;       // started over from running
    const char* steps;       // the way's steps, where the solution's are as they are recorded
  } rows[] = {
      {builtIn / "01-switching-on.solution.scn", "../01-switching-on.lesson", false, false, ""},
      {builtIn / "05-alarms.solution.scn", "../05-alarms.lesson", false, false, ""},
      {builtIn / "07-manual-flight.solution.scn", "../07-manual-flight.lesson", false, false, ""},
      {pinned / "menu-switched-on.solution.scn", "menu-switched-on.lesson", false, true,
       "lesson menu-switched-on.lesson\npass 80\nkey press\npass 2\n"},
      {pinned / "menu-switched-on.solution.scn", "menu-switched-on.lesson", true, false,
       "lesson menu-switched-on.lesson\npass 80\nkey press\npass 2\n"},
      {pinned / "out-of-menu.solution.scn", "out-of-menu.lesson", false, false, ""},
      {builtIn / "01-switching-on.solution.scn", odd.string(), false, false, ""},
  };
  for (const auto& row : rows) {
    std::string text = ReadText(row.solution);
    if (row.fromItsLessonStep) text = text.substr(text.find("\nlesson ") + 1);
    const auto run = [&](const std::string& steps, PanelRig& rig, std::string& out) {
      const ParseOutcome parsed =
          ParseScenario(steps, row.solution.string(), row.solution.parent_path());
      EXPECT_TRUE(parsed.ok) << parsed.error;
      std::ostringstream said;
      std::ostringstream err;
      const ExitStatus status = ScenarioExecutor(parsed.scenario, rig, said, err).Run();
      out = said.str();
      return status;
    };
    QuietRigView view;
    PanelRig followed(view);
    std::string out;
    ASSERT_EQ(run(text, followed, out), kExitPassed) << row.solution;
    ASSERT_NE(followed.FollowedLesson(), nullptr);
    const std::string way = followed.FollowedLesson()->WayAsScenario(row.lesson);
    if (*row.steps != '\0') {
      EXPECT_EQ(way.substr(way.find('\n') + 1), row.steps);
    }
    PanelRig replayed(view);
    EXPECT_EQ(run(way, replayed, out), kExitPassed) << way;
    EXPECT_NE(out.find("lesson finished"), std::string::npos) << row.solution << "\n" << out;
    Snapshot end = replayed.Capture();
    if (row.keptAcrossOn) {
      const Snapshot kept = followed.Capture();
      EXPECT_LT(end.state.airData.maxAltitude, kept.state.airData.maxAltitude);
      end.state.airData.maxAltitude = kept.state.airData.maxAltitude;
      end.panel.commLineCount = kept.panel.commLineCount;
      end.panel.commLines = kept.panel.commLines;
    }
    EXPECT_TRUE(end == followed.Capture()) << row.solution << "\n" << way;
  }
  std::filesystem::remove_all(odd.parent_path());
}

}  // namespace
}  // namespace kvr9
