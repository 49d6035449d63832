#include "host/explore/explorer.h"

#include <chrono>
#include <deque>
#include <map>
#include <utility>

#include "core/limits.h"
#include "host/explore/explore_rules.h"
#include "host/panel/key_table.h"
#include "host/scenario/step_on_form.h"
#include "host/state/state_fields.h"
#include "screens/screen_table.h"
#include "screens/screens.h"

namespace kvr9 {
namespace {

// A key held on a value stops here at the latest: more than the widest
// range takes single steps (the take-off speed in km/h, 26..402).
constexpr std::uint16_t kMostPressesHeld = 1000;
// A slider move lets the readings settle: it ends once two passes in a row
// change neither reading, the alarm nor the flight, and at this at most.
constexpr std::uint16_t kMostSettlingPasses = 400;

// The firmware on a host of the walk's own: the panel's inputs as every
// front end applies them, the LED as the last pass left it, and the time
// each pass takes.
class WalkHost final : public HostPanel {
 public:
  WalkHost() { instrument_.host = this; }

  Instrument& instrument() { return instrument_; }
  PanelInputs& inputs() { return inputs_; }

  void Set(const ExploreMoment& moment) {
    instrument_.state = moment.state;
    instrument_.phase = moment.phase;
    instrument_.running = moment.running;
    instrument_.restartRequested = moment.restartRequested;
    instrument_.splash = moment.splash;
    inputs_.Restore(moment.inputs);
    ledLit_ = moment.ledLit;
  }

  ExploreMoment Moment() const {
    return {instrument_.state,
            instrument_.phase,
            instrument_.running,
            instrument_.restartRequested,
            instrument_.splash,
            inputs_.KeptNow(),
            ledLit_};
  }

  // A timer tick, then a pass (while on).
  void TickAndPass() {
    inputs_.TimerTick();
    Pass();
  }

  void Pass() {
    if (!IsRunning(instrument_)) return;
    const auto start = std::chrono::steady_clock::now();
    inputs_.EventsEnd();
    StepPowerCycle(instrument_);
    const double micros =
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
    if (micros > worstPassMicros) worstPassMicros = micros;
    ++passes;
  }

  double worstPassMicros = 0;
  std::uint64_t passes = 0;

 private:
  void PresentFrameBuffer(const FrameBuffer& /*frameBuffer*/) override {}
  void SetLcdVisible(bool /*visible*/) override {}
  void SetAlarmLed(bool lit) override { ledLit_ = lit; }
  bool IsCalibrateChecked() override { return inputs_.IsCalibrateChecked(); }
  bool IsKeyFastChecked() override { return inputs_.IsKeyFastChecked(); }
  void AppendCommLine(const char* /*text*/) override {}
  void ProcessPendingEvents() override { inputs_.EventsBegin(); }

