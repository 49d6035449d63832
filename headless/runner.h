// Runs a scenario against the instrument's firmware, unchanged, through a
// panel session of its own: no window, no wall clock, no pacing.
//
// The runner owns time: it delivers steps between the instrument's passes,
// where the window delivers its events, and runs a pass when a step asks
// for one ("on", "pass N", a flight). The steps after "on" are delivered at
// the end of its first splash pass, those after "pass N" at the end of the
// Nth pass. While the instrument is off, steps simply follow each other.
#pragma once

#include <cstdint>
#include <fstream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "core/instrument.h"
#include "headless/lcd_gif.h"
#include "host/flights/flight_player.h"
#include "host/lcd_text/lcd_text.h"
#include "host/lessons/lesson.h"
#include "host/lessons/lesson_run.h"
#include "host/panel/panel_inputs.h"
#include "host/panel/panel_session.h"
#include "host/scenario/scenario.h"
#include "host/snapshot/snapshot.h"

namespace kvr9::headless {

enum ExitStatus : int {
  kExitPassed = 0,             // every expectation held
  kExitExpectationFailed = 1,  // the first failed expectation ended the run
  kExitBadInput = 2,           // malformed scenario or argument, unreadable or unwritable file
};

class ScenarioRunner : public PanelView {
 public:
  // out receives what the show steps print; err the reason a run fails.
  ScenarioRunner(const Scenario& scenario, std::ostream& out, std::ostream& err);
  // Runs the steps on a session someone else keeps, from whatever state it
  // is in, and leaves a running instrument running at the end. The
  // session's view must hand its frames and pass ends on to this runner
  // while Run lasts.
  ScenarioRunner(const Scenario& scenario, PanelSession& session, std::ostream& out,
                 std::ostream& err);
  ScenarioRunner(const ScenarioRunner&) = delete;
  ScenarioRunner& operator=(const ScenarioRunner&) = delete;

  // from: a snapshot the scenario starts from instead of a fresh instrument.
  ExitStatus Run(const Snapshot* from = nullptr);

  // Every pass presents one frame: an animation gets one frame a pass.
  void ShowFrame(const FrameBuffer& frame, bool changed) override;
  void PassEnded() override;

  const Instrument& instrument() const { return session_.instrument(); }
  // "FILE:LINE: message" of the step that ended the run, empty when none did.
  const std::string& failure() const { return failure_; }
  // The instrument and panel at the failed expectation that ended the run.
  const std::optional<Snapshot>& failingMoment() const { return failingMoment_; }

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
  std::ostream& out_;
  std::ostream& err_;
  std::unique_ptr<PanelSession> ownSession_;  // null on a session kept by someone else
  PanelSession& session_;
  // The steps reach the instrument as the window's handlers deliver them.
  Instrument& instrument_ = session_.instrument();
  PanelInputs& inputs_ = session_.inputs();
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

  std::ofstream trace_;
  const Step* traceStep_ = nullptr;  // the trace being written

  LcdAnimation animation_;
  const Step* animationStep_ = nullptr;  // the save-animation being recorded

  // The scenario's lesson, read before anything runs, and followed from its
  // step to the end of the scenario.
  std::optional<Lesson> lesson_;
  std::unique_ptr<LessonRun> lessonRun_;
  const Step* lessonStep_ = nullptr;
  std::size_t lessonStepsReported_ = 0;
  std::size_t lessonHintCameUp_ = 0;  // the step (from 1) whose hint came by itself; 0 none
};

struct RunOptions {
  const Snapshot* from = nullptr;  // start from this instead of a fresh instrument
  // Where to keep the moment of a failed expectation, when wanted.
  std::optional<Snapshot>* failingMoment = nullptr;
};

// Parses, checks and runs a scenario text; the status of the whole run.
ExitStatus RunScenarioText(std::string_view text, const std::string& source,
                           const std::filesystem::path& baseDir, std::ostream& out,
                           std::ostream& err, const RunOptions& options = {});

}  // namespace kvr9::headless
