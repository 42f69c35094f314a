// The simulated printer driver's answers to the driver-settings library's calls.
#include "sim/simulated_driver.h"

#include <cstring>
#include <string>

#include "link/driver_settings_api.h"
#include "sim/replayed_calls.h"

namespace sim {

namespace {

using namespace printer_link;

constexpr int NO_ITEM = -1;  // calls on a handle without an item
constexpr uint32_t BLOCK_VERSION = 1;
constexpr uint32_t FLAGS_BLOCK_SIZE = 12;       // items 204, 205
constexpr uint32_t USER_SIZE_BLOCK_SIZE = 36;   // item 203
constexpr uint32_t PRINT_MODE_BLOCK_SIZE = 20;  // item 214
constexpr uint32_t FEED_BLOCK_SIZE = 20;        // item 219
constexpr size_t USER_WIDTH_WORD = 2;           // item 203's answer
constexpr size_t PAPER_WORDS = 4;               // item 30
constexpr uint16_t MEDIA_MODE_FIRST = 1;        // item 70: words 1, 2|1, media id, 2
constexpr uint16_t MEDIA_MODE_LAST = 2;
constexpr uint32_t PRINT_MODE_KIND = 2;  // item 214: words 1, 20, 2, media id, 6|15
constexpr uint32_t ROLL_FLAG_FED = 0x1;
constexpr uint32_t ROLL_FLAG_CUT = 0x8;
const uint32_t PAPER_HANDLINGS[] = {256, 7, 4};
const uint32_t PRINT_MODES[] = {6, 15};

// Device mode fields of the public part that the driver fills.
constexpr size_t DM_DEVICE_NAME = 0;
constexpr size_t DM_DEVICE_NAME_SIZE = 32;
constexpr size_t DM_SPEC_VERSION = 32;
constexpr size_t DM_SIZE = 36;
constexpr size_t DM_DRIVER_EXTRA = 38;
constexpr size_t DM_FIELDS = 40;
constexpr size_t DM_ORIENTATION = 44;
constexpr size_t DM_PAPER_SIZE = 46;
constexpr size_t DM_PAPER_LENGTH = 48;
constexpr size_t DM_PAPER_WIDTH = 50;
constexpr size_t DM_COPIES = 54;
constexpr uint16_t DM_SPEC_VERSION_VALUE = 0x0401;
constexpr uint32_t DM_FIELDS_VALUE = 0x1 | 0x2 | 0x4 | 0x8 | 0x100;  // orientation to copies
constexpr uint16_t DM_PORTRAIT = 1;

uint16_t Word16(const void* block, size_t index) {
  uint16_t v;
  std::memcpy(&v, static_cast<const uint8_t*>(block) + index * 2, 2);
  return v;
}
uint32_t Word32(const void* block, size_t index) {
  uint32_t v;
  std::memcpy(&v, static_cast<const uint8_t*>(block) + index * 4, 4);
  return v;
}
void Put16(void* block, size_t index, uint16_t v) {
  std::memcpy(static_cast<uint8_t*>(block) + index * 2, &v, 2);
}
void Put32(void* block, size_t index, uint32_t v) {
  std::memcpy(static_cast<uint8_t*>(block) + index * 4, &v, 4);
}
void PutAt16(std::vector<uint8_t>& bytes, size_t offset, uint16_t v) {
  bytes[offset] = static_cast<uint8_t>(v);
  bytes[offset + 1] = static_cast<uint8_t>(v >> 8);
}
void PutAt32(std::vector<uint8_t>& bytes, size_t offset, uint32_t v) {
  PutAt16(bytes, offset, static_cast<uint16_t>(v));
  PutAt16(bytes, offset + 2, static_cast<uint16_t>(v >> 16));
}
uint16_t At16(const uint8_t* bytes, size_t offset) {
  return static_cast<uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

bool FlagsHeader(const void* block) {
  return Word32(block, 0) == BLOCK_VERSION && Word32(block, 1) == FLAGS_BLOCK_SIZE;
}

template <typename T, size_t N>
bool OneOf(T value, const T (&allowed)[N]) {
  for (T a : allowed) {
    if (a == value) return true;
  }
  return false;
}

// The ids written into the caller's buffer, each in elementSize bytes.
void WriteIds(const std::vector<uint16_t>& ids, IdRangeBlock* range, uint16_t elementSize) {
  auto* out = static_cast<uint8_t*>(range->ids);
  for (uint16_t id : ids) {
    for (uint16_t b = 0; b < elementSize; ++b)
      *out++ = b < 2 ? static_cast<uint8_t>(id >> (8 * b)) : 0;
  }
}

std::string Hex(const void* block, size_t size) {
  return ToHex(static_cast<const uint8_t*>(block), size);
}

}  // namespace

int SimulatedDriver::Called(const std::string& call, int handle, int item, int result, bool failed,
                            const std::string& detail) {
  state_.driver.calls.push_back(call + " " + std::to_string(handle) +
                                (item >= 0 ? " " + std::to_string(item) : "") + detail +
                                (failed ? " refused" : ""));
  return result;
}

DriverSettings* SimulatedDriver::Find(int handle) {
  auto found = state_.driver.handles.find(handle);
  return found == state_.driver.handles.end() ? nullptr : &found->second;
}

int SimulatedDriver::Open(const char* queue, int openNumber, uint32_t flags, const void* devMode,
                          int* handle) {
  if (Replaying(state_))
    return ReplayedCalls(state_, nullptr).KDDM_Open(queue, openNumber, flags, devMode, handle);
  if (handle == nullptr || queue == nullptr || state_.driver.openFails ||
      state_.Has(FAULT_OFFLINE) || (!state_.queue.empty() && state_.queue != queue)) {
    Note("driver: open refused");
    state_.driver.calls.push_back("open refused");
    return KDDM_FAILED;
  }
  DriverSettings settings = state_.driver.defaults;
  if ((flags & KDDM_OPEN_WITH_DEVMODE) != 0 && devMode != nullptr) {
    // A device mode of another driver leaves the defaults.
    FromDevMode(static_cast<const uint8_t*>(devMode), &settings);
  }
  *handle = state_.driver.nextHandle++;
  state_.driver.handles[*handle] = settings;
  Note("driver: open " + std::to_string(*handle) + " number " + std::to_string(openNumber));
  return Called("open", *handle, NO_ITEM, KDDM_OK, false);
}

int SimulatedDriver::GetDriverInfo(int handle, void* /*block*/) {
  if (Replaying(state_)) return ReplayedCalls(state_, nullptr).KDDM_GetDriverInfo(handle);
  bool found = Find(handle) != nullptr;
  return Called("info", handle, NO_ITEM, found ? KDDM_OK : KDDM_FAILED, !found);
}

int SimulatedDriver::GetCommandLevel(int handle) {
  if (Replaying(state_)) return ReplayedCalls(state_, nullptr).KDDM_GetCommandLevel(handle);
  bool found = Find(handle) != nullptr;
  return Called("level", handle, NO_ITEM, found ? 1 : KDDM_FAILED, !found);
}

int SimulatedDriver::GetRange(int handle, int item, void* block) {
  if (Replaying(state_)) return ReplayedCalls(state_, nullptr).KDDM_GetRange(handle, item, block);
  int result = Range(handle, item, block);
  return Called("range", handle, item, result, result == KDDM_FAILED);
}

int SimulatedDriver::Range(int handle, int item, void* block) {
  DriverSettings* s = Find(handle);
  if (!s || !block || Refused(item)) return KDDM_FAILED;
  const DriverState& d = state_.driver;
  if (item == ITEM_MEDIA_TYPES || item == ITEM_PAPER_SIZE) {
    std::vector<uint16_t> ids;
    if (item == ITEM_MEDIA_TYPES) {
      for (const DriverMedia& m : d.media) ids.push_back(m.id);
    } else {
      for (const DriverPaper& p : d.papers) ids.push_back(p.code);
    }
    uint16_t elementSize = item == ITEM_MEDIA_TYPES ? d.mediaElementSize : 2;
    auto* range = static_cast<IdRangeBlock*>(block);
    if (range->ids == nullptr) {
      range->count = static_cast<uint16_t>(ids.size());
      range->elementSize = elementSize;
    } else {
      WriteIds(ids, range, elementSize);
    }
    return KDDM_OK;
  }
  if ((item == ITEM_SHEET_FLAGS || item == ITEM_ROLL_FLAGS) && FlagsHeader(block)) {
    uint32_t flags = d.sheetRangeFlags;
    if (item == ITEM_ROLL_FLAGS) {
      bool cuttable = d.uncuttable.count(s->mediaMode[2]) == 0;
      flags = ROLL_FLAG_FED | (cuttable ? ROLL_FLAG_CUT : 0);
    }
    Put32(block, 2, flags);
    return KDDM_OK;
  }
  return KDDM_FAILED;
}

int SimulatedDriver::GetData(int handle, int item, void* block) {
  if (Replaying(state_)) return ReplayedCalls(state_, nullptr).KDDM_GetData(handle, item, block);
  std::string asked;
  if (item == ITEM_NAME && block) {
    // Names are asked by kind and id, the id being a place or a code as the kind says.
    const auto* request = static_cast<const NameRequestBlock*>(block);
    asked = " kind " + std::to_string(request->kind) + " id " + std::to_string(request->id);
  }
  int result = Data(handle, item, block);
  return Called("get", handle, item, result, result == KDDM_FAILED, asked);
}

int SimulatedDriver::Data(int handle, int item, void* block) {
  DriverSettings* s = Find(handle);
  if (!s || !block || Refused(item)) return KDDM_FAILED;
  const DriverState& d = state_.driver;
  switch (item) {
    case ITEM_PAPER_SIZE:
      Put16(block, 0, s->paperWidth);
      Put16(block, 1, s->paperLength);
      Put16(block, 2, s->paperCode);
      Put16(block, 3, 0);
      return KDDM_OK;
    case ITEM_USER_SIZE:
      if (Word32(block, 0) != BLOCK_VERSION || Word32(block, 1) != USER_SIZE_BLOCK_SIZE) break;
      Put32(block, USER_WIDTH_WORD, d.userWidth);
      return KDDM_OK;
    case ITEM_SHEET_FLAGS:
    case ITEM_ROLL_FLAGS:
      if (!FlagsHeader(block)) break;
      Put32(block, 2, item == ITEM_SHEET_FLAGS ? s->sheetFlags : s->rollFlags);
      return KDDM_OK;
    case ITEM_FEED_DATA:
      std::memcpy(block, s->feedData.data(), s->feedData.size());
      return KDDM_OK;
    case ITEM_NAME: {
      auto* request = static_cast<NameRequestBlock*>(block);
      if (request->name == nullptr || request->nameSize == 0) break;
      std::string name;
      if (request->kind == NAME_KIND_MEDIA_TYPE && request->id < d.media.size()) {
        // Media types are asked by their place in the driver's order.
        name = d.media[request->id].name;
      } else if (request->kind == NAME_KIND_PAPER_SIZE && request->id <= UINT16_MAX &&
                 d.FindPaper(static_cast<uint16_t>(request->id))) {
        name = d.FindPaper(static_cast<uint16_t>(request->id))->name;
      } else {
        break;
      }
      size_t n = std::min<size_t>(name.size(), request->nameSize - 1);
      std::memcpy(request->name, name.data(), n);
      request->name[n] = '\0';
      return KDDM_OK;
    }
    default:
      break;
  }
  return KDDM_FAILED;
}

int SimulatedDriver::SetData(int handle, int item, intptr_t value) {
  if (Replaying(state_)) return ReplayedCalls(state_, nullptr).KDDM_SetData(handle, item, value);
  DriverSettings* s = Find(handle);
  if (!s || Refused(item)) {
    Note("driver: set " + std::to_string(item) + " refused");
    return Called("set", handle, item, KDDM_FAILED, true);
  }
  const DriverState& d = state_.driver;
  const void* block = reinterpret_cast<const void*>(value);
  DriverSettings changed = *s;
  std::string shown = std::to_string(value);
  bool accepted = false;
  switch (item) {
    case ITEM_SAMPLE_PRINT:
      changed.samplePrint = static_cast<uint32_t>(value);
      accepted = true;
      break;
    case ITEM_PAPER_HANDLING:
      changed.handling = static_cast<uint32_t>(value);
      accepted = OneOf(changed.handling, PAPER_HANDLINGS);
      break;
    case ITEM_PAPER_SIZE: {
      if (!block) break;
      shown = Hex(block, PAPER_WORDS * 2);
      uint16_t code = Word16(block, 2);
      const DriverPaper* paper = d.FindPaper(code);
      if (code == PAPER_USER_DEFINED) {
        // Zero words keep the user-defined size's own width (item 203) and the current length.
        changed.paperWidth = Word16(block, 0) ? Word16(block, 0) : d.userWidth;
        changed.paperLength = Word16(block, 1) ? Word16(block, 1) : s->paperLength;
        accepted = changed.paperWidth > 0 && changed.paperLength > 0;
      } else if (paper) {
        changed.paperWidth = paper->width;
        changed.paperLength = paper->length;
        accepted = true;
      }
      changed.paperCode = code;
      break;
    }
    case ITEM_MEDIA_MODE: {
      if (!block) break;
      shown = Hex(block, changed.mediaMode.size() * 2);
      for (size_t i = 0; i < changed.mediaMode.size(); ++i) changed.mediaMode[i] = Word16(block, i);
      changed.printMode = {};
      accepted = changed.mediaMode[0] == MEDIA_MODE_FIRST &&
                 (changed.mediaMode[1] == 1 || changed.mediaMode[1] == 2) &&
                 d.FindMedia(changed.mediaMode[2]) && changed.mediaMode[3] == MEDIA_MODE_LAST;
      break;
    }
    case ITEM_PRINT_MODE: {
      if (!block) break;
      shown = Hex(block, changed.printMode.size() * 4);
      for (size_t i = 0; i < changed.printMode.size(); ++i) changed.printMode[i] = Word32(block, i);
      changed.mediaMode = {};
      accepted = changed.printMode[0] == BLOCK_VERSION &&
                 changed.printMode[1] == PRINT_MODE_BLOCK_SIZE &&
                 changed.printMode[2] == PRINT_MODE_KIND && changed.printMode[3] <= UINT16_MAX &&
                 d.FindMedia(static_cast<uint16_t>(changed.printMode[3])) &&
                 OneOf(changed.printMode[4], PRINT_MODES);
      break;
    }
    case ITEM_SHEET_FLAGS:
    case ITEM_ROLL_FLAGS:
      if (!block || !FlagsHeader(block)) break;
      shown = Hex(block, FLAGS_BLOCK_SIZE);
      (item == ITEM_SHEET_FLAGS ? changed.sheetFlags : changed.rollFlags) = Word32(block, 2);
      accepted = true;
      break;
    case ITEM_FEED_DATA:
      if (!block || Word32(block, 0) != BLOCK_VERSION || Word32(block, 1) != FEED_BLOCK_SIZE) break;
      shown = Hex(block, FEED_BLOCK_SIZE);
      std::memcpy(changed.feedData.data(), block, FEED_BLOCK_SIZE);
      accepted = true;
      break;
    default:
      break;
  }
  if (!accepted) {
    Note("driver: set " + std::to_string(item) + " refused");
    return Called("set", handle, item, KDDM_FAILED, true);
  }
  *s = changed;
  Note("driver: set " + std::to_string(item) + " " + shown);
  return Called("set", handle, item, KDDM_OK, false);
}

int SimulatedDriver::GetDevMode(int handle, void* buffer) {
  if (Replaying(state_)) return ReplayedCalls(state_, nullptr).KDDM_GetDevMode(handle, buffer);
  DriverSettings* s = Find(handle);
  if (!s) return Called("devmode", handle, NO_ITEM, 0, true);
  std::vector<uint8_t> devMode = DevMode(*s, state_.queue);
  if (buffer == nullptr) {
    return Called("devmode", handle, NO_ITEM, static_cast<int>(devMode.size()), false, " size");
  }
  std::memcpy(buffer, devMode.data(), devMode.size());
  // The sample flag goes with the job the device mode is taken for: each sample sets it anew.
  s->samplePrint = 0;
  return Called("devmode", handle, NO_ITEM, 1, false);
}

int SimulatedDriver::Close(int handle) {
  if (Replaying(state_)) return ReplayedCalls(state_, nullptr).KDDM_Close(handle);
  if (state_.driver.handles.erase(handle) == 0) {
    return Called("close", handle, NO_ITEM, KDDM_FAILED, true);
  }
  Note("driver: close " + std::to_string(handle));
  return Called("close", handle, NO_ITEM, KDDM_OK, false);
}

std::vector<uint8_t> SimulatedDriver::DevMode(const DriverSettings& settings,
                                              const std::string& queue) {
  std::vector<uint8_t> extra = PackSettings(settings);
  // Sized once for both parts: growing it by insert trips a false array-bounds warning of
  // the i686 compiler.
  std::vector<uint8_t> devMode(DEVMODE_PUBLIC_SIZE + extra.size(), 0);
  std::copy(extra.begin(), extra.end(), devMode.begin() + DEVMODE_PUBLIC_SIZE);
  std::memcpy(devMode.data() + DM_DEVICE_NAME, queue.data(),
              std::min(queue.size(), DM_DEVICE_NAME_SIZE - 1));
  PutAt16(devMode, DM_SPEC_VERSION, DM_SPEC_VERSION_VALUE);
  PutAt16(devMode, DM_SIZE, static_cast<uint16_t>(DEVMODE_PUBLIC_SIZE));
  PutAt16(devMode, DM_DRIVER_EXTRA, static_cast<uint16_t>(extra.size()));
  PutAt32(devMode, DM_FIELDS, DM_FIELDS_VALUE);
  PutAt16(devMode, DM_ORIENTATION, DM_PORTRAIT);
  PutAt16(devMode, DM_PAPER_SIZE, settings.paperCode);
  PutAt16(devMode, DM_PAPER_LENGTH, settings.paperLength);
  PutAt16(devMode, DM_PAPER_WIDTH, settings.paperWidth);
  PutAt16(devMode, DM_COPIES, 1);
  return devMode;
}

bool SimulatedDriver::FromDevMode(const uint8_t* devMode, DriverSettings* settings) {
  uint16_t size = At16(devMode, DM_SIZE);
  uint16_t extra = At16(devMode, DM_DRIVER_EXTRA);
  return size == DEVMODE_PUBLIC_SIZE && UnpackSettings(devMode + size, extra, settings);
}

bool SimulatedDriver::FromDevMode(const std::vector<uint8_t>& devMode, DriverSettings* settings) {
  if (devMode.size() < DEVMODE_PUBLIC_SIZE) return false;
  size_t extra = At16(devMode.data(), DM_DRIVER_EXTRA);
  return devMode.size() >= DEVMODE_PUBLIC_SIZE + extra && FromDevMode(devMode.data(), settings);
}

}  // namespace sim