  Instrument instrument_;
  PanelInputs inputs_{instrument_};
  bool ledLit_ = false;
};

std::uint16_t PositionFor(SliderKind slider, ReadingUnit unit, std::int32_t reading,
                          const Instrument& instrument) {
  Step step;
  step.kind = StepKind::Slider;
  step.slider = slider;
  step.unit = unit;
  step.reading = reading;
  std::uint32_t position = 0;
  std::string problem;
  SliderPositionFor(step, instrument, position, problem);
  return static_cast<std::uint16_t>(position);
}

// The walk's inputs. The slider positions cross the rules' thresholds at
// the power-on settings: the airspeed display's floor, the low alarm and
// the take-off speed (30 mph), the high alarm (80 mph), both ends of each
// slider, and the altitude either side of sea level.
std::vector<ExploreMove> WalkMoves(const Instrument& defaults) {
  std::vector<ExploreMove> moves;
  for (const KeyEvent key : {KeyPress, KeyClockwise, KeyAntiClockwise, KeyF1, KeyF2}) {
    moves.push_back({MoveKind::Key, key});
  }
  for (const KeyEvent key : {KeyPress, KeyClockwise, KeyAntiClockwise, KeyF1, KeyF2}) {
    moves.push_back({MoveKind::HoldKey, key});
  }
  moves.push_back({MoveKind::Box, KeyNone, BoxKind::Calibrate});
  moves.push_back({MoveKind::Box, KeyNone, BoxKind::KeyFast});
  const std::uint32_t low = defaults.state.settings.lowAlarmSpeed;
  const std::uint32_t high = defaults.state.settings.highAlarmSpeed;
  const struct {
    SliderKind slider;
    ReadingUnit unit;
    std::int32_t reading;
    const char* why;
  } places[] = {
      {SliderKind::Airspeed, ReadingUnit::Count, 0, "airspeed at rest"},
      {SliderKind::Airspeed, ReadingUnit::Mph, 10, "airspeed under the display's floor"},
      {SliderKind::Airspeed, ReadingUnit::Mph, static_cast<std::int32_t>(low) - 1,
       "airspeed under the low alarm and the take-off speed"},
      {SliderKind::Airspeed, ReadingUnit::Mph, static_cast<std::int32_t>(low),
       "airspeed at the low alarm and the take-off speed"},
      {SliderKind::Airspeed, ReadingUnit::Mph, static_cast<std::int32_t>(high),
       "airspeed at the high alarm"},
      {SliderKind::Airspeed, ReadingUnit::Mph, static_cast<std::int32_t>(high) + 1,
       "airspeed over the high alarm"},
      {SliderKind::Airspeed, ReadingUnit::Count, static_cast<std::int32_t>(kSliderHighest),
       "the airspeed slider's top"},
      {SliderKind::Altitude, ReadingUnit::Count, 0, "the altitude slider's foot"},
      {SliderKind::Altitude, ReadingUnit::Feet, -200, "altitude under sea level"},
      {SliderKind::Altitude, ReadingUnit::Feet, 1000, "altitude over sea level"},
      {SliderKind::Altitude, ReadingUnit::Count, static_cast<std::int32_t>(kSliderHighest),
       "the altitude slider's top"},
  };
  for (const auto& place : places) {
    ExploreMove move{MoveKind::Slider, KeyNone, BoxKind::Calibrate, place.slider};
    move.position = place.unit == ReadingUnit::Count
                        ? static_cast<std::uint16_t>(place.reading)
                        : PositionFor(place.slider, place.unit, place.reading, defaults);
    move.why = place.why;
    moves.push_back(move);
  }
  moves.push_back({MoveKind::Still});
  moves.push_back({MoveKind::On});
  moves.push_back({MoveKind::Off});
  return moves;
}

bool Settled(const InstrumentState& a, const InstrumentState& b) {
  return a.airData.airspeed == b.airData.airspeed && a.airData.altitude == b.airData.altitude &&
         a.airData.asiFilterState == b.airData.asiFilterState &&
         a.airData.qnhAltFilter == b.airData.qnhAltFilter &&
         a.airData.alarmActive == b.airData.alarmActive &&
         a.flightTimer.inFlight == b.flightTimer.inFlight;
}

std::int32_t SliderOf(const ExploreMoment& moment, SliderKind slider) {
  return slider == SliderKind::Altitude ? moment.state.airData.altAdcRaw
                                        : moment.state.airData.asiAdcRaw;
}

void AppendMoveLines(const ExploreMove& move, std::uint16_t count, std::vector<std::string>& out);

class Walk {
 public:
  Walk(const ExploreOptions& options, ExploreResult& result) : options_(options), r_(result) {}

  ExploreMoment MoveOnce(const ExploreMoment& moment, const ExploreMove& move) {
    host_.Set(moment);
    Apply(move, moment);
    return host_.Moment();
  }

