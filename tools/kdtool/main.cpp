// kdtool: a command-line companion for service engineers and scripts, over the suite's core.
#include <cstring>
#include <iostream>
#include <memory>

#include "platform/native.h"
#include "programs/common/version.h"
#include "shell/multibyte.h"
#include "shell/settings_reader.h"
#include "tools/kdtool/commands.h"

namespace kdtool {

namespace {

struct Group {
  const Command* commands;
  int count;
};

const Group GROUPS[] = {
    {SHELL_COMMANDS, SHELL_COMMAND_COUNT},       {LINK_COMMANDS, LINK_COMMAND_COUNT},
    {FIRMWARE_COMMANDS, FIRMWARE_COMMAND_COUNT}, {FEED_COMMANDS, FEED_COMMAND_COUNT},
    {SAMPLE_COMMANDS, SAMPLE_COMMAND_COUNT},     {TRACE_COMMANDS, TRACE_COMMAND_COUNT}};

// The whole usage: on standard output when asked for (--help), on standard error after a mistake.
void PrintUsage(std::ostream& stream) {
  stream << "usage: kdtool [--settings DIR] COMMAND ARGS...\n"
         << "       kdtool --help | --version\n";
  for (const Group& group : GROUPS) {
    for (int i = 0; i < group.count; ++i) {
      stream << "  kdtool " << group.commands[i].name << " " << group.commands[i].usage << "\n";
    }
  }
}

int UsageError(const std::string& problem) {
  std::cerr << "kdtool: " << problem << "\n";
  PrintUsage(std::cerr);
  return EXIT_USAGE;
}

const Command* FindCommand(const std::string& name) {
  for (const Group& group : GROUPS) {
    for (int i = 0; i < group.count; ++i) {
      if (name == group.commands[i].name) return &group.commands[i];
    }
  }
  return nullptr;
}

std::string DefaultSettingsFolder(platform::Files& files, const platform::CodePage& codePage) {
  std::string program = files.ProgramPath();
  size_t slash = shell::LastBackslash(codePage, program);
  std::string folder = slash == std::string::npos ? "." : program.substr(0, slash);
  return shell::JoinPath(folder, "Settings");
}

}  // namespace

int Main(int argc, char** argv) {
  std::unique_ptr<platform::Files> files = platform::MakeNativeFiles();
  std::unique_ptr<platform::CodePage> codePage = platform::MakeNativeCodePage();
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string settingsFolder;
  bool settingsGiven = false;
  // Options come before the command; after it, "-1" and the like are arguments.
  while (!args.empty() && args[0].compare(0, 2, "--") == 0) {
    if (args[0] == "--help") {
      PrintUsage(std::cout);
      return EXIT_OK;
    }
    if (args[0] == "--version") {
      std::cout << "kdtool " << KD_VERSION_TEXT << "\n";
      return EXIT_OK;
    }
    if (args[0] != "--settings") return UsageError("unknown option " + args[0]);
    if (args.size() < 2) return UsageError("--settings needs a folder");
    settingsFolder = args[1];
    settingsGiven = true;
    args.erase(args.begin(), args.begin() + 2);
  }
  if (!settingsGiven) settingsFolder = DefaultSettingsFolder(*files, *codePage);
  if (args.empty()) return UsageError("no command given");
  const Command* command = FindCommand(args[0]);
  if (command == nullptr) return UsageError("unknown command " + args[0]);
  Context context{*files,    settingsFolder, std::vector<std::string>(args.begin() + 1, args.end()),
                  std::cout, std::cerr,      *codePage};
  if (context.args.size() == 1 && context.args[0] == "--help") {
    std::cout << "usage: kdtool " << command->name << " " << command->usage << "\n";
    return EXIT_OK;
  }
  return command->run(context);
}

}  // namespace kdtool

int main(int argc, char** argv) {
  return kdtool::Main(argc, argv);
}
