// The libraries' calls answered from a recorded trace instead of by the simulated printer and
// driver: each call takes the next recorded call of its export, which must have asked the same; a
// call that does not match is a divergence, kept in the state and answered as the library's
// failure.
#pragma once

#include <cstdint>

#include "link/driver_settings_api.h"
#include "platform/clock.h"
#include "sim/printer_state.h"
#include "trace/trace_format.h"

namespace sim {

inline bool Replaying(const PrinterState& state) {
  return !state.replay.empty();
}

class ReplayedCalls {
 public:
  // clock may be null: recorded waits ("took") are then not waited.
  ReplayedCalls(PrinterState& state, platform::Clock* clock) : state_(state), clock_(clock) {}

  int KBInitialize();
  int KBRelease();
  int KBGetDeviceID(int constant, const char* queue, char* buffer, uint32_t* size);
  int KBGetAvailableChannel(int constant, const char* queue, uint8_t* buffer, uint32_t* size);
  int KBOpenChannel(int constant, const char* queue, uint32_t type);
  int KBCloseChannel(int handle);
  int KBSetOption(int handle, int option, void* data, uint32_t size);
  int KBGetOption(int handle, int option, void* data, uint32_t* size);
  int KBReceiveCancel(int handle);
  int KBGetStatus(int handle, uint8_t* buffer, uint32_t* size);
  int KBSend(int handle, const uint8_t* data, uint32_t length);
  int KBReceive(int handle, uint8_t* buffer, uint32_t* size, uint32_t timeLimitMs);

  // The driver's handles are its numbers, as the simulated driver's are.
  int KDDM_Open(const char* queue, int openNumber, uint32_t flags, const void* devMode,
                int* handle);
  int KDDM_GetDriverInfo(int handle);
  int KDDM_GetCommandLevel(int handle);
  int KDDM_GetRange(int handle, int item, void* block);
  int KDDM_GetData(int handle, int item, void* block);
  int KDDM_SetData(int handle, int item, intptr_t value);
  int KDDM_GetDevMode(int handle, void* buffer);
  int KDDM_Close(int handle);

 private:
  // The recorded answer to request, or null after noting the divergence.
  bool Answer(const trace::Call& request, trace::Call* answer);
  template <typename Move>
  int Answered(const trace::Call& request, int failed, Move move);

  PrinterState& state_;
  platform::Clock* clock_;
};

}  // namespace sim
