#include "support/fake_host.h"

#include <algorithm>

#include "screens/screens.h"

namespace kvr9::testing {

void FakeHost::PresentFrameBuffer(const FrameBuffer& frameBuffer) {
  if (keepFrames) frames.push_back(frameBuffer);
}

void FakeHost::ProcessPendingEvents() {
  ++eventCalls;
  if (!holdEvents) DeliverHeld();
}

void FakeHost::DeliverHeld() {
  for (const Scheduled& s : scheduled_) {
    if (s.eventCall == eventCalls) s.action(instrument_);
  }
}

void FakeHost::At(int eventCall, std::function<void(Instrument&)> action) {
  scheduled_.push_back({eventCall, std::move(action)});
}

void FakeHost::OffAt(int eventCall) {
  At(eventCall, [](Instrument& instrument) { RequestStop(instrument); });
}

int HookRecorder::Count(const std::string& name) const {
  return static_cast<int>(std::count(calls.begin(), calls.end(), name));
}

void StartOnMainDisplay(Instrument& instrument) {
  RunPowerOnSequence(instrument);
  instrument.state.ui.stopRequested = 0;
  instrument.state.ui.currentScreen = MainScreen;
  instrument.state.ui.cursor = 0;
}

void PassWithKey(Instrument& instrument, KeyEvent key) {
  instrument.state.ui.pendingKey = key;
  MainLoopPass(instrument);
}

}  // namespace kvr9::testing
