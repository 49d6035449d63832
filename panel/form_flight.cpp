// The demo flight and the sliders' tooltips: both read the converters the
// firmware's way, through the host library's player and reading tables.
#include <QLabel>
#include <QSlider>
#include <QStatusBar>

#include "host/panel/reading_units.h"
#include "panel/pcmain.h"

namespace kvr9 {

namespace {

// The window's pace is ten passes a second, so one pass plays 100 ms of the
// flight, and the window's timer gives the ticks.
constexpr std::uint32_t kFlightPassesPerSecond = 10;

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

// The sliders' tooltips name the reading each count settles at, in the
// pilot's units.
void TForm1::UpdateSliderToolTips() {
  const std::pair<QSlider*, SliderKind> sliders[] = {{TrackBar2, SliderKind::Altitude},
                                                     {TrackBar1, SliderKind::Airspeed}};
  for (const auto& [slider, kind] : sliders) {
    const QString tip = QString::fromStdString(
        SliderDescription(instrument_, kind, static_cast<std::uint32_t>(slider->value())));
    if (slider->toolTip() != tip) slider->setToolTip(tip);
  }
}

}  // namespace kvr9
