// The bidirectional and the driver-settings library in-process: Load hands out exports bound to
// a SimulatedPrinter and its simulated driver.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/library.h"
#include "sim/simulated_printer.h"

namespace sim {

class SimulatedLibrary : public platform::Library {
 public:
  // Loads under any of names (file names or paths, compared exactly).
  explicit SimulatedLibrary(SimulatedPrinter& printer,
                            std::vector<std::string> names = {"KBAPI.DLL"})
      : printer_(printer), names_(std::move(names)) {}

  // Null when the name is not one of ours or the printer has the no_library fault. Only one
  // printer is reachable through loaded exports at a time: the one loaded last.
  std::unique_ptr<platform::LoadedLibrary> Load(const std::string& nameOrPath) override;

  int Loads() const { return loads_; }

 private:
  SimulatedPrinter& printer_;
  std::vector<std::string> names_;
  int loads_ = 0;
};

}  // namespace sim
