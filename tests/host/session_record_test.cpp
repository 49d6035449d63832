// The panel's records of a session: the steps the window writes out as a
// scenario, and the communication window's line cap.
#include "host/panel/session_record.h"

#include <gtest/gtest.h>

#include <string>

#include "host/panel/comm_lines.h"

namespace kvr9 {
namespace {

// Within one pass only where each slider ends up matters; each slider keeps
// a step of its own.
TEST(SessionRecordSliders, EachSliderKeepsItsLastPositionOfThePass) {
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
  };
  for (const auto& row : rows) {
    SessionRecord record;
    row.moves(record);
    EXPECT_EQ(record.AsScenario(""), row.steps) << row.name;
  }
}

// The window keeps its last 1000 lines: the oldest goes with the 1001st.
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
