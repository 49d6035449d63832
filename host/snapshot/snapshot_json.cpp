#include "host/snapshot/snapshot_json.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <nlohmann/json.hpp>
#include <span>
#include <string_view>
#include <vector>

#include "core/limits.h"
#include "host/common/json_nesting.h"
#include "host/common/quote.h"
#include "host/common/read_file.h"
#include "host/flights/flight_player.h"
#include "host/panel/comm_lines.h"
#include "host/state/state_fields.h"
#include "screens/screen_table.h"

namespace kvr9 {

namespace {

using Json = nlohmann::ordered_json;

constexpr std::array<const char*, 3> kPhases = {"off", "splash", "main-loop"};

constexpr double kLongestFlightSeconds = 1e7;

using Field = StateField;
using Kind = StateKind;

std::span<const StateField> Fields() {
  return StateFields();
}

// ---- writing ----

Json FrameRows(const FrameBuffer& frame) {
  Json rows = Json::array();
  for (int y = 0; y < kLcdHeight; ++y) {
    std::string row(kLcdWidth, '.');
    for (int x = 0; x < kLcdWidth; ++x) {
      if (GetPixel(frame, static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)) != 0) {
        row[static_cast<std::size_t>(x)] = '#';
      }
    }
    rows.push_back(row);
  }
  return rows;
}

std::string TextOf(const std::array<char, kCommLineSize>& line) {
  std::size_t length = 0;
  while (length < line.size() - 1 && line[length] != '\0') ++length;
  return std::string(line.data(), length);
}

std::string ScreenNameOf(ScreenHandler screen) {
  if (screen == nullptr) return "none";
  const ScreenEntry* entry = FindScreen(screen);
  return entry != nullptr ? entry->name : "none";
}

Json FieldValue(const Field& field, const InstrumentState& state) {
  switch (field.kind) {
    case Kind::Number:
      return field.get(state);
    case Kind::Named: {
      const std::int64_t value = field.get(state);
      if (value >= 0 && value < static_cast<std::int64_t>(field.words.size())) {
        return field.words[static_cast<std::size_t>(value)];
      }
      return value;  // read back as refused: never made by the instrument
    }
    case Kind::Screen:
      return ScreenNameOf(std::string_view(field.name) == "currentScreen" ? state.ui.currentScreen
                                                                          : state.ui.returnScreen);
    case Kind::Text:
      return TextOf(state.ui.commLine);
    case Kind::Bytes:
      return Json(state.flightTimer.flightLog);
  }
  return nullptr;
}

// ---- reading ----

class Reader {
 public:
  explicit Reader(const std::string& name) : name_(Clipped(name, kLongestQuotedPath)) {}

  const std::string& error() const { return error_; }

  bool Fail(const std::string& path, const std::string& what) {
    if (error_.empty()) error_ = name_ + ": " + (path.empty() ? "" : path + ": ") + what;
    return false;
  }

  // The members of an object, all of them known; the required ones present.
  bool Object(const Json& value, const std::string& path,
              std::initializer_list<std::string_view> known) {
    if (!value.is_object()) return Fail(path, Shown(value) + " is not an object");
    for (const auto& [key, member] : value.items()) {
      if (std::find(known.begin(), known.end(), key) == known.end()) {
        return Fail(Join(path, key), "is not a field of a snapshot");
      }
    }
    return true;
  }

  const Json* Member(const Json& object, const std::string& path, const char* key) {
    const auto found = object.find(key);
    if (found == object.end()) {
      Fail(Join(path, key), "is missing");
      return nullptr;
    }
    return &*found;
  }

  bool Integer(const Json& value, const std::string& path, std::int64_t lowest,
               std::int64_t highest, std::int64_t& result) {
    if (value.is_number_unsigned()) {
      const auto number = value.get<std::uint64_t>();
      if (number > static_cast<std::uint64_t>(highest) ||
          static_cast<std::int64_t>(number) < lowest) {
        return OutOfRange(value, path, lowest, highest);
      }
      result = static_cast<std::int64_t>(number);
      return true;
    }
    if (!value.is_number_integer()) return Fail(path, Shown(value) + " is not a whole number");
    result = value.get<std::int64_t>();
    if (result < lowest || result > highest) return OutOfRange(value, path, lowest, highest);
    return true;
  }

