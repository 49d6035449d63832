// The simulator program: one front-panel window over one instrument. It
// reads no switches, writes no files and logs nothing.
#include "panel/run_simulator.h"

int main(int argc, char* argv[]) {
  return kvr9::RunSimulator(argc, argv);
}
