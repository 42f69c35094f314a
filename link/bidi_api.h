// Binding of the maker's bidirectional communication library and its twelve exports.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/files.h"
#include "platform/library.h"
#include "platform/spooler.h"

namespace printer_link {

constexpr char KBAPI_LIBRARY[] = "KBAPI.DLL";
constexpr int KBAPI_MISSING = -100;  // a wrapper whose export is absent

// Export signatures as the call sites use them; called only through ForeignCall, which holds
// whichever calling convention the library was built with.
using KBInitializeFn = int (*)();
using KBReleaseFn = int (*)();
using KBGetDeviceIDFn = int (*)(int, const char*, char*, uint32_t*);
using KBGetAvailableChannelFn = int (*)(int, const char*, uint8_t*, uint32_t*);
using KBOpenChannelFn = int (*)(int, const char*, uint32_t);
using KBCloseChannelFn = int (*)(int);
using KBSetOptionFn = int (*)(int, int, void*, uint32_t);
using KBGetOptionFn = int (*)(int, int, void*, uint32_t*);
using KBReceiveCancelFn = int (*)(int);
using KBGetStatusFn = int (*)(int, uint8_t*, uint32_t*);
using KBSendFn = int (*)(int, const uint8_t*, uint32_t);
using KBReceiveFn = int (*)(int, uint8_t*, uint32_t*, uint32_t);

// Where Bind looks for the library.
enum class LibrarySearch {
  PlainNameFirst,  // by its plain name, then at the path the queue's driver names
  DriverPathOnly,  // only at the path the queue's driver names
};

class BidiApi {
 public:
  BidiApi(platform::Library& library, platform::Spooler& spooler, platform::Files& files);
  ~BidiApi();
  BidiApi(const BidiApi&) = delete;
  BidiApi& operator=(const BidiApi&) = delete;

  // 1 when the library is loaded, all twelve exports were found and KBInitialize answered 0.
  // A failed bind leaves the library loaded for Release.
  int Bind(const std::string& queueName, LibrarySearch search);
  // 1 when KBRelease answered 0; unloads and clears every entry point.
  int Release();
  bool IsLoaded() const { return module_ != nullptr; }

  // Library path named by the queue's driver ("KBAPII" of its data file), or empty.
  std::string DriverLibraryPath(const std::string& queueName);

  // Wrappers: -100 when the export is absent.
  int KBInitialize();
  int KBRelease();
  int KBGetDeviceID(int constant, const char* queue, char* buffer, uint32_t* size);
  int KBGetAvailableChannel(int constant, const char* queue, uint8_t* buffer, uint32_t* size);
  int KBOpenChannel(int constant, const char* queue, uint32_t type);
  int KBCloseChannel(int handle);
  int KBGetStatus(int handle, uint8_t* buffer, uint32_t* size);
  int KBSend(int handle, const uint8_t* data, uint32_t length);
  int KBReceive(int handle, uint8_t* buffer, uint32_t* size, uint32_t timeLimitMs);

 private:
  void ClearEntries();

  platform::Library& library_;
  platform::Spooler& spooler_;
  platform::Files& files_;
  std::unique_ptr<platform::LoadedLibrary> module_;
  KBInitializeFn initialize_ = nullptr;
  KBReleaseFn release_ = nullptr;
  KBGetDeviceIDFn getDeviceId_ = nullptr;
  KBGetAvailableChannelFn getAvailableChannel_ = nullptr;
  KBOpenChannelFn openChannel_ = nullptr;
  KBCloseChannelFn closeChannel_ = nullptr;
  KBSetOptionFn setOption_ = nullptr;
  KBGetOptionFn getOption_ = nullptr;
  KBReceiveCancelFn receiveCancel_ = nullptr;
  KBGetStatusFn getStatus_ = nullptr;
  KBSendFn send_ = nullptr;
  KBReceiveFn receive_ = nullptr;
};

}  // namespace printer_link
