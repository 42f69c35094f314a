// In-process exports of the bidirectional library over a SimulatedPrinter.
#include "sim/simulated_library.h"

#include <algorithm>
#include <cstring>

#include "link/bidi_api.h"
#include "sim/protocol_bytes.h"

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

}  // namespace

std::unique_ptr<platform::LoadedLibrary> SimulatedLibrary::Load(const std::string& nameOrPath) {
  if (printer_.State().Has(FAULT_NO_LIBRARY)) return nullptr;
  if (std::find(names_.begin(), names_.end(), nameOrPath) == names_.end()) return nullptr;
  ++loads_;
  return std::make_unique<LoadedSimulation>(printer_);
}

}  // namespace sim
