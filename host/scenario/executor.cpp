#include "host/scenario/executor.h"

#include <cstdio>
#include <regex>
#include <sstream>

#include "host/common/quote.h"
#include "host/lessons/lesson_run.h"
#include "host/panel/reading_units.h"
#include "host/scenario/checks.h"
#include "host/scenario/step_on_form.h"
#include "host/snapshot/snapshot_json.h"
#include "lcd/frame_art.h"

namespace kvr9 {

ScenarioExecutor::ScenarioExecutor(const Scenario& scenario, std::ostream& out, std::ostream& err,
                                   ScenarioOutputs* outputs)
    : scenario_(scenario),
      out_(out),
      err_(err),
      outputs_(outputs),
      ownRig_(std::make_unique<PanelRig>(*this)),
      rig_(*ownRig_) {}

ScenarioExecutor::ScenarioExecutor(const Scenario& scenario, PanelRig& rig, std::ostream& out,
                                   std::ostream& err, ScenarioOutputs* outputs)
    : scenario_(scenario), out_(out), err_(err), outputs_(outputs), rig_(rig) {}

ScenarioExecutor::~ScenarioExecutor() = default;

// Steps are delivered until one asks for a pass, which runs; when the
// scenario is over or has failed, a running instrument of its own rig is
// switched off at its first chance and runs until it is off.
ExitStatus ScenarioExecutor::Run(const Snapshot* from) {
  if (!ReadLessons()) return status_;
  if (from != nullptr) SetMoment(rig_, *from);
  while (NextPassWanted()) rig_.Step();
  // The lesson is judged on the scenario's own inputs and passes, not on
  // those that switch the instrument off after it.
  ConcludeLesson();
  if (ownRig_ != nullptr) rig_.RunUntilOff();
  StopAnimation();
  StopTrace();
  return status_;
}

void ScenarioExecutor::ShowFrame(const FrameBuffer& frame, bool) {
  if (animationStep_ != nullptr && !outputs_->AddAnimationPass(frame)) StopAnimation();
}

void ScenarioExecutor::PassEnded() {
  if (watcher_) watcher_(rig_);
  ReportLessonSteps();
  WriteTraceRow();
  passFlown_ = false;
}

// Delivers steps until one asks for a pass (true), or the scenario is over
// or has failed (false).
bool ScenarioExecutor::NextPassWanted() {
  if (passesStillFree_ > 0 && rig_.IsOn()) {
    --passesStillFree_;
    return true;
  }
  passesStillFree_ = 0;
  while (status_ == kExitPassed) {
    if (flying_) {
      if (FlyOnePass()) return true;
      continue;
    }
    // A flight left open is flown to its end before the instrument is
    // switched, another flight begins or the scenario ends.
    if (player_ && (!HasNextStep() || EndsTheFlight(scenario_.steps[nextStep_]))) {
      FlyTo(player_->ToSeconds());
      continue;
    }
    if (!HasNextStep()) return false;
    if (Deliver(scenario_.steps[nextStep_++]) == Flow::RunPass) return true;
  }
  return false;
}

bool ScenarioExecutor::HasNextStep() const {
  return nextStep_ < scenario_.steps.size();
}

ScenarioExecutor::Flow ScenarioExecutor::Deliver(const Step& step) {
  switch (step.kind) {
    case StepKind::On:
      return DeliverPowerOn();
    case StepKind::Off:
      return DeliverPowerOff();
    case StepKind::Pass:
      return DeliverPasses(step.number);
    case StepKind::Key:
    case StepKind::Slider:
    case StepKind::Box:
    case StepKind::Tick:
      DeliverEvent(step);
      break;
    case StepKind::ShowLcd:
    case StepKind::ShowText:
    case StepKind::Show:
    case StepKind::ShowAll:
    case StepKind::ShowLed:
    case StepKind::ShowComm:
      Report(step);
      break;
    case StepKind::ExpectLcd:
    case StepKind::Expect:
    case StepKind::ExpectLed:
    case StepKind::ExpectComm:
    case StepKind::ExpectText:
      Check(step);
      break;
    case StepKind::SaveLcd:
      SaveLcd(step);
      break;
    case StepKind::SaveAnimation:
      SaveAnimation(step);
      break;
    case StepKind::StopAnimation:
      StopAnimation();
      break;
    case StepKind::Fly:
      return BeginFlight(step);
    case StepKind::At:
      if (player_) {
        FlyTo(step.on ? player_->ToSeconds() : flight_->profile.StartSeconds() + step.number);
      }
      break;
    case StepKind::Trace:
      StartTrace(step);
      break;
    case StepKind::StopTrace:
      StopTrace();
      break;
    case StepKind::Lesson:
      return BeginLesson(step);
    case StepKind::SaveState:
      SaveState(step);
      break;
    case StepKind::LoadState:
      LoadState(step);
      break;
  }
  return Flow::KeepDelivering;
}

// "ON" starts the power cycle, or starts it over; the steps that follow
// arrive at the end of its first splash pass, which the rig runs at once
// from off.
ScenarioExecutor::Flow ScenarioExecutor::DeliverPowerOn() {
  return rig_.PressOn() ? Flow::KeepDelivering : Flow::RunPass;
}

// The main loop ends after the pass in which "OFF" arrived, and the steps
// that follow run with the instrument off. The splash ignores the request
// (it is cleared before the main loop starts), so there the steps simply
// go on.
ScenarioExecutor::Flow ScenarioExecutor::DeliverPowerOff() {
  rig_.PressOff();
  return instrument().phase == PowerPhase::MainLoop ? Flow::RunPass : Flow::KeepDelivering;
}

// With the instrument off there is no pass to run; time passes without it.
ScenarioExecutor::Flow ScenarioExecutor::DeliverPasses(std::uint32_t passes) {
  if (instrument().phase == PowerPhase::Off) return Flow::KeepDelivering;
  passesStillFree_ = passes - 1;
  return Flow::RunPass;
}

void ScenarioExecutor::DeliverEvent(const Step& step) {
  switch (step.kind) {
    case StepKind::Key:
      rig_.ClickKey(step.key);
      break;
    case StepKind::Slider:
      MoveSlider(step);
      break;
    case StepKind::Box:
      rig_.SetBox(step.box, step.on);
      break;
    case StepKind::Tick:
      // Straight to the inputs: the rig's TimerTick is a front end's timer,
      // dropped while the bar's flight plays, and a scenario's ticks are its
      // own steps.
      for (std::uint32_t i = 0; i < step.number; ++i) rig_.session().inputs().TimerTick();
      break;
    default:
      break;
  }
}

// A reading is turned into a count with the settings of this moment, so
// the same step may choose another count after a QNH or unit change.
void ScenarioExecutor::MoveSlider(const Step& step) {
  std::uint32_t count = 0;
  std::string problem;
  if (!SliderPositionFor(step, instrument(), count, problem)) {
    Fail(kExitBadInput, step, problem);
    return;
  }
  rig_.MoveSlider(step.slider, static_cast<std::int32_t>(count));
}

// The flight's player is made with the settings of this moment, which the
// whole profile must fit. The flight then runs to its first "at", or to its
// end when none follows before the next flight.
ScenarioExecutor::Flow ScenarioExecutor::BeginFlight(const Step& step) {
  const ScenarioFlight& flight = scenario_.flights[step.detail];
  if (!IsRunning(instrument())) {
    Fail(kExitBadInput, step, "fly " + Clipped(flight.name) + ": the instrument is off");
    return Flow::KeepDelivering;
  }
  const double start = flight.profile.StartSeconds();
  flight_ = &flight;
  player_.emplace(flight.profile, start + flight.fromSeconds, start + flight.toSeconds,
                  flight.passesPerSecond, flight.speedUp);
  const std::string problem = player_->CheckReach(instrument());
  if (!problem.empty()) {
    player_.reset();
    Fail(kExitBadInput, step, "fly " + Clipped(flight.name) + ": " + problem);
    return Flow::KeepDelivering;
  }
  for (std::size_t next = nextStep_; next < scenario_.steps.size(); ++next) {
    const Step& later = scenario_.steps[next];
    if (later.kind == StepKind::At) {
      FlyTo(later.on ? player_->ToSeconds() : start + later.number);
      return Flow::KeepDelivering;
    }
    if (EndsTheFlight(later)) break;
  }
  FlyTo(player_->ToSeconds());
  return Flow::KeepDelivering;
}

// Passes before the moment are flown; at its end the pass at the end time
// is flown too.
void ScenarioExecutor::FlyTo(double seconds) {
  flying_ = true;
  flyUntil_ = seconds;
}

// One pass flown, or the flight has reached its moment (false).
bool ScenarioExecutor::FlyOnePass() {
  const bool toEnd = flyUntil_ >= player_->ToSeconds();
  if (player_->Finished() || (!toEnd && player_->NextSeconds() >= flyUntil_) ||
      !IsRunning(instrument())) {
    flying_ = false;
    if (player_->Finished()) player_.reset();
    return false;
  }
  lastFlown_ = player_->PlayNext(rig_.session().inputs(), instrument());
  passFlown_ = true;
  flownSeconds_ = lastFlown_.sample.seconds - flight_->profile.StartSeconds();
  return true;
}

bool ScenarioExecutor::EndsTheFlight(const Step& step) const {
  return step.kind == StepKind::Fly || step.kind == StepKind::On || step.kind == StepKind::Off ||
         step.kind == StepKind::LoadState || step.kind == StepKind::Lesson;
}

// Rows are written as passes end; the profile's columns stay empty for a
// pass that was not flown.
void ScenarioExecutor::StartTrace(const Step& step) {
  StopTrace();
  const ScenarioTrace& trace = scenario_.traces[step.detail];
  trace_.open(trace.path, std::ios::out | std::ios::trunc);
  if (!trace_) {
    Fail(kExitBadInput, step, "trace: cannot write " + QuotedPath(trace.path.string()));
    return;
  }
  traceStep_ = &step;
  trace_ << "seconds,profileAltitudeFt,profileAirspeedMph";
  for (const FieldInfo* field : trace.fields) trace_ << ',' << field->name;
  trace_ << '\n';
}

void ScenarioExecutor::WriteTraceRow() {
  if (traceStep_ == nullptr) return;
  if (passFlown_) {
    char profile[96];
    std::snprintf(profile, sizeof profile, "%.1f,%.0f,%.1f",
                  lastFlown_.sample.seconds - flight_->profile.StartSeconds(),
                  lastFlown_.sample.altitudeFt, lastFlown_.sample.airspeedMph);
    trace_ << profile;
  } else {
    trace_ << ",,";
  }
  for (const FieldInfo* field : scenario_.traces[traceStep_->detail].fields) {
    trace_ << ',' << FormatField(*field, instrument().state);
  }
  trace_ << '\n';
}

void ScenarioExecutor::StopTrace() {
  if (traceStep_ == nullptr) return;
  const Step& step = *traceStep_;
  traceStep_ = nullptr;
  trace_.close();
  if (!trace_ && status_ == kExitPassed) {
    Fail(kExitBadInput, step,
         "trace: cannot write " + QuotedPath(scenario_.traces[step.detail].path.string()));
  }
}

void ScenarioExecutor::Report(const Step& step) {
  out_ << ShowStepText(scenario_, step, rig_.session());
}

void ScenarioExecutor::Check(const Step& step) {
  const std::string failure = CheckStep(scenario_, step, rig_.session());
  if (!failure.empty()) Fail(kExitExpectationFailed, step, failure);
}

void ScenarioExecutor::SaveLcd(const Step& step) {
  const std::string path = scenario_.files[step.detail].path.string();
  const LcdLook look = step.on ? LcdLook::Green : LcdLook::Window;
  if (outputs_ == nullptr ||
      !outputs_->SaveLcd(rig_.session().ShownFrame(), path, static_cast<int>(step.number), look)) {
    Fail(kExitBadInput, step, "save-lcd: cannot write " + QuotedPath(path));
  }
}

// A new recording ends the one before it.
void ScenarioExecutor::SaveAnimation(const Step& step) {
  StopAnimation();
  const StepFile& file = scenario_.files[step.detail];
  if (outputs_ == nullptr ||
      !outputs_->StartAnimation(file.path.string(), static_cast<int>(step.number))) {
    Fail(kExitBadInput, step, "save-animation: cannot write " + QuotedPath(file.path.string()));
    return;
  }
  animationStep_ = &step;
}

void ScenarioExecutor::StopAnimation() {
  if (animationStep_ == nullptr) return;
  const Step& step = *animationStep_;
  animationStep_ = nullptr;
  if (!outputs_->FinishAnimation() && status_ == kExitPassed) {
    Fail(kExitBadInput, step,
         "save-animation: cannot write " + QuotedPath(scenario_.files[step.detail].path.string()));
  }
}

// A malformed lesson is found before the instrument has done a pass.
bool ScenarioExecutor::ReadLessons() {
  for (const Step& step : scenario_.steps) {
    if (step.kind != StepKind::Lesson) continue;
    LessonReadResult read = ReadLessonFile(scenario_.files[step.detail].path.lexically_normal());
    if (!read.ok) {
      status_ = kExitBadInput;
      failure_ = Where(step) + ": " + read.error;
      err_ << failure_ << '\n';
      return false;
    }
    lesson_ = std::move(read.lesson);
  }
  return true;
}

// The lesson starts where the rig starts it, as the window does: from its
// snapshot, switched off at the defaults for the person to switch on, or
// switched on afresh, as "ON" does (its first splash pass runs, as after
// "on"). A flight open is flown to its end before, as before "ON".
ScenarioExecutor::Flow ScenarioExecutor::BeginLesson(const Step& step) {
  const bool afresh = lesson_->start != LessonStart::Snapshot && !StartsSwitchedOff(*lesson_);
  const bool wasOn = rig_.IsOn();
  rig_.FollowLesson(*lesson_);
  lessonStep_ = &step;
  lessonConcluded_ = false;
  lessonStepsReported_ = 0;
  lessonHintCameUp_ = 0;
  out_ << "lesson: " << lesson_->title << '\n';
  // From off the rig has run the first pass; on, the pass that starts the
  // instrument over is still to run.
  return afresh && wasOn ? Flow::RunPass : Flow::KeepDelivering;
}

// The lesson looks at each pass as it ends, before the executor hears of it.
void ScenarioExecutor::ReportLessonSteps() {
  const LessonRun* run = rig_.FollowedLesson();
  if (lessonStep_ == nullptr || lessonConcluded_ || run == nullptr) return;
  const std::size_t count = run->StepCount();
  for (; lessonStepsReported_ < run->StepsPassed(); ++lessonStepsReported_) {
    out_ << "step " << lessonStepsReported_ + 1 << " of " << count
         << " done: " << lesson_->steps[lessonStepsReported_].words << '\n';
  }
  if (lessonHintCameUp_ == 0 && run->HintDue()) {
    lessonHintCameUp_ = run->StepsPassed() + 1;
  }
}

// A solution must finish its lesson without its hint ever coming up by
// itself; a wrong path ("unfinished") must not finish it, and must have
// brought the hint up.
void ScenarioExecutor::ConcludeLesson() {
  LessonRun* run = rig_.FollowedLesson();
  if (lessonStep_ == nullptr || lessonConcluded_ || run == nullptr) return;
  lessonConcluded_ = true;
  const Step& step = *lessonStep_;
  const std::string name =
      "lesson " + Clipped(scenario_.files[step.detail].file, kLongestQuotedPath);
  if (status_ != kExitPassed) return;
  if (run->Done()) {
    out_ << "lesson finished\n";
    if (step.on) {
      Fail(kExitExpectationFailed, step, name + ": finished, expected unfinished");
    } else if (lessonHintCameUp_ != 0) {
      Fail(kExitExpectationFailed, step,
           name + ": the hint of step " + std::to_string(lessonHintCameUp_) +
               " came up by itself on the way");
    }
    return;
  }
  const LessonStep& current = *run->Current();
  const std::string missing = run->WhatIsMissing();
  out_ << "lesson not finished: step " << run->StepsPassed() + 1 << " of " << run->StepCount()
       << ": " << current.words << '\n'
       << "hint: " << current.hint << " [" << ControlWord(current.control) << "]\n";
  const std::string where = ": not finished at step " + std::to_string(run->StepsPassed() + 1) +
                            " (line " + std::to_string(current.line) + ")";
  if (!step.on) {
    Fail(kExitExpectationFailed, step,
         name + where + (missing.empty() ? ": no input since it came up" : ": " + missing));
  } else if (!run->HintDue()) {
    Fail(kExitExpectationFailed, step, name + where + ", but its hint is not due yet");
  }
}

// The rig as it stands, with the flight being flown: a player made anew
// from the snapshot goes on with it exactly.
Snapshot ScenarioExecutor::Capture() const {
  Snapshot snapshot = rig_.Capture();
  if (player_ && flight_ != nullptr) {
    snapshot.flight = FlightOfPlayer(*player_, flight_->profile.StartSeconds(), flight_->name,
                                     !player_->Finished());
    snapshot.flight->demo = flight_->name == "demo";  // the scenario's word for it
  }
  return snapshot;
}

void ScenarioExecutor::SaveState(const Step& step) {
  std::string problem;
  if (!WriteSnapshotFile(Capture(), scenario_.files[step.detail].path.string(), problem)) {
    Fail(kExitBadInput, step, "save-state: " + problem);
  }
}

// The snapshot is read and checked whole before any of it is applied: a
// bad one leaves the instrument as it was.
void ScenarioExecutor::LoadState(const Step& step) {
  const SnapshotReadResult read = ReadSnapshotFile(scenario_.files[step.detail].path.string());
  if (!read.ok) {
    Fail(kExitBadInput, step, "load-state: " + read.error);
    return;
  }
  player_.reset();
  flight_ = nullptr;
  flying_ = false;
  SetMoment(rig_, read.snapshot);
}

void ScenarioExecutor::Fail(ExitStatus status, const Step& step, const std::string& message) {
  status_ = status;
  failure_ = Where(step) + ": " + message;
  if (status == kExitExpectationFailed) failingMoment_ = Capture();
  err_ << failure_ << '\n';
  // What the instrument showed, as rows ready to paste into expect-text
  // line "...", so a CI log tells it without a picture.
  if (status != kExitExpectationFailed) return;
  std::istringstream lines(rig_.session().ScreenLines());
  std::string line;
  bool any = false;
  while (std::getline(lines, line)) {
    err_ << (any ? "" : "the LCD shows:\n") << "  \"" << Clipped(line, kLongestQuotedPath)
         << "\"\n";
    any = true;
  }
  if (!any) err_ << "the LCD shows no text\n";
}

std::string ScenarioExecutor::Where(const Step& step) const {
  return scenario_.source + ":" + std::to_string(step.line);
}

ExitStatus RunScenarioText(std::string_view text, const std::string& source,
                           const std::filesystem::path& baseDir, std::ostream& out,
                           std::ostream& err, const RunOptions& options) {
  const ParseOutcome parsed = ParseScenario(text, source, baseDir);
  if (!parsed.ok) {
    err << parsed.error << '\n';
    return kExitBadInput;
  }
  // A reader's warning (an IGC file's airspeed from ground speed) is worth
  // seeing, but stops nothing.
  for (const std::string& warning : parsed.scenario.warnings) err << "warning: " << warning << '\n';
  ScenarioExecutor executor(parsed.scenario, out, err, options.outputs);
  if (options.afterEachPass) executor.WatchPasses(options.afterEachPass);
  const ExitStatus status = executor.Run(options.from);
  if (options.failingMoment != nullptr) *options.failingMoment = executor.failingMoment();
  return status;
}

namespace {

MomentRead Moment(SnapshotReadResult read) {
  return {read.ok, std::move(read.error), std::move(read.snapshot)};
}

}  // namespace

MomentRead ReadMomentFile(const std::string& path) {
  return Moment(ReadSnapshotFile(path));
}

MomentRead ReadMomentText(std::string_view text, const std::string& name) {
  return Moment(ReadSnapshot(text, name));
}

std::string MomentText(const Snapshot& moment) {
  return WriteSnapshot(moment);
}

bool SaveMomentFile(const Snapshot& moment, const std::string& path, std::string& problem) {
  return WriteSnapshotFile(moment, path, problem);
}

void SetMoment(PanelRig& rig, Snapshot moment) {
  moment.flight.reset();
  rig.Apply(moment);
}

}  // namespace kvr9
