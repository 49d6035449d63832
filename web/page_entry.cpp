// The page's panel session and the exports its scripts call (declared, with
// their arguments, in web/page_boundary.h): each applies the panel's input
// as the window's handler of the same control does, through the session's
// inputs, which record it for the session copy. The page's own timer steps
// the instrument; its events come in between the steps.
#include <emscripten.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <string>

#include "host/common/quote.h"
#include "host/flights/flight_control.h"
#include "host/flights/flight_summary.h"
#include "host/flights/stand_mode.h"
#include "host/panel/key_table.h"
#include "host/panel/panel_form.h"
#include "host/panel/panel_session.h"
#include "host/snapshot/snapshot_image.h"
#include "web/page.h"
#include "web/page_boundary.h"
#include "web/web_panel.h"

namespace kvr9::web {

Page::Page() {
  panel.Attach(session, flight);
  flight.Use(DemoFlight(), kDemoFlightName, std::string(), std::string());
  flightChosen = true;
}

Page& ThePage() {
  static Page page;
  return page;
}

Snapshot SessionSnapshot() {
  Page& page = ThePage();
  Snapshot snapshot = CaptureSnapshot(page.session);
  if (const FlightPlayer* player = page.flight.Player()) {
    const std::string name = page.flight.Status().name;
    snapshot.flight =
        FlightOfPlayer(*player, page.flight.Profile().StartSeconds(),
                       name == kDemoFlightName ? "demo" : name, page.flight.Playing());
  }
  return snapshot;
}

// A snapshot's flight is taken up when it is the demo, or the log the bar
// holds (the page opens it again first); any other log is the person's to
// open.
std::string SetBack(const Snapshot& snapshot) {
  Page& page = ThePage();
  ApplySnapshot(snapshot, page.session);
  std::string flightNote;
  if (snapshot.flight) {
    const SnapshotFlight& flight = *snapshot.flight;
    const bool demo = flight.name == "demo";
    if (demo || flight.name == page.flight.Status().name) {
      page.flight.Resume(demo ? DemoFlight() : FlightProfile(page.flight.Profile()),
                         demo ? kDemoFlightName : flight.name, flight.fromSeconds, flight.toSeconds,
                         flight.passesPerSecond, flight.speedUp,
                         {flight.passesDone, flight.ticksDone}, flight.playing);
    } else {
      // Its speed is kept for the log when it is opened.
      page.flight.SetSpeed(flight.speedUp);
      flightNote = "Open its flight log " + Clipped(flight.name, kLongestQuotedPath) +
                   " to fly on from where it was.";
    }
  }
  // The communication window's rows as the session kept them.
  const CommLines::Memory& comm = snapshot.panel.commLines;
  std::string rows;
  for (std::size_t i = 0; i < comm.lines; ++i) {
    rows += std::string(i == 0 ? "" : ",") +
            JsonString(i + comm.repeats >= comm.lines ? comm.last : std::string());
  }
  const PanelInputs::Kept& boxes = snapshot.panel.inputs;
  page.panel.DescribeSliders();
  page.panel.ShowFlight();
  return std::string("{\"running\":") + (page.session.IsOn() ? "true" : "false") +
         ",\"calibrate\":" + (boxes.calibrateChecked ? "true" : "false") +
         ",\"keyFast\":" + (boxes.keyFastChecked ? "true" : "false") + ",\"commRows\":[" + rows +
         "],\"flight\":" + JsonString(flightNote) + "}";
}

}  // namespace kvr9::web

namespace {

using kvr9::web::Page;
using kvr9::web::ThePage;

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
  // The tour's step first: its "ON" starts a loop afresh.
  const bool standOn = page.stand.BeforePass();
  page.panel.SetStandCaption(page.stand.Caption());
  if (standOn || page.flight.BeforePass()) return 2;
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
  ThePage().flight.SwitchedOff();
  ThePage().panel.ShowFlight();
}

// A key is kept only while none is pending; a number that is no key is
// ignored.
EMSCRIPTEN_KEEPALIVE void kvr9_store_key(int key) {
  const kvr9::InstrumentKey* named = kvr9::KeyByEvent(static_cast<kvr9::KeyEvent>(key));
  if (key > 0 && named != nullptr) ThePage().session.inputs().ClickKey(named->key);
}

// The instrument's keys as a JSON array of {"word", "keyboard", "event"}:
// the key table the window uses, read by the page once.
EMSCRIPTEN_KEEPALIVE const char* kvr9_key_table() {
  static const std::string table = [] {
    std::string text;
    for (const kvr9::InstrumentKey& key : kvr9::InstrumentKeys()) {
      text += std::string(text.empty() ? "[" : ",") + "{\"word\":\"" + key.word +
              "\",\"keyboard\":\"" + key.keyboard +
              "\",\"event\":" + std::to_string(static_cast<int>(key.key)) + "}";
    }
    return text + "]";
  }();
  return table.c_str();
}

EMSCRIPTEN_KEEPALIVE void kvr9_set_altitude_converter(int position) {
  ThePage().flight.TakeOver();
  ThePage().session.inputs().MoveSlider(kvr9::SliderKind::Altitude, position);
  ThePage().panel.ShowFlight();
}

