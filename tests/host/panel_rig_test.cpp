// The panel rig as every front end holds it: "ON" runs its first pass at
// once, the front end's timer is not a flight's clock, and a panel saved
// at any moment of a long session, with its flight, goes on exactly.
#include "host/rig/panel_rig.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "host/lessons/lesson.h"
#include "host/rig/rig_files.h"
#include "host/snapshot/snapshot_json.h"

namespace kvr9 {
namespace {

class HeardView : public RigView {
 public:
  void ShowFrame(const FrameBuffer&, bool) override { ++frames; }
  void ShowLed(bool lit) override { led = lit; }
  void ShowRunning(bool on) override { running = on; }
  void ShowSlider(SliderKind slider, std::int32_t position) override {
    sliders[static_cast<int>(slider)] = position;
  }
  int frames = 0;
  bool led = true;
  bool running = false;
  std::int32_t sliders[2] = {-1, -1};
};

class TickCounter : public PanelObserver {
 public:
  void PowerOnClicked(bool) override {}
  void OffClicked() override {}
  void KeyClicked(KeyEvent, bool) override {}
  void SliderMoved(SliderKind, std::int32_t) override {}
  void BoxChanged(BoxKind, bool) override {}
  void TimerTicked() override { ++ticks; }
  void EventsBegin() override {}
  void EventsEnd() override {}
  int ticks = 0;
};

TEST(PanelRig, OnRunsItsFirstPassAtOnceAndTheTimerFollowsTheInstrument) {
  HeardView view;
  PanelRig rig(view);
  EXPECT_FALSE(rig.Step()) << "no pass while off";
  EXPECT_TRUE(rig.PressOn());
  EXPECT_EQ(view.frames, 1);
  EXPECT_TRUE(view.running);
  EXPECT_FALSE(rig.PressOn()) << "while on, the next pass starts over";
  EXPECT_EQ(view.frames, 1);
  rig.RunUntilOff();
  EXPECT_FALSE(rig.IsOn());
  EXPECT_FALSE(view.running);
}

// The form's table names the control; ON and OFF are no keys.
TEST(PanelRig, ControlsAreClickedByTheFormsNames) {
  struct Row {
    const char* name;
    KeyEvent pending;
  };
  for (const Row& row : {Row{"Image3", KeyF1}, Row{"Image6", KeyF2}, Row{"Image5", KeyPress},
                         Row{"Button3", KeyClockwise}, Row{"Button4", KeyAntiClockwise}}) {
    HeardView view;
    PanelRig rig(view);
    EXPECT_TRUE(rig.ClickControl(row.name));
    EXPECT_EQ(rig.instrument().state.ui.pendingKey, row.pending) << row.name;
  }
  HeardView view;
  PanelRig rig(view);
  EXPECT_FALSE(rig.ClickControl("TrackBar1"));
  EXPECT_TRUE(rig.ClickControl("Button1"));
  EXPECT_TRUE(rig.IsOn());
}

// One clock: while a flight plays in the main loop its log's time ticks
// the instrument and the front end's timer does not; paused, the timer does.
TEST(PanelRig, TheFrontEndsTicksCountOnlyWhileNoFlightPlays) {
  struct Row {
    bool playing;
    int frontEndTicksCounted;
  };
  for (const Row& row : {Row{false, 300}, Row{true, 0}}) {
    HeardView view;
    PanelRig rig(view);
    rig.PressOn();
    for (int pass = 0; pass < 100; ++pass) rig.Step();
    rig.UseDemoFlight();
    rig.PlayFlight(row.playing);
    TickCounter counter;
    rig.session().inputs().AddObserver(counter);
    for (int pass = 0; pass < 300; ++pass) {
      rig.TimerTick();
      rig.Step();
    }
    const int flightTicks = row.playing ? 300 : 0;  // ten passes a second of the log at x1
    EXPECT_EQ(counter.ticks, row.frontEndTicksCounted + flightTicks) << row.playing;
    rig.session().inputs().RemoveObserver(counter);
  }
}

TEST(PanelRig, AHandOnASliderPausesTheFlight) {
  HeardView view;
  PanelRig rig(view);
  rig.UseDemoFlight();
  EXPECT_EQ(view.sliders[0], rig.instrument().state.airData.altAdcRaw) << "the view follows";
  rig.FlyOrPlayPause();
  EXPECT_TRUE(rig.IsOn());
  EXPECT_TRUE(rig.FlightPlaying());
  rig.MoveSlider(SliderKind::Altitude, 2000);
  EXPECT_FALSE(rig.FlightPlaying());
}

// A state whose flight is a log not open waits for the person to open it,
// then flies on from its moment; until then, saving again keeps it.
TEST(PanelRig, AStatesLogFliesOnOnceOpenedAgain) {
  const std::string log =
      "time(hh:mm:ss),altitude(ft),airspeed(mph)\n10:00:00,500,0\n10:01:00,900,80\n"
      "10:02:00,500,0\n";
  HeardView view;
  PanelRig rig(view);
  ASSERT_TRUE(rig.OpenFlightLog("hop.csv", log));
  rig.FlyOrPlayPause();
  for (int pass = 0; pass < 400; ++pass) rig.Step();
  const std::string saved = StateText(rig);
  for (int pass = 0; pass < 200; ++pass) rig.Step();

  HeardView otherView;
  PanelRig other(otherView);
  const OpenedState opened = OpenStateText(other, saved, "state.json");
  ASSERT_TRUE(opened.ok) << opened.error;
  EXPECT_EQ(opened.flight.awaitedLog, "hop.csv");
  EXPECT_EQ(StateText(other).find("hop.csv") != std::string::npos, true) << "kept when saved";
  ASSERT_TRUE(other.OpenFlightLog("hop.csv", log));
  EXPECT_TRUE(other.FlightPlaying());
  for (int pass = 0; pass < 200; ++pass) other.Step();
  EXPECT_EQ(other.instrument().state, rig.instrument().state);
  EXPECT_EQ(other.Flight().elapsedSeconds, rig.Flight().elapsedSeconds);
}

// The demo is the demo by its mark, not its name: a log called "demo" is
// the person's log.
TEST(PanelRig, AStatesFlightIsTheDemoByItsMarkNotItsName) {
  const std::string log =
      "time(hh:mm:ss),altitude(ft),airspeed(mph)\n10:00:00,500,0\n"
      "10:01:00,900,80\n";
  for (const bool demo : {true, false}) {
    HeardView view;
    PanelRig rig(view);
    if (demo) {
      rig.UseDemoFlight();
    } else {
      ASSERT_TRUE(rig.OpenFlightLog("demo", log));
    }
    HeardView otherView;
    PanelRig other(otherView);
    const OpenedState opened = OpenStateText(other, StateText(rig), "state.json");
    ASSERT_TRUE(opened.ok) << opened.error;
    EXPECT_EQ(opened.flight.demo, demo);
    EXPECT_EQ(opened.flight.awaitedLog, demo ? "" : "demo");
  }
}

TEST(PanelRig, ClosingTheLessonsGivesBackTheInstrumentWithItsFlightAndRecord) {
  HeardView view;
  PanelRig rig(view);
  rig.UseDemoFlight();
  rig.FlyOrPlayPause();
  for (int pass = 0; pass < 150; ++pass) rig.Step();
  const Snapshot before = rig.Capture();
  const std::string record = rig.session().record().Bytes();
  Lesson lesson;
  lesson.title = "Off and on";
  rig.FollowLesson(lesson);
  for (int pass = 0; pass < 30; ++pass) rig.Step();
  EXPECT_TRUE(rig.Kept() == before) << "a device keeps the instrument as the lesson found it";
  EXPECT_TRUE(rig.CloseLessons());
  EXPECT_TRUE(rig.Capture() == before);
  EXPECT_EQ(rig.session().record().Bytes(), record);
  EXPECT_TRUE(rig.FlightPlaying());
}

// What a person does with the rig before one pass.
struct RigInput {
  enum class What : std::uint8_t {
    Key,
    Slider,
    Box,
    Tick,
    On,
    Off,
    Demo,
    Fly,
    Play,
    Pause,
    Speed,
    MoveTo,
    Close,
    Stand,
    EndStand
  };
  What what;
  std::uint32_t a = 0;
  std::uint32_t b = 0;
};

std::vector<std::vector<RigInput>> RandomRigInputs(std::mt19937& random, std::size_t passes) {
  const auto below = [&](std::uint32_t n) {
    return std::uniform_int_distribution<std::uint32_t>(0, n - 1)(random);
  };
  using W = RigInput::What;
  std::vector<std::vector<RigInput>> script(passes);
  script[below(4)].push_back({W::On});
  for (std::vector<RigInput>& pass : script) {
    // Most passes go by untouched; the front end's timer ticks every one.
    pass.push_back({W::Tick});
    if (below(4) != 0) continue;
    const std::uint32_t roll = below(400);
    if (roll < 200) {
      pass.push_back({W::Key, 1 + below(5)});
    } else if (roll < 205) {
      pass.push_back({W::Slider, below(2), below(4097)});
    } else if (roll < 225) {
      pass.push_back({W::Box, below(2), below(2)});
    } else if (roll < 233) {
      pass.push_back({W::On});
    } else if (roll < 237) {
      pass.push_back({W::Off});
    } else if (roll < 250) {
      pass.push_back({W::Demo});
    } else if (roll < 280) {
      pass.push_back({W::Fly});
    } else if (roll < 340) {
      pass.push_back({W::Play});
    } else if (roll < 345) {
      pass.push_back({W::Pause});
    } else if (roll < 370) {
      pass.push_back({W::Speed, below(4)});
    } else if (roll < 390) {
      pass.push_back({W::MoveTo, below(600)});
    } else if (roll < 393) {
      pass.push_back({W::Close});
    } else if (roll < 397) {
      pass.push_back({W::Stand});
    } else {
      pass.push_back({W::EndStand});
    }
  }
  return script;
}

// A front end's hands on the rig, and one pass.
struct RigFront {
  HeardView view;
  PanelRig rig{view};

