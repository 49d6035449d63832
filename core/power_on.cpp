// Switching on: power-on sequence, splash, then the main loop until "OFF",
// one pass at a time.
#include <cassert>
#include <cstdint>

#include "core/instrument.h"
#include "core/limits.h"
#include "lcd/text.h"
#include "screens/screens.h"

namespace kvr9 {

namespace {

constexpr const char* kMakerLine = "ORN AVIONICS";
constexpr const char* kModelLine = "KVR-9";
constexpr const char* kWebAddress = "www.orn-avionics.test";
constexpr const char* kFirmwareVersion = "2.00";
constexpr std::uint8_t kNoInversion = 100;

void DrawSplashFrame(Instrument& instrument, SplashProgress& pos) {
  FrameBuffer& fb = instrument.frameBuffer;
  ClearFrameBuffer(fb);
  DrawText8Literal(fb, static_cast<std::uint8_t>(pos.makerX), 5, kMakerLine, 1, PixelSet, 0);
  if (pos.makerX > 20) pos.makerX = static_cast<std::int8_t>(pos.makerX - 2);
  DrawText8CentredLiteral(fb, static_cast<std::uint8_t>(pos.modelX), 28, kModelLine, 1, PixelSet,
                          0);
  if (pos.makerX < 102 && pos.modelX < 64) pos.modelX = static_cast<std::int8_t>(pos.modelX + 2);
  DrawTextSmallCentredLiteral(fb, 64, 56, kWebAddress, kNoInversion);
  DrawTextSmallLiteral(fb, 95, 40, kFirmwareVersion, kNoInversion);
}

// The power-on sequence, and the splash from its first pass.
void StartPowerCycle(Instrument& instrument) {
  instrument.restartRequested = false;
  instrument.phase = PowerPhase::Splash;
  instrument.splash = SplashProgress{kSplashPasses};
  RunPowerOnSequence(instrument);
}

void EnterMainLoop(Instrument& instrument) {
  HookAlarmOutputOff(instrument);
  UiState& ui = instrument.state.ui;
  ui.stopRequested = 0;
  ui.currentScreen = MainScreen;
  ui.cursor = 0;
  instrument.phase = PowerPhase::MainLoop;
}

void SwitchOff(Instrument& instrument) {
  instrument.phase = PowerPhase::Off;
  instrument.running = false;
}

// A restart asked for since the last pass takes effect now, in place; a
// stop only in the main loop ("OFF" during the splash is lost). Whether
// the instrument is still on.
bool ActOnRequests(Instrument& instrument) {
  if (!instrument.running) return false;
  if (instrument.restartRequested) {
    StartPowerCycle(instrument);
  } else if (instrument.phase == PowerPhase::MainLoop && instrument.state.ui.stopRequested != 0) {
    SwitchOff(instrument);
  }
  return instrument.running;
}

// A splash pass up to its events: the frame is drawn and shown.
void BeginSplashPass(Instrument& instrument) {
  DrawSplashFrame(instrument, instrument.splash);
  instrument.host->PresentFrameBuffer(instrument.frameBuffer);
  instrument.splash.airDataDue = true;
  instrument.host->ProcessPendingEvents();
}

// The rest of it, unless "ON" came in its events and started over.
void EndSplashPass(Instrument& instrument) {
  instrument.splash.airDataDue = false;
  UpdateAltitude(instrument);
  UpdateAirspeed(instrument);
  if (--instrument.splash.passesLeft == 0) EnterMainLoop(instrument);
}

}  // namespace

void SwitchOn(Instrument& instrument) {
  // Every front end installs its host before "ON"; without one there is
  // nothing to draw on, so a release build simply stays off.
  assert(instrument.host != nullptr);
  if (instrument.host == nullptr) return;
  if (instrument.running) {
    instrument.restartRequested = true;
    return;
  }
  instrument.running = true;
  StartPowerCycle(instrument);
}

// The requests are looked at before the pass too: a host that lets events
// in between its steps, not inside ProcessPendingEvents, has them act
// where the firmware's loop test would.
bool StepPowerCycle(Instrument& instrument) {
  if (!ActOnRequests(instrument)) return false;
  if (instrument.splash.airDataDue) EndSplashPass(instrument);
  if (instrument.phase == PowerPhase::Splash) {
    BeginSplashPass(instrument);
  } else {
    MainLoopPass(instrument);
  }
  return ActOnRequests(instrument);
}

void PowerOn(Instrument& instrument) {
  if (instrument.running) return;
  SwitchOn(instrument);
  while (StepPowerCycle(instrument)) {
  }
}

}  // namespace kvr9
