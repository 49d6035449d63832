// Costs of the firmware's work per pass: one main-loop pass on every screen
// (with a host that does nothing) and the two air-data channels.
#include <benchmark/benchmark.h>

#include "core/instrument.h"
#include "screens/screens.h"
#include "support/null_host.h"

namespace kvr9 {
namespace {

struct NamedScreen {
  const char* name;
  ScreenHandler screen;
  std::uint8_t cursor;
};

const NamedScreen kScreens[] = {
    {"MainScreen", MainScreen, 0},           {"MainMenuScreen", MainMenuScreen, 3},
    {"StartStopScreen", StartStopScreen, 0}, {"FlightInfoScreen", FlightInfoScreen, 0},
    {"MaxValuesScreen", MaxValuesScreen, 0}, {"DisplaySetupScreen", DisplaySetupScreen, 2},
    {"ContrastScreen", ContrastScreen, 0},   {"AltSetupScreen", AltSetupScreen, 1},
    {"FlightLogScreen", FlightLogScreen, 1}, {"LogViewScreen", LogViewScreen, 0},
    {"EraseLogScreen", EraseLogScreen, 2},   {"LogBusyScreen", LogBusyScreen, 1},
    {"MessageScreen", MessageScreen, 0},     {"AsiSetupScreen", AsiSetupScreen, 7},
    {"ZeroAsiScreen", ZeroAsiScreen, 1},     {"CalibrateScreen", CalibrateScreen, 1},
    {"AdcValuesScreen", AdcValuesScreen, 0},
};

void BM_MainLoopPass(benchmark::State& state) {
  const NamedScreen& named = kScreens[state.range(0)];
  state.SetLabel(named.name);
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
