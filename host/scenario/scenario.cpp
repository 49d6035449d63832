#include "host/scenario/scenario.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <cstdio>

#include "host/common/quote.h"
#include "host/common/read_file.h"
#include "host/flights/flight_player.h"
#include "host/flights/flight_summary.h"
#include "host/panel/key_table.h"
#include "host/panel/panel_words.h"
#include "host/scenario/nearest_word.h"
#include "lcd/frame_art.h"

namespace kvr9 {

namespace {

using Words = std::vector<std::string>;

struct LineReader {
  const std::filesystem::path& baseDir;
  Scenario& scenario;
  bool animationOpen = false;         // a save-animation not yet stopped
  bool traceOpen = false;             // a trace not yet stopped
  std::vector<std::string> warnings;  // of this line, not yet placed
  int flight = -1;                    // the flight that "at" steps refer to
  double lastAt = 0;                  // its latest moment named so far
  bool atEnd = false;                 // an "at end" has been named
  std::string error;
  std::string_view line;  // the whole line, for the steps that take it as written
  std::string logPath;    // the file "fly LOG" flies, when given

  bool Fail(std::string message) {
    error = std::move(message);
    return false;
  }
};

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

Words SplitWords(std::string_view line) {
  const std::size_t comment = line.find('#');
  if (comment != std::string_view::npos) line = line.substr(0, comment);
  Words words;
  std::size_t at = 0;
  while (at < line.size()) {
    while (at < line.size() && IsBlank(line[at])) ++at;
    const std::size_t start = at;
    while (at < line.size() && !IsBlank(line[at])) ++at;
    if (at > start) words.emplace_back(line.substr(start, at - start));
  }
  return words;
}

// Plain decimal digits only: no sign, no blanks, no hexadecimal.
bool ParseCount(const std::string& word, std::uint32_t lowest, std::uint32_t highest,
                std::uint32_t& value, LineReader& reader, const std::string& what) {
  std::uint64_t parsed = 0;
  const char* end = word.data() + word.size();
  const auto result = std::from_chars(word.data(), end, parsed);
  const bool digitsOnly = word.find_first_not_of("0123456789") == std::string::npos;
  if (!digitsOnly || result.ec == std::errc::invalid_argument || result.ptr != end) {
    return reader.Fail(what + " must be a whole number " + std::to_string(lowest) + ".." +
                       std::to_string(highest) + ", not " + Quoted(word));
  }
  if (result.ec == std::errc::result_out_of_range || parsed < lowest || parsed > highest) {
    return reader.Fail(what + " " + Clipped(word) + " is out of range " + std::to_string(lowest) +
                       ".." + std::to_string(highest));
  }
  value = static_cast<std::uint32_t>(parsed);
  return true;
}

bool ExpectWordCount(const Words& words, std::size_t fewest, std::size_t most,
                     const std::string& usage, LineReader& reader) {
  if (words.size() < fewest) return reader.Fail(Quoted(words[0]) + " needs " + usage);
  if (words.size() > most) {
    return reader.Fail("unexpected " + Quoted(words[most]) + " after " + Quoted(words[0]) +
                       " (usage: " + words[0] + (usage.empty() ? "" : " " + usage) + ")");
  }
  return true;
}

bool ParseNoArguments(const Words& words, Step&, LineReader& reader) {
  return ExpectWordCount(words, 1, 1, "", reader);
}

bool ParseKey(const Words& words, Step& step, LineReader& reader) {
  std::string usage = "one of";
  std::vector<std::string_view> known;
  for (const InstrumentKey& key : InstrumentKeys()) {
    usage += std::string(known.empty() ? " " : ", ") + key.word;
    known.emplace_back(key.word);
  }
  if (!ExpectWordCount(words, 2, 2, usage, reader)) return false;
  const InstrumentKey* key = KeyByWord(words[1]);
  if (key == nullptr) {
    // A keyboard key of the window ("F3", "+") names the key it works.
    std::string keyboard = words[1];
    for (char& c : keyboard) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const InstrumentKey* worked = KeyByKeyboard(keyboard);
    const std::string hint = worked != nullptr ? worked->word : NearestWord(words[1], known);
    return reader.Fail("unknown key " + Quoted(words[1]) +
                       (hint.empty() ? ": use " + usage : ": did you mean " + hint + "?"));
  }
  step.key = key->key;
  return true;
}

// The word a scenario names a slider or a box by, or nullptr.
template <typename Kind, std::size_t N>
const Kind* FindNamed(const std::array<NamedKind<Kind>, N>& names, std::string_view word) {
  for (const NamedKind<Kind>& named : names) {
    if (word == named.word) return &named.kind;
  }
  return nullptr;
}

template <typename Kind, std::size_t N>
std::string NamedKindHint(const std::array<NamedKind<Kind>, N>& names, std::string_view word) {
  std::vector<std::string_view> known;
  for (const NamedKind<Kind>& named : names) known.emplace_back(named.word);
  const std::string hint = NearestWord(word, known);
  if (!hint.empty()) return ": did you mean " + hint + "?";
  return ": use " + std::string(names[0].word) + " or " + names[1].word;
}

// "3000ft", "-200m", "90mph": a whole number, a sign allowed, then the unit.
bool ParseReading(const std::string& word, Step& step, LineReader& reader) {
  const std::size_t digits = word.find_first_not_of("-0123456789");
  const std::string suffix = word.substr(digits);
  const std::string usage = step.slider == SliderKind::Altitude
                                ? "feet (3000ft) or metres (900m)"
                                : "mph (90mph), kmh (150kmh) or knots (80knots)";
  const UnitWord* unit = FindUnitWord(suffix);
  if (unit != nullptr && unit->slider != step.slider) unit = nullptr;
  const char* end = word.data() + digits;
  const auto result = std::from_chars(word.data(), end, step.reading);
  if (unit == nullptr || digits == 0 || result.ec != std::errc() || result.ptr != end) {
    return reader.Fail("slider position must be a whole number 0.." +
                       std::to_string(kSliderHighest) + " or " + usage + ", not " + Quoted(word));
  }
  step.unit = unit->unit;
  return true;
}

bool ParseSlider(const Words& words, Step& step, LineReader& reader) {
  const std::string usage = "altitude|airspeed and a position 0..4096 or a reading";
  if (!ExpectWordCount(words, 3, 3, usage, reader)) return false;
  const SliderKind* slider = FindNamed(kSliderWords, words[1]);
  if (slider == nullptr) {
    return reader.Fail("unknown slider " + Quoted(words[1]) +
                       NamedKindHint(kSliderWords, words[1]));
  }
  step.slider = *slider;
  const bool count = words[2].find_first_not_of("-0123456789") == std::string::npos;
  if (!count) return ParseReading(words[2], step, reader);
  return ParseCount(words[2], 0, kSliderHighest, step.number, reader, "slider position");
}

bool ParseOnOff(const std::string& word, bool& on, LineReader& reader) {
  if (word == "on" || word == "off") {
    on = word == "on";
    return true;
  }
  return reader.Fail(Quoted(word) + " must be on or off");
}

bool ParseBox(const Words& words, Step& step, LineReader& reader) {
  if (!ExpectWordCount(words, 3, 3, "calibrate|keyfast and on|off", reader)) return false;
  const BoxKind* box = FindNamed(kBoxWords, words[1]);
  if (box == nullptr) {
    return reader.Fail("unknown box " + Quoted(words[1]) + NamedKindHint(kBoxWords, words[1]));
  }
  step.box = *box;
  return ParseOnOff(words[2], step.on, reader);
}

bool ParseRepeatCount(const Words& words, Step& step, LineReader& reader) {
  if (!ExpectWordCount(words, 1, 2, "[N]", reader)) return false;
  step.number = 1;
  if (words.size() == 1) return true;
  return ParseCount(words[1], 1, kMostPassesOrTicks, step.number, reader, "the count");
}

StepFile& AddFile(const std::string& word, Step& step, LineReader& reader) {
  step.detail = static_cast<std::uint32_t>(reader.scenario.files.size());
  StepFile& file = reader.scenario.files.emplace_back();
  file.file = word;
  file.path = reader.baseDir / word;
  return file;
}

bool ParsePicture(const Words& words, Step& step, LineReader& reader, const char* usage) {
  if (!ExpectWordCount(words, 2, 3, usage, reader)) return false;
  AddFile(words[1], step, reader);
  step.number = kDefaultPngScale;
  if (words.size() == 3) {
    const auto largest = static_cast<std::uint32_t>(kLargestPngScale);
    if (!ParseCount(words[2], 1, largest, step.number, reader, "the scale")) return false;
  }
  return true;
}

// save-lcd FILE.png [SCALE] [green]: the green look, when asked, comes last.
bool ParseSaveLcd(const Words& words, Step& step, LineReader& reader) {
  Words picture = words;
  step.on = picture.size() > 2 && picture.back() == "green";
  if (step.on) picture.pop_back();
  return ParsePicture(picture, step, reader, "FILE.png [SCALE] [green]");
}

bool ParseSaveAnimation(const Words& words, Step& step, LineReader& reader) {
  reader.animationOpen = true;
  return ParsePicture(words, step, reader, "FILE.gif [SCALE]");
}

bool ParseStopAnimation(const Words& words, Step& step, LineReader& reader) {
  if (!ParseNoArguments(words, step, reader)) return false;
  if (!reader.animationOpen) return reader.Fail("'stop-animation' without a save-animation");
  reader.animationOpen = false;
  return true;
}

// The expected frame is read now: a missing or broken frame file is a fault
// of the scenario, found before anything runs.
bool ParseExpectLcd(const Words& words, Step& step, LineReader& reader) {
  if (!ExpectWordCount(words, 2, 2, "a text-art frame file", reader)) return false;
  StepFile& frame = AddFile(words[1], step, reader);
  const std::string path = frame.path.string();
  const FileText content = ReadWholeFile(path, kLargestFrameFileBytes);
  if (!content.ok) {
    return reader.Fail("cannot read frame file " + QuotedPath(path) + ": " + content.problem);
  }
  std::string problem;
  if (!ArtToFrame(content.text, frame.expectedFrame, problem)) {
    return reader.Fail("frame file " + QuotedPath(path) + " is not text art: " + problem);
  }
  return true;
}

bool UnknownField(const std::string& word, LineReader& reader) {
  std::vector<std::string_view> known;
  for (const FieldInfo& field : AllFields()) known.emplace_back(field.name);
  return reader.Fail("unknown field " + Quoted(word) + DidYouMean(word, known));
}

bool ParseShow(const Words& words, Step& step, LineReader& reader) {
  if (!ExpectWordCount(words, 2, 2, "a field name or 'all'", reader)) return false;
  if (words[1] == "all") {
    step.kind = StepKind::ShowAll;
    return true;
  }
  step.field = FindField(words[1]);
  if (step.field == nullptr) return UnknownField(words[1], reader);
  return true;
}

std::string JoinWords(const Words& words, std::size_t first) {
  std::string text;
  for (std::size_t i = first; i < words.size(); ++i) {
    if (i > first) text += ' ';
    text += words[i];
  }
  return text;
}

bool ParseExpect(const Words& words, Step& step, LineReader& reader) {
  if (words.size() < 2) return reader.Fail("'expect' needs a field name and a value");
  step.field = FindField(words[1]);
  if (step.field == nullptr) return UnknownField(words[1], reader);
  // Only a text field can be expected empty.
  if (words.size() < 3 && step.field->kind != FieldKind::Text) {
    return reader.Fail("'expect " + Clipped(words[1]) + "' needs a value");
  }
  const bool singleWord =
      step.field->kind == FieldKind::Number || step.field->kind == FieldKind::Screen;
  if (singleWord && words.size() > 3) {
    return reader.Fail("unexpected " + Quoted(words[3]) + " after the value of " + words[1]);
  }
  std::string reason;
  std::string value;
  // A number may be expected within a range, "6061..6078", where the
  // instrument's resolution blurs a reading worked out by hand.
  const std::string written = JoinWords(words, 2);
  const std::size_t dots = written.find("..");
  if (step.field->kind == FieldKind::Number && dots != std::string::npos) {
    std::string low;
    std::string high;
    if (!NormaliseExpectedValue(*step.field, written.substr(0, dots), low, reason) ||
        !NormaliseExpectedValue(*step.field, written.substr(dots + 2), high, reason)) {
      return reader.Fail(reason);
    }
    if (std::stoll(high) < std::stoll(low)) {
      return reader.Fail("the range " + Clipped(written) + " is empty");
    }
    value = low + ".." + high;
  } else if (!NormaliseExpectedValue(*step.field, written, value, reason)) {
    return reader.Fail(reason);
  }
  step.detail = static_cast<std::uint32_t>(reader.scenario.values.size());
  reader.scenario.values.push_back(std::move(value));
  return true;
}

bool ParseExpectLed(const Words& words, Step& step, LineReader& reader) {
  if (!ExpectWordCount(words, 2, 2, "lit or unlit", reader)) return false;
  if (words[1] != "lit" && words[1] != "unlit") {
    return reader.Fail(Quoted(words[1]) + " must be lit or unlit");
  }
  step.on = words[1] == "lit";
  return true;
}

bool ParseExpectComm(const Words& words, Step& step, LineReader& reader) {
  if (!ExpectWordCount(words, 2, 2, "a number of lines", reader)) return false;
  return ParseCount(words[1], 0, UINT32_MAX, step.number, reader, "the number of lines");
}

// "90" (seconds) or "1:02:03" / "02:03" (hours, minutes, seconds).
bool ParseMoment(const std::string& word, std::uint32_t& seconds, LineReader& reader) {
  constexpr std::uint32_t kLongest = 100 * 3600;  // beyond any profile worth flying
  std::uint64_t total = 0;
  std::size_t at = 0;
  int parts = 0;
  bool ok = !word.empty();
  while (ok && at <= word.size()) {
    const std::size_t colon = std::min(word.find(':', at), word.size());
    const std::string part = word.substr(at, colon - at);
    std::uint64_t value = 0;
    const auto result = std::from_chars(part.data(), part.data() + part.size(), value);
    ok = !part.empty() && part.size() <= 7 && result.ec == std::errc() &&
         result.ptr == part.data() + part.size() && (parts == 0 || value < 60);
    total = total * 60 + value;
    ++parts;
    at = colon + 1;
  }
  if (!ok || parts > 3 || total > kLongest) {
    return reader.Fail("a moment is seconds (90) or h:mm:ss (0:01:30) up to 100 hours, not " +
                       Quoted(word));
  }
  seconds = static_cast<std::uint32_t>(total);
  return true;
}

std::string ClockText(double seconds) {
  const auto whole = static_cast<long long>(seconds);
  char text[40];
  std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60, whole % 60);
  return text;
}

// fly demo|FILE [FROM [TO]] [pace N] [speed N]: the profile is read now, so
// a broken file stops the scenario before anything runs.
bool ParseFly(const Words& words, Step& step, LineReader& reader) {
  const std::string usage = "demo or a profile file, then [FROM [TO]] [pace N] [speed N]";
  if (!ExpectWordCount(words, 2, 8, usage, reader)) return false;
  Words rest(words.begin() + 2, words.end());
  ScenarioFlight flight;
  flight.name = words[1];
  bool paced = false;
  bool sped = false;
  while (rest.size() >= 2) {
    const std::string& word = rest[rest.size() - 2];
    if (word == "pace" && !paced) {
      if (!ParseCount(rest.back(), 1, kMostPassesPerSecond, flight.passesPerSecond, reader,
                      "the pace (passes a second)")) {
        return false;
      }
      paced = true;
    } else if (word == "speed" && !sped) {
      // The speeds the window and the page offer, ten passes to N seconds.
      const auto& speeds = kFlightBarSpeeds;
      if (!ParseCount(rest.back(), 1, speeds[std::size(speeds) - 1], flight.speedUp, reader,
                      "the speed")) {
        return false;
      }
      if (std::find(std::begin(speeds), std::end(speeds), flight.speedUp) == std::end(speeds)) {
        return reader.Fail("the speed is 1, 4, 16 or 64, as the window offers, not " +
                           Quoted(rest.back()));
      }
      sped = true;
    } else {
      break;
    }
    rest.resize(rest.size() - 2);
  }
  if (rest.size() > 2) {
    return reader.Fail("unexpected " + Quoted(rest[2]) + " after 'fly' (usage: fly " + usage + ")");
  }
  const bool theLog = flight.name == kLogPlaceholder && !reader.logPath.empty();
  if (theLog) flight.name = reader.logPath;
  if (flight.name == "demo" && !theLog) {
    flight.profile = DemoFlight();
  } else {
    const std::string path = theLog ? reader.logPath : (reader.baseDir / flight.name).string();
    ProfileReadResult read = ReadProfileFile(path);
    if (!read.Ok()) return reader.Fail(read.error);
    for (const std::string& warning : read.warnings) reader.warnings.push_back(warning);
    if (read.profile.Empty()) return reader.Fail(QuotedPath(path) + " holds no samples");
    flight.profile = std::move(read.profile);
  }
  const double duration = flight.profile.DurationSeconds();
  std::uint32_t from = 0;
  std::uint32_t to = 0;
  if (!rest.empty() && !ParseMoment(rest[0], from, reader)) return false;
  if (rest.size() > 1 && !ParseMoment(rest[1], to, reader)) return false;
  flight.fromSeconds = from;
  flight.toSeconds = rest.size() > 1 ? to : duration;
  if (flight.fromSeconds > duration || flight.toSeconds > duration ||
      flight.toSeconds < flight.fromSeconds) {
    return reader.Fail("'fly " + Clipped(flight.name) + "' lasts " + ClockText(duration) +
                       ": from and to must lie within it, in order");
  }
  step.detail = static_cast<std::uint32_t>(reader.scenario.flights.size());
  reader.flight = static_cast<int>(step.detail);
  reader.lastAt = flight.fromSeconds;
  reader.atEnd = false;
  reader.scenario.flights.push_back(std::move(flight));
  return true;
}

// at MOMENT|end: a moment of the latest flight, later than the one before.
bool ParseAt(const Words& words, Step& step, LineReader& reader) {
  if (!ExpectWordCount(words, 2, 2, "a moment of the flight (90, 0:01:30) or end", reader)) {
    return false;
  }
  if (reader.flight < 0) return reader.Fail("'at' without a 'fly' before it");
  const ScenarioFlight& flight = reader.scenario.flights[static_cast<std::size_t>(reader.flight)];
  step.on = words[1] == "end";
  if (!step.on && !ParseMoment(words[1], step.number, reader)) return false;
  const double moment = step.on ? flight.toSeconds : step.number;
  if (reader.atEnd || moment < reader.lastAt || moment > flight.toSeconds) {
    return reader.Fail("'at " + Clipped(words[1]) + "' is not a later moment of the flight " +
                       ClockText(reader.lastAt) + ".." + ClockText(flight.toSeconds));
  }
  reader.lastAt = moment;
  reader.atEnd = step.on;
  return true;
}

// trace FILE.csv FIELD...: number fields only, so that a row stays a CSV row.
bool ParseTrace(const Words& words, Step& step, LineReader& reader) {
  if (!ExpectWordCount(words, 3, 2 + 64, "FILE.csv and up to 64 number fields", reader)) {
    return false;
  }
  ScenarioTrace trace;
  trace.file = words[1];
  trace.path = reader.baseDir / words[1];
  for (std::size_t i = 2; i < words.size(); ++i) {
    const FieldInfo* field = FindField(words[i]);
    if (field == nullptr) return UnknownField(words[i], reader);
    if (field->kind != FieldKind::Number) {
      return reader.Fail("'trace' takes number fields; " + words[i] + " is not one");
    }
    trace.fields.push_back(field);
  }
  step.detail = static_cast<std::uint32_t>(reader.scenario.traces.size());
  reader.scenario.traces.push_back(std::move(trace));
  reader.traceOpen = true;
  return true;
}

bool ParseStopTrace(const Words& words, Step& step, LineReader& reader) {
  if (!ParseNoArguments(words, step, reader)) return false;
  if (!reader.traceOpen) return reader.Fail("'stop-trace' without a trace");
  reader.traceOpen = false;
  return true;
}

constexpr const char* kBlanks = " \t\r\v\f";

// Where a quoted text or a pattern ends: the first mark after which only
// blanks or a comment follow, so the text itself may hold the mark ("Hg)
// and a comment after it may quote.
std::size_t ClosingMark(std::string_view rest, char mark) {
  for (std::size_t at = 1; at < rest.size(); ++at) {
    if (rest[at] != mark) continue;
    const std::size_t next = rest.find_first_not_of(kBlanks, at + 1);
    if (next == std::string_view::npos || rest[next] == '#') return at;
  }
  return std::string_view::npos;
}

// expect-text [line] TEXT | "TEXT" | /PATTERN/. The text is taken from the
// line as written, not word by word: the LCD's rows space their words by
// the dots between them, so the blanks inside count.
bool ParseExpectText(const Words& words, Step& step, LineReader& reader) {
  const std::string usage = "a text, \"a text\" or /a pattern/";
  if (words.size() < 2) return reader.Fail("'expect-text' needs [line] and " + usage);
  std::string_view rest = reader.line;
  rest.remove_prefix(rest.find(words[0]) + words[0].size());
  rest.remove_prefix(std::min(rest.find_first_not_of(kBlanks), rest.size()));
  if (words[1] == "readable") {
    // expect-text readable TOP BOTTOM: no ink in those rows but the words.
    if (words.size() != 4) return reader.Fail("'expect-text readable' needs two dot rows");
    std::uint32_t bottom = 0;
    if (!ParseCount(words[2], 0, kLcdHeight - 1, step.number, reader, "the top dot row") ||
        !ParseCount(words[3], 0, kLcdHeight - 1, bottom, reader, "the bottom dot row")) {
      return false;
    }
    if (bottom < step.number) return reader.Fail("the bottom dot row is above the top one");
    step.reading = static_cast<std::int32_t>(bottom);
    step.match = TextMatch::Readable;
    return true;
  }
  const bool row = words[1] == "line";
  const bool at = words[1] == "at";
  if (at) {
    // expect-text at Y TEXT: where the text stands, for a row drawn off its line.
    if (words.size() < 4) return reader.Fail("'expect-text at' needs a dot row, then a text");
    if (!ParseCount(words[2], 0, kLcdHeight - 1, step.number, reader, "the dot row")) {
      return false;
    }
    rest.remove_prefix(2);
    rest.remove_prefix(std::min(rest.find_first_not_of(kBlanks), rest.size()));
    rest.remove_prefix(words[2].size());
    rest.remove_prefix(std::min(rest.find_first_not_of(kBlanks), rest.size()));
  }
  if (row) {
    if (words.size() < 3) return reader.Fail("'expect-text line' needs " + usage);
    rest.remove_prefix(4);
    rest.remove_prefix(std::min(rest.find_first_not_of(kBlanks), rest.size()));
  }
  std::string text;
  const bool pattern = rest[0] == '/';
  if (rest[0] == '"' || pattern) {
    const std::size_t close = ClosingMark(rest, rest[0]);
    if (close == std::string_view::npos) {
      return reader.Fail(std::string(pattern ? "the pattern" : "the text") + " opened with " +
                         rest[0] + " is not closed on its line");
    }
    text = rest.substr(1, close - 1);
  } else {
    text = rest.substr(0, rest.find('#'));
    text.erase(text.find_last_not_of(kBlanks) + 1);
  }
  if (text.empty()) return reader.Fail("'expect-text' needs a text that is not empty");
  if (at && pattern) return reader.Fail("'expect-text at' takes a text, not a pattern");
  step.match = pattern ? (row ? TextMatch::PatternRow : TextMatch::PatternPart)
                       : (row ? TextMatch::Row : TextMatch::Part);
  if (at) step.match = TextMatch::AtDotRow;
  if (pattern) {
    step.number = static_cast<std::uint32_t>(reader.scenario.patterns.size());
    try {
      reader.scenario.patterns.emplace_back(text, std::regex::ECMAScript);
    } catch (const std::regex_error& error) {
      return reader.Fail("the pattern /" + Clipped(text) +
                         "/ is not a regular expression: " + error.what());
    }
  }
  step.detail = static_cast<std::uint32_t>(reader.scenario.values.size());
  reader.scenario.values.push_back(std::move(text));
  return true;
}

// lesson FILE [unfinished]: the lesson file is read by the front end that
// follows it; one lesson a scenario.
// A lesson file whose name holds a blank or "#" is written in double
// quotes: lesson "My drills/QNH #2.lesson" [unfinished].
bool QuotedLessonFile(Words& words, LineReader& reader) {
  std::string_view rest = reader.line;
  rest.remove_prefix(rest.find(words[0]) + words[0].size());
  rest.remove_prefix(std::min(rest.find_first_not_of(" \t\r\v\f"), rest.size()));
  if (rest.empty() || rest[0] != '"') return true;
  const std::size_t closing = rest.find('"', 1);
  if (closing == std::string_view::npos)
    return reader.Fail("the lesson file's closing quote is missing");
  if (closing == 1) return reader.Fail("the lesson file's name is empty");
  Words quoted{words[0], std::string(rest.substr(1, closing - 1))};
  for (std::string& word : SplitWords(rest.substr(closing + 1))) quoted.push_back(std::move(word));
  words = std::move(quoted);
  return true;
}

bool ParseLessonStep(const Words& given, Step& step, LineReader& reader) {
  Words words = given;
  if (!QuotedLessonFile(words, reader)) return false;
  if (!ExpectWordCount(words, 2, 3, "a lesson file, then [unfinished]", reader)) return false;
  for (const Step& earlier : reader.scenario.steps) {
    if (earlier.kind == StepKind::Lesson) {
      return reader.Fail("a second lesson (the first is on line " + std::to_string(earlier.line) +
                         "): one lesson a scenario");
    }
  }
  step.on = words.size() == 3;
  if (step.on && words[2] != "unfinished") {
    return reader.Fail("unexpected " + Quoted(words[2]) +
                       " after the lesson file (usage: " + "lesson FILE [unfinished])");
  }
  AddFile(words[1], step, reader);
  return true;
}

// save-state FILE, load-state FILE: the snapshot is read when the step
// runs, as an earlier save-state may write it.
bool ParseStateFile(const Words& words, Step& step, LineReader& reader) {
  if (!ExpectWordCount(words, 2, 2, "a snapshot file", reader)) return false;
  AddFile(words[1], step, reader);
  return true;
}

using StepParser = bool (*)(const Words&, Step&, LineReader&);

struct StepSyntax {
  const char* word;
  StepKind kind;
  StepParser parse;
};

const StepSyntax kSteps[] = {
    {"on", StepKind::On, ParseNoArguments},
    {"off", StepKind::Off, ParseNoArguments},
    {"key", StepKind::Key, ParseKey},
    {"slider", StepKind::Slider, ParseSlider},
    {"box", StepKind::Box, ParseBox},
    {"pass", StepKind::Pass, ParseRepeatCount},
    {"tick", StepKind::Tick, ParseRepeatCount},
    {"show-lcd", StepKind::ShowLcd, ParseNoArguments},
    {"save-lcd", StepKind::SaveLcd, ParseSaveLcd},
    {"save-animation", StepKind::SaveAnimation, ParseSaveAnimation},
    {"stop-animation", StepKind::StopAnimation, ParseStopAnimation},
    {"expect-lcd", StepKind::ExpectLcd, ParseExpectLcd},
    {"show-text", StepKind::ShowText, ParseNoArguments},
    {"expect-text", StepKind::ExpectText, ParseExpectText},
    {"show", StepKind::Show, ParseShow},
    {"expect", StepKind::Expect, ParseExpect},
    {"show-led", StepKind::ShowLed, ParseNoArguments},
    {"expect-led", StepKind::ExpectLed, ParseExpectLed},
    {"show-comm", StepKind::ShowComm, ParseNoArguments},
    {"expect-comm", StepKind::ExpectComm, ParseExpectComm},
    {"fly", StepKind::Fly, ParseFly},
    {"at", StepKind::At, ParseAt},
    {"trace", StepKind::Trace, ParseTrace},
    {"stop-trace", StepKind::StopTrace, ParseStopTrace},
    {"lesson", StepKind::Lesson, ParseLessonStep},
    {"save-state", StepKind::SaveState, ParseStateFile},
    {"load-state", StepKind::LoadState, ParseStateFile},
};

bool ParseStep(const Words& words, Step& step, LineReader& reader) {
  for (const StepSyntax& syntax : kSteps) {
    if (words[0] == syntax.word) {
      step.kind = syntax.kind;
      return syntax.parse(words, step, reader);
    }
  }
  std::vector<std::string_view> known;
  for (const StepSyntax& syntax : kSteps) known.emplace_back(syntax.word);
  return reader.Fail("unknown step " + Quoted(words[0]) + DidYouMean(words[0], known));
}

}  // namespace

