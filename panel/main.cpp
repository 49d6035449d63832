// The simulator program: one front-panel window over one instrument.
#include <cstdlib>
#include <exception>

#include "core/instrument.h"
#include "panel/demo_hooks.h"
#include "panel/pcmain.h"
#include "panel/simulator_application.h"

int main(int argc, char* argv[]) {
  kvr9::SimulatorApplication application(argc, argv);
  int exitCode = EXIT_FAILURE;
  try {
    kvr9::Instrument instrument;
    kvr9::TForm1 Form1(instrument);
    Form1.show();
    kvr9::InstallDemoHooks(Form1);
    exitCode = kvr9::SimulatorApplication::exec();
  } catch (const std::exception& error) {
    application.ReportFatalError(QString::fromLocal8Bit(error.what()));
  }
  return application.HadFatalError() ? EXIT_FAILURE : exitCode;
}
