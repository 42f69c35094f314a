// How each export of the two libraries is written into a trace and answered from one.
//
// For every export a Request function builds the call's name and what the program passed, and
// an Answer function moves what the library gave back (result aside) between the call and the
// program's buffers: on Flow::Record from the buffers into the call's fields, on Flow::Replay
// from the fields into the buffers. The recording library and the simulated printer's replay
// both use them, so a trace reads back exactly as it was written.
#pragma once

#include <cstdint>

#include "link/driver_settings_api.h"
#include "trace/trace_format.h"

namespace trace {

enum class Flow { Record, Replay };

// The bidirectional library.
Call KBInitializeRequest();
Call KBReleaseRequest();
Call KBGetDeviceIDRequest(int constant, const char* queue, const uint32_t* size);
void KBGetDeviceIDAnswer(Call& call, Flow flow, char* buffer, uint32_t room, uint32_t* size);
Call KBGetAvailableChannelRequest(int constant, const char* queue, const uint8_t* buffer,
                                  const uint32_t* size);
void KBGetAvailableChannelAnswer(Call& call, Flow flow, uint8_t* buffer, uint32_t room,
                                 uint32_t* size);
Call KBOpenChannelRequest(int constant, const char* queue, uint32_t type);
Call KBCloseChannelRequest(int handle);
Call KBSetOptionRequest(int handle, int option, const void* data, uint32_t size);
Call KBGetOptionRequest(int handle, int option, const uint32_t* size);
void KBGetOptionAnswer(Call& call, Flow flow, void* data, uint32_t room, uint32_t* size);
Call KBReceiveCancelRequest(int handle);
Call KBGetStatusRequest(int handle, const uint32_t* size);
void KBGetStatusAnswer(Call& call, Flow flow, uint8_t* buffer, uint32_t room, uint32_t* size);
Call KBSendRequest(int handle, const uint8_t* data, uint32_t length);
Call KBReceiveRequest(int handle, const uint32_t* size, uint32_t timeLimitMs);
void KBReceiveAnswer(Call& call, Flow flow, uint8_t* buffer, uint32_t room, uint32_t* size);

// Room of a buffer whose size the program passes in and out (0 when the size is null).
inline uint32_t RoomOf(const uint32_t* size) {
  return size ? *size : 0;
}

// The driver-settings library. Handles are written as numbers.
using printer_link::KddmHandle;
Call KDDM_OpenRequest(const char* queue, int openNumber, uint32_t flags, const void* devMode);
void KDDM_OpenAnswer(Call& call, Flow flow, KddmHandle* handle);
Call KDDM_GetDriverInfoRequest(KddmHandle handle);
Call KDDM_GetCommandLevelRequest(KddmHandle handle);
Call KDDM_GetRangeRequest(KddmHandle handle, int item, const void* block);
void KDDM_GetRangeAnswer(Call& call, Flow flow, int item, void* block);
Call KDDM_GetDataRequest(KddmHandle handle, int item, const void* block);
void KDDM_GetDataAnswer(Call& call, Flow flow, int item, void* block);
Call KDDM_SetDataRequest(KddmHandle handle, int item, intptr_t value);
Call KDDM_CreateDCRequest(KddmHandle handle);
Call KDDM_ResetDCRequest(KddmHandle handle, const void* dc);
Call KDDM_DeleteDCRequest(KddmHandle handle, const void* dc);
Call KDDM_GetDevModeRequest(KddmHandle handle, const void* buffer);
// room: the size the program was told by the size query (unused on Record).
void KDDM_GetDevModeAnswer(Call& call, Flow flow, void* buffer, size_t room);
Call KDDM_CloseRequest(KddmHandle handle);

// Bytes of a device mode as its own header counts them (the public part and the driver's),
// capped so that a damaged header is not followed far.
size_t DevModeSize(const void* devMode);

// The block a driver item's get, set or range carries, by the layouts the programs use; 0 for
// an item whose set takes a plain value or whose layout is not known.
size_t ItemBlockSize(int item);
// What a driver item is for, in a few words ("paper size"), or empty for an item not known.
const char* ItemMeaning(int item);

}  // namespace trace
