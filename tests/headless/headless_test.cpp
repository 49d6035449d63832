// kvr9-headless, run in-process: malformed scenarios stop before anything
// runs, failed expectations stop the run where they fail, the power cycle
// acts as the window's buttons do, and the same scenario always gives the
// same output.
#include <expat.h>
#include <gif_lib.h>
#include <gtest/gtest.h>
#include <png.h>
#include <stdlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "headless/command_line.h"
#include "headless/graphviz_dot.h"
#include "headless/lcd_gif.h"
#include "headless/lcd_png.h"
#include "headless/picture_files.h"
#include "headless/sweep_command.h"
#include "headless/worker_pool.h"
#include "host/flights/flight_profile.h"
#include "host/panel/lcd_colours.h"
#include "host/panel/reading_units.h"
#include "host/scenario/executor.h"
#include "lcd/frame_art.h"

namespace kvr9::headless {
namespace {

namespace fs = std::filesystem;

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

Outcome RunText(const std::string& text, const fs::path& baseDir = ".") {
  std::ostringstream out;
  std::ostringstream err;
  PictureFiles pictures;
  const int status =
      RunScenarioText(text, "test.scn", baseDir, out, err, {nullptr, nullptr, &pictures, {}});
  return {status, out.str(), err.str()};
}

Outcome RunCommand(const std::vector<std::string>& arguments, const std::string& input = "") {
  std::istringstream in(input);
  std::ostringstream out;
  std::ostringstream err;
  const int status = RunHeadlessCommand(arguments, in, out, err);
  return {status, out.str(), err.str()};
}

// A folder of the test's own, made fresh and removed afterwards, so tests
// run side by side never write the same file.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (fs::path(::testing::TempDir()) / "kvr9_headless_XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "cannot make " << pattern;
    path_ = pattern;
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  operator const fs::path&() const { return path_; }
  fs::path operator/(const char* name) const { return path_ / name; }

