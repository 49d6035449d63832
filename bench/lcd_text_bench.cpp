// Cost of reading one LCD frame as text, on busy screens of the instrument:
// a front end may do it every pass.
#include <benchmark/benchmark.h>

#include "core/instrument.h"
#include "host/lcd_text/lcd_text.h"
#include "screens/screen_table.h"
#include "screens/screens.h"
#include "support/null_host.h"

namespace kvr9 {
namespace {

struct BusyScreen {
  ScreenHandler screen;
  std::uint8_t cursor;
};

const BusyScreen kBusyScreens[] = {
    {MainScreen, 0},     {MainMenuScreen, 3}, {AsiSetupScreen, 7},
    {ContrastScreen, 0}, {LogViewScreen, 1},  {FlightInfoScreen, 0},
};

FrameBuffer DrawScreen(const BusyScreen& busy) {
  Instrument instrument;
  testing::NullHost host;
  instrument.host = &host;
  RunPowerOnSequence(instrument);
  instrument.state.airData.altAdcRaw = 3000;
  instrument.state.airData.asiAdcRaw = 1000;
  instrument.state.settings.contrast = 62;  // the longest bar
  instrument.state.ui.currentScreen = busy.screen;
  instrument.state.ui.cursor = busy.cursor;
  MainLoopPass(instrument);
  return instrument.frameBuffer;
}

void BM_ReadLcdText(benchmark::State& state) {
  const BusyScreen& busy = kBusyScreens[state.range(0)];
  state.SetLabel(FindScreen(busy.screen)->name);
  const FrameBuffer frame = DrawScreen(busy);
  LcdText text;
  for (auto _ : state) {
    ReadLcdText(frame, text);
    benchmark::DoNotOptimize(text.runCount);
  }
}
BENCHMARK(BM_ReadLcdText)->DenseRange(0, sizeof kBusyScreens / sizeof kBusyScreens[0] - 1);

}  // namespace
}  // namespace kvr9
