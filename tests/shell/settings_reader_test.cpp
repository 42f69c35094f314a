// The settings-file reader's rules.
#include "shell/settings_reader.h"

#include <gtest/gtest.h>

#include "tests/support/fake_platform.h"

namespace {

using shell::LookupSetting;
using shell::SETTINGS_LINE_CHUNK;
using shell::SETTINGS_LINE_CHUNK_TREVALO;

struct LookupCase {
  const char* name;
  std::string content;
  std::string key;
  std::string expected;
};

TEST(SettingsReader, LineRules) {
  const LookupCase cases[] = {
      {"plain value", "A=1\nB=2\n", "B", "2"},
      {"first match wins", "A=1\nA=2\n", "A", "1"},
      {"blanks belong to the value", "A= x \n", "A", " x "},
      {"blank before = does not match", "A =x\n", "A", ""},
      {"longer key does not match", "000004000=X\n", "00000400", ""},
      {"case-sensitive key", "ope=P\n", "Ope", ""},
      {"CR LF ends a line", "A=1\r\nB=2\r\n", "A", "1"},
      {"lone CR stays in the value", "A=1\r2\n", "A", "1\r2"},
      {"last line without line feed", "A=1\nB=2", "B", "2"},
      {"sections are ignored", "[S]\nA=1\n[T]\nA=2\n", "A", "1"},
      {"empty value", "A=\nA=2\n", "A", ""},
      {"alias", "00000400:00000401\n00000401=Other\n", "00000400", "Other"},
      {"alias restarts from the top", "B=early\nA:B\nB=late\n", "A", "early"},
      {"alias to a missing key", "A:Z\n", "A", ""},
      {"alias loop ends empty", "A:B\nB:A\n", "A", ""},
      {"self alias ends empty", "A:A\n", "A", ""},
      {"zero byte ends the line", std::string("A=1\0rest\nB=2\n", 13), "A", "1"},
      {"key after a zero byte is not seen", std::string("\0A=1\n", 5), "A", ""},
      {"missing key", "A=1\n", "B", ""},
      {"empty file", "", "A", ""},
  };
  for (const LookupCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(LookupSetting(c.content, c.key, SETTINGS_LINE_CHUNK), c.expected);
  }
}

TEST(SettingsReader, LongLinesAreReadInChunks) {
  // 300 bytes of value: the first 255 bytes are one line, the rest another.
  std::string tail = "B=tail";
  std::string line = "A=" + std::string(253, 'x') + tail + "\n";
  EXPECT_EQ(LookupSetting(line, "A", SETTINGS_LINE_CHUNK), std::string(253, 'x'));
  EXPECT_EQ(LookupSetting(line, "B", SETTINGS_LINE_CHUNK), "tail");
  // Trevalo's 512-byte buffer holds the whole line.
  EXPECT_EQ(LookupSetting(line, "A", SETTINGS_LINE_CHUNK_TREVALO), std::string(253, 'x') + tail);
  EXPECT_EQ(LookupSetting(line, "B", SETTINGS_LINE_CHUNK_TREVALO), "");
}

TEST(SettingsReader, EveryByteValueIsSafe) {
  std::string content;
  for (int i = 0; i < 256; ++i) content.push_back(static_cast<char>(i));
  content += "\nK=v\n";
  EXPECT_EQ(LookupSetting(content, "K", SETTINGS_LINE_CHUNK), "v");
}

TEST(SettingsReader, ReadsTheFileAnewAtEveryLookup) {
  fakes::FakeFiles files;
  shell::SettingsReader reader(files, "C:\\S", SETTINGS_LINE_CHUNK);
  EXPECT_EQ(reader.ReadSetting("a.ini", "K"), "");  // no file
  files.Put("C:\\S\\a.ini", "K=1\n");
  EXPECT_EQ(reader.ReadSetting("a.ini", "K"), "1");
  files.Put("C:\\S\\a.ini", "K=2\n");
  EXPECT_EQ(reader.ReadSetting("a.ini", "K"), "2");
  files.unreadable.insert("C:\\S\\a.ini");
  EXPECT_EQ(reader.ReadSetting("a.ini", "K"), "");
}

TEST(SettingsReader, ParseLeadingIntIsAtoi) {
  EXPECT_EQ(shell::ParseLeadingInt("2"), 2);
  EXPECT_EQ(shell::ParseLeadingInt(" 12abc"), 12);
  EXPECT_EQ(shell::ParseLeadingInt("-3"), -3);
  EXPECT_EQ(shell::ParseLeadingInt("x"), 0);
  EXPECT_EQ(shell::ParseLeadingInt(""), 0);
  EXPECT_EQ(shell::ParseLeadingInt("99999999999999"), 2147483647);
}

}  // namespace
