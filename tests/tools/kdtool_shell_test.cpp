// kdtool's slider and ports commands run through their table.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/support/fake_platform.h"
#include "tools/kdtool/commands.h"

namespace {

struct Outcome {
  int exit;
  std::string out;
};

Outcome RunShell(const std::string& name, std::vector<std::string> args) {
  fakes::FakeFiles files;
  std::ostringstream out, err;
  kdtool::Context context{files, "Settings", std::move(args), out, err};
  for (int i = 0; i < kdtool::SHELL_COMMAND_COUNT; ++i) {
    if (name == kdtool::SHELL_COMMANDS[i].name) {
      return Outcome{kdtool::SHELL_COMMANDS[i].run(context), out.str()};
    }
  }
  ADD_FAILURE() << "no command " << name;
  return Outcome{-1, ""};
}

TEST(KdtoolShell, SliderAndPorts) {
  struct Case {
    const char* command;
    std::vector<std::string> args;
    int exit;
    std::string out;
  };
  const Case cases[] = {
      {"slider", {"100", "-100", "low", "90"}, 0, "75\n"},
      {"slider", {"100", "-100", "high", "-100"}, 0, "-75\n"},
      {"slider", {"100", "-100", "high", "-20"}, 0, "-20\n"},
      {"slider", {"-10", "-60", "low", "-10"}, 0, "-35\n"},
      {"slider", {"24", "0", "low", "5"}, 2, ""},  // narrower than the thumbs' distance
      {"slider", {"0", "0", "high", "0"}, 2, ""},
      {"slider", {"100", "-100", "middle", "0"}, 2, ""},
      {"slider", {"100", "-100", "low"}, 2, ""},
      {"ports", {"6.1", "KD1394D3_1"}, 0, "accepted\n"},
      {"ports", {"6.1", "USB001"}, 0, "refused\n"},
      {"ports", {"5.1", "USB001"}, 0, "accepted\n"},
      {"ports", {"4.90", "KDUSB1"}, 0, "accepted\n"},
      {"ports", {"5.1", ""}, 0, "refused\n"},
      {"ports", {"6", "USB001"}, 2, ""},
      {"ports", {"-5.1", "USB001"}, 2, ""},
      {"ports", {"6.1"}, 2, ""},
  };
  for (const Case& c : cases) {
    std::string line = c.command;
    for (const std::string& a : c.args) line += " '" + a + "'";
    SCOPED_TRACE(line);
    Outcome o = RunShell(c.command, c.args);
    EXPECT_EQ(o.exit, c.exit);
    EXPECT_EQ(o.out, c.out);
  }
}

}  // namespace