  bool Unsigned64(const Json& value, const std::string& path, std::uint64_t& result) {
    if (!value.is_number_unsigned()) {
      return Fail(path, Shown(value) +
                            (value.is_number_integer() ? " is below 0" : " is not a whole number"));
    }
    result = value.get<std::uint64_t>();
    return true;
  }

  bool Boolean(const Json& value, const std::string& path, bool& result) {
    if (!value.is_boolean()) return Fail(path, Shown(value) + " is not true or false");
    result = value.get<bool>();
    return true;
  }

  bool Text(const Json& value, const std::string& path, std::size_t longest, std::string& result) {
    if (!value.is_string()) return Fail(path, Shown(value) + " is not a text");
    result = value.get<std::string>();
    if (result.size() > longest) {
      return Fail(path, "is longer than " + std::to_string(longest) + " characters");
    }
    return true;
  }

  bool Name(const Json& value, const std::string& path, std::span<const char* const> names,
            std::size_t& index) {
    if (value.is_string()) {
      const auto& written = value.get_ref<const std::string&>();
      for (std::size_t i = 0; i < names.size(); ++i) {
        if (written == names[i]) {
          index = i;
          return true;
        }
      }
    }
    return Fail(path, Shown(value) + " is not one of " + Listed(names));
  }

  bool Frame(const Json& value, const std::string& path, FrameBuffer& frame) {
    if (!value.is_array() || value.size() != static_cast<std::size_t>(kLcdHeight)) {
      return Fail(path, "is not " + std::to_string(kLcdHeight) + " rows of text art");
    }
    frame = FrameBuffer{};
    for (int y = 0; y < kLcdHeight; ++y) {
      const Json& row = value[static_cast<std::size_t>(y)];
      const std::string at = path + "[" + std::to_string(y) + "]";
      if (!row.is_string()) return Fail(at, Shown(row) + " is not a text");
      const auto& dots = row.get_ref<const std::string&>();
      if (dots.size() != static_cast<std::size_t>(kLcdWidth)) {
        return Fail(
            at, "has " + std::to_string(dots.size()) + " dots, not " + std::to_string(kLcdWidth));
      }
      for (int x = 0; x < kLcdWidth; ++x) {
        const char dot = dots[static_cast<std::size_t>(x)];
        if (dot == '#') {
          PutPixel(frame, static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), PixelSet);
        } else if (dot != '.') {
          return Fail(at, "has " + Quoted(std::string_view(&dot, 1)) + " at " + std::to_string(x) +
                              "; only '#' and '.' are dots");
        }
      }
    }
    return true;
  }

  static std::string Join(const std::string& path, std::string_view key) {
    return path.empty() ? Clipped(key) : path + "." + Clipped(key);
  }

 private:
  bool OutOfRange(const Json& value, const std::string& path, std::int64_t lowest,
                  std::int64_t highest) {
    return Fail(path, Shown(value) + " is out of range (" + std::to_string(lowest) + ".." +
                          std::to_string(highest) + ")");
  }

  static std::string Shown(const Json& value) {
    return Clipped(value.dump(-1, ' ', false, Json::error_handler_t::replace));
  }

  static std::string Listed(std::span<const char* const> names) {
    std::string list;
    for (std::size_t i = 0; i < names.size(); ++i) {
      list += (i == 0 ? "" : i + 1 == names.size() ? " or " : ", ");
      list += std::string("\"") + names[i] + "\"";
    }
    return list;
  }

  std::string name_;
  std::string error_;
};

