// Stand-in for the driver-settings library that lies beside the printer driver: each export
// loads the shared printer state, asks the simulated driver and saves what changed.
#include <cstdlib>
#include <string>
#include <type_traits>

#include "link/driver_settings_api.h"
#include "link/library_exports.h"
#include "sim/simulated_driver.h"
#include "sim/standin_state_path.h"

namespace {

using printer_link::KddmHandle;

int Number(KddmHandle handle) {
  return static_cast<int>(reinterpret_cast<intptr_t>(handle));
}

// Without a state file there is no driver: every call fails with `failed`.
template <typename Action>
int WithDriver(int failed, Action action) {
  std::string path = sim::StandInStatePath();
  sim::PrinterState state;
  if (!sim::LoadState(path, &state, nullptr)) return failed;
  std::string loaded = sim::FormatState(state);
  sim::SimulatedDriver driver(state);
  int result = action(driver);
  if (sim::FormatState(state) != loaded) sim::SaveState(path, state);
  return result;
}

}  // namespace

KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KDDM_Open(const char* queue, int openNumber, uint32_t flags,
                                                void* devMode, KddmHandle* handle) {
  return WithDriver(sim::KDDM_FAILED, [&](sim::SimulatedDriver& d) {
    int number = 0;
    int result = d.Open(queue, openNumber, flags, devMode, &number);
    if (result == 0 && handle != nullptr) *handle = reinterpret_cast<KddmHandle>(intptr_t{number});
    return result;
  });
}

KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KDDM_GetDriverInfo(KddmHandle handle, void* block) {
  return WithDriver(sim::KDDM_FAILED, [&](sim::SimulatedDriver& d) {
    return d.GetDriverInfo(Number(handle), block);
  });
}

KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KDDM_GetCommandLevel(KddmHandle handle) {
  return WithDriver(sim::KDDM_FAILED,
                    [&](sim::SimulatedDriver& d) { return d.GetCommandLevel(Number(handle)); });
}

KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KDDM_GetRange(KddmHandle handle, int item, void* block) {
  return WithDriver(sim::KDDM_FAILED, [&](sim::SimulatedDriver& d) {
    return d.GetRange(Number(handle), item, block);
  });
}

KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KDDM_GetData(KddmHandle handle, int item, void* block) {
  return WithDriver(sim::KDDM_FAILED, [&](sim::SimulatedDriver& d) {
    return d.GetData(Number(handle), item, block);
  });
}

KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KDDM_SetData(KddmHandle handle, int item, intptr_t value) {
  return WithDriver(sim::KDDM_FAILED, [&](sim::SimulatedDriver& d) {
    return d.SetData(Number(handle), item, value);
  });
}

// Printing goes through the system with the device mode; the driver makes no contexts itself.
KD_LIBRARY_EXPORT void* KD_LIBRARY_CALL KDDM_CreateDC(KddmHandle /*handle*/) {
  return nullptr;
}

KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KDDM_ResetDC(KddmHandle /*handle*/, void* /*dc*/) {
  return sim::KDDM_FAILED;
}

KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KDDM_DeleteDC(KddmHandle /*handle*/, void* /*dc*/) {
  return sim::KDDM_FAILED;
}

KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KDDM_GetDevMode(KddmHandle handle, void* buffer) {
  return WithDriver(0,
                    [&](sim::SimulatedDriver& d) { return d.GetDevMode(Number(handle), buffer); });
}

// Left out of the variant that shows how the binding copes with an incomplete library.
#ifndef KD_STANDIN_WITHOUT_CLOSE
KD_LIBRARY_EXPORT int KD_LIBRARY_CALL KDDM_Close(KddmHandle handle) {
  return WithDriver(sim::KDDM_FAILED,
                    [&](sim::SimulatedDriver& d) { return d.Close(Number(handle)); });
}
#endif

// The exports must keep the signatures the binding calls them through (the convention aside,
// which the binding does not assume).
#if !defined(__i386__)
#define KD_SAME_SIGNATURE(name) \
  static_assert(std::is_same<decltype(&name), printer_link::name##Fn>::value, #name)
KD_SAME_SIGNATURE(KDDM_Open);
KD_SAME_SIGNATURE(KDDM_GetDriverInfo);
KD_SAME_SIGNATURE(KDDM_GetCommandLevel);
KD_SAME_SIGNATURE(KDDM_GetRange);
KD_SAME_SIGNATURE(KDDM_GetData);
KD_SAME_SIGNATURE(KDDM_SetData);
KD_SAME_SIGNATURE(KDDM_CreateDC);
KD_SAME_SIGNATURE(KDDM_ResetDC);
KD_SAME_SIGNATURE(KDDM_DeleteDC);
KD_SAME_SIGNATURE(KDDM_GetDevMode);
#ifndef KD_STANDIN_WITHOUT_CLOSE
KD_SAME_SIGNATURE(KDDM_Close);
#endif
#endif
