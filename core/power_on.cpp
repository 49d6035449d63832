// Switching on: power-on sequence, splash, then the main loop until "OFF".
#include <cassert>
#include <cstdint>

#include "core/instrument.h"
#include "lcd/text.h"
#include "screens/screens.h"

namespace kvr9 {

namespace {

constexpr std::uint8_t kSplashPasses = 80;
constexpr const char* kMakerLine = "ORN AVIONICS";
constexpr const char* kModelLine = "KVR-9";
constexpr const char* kWebAddress = "www.orn-avionics.test";
constexpr const char* kFirmwareVersion = "2.00";
constexpr std::uint8_t kNoInversion = 100;

// Both x positions are signed bytes: the comparisons are signed, while the
// text routines receive the same byte as an unsigned x and wrap with it.
struct SplashPositions {
  std::int8_t makerX = 127;
  std::int8_t modelX = -20;
};

void DrawSplashFrame(Instrument& instrument, SplashPositions& pos) {
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

}  // namespace

void RunSplash(Instrument& instrument) {
  SplashPositions pos;
  for (std::uint8_t passesLeft = kSplashPasses; passesLeft > 0; --passesLeft) {
    DrawSplashFrame(instrument, pos);
    instrument.host->PresentFrameBuffer(instrument.frameBuffer);
    instrument.host->ProcessPendingEvents();
    // "ON" pressed during the splash starts the whole power cycle again.
    if (instrument.restartRequested) return;
    UpdateAltitude(instrument);
    UpdateAirspeed(instrument);
  }
}

void PowerOn(Instrument& instrument) {
  // Every front end installs its host before "ON"; without one there is
  // nothing to draw on, so a release build simply stays off.
  assert(instrument.host != nullptr);
  if (instrument.host == nullptr || instrument.running) return;
  instrument.running = true;
  do {
    instrument.restartRequested = false;
    instrument.phase = PowerPhase::Splash;
    RunPowerOnSequence(instrument);
    RunSplash(instrument);
    if (instrument.restartRequested) continue;
    HookAlarmOutputOff(instrument);
    UiState& ui = instrument.state.ui;
    ui.stopRequested = 0;
    ui.currentScreen = MainScreen;
    ui.cursor = 0;
    instrument.phase = PowerPhase::MainLoop;
    while (ui.stopRequested == 0 && !instrument.restartRequested) MainLoopPass(instrument);
  } while (instrument.restartRequested);
  instrument.phase = PowerPhase::Off;
  instrument.running = false;
}

}  // namespace kvr9
