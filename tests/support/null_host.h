// A host that shows nothing, allocates nothing and lets no events in: for
// measuring and for runs where only the firmware's own work matters.
#pragma once

#include "core/instrument.h"

namespace kvr9::testing {

class NullHost : public HostPanel {
 public:
  void PresentFrameBuffer(const FrameBuffer&) override {}
  void SetLcdVisible(bool) override {}
  void SetAlarmLed(bool) override {}
  bool IsCalibrateChecked() override { return calibrateChecked; }
  bool IsKeyFastChecked() override { return false; }
  void AppendCommLine(const char*) override {}
  void ProcessPendingEvents() override {}
  bool calibrateChecked = true;
};

}  // namespace kvr9::testing
