// The printer's libraries in-process: Load hands out the bidirectional library's exports, or
// the driver-settings library's, bound to a SimulatedPrinter and its driver.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/library.h"
#include "sim/simulated_printer.h"

namespace sim {

class SimulatedLibrary : public platform::Library {
 public:
  // Loads the bidirectional library under any of names and the driver-settings library under
  // any of driverNames (file names or paths, compared exactly).
  explicit SimulatedLibrary(SimulatedPrinter& printer,
                            std::vector<std::string> names = {"KBAPI.DLL"},
                            std::vector<std::string> driverNames = {})
      : printer_(printer), names_(std::move(names)), driverNames_(std::move(driverNames)) {}

  // Null when the name is not one of ours or the printer has the no_library fault (which
  // leaves the driver's library alone: it lies beside the driver). Only one printer is
  // reachable through each library's loaded exports at a time: the one loaded last.
  std::unique_ptr<platform::LoadedLibrary> Load(const std::string& nameOrPath) override;

  // Loads of the bidirectional library, and of the driver-settings library.
  int Loads() const { return loads_; }
  int DriverLoads() const { return driverLoads_; }

 private:
  SimulatedPrinter& printer_;
  std::vector<std::string> names_;
  std::vector<std::string> driverNames_;
  int loads_ = 0;
  int driverLoads_ = 0;
};

}  // namespace sim
