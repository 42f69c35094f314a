// kdtool: helpers every command group shares.
#include "tools/kdtool/commands.h"

#include <ostream>

namespace kdtool {

int Usage(Context& context, const Command& command) {
  context.err << "usage: kdtool " << command.name << " " << command.usage << "\n";
  return EXIT_USAGE;
}

int BadArgument(Context& context, const Command& command, const std::string& problem) {
  context.err << "kdtool: " << command.name << ": " << problem << "\n";
  return Usage(context, command);
}

std::string ToHex(const uint8_t* data, size_t size) {
  static const char DIGITS[] = "0123456789ABCDEF";
  std::string hex;
  for (size_t i = 0; i < size; ++i) {
    if (i > 0) hex.push_back(' ');
    hex.push_back(DIGITS[data[i] >> 4]);
    hex.push_back(DIGITS[data[i] & 0x0F]);
  }
  return hex;
}

bool ParseHex(const std::string& text, std::vector<uint8_t>* bytes) {
  bytes->clear();
  int pending = -1;
  for (char c : text) {
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
      continue;
    } else {
      return false;
    }
    if (pending < 0) {
      pending = digit;
    } else {
      bytes->push_back(static_cast<uint8_t>(pending * 16 + digit));
      pending = -1;
    }
  }
  return pending < 0;
}

}  // namespace kdtool
