// kdtool's feed commands through their table, over the installed sample MediaP1.ini and
// PaperSet.ini, and the sample data's own consistency.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "feed/media_table.h"
#include "feed/paper_setting_data.h"
#include "shell/settings_reader.h"
#include "tests/support/fake_platform.h"
#include "tools/kdtool/commands.h"

namespace {

constexpr char FOLDER[] = "Settings";

std::string SampleFile(const std::string& name) {
  std::ifstream in(std::string(KD_SOURCE_DIR) + "/install/Settings/" + name, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

class KdtoolFeed : public ::testing::Test {
 public:
  KdtoolFeed() {
    for (const char* name : {"MediaP1.ini", "PaperSet.ini"}) {
      files.Put(shell::JoinPath(FOLDER, name), SampleFile(name));
    }
  }

  std::string Run(const std::string& name, std::vector<std::string> args, int* exit = nullptr) {
    std::ostringstream out, err;
    kdtool::Context context{files, FOLDER, std::move(args), out, err};
    for (int i = 0; i < kdtool::FEED_COMMAND_COUNT; ++i) {
      if (name != kdtool::FEED_COMMANDS[i].name) continue;
      int status = kdtool::FEED_COMMANDS[i].run(context);
      if (exit) *exit = status;
      return status == kdtool::EXIT_USAGE ? "usage" : out.str();
    }
    ADD_FAILURE() << "no command " << name;
    return "";
  }

  fakes::FakeFiles files;
};

TEST_F(KdtoolFeed, CommandsOverTheSampleData) {
  const std::string query = "45 58 12 00 01 00 00 00 1F 02 10 15 02 00 B2 CF EC 09 26 43 60 7D";
  struct Case {
    const char* command;
    std::vector<std::string> args;
    std::string out;
  } cases[] = {
      {"media-table", {}, "loaded 13\n"},
      {"media-table", {"x"}, "usage"},
      {"media-rows", {"4", "0"}, "13:2\n"},
      {"media-rows", {"4", "2"}, "22:2\n"},
      {"media-rows", {"2", "1"}, "11:0\n"},
      {"media-rows", {"2", "0"}, "\n"},
      {"media-rows", {"2"}, "usage"},
      {"media-rows", {"2", "one"}, "usage"},
      {"selector", {"16", "2", "0", "5", "0"}, "16,21 02 10 15 02 00 B2 CF EC 09 26 43 60 7D\n"},
      {"selector", {"16", "0", "0", "5", "0"}, "none\n"},  // sheets only
      {"selector", {"16", "3", "0", "0", "0"}, "none\n"},
      {"selector", {"16", "2", "0", "5"}, "usage"},
      {"ex-query", {"16", "2", "0", "5", "0"}, query + "\n"},
      {"ex-query", {"99", "2", "0", "5", "0"}, "none\n"},
      {"ex-write",
       {"16", "2", "0", "5", "0", "-5", "80"},
       "1B 40 1B 28 52 08 00 00 52 45 4D 4F 54 45 31 45 58 13 00 00 00 00 00 1F 02 10 15 02 00 B2 "
       "CF EC 09 26 43 60 7D 7B 4C 44 00 00 1B 00 00 00\n"},
      {"ex-write", {"16", "2", "0", "5", "0", "-5"}, "usage"},
      {"ex-write", {"16", "2", "0", "5", "0", "5x", "80"}, "usage"},
      {"value-text", {"8A80", "0"}, "10\n"},
      {"value-text", {"8A80", "1"}, "138\n"},
      {"value-text", {"", "0"}, "0\n"},
      {"value-text", {"8A80"}, "usage"},
      {"ink-class", {"41 0D 0A 0F 00 0F 0D 03 01 00 50 02 00 50 03 00 50 04 00 50"}, "1\n"},
      {"ink-class", {"03 00 01 01 04"}, "2\n"},
      {"ink-class", {"41 0D 0A 10 00 0F 0D 03 01 00 50 02 00 50 03 00 50 04 00 50"}, "1\n"},
      {"ink-class", {"0X"}, "usage"},
  };
  for (const Case& c : cases) {
    std::string shown = c.command;
    for (const std::string& a : c.args) shown += " [" + a + "]";
    SCOPED_TRACE(shown);
    EXPECT_EQ(Run(c.command, c.args), c.out);
  }
}

TEST_F(KdtoolFeed, TableThatDoesNotLoad) {
  files.Put(shell::JoinPath(FOLDER, "MediaP1.ini"),
            "MEDIAP1_NUM=2\nMEDIAP1_001=1,2,0,0,0,0,0,0,0,0\n");
  int exit = 0;
  EXPECT_EQ(Run("media-table", {}), "not-loaded\n");
  EXPECT_EQ(Run("media-rows", {"1", "0"}, &exit), "");
  EXPECT_EQ(exit, kdtool::EXIT_FAILED);
}

// Every selection the adjustment page can make on the sample media has its selectors.
TEST_F(KdtoolFeed, SampleMediaHaveEverySelector) {
  shell::SettingsReader settings(files, FOLDER, shell::SETTINGS_LINE_CHUNK_TREVALO);
  feed::MediaTable table(settings, feed::MEDIA_TABLE_FILE);
  ASSERT_TRUE(table.IsLoaded());
  for (int driverMediaId = 1; driverMediaId <= 12; ++driverMediaId) {
    int offered = 0;
    for (int paperFeed = 0; paperFeed <= 2; ++paperFeed) {
      for (int position = 0; position < table.RowCount(); ++position) {
        int kind = 0;
        int code = table.NextMatch(driverMediaId, paperFeed, &position, &kind);
        if (code == feed::MEDIA_NOT_FOUND) break;
        ++offered;
        for (int adjustment : {feed::ADJUST_PAPER_FEED, feed::ADJUST_PELLAN}) {
          for (int quality = 0; quality < 6; ++quality) {
            for (int valueKind : {0, 1}) {
              feed::AdjustmentSelection s;
              s.mediaCode = code;
              s.paperFeed = paperFeed;
              s.adjustmentKind = adjustment;
              s.qualityPosition = quality;
              feed::SettingSelector selector;
              EXPECT_TRUE(feed::FindSettingSelector(settings, s, valueKind, &selector))
                  << "media " << code << " feed " << paperFeed << " kind " << adjustment
                  << " position " << quality;
            }
          }
        }
      }
    }
    EXPECT_GT(offered, 0) << "driver media id " << driverMediaId;
  }
}

}  // namespace
