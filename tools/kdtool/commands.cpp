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

std::string StatusLine(const printer_link::StatusReply& status) {
  return std::string("ready=") + (status.IsReady() ? "1" : "0") +
         " ink-low=" + (status.IsInkLow() ? "1" : "0") +
         " 0d-low=" + (status.IsField0DLow() ? "1" : "0");
}

}  // namespace kdtool
