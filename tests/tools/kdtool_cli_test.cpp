// kdtool as scripts meet it: the built program run with arguments, its exit status and what it
// writes on each stream.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Outcome {
  int exit;
  std::string out;
  std::string err;
};

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

Outcome RunKdtool(const std::vector<std::string>& args) {
  const std::string out = std::string(KD_BINARY_DIR) + "/kdtool_cli_test.out";
  const std::string err = std::string(KD_BINARY_DIR) + "/kdtool_cli_test.err";
  // The 32-bit build starts kdtool through the same emulator as the tests themselves.
  std::string command = std::string(KD_KDTOOL_EMULATOR) + "'" + KD_KDTOOL + "'";
  for (const std::string& arg : args) command += " '" + arg + "'";
  command += " >'" + out + "' 2>'" + err + "' </dev/null";
  int status = std::system(command.c_str());
  return Outcome{WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(out), Slurp(err)};
}

TEST(KdtoolCli, ExitStatusAndStreams) {
  const std::string settings = std::string(KD_SOURCE_DIR) + "/install/Settings";
  struct Case {
    std::vector<std::string> args;
    int exit;
    std::string outStart;  // standard output begins with this ("" : nothing on it)
    std::string errHas;    // standard error holds this ("" : nothing on it)
  } cases[] = {
      {{"--help"}, 0, "usage: kdtool [--settings DIR] COMMAND", ""},
      {{"--version"}, 0, "kdtool 1.", ""},
      {{"text", "--help"}, 0, "usage: kdtool text N\n", ""},
      {{}, 2, "", "no command given"},
      {{"frobnicate"}, 2, "", "unknown command frobnicate"},
      {{"--colour", "text", "1"}, 2, "", "unknown option --colour"},
      {{"--settings"}, 2, "", "--settings needs a folder"},
      {{"--settings", settings, "text", "-1"}, 0, "\n", ""},
      {{"--settings", settings, "text", "12x"}, 2, "", "text: '12x' is not a whole number"},
      {{"--settings", settings, "font", "1", "--dpi", "0"}, 2, "", "--dpi 0"},
      {{"firmware-check", "/nonexistent/KD.UPG"}, 1, "-1 unreadable\n", "/nonexistent/KD.UPG"},
      {{"version-compare", "SN012345", "SN022345"}, 0, "7 file-newer\n", ""},
      {{"stream", "flush"}, 2, "", "no stream named flush"},
      {{"snmp", "5G"}, 2, "", "'5G' is not hex"},
      {{"make-upg", "--version", "SN1", "--image-size", "4k", "x.UPG"}, 2, "", "image size 4k"},
  };
  for (const Case& c : cases) {
    std::string line;
    for (const std::string& arg : c.args) line += arg + " ";
    SCOPED_TRACE("kdtool " + line);
    Outcome run = RunKdtool(c.args);
    EXPECT_EQ(run.exit, c.exit);
    if (c.outStart.empty()) {
      EXPECT_EQ(run.out, "");
    } else {
      EXPECT_EQ(run.out.compare(0, c.outStart.size(), c.outStart), 0) << run.out;
    }
    if (c.errHas.empty()) {
      EXPECT_EQ(run.err, "");
    } else {
      EXPECT_NE(run.err.find(c.errHas), std::string::npos) << run.err;
    }
    // A mistake always shows how the command is used.
    if (c.exit == 2) {
      EXPECT_NE(run.err.find("usage: kdtool"), std::string::npos);
    }
  }
}

}  // namespace
#endif
