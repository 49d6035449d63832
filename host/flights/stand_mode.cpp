#include "host/flights/stand_mode.h"

#include "screens/screens.h"

namespace kvr9 {

namespace {

constexpr double kClimbingFtPerSecond = 2;
constexpr double kOnGroundFt = 20;  // above the field still counts as on it

}  // namespace

const char* StandCaption(const StandMoment& moment) {
  if (moment.phase != PowerPhase::MainLoop) return kStandSwitchingOn;
  if (moment.screen == &MaxValuesScreen) return kStandMaxValues;
  if (moment.screen != &MainScreen) return kStandMenus;
  if (moment.alarm) {
    return moment.now.airspeedMph >= moment.highAlarmMph ? kStandHighAlarm : kStandLowAlarm;
  }
  if (moment.now.altitudeFt <= moment.groundFt + kOnGroundFt) {
    if (moment.landed) return moment.now.airspeedMph > 0 ? kStandLanded : kStandAfterFlight;
    if (moment.now.airspeedMph >= moment.takeoffMph) return kStandTakeOff;
    return moment.now.airspeedMph > 0 ? kStandTaxi : kStandParked;
  }
  const double rate = (moment.now.altitudeFt - moment.earlier.altitudeFt) / kStandTrendSeconds;
  if (rate > kClimbingFtPerSecond) return kStandClimb;
  if (rate < -kClimbingFtPerSecond) return kStandDescent;
  return kStandCruise;
}

void StandMode::Start() {
  flight_.Use(DemoFlight(), kDemoFlightName, std::string(), std::string());
  flight_.SetSpeed(1);
  flight_.Fly();
  active_ = true;
  passesSinceLed_ = kLedPasses;
}

void StandMode::BeforePass() {
  if (active_ && !flight_.Playing()) flight_.Play();  // from its start again
}

void StandMode::End() {
  if (!active_) return;
  active_ = false;
  flight_.Pause();
}

const char* StandMode::Caption(const Instrument& instrument, bool ledLit) {
  // The LED lights during the splash too; only the main loop's counts.
  if (instrument.phase != PowerPhase::MainLoop) {
    passesSinceLed_ = kLedPasses;
  } else if (ledLit) {
    passesSinceLed_ = 0;
  } else if (passesSinceLed_ < kLedPasses) {
    ++passesSinceLed_;
  }
  const FlightProfile& profile = flight_.Profile();
  const double at = profile.StartSeconds() + static_cast<double>(flight_.Status().elapsedSeconds);
  double highestAt = profile.StartSeconds();
  double highestFt = profile.At(highestAt).altitudeFt;
  for (const ProfileSample& sample : profile.Samples()) {
    if (sample.altitudeFt > highestFt) {
      highestFt = sample.altitudeFt;
      highestAt = sample.seconds;
    }
  }
  const Settings& settings = instrument.state.settings;
  StandMoment moment;
  moment.phase = instrument.phase;
  moment.screen = instrument.state.ui.currentScreen;
  moment.alarm = instrument.state.airData.alarmActive != 0 || passesSinceLed_ < kLedPasses;
  moment.now = profile.At(at);
  moment.earlier = profile.At(at - kStandTrendSeconds);
  moment.groundFt = profile.At(profile.StartSeconds()).altitudeFt;
  moment.landed = at > highestAt;
  moment.highAlarmMph = settings.highAlarmSpeed;
  moment.takeoffMph = settings.takeoffSpeed;
  return StandCaption(moment);
}

}  // namespace kvr9
