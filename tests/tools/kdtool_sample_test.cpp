// kdtool's sample commands run through their table, as the command line would run them.
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

Outcome RunSample(platform::Files& files, const std::string& name, std::vector<std::string> args) {
  std::ostringstream out, err;
  kdtool::Context context{files, "Settings", std::move(args), out, err};
  for (int i = 0; i < kdtool::SAMPLE_COMMAND_COUNT; ++i) {
    if (name == kdtool::SAMPLE_COMMANDS[i].name) {
      int exit = kdtool::SAMPLE_COMMANDS[i].run(context);
      if (exit == kdtool::EXIT_USAGE) {
        EXPECT_NE(std::string::npos, err.str().find("usage:"));
      }
      return Outcome{exit, out.str()};
    }
  }
  ADD_FAILURE() << "no command " << name;
  return Outcome{-1, ""};
}

// A 24-bit bitmap header for width x height, followed by size - 54 zero bytes.
std::string Bitmap(int32_t width, int32_t height, size_t size) {
  std::string f(size, '\0');
  auto put = [&f](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) f[at + i] = static_cast<char>(v >> (8 * i));
  };
  f[0] = 'B', f[1] = 'M';
  put(10, 54);
  put(14, 40);
  put(18, static_cast<uint32_t>(width));
  put(22, static_cast<uint32_t>(height));
  f[26] = 1;
  f[28] = 24;
  return f;
}

TEST(KdtoolSample, Commands) {
  fakes::FakeFiles files;
  files.Put("Sample.bmp", Bitmap(3060, 425, 54 + 9180 * 425));
  files.Put("short.bmp", Bitmap(3060, 425, 54 + 9180 * 425 - 1));
  files.Put("small.bmp", Bitmap(4, 2, 54 + 24));
  const struct {
    const char* command;
    std::vector<std::string> args;
    int exit;
    const char* out;
  } cases[] = {
      {"sample-image", {"Sample.bmp"}, 0, "ok\n"},
      {"sample-image", {"short.bmp"}, 1, "20307\n"},
      {"sample-image", {"missing.bmp"}, 1, "20307\n"},
      {"sample-image", {"small.bmp"}, 1, "20309\n"},
      {"sample-image", {}, 2, ""},
      {"sheet-plan", {"5", "4200"}, 0, "k=3 s=2\n1 S1 S2 0 S3 1 S4 0 S5 2\n"},
      {"sheet-plan", {"1", "4200"}, 0, "k=3 s=1\nS1 2\n"},
      {"sheet-plan", {"3", "-1"}, 0, "k=1 s=3\nS1 S2 S3 2\n"},
      {"sheet-plan", {"0", "4200"}, 2, ""},
      {"sheet-plan", {"1001", "4200"}, 2, ""},
      {"sheet-plan", {"5"}, 2, ""},
      {"sheet-plan", {"5", "42x"}, 2, ""},
      {"print-mode-kind", {"3", "0", "7"}, 0, "1\n"},
      {"print-mode-kind", {"3"}, 0, "2\n"},
      {"print-mode-kind", {"6"}, 0, "3\n"},
      {"print-mode-kind", {"-4", "7"}, 0, "2\n"},
      {"print-mode-kind", {"5", "1", "2", "3", "4", "5", "6"}, 0, "4\n"},
      {"print-mode-kind", {"5", "1", "2", "3", "4", "5", "6", "7"}, 2, ""},
      {"print-mode-kind", {}, 2, ""},
      {"sample-values", {"-25", "0"}, 0, "-25 -19 -13 -6 0\n"},
      {"sample-values", {"-25", "25"}, 0, "-25 -13 0 13 25\n"},
      {"sample-values",
       {"-2147483648", "2147483647"},
       0,
       "-2147483648 -1073741825 -1 1073741823 2147483647\n"},
      {"sample-values", {"-2147483649", "0"}, 2, ""},
      {"sample-values", {"2147483648", "0"}, 2, ""},
      {"sample-values", {"-", "0"}, 2, ""},
      {"sample-values", {"1"}, 2, ""},
  };
  for (const auto& c : cases) {
    std::string line = c.command;
    for (const std::string& a : c.args) line += " " + a;
    SCOPED_TRACE(line);
    Outcome outcome = RunSample(files, c.command, c.args);
    EXPECT_EQ(c.exit, outcome.exit);
    EXPECT_EQ(c.out, outcome.out);
  }
}

}  // namespace
