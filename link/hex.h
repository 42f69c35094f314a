// Hexadecimal digits and byte pairs, as settings files, version texts and the tools write them.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace printer_link {

// Inline, so that the simulator's stand-in libraries, which compile their own copies of the
// portable sources without the link library, read hex exactly as the programs do.

// 0-15 for '0'-'9', 'a'-'f' and 'A'-'F'; -1 for anything else.
inline int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// What may stand between the digits of BytesFromHex.
enum class HexBlanks {
  Refused,  // nothing: the text is digits alone
  Skipped,  // blanks, tabs and line ends anywhere
};

// The bytes of text read as pairs of digits of either case, high digit first. False on any other
// character or an odd number of digits; *bytes is then left as it was.
inline bool BytesFromHex(const std::string& text, std::vector<uint8_t>* bytes,
                         HexBlanks blanks = HexBlanks::Refused) {
  std::vector<uint8_t> out;
  int pending = -1;
  for (char c : text) {
    if (blanks == HexBlanks::Skipped && (c == ' ' || c == '\t' || c == '\n' || c == '\r')) {
      continue;
    }
    int digit = HexDigit(c);
    if (digit < 0) return false;
    if (pending < 0) {
      pending = digit;
    } else {
      out.push_back(static_cast<uint8_t>(pending * 16 + digit));
      pending = -1;
    }
  }
  if (pending >= 0) return false;
  *bytes = std::move(out);
  return true;
}

}  // namespace printer_link
