// The page's panel rig and the exports its scripts call (declared, with
// their arguments, in web/page_boundary.h): each hands the panel's input to
// the rig as the window's handler of the same control does. The page's own
// timer steps the instrument; its events come in between the steps.
#include <emscripten.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <optional>
#include <string>
#include <utility>

#include "host/common/quote.h"
#include "host/panel/key_table.h"
#include "host/panel/panel_form.h"
#include "web/page.h"
#include "web/page_boundary.h"
#include "web/web_panel.h"

namespace kvr9::web {

// The bar offers the demo, the sliders staying at the panel's own start
// until the person uses the flight.
Page::Page() {
  panel.Attach(rig);
  rig.UseDemoFlight(false);
}

Page& ThePage() {
  static Page page;
  return page;
}

// The rig takes the flight up once the person opens its log again.
std::string SetBackAnswer(const SetFlight& set) {
  const std::string note = set.awaitedLog.empty()
                               ? std::string()
                               : "Open its flight log " +
                                     Clipped(set.awaitedLog, kLongestQuotedPath) +
                                     " to fly on from where it was.";
  return "{\"flight\":" + JsonString(note) + "}";
}

}  // namespace kvr9::web

namespace {

using kvr9::web::Page;
using kvr9::web::ThePage;

kvr9::PanelRig& Rig() {
  return ThePage().rig;
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE void kvr9_on() {
  Rig().PressOn();
}

EMSCRIPTEN_KEEPALIVE int kvr9_step() {
  return Rig().Step() ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE void kvr9_off() {
  Rig().PressOff();
}

// A key is kept only while none is pending; a number that is no key is
// ignored.
EMSCRIPTEN_KEEPALIVE void kvr9_store_key(int key) {
  if (key > 0 && kvr9::KeyByEvent(static_cast<kvr9::KeyEvent>(key)) != nullptr) {
    Rig().ClickKey(static_cast<kvr9::KeyEvent>(key));
  }
}

EMSCRIPTEN_KEEPALIVE void kvr9_set_altitude_converter(int position) {
  Rig().MoveSlider(kvr9::SliderKind::Altitude, position);
}

EMSCRIPTEN_KEEPALIVE void kvr9_set_airspeed_converter(int position) {
  Rig().MoveSlider(kvr9::SliderKind::Airspeed, position);
}

// box 0 "Calibrate", 1 "KeyFast".
EMSCRIPTEN_KEEPALIVE void kvr9_set_box(int box, int checked) {
  Rig().SetBox(box == 0 ? kvr9::BoxKind::Calibrate : kvr9::BoxKind::KeyFast, checked != 0);
}

EMSCRIPTEN_KEEPALIVE void kvr9_timer_tick() {
  Rig().TimerTick();
}

EMSCRIPTEN_KEEPALIVE int kvr9_period_ms() {
  return kvr9::kPanelPeriodMs;
}

// The sliders' descriptions after a hand has moved one (while the
// instrument runs, every pass tells them when they change).
EMSCRIPTEN_KEEPALIVE void kvr9_describe_sliders() {
  ThePage().panel.DescribeSliders();
}

EMSCRIPTEN_KEEPALIVE void kvr9_flight_show() {
  ThePage().panel.ShowFlight();
}

EMSCRIPTEN_KEEPALIVE void kvr9_flight_demo() {
  Rig().UseDemoFlight();
}

// Room for a log's name and bytes; the page writes them there, one after
// the other, then opens it, saying how long the name is.
EMSCRIPTEN_KEEPALIVE char* kvr9_flight_text_buffer(int bytes) {
  ThePage().logText.assign(bytes > 0 ? static_cast<std::size_t>(bytes) : 0U, '\0');
  return ThePage().logText.data();
}

EMSCRIPTEN_KEEPALIVE void kvr9_flight_open(int nameBytes) {
  Page& page = ThePage();
  const std::size_t split =
      std::min(nameBytes > 0 ? static_cast<std::size_t>(nameBytes) : 0U, page.logText.size());
  const std::string text = std::exchange(page.logText, {});
  page.rig.OpenFlightLog(text.substr(0, split), std::string_view(text).substr(split));
}

EMSCRIPTEN_KEEPALIVE void kvr9_stand(int on) {
  if (on != 0) {
    Rig().StartStand();
  } else {
    Rig().EndStand();
  }
}

// What the page says once a visitor has ended stand mode, and after how
// many seconds without an input it resumes.
EMSCRIPTEN_KEEPALIVE const char* kvr9_stand_resumes() {
  return kvr9::kStandResumes;
}

EMSCRIPTEN_KEEPALIVE int kvr9_stand_resume_seconds() {
  return kvr9::kStandResumeSeconds;
}

EMSCRIPTEN_KEEPALIVE void kvr9_flight_fly() {
  Rig().FlyOrPlayPause();
}

EMSCRIPTEN_KEEPALIVE void kvr9_flight_play(int playing) {
  Rig().PlayFlight(playing != 0);
}

EMSCRIPTEN_KEEPALIVE void kvr9_flight_speed(int speedUp) {
  Rig().SetFlightSpeed(static_cast<std::uint32_t>(speedUp));
}

EMSCRIPTEN_KEEPALIVE void kvr9_flight_move_to(int seconds) {
  Rig().MoveFlightTo(seconds);
}

// Room for bytes the page writes for the next call that reads them.
EMSCRIPTEN_KEEPALIVE char* kvr9_input_buffer(int bytes) {
  ThePage().input.assign(bytes > 0 ? static_cast<std::size_t>(bytes) : 0U, '\0');
  return ThePage().input.data();
}

// What the device keeps (while lessons have it, the instrument as it was
// before them), as an image: its length; kvr9_image_data() its bytes.
EMSCRIPTEN_KEEPALIVE int kvr9_image_capture() {
  ThePage().answer = Rig().KeptImage();
  return static_cast<int>(ThePage().answer.size());
}

EMSCRIPTEN_KEEPALIVE const char* kvr9_image_data() {
  return ThePage().answer.data();
}

EMSCRIPTEN_KEEPALIVE const char* kvr9_image_apply() {
  Page& page = ThePage();
  const std::string image = std::exchange(page.input, {});
  const std::optional<kvr9::SetFlight> set = page.rig.ApplyImage(image);
  page.answer = set ? kvr9::web::SetBackAnswer(*set) : std::string();
  return page.answer.c_str();
}

}  // extern "C"

namespace {

// "2026-12-09 05:22:32" for seconds since 1970, UTC.
std::string UtcText(double seconds) {
  const auto time = static_cast<std::time_t>(seconds);
  std::tm utc{};
  gmtime_r(&time, &utc);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", utc.tm_year + 1900,
                utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec);
  return text;
}

}  // namespace

extern "C" {

// The session so far as a kvr9-headless scenario, recorded from from to to
// (seconds since 1970); valid until the next call.
EMSCRIPTEN_KEEPALIVE const char* kvr9_session_scenario(double from, double to) {
  Page& page = ThePage();
  std::string header =
      kvr9::SessionRecord::CopyHeader("the KVR-9 web page", UtcText(from), UtcText(to));
  if (page.fromLink) {
    header +=
        "# Starts from a shared link's setup, not from power-on: save that setup as a "
        "snapshot and run kvr9-headless --from FILE SCENARIO\n";
  }
  page.answer = page.rig.session().record().AsScenario(header);
  return page.answer.c_str();
}

}  // extern "C"