 private:
  fs::path path_;
};

void WriteFile(const fs::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream content;
  content << file.rdbuf();
  return content.str();
}

std::string BlankArt() {
  return FrameToArt(FrameBuffer{});
}

// ---------------------------------------------------------------------------
// A malformed line stops the run before the instrument does anything: every
// case starts with steps that would print, and nothing may be printed.

struct MalformedCase {
  const char* name;
  const char* badLine;
  const char* message;
};

void PrintTo(const MalformedCase& c, std::ostream* os) {
  *os << c.badLine;
}

class HeadlessMalformedScenario : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(HeadlessMalformedScenario, IsRejectedWithItsLineBeforeAnythingRuns) {
  const MalformedCase& c = GetParam();
  const Outcome outcome = RunText("show-comm\non\npass 80\nshow qnh\n" + std::string(c.badLine));
  EXPECT_EQ(outcome.status, kExitBadInput);
  EXPECT_EQ(outcome.out, "");
  EXPECT_EQ(outcome.err.rfind("test.scn:5: ", 0), 0u) << outcome.err;
  EXPECT_NE(outcome.err.find(c.message), std::string::npos) << outcome.err;
}

INSTANTIATE_TEST_SUITE_P(
    Steps, HeadlessMalformedScenario,
    ::testing::Values(
        MalformedCase{"UnknownStep", "pas 3", "unknown step 'pas': did you mean pass?"},
        MalformedCase{"TwoLettersSwapped", "tikc 3", "unknown step 'tikc': did you mean tick?"},
        MalformedCase{"CountNotANumber", "pass three", "the count must be a whole number"},
        MalformedCase{"CountZero", "tick 0", "the count 0 is out of range"},
        MalformedCase{"CountHuge", "pass 99999999999999999999", "is out of range"},
        MalformedCase{"SliderAboveRange", "slider airspeed 4097",
                      "slider position 4097 is out of range 0..4096"},
        MalformedCase{"SliderNegative", "slider altitude -1", "must be a whole number 0..4096"},
        MalformedCase{"SliderHex", "slider altitude 0x10", "must be a whole number"},
        MalformedCase{"SliderMissingValue", "slider altitude", "'slider' needs"},
        MalformedCase{"UnknownSlider", "slider pitot 10",
                      "unknown slider 'pitot': use altitude or airspeed"},
        MalformedCase{"UnknownBox", "box keyfats on",
                      "unknown box 'keyfats': did you mean keyfast?"},
        MalformedCase{"UnknownKey", "key f3", "unknown key 'f3': did you mean press?"},
        MalformedCase{"BoxNotOnOff", "box calibrate yes", "'yes' must be on or off"},
        MalformedCase{"ExtraWord", "on now", "unexpected 'now'"},
        MalformedCase{"UnknownField", "show inflight",
                      "unknown field 'inflight': did you mean inFlight?"},
        MalformedCase{"ExpectUnknownField", "expect speed 3", "unknown field 'speed'"},
        MalformedCase{"ExpectWithoutValue", "expect cursor", "needs a value"},
        MalformedCase{"ExpectBeyondFieldType", "expect cursor 256", "never 256"},
        MalformedCase{"ExpectNotANumber", "expect qnh high", "is not a whole number"},
        MalformedCase{"ExpectUnknownScreen", "expect currentScreen MainMenu",
                      "'MainMenu' is not a screen name: did you mean MainMenuScreen?"},
        MalformedCase{"ExpectShortLog", "expect flightLog 0 0", "has 48 bytes, not 2"},
        MalformedCase{"ExpectLogByteTooLarge",
                      "expect flightLog 256 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 "
                      "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0",
                      "'256' is not a byte value 0..255"},
        MalformedCase{"ExpectCommLineTooLong",
                      "expect commLine 12345678901234567890123456789012345678901234567890",
                      "commLine holds at most 49 characters"},
        MalformedCase{"LedWord", "expect-led on", "must be lit or unlit"},
        MalformedCase{"ScaleZero", "save-lcd out.png 0", "the scale 0 is out of range"},
        MalformedCase{"MissingFrameFile", "expect-lcd no-such-frame.txt", "cannot read frame file"},
        MalformedCase{"FrameFileEndless", "expect-lcd /dev/zero",
                      "cannot read frame file '/dev/zero': larger than 8320 bytes"},
        MalformedCase{"StopWithoutAnimation", "stop-animation",
                      "'stop-animation' without a save-animation"},
        MalformedCase{"AnimationScaleTooLarge", "save-animation a.gif 17",
                      "the scale 17 is out of range 1..16"},
        MalformedCase{"AltitudeInAirspeedUnit", "slider altitude 90mph",
                      "slider position must be a whole number 0..4096 or feet (3000ft) or metres"},
        MalformedCase{"AirspeedInAltitudeUnit", "slider airspeed 900m",
                      "slider position must be a whole number 0..4096 or mph (90mph)"},
        MalformedCase{"ReadingWithoutNumber", "slider altitude ft", "not 'ft'"},
        MalformedCase{"ReadingWithASignInside", "slider altitude 30-0ft", "not '30-0ft'"},
        MalformedCase{"ReadingBeyondAnyNumber", "slider altitude 99999999999ft",
                      "not '99999999999ft'"},
        MalformedCase{"FlyMissingFile", "fly no-such-flight.csv", "no-such-flight.csv"},
        MalformedCase{"FlyBeyondTheProfile", "fly demo 0:08:00",
                      "'fly demo' lasts 0:07:10: from and to must lie within it"},
        MalformedCase{"FlyBackwards", "fly demo 200 100", "from and to must lie within it"},
        MalformedCase{"FlyBadMoment", "fly demo 1:75", "a moment is seconds (90) or h:mm:ss"},
        MalformedCase{"FlySixtySeconds", "fly demo 1:60", "up to 100 hours, not '1:60'"},
        MalformedCase{"FlyPaceZero", "fly demo pace 0",
                      "the pace (passes a second) 0 is out of range 1..1000"},
        MalformedCase{"FlySpeedNotTheWindows", "fly demo 0 60 speed 8 pace 20",
                      "the speed is 1, 4, 16 or 64, as the window offers, not '8'"},
        MalformedCase{"AtWithoutFly", "at 10", "'at' without a 'fly' before it"},
        MalformedCase{"TraceWithoutFields", "trace t.csv", "'trace' needs"},
        MalformedCase{"TraceTextField", "trace t.csv altitude commLine",
                      "'trace' takes number fields; commLine is not one"},
        MalformedCase{"StopTraceWithoutTrace", "stop-trace", "'stop-trace' without a trace"},
        MalformedCase{"LessonWithoutFile", "lesson", "'lesson' needs a lesson file"},
        MalformedCase{"LessonFileQuoteOpen", "lesson \"my #1.lesson", "closing quote is missing"},
        MalformedCase{"LessonExtraWord", "lesson a.lesson finished", "unexpected 'finished'"},
        MalformedCase{"LessonMissingFile", "lesson no-such.lesson",
                      "no-such.lesson: cannot read the lesson"},
        MalformedCase{"ExpectEmptyRange", "expect qnh 5..4", "the range 5..4 is empty"},
        // The pattern is quoted as written, so it can be copied back.
        MalformedCase{
            "TextPatternMalformed", "expect-text /^(\\d{4}mB$/",
            "the pattern /^(\\d{4}mB$/ is not a regular expression: Mismatched '(' and ')'"},
        MalformedCase{"TextQuoteNotClosed", "expect-text line \"1013mB  # the QNH",
                      "the text opened with \" is not closed"},
        MalformedCase{"TextMissing", "expect-text line  # the QNH", "'expect-text line' needs"},
        MalformedCase{"TextReadableUpsideDown", "expect-text readable 63 8",
                      "the bottom dot row is above the top one"},
        MalformedCase{"TextAtWithoutRow", "expect-text at 1013mB", "needs a dot row, then a text"},
        MalformedCase{"TextAtOffTheLcd", "expect-text at 64 1013mB",
                      "the dot row 64 is out of range 0..63"},
        MalformedCase{"ControlBytesEscaped", "\x1b[2Jpass", "unknown step '\\x1b[2Jpass'"},
        // A backslash before x would read as an escape: it is one.
        MalformedCase{"BackslashBeforeX", "\\x1bpass", "unknown step '\\x5cx1bpass'"},
        MalformedCase{"LongWordCut", "pass 1234567890123456789012345678901234567890123",
                      "the count 1234567890123456789012345678901234567890... is out of range"}),
    [](const ::testing::TestParamInfo<MalformedCase>& param) { return param.param.name; });

TEST(HeadlessMalformedScenario, QuotesAHugeWordInOneShortLine) {
  const Outcome outcome = RunText("key " + std::string(1 << 20, 'x') + "\x1b\n");
  EXPECT_EQ(outcome.status, kExitBadInput);
  EXPECT_LT(outcome.err.size(), 200u) << outcome.err.substr(0, 200);
  EXPECT_EQ(outcome.err.find('\x1b'), std::string::npos);
  EXPECT_EQ(outcome.err.find('\n'), outcome.err.size() - 1);
}

TEST(HeadlessFrameFile, ThatIsNotTextArtIsMalformed) {
  const TempFolder folder;
  std::string art = BlankArt();
  art.erase(art.find('\n'), 1);  // the first two lines become one of 256 characters
  WriteFile(folder / "short.txt", art);
  const Outcome outcome = RunText("on\nexpect-lcd short.txt\n", folder);
  EXPECT_EQ(outcome.status, kExitBadInput);
  EXPECT_NE(outcome.err.find("test.scn:2: frame file"), std::string::npos) << outcome.err;
  EXPECT_NE(outcome.err.find("line 1 has 256 characters"), std::string::npos) << outcome.err;
}

// ---------------------------------------------------------------------------
// The first failed expectation names its line, expected and actual, and
// ends the run: the show step after it prints nothing.

struct FailureCase {
  const char* name;
  const char* check;
  const char* message;
};

void PrintTo(const FailureCase& c, std::ostream* os) {
  *os << c.check;
}

class HeadlessFailedExpectation : public ::testing::TestWithParam<FailureCase> {};

TEST_P(HeadlessFailedExpectation, StopsTheRunAndSaysWhatDiffers) {
  const FailureCase& c = GetParam();
  const TempFolder folder;
  WriteFile(folder / "blank.txt", BlankArt());
  const Outcome outcome = RunText("on\npass 80\n" + std::string(c.check) + "\nshow-comm\n", folder);
  EXPECT_EQ(outcome.status, kExitExpectationFailed);
  EXPECT_EQ(outcome.out, "");
  EXPECT_EQ(outcome.err.rfind("test.scn:3: ", 0), 0u) << outcome.err;
  EXPECT_NE(outcome.err.find(c.message), std::string::npos) << outcome.err;
  // Below it, whatever failed, what the LCD showed, as rows.
  EXPECT_NE(outcome.err.find("\nthe LCD shows:\n  \"IAS      0 mph\"\n  \"50860 ft\"\n"
                             "  \"1013mB\"\n"),
            std::string::npos)
      << outcome.err;
}

INSTANTIATE_TEST_SUITE_P(
    Checks, HeadlessFailedExpectation,
    ::testing::Values(
        FailureCase{"Number", "expect qnh 1014250", "expect qnh: expected 1014250, actual 1013250"},
        FailureCase{"Screen", "expect currentScreen MainMenuScreen",
                    "expected MainMenuScreen, actual MainScreen"},
        FailureCase{"Led", "expect-led lit", "expect-led: expected lit, actual unlit"},
        FailureCase{"CommLines", "expect-comm 5", "expect-comm: expected 5, actual 1"},
        FailureCase{"Frame", "expect-lcd blank.txt", "expect-lcd blank.txt: expected and actual"},
        FailureCase{"Range", "expect qnh 1013251..1014000",
                    "expected 1013251..1014000, actual 1013250"},
        FailureCase{"Text", "expect-text 1014mB", "expect-text \"1014mB\": not on the LCD"},
        // A pattern is quoted as written, to be copied back from a CI log.
        FailureCase{"Pattern", "expect-text line /^\\d{5}mB$/",
                    "expect-text line /^\\d{5}mB$/: not on the LCD"}),
    [](const ::testing::TestParamInfo<FailureCase>& param) { return param.param.name; });

TEST(HeadlessFailedExpectation, OfAFrameShowsBothPicturesWithTheDifferencesMarked) {
  const TempFolder folder;
  WriteFile(folder / "blank.txt", BlankArt());
  const Outcome outcome = RunText("on\npass 80\nexpect-lcd blank.txt\n", folder);
  ASSERT_EQ(outcome.status, kExitExpectationFailed);
  EXPECT_NE(outcome.err.find("differences (X)"), std::string::npos);
  const std::size_t pictures = outcome.err.find("differences (X)\n");
  ASSERT_NE(pictures, std::string::npos);
  const std::string rows = outcome.err.substr(pictures + 16);
  EXPECT_NE(rows.find('#'), std::string::npos);  // the actual main display
  EXPECT_NE(rows.find('X'), std::string::npos);  // its dots, missing from the blank frame
}

// ---------------------------------------------------------------------------
// expect-text: each form holds on the main display and fails, with the
// screen below the message, on the main menu, which shows none of it.

struct TextFormCase {
  const char* name;
  const char* check;
  bool onMainDisplay;  // whether it holds there
};

void PrintTo(const TextFormCase& c, std::ostream* os) {
  *os << c.check;
}

class HeadlessExpectText : public ::testing::TestWithParam<TextFormCase> {};

TEST_P(HeadlessExpectText, HoldsOnlyWhereTheScreenShowsIt) {
  const TextFormCase& c = GetParam();
  const Outcome main = RunText("on\npass 80\n" + std::string(c.check) + "\n");
  EXPECT_EQ(main.status, c.onMainDisplay ? kExitPassed : kExitExpectationFailed) << main.err;
  const Outcome menu = RunText("on\npass 80\nkey press\npass 2\n" + std::string(c.check) + "\n");
  EXPECT_EQ(menu.status, kExitExpectationFailed);
  EXPECT_NE(menu.err.find(": not on the LCD\nthe LCD shows:\n  \"MAIN MENU\"\n"
                          "  \"[icon:dial]   EXIT\"\n  \"MENU\"\n"),
            std::string::npos)
      << menu.err;
}

INSTANTIATE_TEST_SUITE_P(
    Forms, HeadlessExpectText,
    ::testing::Values(TextFormCase{"Part", "expect-text 1013", true},
                      TextFormCase{"PartWithBlanksAsOnTheLcd", "expect-text 0 mph", true},
                      TextFormCase{"PartBlanksCount", "expect-text IAS 0 mph", false},
                      TextFormCase{"PartQuotedWithAMarkAfter",
                                   "expect-text \"0 ft\"  # the \"altitude\"", true},
                      TextFormCase{"Row", "expect-text line 1013mB", true},
                      TextFormCase{"RowQuoted", "expect-text line \"IAS      0 mph\"", true},
                      TextFormCase{"RowNotAPart", "expect-text line 1013", false},
                      TextFormCase{"Pattern", "expect-text /^\\d{4}mB$/", true},
                      TextFormCase{"PatternWithin", "expect-text /\\d ft/", true},
                      TextFormCase{"PatternAbsent", "expect-text /^\\d{3}mB$/", false},
                      TextFormCase{"PatternRow", "expect-text line /\\d+ ft/", true},
                      TextFormCase{"PatternRowNotWithin", "expect-text line /\\d ft/", false},
                      TextFormCase{"AtItsDotRow", "expect-text at 57 1013mB", true},
                      TextFormCase{"AtAnotherDotRow", "expect-text at 56 1013mB", false}),
    [](const ::testing::TestParamInfo<TextFormCase>& param) { return param.param.name; });

// Rows with nothing but text hold; the menu's scroll bar is no text.
TEST(HeadlessExpectTextReadable, HoldsOnlyWhereEveryDarkDotIsText) {
  EXPECT_EQ(RunText("on\npass 80\nexpect-text readable 56 63\n").status, kExitPassed);
  const Outcome menu = RunText("on\npass 80\nkey press\npass 2\nexpect-text readable 56 63\n");
  EXPECT_EQ(menu.status, kExitExpectationFailed);
  EXPECT_NE(menu.err.find("8 dots are not text the LCD reads, the first at x 125, y 56"),
            std::string::npos)
      << menu.err;
}

// show-text prints every screen word for word, as the screens draw it:
// titles without their lines, an icon by name beside the caption that
// shares its rows, the blanks between words as many as their dots make
// (one a cell of 8, at least one). The instrument reads 2666 ft and
// 77 mph (as examples/power_on.scn), with Calibrate ticked.

struct ScreenTextCase {
  const char* name;
  const char* keys;  // each clicked, then one pass; one more pass draws
  const char* text;
};

void PrintTo(const ScreenTextCase& c, std::ostream* os) {
  *os << c.name;
}

class HeadlessShowText : public ::testing::TestWithParam<ScreenTextCase> {};

TEST_P(HeadlessShowText, PrintsWhatTheScreenShows) {
  const ScreenTextCase& c = GetParam();
  std::string scenario =
      "slider altitude 3000\non\npass 80\nbox calibrate on\nslider airspeed 400\npass 20\n";
  std::istringstream keys(c.keys);
  std::string key;
  while (keys >> key) scenario += "key " + key + "\npass\n";
  const Outcome outcome = RunText(scenario + "pass\nshow-text\n");
  ASSERT_EQ(outcome.status, kExitPassed) << outcome.err;
  EXPECT_EQ(outcome.out, c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Screens, HeadlessShowText,
    ::testing::Values(
        ScreenTextCase{"MainDisplay", "", "IAS    77 mph\n2666 ft\n1013mB\n"},
        ScreenTextCase{"MenuExit", "press", "MAIN MENU\n[icon:dial]   EXIT\nMENU\n"},
        ScreenTextCase{"MenuMaximumValues", "press cw",
                       "MAIN MENU\n[icon:chart]  MAXIMUM\nVALUES\n"},
        ScreenTextCase{"MenuFlightLog", "press cw cw", "MAIN MENU\n[icon:log]  FLIGHT\nLOG\n"},
        ScreenTextCase{"MenuDisplaySetup", "press cw cw cw",
                       "MAIN MENU\n[icon:display]  DISPLAY\nSETUP\n"},
        ScreenTextCase{"MenuAltitudeSetup", "press cw cw cw cw",
                       "MAIN MENU\n[icon:altimeter] ALTITUDE\nSETUP\n"},
        ScreenTextCase{"MenuAirspeedSetup", "press cw cw cw cw cw",
                       "MAIN MENU\n[icon:airspeed] AIRSPEED\nSETUP\n"},
        ScreenTextCase{"MenuAdcValues", "press cw cw cw cw cw cw",
                       "MAIN MENU\n[icon:adc]    ADC\nVALUES\n"},
        // One caption line at y 26 shares no rows with the icon's top.
        ScreenTextCase{"MenuCalibrate", "press cw cw cw cw cw cw cw",
                       "MAIN MENU\n[icon:tools]\nCALIBRATE\n"},
        ScreenTextCase{"DisplaySetup", "press cw cw cw press",
                       "DISPLAY SETUP\n*** DONE ***\nADJUST CONTRAST\nBACKLIGHT: ON\n"},
        ScreenTextCase{"Contrast", "press cw cw cw press cw press",
                       "CONTRAST\nUSE { } OR ~\nTO ADJUST THE\nCONTRAST\n"},
        ScreenTextCase{"AltitudeSetup", "press cw cw cw cw press",
                       "ALT SETUP\n*** DONE ***\nALT UNIT: ft\nQNH UNIT: mB\nPOSITION: BOTTOM\n"},
        ScreenTextCase{"AirspeedSetupTop", "press cw cw cw cw cw press",
                       "ASI SETUP\n*** DONE ***\nZERO ASI SENSOR\nASI DISP: IAS\nLOW ALARM: ON\n"
                       "LOW ALARM: 30\nHIGH ALARM: ON\nHIGH ALARM: 80\n"},
        ScreenTextCase{"AirspeedSetupScrolled",
                       "press cw cw cw cw cw press cw cw cw cw cw cw cw cw cw cw",
                       "ASI SETUP\nLOW ALARM: 30\nHIGH ALARM: ON\nHIGH ALARM: 80\nASI UNIT: mph\n"
                       "ASI FILTER: FAST\nDIST ZERO: MAN\nPOSITION: TOP\n"},
        ScreenTextCase{"ZeroAsi", "press cw cw cw cw cw press cw press",
                       "ARE YOU SURE\nYOU WANT TO\nZERO THE AIR\nSPEED SENSOR?\nZERO\n"},
        ScreenTextCase{"AdcValues", "press cw cw cw cw cw cw press",
                       "ADC VALUES\n*** DONE ***\nALTITUDE: 3000\nAIRSPEED: 400\n"},
        ScreenTextCase{"Calibrate", "press cw cw cw cw cw cw cw press",
                       "CALIBRATE\n*** DONE ***\nALT: +0 2666\nASI: 100% 77\n"},
        ScreenTextCase{"StartFlight", "f1", "[icon:question]   START\nFLIGHT\nSTART\n"},
        ScreenTextCase{"StopFlight", "f1 f1 f1", "[icon:question]    STOP\nFLIGHT\nSTOP\n"},
        ScreenTextCase{"FlightInfo", "f2",
                       "*** DONE ***\nRESET AIR DIST\nFLIGHT TIME:\n00:00\nAIR DISTANCE:\n0.2\n"},
        ScreenTextCase{"MaxValues", "press cw press",
                       "MAX VALUES\n*** DONE ***\nRESET VALUES\nALT: 2666 ft\nASI: 77 mph\n"},
        ScreenTextCase{"FlightLog", "press cw cw press",
                       "FLIGHT LOG\n*** DONE ***\nVIEW LOG\nERASE LOG\nHOUR FRACT: MIN\n"
                       "FLIGHT: MANUAL\n"},
        ScreenTextCase{"FlightLogDetecting", "press cw cw press cw cw cw cw press cw",
                       "FLIGHT LOG\n*** DONE ***\nVIEW LOG\nERASE LOG\nHOUR FRACT: MIN\n"
                       "FLIGHT: DETECT\nFLIGHT T/O: 30\n"},
        ScreenTextCase{"LogPage1", "press cw cw press cw press",
                       "FLIGHT LOG\n*** DONE ***\n1: 00:00\n2: 00:00\n3: 00:00\n4: 00:00\n"
                       "5: 00:00\n6: 00:00\n"},
        ScreenTextCase{"LogPage2", "press cw cw press cw press cw",
                       "FLIGHT LOG\n7: 00:00\n8: 00:00\n9: 00:00\n10: 00:00\n11: 00:00\n"
                       "12: 00:00\n13: 00:00\n"},
        ScreenTextCase{"LogPage3", "press cw cw press cw press cw cw",
                       "FLIGHT LOG\n14: 00:00\n15: 00:00\n16: 00:00\n17: 00:00\n18: 00:00\n"
                       "19: 00:00\n20: 00:00\n"},
        ScreenTextCase{"LogPage4", "press cw cw press cw press cw cw cw",
                       "FLIGHT LOG\n21: 00:00\n22: 00:00\n23: 00:00\n24: 00:00\n"},
        ScreenTextCase{"EraseLog", "press cw cw press cw cw press",
                       "[icon:question]   ERASE\nFLIGHT\nLOG\nERASE\n"},
        ScreenTextCase{"LogBusy", "f1 f1 press cw cw press cw press",
                       "FLIGHT\n[icon:exclamation]  LOG CANT\nBE VIEWED\nWHILE IN\nFLIGHT\n"},
        ScreenTextCase{"Message", "press cw cw press cw cw press f1",
                       "MESSAGE\n[icon:exclamation]\nDONE\n"}),
    [](const ::testing::TestParamInfo<ScreenTextCase>& param) { return param.param.name; });

// ---------------------------------------------------------------------------
// The power cycle as the window's buttons drive it. Each scenario holds its
// own expectations; it passes when they all hold.

struct PowerCycleCase {
  const char* name;
  const char* scenario;
};

void PrintTo(const PowerCycleCase& c, std::ostream* os) {
  *os << c.name;
}

class HeadlessPowerCycle : public ::testing::TestWithParam<PowerCycleCase> {};

TEST_P(HeadlessPowerCycle, BehavesAsWithTheWindow) {
  const Outcome outcome = RunText(GetParam().scenario);
  EXPECT_EQ(outcome.status, kExitPassed) << outcome.err;
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, HeadlessPowerCycle,
    ::testing::Values(
        PowerCycleCase{"OnRunsTheFirstSplashPassThenOnePassPerStep",
                       "on\nexpect-comm 0\npass 79\nexpect-comm 0\npass\nexpect-comm 1\n"
                       "expect currentScreen MainScreen\npass 5\nexpect-comm 6\n"},
        PowerCycleCase{"PassWhileOffRunsNothing",
                       "pass 3\nexpect-comm 0\non\npass 80\noff\npass 9\nexpect-comm 1\n"},
        PowerCycleCase{"OffDuringTheSplashIsLost",
                       "on\npass 5\noff\npass 75\nexpect-comm 1\nexpect stopRequested 0\n"
                       "pass\nexpect-comm 2\n"},
        PowerCycleCase{"OffEndsTheLoopAfterItsPass",
                       "on\npass 80\noff\nexpect-comm 1\non\npass 80\nexpect-comm 2\n"},
        PowerCycleCase{"OnWhileRunningRestartsWithDefaults",
                       "on\npass 80\nkey cw\npass\nexpect qnh 1014250\non\nexpect qnh 1013250\n"
                       "pass 79\nexpect-comm 2\npass\nexpect-comm 3\n"},
        PowerCycleCase{"OnDuringTheSplashRestartsIt",
                       "on\npass 50\non\npass 79\nexpect-comm 0\npass\nexpect-comm 1\n"},
        PowerCycleCase{"KeysWhileOffStayPendingUntilPowerOn",
                       "key f2\nexpect pendingKey 5\non\nexpect pendingKey 0\n"},
        PowerCycleCase{"ASecondKeyBeforeThePassIsDropped",
                       "on\npass 80\nkey press\nkey f2\nexpect pendingKey 1\npass\n"
                       "expect currentScreen MainMenuScreen\n"},
        PowerCycleCase{"KeysDuringTheSplashWaitForTheMainLoop",
                       "on\nkey press\npass 79\nexpect pendingKey 1\npass\n"
                       "expect currentScreen MainMenuScreen\n"},
        PowerCycleCase{"TicksRunWithoutPasses",
                       "tick 11\nexpect blinkPhase 1\ntick 9\nexpect slowTick 1\n"
                       "expect-comm 0\n"},
        PowerCycleCase{"BoxesAreReadByThePass",
                       "on\npass 80\nbox keyfast on\nbox calibrate on\nexpect keyStep 1\npass\n"
                       "expect keyStep 10\nexpect calibrateMode 1\nbox keyfast off\npass\n"
                       "expect keyStep 1\n"},
        PowerCycleCase{"SlidersSetTheRawReadings",
                       "slider altitude 4096\nslider airspeed 17\nexpect altAdcRaw 4096\n"
                       "expect asiAdcRaw 17\non\nexpect asiAdcRaw 0\nexpect altAdcRaw 4096\n"},
        PowerCycleCase{"TheLedShowsItsStoredColourUntilTheFirstPass",
                       "expect-led lit\non\npass 79\nexpect-led lit\npass\nexpect-led unlit\n"}),
    [](const ::testing::TestParamInfo<PowerCycleCase>& param) { return param.param.name; });

// ---------------------------------------------------------------------------
// Output.

TEST(HeadlessShow, PrintsFieldsAsNameEqualsValue) {
  const Outcome outcome = RunText(
      "on\npass 80\nshow qnh\nshow currentScreen\nshow altCalOffset\nshow-led\n"
      "show-comm\n");
  EXPECT_EQ(outcome.status, kExitPassed);
  EXPECT_EQ(outcome.out,
            "qnh=1013250\ncurrentScreen=MainScreen\naltCalOffset=0\nled=unlit\ncommLines=1\n");
}

TEST(HeadlessShow, AllPrintsEveryFieldOnce) {
  const Outcome outcome = RunText("show all\n");
  std::istringstream lines(outcome.out);
  std::string line;
  std::vector<std::string> names;
  while (std::getline(lines, line)) names.push_back(line.substr(0, line.find('=')));
  EXPECT_EQ(names.size(), AllFields().size());
  EXPECT_NE(outcome.out.find("\npendingKey=0\n"), std::string::npos);
  EXPECT_NE(outcome.out.find("\ncurrentScreen=none\n"), std::string::npos);
}

TEST(HeadlessShowLcd, PrintsTheFrameThatExpectLcdAccepts) {
  const TempFolder folder;
  const Outcome shown = RunText("on\npass 80\nshow-lcd\n");
  ASSERT_EQ(shown.status, kExitPassed);
  WriteFile(folder / "main.txt", shown.out);
  EXPECT_EQ(RunText("on\npass 80\nexpect-lcd main.txt\n", folder).status, kExitPassed);
}

// A PNG read back with libpng's own reader, as opaque RGB.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;
  Rgb At(int x, int y) const {
    const std::size_t at = 3 * (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                static_cast<std::size_t>(x));
    return {rgb[at], rgb[at + 1], rgb[at + 2]};
  }
};

Picture ReadPng(const fs::path& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  Picture picture;
  if (png_image_begin_read_from_file(&image, path.c_str()) == 0) {
    ADD_FAILURE() << path << ": " << image.message;
    return picture;
  }
  image.format = PNG_FORMAT_RGB;
  picture.rgb.resize(PNG_IMAGE_SIZE(image));
  if (png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr) == 0) {
    ADD_FAILURE() << path << ": " << image.message;
    return picture;
  }
  picture.width = static_cast<int>(image.width);
  picture.height = static_cast<int>(image.height);
  return picture;
}

