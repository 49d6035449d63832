#include "panel/simulator_application.h"

#include <QMessageBox>
#include <exception>

namespace kvr9 {

namespace {

void ShowErrorBox(const QString& message) {
  QMessageBox::critical(nullptr, QApplication::applicationName(), message);
}

}  // namespace

SimulatorApplication::SimulatorApplication(int& argc, char** argv)
    : QApplication(argc, argv), reporter_(ShowErrorBox) {
  setApplicationName(QStringLiteral("Tarvesk KVR-9"));
}

bool SimulatorApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    ReportFatalError(QString::fromLocal8Bit(error.what()));
  } catch (...) {
    ReportFatalError(QCoreApplication::translate("Window", "Unknown error."));
  }
  return false;
}

void SimulatorApplication::ReportFatalError(const QString& message) {
  if (failed_) return;
  failed_ = true;
  reporter_(message);
  closeAllWindows();
  exit(1);
}

}  // namespace kvr9
