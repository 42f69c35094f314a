// Each export's fields in a trace, written and answered through the same few moves.
#include "trace/trace_calls.h"

#include <algorithm>
#include <cstring>

namespace trace {

namespace {

using printer_link::IdRangeBlock;
using printer_link::NameRequestBlock;

// What the blocks of the driver items hold, as the programs lay them out.
constexpr size_t WORDS16_BLOCK = 8;     // items 30 and 70: four 16-bit words
constexpr size_t USER_SIZE_BLOCK = 36;  // item 203
constexpr size_t FLAGS_BLOCK = 12;      // items 204 and 205
constexpr size_t MODE_BLOCK = 20;       // item 214
constexpr size_t FEED_BLOCK = 20;       // item 219

// A device mode's header: 32-byte device name, then 16-bit version words, its size and the
// size of the driver's part.
constexpr size_t DEVMODE_SIZE_AT = 36;
constexpr size_t DEVMODE_EXTRA_AT = 38;
constexpr size_t DEVMODE_LIMIT = 16384;
// A send or an option carries a short command; more is cut in the trace and said so.
constexpr size_t SEND_LIMIT = 16384;
constexpr size_t ID_BYTES_LIMIT = 16384;

int64_t HandleNumber(KddmHandle handle) {
  return static_cast<int64_t>(reinterpret_cast<intptr_t>(handle));
}

Call Named(const char* name) {
  Call call;
  call.name = name;
  return call;
}

// The queue as a text, left out when the program passed none.
void AddQueue(Call* call, const char* queue) {
  if (queue) AddText(&call->in, "queue", queue);
}

void AddSize(Call* call, const uint32_t* size) {
  if (size) AddNumber(&call->in, "size", *size);
}

// Bytes a buffer holds worth writing: up to the last one that is not zero, and at least what the
// library said it gave.
size_t Filled(const uint8_t* buffer, size_t room, int64_t result) {
  if (!buffer) return 0;
  size_t n = room;
  while (n > 0 && buffer[n - 1] == 0) --n;
  if (result > 0) n = std::max(n, std::min(room, static_cast<size_t>(result)));
  return n;
}

void MoveNumber(Call& call, Flow flow, const char* key, uint32_t* value) {
  if (!value) return;
  if (flow == Flow::Record) {
    AddNumber(&call.out, key, *value);
    return;
  }
  const Field* field = FindField(call.out, key);
  if (field && field->kind == ValueKind::Number) *value = static_cast<uint32_t>(field->number);
}

// On Record writes size bytes of buffer; on Replay copies what the field holds, at most room.
void MoveBytes(Call& call, Flow flow, const char* key, ValueKind kind, void* buffer, size_t size,
               size_t room) {
  if (!buffer) return;
  if (flow == Flow::Record) {
    AddBytes(&call.out, key, static_cast<const uint8_t*>(buffer), size);
    call.out.back().kind = kind;
    return;
  }
  const Field* field = FindField(call.out, key);
  if (!field || field->kind == ValueKind::Number) return;
  std::memcpy(buffer, field->data.data(), std::min(field->data.size(), room));
}

void MoveBuffer(Call& call, Flow flow, const char* key, ValueKind kind, void* buffer, size_t room) {
  MoveBytes(call, flow, key, kind, buffer, Filled(static_cast<uint8_t*>(buffer), room, call.result),
            room);
}

bool IsIdRange(int item) {
  return item == printer_link::ITEM_MEDIA_TYPES || item == printer_link::ITEM_PAPER_SIZE;
}

Call HandleCall(const char* name, KddmHandle handle) {
  Call call = Named(name);
  AddNumber(&call.in, "handle", HandleNumber(handle));
  return call;
}

}  // namespace

Call KBInitializeRequest() {
  return Named("KBInitialize");
}

Call KBReleaseRequest() {
  return Named("KBRelease");
}

Call KBGetDeviceIDRequest(int constant, const char* queue, const uint32_t* size) {
  Call call = Named("KBGetDeviceID");
  AddNumber(&call.in, "constant", constant);
  AddQueue(&call, queue);
  AddSize(&call, size);
  return call;
}

void KBGetDeviceIDAnswer(Call& call, Flow flow, char* buffer, uint32_t room, uint32_t* size) {
  MoveNumber(call, flow, "size", size);
  MoveBuffer(call, flow, "id", ValueKind::Text, buffer, room);
}

Call KBGetAvailableChannelRequest(int constant, const char* queue, const uint8_t* buffer,
                                  const uint32_t* size) {
  Call call = Named("KBGetAvailableChannel");
  AddNumber(&call.in, "constant", constant);
  AddQueue(&call, queue);
  AddNumber(&call.in, "buffer", buffer ? 1 : 0);
  AddSize(&call, size);
  return call;
}

void KBGetAvailableChannelAnswer(Call& call, Flow flow, uint8_t* buffer, uint32_t room,
                                 uint32_t* size) {
  MoveNumber(call, flow, "size", size);
  MoveBuffer(call, flow, "channels", ValueKind::Bytes, buffer, room);
}

Call KBOpenChannelRequest(int constant, const char* queue, uint32_t type) {
  Call call = Named("KBOpenChannel");
  AddNumber(&call.in, "constant", constant);
  AddQueue(&call, queue);
  AddNumber(&call.in, "type", type);
  return call;
}

Call KBCloseChannelRequest(int handle) {
  Call call = Named("KBCloseChannel");
  AddNumber(&call.in, "handle", handle);
  return call;
}

Call KBSetOptionRequest(int handle, int option, const void* data, uint32_t size) {
  Call call = Named("KBSetOption");
  AddNumber(&call.in, "handle", handle);
  AddNumber(&call.in, "option", option);
  AddNumber(&call.in, "size", size);
  if (data) {
    AddBytes(&call.in, "data", static_cast<const uint8_t*>(data),
             std::min<size_t>(size, SEND_LIMIT));
  }
  return call;
}

Call KBGetOptionRequest(int handle, int option, const uint32_t* size) {
  Call call = Named("KBGetOption");
  AddNumber(&call.in, "handle", handle);
  AddNumber(&call.in, "option", option);
  AddSize(&call, size);
  return call;
}

void KBGetOptionAnswer(Call& call, Flow flow, void* data, uint32_t room, uint32_t* size) {
  MoveNumber(call, flow, "size", size);
  MoveBuffer(call, flow, "data", ValueKind::Bytes, data, room);
}

Call KBReceiveCancelRequest(int handle) {
  Call call = Named("KBReceiveCancel");
  AddNumber(&call.in, "handle", handle);
  return call;
}

Call KBGetStatusRequest(int handle, const uint32_t* size) {
  Call call = Named("KBGetStatus");
  AddNumber(&call.in, "handle", handle);
  AddSize(&call, size);
  return call;
}

void KBGetStatusAnswer(Call& call, Flow flow, uint8_t* buffer, uint32_t room, uint32_t* size) {
  MoveNumber(call, flow, "size", size);
  MoveBuffer(call, flow, "status", ValueKind::Bytes, buffer, room);
}

Call KBSendRequest(int handle, const uint8_t* data, uint32_t length) {
  Call call = Named("KBSend");
  AddNumber(&call.in, "handle", handle);
  AddNumber(&call.in, "length", length);
  if (data) AddBytes(&call.in, "data", data, std::min<size_t>(length, SEND_LIMIT));
  return call;
}

Call KBReceiveRequest(int handle, const uint32_t* size, uint32_t timeLimitMs) {
  Call call = Named("KBReceive");
  AddNumber(&call.in, "handle", handle);
  AddSize(&call, size);
  AddNumber(&call.in, "limit", timeLimitMs);
  return call;
}

void KBReceiveAnswer(Call& call, Flow flow, uint8_t* buffer, uint32_t room, uint32_t* size) {
  MoveNumber(call, flow, "size", size);
  MoveBuffer(call, flow, "reply", ValueKind::Bytes, buffer, room);
}

size_t DevModeSize(const void* devMode) {
  if (!devMode) return 0;
  const auto* bytes = static_cast<const uint8_t*>(devMode);
  size_t size = bytes[DEVMODE_SIZE_AT] | (bytes[DEVMODE_SIZE_AT + 1] << 8);
  size_t extra = bytes[DEVMODE_EXTRA_AT] | (bytes[DEVMODE_EXTRA_AT + 1] << 8);
  return std::min(size + extra, DEVMODE_LIMIT);
}

size_t ItemBlockSize(int item) {
  switch (item) {
    case printer_link::ITEM_PAPER_SIZE:
    case printer_link::ITEM_MEDIA_MODE:
      return WORDS16_BLOCK;
    case printer_link::ITEM_USER_SIZE:
      return USER_SIZE_BLOCK;
    case printer_link::ITEM_SHEET_FLAGS:
    case printer_link::ITEM_ROLL_FLAGS:
      return FLAGS_BLOCK;
    case printer_link::ITEM_PRINT_MODE:
      return MODE_BLOCK;
    case printer_link::ITEM_FEED_DATA:
      return FEED_BLOCK;
    default:
      return 0;
  }
}

const char* ItemMeaning(int item) {
  struct Meaning {
    int item;
    const char* text;
  };
  static const Meaning MEANINGS[] = {
      {printer_link::ITEM_SAMPLE_PRINT, "sample print"},
      {printer_link::ITEM_PAPER_SIZE, "paper size"},
      {printer_link::ITEM_PAPER_HANDLING, "paper handling"},
      {printer_link::ITEM_MEDIA_TYPES, "media types"},
      {printer_link::ITEM_MEDIA_MODE, "print mode of the media"},
      {printer_link::ITEM_USER_SIZE, "user-defined width"},
      {printer_link::ITEM_SHEET_FLAGS, "sheet feeding flags"},
      {printer_link::ITEM_ROLL_FLAGS, "roll flags"},
      {printer_link::ITEM_NAME, "name of an id"},
      {printer_link::ITEM_PRINT_MODE, "print mode"},
      {printer_link::ITEM_FEED_DATA, "paper feed data"},
  };
  for (const Meaning& m : MEANINGS) {
    if (m.item == item) return m.text;
  }
  return "";
}

Call KDDM_OpenRequest(const char* queue, int openNumber, uint32_t flags, const void* devMode) {
  Call call = Named("KDDM_Open");
  AddQueue(&call, queue);
  AddNumber(&call.in, "number", openNumber);
  AddNumber(&call.in, "flags", flags);
  if (devMode) {
    AddBytes(&call.in, "devmode", static_cast<const uint8_t*>(devMode), DevModeSize(devMode));
  }
  return call;
}

void KDDM_OpenAnswer(Call& call, Flow flow, KddmHandle* handle) {
  if (!handle) return;
  if (flow == Flow::Record) {
    AddNumber(&call.out, "handle", HandleNumber(*handle));
    return;
  }
  const Field* field = FindField(call.out, "handle");
  if (field && field->kind == ValueKind::Number) {
    *handle = reinterpret_cast<KddmHandle>(static_cast<intptr_t>(field->number));
  }
}

Call KDDM_GetDriverInfoRequest(KddmHandle handle) {
  return HandleCall("KDDM_GetDriverInfo", handle);
}

Call KDDM_GetCommandLevelRequest(KddmHandle handle) {
  return HandleCall("KDDM_GetCommandLevel", handle);
}

Call KDDM_GetRangeRequest(KddmHandle handle, int item, const void* block) {
  Call call = HandleCall("KDDM_GetRange", handle);
  AddNumber(&call.in, "item", item);
  if (!block) return call;
  if (IsIdRange(item)) {
    const auto* range = static_cast<const IdRangeBlock*>(block);
    AddNumber(&call.in, "count", range->count);
    AddNumber(&call.in, "element", range->elementSize);
    AddNumber(&call.in, "ids", range->ids ? 1 : 0);
  } else if (size_t size = ItemBlockSize(item)) {
    AddBytes(&call.in, "block", static_cast<const uint8_t*>(block), size);
  }
  return call;
}

void KDDM_GetRangeAnswer(Call& call, Flow flow, int item, void* block) {
  if (!block) return;
  if (!IsIdRange(item)) {
    size_t size = ItemBlockSize(item);
    MoveBytes(call, flow, "block", ValueKind::Bytes, block, size, size);
    return;
  }
  auto* range = static_cast<IdRangeBlock*>(block);
  size_t room = std::min<size_t>(size_t{range->count} * range->elementSize, ID_BYTES_LIMIT);
  uint32_t count = range->count;
  uint32_t element = range->elementSize;
  if (range->ids) MoveBytes(call, flow, "ids", ValueKind::Bytes, range->ids, room, room);
  MoveNumber(call, flow, "count", &count);
  MoveNumber(call, flow, "element", &element);
  range->count = static_cast<uint16_t>(count);
  range->elementSize = static_cast<uint16_t>(element);
}

Call KDDM_GetDataRequest(KddmHandle handle, int item, const void* block) {
  Call call = HandleCall("KDDM_GetData", handle);
  AddNumber(&call.in, "item", item);
  if (!block) return call;
  if (item == printer_link::ITEM_NAME) {
    const auto* request = static_cast<const NameRequestBlock*>(block);
    AddNumber(&call.in, "kind", request->kind);
    AddNumber(&call.in, "id", request->id);
    AddNumber(&call.in, "room", request->nameSize);
  } else if (size_t size = ItemBlockSize(item)) {
    AddBytes(&call.in, "block", static_cast<const uint8_t*>(block), size);
  }
  return call;
}

void KDDM_GetDataAnswer(Call& call, Flow flow, int item, void* block) {
  if (!block) return;
  if (item != printer_link::ITEM_NAME) {
    size_t size = ItemBlockSize(item);
    MoveBytes(call, flow, "block", ValueKind::Bytes, block, size, size);
    return;
  }
  auto* request = static_cast<NameRequestBlock*>(block);
  if (!request->name || request->nameSize == 0) return;
  const auto* name = reinterpret_cast<const uint8_t*>(request->name);
  const void* end = std::memchr(name, 0, request->nameSize);
  size_t length =
      end ? static_cast<size_t>(static_cast<const uint8_t*>(end) - name) : request->nameSize;
  MoveBytes(call, flow, "name", ValueKind::Text, request->name, length, request->nameSize - 1);
  if (flow == Flow::Replay) {
    const Field* field = FindField(call.out, "name");
    if (field) request->name[std::min<size_t>(field->data.size(), request->nameSize - 1)] = '\0';
  }
}

Call KDDM_SetDataRequest(KddmHandle handle, int item, intptr_t value) {
  Call call = HandleCall("KDDM_SetData", handle);
  AddNumber(&call.in, "item", item);
  size_t size = ItemBlockSize(item);
  if (size > 0 && value != 0) {
    AddBytes(&call.in, "block", reinterpret_cast<const uint8_t*>(value), size);
  } else {
    AddNumber(&call.in, "value", value);
  }
  return call;
}

Call KDDM_CreateDCRequest(KddmHandle handle) {
  return HandleCall("KDDM_CreateDC", handle);
}

Call KDDM_ResetDCRequest(KddmHandle handle, const void* dc) {
  Call call = HandleCall("KDDM_ResetDC", handle);
  AddNumber(&call.in, "dc", dc ? 1 : 0);
  return call;
}

Call KDDM_DeleteDCRequest(KddmHandle handle, const void* dc) {
  Call call = HandleCall("KDDM_DeleteDC", handle);
  AddNumber(&call.in, "dc", dc ? 1 : 0);
  return call;
}

Call KDDM_GetDevModeRequest(KddmHandle handle, const void* buffer) {
  Call call = HandleCall("KDDM_GetDevMode", handle);
  AddNumber(&call.in, "buffer", buffer ? 1 : 0);
  return call;
}

void KDDM_GetDevModeAnswer(Call& call, Flow flow, void* buffer, size_t room) {
  if (!buffer) return;
  if (flow == Flow::Record) {
    if (call.result != 0)
      MoveBytes(call, flow, "devmode", ValueKind::Bytes, buffer, DevModeSize(buffer), 0);
    return;
  }
  MoveBytes(call, flow, "devmode", ValueKind::Bytes, buffer, 0, room);
}

Call KDDM_CloseRequest(KddmHandle handle) {
  return HandleCall("KDDM_Close", handle);
}

}  // namespace trace
