#include "headless/mcp_tools.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <sstream>
#include <streambuf>

#include "headless/lcd_png.h"
#include "host/common/quote.h"
#include "host/panel/panel_words.h"
#include "host/panel/reading_units.h"
#include "host/rig/rig_files.h"
#include "host/scenario/fields.h"
#include "host/scenario/nearest_word.h"
#include "host/scenario/scenario.h"
#include "host/state/state_fields.h"

namespace kvr9::headless {

using nlohmann::json;

// ---------------------------------------------------------------------------
// The instrument

ExitStatus McpInstrument::RunScenario(const Scenario& scenario, std::ostream& out,
                                      std::ostream& err) {
  ScenarioExecutor executor(scenario, rig_, out, err, &pictures_);
  executor_ = &executor;
  struct Release {
    ScenarioExecutor*& executor;
    ~Release() { executor = nullptr; }
  } release{executor_};
  return executor.Run();
}

void McpInstrument::ShowFrame(const FrameBuffer& frame, bool changed) {
  if (executor_ != nullptr) executor_->ShowFrame(frame, changed);
}

void McpInstrument::ShowCommLine(const char* text, const CommLines::Change&) {
  if (commLines_.size() == kKeptCommLines) commLines_.pop_front();
  commLines_.emplace_back(text);
}

void McpInstrument::PassEnded() {
  ++passes_;
  if (executor_ != nullptr) executor_->PassEnded();
}

namespace {

// Output a tool returns is kept to this much; the rest is cut with a note.
constexpr std::size_t kLongestToolOutput = 1024 * 1024;
// Passes a tool runs to let a key, a slider or a box show: more are a
// run_passes call.
constexpr std::uint32_t kMostPassesAfter = 1000;
constexpr std::uint32_t kMostKnobClicks = 100;
// Passes power-on runs at most to reach the main loop; the splash takes 80.
constexpr int kMostSplashPasses = 1000;

// Keeps the first `limit` characters written to it, and whether more came.
class CappedBuffer final : public std::streambuf {
 public:
  explicit CappedBuffer(std::size_t limit) : limit_(limit) {}
  const std::string& text() const { return text_; }
  bool cut() const { return cut_; }

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    const char ch = traits_type::to_char_type(c);
    xsputn(&ch, 1);
    return c;
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    const std::size_t room = limit_ - text_.size();
    const std::size_t wanted = static_cast<std::size_t>(n);
    text_.append(s, std::min(room, wanted));
    if (wanted > room) cut_ = true;
    return n;
  }

