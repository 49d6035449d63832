// Snapshots: capturing the session (plain values), writing them as JSON
// text, and reading and checking that text back and applying it, on a
// session in its main loop with a menu open. The text's size is reported
// as a counter.
#include <benchmark/benchmark.h>

#include <string>

#include "host/panel/panel_session.h"
#include "host/snapshot/snapshot.h"
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

}  // namespace
}  // namespace kvr9

BENCHMARK_MAIN();
