// The program's entry, shared by the simulator and the measurement harness:
// one front-panel window over one instrument, until the application ends.
#pragma once

#include <functional>

namespace kvr9 {

class TForm1;

// prepare, when given, runs once the window is shown, before the event loop.
int RunSimulator(int& argc, char** argv, const std::function<void(TForm1&)>& prepare = {});

}  // namespace kvr9
