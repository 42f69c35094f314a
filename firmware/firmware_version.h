// Version texts of printer and firmware file: the comparison key, the verdict and the "VI" query.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "link/printer_channel.h"

namespace firmware {

// Verdicts of the comparison; each is also the number of the text that shows it.
constexpr int VERDICT_NONE = -1;
constexpr int VERDICT_FILE_NEWER = 7;
constexpr int VERDICT_FILE_OLDER = 8;
constexpr int VERDICT_SAME = 9;

// Version texts are read from the page with at most this many characters.
constexpr size_t VERSION_FIELD_LENGTH = 15;

// The "VI" query and its reply.
constexpr uint32_t VERSION_REPLY_SIZE = 512;
constexpr uint32_t VERSION_QUERY_LIMIT_MS = 10000;
constexpr char VERSION_REPLY_TAG[] = "VI:00";
constexpr char VERSION_REPLY_END = ';';

// Characters 6, 7, 4 and 5 (counting from 1) read as a hexadecimal number up to the first
// character that is not a hexadecimal digit; 0 for a text shorter than six characters.
uint32_t VersionKey(const std::string& version);

// VERDICT_NONE when either text is empty; otherwise by the keys: printer greater gives
// VERDICT_FILE_OLDER, printer smaller VERDICT_FILE_NEWER, equal VERDICT_SAME.
int CompareVersions(const std::string& printerVersion, const std::string& fileVersion);

// The version text in the first `length` bytes of a reply: cut at the first NUL and the first
// ';', then everything after the first "VI:00"; empty when there is none.
std::string ParseVersionReply(const uint8_t* reply, size_t length);

// Asks the printer behind queueName for its firmware version; empty when there is no answer.
std::string QueryFirmwareVersion(printer_link::PrinterChannel& channel,
                                 const std::string& queueName);

}  // namespace firmware
