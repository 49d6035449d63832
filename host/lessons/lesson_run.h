// A lesson followed on a live instrument: the engine behind the window's
// and the page's lessons panels and the driver's "lesson" step. It watches
// the session's inputs as the recorder does and looks at the instrument
// at the end of every pass; it never moves the instrument itself.
//
// A step passes when all its checks hold at the end of a pass after the
// person has used a control (ON, OFF, a key, a slider, a box) while it was
// the current step: a step whose checks already hold when it comes up
// still waits for the person's hand, so every step is done, not watched.
//
// The hint shows by itself only when the person seems stuck: a quiet
// minute on the step, or an input that leads away from it. How far the
// person has got is the number of the step's checks that hold, counted
// from its first in the order written up to the first that does not (the
// checks name what the person meets on the way: the screen, then the row,
// then the value kept). An input after which fewer hold than the most that
// held on this step leads away; working towards the step never does, so
// many clicks on the right way bring no hint.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/lessons/lesson.h"
#include "host/panel/panel_observer.h"
#include "host/panel/panel_session.h"
#include "host/panel/session_record.h"
#include "host/snapshot/snapshot.h"

namespace kvr9 {

// The instrument and the panel as a lesson starts from them, for a front
// end to set with ApplySnapshot before it makes the run: the lesson's
// snapshot; or, for a lesson that starts switched off, the instrument off
// as a fresh one is (nothing on the LCD, no screen), every setting at its
// default, with the panel's own controls (the sliders, the boxes) and its
// communication window as the session has them. Nothing for a lesson that
// starts switched on afresh: the front end clicks "ON" for it, and the
// power-on sets every setting to its default.
// What a lessons panel says while the instrument is off: the LED keeps the
// colour it had (bright red on a fresh instrument, before its first "ON"),
// and a person new to it should not take that for an alarm.
inline constexpr const char* kLessonOffWords =
    "The instrument is off, so the red LED means nothing now (it is lit before the first ON).";

std::optional<Snapshot> LessonStartingPoint(const Lesson& lesson, const PanelSession& session);

class LessonRun final : public PanelObserver {
 public:
  // After this many passes (about a minute) on one step without an input,
  // the hint is due.
  static constexpr std::uint32_t kPassesBeforeHint = 600;

  // Follows the session from now on; the lesson and the session must
  // outlive the run. restartUnderWay: the lesson started a running
  // instrument over, and the pass that does it is still to come.
  LessonRun(const Lesson& lesson, PanelSession& session, bool restartUnderWay = false);
  LessonRun(const LessonRun&) = delete;
  LessonRun& operator=(const LessonRun&) = delete;
  ~LessonRun() override;

  const Lesson& lesson() const { return lesson_; }
  std::size_t StepCount() const { return lesson_.steps.size(); }
  // Steps passed so far; the current step's index while not done.
  std::size_t StepsPassed() const { return passed_; }
  bool Done() const { return passed_ == lesson_.steps.size(); }
  // The step to do now: nullptr when done.
  const LessonStep* Current() const;
  // Whether to show the current step's hint without being asked: a quiet
  // minute on it, or an input since it came up that led away from it.
  bool HintDue() const;
  // Whether a step's checks all held already when it came up (at the end
  // of the pass that finished the step before it, or as the run began):
  // any input then finishes it, so it teaches nothing. False for a step
  // not yet come up.
  bool HeldAsItCameUp(std::size_t step) const {
    return step < heldAsItCameUp_.size() && heldAsItCameUp_[step];
  }
  // Why the current step's checks do not hold now, in one line (the first
  // that fails); empty when they hold or the lesson is done.
  std::string WhatIsMissing();

  // Looks at the instrument now: passes the current step when the person
  // has used a control since it came up and its checks hold. Called at the
  // end of every pass; a front end may call it after an input while the
  // instrument is off. Whether a step passed.
  bool Check();

  // The person's way through the lesson so far as a scenario for
  // kvr9-headless: "lesson FILE", then what the firmware saw since the
  // lesson started, pass for pass. Run, it finishes the lesson as far as
  // the person did: an author's solution to hand over with the lesson.
  std::string WayAsScenario(std::string_view lessonFile) const;

  void PowerOnClicked(bool running) override;
  void OffClicked() override;
  void KeyClicked(KeyEvent key, bool stored) override;
  void SliderMoved(SliderKind slider, std::int32_t position) override;
  // A flight's moves are not the person's (but the way keeps them).
  void BoxChanged(BoxKind box, bool checked) override;
  void FlightMovedSlider(SliderKind slider, std::int32_t position) override;
  void TimerTicked() override;
  void EventsBegin() override;
  void EventsEnd() override;

 private:
  void Touched();
  // The current step's checks that hold now, from the first in order.
  std::size_t ChecksHeld();
  void StepCameUp();

  const Lesson& lesson_;
  PanelSession& session_;
  std::size_t passed_ = 0;
  std::uint32_t inputsOnStep_ = 0;  // the person's inputs since the step came up
  std::uint32_t passesQuiet_ = 0;   // passes on the step since its last input
  std::size_t mostHeld_ = 0;        // the most checks held at a look on this step
  std::uint32_t inputsSinceMost_ = 0;
  bool ledAway_ = false;
  SessionRecord way_;                 // what the firmware has seen since the lesson started
  std::vector<bool> heldAsItCameUp_;  // by step, as each came up
};

}  // namespace kvr9