  void Run() {
    // The moves' slider positions are worked out at the power-on settings.
    Instrument defaults;
    RunPowerOnSequence(defaults);
    r_.moves = WalkMoves(defaults);

    Add(KeyOf(host_.Moment()), host_.Moment(), 0, 0, 0, 0);
    for (std::uint32_t i = 0; i < r_.nodes.size(); ++i) {
      if (r_.nodes[i].depth >= options_.maxDepth) {
        r_.depthLimitReached = true;
        continue;
      }
      Expand(i);
      if (r_.stateLimitReached) break;
    }
    r_.passes = host_.passes;
    r_.worstPassMicros = host_.worstPassMicros;
    if (host_.worstPassMicros > options_.passBoundMicros) {
      std::uint16_t count = 0;
      const double again = WorstPassAgain(count);
      if (again > options_.passBoundMicros) {
        // The scenario ends with the slow move; no expectation can time it.
        Report(worstPassState_,
               {"pass-time",
                "a pass took " + std::to_string(again) + " us, over the bound of " +
                    std::to_string(options_.passBoundMicros) + " us",
                SlowMoveLines(count)});
      }
    }
    FindWaysHome();
  }

 private:
  void Expand(std::uint32_t from) {
    const ExploreMoment start = r_.nodes[from].moment;
    std::array<ExploreMoment, 6> afterKey;
    heldFindings_.clear();
    for (std::uint16_t m = 0; m < r_.moves.size(); ++m) {
      const ExploreMove& move = r_.moves[m];
      if (!Applies(move, start)) continue;
      if (move.kind == MoveKind::HoldKey) {
        HoldKey(from, m, start, afterKey[move.key]);
        continue;
      }
      host_.Set(start);
      const double worstBefore = host_.worstPassMicros;
      const std::uint16_t count = Apply(move, start);
      if (host_.worstPassMicros > worstBefore) {
        worstPassState_ = from;
        worstPassMove_ = m;
      }
      const ExploreMoment after = host_.Moment();
      if (move.kind == MoveKind::Key) afterKey[move.key] = after;
      Arrive(from, m, count, after);
      if (r_.stateLimitReached) return;
    }
    if (start.running && start.phase == PowerPhase::MainLoop) {
      std::vector<RuleFinding> findings;
      CheckKeys(start, afterKey, findings);
      for (RuleFinding& finding : findings) Report(from, std::move(finding));
    }
    // After the single keys: a rule a single key breaks already has the
    // shorter scenario.
    for (RuleFinding& finding : heldFindings_) Report(from, std::move(finding));
  }

  bool Applies(const ExploreMove& move, const ExploreMoment& at) const {
    const bool on = at.running;
    switch (move.kind) {
      case MoveKind::Key:
      case MoveKind::HoldKey:
      case MoveKind::Off:
        return on;
      case MoveKind::Slider:
        return on && SliderOf(at, move.slider) != move.position;
      case MoveKind::Still:
        return on && at.state.flightTimer.inFlight != 0;
      case MoveKind::On:
        return !on;
      case MoveKind::Box:
        return true;
    }
    return false;
  }

  // Applies a move on the host's instrument; the passes it ran.
  std::uint16_t Apply(const ExploreMove& move, const ExploreMoment& at) {
    PanelInputs& inputs = host_.inputs();
    switch (move.kind) {
      case MoveKind::Key:
      case MoveKind::HoldKey:
        inputs.ClickKey(move.key);
        host_.TickAndPass();
        host_.TickAndPass();
        return 2;
      case MoveKind::Box:
        inputs.SetBox(move.box, move.box == BoxKind::Calibrate ? !at.inputs.calibrateChecked
                                                               : !at.inputs.keyFastChecked);
        if (!at.running) return 0;
        host_.TickAndPass();
        host_.TickAndPass();
        return 2;
      case MoveKind::Slider: {
        inputs.MoveSlider(move.slider, move.position);
        std::uint16_t passes = 0;
        std::uint16_t still = 0;
        while (passes < kMostSettlingPasses && still < 2) {
          const InstrumentState before = host_.instrument().state;
          host_.TickAndPass();
          ++passes;
          still = Settled(before, host_.instrument().state) ? still + 1 : 0;
        }
        return passes;
      }
      case MoveKind::Still:
        for (int i = 0; i <= kLandingCountdownPasses; ++i) host_.Pass();
        return kLandingCountdownPasses + 1;
      case MoveKind::On:
        inputs.SwitchOn();
        for (int i = 0; i <= kSplashPasses; ++i) host_.Pass();
        return kSplashPasses + 1;
      case MoveKind::Off:
        inputs.PressOff();
        host_.Pass();
        return 1;
    }
    return 0;
  }

