// Flights and the sliders' tooltips: the rig flies the log a person
// chose; the tooltips read the converters the firmware's way, through the
// host library's reading tables. The flight bar's widgets and texts are in
// form_flight_bar.cpp.
#include <QCoreApplication>
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

#include "host/common/read_file.h"
#include "host/flights/flight_profile.h"
#include "host/flights/flight_summary.h"
#include "host/panel/reading_units.h"
#include "panel/form_layout.h"
#include "panel/pcmain.h"

namespace kvr9 {

namespace {

// Why a log's bytes could not be had, in the reader's words.
std::string LogProblem(const QFileInfo& info, const FileText& file) {
  if (info.isDir()) return "is a folder, not a profile";
  if (file.problem.rfind("larger than", 0) == 0) {
    return "is longer than the " + std::to_string(kLargestProfileBytes / (1024 * 1024)) +
           " MB a profile may hold";
  }
  if (!info.exists() || !info.isReadable()) return "cannot be opened";
  return "cannot be read (" + file.problem + ")";
}

// A drop of exactly one local file is a log to open; anything else is
// refused before it lands.
QString DroppedFile(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls() || data->urls().size() != 1) return {};
  const QUrl url = data->urls().front();
  return url.isLocalFile() ? url.toLocalFile() : QString();
}

}  // namespace

// The log's bytes, read up to the reader's cap, go to the rig under the
// file's own name, which its messages then use.
bool TForm1::OpenFlightLog(const QString& path) {
  const QFileInfo info(path);
  const std::string name = info.fileName().toStdString();
  const FileText file = ReadWholeFile(QFile::encodeName(path).toStdString(), kLargestProfileBytes);
  if (!file.ok) {
    rig().RefuseFlightLog(OneLineName(name) + ": " + LogProblem(info, file));
    return false;
  }
  const std::optional<SnapshotFlight>& awaited = rig().AwaitedFlight();
  const std::string awaitedName = awaited ? awaited->name : std::string();
  if (!rig().OpenFlightLog(name, file.text)) return false;
  // Flying on from an opened state: the status bar's word on it is done.
  if (!awaitedName.empty() && rig().Flight().name == awaitedName) StatusBar1->clearMessage();
  return true;
}

// Qt's file dialog keeps the folders it visited in the user's QtProject
// settings and starts from them; the simulator reads and writes no
// settings, so they are pointed where nothing can be read or written.
void TForm1::ChooseFlightLog() {
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("/dev/null"));
  auto* dialog =
      new QFileDialog(this, QCoreApplication::translate("Window", "Open flight log"), QString(),
                      QCoreApplication::translate("Window",
                                                  "Flight logs (*.igc *.IGC *.csv *.CSV);;"
                                                  "All files (*)"));
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setFileMode(QFileDialog::ExistingFile);
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  connect(dialog, &QFileDialog::fileSelected, this, &TForm1::OpenFlightLog);
  dialog->open();
}

void TForm1::PlayDemoFlight(double fromSeconds) {
  rig().UseDemoFlight();
  rig().MoveFlightTo(fromSeconds);
  rig().PlayFlight(true);
}

void TForm1::MoveFlightTo(double secondsFromStart) {
  rig().MoveFlightTo(secondsFromStart);
}

void TForm1::PauseFlight() {
  rig().PlayFlight(false);
}

// While off, the button is "Fly": a click on "ON" (recorded as one).
void TForm1::FlightPlayClick() {
  rig().FlyOrPlayPause();
}

void TForm1::SetFlightSpeed(std::uint32_t speedUp) {
  rig().SetFlightSpeed(speedUp);
}

// The bar closes with the flight, and the window shrinks back to the form.
void TForm1::CloseFlight() {
  rig().CloseFlight();
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
        SliderDescription(rig().instrument(), kind, static_cast<std::uint32_t>(slider->value())));
    if (slider->toolTip() != tip) slider->setToolTip(tip);
  }
}

}  // namespace kvr9
