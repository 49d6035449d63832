// kvr9-headless, run in-process: malformed scenarios stop before anything
// runs, failed expectations stop the run where they fail, the power cycle
// acts as the window's buttons do, and the same scenario always gives the
// same output.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "lcd/frame_art.h"
#include "panel/lcd_image.h"
#include "tools/headless/command_line.h"
#include "tools/headless/lcd_png.h"
#include "tools/headless/runner.h"

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
  const int status = RunScenarioText(text, "test.scn", baseDir, out, err);
  return {status, out.str(), err.str()};
}

Outcome RunCommand(const std::vector<std::string>& arguments, const std::string& input = "") {
  std::istringstream in(input);
  std::ostringstream out;
  std::ostringstream err;
  const int status = RunHeadlessCommand(arguments, in, out, err);
  return {status, out.str(), err.str()};
}

fs::path TempFolder() {
  const fs::path folder = fs::path(::testing::TempDir()) / "kvr9_headless_test";
  fs::create_directories(folder);
  return folder;
}

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
        MalformedCase{"UnknownStep", "pas 3", "unknown step 'pas'"},
        MalformedCase{"CountNotANumber", "pass three", "the count must be a whole number"},
        MalformedCase{"CountZero", "tick 0", "the count 0 is out of range"},
        MalformedCase{"CountHuge", "pass 99999999999999999999", "is out of range"},
        MalformedCase{"SliderAboveRange", "slider airspeed 4097",
                      "slider position 4097 is out of range 0..4096"},
        MalformedCase{"SliderNegative", "slider altitude -1", "must be a whole number 0..4096"},
        MalformedCase{"SliderHex", "slider altitude 0x10", "must be a whole number"},
        MalformedCase{"SliderMissingValue", "slider altitude", "'slider' needs"},
        MalformedCase{"UnknownSlider", "slider pitot 10", "unknown slider 'pitot'"},
        MalformedCase{"UnknownKey", "key f3", "unknown key 'f3'"},
        MalformedCase{"BoxNotOnOff", "box calibrate yes", "'yes' must be on or off"},
        MalformedCase{"ExtraWord", "on now", "unexpected 'now'"},
        MalformedCase{"UnknownField", "show qnhh", "unknown field 'qnhh'"},
        MalformedCase{"ExpectUnknownField", "expect speed 3", "unknown field 'speed'"},
        MalformedCase{"ExpectWithoutValue", "expect cursor", "needs a value"},
        MalformedCase{"ExpectBeyondFieldType", "expect cursor 256", "never 256"},
        MalformedCase{"ExpectNotANumber", "expect qnh high", "is not a whole number"},
        MalformedCase{"ExpectUnknownScreen", "expect currentScreen Main",
                      "'Main' is not a screen name"},
        MalformedCase{"ExpectShortLog", "expect flightLog 0 0", "has 48 bytes, not 2"},
        MalformedCase{"LedWord", "expect-led on", "must be lit or unlit"},
        MalformedCase{"ScaleZero", "save-lcd out.png 0", "the scale 0 is out of range"},
        MalformedCase{"TwoScales", "save-lcd out.png 2 3", "unexpected '3' after 'save-lcd'"},
        MalformedCase{"MissingFrameFile", "expect-lcd no-such-frame.txt",
                      "cannot read frame file"}),
    [](const ::testing::TestParamInfo<MalformedCase>& param) { return param.param.name; });

TEST(HeadlessFrameFile, ThatIsNotTextArtIsMalformed) {
  const fs::path folder = TempFolder();
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
  const fs::path folder = TempFolder();
  WriteFile(folder / "blank.txt", BlankArt());
  const Outcome outcome = RunText("on\npass 80\n" + std::string(c.check) + "\nshow-comm\n", folder);
  EXPECT_EQ(outcome.status, kExitExpectationFailed);
  EXPECT_EQ(outcome.out, "");
  EXPECT_EQ(outcome.err.rfind("test.scn:3: ", 0), 0u) << outcome.err;
  EXPECT_NE(outcome.err.find(c.message), std::string::npos) << outcome.err;
}

INSTANTIATE_TEST_SUITE_P(
    Checks, HeadlessFailedExpectation,
    ::testing::Values(
        FailureCase{"Number", "expect qnh 1014250", "expect qnh: expected 1014250, actual 1013250"},
        FailureCase{"Screen", "expect currentScreen MainMenuScreen",
                    "expected MainMenuScreen, actual MainScreen"},
        FailureCase{"Led", "expect-led lit", "expect-led: expected lit, actual unlit"},
        FailureCase{"CommLines", "expect-comm 5", "expect-comm: expected 5, actual 1"},
        FailureCase{"Frame", "expect-lcd blank.txt", "expect-lcd blank.txt: expected and actual"}),
    [](const ::testing::TestParamInfo<FailureCase>& param) { return param.param.name; });

