#include "panel/run_simulator.h"

#include <cstdlib>
#include <exception>

#include "core/instrument.h"
#include "panel/pcmain.h"
#include "panel/simulator_application.h"
#include "panel/window_language.h"

namespace kvr9 {

int RunSimulator(int& argc, char** argv, const std::function<void(TForm1&)>& prepare) {
  SimulatorApplication application(argc, argv);
  // The window speaks the system's language where it has its words.
  const auto translators = WindowTranslators(QLocale::system());
  for (const auto& translator : translators) {
    SimulatorApplication::installTranslator(translator.get());
  }
  int exitCode = EXIT_FAILURE;
  try {
    Instrument instrument;
    TForm1 Form1(instrument);
    Form1.show();
    if (prepare) prepare(Form1);
    exitCode = SimulatorApplication::exec();
  } catch (const std::exception& error) {
    application.ReportFatalError(QString::fromLocal8Bit(error.what()));
  }
  return application.HadFatalError() ? EXIT_FAILURE : exitCode;
}

}  // namespace kvr9
