// The panel's records of a session: the steps the window writes out as a
// scenario, and the communication window's line cap.
#include "host/panel/session_record.h"

#include <gtest/gtest.h>

#include <string>

#include "host/panel/comm_lines.h"
#include "host/panel/panel_session.h"

namespace kvr9 {
namespace {

// Within one pass only where each slider ends up matters; each slider keeps
// a step of its own; the timer's ticks are counted in one.
TEST(SessionRecordSteps, EachSliderKeepsItsLastPositionOfThePassTicksAreCounted) {
  const struct {
    const char* name;
    void (*moves)(SessionRecord&);
    const char* steps;
  } rows[] = {
      {"one slider, moved twice",
       [](SessionRecord& r) {
         r.SliderMoved(SliderKind::Altitude, 100);
         r.SliderMoved(SliderKind::Altitude, 200);
       },
       "slider altitude 200\n"},
      {"both sliders",
       [](SessionRecord& r) {
         r.SliderMoved(SliderKind::Altitude, 100);
         r.SliderMoved(SliderKind::Airspeed, 300);
         r.SliderMoved(SliderKind::Airspeed, 400);
       },
       "slider altitude 100\nslider airspeed 400\n"},
      {"timer ticks, counted",
       [](SessionRecord& r) {
         r.TimerTicked();
         r.TimerTicked();
       },
       "tick 2\n"},
  };
  for (const auto& row : rows) {
    SessionRecord record;
    row.moves(record);
    EXPECT_EQ(record.AsScenario(""), row.steps) << row.name;
  }
}

// The events after a pass are closed before the next pass: an "ON" while
// running comes in the record just before the pass that restarts.
TEST(SessionRecordRestart, OnWhileRunningComesBeforeThePassThatRestarts) {
  class NoView : public PanelView {
    void ShowFrame(const FrameBuffer&, bool) override {}
  } view;
  PanelSession session(view);
  session.PressOn();
  for (int pass = 0; pass < 3; ++pass) session.Step();
  session.PressOn();
  for (int pass = 0; pass < 3; ++pass) session.Step();
  EXPECT_EQ(session.record().AsScenario(""), "on\npass 2\non\npass 2\n");
}

// The window keeps its last 1000 lines: the oldest goes with the 1001st.
// A record handed to another program goes on as itself; bytes that are no
// record change nothing.
TEST(SessionRecordBytes, GoOnAsTheRecordOrChangeNothing) {
  SessionRecord record;
  record.PowerOnClicked(false);
  record.EventsBegin();
  record.KeyClicked(KeyClockwise, true);
  record.SliderMoved(SliderKind::Airspeed, 1234);
  record.EventsEnd();
  const std::string bytes = record.Bytes();
  SessionRecord copy;
  ASSERT_TRUE(copy.SetFromBytes(bytes));
  EXPECT_EQ(copy.AsScenario(""), record.AsScenario(""));
  const auto changed = [&bytes](std::size_t at, char to) {
    std::string bad = bytes;
    bad[at] = to;
    return bad;
  };
  const std::string kBad[] = {
      "",
      bytes.substr(0, bytes.size() - 1),
      changed(0, 2),      // a flag that is no bool
      changed(3, 9),      // a step of no kind
      changed(3 + 2, 7),  // a step's flag that is no bool
  };
  for (const std::string& bad : kBad) {
    SessionRecord kept = copy;
    EXPECT_FALSE(kept.SetFromBytes(bad)) << bad.size();
    EXPECT_EQ(kept.AsScenario(""), record.AsScenario(""));
  }
}

TEST(CommLinesCap, TheThousandAndFirstLineDropsTheOldest) {
  CommLines lines;
  for (std::size_t i = 1; i <= CommLines::kMostLines; ++i) {
    ASSERT_FALSE(lines.Append(std::to_string(i)).dropOldest) << i;
  }
  EXPECT_EQ(lines.lines(), 1000u);
  EXPECT_TRUE(lines.Append("1001").dropOldest);
  EXPECT_EQ(lines.lines(), 1000u);
}

}  // namespace
}  // namespace kvr9