struct PngCase {
  const char* scale;
  int dotSize;
  Rgb blankDot;
};

void PrintTo(const PngCase& c, std::ostream* os) {
  *os << "scale " << c.dotSize;
}

class HeadlessSaveLcd : public ::testing::TestWithParam<PngCase> {};

TEST_P(HeadlessSaveLcd, PaintsEveryDotAsASquare) {
  const TempFolder folder;
  const Outcome outcome = RunText(
      "on\npass 80\nsave-lcd main.png " + std::string(GetParam().scale) + "\nshow-lcd\n", folder);
  ASSERT_EQ(outcome.status, kExitPassed) << outcome.err;
  const Picture image = ReadPng(folder / "main.png");
  const int size = GetParam().dotSize;
  ASSERT_EQ(image.width, 128 * size);
  ASSERT_EQ(image.height, 64 * size);
  FrameBuffer expected;
  std::string problem;
  ASSERT_TRUE(ArtToFrame(outcome.out, expected, problem)) << problem;
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 128; ++x) {
      const bool dark =
          GetPixel(expected, static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)) != 0;
      const Rgb colour = dark ? kLcdDarkDot : GetParam().blankDot;
      for (int d = 0; d < size; ++d) {
        ASSERT_EQ(image.At(x * size + d, y * size + d), colour) << x << "," << y;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Scales, HeadlessSaveLcd,
                         ::testing::Values(PngCase{"", 2, kLcdDefaultBlankDot},
                                           PngCase{"1", 1, kLcdDefaultBlankDot},
                                           PngCase{"5", 5, kLcdDefaultBlankDot},
                                           PngCase{"3 green", 3, kLcdGreenBlankDot}));

TEST(HeadlessSaveLcdFailure, IntoAMissingFolderStopsWithStatusTwo) {
  const struct {
    const char* step;
    const char* message;
  } cases[] = {
      {"save-lcd no/such/folder/x.png", "save-lcd: cannot write './no/such/folder/x.png'"},
      {"save-animation no/such/x.gif", "save-animation: cannot write './no/such/x.gif'"},
      {"trace no/such/x.csv altitude", "trace: cannot write './no/such/x.csv'"},
  };
  for (const auto& c : cases) {
    const Outcome outcome = RunText("on\n" + std::string(c.step) + "\nshow-comm\n");
    EXPECT_EQ(outcome.status, kExitBadInput);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, "test.scn:2: " + std::string(c.message) + "\n");
  }
}

// ---------------------------------------------------------------------------
// Animations, read back with giflib: one frame a pass at 100 ms, a run of
// identical frames merged into one, and the pictures put together frame by
// frame end as the LCD showed it.

struct AnimationCase {
  const char* name;
  const char* scenario;  // records into a.gif and ends with show-lcd
  int scale;
  std::vector<int> delays;  // centiseconds of each frame in the file
};

void PrintTo(const AnimationCase& c, std::ostream* os) {
  *os << c.name;
}

class HeadlessAnimation : public ::testing::TestWithParam<AnimationCase> {};

