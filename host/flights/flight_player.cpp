#include "host/flights/flight_player.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

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

constexpr std::uint8_t kSlowFilter = 2;         // asiFilter "SLOW"
constexpr std::int32_t kAltitudeWindowFt = 25;  // steps beyond it show at once
constexpr std::uint32_t kMostSettlePasses = 1000;

// Steps a channel with its input held until its smoothing memory stands
// still: the passes that still moved it.
template <typename Update, typename Memory>
std::uint32_t PassesMoving(Instrument& scratch, Update update, Memory memory) {
  std::uint32_t moving = 0;
  for (std::uint32_t pass = 1; pass <= kMostSettlePasses; ++pass) {
    const auto before = memory();
    update(scratch);
    if (memory() == before) break;
    moving = pass;
  }
  return moving;
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
      speedUp_(std::clamp<std::uint32_t>(speedUp, 1, kMostSpeedUp)),
      holdPasses_(HoldPasses()) {
  // Passes at from, from + speedUp/rate, ... up to and including to: where
  // that step does not land on to, a last pass stands at to itself, so a
  // flight ends where its log does at every speed.
  gridCount_ =
      static_cast<std::uint64_t>(std::floor((to_ - from_) * passesPerSecond_ / speedUp_ + 1e-9)) +
      1;
  if (to_ - StepSeconds(gridCount_ - 1) > 1e-6) {
    endPass_ = true;
    ++gridCount_;
  }
  PlanHolds();
  passCount_ = gridCount_ + std::uint64_t{holdCount_} * holdPasses_;
}

// The slowest smoothing is the SLOW airspeed filter, a quarter of the way a
// pass: from rest to the top count its memory moves for 32 passes (FAST,
// halfway a pass, for 13). The altitude moves an eighth of the way a pass,
// but only within 25 ft (a longer step shows at once): from the edge of
// that window, 29 passes.
std::uint32_t FlightPlayer::HoldPasses() {
  static const std::uint32_t passes = [] {
    Instrument scratch;
    LoadDefaultSettings(scratch);
    LoadDefaultCalibration(scratch);
    AirData& air = scratch.state.airData;
    scratch.state.settings.asiFilter = kSlowFilter;
    air.asiAdcRaw = static_cast<std::int32_t>(kSliderHighest);
    air.asiFilterState = 0;
    const std::uint32_t airspeed =
        PassesMoving(scratch, UpdateAirspeed, [&air] { return air.asiFilterState; });
    air.altAdcRaw = static_cast<std::int32_t>(kSliderHighest / 2);
    UpdateAltitude(scratch);  // from far away: taken whole
    air.pressureAltFilter = (air.pressureAltitudeFt - kAltitudeWindowFt) * 8;
    air.qnhAltFilter = (air.qnhAltitudeFt - kAltitudeWindowFt) * 8;
    const std::uint32_t altitude = PassesMoving(scratch, UpdateAltitude, [&air] {
      return std::pair{air.pressureAltFilter, air.qnhAltFilter};
    });
    return std::max(airspeed, altitude);
  }();
  return passes;
}

// Only faster than the window's ten passes a second of the log: at real
// time the instrument sees the flight as it would have in the aircraft.
// A player of a single moment steps over nothing.
void FlightPlayer::PlanHolds() {
  holdCount_ = 0;
  if (std::uint64_t{speedUp_} * kDefaultPassesPerSecond <= passesPerSecond_ || !(to_ > from_)) {
    return;
  }
  const ProfileSample* highest = nullptr;
  const ProfileSample* fastest = nullptr;
  for (const ProfileSample& sample : profile_->Samples()) {
    if (sample.seconds < from_ || sample.seconds > to_) continue;
    if (highest == nullptr || sample.altitudeFt > highest->altitudeFt) highest = &sample;
    if (fastest == nullptr || sample.airspeedMph > fastest->airspeedMph) fastest = &sample;
  }
  if (highest == nullptr) return;
  std::array<double, 2> moments{highest->seconds, fastest->seconds};
  std::sort(moments.begin(), moments.end());
  for (const double seconds : moments) {
    if (holdCount_ > 0 && holds_[holdCount_ - 1].seconds == seconds) continue;
    const auto before = static_cast<std::uint64_t>(
        std::floor((seconds - from_) * passesPerSecond_ / speedUp_ + 1e-9));
    holds_[holdCount_++] = {std::min(before, gridCount_ - 1), seconds};
  }
}

double FlightPlayer::StepSeconds(std::uint64_t gridPass) const {
  return from_ + static_cast<double>(gridPass) * speedUp_ / passesPerSecond_;
}

double FlightPlayer::GridSeconds(std::uint64_t gridPass) const {
  const std::uint64_t pass = std::min(gridPass, gridCount_ - 1);
  return endPass_ && pass == gridCount_ - 1 ? to_ : StepSeconds(pass);
}

// A tick every 100 ms of profile time, counted in whole passes so that no
// rounding drifts over a long flight; by the pass at to, every tick due by to.
std::uint64_t FlightPlayer::GridTicks(std::uint64_t gridPass) const {
  const auto stepTicks = [this](std::uint64_t pass) {
    return pass * 10 * speedUp_ / passesPerSecond_;
  };
  if (!endPass_ || gridPass < gridCount_ - 1) return stepTicks(gridPass);
  const auto byTo = static_cast<std::uint64_t>(std::floor((to_ - from_) * 10 + 1e-6));
  return std::max(stepTicks(gridCount_ - 2), byTo);
}

FlightPlayer::Moment FlightPlayer::MomentOf(std::uint64_t pass) const {
  std::uint64_t held = 0;  // held passes before it
  for (std::uint32_t i = 0; i < holdCount_; ++i) {
    const Hold& hold = holds_[i];
    const std::uint64_t first = hold.afterPass + 1 + held;
    if (pass < first) break;
    if (pass < first + holdPasses_) {
      // The ticks due by the held moment, within those of the passes around it.
      const double ticks = std::floor((hold.seconds - from_) * 10 + 1e-6);
      return {hold.seconds, std::clamp(static_cast<std::uint64_t>(std::max(ticks, 0.0)),
                                       GridTicks(hold.afterPass), GridTicks(hold.afterPass + 1))};
    }
    held += holdPasses_;
  }
  return {GridSeconds(pass - held), GridTicks(pass - held)};
}

double FlightPlayer::NextSeconds() const {
  return MomentOf(std::min(passesDone_, passCount_ - 1)).seconds;
}

double FlightPlayer::PlayedSeconds() const {
  return passesDone_ == 0 ? from_ : MomentOf(std::min(passesDone_, passCount_) - 1).seconds;
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
  ticksDone_ = std::min(progress.ticksDone, MomentOf(passesDone_).ticksDue);
}

FlightPass FlightPlayer::Next(const Instrument& instrument) {
  FlightPass pass;
  pass.sample = profile_->At(NextSeconds());
  const std::uint64_t ticksDue = MomentOf(passesDone_).ticksDue;
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
