#include "web/web_panel.h"

#include <emscripten.h>

#include <algorithm>

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

namespace {

// The LCD's text as a screen reader says it: the decoder's lines, and what
// a listener cannot see, the inverse text. A row all inverse is the one the
// cursor is on, "(selected)"; a row whose value alone is inverse is being
// edited, "(editing)".
std::string SpokenLines(const LcdText& text) {
  std::string out;
  std::string line;
  bool inverse = false;
  bool plain = false;
  const auto flush = [&]() {
    const std::size_t first = line.find_first_not_of(' ');
    if (first != std::string::npos) out.append(line, first, line.find_last_not_of(' ') - first + 1);
    if (inverse) out += plain ? " (editing)" : " (selected)";
    out += '\n';
    line.clear();
    inverse = plain = false;
  };
  const std::span<const LcdTextRun> runs = text.Runs();
  for (std::size_t i = 0; i < runs.size(); ++i) {
    const LcdTextRun& run = runs[i];
    if (i > 0 && run.line != runs[i - 1].line) flush();
    if (i > 0 && run.line == runs[i - 1].line) {
      const int gap = run.x - (runs[i - 1].x + runs[i - 1].width);
      if (gap > 0) line.append(static_cast<std::size_t>(std::max(1, (gap + 4) / 8)), ' ');
    }
    const std::string_view shown = run.Text();
    if (run.font == LcdFont::Icon) {
      line += "[icon:" + std::string(shown) + ']';
    } else if (shown.find_first_not_of(' ') != std::string_view::npos) {
      (run.inverse ? inverse : plain) = true;
      line += shown;
    }
  }
  if (!runs.empty()) flush();
  return out;
}

}  // namespace

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
  // the page when it changes. An alarm blinks the numerals with the blink
  // phase; the frames without them are not read, so the listener does not
  // hear the text change back and forth.
  const InstrumentState& state = instrument_.state;
  if (AirspeedAlarmCondition(state) && state.ui.blinkPhase != 1) return;
  ReadLcdText(frameBuffer, lcdText_);
  std::string lines = SpokenLines(lcdText_);
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
    // While off, the reading the slider gives once "ON" loads the defaults.
    std::string description = SliderDescription(SettingsInForce(instrument_), slider.kind,
                                                static_cast<std::uint32_t>(slider.position));
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
