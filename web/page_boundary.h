// Everything that crosses between the page's scripts and the program: the
// exports the scripts call (defined in page_entry.cpp; web/CMakeLists.txt
// exports exactly these) and the imports the program calls (given by
// page_bridge.js, which hands them to panel.js's panel). Numbers are ints,
// texts NUL-terminated UTF-8; a text returned stays valid until the next
// call of the same export.
#pragma once

#include <cstdint>

extern "C" {

// ---- Exports: the page's handlers and timer call these. ----

// "ON": switched off, the power cycle starts and its first pass runs at
// once (kvr9_page_running tells the page to step); on, it starts over at
// the next step. Never blocks.
void kvr9_on();
// "OFF": the next step switches the instrument off.
void kvr9_off();
// One pass of the instrument with the work before it (stand mode's move or
// the flight's). The page calls it every kvr9_period_ms() while running:
// 1 while the instrument is on, 0 once off.
int kvr9_step();
// key: a KeyEvent number (1 press, 2 clockwise, 3 counter-clockwise, 4 F1,
// 5 F2); kept only while no key is pending; another number is ignored.
void kvr9_store_key(int key);
// position: the converter's counts, 0 to the slider's maximum.
void kvr9_set_altitude_converter(int position);
void kvr9_set_airspeed_converter(int position);
// box: 0 "Calibrate", 1 "KeyFast"; checked: 0 or 1.
void kvr9_set_box(int box, int checked);
// The panel's timer ticked.
void kvr9_timer_tick();
// The period of the panel's timer and of the passes, in ms (100).
int kvr9_period_ms();
// The session so far as a kvr9-headless scenario, its header saying it was
// recorded from from to to (seconds since 1970, UTC).
const char* kvr9_session_scenario(double from, double to);
// Tells the sliders' descriptions (kvr9_page_slider) when they changed.
void kvr9_describe_sliders();
// Tells the flight bar (kvr9_page_flight) when it changed.
void kvr9_flight_show();
// The flight bar's controls; each tells the bar, and the sliders when it
// moved them.
// The demo flight, paused at its start, the sliders there.
void kvr9_flight_demo();
// Room for bytes: a log's name then its bytes, written by the page before
// kvr9_flight_open(nameBytes), nameBytes being the name's length.
char* kvr9_flight_text_buffer(int bytes);
void kvr9_flight_open(int nameBytes);
// Stand mode: on 1 starts its tour from the start (the sliders at the
// demo's start, x1, switched on afresh), 0 ends it. While it runs, the
// bar's status says in "stand" the caption of the tour's step.
void kvr9_stand(int on);
// The line shown once a visitor has ended stand mode, and the seconds
// without an input after which the page starts it again.
const char* kvr9_stand_resumes();
int kvr9_stand_resume_seconds();
// The bar's first button: "Fly" while off switches on and plays once the
// splash is over; while on it plays or pauses.
void kvr9_flight_fly();
// playing: 1 play (from the start once ended), 0 pause.
void kvr9_flight_play(int playing);
// speedUp: 1, 4, 16 or 64; another is ignored.
void kvr9_flight_speed(int speedUp);
// seconds: whole seconds from the flight's start, clipped to the flight.
void kvr9_flight_move_to(int seconds);

// Room for bytes the page writes for the next call that reads them
// (kvr9_image_apply, kvr9_snapshot_open).
char* kvr9_input_buffer(int bytes);
// What the device keeps (while lessons have it, the instrument as the
// first lesson found it) as an image, an opaque record of this build's, for
// the full program to go on with or for the device to keep between visits:
// its length, then kvr9_image_data() its bytes.
int kvr9_image_capture();
const char* kvr9_image_data();
// The image in the input buffer set back (the page hears of the controls,
// the communication window and the passes through its imports): a JSON
// object, "flight" a note when the snapshot's flight is a log the person
// must open again to fly on, else ""; "" when the bytes are no image of
// this build's, which changes nothing. A log's flight is taken up when the
// page has opened that log just before, or when it is opened later.
const char* kvr9_image_apply();

// ---- Exports of the full program only (kvr9-full.js): ----

// The session now as the snapshot's JSON text (docs/snapshots.md).
const char* kvr9_snapshot_json();
// The input buffer holds a name (for messages) of nameBytes, then a
// snapshot's JSON text: checked whole and set back, answered as
// kvr9_image_apply answers, or {"error": "NAME: field: what is wrong"}
// with nothing changed.
const char* kvr9_snapshot_open(int nameBytes);
// The built-in lessons, a JSON array of {"file", "language", "title"}: the
// English ones first, then their translations ("de", "fr"), each named by
// its English lesson's file.
const char* kvr9_lesson_list();
// Follows built-in lesson number from where it starts (a snapshot, off
// afresh, or switched on afresh): "" or why it cannot. The first lesson
// followed keeps the instrument as it found it, with its flight, until
// kvr9_lesson_close; the device keeps that copy meanwhile
// (kvr9_image_capture).
const char* kvr9_lesson_follow(int number);
// The input buffer holds a name of nameBytes (for messages, and what a
// solution calls the lesson), a lesson file's text of lessonBytes, then
// the text of the snapshot file its start names, if the person picked one:
// read whole, and with follow set followed as kvr9_lesson_follow follows a
// built-in one. {"title", "steps", "text"} (text: the lesson with its
// snapshot inside, to keep and share), or {"error": "NAME:LINE: what is
// wrong", "line", "reason", "snapshotWanted"} with nothing started;
// snapshotWanted names the file a lesson starts from when none came.
const char* kvr9_lesson_open(int nameBytes, int lessonBytes, int follow);
// The largest lesson file the reader takes, in bytes.
int kvr9_lesson_largest();
// The way the person has taken through the lesson followed, as a scenario
// for kvr9-headless that finishes it again ("lesson NAME" and the inputs
// since it started); "" when no lesson is followed.
const char* kvr9_lesson_way();
// Stops following the lesson; the instrument stays as it is.
void kvr9_lesson_leave();
// Stops following and sets the instrument back as the first lesson found
// it: 1 when it did, 0 when nothing was kept.
int kvr9_lesson_close();
// The person asked for the step's hint.
void kvr9_lesson_hint();
// The lessons panel's texts, a JSON object ("null" when no lesson is
// followed): "title", "steps", "passed", "done", "stepLine" ("Step 2 of
// 7"), "words", "hint" ("Hint: ..."), "hintShown", "doneLine" ("Done: step
// 1 of 7."), "off" (what to say of the LED while off, or null) and
// "control" (the control to mark: "ON", "OFF", "knob", "F1", "F2",
// "altitude-slider", "airspeed-slider", "calibrate-box", "keyfast-box", or
// null).
const char* kvr9_lesson_status();
// One of a scenario's input steps (its line in the input buffer) as the
// form's control to work: {"word", "control", "position", "checked",
// "count"}, or {"error"}.
const char* kvr9_step_on_form();

// ---- Imports: page_bridge.js gives these. ----

// pixels: the LCD painted as RGBA bytes, 256 x 128; null when the frame is
// the one shown already.
void kvr9_page_present(const std::uint32_t* pixels);
// visible: 0 or 1, the LCD's picture shown.
void kvr9_page_set_lcd_visible(int visible);
// lit: 0 or 1; only when the LED changes.
void kvr9_page_set_alarm_led(int lit);
// text: the new line; dropOldest: 1 when the oldest row goes;
// unchangedOnScreen: 1 when every row already shows this line.
void kvr9_page_append_comm_line(const char* text, int dropOldest, int unchangedOnScreen);
// lines: the LCD's text as a screen reader says it, "\n" after each line.
void kvr9_page_lcd_text(const char* lines);
// altitude: 1 the altitude slider, 0 airspeed; position: its counts;
// description: "<converter>: <counts> counts, about <reading>".
void kvr9_page_slider(int altitude, int position, const char* description);
// status: what the flight bar shows, a JSON object of the flight's named
// fields (web_panel.cpp's FlightJson).
void kvr9_page_flight(const char* status);
// on: 1 the instrument runs (the page steps it), 0 it stopped.
void kvr9_page_running(int on);
// box: 0 "Calibrate", 1 "KeyFast", as a snapshot set it.
void kvr9_page_box(int box, int checked);
// rows: the communication window as a snapshot has it, a JSON array of
// its rows, oldest first.
void kvr9_page_comm_rows(const char* rows);
// The lesson followed may show something else (kvr9_lesson_status).
void kvr9_page_lesson();
}
