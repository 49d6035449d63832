// What the firmware has seen from the panel since the program started, in
// the order it saw it, written out as a kvr9-headless scenario that replays
// it pass for pass: the same frames, LED and state fields.
//
// The record starts with the program, not with an "ON": the instrument keeps
// some values across a power-on (the smoothing memories, the altitude
// converter, where the maximum values start), so a record that began later
// could not be replayed exactly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/instrument.h"
#include "host/panel/panel_observer.h"
#include "host/panel/panel_types.h"

namespace kvr9 {

class SessionRecord : public PanelObserver {
 public:
  // About three hours of a running window (a pass and a tick each 100 ms);
  // the scenario it makes stays within what kvr9-headless reads.
  static constexpr std::size_t kMostSteps = 200000;

  // The panel's inputs, as its handlers see them.
  void PowerOnClicked(bool running) override;
  void OffClicked() override;
  void KeyClicked(KeyEvent key, bool stored) override;
  void SliderMoved(SliderKind slider, std::int32_t position) override;
  void BoxChanged(BoxKind box, bool checked) override;
  void TimerTicked() override;

  // The firmware's ProcessPendingEvents: entered at the end of every pass,
  // left when the firmware goes on.
  void EventsBegin() override;
  void EventsEnd() override;

  // The session goes on from a saved moment: the record starts there, a
  // restart asked for before it still to come. firstPassIncluded: the pass
  // to come belongs to the step the record starts after, as the first pass
  // of a cycle belongs to "on".
  void StartOver(bool restartPending, bool firstPassIncluded = false);

  // The record as bytes, for another program of the same build to go on
  // with (host/snapshot/snapshot_image.h); SetFromBytes changes nothing
  // and says false for bytes that are no such record.
  std::string Bytes() const;
  bool SetFromBytes(std::string_view bytes);

  bool IsFull() const { return full_; }
  std::size_t StepCount() const { return steps_.size(); }

  // The scenario: the comment lines of header first, then one step a line.
  std::string AsScenario(std::string_view header) const;
  // The header a front end's copy starts with: whose session it was, from
  // when to when (UTC, "2026-12-09 05:22:32"), and that it replays.
  static std::string CopyHeader(std::string_view whose, std::string_view from, std::string_view to);

 private:
  // The panel's steps of a scenario.
  enum class Kind : std::uint8_t { On, Off, Key, Slider, Box, Pass, Tick };
  struct Step {
    Kind kind;
    std::uint8_t which;    // the key, slider or box
    bool flag;             // Key: stored; Box: checked
    std::uint32_t number;  // Slider: position; Pass, Tick: how many
  };

  void Append(Step step);
  void AppendCounted(Kind kind);

  std::vector<Step> steps_;
  bool full_ = false;
  // "ON" while running restarts once the firmware gets control back; the
  // events the window delivers before that still reach the old cycle.
  bool restartPending_ = false;
  // The first events after a power-on come at the end of the first splash
  // pass, which the scenario's "on" already includes.
  bool firstPassOfCycle_ = false;
};

}  // namespace kvr9
