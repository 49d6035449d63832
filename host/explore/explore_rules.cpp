#include "host/explore/explore_rules.h"

#include <cstring>
#include <optional>

#include "core/limits.h"
#include "host/lcd_text/lcd_text.h"
#include "host/panel/key_table.h"
#include "host/state/state_fields.h"
#include "screens/screen_rows.h"
#include "screens/screen_table.h"
#include "screens/screens.h"

namespace kvr9 {
namespace {

const char* ScreenName(ScreenHandler screen) {
  const ScreenEntry* entry = FindScreen(screen);
  return entry != nullptr ? entry->name : "an unknown screen";
}

bool IsListScreen(ScreenHandler screen) {
  return screen == DisplaySetupScreen || screen == AltSetupScreen || screen == AsiSetupScreen ||
         screen == CalibrateScreen || screen == FlightLogScreen;
}

// Screens whose 8x8 rows stand under a title bar on the 8-dot lines (the
// flight info and max values pages set theirs between the lines).
bool HasTextLines(ScreenHandler screen) {
  return IsListScreen(screen) || screen == AdcValuesScreen || screen == MessageScreen ||
         screen == LogViewScreen || screen == ContrastScreen;
}

// The first dot row under a title bar.
constexpr int kTextTop = 8;

bool MovesDown(KeyEvent key) {
  return key == KeyClockwise || key == KeyF2;
}
bool MovesUp(KeyEvent key) {
  return key == KeyAntiClockwise || key == KeyF1;
}

// What a key must bring, as far as the rules fix it; unset parts are free.
struct Expected {
  ScreenHandler screen = nullptr;
  ScreenHandler returnTo = nullptr;  // a message page: where it goes back to
  int cursor = -1;
  int editing = -1;
  const char* field = nullptr;  // a state field and the value it must hold
  std::int64_t value = 0;
};

ScreenHandler MenuItemScreen(std::uint8_t item) {
  for (const ScreenEntry& entry : ScreenTable()) {
    if (MainMenuItemOf(entry.handler) == item) return entry.handler;
  }
  return MainScreen;
}

Expected CursorMove(const InstrumentState& s, KeyEvent key, std::uint8_t last) {
  Expected e;
  e.screen = s.ui.currentScreen;
  const int cursor = s.ui.cursor;
  if (MovesDown(key)) e.cursor = cursor < last ? cursor + 1 : cursor;
  if (MovesUp(key)) e.cursor = cursor > 0 ? cursor - 1 : cursor;
  return e;
}

std::optional<Expected> MainDisplayKey(const InstrumentState& s, KeyEvent key) {
  Expected e;
  if (s.airData.alarmActive != 0 && s.airData.alarmAcknowledged == 0) {
    e.screen = MainScreen;
    e.field = "alarmAcknowledged";
    e.value = 1;
    return e;
  }
  const std::int64_t step = s.settings.qnhUnit == 1 ? kQnhStepInchHg : kQnhStepMillibar;
  const std::int64_t qnh = s.settings.qnh;
  switch (key) {
    case KeyPress:
      e.screen = MainMenuScreen;
      e.cursor = 0;
      e.editing = 0;
      return e;
    case KeyClockwise:
    case KeyAntiClockwise: {
      e.screen = MainScreen;
      e.field = "qnh";
      const std::int64_t moved = key == KeyClockwise ? qnh + step : qnh - step;
      const bool within = key == KeyClockwise ? moved <= kQnhHighest : moved >= kQnhLowest;
      e.value = within ? moved : qnh;
      return e;
    }
    case KeyF1:
      e.screen = s.settings.flightDetectAuto == 0 ? StartStopScreen : MainScreen;
      return e;
    case KeyF2:
      e.screen = FlightInfoScreen;
      e.cursor = 0;
      return e;
    default:
      return std::nullopt;
  }
}

// How a numeric row of a list steps at the ends of its range: the alarm
// speeds land on each bound and wrap past it; the take-off speed wraps one
// step before a bound; the calibration trims move by one and stop.
enum class Stepping : std::uint8_t { WrapPastBound, WrapBeforeBound, StopAtBound };

struct NumericRow {
  ScreenHandler screen;
  std::uint8_t row;
  const char* field;
  Stepping stepping;
};

const NumericRow kNumericRows[] = {
    {AsiSetupScreen, 4, "lowAlarmSpeed", Stepping::WrapPastBound},
    {AsiSetupScreen, 6, "highAlarmSpeed", Stepping::WrapPastBound},
    {FlightLogScreen, kFlightLogLastRowDetect, "takeoffSpeed", Stepping::WrapBeforeBound},
    {CalibrateScreen, 1, "altCalOffset", Stepping::StopAtBound},
    {CalibrateScreen, 2, "asiCalPercent", Stepping::StopAtBound},
};

bool IncreasesValue(KeyEvent key) {
  return key == KeyClockwise || key == KeyF1;
}

// The value an edit key leaves on a numeric row; field stays null on the
// other rows.
void SteppedValue(const InstrumentState& s, KeyEvent key, bool keyFast, const char*& field,
                  std::int64_t& value) {
  for (const NumericRow& row : kNumericRows) {
    if (row.screen != s.ui.currentScreen || row.row != s.ui.cursor) continue;
    std::int64_t lowest = 0;
    std::int64_t highest = 0;
    SettingRange(row.field, s, lowest, highest);
    const std::int64_t now = FindStateField(row.field)->get(s);
    const std::int64_t step = row.stepping == Stepping::StopAtBound ? 1
                              : keyFast                             ? kKeyStepFast
                                                                    : kKeyStepSlow;
    const bool up = IncreasesValue(key);
    const std::int64_t moved = up ? now + step : now - step;
    field = row.field;
    switch (row.stepping) {
      case Stepping::WrapPastBound:
        value = up ? (moved > highest ? lowest : moved) : (moved < lowest ? highest : moved);
        break;
      case Stepping::WrapBeforeBound:
        value = up ? (moved >= highest ? lowest : moved) : (moved <= lowest ? highest : moved);
        break;
      case Stepping::StopAtBound:
        value = moved > highest || moved < lowest ? now : moved;
        break;
    }
    return;
  }
}

std::optional<Expected> ListKey(const InstrumentState& s, KeyEvent key, bool keyFast) {
  const ScreenHandler screen = s.ui.currentScreen;
  if (s.ui.editing != 0) {
    if (key == KeyPress) return std::nullopt;
    Expected e;
    e.screen = screen;
    e.cursor = s.ui.cursor;
    e.editing = 1;
    SteppedValue(s, key, keyFast, e.field, e.value);
    return e;
  }
  if (key == KeyPress) {
    if (s.ui.cursor != 0) return std::nullopt;  // the rows' own actions
    Expected e;
    e.screen = MainMenuScreen;
    e.cursor = ReturnMenuItem(screen);
    e.editing = 0;
    return e;
  }
  return CursorMove(s, key, LastCursor(screen, s));
}

std::optional<Expected> ExpectedAfterKey(const InstrumentState& s, KeyEvent key,
                                         bool keyFast = false) {
  const ScreenHandler screen = s.ui.currentScreen;
  Expected e;
  if (screen == MainScreen) return MainDisplayKey(s, key);
  if (IsListScreen(screen)) return ListKey(s, key, keyFast);
  if (screen == MainMenuScreen) {
    if (key != KeyPress) return CursorMove(s, key, LastCursor(screen, s));
    e.screen = MenuItemScreen(s.ui.cursor);
    e.cursor = 0;
    e.editing = 0;
    return e;
  }
  if (screen == LogViewScreen) {
    if (key != KeyPress) return CursorMove(s, key, LastCursor(screen, s));
    e.screen = s.ui.cursor == 0 ? FlightLogScreen : LogViewScreen;
    if (s.ui.cursor == 0) e.cursor = 1;
    return e;
  }
  if (screen == FlightInfoScreen || screen == MaxValuesScreen) {
    if (key != KeyPress) {
      e.screen = screen;
      e.cursor = MovesDown(key) ? 1 : 0;
      return e;
    }
    if (s.ui.cursor != 0) return std::nullopt;
    e.screen = screen == FlightInfoScreen ? MainScreen : MainMenuScreen;
    if (screen == MaxValuesScreen) e.cursor = ReturnMenuItem(screen);
    return e;
  }
  if (screen == ContrastScreen) {
    if (key == KeyPress) {
      e.screen = DisplaySetupScreen;
      e.cursor = 1;
      return e;
    }
    const std::int64_t contrast = s.settings.contrast;
    const bool up = key == KeyClockwise || key == KeyF1;
    e.screen = ContrastScreen;
    e.field = "contrast";
    e.value =
        up ? (contrast + kContrastStep <= kContrastLimit ? contrast + kContrastStep : contrast)
           : (contrast >= kContrastStep ? contrast - kContrastStep : contrast);
    return e;
  }
  if (screen == MessageScreen || screen == LogBusyScreen) {
    e.screen = s.ui.returnScreen;
    return e;
  }
  if (screen == StartStopScreen) {
    e.screen = MainScreen;
    if (key == KeyF1) {
      e.field = "inFlight";
      e.value = s.flightTimer.inFlight == 0 ? 1 : 0;
    }
    return e;
  }
  if (screen == EraseLogScreen) {
    e.screen = key == KeyF1                      ? MessageScreen
               : key == KeyPress || key == KeyF2 ? FlightLogScreen
                                                 : EraseLogScreen;
    if (key == KeyF1) e.returnTo = FlightLogScreen;
    return e;
  }
  if (screen == ZeroAsiScreen) {
    e.screen = key == KeyF1 ? MessageScreen : AsiSetupScreen;
    if (key == KeyF1) e.returnTo = AsiSetupScreen;
    return e;
  }
  if (screen == AdcValuesScreen) {
    e.screen = key == KeyPress && s.ui.cursor == 0 ? MainMenuScreen : AdcValuesScreen;
    if (e.screen == MainMenuScreen) e.cursor = ReturnMenuItem(screen);
    return e;
  }
  return std::nullopt;
}

std::string ExpectLine(const char* field, std::int64_t value) {
  return std::string("expect ") + field + " " + std::to_string(value);
}

// The differences between what the key brought and what the rule fixes,
// as expectations and as words.
void CompareWithExpected(const Expected& e, const InstrumentState& after,
                         std::vector<std::string>& expects, std::string& differences) {
  auto differ = [&](const std::string& expect, const std::string& words) {
    expects.push_back(expect);
    if (!differences.empty()) differences += ", ";
    differences += words;
  };
  if (e.screen != nullptr && after.ui.currentScreen != e.screen) {
    differ(std::string("expect currentScreen ") + ScreenName(e.screen),
           std::string("went to ") + ScreenName(after.ui.currentScreen) + " instead of " +
               ScreenName(e.screen));
  }
  if (e.returnTo != nullptr && after.ui.returnScreen != e.returnTo) {
    differ(std::string("expect returnScreen ") + ScreenName(e.returnTo),
           std::string("returns to ") + ScreenName(after.ui.returnScreen) + " instead of " +
               ScreenName(e.returnTo));
  }
  if (e.cursor >= 0 && after.ui.cursor != e.cursor) {
    differ(ExpectLine("cursor", e.cursor),
           "cursor " + std::to_string(after.ui.cursor) + " instead of " + std::to_string(e.cursor));
  }
  if (e.editing >= 0 && after.ui.editing != e.editing) {
    differ(ExpectLine("editing", e.editing), "editing " + std::to_string(after.ui.editing) +
                                                 " instead of " + std::to_string(e.editing));
  }
  if (e.field != nullptr) {
    const std::int64_t actual = FindStateField(e.field)->get(after);
    if (actual != e.value) {
      differ(ExpectLine(e.field, e.value), std::string(e.field) + " " + std::to_string(actual) +
                                               " instead of " + std::to_string(e.value));
    }
  }
}

const char* KeyWordOf(KeyEvent key) {
  return KeyByEvent(key)->word;
}

// While a value is edited, the keys that raise it do alike and so do the
// keys that lower it: a key that differs from its partner is the odd one
// when it left the settings as they were.
void CheckEditingPairs(const ExploreMoment& before, const std::array<ExploreMoment, 6>& after,
                       std::vector<RuleFinding>& findings) {
  const KeyEvent pairs[2][2] = {{KeyClockwise, KeyF1}, {KeyAntiClockwise, KeyF2}};
  for (const auto& pair : pairs) {
    const Settings& a = after[pair[0]].state.settings;
    const Settings& b = after[pair[1]].state.settings;
    if (a == b) continue;
    const bool aDead = a == before.state.settings;
    const KeyEvent odd = aDead ? pair[0] : pair[1];
    const KeyEvent good = aDead ? pair[1] : pair[0];
    const InstrumentState& right = after[good].state;
    const InstrumentState& wrong = after[odd].state;
    RuleFinding finding{"keys", "", KeyMoveLines(odd)};
    std::string changed;
    for (const StateField& field : StateFields()) {
      if (std::strcmp(field.section, "settings") != 0 || field.get == nullptr) continue;
      if (field.get(right) == field.get(wrong)) continue;
      finding.tail.push_back(ExpectLine(field.name, field.get(right)));
      if (!changed.empty()) changed += ", ";
      changed += std::string(field.name) + " " + std::to_string(field.get(wrong)) + " where key " +
                 KeyWordOf(good) + " gives " + std::to_string(field.get(right));
    }
    finding.message = std::string("editing on ") + ScreenName(before.state.ui.currentScreen) +
                      " row " + std::to_string(before.state.ui.cursor) + ", key " + KeyWordOf(odd) +
                      " gives " + changed;
    findings.push_back(std::move(finding));
  }
}

}  // namespace

std::vector<std::string> KeyMoveLines(KeyEvent key) {
  return {std::string("key ") + KeyWordOf(key), "tick", "pass", "tick", "pass"};
}

void CheckState(const ExploreMoment& moment, const FrameBuffer& frame,
                std::vector<RuleFinding>& findings) {
  const InstrumentState& s = moment.state;
  for (const StateField& field : StateFields()) {
    if (std::strcmp(field.section, "settings") != 0 || field.get == nullptr) continue;
    std::int64_t lowest = 0;
    std::int64_t highest = 0;
    SettingRange(field.name, s, lowest, highest);
    const std::int64_t value = field.get(s);
    if (value >= lowest && value <= highest) continue;
    findings.push_back({"limits",
                        std::string(field.name) + " is " + std::to_string(value) + ", outside " +
                            std::to_string(lowest) + ".." + std::to_string(highest),
                        {std::string("expect ") + field.name + " " + std::to_string(lowest) + ".." +
                         std::to_string(highest)}});
  }

  const Settings& set = s.settings;
  const AirData& air = s.airData;
  const bool alarm =
      (air.airspeed > set.highAlarmSpeed && set.highAlarmOn == 1) ||
      (air.airspeed < set.lowAlarmSpeed && set.lowAlarmOn == 1 && s.flightTimer.inFlight == 1);
  if ((air.alarmActive != 0) != alarm) {
    findings.push_back({"alarm",
                        "airspeed " + std::to_string(air.airspeed) + " with alarms at " +
                            std::to_string(set.lowAlarmSpeed) + " and " +
                            std::to_string(set.highAlarmSpeed) + (alarm ? " is" : " is not") +
                            " an alarm, but alarmActive is " + std::to_string(air.alarmActive),
                        {ExpectLine("alarmActive", alarm ? 1 : 0)}});
  }
  const bool lit = air.alarmActive != 0 && air.alarmAcknowledged == 0 && s.ui.blinkPhase == 1;
  if (moment.ledLit != lit) {
    findings.push_back({"led",
                        std::string("the LED is ") + (moment.ledLit ? "lit" : "unlit") +
                            " with alarmActive " + std::to_string(air.alarmActive) +
                            ", alarmAcknowledged " + std::to_string(air.alarmAcknowledged) +
                            " and blinkPhase " + std::to_string(s.ui.blinkPhase),
                        {std::string("expect-led ") + (lit ? "lit" : "unlit")}});
  }

  if (HasTextLines(s.ui.currentScreen)) {
    const LcdText text = ReadLcdText(frame);
    // Under the title everything on these pages is text, but the contrast
    // page's bar.
    if (s.ui.currentScreen != ContrastScreen) {
      const UnreadInk unread = FindUnreadInk(frame, text, kTextTop, kLcdHeight - 1);
      if (unread.dots > 0) {
        findings.push_back(
            {"lcd-words",
             std::to_string(unread.dots) +
                 (unread.dots == 1 ? " dot under the title is" : " dots under the title are") +
                 " no text of the instrument's, the first at x " + std::to_string(unread.firstX) +
                 ", y " + std::to_string(unread.firstY),
             {"expect-text readable " + std::to_string(kTextTop) + " " +
              std::to_string(kLcdHeight - 1)}});
      }
    }
    for (const LcdTextRun& run : text.Runs()) {
      if (run.font != LcdFont::Bold8x8 || run.doubleHeight || run.y % 8 == 0) continue;
      const int line = run.y / 8 * 8;
      findings.push_back(
          {"lcd-rows",
           std::string("\"") + std::string(run.Text()) + "\" stands at y " + std::to_string(run.y) +
               ", off the 8-dot text lines",
           {"expect-text at " + std::to_string(line) + " " + std::string(run.Text())}});
      break;
    }
  }
}

void CheckKey(const ExploreMoment& before, KeyEvent key, const ExploreMoment& after,
              std::vector<RuleFinding>& findings) {
  const InstrumentState& s = before.state;
  const std::optional<Expected> expected = ExpectedAfterKey(s, key, before.inputs.keyFastChecked);
  if (!expected) return;
  std::vector<std::string> expects;
  std::string differences;
  CompareWithExpected(*expected, after.state, expects, differences);
  if (expects.empty()) return;
  RuleFinding finding{
      "keys",
      std::string("key ") + KeyWordOf(key) + " on " + ScreenName(s.ui.currentScreen) + " cursor " +
          std::to_string(s.ui.cursor) + (s.ui.editing != 0 ? " editing" : "") + ": " + differences,
      KeyMoveLines(key)};
  finding.tail.insert(finding.tail.end(), expects.begin(), expects.end());
  findings.push_back(std::move(finding));
}

void CheckKeys(const ExploreMoment& before, const std::array<ExploreMoment, 6>& after,
               std::vector<RuleFinding>& findings) {
  for (const KeyEvent key : {KeyPress, KeyClockwise, KeyAntiClockwise, KeyF1, KeyF2}) {
    CheckKey(before, key, after[key], findings);
  }
  if (IsListScreen(before.state.ui.currentScreen) && before.state.ui.editing != 0) {
    CheckEditingPairs(before, after, findings);
  }
}

std::vector<std::string> WayOutLines(const ExploreMoment& moment) {
  const InstrumentState& s = moment.state;
  std::vector<std::string> lines;
  auto add = [&lines](KeyEvent key) {
    for (std::string& line : KeyMoveLines(key)) lines.push_back(std::move(line));
  };
  const ScreenHandler screen = s.ui.currentScreen;
  InstrumentState at = s;
  if (IsListScreen(screen) || screen == MainMenuScreen || screen == LogViewScreen ||
      screen == FlightInfoScreen || screen == MaxValuesScreen || screen == AdcValuesScreen) {
    if (at.ui.editing != 0 && IsListScreen(screen)) {
      add(KeyPress);
      at.ui.editing = 0;
    }
    for (std::uint8_t row = at.ui.cursor; row > 0; --row) add(KeyF1);
    at.ui.cursor = 0;
  }
  const std::optional<Expected> out = ExpectedAfterKey(at, KeyPress);
  add(KeyPress);
  if (out && out->screen != nullptr) {
    lines.push_back(std::string("expect currentScreen ") + ScreenName(out->screen));
  }
  return lines;
}

}  // namespace kvr9