// A handler that only notes where the text stops being JSON.
struct FirstError : nlohmann::json_sax<Json> {
  std::string what;
  bool null() override { return true; }
  bool boolean(bool) override { return true; }
  bool number_integer(number_integer_t) override { return true; }
  bool number_unsigned(number_unsigned_t) override { return true; }
  bool number_float(number_float_t, const string_t&) override { return true; }
  bool string(string_t&) override { return true; }
  bool binary(binary_t&) override { return true; }
  bool start_object(std::size_t) override { return true; }
  bool key(string_t&) override { return true; }
  bool end_object() override { return true; }
  bool start_array(std::size_t) override { return true; }
  bool end_array() override { return true; }
  bool parse_error(std::size_t, const std::string&,
                   const nlohmann::detail::exception& problem) override {
    what = problem.what();
    // "[json.exception.parse_error.101] parse error at ...": the part after the tag.
    const std::size_t tag = what.find("] ");
    if (tag != std::string::npos) what.erase(0, tag + 2);
    return false;
  }
};

bool ReadState(Reader& reader, const Json& root, InstrumentState& state) {
  std::vector<const Field*> zeroSettings;
  bool anySetting = false;
  for (const char* section : kStateSections) {
    const Json* object = reader.Member(root, "", section);
    if (object == nullptr) return false;
    if (!object->is_object()) return reader.Object(*object, section, {});
    for (const auto& item : object->items()) {
      const std::string& key = item.key();
      const auto& fields = Fields();
      const bool known = std::any_of(fields.begin(), fields.end(), [&](const Field& field) {
        return field.section == std::string_view(section) && key == field.name;
      });
      if (!known) return reader.Fail(Reader::Join(section, key), "is not a field of a snapshot");
    }
  }
  for (const Field& field : Fields()) {
    const std::string path = Reader::Join(field.section, field.name);
    const Json* value = reader.Member(root[field.section], field.section, field.name);
    if (value == nullptr) return false;
    const bool setting = field.section == std::string_view("settings");
    switch (field.kind) {
      case Kind::Number: {
        std::int64_t number = 0;
        // A setting of 0 is the instrument's before it was first switched
        // on; whether all of them are is known at the end.
        const bool zero = setting && value->is_number_integer() && value->get<std::int64_t>() == 0;
        if (zero && field.lowest > 0) {
          zeroSettings.push_back(&field);
        } else if (!reader.Integer(*value, path, field.lowest, field.highest, number)) {
          return false;
        }
        field.set(state, number);
        anySetting = anySetting || (setting && number != 0);
        break;
      }
      case Kind::Named: {
        std::size_t index = 0;
        if (!reader.Name(*value, path, field.words, index)) return false;
        field.set(state, static_cast<std::int64_t>(index));
        anySetting = anySetting || (setting && index != 0);
        break;
      }
      case Kind::Screen: {
        std::string name;
        if (!reader.Text(*value, path, kLongestQuotedWord, name)) return false;
        ScreenHandler screen = nullptr;
        if (name != "none") {
          const ScreenEntry* entry = FindScreenByName(name);
          if (entry == nullptr) return reader.Fail(path, Quoted(name) + " is not a screen");
          screen = entry->handler;
        }
        (field.name == std::string_view("currentScreen") ? state.ui.currentScreen
                                                         : state.ui.returnScreen) = screen;
        break;
      }
      case Kind::Text: {
        std::string text;
        if (!reader.Text(*value, path, kCommLineSize - 1, text)) return false;
        if (text.find('\0') != std::string::npos) return reader.Fail(path, "holds a zero byte");
        state.ui.commLine.fill('\0');
        std::copy(text.begin(), text.end(), state.ui.commLine.begin());
        break;
      }
      case Kind::Bytes: {
        auto& log = state.flightTimer.flightLog;
        if (!value->is_array() || value->size() != log.size()) {
          return reader.Fail(path, "is not a list of " + std::to_string(log.size()) + " bytes");
        }
        for (std::size_t i = 0; i < log.size(); ++i) {
          std::int64_t byte = 0;
          if (!reader.Integer((*value)[i], path + "[" + std::to_string(i) + "]", 0, 255, byte)) {
            return false;
          }
          log[i] = static_cast<std::uint8_t>(byte);
        }
        break;
      }
    }
  }
  if (anySetting && !zeroSettings.empty()) {
    const Field& field = *zeroSettings.front();
    return reader.Fail(Reader::Join(field.section, field.name),
                       "0 is out of range (" + std::to_string(field.lowest) + ".." +
                           std::to_string(field.highest) + ")");
  }
  if (anySetting) {
    const Settings& settings = state.settings;
    if (settings.contrast % 2 != 0) {
      return reader.Fail("settings.contrast", std::to_string(settings.contrast) + " is not even");
    }
    const SpeedRange range = SpeedRangeForUnit(settings.asiUnit);
    const std::pair<const char*, std::uint32_t> speeds[] = {
        {"lowAlarmSpeed", settings.lowAlarmSpeed},
        {"highAlarmSpeed", settings.highAlarmSpeed},
        {"takeoffSpeed", settings.takeoffSpeed}};
    for (const auto& [name, speed] : speeds) {
      if (speed < range.lowest || speed > range.highest) {
        return reader.Fail(std::string("settings.") + name,
                           std::to_string(speed) + " is out of range for " +
                               FindStateField("asiUnit")->words[settings.asiUnit] + " (" +
                               std::to_string(range.lowest) + ".." + std::to_string(range.highest) +
                               ")");
      }
    }
  }
  return true;
}

