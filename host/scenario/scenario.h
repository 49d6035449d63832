// A headless scenario: plain text, one step a line, '#' starts a comment.
// The whole text is checked before anything runs, so a malformed line is
// reported before the instrument has done a single pass.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

#include "core/instrument.h"
#include "host/flights/flight_profile.h"
#include "host/panel/panel_types.h"
#include "host/scenario/fields.h"

namespace kvr9 {

enum class StepKind : std::uint8_t {
  On,             // "ON" button
  Off,            // "OFF" button
  Key,            // a click on a key, the knob or a turn button
  Slider,         // a converter slider moved to a position
  Box,            // a check box ticked or cleared
  Pass,           // let passes of the instrument run
  Tick,           // 100 ms timer ticks
  ShowLcd,        // print the LCD as text art
  SaveLcd,        // write the LCD as a PNG picture
  SaveAnimation,  // record the frames that follow as an animated GIF
  StopAnimation,  // end that recording
  ExpectLcd,      // compare the LCD with a text-art frame
  Show,           // print one field
  ShowAll,        // print every field
  Expect,         // compare one field with a value
  ShowLed,        // print the LED
  ExpectLed,      // compare the LED with lit or unlit
  ShowComm,       // print the number of communication lines
  ExpectComm,     // compare the number of communication lines
  Fly,            // fly a flight profile, up to the next "at" or its end
  At,             // fly on to a moment of the flight; the steps after it run there
  Trace,          // write chosen fields to a CSV file, one row a pass
  StopTrace,      // end that trace
  ShowText,       // print the LCD read as text, one line a row
  ExpectText,     // look for a text, or a pattern, on the LCD's rows
  Lesson,         // follow a lesson through the steps after it
  SaveState,      // write the whole instrument and panel as a snapshot
  LoadState,      // set them back from a snapshot
};

// How expect-text compares with the rows the LCD reads as.
enum class TextMatch : std::uint8_t {
  Part,         // some row holds the text
  Row,          // some row is exactly the text
  PatternPart,  // the pattern matches within some row
  PatternRow,   // the pattern matches some whole row
  AtDotRow,     // a run of text whose top stands on dot row number holds the text
  Readable,     // every dark dot of rows number..reading is text the reader reads
};

// Pictures: each LCD dot a block of scale x scale pixels.
inline constexpr int kDefaultPngScale = 2;  // as the window paints the LCD
inline constexpr int kLargestPngScale = 16;

// Steps are kept small, as a long recorded scenario holds millions of them:
// what only a few kinds need lives in the scenario's side tables.
struct Step {
  int line = 0;
  StepKind kind = StepKind::Pass;
  KeyEvent key = KeyNone;                    // Key
  SliderKind slider = SliderKind::Altitude;  // Slider
  BoxKind box = BoxKind::Calibrate;          // Box
  bool on = false;                           // Box: ticked; ExpectLed: lit;
                                             // SaveLcd: the green LCD look; At: the end;
                                             // Lesson: to be left unfinished
  ReadingUnit unit = ReadingUnit::Count;     // Slider
  TextMatch match = TextMatch::Part;         // ExpectText
  std::uint32_t number = 0;                  // Slider position, Pass/Tick count,
                                             // SaveLcd/SaveAnimation scale, ExpectComm count,
                                             // At: seconds from the profile's start,
                                             // ExpectText pattern: index into patterns
  std::int32_t reading = 0;                  // Slider: the asked reading, in unit
  std::uint32_t detail = 0;                  // Expect, ExpectText: index into values;
                                             // SaveLcd, SaveAnimation, ExpectLcd, Lesson,
                                             // SaveState, LoadState: into files;
                                             // Fly: into flights; Trace: into traces
  const FieldInfo* field = nullptr;          // Show, Expect
};

static_assert(sizeof(Step) <= 32, "a step stays small");

struct StepFile {
  std::string file;            // as written in the step
  std::filesystem::path path;  // resolved
  FrameBuffer expectedFrame;   // ExpectLcd: read while checking
};

// A flight to fly, read while checking. Times are seconds from the
// profile's first sample, whatever its own clock says.
struct ScenarioFlight {
  std::string name;  // as written: a file or "demo"
  FlightProfile profile;
  double fromSeconds = 0;
  double toSeconds = 0;
  std::uint32_t passesPerSecond = 10;
  std::uint32_t speedUp = 1;  // seconds of the profile to passesPerSecond passes
};

struct ScenarioTrace {
  std::string file;  // as written
  std::filesystem::path path;
  std::vector<const FieldInfo*> fields;
};

struct Scenario {
  std::string source;  // the file name, or "<stdin>", for messages
  std::vector<Step> steps;
  std::vector<std::string> values;   // expected values as FormatField prints them, and texts
  std::vector<std::regex> patterns;  // ExpectText patterns, compiled while checking
  std::vector<StepFile> files;
  std::vector<ScenarioFlight> flights;
  std::vector<ScenarioTrace> traces;
  std::vector<std::string> warnings;  // "source:line: FILE: ..." from the profile readers
};

// Past this size a scenario is refused unread; 16 MB holds a few million
// steps, far more than anyone writes or records.
inline constexpr std::size_t kLargestScenarioBytes = 16 * 1024 * 1024;
// A text-art frame: 64 lines of 128 dots, each line ended by "\r\n" at most.
inline constexpr std::size_t kLargestFrameFileBytes = kLcdHeight * (kLcdWidth + 2);

struct ParseOutcome {
  bool ok = false;
  Scenario scenario;
  std::string error;  // "source:line: what is wrong"
};

// Relative file names in save-lcd and expect-lcd are taken from baseDir,
// the scenario file's own folder (the working folder for standard input).
// A scenario flown over many logs (kvr9-headless sweep) names them all
// "fly LOG": with logPath given, the word LOG in a fly step stands for that
// file, whatever blanks or marks its name holds.
inline constexpr const char* kLogPlaceholder = "LOG";
ParseOutcome ParseScenario(std::string_view text, const std::string& source,
                           const std::filesystem::path& baseDir, const std::string& logPath = {});

// One line of the language, appended to scenario as its line lineNumber:
// for a front end that takes single steps from a file of its own (a
// lesson's checks). False with what is wrong, without source or line, in
// error; the scenario may then hold parts of the line and is to be dropped.
bool ParseScenarioLine(std::string_view line, int lineNumber, Scenario& scenario,
                       const std::filesystem::path& baseDir, std::string& error);

}  // namespace kvr9
