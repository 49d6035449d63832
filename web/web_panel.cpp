#include "web/web_panel.h"

#include <emscripten.h>

#include "host/panel/lcd_painter.h"
#include "host/panel/reading_units.h"

// Implemented by the page (page_bridge.js hands them to panel.js).
extern "C" {
void kvr9_page_present(const std::uint32_t* pixels);
void kvr9_page_set_lcd_visible(int visible);
void kvr9_page_set_alarm_led(int lit);
void kvr9_page_append_comm_line(const char* text, int dropOldest, int unchangedOnScreen);
void kvr9_page_lcd_text(const char* lines);
void kvr9_page_slider(int altitude, int position, const char* description);
void kvr9_page_flight(const char* status);
}

namespace kvr9::web {

WebPanel::WebPanel(PanelInputs& inputs, const Instrument& instrument, PageFlight& flight)
    : inputs_(inputs),
      instrument_(instrument),
      flight_(flight),
      picture_(static_cast<std::size_t>(kLcdWidth * kLcdScale * kLcdHeight * kLcdScale)) {}

// The page is told of every pass; a picture unchanged since the last frame
// is not painted again.
void WebPanel::PresentFrameBuffer(const FrameBuffer& frameBuffer) {
  if (painted_ && frameBuffer.bytes == paintedFrame_.bytes) {
    kvr9_page_present(nullptr);
    return;
  }
  PaintLcd(picture_.data(), kLcdWidth * kLcdScale, frameBuffer, RgbaBytesPixel(kLcdDarkDot),
           RgbaBytesPixel(kLcdDefaultBlankDot), kLcdScale);
  paintedFrame_ = frameBuffer;
  painted_ = true;
  kvr9_page_present(picture_.data());
  // What a screen reader says: the LCD's text, read from its dots, told to
  // the page when it changes.
  ReadLcdText(frameBuffer, lcdText_);
  std::string lines = lcdText_.AsLines();
  if (lines != lcdLines_) {
    lcdLines_ = std::move(lines);
    kvr9_page_lcd_text(lcdLines_.c_str());
  }
}

void WebPanel::SetLcdVisible(bool visible) {
  kvr9_page_set_lcd_visible(visible ? 1 : 0);
}

void WebPanel::SetAlarmLed(bool lit) {
  kvr9_page_set_alarm_led(lit ? 1 : 0);
}

bool WebPanel::IsCalibrateChecked() {
  return inputs_.IsCalibrateChecked();
}

bool WebPanel::IsKeyFastChecked() {
  return inputs_.IsKeyFastChecked();
}

// The page's communication window is a list of rows, all of it laid out:
// it looks the same after a line when its every row is that line.
void WebPanel::AppendCommLine(const char* text) {
  const CommLines::Change change = commLines_.Append(text);
  kvr9_page_append_comm_line(text, change.dropOldest ? 1 : 0,
                             CommLines::LooksTheSame(change, CommLines::kMostLines) ? 1 : 0);
}

// The browser runs the page's handlers only while the firmware sleeps here:
// the sleep hands control back to it (even a sleep of 0 ms lets every waiting
// click, slider move and timer tick through) and lasts until 100 ms have
// passed since the previous pass began. Unpaced, the loop would spin a core.
void WebPanel::ProcessPendingEvents() {
  inputs_.EventsBegin();
  double remainingMs = 0.0;
  if (passStartMs_ >= 0.0) remainingMs = kPassPeriodMs - (emscripten_get_now() - passStartMs_);
  emscripten_sleep(remainingMs > 0.0 ? static_cast<unsigned int>(remainingMs) : 0U);
  passStartMs_ = emscripten_get_now();
  flight_.PlayPass();
  DescribeSliders();
  ShowFlight();
  inputs_.EventsEnd();
}

void WebPanel::DescribeSliders() {
  const AirData& air = instrument_.state.airData;
  const struct {
    SliderKind kind;
    std::int32_t position;
  } sliders[] = {{SliderKind::Altitude, air.altAdcRaw}, {SliderKind::Airspeed, air.asiAdcRaw}};
  for (const auto& slider : sliders) {
    std::string description =
        SliderDescription(instrument_, slider.kind, static_cast<std::uint32_t>(slider.position));
    std::string& told = sliderDescriptions_[slider.kind == SliderKind::Altitude ? 0 : 1];
    if (description == told) continue;
    told = std::move(description);
    kvr9_page_slider(slider.kind == SliderKind::Altitude ? 1 : 0, slider.position, told.c_str());
  }
}

void WebPanel::ShowFlight() {
  std::string status = flight_.Status();
  if (status == flightStatus_) return;
  flightStatus_ = std::move(status);
  kvr9_page_flight(flightStatus_.c_str());
}

}  // namespace kvr9::web
