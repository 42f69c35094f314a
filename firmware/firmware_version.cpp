// Version comparison and the printer's version query.
#include "firmware/firmware_version.h"

#include <algorithm>
#include <cstring>

#include "link/command_framing.h"
#include "link/hex.h"

namespace firmware {

namespace {

// Positions (from 0) of the key's characters, most significant first.
constexpr size_t KEY_POSITIONS[] = {5, 6, 3, 4};
constexpr size_t KEY_MIN_LENGTH = 6;

}  // namespace

uint32_t VersionKey(const std::string& version) {
  if (version.size() < KEY_MIN_LENGTH) return 0;
  uint32_t key = 0;
  for (size_t position : KEY_POSITIONS) {
    // A missing seventh character ends the number like any other non-digit.
    int digit = position < version.size() ? printer_link::HexDigit(version[position]) : -1;
    if (digit < 0) break;
    key = key * 16 + static_cast<uint32_t>(digit);
  }
  return key;
}

int CompareVersions(const std::string& printerVersion, const std::string& fileVersion) {
  if (printerVersion.empty() || fileVersion.empty()) return VERDICT_NONE;
  uint32_t printerKey = VersionKey(printerVersion);
  uint32_t fileKey = VersionKey(fileVersion);
  if (printerKey > fileKey) return VERDICT_FILE_OLDER;
  if (printerKey < fileKey) return VERDICT_FILE_NEWER;
  return VERDICT_SAME;
}

std::string ParseVersionReply(const uint8_t* reply, size_t length) {
  const char* text = reinterpret_cast<const char*>(reply);
  std::string answer(text, strnlen(text, length));
  size_t end = answer.find(VERSION_REPLY_END);
  if (end != std::string::npos) answer.resize(end);
  size_t tag = answer.find(VERSION_REPLY_TAG);
  if (tag == std::string::npos) return std::string();
  return answer.substr(tag + std::strlen(VERSION_REPLY_TAG));
}

std::string QueryFirmwareVersion(printer_link::PrinterChannel& channel,
                                 const std::string& queueName) {
  uint8_t command[printer_link::STREAM_BUFFER] = {};
  size_t length = printer_link::VersionQuery(command, sizeof command);
  uint8_t reply[VERSION_REPLY_SIZE] = {};
  int result = channel.QueryPrinter(queueName, command, length, reply, VERSION_REPLY_SIZE,
                                    VERSION_QUERY_LIMIT_MS);
  if (result <= 0) return std::string();
  // The result counts the bytes received; a library that claims more than the area held is
  // not believed beyond the area.
  size_t received = std::min(static_cast<size_t>(result), sizeof reply);
  return ParseVersionReply(reply, received);
}

}  // namespace firmware
