// Runs a scenario against the instrument's firmware, unchanged, on a panel
// rig: no window, no wall clock, no pacing. The driver's command line and
// its agent server both run their steps here.
//
// The executor owns time: it delivers steps between the instrument's
// passes, where the window delivers its events, and runs a pass when a
// step asks for one ("on", "pass N", a flight). The steps after "on" are
// delivered at the end of its first splash pass, those after "pass N" at
// the end of the Nth pass. While the instrument is off, steps simply
// follow each other.
//
// A scenario's flight is its own, not the rig's flight bar: a script of
// slider moves and timer ticks played through the rig's inputs before each
// pass, which a scenario paces with "fly ... pace" and stops at "at".
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "host/flights/flight_player.h"
#include "host/lessons/lesson.h"
#include "host/rig/panel_rig.h"
#include "host/scenario/scenario.h"
#include "host/scenario/scenario_outputs.h"

namespace kvr9 {

enum ExitStatus : int {
  kExitPassed = 0,             // every expectation held
  kExitExpectationFailed = 1,  // the first failed expectation ended the run
  kExitBadInput = 2,           // malformed scenario or argument, unreadable or unwritable file
};

class ScenarioExecutor : public RigView {
 public:
  // out receives what the show steps print; err the reason a run fails.
  // Without outputs, a step that makes a picture cannot be done.
  ScenarioExecutor(const Scenario& scenario, std::ostream& out, std::ostream& err,
                   ScenarioOutputs* outputs = nullptr);
  // Runs the steps on a rig someone else keeps, from whatever state it is
  // in, and leaves a running instrument running at the end. The rig's view
  // must hand its frames and pass ends on to this executor while Run lasts.
  ScenarioExecutor(const Scenario& scenario, PanelRig& rig, std::ostream& out, std::ostream& err,
                   ScenarioOutputs* outputs = nullptr);
  ScenarioExecutor(const ScenarioExecutor&) = delete;
  ScenarioExecutor& operator=(const ScenarioExecutor&) = delete;
  ~ScenarioExecutor() override;

  // from: a moment the scenario starts from instead of a fresh instrument.
  ExitStatus Run(const Snapshot* from = nullptr);

  // Every pass presents one frame: an animation gets one frame a pass.
  void ShowFrame(const FrameBuffer& frame, bool changed) override;
  void PassEnded() override;

  const Instrument& instrument() const { return rig_.instrument(); }
  void WatchPasses(std::function<void(const PanelRig&)> watcher) { watcher_ = std::move(watcher); }
  // "FILE:LINE: message" of the step that ended the run, empty when none did.
  const std::string& failure() const { return failure_; }
  // The instrument and panel at the failed expectation that ended the run.
  const std::optional<Snapshot>& failingMoment() const { return failingMoment_; }
  // Where the flight stands, seconds from its profile's start: the moment
  // of the latest pass flown, held while the flight waits; none before a
  // flight's first pass. A pass watcher reads it for the pass just ended.
  std::optional<double> flownSeconds() const { return flownSeconds_; }

 private:
  // Whether a step asks for a pass of the instrument before the next step.
  enum class Flow : std::uint8_t { KeepDelivering, RunPass };

  bool NextPassWanted();
  bool HasNextStep() const;
  Flow Deliver(const Step& step);
  Flow DeliverPowerOn();
  Flow DeliverPowerOff();
  Flow DeliverPasses(std::uint32_t passes);
  void DeliverEvent(const Step& step);
  void Report(const Step& step);
  void Check(const Step& step);
  void SaveLcd(const Step& step);
  void SaveAnimation(const Step& step);
  void StopAnimation();
  void MoveSlider(const Step& step);
  Flow BeginFlight(const Step& step);
  void FlyTo(double seconds);
  bool FlyOnePass();
  bool EndsTheFlight(const Step& step) const;
  void StartTrace(const Step& step);
  void StopTrace();
  void WriteTraceRow();
  bool ReadLessons();
  Flow BeginLesson(const Step& step);
  void ReportLessonSteps();
  void ConcludeLesson();
  Snapshot Capture() const;
  void SaveState(const Step& step);
  void LoadState(const Step& step);
  void Fail(ExitStatus status, const Step& step, const std::string& message);
  std::string Where(const Step& step) const;

  const Scenario& scenario_;
  std::function<void(const PanelRig&)> watcher_;
  std::ostream& out_;
  std::ostream& err_;
  ScenarioOutputs* outputs_;
  std::unique_ptr<PanelRig> ownRig_;  // null on a rig kept by someone else
  PanelRig& rig_;
  std::size_t nextStep_ = 0;
  std::uint32_t passesStillFree_ = 0;  // passes that run before the next step
  ExitStatus status_ = kExitPassed;
  std::string failure_;
  std::optional<Snapshot> failingMoment_;

  // The flight being flown: passes are flown while flying_, up to flyUntil_
  // on the profile's own clock; between "at" steps it waits.
  const ScenarioFlight* flight_ = nullptr;
  std::optional<FlightPlayer> player_;
  bool flying_ = false;
  double flyUntil_ = 0;
  bool passFlown_ = false;  // the pass under way was flown
  FlightPass lastFlown_;
  std::optional<double> flownSeconds_;

  std::ofstream trace_;
  const Step* traceStep_ = nullptr;  // the trace being written

  const Step* animationStep_ = nullptr;  // the save-animation being recorded

  // The scenario's lesson, read before anything runs, and followed on the
  // rig from its step; judged when the scenario's steps are over.
  std::optional<Lesson> lesson_;
  const Step* lessonStep_ = nullptr;
  bool lessonConcluded_ = false;
  std::size_t lessonStepsReported_ = 0;
  std::size_t lessonHintCameUp_ = 0;  // the step (from 1) whose hint came by itself; 0 none
};

struct RunOptions {
  const Snapshot* from = nullptr;  // start from this instead of a fresh instrument
  // Where to keep the moment of a failed expectation, when wanted.
  std::optional<Snapshot>* failingMoment = nullptr;
  ScenarioOutputs* outputs = nullptr;
  // Told at the end of every pass, with the rig as it stands (a suite's
  // coverage of the explorer's states).
  std::function<void(const PanelRig&)> afterEachPass;
};

// Parses, checks and runs a scenario text on a rig of its own; the status
// of the whole run.
ExitStatus RunScenarioText(std::string_view text, const std::string& source,
                           const std::filesystem::path& baseDir, std::ostream& out,
                           std::ostream& err, const RunOptions& options = {});

// Moments as snapshot files and texts, read and checked whole: what a run
// starts from (--from, an agent's snapshot) and what a report keeps of a
// failed expectation.
struct MomentRead {
  bool ok = false;
  std::string error;  // "NAME: field: what is wrong", one line
  Snapshot snapshot;
};
MomentRead ReadMomentFile(const std::string& path);
MomentRead ReadMomentText(std::string_view text, const std::string& name);
std::string MomentText(const Snapshot& moment);
bool SaveMomentFile(const Snapshot& moment, const std::string& path, std::string& problem);
// Sets a moment on the rig as load-state does: the instrument and the
// panel; a flight it names is not taken up, since a scenario's own "fly"
// steps fly.
void SetMoment(PanelRig& rig, Snapshot moment);

}  // namespace kvr9
