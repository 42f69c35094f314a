// Byte layouts the simulated printer reads and writes, kept apart from the programs' own
// builders so that the printer checks them independently.
#pragma once

#include <cstddef>
#include <cstdint>

namespace sim {

// Channel types and the flags of a usable channel list entry.
constexpr uint32_t CHANNEL_TYPE_CONTROL = 0x10010003;
constexpr uint32_t CHANNEL_TYPE_NETWORK = 4;
constexpr uint8_t CHANNEL_FLAGS_USABLE = 0x07;
constexpr size_t CHANNEL_ENTRY_BYTES = 8;

// Library results.
constexpr int KB_OK = 0;
constexpr int KB_FAILED = -1;
constexpr int KB_BAD_ARGUMENT = -2;
constexpr int KB_MORE_ROOM = -4;  // size set to the bytes needed
constexpr int KB_QUEUE_CONSTANT = 1;

// Stream blocks.
constexpr uint8_t ESC = 0x1B;
constexpr uint8_t RESET[] = {0x1B, 0x40};               // ESC "@"
constexpr uint8_t REMOTE_INTRO[] = {0x1B, 0x28, 0x52};  // ESC "(" "R", then LE16 n
constexpr uint8_t REMOTE_PAYLOAD[] = {0x00, 'R', 'E', 'M', 'O', 'T', 'E', '1'};
constexpr uint8_t REMOTE_LEAVE[] = {0x1B, 0x00, 0x00, 0x00};
constexpr uint8_t PAGE_END[] = {0x0D, 0x0A, 0x0C};  // CR LF FF of the job end
constexpr size_t REMOTE_PACKET_HEAD = 4;            // two letters, LE16 count

// ESC "|" sample sheet command: 01, LE16 6, access value, mode byte.
constexpr uint8_t SAMPLE_SHEET_INTRO[] = {0x1B, 0x7C, 0x01};
constexpr uint8_t SAMPLE_SHEET_ACCESS[] = {0x5C, 0x21, 0x9D, 0x4E, 0x08};
constexpr uint16_t SAMPLE_SHEET_COUNT = 6;
// Its mode byte: 1 opens a sheet the next jobs share, 0 has the next job end it, 2 finishes a run
// on sheets.
constexpr int SAMPLE_SHEET_CLOSE = 0;
constexpr int SAMPLE_SHEET_OPEN = 1;
constexpr int SAMPLE_SHEET_FINISH = 2;

// Firmware stream: optional lead-in, ESC "}" header, then the file.
constexpr uint8_t LEAD_IN_BYTE = 0x11;
constexpr size_t LEAD_IN_LENGTH = 0x4000;
constexpr uint8_t FIRMWARE_INTRO[] = {0x1B, 0x7D, 0x01};
constexpr uint8_t FIRMWARE_ACCESS[] = {0xA4, 0x3B, 0x19, 0xE2, 0x6D};
constexpr uint16_t FIRMWARE_COUNT = 5;
constexpr char VERSION_WITHOUT_LEAD_IN[] = "0000";  // version texts with this tail take none

// Firmware file layout.
constexpr size_t FW_OUTER_LENGTH_AT = 0x00000;
constexpr size_t FW_OUTER_SUM_AT = 0x00004;
constexpr size_t FW_OUTER_SUM_FROM = 0x00008;
constexpr size_t FW_MARKER_AT = 0x20008;
constexpr size_t FW_MARKER_LENGTH = 8;
constexpr size_t FW_IMAGE_LENGTH_AT = 0x60010;
constexpr size_t FW_IMAGE_SUM_AT = 0x60014;
constexpr size_t FW_VERSION_AT = 0x60018;
constexpr size_t FW_VERSION_LENGTH = 8;
constexpr size_t FW_IMAGE_AT = 0x60028;

// Status reply: text head closed by CR LF, LE16 body length, fields of type, length, data.
constexpr char STATUS_HEAD[] = "@BDC ST2\r\n";
constexpr size_t STATUS_REPLY_BYTES = 256;
constexpr uint8_t FIELD_STATUS_CODE = 0x01;
constexpr uint8_t FIELD_ERROR = 0x02;
constexpr uint8_t FIELD_INK_TABLE = 0x0F;
constexpr uint8_t FIELD_0D_VALUE = 0x0D;
constexpr uint8_t INK_ENTRY_BYTES = 3;  // colour slot, kind, level
constexpr uint8_t STATUS_CODE_READY = 4;
constexpr uint8_t STATUS_CODE_BUSY = 3;
constexpr uint16_t STATUS_OVERLONG_LENGTH = 0x1000;  // a length word far past the reply

// Command replies: marker, "XX:" result text, ";" and form feed.
constexpr char REPLY_MARKER[] = "@BDC PS\r\n";
constexpr char REPLY_END[] = ";\x0C";
constexpr char REPLY_OK[] = "00";
constexpr char REPLY_NOT_AVAILABLE[] = "NA";

// "EX" parameters: operation byte, 4-byte group, key, and on a write the value byte last.
constexpr uint8_t EX_WRITE = 0x00;
constexpr uint8_t EX_READ = 0x01;
constexpr size_t EX_GROUP_AT = 1;
constexpr size_t EX_GROUP_LENGTH = 4;
constexpr size_t EX_KEY_AT = EX_GROUP_AT + EX_GROUP_LENGTH;
constexpr char EX_GROUP_ADJUSTMENT[] = "0000001F";  // staged until "LD"
constexpr char EX_GROUP_NOZZLE_CHECK[] = "0000001E";
constexpr uint8_t EX_DEFAULT_VALUE = 0x80;  // current and reference of a value never written

// SNMP carriage on the network channel.
constexpr char SNMP_COMMUNITY[] = "kerrow";
constexpr uint8_t SNMP_OID_PREFIX[] = {0x2B, 0x06, 0x01, 0x04, 0x01, 0x89, 0x60,
                                       0x01, 0x02, 0x02, 0x28, 0x01, 0x01, 0x02};
constexpr uint8_t SNMP_INNER_KIND = 0x08;
constexpr size_t SNMP_INNER_HEAD = 4;  // L + 3, kind, L high, L low

}  // namespace sim
