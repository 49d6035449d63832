// Flying a long log: the whole main loop (every pass's flight logic, air
// data, drawing of the main display) with the player setting both sliders
// and the ticks before each pass, at the default ten passes a second.
// The profile is made here: three hours, a sample every 4 s as an IGC
// logger writes them, climbing and gliding between 500 and 9000 ft.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cmath>
#include <vector>

#include "core/instrument.h"
#include "host/flights/flight_player.h"
#include "support/flying_host.h"

namespace kvr9 {
namespace {

FlightProfile Soaring(double hours) {
  std::vector<ProfileSample> samples;
  for (double t = 0; t <= hours * 3600; t += 4) {
    samples.push_back({t, 4750 + 4250 * std::sin(t / 900), 75 + 35 * std::sin(t / 131)});
  }
  return FlightProfile(std::move(samples));
}

using testing::FlyingHost;

long PeakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// Argument: the flight's length in minutes.
void BM_FlyProfile(benchmark::State& state) {
  const FlightProfile profile = Soaring(static_cast<double>(state.range(0)) / 60);
  const long peakBefore = PeakKilobytes();
  std::uint64_t passes = 0;
  for (auto _ : state) {
    Instrument instrument;
    FlightPlayer player(profile);
    FlyingHost host(instrument, player);
    instrument.host = &host;
    PowerOn(instrument);
    passes += static_cast<std::uint64_t>(profile.DurationSeconds() * kDefaultPassesPerSecond);
    benchmark::DoNotOptimize(instrument.state.airData.maxAltitude);
  }
  state.counters["passes/s"] =
      benchmark::Counter(static_cast<double>(passes), benchmark::Counter::kIsRate);
  state.counters["peakGrowthKB"] = static_cast<double>(PeakKilobytes() - peakBefore);
}
BENCHMARK(BM_FlyProfile)->Arg(10)->Arg(60)->Arg(180)->Unit(benchmark::kMillisecond);

// The reading tables a player makes when the settings change.
void BM_MakeReadingTable(benchmark::State& state) {
  Instrument instrument;
  LoadDefaultSettings(instrument);
  LoadDefaultCalibration(instrument);
  const auto slider = state.range(0) == 0 ? SliderKind::Altitude : SliderKind::Airspeed;
  state.SetLabel(state.range(0) == 0 ? "altitude" : "airspeed, FAST filter");
  for (auto _ : state) {
    SettledReadings readings;
    readings.Update(instrument, slider, ReadingOf::Profile, ReadingUnit::Count);
    benchmark::DoNotOptimize(readings.Highest());
  }
}
BENCHMARK(BM_MakeReadingTable)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kvr9

BENCHMARK_MAIN();
