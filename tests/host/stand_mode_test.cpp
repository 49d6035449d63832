// Stand mode's tour, played on the panel rig as every front end plays it:
// what a showroom visitor sees on the LCD in one loop, and that the next
// loop starts where the first did.
#include "host/flights/stand_mode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/rig/panel_rig.h"
#include "screens/screens.h"

namespace kvr9 {
namespace {

class NoView : public RigView {
  void ShowFrame(const FrameBuffer&, bool) override {}
};

// One pass as a front end's timer takes it on the rig: the pass, and the
// timer's tick that comes with each.
struct Seen {
  std::string caption;
  std::string lcd;
  bool led = false;
  ScreenHandler screen = nullptr;
};

struct OnCounter : PanelObserver {
  void PowerOnClicked(bool) override { ++ons; }
  void OffClicked() override {}
  void KeyClicked(KeyEvent, bool) override {}
  void SliderMoved(SliderKind, std::int32_t) override {}
  void BoxChanged(BoxKind, bool) override {}
  void TimerTicked() override {}
  void EventsBegin() override {}
  void EventsEnd() override {}
  int ons = 0;
};

struct Stand {
  NoView view;
  PanelRig rig{view};
  OnCounter counter;

  Stand() {
    rig.session().inputs().AddObserver(counter);
    rig.StartStand();
  }
  ~Stand() { rig.session().inputs().RemoveObserver(counter); }
  int ons() const { return counter.ons; }
  Seen Pass() {
    rig.Step();
    rig.TimerTick();  // the front ends' 100 ms timer
    return {rig.StandCaption(), rig.session().ScreenLines(), rig.session().LedLit(),
            rig.instrument().state.ui.currentScreen};
  }
};

// Each feature the tour shows, found on the LCD while a caption that names
// it is up; and again in the next loop, which starts afresh.
TEST(StandTour, ShowsEachFeatureWithItsCaptionInEveryLoop) {
  EXPECT_GT(StandTourPasses(), 60 * kDefaultPassesPerSecond);
  EXPECT_LT(StandTourPasses(), 120 * kDefaultPassesPerSecond);
  struct Row {
    const char* caption;  // a part of it
    const char* lcd;      // a part of the LCD's text
    int led;              // 1 lit at some pass, 0 at none, -1 either way
  };
  const Row rows[] = {
      {"Switching on", "KVR-9", -1},
      {"Taking off", "IAS", 0},
      {"Slowing down", "IAS", 0},
      {"Diving", "IAS", 1},
      {"F2 shows the flight", "FLIGHT TIME:", 0},
      {"opens the menu", "MAIN MENU", 0},
      {"MAX VALUES", "ASI: 84 mph", 0},  // the dive's
      {"AIRSPEED SETUP", "ASI SETUP", 0},
      {"mph to knots", "ASI UNIT: knots", 0},
      {"now reads", "knots", 0},
      {"sets the QNH", "1018mB", 0},
      {"back to 1013", "1013mB", 0},
  };
  Stand stand;
  for (int loop = 1; loop <= 2; ++loop) {
    std::vector<Seen> seen;
    for (std::uint32_t pass = 0; pass < StandTourPasses(); ++pass) seen.push_back(stand.Pass());
    EXPECT_EQ(stand.ons(), loop);
    for (const Row& row : rows) {
      bool captioned = false, shown = false, lit = false;
      for (const Seen& one : seen) {
        if (one.caption.find(row.caption) == std::string::npos) continue;
        captioned = true;
        shown = shown || one.lcd.find(row.lcd) != std::string::npos;
        lit = lit || one.led;
      }
      EXPECT_TRUE(captioned) << loop << ": " << row.caption;
      EXPECT_TRUE(shown) << loop << ": " << row.caption << ": " << row.lcd;
      if (row.led >= 0) {
        EXPECT_EQ(lit, row.led == 1) << loop << ": " << row.caption;
      }
    }
  }
}

// Ended, the tour stands still: no key, no flight, no "ON".
TEST(StandTour, EndedItMovesNothing) {
  Stand stand;
  for (int pass = 0; pass < 200; ++pass) stand.Pass();
  stand.rig.EndStand();
  EXPECT_FALSE(stand.rig.FlightPlaying());
  EXPECT_STREQ(stand.rig.StandCaption(), "");
  for (std::uint32_t pass = 0; pass < StandTourPasses(); ++pass) {
    ASSERT_EQ(stand.Pass().screen, &MainScreen) << pass;
  }
  EXPECT_EQ(stand.ons(), 1);
  EXPECT_FALSE(stand.rig.FlightPlaying());
}

}  // namespace
}  // namespace kvr9
