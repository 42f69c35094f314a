// Everything a simulated printer remembers, and its key=value text form shared through a file.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "sim/driver_state.h"

namespace sim {

// Fault switches, by the names the state file and kdsim use.
constexpr char FAULT_INIT_FAILS[] = "init_fails";            // KBInitialize answers -1
constexpr char FAULT_NO_LIBRARY[] = "no_library";            // in-process library does not load
constexpr char FAULT_NO_CHANNEL[] = "no_channel";            // channel size query answers 0
constexpr char FAULT_OPEN_FAILS[] = "open_fails";            // KBOpenChannel answers -1
constexpr char FAULT_STATUS_NO_CRLF[] = "status_no_crlf";    // the text head is not closed
constexpr char FAULT_STATUS_OVERLONG[] = "status_overlong";  // length word past the reply
constexpr char FAULT_NEVER_READY[] = "never_ready";
constexpr char FAULT_SILENT[] = "silent";                  // commands get no reply
constexpr char FAULT_WRONG_MODEL[] = "wrong_model";        // device ID names another model
constexpr char FAULT_REFUSES_WRITES[] = "refuses_writes";  // "EX" writes do not stick
constexpr char FAULT_VANISHES[] = "vanishes_in_firmware";  // gone for good after a firmware job
constexpr char FAULT_OFFLINE[] = "offline";                // switched off: nothing answers
// Adjustment values ("EX" group 0000001F).
constexpr char FAULT_GARBLED_REPLY[] = "garbled_reply";  // value reads come back unreadable

// Names of every switch above, for checking what a user typed.
const std::vector<std::string>& KnownFaults();

// A run of samples on sheets as the printer follows its sheet commands and jobs: open from its
// first sample job or sheet command, finished by mode 2, forgotten when its faults are asked for.
enum class SheetRun { None, Open, Finished };
// The shared sheet: opened by mode 1; after mode 0 the next job ends it.
enum class SharedSheet { None, Open, Closing };

struct ChannelEntry {
  uint32_t type = 0;
  uint8_t flags = 0;
};

struct PrinterState {
  // Configuration.
  std::string model = "KALDO Model 9000";
  std::string deviceId;  // empty: built from the model
  std::string queue;     // empty: any queue name reaches this printer
  int statusCode = 4;
  std::vector<uint8_t> ink = {80, 80, 80, 80};
  uint8_t field0d = 40;
  std::string firmware = "SN120315";
  uint32_t firmwareBusyMs = 60000;
  uint32_t actionBusyMs = 0;  // after a nozzle check or a cleaning
  std::vector<ChannelEntry> channels = {{0x10010003, 0x07}, {4, 0x07}};
  std::set<std::string> faults;
  std::string missingExport;  // in-process library: this export is absent
  int readyAfter = 0;         // status polls that report busy before ready
  std::string input;          // file that raw jobs are appended to
  uint64_t inputOffset = 0;
  std::string replay;  // trace the libraries answer from instead of acting (empty: none)

  // Run-time.
  std::optional<uint32_t> busyUntil;  // clock tick
  std::string pendingFirmware;        // becomes the version when the busy time ends
  int statusPolls = 0;
  bool vanished = false;
  int nextHandle = 1;
  std::map<int, uint32_t> openChannels;         // handle -> channel type
  std::map<int, std::vector<uint8_t>> replies;  // handle -> reply not yet received
  std::map<std::string, std::string> values;    // "GROUP.KEY" -> current and reference hex
  std::vector<std::string> log;
  SharedSheet sheet = SharedSheet::None;
  SheetRun sheetRun = SheetRun::None;
  // Replay: which recorded calls have answered ('1' per call), the calls made, the size the
  // last device mode size query answered, and each call the trace did not hold.
  std::string replayUsed;
  size_t replayCalls = 0;
  uint32_t replayDevModeSize = 0;
  std::vector<std::string> divergences;

  // The printer driver behind the driver-settings stand-in.
  DriverState driver;

  bool Has(const std::string& fault) const { return faults.count(fault) > 0; }
};

// Text form: one key=value per line; '#' lines are comments.
std::string FormatState(const PrinterState& state);
// Applies every line of text to state; false with *error naming the first bad line.
bool ParseState(const std::string& text, PrinterState* state, std::string* error);
// Applies one key=value assignment (the form kdsim set takes).
bool ApplySetting(const std::string& line, PrinterState* state, std::string* error);

bool LoadState(const std::string& path, PrinterState* state, std::string* error);
bool SaveState(const std::string& path, const PrinterState& state);

// Status code from its state-file spelling ("ready", "busy" or a number 0 to 255).
bool ParseStatusCode(const std::string& text, int* code);
// Channel list from "control,network", "control:6", "0x10010003:7", ...
bool ParseChannels(const std::string& text, std::vector<ChannelEntry>* channels);

// A path as the running system opens it: under Wine a Unix path needs the Z: drive.
std::string SystemPath(const std::string& path);

// Hexadecimal text of bytes, upper case (printer_link::BytesFromHex reads it back).
std::string ToHex(const uint8_t* bytes, size_t length);

}  // namespace sim
