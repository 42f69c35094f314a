// The recording KBAPI.DLL: each export forwards to the real library and appends the call to the
// trace (kdtrace.ini beside it names both).
#include <cstdint>

#include "link/bidi_api.h"
#include "link/library_exports.h"
#include "tools/recorder/recorder_session.h"

namespace {

constexpr const recorder::LibraryNames& NAMES = recorder::KBAPI_NAMES;

}  // namespace

KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KBInitialize() {
  return KD_RECORDED(KBInitialize);
}

KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KBRelease() {
  return KD_RECORDED(KBRelease);
}

KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KBGetDeviceID(int constant, const char* queue, char* buffer,
                                                    uint32_t* size) {
  return KD_RECORDED(KBGetDeviceID, constant, queue, buffer, size);
}

KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KBGetAvailableChannel(int constant, const char* queue,
                                                            uint8_t* buffer, uint32_t* size) {
  return KD_RECORDED(KBGetAvailableChannel, constant, queue, buffer, size);
}

KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KBOpenChannel(int constant, const char* queue,
                                                    uint32_t type) {
  return KD_RECORDED(KBOpenChannel, constant, queue, type);
}

KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KBCloseChannel(int handle) {
  return KD_RECORDED(KBCloseChannel, handle);
}

KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KBSetOption(int handle, int option, void* data,
                                                  uint32_t size) {
  return KD_RECORDED(KBSetOption, handle, option, data, size);
}

KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KBGetOption(int handle, int option, void* data,
                                                  uint32_t* size) {
  return KD_RECORDED(KBGetOption, handle, option, data, size);
}

KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KBReceiveCancel(int handle) {
  return KD_RECORDED(KBReceiveCancel, handle);
}

KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KBGetStatus(int handle, uint8_t* buffer, uint32_t* size) {
  return KD_RECORDED(KBGetStatus, handle, buffer, size);
}

KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KBSend(int handle, const uint8_t* data, uint32_t length) {
  return KD_RECORDED(KBSend, handle, data, length);
}

KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KBReceive(int handle, uint8_t* buffer, uint32_t* size,
                                                uint32_t timeLimitMs) {
  return KD_RECORDED(KBReceive, handle, buffer, size, timeLimitMs);
}
