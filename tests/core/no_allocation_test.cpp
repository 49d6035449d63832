// The firmware runs without touching the heap: every pass, every screen,
// every key.
#include <gtest/gtest.h>

#include "core/instrument.h"
#include "screens/screen_table.h"
#include "screens/screens.h"
#include "support/allocation_counter.h"
#include "support/null_host.h"

namespace kvr9 {
namespace {

// Stops the instrument after a number of passes.
class QuietHost : public testing::NullHost {
 public:
  void ProcessPendingEvents() override {
    if (++calls == stopAfter) RequestStop(*instrument);
  }
  Instrument* instrument = nullptr;
  int calls = 0;
  int stopAfter = 0;
};

TEST(NoAllocation, PowerCycleAirDataAndEveryScreenWithEveryKey) {
  Instrument instrument;
  QuietHost host;
  host.instrument = &instrument;
  host.stopAfter = 90;
  instrument.host = &host;
  instrument.state.airData.altAdcRaw = 3347;
  instrument.state.airData.asiAdcRaw = 1000;

  testing::StartCountingAllocations();
  PowerOn(instrument);
  for (const ScreenEntry& entry : ScreenTable()) {
    const ScreenHandler screen = entry.handler;
    for (std::uint8_t key = KeyNone; key <= KeyF2; ++key) {
      for (std::uint8_t cursor = 0; cursor < 11; ++cursor) {
        instrument.state.ui.currentScreen = screen;
        instrument.state.ui.returnScreen = screen;
        instrument.state.ui.cursor = cursor;
        instrument.state.ui.editing = static_cast<std::uint8_t>(cursor & 1);
        instrument.state.settings.qnhUnit = static_cast<std::uint8_t>(cursor & 1);
        instrument.state.ui.pendingKey = key;
        MainLoopPass(instrument);
      }
    }
  }
  EXPECT_EQ(testing::StopCountingAllocations(), 0);
}

TEST(PowerOnDeathTest, MissingHostIsCaughtInDebugBuilds) {
  Instrument instrument;
  EXPECT_DEBUG_DEATH(PowerOn(instrument), "host");
  EXPECT_FALSE(IsRunning(instrument));
}

}  // namespace
}  // namespace kvr9
