// kdtool's firmware commands run through their table, as the command line would run them.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "firmware/firmware_file.h"
#include "platform/posix/posix_platform.h"
#include "tests/support/fake_platform.h"
#include "tools/kdtool/commands.h"

namespace {

struct Outcome {
  int exit;
  std::string out;
  std::string err;
};

Outcome RunFirmware(platform::Files& files, const std::string& name,
                    std::vector<std::string> args) {
  std::ostringstream out, err;
  kdtool::Context context{files, "Settings", std::move(args), out, err};
  for (int i = 0; i < kdtool::FIRMWARE_COMMAND_COUNT; ++i) {
    if (name == kdtool::FIRMWARE_COMMANDS[i].name) {
      int exit = kdtool::FIRMWARE_COMMANDS[i].run(context);
      return Outcome{exit, out.str(), err.str()};
    }
  }
  ADD_FAILURE() << "no command " << name;
  return Outcome{-1, "", ""};
}

TEST(KdtoolFirmware, CheckAndCompare) {
  fakes::FakeFiles files;
  std::vector<uint8_t> good = firmware::MakeFirmwareFile("SN012345", 10);
  std::vector<uint8_t> damaged = good;
  damaged.back() ^= 1;
  files.Put("good.UPG", std::string(good.begin(), good.end()));
  files.Put("damaged.UPG", std::string(damaged.begin(), damaged.end()));
  files.Put("small.UPG", "tiny");
  struct Case {
    const char* command;
    std::vector<std::string> args;
    int exit;
    std::string out;
  } cases[] = {
      {"firmware-check", {"good.UPG"}, 0, "0 SN012345\n"},
      {"firmware-check", {"damaged.UPG"}, 1, "-2 damaged\n"},
      {"firmware-check", {"small.UPG"}, 1, "-4 not-firmware\n"},
      {"firmware-check", {"missing.UPG"}, 1, "-1 unreadable\n"},
      {"firmware-check", {}, 2, ""},
      {"version-compare", {"SN012345", "SN022345"}, 0, "7 file-newer\n"},
      {"version-compare", {"SN022345", "SN012345"}, 0, "8 file-older\n"},
      {"version-compare", {"SN012345", "XX012349"}, 0, "9 same\n"},
      {"version-compare", {"", "SN012345"}, 0, "-1 no-version\n"},
      {"version-compare", {"SN012345"}, 2, ""},
      {"make-upg", {"--version", "SN0123456", "--image-size", "1", "x"}, 2, ""},
      {"make-upg", {"--version", "SN1", "--image-size", "-1", "x"}, 2, ""},
      {"make-upg", {"--version", "SN1", "--image-size", "99999999999999999999", "x"}, 2, ""},
      {"make-upg", {"--version", "SN1", "--image-size", "4294967295", "x"}, 1, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.command) + " " + (c.args.empty() ? "" : c.args[0]));
    Outcome o = RunFirmware(files, c.command, c.args);
    EXPECT_EQ(o.exit, c.exit);
    EXPECT_EQ(o.out, c.out);
  }
}

TEST(KdtoolFirmware, MadeFileIsAcceptedByTheCheck) {
  std::string path = std::string(KD_BINARY_DIR) + "/kdtool_make_upg_test.UPG";
  platform::PosixFiles files;
  Outcome made =
      RunFirmware(files, "make-upg", {"--version", "SN010203", "--image-size", "1000", path});
  EXPECT_EQ(made.exit, 0);
  EXPECT_EQ(made.out, "394256\n");
  Outcome checked = RunFirmware(files, "firmware-check", {path});
  EXPECT_EQ(checked.out, "0 SN010203\n");
  std::remove(path.c_str());
}

TEST(KdtoolFirmware, UpdateNeedsWindows) {
  fakes::FakeFiles files;
  Outcome o = RunFirmware(files, "update", {"Plotter", "FW.UPG"});
  EXPECT_EQ(o.exit, 1);
  EXPECT_NE(o.err.find("Windows"), std::string::npos);
}

}  // namespace
