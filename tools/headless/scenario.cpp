#include "tools/headless/scenario.h"

#include <charconv>
#include <cstdint>
#include <fstream>
#include <sstream>

#include "lcd/frame_art.h"
#include "tools/headless/lcd_png.h"

namespace kvr9::headless {

namespace {

using Words = std::vector<std::string>;

struct LineReader {
  const std::filesystem::path& baseDir;
  std::string error;

  bool Fail(std::string message) {
    error = std::move(message);
    return false;
  }
};

Words SplitWords(std::string_view line) {
  const std::size_t comment = line.find('#');
  if (comment != std::string_view::npos) line = line.substr(0, comment);
  std::istringstream stream{std::string(line)};
  Words words;
  std::string word;
  while (stream >> word) words.push_back(word);
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
                       std::to_string(highest) + ", not '" + word + "'");
  }
  if (result.ec == std::errc::result_out_of_range || parsed < lowest || parsed > highest) {
    return reader.Fail(what + " " + word + " is out of range " + std::to_string(lowest) + ".." +
                       std::to_string(highest));
  }
  value = static_cast<std::uint32_t>(parsed);
  return true;
}

bool ExpectWordCount(const Words& words, std::size_t fewest, std::size_t most,
                     const std::string& usage, LineReader& reader) {
  if (words.size() < fewest) return reader.Fail("'" + words[0] + "' needs " + usage);
  if (words.size() > most) {
    return reader.Fail("unexpected '" + words[most] + "' after '" + words[0] +
                       "' (usage: " + words[0] + (usage.empty() ? "" : " " + usage) + ")");
  }
  return true;
}

bool ParseNoArguments(const Words& words, Step&, LineReader& reader) {
  return ExpectWordCount(words, 1, 1, "", reader);
}

bool ParseKey(const Words& words, Step& step, LineReader& reader) {
  const std::string usage = "one of press, cw, ccw, f1, f2";
  if (!ExpectWordCount(words, 2, 2, usage, reader)) return false;
  const std::string& name = words[1];
  if (name == "press") {
    step.key = KeyPress;
  } else if (name == "cw") {
    step.key = KeyClockwise;
  } else if (name == "ccw") {
    step.key = KeyAntiClockwise;
  } else if (name == "f1") {
    step.key = KeyF1;
  } else if (name == "f2") {
    step.key = KeyF2;
  } else {
    return reader.Fail("unknown key '" + name + "': use " + usage);
  }
  return true;
}

bool ParseSlider(const Words& words, Step& step, LineReader& reader) {
  const std::string usage = "altitude|airspeed and a position 0..4096";
  if (!ExpectWordCount(words, 3, 3, usage, reader)) return false;
  if (words[1] == "altitude") {
    step.slider = SliderKind::Altitude;
  } else if (words[1] == "airspeed") {
    step.slider = SliderKind::Airspeed;
  } else {
    return reader.Fail("unknown slider '" + words[1] + "': use altitude or airspeed");
  }
  return ParseCount(words[2], 0, kSliderHighest, step.number, reader, "slider position");
}

bool ParseOnOff(const std::string& word, bool& on, LineReader& reader) {
  if (word == "on" || word == "off") {
    on = word == "on";
    return true;
  }
  return reader.Fail("'" + word + "' must be on or off");
}

bool ParseBox(const Words& words, Step& step, LineReader& reader) {
  if (!ExpectWordCount(words, 3, 3, "calibrate|keyfast and on|off", reader)) return false;
  if (words[1] == "calibrate") {
    step.box = BoxKind::Calibrate;
  } else if (words[1] == "keyfast") {
    step.box = BoxKind::KeyFast;
  } else {
    return reader.Fail("unknown box '" + words[1] + "': use calibrate or keyfast");
  }
  return ParseOnOff(words[2], step.on, reader);
}

bool ParseRepeatCount(const Words& words, Step& step, LineReader& reader) {
  if (!ExpectWordCount(words, 1, 2, "[N]", reader)) return false;
  step.number = 1;
  if (words.size() == 1) return true;
  return ParseCount(words[1], 1, kMostPassesOrTicks, step.number, reader, "the count");
}

// save-lcd FILE.png [SCALE] [green]: the look comes last, the scale before it.
bool ParseSaveLcd(const Words& words, Step& step, LineReader& reader) {
  const std::string usage = "FILE.png [SCALE] [green]";
  if (!ExpectWordCount(words, 2, 4, usage, reader)) return false;
  step.file = words[1];
  step.path = reader.baseDir / words[1];
  step.number = kDefaultPngScale;
  std::size_t scaleWords = words.size() - 2;
  step.on = scaleWords > 0 && words.back() == "green";
  if (step.on) --scaleWords;
  if (scaleWords > 1) {
    return reader.Fail("unexpected '" + words[3] + "' after 'save-lcd' (usage: save-lcd " + usage +
                       ")");
  }
  if (scaleWords == 1) {
    const auto largest = static_cast<std::uint32_t>(kLargestPngScale);
    if (!ParseCount(words[2], 1, largest, step.number, reader, "the scale")) return false;
  }
  return true;
}