 private:
  std::size_t limit_;
  std::string text_;
  bool cut_ = false;
};

std::string CappedText(const CappedBuffer& buffer) {
  return buffer.text() + (buffer.cut() ? "\n... (cut at 1 MiB)\n" : "");
}

const char* PhaseText(const Instrument& instrument) {
  switch (instrument.phase) {
    case PowerPhase::Off:
      return "off";
    case PowerPhase::Splash:
      return "on, in the splash";
    case PowerPhase::MainLoop:
      return "on, in the main loop";
  }
  return "off";
}

std::string StateLine(PanelSession& session) {
  const Instrument& instrument = session.instrument();
  std::string line = std::string("The instrument is ") + PhaseText(instrument);
  if (instrument.phase == PowerPhase::MainLoop) {
    line += " on screen " + ScreenName(instrument.state.ui.currentScreen);
  }
  return line + ".\n";
}

std::string LcdSection(PanelSession& session) {
  const std::string& lines = session.ScreenLines();
  if (lines.empty()) return "LCD: no text (blank, or pictures only)\n";
  return "LCD:\n" + lines;
}

json TextContent(std::string text) {
  return json{{"type", "text"}, {"text", std::move(text)}};
}

ToolResult Text(std::string text) {
  ToolResult result;
  result.content.push_back(TextContent(std::move(text)));
  return result;
}

ToolResult Failure(std::string message) {
  ToolResult result = Text(std::move(message));
  result.isError = true;
  return result;
}

// What every call that changes the instrument answers: what it did, the
// instrument's state and the LCD's text after it.
ToolResult Changed(McpInstrument& instrument, const std::string& done) {
  PanelSession& session = instrument.session();
  return Text(done + "\n" + StateLine(session) + LcdSection(session));
}

// The steps' text run on the instrument: whether every expectation held,
// what the show steps printed and why the run stopped.
struct StepsRun {
  bool parsed = false;
  ExitStatus status = kExitPassed;
  std::string printed;
  std::string problems;
};

StepsRun RunSteps(McpInstrument& instrument, std::string_view text) {
  StepsRun run;
  const ParseOutcome parsed = ParseScenario(text, "steps", std::filesystem::current_path());
  if (!parsed.ok) {
    run.problems = parsed.error + "\n";
    return run;
  }
  run.parsed = true;
  CappedBuffer printed(kLongestToolOutput);
  CappedBuffer problems(kLongestToolOutput);
  std::ostream out(&printed);
  std::ostream err(&problems);
  for (const std::string& warning : parsed.scenario.warnings) err << "warning: " << warning << '\n';
  run.status = instrument.RunScenario(parsed.scenario, out, err);
  run.printed = CappedText(printed);
  run.problems = CappedText(problems);
  return run;
}

// The tools work the panel as a scenario's steps do, through the same
// executor, so that each step is done one way. How many passes they ran.
std::uint32_t Do(McpInstrument& instrument, const std::string& steps) {
  const std::uint64_t before = instrument.passes();
  RunSteps(instrument, steps);
  return static_cast<std::uint32_t>(instrument.passes() - before);
}

// Passes run while the instrument is on; how many ran.
std::uint32_t RunPasses(McpInstrument& instrument, std::uint32_t passes) {
  return passes == 0 ? 0 : Do(instrument, "pass " + std::to_string(passes) + "\n");
}

std::string PassesText(std::uint32_t ran) {
  return std::to_string(ran) + (ran == 1 ? " pass" : " passes");
}

std::uint32_t Count(const json& arguments, const char* name, std::uint32_t fallback) {
  const auto found = arguments.find(name);
  if (found == arguments.end()) return fallback;
  return static_cast<std::uint32_t>(found->get<double>());
}

std::string String(const json& arguments, const char* name, const char* fallback) {
  const auto found = arguments.find(name);
  return found == arguments.end() ? fallback : found->get<std::string>();
}

const char* kOffMessage = "The instrument is off: switch it on with the power tool first.";

// ---------------------------------------------------------------------------
// The handlers

ToolResult Power(McpInstrument& instrument, const json& arguments) {
  PanelSession& session = instrument.session();
  const bool on = String(arguments, "state", "on") == "on";
  if (on) {
    const bool wasOn = session.IsOn();
    int passes = static_cast<int>(Do(instrument, "on\n"));
    if (arguments.value("through_splash", true)) {
      while (session.instrument().phase == PowerPhase::Splash && passes < kMostSplashPasses) {
        passes += static_cast<int>(RunPasses(instrument, 1));
      }
    }
    return Changed(instrument,
                   std::string(wasOn ? "ON pressed while on: started over, " : "ON pressed: ") +
                       PassesText(static_cast<std::uint32_t>(passes)) + " run.");
  }
  if (!session.IsOn()) return Changed(instrument, "OFF pressed: it was off already.");
  const bool inSplash = session.instrument().phase == PowerPhase::Splash;
  Do(instrument, "off\n");
  if (inSplash) {
    return Changed(instrument,
                   "OFF pressed during the splash: lost, as on the instrument; the splash plays "
                   "on into the main loop.");
  }
  return Changed(instrument, "OFF pressed: the main loop ended after its pass.");
}

// clicks, then `then_passes` more passes to draw what the key changed.
// key: the steps' word for it.
ToolResult Clicks(McpInstrument& instrument, const json& arguments, const char* key,
                  std::uint32_t clicks, const std::string& what) {
  PanelSession& session = instrument.session();
  if (!session.IsOn()) return Failure(kOffMessage);
  const std::string click = std::string("key ") + key + "\npass\n";
  for (std::uint32_t i = 0; i < clicks && session.IsOn(); ++i) Do(instrument, click);
  const std::uint32_t more = RunPasses(instrument, Count(arguments, "then_passes", 1));
  return Changed(instrument, what + ", then " + PassesText(more) + ".");
}

ToolResult PressKey(McpInstrument& instrument, const json& arguments) {
  const std::string name = String(arguments, "key", "knob");
  const char* key = name == "knob" ? "press" : name == "F1" ? "f1" : "f2";
  return Clicks(instrument, arguments, key, 1, name + " clicked and taken by a pass");
}

ToolResult TurnKnob(McpInstrument& instrument, const json& arguments) {
  const bool clockwise = String(arguments, "direction", "clockwise") == "clockwise";
  const std::uint32_t clicks = Count(arguments, "clicks", 1);
  return Clicks(instrument, arguments, clockwise ? "cw" : "ccw", clicks,
                std::string("Knob turned ") + (clockwise ? "clockwise " : "anticlockwise ") +
                    std::to_string(clicks) + (clicks == 1 ? " click" : " clicks") +
                    ", each taken by a pass");
}

ToolResult MoveSlider(McpInstrument& instrument, const json& arguments) {
  PanelSession& session = instrument.session();
  const SliderKind slider = String(arguments, "slider", "altitude") == "altitude"
                                ? SliderKind::Altitude
                                : SliderKind::Airspeed;
  const bool byCount = arguments.contains("count");
  const bool byReading = arguments.contains("reading") || arguments.contains("unit");
  if (byCount == byReading) {
    return Failure("move_slider: give either count, or reading with unit.");
  }
  std::uint32_t count = 0;
  std::string how;
  if (byCount) {
    count = Count(arguments, "count", 0);
    how = std::to_string(count) + " counts";
  } else {
    if (!arguments.contains("reading") || !arguments.contains("unit")) {
      return Failure("move_slider: a reading needs both reading and unit.");
    }
    // The schema's enum holds the unit words, so the word is one.
    const UnitWord& word = *FindUnitWord(arguments["unit"].get<std::string>());
    const ReadingUnit unit = word.unit;
    if (word.slider != slider) {
      return Failure(std::string("move_slider: the ") + SliderWord(slider) + " slider reads in " +
                     (slider == SliderKind::Altitude ? "ft or m" : "mph, kmh or knots") + ".");
    }
    const auto reading = static_cast<std::int32_t>(arguments["reading"].get<double>());
    const CountChoice choice = CountForReading(session.instrument(), slider, unit, reading);
    if (!choice.reachable) {
      return Failure("move_slider: no position 0.." + std::to_string(kSliderHighest) + " reads " +
                     std::to_string(reading) + UnitName(unit) + "; with the present settings " +
                     "they read " + std::to_string(choice.lowest) + ".." +
                     std::to_string(choice.highest) + UnitName(unit) + ".");
    }
    count = choice.count;
    how = std::to_string(count) + " counts, the position nearest " + std::to_string(reading) +
          UnitName(unit);
  }
  Do(instrument, std::string("slider ") + SliderWord(slider) + " " + std::to_string(count) + "\n");
  const std::uint32_t ran = RunPasses(instrument, Count(arguments, "then_passes", 1));
  return Changed(instrument, std::string("The ") + SliderWord(slider) + " slider moved to " + how +
                                 ", then " + PassesText(ran) + ".");
}

ToolResult SetBox(McpInstrument& instrument, const json& arguments) {
  const bool calibrate = String(arguments, "box", "calibrate") == "calibrate";
  const bool checked = arguments.value("checked", true);
  Do(instrument,
     std::string("box ") + (calibrate ? "calibrate" : "keyfast") + (checked ? " on\n" : " off\n"));
  const std::uint32_t ran = RunPasses(instrument, Count(arguments, "then_passes", 1));
  return Changed(instrument, std::string(calibrate ? "\"Calibrate\"" : "\"KeyFast\"") +
                                 (checked ? " ticked" : " cleared") + ", then " + PassesText(ran) +
                                 ".");
}

ToolResult RunPassesTool(McpInstrument& instrument, const json& arguments) {
  if (!instrument.session().IsOn()) {
    return Failure(kOffMessage + std::string(" No pass runs while off."));
  }
  const std::uint32_t ran = RunPasses(instrument, Count(arguments, "count", 1));
  return Changed(instrument, PassesText(ran) + " run.");
}

ToolResult TimerTicks(McpInstrument& instrument, const json& arguments) {
  const std::uint32_t ticks = Count(arguments, "count", 1);
  Do(instrument, "tick " + std::to_string(ticks) + "\n");
  return Changed(instrument, std::to_string(ticks) + (ticks == 1 ? " tick" : " ticks") +
                                 " of the 100 ms timer; no pass has run.");
}

// A moment as the steps write it: whole seconds.
std::string Seconds(const json& arguments, const char* name) {
  return std::to_string(static_cast<long long>(arguments[name].get<double>()));
}

ToolResult Fly(McpInstrument& instrument, const json& arguments) {
  const std::string flight = String(arguments, "flight", "demo");
  if (flight.empty() || std::any_of(flight.begin(), flight.end(), [](char c) {
        return c == ' ' || c == '#' || static_cast<unsigned char>(c) < 0x20;
      })) {
    return Failure(
        "fly: the flight is \"demo\" or a file name without blanks, '#' or control "
        "characters, not " +
        Quoted(flight));
  }
  std::string step = "fly " + flight;
  if (arguments.contains("from") || arguments.contains("to")) {
    step += " " + (arguments.contains("from") ? Seconds(arguments, "from") : std::string("0"));
  }
  if (arguments.contains("to")) step += " " + Seconds(arguments, "to");
  step += " pace " + std::to_string(Count(arguments, "pace", kDefaultPassesPerSecond));
  step += " speed " + std::to_string(Count(arguments, "speed", 1)) + "\n";
  const StepsRun run = RunSteps(instrument, step);
  if (!run.parsed || run.status != kExitPassed) return Failure(run.problems);
  return Changed(instrument, "Flown: " + step.substr(0, step.size() - 1) + "\n" + run.problems);
}

ToolResult ReadLcdText(McpInstrument& instrument, const json&) {
  PanelSession& session = instrument.session();
  return Text(StateLine(session) + LcdSection(session));
}

ToolResult LcdPng(McpInstrument& instrument, const json& arguments) {
  const int scale = static_cast<int>(Count(arguments, "scale", kDefaultPngScale));
  const LcdLook look =
      String(arguments, "look", "window") == "green" ? LcdLook::Green : LcdLook::Window;
  const std::vector<unsigned char> png =
      EncodeFramePng(instrument.session().ShownFrame(), scale, look);
  if (png.empty()) return Failure("lcd_png: the picture could not be made.");
  ToolResult result;
  result.content.push_back(
      json{{"type", "image"}, {"data", Base64(png)}, {"mimeType", "image/png"}});
  return result;
}

std::vector<std::string_view> FieldNames() {
  std::vector<std::string_view> names;
  for (const FieldInfo& field : AllFields()) names.emplace_back(field.name);
  return names;
}

ToolResult ReadFields(McpInstrument& instrument, const json& arguments) {
  const InstrumentState& state = instrument.session().instrument().state;
  std::string text;
  const auto names = arguments.find("names");
  if (names == arguments.end() || names->empty()) {
    for (const FieldInfo& field : AllFields()) {
      text += std::string(field.name) + "=" + FormatField(field, state) + "\n";
    }
    return Text(text);
  }
  for (const json& name : *names) {
    const std::string word = name.get<std::string>();
    const FieldInfo* field = FindField(word);
    if (field == nullptr) {
      return Failure("read_fields: no field " + Quoted(word) + DidYouMean(word, FieldNames()) +
                     " (read_fields without names lists them all)");
    }
    text += std::string(field->name) + "=" + FormatField(*field, state) + "\n";
  }
  return Text(text);
}

ToolResult ReadPanel(McpInstrument& instrument, const json& arguments) {
  PanelSession& session = instrument.session();
  const InstrumentState& state = session.instrument().state;
  std::string text = StateLine(session);
  text += std::string("LED: ") + (session.LedLit() ? "lit" : "unlit") + "\n";
  text += "Sliders: altitude " + std::to_string(state.airData.altAdcRaw) + " counts, airspeed " +
          std::to_string(state.airData.asiAdcRaw) + " counts\n";
  text += std::string("Boxes: \"Calibrate\" ") +
          (session.inputs().IsCalibrateChecked() ? "ticked" : "clear") + ", \"KeyFast\" " +
          (session.inputs().IsKeyFastChecked() ? "ticked" : "clear") + "\n";
  text += "Communication lines written: " + std::to_string(session.CommLineCount()) + "\n";
  const auto& lines = instrument.commLines();
  const std::size_t wanted =
      std::min<std::size_t>(Count(arguments, "comm_lines", 10), lines.size());
  if (wanted > 0) text += "The latest " + std::to_string(wanted) + ":\n";
  for (std::size_t i = lines.size() - wanted; i < lines.size(); ++i) {
    text += "  " + Clipped(lines[i], kLongestQuotedPath) + "\n";
  }
  return Text(text);
}

ToolResult RunScenarioTool(McpInstrument& instrument, const json& arguments) {
  const StepsRun run = RunSteps(instrument, arguments["steps"].get<std::string>());
  if (!run.parsed) return Failure("The steps were not run: " + run.problems);
  std::string text;
  switch (run.status) {
    case kExitPassed:
      text = "Every expectation held.\n";
      break;
    case kExitExpectationFailed:
      text = "An expectation failed; the steps after it did not run.\n";
      break;
    case kExitBadInput:
      text = "The steps stopped at one that could not be done.\n";
      break;
  }
  if (!run.printed.empty()) text += "Printed:\n" + run.printed;
  if (!run.problems.empty()) text += "Problems:\n" + run.problems;
  ToolResult result = Changed(instrument, text);
  result.isError = run.status == kExitBadInput;
  return result;
}

// A snapshot of the whole instrument and panel, into a file or returned as
// its JSON text.
ToolResult SaveSnapshotTool(McpInstrument& instrument, const json& arguments) {
  if (!arguments.contains("path")) return Text(StateText(instrument.rig()));
  const std::string path = arguments["path"].get<std::string>();
  std::string problem;
  if (!SaveStateFile(instrument.rig(), path, problem)) return Failure("Not saved: " + problem);
  return Text("Saved to " + Quoted(path) + ".");
}

// Read and checked whole before any of it is applied: a snapshot that does
// not hold changes nothing.
ToolResult LoadSnapshotTool(McpInstrument& instrument, const json& arguments) {
  const bool fromFile = arguments.contains("path");
  if (fromFile == arguments.contains("snapshot")) {
    return Failure("Give either path or snapshot, not both or neither.");
  }
  const MomentRead read =
      fromFile ? ReadMomentFile(arguments["path"].get<std::string>())
               : ReadMomentText(arguments["snapshot"].get<std::string>(), "snapshot");
  if (!read.ok) return Failure("Not loaded: " + read.error);
  SetMoment(instrument.rig(), read.snapshot);
  return Changed(instrument, "The snapshot is loaded: the instrument stands where it was saved.");
}

// ---------------------------------------------------------------------------
// The table

constexpr const char* kThenPasses =
    R"("then_passes": {"type": "integer", "minimum": 0, "maximum": 1000, "default": 1,
        "description": "Passes of the instrument to run afterwards, so the LCD shows the effect (a pass is one round of the firmware's main loop, a tenth of a second on the real instrument)."})";

