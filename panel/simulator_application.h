// The application object of the simulator: an error that escapes an event
// handler is shown in a message box and ends the program with a failure.
#pragma once

#include <QApplication>
#include <QString>
#include <functional>

namespace kvr9 {

class SimulatorApplication : public QApplication {
  Q_OBJECT

 public:
  SimulatorApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

  // Shows the message (once), closes every window, which switches a running
  // instrument off, and makes the event loop end.
  void ReportFatalError(const QString& message);
  bool HadFatalError() const { return failed_; }

  // Tests replace the message box with a recorder.
  using ErrorReporter = std::function<void(const QString& message)>;
  void SetErrorReporter(ErrorReporter reporter) { reporter_ = std::move(reporter); }

 private:
  ErrorReporter reporter_;
  bool failed_ = false;
};

}  // namespace kvr9
