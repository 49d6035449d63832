// The steps a person writes to look at the instrument: the show steps,
// which print what the panel shows and holds, and the expect steps, which
// check it. Any front end can run them on its panel session: the headless
// driver between passes, a lesson on the live instrument.
#pragma once

#include <string>

#include "host/panel/panel_session.h"
#include "host/scenario/scenario.h"

namespace kvr9 {

// What a show step prints, every line ended by "\n".
std::string ShowStepText(const Scenario& scenario, const Step& step, PanelSession& session);

// Empty when the expectation holds; otherwise why not, in one line (an
// expect-lcd adds both pictures side by side on the lines after it).
std::string CheckStep(const Scenario& scenario, const Step& step, PanelSession& session);

}  // namespace kvr9