  void Apply(const std::vector<RigInput>& inputs) {
    constexpr std::uint32_t kSpeeds[] = {1, 4, 16, 64};
    for (const RigInput& input : inputs) {
      using W = RigInput::What;
      switch (input.what) {
        case W::Key:
          rig.ClickKey(static_cast<KeyEvent>(input.a));
          break;
        case W::Slider:
          rig.MoveSlider(static_cast<SliderKind>(input.a), static_cast<std::int32_t>(input.b));
          break;
        case W::Box:
          rig.SetBox(static_cast<BoxKind>(input.a), input.b != 0);
          break;
        case W::Tick:
          rig.TimerTick();
          break;
        case W::On:
          rig.PressOn();
          break;
        case W::Off:
          rig.PressOff();
          break;
        case W::Demo:
          rig.UseDemoFlight();
          break;
        case W::Fly:
          rig.FlyOrPlayPause();
          break;
        case W::Play:
          rig.PlayFlight(true);
          break;
        case W::Pause:
          rig.PlayFlight(false);
          break;
        case W::Speed:
          rig.SetFlightSpeed(kSpeeds[input.a]);
          break;
        case W::MoveTo:
          rig.MoveFlightTo(input.a);
          break;
        case W::Close:
          rig.CloseFlight();
          break;
        case W::Stand:
          rig.StartStand();
          break;
        case W::EndStand:
          rig.EndStand();
          break;
      }
    }
    rig.Step();
  }

