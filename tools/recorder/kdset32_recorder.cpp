// The recording KDSET32.DLL: each export forwards to the real library and appends the call to
// the trace (kdtrace.ini beside it names both).
#include <cstdint>

#include "link/driver_settings_api.h"
#include "link/library_exports.h"
#include "tools/recorder/recorder_session.h"

namespace {

using printer_link::KddmHandle;

constexpr const recorder::LibraryNames& NAMES = recorder::KDSET32_NAMES;

}  // namespace

KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KDDM_Open(const char* queue, int openNumber, uint32_t flags,
                                                void* devMode, KddmHandle* handle) {
  return KD_RECORDED(KDDM_Open, queue, openNumber, flags, devMode, handle);
}

KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KDDM_GetDriverInfo(KddmHandle handle, void* block) {
  return KD_RECORDED(KDDM_GetDriverInfo, handle, block);
}

KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KDDM_GetCommandLevel(KddmHandle handle) {
  return KD_RECORDED(KDDM_GetCommandLevel, handle);
}

KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KDDM_GetRange(KddmHandle handle, int item, void* block) {
  return KD_RECORDED(KDDM_GetRange, handle, item, block);
}

KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KDDM_GetData(KddmHandle handle, int item, void* block) {
  return KD_RECORDED(KDDM_GetData, handle, item, block);
}

KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KDDM_SetData(KddmHandle handle, int item, intptr_t value) {
  return KD_RECORDED(KDDM_SetData, handle, item, value);
}

KD_LIBRARY_EXPORT void* KD_LIBRARY_CALL KDDM_CreateDC(KddmHandle handle) {
  return KD_RECORDED(KDDM_CreateDC, handle);
}

KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KDDM_ResetDC(KddmHandle handle, void* dc) {
  return KD_RECORDED(KDDM_ResetDC, handle, dc);
}

KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KDDM_DeleteDC(KddmHandle handle, void* dc) {
  return KD_RECORDED(KDDM_DeleteDC, handle, dc);
}

KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KDDM_GetDevMode(KddmHandle handle, void* buffer) {
  return KD_RECORDED(KDDM_GetDevMode, handle, buffer);
}

KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KDDM_Close(KddmHandle handle) {
  return KD_RECORDED(KDDM_Close, handle);
}
