// Flights and the sliders' tooltips: both read the converters the
// firmware's way, through the host library's readers, player and reading
// tables. The flight bar's widgets and texts are in form_flight_bar.cpp.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QSettings>
#include <QSlider>
#include <QUrl>

#include "host/flights/flight_summary.h"
#include "host/panel/reading_units.h"
#include "panel/form_layout.h"
#include "panel/pcmain.h"

namespace kvr9 {

namespace {

// The window's pace is ten passes a second, so one pass plays 100 ms of the
// flight times its speed-up, and the window's timer gives the ticks.
constexpr std::uint32_t kFlightPassesPerSecond = 10;

// The readers name a log by the path they were given; the bar names it by
// the file's own name.
std::string NamedByFile(const std::string& message, const std::string& path,
                        const std::string& name) {
  if (message.compare(0, path.size(), path) != 0) return message;
  return name + message.substr(path.size());
}

// A drop of exactly one local file is a log to open; anything else is
// refused before it lands.
QString DroppedFile(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) return {};
  const QUrl url = data->urls().front();
  return url.isLocalFile() ? url.toLocalFile() : QString();
}

// A slider put at a flight's moment: through its own change handler, also
// when it already stands there (at the start the sliders stand at 1 while
// the readings are 0).
void PutSlider(QSlider* slider, int position, TForm1& form, void (TForm1::*handler)()) {
  if (slider->value() == position) {
    (form.*handler)();
  } else {
    slider->setValue(position);
  }
}

}  // namespace

bool TForm1::OpenFlightLog(const QString& path) {
  const std::string file = QFile::encodeName(path).toStdString();
  const std::string name = QFileInfo(path).fileName().toStdString();
  ProfileReadResult read = ReadProfileFile(file);
  if (!read.Ok()) {
    // The flight stays as it was; the bar says why.
    flightMessage_ = NamedByFile(read.error, file, name);
    ShowFlightBar();
    UpdateFlightBar();
    return false;
  }
  // The reader's last warning for a log without airspeed says in an
  // engineer's words what the pilot's note says in plain ones.
  std::size_t warnings = read.warnings.size();
  if (read.airspeedFromGroundSpeed && warnings > 0) --warnings;
  std::string warning =
      warnings == 0 ? std::string() : NamedByFile(read.warnings.front(), file, name);
  std::string note = PilotNote(read);
  UseFlight(std::move(read.profile), name, std::move(note), std::move(warning));
  return true;
}

// Qt's file dialog keeps the folders it visited in the user's QtProject
// settings and starts from them; the simulator reads and writes no
// settings, so they are pointed where nothing can be read or written.
void TForm1::ChooseFlightLog() {
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("/dev/null"));
  auto* dialog = new QFileDialog(this, QStringLiteral("Open flight log"), QString(),
                                 QStringLiteral("Flight logs (*.igc *.IGC *.csv *.CSV);;"
                                                "All files (*)"));
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setFileMode(QFileDialog::ExistingFile);
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  connect(dialog, &QFileDialog::fileSelected, this, &TForm1::OpenFlightLog);
  dialog->open();
}

void TForm1::PlayDemoFlight(double fromSeconds) {
  UseFlight(DemoFlight(), "Demo flight", std::string(), std::string());
  MoveFlightTo(fromSeconds);
  PlayFlight();
}

void TForm1::UseFlight(FlightProfile profile, std::string name, std::string pilotNote,
                       std::string message) {
  flight_.reset();  // it points into the profile
  flightProfile_ = std::move(profile);
  flightName_ = std::move(name);
  flightPilotNote_ = std::move(pilotNote);
  flightMessage_ = std::move(message);
  flightSummaryUnits_ = {0xff, 0xff};
  flightPlaying_ = false;
  maximaAreTheFlights_ = false;
  ShowFlightBar();
  MoveFlightTo(0);
}

// While off, the flight waits for "ON", which loads the power-on settings:
// it is placed with those.
const Instrument& TForm1::FlownWith() const {
  return IsRunning(instrument_) ? instrument_ : powerOnSettings_;
}

void TForm1::StartFlightAt(double seconds) {
  flight_.emplace(flightProfile_, seconds, flightProfile_.EndSeconds(), kFlightPassesPerSecond,
                  flightSpeedUp_);
}

// The sliders go to the moment at once; the player goes on from the pass
// after it.
void TForm1::MoveFlightTo(double secondsFromStart) {
  if (flightProfile_.Empty()) return;
  StartFlightAt(flightProfile_.StartSeconds() + secondsFromStart);
  flightChecked_ = false;
  const FlightPass pass = flight_->Next(FlownWith());
  flightAt_ = pass.sample.seconds;
  PutSlidersAt(pass);
  UpdateFlightBar();
}

