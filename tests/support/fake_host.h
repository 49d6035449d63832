// A HostPanel for tests: records what the firmware shows and lets a test
// script events that arrive inside ProcessPendingEvents, exactly where the
// window would deliver them.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/instrument.h"

namespace kvr9::testing {

class FakeHost : public HostPanel {
 public:
  explicit FakeHost(Instrument& instrument) : instrument_(instrument) { instrument.host = this; }

  void PresentFrameBuffer(const FrameBuffer& frameBuffer) override;
  void SetLcdVisible(bool visible) override { lcdVisible = visible; }
  void SetAlarmLed(bool lit) override { ledStates.push_back(lit); }
  bool IsCalibrateChecked() override { return calibrateChecked; }
  bool IsKeyFastChecked() override { return keyFastChecked; }
  void AppendCommLine(const char* text) override { commLines.emplace_back(text); }
  void ProcessPendingEvents() override;

  // Runs action inside the event processing of the given call (1-based).
  void At(int eventCall, std::function<void(Instrument&)> action);
  // Stops the instrument once the given number of event calls has happened.
  void OffAt(int eventCall);
  // With holdEvents set, the actions of an event call wait for
  // DeliverHeld, as a host that steps the instrument lets events in
  // between its steps.
  void DeliverHeld();

  std::vector<FrameBuffer> frames;
  std::vector<bool> ledStates;
  std::vector<std::string> commLines;
  bool lcdVisible = true;
  bool calibrateChecked = false;
  bool keyFastChecked = false;
  int eventCalls = 0;
  bool keepFrames = true;
  bool holdEvents = false;

 private:
  struct Scheduled {
    int eventCall;
    std::function<void(Instrument&)> action;
  };
  Instrument& instrument_;
  std::vector<Scheduled> scheduled_;
};

// Records the order of hook calls by name.
class HookRecorder : public Hardware {
 public:
  explicit HookRecorder(Instrument& instrument) { instrument.hardware = this; }
  void SaveSettings() override { calls.emplace_back("SaveSettings"); }
  void MaxValuesReset() override { calls.emplace_back("MaxValuesReset"); }
  void SetContrast() override { calls.emplace_back("SetContrast"); }
  void BacklightOn() override { calls.emplace_back("BacklightOn"); }
  void BacklightOff() override { calls.emplace_back("BacklightOff"); }
  void AlarmOutputOn() override { calls.emplace_back("AlarmOutputOn"); }
  void AlarmOutputOff() override { calls.emplace_back("AlarmOutputOff"); }
  void EraseFlightLog() override { calls.emplace_back("EraseFlightLog"); }
  void StoreFlightLogEntry() override { calls.emplace_back("StoreFlightLogEntry"); }

  int Count(const std::string& name) const;
  std::vector<std::string> calls;
};

// Runs the power-on sequence and puts the instrument on the main display
// with a host attached, without the splash: the starting point of most
// screen tests.
void StartOnMainDisplay(Instrument& instrument);

// One main-loop pass with the given key pending.
void PassWithKey(Instrument& instrument, KeyEvent key);

}  // namespace kvr9::testing
