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

bool IsBarSpeed(std::uint32_t speedUp) {
  return std::find(std::begin(kFlightBarSpeeds), std::end(kFlightBarSpeeds), speedUp) !=
         std::end(kFlightBarSpeeds);
}

// A JSON string: quotes and backslashes escaped, control bytes as \u00XX;
// other bytes (UTF-8) as they are.
std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      static constexpr char kHex[] = "0123456789abcdef";
      out += "\\u00";
      out += kHex[byte >> 4];
      out += kHex[byte & 0xf];
    } else {
      out += c;
    }
  }
  return out + '"';
}

}  // namespace

const Instrument& SettingsInForce(const Instrument& instrument) {
  if (IsRunning(instrument)) return instrument;
  static Instrument defaults;
  defaults.state = instrument.state;
  LoadDefaultSettings(defaults);
  LoadDefaultCalibration(defaults);
  return defaults;
}

// The panel keeps its own start (the sliders at 1) until a flight is chosen.
PageFlight::PageFlight(PanelInputs& inputs, const Instrument& instrument)
    : inputs_(inputs), instrument_(instrument) {
  Loaded(DemoFlight(), "Demo flight");
}

void PageFlight::Loaded(FlightProfile profile, std::string name) {
  player_.reset();
  profile_ = std::move(profile);
  summaryUnits_ = -1;
  name_ = std::move(name);
  playing_ = false;
  StartAt(profile_.StartSeconds());
}

void PageFlight::UseDemo() {
  Loaded(DemoFlight(), "Demo flight");
  pilotNote_.clear();
  message_.clear();
  SlidersToNext();
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
  // A log without airspeed is told in the pilot's words; the reader's
  // warning for it (its last) is the engineer's.
  pilotNote_ = PilotNote(read);
  if (read.airspeedFromGroundSpeed && !read.warnings.empty()) read.warnings.pop_back();
  message_ = read.warnings.empty() ? std::string() : read.warnings.front();
  Loaded(std::move(read.profile), OneLine(name));
  SlidersToNext();
}

void PageFlight::StartAt(double seconds) {
  player_.emplace(profile_, seconds, profile_.EndSeconds(), kDefaultPassesPerSecond, speedUp_);
  checked_ = false;
}

void PageFlight::SlidersToNext() {
  FlightPlayer look = *player_;
  const FlightPass pass = look.Next(SettingsInForce(instrument_));
  inputs_.MoveSlider(SliderKind::Altitude, pass.altitudeCount);
  inputs_.MoveSlider(SliderKind::Airspeed, pass.airspeedCount);
}

void PageFlight::Play() {
  if (player_->Finished()) StartAt(profile_.StartSeconds());
  playing_ = true;
}

void PageFlight::Pause() {
  playing_ = false;
}

void PageFlight::SetSpeed(std::uint32_t speedUp) {
  if (speedUp == speedUp_ || !IsBarSpeed(speedUp)) return;
  speedUp_ = speedUp;
  const bool checked = checked_;
  StartAt(player_->NextSeconds());
  checked_ = checked;
}

void PageFlight::MoveTo(long seconds) {
  const double at = std::clamp(profile_.StartSeconds() + static_cast<double>(seconds),
                               profile_.StartSeconds(), profile_.EndSeconds());
  const bool checked = checked_;
  StartAt(at);
  checked_ = checked;
  SlidersToNext();
}

void PageFlight::PlayPass() {
  if (!playing_ || instrument_.phase != PowerPhase::MainLoop) return;
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
  const Settings& settings = SettingsInForce(instrument_).state.settings;
  const ProfileSample now = profile_.At(player_->NextSeconds());
  const ShownFlightValues shown = ShownValues(settings, now);
  const bool running = IsRunning(instrument_);
  const bool ended = !playing_ && player_->Finished();
  std::string note = pilotNote_;
  if (ended) note += std::string(note.empty() ? "" : " ") + "The flight has ended.";
  note += std::string(note.empty() ? "" : " ") + (running ? kMaxValuesNote : kSwitchOnToFlyNote);
  const int units = settings.altUnit * 16 + settings.asiUnit;
  if (units != summaryUnits_) {
    summary_ = FlightSummaryText(settings, profile_);
    summaryUnits_ = units;
  }
  std::string status = "{";
  const auto text = [&status](const char* key, std::string_view value) {
    status += std::string(status.size() > 1 ? "," : "") + '"' + key + "\":" + JsonString(value);
  };
  const auto number = [&status](const char* key, long value) {
    status += std::string(status.size() > 1 ? "," : "") + '"' + key + "\":" + std::to_string(value);
  };
  text("state", playing_ ? "playing" : ended ? "ended" : "paused");
  text("name", name_);
  number("elapsed", WholeSeconds(now.seconds - profile_.StartSeconds()));
  number("total", WholeSeconds(profile_.DurationSeconds()));
  number("altitude", shown.altitude);
  text("altitudeUnit", shown.altitudeUnit);
  number("airspeed", shown.airspeed);
  text("airspeedUnit", shown.airspeedUnit);
  text("summary", summary_);
  text("note", note);
  text("problem", message_);
  status += std::string(",\"on\":") + (running ? "true" : "false") + '}';
  return status;
}

}  // namespace kvr9::web
