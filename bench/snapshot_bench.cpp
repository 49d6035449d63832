// Snapshots: capturing the session (plain values), writing them as JSON
// text, and reading and checking that text back and applying it, on a
// session in its main loop with a menu open; and the same session handed
// over as an image with its record (the page's way between its programs
// and visits). The text's and the image's sizes are reported as counters.
#include <benchmark/benchmark.h>

#include <string>

#include "host/panel/panel_session.h"
#include "host/snapshot/snapshot.h"
#include "host/snapshot/snapshot_image.h"
#include "host/snapshot/snapshot_json.h"

namespace kvr9 {
namespace {

class QuietView : public PanelView {
 public:
  void ShowFrame(const FrameBuffer&, bool) override {}
};

// Switched on, past the splash, the main menu open.
void Started(PanelSession& session) {
  session.PressOn();
  for (int pass = 0; pass < 90; ++pass) session.Step();
  session.inputs().ClickKey(KeyPress);
  session.Step();
}

void BM_CaptureSnapshot(benchmark::State& state) {
  QuietView view;
  PanelSession session(view);
  Started(session);
  for (auto _ : state) {
    Snapshot snapshot = CaptureSnapshot(session);
    benchmark::DoNotOptimize(snapshot);
  }
}
BENCHMARK(BM_CaptureSnapshot);

void BM_SaveSnapshot(benchmark::State& state) {
  QuietView view;
  PanelSession session(view);
  Started(session);
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string text = WriteSnapshot(CaptureSnapshot(session));
    bytes = text.size();
    benchmark::DoNotOptimize(text.data());
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_SaveSnapshot);

void BM_LoadSnapshot(benchmark::State& state) {
  QuietView view;
  PanelSession session(view);
  Started(session);
  const std::string text = WriteSnapshot(CaptureSnapshot(session));
  PanelSession fresh(view);
  for (auto _ : state) {
    const SnapshotReadResult read = ReadSnapshot(text, "bench");
    if (!read.ok) state.SkipWithError(read.error.c_str());
    ApplySnapshot(read.snapshot, fresh);
  }
  state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_LoadSnapshot);

// Captured and written as an image with the session's record, then read
// and applied to another session with the record: the page's handover.
void BM_HandOverImage(benchmark::State& state) {
  QuietView view;
  PanelSession session(view);
  Started(session);
  PanelSession fresh(view);
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string image = SnapshotImage(CaptureSnapshot(session), session.record().Bytes());
    Snapshot snapshot;
    std::string record;
    if (!SnapshotFromImage(image, snapshot, &record)) state.SkipWithError("image refused");
    ApplySnapshot(snapshot, fresh);
    fresh.record().SetFromBytes(record);
    bytes = image.size();
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_HandOverImage);

}  // namespace
}  // namespace kvr9

BENCHMARK_MAIN();
