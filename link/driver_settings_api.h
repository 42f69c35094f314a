// Binding of the driver-settings library that lies beside the printer driver, and its exports.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/library.h"
#include "platform/spooler.h"

namespace printer_link {

constexpr char KDSET32_LIBRARY[] = "KDSET32.DLL";
constexpr int KDSET32_MISSING = -7;  // a wrapper whose export is absent
constexpr int KDDM_OK = 0;

using KddmHandle = void*;  // null = not open

// KDDM_Open flags.
constexpr uint32_t KDDM_OPEN_PLAIN = 0;
constexpr uint32_t KDDM_OPEN_WITH_DEVMODE = 2;

// Setting items.
constexpr int ITEM_SAMPLE_PRINT = 20;    // set: plain value 1 before every sample
constexpr int ITEM_PAPER_SIZE = 30;      // words width, length, code, 0; range: the size codes
constexpr int ITEM_PAPER_HANDLING = 40;  // set: plain value
constexpr int ITEM_MEDIA_TYPES = 60;     // range: the media type ids
constexpr int ITEM_MEDIA_MODE = 70;      // set: words 1, 2|1, media id, 2
constexpr int ITEM_USER_SIZE = 203;      // get: third word = user-defined width
constexpr int ITEM_SHEET_FLAGS = 204;    // range, get, set: words 1, 12, flags
constexpr int ITEM_ROLL_FLAGS = 205;     // get, set: words 1, 12, flags
constexpr int ITEM_NAME = 213;           // get: the name of a media type or paper size
constexpr int ITEM_PRINT_MODE = 214;     // set: words 1, 20, 2, media id, 6|15
constexpr int ITEM_FEED_DATA = 219;      // get, set: 20 bytes, byte 9 = paper feed correction

constexpr uint16_t PAPER_USER_DEFINED = 256;

// Item 213 kinds.
constexpr uint32_t NAME_KIND_PAPER_SIZE = 1;
constexpr uint32_t NAME_KIND_MEDIA_TYPE = 3;
constexpr size_t NAME_BUFFER_SIZE = 260;

// Range answer of items 60 and 30: the count and element size first, then, on a second call
// with a buffer, the ids as 16-bit values.
struct IdRangeBlock {
  uint16_t count = 0;
  uint16_t elementSize = 0;
  void* ids = nullptr;
};

// Item 213 request: the driver writes the zero-terminated name into `name`.
struct NameRequestBlock {
  uint32_t version = 1;
  uint32_t blockSize = sizeof(NameRequestBlock);
  uint32_t nameSize = NAME_BUFFER_SIZE;
  uint32_t kind = 0;
  uint32_t id = 0;
  char* name = nullptr;
};

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(IdRangeBlock) == 8, "the 32-bit library reads an 8-byte block");
static_assert(sizeof(NameRequestBlock) == 24, "the 32-bit library reads a 24-byte block");
#endif

// Export signatures as the call sites use them; called only through ForeignCall, which holds
// under either 32-bit calling convention. The five never called keep a plausible shape.
using KDDM_OpenFn = int (*)(const char* queue, int openNumber, uint32_t flags, void* devMode,
                            KddmHandle* handle);
using KDDM_GetDriverInfoFn = int (*)(KddmHandle handle, void* block);
using KDDM_GetCommandLevelFn = int (*)(KddmHandle handle);
using KDDM_GetRangeFn = int (*)(KddmHandle handle, int item, void* block);
using KDDM_GetDataFn = int (*)(KddmHandle handle, int item, void* block);
// value is a block address or a plain value, as the item requires.
using KDDM_SetDataFn = int (*)(KddmHandle handle, int item, intptr_t value);
using KDDM_CreateDCFn = void* (*)(KddmHandle handle);
using KDDM_ResetDCFn = int (*)(KddmHandle handle, void* dc);
using KDDM_DeleteDCFn = int (*)(KddmHandle handle, void* dc);
using KDDM_GetDevModeFn = int (*)(KddmHandle handle, void* buffer);
using KDDM_CloseFn = int (*)(KddmHandle handle);

class DriverSettingsApi {
 public:
  DriverSettingsApi(platform::Library& library, platform::Spooler& spooler);
  ~DriverSettingsApi();
  DriverSettingsApi(const DriverSettingsApi&) = delete;
  DriverSettingsApi& operator=(const DriverSettingsApi&) = delete;

  // 1 when the library beside the queue's driver loaded and all eleven exports were found. A
  // library that does not load beside the driver is a failed bind, not a retry by plain name.
  int Bind(const std::string& queueName);
  // Unloads the library if loaded and clears every entry point.
  void Unbind();
  bool IsLoaded() const { return module_ != nullptr; }

  // The library beside the queue's driver, or the plain name when the queue or its driver
  // information cannot be had.
  std::string LibraryPath(const std::string& queueName);

  // Wrappers: -7 when the export is absent.
  int KDDM_Open(const char* queue, int openNumber, uint32_t flags, void* devMode,
                KddmHandle* handle);
  int KDDM_GetRange(KddmHandle handle, int item, void* block);
  int KDDM_GetData(KddmHandle handle, int item, void* block);
  int KDDM_SetData(KddmHandle handle, int item, intptr_t value);
  int KDDM_GetDevMode(KddmHandle handle, void* buffer);
  int KDDM_Close(KddmHandle handle);

 private:
  void ClearEntries();

  platform::Library& library_;
  platform::Spooler& spooler_;
  std::unique_ptr<platform::LoadedLibrary> module_;
  KDDM_OpenFn open_ = nullptr;
  KDDM_GetDriverInfoFn getDriverInfo_ = nullptr;
  KDDM_GetCommandLevelFn getCommandLevel_ = nullptr;
  KDDM_GetRangeFn getRange_ = nullptr;
  KDDM_GetDataFn getData_ = nullptr;
  KDDM_SetDataFn setData_ = nullptr;
  KDDM_CreateDCFn createDc_ = nullptr;
  KDDM_ResetDCFn resetDc_ = nullptr;
  KDDM_DeleteDCFn deleteDc_ = nullptr;
  KDDM_GetDevModeFn getDevMode_ = nullptr;
  KDDM_CloseFn close_ = nullptr;
};

}  // namespace printer_link
