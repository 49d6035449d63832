// The web page as the instrument's front panel: the HostPanel that the
// firmware's main loop talks to when it runs as WebAssembly in a browser.
// The page's controls live in JavaScript (panel.js); this side paints the
// LCD with the host library's painter, keeps the communication window's
// rule and the check boxes' state, hands the rest to the page and yields
// to the browser between passes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/instrument.h"
#include "host/lcd_text/lcd_text.h"
#include "host/panel/comm_lines.h"
#include "host/panel/panel_inputs.h"
#include "web/page_flight.h"

namespace kvr9::web {

class WebPanel : public HostPanel {
 public:
  WebPanel(PanelInputs& inputs, const Instrument& instrument, PageFlight& flight);

  void PresentFrameBuffer(const FrameBuffer& frameBuffer) override;
  void SetLcdVisible(bool visible) override;
  void SetAlarmLed(bool lit) override;
  bool IsCalibrateChecked() override;
  bool IsKeyFastChecked() override;
  void AppendCommLine(const char* text) override;
  void ProcessPendingEvents() override;

  // Tells the page each slider's position and description when either has
  // changed: a flight moves them, and a setting changes the readings.
  void DescribeSliders();
  // Tells the page what the flight bar shows when it has changed.
  void ShowFlight();

  // One pass of the running loop lasts at least this long, as in the window.
  static constexpr double kPassPeriodMs = 100.0;
  // The LCD as the page shows it: each dot a 2 x 2 block.
  static constexpr int kLcdScale = 2;

 private:
  PanelInputs& inputs_;
  const Instrument& instrument_;
  PageFlight& flight_;
  std::string sliderDescriptions_[2];
  std::string flightStatus_;
  CommLines commLines_;
  std::vector<std::uint32_t> picture_;  // RGBA bytes, as the canvas takes them
  FrameBuffer paintedFrame_;
  LcdText lcdText_;       // the shown frame read back as text
  std::string lcdLines_;  // ... as lines, as the page was last told
  bool painted_ = false;
  double passStartMs_ = -1.0;  // when the present pass began; none yet
};

}  // namespace kvr9::web