  // The slowest move timed again from its state, the least of a few tries:
  // on a shared machine one pass now and then waits for the processor, and
  // that is no slow pass of the firmware's.
  double WorstPassAgain(std::uint16_t& count) {
    constexpr int kTries = 3;
    const ExploreMoment& start = r_.nodes[worstPassState_].moment;
    double least = host_.worstPassMicros;
    for (int i = 0; i < kTries; ++i) {
      host_.Set(start);
      host_.worstPassMicros = 0;
      count = Apply(r_.moves[worstPassMove_], start);
      if (host_.worstPassMicros < least) least = host_.worstPassMicros;
    }
    return least;
  }

  std::vector<std::string> SlowMoveLines(std::uint16_t count) const {
    const ExploreMove& move = r_.moves[worstPassMove_];
    std::vector<std::string> lines;
    AppendMoveLines(move, move.kind == MoveKind::HoldKey ? 1 : count, lines);
    if (move.kind == MoveKind::Box) {
      const PanelInputs::Kept& boxes = r_.nodes[worstPassState_].moment.inputs;
      const bool ticked =
          move.box == BoxKind::Calibrate ? boxes.calibrateChecked : boxes.keyFastChecked;
      lines.front() += ticked ? " off" : " on";
    }
    return lines;
  }

  // The key again and again while each press moves a numeric setting the
  // screen edits and the state stays the same: a value walked to the end
  // of its range (or round it, for the speeds that wrap).
  void HoldKey(std::uint32_t from, std::uint16_t m, const ExploreMoment& start,
               const ExploreMoment& afterOne) {
    const ExploreKey key = r_.nodes[from].key;
    if (!(KeyOf(afterOne) == key) || !EditedValueMoved(key.screen, start, afterOne)) return;
    host_.Set(afterOne);
    const double worstBefore = host_.worstPassMicros;
    std::uint16_t presses = 1;
    ExploreMoment now = afterOne;
    while (presses < kMostPressesHeld) {
      const ExploreMoment before = now;
      Apply(r_.moves[m], now);
      ++presses;
      now = host_.Moment();
      // The presses pass states the walk does not keep (values in between
      // alike), so the key's rule is checked on each: a value that wraps or
      // stops a step early shows only here.
      CheckHeldPress(r_.moves[m].key, presses, before, now);
      if (!(KeyOf(now) == key) || !EditedValueMoved(key.screen, before, now)) break;
    }
    if (host_.worstPassMicros > worstBefore) {
      worstPassState_ = from;
      worstPassMove_ = m;
    }
    Arrive(from, m, presses, now);
  }

  void CheckHeldPress(KeyEvent key, std::uint16_t presses, const ExploreMoment& before,
                      const ExploreMoment& after) {
    std::vector<RuleFinding> findings;
    CheckKey(before, key, after, findings);
    for (RuleFinding& finding : findings) {
      std::vector<std::string> tail;
      for (std::uint16_t i = 1; i < presses; ++i) {
        for (std::string& line : KeyMoveLines(key)) tail.push_back(std::move(line));
      }
      tail.insert(tail.end(), finding.tail.begin(), finding.tail.end());
      finding.tail = std::move(tail);
      finding.message += " (press " + std::to_string(presses) + " of the key held)";
      heldFindings_.push_back(std::move(finding));
    }
  }

  static bool EditedValueMoved(ScreenHandler screen, const ExploreMoment& before,
                               const ExploreMoment& after) {
    for (const char* name : EditedSettings(screen)) {
      if (name == nullptr) continue;
      const StateField* field = FindStateField(name);
      if (field->get(before.state) != field->get(after.state)) return true;
    }
    return false;
  }