bool ReadPower(Reader& reader, const Json& root, Snapshot& snapshot) {
  const Json* power = reader.Member(root, "", "power");
  if (power == nullptr ||
      !reader.Object(*power, "power", {"phase", "restartRequested", "splash"})) {
    return false;
  }
  const Json* phase = reader.Member(*power, "power", "phase");
  const Json* restart = reader.Member(*power, "power", "restartRequested");
  const Json* splash = reader.Member(*power, "power", "splash");
  std::size_t phaseIndex = 0;
  if (phase == nullptr || !reader.Name(*phase, "power.phase", kPhases, phaseIndex)) return false;
  snapshot.phase = static_cast<PowerPhase>(phaseIndex);
  snapshot.running = snapshot.phase != PowerPhase::Off;
  if (restart == nullptr ||
      !reader.Boolean(*restart, "power.restartRequested", snapshot.restartRequested)) {
    return false;
  }
  if (splash == nullptr ||
      !reader.Object(*splash, "power.splash", {"passesLeft", "makerX", "modelX", "airDataDue"})) {
    return false;
  }
  std::int64_t passesLeft = 0;
  std::int64_t makerX = 0;
  std::int64_t modelX = 0;
  const Json* value = nullptr;
  if ((value = reader.Member(*splash, "power.splash", "passesLeft")) == nullptr ||
      !reader.Integer(*value, "power.splash.passesLeft", 0, kSplashPasses, passesLeft) ||
      (value = reader.Member(*splash, "power.splash", "makerX")) == nullptr ||
      !reader.Integer(*value, "power.splash.makerX", -128, 127, makerX) ||
      (value = reader.Member(*splash, "power.splash", "modelX")) == nullptr ||
      !reader.Integer(*value, "power.splash.modelX", -128, 127, modelX) ||
      (value = reader.Member(*splash, "power.splash", "airDataDue")) == nullptr ||
      !reader.Boolean(*value, "power.splash.airDataDue", snapshot.splash.airDataDue)) {
    return false;
  }
  snapshot.splash.passesLeft = static_cast<std::uint8_t>(passesLeft);
  snapshot.splash.makerX = static_cast<std::int8_t>(makerX);
  snapshot.splash.modelX = static_cast<std::int8_t>(modelX);
  // The splash counts down to its last pass and then hands over to the loop.
  if (snapshot.phase == PowerPhase::Splash && passesLeft == 0) {
    return reader.Fail(
        "power.splash.passesLeft",
        "0 is out of range (1.." + std::to_string(kSplashPasses) + ") in the splash");
  }
  return true;
}

