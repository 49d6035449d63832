#include "web/web_panel.h"

#include <algorithm>

#include "host/panel/lcd_painter.h"
#include "host/panel/reading_units.h"
#include "web/page_boundary.h"

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

// What the bar shows, a JSON object of the flight's named fields: "state"
// ("playing", "paused" or "ended"); the flight's "name"; "elapsed" and
// "total" whole seconds; the profile's "altitude" and "airspeed" at that
// moment in the display's units, named by "altitudeUnit" and
// "airspeedUnit"; the log's "summary"; the "note" for the pilot; a
// "problem" (why a log was refused, a value beyond the converters' reach)
// or ""; whether the instrument is "on"; the "speed" chosen.
std::string FlightJson(const FlightStatus& status, const char* standCaption) {
  std::string json = "{";
  const auto field = [&json](const char* key, const std::string& value) {
    json += std::string(json.size() > 1 ? "," : "") + '"' + key + "\":" + value;
  };
  field("state", JsonString(status.playing ? "playing" : status.ended ? "ended" : "paused"));
  field("name", JsonString(status.name));
  field("elapsed", std::to_string(status.elapsedSeconds));
  field("total", std::to_string(status.totalSeconds));
  field("altitude", std::to_string(status.now.altitude));
  field("altitudeUnit", JsonString(status.now.altitudeUnit));
  field("airspeed", std::to_string(status.now.airspeed));
  field("airspeedUnit", JsonString(status.now.airspeedUnit));
  field("summary", JsonString(status.summary));
  field("note", JsonString(FlightNotes(status, " ", true)));
  field("problem", JsonString(status.message));
  field("on", status.instrumentOn ? "true" : "false");
  field("speed", std::to_string(status.speed));
  field("stand", JsonString(standCaption));
  return json + '}';
}

}  // namespace

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      static constexpr char kHex[] = "0123456789abcdef";
      out += "\\u00";
      out += kHex[byte >> 4];
      out += kHex[byte & 0xf];
    } else {
      out += c;
    }
  }
  return out + '"';
}

WebPanel::WebPanel()
    : picture_(static_cast<std::size_t>(kLcdWidth * kLcdScale * kLcdHeight * kLcdScale)) {}

// The page is told of every pass; a picture unchanged since the last frame
// is not painted again.
void WebPanel::ShowFrame(const FrameBuffer& frame, bool changed) {
  if (!changed) {
    kvr9_page_present(nullptr);
    return;
  }
  PaintLcd(picture_.data(), kLcdWidth * kLcdScale, frame, RgbaBytesPixel(kLcdDarkDot),
           RgbaBytesPixel(kLcdDefaultBlankDot), kLcdScale);
  kvr9_page_present(picture_.data());
  // What a screen reader says: the LCD's text, read from its dots, told to
  // the page when it changes. An alarm blinks the numerals with the blink
  // phase; the frames without them are not read, so the listener does not
  // hear the text change back and forth.
  const InstrumentState& state = rig_->instrument().state;
  if (AirspeedAlarmCondition(state) && state.ui.blinkPhase != 1) return;
  std::string lines = SpokenLines(rig_->session().ScreenText());
  // The splash slides its lines in: a listener hears its text once, whole,
  // once the lines have stopped, not the fragments on the way.
  const Instrument& instrument = rig_->instrument();
  if (instrument.phase == PowerPhase::Splash) {
    const SplashProgress& at = instrument.splash;
    const bool settled =
        splashAt_ && splashAt_->makerX == at.makerX && splashAt_->modelX == at.modelX;
    splashAt_ = at;
    if (!settled) return;
  } else {
    splashAt_.reset();
  }
  if (lines != lcdLines_) {
    lcdLines_ = std::move(lines);
    kvr9_page_lcd_text(lcdLines_.c_str());
  }
}

void WebPanel::ShowLcdVisible(bool visible) {
  kvr9_page_set_lcd_visible(visible ? 1 : 0);
}

void WebPanel::ShowLed(bool lit) {
  kvr9_page_set_alarm_led(lit ? 1 : 0);
}

// The page's communication window is a list of rows, all of it laid out:
// it looks the same after a line when its every row is that line.
void WebPanel::ShowCommLine(const char* text, const CommLines::Change& change) {
  kvr9_page_append_comm_line(text, change.dropOldest ? 1 : 0,
                             CommLines::LooksTheSame(change, CommLines::kMostLines) ? 1 : 0);
}

// The pass may have changed the settings the readings are worked out with.
void WebPanel::PassEnded() {
  DescribeSliders();
  ShowFlight();
}

void WebPanel::ShowRunning(bool on) {
  kvr9_page_running(on ? 1 : 0);
}

void WebPanel::ShowSlider(SliderKind /*slider*/, std::int32_t /*position*/) {
  DescribeSliders();
}

void WebPanel::ShowBox(BoxKind box, bool checked) {
  kvr9_page_box(box == BoxKind::Calibrate ? 0 : 1, checked ? 1 : 0);
}

// The communication window's rows as the snapshot kept them, oldest first.
void WebPanel::ShowCommWindow(const CommLines::Memory& lines) {
  std::string rows = "[";
  for (std::size_t i = 0; i < lines.lines; ++i) {
    rows += std::string(i == 0 ? "" : ",") +
            JsonString(i + lines.repeats >= lines.lines ? lines.last : std::string());
  }
  kvr9_page_comm_rows((rows + "]").c_str());
}

void WebPanel::ShowStandCaption(const char* caption) {
  standCaption_ = caption;
  ShowFlight();
}

void WebPanel::ShowLesson() {
  kvr9_page_lesson();
}

void WebPanel::DescribeSliders() {
  const Instrument& instrument = rig_->instrument();
  const AirData& air = instrument.state.airData;
  const struct {
    SliderKind kind;
    std::int32_t position;
  } sliders[] = {{SliderKind::Altitude, air.altAdcRaw}, {SliderKind::Airspeed, air.asiAdcRaw}};
  for (const auto& slider : sliders) {
    // While off, the reading the slider gives once "ON" loads the defaults.
    std::string description = SliderDescription(rig_->ReadingsWith(), slider.kind,
                                                static_cast<std::uint32_t>(slider.position));
    std::string& told = sliderDescriptions_[slider.kind == SliderKind::Altitude ? 0 : 1];
    if (description == told) continue;
    told = std::move(description);
    kvr9_page_slider(slider.kind == SliderKind::Altitude ? 1 : 0, slider.position, told.c_str());
  }
}

// The bar always offers a flight: once the rig has closed it (a snapshot
// without one), the demo, without moving the sliders until it is used.
void WebPanel::ShowFlight() {
  if (!rig_->FlightOpen() && !rig_->AwaitedFlight() && !offeringDemo_) {
    offeringDemo_ = true;
    rig_->UseDemoFlight(false);
    offeringDemo_ = false;
    return;
  }
  std::string status = FlightJson(rig_->Flight(), standCaption_);
  if (status == flightStatus_) return;
  flightStatus_ = std::move(status);
  kvr9_page_flight(flightStatus_.c_str());
}

}  // namespace kvr9::web
