// One pass of the main loop, and the firmware side of the 100 ms timer.
#include <cstdint>

#include "core/instrument.h"
#include "core/limits.h"
#include "screens/screens.h"

namespace kvr9 {

namespace {

// On a slow tick a flight may start, and every slow tick keeps a running
// flight alive; without them the flight ends 30 passes later.
void DetectFlight(Instrument& instrument) {
  FlightTimer& timer = instrument.state.flightTimer;
  const Settings& settings = instrument.state.settings;
  if (timer.slowTick == 1) {
    if (settings.flightDetectAuto == 1 &&
        instrument.state.airData.airspeed >= settings.takeoffSpeed && timer.inFlight == 0) {
      StartFlight(instrument);
    }
    timer.landingCountdown = kLandingCountdownPasses;
  } else if (timer.inFlight == 1 && timer.landingCountdown > 0) {
    --timer.landingCountdown;
    if (timer.landingCountdown == 0) StopFlight(instrument);
  }
}

void AdvanceFlightTime(Instrument& instrument) {
  FlightTimer& timer = instrument.state.flightTimer;
  if (timer.inFlight != 1) return;
  ++timer.flightSeconds;
  if (timer.flightSeconds >= kSecondsPerMinute) {
    timer.flightSeconds = 0;
    timer.flightCounted = 1;
    ++timer.flightMinutes;
    StoreFlightLogEntry(instrument);
    if (timer.flightMinutes >= kMinutesPerHour) {
      timer.flightMinutes = 0;
      ++timer.flightHours;
      if (timer.flightHours > kMaxFlightHours) timer.flightHours = 0;
    }
  }
  timer.slowTick = 0;
}

void UpdateAlarmLed(Instrument& instrument) {
  const InstrumentState& state = instrument.state;
  const bool lit = state.airData.alarmActive != 0 && state.airData.alarmAcknowledged == 0 &&
                   state.ui.blinkPhase == 1;
  if (lit) {
    HookAlarmOutputOn(instrument);
  } else {
    HookAlarmOutputOff(instrument);
  }
  instrument.host->SetAlarmLed(lit);
}

}  // namespace

void StartFlight(Instrument& instrument) {
  FlightTimer& timer = instrument.state.flightTimer;
  timer.flightCounted = 0;
  timer.inFlight = 1;
  timer.flightSeconds = 0;
  timer.flightMinutes = 0;
  timer.flightHours = 0;
  if (instrument.state.settings.distZeroAuto == 1) ResetAirDistance(instrument);
}

void StopFlight(Instrument& instrument) {
  FlightTimer& timer = instrument.state.flightTimer;
  if (timer.flightCounted != 0) StoreFlightLogEntry(instrument);
  timer.inFlight = 0;
}

void MainLoopPass(Instrument& instrument) {
  InstrumentState& state = instrument.state;
  HostPanel& host = *instrument.host;

  DetectFlight(instrument);
  AdvanceFlightTime(instrument);
  UpdateAltitude(instrument);
  UpdateAirspeed(instrument);
  host.AppendCommLine(state.ui.commLine.data());
  state.ui.calibrateMode = host.IsCalibrateChecked() ? 1 : 0;
  if (state.settings.backlightOn == 1) {
    HookBacklightOn(instrument);
  } else {
    HookBacklightOff(instrument);
  }
  UpdateAlarmLed(instrument);
  state.ui.keyStep = host.IsKeyFastChecked() ? kKeyStepFast : kKeyStepSlow;

  host.SetLcdVisible(false);
  ClearFrameBuffer(instrument.frameBuffer);
  if (state.ui.currentScreen == nullptr) state.ui.currentScreen = MainScreen;
  state.ui.currentScreen(instrument);
  host.PresentFrameBuffer(instrument.frameBuffer);
  host.SetLcdVisible(true);
  host.ProcessPendingEvents();
}

void OnTimerTick(Instrument& instrument) {
  UiState& ui = instrument.state.ui;
  FlightTimer& timer = instrument.state.flightTimer;
  if (ui.blinkDivider++ > kBlinkDividerTop) {
    ui.blinkDivider = 0;
    ui.blinkPhase = ui.blinkPhase != 0 ? 0 : 1;
  }
  if (timer.tickDivider++ >= kSlowTickTicks) {
    timer.tickDivider = 0;
    timer.slowTick = 1;
  }
}

}  // namespace kvr9
