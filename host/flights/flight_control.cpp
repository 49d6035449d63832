#include "host/flights/flight_control.h"

#include <algorithm>
#include <cmath>

namespace kvr9 {

namespace {

long WholeSeconds(double seconds) {
  return static_cast<long>(std::floor(seconds + 1e-6));
}

}  // namespace

FlightControl::FlightControl(const Instrument& instrument, PutSliders putSliders,
                             std::uint32_t passesPerSecond)
    : instrument_(instrument),
      putSliders_(std::move(putSliders)),
      passesPerSecond_(passesPerSecond) {
  LoadDefaultSettings(powerOnSettings_);
  LoadDefaultCalibration(powerOnSettings_);
}

void FlightControl::Use(FlightProfile profile, std::string name, std::string pilotNote,
                        std::string message) {
  player_.reset();  // it points into the profile
  profile_ = std::move(profile);
  name_ = std::move(name);
  pilotNote_ = std::move(pilotNote);
  message_ = std::move(message);
  summaryUnits_ = {0xff, 0xff};
  playing_ = false;
  maximaAreTheFlights_ = false;
  shownAltitude_ = std::numeric_limits<std::int32_t>::min();
  shownAirspeed_ = 0;
  MoveTo(0);
}

// The pace goes with the flight: the next one starts at x1.
void FlightControl::Close() {
  player_.reset();
  profile_ = FlightProfile();
  playing_ = false;
  speedUp_ = 1;
  message_.clear();
}

const Instrument& FlightControl::FlownWith() const {
  return IsRunning(instrument_) ? instrument_ : powerOnSettings_;
}

void FlightControl::StartAt(double seconds) {
  player_.emplace(profile_, seconds, profile_.EndSeconds(), passesPerSecond_, speedUp_);
}

void FlightControl::MoveTo(double secondsFromStart) {
  if (profile_.Empty()) return;
  StartAt(profile_.StartSeconds() + secondsFromStart);
  checked_ = false;
  PutAt(player_->Next(FlownWith()), true);
}

void FlightControl::PutAt(const FlightPass& pass, bool jump) {
  at_ = pass.sample.seconds;
  byHand_ = false;
  putSliders_(pass, jump);
}

void FlightControl::Play() {
  if (!player_) return;
  if (player_->Finished()) MoveTo(0);
  playing_ = true;
}

// The new pace goes on from the moment the sliders stand at, which it
// has played already: its ticks count from there, so none is lost.
void FlightControl::SetSpeed(std::uint32_t speedUp) {
  if (speedUp == speedUp_) return;
  speedUp_ = speedUp;
  if (!player_) return;
  StartAt(at_);
  player_->Next(FlownWith());
}

void FlightControl::Fly() {
  if (!player_) return;
  Play();
  flyWatch_ = true;
  flyReadings_.reset();
  maximaAreTheFlights_ = true;
}

void FlightControl::TakeOver() {
  maximaAreTheFlights_ = false;
  byHand_ = true;
  playing_ = false;
}

// A power-on (or "ON" while running) starts MAX VALUES from the readings
// the run before left, which still stand until the splash's first pass
// has read the converters: neither they nor what was shown before count.
// The readings after a pass are what MAX VALUES took in it.
void FlightControl::NoteShown() {
  const PowerPhase phase = instrument_.phase;
  const bool poweredOn = phase == PowerPhase::Splash && watchedPhase_ != PowerPhase::Splash;
  watchedPhase_ = phase;
  if (poweredOn) {
    shownAltitude_ = std::numeric_limits<std::int32_t>::min();
    shownAirspeed_ = 0;
    return;
  }
  if (!player_ || byHand_ || !IsRunning(instrument_)) return;
  const AirData& air = instrument_.state.airData;
  shownAltitude_ = std::max(shownAltitude_, air.altitude);
  shownAirspeed_ = std::max(shownAirspeed_, air.airspeed);
}

// Asked between passes too: the readings standing now, when the flight
// put the sliders, count as shown; a power-on not yet noted has shown
// nothing.
bool FlightControl::MaximaBeyondShown() const {
  const AirData& air = instrument_.state.airData;
  const bool afresh =
      instrument_.phase == PowerPhase::Splash && watchedPhase_ != PowerPhase::Splash;
  std::int32_t altitude = afresh ? std::numeric_limits<std::int32_t>::min() : shownAltitude_;
  std::uint32_t airspeed = afresh ? 0 : shownAirspeed_;
  if (!byHand_ && !afresh) {
    altitude = std::max(altitude, air.altitude);
    airspeed = std::max(airspeed, air.airspeed);
  }
  return air.maxAltitude > altitude || air.maxAirspeed > airspeed;
}

// The maximum values start at power-on from the altitude and airspeed the
// previous run left; the splash raises them, never lowers them. After a
// run at the sliders' start (50860 ft) the log's maxima would never show.
// So once the readings have settled on the flight's first moment during
// the splash, maxima still above them come from before, and "ON" is
// wanted once more: the power cycle starts again from these readings.
bool FlightControl::WatchMaxima() {
  if (!flyWatch_) return false;
  if (instrument_.phase != PowerPhase::Splash) {
    flyWatch_ = false;
    return false;
  }
  const AirData& air = instrument_.state.airData;
  const std::array<std::int64_t, 4> readings{air.altitude, air.airspeed, air.qnhAltFilter,
                                             air.asiFilterState};
  if (flyReadings_ != readings) {
    flyReadings_ = readings;
    return false;
  }
  flyWatch_ = false;
  return air.maxAltitude > air.altitude || air.maxAirspeed > air.airspeed;
}

bool FlightControl::BeforePass() {
  NoteShown();
  if (WatchMaxima()) return true;
  if (!player_ || !playing_ || instrument_.phase != PowerPhase::MainLoop) return false;
  if (player_->Finished()) {
    playing_ = false;
    return false;
  }
  // Checked at its first pass, with the settings it is flown with.
  // Settings that put part of it out of the converters' reach still play
  // it, at the nearest counts; the status says so.
  if (!checked_) {
    checked_ = true;
    std::string problem = player_->CheckReach(instrument_);
    if (!problem.empty()) message_ = std::move(problem);
  }
  PutAt(player_->Next(instrument_), false);
  return false;
}

void FlightControl::Resume(FlightProfile profile, std::string name, double fromSeconds,
                           double toSeconds, std::uint32_t passesPerSecond, std::uint32_t speedUp,
                           FlightPlayer::Progress played, bool playing) {
  player_.reset();  // it points into the profile
  profile_ = std::move(profile);
  name_ = std::move(name);
  pilotNote_.clear();
  message_.clear();
  summaryUnits_ = {0xff, 0xff};
  maximaAreTheFlights_ = false;
  flyWatch_ = false;
  // A moment of this flight: its MAX VALUES are taken as the flight's.
  byHand_ = false;
  shownAltitude_ = instrument_.state.airData.maxAltitude;
  shownAirspeed_ = instrument_.state.airData.maxAirspeed;
  watchedPhase_ = instrument_.phase;
  speedUp_ = speedUp;
  const double start = profile_.StartSeconds();
  if (passesPerSecond == passesPerSecond_) {
    player_.emplace(profile_, start + fromSeconds, start + toSeconds, passesPerSecond_, speedUp_);
    player_->Resume(played);
  } else {
    // Where the player it was played with would have gone on from.
    FlightPlayer before(profile_, start + fromSeconds, start + toSeconds, passesPerSecond,
                        speedUp_);
    before.Resume(played);
    player_.emplace(profile_, before.NextSeconds(), start + toSeconds, passesPerSecond_, speedUp_);
  }
  // The sliders stand where its last pass put them.
  at_ = played.passesDone > 0 ? player_->PlayedSeconds() : player_->NextSeconds();
  checked_ = played.passesDone > 0;
  playing_ = playing;
}

FlightStatus FlightControl::Status() const {
  FlightStatus status;
  status.open = Open();
  status.playing = playing_;
  status.ended = !playing_ && player_.has_value() && player_->Finished();
  status.instrumentOn = IsRunning(instrument_);
  status.speed = speedUp_;
  status.message = message_;
  if (!status.open) return status;
  const Settings& settings = FlownWith().state.settings;
  const std::array<std::uint8_t, 2> units{settings.altUnit, settings.asiUnit};
  if (units != summaryUnits_) {
    summaryUnits_ = units;
    summary_ = FlightSummaryText(settings, profile_);
  }
  const ProfileSample now = profile_.At(at_);
  status.name = name_;
  status.summary = summary_;
  status.elapsedSeconds = WholeSeconds(now.seconds - profile_.StartSeconds());
  status.totalSeconds = WholeSeconds(profile_.DurationSeconds());
  status.now = ShownValues(settings, now);
  status.pilotNote = pilotNote_;
  status.maximaNote = !status.instrumentOn   ? kSwitchOnToFlyNote
                      : maximaAreTheFlights_ ? kMaxValuesFromFlyNote
                      : MaximaBeyondShown()  ? kMaxValuesNote
                                             : nullptr;
  return status;
}

std::string FlightNotes(const FlightStatus& status, std::string_view separator, bool sayEnded) {
  std::string notes;
  const auto add = [&](std::string_view line) {
    if (line.empty()) return;
    if (!notes.empty()) notes += separator;
    notes += line;
  };
  add(status.pilotNote);
  if (sayEnded && status.ended) add(kFlightEndedNote);
  if (status.maximaNote != nullptr) add(status.maximaNote);
  return notes;
}

}  // namespace kvr9
