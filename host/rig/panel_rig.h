// The panel rig: the one thing a front end holds. It owns the panel
// session and, above it, the flight on the bar, stand mode, the lesson
// being followed and the snapshots of all of it, so that each rule is
// written here once and the window, the page and the driver are views:
// inputs go in as the form's controls work them, one Step runs the work
// between two passes in one order and then the pass, and the RigView hears
// what changed.
//
// Between two passes, in this order: stand mode's next move, then the
// flight's (either may ask for "ON", which is clicked then, as a person
// would), then the pass. The first pass of a power-on runs at once when
// "ON" is clicked, without that work before it.
//
// One clock: a flight's timer ticks follow the log's own time, at every
// speed, so while a flight plays in the main loop the front end's own
// 100 ms ticks are not the instrument's; with no flight playing, they are.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/instrument.h"
#include "host/flights/flight_control.h"
#include "host/flights/stand_mode.h"
#include "host/lessons/lesson.h"
#include "host/lessons/lesson_run.h"
#include "host/panel/panel_session.h"
#include "host/snapshot/snapshot.h"

namespace kvr9 {

// What a front end shows of its rig: the session's view, and what the rig
// moves by itself. Each call says what changed.
class RigView : public PanelView {
 public:
  // The instrument started (its timer is to run) or stopped.
  virtual void ShowRunning(bool /*on*/) {}
  // A slider put by the rig (a flight, stand mode, a snapshot), not a hand:
  // the control follows without telling the rig again.
  virtual void ShowSlider(SliderKind /*slider*/, std::int32_t /*position*/) {}
  // A box set by a snapshot.
  virtual void ShowBox(BoxKind /*box*/, bool /*checked*/) {}
  // The communication window as a snapshot has it.
  virtual void ShowCommWindow(const CommLines::Memory& /*lines*/) {}
  // The flight bar may show something else: read Flight().
  virtual void ShowFlight() {}
  // Stand mode's caption; empty once it does not run.
  virtual void ShowStandCaption(const char* /*caption*/) {}
  // The lesson followed may show something else: read LessonPanel().
  virtual void ShowLesson() {}
};

// What a lessons panel shows, in the words both front ends use.
struct LessonPanelText {
  bool following = false;
  std::string title;     // "Choose a lesson" while none is followed
  std::string stepLine;  // "Step 2 of 7", "All 7 steps done"
  std::string words;     // what to do now
  std::string hint;      // "Hint: ..."
  bool hintShown = false;
  std::string doneLine;                 // "Done: step 1 of 7.", "Done: the lesson is finished."
  const char* offWords = nullptr;       // why the LED is lit while off; nullptr while on
  std::optional<PanelControl> control;  // to mark on the panel
  std::size_t passed = 0;
  std::size_t steps = 0;
};

// What became of a snapshot's flight when it was set.
struct SetFlight {
  bool tookUp = false;  // flying on from the snapshot's moment
  bool demo = false;
  // A log the person must open again to fly on; empty otherwise.
  std::string awaitedLog;
};

class PanelRig {
 public:
  explicit PanelRig(RigView& view);
  // Over an instrument someone else keeps (the window's tests look into it).
  PanelRig(RigView& view, Instrument& instrument);
  PanelRig(const PanelRig&) = delete;
  PanelRig& operator=(const PanelRig&) = delete;
  ~PanelRig();

  PanelSession& session() { return session_; }
  const PanelSession& session() const { return session_; }
  const Instrument& instrument() const { return session_.instrument(); }
  bool IsOn() const { return session_.IsOn(); }

  // --- The form's controls.
  // "ON": switched off, the power cycle starts and its first pass runs at
  // once; on, the next pass starts it over. Whether a pass ran.
  bool PressOn();
  void PressOff();
  void ClickKey(KeyEvent key);
  // A control of the form by its name (Button1 "ON", Button2 "OFF", a key's
  // button or click area); false for one that is none of these.
  bool ClickControl(std::string_view name);
  // A hand on a slider: a flight playing pauses.
  void MoveSlider(SliderKind slider, std::int32_t position);
  void SetBox(BoxKind box, bool checked);
  // The front end's 100 ms timer; dropped while a flight plays, whose
  // ticks follow its log. While off, the lesson followed looks again.
  void TimerTick();

  // One pass with the work before it; whether the instrument is still on.
  // Nothing while off.
  bool Step();
  // Switches off at the first chance and runs passes until off.
  void RunUntilOff();

