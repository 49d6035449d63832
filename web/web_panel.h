// The web page as a view of the panel rig: what the rig tells it (a changed
// frame, the LED, a communication line, the end of a pass, controls it
// moved, the flight bar, the lesson followed) goes to the page's scripts
// through the imports of web/page_boundary.h. The page paints the LCD with
// the host library's painter and hears the LCD's text, the sliders'
// descriptions and the flight bar only when they change.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/rig/panel_rig.h"

namespace kvr9::web {

// A JSON string: quotes and backslashes escaped, control bytes as \u00XX;
// other bytes (UTF-8) as they are.
std::string JsonString(std::string_view text);

class WebPanel final : public RigView {
 public:
  WebPanel();

  // The rig it shows; before the first pass.
  void Attach(PanelRig& rig) { rig_ = &rig; }

  void ShowFrame(const FrameBuffer& frame, bool changed) override;
  void ShowLcdVisible(bool visible) override;
  void ShowLed(bool lit) override;
  void ShowCommLine(const char* text, const CommLines::Change& change) override;
  void PassEnded() override;
  void ShowRunning(bool on) override;
  void ShowSlider(SliderKind slider, std::int32_t position) override;
  void ShowBox(BoxKind box, bool checked) override;
  void ShowCommWindow(const CommLines::Memory& lines) override;
  void ShowFlight() override;
  void ShowStandCaption(const char* caption) override;
  void ShowLesson() override;

  // Tells the page each slider's position and description when either has
  // changed: a flight moves them, and a setting changes the readings.
  void DescribeSliders();

  // The LCD as the page shows it: each dot a 2 x 2 block.
  static constexpr int kLcdScale = 2;

 private:
  PanelRig* rig_ = nullptr;
  bool offeringDemo_ = false;
  std::string sliderDescriptions_[2];
  std::string flightStatus_;
  const char* standCaption_ = "";
  std::vector<std::uint32_t> picture_;      // RGBA bytes, as the canvas takes them
  std::string lcdLines_;                    // the LCD's text, as the page was last told
  std::optional<SplashProgress> splashAt_;  // where the splash's lines were a frame before
};

}  // namespace kvr9::web
