// Runs a scenario against the instrument's firmware, unchanged, through a
// HostPanel of its own: no window, no wall clock, no pacing.
//
// The firmware's PowerOn returns only on "OFF", so "on" calls it from here
// and the scenario goes on inside the firmware's own ProcessPendingEvents
// calls, exactly where the window delivers its events. A "pass N" step lets
// N of those calls return, one pass each; the steps that follow are
// delivered at the end of the Nth pass. While the instrument is off, steps
// run straight from Run(), as the window's handlers run from its own loop.
#pragma once

#include <cstdint>
#include <fstream>
#include <optional>
#include <ostream>
#include <string>

#include "core/instrument.h"
#include "host/flight_player.h"
#include "host/lcd_text.h"
#include "host/panel_inputs.h"
#include "host/scenario.h"
#include "tools/headless/lcd_gif.h"

namespace kvr9::headless {

enum ExitStatus : int {
  kExitPassed = 0,             // every expectation held
  kExitExpectationFailed = 1,  // the first failed expectation ended the run
  kExitBadInput = 2,           // malformed scenario or argument, unreadable or unwritable file
};

class ScenarioRunner : public HostPanel {
 public:
  // out receives what the show steps print; err the reason a run fails.
  ScenarioRunner(const Scenario& scenario, std::ostream& out, std::ostream& err);
  ScenarioRunner(const ScenarioRunner&) = delete;
  ScenarioRunner& operator=(const ScenarioRunner&) = delete;

  ExitStatus Run();

  void PresentFrameBuffer(const FrameBuffer& frameBuffer) override;
  // Steps look at the LCD only between passes, when it is always shown.
  void SetLcdVisible(bool) override {}
  void SetAlarmLed(bool lit) override { ledLit_ = lit; }
  bool IsCalibrateChecked() override { return inputs_.IsCalibrateChecked(); }
  bool IsKeyFastChecked() override { return inputs_.IsKeyFastChecked(); }
  void AppendCommLine(const char* text) override;
  void ProcessPendingEvents() override;

  const Instrument& instrument() const { return instrument_; }
  // "FILE:LINE: message" of the step that ended the run, empty when none did.
  const std::string& failure() const { return failure_; }

 private:
  // Whether the firmware gets control back after a step delivered inside
  // its event processing.
  enum class Flow : std::uint8_t { KeepDelivering, ReturnToFirmware };

  void DeliverUntilNextPass();
  bool HasNextStep() const;
  Flow Deliver(const Step& step);
  Flow DeliverPowerOn();
  Flow DeliverPowerOff();
  Flow DeliverPasses(std::uint32_t passes);
  void DeliverEvent(const Step& step);
  void Report(const Step& step);
  void Check(const Step& step);
  void CheckLcd(const Step& step);
  void CheckText(const Step& step);
  // The rows of text the LCD shows now.
  const std::string& ScreenLines();
  void SaveLcd(const Step& step);
  void SaveAnimation(const Step& step);
  void StopAnimation();
  void MoveSlider(const Step& step);
  Flow BeginFlight(const Step& step);
  void FlyTo(double seconds);
  bool FlyOnePass();
  bool EndsTheFlight(const Step& step) const;
  void StartTrace(const Step& step);
  void StopTrace();
  void WriteTraceRow();
  void Fail(ExitStatus status, const Step& step, const std::string& message);
  std::string Where(const Step& step) const;

  const Scenario& scenario_;
  std::ostream& out_;
  std::ostream& err_;
  Instrument instrument_;
  // The steps reach the instrument as the window's handlers deliver them.
  PanelInputs inputs_{instrument_};
  std::size_t nextStep_ = 0;
  std::uint32_t passesStillFree_ = 0;  // event calls that return at once
  bool finished_ = false;              // no more steps will be delivered
  ExitStatus status_ = kExitPassed;
  std::string failure_;

  // What the window would show and hold.
  FrameBuffer shownFrame_;
  bool ledLit_ = true;  // the LED shape's stored colour is bright red until the first pass
  std::uint64_t commLines_ = 0;
  LcdText screenText_;       // the shown frame read as text, for the text steps
  std::string screenLines_;  // and as lines

  // The flight being flown: passes are flown while flying_, up to flyUntil_
  // on the profile's own clock; between "at" steps it waits.
  const ScenarioFlight* flight_ = nullptr;
  std::optional<FlightPlayer> player_;
  bool flying_ = false;
  double flyUntil_ = 0;
  bool passFlown_ = false;  // the pass under way was flown
  FlightPass lastFlown_;

  std::ofstream trace_;
  const Step* traceStep_ = nullptr;  // the trace being written

  LcdAnimation animation_;
  const Step* animationStep_ = nullptr;  // the save-animation being recorded
};

// Parses, checks and runs a scenario text; the status of the whole run.
ExitStatus RunScenarioText(std::string_view text, const std::string& source,
                           const std::filesystem::path& baseDir, std::ostream& out,
                           std::ostream& err);

}  // namespace kvr9::headless
