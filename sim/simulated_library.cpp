// In-process exports of the bidirectional library over a SimulatedPrinter.
#include "sim/simulated_library.h"

#include <algorithm>
#include <cstring>

#include "link/bidi_api.h"
#include "link/driver_settings_api.h"
#include "sim/protocol_bytes.h"
#include "sim/simulated_driver.h"

namespace sim {

namespace {

// Test glue: plain function exports cannot carry an object, so they reach the printer here.
SimulatedPrinter* boundPrinter = nullptr;

int Initialize() {
  return boundPrinter ? boundPrinter->Initialize() : KB_FAILED;
}
int Release() {
  return boundPrinter ? boundPrinter->Release() : KB_FAILED;
}
int GetDeviceId(int c, const char* q, char* b, uint32_t* s) {
  return boundPrinter ? boundPrinter->GetDeviceId(c, q, b, s) : KB_FAILED;
}
int GetAvailableChannel(int c, const char* q, uint8_t* b, uint32_t* s) {
  return boundPrinter ? boundPrinter->GetAvailableChannel(c, q, b, s) : KB_FAILED;
}
int OpenChannel(int c, const char* q, uint32_t t) {
  return boundPrinter ? boundPrinter->OpenChannel(c, q, t) : KB_FAILED;
}
int CloseChannel(int h) {
  return boundPrinter ? boundPrinter->CloseChannel(h) : KB_FAILED;
}
int SetOption(int h, int o, void* d, uint32_t s) {
  return boundPrinter ? boundPrinter->SetOption(h, o, d, s) : KB_FAILED;
}
int GetOption(int h, int o, void* d, uint32_t* s) {
  return boundPrinter ? boundPrinter->GetOption(h, o, d, s) : KB_FAILED;
}
int ReceiveCancel(int h) {
  return boundPrinter ? boundPrinter->ReceiveCancel(h) : KB_FAILED;
}
int GetStatus(int h, uint8_t* b, uint32_t* s) {
  return boundPrinter ? boundPrinter->GetStatus(h, b, s) : KB_FAILED;
}
int Send(int h, const uint8_t* d, uint32_t n) {
  return boundPrinter ? boundPrinter->Send(h, d, n) : KB_FAILED;
}
int Receive(int h, uint8_t* b, uint32_t* s, uint32_t t) {
  return boundPrinter ? boundPrinter->Receive(h, b, s, t) : KB_FAILED;
}

struct Entry {
  const char* name;
  void* address;
};

// The signatures are checked against the ones the binding calls through.
const Entry EXPORTS[] = {
    {"KBInitialize", reinterpret_cast<void*>(printer_link::KBInitializeFn{&Initialize})},
    {"KBRelease", reinterpret_cast<void*>(printer_link::KBReleaseFn{&Release})},
    {"KBGetDeviceID", reinterpret_cast<void*>(printer_link::KBGetDeviceIDFn{&GetDeviceId})},
    {"KBGetAvailableChannel",
     reinterpret_cast<void*>(printer_link::KBGetAvailableChannelFn{&GetAvailableChannel})},
    {"KBOpenChannel", reinterpret_cast<void*>(printer_link::KBOpenChannelFn{&OpenChannel})},
    {"KBCloseChannel", reinterpret_cast<void*>(printer_link::KBCloseChannelFn{&CloseChannel})},
    {"KBSetOption", reinterpret_cast<void*>(printer_link::KBSetOptionFn{&SetOption})},
    {"KBGetOption", reinterpret_cast<void*>(printer_link::KBGetOptionFn{&GetOption})},
    {"KBReceiveCancel", reinterpret_cast<void*>(printer_link::KBReceiveCancelFn{&ReceiveCancel})},
    {"KBGetStatus", reinterpret_cast<void*>(printer_link::KBGetStatusFn{&GetStatus})},
    {"KBSend", reinterpret_cast<void*>(printer_link::KBSendFn{&Send})},
    {"KBReceive", reinterpret_cast<void*>(printer_link::KBReceiveFn{&Receive})},
};

class LoadedSimulation : public platform::LoadedLibrary {
 public:
  explicit LoadedSimulation(SimulatedPrinter& printer) : printer_(printer) {
    boundPrinter = &printer_;
  }
  ~LoadedSimulation() override {
    if (boundPrinter == &printer_) boundPrinter = nullptr;
  }

  void* Export(const char* name) override {
    if (name == nullptr || printer_.State().missingExport == name) return nullptr;
    for (const Entry& entry : EXPORTS) {
      if (std::strcmp(entry.name, name) == 0) return entry.address;
    }
    return nullptr;
  }

