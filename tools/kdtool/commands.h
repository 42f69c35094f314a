// kdtool: the subcommands and what they share.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "link/status_reply.h"
#include "platform/code_page.h"
#include "platform/files.h"

namespace kdtool {

constexpr int EXIT_OK = 0;
constexpr int EXIT_FAILED = 1;
constexpr int EXIT_USAGE = 2;

struct Context {
  platform::Files& files;
  std::string settingsFolder;
  std::vector<std::string> args;  // after the subcommand name
  std::ostream& out;
  std::ostream& err;
  const platform::CodePage& codePage = platform::SingleByte();  // the system's
};

struct Command {
  const char* name;
  const char* usage;  // arguments after the name
  int (*run)(Context&);
};

// Each group of commands lives in its own file.
extern const Command SHELL_COMMANDS[];
extern const int SHELL_COMMAND_COUNT;
extern const Command LINK_COMMANDS[];
extern const int LINK_COMMAND_COUNT;
extern const Command FIRMWARE_COMMANDS[];
extern const int FIRMWARE_COMMAND_COUNT;
extern const Command FEED_COMMANDS[];
extern const int FEED_COMMAND_COUNT;
extern const Command SAMPLE_COMMANDS[];
extern const int SAMPLE_COMMAND_COUNT;
extern const Command TRACE_COMMANDS[];
extern const int TRACE_COMMAND_COUNT;

// Prints "usage: kdtool NAME USAGE" on standard error; returns EXIT_USAGE.
int Usage(Context& context, const Command& command);
// Prints "kdtool: NAME: PROBLEM" and then the usage on standard error; returns EXIT_USAGE.
int BadArgument(Context& context, const Command& command, const std::string& problem);

// Upper-case byte pairs separated by single blanks.
std::string ToHex(const uint8_t* data, size_t size);

// "ready=1 ink-low=0 0d-low=0": the status checks as the programs make them.
std::string StatusLine(const printer_link::StatusReply& status);

}  // namespace kdtool
