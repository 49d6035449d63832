// The web page as the instrument's front panel: the HostPanel that the
// firmware's main loop talks to when it runs as WebAssembly in a browser.
// The page's controls live in JavaScript (panel.js); this side only hands
// the loop's requests over to them and yields to the browser between passes.
#pragma once

#include "core/instrument.h"

namespace kvr9::web {

class WebPanel : public HostPanel {
 public:
  void PresentFrameBuffer(const FrameBuffer& frameBuffer) override;
  void SetLcdVisible(bool visible) override;
  void SetAlarmLed(bool lit) override;
  bool IsCalibrateChecked() override;
  bool IsKeyFastChecked() override;
  void AppendCommLine(const char* text) override;
  void ProcessPendingEvents() override;

  // One pass of the running loop lasts at least this long, as in the window.
  static constexpr double kPassPeriodMs = 100.0;

 private:
  double passStartMs_ = -1.0;  // when the present pass began; none yet
};

}  // namespace kvr9::web
