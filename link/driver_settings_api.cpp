// Loading the driver-settings library beside the printer driver and calling it softly.
#include "link/driver_settings_api.h"

#include "link/foreign_call.h"

namespace printer_link {

namespace {

template <typename Fn>
Fn Lookup(platform::LoadedLibrary& module, const char* name) {
  return reinterpret_cast<Fn>(module.Export(name));
}

}  // namespace

DriverSettingsApi::DriverSettingsApi(platform::Library& library, platform::Spooler& spooler)
    : library_(library), spooler_(spooler) {}

DriverSettingsApi::~DriverSettingsApi() {
  Unbind();
}

std::string DriverSettingsApi::LibraryPath(const std::string& queueName) {
  platform::PrinterHandle printer = spooler_.OpenPrinter(queueName);
  if (printer == 0) return KDSET32_LIBRARY;
  platform::DriverInfo info;
  bool known = spooler_.GetDriverInfo(printer, &info);
  spooler_.ClosePrinter(printer);
  if (!known) return KDSET32_LIBRARY;
  std::string path = info.driverPath;
  size_t slash = path.rfind('\\');
  if (slash != std::string::npos && slash > 0) path.resize(slash + 1);
  return path + KDSET32_LIBRARY;
}

int DriverSettingsApi::Bind(const std::string& queueName) {
  Unbind();
  module_ = library_.Load(LibraryPath(queueName));
  if (!module_) return 0;

  platform::LoadedLibrary& m = *module_;
  open_ = Lookup<KDDM_OpenFn>(m, "KDDM_Open");
  getDriverInfo_ = Lookup<KDDM_GetDriverInfoFn>(m, "KDDM_GetDriverInfo");
  getCommandLevel_ = Lookup<KDDM_GetCommandLevelFn>(m, "KDDM_GetCommandLevel");
  getRange_ = Lookup<KDDM_GetRangeFn>(m, "KDDM_GetRange");
  getData_ = Lookup<KDDM_GetDataFn>(m, "KDDM_GetData");
  setData_ = Lookup<KDDM_SetDataFn>(m, "KDDM_SetData");
  createDc_ = Lookup<KDDM_CreateDCFn>(m, "KDDM_CreateDC");
  resetDc_ = Lookup<KDDM_ResetDCFn>(m, "KDDM_ResetDC");
  deleteDc_ = Lookup<KDDM_DeleteDCFn>(m, "KDDM_DeleteDC");
  getDevMode_ = Lookup<KDDM_GetDevModeFn>(m, "KDDM_GetDevMode");
  close_ = Lookup<KDDM_CloseFn>(m, "KDDM_Close");

  // An incomplete library stays loaded; the wrappers of what it has still work.
  bool complete = open_ && getDriverInfo_ && getCommandLevel_ && getRange_ && getData_ &&
                  setData_ && createDc_ && resetDc_ && deleteDc_ && getDevMode_ && close_;
  return complete ? 1 : 0;
}

void DriverSettingsApi::Unbind() {
  ClearEntries();
  module_.reset();
}

void DriverSettingsApi::ClearEntries() {
  open_ = nullptr;
  getDriverInfo_ = nullptr;
  getCommandLevel_ = nullptr;
  getRange_ = nullptr;
  getData_ = nullptr;
  setData_ = nullptr;
  createDc_ = nullptr;
  resetDc_ = nullptr;
  deleteDc_ = nullptr;
  getDevMode_ = nullptr;
  close_ = nullptr;
}

int DriverSettingsApi::KDDM_Open(const char* queue, int openNumber, uint32_t flags, void* devMode,
                                 KddmHandle* handle) {
  return open_ ? ForeignCall(open_, queue, openNumber, flags, devMode, handle) : KDSET32_MISSING;
}

int DriverSettingsApi::KDDM_GetRange(KddmHandle handle, int item, void* block) {
  return getRange_ ? ForeignCall(getRange_, handle, item, block) : KDSET32_MISSING;
}

int DriverSettingsApi::KDDM_GetData(KddmHandle handle, int item, void* block) {
  return getData_ ? ForeignCall(getData_, handle, item, block) : KDSET32_MISSING;
}

int DriverSettingsApi::KDDM_SetData(KddmHandle handle, int item, intptr_t value) {
  return setData_ ? ForeignCall(setData_, handle, item, value) : KDSET32_MISSING;
}

int DriverSettingsApi::KDDM_GetDevMode(KddmHandle handle, void* buffer) {
  return getDevMode_ ? ForeignCall(getDevMode_, handle, buffer) : KDSET32_MISSING;
}

int DriverSettingsApi::KDDM_Close(KddmHandle handle) {
  return close_ ? ForeignCall(close_, handle) : KDSET32_MISSING;
}

}  // namespace printer_link
