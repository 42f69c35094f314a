// Recording: each export call forwarded unchanged to the real library and written to a trace.
#pragma once

#include <cstdint>
#include <string>

#include "link/bidi_api.h"
#include "link/driver_settings_api.h"
#include "trace/trace_format.h"

namespace trace {

// Where the lines go. Append answers false when the line could not be written.
class TraceSink {
 public:
  virtual ~TraceSink() = default;
  virtual bool Append(const std::string& line) = 0;
  // Told once why recording stopped (the trace's own log).
  virtual void Report(const std::string& problem) = 0;
  // Milliseconds of a clock that only runs forward, wrapping at 32 bits.
  virtual uint32_t Tick() = 0;
};

class Recorder {
 public:
  explicit Recorder(TraceSink& sink) : sink_(sink) {}

  uint32_t Now() { return sink_.Tick(); }
  // Writes call, begun at started; a line that cannot be written stops the recording for good.
  void Write(Call& call, uint32_t started);
  bool Stopped() const { return stopped_; }

 private:
  TraceSink& sink_;
  bool begun_ = false;
  bool stopped_ = false;
  uint32_t first_ = 0;
};

// The exports of both libraries: each forwards to the real entry point through ForeignCall and
// records the call. A null entry answers as the programs' wrappers would (-100, -7), unrecorded
// values aside.
class RecordingCalls {
 public:
  explicit RecordingCalls(Recorder& recorder) : recorder_(recorder) {}

  int KBInitialize(printer_link::KBInitializeFn real);
  int KBRelease(printer_link::KBReleaseFn real);
  int KBGetDeviceID(printer_link::KBGetDeviceIDFn real, int constant, const char* queue,
                    char* buffer, uint32_t* size);
  int KBGetAvailableChannel(printer_link::KBGetAvailableChannelFn real, int constant,
                            const char* queue, uint8_t* buffer, uint32_t* size);
  int KBOpenChannel(printer_link::KBOpenChannelFn real, int constant, const char* queue,
                    uint32_t type);
  int KBCloseChannel(printer_link::KBCloseChannelFn real, int handle);
  int KBSetOption(printer_link::KBSetOptionFn real, int handle, int option, void* data,
                  uint32_t size);
  int KBGetOption(printer_link::KBGetOptionFn real, int handle, int option, void* data,
                  uint32_t* size);
  int KBReceiveCancel(printer_link::KBReceiveCancelFn real, int handle);
  int KBGetStatus(printer_link::KBGetStatusFn real, int handle, uint8_t* buffer, uint32_t* size);
  int KBSend(printer_link::KBSendFn real, int handle, const uint8_t* data, uint32_t length);
  int KBReceive(printer_link::KBReceiveFn real, int handle, uint8_t* buffer, uint32_t* size,
                uint32_t timeLimitMs);

  using KddmHandle = printer_link::KddmHandle;
  int KDDM_Open(printer_link::KDDM_OpenFn real, const char* queue, int openNumber, uint32_t flags,
                void* devMode, KddmHandle* handle);
  int KDDM_GetDriverInfo(printer_link::KDDM_GetDriverInfoFn real, KddmHandle handle, void* block);
  int KDDM_GetCommandLevel(printer_link::KDDM_GetCommandLevelFn real, KddmHandle handle);
  int KDDM_GetRange(printer_link::KDDM_GetRangeFn real, KddmHandle handle, int item, void* block);
  int KDDM_GetData(printer_link::KDDM_GetDataFn real, KddmHandle handle, int item, void* block);
  int KDDM_SetData(printer_link::KDDM_SetDataFn real, KddmHandle handle, int item, intptr_t value);
  void* KDDM_CreateDC(printer_link::KDDM_CreateDCFn real, KddmHandle handle);
  int KDDM_ResetDC(printer_link::KDDM_ResetDCFn real, KddmHandle handle, void* dc);
  int KDDM_DeleteDC(printer_link::KDDM_DeleteDCFn real, KddmHandle handle, void* dc);
  int KDDM_GetDevMode(printer_link::KDDM_GetDevModeFn real, KddmHandle handle, void* buffer);
  int KDDM_Close(printer_link::KDDM_CloseFn real, KddmHandle handle);

 private:
  // Calls real with args (or answers missing), records request with answer's fields.
  template <typename Fn, typename Answer, typename... Args>
  auto Forward(Call request, int missing, Answer answer, Fn real, Args... args);

  Recorder& recorder_;
};

}  // namespace trace