bool ParseScenarioLine(std::string_view line, int lineNumber, Scenario& scenario,
                       const std::filesystem::path& baseDir, std::string& error) {
  const Words words = SplitWords(line);
  if (words.empty()) {
    error = "a step is wanted";
    return false;
  }
  LineReader reader{baseDir, scenario, false, false, {}, -1, 0, false, {}, {}, {}};
  reader.line = line;
  Step step;
  step.line = lineNumber;
  if (!ParseStep(words, step, reader)) {
    error = reader.error;
    return false;
  }
  scenario.steps.push_back(step);
  for (const std::string& warning : reader.warnings) {
    scenario.warnings.push_back(scenario.source + ":" + std::to_string(lineNumber) + ": " +
                                warning);
  }
  return true;
}

ParseOutcome ParseScenario(std::string_view text, const std::string& source,
                           const std::filesystem::path& baseDir, const std::string& logPath) {
  ParseOutcome outcome;
  Scenario& scenario = outcome.scenario;
  scenario.source = source;
  // At most one step a line: reserving for every line keeps a long
  // scenario from holding up to twice its steps while the list grows.
  std::size_t lineCount = 1;
  for (const char c : text) lineCount += c == '\n' ? 1 : 0;
  scenario.steps.reserve(lineCount);
  LineReader reader{baseDir, scenario, false, false, {}, -1, 0, false, {}, {}, logPath};
  int lineNumber = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(at, end - at);
    at = end + 1;
    ++lineNumber;
    const Words words = SplitWords(line);
    if (words.empty()) continue;
    Step step;
    step.line = lineNumber;
    reader.line = line;
    if (!ParseStep(words, step, reader)) {
      outcome.error = source + ":" + std::to_string(lineNumber) + ": " + reader.error;
      return outcome;
    }
    scenario.steps.push_back(step);
    for (const std::string& warning : reader.warnings) {
      scenario.warnings.push_back(source + ":" + std::to_string(lineNumber) + ": " + warning);
    }
    reader.warnings.clear();
  }
  outcome.ok = true;
  return outcome;
}

}  // namespace kvr9
