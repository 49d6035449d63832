// The page's one panel session, with its flight bar and stand mode: what
// the exports of both of the page's programs (page_entry.cpp, and
// page_full.cpp in the full one) work on.
#pragma once

#include <string>

#include "host/flights/flight_control.h"
#include "host/flights/stand_mode.h"
#include "host/panel/panel_session.h"
#include "host/snapshot/snapshot.h"
#include "web/web_panel.h"

namespace kvr9::web {

// The sliders put at a flight's moment, through the panel's inputs, so the
// session copy holds every move. The bar starts with the demo flight, but
// the panel keeps its own start (the sliders at 1) until a flight is chosen.
struct Page {
  WebPanel panel;
  PanelSession session{panel};
  bool flightChosen = false;
  FlightControl flight{
      session.instrument(), [this](const FlightPass& pass, bool /*jump*/) {
        if (!flightChosen) return;
        session.inputs().MoveSlider(SliderKind::Altitude, pass.altitudeCount, true);
        session.inputs().MoveSlider(SliderKind::Airspeed, pass.airspeedCount, true);
      }};
  StandMode stand{flight, session.inputs()};
  std::string logText;    // a log's name and bytes, while it is read
  std::string input;      // bytes the page wrote for the next call to read
  std::string answer;     // the last text an export returned, read by the page
  bool fromLink = false;  // the record starts at a shared link's setup
  // The image of the instrument as the first lesson found it, while the
  // lessons have it; empty otherwise.
  std::string beforeLessons;
  Page();
};

Page& ThePage();

// The session now, with the flight the bar plays.
Snapshot SessionSnapshot();

// What the page shows of a session set back from a snapshot, as a JSON
// object: "running", the boxes "calibrate" and "keyFast", the
// communication window's rows "commRows" (oldest first), and "flight", a
// note when the snapshot's flight could not be taken up ("" otherwise).
// The instrument and the panel's side are set, and the flight taken up
// when it is the demo or the log the flight bar holds.
std::string SetBack(const Snapshot& snapshot);

}  // namespace kvr9::web
