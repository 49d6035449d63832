// A snapshot of one panel session: the whole instrument (its state, frame
// buffer and power cycle with the splash's progress), the panel's side and
// the flight being played, as plain values. Capturing and applying them
// needs no text format, so a front end can keep the JSON side elsewhere
// (snapshot_json.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/instrument.h"
#include "host/flights/flight_player.h"
#include "host/panel/panel_session.h"
#include "lcd/frame_buffer.h"

namespace kvr9 {

// A flight being played, as a player made anew goes on with it exactly:
// times in seconds from the profile's first sample.
struct SnapshotFlight {
  std::string name;  // the log's file name as it was opened; "demo" for the demo
  double fromSeconds = 0;
  double toSeconds = 0;
  std::uint32_t passesPerSecond = 10;
  std::uint32_t speedUp = 1;
  std::uint64_t passesDone = 0;
  std::uint64_t ticksDone = 0;
  bool playing = false;
  // The built-in demo flight, whatever the name says; a snapshot from before
  // this was kept names the demo "demo".
  bool demo = false;

  bool operator==(const SnapshotFlight&) const = default;
};

// Where a player stands in a flight whose log starts at startSeconds.
SnapshotFlight FlightOfPlayer(const FlightPlayer& player, double startSeconds, std::string name,
                              bool playing);

struct Snapshot {
  InstrumentState state;
  FrameBuffer frameBuffer;
  PowerPhase phase = PowerPhase::Off;
  bool running = false;
  bool restartRequested = false;
  SplashProgress splash;
  PanelSide panel;
  std::optional<SnapshotFlight> flight;

  bool operator==(const Snapshot&) const = default;
};

// Between two steps of the session.
Snapshot CaptureSnapshot(const PanelSession& session);

// Sets the instrument and the panel's side as the snapshot has them; the
// session's view is shown the frame and the LED. The flight is the front
// end's to take up.
void ApplySnapshot(const Snapshot& snapshot, PanelSession& session);

}  // namespace kvr9
