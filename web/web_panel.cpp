#include "web/web_panel.h"

#include <emscripten.h>

// Implemented by the page (page_bridge.js hands them to panel.js).
extern "C" {
void kvr9_page_present(const std::uint8_t* frameBytes);
void kvr9_page_set_lcd_visible(int visible);
void kvr9_page_set_alarm_led(int lit);
int kvr9_page_is_calibrate_checked();
int kvr9_page_is_key_fast_checked();
void kvr9_page_append_comm_line(const char* text);
}

namespace kvr9::web {

void WebPanel::PresentFrameBuffer(const FrameBuffer& frameBuffer) {
  kvr9_page_present(frameBuffer.bytes.data());
}

void WebPanel::SetLcdVisible(bool visible) {
  kvr9_page_set_lcd_visible(visible ? 1 : 0);
}

void WebPanel::SetAlarmLed(bool lit) {
  kvr9_page_set_alarm_led(lit ? 1 : 0);
}

bool WebPanel::IsCalibrateChecked() {
  return kvr9_page_is_calibrate_checked() != 0;
}

bool WebPanel::IsKeyFastChecked() {
  return kvr9_page_is_key_fast_checked() != 0;
}

void WebPanel::AppendCommLine(const char* text) {
  kvr9_page_append_comm_line(text);
}

// The browser runs the page's handlers only while the firmware sleeps here:
// the sleep hands control back to it (even a sleep of 0 ms lets every waiting
// click, slider move and timer tick through) and lasts until 100 ms have
// passed since the previous pass began. Unpaced, the loop would spin a core.
void WebPanel::ProcessPendingEvents() {
  double remainingMs = 0.0;
  if (passStartMs_ >= 0.0) remainingMs = kPassPeriodMs - (emscripten_get_now() - passStartMs_);
  emscripten_sleep(remainingMs > 0.0 ? static_cast<unsigned int>(remainingMs) : 0U);
  passStartMs_ = emscripten_get_now();
}

}  // namespace kvr9::web