  // --- The flight bar.
  FlightStatus Flight() const { return flight_.Status(); }
  bool FlightOpen() const { return flight_.Open(); }
  bool FlightPlaying() const { return flight_.Playing(); }
  // The demo on the bar, at its start, paused. put: the sliders go there at
  // once; otherwise they stay until the flight first moves them.
  void UseDemoFlight(bool putSliders = true);
  // A log's text; its name chooses the reader (.igc, .csv). A log an
  // opened snapshot was flying goes on from the snapshot's moment. False,
  // the bar saying why, when it cannot be read.
  bool OpenFlightLog(std::string name, std::string_view text);
  // A log that could not even be read as text.
  void RefuseFlightLog(std::string message);
  // The bar's first button: "Fly" while off switches on and plays; while
  // on it plays or pauses.
  void FlyOrPlayPause();
  void PlayFlight(bool playing);
  void SetFlightSpeed(std::uint32_t speedUp);
  // A moment, seconds from the start, clipped to the log.
  void MoveFlightTo(double secondsFromStart);
  void CloseFlight();

  // --- Stand mode.
  // The tour from its start (switched on afresh); a lesson followed closes.
  void StartStand();
  // A visitor's input: the instrument is theirs as it stands.
  void EndStand();
  bool StandActive() const { return stand_.Active(); }
  const char* StandCaption() const { return stand_.Caption(); }

  // --- Lessons.
  // Follows a lesson from where it starts (its snapshot, switched off at
  // the defaults, or switched on afresh); the first lesson keeps the
  // instrument as it found it. The rig keeps its own copy.
  void FollowLesson(const Lesson& lesson);
  // Ends the lesson followed and gives back the instrument, with its flight
  // and its record, as the first lesson found it. Whether it gave it back.
  bool CloseLessons();
  const LessonRun* FollowedLesson() const { return lessonRun_.get(); }
  // The same, for a judge that asks it what is missing.
  LessonRun* FollowedLesson() { return lessonRun_.get(); }
  bool InLessons() const { return beforeLessons_.has_value(); }
  void AskForHint();
  LessonPanelText LessonPanel();
  // Stops following the lesson (back to the list); the instrument stays as
  // it is until CloseLessons gives it back.
  void LeaveLesson();

  // --- Snapshots: the whole panel with its flight.
  Snapshot Capture() const;
  // While lessons have it, the instrument as the first lesson found it;
  // otherwise Capture(). What a device keeps across visits.
  Snapshot Kept() const;
  // The record that goes with Kept().
  std::string KeptRecord() const;
  // Sets it all; the view hears of the controls, the flight bar and
  // whether it runs. A flight on a log not open waits for the person to
  // open that log again.
  SetFlight Apply(const Snapshot& snapshot);
  // A flight an opened snapshot was flying on a log not yet open again.
  const std::optional<SnapshotFlight>& AwaitedFlight() const { return awaitedFlight_; }
  // Kept() with KeptRecord() as this build's image, for a device to keep or
  // another program of the same build to go on with.
  std::string KeptImage() const;
  // Sets an image back as Apply does, its record going on as it was;
  // nothing for bytes that are no image of this build's (nothing changes).
  std::optional<SetFlight> ApplyImage(std::string_view image);
  // The instrument readings are worked out with: the running one, or while
  // off the settings "ON" loads.
  const Instrument& ReadingsWith() const { return flight_.FlownWith(); }

 private:
  void PutSliders(const FlightPass& pass, bool jump);
  void SwitchedOff();
  void ShowStand();
  SetFlight TakeUpFlight(const SnapshotFlight& flight, const FlightProfile* profile);
  void StartLessonRun(bool restartUnderWay);

  RigView& view_;
  PanelSession session_;
  PanelInputs& inputs_ = session_.inputs();
  FlightControl flight_;
  StandMode stand_{flight_, inputs_};
  bool sliderPutsAllowed_ = true;
  bool flyingDemo_ = false;  // the bar holds the built-in demo, not a log
  std::optional<SnapshotFlight> awaitedFlight_;
  const char* shownCaption_ = "";

  struct BeforeLessons {
    Snapshot snapshot;
    FlightProfile profile;  // the flight's, when the snapshot has one
    std::string record;
  };
  std::optional<BeforeLessons> beforeLessons_;
  std::unique_ptr<Lesson> lesson_;
  // Made, checked and ended through functions set when a lesson is first
  // followed, so a front end that never follows one (the page's small
  // program) does not carry the lessons' checks.
  using EndLessonRun = void (*)(LessonRun*);
  std::unique_ptr<LessonRun, EndLessonRun> lessonRun_{nullptr, nullptr};  // ends before its lesson
  void (*checkLesson_)(LessonRun&) = nullptr;
  bool hintAsked_ = false;
  std::size_t shownPassed_ = 0;
};

}  // namespace kvr9
