// A host that plays a flight before each pass and switches the instrument
// off at its end, for the player's tests and benchmark.
#pragma once

#include "core/instrument.h"
#include "host/flights/flight_player.h"
#include "host/panel/panel_inputs.h"
#include "support/null_host.h"

namespace kvr9::testing {

class FlyingHost : public NullHost {
 public:
  FlyingHost(Instrument& instrument, FlightPlayer& player)
      : instrument_(instrument), player_(player), inputs_(instrument) {}
  void ProcessPendingEvents() override {
    if (player_.Finished()) {
      RequestStop(instrument_);
      return;
    }
    player_.PlayNext(inputs_, instrument_);
  }

 private:
  Instrument& instrument_;
  FlightPlayer& player_;
  PanelInputs inputs_;
};

}  // namespace kvr9::testing