TEST_P(HeadlessAnimation, HoldsOneFrameForEachRunOfPasses) {
  const AnimationCase& c = GetParam();
  const TempFolder folder;
  const Outcome outcome = RunText(c.scenario, folder);
  ASSERT_EQ(outcome.status, kExitPassed) << outcome.err;
  int error = 0;
  GifFileType* gif = DGifOpenFileName((folder / "a.gif").string().c_str(), &error);
  ASSERT_NE(gif, nullptr) << error;
  ASSERT_EQ(DGifSlurp(gif), GIF_OK);
  EXPECT_EQ(gif->SWidth, 128 * c.scale);
  EXPECT_EQ(gif->SHeight, 64 * c.scale);
  ASSERT_NE(gif->SColorMap, nullptr);
  const GifColorType blank = gif->SColorMap->Colors[0];
  const GifColorType dark = gif->SColorMap->Colors[1];
  EXPECT_EQ((Rgb{blank.Red, blank.Green, blank.Blue}), kLcdDefaultBlankDot);
  EXPECT_EQ((Rgb{dark.Red, dark.Green, dark.Blue}), kLcdDarkDot);
  std::vector<int> delays;
  std::vector<std::uint8_t> canvas(static_cast<std::size_t>(gif->SWidth * gif->SHeight), 0);
  for (int i = 0; i < gif->ImageCount; ++i) {
    GraphicsControlBlock control{};
    DGifSavedExtensionToGCB(gif, i, &control);
    delays.push_back(control.DelayTime);
    const SavedImage& image = gif->SavedImages[i];
    const GifImageDesc& d = image.ImageDesc;
    for (int y = 0; y < d.Height; ++y) {
      for (int x = 0; x < d.Width; ++x) {
        canvas[static_cast<std::size_t>((d.Top + y) * gif->SWidth + d.Left + x)] =
            image.RasterBits[y * d.Width + x];
      }
    }
  }
  DGifCloseFile(gif, &error);
  EXPECT_EQ(delays, c.delays);
  FrameBuffer last;
  std::string problem;
  ASSERT_TRUE(ArtToFrame(outcome.out, last, problem)) << problem;
  for (int y = 0; y < 64 * c.scale; ++y) {
    for (int x = 0; x < 128 * c.scale; ++x) {
      const int dot = GetPixel(last, static_cast<std::uint8_t>(x / c.scale),
                               static_cast<std::uint8_t>(y / c.scale));
      ASSERT_EQ(canvas[static_cast<std::size_t>(y * 128 * c.scale + x)], dot != 0 ? 1 : 0)
          << x << "," << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Recordings, HeadlessAnimation,
    ::testing::Values(
        AnimationCase{"AStillDisplayIsOneLongFrame",
                      "on\npass 80\nsave-animation a.gif\npass 30\nshow-lcd\n",
                      2,
                      {300}},
        AnimationCase{"ANewPictureStartsAFrame",
                      "on\npass 80\nsave-animation a.gif 1\npass 5\nkey press\npass 4\n"
                      "stop-animation\npass 10\nshow-lcd\n",
                      1,
                      {60, 30}},
        AnimationCase{"TheSplashMovesEveryPassUntilItsTextStops",
                      "save-animation a.gif 3\non\npass 2\nstop-animation\nshow-lcd\n",
                      3,
                      {10, 10, 10}},
        AnimationCase{"ARunLongerThanAGifFrameIsSplit",
                      "on\npass 80\nsave-animation a.gif 1\npass 7000\nshow-lcd\n",
                      1,
                      {65530, 4470}},
        AnimationCase{"ASecondRecordingEndsTheFirst",
                      "on\npass 80\nsave-animation b.gif\npass 3\nsave-animation a.gif 1\n"
                      "pass 2\nshow-lcd\n",
                      1,
                      {20}}),
    [](const ::testing::TestParamInfo<AnimationCase>& param) { return param.param.name; });

// ---------------------------------------------------------------------------
// Flying a profile: passes at the chosen pace, a tick every 100 ms of
// profile time whatever the pace, the steps after "at" at that moment,
// the flight's end before what follows it. Expected values come from the
// demo's table (demo_flight.cpp): the dive holds 84 mph from 4:10 to 4:22,
// which the FAST filter shows from nine passes on.

struct FlyCase {
  const char* name;
  const char* steps;  // after "on" and the splash
  const char* out;
};

void PrintTo(const FlyCase& c, std::ostream* os) {
  *os << c.name;
}

class HeadlessFly : public ::testing::TestWithParam<FlyCase> {};

TEST_P(HeadlessFly, DrivesTheInstrumentThroughTheProfile) {
  const FlyCase& c = GetParam();
  const Outcome outcome = RunText("on\npass 80\n" + std::string(c.steps));
  EXPECT_EQ(outcome.status, kExitPassed) << outcome.err;
  EXPECT_EQ(outcome.out, c.out);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, HeadlessFly,
    ::testing::Values(
        // 100 ticks in 10 s: the blink phase toggles every 11th.
        FlyCase{"TenPassesASecond", "fly demo 0 10\nshow-comm\nshow blinkDivider\n",
                "commLines=102\nblinkDivider=1\n"},
        // Faster than real time, the highest and fastest moment (the first,
        // on the ground) is held 32 passes more; the ticks stay the same.
        FlyCase{"FivePassesASecondSameTicks",
                "fly demo 0 10 pace 5\nshow-comm\nshow blinkDivider\n",
                "commLines=84\nblinkDivider=1\n"},
        FlyCase{"AtRunsTheStepsAtItsMoment",
                "fly demo\nat 4:15\nshow airspeed\nshow alarmActive\nat 4:40\nshow alarmActive\n",
                "airspeed=84\nalarmActive=1\nalarmActive=0\n"},
        FlyCase{"WithoutAtToTheEnd", "fly demo\nshow maxAirspeed\nshow airspeed\nshow altitude\n",
                "maxAirspeed=84\nairspeed=0\naltitude=298\n"},
        // Taxiing at 12 mph: under the 16 mph floor the count goes with the
        // square of the airspeed up to count 19, the first that reads
        // (16 mph, the FAST filter settled a count short): 19 x (12/16)^2.
        FlyCase{"TaxiingReadsNothing", "fly demo 0 40\nshow airspeed\nshow asiAdcRaw\n",
                "airspeed=0\nasiAdcRaw=10\n"},
        FlyCase{"AtEnd", "fly demo 4:00\nat 4:05\nshow-comm\nat end\nshow-comm\n",
                "commLines=51\ncommLines=1902\n"},
        FlyCase{"AnotherFlightEndsTheFirst", "fly demo 0 1\nat 0\nfly demo 0 1\nshow-comm\n",
                "commLines=23\n"}),
    [](const ::testing::TestParamInfo<FlyCase>& param) { return param.param.name; });

// The bar's x1 is the window's pace: ten passes a second of the log.
TEST(HeadlessFly, SpeedOneIsPaceTen) {
  const std::string after = "\nshow all\nshow-lcd\nshow-comm\n";
  const Outcome sped = RunText("on\npass 80\nfly demo 0 200 speed 1" + after);
  const Outcome paced = RunText("on\npass 80\nfly demo 0 200 pace 10" + after);
  ASSERT_EQ(sped.status, kExitPassed) << sped.err;
  EXPECT_EQ(sped.out, paced.out);
  EXPECT_NE(sped.out, RunText("on\npass 80\nfly demo 0 200 pace 9" + after).out);
}

TEST(HeadlessFly, ATraceHasARowAPassWithTheProfileBeside) {
  const TempFolder folder;
  const Outcome outcome = RunText(
      "on\npass 80\ntrace t.csv airspeed inFlight\nfly demo 4:10 4:11\nstop-trace\npass 3\n",
      folder);
  ASSERT_EQ(outcome.status, kExitPassed) << outcome.err;
  const std::string trace = ReadFile(folder / "t.csv");
  EXPECT_EQ(trace.substr(0, trace.find('\n')),
            "seconds,profileAltitudeFt,profileAirspeedMph,airspeed,inFlight");
  EXPECT_EQ(std::count(trace.begin(), trace.end(), '\n'), 1 + 11);
  EXPECT_NE(trace.find("\n250.9,1246,84.0,84,0\n"), std::string::npos) << trace;
}

TEST(HeadlessFly, AProfileBeyondTheConvertersNamesTheRangeAndStatusTwo) {
  const TempFolder folder;
  WriteFile(folder / "fast.csv", "time(s),altitude(ft),airspeed(mph)\n0,300,0\n60,300,249\n");
  const Outcome outcome = RunText("on\npass 80\nfly fast.csv\nshow-comm\n", folder);
  EXPECT_EQ(outcome.status, kExitBadInput);
  EXPECT_EQ(outcome.out, "");
  EXPECT_EQ(outcome.err,
            "test.scn:3: fly fast.csv: airspeed 249 mph at 00:01:00 is beyond what the "
            "converters reach with these settings (0..247 mph)\n");
}

TEST(HeadlessFly, ABrokenProfileIsRefusedWithItsLineBeforeAnythingRuns) {
  const TempFolder folder;
  WriteFile(folder / "bad.csv", "time(s),altitude(ft),airspeed(mph)\n0,300,0\n0,300,40\n");
  const Outcome outcome = RunText("show-comm\non\nfly bad.csv\n", folder);
  EXPECT_EQ(outcome.status, kExitBadInput);
  EXPECT_EQ(outcome.out, "");
  EXPECT_EQ(outcome.err.rfind("test.scn:3: ", 0), 0u) << outcome.err;
  EXPECT_NE(outcome.err.find("bad.csv:3: "), std::string::npos) << outcome.err;
}

// A lesson followed through the scenario after it: a solution must finish
// it without its hint coming up by itself, a wrong path ("unfinished") must
// leave it with its hint due (an input that led away, a quiet minute); a
// malformed lesson stops the run before anything runs.
TEST(HeadlessLesson, JudgesTheScenarioThatFollows) {
  const struct {
    const char* name;
    const char* lesson;
    const char* inputs;
    int status;
    const char* says;  // in the output (status 0) or the failure's first line
  } rows[] = {
      {"finished", "", "key cw\npass 2\n", kExitPassed,
       "step 1 of 1 done: Set 1014.\nlesson finished\n"},
      {"left unfinished", "", "", kExitExpectationFailed,
       "test.scn:1: lesson t.lesson: not finished at step 1 (line 3): expect qnh: expected "
       "1014250, "
       "actual 1013250\n"},
      {"a wrong path that finishes", " unfinished", "key cw\npass 2\n", kExitExpectationFailed,
       "test.scn:1: lesson t.lesson: finished, expected unfinished\n"},
      {"a wrong path before its hint", " unfinished", "key ccw\npass\n", kExitExpectationFailed,
       "its hint is not due yet\n"},
      {"a wrong path with its hint", " unfinished", "key ccw\npass\nkey press\npass 2\n",
       kExitPassed, "hint: Turn it. [knob]\n"},
      {"a wrong path stuck a minute", " unfinished", "key ccw\npass 600\n", kExitPassed,
       "hint: Turn it. [knob]\n"},
      {"a solution that looked stuck", "", "key press\npass 2\nkey press\npass 2\nkey cw\npass 2\n",
       kExitExpectationFailed, "the hint of step 1 came up by itself on the way\n"},
      {"a malformed lesson", " ", "", kExitBadInput, ""},
  };
  for (const auto& row : rows) {
    const TempFolder folder;
    const bool malformed = row.status == kExitBadInput;
    WriteFile(folder / "t.lesson",
              std::string("title T\nstart defaults\nstep Set 1014.\nhint Turn it.\n") +
                  (malformed ? "control knub\n" : "control knob\n") +
                  "check expect currentScreen MainScreen\ncheck expect qnh 1014250\n");
    const Outcome outcome = RunText(
        "lesson t.lesson" + std::string(row.lesson) + "\non\npass 80\n" + row.inputs, folder);
    EXPECT_EQ(outcome.status, row.status) << row.name << "\n" << outcome.err;
    if (row.status == kExitPassed) {
      EXPECT_NE(outcome.out.find(row.says), std::string::npos) << row.name << "\n" << outcome.out;
    } else {
      EXPECT_NE(outcome.err.find(row.says), std::string::npos) << row.name << "\n" << outcome.err;
    }
    if (malformed) {
      EXPECT_EQ(outcome.out, "") << row.name;
      EXPECT_EQ(outcome.err, "test.scn:1: " + (folder / "t.lesson").lexically_normal().string() +
                                 ":5: unknown control 'knub': did you mean knob?\n");
    }
  }
}

// check-lesson: the reader's fault; a step that checks nothing new, or
// whose checks already hold as it comes up, teaches nothing; a solution
// (with its own "lesson" line or none) finishes the lesson or does not.
TEST(HeadlessCheckLesson, ReportsWhatTeachesNothingAndWhetherTheSolutionFinishes) {
  const std::string lessons = KVR9_LESSONS_DIR;
  const std::string qnh = "step Set 1014.\nhint Turn it.\ncontrol knob\ncheck expect qnh 1014250\n";
  const struct {
    const char* name;
    std::string lesson;    // a file, or the text of t.lesson
    std::string solution;  // a file, the text of s.scn, or none
    int status;
    const char* says;  // in the output
  } rows[] = {
      {"a lesson and its solution", lessons + "/04-qnh-altitude-unit.lesson",
       lessons + "/checks/04-qnh-altitude-unit.solution.scn", kExitPassed,
       "lesson finished\nthe solution finishes the lesson\n"},
      {"its wrong path", lessons + "/04-qnh-altitude-unit.lesson",
       lessons + "/checks/04-qnh-altitude-unit.wrong.scn", kExitExpectationFailed,
       "the solution does not finish the lesson\n"},
      {"alone", lessons + "/04-qnh-altitude-unit.lesson", "", kExitPassed,
       "04-qnh-altitude-unit.lesson: 7 steps, no faults found\n"},
      {"a step held as it came up",
       "title T\nstart defaults\n" + qnh +
           "step Look.\nhint H.\ncontrol knob\ncheck expect currentScreen MainScreen\n",
       "on\npass 80\nkey cw\npass 2\nkey cw\npass 2\n", kExitExpectationFailed,
       "t.lesson:7: step 2 teaches nothing: its checks all held as it came up"},
      {"a step that checks nothing new", "title T\nstart defaults\n" + qnh + qnh, "",
       kExitExpectationFailed,
       "t.lesson:7: step 2 checks nothing step 1 does not: its checks hold as it comes up"},
      {"a check twice", "title T\nstart defaults\n" + qnh + "check expect  qnh 1014250\n", "",
       kExitExpectationFailed, "t.lesson:7: the check repeats line 6 of the same step\n"},
      {"a malformed lesson", "title T\nstart defaults\n" + qnh + "control knub\n", "",
       kExitExpectationFailed, "t.lesson:7: a second control for the step"},
  };
  for (const auto& row : rows) {
    const TempFolder folder;
    std::vector<std::string> arguments = {"check-lesson", row.lesson};
    if (row.lesson.find('\n') != std::string::npos) {
      arguments[1] = (folder / "t.lesson").string();
      WriteFile(arguments[1], row.lesson);
    }
    if (row.solution.find('\n') != std::string::npos) {
      arguments.push_back((folder / "s.scn").string());
      WriteFile(arguments[2], row.solution);
    } else if (!row.solution.empty()) {
      arguments.push_back(row.solution);
    }
    const Outcome outcome = RunCommand(arguments);
    EXPECT_EQ(outcome.status, row.status) << row.name << "\n" << outcome.out << outcome.err;
    EXPECT_NE(outcome.out.find(row.says), std::string::npos) << row.name << "\n" << outcome.out;
    EXPECT_EQ(outcome.out.find("teaches nothing") != std::string::npos,
              std::string(row.says).find("teaches nothing") != std::string::npos)
        << row.name << "\n"
        << outcome.out;
  }
}

// The example log without airspeed: 25.02 m/s due north (the generator's
// 0.054 minutes of latitude per 4 s) is 56.0 mph. The reader's warning is
// shown with the step's line and stops nothing.
TEST(HeadlessFly, AGroundSpeedLogFliesWithTheReadersWarning) {
  const Outcome outcome = RunText("on\npass 80\nfly ground-speed.igc\nshow maxAirspeed\n",
                                  fs::path(KVR9_EXAMPLES_DIR) / "flights");
  EXPECT_EQ(outcome.status, kExitPassed) << outcome.err;
  EXPECT_EQ(outcome.out, "maxAirspeed=56\n");
  EXPECT_EQ(outcome.err.rfind("warning: test.scn:3: ", 0), 0u) << outcome.err;
  EXPECT_NE(outcome.err.find("ground speed"), std::string::npos) << outcome.err;
}

// At every speed the window offers, each example log's highest altitude
// and fastest airspeed read as its summary gives them: the airspeed
// exactly, the altitude within a count of its converter (8 to 9 ft up
// there). At x64 a pass is 6.4 s of the log and a peak falls between
// passes unless the player holds it.
TEST(HeadlessFly, EverySpeedReadsTheLogsExtremesAsItsSummaryDoes) {
  const fs::path flights = fs::path(KVR9_EXAMPLES_DIR) / "flights";
  Instrument powerOn;
  LoadDefaultSettings(powerOn);
  LoadDefaultCalibration(powerOn);
  SettledReadings altitudes;
  altitudes.Update(powerOn, SliderKind::Altitude, ReadingOf::Profile, ReadingUnit::Feet);
  for (const std::string log : {"logger-ias.igc", "soaring-hour.igc"}) {
    const ProfileReadResult read = ReadProfileFile((flights / log).string());
    ASSERT_TRUE(read.Ok()) << read.error;
    const long highest = std::lround(read.profile.AltitudeRangeFt().highest);
    const long fastest = std::lround(read.profile.AirspeedRangeMph().highest);
    const std::uint32_t count = altitudes.Nearest(static_cast<double>(highest)).count;
    const long perCount = altitudes.At(count - 1) - altitudes.At(count);
    for (const int speed : {1, 4, 16, 64}) {
      const Outcome outcome =
          RunText("slider altitude 4096\non\npass 80\nfly " + log + " speed " +
                      std::to_string(speed) + "\nshow maxAltitude\nshow maxAirspeed\n",
                  flights);
      ASSERT_EQ(outcome.status, kExitPassed) << outcome.err;
      long maxAltitude = 0;
      long maxAirspeed = 0;
      ASSERT_EQ(std::sscanf(outcome.out.c_str(), "maxAltitude=%ld\nmaxAirspeed=%ld", &maxAltitude,
                            &maxAirspeed),
                2)
          << outcome.out;
      EXPECT_LE(std::labs(maxAltitude - highest), perCount)
          << log << " x" << speed << ": " << maxAltitude << " ft";
      EXPECT_EQ(maxAirspeed, fastest) << log << " x" << speed;
    }
  }
}

TEST(HeadlessFly, MomentsMustFollowTheFlight) {
  const struct {
    const char* steps;
    const char* message;
  } cases[] = {
      {"fly demo\nat 100\nat 50\n", "test.scn:3: 'at 50' is not a later moment"},
      {"fly demo 0 100\nat 200\n", "test.scn:2: 'at 200' is not a later moment"},
      {"fly demo\nat end\nat 300\n", "test.scn:3: 'at 300' is not a later moment"},
  };
  for (const auto& c : cases) {
    const Outcome outcome = RunText(c.steps);
    EXPECT_EQ(outcome.status, kExitBadInput) << c.steps;
    EXPECT_EQ(outcome.err.rfind(c.message, 0), 0u) << outcome.err;
  }
}

TEST(HeadlessFly, AFailedExpectationInFlightEndsTheRunWithItsLine) {
  const Outcome outcome =
      RunText("on\npass 80\nfly demo\nat 4:15\nexpect alarmActive 0\nshow-comm\n");
  EXPECT_EQ(outcome.status, kExitExpectationFailed);
  EXPECT_EQ(outcome.out, "");
  EXPECT_EQ(outcome.err,
            "test.scn:5: expect alarmActive: expected 0, actual 1\nthe LCD shows:\n"
            "  \"IAS    84 mph\"\n  \"1231 ft\"\n  \"1013mB\"\n");
}

// ---------------------------------------------------------------------------
// Slider positions in a pilot's units. The count chosen for a reading,
// given to the firmware's own passes until smoothing and filter settle,
// reads the value asked within the count's resolution, and no neighbour
// count reads nearer (the lower one not even as near: ties go down).

struct ReadingCase {
  const char* name;
  void (*setUp)(Settings& settings);
  std::int32_t altitudeFt;  // where the instrument flies while airspeed is asked
  SliderKind slider;
  ReadingUnit unit;
  std::int32_t asked;
  std::int32_t tolerance;
};

void PrintTo(const ReadingCase& c, std::ostream* os) {
  *os << c.name;
}

Instrument InstrumentWith(const ReadingCase& c) {
  Instrument instrument;
  LoadDefaultSettings(instrument);
  LoadDefaultCalibration(instrument);
  c.setUp(instrument.state.settings);
  return instrument;
}

// The reading shown once the passes have settled on count: the altitude
// coming from the far end, so that the smoothing jumps, and the airspeed
// from rest, where the filter settles one filtered count short.
std::int32_t SettledReading(Instrument instrument, SliderKind slider, std::uint32_t count) {
  AirData& air = instrument.state.airData;
  std::int32_t& raw = slider == SliderKind::Altitude ? air.altAdcRaw : air.asiAdcRaw;
  raw = 0;
  UpdateAltitude(instrument);
  UpdateAirspeed(instrument);
  raw = static_cast<std::int32_t>(count);
  for (int pass = 0; pass < 60; ++pass) {
    UpdateAltitude(instrument);
    UpdateAirspeed(instrument);
  }
  return slider == SliderKind::Altitude ? air.altitude : static_cast<std::int32_t>(air.airspeed);
}

class HeadlessSliderReading : public ::testing::TestWithParam<ReadingCase> {};

TEST_P(HeadlessSliderReading, RoundTripsThroughTheFirmwaresPasses) {
  const ReadingCase& c = GetParam();
  Instrument instrument = InstrumentWith(c);
  if (c.altitudeFt != 0) {
    const CountChoice altitude =
        CountForReading(instrument, SliderKind::Altitude, ReadingUnit::Feet, c.altitudeFt);
    instrument.state.airData.altAdcRaw = static_cast<std::int32_t>(altitude.count);
    for (int pass = 0; pass < 60; ++pass) UpdateAltitude(instrument);
  }
  const CountChoice choice = CountForReading(instrument, c.slider, c.unit, c.asked);
  ASSERT_TRUE(choice.reachable) << choice.lowest << ".." << choice.highest;
  ASSERT_GT(choice.count, 0u);
  ASSERT_LT(choice.count, 4096u);
  const auto off = [&](std::uint32_t count) {
    return std::abs(SettledReading(instrument, c.slider, count) - c.asked);
  };
  EXPECT_LE(off(choice.count), c.tolerance);
  EXPECT_LT(off(choice.count), off(choice.count - 1));
  EXPECT_LE(off(choice.count), off(choice.count + 1));
}

INSTANTIATE_TEST_SUITE_P(
    Settings, HeadlessSliderReading,
    ::testing::Values(ReadingCase{"FeetAtStandardQnh", [](Settings&) {}, 0, SliderKind::Altitude,
                                  ReadingUnit::Feet, 3000, 5},
                      ReadingCase{"FeetAtAHighQnh", [](Settings& s) { s.qnh = 1030000; }, 0,
                                  SliderKind::Altitude, ReadingUnit::Feet, 3000, 5},
                      ReadingCase{"FeetBelowSeaLevelAtALowQnh", [](Settings& s) { s.qnh = 950000; },
                                  0, SliderKind::Altitude, ReadingUnit::Feet, -500, 5},
                      ReadingCase{"FeetWithACalibrationOffset",
                                  [](Settings& s) { s.altCalOffset = -90; }, 0,
                                  SliderKind::Altitude, ReadingUnit::Feet, 1500, 5},
                      ReadingCase{"MetresShownInMetres", [](Settings& s) { s.altUnit = 1; }, 0,
                                  SliderKind::Altitude, ReadingUnit::Metres, 900, 2},
                      ReadingCase{"MphFiltered", [](Settings&) {}, 0, SliderKind::Airspeed,
                                  ReadingUnit::Mph, 90, 1},
                      ReadingCase{"MphSlowFilterCalibrated",
                                  [](Settings& s) {
                                    s.asiFilter = 2;
                                    s.asiCalPercent = 120;
                                  },
                                  0, SliderKind::Airspeed, ReadingUnit::Mph, 90, 1},
                      ReadingCase{"KnotsWithAZeroOffset",
                                  [](Settings& s) {
                                    s.asiUnit = 2;
                                    s.asiZeroOffset = 300;
                                  },
                                  0, SliderKind::Airspeed, ReadingUnit::Knots, 80, 1},
                      ReadingCase{"KmhUnfiltered",
                                  [](Settings& s) {
                                    s.asiUnit = 1;
                                    s.asiFilter = 0;
                                  },
                                  0, SliderKind::Airspeed, ReadingUnit::Kmh, 150, 2},
                      ReadingCase{"TrueAirspeedHigh", [](Settings& s) { s.asiShowsTas = 1; }, 9000,
                                  SliderKind::Airspeed, ReadingUnit::Mph, 120, 1}),
    [](const ::testing::TestParamInfo<ReadingCase>& param) { return param.param.name; });

// An airspeed asked in any unit, with any filter, is what the display
// settles at from rest: exactly, where some count reads it (every whole mph
// and knot does; km/h step by about 1.6).
struct SettledSpeedCase {
  const char* name;
  std::uint8_t unit;  // asiUnit
  std::uint8_t filter;
  std::int32_t tolerance;
};

class HeadlessSettledSpeed : public ::testing::TestWithParam<SettledSpeedCase> {};

TEST_P(HeadlessSettledSpeed, IsShownAtEverySpeedOfTheRange) {
  const SettledSpeedCase& c = GetParam();
  Instrument instrument;
  LoadDefaultSettings(instrument);
  LoadDefaultCalibration(instrument);
  instrument.state.settings.asiUnit = c.unit;
  instrument.state.settings.asiFilter = c.filter;
  const ReadingUnit unit = c.unit == 0   ? ReadingUnit::Mph
                           : c.unit == 1 ? ReadingUnit::Kmh
                                         : ReadingUnit::Knots;
  const std::int32_t highest = c.unit == 0 ? 247 : c.unit == 1 ? 397 : 214;
  for (std::int32_t asked = highest; asked >= 20; asked -= 7) {
    const CountChoice choice = CountForReading(instrument, SliderKind::Airspeed, unit, asked);
    EXPECT_LE(std::abs(SettledReading(instrument, SliderKind::Airspeed, choice.count) - asked),
              c.tolerance)
        << asked << " at count " << choice.count;
  }
}

INSTANTIATE_TEST_SUITE_P(
    UnitsAndFilters, HeadlessSettledSpeed,
    ::testing::Values(SettledSpeedCase{"MphNone", 0, 0, 0}, SettledSpeedCase{"MphFast", 0, 1, 0},
                      SettledSpeedCase{"MphSlow", 0, 2, 0}, SettledSpeedCase{"KmhNone", 1, 0, 1},
                      SettledSpeedCase{"KmhFast", 1, 1, 1}, SettledSpeedCase{"KmhSlow", 1, 2, 1},
                      SettledSpeedCase{"KnotsNone", 2, 0, 0},
                      SettledSpeedCase{"KnotsFast", 2, 1, 0},
                      SettledSpeedCase{"KnotsSlow", 2, 2, 0}),
    [](const ::testing::TestParamInfo<SettledSpeedCase>& param) { return param.param.name; });

TEST(HeadlessSliderReading, SetsTheChosenCountWithThePresentSettings) {
  const Outcome outcome =
      RunText("on\npass 80\nkey cw\npass\nslider altitude 3000ft\nshow altAdcRaw\n");
  ASSERT_EQ(outcome.status, kExitPassed) << outcome.err;
  Instrument instrument;
  LoadDefaultSettings(instrument);
  instrument.state.settings.qnh = 1014250;  // one click of the knob
  const CountChoice choice =
      CountForReading(instrument, SliderKind::Altitude, ReadingUnit::Feet, 3000);
  EXPECT_EQ(outcome.out, "altAdcRaw=" + std::to_string(choice.count) + "\n");
}

TEST(HeadlessSliderReading, OutOfReachIsMalformedAndNamesTheRange) {
  const Outcome outcome = RunText("on\npass 80\nslider airspeed 300mph\nshow-comm\n");
  EXPECT_EQ(outcome.status, kExitBadInput);
  EXPECT_EQ(outcome.out, "");
  EXPECT_EQ(outcome.err,
            "test.scn:3: slider airspeed 300mph: no position 0..4096 reads it; they read "
            "0..247mph now\n");
}

// ---------------------------------------------------------------------------
// The command line.

TEST(HeadlessCommandLine, MissingFileIsOneLineAndStatusTwo) {
  const Outcome outcome = RunCommand({"/no/such/scenario.scn"});
  EXPECT_EQ(outcome.status, kExitBadInput);
  EXPECT_EQ(outcome.err,
            "kvr9-headless: cannot read scenario '/no/such/scenario.scn': "
            "No such file or directory\n");
}

TEST(HeadlessCommandLine, AnEndlessScenarioIsRefusedPastItsLargestSize) {
  const Outcome file = RunCommand({"/dev/zero"});
  EXPECT_EQ(file.status, kExitBadInput);
  EXPECT_EQ(file.err,
            "kvr9-headless: cannot read scenario '/dev/zero': larger than 16777216 bytes\n");
  const Outcome input = RunCommand({"-"}, std::string(kLargestScenarioBytes + 1, '\n'));
  EXPECT_EQ(input.status, kExitBadInput);
  EXPECT_NE(input.err.find("'-': larger than"), std::string::npos) << input.err;
  EXPECT_EQ(RunCommand({"-"}, std::string(kLargestScenarioBytes, '\n')).status, kExitPassed);
}

TEST(HeadlessCommandLine, AFolderIsNotAScenario) {
  const TempFolder folder;
  const Outcome outcome = RunCommand({fs::path(folder).string()});
  EXPECT_EQ(outcome.status, kExitBadInput);
  EXPECT_NE(outcome.err.find("cannot read scenario"), std::string::npos);
}

TEST(HeadlessCommandLine, ReadsStandardInputWithoutArgumentOrWithADash) {
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{}, std::vector<std::string>{"-"}}) {
    const Outcome outcome = RunCommand(arguments, "on\npass 80\nshow qnh\n");
    EXPECT_EQ(outcome.status, kExitPassed);
    EXPECT_EQ(outcome.out, "qnh=1013250\n");
  }
  EXPECT_NE(RunCommand({}, "pass x\n").err.find("<stdin>:1:"), std::string::npos);
}

