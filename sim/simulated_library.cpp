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

// The driver-settings library in-process: the printer's simulated driver, handles as numbers.
int Number(printer_link::KddmHandle handle) {
  return static_cast<int>(reinterpret_cast<intptr_t>(handle));
}
int KddmOpen(const char* q, int n, uint32_t f, void* d, printer_link::KddmHandle* h) {
  if (!boundPrinter) return KDDM_FAILED;
  int number = 0;
  int result = SimulatedDriver(boundPrinter->State()).Open(q, n, f, d, &number);
  if (result == printer_link::KDDM_OK && h)
    *h = reinterpret_cast<printer_link::KddmHandle>(intptr_t{number});
  return result;
}
int KddmGetDriverInfo(printer_link::KddmHandle h, void* b) {
  return boundPrinter ? SimulatedDriver(boundPrinter->State()).GetDriverInfo(Number(h), b)
                      : KDDM_FAILED;
}
int KddmGetCommandLevel(printer_link::KddmHandle h) {
  return boundPrinter ? SimulatedDriver(boundPrinter->State()).GetCommandLevel(Number(h))
                      : KDDM_FAILED;
}
int KddmGetRange(printer_link::KddmHandle h, int item, void* b) {
  return boundPrinter ? SimulatedDriver(boundPrinter->State()).GetRange(Number(h), item, b)
                      : KDDM_FAILED;
}
int KddmGetData(printer_link::KddmHandle h, int item, void* b) {
  return boundPrinter ? SimulatedDriver(boundPrinter->State()).GetData(Number(h), item, b)
                      : KDDM_FAILED;
}
int KddmSetData(printer_link::KddmHandle h, int item, intptr_t v) {
  return boundPrinter ? SimulatedDriver(boundPrinter->State()).SetData(Number(h), item, v)
                      : KDDM_FAILED;
}
void* KddmCreateDC(printer_link::KddmHandle) {
  return nullptr;
}
int KddmResetDC(printer_link::KddmHandle, void*) {
  return KDDM_FAILED;
}
int KddmDeleteDC(printer_link::KddmHandle, void*) {
  return KDDM_FAILED;
}
int KddmGetDevMode(printer_link::KddmHandle h, void* b) {
  return boundPrinter ? SimulatedDriver(boundPrinter->State()).GetDevMode(Number(h), b) : 0;
}
int KddmClose(printer_link::KddmHandle h) {
  return boundPrinter ? SimulatedDriver(boundPrinter->State()).Close(Number(h)) : KDDM_FAILED;
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
    {"KDDM_Open", reinterpret_cast<void*>(printer_link::KDDM_OpenFn{&KddmOpen})},
    {"KDDM_GetDriverInfo",
     reinterpret_cast<void*>(printer_link::KDDM_GetDriverInfoFn{&KddmGetDriverInfo})},
    {"KDDM_GetCommandLevel",
     reinterpret_cast<void*>(printer_link::KDDM_GetCommandLevelFn{&KddmGetCommandLevel})},
    {"KDDM_GetRange", reinterpret_cast<void*>(printer_link::KDDM_GetRangeFn{&KddmGetRange})},
    {"KDDM_GetData", reinterpret_cast<void*>(printer_link::KDDM_GetDataFn{&KddmGetData})},
    {"KDDM_SetData", reinterpret_cast<void*>(printer_link::KDDM_SetDataFn{&KddmSetData})},
    {"KDDM_CreateDC", reinterpret_cast<void*>(printer_link::KDDM_CreateDCFn{&KddmCreateDC})},
    {"KDDM_ResetDC", reinterpret_cast<void*>(printer_link::KDDM_ResetDCFn{&KddmResetDC})},
    {"KDDM_DeleteDC", reinterpret_cast<void*>(printer_link::KDDM_DeleteDCFn{&KddmDeleteDC})},
    {"KDDM_GetDevMode", reinterpret_cast<void*>(printer_link::KDDM_GetDevModeFn{&KddmGetDevMode})},
    {"KDDM_Close", reinterpret_cast<void*>(printer_link::KDDM_CloseFn{&KddmClose})},
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

}  // namespace

std::unique_ptr<platform::LoadedLibrary> SimulatedLibrary::Load(const std::string& nameOrPath) {
  if (printer_.State().Has(FAULT_NO_LIBRARY)) return nullptr;
  if (std::find(names_.begin(), names_.end(), nameOrPath) == names_.end()) return nullptr;
  ++loads_;
  return std::make_unique<LoadedSimulation>(printer_);
}

}  // namespace sim
