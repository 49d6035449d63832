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
#include <QStatusBar>
#include <QUrl>

#include "host/flights/flight_summary.h"
#include "host/panel/reading_units.h"
#include "panel/form_layout.h"
#include "panel/pcmain.h"

namespace kvr9 {

namespace {

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
  const std::string name = OneLineName(QFileInfo(path).fileName().toStdString());
  ProfileReadResult read = ReadProfileFile(file);
  if (!read.Ok()) {
    // The flight stays as it was; the bar says why.
    flight_.Refuse(NamedByFile(read.error, file, name));
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
  if (awaitedFlight_ && awaitedFlight_->name == name) {
    // The log an opened state was flying: on from the state's moment.
    const SnapshotFlight flight = *awaitedFlight_;
    awaitedFlight_.reset();
    ShowFlightBar();
    flight_.Resume(std::move(read.profile), name, flight.fromSeconds, flight.toSeconds,
                   flight.passesPerSecond, flight.speedUp, {flight.passesDone, flight.ticksDone},
                   flight.playing);
    UpdateFlightBar();
    StatusBar1->clearMessage();
    return true;
  }
  awaitedFlight_.reset();
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
  UseFlight(DemoFlight(), kDemoFlightName, std::string(), std::string());
  flight_.MoveTo(fromSeconds);
  flight_.Play();
  UpdateFlightBar();
}

void TForm1::UseFlight(FlightProfile profile, std::string name, std::string pilotNote,
                       std::string message) {
  ShowFlightBar();
  flight_.Use(std::move(profile), std::move(name), std::move(pilotNote), std::move(message));
  UpdateFlightBar();
}

void TForm1::MoveFlightTo(double secondsFromStart) {
  flight_.MoveTo(secondsFromStart);
  UpdateFlightBar();
}

// Through the sliders' own change handlers, so that labels, tooltips and
// the session record follow; put at a moment, also where they stand.
void TForm1::PutSlidersAt(const FlightPass& pass, bool jump) {
  flightMovesSliders_ = true;
  if (jump) {
    PutSlider(TrackBar2, pass.altitudeCount, *this, &TForm1::TrackBar2Change);
    PutSlider(TrackBar1, pass.airspeedCount, *this, &TForm1::TrackBar1Change);
  } else {
    TrackBar2->setValue(pass.altitudeCount);
    TrackBar1->setValue(pass.airspeedCount);
  }
  flightMovesSliders_ = false;
}

// A hand on a slider pauses the flight.
void TForm1::TakeOverFromFlight() {
  flight_.TakeOver();
  UpdateFlightBar();
}

void TForm1::PauseFlight() {
  flight_.Pause();
  UpdateFlightBar();
}

// While off, the button is "Fly": a click on "ON" (recorded as one).
void TForm1::FlightPlayClick() {
  if (!flight_.Open()) return;
  if (IsRunning(instrument_)) {
    flight_.Playing() ? flight_.Pause() : flight_.Play();
  } else {
    flight_.Fly();
    Button1Click();
  }
  UpdateFlightBar();
}

void TForm1::SetFlightSpeed(std::uint32_t speedUp) {
  flight_.SetSpeed(speedUp);
  UpdateFlightBar();
}

void TForm1::CloseFlight() {
  flight_.Close();
  if (FlightBar != nullptr) FlightBar->hide();
  FitWindow();
}

// Before each pass of the running instrument, after the window's events.
void TForm1::PlayFlightPass() {
  // Stand mode's tour first: its "ON" starts a loop afresh.
  const bool standOn = stand_.BeforePass();
  if (standOn || flight_.BeforePass()) Button1Click();
  UpdateFlightBar();
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
  const QString path = DroppedFile(event->mimeData());
  if (path.isEmpty()) return;
  event->acceptProposedAction();
  OpenDroppedFile(path);
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