bool ReadPanel(Reader& reader, const Json& root, const FrameBuffer& lcd, PanelSide& panel) {
  const char* p = "panel";
  const Json* object = reader.Member(root, "", p);
  if (object == nullptr ||
      !reader.Object(*object, p,
                     {"calibrate", "keyFast", "stopAtFirstChance", "led", "framePresented",
                      "passEnded", "commLines", "shownLcd"})) {
    return false;
  }
  const Json* value = nullptr;
  std::size_t led = 0;
  constexpr std::array<const char*, 2> kLed = {"unlit", "lit"};
  if ((value = reader.Member(*object, p, "calibrate")) == nullptr ||
      !reader.Boolean(*value, "panel.calibrate", panel.inputs.calibrateChecked) ||
      (value = reader.Member(*object, p, "keyFast")) == nullptr ||
      !reader.Boolean(*value, "panel.keyFast", panel.inputs.keyFastChecked) ||
      (value = reader.Member(*object, p, "stopAtFirstChance")) == nullptr ||
      !reader.Boolean(*value, "panel.stopAtFirstChance", panel.inputs.stopWanted) ||
      (value = reader.Member(*object, p, "led")) == nullptr ||
      !reader.Name(*value, "panel.led", kLed, led) ||
      (value = reader.Member(*object, p, "framePresented")) == nullptr ||
      !reader.Boolean(*value, "panel.framePresented", panel.framePresented) ||
      (value = reader.Member(*object, p, "passEnded")) == nullptr ||
      !reader.Boolean(*value, "panel.passEnded", panel.passEnded)) {
    return false;
  }
  panel.ledLit = led == 1;
  const Json* comm = reader.Member(*object, p, "commLines");
  if (comm == nullptr ||
      !reader.Object(*comm, "panel.commLines", {"count", "kept", "repeats", "last"})) {
    return false;
  }
  std::int64_t kept = 0;
  std::uint64_t repeats = 0;
  if ((value = reader.Member(*comm, "panel.commLines", "count")) == nullptr ||
      !reader.Unsigned64(*value, "panel.commLines.count", panel.commLineCount) ||
      (value = reader.Member(*comm, "panel.commLines", "kept")) == nullptr ||
      !reader.Integer(*value, "panel.commLines.kept", 0,
                      static_cast<std::int64_t>(CommLines::kMostLines), kept) ||
      (value = reader.Member(*comm, "panel.commLines", "repeats")) == nullptr ||
      !reader.Unsigned64(*value, "panel.commLines.repeats", repeats) ||
      (value = reader.Member(*comm, "panel.commLines", "last")) == nullptr ||
      !reader.Text(*value, "panel.commLines.last", kCommLineSize - 1, panel.commLines.last)) {
    return false;
  }
  if (static_cast<std::uint64_t>(kept) > panel.commLineCount) {
    return reader.Fail("panel.commLines.kept", std::to_string(kept) +
                                                   " is more than the lines written (" +
                                                   std::to_string(panel.commLineCount) + ")");
  }
  // The newest line's copies in a row: a line that keeps coming counts on
  // past the window's size, as far as the lines written.
  if (repeats > panel.commLineCount) {
    return reader.Fail("panel.commLines.repeats", std::to_string(repeats) +
                                                      " is more than the lines written (" +
                                                      std::to_string(panel.commLineCount) + ")");
  }
  panel.commLines.lines = static_cast<std::size_t>(kept);
  panel.commLines.repeats = static_cast<std::size_t>(repeats);
  // The shown frame is written only where it is not the frame buffer's.
  const auto shown = object->find("shownLcd");
  if (shown == object->end()) {
    panel.shownFrame = lcd;
    return true;
  }
  return reader.Frame(*shown, "panel.shownLcd", panel.shownFrame);
}

