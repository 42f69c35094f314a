// The trace of a program's calls into the maker's libraries: one call per text line.
//
//   TIME EXPORT KEY=VALUE ... -> RESULT KEY=VALUE ...
//
// TIME is milliseconds since the trace began; the fields before "->" are what the program
// passed, those after it what the library gave back. A VALUE is a signed decimal number, a
// quoted text ("..." with \" \\ and \xHH) or bytes in hex between angle brackets (<4042>).
// Lines starting with '#' and empty lines are notes. docs/traces.md has the whole format.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace trace {

constexpr char TRACE_HEADER[] = "# kdtrace 1";
constexpr char RESULT_MARK[] = "->";
// Longer lines are refused rather than read: no call of either library carries that much.
constexpr size_t LINE_LIMIT = 65536;
// Calls taking at least this long carry "took", so that replay waits as long.
constexpr uint32_t TOOK_MIN_MS = 10;
constexpr char TOOK_FIELD[] = "took";

enum class ValueKind { Number, Text, Bytes };

struct Field {
  std::string key;
  ValueKind kind = ValueKind::Number;
  int64_t number = 0;
  std::string data;  // the text, or the bytes one per char

  bool operator==(const Field& other) const {
    return key == other.key && kind == other.kind && number == other.number && data == other.data;
  }
  bool operator!=(const Field& other) const { return !(*this == other); }
};

struct Call {
  uint32_t timeMs = 0;
  std::string name;
  std::vector<Field> in;
  int64_t result = 0;
  std::vector<Field> out;
};

// The same export asked the same thing: what replay matches on.
bool SameRequest(const Call& a, const Call& b);

// One line, without its line end.
std::string FormatCall(const Call& call);
// The request alone ("KBGetStatus handle=1 size=256"), as a divergence names it.
std::string FormatRequest(const Call& call);

enum class LineRead { Call, Note, Malformed };

// Reads one line (without its line end); never looks past it. Malformed names the fault in
// *problem.
LineRead ParseLine(const std::string& line, Call* call, std::string* problem);

struct BadLine {
  size_t lineNumber = 0;  // from 1
  std::string problem;
};

struct Trace {
  std::vector<Call> calls;
  std::vector<size_t> lineNumbers;  // of each call
  std::vector<BadLine> bad;
};

// Every line of text; malformed lines are listed in bad and left out of calls.
Trace ReadTrace(const std::string& text);

// Field helpers.
void AddNumber(std::vector<Field>* fields, const char* key, int64_t number);
void AddText(std::vector<Field>* fields, const char* key, const std::string& text);
void AddBytes(std::vector<Field>* fields, const char* key, const uint8_t* bytes, size_t size);
// Null when the key is not there.
const Field* FindField(const std::vector<Field>& fields, const char* key);

}  // namespace trace
