// Reading and writing the simulated printer's state file.
#include "sim/printer_state.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "link/hex.h"
#include "sim/protocol_bytes.h"

namespace sim {

namespace {

constexpr char CHANNEL_KEY_PREFIX[] = "channel.";
constexpr char REPLY_KEY_PREFIX[] = "reply.";
constexpr char VALUE_KEY_PREFIX[] = "value.";
constexpr char LOG_KEY[] = "log";
constexpr char DIVERGENCE_KEY[] = "divergence";
constexpr int STATUS_CODE_MAX = 255;
const char* const SHEET_RUN_NAMES[] = {"none", "open", "finished"};
const char* const SHARED_SHEET_NAMES[] = {"none", "open", "closing"};

// An enum kept by its name: values 0 to count - 1 named in order.
template <typename E, size_t N>
bool ParseName(const std::string& text, const char* const (&names)[N], E* value) {
  for (size_t i = 0; i < N; ++i) {
    if (text == names[i]) {
      *value = static_cast<E>(i);
      return true;
    }
  }
  return false;
}
constexpr size_t INK_SLOTS_MAX = 32;  // keeps the status reply inside its 256 bytes

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  if (text.empty()) return parts;
  size_t start = 0;
  while (true) {
    size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return parts;
}

// Unsigned number in decimal or with a 0x prefix; the whole text must be the number.
bool ParseNumber(const std::string& text, uint64_t max, uint64_t* value) {
  if (text.empty() || text[0] == '-' || text[0] == '+') return false;
  char* end = nullptr;
  unsigned long long v = std::strtoull(text.c_str(), &end, 0);
  if (end == nullptr || *end != '\0' || v > max) return false;
  *value = v;
  return true;
}

template <typename T>
bool ParseInto(const std::string& text, uint64_t max, T* out) {
  uint64_t v = 0;
  if (!ParseNumber(text, max, &v)) return false;
  *out = static_cast<T>(v);
  return true;
}

std::string StatusCodeText(int code) {
  if (code == STATUS_CODE_READY) return "ready";
  if (code == STATUS_CODE_BUSY) return "busy";
  return std::to_string(code);
}

std::string ChannelText(const ChannelEntry& entry) {
  std::string name;
  if (entry.type == CHANNEL_TYPE_CONTROL) {
    name = "control";
  } else if (entry.type == CHANNEL_TYPE_NETWORK) {
    name = "network";
  } else {
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(entry.type));
    name = hex;
  }
  if (entry.flags != CHANNEL_FLAGS_USABLE) name += ":" + std::to_string(entry.flags);
  return name;
}

bool ParseChannelType(const std::string& text, uint32_t* type) {
  if (text == "control") {
    *type = CHANNEL_TYPE_CONTROL;
    return true;
  }
  if (text == "network") {
    *type = CHANNEL_TYPE_NETWORK;
    return true;
  }
  return ParseInto(text, UINT32_MAX, type);
}

std::string Join(const std::vector<std::string>& parts) {
  std::string text;
  for (size_t i = 0; i < parts.size(); ++i) text += (i ? "," : "") + parts[i];
  return text;
}

// Keys whose value holds a handle number after a prefix ("channel.3").
bool HandleKey(const std::string& key, const char* prefix, int* handle) {
  if (!StartsWith(key, prefix)) return false;
  return ParseInto(key.substr(std::string(prefix).size()), INT32_MAX, handle);
}

bool ApplyKeyValue(const std::string& key, const std::string& value, PrinterState* s) {
  if (StartsWith(key, DRIVER_KEY_PREFIX)) {
    return ApplyDriverKey(key.substr(std::string(DRIVER_KEY_PREFIX).size()), value, &s->driver);
  }
  if (key == "model") {
    s->model = value;
  } else if (key == "device_id") {
    s->deviceId = value;
  } else if (key == "queue") {
    s->queue = value;
  } else if (key == "status") {
    return ParseStatusCode(value, &s->statusCode);
  } else if (key == "ink") {
    std::vector<uint8_t> levels;
    for (const std::string& part : Split(value, ',')) {
      uint8_t level = 0;
      if (!ParseInto(part, 255, &level)) return false;
      levels.push_back(level);
    }
    if (levels.size() > INK_SLOTS_MAX) return false;
    s->ink = levels;
  } else if (key == "0d") {
    return ParseInto(value, 255, &s->field0d);
  } else if (key == "firmware") {
    s->firmware = value;
  } else if (key == "firmware_busy_ms") {
    return ParseInto(value, UINT32_MAX, &s->firmwareBusyMs);
  } else if (key == "action_busy_ms") {
    return ParseInto(value, UINT32_MAX, &s->actionBusyMs);
  } else if (key == "channels") {
    return ParseChannels(value, &s->channels);
  } else if (key == "faults") {
    std::set<std::string> faults;
    for (const std::string& name : Split(value, ',')) {
      bool known = false;
      for (const std::string& k : KnownFaults()) known = known || k == name;
      if (!known) return false;
      faults.insert(name);
    }
    s->faults = faults;
  } else if (key == "missing_export") {
    s->missingExport = value;
  } else if (key == "ready_after") {
    return ParseInto(value, INT32_MAX, &s->readyAfter);
  } else if (key == "input") {
    s->input = value;
  } else if (key == "input_offset") {
    return ParseInto(value, UINT64_MAX, &s->inputOffset);
  } else if (key == "replay") {
    s->replay = value;
  } else if (key == "replay_used") {
    if (value.find_first_not_of("01") != std::string::npos) return false;
    s->replayUsed = value;
  } else if (key == "replay_calls") {
    return ParseInto(value, SIZE_MAX, &s->replayCalls);
  } else if (key == "replay_devmode") {
    return ParseInto(value, UINT32_MAX, &s->replayDevModeSize);
  } else if (key == DIVERGENCE_KEY) {
    s->divergences.push_back(value);
  } else if (key == "busy_until") {
    if (value.empty()) {
      s->busyUntil.reset();
      return true;
    }
    uint32_t tick = 0;
    if (!ParseInto(value, UINT32_MAX, &tick)) return false;
    s->busyUntil = tick;
  } else if (key == "pending_firmware") {
    s->pendingFirmware = value;
  } else if (key == "status_polls") {
    return ParseInto(value, INT32_MAX, &s->statusPolls);
  } else if (key == "vanished") {
    if (value != "0" && value != "1") return false;
    s->vanished = value == "1";
  } else if (key == "next_handle") {
    return ParseInto(value, INT32_MAX, &s->nextHandle);
  } else if (key == "sheet") {
    return ParseName(value, SHARED_SHEET_NAMES, &s->sheet);
  } else if (key == "sheet_run") {
    return ParseName(value, SHEET_RUN_NAMES, &s->sheetRun);
  } else if (key == LOG_KEY) {
    s->log.push_back(value);
  } else if (StartsWith(key, VALUE_KEY_PREFIX)) {
    std::vector<uint8_t> bytes;
    if (!printer_link::BytesFromHex(value, &bytes) || bytes.size() != 2) return false;
    s->values[key.substr(std::string(VALUE_KEY_PREFIX).size())] = ToHex(bytes.data(), bytes.size());
  } else {
    int handle = 0;
    if (HandleKey(key, CHANNEL_KEY_PREFIX, &handle)) {
      uint32_t type = 0;
      if (!ParseChannelType(value, &type)) return false;
      s->openChannels[handle] = type;
    } else if (HandleKey(key, REPLY_KEY_PREFIX, &handle)) {
      std::vector<uint8_t> bytes;
      if (!printer_link::BytesFromHex(value, &bytes)) return false;
      s->replies[handle] = bytes;
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

const std::vector<std::string>& KnownFaults() {
  static const std::vector<std::string> names = {
      FAULT_INIT_FAILS, FAULT_NO_LIBRARY, FAULT_NO_CHANNEL, FAULT_OPEN_FAILS, FAULT_STATUS_NO_CRLF,
      FAULT_STATUS_OVERLONG, FAULT_NEVER_READY, FAULT_SILENT, FAULT_WRONG_MODEL,
      FAULT_REFUSES_WRITES, FAULT_VANISHES, FAULT_OFFLINE,
      // Adjustment values.
      FAULT_GARBLED_REPLY};
  return names;
}

std::string FormatState(const PrinterState& s) {
  std::ostringstream out;
  std::vector<std::string> ink;
  for (uint8_t level : s.ink) ink.push_back(std::to_string(level));
  std::vector<std::string> channels;
  for (const ChannelEntry& entry : s.channels) channels.push_back(ChannelText(entry));
  std::vector<std::string> faults(s.faults.begin(), s.faults.end());

  out << "# simulated printer (kdsim)\n";
  out << "model=" << s.model << "\n";
  out << "device_id=" << s.deviceId << "\n";
  out << "queue=" << s.queue << "\n";
  out << "status=" << StatusCodeText(s.statusCode) << "\n";
  out << "ink=" << Join(ink) << "\n";
  out << "0d=" << static_cast<int>(s.field0d) << "\n";
  out << "firmware=" << s.firmware << "\n";
  out << "firmware_busy_ms=" << s.firmwareBusyMs << "\n";
  out << "action_busy_ms=" << s.actionBusyMs << "\n";
  out << "channels=" << Join(channels) << "\n";
  out << "faults=" << Join(faults) << "\n";
  out << "missing_export=" << s.missingExport << "\n";
  out << "ready_after=" << s.readyAfter << "\n";
  out << "input=" << s.input << "\n";
  out << "input_offset=" << s.inputOffset << "\n";
  out << "replay=" << s.replay << "\n";
  out << "# run-time\n";
  out << "busy_until=" << (s.busyUntil ? std::to_string(*s.busyUntil) : std::string()) << "\n";
  out << "pending_firmware=" << s.pendingFirmware << "\n";
  out << "status_polls=" << s.statusPolls << "\n";
  out << "vanished=" << (s.vanished ? 1 : 0) << "\n";
  out << "next_handle=" << s.nextHandle << "\n";
  for (const auto& [handle, type] : s.openChannels) {
    out << CHANNEL_KEY_PREFIX << handle << "=" << ChannelText({type, CHANNEL_FLAGS_USABLE}) << "\n";
  }
  for (const auto& [handle, bytes] : s.replies) {
    out << REPLY_KEY_PREFIX << handle << "=" << ToHex(bytes.data(), bytes.size()) << "\n";
  }
  for (const auto& [key, value] : s.values) out << VALUE_KEY_PREFIX << key << "=" << value << "\n";
  out << "sheet=" << SHARED_SHEET_NAMES[static_cast<int>(s.sheet)] << "\n";
  out << "sheet_run=" << SHEET_RUN_NAMES[static_cast<int>(s.sheetRun)] << "\n";
  FormatDriverState(s.driver, out);
  if (!s.replay.empty()) {
    out << "replay_used=" << s.replayUsed << "\n";
    out << "replay_calls=" << s.replayCalls << "\n";
    out << "replay_devmode=" << s.replayDevModeSize << "\n";
  }
  for (const std::string& line : s.divergences) out << DIVERGENCE_KEY << "=" << line << "\n";
  for (const std::string& line : s.log) out << LOG_KEY << "=" << line << "\n";
  return out.str();
}

bool ApplySetting(const std::string& rawLine, PrinterState* state, std::string* error) {
  std::string line = rawLine;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  size_t eq = line.find('=');
  if (eq == std::string::npos || eq == 0 ||
      !ApplyKeyValue(line.substr(0, eq), line.substr(eq + 1), state)) {
    if (error) *error = "bad setting: " + line;
    return false;
  }
  return true;
}

bool ParseState(const std::string& text, PrinterState* state, std::string* error) {
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    if (!ApplySetting(line, state, error)) return false;
  }
  return true;
}

bool LoadState(const std::string& path, PrinterState* state, std::string* error) {
  std::ifstream in(SystemPath(path), std::ios::binary);
  if (!in) {
    if (error) *error = "cannot read " + path;
    return false;
  }
  std::ostringstream text;
  text << in.rdbuf();
  PrinterState loaded;
  if (!ParseState(text.str(), &loaded, error)) return false;
  *state = loaded;
  return true;
}

bool SaveState(const std::string& path, const PrinterState& state) {
  std::string target = SystemPath(path);
  std::string temporary = target + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << FormatState(state);
    if (!out.flush()) return false;
  }
#ifdef _WIN32
  // rename does not replace an existing file here.
  std::remove(target.c_str());
#endif
  return std::rename(temporary.c_str(), target.c_str()) == 0;
}

bool ParseStatusCode(const std::string& text, int* code) {
  if (text == "ready") {
    *code = STATUS_CODE_READY;
    return true;
  }
  if (text == "busy") {
    *code = STATUS_CODE_BUSY;
    return true;
  }
  return ParseInto(text, STATUS_CODE_MAX, code);
}

bool ParseChannels(const std::string& text, std::vector<ChannelEntry>* channels) {
  std::vector<ChannelEntry> parsed;
  for (const std::string& part : Split(text, ',')) {
    size_t colon = part.find(':');
    ChannelEntry entry;
    entry.flags = CHANNEL_FLAGS_USABLE;
    if (!ParseChannelType(part.substr(0, colon), &entry.type)) return false;
    if (colon != std::string::npos && !ParseInto(part.substr(colon + 1), 255, &entry.flags)) {
      return false;
    }
    parsed.push_back(entry);
  }
  *channels = parsed;
  return true;
}

std::string SystemPath(const std::string& path) {
#ifdef _WIN32
  // Wine maps the Unix root to drive Z:; test drivers hand over Unix paths.
  if (!path.empty() && path[0] == '/' && (path.size() < 2 || path[1] != '/')) return "Z:" + path;
#endif
  return path;
}

std::string ToHex(const uint8_t* bytes, size_t length) {
  static const char digits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(length * 2);
  for (size_t i = 0; i < length; ++i) {
    text += digits[bytes[i] >> 4];
    text += digits[bytes[i] & 0x0F];
  }
  return text;
}

}  // namespace sim
