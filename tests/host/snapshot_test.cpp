// Snapshots: a session saved at any pass and loaded into a fresh one goes
// on exactly as the uninterrupted session, and a bad snapshot is refused
// with one line naming the file and the field, leaving the session as it
// was.
#include "host/snapshot/snapshot.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "host/flights/flight_player.h"
#include "host/panel/panel_session.h"
#include "host/snapshot/snapshot_image.h"
#include "host/snapshot/snapshot_json.h"
#include "screens/screen_table.h"

namespace kvr9 {
namespace {

class CountingView : public PanelView {
 public:
  void ShowFrame(const FrameBuffer&, bool changed) override { changes += changed ? 1 : 0; }
  void ShowLed(bool lit) override { led = lit; }
  int changes = 0;
  bool led = true;
};

// What the front end does before one pass.
struct PassInputs {
  enum class What : std::uint8_t { Key, Slider, Box, Tick, On, Off, Close, Fly };
  struct Input {
    What what;
    std::uint32_t a;
    std::uint32_t b;
  };
  std::vector<Input> inputs;
};

std::vector<PassInputs> RandomInputs(std::mt19937& random, std::size_t passes) {
  std::vector<PassInputs> script(passes);
  const auto below = [&](std::uint32_t n) {
    return std::uniform_int_distribution<std::uint32_t>(0, n - 1)(random);
  };
  // Most sessions switch on early; some start their flight at once.
  script[std::min<std::size_t>(below(4), passes - 1)].inputs.push_back(
      {PassInputs::What::On, 0, 0});
  for (PassInputs& pass : script) {
    const std::uint32_t count = below(4);
    for (std::uint32_t i = 0; i < count; ++i) {
      const std::uint32_t roll = below(200);
      using W = PassInputs::What;
      if (roll < 90) {
        pass.inputs.push_back({W::Key, 1 + below(5), 0});
      } else if (roll < 120) {
        pass.inputs.push_back({W::Slider, below(2), below(4097)});
      } else if (roll < 130) {
        pass.inputs.push_back({W::Box, below(2), below(2)});
      } else if (roll < 185) {
        pass.inputs.push_back({W::Tick, 1 + below(3), 0});
      } else if (roll < 189) {
        pass.inputs.push_back({W::On, 0, 0});
      } else if (roll < 191) {
        pass.inputs.push_back({W::Off, 0, 0});
      } else if (roll < 192) {
        pass.inputs.push_back({W::Close, 0, 0});
      } else {
        pass.inputs.push_back({W::Fly, below(600), 1 + below(8)});
      }
    }
  }
  return script;
}

// A front end over a fresh session, flying the demo as the window does:
// the flight moves the sliders before each pass of the main loop.
struct Front {
  CountingView view;
  PanelSession session{view};
  std::optional<FlightPlayer> player;
  SnapshotFlight flight;

  void Apply(const PassInputs& pass) {
    PanelInputs& inputs = session.inputs();
    for (const PassInputs::Input& input : pass.inputs) {
      switch (input.what) {
        case PassInputs::What::Key:
          inputs.ClickKey(static_cast<KeyEvent>(input.a));
          break;
        case PassInputs::What::Slider:
          inputs.MoveSlider(static_cast<SliderKind>(input.a), static_cast<std::int32_t>(input.b));
          break;
        case PassInputs::What::Box:
          inputs.SetBox(static_cast<BoxKind>(input.a), input.b != 0);
          break;
        case PassInputs::What::Tick:
          for (std::uint32_t i = 0; i < input.a; ++i) inputs.TimerTick();
          break;
        case PassInputs::What::On:
          session.PressOn();
          break;
        case PassInputs::What::Off:
          session.PressOff();
          break;
        case PassInputs::What::Close:  // the window closed while on
          inputs.StopAtFirstChance();
          break;
        case PassInputs::What::Fly: {
          const double start = DemoFlight().StartSeconds();
          player.emplace(DemoFlight(), start + input.a, DemoFlight().EndSeconds(), 10, input.b);
          flight = SnapshotFlight{"demo", player->FromSeconds() - start,
                                  player->ToSeconds() - start, 10, input.b};
          break;
        }
      }
    }
    if (player && session.instrument().phase == PowerPhase::MainLoop && !player->Finished()) {
      player->PlayNext(inputs, session.instrument());
    }
    session.Step();
  }

