#include "host/flights/flight_player.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace kvr9 {

namespace {

std::string Clock(double seconds) {
  const auto whole = static_cast<long long>(std::floor(seconds));
  char text[40];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", whole / 3600, whole / 60 % 60,
                whole % 60);
  return text;
}

std::string Beyond(const char* what, double value, const char* unit, double seconds,
                   const SettledReadings& readings) {
  char text[200];
  std::snprintf(text, sizeof text,
                "%s %.0f %s at %s is beyond what the converters reach with these settings "
                "(%d..%d %s)",
                what, value, unit, Clock(seconds).c_str(), static_cast<int>(readings.Lowest()),
                static_cast<int>(readings.Highest()), unit);
  return text;
}

// A value is within reach when it rounds to a reading inside the range.
bool Within(double value, const SettledReadings& readings) {
  const double rounded = std::round(value);
  return rounded >= readings.Lowest() && rounded <= readings.Highest();
}

}  // namespace

FlightPlayer::FlightPlayer(const FlightProfile& profile, double fromSeconds, double toSeconds,
                           std::uint32_t passesPerSecond, std::uint32_t speedUp)
    : profile_(&profile),
      from_(std::clamp(fromSeconds, profile.StartSeconds(), profile.EndSeconds())),
      to_(std::clamp(toSeconds, from_, profile.EndSeconds())),
      passesPerSecond_(std::clamp<std::uint32_t>(passesPerSecond, 1, kMostPassesPerSecond)),
      speedUp_(std::clamp<std::uint32_t>(speedUp, 1, kMostSpeedUp)) {
  // Passes at from, from + speedUp/rate, ... up to and including to.
  passCount_ =
      static_cast<std::uint64_t>(std::floor((to_ - from_) * passesPerSecond_ / speedUp_ + 1e-9)) +
      1;
}

double FlightPlayer::NextSeconds() const {
  const std::uint64_t pass = std::min(passesDone_, passCount_ - 1);
  return from_ + static_cast<double>(pass) * speedUp_ / passesPerSecond_;
}

std::string FlightPlayer::CheckReach(const Instrument& instrument) {
  altitude_.Update(instrument, SliderKind::Altitude, ReadingOf::Profile, ReadingUnit::Feet);
  airspeed_.Update(instrument, SliderKind::Airspeed, ReadingOf::Profile, ReadingUnit::Mph);
  // The straight lines between samples reach their extremes at the samples,
  // so the samples inside the flight and its two ends are all there is to check.
  const auto check = [&](const ProfileSample& sample) -> std::string {
    if (!Within(sample.altitudeFt, altitude_)) {
      return Beyond("altitude", sample.altitudeFt, "ft", sample.seconds - profile_->StartSeconds(),
                    altitude_);
    }
    if (!Within(sample.airspeedMph, airspeed_)) {
      return Beyond("airspeed", sample.airspeedMph, "mph",
                    sample.seconds - profile_->StartSeconds(), airspeed_);
    }
    return {};
  };
  std::string problem = check(profile_->At(from_));
  for (const ProfileSample& sample : profile_->Samples()) {
    if (!problem.empty()) return problem;
    if (sample.seconds > from_ && sample.seconds < to_) problem = check(sample);
  }
  return problem.empty() ? check(profile_->At(to_)) : problem;
}

// Under the display's floor every count reads 0, so the nearest reading to
// a taxiing 12 mph would be the floor, 16 mph, and the instrument would
// show what it never shows on the ground. There the count follows the
// pitot's own law instead: its pressure, and so the count above the zero
// offset, goes with the square of the airspeed, up to the first count that
// reads.
std::int32_t FlightPlayer::AirspeedCount(double mph, const Instrument& instrument) const {
  const std::uint32_t rise = airspeed_.FirstRise();
  if (rise == 0 || rise > kSliderHighest || !(mph < airspeed_.At(rise))) {
    return static_cast<std::int32_t>(airspeed_.Nearest(mph).count);
  }
  const double zero = std::min<double>(instrument.state.settings.asiZeroOffset, rise);
  const double share = std::max(mph, 0.0) / airspeed_.At(rise);
  const double count = zero + (rise - zero) * share * share;
  return static_cast<std::int32_t>(std::min(std::floor(count), rise - 1.0));
}

void FlightPlayer::Resume(const Progress& progress) {
  passesDone_ = std::min(progress.passesDone, passCount_);
  const std::uint64_t due = passesDone_ * 10 * speedUp_ / passesPerSecond_;
  ticksDone_ = std::min(progress.ticksDone, due);
}

FlightPass FlightPlayer::Next(const Instrument& instrument) {
  FlightPass pass;
  pass.sample = profile_->At(NextSeconds());
  // A tick every 100 ms of profile time: those due by this pass, counted
  // in whole passes so that no rounding drifts over a long flight.
  const std::uint64_t ticksDue = passesDone_ * 10 * speedUp_ / passesPerSecond_;
  pass.ticks = static_cast<std::uint32_t>(ticksDue - ticksDone_);
  ticksDone_ = ticksDue;
  if (!Finished()) ++passesDone_;
  altitude_.Update(instrument, SliderKind::Altitude, ReadingOf::Profile, ReadingUnit::Feet);
  airspeed_.Update(instrument, SliderKind::Airspeed, ReadingOf::Profile, ReadingUnit::Mph);
  pass.altitudeCount = static_cast<std::int32_t>(altitude_.Nearest(pass.sample.altitudeFt).count);
  pass.airspeedCount = AirspeedCount(pass.sample.airspeedMph, instrument);
  return pass;
}

FlightPass FlightPlayer::PlayNext(PanelInputs& inputs, const Instrument& instrument, bool ticks) {
  const FlightPass pass = Next(instrument);
  if (ticks) {
    for (std::uint32_t tick = 0; tick < pass.ticks; ++tick) inputs.TimerTick();
  }
  inputs.MoveSlider(SliderKind::Altitude, pass.altitudeCount, true);
  inputs.MoveSlider(SliderKind::Airspeed, pass.airspeedCount, true);
  return pass;
}

}  // namespace kvr9
