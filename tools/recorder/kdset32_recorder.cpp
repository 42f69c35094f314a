// The recording KDSET32.DLL: each export forwards to the real library and appends the call to
// the trace (kdtrace.ini beside it names both).
#include <cstdint>

#include "link/driver_settings_api.h"
#include "tools/recorder/recorder_session.h"

#ifdef _WIN32
#define KDDM_EXPORT extern "C" __declspec(dllexport)
#else
#define KDDM_EXPORT extern "C" __attribute__((visibility("default")))
#endif

#if defined(__i386__)
#ifdef _WIN32
#define KDDM_CALL __stdcall
#else
#define KDDM_CALL __attribute__((stdcall))
#endif
#else
#define KDDM_CALL
#endif

namespace {

using namespace printer_link;

recorder::Session& TheSession() {
  static recorder::Session session(recorder::KDSET32_NAMES);
  return session;
}

}  // namespace

#define KD_REAL(name) TheSession().Real<name##Fn>(#name)

KDDM_EXPORT int KDDM_CALL KDDM_Open(const char* queue, int openNumber, uint32_t flags,
                                    void* devMode, KddmHandle* handle) {
  return TheSession().Calls().KDDM_Open(KD_REAL(KDDM_Open), queue, openNumber, flags, devMode,
                                        handle);
}

KDDM_EXPORT int KDDM_CALL KDDM_GetDriverInfo(KddmHandle handle, void* block) {
  return TheSession().Calls().KDDM_GetDriverInfo(KD_REAL(KDDM_GetDriverInfo), handle, block);
}

KDDM_EXPORT int KDDM_CALL KDDM_GetCommandLevel(KddmHandle handle) {
  return TheSession().Calls().KDDM_GetCommandLevel(KD_REAL(KDDM_GetCommandLevel), handle);
}

KDDM_EXPORT int KDDM_CALL KDDM_GetRange(KddmHandle handle, int item, void* block) {
  return TheSession().Calls().KDDM_GetRange(KD_REAL(KDDM_GetRange), handle, item, block);
}

KDDM_EXPORT int KDDM_CALL KDDM_GetData(KddmHandle handle, int item, void* block) {
  return TheSession().Calls().KDDM_GetData(KD_REAL(KDDM_GetData), handle, item, block);
}

KDDM_EXPORT int KDDM_CALL KDDM_SetData(KddmHandle handle, int item, intptr_t value) {
  return TheSession().Calls().KDDM_SetData(KD_REAL(KDDM_SetData), handle, item, value);
}

KDDM_EXPORT void* KDDM_CALL KDDM_CreateDC(KddmHandle handle) {
  return TheSession().Calls().KDDM_CreateDC(KD_REAL(KDDM_CreateDC), handle);
}

KDDM_EXPORT int KDDM_CALL KDDM_ResetDC(KddmHandle handle, void* dc) {
  return TheSession().Calls().KDDM_ResetDC(KD_REAL(KDDM_ResetDC), handle, dc);
}

KDDM_EXPORT int KDDM_CALL KDDM_DeleteDC(KddmHandle handle, void* dc) {
  return TheSession().Calls().KDDM_DeleteDC(KD_REAL(KDDM_DeleteDC), handle, dc);
}

KDDM_EXPORT int KDDM_CALL KDDM_GetDevMode(KddmHandle handle, void* buffer) {
  return TheSession().Calls().KDDM_GetDevMode(KD_REAL(KDDM_GetDevMode), handle, buffer);
}

KDDM_EXPORT int KDDM_CALL KDDM_Close(KddmHandle handle) {
  return TheSession().Calls().KDDM_Close(KD_REAL(KDDM_Close), handle);
}