const std::vector<McpTool>& Tools() {
  static const std::vector<McpTool> tools = {
      {"power", "Power ON or OFF",
       "Presses the panel's ON or OFF button. ON while off starts the instrument (power-on "
       "defaults, then the splash of 80 passes); ON while on starts it over. By default ON runs "
       "through the splash into the main loop's first pass, so the LCD shows the main display. "
       "OFF in the main loop ends it after one pass; OFF during the splash is lost, as on the "
       "real instrument. Returns the LCD's text.",
       R"({"type": "object", "properties": {
            "state": {"type": "string", "enum": ["on", "off"], "description": "on: the ON button; off: the OFF button."},
            "through_splash": {"type": "boolean", "default": true, "description": "With state on: run the splash's passes until the main loop has drawn its first screen (true), or stop after the first splash pass (false)."}
          }, "required": ["state"], "additionalProperties": false})",
       Power},
      {"press_key", "Press a key or the knob",
       "Clicks F1, F2 or the knob's push button, then runs the pass that takes the key and "
       "then_passes more (default 1) so the screen it leads to is drawn. Keys are not queued: "
       "each click is taken by one pass. The instrument must be on. Returns the LCD's text.",
       R"({"type": "object", "properties": {
            "key": {"type": "string", "enum": ["F1", "F2", "knob"], "description": "F1 (up), F2 (down), or knob for a press on the rotary knob (select/enter)."},
            PLACEHOLDER_THEN_PASSES
          }, "required": ["key"], "additionalProperties": false})",
       PressKey},
      {"turn_knob", "Turn the knob",
       "Turns the rotary knob by a number of clicks, each taken by one pass, then runs "
       "then_passes more (default 1). The instrument must be on. Returns the LCD's text.",
       R"({"type": "object", "properties": {
            "direction": {"type": "string", "enum": ["clockwise", "anticlockwise"], "description": "Which way to turn: clockwise usually moves on or raises a value, anticlockwise back or lowers it."},
            "clicks": {"type": "integer", "minimum": 1, "maximum": 100, "default": 1, "description": "How many detents to turn."},
            PLACEHOLDER_THEN_PASSES
          }, "required": ["direction"], "additionalProperties": false})",
       TurnKnob},
      {"move_slider", "Move a converter slider",
       "Moves the altitude or the airspeed slider (the pressure sensors' converters) either to a "
       "converter count 0..4096, or to the count whose settled reading is nearest a value in "
       "a pilot's unit, worked out with the instrument's present settings (QNH, calibration). "
       "Give count, or reading with unit. Then runs then_passes passes. Returns the LCD's text.",
       R"({"type": "object", "properties": {
            "slider": {"type": "string", "enum": ["altitude", "airspeed"], "description": "Which slider."},
            "count": {"type": "integer", "minimum": 0, "maximum": 4096, "description": "The converter count to move to."},
            "reading": {"type": "integer", "minimum": -100000, "maximum": 100000, "description": "A reading the display should settle at, in unit: e.g. 3000 with unit ft."},
            "unit": {"type": "string", "enum": PLACEHOLDER_UNITS, "description": "The reading's unit: ft or m for the altitude slider, mph, kmh or knots for the airspeed slider."},
            PLACEHOLDER_THEN_PASSES
          }, "required": ["slider"], "additionalProperties": false})",
       MoveSlider},
      {"set_box", "Tick or clear a check box",
       "Ticks or clears one of the panel's check boxes: \"Calibrate\" (the calibration jumper) "
       "or \"KeyFast\" (keys repeat fast), read by the next pass. Then runs then_passes passes. "
       "Returns the LCD's text.",
       R"({"type": "object", "properties": {
            "box": {"type": "string", "enum": ["calibrate", "keyfast"], "description": "Which box."},
            "checked": {"type": "boolean", "description": "true ticks it, false clears it."},
            PLACEHOLDER_THEN_PASSES
          }, "required": ["box", "checked"], "additionalProperties": false})",
       SetBox},
      {"run_passes", "Run passes",
       "Lets the instrument run a number of passes of its firmware (its main loop, or the "
       "splash), with no input. The instrument must be on. Returns the LCD's text.",
       R"({"type": "object", "properties": {
            "count": {"type": "integer", "minimum": 1, "maximum": 1000000, "description": "How many passes."}
          }, "required": ["count"], "additionalProperties": false})",
       RunPassesTool},
      {"timer_ticks", "Tick the 100 ms timer",
       "Delivers ticks of the instrument's 100 ms timer (blinking, slow updates, the flight "
       "timer) without running a pass; run_passes lets the firmware act on them. Returns the "
       "LCD's text.",
       R"({"type": "object", "properties": {
            "count": {"type": "integer", "minimum": 1, "maximum": 1000000, "description": "How many ticks."}
          }, "required": ["count"], "additionalProperties": false})",
       TimerTicks},
      {"fly", "Fly a profile",
       "Flies a flight profile (a CSV or IGC file) or the built-in demo circuit: before each "
       "pass both sliders go where the flight is, with the timer's ticks in step. Flies from "
       "the moment `from` to the moment `to` (seconds from the profile's start; its start and "
       "end by default) and stops there. The instrument must be on, in the main loop. Returns "
       "the LCD's text at that moment.",
       R"({"type": "object", "properties": {
            "flight": {"type": "string", "maxLength": 4096, "description": "demo for the built-in circuit, or the path of a .csv or .igc profile (no blanks), relative to the server's working folder."},
            "from": {"type": "integer", "minimum": 0, "maximum": 360000, "description": "Seconds from the profile's start to begin at (default 0)."},
            "to": {"type": "integer", "minimum": 0, "maximum": 360000, "description": "Seconds from the profile's start to stop at (default: its end)."},
            "pace": {"type": "integer", "minimum": 1, "maximum": 1000, "default": 10, "description": "Passes per second of flight."},
            "speed": {"type": "integer", "minimum": 1, "maximum": 64, "default": 1, "description": "The window's speed-up, 1, 4, 16 or 64: `pace` passes to that many seconds of flight. Above real time the log's highest altitude and fastest airspeed are each held until the display settles on them."}
          }, "required": ["flight"], "additionalProperties": false})",
       Fly},
      {"read_lcd_text", "Read the LCD as text",
       "The LCD's 128x64 dots read back as text, one line a row of text, and whether the "
       "instrument is on and on which screen. Changes nothing.",
       R"({"type": "object", "properties": {}, "additionalProperties": false})", ReadLcdText},
      {"lcd_png", "Take the LCD as a picture",
       "The LCD as a PNG image, each dot a square of scale x scale pixels. Changes nothing.",
       R"({"type": "object", "properties": {
            "scale": {"type": "integer", "minimum": 1, "maximum": 16, "default": 2, "description": "Pixels a dot."},
            "look": {"type": "string", "enum": ["window", "green"], "default": "window", "description": "window: blank dots grey as in the simulator's window; green: the grey-green of an unlit LCD glass."}
          }, "additionalProperties": false})",
       LcdPng},
      {"read_fields", "Read state fields",
       "The instrument's state fields by name, as name=value lines: numbers in decimal, "
       "screens by name (currentScreen=MainScreen), e.g. qnh, altAdcRaw, asiAdcRaw. Without "
       "names, every field. Changes nothing.",
       R"({"type": "object", "properties": {
            "names": {"type": "array", "maxItems": 500, "items": {"type": "string", "maxLength": 200}, "description": "Field names, e.g. [\"qnh\", \"currentScreen\"]; leave out for all. The fields and what each holds: PLACEHOLDER_FIELDS."}
          }, "additionalProperties": false})",
       ReadFields},
      {"read_panel", "Read the LED and the communication lines",
       "The alarm LED (lit or unlit), the number of communication lines the firmware has "
       "written and the latest of them, the sliders' counts, the boxes, and whether the "
       "instrument is on. Changes nothing.",
       R"({"type": "object", "properties": {
            "comm_lines": {"type": "integer", "minimum": 0, "maximum": 100, "default": 10, "description": "How many of the latest communication lines to return."}
          }, "additionalProperties": false})",
       ReadPanel},
      {"run_scenario", "Run scenario steps",
       "Runs steps of kvr9-headless's scenario language on this instrument, from where it "
       "stands, one step a line: on, off, key press|cw|ccw|f1|f2, slider altitude|airspeed "
       "N|3000ft|90mph, box calibrate|keyfast on|off, pass N, tick N, show FIELD, show all, "
       "show-text, show-lcd, show-led, show-comm, expect FIELD VALUE, expect-text TEXT, "
       "expect-led lit|unlit, expect-comm N, fly FILE|demo [FROM [TO]], at MOMENT, and more "
       "(the resource kvr9://docs/headless.md describes them all). Returns whether every "
       "expectation held, what the show steps printed, and the LCD's text. A running "
       "instrument is left running.",
       R"({"type": "object", "properties": {
            "steps": {"type": "string", "description": "The steps, one a line; '#' starts a comment. Example: \"key press\\npass 2\\nexpect currentScreen MainMenuScreen\\nshow-text\"."}
          }, "required": ["steps"], "additionalProperties": false})",
       RunScenarioTool},
      {"save_snapshot", "Save a snapshot",
       "Saves the whole instrument and panel at this moment (every state field, the screen "
       "and cursor, the power cycle with the splash's progress, the LCD, the LED, sliders and "
       "boxes) as a kvr9-snapshot JSON text: into the file path, or, without path, returned "
       "as the result's text. load_snapshot, the window's \"Open state...\" and "
       "kvr9-headless --from go on from it exactly. Changes nothing.",
       R"({"type": "object", "properties": {
            "path": {"type": "string", "maxLength": 4096, "description": "The file to write, relative to the server's working folder; leave out to get the JSON text back."}
          }, "additionalProperties": false})",
       SaveSnapshotTool},
      {"load_snapshot", "Load a snapshot",
       "Sets the instrument and panel back to a saved moment, from a file (path) or from the "
       "JSON text itself (snapshot). The snapshot is checked whole first: one that does not "
       "hold is refused with the field at fault, and nothing changes. Returns the LCD's text.",
       R"({"type": "object", "properties": {
            "path": {"type": "string", "maxLength": 4096, "description": "A snapshot file (.json), relative to the server's working folder."},
            "snapshot": {"type": "string", "maxLength": 65536, "description": "The snapshot's JSON text, as save_snapshot returned it."}
          }, "additionalProperties": false})",
       LoadSnapshotTool},
  };
  return tools;
}