  Snapshot Captured() const {
    Snapshot snapshot = CaptureSnapshot(session);
    if (player) {
      const FlightPlayer::Progress played = player->Played();
      snapshot.flight = flight;
      snapshot.flight->passesDone = played.passesDone;
      snapshot.flight->ticksDone = played.ticksDone;
      snapshot.flight->playing = !player->Finished();
    }
    return snapshot;
  }

  std::string Saved() const { return WriteSnapshot(Captured()); }

  bool Load(const std::string& text, std::string& error) {
    const SnapshotReadResult read = ReadSnapshot(text, "state.json");
    if (!read.ok) {
      error = read.error;
      return false;
    }
    ApplySnapshot(read.snapshot, session);
    if (read.snapshot.flight) {
      flight = *read.snapshot.flight;
      const double start = DemoFlight().StartSeconds();
      player.emplace(DemoFlight(), start + flight.fromSeconds, start + flight.toSeconds,
                     flight.passesPerSecond, flight.speedUp);
      player->Resume({flight.passesDone, flight.ticksDone});
    }
    return true;
  }

  // Everything a person or a check can see after a pass.
  bool SeesAs(const Front& other) const {
    return session.instrument().state == other.session.instrument().state &&
           session.ShownFrame().bytes == other.session.ShownFrame().bytes &&
           session.LedLit() == other.session.LedLit() && view.led == other.view.led &&
           session.CommLineCount() == other.session.CommLineCount();
  }
};

TEST(Snapshot, LoadingGoesOnExactlyAsTheUninterruptedSession) {
  constexpr int kSessions = 1000;
  int duringSplash = 0;
  int whileOff = 0;
  int flying = 0;
  for (int seed = 0; seed < kSessions; ++seed) {
    std::mt19937 random(static_cast<std::uint32_t>(seed));
    const std::size_t saveAt = std::uniform_int_distribution<std::size_t>(0, 120)(random);
    const std::size_t more = std::uniform_int_distribution<std::size_t>(1, 12)(random);
    const std::vector<PassInputs> script = RandomInputs(random, saveAt + more);

    Front whole;
    for (std::size_t pass = 0; pass < saveAt; ++pass) whole.Apply(script[pass]);
    const Snapshot captured = whole.Captured();
    const std::string saved = WriteSnapshot(captured);
    duringSplash += whole.session.instrument().phase == PowerPhase::Splash ? 1 : 0;
    whileOff += whole.session.instrument().phase == PowerPhase::Off ? 1 : 0;
    flying += whole.player && !whole.player->Finished() ? 1 : 0;

    Front loaded;
    std::string error;
    ASSERT_TRUE(loaded.Load(saved, error)) << "seed " << seed << ": " << error;
    ASSERT_TRUE(loaded.Captured() == captured) << "seed " << seed << ": loaded as saved";
    Snapshot imaged;
    std::string record;
    const std::string recorded = whole.session.record().Bytes();
    ASSERT_TRUE(SnapshotFromImage(SnapshotImage(captured, recorded), imaged, &record) &&
                imaged == captured && record == recorded)
        << "seed " << seed << ": the image hands over the same";
    for (std::size_t pass = saveAt; pass < saveAt + more; ++pass) {
      whole.Apply(script[pass]);
      loaded.Apply(script[pass]);
      ASSERT_TRUE(loaded.SeesAs(whole))
          << "seed " << seed << ", saved at pass " << saveAt << ", pass " << pass;
    }
    ASSERT_TRUE(loaded.Captured() == whole.Captured()) << "seed " << seed;
  }
  // The sessions reach the moments that matter.
  EXPECT_GT(duringSplash, kSessions / 10);
  EXPECT_GT(whileOff, kSessions / 50);
  EXPECT_GT(flying, kSessions / 20);
}

// Hours of a session as the window sees it: a timer tick every pass, now
// and then a key, a slider, a box, a flight, OFF and ON again.
std::vector<PassInputs> RandomLongInputs(std::mt19937& random, std::size_t passes) {
  std::vector<PassInputs> script(passes);
  const auto below = [&](std::uint32_t n) {
    return std::uniform_int_distribution<std::uint32_t>(0, n - 1)(random);
  };
  using W = PassInputs::What;
  script[0].inputs.push_back({W::On, 0, 0});
  for (PassInputs& pass : script) {
    pass.inputs.push_back({W::Tick, 1, 0});
    const std::uint32_t roll = below(10000);
    if (roll < 150) {
      pass.inputs.push_back({W::Key, 1 + below(5), 0});
    } else if (roll < 200) {
      pass.inputs.push_back({W::Slider, below(2), below(4097)});
    } else if (roll < 215) {
      pass.inputs.push_back({W::Box, below(2), below(2)});
    } else if (roll < 219) {
      pass.inputs.push_back({W::On, 0, 0});
    } else if (roll < 221) {
      pass.inputs.push_back({W::Off, 0, 0});
    } else if (roll < 225) {
      pass.inputs.push_back({W::Fly, below(600), 1 + below(8)});
    }
  }
  return script;
}

// Saved at random moments of long sessions, every snapshot is read back and
// goes on exactly: the fields that count on for as long as the instrument
// runs (the communication window's repeated line, the flight timer, the
// flight's progress) are read back at any size they reach.
TEST(Snapshot, LongSessionsSavedAtAnyMomentGoOnExactly) {
  constexpr std::size_t kSessionPasses[] = {3000, 12000, 30000, 100000};
  constexpr std::size_t kSavesPerSession = 5;
  constexpr std::size_t kRunOn = 1500;
  std::size_t windowFullOfOneLine = 0;
  std::size_t flying = 0;
  for (std::size_t s = 0; s < std::size(kSessionPasses); ++s) {
    const std::size_t passes = kSessionPasses[s];
    std::mt19937 random(static_cast<std::uint32_t>(7919 * (s + 1)));
    const std::vector<PassInputs> script = RandomLongInputs(random, passes);
    std::vector<std::size_t> saves;
    for (std::size_t i = 0; i < kSavesPerSession; ++i) {
      saves.push_back(std::uniform_int_distribution<std::size_t>(1, passes - 1)(random));
    }
    saves.push_back(passes - 1);
    std::sort(saves.begin(), saves.end());

    Front whole;
    // Copies loaded from a save, going on beside the whole session.
    std::vector<std::pair<std::unique_ptr<Front>, std::size_t>> beside;
    std::size_t nextSave = 0;
    for (std::size_t pass = 0; pass < passes; ++pass) {
      for (; nextSave < saves.size() && saves[nextSave] == pass; ++nextSave) {
        const Snapshot captured = whole.Captured();
        windowFullOfOneLine += captured.panel.commLines.repeats > CommLines::kMostLines ? 1U : 0U;
        flying += captured.flight && captured.flight->playing ? 1U : 0U;
        auto loaded = std::make_unique<Front>();
        std::string error;
        ASSERT_TRUE(loaded->Load(WriteSnapshot(captured), error))
            << passes << " passes, saved at " << pass << ": " << error;
        ASSERT_TRUE(loaded->Captured() == captured) << "saved at " << pass;
        Snapshot imaged;
        std::string record;
        const std::string recorded = whole.session.record().Bytes();
        ASSERT_TRUE(SnapshotFromImage(SnapshotImage(captured, recorded), imaged, &record) &&
                    imaged == captured && record == recorded)
            << "saved at " << pass << ": the image hands over the same";
        beside.emplace_back(std::move(loaded), pass + kRunOn);
      }
      whole.Apply(script[pass]);
      for (auto& [copy, until] : beside) {
        copy->Apply(script[pass]);
        ASSERT_TRUE(copy->SeesAs(whole)) << passes << " passes, pass " << pass;
        if (until == pass + 1) {
          ASSERT_TRUE(copy->Captured() == whole.Captured());
        }
      }
      std::erase_if(beside, [&](const auto& copy) { return copy.second <= pass + 1; });
    }
  }
  // The sessions reach the long-lived values that matter.
  EXPECT_GT(windowFullOfOneLine, kSavesPerSession);
  EXPECT_GT(flying, 2u);
}

// A snapshot of a session in its main loop with a flight, changed one way each.
std::string Sample() {
  Front front;
  front.session.PressOn();
  for (int pass = 0; pass < 90; ++pass) front.session.Step();
  front.Apply({{{PassInputs::What::Fly, 10, 2}}});
  return front.Saved();
}

std::string Changed(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// The value of the first field of that name set to a JSON text.
std::string Set(const std::string& text, const std::string& field, const std::string& value) {
  const std::string key = "\"" + field + "\": ";
  const std::size_t at = text.find(key);
  EXPECT_NE(at, std::string::npos) << field;
  if (at == std::string::npos) return text;
  const std::size_t begin = at + key.size();
  const std::size_t end = text.find_first_of(",\n", begin);
  return text.substr(0, begin) + value + text.substr(end);
}

struct BadCase {
  const char* name;
  std::string (*make)();
  const char* error;
};

const BadCase kBadCases[] = {
    {"empty", [] { return std::string(); },
     "state.json: not a snapshot: parse error at line 1, column 1: syntax error while parsing "
     "value - unexpected end of input"},
    {"truncated", [] { return Sample().substr(0, 5000); },
     "state.json: not a snapshot: parse error at line "},
    {"past the size cap", [] { return Sample() + std::string(kLargestSnapshotBytes, ' '); },
     "state.json: larger than 65536 bytes"},
    {"not an object", [] { return std::string("[1, 2]"); }, "state.json: [1,2] is not an object"},
    {"nested past the parser's stack",
     [] { return std::string(30000, '[') + std::string(30000, ']'); },
     "state.json: nested deeper than 16 levels: not a snapshot"},
    // The text, settings and the value make three levels of the deepest 16.
    {"nested as deep as a snapshot may",
     [] { return Set(Sample(), "qnh", std::string(14, '[') + std::string(14, ']')); },
     "state.json: settings.qnh: [[[[[[[[[[[[[[]]]]]]]]]]]]]] is not a whole number"},
    {"nested a level deeper",
     [] { return Set(Sample(), "qnh", std::string(15, '[') + std::string(15, ']')); },
     "state.json: nested deeper than 16 levels: not a snapshot"},
    {"another format", [] { return Changed(Sample(), "\"kvr9-snapshot\"", "\"kvr8-snapshot\""); },
     "state.json: format: \"kvr8-snapshot\" is not one of \"kvr9-snapshot\""},
    {"newer version", [] { return Changed(Sample(), "\"version\": 1", "\"version\": 2"); },
     "state.json: version: 2 is newer than this program reads (1)"},
    {"version missing", [] { return Changed(Sample(), "\"version\": 1,", ""); },
     "state.json: version: is missing"},
    {"unknown field", [] { return Changed(Sample(), "\"qnh\":", "\"qhn\":"); },
     "state.json: settings.qhn: is not a field of a snapshot"},
    {"a field whose name breaks the line",
     [] { return Changed(Sample(), "\"qnh\":", "\"q\\nh\":"); },
     "state.json: settings.q\\x0ah: is not a field of a snapshot"},
    {"field under another section",
     [] { return Changed(Sample(), "\"qnh\":", "\"altitude\": 0, \"qnh\":"); },
     "state.json: settings.altitude: is not a field of a snapshot"},
    {"wrong type", [] { return Changed(Sample(), "\"qnh\": 1013250", "\"qnh\": \"1013250\""); },
     "state.json: settings.qnh: \"1013250\" is not a whole number"},
    {"fraction", [] { return Changed(Sample(), "\"qnh\": 1013250", "\"qnh\": 1013250.5"); },
     "state.json: settings.qnh: 1013250.5 is not a whole number"},
    {"out of range", [] { return Changed(Sample(), "\"qnh\": 1013250", "\"qnh\": 2000000"); },
     "state.json: settings.qnh: 2000000 is out of range (940250..1080250)"},
    {"negative where none are", [] { return Set(Sample(), "asiZeroOffset", "-1"); },
     "state.json: settings.asiZeroOffset: -1 is out of range (0..4096)"},
    {"huge", [] { return Changed(Sample(), "\"qnh\": 1013250", "\"qnh\": 18446744073709551615"); },
     "state.json: settings.qnh: 18446744073709551615 is out of range (940250..1080250)"},
    {"one setting zero",
     [] { return Changed(Sample(), "\"asiCalPercent\": 100", "\"asiCalPercent\": 0"); },
     "state.json: settings.asiCalPercent: 0 is out of range (50..150)"},
    {"odd contrast", [] { return Changed(Sample(), "\"contrast\": 32", "\"contrast\": 33"); },
     "state.json: settings.contrast: 33 is not even"},
    {"speed beyond its unit",
     [] { return Changed(Sample(), "\"highAlarmSpeed\": 80", "\"highAlarmSpeed\": 300"); },
     "state.json: settings.highAlarmSpeed: 300 is out of range for mph (16..250)"},
    {"unknown unit",
     [] { return Changed(Sample(), "\"asiUnit\": \"mph\"", "\"asiUnit\": \"kmh\""); },
     "state.json: settings.asiUnit: \"kmh\" is not one of \"mph\", \"km/h\" or \"knots\""},
    {"unit as number", [] { return Changed(Sample(), "\"altUnit\": \"ft\"", "\"altUnit\": 0"); },
     "state.json: settings.altUnit: 0 is not one of \"ft\" or \"m\""},
    {"unknown screen",
     [] {
       return Changed(Sample(), "\"currentScreen\": \"MainScreen\"",
                      "\"currentScreen\": \"SecretScreen\"");
     },
     "state.json: ui.currentScreen: 'SecretScreen' is not a screen"},
    {"slider beyond its end", [] { return Set(Sample(), "asiAdcRaw", "5000"); },
     "state.json: airData.asiAdcRaw: 5000 is out of range (0..4096)"},
    {"flight log short", [] { return Changed(Sample(), "\"flightLog\": [", "\"flightLog\": [0,"); },
     "state.json: flightTimer.flightLog: is not a list of 48 bytes"},
    {"comm line too long",
     [] {
       return Changed(Sample(), "\"commLine\": \"\"",
                      "\"commLine\": \"" + std::string(50, 'x') + "\"");
     },
     "state.json: ui.commLine: is longer than 49 characters"},
    {"unknown phase",
     [] { return Changed(Sample(), "\"phase\": \"main-loop\"", "\"phase\": \"running\""); },
     "state.json: power.phase: \"running\" is not one of \"off\", \"splash\" or \"main-loop\""},
    {"splash over",
     [] {
       return Changed(Changed(Sample(), "\"phase\": \"main-loop\"", "\"phase\": \"splash\""),
                      "\"passesLeft\": 0", "\"passesLeft\": 0");
     },
     "state.json: power.splash.passesLeft: 0 is out of range (1..80) in the splash"},
    {"flag not boolean", [] { return Set(Sample(), "keyFast", "0"); },
     "state.json: panel.keyFast: 0 is not true or false"},
    {"unknown LED", [] { return Set(Sample(), "led", "\"dim\""); },
     "state.json: panel.led: \"dim\" is not one of \"unlit\" or \"lit\""},
    {"frame row short",
     [] {
       return Changed(Sample(),
                      "\".........................................................................."
                      "......................................................\"",
                      "\"...\"");
     },
     "state.json: lcd[0]: has 3 dots, not 128"},
    {"frame row long",
     [] {
       return Changed(
           Sample(),
           "\".........................................................................."
           "......................................................\"",
           "\"..........................................................................."
           "......................................................\"");
     },
     "state.json: lcd[0]: has 129 dots, not 128"},
    {"frame row not dots",
     [] {
       return Changed(Sample(),
                      "\".........................................................................."
                      "......................................................\"",
                      "\".........................................................................."
                      "....................................................x.\"");
     },
     "state.json: lcd[0]: has 'x' at 126; only '#' and '.' are dots"},
    {"negative count", [] { return Set(Sample(), "passesDone", "-1"); },
     "state.json: flight.passesDone: -1 is below 0"},
    {"flight pace", [] { return Set(Sample(), "passesPerSecond", "0"); },
     "state.json: flight.passesPerSecond: 0 is out of range (1..1000)"},
    {"flight moment", [] { return Set(Sample(), "fromSeconds", "-3.0"); },
     "state.json: flight.fromSeconds: is out of range (0..10000000)"},
};

TEST(Snapshot, BadSnapshotsAreRefusedWithOneLineAndChangeNothing) {
  for (const BadCase& bad : kBadCases) {
    SCOPED_TRACE(bad.name);
    Front front;
    front.session.PressOn();
    for (int pass = 0; pass < 20; ++pass) front.session.Step();
    const std::string before = front.Saved();
    std::string error;
    EXPECT_FALSE(front.Load(bad.make(), error));
    EXPECT_EQ(error.substr(0, std::string(bad.error).size()), bad.error);
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    EXPECT_EQ(front.Saved(), before);
  }
}

// An image is refused whole unless it is one this build wrote, unharmed.
TEST(Snapshot, DamagedImagesAreRefusedAndChangeNothing) {
  Snapshot sample;
  ASSERT_TRUE(ReadSnapshot(Sample(), "sample").ok);
  ASSERT_TRUE(SnapshotFromImage(SnapshotImage(ReadSnapshot(Sample(), "sample").snapshot), sample));
  const std::string image = SnapshotImage(sample);
  const auto flipped = [&image](std::size_t at) {
    std::string bytes = image;
    bytes[at] = static_cast<char>(bytes[at] ^ 0x10);
    return bytes;
  };
  const struct {
    const char* name;
    std::string bytes;
  } kDamaged[] = {
      {"empty", ""},
      {"truncated", image.substr(0, image.size() - 1)},
      {"a byte more", image + '\0'},
      {"a byte changed", flipped(image.size() / 2)},
      {"another build's stamp", flipped(0)},
      {"past the cap", image + std::string(kLargestSnapshotImageBytes, '\0')},
  };
  for (const auto& damaged : kDamaged) {
    Snapshot kept = sample;
    EXPECT_FALSE(SnapshotFromImage(damaged.bytes, kept)) << damaged.name;
    EXPECT_TRUE(kept == sample) << damaged.name;
  }
}

// Snapshots at the edges of what is taken, read from their text and from a
// file of their own.
TEST(Snapshot, SnapshotsAtTheEdgesAreTaken) {
  const auto speedsAtTheTop = [](const char* unit, const char* top) {
    std::string text =
        Changed(Sample(), "\"asiUnit\": \"mph\"", "\"asiUnit\": \"" + std::string(unit) + "\"");
    for (const char* speed : {"lowAlarmSpeed", "highAlarmSpeed", "takeoffSpeed"}) {
      text = Set(text, speed, top);
    }
    return text;
  };
  Snapshot apart = ReadSnapshot(Sample(), "sample").snapshot;
  apart.panel.shownFrame.bytes[0] ^= 1;  // the panel shows a frame the buffer no longer holds
  std::string atCap = Sample();
  atCap.resize(kLargestSnapshotBytes, ' ');
  const struct {
    const char* name;
    std::string text;
  } rows[] = {
      {"speeds at the top of mph", speedsAtTheTop("mph", "250")},
      {"speeds at the top of km/h", speedsAtTheTop("km/h", "402")},
      {"speeds at the top of knots", speedsAtTheTop("knots", "217")},
      {"shown LCD apart from the buffer", WriteSnapshot(apart)},
      {"exactly the size cap", atCap},
  };
  std::string folder = (std::filesystem::path(testing::TempDir()) / "kvr9_edges_XXXXXX").string();
  ASSERT_NE(mkdtemp(folder.data()), nullptr);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const SnapshotReadResult read = ReadSnapshot(row.text, "state.json");
    EXPECT_TRUE(read.ok) << read.error;
    const std::string path = folder + "/state.json";
    std::ofstream(path, std::ios::binary) << row.text;
    const SnapshotReadResult file = ReadSnapshotFile(path);
    EXPECT_TRUE(file.ok) << file.error;
  }
  std::filesystem::remove_all(folder);
  EXPECT_TRUE(ReadSnapshot(WriteSnapshot(apart), "apart").snapshot == apart);
}

// The image carries every screen of the table, as the current screen and
// as the one to return to.
TEST(Snapshot, TheImageCarriesEveryScreen) {
  Snapshot sample = ReadSnapshot(Sample(), "sample").snapshot;
  for (const ScreenEntry& entry : ScreenTable()) {
    sample.state.ui.currentScreen = entry.handler;
    sample.state.ui.returnScreen = entry.handler;
    Snapshot carried;
    EXPECT_TRUE(SnapshotFromImage(SnapshotImage(sample), carried) && carried == sample)
        << entry.name;
  }
}

}  // namespace
}  // namespace kvr9
