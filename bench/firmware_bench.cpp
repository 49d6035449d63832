// Costs of the firmware's work per pass: one main-loop pass on every screen
// (with a host that does nothing) and the two air-data channels.
#include <benchmark/benchmark.h>

#include "core/instrument.h"
#include "screens/screen_table.h"
#include "screens/screens.h"
#include "support/null_host.h"

namespace kvr9 {
namespace {

// Each screen at a telling cursor; names from the instrument's table.
struct ScreenAt {
  ScreenHandler screen;
  std::uint8_t cursor;
};

const ScreenAt kScreens[] = {
    {MainScreen, 0},      {MainMenuScreen, 3},     {StartStopScreen, 0}, {FlightInfoScreen, 0},
    {MaxValuesScreen, 0}, {DisplaySetupScreen, 2}, {ContrastScreen, 0},  {AltSetupScreen, 1},
    {FlightLogScreen, 1}, {LogViewScreen, 0},      {EraseLogScreen, 2},  {LogBusyScreen, 1},
    {MessageScreen, 0},   {AsiSetupScreen, 7},     {ZeroAsiScreen, 1},   {CalibrateScreen, 1},
    {AdcValuesScreen, 0},
};

void BM_MainLoopPass(benchmark::State& state) {
  const ScreenAt& named = kScreens[state.range(0)];
  state.SetLabel(FindScreen(named.screen)->name);
  Instrument instrument;
  testing::NullHost host;
  instrument.host = &host;
  RunPowerOnSequence(instrument);
  instrument.state.airData.altAdcRaw = 3000;
  instrument.state.airData.asiAdcRaw = 1000;
  instrument.state.settings.flightDetectAuto = 1;  // FLIGHT T/O row shown
  instrument.state.ui.returnScreen = MainScreen;
  for (auto _ : state) {
    instrument.state.ui.currentScreen = named.screen;
    instrument.state.ui.cursor = named.cursor;
    MainLoopPass(instrument);
    benchmark::DoNotOptimize(instrument.frameBuffer.bytes.data());
  }
}
BENCHMARK(BM_MainLoopPass)->DenseRange(0, sizeof kScreens / sizeof kScreens[0] - 1);

void BM_UpdateAltitude(benchmark::State& state) {
  Instrument instrument;
  RunPowerOnSequence(instrument);
  std::int32_t count = 0;
  for (auto _ : state) {
    instrument.state.airData.altAdcRaw = count;
    count = (count + 97) % 4097;
    UpdateAltitude(instrument);
    benchmark::DoNotOptimize(instrument.state.airData.altitude);
  }
}
BENCHMARK(BM_UpdateAltitude);

void BM_UpdateAirspeed(benchmark::State& state) {
  Instrument instrument;
  RunPowerOnSequence(instrument);
  instrument.state.settings.asiShowsTas = 1;
  std::int32_t count = 0;
  for (auto _ : state) {
    instrument.state.airData.asiAdcRaw = count;
    count = (count + 97) % 4097;
    UpdateAirspeed(instrument);
    benchmark::DoNotOptimize(instrument.state.airData.airspeed);
  }
}
BENCHMARK(BM_UpdateAirspeed);

}  // namespace
}  // namespace kvr9

BENCHMARK_MAIN();
