// Forwarding the libraries' exports and writing each call.
#include "trace/trace_recorder.h"

#include "link/foreign_call.h"
#include "trace/trace_calls.h"

namespace trace {

void Recorder::Write(Call& call, uint32_t started) {
  if (stopped_) return;
  uint32_t ended = sink_.Tick();
  if (!begun_) {
    begun_ = true;
    first_ = started;
  }
  call.timeMs = started - first_;
  if (ended - started >= TOOK_MIN_MS) AddNumber(&call.out, TOOK_FIELD, ended - started);
  if (!sink_.Append(FormatCall(call))) {
    stopped_ = true;
    sink_.Report("the trace cannot be written; recording stopped at " + call.name);
  }
}

template <typename Fn, typename Answer, typename... Args>
auto RecordingCalls::Forward(Call request, int missing, Answer answer, Fn real, Args... args) {
  uint32_t started = recorder_.Now();
  int result = real ? printer_link::ForeignCall(real, args...) : missing;
  request.result = result;
  answer(request);
  recorder_.Write(request, started);
  return result;
}

namespace {

void NoFields(Call&) {}

constexpr int KB_MISSING = printer_link::KBAPI_MISSING;
constexpr int KDDM_MISSING = printer_link::KDSET32_MISSING;

}  // namespace

int RecordingCalls::KBInitialize(printer_link::KBInitializeFn real) {
  return Forward(KBInitializeRequest(), KB_MISSING, NoFields, real);
}

int RecordingCalls::KBRelease(printer_link::KBReleaseFn real) {
  return Forward(KBReleaseRequest(), KB_MISSING, NoFields, real);
}

int RecordingCalls::KBGetDeviceID(printer_link::KBGetDeviceIDFn real, int constant,
                                  const char* queue, char* buffer, uint32_t* size) {
  uint32_t room = RoomOf(size);
  return Forward(
      KBGetDeviceIDRequest(constant, queue, size), KB_MISSING,
      [&](Call& c) { KBGetDeviceIDAnswer(c, Flow::Record, buffer, room, size); }, real, constant,
      queue, buffer, size);
}

int RecordingCalls::KBGetAvailableChannel(printer_link::KBGetAvailableChannelFn real, int constant,
                                          const char* queue, uint8_t* buffer, uint32_t* size) {
  uint32_t room = RoomOf(size);
  return Forward(
      KBGetAvailableChannelRequest(constant, queue, buffer, size), KB_MISSING,
      [&](Call& c) { KBGetAvailableChannelAnswer(c, Flow::Record, buffer, room, size); }, real,
      constant, queue, buffer, size);
}

int RecordingCalls::KBOpenChannel(printer_link::KBOpenChannelFn real, int constant,
                                  const char* queue, uint32_t type) {
  return Forward(KBOpenChannelRequest(constant, queue, type), KB_MISSING, NoFields, real, constant,
                 queue, type);
}

int RecordingCalls::KBCloseChannel(printer_link::KBCloseChannelFn real, int handle) {
  return Forward(KBCloseChannelRequest(handle), KB_MISSING, NoFields, real, handle);
}

int RecordingCalls::KBSetOption(printer_link::KBSetOptionFn real, int handle, int option,
                                void* data, uint32_t size) {
  return Forward(KBSetOptionRequest(handle, option, data, size), KB_MISSING, NoFields, real, handle,
                 option, data, size);
}

int RecordingCalls::KBGetOption(printer_link::KBGetOptionFn real, int handle, int option,
                                void* data, uint32_t* size) {
  uint32_t room = RoomOf(size);
  return Forward(
      KBGetOptionRequest(handle, option, size), KB_MISSING,
      [&](Call& c) { KBGetOptionAnswer(c, Flow::Record, data, room, size); }, real, handle, option,
      data, size);
}

int RecordingCalls::KBReceiveCancel(printer_link::KBReceiveCancelFn real, int handle) {
  return Forward(KBReceiveCancelRequest(handle), KB_MISSING, NoFields, real, handle);
}

int RecordingCalls::KBGetStatus(printer_link::KBGetStatusFn real, int handle, uint8_t* buffer,
                                uint32_t* size) {
  uint32_t room = RoomOf(size);
  return Forward(
      KBGetStatusRequest(handle, size), KB_MISSING,
      [&](Call& c) { KBGetStatusAnswer(c, Flow::Record, buffer, room, size); }, real, handle,
      buffer, size);
}

int RecordingCalls::KBSend(printer_link::KBSendFn real, int handle, const uint8_t* data,
                           uint32_t length) {
  return Forward(KBSendRequest(handle, data, length), KB_MISSING, NoFields, real, handle, data,
                 length);
}

int RecordingCalls::KBReceive(printer_link::KBReceiveFn real, int handle, uint8_t* buffer,
                              uint32_t* size, uint32_t timeLimitMs) {
  uint32_t room = RoomOf(size);
  return Forward(
      KBReceiveRequest(handle, size, timeLimitMs), KB_MISSING,
      [&](Call& c) { KBReceiveAnswer(c, Flow::Record, buffer, room, size); }, real, handle, buffer,
      size, timeLimitMs);
}

int RecordingCalls::KDDM_Open(printer_link::KDDM_OpenFn real, const char* queue, int openNumber,
                              uint32_t flags, void* devMode, KddmHandle* handle) {
  return Forward(
      KDDM_OpenRequest(queue, openNumber, flags, devMode), KDDM_MISSING,
      [&](Call& c) {
        if (c.result == printer_link::KDDM_OK) KDDM_OpenAnswer(c, Flow::Record, handle);
      },
      real, queue, openNumber, flags, devMode, handle);
}

int RecordingCalls::KDDM_GetDriverInfo(printer_link::KDDM_GetDriverInfoFn real, KddmHandle handle,
                                       void* block) {
  return Forward(KDDM_GetDriverInfoRequest(handle), KDDM_MISSING, NoFields, real, handle, block);
}

int RecordingCalls::KDDM_GetCommandLevel(printer_link::KDDM_GetCommandLevelFn real,
                                         KddmHandle handle) {
  return Forward(KDDM_GetCommandLevelRequest(handle), KDDM_MISSING, NoFields, real, handle);
}

int RecordingCalls::KDDM_GetRange(printer_link::KDDM_GetRangeFn real, KddmHandle handle, int item,
                                  void* block) {
  return Forward(
      KDDM_GetRangeRequest(handle, item, block), KDDM_MISSING,
      [&](Call& c) { KDDM_GetRangeAnswer(c, Flow::Record, item, block); }, real, handle, item,
      block);
}

int RecordingCalls::KDDM_GetData(printer_link::KDDM_GetDataFn real, KddmHandle handle, int item,
                                 void* block) {
  return Forward(
      KDDM_GetDataRequest(handle, item, block), KDDM_MISSING,
      [&](Call& c) { KDDM_GetDataAnswer(c, Flow::Record, item, block); }, real, handle, item,
      block);
}

int RecordingCalls::KDDM_SetData(printer_link::KDDM_SetDataFn real, KddmHandle handle, int item,
                                 intptr_t value) {
  return Forward(KDDM_SetDataRequest(handle, item, value), KDDM_MISSING, NoFields, real, handle,
                 item, value);
}

void* RecordingCalls::KDDM_CreateDC(printer_link::KDDM_CreateDCFn real, KddmHandle handle) {
  uint32_t started = recorder_.Now();
  void* dc = real ? printer_link::ForeignCall(real, handle) : nullptr;
  Call call = KDDM_CreateDCRequest(handle);
  call.result = dc ? 1 : 0;
  recorder_.Write(call, started);
  return dc;
}

int RecordingCalls::KDDM_ResetDC(printer_link::KDDM_ResetDCFn real, KddmHandle handle, void* dc) {
  return Forward(KDDM_ResetDCRequest(handle, dc), KDDM_MISSING, NoFields, real, handle, dc);
}

int RecordingCalls::KDDM_DeleteDC(printer_link::KDDM_DeleteDCFn real, KddmHandle handle, void* dc) {
  return Forward(KDDM_DeleteDCRequest(handle, dc), KDDM_MISSING, NoFields, real, handle, dc);
}

int RecordingCalls::KDDM_GetDevMode(printer_link::KDDM_GetDevModeFn real, KddmHandle handle,
                                    void* buffer) {
  return Forward(
      KDDM_GetDevModeRequest(handle, buffer), KDDM_MISSING,
      [&](Call& c) { KDDM_GetDevModeAnswer(c, Flow::Record, buffer, 0); }, real, handle, buffer);
}

int RecordingCalls::KDDM_Close(printer_link::KDDM_CloseFn real, KddmHandle handle) {
  return Forward(KDDM_CloseRequest(handle), KDDM_MISSING, NoFields, real, handle);
}

}  // namespace trace
