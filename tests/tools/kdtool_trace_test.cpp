// kdtool trace: each call on one line, commands, status and driver items decoded; malformed
// lines shown where they stand; the usage on a wrong argument count.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/support/fake_platform.h"
#include "tools/kdtool/commands.h"

namespace {

constexpr char TRACE[] = "C:\\site.trace";

TEST(KdtoolTrace, DecodesEachCallAndShowsMalformedLines) {
  fakes::FakeFiles files;
  files.Put(TRACE,
            "# kdtrace 1\n"
            "5 KBSend handle=2 length=6 data=<564902000100> -> 6\n"
            "6 KBReceive handle=2 size=256 limit=10000 -> 24 size=24 "
            "reply=<404244432050530D0A56493A3030534E3132303331353B0C> took=12\n"
            "7 KBGetStatus handle=3 size=256 -> 37 size=37 status=<40424443205354320D0A19000101"
            "040201000F0D030100500200500300500400500D020028>\n"
            "8 KBGetStatus handle=3 size=256 -> 6 size=6 status=<4042>\n"
            "x KBRelease -> 0\n"
            "9 KDDM_SetData handle=4 item=219 block=<0100000014000000> -> 0\n");
  struct Case {
    std::vector<std::string> args;
    int exit;
    std::vector<std::string> lines;  // each a part of one output line, in order
  } cases[] = {
      {{TRACE},
       1,
       {"2: +5 ms KBSend send on channel 2: \"VI\" version query -> 6",
        "3: +6 ms KBReceive receive on channel 2 within 10000 ms -> 24: reply \"@BDC "
        "PS\\x0D\\x0AVI:00SN120315;\\x0C\"",
        "4: +7 ms KBGetStatus status of channel 3 -> 37: status ready=1 ink-low=0 0d-low=0",
        "5: +8 ms KBGetStatus status of channel 3 -> 6: status unreadable",
        "6: malformed: the line does not start with its time",
        "7: +9 ms KDDM_SetData set item 219 (paper feed data) on handle 4 [01 00 00 00 14"}},
      {{}, 2, {}},
      {{TRACE, "more"}, 2, {}},
      {{"C:\\none.trace"}, 1, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.empty() ? "no argument" : c.args.back());
    std::ostringstream out, err;
    kdtool::Context context{files, "Settings", c.args, out, err};
    EXPECT_EQ(kdtool::TRACE_COMMANDS[0].run(context), c.exit);
    std::istringstream shown(out.str());
    std::string line;
    for (const std::string& expected : c.lines) {
      ASSERT_TRUE(std::getline(shown, line)) << expected;
      EXPECT_EQ(line.compare(0, expected.size(), expected), 0) << line;
    }
    if (c.exit == 2) {
      EXPECT_EQ(err.str(), "usage: kdtool trace FILE\n");
    }
  }
}

}  // namespace