  void Arrive(std::uint32_t from, std::uint16_t move, std::uint16_t count,
              const ExploreMoment& after) {
    const ExploreKey key = KeyOf(after);
    const auto found = r_.index.find(key);
    std::uint32_t to = 0;
    const bool seen = found != r_.index.end();
    if (seen) {
      to = found->second;
    } else {
      if (r_.nodes.size() >= options_.maxStates) {
        r_.stateLimitReached = true;
        return;
      }
      to = Add(key, after, from, move, count, r_.nodes[from].depth + 1);
      if (after.running && after.phase == PowerPhase::MainLoop) {
        std::vector<RuleFinding> findings;
        CheckState(after, host_.instrument().frameBuffer, findings);
        for (RuleFinding& finding : findings) Report(to, std::move(finding));
      }
    }
    if (seen && after.running && after.phase == PowerPhase::MainLoop &&
        !(after.state.settings == r_.nodes[from].moment.state.settings)) {
      // A setting the key leaves out (the backlight, a unit shown) changed
      // the moment without making a state of it: its rules are checked
      // here, and a finding's scenario makes the move from the state.
      std::vector<RuleFinding> findings;
      CheckState(after, host_.instrument().frameBuffer, findings);
      for (RuleFinding& finding : findings) {
        std::vector<std::string> tail;
        AppendMoveLines(r_.moves[move], count, tail);
        tail.insert(tail.end(), finding.tail.begin(), finding.tail.end());
        finding.tail = std::move(tail);
        Report(from, std::move(finding));
      }
    }
    if (to != from) r_.edges.push_back({from, to, move, count});
  }

  std::uint32_t Add(const ExploreKey& key, const ExploreMoment& moment, std::uint32_t parent,
                    std::uint16_t move, std::uint16_t count, std::uint32_t depth) {
    const auto index = static_cast<std::uint32_t>(r_.nodes.size());
    r_.nodes.push_back({key, moment, parent, move, count, depth, -1});
    r_.index.emplace(key, index);
    return index;
  }

  // One violation a rule and a screen: the first found, on the shortest
  // path; later ones only count.
  void Report(std::uint32_t state, RuleFinding finding) {
    const std::pair<std::string, ScreenHandler> where{finding.rule, r_.nodes[state].key.screen};
    const auto seen = reported_.find(where);
    if (seen != reported_.end()) {
      ++r_.violations[seen->second].occurrences;
      return;
    }
    reported_.emplace(where, r_.violations.size());
    r_.violations.push_back(
        {finding.rule, std::move(finding.message), state, std::move(finding.tail), 1});
  }

  // Moves back to the main display, by a walk backwards from every state
  // that shows it.
  void FindWaysHome() {
    std::vector<std::vector<std::uint32_t>> into(r_.nodes.size());
    // By the keys alone: "OFF" and "ON" would lead home from anywhere.
    for (const ExploreEdge& edge : r_.edges) {
      const MoveKind kind = r_.moves[edge.move].kind;
      if (kind == MoveKind::Key || kind == MoveKind::HoldKey) into[edge.to].push_back(edge.from);
    }
    std::deque<std::uint32_t> queue;
    for (std::uint32_t i = 0; i < r_.nodes.size(); ++i) {
      if (r_.nodes[i].key.screen == MainScreen) {
        r_.nodes[i].homeDistance = 0;
        queue.push_back(i);
      }
    }
    while (!queue.empty()) {
      const std::uint32_t at = queue.front();
      queue.pop_front();
      for (const std::uint32_t back : into[at]) {
        if (r_.nodes[back].homeDistance >= 0) continue;
        r_.nodes[back].homeDistance = r_.nodes[at].homeDistance + 1;
        if (r_.nodes[back].homeDistance > r_.mostHomeDistance) {
          r_.mostHomeDistance = r_.nodes[back].homeDistance;
        }
        queue.push_back(back);
      }
    }
    // While off the way home is "ON"; a walk cut short has states it never
    // left, so only a finished walk can say a state has no way back.
    if (r_.stateLimitReached || r_.depthLimitReached) return;
    for (std::uint32_t i = 0; i < r_.nodes.size(); ++i) {
      const ExploreNode& node = r_.nodes[i];
      if (node.homeDistance >= 0 || node.key.screen == nullptr) continue;
      Report(i, {"home", DescribeKey(node.key) + ": no inputs lead back to the main display",
                 WayOutLines(node.moment)});
    }
  }