TEST(HeadlessCommandLine, HelpAndBadArguments) {
  const Outcome help = RunCommand({"--help"});
  EXPECT_EQ(help.status, kExitPassed);
  EXPECT_NE(help.out.find("usage: kvr9-headless"), std::string::npos);
  EXPECT_EQ(RunCommand({"--verbose"}).status, kExitBadInput);
  EXPECT_EQ(RunCommand({"a.scn", "b.scn"}).status, kExitBadInput);
}

TEST(HeadlessCommandLine, ExploreIntoAMissingFolderIsOneLineAndStatusTwo) {
  for (const char* option : {"--json", "--report"}) {
    const Outcome outcome =
        RunCommand({"explore", "--max-states", "1", option, "/no/such/folder/walk"});
    EXPECT_EQ(outcome.status, kExitBadInput) << option;
    EXPECT_EQ(outcome.out, "") << option;
    EXPECT_EQ(outcome.err, "kvr9-headless: explore: cannot write '/no/such/folder/walk'\n")
        << option;
  }
}

// Options out of range, unknown or without their value, a malformed
// scenario under --coverage or as a lesson's solution, reports that cannot
// be joined, logs that are not there: one line and status 2, before
// anything is walked, run or flown.
TEST(HeadlessCommandLine, OptionsOutOfRangeAreOneLineAndStatusTwo) {
  const TempFolder folder;
  const std::string bad = (fs::path(folder) / "bad.scn").string();
  std::ofstream(bad) << "on\npass x\n";
  const std::string json = (fs::path(folder) / "c.json").string();
  const std::string report = (fs::path(folder) / "r.xml").string();
  std::ofstream(report) << "<testsuites><testsuite><testcase name=\"a\"/></testsuite></testsuites>";
  const std::string doctype = (fs::path(folder) / "doctype.xml").string();
  std::ofstream(doctype) << "<!DOCTYPE t [<!ENTITY e \"x\">]><testsuite/>";
  const std::string nameless = (fs::path(folder) / "nameless.xml").string();
  std::ofstream(nameless) << "<testsuite>\n<testcase time=\"1\"/></testsuite>";
  const std::string empty = (fs::path(folder) / "empty").string();
  fs::create_directory(empty);
  std::ofstream(fs::path(empty) / "notes.txt") << "not a log\n";
  const std::string noLog = (fs::path(folder) / "nolog.scn").string();
  std::ofstream(noLog) << "on\npass 80\n# fly LOG\nfly demo\n";
  const std::string flights = std::string(KVR9_EXAMPLES_DIR) + "/flights";
  const std::string lesson = std::string(KVR9_LESSONS_DIR) + "/01-switching-on.lesson";
  const struct {
    std::vector<std::string> arguments;
    std::string says;
  } cases[] = {
      {{"explore", "--max-states", "0"}, "--max-states: '0' is not a whole number 1..5000000"},
      {{"explore", "--max-depth", "x"}, "--max-depth: 'x' is not a whole number"},
      {{"explore", "--pass-bound-us", "-5"}, "--pass-bound-us: '-5' is not a whole number"},
      {{"explore", "--walk"}, "explore: unknown option '--walk'"},
      {{"explore", "--json"}, "--json needs a value"},
      {{"--coverage"}, "--coverage needs a file"},
      {{"--coverage", json}, "coverage needs at least one scenario"},
      {{"--coverage", json, "--fast", bad}, "unknown option '--fast'"},
      {{"--coverage", json, bad}, "bad.scn:2: "},
      {{"-j", "-1", "--junit", json, bad}, "-j needs a number of workers, 0 (one a core) to 256"},
      {{"-j257", "--junit", json, bad}, "-j needs a number of workers"},
      {{"--timeout", "0", "--junit", json, bad}, "--timeout needs whole seconds"},
      {{"-j", "2", bad}, "'" + bad + "' here: -j, --timeout and --shard go before --junit"},
      {{"-j", "2"}, "-j, --timeout and --shard go with --junit"},
      {{"merge-junit", json}, "merge-junit needs the merged report and at least one report"},
      {{"merge-junit", json, bad}, "bad.scn:1: not a JUnit report: syntax error"},
      {{"merge-junit", json, doctype}, "doctype.xml:1: a DOCTYPE, which a report does not have"},
      {{"merge-junit", json, nameless}, "nameless.xml:2: a testcase without a name"},
      {{"merge-junit", json, report, report}, "'a' is in both"},
      {{"sweep"}, "sweep needs a folder of flight logs or a log"},
      {{"sweep", "/no/such/log.igc"}, "no such log or folder '/no/such/log.igc'"},
      {{"sweep", empty}, "no flight logs (*.csv, *.igc) in"},
      {{"sweep", "-j", "-1", flights}, "-j needs a number of workers, 0 (one a core) to 256"},
      {{"sweep", "--scenario", noLog, flights}, "has no 'fly LOG' step"},
      {{"sweep", "--scenario", noLog, "--from", bad, flights}, "--from or --scenario, not both"},
      {{"sweep", "--fast", flights}, "sweep: unknown option '--fast'"},
      {{"sweep", "--timeout", "86401", flights}, "--timeout needs whole seconds, 1 to 86400"},
      {{"check-lesson"}, "check-lesson needs a lesson file"},
      {{"check-lesson", lesson, bad, bad}, "check-lesson needs a lesson file and at most a"},
      {{"check-lesson", "--strict", lesson}, "check-lesson: unknown option '--strict'"},
      {{"check-lesson", "/no/such.lesson"}, "cannot read the lesson '/no/such.lesson'"},
      {{"check-lesson", lesson, "/no/such.scn"}, "cannot read the solution '/no/such.scn'"},
      {{"check-lesson", lesson, bad}, "bad.scn:2: "},
  };
  for (const auto& c : cases) {
    const Outcome outcome = RunCommand(c.arguments);
    EXPECT_EQ(outcome.status, kExitBadInput) << c.says;
    EXPECT_NE(outcome.err.find(c.says), std::string::npos) << outcome.err;
    EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
  }
}

