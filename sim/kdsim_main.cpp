// kdsim: creates and inspects the simulated printers that the stand-in libraries serve.
#include <iostream>
#include <string>
#include <vector>

#include "sim/kdsim_cli.h"
#include "sim/wall_clock.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  sim::WallClock clock;
  return sim::RunKdsim(args, std::cout, std::cerr, clock);
}
