// Byte rules over Shift-JIS: texts and paths whose trail bytes are "\", "[" and "]".
#include <gtest/gtest.h>

#include "feed/paper_feed_detail.h"
#include "firmware/firmware_page.h"
#include "programs/kestrune/kestrune_tables.h"
#include "shell/multibyte.h"
#include "shell/tool_app.h"
#include "tests/support/test_app.h"

namespace {

// Code page 932: 表 95 5C, ソ 83 5C, 能 94 5C, ー 81 5B, ゼ 83 5B, ゾ 83 5D.
#define HYO "\x95\x5c"
#define SO "\x83\x5c"
#define NOU "\x94\x5c"
#define CHOON "\x81\x5b"
#define ZE "\x83\x5b"
#define ZO "\x83\x5d"
#define KA "\xe0\x31"
#define NI "\xf1\x33"

struct TextCase {
  unsigned codePage;
  std::string localized;  // value of text 400 in Localize.ini
  std::string shown;
};

TEST(DoubleByte, TextLookupReplacesOnlyARealBackslashN) {
  const TextCase cases[] = {
      {932, HYO "n", HYO "n"},
      {932, SO "n" NOU "n", SO "n" NOU "n"},
      {932, HYO "\\n" SO, HYO "\n" SO},
      {932, CHOON "\\n" ZO "n", CHOON "\n" ZO "n"},
      {932, "Title\\nline", "Title\nline"},
      {932, HYO "\\", HYO "\\"},
      {932, "ab\\n\x95", "ab\n"},  // half a character at the end goes
      {1252, HYO "n", "\x95\n"},   // in a single-byte code page 5C is a backslash
      {1252, "ab\x95", "ab\x95"},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.localized);
    fakes::FakeFiles files;
    fakes::FakeCodePage codePage(c.codePage);
    shell::SettingsReader reader(files, "C:\\S", shell::SETTINGS_LINE_CHUNK, codePage);
    files.Put("C:\\S\\Localize.ini", "00000400=" + c.localized + "\r\n");
    EXPECT_EQ(shell::Texts(reader, shell::TextKeyStyle::Zeros00).GetText(400), c.shown);
  }
}

struct PathCase {
  unsigned codePage;
  std::string folder;  // of the program
  std::string instance;
};

TEST(DoubleByte, PathsSplitAtTheirLastRealBackslash) {
  const PathCase cases[] = {
      {932, "C:\\" HYO, "C:" HYO},
      {932, "C:\\" SO "\\" HYO "n", "C:" SO HYO "n"},
      {932, "D:\\" NOU ZE ZO, "D:" NOU ZE ZO},
      {1252, "C:\\Tools\\Maint", "C:ToolsMaint"},
  };
  for (const PathCase& c : cases) {
    SCOPED_TRACE(c.folder);
    fakes::TestPlatform fake{};
    shell::PlatformSet set = fakes::MakeFakePlatform(&fake);
    fake.codePage->number = c.codePage;
    fake.files->programPath = c.folder + "\\Kestrune.exe";
    fake.files->Put(c.folder + "\\Settings\\Localize.ini", "00000400=found\n");
    shell::ToolApp app(programs::KestruneProfile(), std::move(set));
    EXPECT_EQ(app.ProgramDirectory(), c.folder);
    EXPECT_EQ(app.InstanceName(), c.instance);
    EXPECT_EQ(app.GetText(400), "found");
    EXPECT_EQ(shell::FileNameOf(*fake.codePage, c.folder + "\\A.UPG"), "A.UPG");
    EXPECT_EQ(firmware::RememberedFolder(c.folder + "\\A.UPG", *fake.codePage), c.folder);
  }
}

struct ChunkCase {
  const char* name;
  std::string content;
  size_t chunk;
  std::string key;
  std::string value;
};

TEST(DoubleByte, LongLinesAreCutBetweenCharacters) {
  fakes::FakeCodePage sjis(932);
  std::string pad(252, 'x');
  std::string thousand;
  for (int i = 0; i < 500; ++i) thousand += HYO;
  const ChunkCase cases[] = {
      {"lead byte last in the buffer", "K=" + pad + HYO "tail\n", 256, "K", pad},
      {"character that fits", "K=" + pad.substr(1) + HYO "tail\n", 256, "K", pad.substr(1) + HYO},
      {"trail byte 5C starts no line", "K=" + pad + SO "=x\n", 256, "\\", ""},
      {"trail byte 5B starts no line", "K=" + pad + ZE "=x\n", 256, "[", ""},
      {"trail byte 5D starts no line", "K=" + pad + ZO "=x\n", 256, "]", ""},
      {"Trevalo's buffer", "K=" + std::string(508, 'x') + NOU "\n", 512, "K",
       std::string(508, 'x')},
      {"1,000 bytes of double-byte text", "K=" + thousand + "\n", 256, "K",
       thousand.substr(0, 252)},
      {"the same in Trevalo's buffer", "K=" + thousand + "\n", 512, "K", thousand.substr(0, 508)},
      {"keys are bytes", SO "=a\nK:" HYO "\n" HYO "=b\n", 256, "K", "b"},
  };
  for (const ChunkCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(shell::LookupSetting(c.content, c.key, c.chunk, sjis), c.value);
  }
  // Byte for byte as before without double-byte characters: the split byte is a backslash.
  EXPECT_EQ(shell::LookupSetting("K=" + pad + SO "=x\n", "\\", 256), "x");
}

struct FilterCase {
  unsigned codePage;
  std::string typed;
  std::string left;
};

TEST(DoubleByte, RangeEditsDropADoubleByteCharacterWhole) {
  const FilterCase cases[] = {
      {932, "1" HYO "2", "12"}, {932, CHOON "-5" ZO, "-5"},
      {1361, KA "5", "5"},   // Johab 伽 E0 31: its trail byte is a digit
      {1361, "-" NI, "-"},   // Johab 二 F1 33
      {1252, KA "5", "15"},  // à, 1, 5
  };
  for (const FilterCase& c : cases) {
    SCOPED_TRACE(c.typed);
    fakes::FakeCodePage codePage(c.codePage);
    EXPECT_EQ(feed::FilterRangeText(c.typed, -25, 25, codePage), c.left);
  }
}

}  // namespace
