// Splits a raw job, as the printer receives it, into the pieces it acts on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

enum class JobPiece {
  RESET,           // ESC "@"
  ENTER_REMOTE,    // ESC "(" "R" ... "REMOTE1"
  REMOTE_COMMAND,  // two letters and their parameters
  LEAVE_REMOTE,    // 1B 00 00 00
  PAGE_END,        // CR LF FF
  LEAD_IN,         // a run of 0x11 bytes
  SAMPLE_SHEET,    // ESC "|" with its access value and a mode byte
  FIRMWARE,        // ESC "}" header and the firmware file behind it
  DOCUMENT,        // a page description the printer driver rendered ("%!PS" ...)
  PRINT_DATA,      // anything else, up to the next known sequence
  MALFORMED,       // a known sequence with wrong or missing bytes
};

struct JobEvent {
  JobPiece piece = JobPiece::PRINT_DATA;
  std::string command;        // REMOTE_COMMAND: the two letters
  std::vector<uint8_t> data;  // REMOTE_COMMAND: parameters; FIRMWARE: the file
  size_t count = 0;           // LEAD_IN, PRINT_DATA: bytes; SAMPLE_SHEET: the mode byte
  std::string problem;        // MALFORMED: what was wrong
  size_t at = 0;              // DOCUMENT: where it starts in the job (its length is count)
  bool cut = false;           // DOCUMENT: the data ended before the document did
};

// Never reads outside bytes[0, length); a truncated sequence ends the job as MALFORMED.
std::vector<JobEvent> ReadJob(const uint8_t* bytes, size_t length);

// How much of the data can be taken in now: all of it, unless it ends inside a document that
// the spooler is still writing, which then waits for its end.
size_t WholeJobsLength(const uint8_t* bytes, size_t length);

}  // namespace sim
