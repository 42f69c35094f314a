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
                        {FIRMWARE_COMMANDS, FIRMWARE_COMMAND_COUNT},
                        {SAMPLE_COMMANDS, SAMPLE_COMMAND_COUNT}};

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
