#include "host/scenario/checks.h"

#include <regex>
#include <sstream>

#include "host/common/quote.h"
#include "host/scenario/fields.h"
#include "lcd/frame_art.h"

namespace kvr9 {

namespace {

// An expected "LOW..HIGH" (numbers only, checked while parsing).
bool WithinRange(const std::string& actual, const std::string& expected) {
  const std::size_t dots = expected.find("..");
  if (dots == std::string::npos) return false;
  const long long value = std::stoll(actual);
  return value >= std::stoll(expected.substr(0, dots)) &&
         value <= std::stoll(expected.substr(dots + 2));
}

const char* LedWord(bool lit) {
  return lit ? "lit" : "unlit";
}

std::string CheckField(const Scenario& scenario, const Step& step, const InstrumentState& state) {
  const std::string actual = FormatField(*step.field, state);
  const std::string& expected = scenario.values[step.detail];
  if (actual == expected || WithinRange(actual, expected)) return {};
  return "expect " + std::string(step.field->name) + ": expected " + expected + ", actual " +
         actual;
}

std::string CheckLcd(const Scenario& scenario, const Step& step, const FrameBuffer& shown) {
  const StepFile& frame = scenario.files[step.detail];
  if (shown.bytes == frame.expectedFrame.bytes) return {};
  const int dots = CountDifferentDots(frame.expectedFrame, shown);
  return "expect-lcd " + Clipped(frame.file, kLongestQuotedPath) +
         ": expected and actual frames differ in " + std::to_string(dots) +
         (dots == 1 ? " dot\n" : " dots\n") + SideBySide(frame.expectedFrame, shown);
}

bool LineMatches(const Scenario& scenario, const Step& step, const std::string& line) {
  const std::string& expected = scenario.values[step.detail];
  switch (step.match) {
    case TextMatch::Part:
      return line.find(expected) != std::string::npos;
    case TextMatch::Row:
      return line == expected;
    case TextMatch::PatternPart:
      return std::regex_search(line, scenario.patterns[step.number]);
    case TextMatch::PatternRow:
      return std::regex_match(line, scenario.patterns[step.number]);
    case TextMatch::AtDotRow:
    case TextMatch::Readable:
      return false;
  }
  return false;
}

std::string CheckReadable(const Step& step, const FrameBuffer& shown, const LcdText& text) {
  const UnreadInk unread = FindUnreadInk(shown, text, static_cast<int>(step.number), step.reading);
  if (unread.dots == 0) return {};
  return "expect-text readable " + std::to_string(step.number) + " " +
         std::to_string(step.reading) + ": " + std::to_string(unread.dots) +
         (unread.dots == 1 ? " dot is" : " dots are") + " not text the LCD reads, the first at x " +
         std::to_string(unread.firstX) + ", y " + std::to_string(unread.firstY);
}

std::string CheckTextAt(const Scenario& scenario, const Step& step, const LcdText& text) {
  const std::string& expected = scenario.values[step.detail];
  std::string found;
  for (const LcdTextRun& run : text.Runs()) {
    if (run.Text().find(expected) == std::string_view::npos) continue;
    if (run.y == static_cast<std::int16_t>(step.number)) return {};
    found = " (it stands at " + std::to_string(run.y) + ")";
  }
  return "expect-text at " + std::to_string(step.number) + " \"" +
         Clipped(expected, kLongestQuotedPath) +
         "\": " + (found.empty() ? "not on the LCD" : "not on that row of dots" + found);
}

std::string CheckText(const Scenario& scenario, const Step& step, const std::string& screenLines) {
  std::istringstream lines(screenLines);
  std::string line;
  while (std::getline(lines, line)) {
    if (LineMatches(scenario, step, line)) return {};
  }
  const std::string& expected = scenario.values[step.detail];
  const bool pattern = step.match == TextMatch::PatternPart || step.match == TextMatch::PatternRow;
  const bool row = step.match == TextMatch::Row || step.match == TextMatch::PatternRow;
  const std::string shown = pattern ? "/" + Clipped(expected, kLongestQuotedPath) + "/"
                                    : "\"" + Clipped(expected, kLongestQuotedPath) + "\"";
  return "expect-text " + std::string(row ? "line " : "") + shown + ": not on the LCD";
}

}  // namespace

std::string ShowStepText(const Scenario& /*scenario*/, const Step& step, PanelSession& session) {
  const InstrumentState& state = session.instrument().state;
  switch (step.kind) {
    case StepKind::ShowLcd:
      return FrameToArt(session.ShownFrame());
    case StepKind::ShowText:
      return session.ScreenLines();
    case StepKind::Show:
      return std::string(step.field->name) + '=' + FormatField(*step.field, state) + '\n';
    case StepKind::ShowAll: {
      std::string text;
      for (const FieldInfo& field : AllFields()) {
        text += std::string(field.name) + '=' + FormatField(field, state) + '\n';
      }
      return text;
    }
    case StepKind::ShowLed:
      return std::string("led=") + LedWord(session.LedLit()) + '\n';
    case StepKind::ShowComm:
      return "commLines=" + std::to_string(session.CommLineCount()) + '\n';
    default:
      return {};
  }
}

std::string CheckStep(const Scenario& scenario, const Step& step, PanelSession& session) {
  switch (step.kind) {
    case StepKind::Expect:
      return CheckField(scenario, step, session.instrument().state);
    case StepKind::ExpectLed:
      if (session.LedLit() == step.on) return {};
      return std::string("expect-led: expected ") + LedWord(step.on) + ", actual " +
             LedWord(session.LedLit());
    case StepKind::ExpectComm:
      if (session.CommLineCount() == step.number) return {};
      return "expect-comm: expected " + std::to_string(step.number) + ", actual " +
             std::to_string(session.CommLineCount());
    case StepKind::ExpectLcd:
      return CheckLcd(scenario, step, session.ShownFrame());
    case StepKind::ExpectText:
      if (step.match == TextMatch::Readable) {
        return CheckReadable(step, session.ShownFrame(), session.ScreenText());
      }
      if (step.match == TextMatch::AtDotRow) {
        return CheckTextAt(scenario, step, session.ScreenText());
      }
      return CheckText(scenario, step, session.ScreenLines());
    default:
      return {};
  }
}

}  // namespace kvr9
