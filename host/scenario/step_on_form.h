// What one of a scenario's input steps asks of the panel's form, for a
// front end whose tests work the form as a person does (the page's taps):
// the control to work and, for a slider, the position the step's reading
// comes to with the instrument's settings now, as the executor chooses it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/instrument.h"
#include "host/scenario/scenario.h"

namespace kvr9 {

struct StepOnForm {
  std::string word;           // the step's first word: "on", "key", "slider", "box", "pass", "tick"
  std::string control;        // the form's control to work; empty for "pass" and "tick"
  std::int32_t position = 0;  // slider: where it goes
  bool checked = false;       // box: ticked
  std::uint32_t count = 0;    // pass, tick: how many
  std::string error;          // why the line is no such step; then nothing else holds
};

// The position a slider step comes to with the instrument's settings now;
// false, with why, when no position reads the step's reading.
bool SliderPositionFor(const Step& step, const Instrument& instrument, std::uint32_t& position,
                       std::string& problem);

StepOnForm StepOnTheForm(std::string_view line, const Instrument& instrument);

}  // namespace kvr9
