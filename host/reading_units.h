// Slider positions asked for in a pilot's units ("3000ft", "80knots"): the
// converter count whose reading comes nearest, found by running the
// firmware's own arithmetic over every count with the instrument's present
// settings, as one pass would read it before smoothing and filtering.
#pragma once

#include <cstdint>
#include <string>

#include "core/instrument.h"
#include "host/scenario.h"

namespace kvr9 {

struct CountChoice {
  bool reachable = false;  // false: the reading lies outside [lowest, highest]
  std::uint32_t count = 0;
  std::int32_t lowest = 0;   // the smallest reading any count gives
  std::int32_t highest = 0;  // the largest
};

// Ties go to the lower count.
CountChoice CountForReading(const Instrument& instrument, SliderKind slider, ReadingUnit unit,
                            std::int32_t reading);

const char* UnitName(ReadingUnit unit);

}  // namespace kvr9
