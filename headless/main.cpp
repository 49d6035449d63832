// kvr9-headless: the instrument's firmware driven by a scenario, without a
// window, for checks in continuous integration.
#include <iostream>
#include <string>
#include <vector>

#include "headless/command_line.h"

int main(int argc, char** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
  return kvr9::headless::RunHeadlessCommand(arguments, std::cin, std::cout, std::cerr);
}
