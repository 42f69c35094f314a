// Byte rules over Shift-JIS (code page 932), whose trail bytes include "\", "[" and "]".
#include <gtest/gtest.h>

#include "feed/paper_feed_detail.h"
#include "firmware/firmware_page.h"
#include "programs/kestrune/kestrune_tables.h"
#include "shell/multibyte.h"
#include "shell/tool_app.h"
#include "tests/support/test_app.h"

namespace {

// 表 95 5C, ソ 83 5C, 能 94 5C, ー 81 5B, ゼ 83 5B, ゾ 83 5D; Johab (1361) 伽 E0 31, 二 F1 33.
#define HYO "\x95\x5c"
#define SO "\x83\x5c"
#define NOU "\x94\x5c"
#define CHOON "\x81\x5b"
#define ZE "\x83\x5b"
#define ZO "\x83\x5d"
#define KA "\xe0\x31"
#define NI "\xf1\x33"

struct Row {
  unsigned number;  // code page, or line buffer size for code page 932
  std::string in;
  std::string out;
  const char* key = "K";
};

TEST(DoubleByte, TextLookupReplacesOnlyARealBackslashN) {
  const Row rows[] = {
      {932, HYO "n", HYO "n"},          {932, SO "n" NOU "n", SO "n" NOU "n"},
      {932, HYO "\\n" SO, HYO "\n" SO}, {932, CHOON "\\n" ZO "n", CHOON "\n" ZO "n"},
      {932, HYO "\\", HYO "\\"},        {932, "ab\\n\x95", "ab\n"},  // half a character goes
      {1252, HYO "n", "\x95\n"},        {1252, "ab\x95", "ab\x95"},  // 5C is "\" in 1252
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.in);
    fakes::FakeFiles files;
    fakes::FakeCodePage codePage(r.number);
    shell::SettingsReader reader(files, "C:\\S", shell::SETTINGS_LINE_CHUNK, codePage);
    files.Put("C:\\S\\Localize.ini", "00000400=" + r.in + "\r\n");
    EXPECT_EQ(shell::Texts(reader, shell::TextKeyStyle::Zeros00).GetText(400), r.out);
  }
}

// The program folder, its settings, the lock name, and a chosen file's name and folder.
TEST(DoubleByte, PathsSplitAtTheirLastRealBackslash) {
  const Row rows[] = {
      {932, "C:\\" HYO, "C:" HYO},
      {932, "C:\\" SO "\\" HYO "n", "C:" SO HYO "n"},
      {932, "D:\\" NOU ZE ZO, "D:" NOU ZE ZO},
      {1252, "C:\\Tools\\Maint", "C:ToolsMaint"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.in);
    fakes::TestPlatform fake{};
    shell::PlatformSet set = fakes::MakeFakePlatform(&fake);
    fake.codePage->number = r.number;
    fake.files->programPath = r.in + "\\Kestrune.exe";
    fake.files->Put(r.in + "\\Settings\\Localize.ini", "00000400=found\n");
    shell::ToolApp app(programs::KestruneProfile(), std::move(set));
    EXPECT_EQ(app.ProgramDirectory(), r.in);
    EXPECT_EQ(app.InstanceName(), r.out);
    EXPECT_EQ(app.GetText(400), "found");
    EXPECT_EQ(shell::FileNameOf(*fake.codePage, r.in + "\\A.UPG"), "A.UPG");
    EXPECT_EQ(firmware::RememberedFolder(r.in + "\\A.UPG", *fake.codePage), r.in);
  }
}

TEST(DoubleByte, LongLinesAreCutBetweenCharacters) {
  std::string x252(252, 'x'), x508(508, 'x'), thousand;
  for (int i = 0; i < 500; ++i) thousand += HYO;
  const Row rows[] = {
      {256, "K=" + x252 + HYO "tail\n", x252},  // the lead byte would be the buffer's last
      {256, "K=" + x252.substr(1) + HYO "\n", x252.substr(1) + HYO},
      {512, "K=" + x508 + NOU "\n", x508},
      {256, "K=" + thousand + "\n", thousand.substr(0, 252)},
      {512, "K=" + thousand + "\n", thousand.substr(0, 508)},
      // The next buffer starts with the whole character, not with a trail byte read as a key.
      {256, "K=" + x252 + SO "=x\n", "", "\\"},
      {256, "K=" + x252 + ZE "=x\n", "", "["},
      {256, "K=" + x252 + ZO "=x\n", "", "]"},
      {256, SO "=a\nK:" HYO "\n" HYO "=b\n", "b"},  // keys are compared byte for byte
  };
  fakes::FakeCodePage sjis(932);
  for (const Row& r : rows) {
    SCOPED_TRACE(r.in.substr(0, 40));
    EXPECT_EQ(shell::LookupSetting(r.in, r.key, r.number, sjis), r.out);
  }
  // Without double-byte characters the byte is a backslash, as before.
  EXPECT_EQ(shell::LookupSetting("K=" + x252 + SO "=x\n", "\\", 256), "x");
}

TEST(DoubleByte, RangeEditsDropADoubleByteCharacterWhole) {
  const Row rows[] = {
      {932, "1" HYO "2", "12"}, {932, CHOON "-5" ZO, "-5"}, {1361, KA "5", "5"},
      {1361, "-" NI, "-"},      {1252, KA "5", "15"},  // à, 1, 5
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.in);
    EXPECT_EQ(feed::FilterRangeText(r.in, -25, 25, fakes::FakeCodePage(r.number)), r.out);
  }
}

}  // namespace
