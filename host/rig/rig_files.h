// The rig's panel kept as a snapshot's JSON text, in a file or not: what
// "Save state...", "Open state...", a shared link and the driver's
// save-state and load-state do. A text that is not a snapshot changes
// nothing.
#pragma once

#include <string>
#include <string_view>

#include "host/rig/panel_rig.h"

namespace kvr9 {

struct OpenedState {
  bool ok = false;
  std::string error;  // "NAME: field: what is wrong", one line
  SetFlight flight;
};

std::string StateText(const PanelRig& rig);
bool SaveStateFile(const PanelRig& rig, const std::string& path, std::string& problem);

// name stands for the text in the error.
OpenedState OpenStateText(PanelRig& rig, std::string_view text, const std::string& name);
OpenedState OpenStateFile(PanelRig& rig, const std::string& path);

}  // namespace kvr9