void TForm1::PutSlidersAt(const FlightPass& pass) {
  flightMovesSliders_ = true;
  PutSlider(TrackBar2, pass.altitudeCount, *this, &TForm1::TrackBar2Change);
  PutSlider(TrackBar1, pass.airspeedCount, *this, &TForm1::TrackBar1Change);
  flightMovesSliders_ = false;
}

void TForm1::PlayFlight() {
  if (!flight_) return;
  if (flight_->Finished()) MoveFlightTo(0);
  flightPlaying_ = true;
  UpdateFlightBar();
}

// A hand on a slider pauses the flight; the maxima are no longer the log's
// alone.
void TForm1::TakeOverFromFlight() {
  maximaAreTheFlights_ = false;
  flightPlaying_ = false;
  UpdateFlightBar();
}

void TForm1::PauseFlight() {
  if (!flightPlaying_) return;
  flightPlaying_ = false;
  UpdateFlightBar();
}

// While off, the button is "Fly": a click on "ON" (recorded as one); the
// maxima are the flight's until a hand moves a slider or the instrument
// is off again.
void TForm1::FlightPlayClick() {
  if (!flight_) return;
  if (IsRunning(instrument_)) {
    flightPlaying_ ? PauseFlight() : PlayFlight();
    return;
  }
  PlayFlight();
  flyWatch_ = true;
  flyReadings_.reset();
  maximaAreTheFlights_ = true;
  Button1Click();
  UpdateFlightBar();
}

// The maximum values start at power-on from the altitude and airspeed the
// previous run left; the splash raises them, never lowers them. After a
// run at the sliders' start (50860 ft) the log's maxima would never show.
// So once the readings have settled on the flight's first moment during
// the splash, maxima still above them come from before, and "Fly" clicks
// "ON" once more: the power cycle starts again from these readings.
void TForm1::WatchMaximaAfterFly() {
  if (!flyWatch_) return;
  if (instrument_.phase != PowerPhase::Splash) {
    flyWatch_ = false;
    return;
  }
  const AirData& air = instrument_.state.airData;
  const std::array<std::int64_t, 4> readings{air.altitude, air.airspeed, air.qnhAltFilter,
                                             air.asiFilterState};
  if (flyReadings_ != readings) {
    flyReadings_ = readings;
    return;
  }
  flyWatch_ = false;
  if (air.maxAltitude > air.altitude || air.maxAirspeed > air.airspeed) Button1Click();
}

void TForm1::SetFlightSpeed(std::uint32_t speedUp) {
  if (speedUp == flightSpeedUp_) return;
  flightSpeedUp_ = speedUp;
  if (flight_) {
    const bool checked = flightChecked_;
    StartFlightAt(flight_->NextSeconds());
    flightChecked_ = checked;
  }
  UpdateFlightBar();
}

void TForm1::CloseFlight() {
  flight_.reset();
  flightProfile_ = FlightProfile();
  flightPlaying_ = false;
  flightMessage_.clear();
  if (FlightBar != nullptr) FlightBar->hide();
  setFixedSize(kFormWidth, kFormHeight);
}

// Before each pass of the main loop: the sliders go where the flight is,
// through their own change handlers, so that labels, tooltips and the
// session record follow.
void TForm1::PlayFlightPass() {
  WatchMaximaAfterFly();
  if (flight_ && flightPlaying_ && instrument_.phase == PowerPhase::MainLoop) {
    // A speed-up's passes may stop short of the log's last moment; that
    // moment is flown too, so a flight ends where its log does.
    const double end = flightProfile_.EndSeconds();
    if (flight_->Finished() && flight_->NextSeconds() < end) {
      const bool checked = flightChecked_;
      StartFlightAt(end);
      flightChecked_ = checked;
    }
    if (flight_->Finished()) {
      flightPlaying_ = false;
    } else {
      // Checked at its first pass, with the settings it is flown with.
      // Settings that put part of it out of the converters' reach still
      // play it, at the nearest counts; the bar says so.
      if (!flightChecked_) {
        flightChecked_ = true;
        const std::string problem = flight_->CheckReach(instrument_);
        if (!problem.empty()) flightMessage_ = problem;
      }
      const FlightPass pass = flight_->Next(instrument_);
      flightAt_ = pass.sample.seconds;
      flightMovesSliders_ = true;
      TrackBar2->setValue(pass.altitudeCount);
      TrackBar1->setValue(pass.airspeedCount);
      flightMovesSliders_ = false;
    }
  }
  UpdateFlightBar();
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
  const QString path = DroppedFile(event->mimeData());
  if (path.isEmpty()) return;
  event->acceptProposedAction();
  OpenFlightLog(path);
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
