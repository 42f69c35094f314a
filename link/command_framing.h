// Remote-mode command blocks, the composed streams and the SNMP wrapping of one command.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace printer_link {

// Every stream is composed into a buffer of this size.
constexpr size_t STREAM_BUFFER = 128;
// Length of the adjustment identifier inside the "EX" paper feed packets.
constexpr size_t FEED_ID_LENGTH = 13;

// Block builders: each writes its block at dst only when room is at least its length, and
// returns the bytes written, or 0 (nothing written) when the room is too small.
size_t EnterRemoteMode(uint8_t* dst, size_t room);
size_t LeaveRemoteMode(uint8_t* dst, size_t room);
size_t JobEnd(uint8_t* dst, size_t room);
size_t NozzleCheck(uint8_t* dst, size_t room, bool flag);            // "NC"
size_t VersionInJob(uint8_t* dst, size_t room);                      // "VI" 00 01
size_t DeepCleaning(uint8_t* dst, size_t room);                      // "CH" 00 10
size_t CleaningPage(uint8_t* dst, size_t room);                      // "SS" 00 05
size_t NozzleCheckPage(uint8_t* dst, size_t room);                   // "EX" six bytes
size_t FeedValueRead(uint8_t* dst, size_t room, const uint8_t* id);  // "EX" read, 22 bytes
size_t FeedValueWrite(uint8_t* dst, size_t room, const uint8_t* id, uint8_t value);  // 23 bytes
size_t LoadSettings(uint8_t* dst, size_t room);                                      // "LD"
size_t VersionQuery(uint8_t* dst, size_t room);                                      // "VI" 01 00
size_t SampleSheet(uint8_t* dst, size_t room, uint8_t mode);  // ESC "|" ..., 11 bytes

// Mode bytes of the sample sheet command.
constexpr uint8_t SAMPLE_SHEET_CLOSE = 0;   // the next job ends the shared sheet
constexpr uint8_t SAMPLE_SHEET_OPEN = 1;    // the next jobs share one sheet
constexpr uint8_t SAMPLE_SHEET_FINISH = 2;  // a run on sheets is over

// A composed stream.
struct CommandStream {
  uint8_t bytes[STREAM_BUFFER] = {};
  size_t length = 0;
};

CommandStream NozzleCheckStream();                                     // Kestrune, 36 bytes
CommandStream DeepCleaningStream();                                    // Kestrune, 25 bytes
CommandStream CleaningPageStream();                                    // Trevalo, 30 bytes
CommandStream NozzleCheckPageStream();                                 // Trevalo, 29 bytes
CommandStream FeedValueWriteStream(const uint8_t* id, uint8_t value);  // Trevalo, 46 bytes
CommandStream SampleSheetStream(uint8_t mode);                         // Trevalo, 11 bytes

// The SNMP GetRequest that carries one command over a network channel. False, with nothing
// built, when the message would need lengths above one byte.
bool WrapSnmp(const uint8_t* command, size_t length, std::vector<uint8_t>* message);

}  // namespace printer_link