EMSCRIPTEN_KEEPALIVE void kvr9_set_airspeed_converter(int position) {
  ThePage().flight.TakeOver();
  ThePage().session.inputs().MoveSlider(kvr9::SliderKind::Airspeed, position);
  ThePage().panel.ShowFlight();
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
  ThePage().flight.Use(kvr9::DemoFlight(), kvr9::kDemoFlightName, std::string(), std::string());
  ThePage().panel.DescribeSliders();
  ThePage().panel.ShowFlight();
}

// Room for a log's name and bytes; the page writes them there, one after
// the other, then opens it, saying how long the name is.
EMSCRIPTEN_KEEPALIVE char* kvr9_flight_text_buffer(int bytes) {
  ThePage().logText.assign(bytes > 0 ? static_cast<std::size_t>(bytes) : 0U, '\0');
  return ThePage().logText.data();
}

// The name's extension, .igc or .csv, chooses the reader. A log that
// cannot be read leaves the flight as it was and says why.
EMSCRIPTEN_KEEPALIVE void kvr9_flight_open(int nameBytes) {
  Page& page = ThePage();
  const std::size_t split =
      std::min(nameBytes > 0 ? static_cast<std::size_t>(nameBytes) : 0U, page.logText.size());
  const std::string name = kvr9::OneLineName(page.logText.substr(0, split));
  kvr9::ProfileReadResult read =
      kvr9::ReadProfileText(std::string_view(page.logText).substr(split), name);
  std::string().swap(page.logText);
  if (!read.Ok()) {
    page.flight.Refuse(read.error);
  } else {
    // A log without airspeed is told in the pilot's words; the reader's
    // warning for it (its last) is the engineer's.
    std::string note = kvr9::PilotNote(read);
    if (read.airspeedFromGroundSpeed && !read.warnings.empty()) read.warnings.pop_back();
    std::string warning = read.warnings.empty() ? std::string() : read.warnings.front();
    page.flight.Use(std::move(read.profile), name, std::move(note), std::move(warning));
  }
  page.panel.DescribeSliders();
  page.panel.ShowFlight();
}

// Stand mode: on, the tour from its start, the demo at its start at x1
// (the page clicks "ON" right after); off, the flight pauses where it is.
EMSCRIPTEN_KEEPALIVE void kvr9_stand(int on) {
  Page& page = ThePage();
  if (on != 0) {
    page.stand.Start();
  } else {
    page.stand.End();
  }
  page.panel.SetStandCaption(page.stand.Caption());
  page.panel.DescribeSliders();
  page.panel.ShowFlight();
}

// What the page says once a visitor has ended stand mode, and after how
// many seconds without an input it resumes.
EMSCRIPTEN_KEEPALIVE const char* kvr9_stand_resumes() {
  return kvr9::kStandResumes;
}

EMSCRIPTEN_KEEPALIVE int kvr9_stand_resume_seconds() {
  return kvr9::kStandResumeSeconds;
}

// "Fly": the page clicks "ON" right after, as a person would.
EMSCRIPTEN_KEEPALIVE void kvr9_flight_fly() {
  ThePage().flight.Fly();
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
  for (const std::uint32_t speed : kvr9::kFlightBarSpeeds) {
    if (static_cast<std::uint32_t>(speedUp) == speed) ThePage().flight.SetSpeed(speed);
  }
  ThePage().panel.ShowFlight();
}

// The scrub bar: to a moment, in whole seconds from the flight's start.
EMSCRIPTEN_KEEPALIVE void kvr9_flight_move_to(int seconds) {
  Page& page = ThePage();
  page.flight.MoveTo(
      std::clamp(static_cast<double>(seconds), 0.0, page.flight.Profile().DurationSeconds()));
  page.panel.DescribeSliders();
  page.panel.ShowFlight();
}

// Room for bytes the page writes for the next call that reads them.
EMSCRIPTEN_KEEPALIVE char* kvr9_input_buffer(int bytes) {
  ThePage().input.assign(bytes > 0 ? static_cast<std::size_t>(bytes) : 0U, '\0');
  return ThePage().input.data();
}

// The session now as an image, for the full program to go on with, or for
// the device to keep: its length; kvr9_image_data() its bytes.
EMSCRIPTEN_KEEPALIVE int kvr9_image_capture() {
  Page& page = ThePage();
  // While a lesson has it, the device keeps the instrument as it was.
  page.answer = page.beforeLessons.empty() ? kvr9::SnapshotImage(kvr9::web::SessionSnapshot(),
                                                                 page.session.record().Bytes())
                                           : page.beforeLessons;
  return static_cast<int>(page.answer.size());
}

EMSCRIPTEN_KEEPALIVE const char* kvr9_image_data() {
  return ThePage().answer.data();
}

// The image in the input buffer set back: what the page shows of it (see
// SetBack), or "" when it is no image of this build's, which changes
// nothing.
EMSCRIPTEN_KEEPALIVE const char* kvr9_image_apply() {
  Page& page = ThePage();
  kvr9::Snapshot snapshot;
  std::string record;
  const bool ok = kvr9::SnapshotFromImage(page.input, snapshot, &record);
  std::string().swap(page.input);
  page.answer = ok ? kvr9::web::SetBack(snapshot) : std::string();
  // The record goes on as it was, so the session copy still replays from
  // the program's start.
  if (ok) page.session.record().SetFromBytes(record);
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
  page.answer = page.session.record().AsScenario(header);
  return page.answer.c_str();
}

}  // extern "C"
