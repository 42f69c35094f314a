// The simulated printer driver behind the driver-settings stand-in: its media types, paper
// sizes, fault switches and the settings of each open handle, kept in the printer's state file
// under keys that start with "driver.".
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace sim {

constexpr char DRIVER_KEY_PREFIX[] = "driver.";

struct DriverMedia {
  uint16_t id = 0;
  std::string name;
};

// Sizes in tenths of a millimetre, as device modes carry them.
struct DriverPaper {
  uint16_t code = 0;
  uint16_t width = 0;
  uint16_t length = 0;
  std::string name;
};

// What a job's settings mean to the printer: item 20's sample flag, item 40's roll paper, item
// 204's sheets fed one by one, item 205's roll and cut bits and the signed paper feed correction
// in item 219's block.
constexpr uint32_t SAMPLE_PRINT_ON = 1;
constexpr uint32_t ROLL_HANDLING = 256;
constexpr uint32_t SHEET_ONE_BY_ONE_FLAG = 0x2;
constexpr uint32_t ROLL_FED_FLAG = 0x1;
constexpr uint32_t ROLL_CUT_FLAG = 0x8;
constexpr size_t FEED_CORRECTION_BYTE = 9;

// What one handle has been told; a new handle starts from the driver's defaults.
struct DriverSettings {
  uint16_t paperWidth = 2100;
  uint16_t paperLength = 2970;
  uint16_t paperCode = 9;
  uint32_t samplePrint = 0;  // item 20
  uint32_t handling = 256;   // item 40
  uint32_t sheetFlags = 0x2;
  uint32_t rollFlags = 0x1;
  // Items 70 and 214 both choose the print mode: setting one clears the other.
  std::array<uint16_t, 4> mediaMode{};  // item 70
  std::array<uint32_t, 5> printMode{};  // item 214
  std::array<uint8_t, 20> feedData{};   // item 219's whole block

  bool operator==(const DriverSettings& o) const;
};

struct DriverState {
  std::vector<DriverMedia> media;
  std::vector<DriverPaper> papers;
  uint16_t userWidth = 6100;       // item 203: the user-defined width
  uint16_t mediaElementSize = 2;   // what the range of item 60 names
  uint32_t sheetRangeFlags = 0x2;  // item 204's range: bit 1 = sheets fed one by one
  std::set<uint16_t> uncuttable;   // media ids the roll cutter must leave alone
  bool openFails = false;          // KDDM_Open answers -1
  std::set<int> refusedItems;      // every call on these items answers -1
  DriverSettings defaults;
  int nextHandle = 1;
  std::map<int, DriverSettings> handles;  // open handles
  // Every call in the order it came: "open 1", "set 1 40", "range 1 30", "get 1 213 kind 1 id 9",
  // "devmode 1", "close 1", with " refused" when it answered a failure.
  std::vector<std::string> calls;

  DriverState();
  const DriverMedia* FindMedia(uint16_t id) const;
  const DriverPaper* FindPaper(uint16_t code) const;
};

// Settings as bytes (the private part of the device mode and the state file's hex), and back.
std::vector<uint8_t> PackSettings(const DriverSettings& settings);
bool UnpackSettings(const uint8_t* bytes, size_t length, DriverSettings* settings);

// State-file lines of the driver, and one "driver.KEY=VALUE" applied (key without its prefix).
void FormatDriverState(const DriverState& state, std::ostream& out);
bool ApplyDriverKey(const std::string& key, const std::string& value, DriverState* state);

}  // namespace sim