 private:
  SimulatedPrinter& printer_;
};

// The driver-settings library: each call asks a driver over the printer's state, as the
// stand-in library does over its state file.
SimulatedPrinter* driverPrinter = nullptr;

using printer_link::KddmHandle;

int HandleNumber(KddmHandle handle) {
  return static_cast<int>(reinterpret_cast<intptr_t>(handle));
}

template <typename Action>
int WithDriver(int failed, Action action) {
  if (!driverPrinter) return failed;
  SimulatedDriver driver(driverPrinter->State());
  return action(driver);
}

int KddmOpen(const char* queue, int openNumber, uint32_t flags, void* devMode, KddmHandle* handle) {
  return WithDriver(KDDM_FAILED, [&](SimulatedDriver& d) {
    int number = 0;
    int result = d.Open(queue, openNumber, flags, devMode, &number);
    if (result == printer_link::KDDM_OK && handle) {
      *handle = reinterpret_cast<KddmHandle>(intptr_t{number});
    }
    return result;
  });
}
int KddmGetDriverInfo(KddmHandle h, void* block) {
  return WithDriver(KDDM_FAILED,
                    [&](SimulatedDriver& d) { return d.GetDriverInfo(HandleNumber(h), block); });
}
int KddmGetCommandLevel(KddmHandle h) {
  return WithDriver(KDDM_FAILED,
                    [&](SimulatedDriver& d) { return d.GetCommandLevel(HandleNumber(h)); });
}
int KddmGetRange(KddmHandle h, int item, void* block) {
  return WithDriver(KDDM_FAILED,
                    [&](SimulatedDriver& d) { return d.GetRange(HandleNumber(h), item, block); });
}
int KddmGetData(KddmHandle h, int item, void* block) {
  return WithDriver(KDDM_FAILED,
                    [&](SimulatedDriver& d) { return d.GetData(HandleNumber(h), item, block); });
}
int KddmSetData(KddmHandle h, int item, intptr_t value) {
  return WithDriver(KDDM_FAILED,
                    [&](SimulatedDriver& d) { return d.SetData(HandleNumber(h), item, value); });
}
void* KddmCreateDc(KddmHandle) {
  return nullptr;
}
int KddmResetDc(KddmHandle, void*) {
  return KDDM_FAILED;
}
int KddmDeleteDc(KddmHandle, void*) {
  return KDDM_FAILED;
}
int KddmGetDevMode(KddmHandle h, void* buffer) {
  return WithDriver(0, [&](SimulatedDriver& d) { return d.GetDevMode(HandleNumber(h), buffer); });
}
int KddmClose(KddmHandle h) {
  return WithDriver(KDDM_FAILED, [&](SimulatedDriver& d) { return d.Close(HandleNumber(h)); });
}

const Entry DRIVER_EXPORTS[] = {
    {"KDDM_Open", reinterpret_cast<void*>(printer_link::KDDM_OpenFn{&KddmOpen})},
    {"KDDM_GetDriverInfo",
     reinterpret_cast<void*>(printer_link::KDDM_GetDriverInfoFn{&KddmGetDriverInfo})},
    {"KDDM_GetCommandLevel",
     reinterpret_cast<void*>(printer_link::KDDM_GetCommandLevelFn{&KddmGetCommandLevel})},
    {"KDDM_GetRange", reinterpret_cast<void*>(printer_link::KDDM_GetRangeFn{&KddmGetRange})},
    {"KDDM_GetData", reinterpret_cast<void*>(printer_link::KDDM_GetDataFn{&KddmGetData})},
    {"KDDM_SetData", reinterpret_cast<void*>(printer_link::KDDM_SetDataFn{&KddmSetData})},
    {"KDDM_CreateDC", reinterpret_cast<void*>(printer_link::KDDM_CreateDCFn{&KddmCreateDc})},
    {"KDDM_ResetDC", reinterpret_cast<void*>(printer_link::KDDM_ResetDCFn{&KddmResetDc})},
    {"KDDM_DeleteDC", reinterpret_cast<void*>(printer_link::KDDM_DeleteDCFn{&KddmDeleteDc})},
    {"KDDM_GetDevMode", reinterpret_cast<void*>(printer_link::KDDM_GetDevModeFn{&KddmGetDevMode})},
    {"KDDM_Close", reinterpret_cast<void*>(printer_link::KDDM_CloseFn{&KddmClose})},
};

class LoadedDriverSimulation : public platform::LoadedLibrary {
 public:
  explicit LoadedDriverSimulation(SimulatedPrinter& printer) : printer_(printer) {
    driverPrinter = &printer_;
  }
  ~LoadedDriverSimulation() override {
    if (driverPrinter == &printer_) driverPrinter = nullptr;
  }

  void* Export(const char* name) override {
    if (name == nullptr || printer_.State().missingExport == name) return nullptr;
    for (const Entry& entry : DRIVER_EXPORTS) {
      if (std::strcmp(entry.name, name) == 0) return entry.address;
    }
    return nullptr;
  }

 private:
  SimulatedPrinter& printer_;
};

bool Listed(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

std::unique_ptr<platform::LoadedLibrary> SimulatedLibrary::Load(const std::string& nameOrPath) {
  if (Listed(driverNames_, nameOrPath)) {
    ++driverLoads_;
    return std::make_unique<LoadedDriverSimulation>(printer_);
  }
  if (printer_.State().Has(FAULT_NO_LIBRARY)) return nullptr;
  if (!Listed(names_, nameOrPath)) return nullptr;
  ++loads_;
  return std::make_unique<LoadedSimulation>(printer_);
}

}  // namespace sim