// The schemas share their then_passes argument; it is put in when they are
// first read.
// ... and the fields' names, ranges and words come from the one table of the
// instrument's state, the units' words from the panel's words.
std::string ExpandSchema(std::string schema) {
  static const std::string fields = DescribeStateFields();
  static const std::string units = [] {
    json words = json::array();
    for (const UnitWord& unit : UnitWords()) words.push_back(unit.word);
    return words.dump();
  }();
  const std::pair<std::string, const std::string*> placeholders[] = {
      {"PLACEHOLDER_THEN_PASSES", nullptr},
      {"PLACEHOLDER_FIELDS", &fields},
      {"PLACEHOLDER_UNITS", &units}};
  for (const auto& [placeholder, text] : placeholders) {
    for (std::size_t at = schema.find(placeholder); at != std::string::npos;
         at = schema.find(placeholder)) {
      schema.replace(at, placeholder.size(), text != nullptr ? *text : kThenPasses);
    }
  }
  return schema;
}

std::string Describe(const json& value) {
  if (value.is_string()) return "a string";
  if (value.is_boolean()) return "a boolean";
  if (value.is_number_integer() || value.is_number_unsigned()) return "an integer";
  if (value.is_number()) return "a number";
  if (value.is_array()) return "an array";
  if (value.is_object()) return "an object";
  return "null";
}