// The expected frame is read now: a missing or broken frame file is a fault
// of the scenario, found before anything runs.
bool ParseExpectLcd(const Words& words, Step& step, LineReader& reader) {
  if (!ExpectWordCount(words, 2, 2, "a text-art frame file", reader)) return false;
  step.file = words[1];
  step.path = reader.baseDir / words[1];
  std::ifstream file(step.path);
  if (!file) return reader.Fail("cannot read frame file '" + step.path.string() + "'");
  std::stringstream content;
  content << file.rdbuf();
  std::string problem;
  if (!ArtToFrame(content.str(), step.expectedFrame, problem)) {
    return reader.Fail("frame file '" + step.path.string() + "' is not text art: " + problem);
  }
  return true;
}

bool ParseShow(const Words& words, Step& step, LineReader& reader) {
  if (!ExpectWordCount(words, 2, 2, "a field name or 'all'", reader)) return false;
  if (words[1] == "all") {
    step.kind = StepKind::ShowAll;
    return true;
  }
  step.field = FindField(words[1]);
  if (step.field == nullptr) return reader.Fail("unknown field '" + words[1] + "'");
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
  if (step.field == nullptr) return reader.Fail("unknown field '" + words[1] + "'");
  // Only a text field can be expected empty.
  if (words.size() < 3 && step.field->kind != FieldKind::Text) {
    return reader.Fail("'expect " + words[1] + "' needs a value");
  }
  const bool singleWord =
      step.field->kind == FieldKind::Number || step.field->kind == FieldKind::Screen;
  if (singleWord && words.size() > 3) {
    return reader.Fail("unexpected '" + words[3] + "' after the value of " + words[1]);
  }
  std::string reason;
  if (!NormaliseExpectedValue(*step.field, JoinWords(words, 2), step.value, reason)) {
    return reader.Fail(reason);
  }
  return true;
}

bool ParseExpectLed(const Words& words, Step& step, LineReader& reader) {
  if (!ExpectWordCount(words, 2, 2, "lit or unlit", reader)) return false;
  if (words[1] != "lit" && words[1] != "unlit") {
    return reader.Fail("'" + words[1] + "' must be lit or unlit");
  }
  step.on = words[1] == "lit";
  return true;
}

bool ParseExpectComm(const Words& words, Step& step, LineReader& reader) {
  if (!ExpectWordCount(words, 2, 2, "a number of lines", reader)) return false;
  return ParseCount(words[1], 0, UINT32_MAX, step.number, reader, "the number of lines");
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
    {"expect-lcd", StepKind::ExpectLcd, ParseExpectLcd},
    {"show", StepKind::Show, ParseShow},
    {"expect", StepKind::Expect, ParseExpect},
    {"show-led", StepKind::ShowLed, ParseNoArguments},
    {"expect-led", StepKind::ExpectLed, ParseExpectLed},
    {"show-comm", StepKind::ShowComm, ParseNoArguments},
    {"expect-comm", StepKind::ExpectComm, ParseExpectComm},
};

bool ParseStep(const Words& words, Step& step, LineReader& reader) {
  for (const StepSyntax& syntax : kSteps) {
    if (words[0] == syntax.word) {
      step.kind = syntax.kind;
      return syntax.parse(words, step, reader);
    }
  }
  return reader.Fail("unknown step '" + words[0] + "'");
}

}  // namespace

ParseOutcome ParseScenario(std::string_view text, const std::string& source,
                           const std::filesystem::path& baseDir) {
  ParseOutcome outcome;
  outcome.scenario.source = source;
  LineReader reader{baseDir, {}};
  std::istringstream lines{std::string(text)};
  std::string line;
  int lineNumber = 0;
  while (std::getline(lines, line)) {
    ++lineNumber;
    const Words words = SplitWords(line);
    if (words.empty()) continue;
    Step step;
    step.line = lineNumber;
    if (!ParseStep(words, step, reader)) {
      outcome.error = source + ":" + std::to_string(lineNumber) + ": " + reader.error;
      return outcome;
    }
    outcome.scenario.steps.push_back(std::move(step));
  }
  outcome.ok = true;
  return outcome;
}

}  // namespace kvr9::headless
