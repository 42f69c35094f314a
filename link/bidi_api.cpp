// Loading the bidirectional communication library and calling it through soft wrappers.
#include "link/bidi_api.h"

#include "link/foreign_call.h"

namespace printer_link {

namespace {

constexpr char PROFILE_SECTION[] = "User Mode Printer Driver Information";
constexpr char PROFILE_KEY[] = "KBAPII";
constexpr size_t PROFILE_VALUE_BUFFER = 256;

template <typename Fn>
Fn Lookup(platform::LoadedLibrary& module, const char* name) {
  return reinterpret_cast<Fn>(module.Export(name));
}

}  // namespace

BidiApi::BidiApi(platform::Library& library, platform::Spooler& spooler, platform::Files& files)
    : library_(library), spooler_(spooler), files_(files) {}

BidiApi::~BidiApi() {
  module_.reset();
}

std::string BidiApi::DriverLibraryPath(const std::string& queueName) {
  platform::PrinterHandle printer = spooler_.OpenPrinter(queueName);
  if (printer == 0) return std::string();
  std::string path;
  platform::DriverInfo info;
  if (spooler_.GetDriverInfo(printer, &info)) {
    std::string value = files_.ProfileString(info.dataFile, PROFILE_SECTION, PROFILE_KEY, "");
    // The value lands in a 256-byte buffer.
    if (value.size() >= PROFILE_VALUE_BUFFER) value.resize(PROFILE_VALUE_BUFFER - 1);
    if (!value.empty()) {
      path = info.driverPath;
      size_t slash = path.rfind('\\');
      if (slash != std::string::npos && slash > 0) path.resize(slash + 1);
      path += value;
    }
  }
  spooler_.ClosePrinter(printer);
  return path;
}

int BidiApi::Bind(const std::string& queueName, LibrarySearch search) {
  if (module_) return 1;
  if (search == LibrarySearch::PlainNameFirst) module_ = library_.Load(KBAPI_LIBRARY);
  if (!module_) module_ = library_.Load(DriverLibraryPath(queueName));
  if (!module_) return 0;

  platform::LoadedLibrary& m = *module_;
  initialize_ = Lookup<KBInitializeFn>(m, "KBInitialize");
  release_ = Lookup<KBReleaseFn>(m, "KBRelease");
  getDeviceId_ = Lookup<KBGetDeviceIDFn>(m, "KBGetDeviceID");
  getAvailableChannel_ = Lookup<KBGetAvailableChannelFn>(m, "KBGetAvailableChannel");
  openChannel_ = Lookup<KBOpenChannelFn>(m, "KBOpenChannel");
  closeChannel_ = Lookup<KBCloseChannelFn>(m, "KBCloseChannel");
  setOption_ = Lookup<KBSetOptionFn>(m, "KBSetOption");
  getOption_ = Lookup<KBGetOptionFn>(m, "KBGetOption");
  receiveCancel_ = Lookup<KBReceiveCancelFn>(m, "KBReceiveCancel");
  getStatus_ = Lookup<KBGetStatusFn>(m, "KBGetStatus");
  send_ = Lookup<KBSendFn>(m, "KBSend");
  receive_ = Lookup<KBReceiveFn>(m, "KBReceive");

  // Initialised even when an export is missing; the caller releases a failed bind.
  int initialized = KBInitialize();
  bool complete = initialize_ && release_ && getDeviceId_ && getAvailableChannel_ && openChannel_ &&
                  closeChannel_ && setOption_ && getOption_ && receiveCancel_ && getStatus_ &&
                  send_ && receive_;
  return complete && initialized == 0 ? 1 : 0;
}

int BidiApi::Release() {
  int released = KBRelease();
  module_.reset();
  ClearEntries();
  return released == 0 ? 1 : 0;
}

void BidiApi::ClearEntries() {
  initialize_ = nullptr;
  release_ = nullptr;
  getDeviceId_ = nullptr;
  getAvailableChannel_ = nullptr;
  openChannel_ = nullptr;
  closeChannel_ = nullptr;
  setOption_ = nullptr;
  getOption_ = nullptr;
  receiveCancel_ = nullptr;
  getStatus_ = nullptr;
  send_ = nullptr;
  receive_ = nullptr;
}

int BidiApi::KBInitialize() {
  return initialize_ ? ForeignCall(initialize_) : KBAPI_MISSING;
}

int BidiApi::KBRelease() {
  return release_ ? ForeignCall(release_) : KBAPI_MISSING;
}

int BidiApi::KBGetDeviceID(int constant, const char* queue, char* buffer, uint32_t* size) {
  return getDeviceId_ ? ForeignCall(getDeviceId_, constant, queue, buffer, size) : KBAPI_MISSING;
}

int BidiApi::KBGetAvailableChannel(int constant, const char* queue, uint8_t* buffer,
                                   uint32_t* size) {
  return getAvailableChannel_ ? ForeignCall(getAvailableChannel_, constant, queue, buffer, size)
                              : KBAPI_MISSING;
}

int BidiApi::KBOpenChannel(int constant, const char* queue, uint32_t type) {
  return openChannel_ ? ForeignCall(openChannel_, constant, queue, type) : KBAPI_MISSING;
}

int BidiApi::KBCloseChannel(int handle) {
  return closeChannel_ ? ForeignCall(closeChannel_, handle) : KBAPI_MISSING;
}

int BidiApi::KBGetStatus(int handle, uint8_t* buffer, uint32_t* size) {
  return getStatus_ ? ForeignCall(getStatus_, handle, buffer, size) : KBAPI_MISSING;
}

int BidiApi::KBSend(int handle, const uint8_t* data, uint32_t length) {
  return send_ ? ForeignCall(send_, handle, data, length) : KBAPI_MISSING;
}

int BidiApi::KBReceive(int handle, uint8_t* buffer, uint32_t* size, uint32_t timeLimitMs) {
  return receive_ ? ForeignCall(receive_, handle, buffer, size, timeLimitMs) : KBAPI_MISSING;
}

}  // namespace printer_link
