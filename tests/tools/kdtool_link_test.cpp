// kdtool's link commands run through their table, as the command line would run them.
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/fake_platform.h"
#include "tools/kdtool/commands.h"

namespace {

struct Outcome {
  int exit;
  std::string out;
  std::string err;
};

Outcome RunLink(const std::string& name, std::vector<std::string> args) {
  fakes::FakeFiles files;
  std::ostringstream out, err;
  kdtool::Context context{files, "Settings", std::move(args), out, err};
  for (int i = 0; i < kdtool::LINK_COMMAND_COUNT; ++i) {
    if (name == kdtool::LINK_COMMANDS[i].name) {
      int exit = kdtool::LINK_COMMANDS[i].run(context);
      return Outcome{exit, out.str(), err.str()};
    }
  }
  ADD_FAILURE() << "no command " << name;
  return Outcome{-1, "", ""};
}

TEST(KdtoolLink, Commands) {
  struct Case {
    const char* command;
    std::vector<std::string> args;
    int exit;
    std::string out;
  };
  const Case cases[] = {
      {"stream",
       {"deep-cleaning"},
       0,
       "1B 40 1B 28 52 08 00 00 52 45 4D 4F 54 45 31 43 48 02 00 00 10 1B 00 00 00\n"},
      {"stream", {"flush"}, 2, ""},
      {"stream", {}, 2, ""},
      {"snmp",
       {"56 49 02 00 01 FF"},
       0,
       "30 37 02 01 00 04 06 6B 65 72 72 6F 77 A0 2A 02 01 01 02 01 00 02 01 00 30 1F 30 1D 06 19 "
       "2B 06 01 04 01 89 60 01 02 02 28 01 01 02 09 08 00 06 56 49 02 00 01 81 7F 05 00\n"},
      {"snmp", {std::string(160, 'F')}, 1, ""},
      {"snmp", {"5G"}, 2, ""},
      {"status", {"41 0D 0A 03 00 01 01 04"}, 0, "ready=1 ink-low=0 0d-low=0\n"},
      {"status", {"0d0a 0a00 0f04030000 19 0d02000d"}, 0, "ready=0 ink-low=1 0d-low=1\n"},
      // The length word reads past the bytes given into the program's zero-cleared buffer.
      {"status", {"41 0D 0A 04 00 01 01 04"}, 0, "ready=1 ink-low=0 0d-low=0\n"},
      {"status", {"41 0D 0A 09 00 01 01 04"}, 0, "ready=1 ink-low=0 0d-low=0\n"},
      {"status", {"41 0D 0A FC 00 01 01 04"}, 0, "no-status\n"},
      {"status", {"03 00 01 01 04"}, 0, "no-status\n"},
      {"match-device-id", {"MFG:KALDO;DES:KALDO Model 9000;", "KALDO Model 9000"}, 0, "match\n"},
      {"match-device-id", {"DES:KALDO Model 9000", "KALDO Model 9000"}, 0, "no-match\n"},
      {"match-device-id",
       {std::string(252, 'x') + "DES:KALDO Model 9000;", "KALDO Model 9000"},
       0,
       "no-match\n"},
      {"match-device-id", {"DES:A;"}, 2, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.command) + " " + (c.args.empty() ? "" : c.args[0]));
    Outcome run = RunLink(c.command, c.args);
    EXPECT_EQ(run.exit, c.exit);
    EXPECT_EQ(run.out, c.out);
    EXPECT_EQ(run.err.empty(), c.exit == 0);
  }
}

#ifndef _WIN32
TEST(KdtoolLink, PrinterNeedsWindows) {
  Outcome run = RunLink("printer", {"Queue"});
  EXPECT_EQ(run.exit, 1);
  EXPECT_NE(run.err.find("Windows"), std::string::npos);
}
#endif

}  // namespace
