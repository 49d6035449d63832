#include "tools/headless/runner.h"

#include "host/quote.h"
#include "host/reading_units.h"
#include "lcd/frame_art.h"
#include "tools/headless/lcd_png.h"

namespace kvr9::headless {

ScenarioRunner::ScenarioRunner(const Scenario& scenario, std::ostream& out, std::ostream& err)
    : scenario_(scenario), out_(out), err_(err) {
  instrument_.host = this;
}

ExitStatus ScenarioRunner::Run() {
  // Steps here run with the instrument off; "on" returns once it is off again.
  while (status_ == kExitPassed && HasNextStep()) Deliver(scenario_.steps[nextStep_++]);
  finished_ = true;
  StopAnimation();
  return status_;
}

// Every pass presents one frame: an animation gets one frame a pass.
void ScenarioRunner::PresentFrameBuffer(const FrameBuffer& frameBuffer) {
  shownFrame_ = frameBuffer;
  if (animationStep_ != nullptr && !animation_.AddPass(frameBuffer)) StopAnimation();
}

void ScenarioRunner::AppendCommLine(const char*) {
  ++commLines_;
}

void ScenarioRunner::ProcessPendingEvents() {
  DeliverUntilNextPass();
  inputs_.EventsEnd();
}

void ScenarioRunner::DeliverUntilNextPass() {
  if (passesStillFree_ > 0) {
    --passesStillFree_;
    return;
  }
  while (!finished_ && status_ == kExitPassed && HasNextStep()) {
    if (Deliver(scenario_.steps[nextStep_++]) == Flow::ReturnToFirmware) return;
  }
  // The scenario is over, or has failed: switch off.
  if (!finished_) inputs_.StopAtFirstChance();
  finished_ = true;
}

bool ScenarioRunner::HasNextStep() const {
  return nextStep_ < scenario_.steps.size();
}

ScenarioRunner::Flow ScenarioRunner::Deliver(const Step& step) {
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
  }
  return Flow::KeepDelivering;
}

// Switched off, "ON" runs the whole power cycle from here and returns when
// it is off again. While running, it asks the loop to restart, which it
// does as soon as it gets control back; the steps that follow arrive at the
// end of the new first splash pass.
ScenarioRunner::Flow ScenarioRunner::DeliverPowerOn() {
  const bool wasRunning = IsRunning(instrument_);
  inputs_.PressOn();
  if (wasRunning) return Flow::ReturnToFirmware;
  passesStillFree_ = 0;
  return Flow::KeepDelivering;
}

// The main loop ends after the pass in which "OFF" arrived, and the steps
// that follow run with the instrument off. The splash ignores the request
// (it is cleared before the main loop starts), so there the steps simply
// go on.
ScenarioRunner::Flow ScenarioRunner::DeliverPowerOff() {
  inputs_.PressOff();
  return instrument_.phase == PowerPhase::MainLoop ? Flow::ReturnToFirmware : Flow::KeepDelivering;
}

// With the instrument off there is no pass to run; time passes without it.
ScenarioRunner::Flow ScenarioRunner::DeliverPasses(std::uint32_t passes) {
  if (instrument_.phase == PowerPhase::Off) return Flow::KeepDelivering;
  passesStillFree_ = passes - 1;
  return Flow::ReturnToFirmware;
}

void ScenarioRunner::DeliverEvent(const Step& step) {
  switch (step.kind) {
    case StepKind::Key:
      inputs_.ClickKey(step.key);
      break;
    case StepKind::Slider:
      MoveSlider(step);
      break;
    case StepKind::Box:
      inputs_.SetBox(step.box, step.on);
      break;
    case StepKind::Tick:
      for (std::uint32_t i = 0; i < step.number; ++i) inputs_.TimerTick();
      break;
    default:
      break;
  }
}

// A reading is turned into a count with the settings of this moment, so
// the same step may choose another count after a QNH or unit change.
void ScenarioRunner::MoveSlider(const Step& step) {
  std::uint32_t count = step.number;
  if (step.unit != ReadingUnit::Count) {
    const CountChoice choice = CountForReading(instrument_, step.slider, step.unit, step.reading);
    if (!choice.reachable) {
      const char* unit = UnitName(step.unit);
      Fail(kExitBadInput, step,
           std::string("slider ") +
               (step.slider == SliderKind::Altitude ? "altitude " : "airspeed ") +
               std::to_string(step.reading) + unit + ": no position 0.." +
               std::to_string(kSliderHighest) + " reads it; they read " +
               std::to_string(choice.lowest) + ".." + std::to_string(choice.highest) + unit +
               " now");
      return;
    }
    count = choice.count;
  }
  inputs_.MoveSlider(step.slider, static_cast<std::int32_t>(count));
}

