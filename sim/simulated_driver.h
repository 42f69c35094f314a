// The printer driver as the driver-settings library sees it: handles, items and device modes.
#pragma once

#include <cstdint>
#include <vector>

#include "sim/printer_state.h"

namespace sim {

constexpr int KDDM_FAILED = -1;

// Device mode: the system's 156-byte public part, then the driver's settings.
constexpr size_t DEVMODE_PUBLIC_SIZE = 156;

class SimulatedDriver {
 public:
  explicit SimulatedDriver(PrinterState& state) : state_(state) {}

  // The library's exports; handles are the driver's numbers. Failures answer -1 and leave the
  // driver as it was.
  int Open(const char* queue, int openNumber, uint32_t flags, const void* devMode, int* handle);
  int GetDriverInfo(int handle, void* block);
  int GetCommandLevel(int handle);
  int GetRange(int handle, int item, void* block);
  int GetData(int handle, int item, void* block);
  int SetData(int handle, int item, intptr_t value);
  int GetDevMode(int handle, void* buffer);
  int Close(int handle);

  // The device mode of a handle's settings; and the settings a device mode carries (false
  // when it is not one of this driver's).
  static std::vector<uint8_t> DevMode(const DriverSettings& settings, const std::string& queue);
  static bool FromDevMode(const uint8_t* devMode, DriverSettings* settings);
  // The same on a block of known length: false when the block is shorter than it says.
  static bool FromDevMode(const std::vector<uint8_t>& devMode, DriverSettings* settings);

 private:
  DriverSettings* Find(int handle);
  bool Refused(int item) const { return state_.driver.refusedItems.count(item) > 0; }
  void Note(const std::string& line) { state_.log.push_back(line); }
  // Adds "CALL HANDLE[ ITEM][DETAIL]" to the driver's call log, marked when it failed; answers
  // result.
  int Called(const std::string& call, int handle, int item, int result, bool failed,
             const std::string& detail = "");
  int Range(int handle, int item, void* block);
  int Data(int handle, int item, void* block);

  PrinterState& state_;
};

}  // namespace sim
