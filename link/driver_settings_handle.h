// A driver-settings handle on a queue, closed however its holder leaves, and the item blocks
// more than one caller writes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "link/driver_settings_api.h"

namespace printer_link {

// Items 204 and 205: 32-bit words 1, 12, flags.
using FlagsBlock = std::array<uint32_t, 3>;
constexpr FlagsBlock EMPTY_FLAGS_BLOCK = {1, 12, 0};
constexpr size_t FLAGS_WORD = 2;
constexpr uint32_t ROLL_FLAG_FED = 0x1;
constexpr uint32_t ROLL_FLAG_CUT = 0x8;  // set in the range: the cutter can cut this media
constexpr uint32_t SHEET_FLAG_SINGLE = 0x2;

// Item 70: 16-bit words 1, then 2 for print-mode kind 1 or 1 for kind 2, the media id, 2.
using MediaModeBlock = std::array<uint16_t, 4>;
constexpr MediaModeBlock MediaModeWords(bool kind1, uint16_t mediaId) {
  return {1, static_cast<uint16_t>(kind1 ? 2 : 1), mediaId, 2};
}

// The address the library reads or fills: an array's elements, or the block itself.
template <typename T, size_t N>
void* BlockAddress(std::array<T, N>& block) {
  return block.data();
}
template <typename Block>
void* BlockAddress(Block& block) {
  return &block;
}

class DriverSettingsHandle {
 public:
  explicit DriverSettingsHandle(DriverSettingsApi& api) : api_(api) {}
  ~DriverSettingsHandle() { Close(); }
  DriverSettingsHandle(const DriverSettingsHandle&) = delete;
  DriverSettingsHandle& operator=(const DriverSettingsHandle&) = delete;

  // Opens the queue's settings without a device mode; false when the library refuses.
  bool Open(const std::string& queue, int openNumber) {
    Close();
    open_ =
        api_.KDDM_Open(queue.c_str(), openNumber, KDDM_OPEN_PLAIN, nullptr, &handle_) == KDDM_OK;
    return open_;
  }
  void Close() {
    if (open_) api_.KDDM_Close(handle_);
    open_ = false;
  }
  bool IsOpen() const { return open_; }

  // Every call answers whether the library reported success.
  bool Set(int item, intptr_t value) { return api_.KDDM_SetData(handle_, item, value) == KDDM_OK; }
  template <typename Block>
  bool SetBlock(int item, Block& block) {
    return Set(item, reinterpret_cast<intptr_t>(BlockAddress(block)));
  }
  template <typename Block>
  bool Get(int item, Block& block) {
    return api_.KDDM_GetData(handle_, item, BlockAddress(block)) == KDDM_OK;
  }
  template <typename Block>
  bool Range(int item, Block& block) {
    return api_.KDDM_GetRange(handle_, item, BlockAddress(block)) == KDDM_OK;
  }
  // The device mode as the driver holds it now, with every item set so far.
  bool DevMode(std::vector<uint8_t>* devMode) {
    int size = api_.KDDM_GetDevMode(handle_, nullptr);
    if (size <= 0) return false;
    devMode->assign(static_cast<size_t>(size), 0);
    return api_.KDDM_GetDevMode(handle_, devMode->data()) != 0;
  }

 private:
  DriverSettingsApi& api_;
  KddmHandle handle_ = nullptr;
  bool open_ = false;
};

}  // namespace printer_link