bool IsWhole(const json& value) {
  if (value.is_number_integer() || value.is_number_unsigned()) return true;
  if (!value.is_number_float()) return false;
  const double number = value.get<double>();
  return std::isfinite(number) && std::floor(number) == number;
}

bool HasType(const json& value, const std::string& type) {
  if (type == "integer") return IsWhole(value);
  if (type == "number") return value.is_number();
  if (type == "string") return value.is_string();
  if (type == "boolean") return value.is_boolean();
  if (type == "array") return value.is_array();
  if (type == "object") return value.is_object();
  return false;
}

std::string NumberText(double number) {
  if (std::floor(number) == number && std::fabs(number) < 1e15) {
    return std::to_string(static_cast<long long>(number));
  }
  std::ostringstream text;
  text << number;
  return text.str();
}

ArgumentCheck Malformed(std::string message) {
  return {ArgumentProblem::Malformed, std::move(message)};
}

ArgumentCheck OutOfRange(std::string message) {
  return {ArgumentProblem::OutOfRange, std::move(message)};
}

ArgumentCheck CheckValue(const std::string& name, const json& schema, const json& value) {
  const std::string type = schema.value("type", "");
  if (!HasType(value, type)) {
    return Malformed("argument " + Quoted(name) + " must be " +
                     (type == "integer" ? "an integer" : "a " + type) + ", not " + Describe(value));
  }
  if (value.is_number()) {
    const double number = value.get<double>();
    const double lowest = schema.value("minimum", -1e300);
    const double highest = schema.value("maximum", 1e300);
    if (number < lowest || number > highest) {
      return OutOfRange("argument " + Quoted(name) + " is " + NumberText(number) +
                        "; it must lie within " + NumberText(lowest) + ".." + NumberText(highest));
    }
  }
  if (value.is_string()) {
    const std::string text = value.get<std::string>();
    if (schema.contains("maxLength") && text.size() > schema["maxLength"].get<std::size_t>()) {
      return OutOfRange("argument " + Quoted(name) + " is longer than " +
                        std::to_string(schema["maxLength"].get<std::size_t>()) + " characters");
    }
    if (schema.contains("enum")) {
      std::vector<std::string> choices;
      for (const json& choice : schema["enum"]) choices.push_back(choice.get<std::string>());
      if (std::find(choices.begin(), choices.end(), text) == choices.end()) {
        std::string list;
        for (const std::string& choice : choices) list += (list.empty() ? "" : ", ") + choice;
        const std::vector<std::string_view> views(choices.begin(), choices.end());
        return OutOfRange("argument " + Quoted(name) + " is " + Quoted(text) +
                          DidYouMean(text, views) + "; it must be one of " + list);
      }
    }
  }
  if (value.is_array()) {
    if (schema.contains("maxItems") && value.size() > schema["maxItems"].get<std::size_t>()) {
      return OutOfRange("argument " + Quoted(name) + " has more than " +
                        std::to_string(schema["maxItems"].get<std::size_t>()) + " items");
    }
    for (const json& item : value) {
      ArgumentCheck check = CheckValue(name + "[]", schema["items"], item);
      if (check.problem != ArgumentProblem::None) return check;
    }
  }
  return {};
}

}  // namespace

