// kdtool: a command-line companion for service engineers and scripts, over the suite's core.
#include <cstring>
#include <iostream>
#include <memory>

#include "platform/native.h"
#include "shell/settings_reader.h"
#include "tools/kdtool/commands.h"

namespace kdtool {

namespace {

struct Group {
  const Command* commands;
  int count;
};

const Group GROUPS[] = {{SHELL_COMMANDS, SHELL_COMMAND_COUNT},
                        {LINK_COMMANDS, LINK_COMMAND_COUNT},
                        {FIRMWARE_COMMANDS, FIRMWARE_COMMAND_COUNT}};

int PrintUsage(std::ostream& err) {
  err << "usage: kdtool [--settings DIR] COMMAND ARGS...\n";
  for (const Group& group : GROUPS) {
    for (int i = 0; i < group.count; ++i) {
      err << "  kdtool " << group.commands[i].name << " " << group.commands[i].usage << "\n";
    }
  }
  return EXIT_USAGE;
}

std::string DefaultSettingsFolder(platform::Files& files) {
  std::string program = files.ProgramPath();
  size_t slash = program.rfind('\\');
  std::string folder = slash == std::string::npos ? "." : program.substr(0, slash);
  return shell::JoinPath(folder, "Settings");
}

}  // namespace

int Usage(Context& context, const Command& command) {
  context.err << "usage: kdtool " << command.name << " " << command.usage << "\n";
  return EXIT_USAGE;
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

int Main(int argc, char** argv) {
  std::unique_ptr<platform::Files> files = platform::MakeNativeFiles();
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string settingsFolder;
  if (args.size() >= 2 && args[0] == "--settings") {
    settingsFolder = args[1];
    args.erase(args.begin(), args.begin() + 2);
  } else {
    settingsFolder = DefaultSettingsFolder(*files);
  }
  if (args.empty()) return PrintUsage(std::cerr);
  for (const Group& group : GROUPS) {
    for (int i = 0; i < group.count; ++i) {
      if (args[0] != group.commands[i].name) continue;
      Context context{*files, settingsFolder,
                      std::vector<std::string>(args.begin() + 1, args.end()), std::cout, std::cerr};
      return group.commands[i].run(context);
    }
  }
  return PrintUsage(std::cerr);
}

}  // namespace kdtool

int main(int argc, char** argv) {
  return kdtool::Main(argc, argv);
}
