// The page's panel session and the exports its scripts call (declared, with
// their arguments, in web/page_boundary.h): each applies the panel's input
// as the window's handler of the same control does, through the session's
// inputs, which record it for the session copy. The page's own timer steps
// the instrument; its events come in between the steps.
#include <emscripten.h>

#include <string>

#include "host/panel/key_table.h"
#include "host/panel/panel_form.h"
#include "host/panel/panel_session.h"
#include "web/page_boundary.h"
#include "web/page_flight.h"
#include "web/web_panel.h"

namespace {

struct Page {
  kvr9::web::WebPanel panel;
  kvr9::PanelSession session{panel};
  kvr9::web::PageFlight flight{session.inputs(), session.instrument()};
  std::string scenario;  // the last session copy, read by the page
  Page() { panel.Attach(session, flight); }
};

Page& ThePage() {
  static Page page;
  return page;
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE void kvr9_on() {
  ThePage().session.PressOn();
}

// The flight's pass comes first, as the window's between two passes; once
// off, the bar offers Fly again and the sliders tell the readings the next
// "ON" gives.
EMSCRIPTEN_KEEPALIVE int kvr9_step() {
  Page& page = ThePage();
  page.flight.PlayPass();
  page.panel.DescribeSliders();
  page.panel.ShowFlight();
  if (page.session.Step()) return 1;
  page.panel.ShowFlight();
  page.panel.DescribeSliders();
  return 0;
}

EMSCRIPTEN_KEEPALIVE void kvr9_off() {
  ThePage().session.PressOff();
  ThePage().flight.Pause();
  ThePage().panel.ShowFlight();
}

// A key is kept only while none is pending; a number that is no key is
// ignored.
EMSCRIPTEN_KEEPALIVE void kvr9_store_key(int key) {
  const kvr9::InstrumentKey* named = kvr9::KeyByEvent(static_cast<kvr9::KeyEvent>(key));
  if (key > 0 && named != nullptr) ThePage().session.inputs().ClickKey(named->key);
}

// The keyboard keys (KeyboardEvent.key) that work the instrument's keys, as
// "F1=f1 F2=f2 ...": the key table the window uses, read by the page once.
EMSCRIPTEN_KEEPALIVE const char* kvr9_keyboard_table() {
  static const std::string table = [] {
    std::string text;
    for (const kvr9::InstrumentKey& key : kvr9::InstrumentKeys()) {
      text += std::string(text.empty() ? "" : " ") + key.keyboard + "=" + key.word;
    }
    return text;
  }();
  return table.c_str();
}

EMSCRIPTEN_KEEPALIVE void kvr9_set_altitude_converter(int position) {
  ThePage().session.inputs().MoveSlider(kvr9::SliderKind::Altitude, position);
}

EMSCRIPTEN_KEEPALIVE void kvr9_set_airspeed_converter(int position) {
  ThePage().session.inputs().MoveSlider(kvr9::SliderKind::Airspeed, position);
}

// box 0 "Calibrate", 1 "KeyFast".
EMSCRIPTEN_KEEPALIVE void kvr9_set_box(int box, int checked) {
  ThePage().session.inputs().SetBox(box == 0 ? kvr9::BoxKind::Calibrate : kvr9::BoxKind::KeyFast,
                                    checked != 0);
}

EMSCRIPTEN_KEEPALIVE void kvr9_timer_tick() {
  ThePage().session.inputs().TimerTick();
}

EMSCRIPTEN_KEEPALIVE int kvr9_period_ms() {
  return kvr9::kPanelPeriodMs;
}

// The sliders' descriptions after a hand has moved one (while the
// instrument runs, every pass tells them when they change).
EMSCRIPTEN_KEEPALIVE void kvr9_describe_sliders() {
  ThePage().panel.DescribeSliders();
}

// The flight bar. Each control tells the page the bar's new state at once,
// and the sliders' descriptions when it moved them.
EMSCRIPTEN_KEEPALIVE void kvr9_flight_show() {
  ThePage().panel.ShowFlight();
}

EMSCRIPTEN_KEEPALIVE void kvr9_flight_demo() {
  ThePage().flight.UseDemo();
  ThePage().panel.DescribeSliders();
  ThePage().panel.ShowFlight();
}

// Room for a log's name and bytes; the page writes them there, one after
// the other, then opens it, saying how long the name is.
EMSCRIPTEN_KEEPALIVE char* kvr9_flight_text_buffer(int bytes) {
  return ThePage().flight.TextBuffer(bytes > 0 ? static_cast<std::size_t>(bytes) : 0);
}

EMSCRIPTEN_KEEPALIVE void kvr9_flight_open(int nameBytes) {
  ThePage().flight.Open(nameBytes > 0 ? static_cast<std::size_t>(nameBytes) : 0);
  ThePage().panel.DescribeSliders();
  ThePage().panel.ShowFlight();
}

EMSCRIPTEN_KEEPALIVE void kvr9_flight_play(int playing) {
  if (playing != 0)
    ThePage().flight.Play();
  else
    ThePage().flight.Pause();
  ThePage().panel.ShowFlight();
}

// One of the bar's speeds (x1, x4, x16, x64); any other is ignored.
EMSCRIPTEN_KEEPALIVE void kvr9_flight_speed(int speedUp) {
  ThePage().flight.SetSpeed(speedUp > 0 ? static_cast<std::uint32_t>(speedUp) : 0U);
  ThePage().panel.ShowFlight();
}

// The scrub bar: to a moment, in whole seconds from the flight's start.
EMSCRIPTEN_KEEPALIVE void kvr9_flight_move_to(int seconds) {
  ThePage().flight.MoveTo(seconds);
  ThePage().panel.DescribeSliders();
  ThePage().panel.ShowFlight();
}

// The session so far as a kvr9-headless scenario; valid until the next
// call. The page puts its header comment lines above it.
EMSCRIPTEN_KEEPALIVE const char* kvr9_session_scenario() {
  Page& page = ThePage();
  page.scenario = page.session.record().AsScenario("");
  return page.scenario.c_str();
}

}  // extern "C"
