#include "host/panel/session_record.h"

#include <cstddef>
#include <cstring>
#include <string>

#include "host/panel/key_table.h"

namespace kvr9 {

namespace {

const char* KeyWord(std::uint8_t key) {
  const InstrumentKey* named = KeyByEvent(static_cast<KeyEvent>(key));
  return named != nullptr ? named->word : "none";
}

}  // namespace

void SessionRecord::PowerOnClicked(bool running) {
  if (running) {
    restartPending_ = true;
    return;
  }
  Append({Kind::On, 0, false, 0});
  firstPassOfCycle_ = true;
}

void SessionRecord::OffClicked() {
  Append({Kind::Off, 0, false, 0});
}

void SessionRecord::KeyClicked(KeyEvent key, bool stored) {
  Append({Kind::Key, key, stored, 0});
}

void SessionRecord::SliderMoved(SliderKind slider, std::int32_t position) {
  const auto which = static_cast<std::uint8_t>(slider);
  const auto number = static_cast<std::uint32_t>(position < 0 ? 0 : position);
  // Only where the slider stands at the next pass matters to the firmware.
  if (!full_ && !steps_.empty() && steps_.back().kind == Kind::Slider &&
      steps_.back().which == which) {
    steps_.back().number = number;
    return;
  }
  Append({Kind::Slider, which, false, number});
}

void SessionRecord::BoxChanged(BoxKind box, bool checked) {
  Append({Kind::Box, static_cast<std::uint8_t>(box), checked, 0});
}

void SessionRecord::TimerTicked() {
  AppendCounted(Kind::Tick);
}

void SessionRecord::EventsBegin() {
  if (firstPassOfCycle_) {
    firstPassOfCycle_ = false;
    return;
  }
  AppendCounted(Kind::Pass);
}

void SessionRecord::StartOver(bool restartPending, bool firstPassIncluded) {
  steps_.clear();
  full_ = false;
  restartPending_ = restartPending;
  firstPassOfCycle_ = firstPassIncluded;
}

std::string SessionRecord::Bytes() const {
  const char flags[] = {static_cast<char>(full_), static_cast<char>(restartPending_),
                        static_cast<char>(firstPassOfCycle_)};
  std::string bytes(flags, sizeof flags);
  bytes.append(reinterpret_cast<const char*>(steps_.data()), steps_.size() * sizeof(Step));
  return bytes;
}

bool SessionRecord::SetFromBytes(std::string_view bytes) {
  constexpr std::size_t kFlags = 3;
  if (bytes.size() < kFlags || (bytes.size() - kFlags) % sizeof(Step) != 0 ||
      (bytes.size() - kFlags) / sizeof(Step) > kMostSteps) {
    return false;
  }
  for (std::size_t i = 0; i < kFlags; ++i) {
    if (bytes[i] != 0 && bytes[i] != 1) return false;
  }
  std::vector<Step> steps((bytes.size() - kFlags) / sizeof(Step));
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const std::string_view step = bytes.substr(kFlags + i * sizeof(Step), sizeof(Step));
    const auto kind = static_cast<std::uint8_t>(step[offsetof(Step, kind)]);
    const auto flag = static_cast<std::uint8_t>(step[offsetof(Step, flag)]);
    if (kind > static_cast<std::uint8_t>(Kind::Tick) || flag > 1) return false;
  }
  std::memcpy(steps.data(), bytes.data() + kFlags, bytes.size() - kFlags);
  steps_ = std::move(steps);
  full_ = bytes[0] != 0;
  restartPending_ = bytes[1] != 0;
  firstPassOfCycle_ = bytes[2] != 0;
  return true;
}

void SessionRecord::EventsEnd() {
  if (!restartPending_) return;
  restartPending_ = false;
  Append({Kind::On, 0, false, 0});
  firstPassOfCycle_ = true;
}

// Once a step has been left out, nothing more is taken, not even into the
// last step: the record stays an exact prefix of the session.
void SessionRecord::Append(Step step) {
  if (full_) return;
  if (steps_.size() == kMostSteps) {
    full_ = true;
    return;
  }
  steps_.push_back(step);
}

void SessionRecord::AppendCounted(Kind kind) {
  if (!full_ && !steps_.empty() && steps_.back().kind == kind &&
      steps_.back().number < kMostPassesOrTicks) {
    ++steps_.back().number;
    return;
  }
  Append({kind, 0, false, 1});
}

std::string SessionRecord::AsScenario(std::string_view header) const {
  std::string text(header);
  if (!text.empty() && text.back() != '\n') text += '\n';
  const std::string fullNote = "# The record is full: it holds the session's first " +
                               std::to_string(kMostSteps) +
                               " steps, and what came after them is not here.\n";
  if (full_) text += fullNote;
  for (const Step& step : steps_) {
    switch (step.kind) {
      case Kind::On:
        text += "on\n";
        break;
      case Kind::Off:
        text += "off\n";
        break;
      case Kind::Key:
        text += "key ";
        text += KeyWord(step.which);
        text += step.flag ? "\n" : "  # dropped: a key was still pending\n";
        break;
      case Kind::Slider:
        text += std::string("slider ") + SliderWord(static_cast<SliderKind>(step.which)) + " " +
                std::to_string(step.number) + "\n";
        break;
      case Kind::Box:
        text += std::string("box ") + BoxWord(static_cast<BoxKind>(step.which)) +
                (step.flag ? " on\n" : " off\n");
        break;
      case Kind::Pass:
      case Kind::Tick:
        text += step.kind == Kind::Pass ? "pass" : "tick";
        text += step.number == 1 ? "\n" : " " + std::to_string(step.number) + "\n";
        break;
    }
  }
  // A restart asked for in the pass now ending belongs to the session too.
  if (restartPending_ && !full_) text += "on\n";
  if (full_) text += fullNote;
  return text;
}

std::string SessionRecord::CopyHeader(std::string_view whose, std::string_view from,
                                      std::string_view to) {
  return "# A session of " + std::string(whose) + ", recorded from " + std::string(from) + " to " +
         std::string(to) +
         " UTC.\n# Replays in kvr9-headless with the same frames, LED and state.\n";
}

}  // namespace kvr9
