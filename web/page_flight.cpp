#include "web/page_flight.h"

#include <algorithm>
#include <cmath>

#include "host/flights/flight_summary.h"

namespace kvr9::web {

namespace {

long WholeSeconds(double seconds) {
  return static_cast<long>(std::floor(seconds + 1e-6));
}

// A name the bar can show on one line.
std::string OneLine(std::string text) {
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < ' ' || c == '\x7f') c = ' ';
  }
  return text;
}

}  // namespace

PageFlight::PageFlight(PanelInputs& inputs, const Instrument& instrument)
    : inputs_(inputs), instrument_(instrument) {
  UseDemo();
}

void PageFlight::UseDemo() {
  player_.reset();
  profile_ = DemoFlight();
  name_ = "Demo flight";
  message_.clear();
  playing_ = false;
  StartAt(profile_.StartSeconds());
}

char* PageFlight::TextBuffer(std::size_t bytes) {
  text_.assign(bytes, '\0');
  return text_.data();
}

void PageFlight::Open(std::size_t nameBytes) {
  nameBytes = std::min(nameBytes, text_.size());
  const std::string name = text_.substr(0, nameBytes);
  ProfileReadResult read = ReadProfileText(std::string_view(text_).substr(nameBytes), name);
  std::string().swap(text_);
  if (!read.Ok()) {
    message_ = read.error;
    return;
  }
  player_.reset();
  profile_ = std::move(read.profile);
  name_ = OneLine(name);
  message_ = read.warnings.empty() ? std::string() : read.warnings.front();
  playing_ = false;
  StartAt(profile_.StartSeconds());
}

void PageFlight::StartAt(double seconds) {
  player_.emplace(profile_, seconds, profile_.EndSeconds(), kDefaultPassesPerSecond, speedUp_);
  checked_ = false;
}

void PageFlight::Play() {
  if (player_->Finished()) StartAt(profile_.StartSeconds());
  playing_ = true;
}

void PageFlight::Pause() {
  playing_ = false;
}

void PageFlight::SetSpeed(std::uint32_t speedUp) {
  if (speedUp == speedUp_) return;
  speedUp_ = speedUp;
  const bool checked = checked_;
  StartAt(player_->NextSeconds());
  checked_ = checked;
}

void PageFlight::PlayPass() {
  if (!playing_) return;
  if (player_->Finished()) {
    playing_ = false;
    return;
  }
  // Checked at its first pass, with the settings it is flown with. A
  // flight partly beyond the converters' reach still plays, at the
  // nearest counts; the bar says so.
  if (!checked_) {
    checked_ = true;
    const std::string problem = player_->CheckReach(instrument_);
    if (!problem.empty()) message_ = problem;
  }
  player_->PlayNext(inputs_, instrument_, false);
}

std::string PageFlight::Status() const {
  const ProfileSample now = profile_.At(player_->NextSeconds());
  const ShownFlightValues shown = ShownValues(instrument_.state.settings, now);
  const auto field = [](const std::string& text) { return text + '\t'; };
  return field(playing_ ? "playing" : "paused") + field(name_) +
         field(std::to_string(WholeSeconds(now.seconds - profile_.StartSeconds()))) +
         field(std::to_string(WholeSeconds(profile_.DurationSeconds()))) +
         field(std::to_string(shown.altitude)) + field(shown.altitudeUnit) +
         field(std::to_string(shown.airspeed)) + field(shown.airspeedUnit) +
         (playing_ && !IsRunning(instrument_) ? "It flies once the instrument is ON." : message_);
}

}  // namespace kvr9::web