// A walk stopped at its limit says so, and judges no state's way home.
TEST(HeadlessCommandLine, ExploreSaysWhenItsLimitStoppedIt) {
  const Outcome outcome = RunCommand({"explore", "--max-states", "50"});
  EXPECT_EQ(outcome.status, kExitPassed) << outcome.err;
  EXPECT_NE(outcome.out.find("stopped at its limit of 50 states"), std::string::npos)
      << outcome.out;
}

// The report's map is drawn by Graphviz's dot (scripts/install-deps.sh).
TEST(HeadlessGraphviz, DrawsDotTextAsSvgAndRefusesWhatIsNotDot) {
  bool installed = false;
  const char* path = std::getenv("PATH");
  for (std::stringstream folders(path != nullptr ? path : ""); !installed;) {
    std::string folder;
    if (!std::getline(folders, folder, ':')) break;
    installed = !folder.empty() && fs::exists(fs::path(folder) / "dot");
  }
  if (!installed) GTEST_SKIP() << "Graphviz's dot is not installed";
  const std::optional<std::string> svg = DotToSvg("digraph { \"off\" -> \"MainScreen\" }\n");
  ASSERT_TRUE(svg.has_value());
  EXPECT_NE(svg->find("<svg"), std::string::npos);
  EXPECT_NE(svg->find("MainScreen"), std::string::npos);
  EXPECT_FALSE(DotToSvg("digraph { -> }\n").has_value());
}

TEST(HeadlessCommandLine, FramesAreFoundBesideTheScenario) {
  const TempFolder temp;
  const fs::path folder = temp / "nested";
  fs::create_directories(folder);
  WriteFile(folder / "blank.txt", BlankArt());
  WriteFile(folder / "check.scn", "expect-lcd blank.txt\n");
  EXPECT_EQ(RunCommand({(folder / "check.scn").string()}).status, kExitPassed);
}

// ---------------------------------------------------------------------------
// Several scenarios, one JUnit report, read back with a real XML parser.

struct ReportedCase {
  std::string name;
  std::string outcome;  // "", "failure" or "error"
  std::string message;
  std::string details;
  std::string output;
  bool operator==(const ReportedCase&) const = default;
};

struct ReportedTotals {
  int tests = -1;
  int failures = -1;
  int errors = -1;
};

// The report read with expat: the testsuite's totals, each testcase with
// its failure or error and output.
class JUnitReader {
 public:
  std::vector<ReportedCase> cases;
  ReportedTotals suite;

  static void Start(void* data, const XML_Char* name, const XML_Char** attributes) {
    auto& self = *static_cast<JUnitReader*>(data);
    const std::string element = name;
    const auto attribute = [&](const char* wanted) -> std::string {
      for (const XML_Char** a = attributes; *a != nullptr; a += 2) {
        if (std::string(a[0]) == wanted) return a[1];
      }
      return "<absent>";
    };
    const auto totals = [&](ReportedTotals& into) {
      into.tests = std::stoi(attribute("tests"));
      into.failures = std::stoi(attribute("failures"));
      into.errors = std::stoi(attribute("errors"));
    };
    self.text_.clear();
    if (element == "testsuite") totals(self.suite);
    if (element == "testcase") {
      self.cases.push_back({attribute("name"), "", "", "", ""});
      EXPECT_GE(std::stod(attribute("time")), 0.0);
    }
    if ((element == "failure" || element == "error") && !self.cases.empty()) {
      self.cases.back().outcome = element;
      self.cases.back().message = attribute("message");
    }
  }

  static void End(void* data, const XML_Char* name) {
    auto& self = *static_cast<JUnitReader*>(data);
    const std::string element = name;
    if (self.cases.empty()) return;
    if (element == "failure" || element == "error") self.cases.back().details = self.text_;
    if (element == "system-out") self.cases.back().output = self.text_;
  }

  static void Text(void* data, const XML_Char* text, int length) {
    static_cast<JUnitReader*>(data)->text_.append(text, static_cast<std::size_t>(length));
  }

 private:
  std::string text_;
};

