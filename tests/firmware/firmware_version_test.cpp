// Version keys, the verdict of a comparison and the reading of the printer's "VI" reply.
#include "firmware/firmware_version.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using firmware::CompareVersions;
using firmware::ParseVersionReply;
using firmware::VersionKey;

TEST(FirmwareVersionTest, KeyTakesCharactersSixSevenFourFive) {
  struct Case {
    const char* text;
    uint32_t key;
  } cases[] = {
      {"SN012345", 0x3412},
      {"SN0abcde", 0xCDAB},  // either case of hexadecimal digit
      {"SN01234", 0x3412},   // seven characters are enough
      {"SN0123", 0x3},       // no seventh character: the number ends there
      {"SN012", 0},          // shorter than six characters
      {"", 0},
      {"SN0G2345", 0x34},   // stops at the first character that is no digit
      {"SN012Z45", 0},      // the key begins with one
      {"SN01 345", 0x341},  // a blank is no digit either
      {"SN0+2345", 0x34},
      {"SN0120x5", 0},  // "0x12": no prefix is read
      {"SN012 45", 0},  // no leading blank is skipped
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(VersionKey(c.text), c.key);
  }
}

TEST(FirmwareVersionTest, VerdictByKeys) {
  struct Case {
    const char* printer;
    const char* file;
    int verdict;
  } cases[] = {
      {"", "SN012345", firmware::VERDICT_NONE},
      {"SN012345", "", firmware::VERDICT_NONE},
      {"SN012345", "SN012346", firmware::VERDICT_SAME},        // character 8 is not compared
      {"SN012345", "xx912349", firmware::VERDICT_SAME},        // nor are 1 to 3
      {"SN012345", "SN022345", firmware::VERDICT_FILE_NEWER},  // character 4: low byte of the key
      {"SN012345", "SN012445", firmware::VERDICT_FILE_NEWER},  // character 6 weighs most
      {"SN092345", "SN012445", firmware::VERDICT_FILE_NEWER},
      {"SN012445", "SN092345", firmware::VERDICT_FILE_OLDER},
      {"SN0123Z5", "SN012345", firmware::VERDICT_FILE_NEWER},  // "3Z.." reads as 3
      {"1.0", "2.0", firmware::VERDICT_SAME},                  // both too short: both 0
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.printer) + " / " + c.file);
    EXPECT_EQ(CompareVersions(c.printer, c.file), c.verdict);
  }
}

std::string Parse(const std::string& reply) {
  return ParseVersionReply(reinterpret_cast<const uint8_t*>(reply.data()), reply.size());
}

TEST(FirmwareVersionTest, ReplyParsing) {
  struct Case {
    std::string reply;
    const char* version;
  } cases[] = {
      {"VI:00ABC;XYZ", "ABC"},
      {"VI:01XYZ", ""},
      {"VI:01XYZ;VI:00ABC", ""},  // cut at the first ';' before searching
      {"XX;VI:00ABC", ""},
      {"@BDC PS\r\nVI:00SN012345;\f", "SN012345"},
      {"VI:00", ""},
      {"VI:00VI:00X", "VI:00X"},  // the first occurrence
      {std::string("VI:00AB\0CD", 10), "AB"},
      {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reply);
    EXPECT_EQ(Parse(c.reply), c.version);
  }
}

TEST(FirmwareVersionTest, ReplyIsNeverReadPastItsLength) {
  // A reply that fills the whole area without a NUL or ';'.
  uint8_t area[firmware::VERSION_REPLY_SIZE + 8];
  std::memset(area, 'A', sizeof area);
  std::memcpy(area, "VI:00", 5);
  std::string version = ParseVersionReply(area, firmware::VERSION_REPLY_SIZE);
  EXPECT_EQ(version.size(), firmware::VERSION_REPLY_SIZE - 5);
  // Fewer bytes received than the area holds: the rest is not looked at.
  EXPECT_EQ(ParseVersionReply(reinterpret_cast<const uint8_t*>("VI:00ABCDEF"), 7), "AB");
  EXPECT_EQ(ParseVersionReply(reinterpret_cast<const uint8_t*>("VI:00ABCDEF"), 4), "");
}

}  // namespace