const std::vector<McpTool>& McpTools() {
  return Tools();
}

const McpTool* FindMcpTool(std::string_view name) {
  for (const McpTool& tool : Tools()) {
    if (name == tool.name) return &tool;
  }
  return nullptr;
}

const nlohmann::json& ToolSchema(const McpTool& tool) {
  static const std::map<const McpTool*, json> schemas = [] {
    std::map<const McpTool*, json> parsed;
    for (const McpTool& each : Tools()) parsed[&each] = json::parse(ExpandSchema(each.inputSchema));
    return parsed;
  }();
  return schemas.at(&tool);
}

ArgumentCheck CheckArguments(const nlohmann::json& schema, const nlohmann::json& arguments) {
  if (!arguments.is_object()) return Malformed("arguments must be an object");
  const json& properties = schema["properties"];
  for (const auto& [name, value] : arguments.items()) {
    if (!properties.contains(name)) {
      std::vector<std::string_view> names;
      std::string list;
      for (const auto& [known, unused] : properties.items()) {
        names.emplace_back(known);
        list += (list.empty() ? "" : ", ") + known;
      }
      return Malformed("unknown argument " + Quoted(name) + DidYouMean(name, names) +
                       (list.empty() ? "; this tool takes none" : "; this tool takes " + list));
    }
    ArgumentCheck check = CheckValue(name, properties[name], value);
    if (check.problem != ArgumentProblem::None) return check;
  }
  if (schema.contains("required")) {
    for (const json& name : schema["required"]) {
      if (!arguments.contains(name.get<std::string>())) {
        return Malformed("argument " + Quoted(name.get<std::string>()) + " is missing");
      }
    }
  }
  return {};
}

std::string Base64(const std::vector<unsigned char>& bytes) {
  static constexpr char kDigits[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text;
  text.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const unsigned group =
        (unsigned{bytes[i]} << 16) | (unsigned{bytes[i + 1]} << 8) | unsigned{bytes[i + 2]};
    text += kDigits[(group >> 18) & 63];
    text += kDigits[(group >> 12) & 63];
    text += kDigits[(group >> 6) & 63];
    text += kDigits[group & 63];
  }
  if (i < bytes.size()) {
    const bool two = i + 1 < bytes.size();
    const unsigned group = (unsigned{bytes[i]} << 16) | (two ? unsigned{bytes[i + 1]} << 8 : 0U);
    text += kDigits[(group >> 18) & 63];
    text += kDigits[(group >> 12) & 63];
    text += two ? kDigits[(group >> 6) & 63] : '=';
    text += '=';
  }
  return text;
}

}  // namespace kvr9::headless