std::vector<ReportedCase> ReadJUnitReport(const fs::path& path, int& tests,
                                          ReportedTotals* totals = nullptr) {
  const std::string xml = ReadFile(path);
  JUnitReader reader;
  XML_Parser parser = XML_ParserCreate("UTF-8");
  XML_SetUserData(parser, &reader);
  XML_SetElementHandler(parser, JUnitReader::Start, JUnitReader::End);
  XML_SetCharacterDataHandler(parser, JUnitReader::Text);
  const bool parsed = XML_Parse(parser, xml.data(), static_cast<int>(xml.size()), 1) != 0;
  EXPECT_TRUE(parsed) << path << ":" << XML_GetCurrentLineNumber(parser) << ": "
                      << XML_ErrorString(XML_GetErrorCode(parser));
  XML_ParserFree(parser);
  tests = reader.suite.tests;
  if (totals != nullptr) *totals = reader.suite;
  return reader.cases;
}

TEST(HeadlessJUnit, ReportsEveryScenarioAndTheWorstStatus) {
  const TempFolder folder;
  // The first leaves the instrument running and moved; the second finds it
  // as at process start.
  WriteFile(folder / "moves.scn", "on\npass 80\nslider altitude 4096\ntick 11\nkey press\n");
  WriteFile(folder / "fresh.scn",
            "expect altAdcRaw 0\nexpect blinkPhase 0\nexpect pendingKey 0\nexpect qnh 0\n"
            "show currentScreen\n");
  WriteFile(folder / "a&b <\"c\">.scn", "on\npass 80\nexpect qnh 1014250\n");
  WriteFile(folder / "broken.scn", "on\npass 80\nkey \x1b[31m<&>\n");
  struct Run {
    std::vector<const char*> scenarios;
    int status;
    int failures;  // expectations not met
    int errors;    // malformed or unreadable
  };
  for (const Run& run :
       {Run{{"moves.scn", "fresh.scn"}, kExitPassed, 0, 0},
        Run{{"moves.scn", "a&b <\"c\">.scn", "fresh.scn"}, kExitExpectationFailed, 1, 0},
        Run{{"broken.scn", "a&b <\"c\">.scn", "missing.scn", "fresh.scn"}, kExitBadInput, 1, 2}}) {
    std::vector<std::string> arguments = {"--junit", (folder / "report.xml").string()};
    for (const char* scenario : run.scenarios) arguments.push_back((folder / scenario).string());
    const Outcome alone = RunCommand(arguments);
    EXPECT_EQ(alone.status, run.status) << run.scenarios.size();
    int tests = 0;
    ReportedTotals totals;
    const std::vector<ReportedCase> cases = ReadJUnitReport(folder / "report.xml", tests, &totals);
    // Side by side in worker processes: the same cases, output and status.
    std::vector<std::string> parallel = {"-j", "2"};
    parallel.insert(parallel.end(), arguments.begin(), arguments.end());
    const Outcome workers = RunCommand(parallel);
    EXPECT_EQ(workers.status, alone.status);
    EXPECT_EQ(workers.err, alone.err);
    EXPECT_EQ(ReadJUnitReport(folder / "report.xml", tests), cases);
    ASSERT_EQ(cases.size(), run.scenarios.size());
    EXPECT_EQ(tests, static_cast<int>(run.scenarios.size()));
    EXPECT_EQ(totals.failures, run.failures) << run.scenarios.size();
    EXPECT_EQ(totals.errors, run.errors) << run.scenarios.size();
    for (std::size_t i = 0; i < cases.size(); ++i) {
      EXPECT_EQ(cases[i].name, arguments[i + 2]);
    }
    EXPECT_EQ(cases.back().outcome, "");  // fresh.scn, last, always passes
    EXPECT_EQ(cases.back().output, "currentScreen=none\n");
  }
  // The last run's report: a failure with line, expected and actual; errors
  // for the malformed and the missing scenario, their messages intact.
  int tests = 0;
  const std::vector<ReportedCase> cases = ReadJUnitReport(folder / "report.xml", tests);
  ASSERT_EQ(cases.size(), 4u);
  EXPECT_EQ(cases[0].outcome, "error");
  EXPECT_EQ(cases[0].message,
            (folder / "broken.scn").string() +
                ":3: unknown key '\\x1b[31m<&>': use one of press, cw, ccw, f1, f2");
  EXPECT_EQ(cases[1].outcome, "failure");
  EXPECT_EQ(cases[1].message, cases[1].name + ":3: expect qnh: expected 1014250, actual 1013250");
  EXPECT_EQ(cases[1].details, cases[1].message +
                                  "\nthe LCD shows:\n  \"IAS      0 mph\"\n  \"50860 ft\"\n"
                                  "  \"1013mB\"\n");
  EXPECT_EQ(cases[2].outcome, "error");
  EXPECT_NE(cases[2].message.find("cannot read scenario"), std::string::npos);
}

// A file name need not be UTF-8, nor free of control bytes; the report
// stays well-formed and keeps what it can of the name.
// Three machines given the same list run every scenario exactly once, in
// the order given; a shard out of range is one line and status 2.
TEST(HeadlessJUnit, ShardsRunEveryScenarioExactlyOnce) {
  const TempFolder folder;
  std::vector<std::string> all;
  for (int i = 10; i < 22; ++i) {
    all.push_back((fs::path(folder) / (std::string("s") + std::to_string(i) + ".scn")).string());
    WriteFile(all.back(), i == 15 ? "on\npass 80\nexpect qnh 1\n" : "on\npass 80\nshow qnh\n");
  }
  const fs::path whole = fs::path(folder) / "whole.xml";
  std::vector<std::string> unsharded = {"--junit", whole.string()};
  unsharded.insert(unsharded.end(), all.begin(), all.end());
  ASSERT_EQ(RunCommand(unsharded).status, kExitExpectationFailed);
  std::vector<std::string> merge = {"merge-junit", (fs::path(folder) / "merged.xml").string()};
  std::multiset<std::string> ran;
  for (int shard = 1; shard <= 3; ++shard) {
    const fs::path report = fs::path(folder) / ("shard" + std::to_string(shard) + ".xml");
    std::vector<std::string> arguments = {"--shard", std::to_string(shard) + "/3", "--junit",
                                          report.string()};
    arguments.insert(arguments.end(), all.begin(), all.end());
    ASSERT_LE(RunCommand(arguments).status, kExitExpectationFailed);
    merge.push_back(report.string());
    int tests = 0;
    std::vector<std::string> order;
    for (const ReportedCase& c : ReadJUnitReport(report, tests)) order.push_back(c.name);
    EXPECT_TRUE(std::is_sorted(order.begin(), order.end(), [&](const auto& a, const auto& b) {
      return std::find(all.begin(), all.end(), a) < std::find(all.begin(), all.end(), b);
    }));
    ran.insert(order.begin(), order.end());
  }
  EXPECT_EQ(ran, std::multiset<std::string>(all.begin(), all.end()));
  // Joined, the shards' reports are the unsharded one: failure, output and
  // the failing moment's files, in the order of the names.
  EXPECT_EQ(RunCommand(merge).status, kExitExpectationFailed);
  int tests = 0;
  const std::vector<ReportedCase> merged = ReadJUnitReport(merge[1], tests);
  EXPECT_EQ(merged, ReadJUnitReport(whole, tests));
  EXPECT_EQ(merged[5].outcome, "failure");
  for (const char* shard : {"4/3", "0/2", "1/0", "x", "1/3/4", "+1/2"}) {
    const Outcome outcome = RunCommand({"--shard", shard, "--junit", "r.xml", all[0]});
    EXPECT_EQ(outcome.status, kExitBadInput) << shard;
    EXPECT_NE(outcome.err.find("--shard needs K/N"), std::string::npos) << outcome.err;
  }
}

// Jobs in worker processes are handed on in their own order, whichever
// ends first; a crash, an escaped exception or a time-out is that job's
// outcome alone, and a big result comes through whole.
TEST(HeadlessWorkers, EachJobsOutcomeInOrderWhateverBecameOfTheOthers) {
  const struct {
    bool finished;
    std::string text;
    std::string problem;
  } expected[] = {
      {true, "slow", ""},
      {true, "quick", ""},
      {false, "", "crashed (signal 6, SIGABRT)"},
      {false, "", "crashed (an exception escaped)"},
      {false, "", "timed out after 2 s"},
      {true, std::string(1 << 20, 'x'), ""},
  };
  WorkerPlan plan;
  plan.jobs = std::size(expected);
  plan.workers = 3;
  plan.timeoutSeconds = 2;
  plan.work = [&](std::size_t job) -> std::string {
    if (job == 0) std::this_thread::sleep_for(std::chrono::milliseconds(300));
    if (job == 2) std::abort();
    if (job == 3) throw std::runtime_error("escaped");
    if (job == 4) std::this_thread::sleep_for(std::chrono::seconds(60));
    return expected[job].text;
  };
  std::vector<std::size_t> order;
  plan.done = [&](std::size_t job, WorkerOutcome outcome) {
    order.push_back(job);
    EXPECT_EQ(outcome.finished, expected[job].finished) << job;
    EXPECT_EQ(outcome.text, expected[job].text) << job;
    EXPECT_EQ(outcome.problem, expected[job].problem) << job;
  };
  std::string problem;
  ASSERT_TRUE(RunInWorkers(plan, problem)) << problem;
  EXPECT_EQ(order, (std::vector<std::size_t>{0, 1, 2, 3, 4, 5}));
}

TEST(HeadlessJUnit, NamesThatAreNotUtf8StayWellFormed) {
  const TempFolder folder;
  WriteFile(folder / "x\xff\x01\xe2\x82.scn", "on\n");
  const std::string scenario = (folder / "x\xff\x01\xe2\x82.scn").string();
  EXPECT_EQ(RunCommand({"--junit", (folder / "r.xml").string(), scenario}).status, kExitPassed);
  int tests = 0;
  const std::vector<ReportedCase> cases = ReadJUnitReport(folder / "r.xml", tests);
  ASSERT_EQ(cases.size(), 1u);
  EXPECT_EQ(cases[0].name, (folder / "x\uFFFD\\x01\uFFFD\uFFFD.scn").string());
}

TEST(HeadlessJUnit, AnUnwritableReportRunsNothing) {
  const TempFolder folder;
  WriteFile(folder / "a.scn", "on\nsave-lcd a.png\n");
  const Outcome outcome =
      RunCommand({"--junit", (folder / "no/such/r.xml").string(), (folder / "a.scn").string()});
  EXPECT_EQ(outcome.status, kExitBadInput);
  EXPECT_NE(outcome.err.find("cannot write report"), std::string::npos);
  EXPECT_FALSE(fs::exists(folder / "a.png"));
  EXPECT_EQ(RunCommand({"--junit", "r.xml"}).status, kExitBadInput);
}

// A failed expectation leaves its moment beside the report, named in the
// testcase as CI servers show attachments: a snapshot that, opened with
// --from, shows what the failing run showed, and the LCD's picture.
TEST(HeadlessJUnit, AFailedExpectationLeavesItsMomentBesideTheReport) {
  const TempFolder folder;
  const std::string before = "on\npass 90\nkey press\npass 2\nkey cw\npass 2\n";
  WriteFile(folder / "menu.scn", before + "expect cursor 5\nkey press\n");
  WriteFile(folder / "passes.scn", "on\npass 3\n");
  const std::vector<std::string> arguments = {"--junit", (folder / "r.xml").string(),
                                              (folder / "menu.scn").string(),
                                              (folder / "passes.scn").string()};
  EXPECT_EQ(RunCommand(arguments).status, kExitExpectationFailed);
  int tests = 0;
  const std::vector<ReportedCase> cases = ReadJUnitReport(folder / "r.xml", tests);
  ASSERT_EQ(cases.size(), 2u);
  const std::string state = (folder / "menu.failed.json").string();
  const std::string picture = (folder / "menu.failed.png").string();
  EXPECT_EQ(cases[0].output, "[[ATTACHMENT|" + state + "]]\n[[ATTACHMENT|" + picture + "]]\n");
  EXPECT_EQ(cases[1].output, "");
  EXPECT_FALSE(fs::exists(folder / "passes.failed.json"));

  const std::string look = "show all\nshow-lcd\nshow-led\nshow-comm\n";
  const Outcome whole = RunText(before + look);
  const Outcome opened = RunCommand({"--from", state, "-"}, look);
  EXPECT_EQ(opened.status, kExitPassed) << opened.err;
  EXPECT_EQ(opened.out, whole.out);
  const Picture png = ReadPng(picture);
  EXPECT_EQ(png.width, kLcdWidth * kDefaultPngScale);
  EXPECT_EQ(png.height, kLcdHeight * kDefaultPngScale);
}

// ---------------------------------------------------------------------------
// sweep: every log of a folder flown from power-on, one CSV row each.

