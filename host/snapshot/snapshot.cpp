#include "host/snapshot/snapshot.h"

namespace kvr9 {

SnapshotFlight FlightOfPlayer(const FlightPlayer& player, double startSeconds, std::string name,
                              bool playing) {
  const FlightPlayer::Progress played = player.Played();
  return SnapshotFlight{std::move(name),
                        player.FromSeconds() - startSeconds,
                        player.ToSeconds() - startSeconds,
                        player.PassesPerSecond(),
                        player.SpeedUp(),
                        played.passesDone,
                        played.ticksDone,
                        playing};
}

Snapshot CaptureSnapshot(const PanelSession& session) {
  const Instrument& instrument = session.instrument();
  Snapshot snapshot;
  snapshot.state = instrument.state;
  snapshot.frameBuffer = instrument.frameBuffer;
  snapshot.phase = instrument.phase;
  snapshot.running = instrument.running;
  snapshot.restartRequested = instrument.restartRequested;
  snapshot.splash = instrument.splash;
  snapshot.panel = session.Side();
  return snapshot;
}

void ApplySnapshot(const Snapshot& snapshot, PanelSession& session) {
  Instrument& instrument = session.instrument();
  instrument.state = snapshot.state;
  instrument.frameBuffer = snapshot.frameBuffer;
  instrument.phase = snapshot.phase;
  instrument.running = snapshot.running;
  instrument.restartRequested = snapshot.restartRequested;
  instrument.splash = snapshot.splash;
  session.RestoreSide(snapshot.panel);
}

}  // namespace kvr9