TEST(HeadlessFailedExpectation, OfAFrameShowsBothPicturesWithTheDifferencesMarked) {
  const fs::path folder = TempFolder();
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

TEST(HeadlessFailedExpectation, WhileRunningStillSwitchesTheInstrumentOff) {
  const ParseOutcome parsed = ParseScenario("on\npass 10\nexpect qnh 1\npass\n", "t", ".");
  ASSERT_TRUE(parsed.ok);
  std::ostringstream out;
  std::ostringstream err;
  ScenarioRunner runner(parsed.scenario, out, err);
  EXPECT_EQ(runner.Run(), kExitExpectationFailed);
  EXPECT_FALSE(IsRunning(runner.instrument()));
}

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

TEST(HeadlessPowerCycle, EndOfScenarioWhileRunningSwitchesOff) {
  for (const char* text : {"on\n", "on\npass 80\n", "on\npass 80\noff\non\npass 3\n"}) {
    const ParseOutcome parsed = ParseScenario(text, "t", ".");
    ASSERT_TRUE(parsed.ok);
    std::ostringstream out;
    std::ostringstream err;
    ScenarioRunner runner(parsed.scenario, out, err);
    EXPECT_EQ(runner.Run(), kExitPassed) << text;
    EXPECT_FALSE(IsRunning(runner.instrument())) << text;
  }
}

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
  const fs::path folder = TempFolder();
  const Outcome shown = RunText("on\npass 80\nshow-lcd\n");
  ASSERT_EQ(shown.status, kExitPassed);
  WriteFile(folder / "main.txt", shown.out);
  EXPECT_EQ(RunText("on\npass 80\nexpect-lcd main.txt\n", folder).status, kExitPassed);
}

struct PngCase {
  const char* scale;  // with the look, as written after the file name
  int dotSize;
  QRgb blankDot;
};

void PrintTo(const PngCase& c, std::ostream* os) {
  *os << "save-lcd FILE.png " << c.scale;
}

class HeadlessSaveLcd : public ::testing::TestWithParam<PngCase> {};

TEST_P(HeadlessSaveLcd, PaintsEveryDotAsASquare) {
  const fs::path folder = TempFolder();
  const Outcome outcome = RunText(
      "on\npass 80\nsave-lcd main.png " + std::string(GetParam().scale) + "\nshow-lcd\n", folder);
  ASSERT_EQ(outcome.status, kExitPassed) << outcome.err;
  QImage image;
  ASSERT_TRUE(image.load(QString::fromStdString((folder / "main.png").string())));
  const int size = GetParam().dotSize;
  ASSERT_EQ(image.width(), 128 * size);
  ASSERT_EQ(image.height(), 64 * size);
  FrameBuffer expected;
  std::string problem;
  ASSERT_TRUE(ArtToFrame(outcome.out, expected, problem)) << problem;
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 128; ++x) {
      const bool dark =
          GetPixel(expected, static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)) != 0;
      const QRgb colour = dark ? 0xFF000000u : GetParam().blankDot;
      for (int d = 0; d < size; ++d) {
        ASSERT_EQ(image.pixel(x * size + d, y * size + d), colour) << x << "," << y;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Scales, HeadlessSaveLcd,
                         ::testing::Values(PngCase{"", 2, kLcdDefaultBlankDot},
                                           PngCase{"1", 1, kLcdDefaultBlankDot},
                                           PngCase{"5", 5, kLcdDefaultBlankDot},
                                           PngCase{"green", 2, kLcdGreenBlankDot},
                                           PngCase{"3 green", 3, kLcdGreenBlankDot}));

TEST(HeadlessSaveLcdFailure, IntoAMissingFolderStopsWithStatusTwo) {
  const Outcome outcome = RunText("on\nsave-lcd no/such/folder/x.png\nshow-comm\n");
  EXPECT_EQ(outcome.status, kExitBadInput);
  EXPECT_EQ(outcome.out, "");
  EXPECT_NE(outcome.err.find("test.scn:2: save-lcd: cannot write"), std::string::npos);
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

TEST(HeadlessCommandLine, AFolderIsNotAScenario) {
  const Outcome outcome = RunCommand({TempFolder().string()});
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

TEST(HeadlessCommandLine, FramesAreFoundBesideTheScenario) {
  const fs::path folder = TempFolder() / "nested";
  fs::create_directories(folder);
  WriteFile(folder / "blank.txt", BlankArt());
  WriteFile(folder / "check.scn", "expect-lcd blank.txt\n");
  EXPECT_EQ(RunCommand({(folder / "check.scn").string()}).status, kExitPassed);
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
  const fs::path first = TempFolder() / "first";
  const fs::path second = TempFolder() / "second";
  fs::create_directories(first);
  fs::create_directories(second);
  const Outcome a = RunText(scenario, first);
  const Outcome b = RunText(scenario, second);
  ASSERT_EQ(a.status, kExitPassed) << a.err;
  EXPECT_EQ(a.out, b.out);
  EXPECT_EQ(ReadFile(first / "a.png"), ReadFile(second / "a.png"));
}

TEST(HeadlessExamples, GalleryScenariosAreWellFormed) {
  const fs::path gallery = fs::path(KVR9_EXAMPLES_DIR) / "gallery";
  for (const fs::path& scenario : ScenariosIn(gallery)) {
    const ParseOutcome parsed = ParseScenario(ReadFile(scenario), scenario.string(), gallery);
    EXPECT_TRUE(parsed.ok) << parsed.error;
  }
}

}  // namespace
}  // namespace kvr9::headless
