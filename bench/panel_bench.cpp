// Cost of showing one new frame in the window's LCD: painting it into the
// surface, and that plus Qt's repaint of the shown window; on the main
// display, also reading the new frame's text for its accessible description.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTest>
#include <array>

#include "core/instrument.h"
#include "panel/lcd_image.h"
#include "panel/pcmain.h"
#include "screens/screens.h"
#include "support/null_host.h"

namespace kvr9 {
namespace {

// Two frames that differ in every dot, so no pass finds its frame shown
// already.
std::array<FrameBuffer, 2> AlternatingFrames() {
  std::array<FrameBuffer, 2> frames;
  for (std::size_t i = 0; i < frames[0].bytes.size(); ++i) {
    frames[0].bytes[i] = static_cast<std::uint8_t>(i % 2 != 0 ? 0xAA : 0x55);
    frames[1].bytes[i] = static_cast<std::uint8_t>(~frames[0].bytes[i]);
  }
  return frames;
}

void BM_PaintLcd(benchmark::State& state) {
  const std::array<FrameBuffer, 2> frames = AlternatingFrames();
  QImage surface(257, 129, QImage::Format_RGB32);
  std::size_t n = 0;
  for (auto _ : state) PaintLcd(surface, frames[++n % 2], ArgbPixel(kLcdDefaultBlankDot), 2);
}
BENCHMARK(BM_PaintLcd);

// PresentFrameBuffer into the shown form, then the events that repaint it.
void BM_PresentFrameBufferShown(benchmark::State& state) {
  Instrument instrument;
  TForm1 form(instrument);
  form.show();
  if (!QTest::qWaitForWindowExposed(&form)) state.SkipWithError("the window was not shown");
  const std::array<FrameBuffer, 2> frames = AlternatingFrames();
  std::size_t n = 0;
  for (auto _ : state) {
    form.session().instrument().host->PresentFrameBuffer(frames[++n % 2]);
    QCoreApplication::processEvents();
  }
}
BENCHMARK(BM_PresentFrameBufferShown);

// The main display at two airspeeds, as it changes in flight: the frames
// differ in a few digits, and each is read as text before it is shown.
std::array<FrameBuffer, 2> MainDisplayFrames() {
  std::array<FrameBuffer, 2> frames;
  for (std::size_t i = 0; i < frames.size(); ++i) {
    Instrument instrument;
    testing::NullHost host;
    instrument.host = &host;
    RunPowerOnSequence(instrument);
    instrument.state.airData.altAdcRaw = 3000;
    instrument.state.airData.asiAdcRaw = i == 0 ? 400 : 1000;
    instrument.state.ui.currentScreen = MainScreen;
    for (int pass = 0; pass < 20; ++pass) MainLoopPass(instrument);
    frames[i] = instrument.frameBuffer;
  }
  return frames;
}

void BM_PresentMainDisplayShown(benchmark::State& state) {
  Instrument instrument;
  TForm1 form(instrument);
  form.show();
  if (!QTest::qWaitForWindowExposed(&form)) state.SkipWithError("the window was not shown");
  const std::array<FrameBuffer, 2> frames = MainDisplayFrames();
  std::size_t n = 0;
  for (auto _ : state) {
    form.session().instrument().host->PresentFrameBuffer(frames[++n % 2]);
    QCoreApplication::processEvents();
  }
}
BENCHMARK(BM_PresentMainDisplayShown);

}  // namespace
}  // namespace kvr9

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
