// The web page as a view of the panel session: what the session tells it
// (a changed frame, the LED, a communication line, the end of a pass) goes
// to the page's scripts through the imports of web/page_boundary.h. The
// page paints the LCD with the host library's painter and hears the LCD's
// text, the sliders' descriptions and the flight bar only when they change.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/flights/flight_control.h"
#include "host/panel/panel_session.h"

namespace kvr9::web {

// A JSON string: quotes and backslashes escaped, control bytes as \u00XX;
// other bytes (UTF-8) as they are.
std::string JsonString(std::string_view text);

class WebPanel final : public PanelView {
 public:
  WebPanel();

  // The session and flight it shows; before the first pass.
  void Attach(PanelSession& session, const FlightControl& flight);

  void ShowFrame(const FrameBuffer& frame, bool changed) override;
  void ShowLcdVisible(bool visible) override;
  void ShowLed(bool lit) override;
  void ShowCommLine(const char* text, const CommLines::Change& change) override;
  void PassEnded() override;

  // Tells the page each slider's position and description when either has
  // changed: a flight moves them, and a setting changes the readings.
  void DescribeSliders();
  // Tells the page what the flight bar shows when it has changed.
  void ShowFlight();
  // Stand mode's caption, told with the bar; empty while it does not run.
  void SetStandCaption(const char* caption) { standCaption_ = caption; }

  // The LCD as the page shows it: each dot a 2 x 2 block.
  static constexpr int kLcdScale = 2;

 private:
  PanelSession* session_ = nullptr;
  const FlightControl* flight_ = nullptr;
  std::string sliderDescriptions_[2];
  std::string flightStatus_;
  const char* standCaption_ = "";
  std::vector<std::uint32_t> picture_;      // RGBA bytes, as the canvas takes them
  std::string lcdLines_;                    // the LCD's text, as the page was last told
  std::optional<SplashProgress> splashAt_;  // where the splash's lines were a frame before
};

}  // namespace kvr9::web
