// In-process recording exports over another library's.
#include "sim/tracing_library.h"

#include <cstring>

namespace sim {

namespace {

using namespace printer_link;

// Test glue, as in simulated_library.cpp: plain function exports cannot carry an object.
struct Glue {
  trace::RecordingCalls* calls = nullptr;
  platform::LoadedLibrary* library = nullptr;  // the bidirectional one
  platform::LoadedLibrary* driver = nullptr;   // the driver-settings one
};
Glue glue;

template <typename Fn>
Fn Real(platform::LoadedLibrary* library, const char* name) {
  return library ? reinterpret_cast<Fn>(library->Export(name)) : nullptr;
}
#define KD_REAL(kind, name) Real<name##Fn>(glue.kind, #name)

int Initialize() {
  return glue.calls->KBInitialize(KD_REAL(library, KBInitialize));
}
int Release() {
  return glue.calls->KBRelease(KD_REAL(library, KBRelease));
}
int GetDeviceId(int c, const char* q, char* b, uint32_t* s) {
  return glue.calls->KBGetDeviceID(KD_REAL(library, KBGetDeviceID), c, q, b, s);
}
int GetAvailableChannel(int c, const char* q, uint8_t* b, uint32_t* s) {
  return glue.calls->KBGetAvailableChannel(KD_REAL(library, KBGetAvailableChannel), c, q, b, s);
}
int OpenChannel(int c, const char* q, uint32_t t) {
  return glue.calls->KBOpenChannel(KD_REAL(library, KBOpenChannel), c, q, t);
}
int CloseChannel(int h) {
  return glue.calls->KBCloseChannel(KD_REAL(library, KBCloseChannel), h);
}
int SetOption(int h, int o, void* d, uint32_t s) {
  return glue.calls->KBSetOption(KD_REAL(library, KBSetOption), h, o, d, s);
}
int GetOption(int h, int o, void* d, uint32_t* s) {
  return glue.calls->KBGetOption(KD_REAL(library, KBGetOption), h, o, d, s);
}
int ReceiveCancel(int h) {
  return glue.calls->KBReceiveCancel(KD_REAL(library, KBReceiveCancel), h);
}
int GetStatus(int h, uint8_t* b, uint32_t* s) {
  return glue.calls->KBGetStatus(KD_REAL(library, KBGetStatus), h, b, s);
}
int Send(int h, const uint8_t* d, uint32_t n) {
  return glue.calls->KBSend(KD_REAL(library, KBSend), h, d, n);
}
int Receive(int h, uint8_t* b, uint32_t* s, uint32_t t) {
  return glue.calls->KBReceive(KD_REAL(library, KBReceive), h, b, s, t);
}
int Open(const char* q, int n, uint32_t f, void* d, KddmHandle* h) {
  return glue.calls->KDDM_Open(KD_REAL(driver, KDDM_Open), q, n, f, d, h);
}
int GetDriverInfo(KddmHandle h, void* b) {
  return glue.calls->KDDM_GetDriverInfo(KD_REAL(driver, KDDM_GetDriverInfo), h, b);
}
int GetCommandLevel(KddmHandle h) {
  return glue.calls->KDDM_GetCommandLevel(KD_REAL(driver, KDDM_GetCommandLevel), h);
}
int GetRange(KddmHandle h, int i, void* b) {
  return glue.calls->KDDM_GetRange(KD_REAL(driver, KDDM_GetRange), h, i, b);
}
int GetData(KddmHandle h, int i, void* b) {
  return glue.calls->KDDM_GetData(KD_REAL(driver, KDDM_GetData), h, i, b);
}
int SetData(KddmHandle h, int i, intptr_t v) {
  return glue.calls->KDDM_SetData(KD_REAL(driver, KDDM_SetData), h, i, v);
}
void* CreateDc(KddmHandle h) {
  return glue.calls->KDDM_CreateDC(KD_REAL(driver, KDDM_CreateDC), h);
}
int ResetDc(KddmHandle h, void* dc) {
  return glue.calls->KDDM_ResetDC(KD_REAL(driver, KDDM_ResetDC), h, dc);
}
int DeleteDc(KddmHandle h, void* dc) {
  return glue.calls->KDDM_DeleteDC(KD_REAL(driver, KDDM_DeleteDC), h, dc);
}
int GetDevMode(KddmHandle h, void* b) {
  return glue.calls->KDDM_GetDevMode(KD_REAL(driver, KDDM_GetDevMode), h, b);
}
int Close(KddmHandle h) {
  return glue.calls->KDDM_Close(KD_REAL(driver, KDDM_Close), h);
}
#undef KD_REAL

struct Entry {
  const char* name;
  void* address;
};
#define KD_ENTRY(name, fn) \
  { #name, reinterpret_cast < void*>(name##Fn{&fn}) }
const Entry EXPORTS[] = {
    KD_ENTRY(KBInitialize, Initialize),
    KD_ENTRY(KBRelease, Release),
    KD_ENTRY(KBGetDeviceID, GetDeviceId),
    KD_ENTRY(KBGetAvailableChannel, GetAvailableChannel),
    KD_ENTRY(KBOpenChannel, OpenChannel),
    KD_ENTRY(KBCloseChannel, CloseChannel),
    KD_ENTRY(KBSetOption, SetOption),
    KD_ENTRY(KBGetOption, GetOption),
    KD_ENTRY(KBReceiveCancel, ReceiveCancel),
    KD_ENTRY(KBGetStatus, GetStatus),
    KD_ENTRY(KBSend, Send),
    KD_ENTRY(KBReceive, Receive),
    KD_ENTRY(KDDM_Open, Open),
    KD_ENTRY(KDDM_GetDriverInfo, GetDriverInfo),
    KD_ENTRY(KDDM_GetCommandLevel, GetCommandLevel),
    KD_ENTRY(KDDM_GetRange, GetRange),
    KD_ENTRY(KDDM_GetData, GetData),
    KD_ENTRY(KDDM_SetData, SetData),
    KD_ENTRY(KDDM_CreateDC, CreateDc),
    KD_ENTRY(KDDM_ResetDC, ResetDc),
    KD_ENTRY(KDDM_DeleteDC, DeleteDc),
    KD_ENTRY(KDDM_GetDevMode, GetDevMode),
    KD_ENTRY(KDDM_Close, Close),
};
#undef KD_ENTRY

bool IsDriverExport(const char* name) {
  return std::strncmp(name, "KDDM_", 5) == 0;
}

class LoadedTracing : public platform::LoadedLibrary {
 public:
  LoadedTracing(std::unique_ptr<platform::LoadedLibrary> inner, trace::RecordingCalls* calls)
      : inner_(std::move(inner)), calls_(calls) {}
  ~LoadedTracing() override {
    if (glue.library == inner_.get()) glue.library = nullptr;
    if (glue.driver == inner_.get()) glue.driver = nullptr;
  }

  // Ours where the inner library has the export, so that a missing one stays missing.
  void* Export(const char* name) override {
    if (name == nullptr || inner_->Export(name) == nullptr) return nullptr;
    for (const Entry& entry : EXPORTS) {
      if (std::strcmp(entry.name, name) != 0) continue;
      glue.calls = calls_;
      (IsDriverExport(name) ? glue.driver : glue.library) = inner_.get();
      return entry.address;
    }
    return nullptr;
  }

 private:
  std::unique_ptr<platform::LoadedLibrary> inner_;
  trace::RecordingCalls* calls_;
};

}  // namespace

std::unique_ptr<platform::LoadedLibrary> TracingLibrary::Load(const std::string& nameOrPath) {
  std::unique_ptr<platform::LoadedLibrary> inner = inner_->Load(nameOrPath);
  if (!inner || !calls_) return inner;
  return std::make_unique<LoadedTracing>(std::move(inner), calls_);
}

}  // namespace sim
