// The media table: which files load, and the lookups the adjustment page and sample print use.
#include "feed/media_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/settings_reader.h"
#include "tests/support/fake_platform.h"

namespace {

constexpr char FOLDER[] = "C:\\Tools\\Settings";
constexpr char FILE_NAME[] = "MediaP1.ini";

class MediaTableTest : public ::testing::Test {
 public:
  feed::MediaTable Load(const std::string& content) {
    files.Put(shell::JoinPath(FOLDER, FILE_NAME), content);
    return feed::MediaTable(settings, FILE_NAME);
  }

  fakes::FakeFiles files;
  shell::SettingsReader settings{files, FOLDER, shell::SETTINGS_LINE_CHUNK_TREVALO};
};

TEST_F(MediaTableTest, LoadsOnlyWhenEveryRowHoldsExactlyTenIntegers) {
  const std::string row1 = "MEDIAP1_001=5,12,3,0,1,3,-1,-1,-1,-1\r\n";
  struct Case {
    const char* name;
    std::string content;
    int rows;  // -1: not loaded
  } cases[] = {
      {"two rows", "MEDIAP1_NUM=2\r\n" + row1 + "MEDIAP1_002=7,20,1,1,1,2,3,-1,-1,-1\r\n", 2},
      {"second row missing", "MEDIAP1_NUM=2\r\n" + row1, -1},
      {"count zero", "MEDIAP1_NUM=0\r\n" + row1, -1},
      {"count negative", "MEDIAP1_NUM=-1\r\n" + row1, -1},
      {"count missing", row1, -1},
      {"count with blanks and a tail", "MEDIAP1_NUM= +1 rows\r\n" + row1, 1},
      {"text after the tenth value", "MEDIAP1_NUM=1\nMEDIAP1_001=5,12,0,9,0,1,2,3,4,5 note\n", 1},
      {"trailing comma", "MEDIAP1_NUM=1\nMEDIAP1_001=5,12,0,9,0,1,2,3,4,5,\n", 1},
      {"eleventh integer", "MEDIAP1_NUM=1\nMEDIAP1_001=5,12,0,9,0,1,2,3,4,5,6\n", -1},
      {"eleventh after a blank", "MEDIAP1_NUM=1\nMEDIAP1_001=5,12,0,9,0,1,2,3,4,5, 6\n", -1},
      {"blanks after commas", "MEDIAP1_NUM=1\nMEDIAP1_001=5, 12,\t0, 0, 0, 0, 0, 0, 0, 0\n", 1},
      {"blank before a comma", "MEDIAP1_NUM=1\nMEDIAP1_001=5 ,12,0,0,0,0,0,0,0,0\n", -1},
      {"leading blank", "MEDIAP1_NUM=1\nMEDIAP1_001= 5,12,0,0,0,0,0,0,0,0\n", 1},
      {"nine integers", "MEDIAP1_NUM=1\nMEDIAP1_001=5,12,0,0,0,0,0,0,0\n", -1},
      {"empty field", "MEDIAP1_NUM=1\nMEDIAP1_001=5,,0,0,0,0,0,0,0,0,0\n", -1},
      {"sign without digits", "MEDIAP1_NUM=1\nMEDIAP1_001=5,-,0,0,0,0,0,0,0,0,0\n", -1},
      {"alias row",
       "MEDIAP1_NUM=3\n" + row1 + "MEDIAP1_002=7,20,1,1,1,2,3,-1,-1,-1\n" +
           "MEDIAP1_003:MEDIAP1_001\n",
       3},
      {"alias to nothing", "MEDIAP1_NUM=2\n" + row1 + "MEDIAP1_002:MEDIAP1_009\n", -1},
      {"first line wins", "MEDIAP1_NUM=1\nMEDIAP1_001=1,2,3\n" + row1, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    feed::MediaTable table = Load(c.content);
    EXPECT_EQ(table.IsLoaded(), c.rows >= 0);
    EXPECT_EQ(table.RowCount(), c.rows >= 0 ? c.rows : 0);
  }
}

TEST_F(MediaTableTest, MissingFileDoesNotLoad) {
  feed::MediaTable table(settings, "Other.ini");
  EXPECT_FALSE(table.IsLoaded());
  int codes[6] = {-1, -1, -1, -1, -1, -1};
  EXPECT_EQ(table.QualityCodes(12, codes, 6), feed::MEDIA_NOT_FOUND);
  EXPECT_EQ(table.DriverMediaId(12), feed::MEDIA_NOT_FOUND);
}

TEST_F(MediaTableTest, RowNumbersFromAThousandHaveFourDigits) {
  std::string content = "MEDIAP1_NUM=1000\n";
  for (int n = 1; n <= 1000; ++n) {
    char line[64];
    std::snprintf(line, sizeof line, "MEDIAP1_%03d=1,%d,0,0,0,-1,-1,-1,-1,-1\n", n, n);
    content += line;
  }
  feed::MediaTable table = Load(content);
  EXPECT_TRUE(table.IsLoaded());
  EXPECT_EQ(table.DriverMediaId(1000), 1);
}

TEST_F(MediaTableTest, LookupsByMediaCodeUseTheFirstRow) {
  feed::MediaTable table = Load(
      "MEDIAP1_NUM=3\n"
      "MEDIAP1_001=5,12,3,0,1,3,-1,-1,-1,-1\n"
      "MEDIAP1_002=7,20,1,9,0,1,2,3,4,5\n"
      "MEDIAP1_003=8,12,0,2,8,8,8,8,8,8\n");
  ASSERT_TRUE(table.IsLoaded());
  EXPECT_EQ(table.DriverMediaId(12), 5);
  EXPECT_EQ(table.MediaKind(12), 0);
  EXPECT_EQ(table.MediaKind(20), 9);
  EXPECT_EQ(table.DriverMediaId(99), feed::MEDIA_NOT_FOUND);
  EXPECT_EQ(table.MediaKind(99), feed::MEDIA_NOT_FOUND);

  int32_t codes[6] = {-1, -1, -1, -1, -1, -1};
  EXPECT_EQ(table.QualityCodes(20, codes, 6), 20);
  EXPECT_EQ(std::vector<int32_t>(codes, codes + 6), (std::vector<int32_t>{0, 1, 2, 3, 4, 5}));
  int32_t untouched[6] = {-1, -1, -1, -1, -1, -1};
  EXPECT_EQ(table.QualityCodes(99, untouched, 6), feed::MEDIA_NOT_FOUND);
  EXPECT_EQ(std::vector<int32_t>(untouched, untouched + 6), std::vector<int32_t>(6, -1));
  // A caller asking for more than six never reads past the row.
  int32_t wide[8] = {-7, -7, -7, -7, -7, -7, -7, -7};
  EXPECT_EQ(table.QualityCodes(12, wide, 8), 12);
  EXPECT_EQ(wide[6], -7);
}

// Every row that matches a driver media type and paper feed value, as the page lists them.
std::string Listing(const feed::MediaTable& table, int driverMediaId, int paperFeed) {
  std::string listed;
  for (int position = 0; position < table.RowCount(); ++position) {
    int kind = -1;
    int code = table.NextMatch(driverMediaId, paperFeed, &position, &kind);
    if (code == feed::MEDIA_NOT_FOUND) break;
    listed += (listed.empty() ? "" : " ") + std::to_string(code) + ":" + std::to_string(kind);
  }
  return listed;
}

TEST_F(MediaTableTest, NextMatchOffersEachRowForItsPaperFeedClasses) {
  // One driver media type in every paper feed class, and another type between them.
  feed::MediaTable table = Load(
      "MEDIAP1_NUM=5\n"
      "MEDIAP1_001=5,10,0,0,0,-1,-1,-1,-1,-1\n"
      "MEDIAP1_002=5,11,1,1,0,-1,-1,-1,-1,-1\n"
      "MEDIAP1_003=6,30,3,0,0,-1,-1,-1,-1,-1\n"
      "MEDIAP1_004=5,12,2,2,0,-1,-1,-1,-1,-1\n"
      "MEDIAP1_005=5,13,3,3,0,-1,-1,-1,-1,-1\n");
  ASSERT_TRUE(table.IsLoaded());
  struct Case {
    int driverMediaId;
    int paperFeed;
    const char* listed;
  } cases[] = {
      {5, 0, "10:0"}, {5, 1, "11:1 13:3"}, {5, 2, "12:2 13:3"}, {5, 3, ""}, {5, -1, ""},
      {6, 1, "30:0"}, {6, 2, "30:0"},      {6, 0, ""},          {7, 2, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.driverMediaId) + " feed " + std::to_string(c.paperFeed));
    EXPECT_EQ(Listing(table, c.driverMediaId, c.paperFeed), c.listed);
  }

  int position = 4;
  int kind = 77;
  EXPECT_EQ(table.NextMatch(5, 0, &position, &kind), feed::MEDIA_NOT_FOUND);
  EXPECT_EQ(position, 4);  // a miss changes nothing
  EXPECT_EQ(kind, 77);
}

}  // namespace
