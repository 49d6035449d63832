// Snapshots in the window: the whole instrument and panel, with its flight,
// saved to a file a person chose, and opened from one. The rig captures,
// checks and sets back; the window's controls follow it, without telling
// the instrument (they are no person's inputs).
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>
#include <QStatusBar>

#include "host/common/quote.h"
#include "host/rig/rig_files.h"
#include "panel/pcmain.h"

namespace kvr9 {

namespace {

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
  auto* dialog = new QFileDialog(
      parent, title, QString(),
      QCoreApplication::translate("Window", "Snapshots (*.json *.JSON);;All files (*)"));
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
  std::string problem;
  const QString name = QFileInfo(path).fileName();
  if (!SaveStateFile(rig(), QFile::encodeName(path).toStdString(), problem)) {
    StatusBar1->showMessage(QStringLiteral("%1: %2").arg(name, QString::fromStdString(problem)));
    return false;
  }
  StatusBar1->showMessage(QCoreApplication::translate("Window", "State saved to %1").arg(name));
  return true;
}

// The rig sets it all, the flight too, and the controls follow; the
// status bar says what became of its flight.
bool TForm1::OpenState(const QString& path) {
  const std::string file = QFile::encodeName(path).toStdString();
  const QString name = QFileInfo(path).fileName();
  const OpenedState opened = OpenStateFile(rig(), file);
  if (!opened.ok) {
    StatusBar1->showMessage(NamedByFile(opened.error, file, name));
    return false;
  }
  openedState_ = path;
  QString note;
  if (opened.flight.demo) {
    note = QCoreApplication::translate("Window", ", flying the demo flight");
  } else if (opened.flight.tookUp) {
    note = QCoreApplication::translate("Window", ", flying %1")
               .arg(QString::fromStdString(rig().Flight().name));
  } else if (!opened.flight.awaitedLog.empty()) {
    // Only a file a person chooses is opened.
    note = QCoreApplication::translate("Window",
                                       "; it was flying %1: open that log to fly on from here")
               .arg(QString::fromStdString(Clipped(opened.flight.awaitedLog, kLongestQuotedPath)));
  }
  StatusBar1->showMessage(QCoreApplication::translate("Window", "State opened from %1").arg(name) +
                          note);
  return true;
}

void TForm1::StatusClearer::Clear() {
  if (bar != nullptr) bar->clearMessage();
}

void TForm1::ChooseStateToSave() {
  QFileDialog* dialog = StateDialog(this, QCoreApplication::translate("Window", "Save state"),
                                    QFileDialog::AcceptSave);
  connect(dialog, &QFileDialog::fileSelected, this, &TForm1::SaveState);
  dialog->open();
}

void TForm1::ChooseStateToOpen() {
  QFileDialog* dialog = StateDialog(this, QCoreApplication::translate("Window", "Open state"),
                                    QFileDialog::AcceptOpen);
  connect(dialog, &QFileDialog::fileSelected, this, &TForm1::OpenState);
  dialog->open();
}

bool TForm1::OpenDroppedFile(const QString& path) {
  const QString suffix = QFileInfo(path).suffix();
  if (suffix.compare(QStringLiteral("json"), Qt::CaseInsensitive) == 0) return OpenState(path);
  if (suffix.compare(QStringLiteral("lesson"), Qt::CaseInsensitive) == 0) {
    return OpenLessonFile(path);
  }
  return OpenFlightLog(path);
}

}  // namespace kvr9