  const ExploreOptions& options_;
  ExploreResult& r_;
  WalkHost host_;
  std::uint32_t worstPassState_ = 0;
  std::uint16_t worstPassMove_ = 0;
  std::vector<RuleFinding> heldFindings_;  // the state being expanded's held keys
  std::map<std::pair<std::string, ScreenHandler>, std::size_t> reported_;
};

void AppendMoveLines(const ExploreMove& move, std::uint16_t count, std::vector<std::string>& out) {
  auto tickPasses = [&out](int passes) {
    for (int i = 0; i < passes; ++i) {
      out.emplace_back("tick");
      out.emplace_back("pass");
    }
  };
  switch (move.kind) {
    case MoveKind::Key:
      for (std::string& line : KeyMoveLines(move.key)) out.push_back(std::move(line));
      return;
    case MoveKind::HoldKey:
      for (std::uint16_t i = 0; i < count; ++i) {
        for (std::string& line : KeyMoveLines(move.key)) out.push_back(std::move(line));
      }
      return;
    case MoveKind::Box:
    case MoveKind::Slider:
      // A box move toggles; PathLines says where the box goes.
      out.push_back(MoveWord(move));
      tickPasses(count);
      return;
    case MoveKind::Off:
      out.emplace_back("off");
      return;
    case MoveKind::Still:
      out.push_back("pass " + std::to_string(count));
      return;
    case MoveKind::On:
      out.emplace_back("on");
      out.push_back("pass " + std::to_string(count - 1));
      return;
  }
}

}  // namespace

std::string MoveWord(const ExploreMove& move) {
  switch (move.kind) {
    case MoveKind::Key:
      return std::string("key ") + KeyByEvent(move.key)->word;
    case MoveKind::HoldKey:
      return std::string("hold key ") + KeyByEvent(move.key)->word;
    case MoveKind::Box:
      return std::string("box ") + BoxWord(move.box);
    case MoveKind::Slider:
      return std::string("slider ") + SliderWord(move.slider) + " " + std::to_string(move.position);
    case MoveKind::Still:
      return "still";
    case MoveKind::On:
      return "on";
    case MoveKind::Off:
      return "off";
  }
  return "";
}

ExploreMoment MoveFrom(const ExploreMoment& moment, const ExploreMove& move) {
  ExploreResult scratch;
  ExploreOptions options;
  Walk walk(options, scratch);
  return walk.MoveOnce(moment, move);
}

ExploreResult Explore(const ExploreOptions& options) {
  ExploreResult result;
  Walk walk(options, result);
  walk.Run();
  return result;
}

std::vector<std::string> PathLines(const ExploreResult& result, std::uint32_t state) {
  std::vector<std::uint32_t> chain;
  for (std::uint32_t at = state; at != 0; at = result.nodes[at].parent) chain.push_back(at);
  std::vector<std::string> lines;
  // Each box move toggles; the scenario says where the box goes.
  bool calibrate = false;
  bool keyFast = false;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    const ExploreNode& node = result.nodes[*it];
    const ExploreMove& move = result.moves[node.move];
    const std::size_t first = lines.size();
    AppendMoveLines(move, node.count, lines);
    if (move.kind == MoveKind::Box) {
      bool& box = move.box == BoxKind::Calibrate ? calibrate : keyFast;
      box = !box;
      lines[first] += box ? " on" : " off";
    }
  }
  return lines;
}

std::string ViolationScenario(const ExploreResult& result, const ExploreViolation& violation) {
  std::string text = "# " + violation.rule + ": " + violation.message + "\n";
  text += "# " + DescribeKey(result.nodes[violation.state].key) + "\n";
  for (const std::string& line : PathLines(result, violation.state)) text += line + "\n";
  for (const std::string& line : violation.tail) text += line + "\n";
  return text;
}

}  // namespace kvr9
