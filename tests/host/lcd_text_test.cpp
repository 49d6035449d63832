// The LCD read back as text: every screen in its goldens, the places and
// styles of the runs the layout rules fix, and the decoder's own rules on
// frames drawn for them.
#include "host/lcd_text/lcd_text.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "lcd/big_numbers.h"
#include "lcd/frame_art.h"
#include "lcd/text.h"

namespace kvr9 {
namespace {

FrameBuffer Golden(const std::string& name) {
  std::ifstream file(std::string(KVR9_GOLDEN_DIR) + "/" + name + ".txt");
  std::stringstream art;
  art << file.rdbuf();
  FrameBuffer frame;
  std::string problem;
  EXPECT_TRUE(ArtToFrame(art.str(), frame, problem)) << name << ": " << problem;
  return frame;
}

// The frame as text art with the decoded lines to its right.
std::string FrameBesideText(const FrameBuffer& frame, const std::string& lines) {
  std::istringstream art(FrameToArt(frame));
  std::istringstream text(lines);
  std::string out = "frame" + std::string(kLcdWidth - 3, ' ') + "decoded\n";
  std::string artLine;
  std::string textLine;
  while (std::getline(art, artLine)) {
    out += artLine + "  " + (std::getline(text, textLine) ? textLine : "") + '\n';
  }
  return out;
}

struct ScreenCase {
  const char* golden;
  const char* lines;
};

class ScreenText : public testing::TestWithParam<ScreenCase> {};

// Every line of the screen, as the screen's layout writes it.
TEST_P(ScreenText, ReadsEveryLine) {
  const FrameBuffer frame = Golden(GetParam().golden);
  const std::string lines = ReadLcdText(frame).AsLines();
  EXPECT_EQ(lines, GetParam().lines) << FrameBesideText(frame, lines);
}

INSTANTIATE_TEST_SUITE_P(
    Goldens, ScreenText,
    testing::Values(
        // Big numerals beside normal and double-height text; units at their limits.
        ScreenCase{"main_display_default", "IAS 122 mph\n2666 ft\n1013mB\n"},
        ScreenCase{"main_display_altitude_on_top", "2666 ft\nIAS 122 mph\n1013mB\n"},
        ScreenCase{"main_display_inches_of_mercury", "IAS 122 mph\n2666 ft\n29.92\"Hg\n"},
        ScreenCase{"main_display_kmh", "IAS 196 km/h\n2666 ft\n1013mB\n"},
        // "knots" runs past the right edge by its blank spacing column.
        ScreenCase{"main_display_knots_tas", "TAS 110 knots\n2666 ft\n1013mB\n"},
        ScreenCase{"main_display_metres", "IAS 122 mph\n812 m\n1013mB\n"},
        ScreenCase{"main_display_negative_altitude", "IAS 122 mph\n-396 ft\n1013mB\n"},
        // The numerals blink out: the gap stays as wide as they were.
        ScreenCase{"main_display_alarm_phase_off", "IAS         mph\n2666 ft\n1013mB\n"},
        ScreenCase{"main_display_alarm_phase_on", "IAS 122 mph\n2666 ft\n1013mB\n"},
        ScreenCase{"walk_main_display_zeroed", "IAS      0 mph\n2666 ft\n1013mB\n"},
        // Icons and captions beside the scroll bar.
        ScreenCase{"main_menu_6_item0", "MAIN MENU\n[icon:dial]   EXIT\nMENU\n"},
        ScreenCase{"main_menu_6_item1", "MAIN MENU\n[icon:chart]  MAXIMUM\nVALUES\n"},
        ScreenCase{"main_menu_6_item2", "MAIN MENU\n[icon:log]  FLIGHT\nLOG\n"},
        ScreenCase{"main_menu_6_item3", "MAIN MENU\n[icon:display]  DISPLAY\nSETUP\n"},
        ScreenCase{"main_menu_6_item4", "MAIN MENU\n[icon:altimeter] ALTITUDE\nSETUP\n"},
        ScreenCase{"main_menu_6_item5", "MAIN MENU\n[icon:airspeed] AIRSPEED\nSETUP\n"},
        ScreenCase{"main_menu_8_item0", "MAIN MENU\n[icon:dial]   EXIT\nMENU\n"},
        ScreenCase{"main_menu_8_item6", "MAIN MENU\n[icon:adc]    ADC\nVALUES\n"},
        ScreenCase{"main_menu_8_item7", "MAIN MENU\n[icon:tools]\nCALIBRATE\n"},
        ScreenCase{"main_menu_stale_item7", "MAIN MENU\n[icon:tools]\nCALIBRATE\n"},
        // Setup lists: titles between their lines, inverse rows, scrolling.
        ScreenCase{"display_setup_navigation",
                   "DISPLAY SETUP\n*** DONE ***\nADJUST CONTRAST\nBACKLIGHT: ON\n"},
        ScreenCase{"display_setup_editing",
                   "DISPLAY SETUP\n*** DONE ***\nADJUST CONTRAST\nBACKLIGHT: ON\n"},
        ScreenCase{"contrast_0", "CONTRAST\nUSE { } OR ~\nTO ADJUST THE\nCONTRAST\n"},
        ScreenCase{"contrast_32", "CONTRAST\nUSE { } OR ~\nTO ADJUST THE\nCONTRAST\n"},
        ScreenCase{"contrast_62", "CONTRAST\nUSE { } OR ~\nTO ADJUST THE\nCONTRAST\n"},
        ScreenCase{"alt_setup_navigation",
                   "ALT SETUP\n*** DONE ***\nALT UNIT: ft\nQNH UNIT: mB\nPOSITION: BOTTOM\n"},
        ScreenCase{"alt_setup_editing_top",
                   "ALT SETUP\n*** DONE ***\nALT UNIT: ft\nQNH UNIT: \"Hg\nPOSITION: TOP\n"},
        ScreenCase{"asi_setup_cursor0",
                   "ASI SETUP\n*** DONE ***\nZERO ASI SENSOR\nASI DISP: IAS\nLOW ALARM: ON\n"
                   "LOW ALARM: 30\nHIGH ALARM: ON\nHIGH ALARM: 80\n"},
        ScreenCase{"asi_setup_cursor7",
                   "ASI SETUP\nZERO ASI SENSOR\nASI DISP: IAS\nLOW ALARM: ON\nLOW ALARM: 30\n"
                   "HIGH ALARM: ON\nHIGH ALARM: 80\nASI UNIT: mph\n"},
        ScreenCase{"asi_setup_cursor10",
                   "ASI SETUP\nLOW ALARM: 30\nHIGH ALARM: ON\nHIGH ALARM: 80\nASI UNIT: mph\n"
                   "ASI FILTER: FAST\nDIST ZERO: MAN\nPOSITION: TOP\n"},
        ScreenCase{"asi_setup_editing_speed",
                   "ASI SETUP\n*** DONE ***\nZERO ASI SENSOR\nASI DISP: IAS\nLOW ALARM: ON\n"
                   "LOW ALARM: 45\nHIGH ALARM: ON\nHIGH ALARM: 80\n"},
        ScreenCase{"zero_asi", "ARE YOU SURE\nYOU WANT TO\nZERO THE AIR\nSPEED SENSOR?\nZERO\n"},
        ScreenCase{"calibrate_navigation", "CALIBRATE\n*** DONE ***\nALT: +0 0\nASI: 100% 0\n"},
        ScreenCase{"calibrate_editing", "CALIBRATE\n*** DONE ***\nALT: -7 52\nASI: 100% 0\n"},
        ScreenCase{"adc_values", "ADC VALUES\n*** DONE ***\nALTITUDE: 2048\nAIRSPEED: 1234\n"},
        // Flight screens: double height on the bottom line, "???.?".
        ScreenCase{"flight_info_mph_min",
                   "*** DONE ***\nRESET AIR DIST\nFLIGHT TIME:\n09:05\nAIR DISTANCE:\n123.4\n"},
        ScreenCase{"flight_info_kmh_dec_row1",
                   "*** DONE ***\nRESET AIR DIST\nFLIGHT TIME:\n09.05\nAIR DISTANCE:\n198.6\n"},
        ScreenCase{"flight_info_knots",
                   "*** DONE ***\nRESET AIR DIST\nFLIGHT TIME:\n09:05\nAIR DISTANCE:\n107.2\n"},
        ScreenCase{"flight_info_distance_unknown",
                   "*** DONE ***\nRESET AIR DIST\nFLIGHT TIME:\n09:05\nAIR DISTANCE:\n???.?\n"},
        ScreenCase{"max_values_negative_altitude",
                   "MAX VALUES\n*** DONE ***\nRESET VALUES\nALT: -120 ft\nASI: 87 mph\n"},
        ScreenCase{"start_stop_start", "[icon:question]   START\nFLIGHT\nSTART\n"},
        ScreenCase{"start_stop_stop", "[icon:question]    STOP\nFLIGHT\nSTOP\n"},
        // Flight log, its pages and its messages.
        ScreenCase{"flight_log_manual",
                   "FLIGHT LOG\n*** DONE ***\nVIEW LOG\nERASE LOG\nHOUR FRACT: MIN\n"
                   "FLIGHT: MANUAL\n"},
        ScreenCase{"flight_log_view_selected",
                   "FLIGHT LOG\n*** DONE ***\nVIEW LOG\nERASE LOG\nHOUR FRACT: MIN\n"
                   "FLIGHT: MANUAL\n"},
        ScreenCase{"flight_log_detect_30_navigating",
                   "FLIGHT LOG\n*** DONE ***\nVIEW LOG\nERASE LOG\nHOUR FRACT: MIN\n"
                   "FLIGHT: DETECT\nFLIGHT T/O: 30\n"},
        ScreenCase{"flight_log_detect_30_editing",
                   "FLIGHT LOG\n*** DONE ***\nVIEW LOG\nERASE LOG\nHOUR FRACT: MIN\n"
                   "FLIGHT: DETECT\nFLIGHT T/O: 30\n"},
        ScreenCase{"flight_log_detect_100_navigating",
                   "FLIGHT LOG\n*** DONE ***\nVIEW LOG\nERASE LOG\nHOUR FRACT: MIN\n"
                   "FLIGHT: DETECT\nFLIGHT T/O:100\n"},
        ScreenCase{"flight_log_detect_100_editing",
                   "FLIGHT LOG\n*** DONE ***\nVIEW LOG\nERASE LOG\nHOUR FRACT: MIN\n"
                   "FLIGHT: DETECT\nFLIGHT T/O:100\n"},
        ScreenCase{"log_view_page0_min",
                   "FLIGHT LOG\n*** DONE ***\n1: 00:01\n2: 01:03\n3: 02:05\n4: 03:07\n"
                   "5: 04:09\n6: 05:11\n"},
        ScreenCase{"log_view_page0_dec",
                   "FLIGHT LOG\n*** DONE ***\n1: 00.01\n2: 01.03\n3: 02.05\n4: 03.07\n"
                   "5: 04.09\n6: 05.11\n"},
        ScreenCase{"log_view_page1_min",
                   "FLIGHT LOG\n7: 06:13\n8: 07:15\n9: 08:17\n10: 09:19\n11: -----\n"
                   "12: 11:23\n13: 12:25\n"},
        ScreenCase{"log_view_page1_dec",
                   "FLIGHT LOG\n7: 06.13\n8: 07.15\n9: 08.17\n10: 09.19\n11: -----\n"
                   "12: 11.23\n13: 12.25\n"},
        ScreenCase{"log_view_page2_min",
                   "FLIGHT LOG\n14: 13:27\n15: 14:29\n16: 15:31\n17: 16:33\n18: 17:35\n"
                   "19: 18:37\n20: 19:39\n"},
        ScreenCase{"log_view_page2_dec",
                   "FLIGHT LOG\n14: 13.27\n15: 14.29\n16: 15.31\n17: 16.33\n18: 17.35\n"
                   "19: 18.37\n20: 19.39\n"},
        ScreenCase{"log_view_page3_min",
                   "FLIGHT LOG\n21: 20:41\n22: 21:43\n23: 99:45\n24: -----\n"},
        ScreenCase{"log_view_page3_dec",
                   "FLIGHT LOG\n21: 20.41\n22: 21.43\n23: 99.45\n24: -----\n"},
        ScreenCase{"log_busy",
                   "FLIGHT\n[icon:exclamation]  LOG CANT\nBE VIEWED\nWHILE IN\nFLIGHT\n"},
        ScreenCase{"erase_log_confirm", "[icon:question]   ERASE\nFLIGHT\nLOG\nERASE\n"},
        ScreenCase{"message_done", "MESSAGE\n[icon:exclamation]\nDONE\n"},
        // The splash: the small font, and text sliding in from both edges,
        // read only as far as whole characters show.
        ScreenCase{"splash_pass1", "2.00\nwww.orn-avionics.test\n"},
        ScreenCase{"splash_pass14", "ORN\n2.00\nwww.orn-avionics.test\n"},
        ScreenCase{"splash_pass30", "ORN AVI\nVR-9        2.00\nwww.orn-avionics.test\n"},
        ScreenCase{"splash_pass55", "ORN AVIONICS\nKVR-9 2.00\nwww.orn-avionics.test\n"},
        ScreenCase{"splash_pass80", "ORN AVIONICS\nKVR-9 2.00\nwww.orn-avionics.test\n"}),
    [](const testing::TestParamInfo<ScreenCase>& row) { return std::string(row.param.golden); });

struct RunCase {
  const char* golden;
  LcdTextRun run;  // x, y, width, height, font, double height, inverse; text below
  const char* text;
};

LcdTextRun Run(int x, int y, int width, int height, LcdFont font, bool doubleHeight, bool inverse) {
  LcdTextRun run;
  run.x = static_cast<std::int16_t>(x);
  run.y = static_cast<std::int16_t>(y);
  run.width = static_cast<std::int16_t>(width);
  run.height = static_cast<std::int16_t>(height);
  run.font = font;
  run.doubleHeight = doubleHeight;
  run.inverse = inverse;
  return run;
}

class RunPlace : public testing::TestWithParam<RunCase> {};

// The run with this text stands where the layout puts it, in its style.
TEST_P(RunPlace, IsWhereTheLayoutPutsIt) {
  const RunCase& c = GetParam();
  const FrameBuffer frame = Golden(c.golden);
  const LcdText text = ReadLcdText(frame);
  const LcdTextRun* found = nullptr;
  for (const LcdTextRun& run : text.Runs()) {
    if (run.Text() == c.text) found = &run;
  }
  ASSERT_NE(found, nullptr) << c.text << "\n" << FrameBesideText(frame, text.AsLines());
  EXPECT_EQ(found->x, c.run.x);
  EXPECT_EQ(found->y, c.run.y);
  EXPECT_EQ(found->width, c.run.width);
  EXPECT_EQ(found->height, c.run.height);
  EXPECT_EQ(found->font, c.run.font);
  EXPECT_EQ(found->doubleHeight, c.run.doubleHeight);
  EXPECT_EQ(found->inverse, c.run.inverse);
}

constexpr LcdFont kBold = LcdFont::Bold8x8;

INSTANTIATE_TEST_SUITE_P(
    Goldens, RunPlace,
    testing::Values(
        // Airspeed "%3u" at x 34, altitude "%5ld" at x 6: leading blanks leave no cells.
        RunCase{"main_display_default", Run(34, 3, 54, 24, LcdFont::BigDigits, false, false),
                "122"},
        RunCase{"main_display_default", Run(24, 30, 72, 24, LcdFont::BigDigits, false, false),
                "2666"},
        RunCase{"main_display_negative_altitude",
                Run(24, 30, 72, 24, LcdFont::BigDigits, false, false), "-396"},
        RunCase{"main_display_default", Run(0, 3, 24, 8, kBold, false, false), "IAS"},
        RunCase{"main_display_default", Run(97, 3, 24, 16, kBold, true, false), "mph"},
        RunCase{"main_display_default", Run(101, 39, 16, 16, kBold, true, false), "ft"},
        RunCase{"main_display_default", Run(40, 57, 48, 8, kBold, false, false), "1013mB"},
        // The selected row is one inverse run, its blank cells included.
        RunCase{"asi_setup_cursor7", Run(0, 56, 104, 8, kBold, false, true), "ASI UNIT: mph"},
        RunCase{"display_setup_editing", Run(88, 24, 16, 8, kBold, false, true), "ON"},
        RunCase{"display_setup_editing", Run(0, 24, 80, 8, kBold, false, false), "BACKLIGHT:"},
        RunCase{"erase_log_confirm", Run(0, 56, 56, 8, kBold, false, true), " ERASE "},
        RunCase{"flight_info_distance_unknown", Run(44, 50, 40, 16, kBold, true, false), "???.?"},
        // Icons at the places they are copied to.
        RunCase{"erase_log_confirm", Run(8, 8, 32, 32, LcdFont::Icon, false, false), "question"},
        RunCase{"message_done", Run(8, 16, 32, 32, LcdFont::Icon, false, false), "exclamation"},
        RunCase{"main_menu_8_item7", Run(10, 16, 32, 32, LcdFont::Icon, false, false), "tools"},
        // The small font's cell starts at its spacing row, one above the text.
        RunCase{"splash_pass80", Run(95, 39, 24, 8, LcdFont::Small, false, false), "2.00"},
        RunCase{"splash_pass80", Run(19, 5, 96, 16, kBold, true, false), "ORN AVIONICS"}),
    [](const testing::TestParamInfo<RunCase>& row) {
      return std::string(row.param.golden) + "_" + std::to_string(row.index);
    });

enum Style { Bold, BoldInverse, BoldDouble, Small, SmallInverse, Big };

void Draw(FrameBuffer& frame, Style style, int x, int y, const char* text) {
  const auto ux = static_cast<std::uint8_t>(x);
  const auto uy = static_cast<std::uint8_t>(y);
  switch (style) {
    case Bold:
    case BoldInverse:
    case BoldDouble:
      DrawText8(frame, ux, uy, text, style == BoldDouble ? 1 : 0, PixelSet,
                style == BoldInverse ? 1 : 0);
      break;
    case Small:
    case SmallInverse:
      DrawTextSmall(frame, ux, uy, text, style == SmallInverse ? 0 : 100);
      break;
    case Big:
      DrawBigNumber(frame, ux, uy, text);
      break;
  }
}

struct DrawnCase {
  const char* name;
  Style style;
  int x;
  int y;
  const char* text;
  const char* lines;
  // A second text drawn after the first, where a rule is about two.
  Style style2 = Bold;
  int x2 = 0;
  int y2 = 0;
  const char* text2 = nullptr;
};

class DrawnText : public testing::TestWithParam<DrawnCase> {};

TEST_P(DrawnText, ReadsAsExpected) {
  const DrawnCase& c = GetParam();
  FrameBuffer frame;
  Draw(frame, c.style, c.x, c.y, c.text);
  if (c.text2 != nullptr) Draw(frame, c.style2, c.x2, c.y2, c.text2);
  const std::string lines = ReadLcdText(frame).AsLines();
  EXPECT_EQ(lines, c.lines) << FrameBesideText(frame, lines);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, DrawnText,
    testing::Values(
        // Blank cells make no characters: nothing but an inverse blank
        // reads as nothing, two blank cells as two blanks.
        DrawnCase{"InverseBlankAlone", BoldInverse, 40, 8, "  ", ""},
        DrawnCase{"TwoBlankCells", Bold, 0, 8, "A  B", "A  B\n"},
        DrawnCase{"WideGap", Bold, 0, 8, "A      B", "A      B\n"},
        // An inverse row is one bar: its blank cells are its spaces,
        // however many, in either font.
        DrawnCase{"BoldInverseBlanks", BoldInverse, 0, 8, "AB   C D", "AB   C D\n"},
        DrawnCase{"SmallInverseBlanks", SmallInverse, 0, 9, "AB   C D", "AB   C D\n"},
        // A small row under a bold one is a line of its own, even where its
        // cell starts in the bold cell's blank rows: the lines are told
        // apart by the rows their characters stand in.
        DrawnCase{"SmallInABoldCellsBlankRows", Bold, 0, 0, "**", "**\nce\n", Small, 0, 7, "ce"},
        DrawnCase{"SmallUnderBoldDouble", BoldDouble, 0, 0, "AB", "AB\nce\n", Small, 0, 15, "ce"},
        // Same dots, different places: an isolated comma is an apostrophe
        // five rows lower, and reads as the apostrophe; small omegas 125
        // and 127 are the same glyph and read as 125.
        DrawnCase{"CommaAlone", Bold, 8, 8, ",", "'\n"},
        DrawnCase{"CommaInAWord", Bold, 8, 8, "A,B", "A,B\n"},
        DrawnCase{"SmallOmegas", Small, 8, 9, "\x7d\x7f", "}}\n"},
        DrawnCase{"SmallAtTheTop", Small, 0, 0, "Ag", "Ag\n"},
        // Every big numeral (4 and 5 reach a column further right).
        DrawnCase{"BigDigitsLow", Big, 6, 3, "01234", "01234\n"},
        DrawnCase{"BigDigitsHigh", Big, 6, 30, "56789", "56789\n"},
        DrawnCase{"BigSigns", Big, 0, 20, "-7+", "-7+\n"}),
    [](const testing::TestParamInfo<DrawnCase>& row) { return std::string(row.param.name); });

// Lines and bars are not text: a frame's edge runs on past any glyph.
TEST(LcdTextGraphics, ShapesThatRunOnReadAsNothing) {
  FrameBuffer frame;
  DrawLine(frame, 0, 4, 22, 4, PixelSet);     // a title's line: its end is a small minus
  DrawLine(frame, 122, 4, 127, 4, PixelSet);  // a bold minus whose end is the display's edge
  DrawRect(frame, 1, 15, 126, 25, PixelSet);
  FillRect(frame, 1, 15, 65, 25, PixelSet);  // its bottom edge is inverse underscores
  DrawLine(frame, 0, 40, 60, 63, PixelSet);  // steps of a shallow line are minus signs
  const std::string lines = ReadLcdText(frame).AsLines();
  EXPECT_EQ(lines, "") << FrameBesideText(frame, lines);
}

// A line in the row below a text's spacing row is four underscores of its
// own; the two readings share only blank dots, so both stand.
TEST(LcdTextGraphics, TextAboveAnUnderlineKeepsBoth) {
  FrameBuffer frame;
  DrawText8(frame, 8, 0, "AB", 0, PixelSet, 0);
  DrawLine(frame, 8, 14, 39, 14, PixelSet);
  const std::string lines = ReadLcdText(frame).AsLines();
  EXPECT_EQ(lines, "AB\n____\n") << FrameBesideText(frame, lines);
}

// Text of every style at any place on a blank frame reads back as drawn:
// the property the screens rely on, over many more texts than they draw.
TEST(LcdTextRandom, AnyTextReadsBackWhole) {
  const std::string alphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789*:.-/?%+{}~\"abcdefghijklmnopqrstuvwxyz!#$&()<=>@[]^|";
  std::mt19937 random(7);
  for (int i = 0; i < 600; ++i) {
    const auto style = static_cast<Style>(random() % 5);
    const int width = style >= Small ? 6 : 8;
    const int height = style == BoldDouble ? 16 : 8;
    const int length = 1 + static_cast<int>(random() % 8);
    std::string text;
    for (int k = 0; k < length; ++k) text += alphabet[random() % alphabet.size()];
    const int x =
        static_cast<int>(random() % static_cast<unsigned>(kLcdWidth - width * length + 1));
    const int y = static_cast<int>(random() % static_cast<unsigned>(kLcdHeight - height + 1));
    FrameBuffer frame;
    Draw(frame, style, x, style >= Small ? y + 1 : y, text.c_str());
    const std::string lines = ReadLcdText(frame).AsLines();
    ASSERT_EQ(lines, text + "\n") << "style " << style << " at " << x << "," << y << "\n"
                                  << FrameBesideText(frame, lines);
  }
}

TEST(LcdTextLines, ContainsLooksWithinLines) {
  const LcdText text = ReadLcdText(Golden("main_display_default"));
  EXPECT_TRUE(text.Contains("2666 ft"));
  EXPECT_FALSE(text.Contains("ft\n1013"));
}

}  // namespace
}  // namespace kvr9