bool ReadFlight(Reader& reader, const Json& root, Snapshot& snapshot) {
  const auto found = root.find("flight");
  if (found == root.end() || found->is_null()) return true;
  const char* f = "flight";
  if (!reader.Object(*found, f,
                     {"name", "demo", "fromSeconds", "toSeconds", "passesPerSecond", "speedUp",
                      "passesDone", "ticksDone", "playing"})) {
    return false;
  }
  SnapshotFlight flight;
  const auto seconds = [&](const char* key, double& result) {
    const Json* value = reader.Member(*found, f, key);
    if (value == nullptr) return false;
    const std::string path = Reader::Join(f, key);
    if (!value->is_number()) return reader.Fail(path, "is not a number of seconds");
    result = value->get<double>();
    if (!(result >= 0 && result <= kLongestFlightSeconds)) {
      return reader.Fail(path, "is out of range (0.." +
                                   std::to_string(static_cast<long>(kLongestFlightSeconds)) + ")");
    }
    return true;
  };
  std::int64_t pace = 0;
  std::int64_t speedUp = 0;
  const Json* value = nullptr;
  if ((value = reader.Member(*found, f, "name")) == nullptr ||
      !reader.Text(*value, "flight.name", 4096, flight.name) ||
      !seconds("fromSeconds", flight.fromSeconds) || !seconds("toSeconds", flight.toSeconds) ||
      (value = reader.Member(*found, f, "passesPerSecond")) == nullptr ||
      !reader.Integer(*value, "flight.passesPerSecond", 1, kMostPassesPerSecond, pace) ||
      (value = reader.Member(*found, f, "speedUp")) == nullptr ||
      !reader.Integer(*value, "flight.speedUp", 1, kMostSpeedUp, speedUp) ||
      (value = reader.Member(*found, f, "passesDone")) == nullptr ||
      !reader.Unsigned64(*value, "flight.passesDone", flight.passesDone) ||
      (value = reader.Member(*found, f, "ticksDone")) == nullptr ||
      !reader.Unsigned64(*value, "flight.ticksDone", flight.ticksDone) ||
      (value = reader.Member(*found, f, "playing")) == nullptr ||
      !reader.Boolean(*value, "flight.playing", flight.playing)) {
    return false;
  }
  if (flight.name.empty()) return reader.Fail("flight.name", "is empty");
  // Whether it is the built-in demo; a snapshot from before this was
  // written names the demo "demo".
  const auto demo = found->find("demo");
  flight.demo = flight.name == "demo";
  if (demo != found->end() && !reader.Boolean(*demo, "flight.demo", flight.demo)) return false;
  if (flight.toSeconds < flight.fromSeconds) {
    return reader.Fail("flight.toSeconds", "is before flight.fromSeconds");
  }
  flight.passesPerSecond = static_cast<std::uint32_t>(pace);
  flight.speedUp = static_cast<std::uint32_t>(speedUp);
  snapshot.flight = flight;
  return true;
}

}  // namespace

std::string WriteSnapshot(const Snapshot& snapshot) {
  Json root;
  root["format"] = kSnapshotFormat;
  root["version"] = kSnapshotVersion;
  root["power"] = {{"phase", kPhases[static_cast<std::size_t>(snapshot.phase)]},
                   {"restartRequested", snapshot.restartRequested},
                   {"splash",
                    {{"passesLeft", snapshot.splash.passesLeft},
                     {"makerX", snapshot.splash.makerX},
                     {"modelX", snapshot.splash.modelX},
                     {"airDataDue", snapshot.splash.airDataDue}}}};
  for (const Field& field : Fields()) {
    root[field.section][field.name] = FieldValue(field, snapshot.state);
  }
  root["lcd"] = FrameRows(snapshot.frameBuffer);
  const PanelSide& panel = snapshot.panel;
  Json side = {{"calibrate", panel.inputs.calibrateChecked},
               {"keyFast", panel.inputs.keyFastChecked},
               {"stopAtFirstChance", panel.inputs.stopWanted},
               {"led", panel.ledLit ? "lit" : "unlit"},
               {"framePresented", panel.framePresented},
               {"passEnded", panel.passEnded},
               {"commLines",
                {{"count", panel.commLineCount},
                 {"kept", panel.commLines.lines},
                 {"repeats", panel.commLines.repeats},
                 {"last", panel.commLines.last}}}};
  if (panel.shownFrame.bytes != snapshot.frameBuffer.bytes) {
    side["shownLcd"] = FrameRows(panel.shownFrame);
  }
  root["panel"] = side;
  if (snapshot.flight) {
    const SnapshotFlight& flight = *snapshot.flight;
    root["flight"] = {{"name", flight.name},
                      {"demo", flight.demo},
                      {"fromSeconds", flight.fromSeconds},
                      {"toSeconds", flight.toSeconds},
                      {"passesPerSecond", flight.passesPerSecond},
                      {"speedUp", flight.speedUp},
                      {"passesDone", flight.passesDone},
                      {"ticksDone", flight.ticksDone},
                      {"playing", flight.playing}};
  }
  // Texts the instrument made are ASCII; anything else is written escaped.
  return root.dump(1, ' ', true, Json::error_handler_t::replace) + "\n";
}

