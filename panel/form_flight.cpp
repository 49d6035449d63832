// The demo flight and the sliders' tooltips: both read the converters the
// firmware's way, through the host library's player and reading tables.
#include <QLabel>
#include <QSlider>
#include <QStatusBar>

#include "host/reading_units.h"
#include "panel/pcmain.h"

namespace kvr9 {

namespace {

// The window's pace is ten passes a second, so one pass plays 100 ms of the
// flight, and the window's timer gives the ticks.
constexpr std::uint32_t kFlightPassesPerSecond = 10;

const char* ShownUnit(const Settings& settings, SliderKind slider) {
  if (slider == SliderKind::Altitude) return settings.altUnit == 1 ? "m" : "ft";
  return settings.asiUnit == 1 ? "km/h" : settings.asiUnit == 2 ? "knots" : "mph";
}

ReadingUnit UnitOf(const Settings& settings, SliderKind slider) {
  if (slider == SliderKind::Altitude) {
    return settings.altUnit == 1 ? ReadingUnit::Metres : ReadingUnit::Feet;
  }
  return settings.asiUnit == 1   ? ReadingUnit::Kmh
         : settings.asiUnit == 2 ? ReadingUnit::Knots
                                 : ReadingUnit::Mph;
}

}  // namespace

void TForm1::PlayDemoFlight(double fromSeconds) {
  const FlightProfile& demo = DemoFlight();
  flight_.emplace(demo, demo.StartSeconds() + fromSeconds, demo.EndSeconds(),
                  kFlightPassesPerSecond);
  flightChecked_ = false;
  StatusBar1->showMessage(QStringLiteral("Demo flight"));
}

void TForm1::StopDemoFlight() {
  if (!flight_) return;
  flight_.reset();
  StatusBar1->clearMessage();
}

// Before each pass: the sliders go where the flight is, through their own
// change handlers, so that labels, tooltips and the session record follow.
void TForm1::PlayFlightPass() {
  if (!flight_ || !IsRunning(instrument_)) return;
  if (flight_->Finished()) {
    StopDemoFlight();
    return;
  }
  // Checked at its first pass, with the settings it is flown with (chosen
  // while off, it waits for the power-on defaults). Settings that put part
  // of it out of the converters' reach still play it, at the nearest
  // counts; the status bar says so.
  if (!flightChecked_) {
    flightChecked_ = true;
    const std::string problem = flight_->CheckReach(instrument_);
    if (!problem.empty()) {
      StatusBar1->showMessage(
          QStringLiteral("Demo flight: %1").arg(QString::fromStdString(problem)));
    }
  }
  const FlightPass pass = flight_->Next(instrument_);
  flightMovesSliders_ = true;
  TrackBar2->setValue(pass.altitudeCount);
  TrackBar1->setValue(pass.airspeedCount);
  flightMovesSliders_ = false;
}

// "Airspeed converter: 1234 counts, about 90 mph": the reading the count
// settles at with the present settings, in the pilot's units. Before the
// first power-on the settings are all zero and there is no reading to give.
void TForm1::UpdateSliderToolTips() {
  const Settings& settings = instrument_.state.settings;
  const bool hasSettings = settings.qnh != 0;
  const struct {
    QSlider* slider;
    SliderKind kind;
    const char* name;
  } sliders[] = {{TrackBar2, SliderKind::Altitude, "Altitude"},
                 {TrackBar1, SliderKind::Airspeed, "Airspeed"}};
  for (const auto& s : sliders) {
    const auto count = static_cast<std::uint32_t>(s.slider->value());
    QString tip = QStringLiteral("%1 converter: %2 counts").arg(QLatin1String(s.name)).arg(count);
    if (hasSettings) {
      const std::int32_t reading =
          SettledReading(instrument_, s.kind, ReadingOf::Display, UnitOf(settings, s.kind), count);
      tip += QStringLiteral(", about %1 %2")
                 .arg(reading)
                 .arg(QLatin1String(ShownUnit(settings, s.kind)));
    }
    if (s.slider->toolTip() != tip) s.slider->setToolTip(tip);
  }
}

}  // namespace kvr9