  bool SeesAs(const RigFront& other) const {
    const FlightStatus flight = rig.Flight();
    const FlightStatus otherFlight = other.rig.Flight();
    return rig.instrument().state == other.rig.instrument().state &&
           rig.session().ShownFrame() == other.rig.session().ShownFrame() &&
           view.led == other.view.led && rig.IsOn() == other.rig.IsOn() &&
           flight.open == otherFlight.open && flight.playing == otherFlight.playing &&
           flight.elapsedSeconds == otherFlight.elapsedSeconds && flight.speed == otherFlight.speed;
  }
};

// Twenty sessions of thousands of passes, each saved at random moments
// (read back inside a lesson too)
// (stand mode is a showroom's, not the instrument's: it ends before a
// save) and opened in a fresh rig, which goes on beside the whole session
// pass for pass.
TEST(PanelRig, LongSessionsSavedAtAnyMomentGoOnExactly) {
  constexpr std::size_t kSessions = 20;
  constexpr std::size_t kRunOn = 1000;
  std::size_t savedFlying = 0;
  for (std::size_t s = 0; s < kSessions; ++s) {
    std::mt19937 random(static_cast<std::uint32_t>(104729 * (s + 1)));
    const std::size_t passes = 1500 + 250 * s;
    std::vector<std::vector<RigInput>> script = RandomRigInputs(random, passes);
    const std::size_t save = std::uniform_int_distribution<std::size_t>(1, passes - kRunOn)(random);
    RigFront whole;
    std::unique_ptr<RigFront> copy;
    for (std::size_t pass = 0; pass < passes; ++pass) {
      if (pass == save) {
        if (whole.rig.StandActive()) whole.rig.EndStand();
        savedFlying += whole.rig.FlightPlaying() ? 1U : 0U;
        copy = std::make_unique<RigFront>();
        const std::string state = StateText(whole.rig);
        // The same moment picked for a lesson, as the page does, goes
        // inside it, and the lesson kept reads back alone with it.
        const LessonTextOpened picked = OpenLessonText(
            "title T\nstart snapshot state.json\nstep S.\nhint H.\ncontrol knob\n"
            "check expect qnh 1014250\n",
            state, "t.lesson");
        ASSERT_TRUE(picked.read.ok) << picked.read.error;
        const LessonReadResult lesson = ParseLesson(picked.text, "t.lesson", {});
        ASSERT_TRUE(lesson.ok) << lesson.error;
        Snapshot carried = ReadSnapshot(state, "state.json").snapshot;
        carried.flight.reset();  // a lesson takes the instrument, not the flight
        EXPECT_TRUE(lesson.lesson.snapshot == carried) << "session " << s;
        const OpenedState opened = OpenStateText(copy->rig, state, "state.json");
        ASSERT_TRUE(opened.ok) << opened.error;
        ASSERT_TRUE(copy->rig.Capture() == whole.rig.Capture()) << "session " << s;
      }
      whole.Apply(script[pass]);
      if (copy) {
        copy->Apply(script[pass]);
        ASSERT_TRUE(copy->SeesAs(whole))
            << "session " << s << ", saved at " << save << ", pass " << pass << " inputs " <<
            [&] {
              std::string t;
              for (const RigInput& i : script[pass])
                t += std::to_string(static_cast<int>(i.what)) + ":" + std::to_string(i.a) + " ";
              return t;
            }()
            << " phase " << static_cast<int>(whole.rig.instrument().phase) << "/"
            << static_cast<int>(copy->rig.instrument().phase) << " playing "
            << whole.rig.FlightPlaying() << copy->rig.FlightPlaying() << " open "
            << whole.rig.FlightOpen() << copy->rig.FlightOpen() << " at "
            << whole.rig.Flight().elapsedSeconds << "/" << copy->rig.Flight().elapsedSeconds
            << " state " << (whole.rig.instrument().state == copy->rig.instrument().state)
            << " speed " << whole.rig.Flight().speed << "/" << copy->rig.Flight().speed;
      }
    }
  }
  EXPECT_GT(savedFlying, 2U) << "the sessions are saved while flights play";
}

}  // namespace
}  // namespace kvr9
