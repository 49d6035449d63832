// Stand mode, for a dealer's stand: a tour of the instrument, about a
// minute and a half, played over and over on the panel's own inputs as a
// lesson's solution is: "ON", stretches of the demo flight in the sliders,
// then keys and knob turns through the menus, each step with a caption in
// plain words. The first touch, click or key ends it and hands the
// instrument over as it stands (that input is not the instrument's); a
// front end starts the tour again from its start after a quiet minute.
// The tour and its rules are here once; a front end shows the caption,
// clicks "ON" when asked, and ends and resumes the mode.
#pragma once

#include <cstdint>
#include <span>

#include "core/instrument.h"
#include "host/flights/flight_control.h"
#include "host/panel/panel_inputs.h"

namespace kvr9 {

// What a front end says under the caption: how to end it.
inline constexpr const char* kStandTakeOver = "Touch, click or press any key to try it yourself.";
// ... and, once a visitor has ended it, that it comes back by itself.
inline constexpr const char* kStandResumes = "Stand mode resumes after a minute without a touch.";
// A quiet spell this long after the last input starts the tour again.
inline constexpr int kStandResumeSeconds = 60;

// One step of the tour. Each lasts its passes (kDefaultPassesPerSecond a
// second) and shows its caption all along.
struct StandStep {
  enum class Action : std::uint8_t {
    SwitchOn,  // "ON", with the sliders at the demo's start
    Fly,       // the demo flight from a moment of it, at x1
    Keys,      // a key or knob turn, times over, kStandKeyGapPasses apart
  };
  Action action = Action::Keys;
  double fromSeconds = 0;  // Fly: the demo's moment
  KeyEvent key = KeyNone;  // Keys
  std::uint32_t times = 1;
  std::uint32_t passes = 0;  // after the last key
  const char* caption = "";
};

inline constexpr std::uint32_t kStandKeyGapPasses = 5;

// The tour, from "ON" to the last step; the next loop starts with "ON"
// again, which puts every setting back to the power-on defaults.
std::span<const StandStep> StandTour();
// Passes a step lasts, and the whole tour.
std::uint32_t StandStepPasses(const StandStep& step);
std::uint32_t StandTourPasses();

class StandMode {
 public:
  StandMode(FlightControl& flight, PanelInputs& inputs) : flight_(flight), inputs_(inputs) {}

  // The tour at its start: the sliders at the demo's start, x1; the front
  // end then clicks "ON" (which, while on, starts the instrument afresh).
  void Start();
  bool Active() const { return active_; }
  // Before each pass, before the flight's own: the tour's next move. True
  // when "ON" is to be clicked now (the tour starting over).
  bool BeforePass();
  // Ends the mode: the flight pauses where it is; the instrument and the
  // sliders stay as they are.
  void End();
  // The caption of the step the tour is at; empty while it does not run.
  const char* Caption() const;

 private:
  FlightControl& flight_;
  PanelInputs& inputs_;
  bool active_ = false;
  std::size_t step_ = 0;
  std::uint32_t pass_ = 0;  // passes done in the step
};

}  // namespace kvr9
