// One main-loop pass on the heaviest screen, AsiSetupScreen, as the native
// benchmark runs it, timed inside the browser page with the page's flags.
#include <emscripten.h>

#include "core/instrument.h"
#include "screens/screens.h"
#include "support/null_host.h"

extern "C" EMSCRIPTEN_KEEPALIVE double kvr9_pass_ns(int passes) {
  kvr9::Instrument instrument;
  kvr9::testing::NullHost host;
  instrument.host = &host;
  kvr9::RunPowerOnSequence(instrument);
  instrument.state.airData.altAdcRaw = 3000;
  instrument.state.airData.asiAdcRaw = 1000;
  instrument.state.settings.flightDetectAuto = 1;
  instrument.state.ui.returnScreen = kvr9::MainScreen;
  const double start = emscripten_get_now();
  for (int i = 0; i < passes; ++i) {
    instrument.state.ui.currentScreen = kvr9::AsiSetupScreen;
    instrument.state.ui.cursor = 7;
    kvr9::MainLoopPass(instrument);
  }
  return (emscripten_get_now() - start) * 1e6 / passes;
}