void ScenarioRunner::Report(const Step& step) {
  switch (step.kind) {
    case StepKind::ShowLcd:
      out_ << FrameToArt(shownFrame_);
      break;
    case StepKind::Show:
      out_ << step.field->name << '=' << FormatField(*step.field, instrument_.state) << '\n';
      break;
    case StepKind::ShowAll:
      for (const FieldInfo& field : AllFields()) {
        out_ << field.name << '=' << FormatField(field, instrument_.state) << '\n';
      }
      break;
    case StepKind::ShowLed:
      out_ << "led=" << (ledLit_ ? "lit" : "unlit") << '\n';
      break;
    case StepKind::ShowComm:
      out_ << "commLines=" << commLines_ << '\n';
      break;
    default:
      break;
  }
}

void ScenarioRunner::Check(const Step& step) {
  switch (step.kind) {
    case StepKind::Expect: {
      const std::string actual = FormatField(*step.field, instrument_.state);
      const std::string& expected = scenario_.values[step.detail];
      if (actual != expected) {
        Fail(kExitExpectationFailed, step,
             "expect " + std::string(step.field->name) + ": expected " + expected + ", actual " +
                 actual);
      }
      break;
    }
    case StepKind::ExpectLed:
      if (ledLit_ != step.on) {
        Fail(kExitExpectationFailed, step,
             std::string("expect-led: expected ") + (step.on ? "lit" : "unlit") + ", actual " +
                 (ledLit_ ? "lit" : "unlit"));
      }
      break;
    case StepKind::ExpectComm:
      if (commLines_ != step.number) {
        Fail(kExitExpectationFailed, step,
             "expect-comm: expected " + std::to_string(step.number) + ", actual " +
                 std::to_string(commLines_));
      }
      break;
    case StepKind::ExpectLcd:
      CheckLcd(step);
      break;
    default:
      break;
  }
}

void ScenarioRunner::CheckLcd(const Step& step) {
  const StepFile& frame = scenario_.files[step.detail];
  if (shownFrame_.bytes == frame.expectedFrame.bytes) return;
  const int dots = CountDifferentDots(frame.expectedFrame, shownFrame_);
  Fail(kExitExpectationFailed, step,
       "expect-lcd " + Clipped(frame.file, kLongestQuotedPath) +
           ": expected and actual frames differ in " + std::to_string(dots) +
           (dots == 1 ? " dot\n" : " dots\n") + SideBySide(frame.expectedFrame, shownFrame_));
}

void ScenarioRunner::SaveLcd(const Step& step) {
  const std::string path = scenario_.files[step.detail].path.string();
  const LcdLook look = step.on ? LcdLook::Green : LcdLook::Window;
  if (!SaveFramePng(shownFrame_, path, static_cast<int>(step.number), look)) {
    Fail(kExitBadInput, step, "save-lcd: cannot write " + QuotedPath(path));
  }
}

// A new recording ends the one before it.
void ScenarioRunner::SaveAnimation(const Step& step) {
  StopAnimation();
  const StepFile& file = scenario_.files[step.detail];
  if (!animation_.Start(file.path.string(), static_cast<int>(step.number))) {
    Fail(kExitBadInput, step, "save-animation: cannot write " + QuotedPath(file.path.string()));
    return;
  }
  animationStep_ = &step;
}

void ScenarioRunner::StopAnimation() {
  if (animationStep_ == nullptr) return;
  const Step& step = *animationStep_;
  animationStep_ = nullptr;
  if (!animation_.Finish() && status_ == kExitPassed) {
    Fail(kExitBadInput, step,
         "save-animation: cannot write " + QuotedPath(scenario_.files[step.detail].path.string()));
  }
}

void ScenarioRunner::Fail(ExitStatus status, const Step& step, const std::string& message) {
  status_ = status;
  failure_ = Where(step) + ": " + message;
  err_ << failure_ << '\n';
}

std::string ScenarioRunner::Where(const Step& step) const {
  return scenario_.source + ":" + std::to_string(step.line);
}

ExitStatus RunScenarioText(std::string_view text, const std::string& source,
                           const std::filesystem::path& baseDir, std::ostream& out,
                           std::ostream& err) {
  const ParseOutcome parsed = ParseScenario(text, source, baseDir);
  if (!parsed.ok) {
    err << parsed.error << '\n';
    return kExitBadInput;
  }
  ScenarioRunner runner(parsed.scenario, out, err);
  return runner.Run();
}

}  // namespace kvr9::headless