// The rows of a CSV, each split into its fields (RFC 4180 quotes).
std::vector<std::vector<std::string>> ReadCsv(const std::string& text) {
  std::vector<std::vector<std::string>> rows;
  std::vector<std::string> row(1);
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        row.back() += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        row.back() += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      row.emplace_back();
    } else if (c == '\n') {
      rows.push_back(std::move(row));
      row.assign(1, "");
    } else {
      row.back() += c;
    }
  }
  return rows;
}

// The example logs, a log that dives past the high alarm twice and a
// broken one, flown one at a time and by two workers: the same rows, in
// the logs' order; MAX VALUES within a count of the converters of each
// log's own summary; the broken log a row with its reader's reason.
TEST(HeadlessSweep, FliesEveryLogToItsSummaryAndRefusesABrokenOneInItsRow) {
  const TempFolder folder;
  const fs::path logs = folder / "logs";
  fs::create_directories(logs);
  WriteFile(logs / "fast.csv",
            "time(s),altitude(ft),airspeed(mph)\n0,1000,0\n30,1000,60\n60,1000,60\n70,1000,100\n"
            "80,1000,60\n120,1000,60\n130,1000,100\n140,1000,60\n180,1000,0\n");
  WriteFile(logs / "broken.IGC", "AXXX001\nB not a fix\n");
  WriteFile(logs / "notes.txt", "not a log\n");
  const std::string examples = std::string(KVR9_EXAMPLES_DIR) + "/flights";
  std::string csv[2];
  for (const int workers : {1, 2}) {
    const std::string name = "j" + std::to_string(workers);
    const Outcome outcome =
        RunCommand({"sweep", examples, logs.string(), "-j", std::to_string(workers), "--csv",
                    (folder / (name + ".csv").c_str()).string(), "--junit",
                    (folder / (name + ".xml").c_str()).string()});
    EXPECT_EQ(outcome.status, kExitBadInput) << outcome.err;
    csv[workers - 1] = ReadFile(folder / (name + ".csv").c_str());
    int tests = 0;
    ReportedTotals totals;
    const std::vector<ReportedCase> cases =
        ReadJUnitReport(folder / (name + ".xml").c_str(), tests, &totals);
    EXPECT_EQ(tests, 7);
    EXPECT_EQ(totals.errors, 1);
    ASSERT_EQ(cases.size(), 7u);
    EXPECT_EQ(cases[5].name, (logs / "broken.IGC").string());
    EXPECT_EQ(cases[5].outcome, "error");
  }
  EXPECT_EQ(csv[0], csv[1]);

  const std::vector<std::vector<std::string>> rows = ReadCsv(csv[0]);
  ASSERT_EQ(rows.size(), 8u);
  EXPECT_EQ(rows[0], ReadCsv(std::string(kSweepCsvHeader) + "\n")[0]);
  const std::vector<std::string> order = {
      examples + "/circuit.csv",    examples + "/ground-speed.igc", examples + "/logger-ias.igc",
      examples + "/logger-tas.igc", examples + "/soaring-hour.igc", (logs / "broken.IGC").string(),
      (logs / "fast.csv").string()};
  for (std::size_t i = 1; i < rows.size(); ++i) {
    const std::vector<std::string>& row = rows[i];
    ASSERT_EQ(row.size(), 11u) << csv[0];
    EXPECT_EQ(row[0], order[i - 1]);
    if (row[0] == order[5]) {
      EXPECT_EQ(row[10], ReadProfileFile(order[5]).error);
      EXPECT_NE(row[10], "");
      EXPECT_EQ(std::count(row.begin() + 1, row.begin() + 10, ""), 9);
      continue;
    }
    EXPECT_EQ(row[10], "") << row[0];
    // A count of the static converter is 7 to 9 ft up to 6000 ft; the
    // airspeed is shown in whole mph.
    EXPECT_NEAR(std::stod(row[4]), std::stod(row[1]), 10) << row[0];
    EXPECT_NEAR(std::stod(row[5]), std::stod(row[2]), 1) << row[0];
  }
  // fast.csv passes 80 mph, the high alarm's, at 65 s and 125 s.
  const std::vector<std::string>& fast = rows[7];
  EXPECT_EQ(fast[3], "180");
  EXPECT_EQ(fast[6], "2");
  EXPECT_NEAR(std::stod(fast[7]), 65.5, 0.5);
}

// A scenario flies each log where it says "fly LOG", whatever the log's
// name holds; a failed expectation is that log's failure and status 1.
TEST(HeadlessSweep, AScenarioFliesEachLogAndItsFailureIsThatLogs) {
  const TempFolder folder;
  const std::string examples = std::string(KVR9_EXAMPLES_DIR) + "/flights";
  const fs::path odd = folder / "my log #1.igc";
  fs::copy_file(examples + "/logger-ias.igc", odd);
  WriteFile(folder / "fastest.scn",
            "slider altitude 4096\non\npass 80\nfly LOG speed 64 # the window's x64\n"
            "expect maxAirspeed 88\nshow maxAltitude\n");
  const Outcome outcome =
      RunCommand({"sweep", "--scenario", (folder / "fastest.scn").string(), odd.string(),
                  examples + "/logger-tas.igc", "--junit", (folder / "r.xml").string()});
  EXPECT_EQ(outcome.status, kExitExpectationFailed) << outcome.err;
  const std::vector<std::vector<std::string>> rows = ReadCsv(outcome.out);
  ASSERT_EQ(rows.size(), 3u) << outcome.out;
  EXPECT_EQ(rows[1][0], odd.string());
  EXPECT_EQ(rows[1][5], "88");
  EXPECT_EQ(rows[1][10], "");
  EXPECT_EQ(rows[2][10],
            (folder / "fastest.scn").string() + ":5: expect maxAirspeed: expected 88, actual 100");
  int tests = 0;
  const std::vector<ReportedCase> cases = ReadJUnitReport(folder / "r.xml", tests);
  ASSERT_EQ(cases.size(), 2u);
  EXPECT_EQ(cases[0].outcome, "");
  EXPECT_EQ(cases[0].output.rfind("maxAltitude=", 0), 0u) << cases[0].output;
  EXPECT_EQ(cases[1].outcome, "failure");
}

// ---------------------------------------------------------------------------
// Snapshots in the driver: saved at a moment and loaded, by --from or a
// load-state step after the instrument has gone elsewhere, the rest of the
// scenario gives what the uninterrupted scenario gives.
struct StateCase {
  const char* name;
  const char* before;  // up to the save-state
  const char* after;   // the same inputs after it, with what they show
};

void PrintTo(const StateCase& c, std::ostream* os) {
  *os << c.name;
}

class HeadlessState : public ::testing::TestWithParam<StateCase> {};

TEST_P(HeadlessState, LoadedGoesOnAsTheUninterruptedRun) {
  const StateCase& c = GetParam();
  const TempFolder folder;
  const std::string save = "save-state " + (folder / "s.json").string() + "\n";
  const std::string load = "load-state " + (folder / "s.json").string() + "\n";
  const std::string look = "show all\nshow-lcd\nshow-led\nshow-comm\n";
  const Outcome whole = RunText(std::string(c.before) + save + c.after + look);
  ASSERT_EQ(whole.status, kExitPassed) << whole.err;
  const Outcome from =
      RunCommand({"--from", (folder / "s.json").string(), "-"}, std::string(c.after) + look);
  EXPECT_EQ(from.status, kExitPassed) << from.err;
  EXPECT_EQ(from.out, whole.out);
  // Elsewhere first: another power-on, keys, sliders, a box.
  const Outcome loaded =
      RunText(std::string(c.before) + save +
              "on\npass 95\nkey press\nslider airspeed 3000\nbox keyfast on\npass 4\n" + load +
              c.after + look);
  EXPECT_EQ(loaded.status, kExitPassed) << loaded.err;
  EXPECT_EQ(loaded.out, whole.out);
}

INSTANTIATE_TEST_SUITE_P(
    Moments, HeadlessState,
    ::testing::Values(
        StateCase{"never switched on", "slider altitude 1200\n", "on\npass 85\nkey f1\npass 2\n"},
        StateCase{"in the splash", "on\npass 30\nslider altitude 900\ntick 7\n",
                  "pass 60\nkey cw\npass 3\n"},
        StateCase{"in a menu", "on\npass 90\nkey press\npass 1\nkey cw\nkey cw\n",
                  "pass 1\nkey press\npass 3\n"},
        StateCase{"off", "on\npass 90\nbox calibrate on\ntick 30\npass 2\noff\n",
                  "slider airspeed 2000\non\npass 100\n"},
        StateCase{"alarm blinking", "on\npass 85\nslider airspeed 4000\npass 20\ntick 13\npass 1\n",
                  "tick 11\npass 2\nkey f1\ntick 11\npass 2\n"},
        StateCase{"a stop asked for in the splash", "on\npass 10\noff\n", "pass 80\n"},
        // Long runs: the communication window has long been full of one line.
        StateCase{"two minutes on", "on\npass 1200\n", "key press\npass 2\nkey cw\npass 2\n"},
        StateCase{"fifty minutes on, then off", "on\ntick 5\npass 30000\noff\n", "on\npass 90\n"},
        StateCase{"a hundred thousand passes with KeyFast",
                  "on\nbox keyfast on\nslider airspeed 2500\npass 100000\n",
                  "tick 20\npass 3\nkey press\npass 2\n"}));

TEST(HeadlessState, ABadSnapshotStopsWithStatusTwoAndItsFieldNamed) {
  const TempFolder folder;
  WriteFile(folder / "bad.json", "{\"format\": \"kvr9-snapshot\", \"version\": 7}");
  const Outcome loaded = RunText("on\npass 3\nload-state bad.json\nshow qnh\n", folder);
  EXPECT_EQ(loaded.status, kExitBadInput);
  EXPECT_EQ(loaded.out, "");
  EXPECT_EQ(loaded.err, "test.scn:3: load-state: " + (folder / "bad.json").string() +
                            ": version: 7 is newer than this program reads (1)\n");
  const Outcome from = RunCommand({"--from", (folder / "bad.json").string(), "-"}, "show qnh\n");
  EXPECT_EQ(from.status, kExitBadInput);
  EXPECT_EQ(from.out, "");
  EXPECT_EQ(from.err, "kvr9-headless: --from: " + (folder / "bad.json").string() +
                          ": version: 7 is newer than this program reads (1)\n");
  EXPECT_EQ(RunCommand({"--from"}).status, kExitBadInput);
  EXPECT_EQ(RunText("save-state " + (folder / "no/such/s.json").string() + "\n").status,
            kExitBadInput);
}

// ---------------------------------------------------------------------------
// The examples: each passes, gives the same output on a second run, and
// writes the same picture bytes. The gallery scenarios are only checked,
// since running them redraws the pictures in the source tree.

std::vector<fs::path> ScenariosIn(const fs::path& folder) {
  std::vector<fs::path> scenarios;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() == ".scn") scenarios.push_back(entry.path());
  }
  return scenarios;
}

TEST(HeadlessExamples, PassAndGiveIdenticalOutputOnEveryRun) {
  const std::vector<fs::path> examples = ScenariosIn(KVR9_EXAMPLES_DIR);
  ASSERT_GE(examples.size(), 6u);
  for (const fs::path& example : examples) {
    const Outcome first = RunCommand({example.string()});
    const Outcome second = RunCommand({example.string()});
    EXPECT_EQ(first.status, kExitPassed) << example << "\n" << first.err;
    EXPECT_EQ(first.out, second.out) << example;
    EXPECT_EQ(first.err, second.err) << example;
  }
}

TEST(HeadlessDeterminism, SameScenarioSameOutputAndPictureBytes) {
  const std::string scenario =
      "on\npass 80\nslider altitude 2000\nslider airspeed 1500\ntick 33\n"
      "pass 40\nshow all\nshow-lcd\nshow-led\nshow-comm\nsave-lcd a.png\n";
  const TempFolder temp;
  const fs::path first = temp / "first";
  const fs::path second = temp / "second";
  fs::create_directories(first);
  fs::create_directories(second);
  const Outcome a = RunText(scenario, first);
  const Outcome b = RunText(scenario, second);
  ASSERT_EQ(a.status, kExitPassed) << a.err;
  EXPECT_EQ(a.out, b.out);
  EXPECT_EQ(ReadFile(first / "a.png"), ReadFile(second / "a.png"));
}

TEST(HeadlessExamples, GalleryScenariosAreWellFormed) {
  for (const char* folder : {"gallery", "animations"}) {
    const fs::path gallery = fs::path(KVR9_EXAMPLES_DIR) / folder;
    for (const fs::path& scenario : ScenariosIn(gallery)) {
      const ParseOutcome parsed = ParseScenario(ReadFile(scenario), scenario.string(), gallery);
      EXPECT_TRUE(parsed.ok) << parsed.error;
    }
  }
}

}  // namespace
}  // namespace kvr9::headless
