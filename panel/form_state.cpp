// Snapshots in the window: the whole instrument and panel saved to a file
// a person chose, and opened from one. The host library captures, checks
// and sets back; the window puts its own controls where the snapshot has
// them, without telling the instrument (they are no person's inputs).
#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSettings>
#include <QSignalBlocker>
#include <QSlider>
#include <QStatusBar>
#include <QTimer>

#include "host/common/quote.h"
#include "host/snapshot/snapshot_json.h"
#include "panel/form_layout.h"
#include "panel/pcmain.h"

namespace kvr9 {

namespace {

constexpr const char* kDemoName = "demo";

// The reader names a file by the path it was given; the window by the
// file's own name.
QString NamedByFile(const std::string& message, const std::string& path, const QString& name) {
  if (message.compare(0, path.size(), path) != 0) return QString::fromStdString(message);
  return name + QString::fromStdString(message.substr(path.size()));
}

// Qt's file dialog remembers folders in settings the simulator does not
// keep; they are pointed where nothing is read or written.
QFileDialog* StateDialog(QWidget* parent, const QString& title, QFileDialog::AcceptMode mode) {
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("/dev/null"));
  auto* dialog = new QFileDialog(parent, title, QString(),
                                 QStringLiteral("Snapshots (*.json *.JSON);;All files (*)"));
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setAcceptMode(mode);
  dialog->setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                                                      : QFileDialog::ExistingFile);
  dialog->setDefaultSuffix(QStringLiteral("json"));
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  return dialog;
}

}  // namespace

bool TForm1::SaveState(const QString& path) {
  Snapshot snapshot = CaptureSnapshot(session_);
  const FlightPlayer* player = flight_.Player();
  if (player != nullptr) {
    std::string name = flight_.Status().name;
    if (name == kDemoFlightName) name = kDemoName;
    snapshot.flight =
        FlightOfPlayer(*player, flight_.Profile().StartSeconds(), name, flight_.Playing());
  }
  std::string problem;
  const QString name = QFileInfo(path).fileName();
  if (!WriteSnapshotFile(snapshot, QFile::encodeName(path).toStdString(), problem)) {
    StatusBar1->showMessage(QStringLiteral("%1: %2").arg(name, QString::fromStdString(problem)));
    return false;
  }
  StatusBar1->showMessage(QStringLiteral("State saved to %1").arg(name));
  return true;
}

// The instrument and the panel as the snapshot has them, its flight aside.
void TForm1::SetFromSnapshot(const Snapshot& snapshot) {
  const bool sameCommLines = session_.Side().commLines == snapshot.panel.commLines;
  ApplySnapshot(snapshot, session_);
  // The controls as the snapshot has them.
  {
    const QSignalBlocker altitude(TrackBar2);
    const QSignalBlocker airspeed(TrackBar1);
    const QSignalBlocker calibrate(CheckBox2);
    const QSignalBlocker keyFast(CheckBox3);
    TrackBar2->setValue(snapshot.state.airData.altAdcRaw);
    TrackBar1->setValue(snapshot.state.airData.asiAdcRaw);
    CheckBox2->setChecked(snapshot.panel.inputs.calibrateChecked);
    CheckBox3->setChecked(snapshot.panel.inputs.keyFastChecked);
  }
  Label3->setText(QString::number(TrackBar2->value()));
  FitToCaption(Label3);
  Label13->setText(QString::number(TrackBar1->value()));
  FitToCaption(Label13);
  UpdateSliderToolTips();
  // The communication window: its lines as the session kept them, unless
  // they are the ones it shows already.
  if (!sameCommLines) {
    QStringList lines;
    const CommLines::Memory& comm = snapshot.panel.commLines;
    for (std::size_t i = 0; i < comm.lines; ++i) {
      lines << (i + comm.repeats >= comm.lines ? QString::fromLatin1(comm.last.c_str())
                                               : QString());
    }
    Memo1->setPlainText(lines.join(QLatin1Char('\n')));
  }
  // The passes go on from the snapshot's moment, or stay stopped.
  if (session_.IsOn()) {
    passTimer_->start();
  } else {
    passTimer_->stop();
  }
}

bool TForm1::OpenState(const QString& path) {
  const std::string file = QFile::encodeName(path).toStdString();
  const QString name = QFileInfo(path).fileName();
  const SnapshotReadResult read = ReadSnapshotFile(file);
  if (!read.ok) {
    StatusBar1->showMessage(NamedByFile(read.error, file, name));
    return false;
  }
  const Snapshot& snapshot = read.snapshot;
  CloseFlight();
  SetFromSnapshot(snapshot);
  openedState_ = path;
  awaitedFlight_.reset();
  QString note;
  if (snapshot.flight) {
    const SnapshotFlight& flight = *snapshot.flight;
    if (flight.name == kDemoName) {
      ShowFlightBar();
      flight_.Resume(DemoFlight(), kDemoFlightName, flight.fromSeconds, flight.toSeconds,
                     flight.passesPerSecond, flight.speedUp, {flight.passesDone, flight.ticksDone},
                     flight.playing);
      UpdateFlightBar();
      note = QStringLiteral(", flying the demo flight");
    } else {
      // Only a file a person chooses is opened: the log, once chosen
      // again, flies on from the state's moment; another plays at the
      // speed kept.
      awaitedFlight_ = flight;
      flight_.SetSpeed(flight.speedUp);
      note = QStringLiteral("; it was flying %1: open that log to fly on from here")
                 .arg(QString::fromStdString(Clipped(flight.name, kLongestQuotedPath)));
    }
  }
  StatusBar1->showMessage(QStringLiteral("State opened from %1").arg(name) + note);
  return true;
}

void TForm1::StatusClearer::Clear() {
  if (bar != nullptr) bar->clearMessage();
}

void TForm1::ChooseStateToSave() {
  QFileDialog* dialog = StateDialog(this, QStringLiteral("Save state"), QFileDialog::AcceptSave);
  connect(dialog, &QFileDialog::fileSelected, this, &TForm1::SaveState);
  dialog->open();
}

void TForm1::ChooseStateToOpen() {
  QFileDialog* dialog = StateDialog(this, QStringLiteral("Open state"), QFileDialog::AcceptOpen);
  connect(dialog, &QFileDialog::fileSelected, this, &TForm1::OpenState);
  dialog->open();
}

bool TForm1::OpenDroppedFile(const QString& path) {
  if (QFileInfo(path).suffix().compare(QStringLiteral("json"), Qt::CaseInsensitive) == 0) {
    return OpenState(path);
  }
  return OpenFlightLog(path);
}

}  // namespace kvr9
