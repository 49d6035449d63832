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

LessonRun::LessonRun(const Lesson& lesson, PanelSession& session)
    : lesson_(lesson), session_(session) {
  session_.inputs().AddObserver(*this);
}

LessonRun::~LessonRun() {
  session_.inputs().RemoveObserver(*this);
}

const LessonStep* LessonRun::Current() const {
  return Done() ? nullptr : &lesson_.steps[passed_];
}

bool LessonRun::HintDue() const {
  return !Done() && (inputsOnStep_ >= kInputsBeforeHint || passesOnStep_ >= kPassesBeforeHint);
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
  if (Done() || inputsOnStep_ == 0 || !WhatIsMissing().empty()) return false;
  ++passed_;
  inputsOnStep_ = 0;
  passesOnStep_ = 0;
  return true;
}

void LessonRun::Touched() {
  if (!Done()) ++inputsOnStep_;
}

void LessonRun::PowerOnClicked(bool) {
  Touched();
}

void LessonRun::OffClicked() {
  Touched();
}

void LessonRun::KeyClicked(KeyEvent, bool) {
  Touched();
}

void LessonRun::SliderMoved(SliderKind, std::int32_t) {
  Touched();
}

void LessonRun::BoxChanged(BoxKind, bool) {
  Touched();
}

// A pass has ended: what it drew is shown.
void LessonRun::EventsBegin() {
  if (Done()) return;
  ++passesOnStep_;
  Check();
}

}  // namespace kvr9
