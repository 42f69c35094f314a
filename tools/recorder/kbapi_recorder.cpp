// The recording KBAPI.DLL: each export forwards to the real library and appends the call to the
// trace (kdtrace.ini beside it names both).
#include <cstdint>

#include "link/bidi_api.h"
#include "tools/recorder/recorder_session.h"

#ifdef _WIN32
#define KB_EXPORT extern "C" __declspec(dllexport)
#else
#define KB_EXPORT extern "C" __attribute__((visibility("default")))
#endif

// The programs call either 32-bit convention safely; the drop-in takes stdcall, as the
// simulated printer's stand-in does.
#if defined(__i386__)
#ifdef _WIN32
#define KB_CALL __stdcall
#else
#define KB_CALL __attribute__((stdcall))
#endif
#else
#define KB_CALL
#endif

namespace {

using namespace printer_link;

// One recording for the life of the process: the library's exports are plain functions.
recorder::Session& TheSession() {
  static recorder::Session session(recorder::KBAPI_NAMES);
  return session;
}

}  // namespace

#define KD_REAL(name) TheSession().Real<name##Fn>(#name)

KB_EXPORT int KB_CALL KBInitialize() {
  return TheSession().Calls().KBInitialize(KD_REAL(KBInitialize));
}

KB_EXPORT int KB_CALL KBRelease() {
  return TheSession().Calls().KBRelease(KD_REAL(KBRelease));
}

KB_EXPORT int KB_CALL KBGetDeviceID(int constant, const char* queue, char* buffer, uint32_t* size) {
  return TheSession().Calls().KBGetDeviceID(KD_REAL(KBGetDeviceID), constant, queue, buffer, size);
}

KB_EXPORT int KB_CALL KBGetAvailableChannel(int constant, const char* queue, uint8_t* buffer,
                                            uint32_t* size) {
  return TheSession().Calls().KBGetAvailableChannel(KD_REAL(KBGetAvailableChannel), constant, queue,
                                                    buffer, size);
}

KB_EXPORT int KB_CALL KBOpenChannel(int constant, const char* queue, uint32_t type) {
  return TheSession().Calls().KBOpenChannel(KD_REAL(KBOpenChannel), constant, queue, type);
}

KB_EXPORT int KB_CALL KBCloseChannel(int handle) {
  return TheSession().Calls().KBCloseChannel(KD_REAL(KBCloseChannel), handle);
}

KB_EXPORT int KB_CALL KBSetOption(int handle, int option, void* data, uint32_t size) {
  return TheSession().Calls().KBSetOption(KD_REAL(KBSetOption), handle, option, data, size);
}

KB_EXPORT int KB_CALL KBGetOption(int handle, int option, void* data, uint32_t* size) {
  return TheSession().Calls().KBGetOption(KD_REAL(KBGetOption), handle, option, data, size);
}

KB_EXPORT int KB_CALL KBReceiveCancel(int handle) {
  return TheSession().Calls().KBReceiveCancel(KD_REAL(KBReceiveCancel), handle);
}

KB_EXPORT int KB_CALL KBGetStatus(int handle, uint8_t* buffer, uint32_t* size) {
  return TheSession().Calls().KBGetStatus(KD_REAL(KBGetStatus), handle, buffer, size);
}

KB_EXPORT int KB_CALL KBSend(int handle, const uint8_t* data, uint32_t length) {
  return TheSession().Calls().KBSend(KD_REAL(KBSend), handle, data, length);
}

KB_EXPORT int KB_CALL KBReceive(int handle, uint8_t* buffer, uint32_t* size, uint32_t timeLimitMs) {
  return TheSession().Calls().KBReceive(KD_REAL(KBReceive), handle, buffer, size, timeLimitMs);
}
