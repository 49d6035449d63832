#include "host/lessons/lesson_run.h"

#include "host/scenario/checks.h"

namespace kvr9 {

namespace {

class NoView final : public PanelView {
 public:
  void ShowFrame(const FrameBuffer& /*frame*/, bool /*changed*/) override {}
};

}  // namespace

std::optional<Snapshot> LessonStartingPoint(const Lesson& lesson, const PanelSession& session) {
  if (lesson.start == LessonStart::Snapshot) return lesson.snapshot;
  if (!StartsSwitchedOff(lesson)) return std::nullopt;
  NoView view;
  PanelSession fresh(view);
  Instrument& instrument = fresh.instrument();
  RunPowerOnSequence(instrument);
  const AirData& air = session.instrument().state.airData;
  instrument.state.airData.altAdcRaw = air.altAdcRaw;
  instrument.state.airData.asiAdcRaw = air.asiAdcRaw;
  Snapshot start = CaptureSnapshot(fresh);
  const PanelSide side = session.Side();
  start.panel.inputs.calibrateChecked = side.inputs.calibrateChecked;
  start.panel.inputs.keyFastChecked = side.inputs.keyFastChecked;
  start.panel.commLineCount = side.commLineCount;
  start.panel.commLines = side.commLines;
  return start;
}

LessonRun::LessonRun(const Lesson& lesson, PanelSession& session, bool restartUnderWay)
    : lesson_(lesson), session_(session) {
  // The "lesson" step of a scenario includes the pass that starts the
  // instrument over, as "on" includes the first pass of a cycle.
  if (restartUnderWay) way_.StartOver(false, true);
  session_.inputs().AddObserver(*this);
  StepCameUp();
}

LessonRun::~LessonRun() {
  session_.inputs().RemoveObserver(*this);
}

const LessonStep* LessonRun::Current() const {
  return Done() ? nullptr : &lesson_.steps[passed_];
}

bool LessonRun::HintDue() const {
  return !Done() && (ledAway_ || passesQuiet_ >= kPassesBeforeHint);
}

std::size_t LessonRun::ChecksHeld() {
  const LessonStep* step = Current();
  if (step == nullptr) return 0;
  std::size_t held = 0;
  while (
      held < step->checkCount &&
      CheckStep(lesson_.checks, lesson_.checks.steps[step->firstCheck + held], session_).empty()) {
    ++held;
  }
  return held;
}

void LessonRun::StepCameUp() {
  inputsOnStep_ = 0;
  passesQuiet_ = 0;
  inputsSinceMost_ = 0;
  ledAway_ = false;
  mostHeld_ = ChecksHeld();
  if (const LessonStep* step = Current()) heldAsItCameUp_.push_back(mostHeld_ == step->checkCount);
}

std::string LessonRun::WhatIsMissing() {
  const LessonStep* step = Current();
  if (step == nullptr) return {};
  for (std::size_t i = 0; i < step->checkCount; ++i) {
    const Step& check = lesson_.checks.steps[step->firstCheck + i];
    std::string failure = CheckStep(lesson_.checks, check, session_);
    if (!failure.empty()) return failure.substr(0, failure.find('\n'));
  }
  return {};
}

bool LessonRun::Check() {
  if (Done()) return false;
  const std::size_t held = ChecksHeld();
  if (held == Current()->checkCount && inputsOnStep_ > 0) {
    ++passed_;
    StepCameUp();
    return true;
  }
  // A fall with no input since the best look (a blinking LED, a flight
  // ending by itself) is the instrument's, not the person's.
  if (held >= mostHeld_) {
    mostHeld_ = held;
    inputsSinceMost_ = 0;
  } else if (inputsSinceMost_ > 0) {
    ledAway_ = true;
  }
  return false;
}

void LessonRun::Touched() {
  if (Done()) return;
  ++inputsOnStep_;
  ++inputsSinceMost_;
  passesQuiet_ = 0;
}

void LessonRun::PowerOnClicked(bool running) {
  way_.PowerOnClicked(running);
  Touched();
}

void LessonRun::OffClicked() {
  way_.OffClicked();
  Touched();
}

void LessonRun::KeyClicked(KeyEvent key, bool stored) {
  way_.KeyClicked(key, stored);
  Touched();
}

void LessonRun::SliderMoved(SliderKind slider, std::int32_t position) {
  way_.SliderMoved(slider, position);
  Touched();
}

void LessonRun::BoxChanged(BoxKind box, bool checked) {
  way_.BoxChanged(box, checked);
  Touched();
}

void LessonRun::FlightMovedSlider(SliderKind slider, std::int32_t position) {
  way_.FlightMovedSlider(slider, position);
}

void LessonRun::TimerTicked() {
  way_.TimerTicked();
}

void LessonRun::EventsEnd() {
  way_.EventsEnd();
}

std::string LessonRun::WayAsScenario(std::string_view lessonFile) const {
  // A name with a blank or "#" in it is read back in double quotes.
  const bool quoted = lessonFile.find_first_of(" \t#") != std::string_view::npos;
  const std::string file = quoted ? "\"" + std::string(lessonFile) + "\"" : std::string(lessonFile);
  return way_.AsScenario("# " + lesson_.title + ": a way through it, as it was followed.\nlesson " +
                         file + "\n");
}

// A pass has ended: what it drew is shown.
void LessonRun::EventsBegin() {
  way_.EventsBegin();
  if (Done()) return;
  ++passesQuiet_;
  Check();
}

}  // namespace kvr9
