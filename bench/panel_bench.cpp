// Cost of painting one frame into the window's LCD surface.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "core/instrument.h"
#include "panel/pcmain.h"

namespace kvr9 {
namespace {

void BM_PresentFrameBuffer(benchmark::State& state) {
  Instrument instrument;
  TForm1 form(instrument);
  FrameBuffer frame;
  for (std::size_t i = 0; i < frame.bytes.size(); ++i) {
    frame.bytes[i] = static_cast<std::uint8_t>(i % 2 != 0 ? 0xAA : 0x55);
  }
  form.PresentFrameBuffer(frame);  // the surface is created at the first frame
  for (auto _ : state) form.PresentFrameBuffer(frame);
}
BENCHMARK(BM_PresentFrameBuffer);

}  // namespace
}  // namespace kvr9

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