constexpr int kDeepestSnapshotNesting = 16;

SnapshotReadResult ReadSnapshot(std::string_view text, const std::string& name) {
  SnapshotReadResult result;
  Reader reader(name);
  if (text.size() > kLargestSnapshotBytes) {
    reader.Fail("", "larger than " + std::to_string(kLargestSnapshotBytes) + " bytes");
    result.error = reader.error();
    return result;
  }
  // A snapshot nests four levels; a text nested far deeper is refused
  // before the parser recurses into it.
  if (JsonNestsDeeperThan(text, kDeepestSnapshotNesting)) {
    reader.Fail("", "nested deeper than " + std::to_string(kDeepestSnapshotNesting) +
                        " levels: not a snapshot");
    result.error = reader.error();
    return result;
  }
  const Json root = Json::parse(text, nullptr, false);
  if (root.is_discarded()) {
    FirstError first;
    Json::sax_parse(text, &first);
    reader.Fail("", "not a snapshot: " + Clipped(first.what, kLongestQuotedPath));
    result.error = reader.error();
    return result;
  }
  Snapshot& snapshot = result.snapshot;
  std::size_t format = 0;
  std::int64_t version = 0;
  constexpr std::array<const char*, 1> kFormats = {kSnapshotFormat};
  const Json* value = nullptr;
  const bool ok =
      reader.Object(root, "",
                    {"format", "version", "power", "settings", "airData", "flightTimer", "ui",
                     "lcd", "panel", "flight"}) &&
      (value = reader.Member(root, "", "format")) != nullptr &&
      reader.Name(*value, "format", kFormats, format) &&
      (value = reader.Member(root, "", "version")) != nullptr &&
      reader.Integer(*value, "version", 1, std::numeric_limits<std::int64_t>::max(), version) &&
      (version <= kSnapshotVersion ||
       reader.Fail("version", std::to_string(version) + " is newer than this program reads (" +
                                  std::to_string(kSnapshotVersion) + ")")) &&
      ReadPower(reader, root, snapshot) && ReadState(reader, root, snapshot.state) &&
      (value = reader.Member(root, "", "lcd")) != nullptr &&
      reader.Frame(*value, "lcd", snapshot.frameBuffer) &&
      ReadPanel(reader, root, snapshot.frameBuffer, snapshot.panel) &&
      ReadFlight(reader, root, snapshot);
  if (!ok) {
    result.snapshot = Snapshot{};
    result.error = reader.error();
    return result;
  }
  result.ok = true;
  return result;
}

SnapshotReadResult ReadSnapshotFile(const std::string& path) {
  const FileText file = ReadWholeFile(path, kLargestSnapshotBytes);
  if (!file.ok) {
    SnapshotReadResult result;
    result.error = Clipped(path, kLongestQuotedPath) + ": " + file.problem;
    return result;
  }
  return ReadSnapshot(file.text, path);
}

bool WriteSnapshotFile(const Snapshot& snapshot, const std::string& path, std::string& problem) {
  const std::string text = WriteSnapshot(snapshot);
  // Written beside it first, so a failed write leaves no half snapshot
  // where a whole one may have been.
  const std::string part = path + ".part";
  std::FILE* file = std::fopen(part.c_str(), "wb");
  if (file == nullptr) {
    problem = "cannot write " + QuotedPath(path);
    return false;
  }
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed || std::rename(part.c_str(), path.c_str()) != 0) {
    std::remove(part.c_str());
    problem = "cannot write " + QuotedPath(path);
    return false;
  }
  return true;
}

}  // namespace kvr9
