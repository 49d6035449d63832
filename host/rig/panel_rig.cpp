#include "host/rig/panel_rig.h"

#include <algorithm>
#include <utility>

#include "host/flights/flight_summary.h"
#include "host/panel/key_table.h"
#include "host/panel/panel_form.h"
#include "host/snapshot/snapshot_image.h"

namespace kvr9 {

namespace {

// How a snapshot names the built-in flight.
constexpr const char* kSnapshotDemoName = "demo";

}  // namespace

PanelRig::PanelRig(RigView& view)
    : view_(view),
      session_(view),
      flight_(session_.instrument(),
              [this](const FlightPass& pass, bool jump) { PutSliders(pass, jump); }) {}

PanelRig::PanelRig(RigView& view, Instrument& instrument)
    : view_(view),
      session_(view, instrument),
      flight_(session_.instrument(),
              [this](const FlightPass& pass, bool jump) { PutSliders(pass, jump); }) {}

PanelRig::~PanelRig() {
  lessonRun_.reset();
}

// --- The form's controls.

bool PanelRig::PressOn() {
  const bool wasOn = session_.IsOn();
  session_.PressOn();
  if (wasOn) return false;
  if (session_.Step()) {
    view_.ShowRunning(true);
  } else {
    SwitchedOff();
  }
  view_.ShowFlight();
  return true;
}

void PanelRig::PressOff() {
  inputs_.PressOff();
}

void PanelRig::ClickKey(KeyEvent key) {
  inputs_.ClickKey(key);
}

bool PanelRig::ClickControl(std::string_view name) {
  if (name == "Button1") {
    PressOn();
    return true;
  }
  if (name == "Button2") {
    PressOff();
    return true;
  }
  for (const FormControl& control : FormControls()) {
    if (control.name == name && control.key != KeyNone) {
      ClickKey(control.key);
      return true;
    }
  }
  return false;
}

void PanelRig::MoveSlider(SliderKind slider, std::int32_t position) {
  flight_.TakeOver();
  inputs_.MoveSlider(slider, position);
  view_.ShowFlight();
}

void PanelRig::SetBox(BoxKind box, bool checked) {
  inputs_.SetBox(box, checked);
}

void PanelRig::TimerTick() {
  const bool flightTicks = flight_.Playing() && instrument().phase == PowerPhase::MainLoop;
  if (!flightTicks) inputs_.TimerTick();
  // With no passes to look at the instrument, the lesson looks now.
  if (!session_.IsOn() && lessonRun_) {
    checkLesson_(*lessonRun_);
    view_.ShowLesson();
  }
}

// --- Passes.

bool PanelRig::Step() {
  if (!session_.IsOn()) return false;
  // The tour's move first: its "ON" starts a loop afresh.
  if (stand_.BeforePass() || flight_.BeforePass()) session_.PressOn();
  const bool on = session_.Step();
  if (!on) SwitchedOff();
  view_.ShowFlight();
  ShowStand();
  if (lessonRun_) view_.ShowLesson();
  return on;
}

// Nothing moves the sliders meanwhile: neither the tour nor a flight
// may start it again.
void PanelRig::RunUntilOff() {
  if (!session_.IsOn()) return;
  inputs_.StopAtFirstChance();
  while (session_.Step()) {
  }
  SwitchedOff();
  view_.ShowFlight();
}

void PanelRig::SwitchedOff() {
  flight_.Pause();
  flight_.SwitchedOff();
  view_.ShowRunning(false);
}

void PanelRig::ShowStand() {
  const char* caption = stand_.Caption();
  if (std::string_view(caption) == shownCaption_) return;
  shownCaption_ = caption;
  view_.ShowStandCaption(caption);
}

// A flight's moment: its ticks first (the log's own clock), then both
// sliders; a jump to a moment brings no ticks.
void PanelRig::PutSliders(const FlightPass& pass, bool jump) {
  if (!sliderPutsAllowed_) return;
  if (!jump) {
    for (std::uint32_t tick = 0; tick < pass.ticks; ++tick) inputs_.TimerTick();
  }
  inputs_.MoveSlider(SliderKind::Altitude, pass.altitudeCount, true);
  inputs_.MoveSlider(SliderKind::Airspeed, pass.airspeedCount, true);
  view_.ShowSlider(SliderKind::Altitude, pass.altitudeCount);
  view_.ShowSlider(SliderKind::Airspeed, pass.airspeedCount);
}

// --- The flight bar.

void PanelRig::UseDemoFlight(bool putSliders) {
  awaitedFlight_.reset();
  sliderPutsAllowed_ = putSliders;
  flyingDemo_ = true;
  flight_.Use(DemoFlight(), kDemoFlightName, std::string(), std::string());
  sliderPutsAllowed_ = true;
  view_.ShowFlight();
}

bool PanelRig::OpenFlightLog(std::string name, std::string_view text) {
  name = OneLineName(std::move(name));
  ProfileReadResult read = ReadProfileText(text, name);
  if (!read.Ok()) {
    RefuseFlightLog(std::move(read.error));
    return false;
  }
  if (awaitedFlight_ && awaitedFlight_->name == name) {
    const SnapshotFlight awaited = *awaitedFlight_;
    awaitedFlight_.reset();
    TakeUpFlight(awaited, &read.profile);
    view_.ShowFlight();
    return true;
  }
  awaitedFlight_.reset();
  // A log without airspeed is told in the pilot's words; the reader's
  // warning for it (its last) is the engineer's.
  std::string note = PilotNote(read);
  if (read.airspeedFromGroundSpeed && !read.warnings.empty()) read.warnings.pop_back();
  std::string warning = read.warnings.empty() ? std::string() : read.warnings.front();
  flyingDemo_ = false;
  flight_.Use(std::move(read.profile), std::move(name), std::move(note), std::move(warning));
  view_.ShowFlight();
  return true;
}

void PanelRig::RefuseFlightLog(std::string message) {
  flight_.Refuse(std::move(message));
  view_.ShowFlight();
}

void PanelRig::FlyOrPlayPause() {
  if (!flight_.Open()) return;
  if (session_.IsOn()) {
    PlayFlight(!flight_.Playing());
    return;
  }
  flight_.Fly();
  PressOn();
}

void PanelRig::PlayFlight(bool playing) {
  if (playing) {
    flight_.Play();
  } else {
    flight_.Pause();
  }
  view_.ShowFlight();
}

// One of the bar's speeds, for the flight open; any other is ignored.
void PanelRig::SetFlightSpeed(std::uint32_t speedUp) {
  if (!flight_.Open() || std::find(std::begin(kFlightBarSpeeds), std::end(kFlightBarSpeeds),
                                   speedUp) == std::end(kFlightBarSpeeds)) {
    return;
  }
  flight_.SetSpeed(speedUp);
  view_.ShowFlight();
}

void PanelRig::MoveFlightTo(double secondsFromStart) {
  if (!flight_.Open()) return;
  flight_.MoveTo(std::clamp(secondsFromStart, 0.0, flight_.Profile().DurationSeconds()));
  view_.ShowFlight();
}

void PanelRig::CloseFlight() {
  flight_.Close();
  view_.ShowFlight();
}

// --- Stand mode.

void PanelRig::StartStand() {
  CloseLessons();
  stand_.Start();
  view_.ShowFlight();
  PressOn();
  ShowStand();
}

void PanelRig::EndStand() {
  stand_.End();
  ShowStand();
  view_.ShowFlight();
}

// --- Lessons.

void PanelRig::FollowLesson(const Lesson& lesson) {
  lessonRun_.reset();  // it may read the lesson about to be replaced
  if (stand_.Active()) EndStand();
  if (!beforeLessons_) {
    BeforeLessons kept{Capture(), {}, session_.record().Bytes()};
    if (kept.snapshot.flight) kept.profile = flight_.Profile();
    beforeLessons_ = std::move(kept);
  }
  lesson_ = std::make_unique<Lesson>(lesson);
  bool restartUnderWay = false;
  if (const std::optional<Snapshot> from = LessonStartingPoint(*lesson_, session_)) {
    Apply(*from);  // a lesson takes the instrument, not the flight
  } else {
    restartUnderWay = session_.IsOn();
    PressOn();
  }
  StartLessonRun(restartUnderWay);
}

void PanelRig::StartLessonRun(bool restartUnderWay) {
  hintAsked_ = false;
  shownPassed_ = 0;
  lessonRun_ = {new LessonRun(*lesson_, session_, restartUnderWay),
                [](LessonRun* run) { delete run; }};
  checkLesson_ = [](LessonRun& run) { run.Check(); };
  view_.ShowLesson();
}

bool PanelRig::CloseLessons() {
  lessonRun_.reset();
  lesson_.reset();
  if (!beforeLessons_) {
    view_.ShowLesson();
    return false;
  }
  BeforeLessons kept = std::move(*beforeLessons_);
  beforeLessons_.reset();
  // Its flight is taken up from the profile kept, whatever the bar holds.
  std::optional<SnapshotFlight> flight = std::move(kept.snapshot.flight);
  kept.snapshot.flight.reset();
  Apply(kept.snapshot);
  if (flight) TakeUpFlight(*flight, flight->demo ? nullptr : &kept.profile);
  // The record goes on as it was, so the session copy still replays.
  session_.record().SetFromBytes(kept.record);
  view_.ShowFlight();
  view_.ShowLesson();
  return true;
}

void PanelRig::AskForHint() {
  hintAsked_ = true;
  view_.ShowLesson();
}

LessonPanelText PanelRig::LessonPanel() {
  LessonPanelText text;
  LessonRun* run = lessonRun_.get();
  if (run == nullptr) {
    text.title = "Choose a lesson";
    return text;
  }
  if (!session_.IsOn()) run->Check();
  text.following = true;
  text.offWords = session_.IsOn() ? nullptr : kLessonOffWords;
  text.passed = run->StepsPassed();
  text.steps = run->StepCount();
  if (text.passed != shownPassed_) {
    shownPassed_ = text.passed;
    hintAsked_ = false;
  }
  if (text.passed > 0) {
    text.doneLine = run->Done() ? "Done: the lesson is finished."
                                : "Done: step " + std::to_string(text.passed) + " of " +
                                      std::to_string(text.steps) + ".";
  }
  text.title = run->lesson().title;
  const LessonStep* step = run->Current();
  if (step == nullptr) {
    text.stepLine = "All " + std::to_string(text.steps) + " steps done";
    return text;
  }
  text.stepLine = "Step " + std::to_string(text.passed + 1) + " of " + std::to_string(text.steps);
  text.words = step->words;
  text.hint = "Hint: " + step->hint;
  text.hintShown = hintAsked_ || run->HintDue();
  text.control = step->control;
  return text;
}

void PanelRig::LeaveLesson() {
  lessonRun_.reset();
  lesson_.reset();
  view_.ShowLesson();
}

// --- Snapshots.

Snapshot PanelRig::Capture() const {
  Snapshot snapshot = CaptureSnapshot(session_);
  if (const FlightPlayer* player = flight_.Player()) {
    snapshot.flight =
        FlightOfPlayer(*player, flight_.Profile().StartSeconds(),
                       flyingDemo_ ? kSnapshotDemoName : flight_.Status().name, flight_.Playing());
    snapshot.flight->demo = flyingDemo_;
  } else if (awaitedFlight_) {
    snapshot.flight = awaitedFlight_;
  }
  return snapshot;
}

Snapshot PanelRig::Kept() const {
  return beforeLessons_ ? beforeLessons_->snapshot : Capture();
}

std::string PanelRig::KeptRecord() const {
  return beforeLessons_ ? beforeLessons_->record : session_.record().Bytes();
}

SetFlight PanelRig::Apply(const Snapshot& snapshot) {
  ApplySnapshot(snapshot, session_);
  const AirData& air = snapshot.state.airData;
  view_.ShowSlider(SliderKind::Altitude, air.altAdcRaw);
  view_.ShowSlider(SliderKind::Airspeed, air.asiAdcRaw);
  view_.ShowBox(BoxKind::Calibrate, snapshot.panel.inputs.calibrateChecked);
  view_.ShowBox(BoxKind::KeyFast, snapshot.panel.inputs.keyFastChecked);
  view_.ShowCommWindow(snapshot.panel.commLines);
  if (stand_.Active()) EndStand();
  SetFlight set;
  awaitedFlight_.reset();
  if (snapshot.flight) {
    const SnapshotFlight& flight = *snapshot.flight;
    const bool demo = flight.demo;
    const bool onTheBar = !demo && flight_.Open() && flight_.Status().name == flight.name;
    if (demo || onTheBar) {
      const FlightProfile profile = demo ? FlightProfile() : flight_.Profile();
      set = TakeUpFlight(flight, demo ? nullptr : &profile);
    } else {
      // Only a log the person chooses is opened: once opened again it
      // flies on from here; until then the speed is kept for it.
      flight_.Pause();
      flight_.SetSpeed(flight.speedUp);
      awaitedFlight_ = flight;
      set.awaitedLog = flight.name;
    }
  } else {
    // Nothing may move the sliders from where the snapshot has them.
    flight_.Close();
  }
  view_.ShowRunning(session_.IsOn());
  view_.ShowFlight();
  ShowStand();
  return set;
}

std::string PanelRig::KeptImage() const {
  return SnapshotImage(Kept(), KeptRecord());
}

std::optional<SetFlight> PanelRig::ApplyImage(std::string_view image) {
  Snapshot snapshot;
  std::string record;
  if (!SnapshotFromImage(image, snapshot, &record)) return std::nullopt;
  SetFlight set = Apply(snapshot);
  // The session copy still replays from the program's start.
  session_.record().SetFromBytes(record);
  return set;
}

SetFlight PanelRig::TakeUpFlight(const SnapshotFlight& flight, const FlightProfile* profile) {
  const bool demo = profile == nullptr;
  flyingDemo_ = demo;
  flight_.Resume(demo ? DemoFlight() : *profile, demo ? kDemoFlightName : flight.name,
                 flight.fromSeconds, flight.toSeconds, flight.passesPerSecond, flight.speedUp,
                 {flight.passesDone, flight.ticksDone}, flight.playing);
  view_.ShowFlight();
  return SetFlight{true, demo, {}};
}

}  // namespace kvr9
