// Remote-mode blocks, composed streams and the SNMP wrapping, byte for byte.
#include "link/command_framing.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "link/hex.h"

namespace {

using namespace printer_link;

std::vector<uint8_t> Hex(const std::string& text) {
  std::vector<uint8_t> bytes;
  EXPECT_TRUE(BytesFromHex(text, &bytes, HexBlanks::Skipped)) << text;
  return bytes;
}

std::vector<uint8_t> Bytes(const CommandStream& s) {
  return std::vector<uint8_t>(s.bytes, s.bytes + s.length);
}

const uint8_t FEED_ID[FEED_ID_LENGTH] = {0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16,
                                         0x17, 0x18, 0x19, 0x1A, 0x1B, 0x1C};
constexpr char ENTER[] = "1B 40 1B 28 52 08 00 00 52 45 4D 4F 54 45 31";
constexpr char FEED_ID_HEX[] = "10 11 12 13 14 15 16 17 18 19 1A 1B 1C";

TEST(CommandFraming, ComposedStreams) {
  struct Case {
    const char* name;
    CommandStream stream;
    std::string hex;
  };
  const Case cases[] = {
      {"nozzle check", NozzleCheckStream(),
       std::string(ENTER) + " 4E 43 02 00 00 00 56 49 02 00 00 01 1B 00 00 00 0D 0A 0C 1B 40"},
      {"deep cleaning ends with leave, no job end", DeepCleaningStream(),
       std::string(ENTER) + " 43 48 02 00 00 10 1B 00 00 00"},
      {"cleaning page", CleaningPageStream(),
       std::string(ENTER) + " 53 53 02 00 00 05 1B 00 00 00 0D 0A 0C 1B 40"},
      {"nozzle check page", NozzleCheckPageStream(),
       std::string(ENTER) + " 45 58 06 00 00 00 00 00 1E 01 1B 00 00 00"},
      {"paper feed value write", FeedValueWriteStream(FEED_ID, 0xF3),
       std::string(ENTER) + " 45 58 13 00 00 00 00 00 1F " + FEED_ID_HEX +
           " F3 4C 44 00 00 1B 00 00 00"},
      {"sample sheet, alone", SampleSheetStream(SAMPLE_SHEET_FINISH),
       "1B 7C 01 06 00 5C 21 9D 4E 08 02"},
  };
  const size_t lengths[] = {36, 25, 30, 29, 46, 11};
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    SCOPED_TRACE(cases[i].name);
    EXPECT_EQ(Bytes(cases[i].stream), Hex(cases[i].hex));
    EXPECT_EQ(cases[i].stream.length, lengths[i]);
  }
}

TEST(CommandFraming, EveryBuilderWritesAllOrNothing) {
  using Builder = std::function<size_t(uint8_t*, size_t)>;
  struct Case {
    const char* name;
    Builder build;
    std::string hex;
  };
  const Case cases[] = {
      {"enter", EnterRemoteMode, ENTER},
      {"leave", LeaveRemoteMode, "1B 00 00 00"},
      {"job end", JobEnd, "0D 0A 0C 1B 40"},
      {"NC plain", [](uint8_t* d, size_t r) { return NozzleCheck(d, r, false); },
       "4E 43 02 00 00 00"},
      {"NC flagged", [](uint8_t* d, size_t r) { return NozzleCheck(d, r, true); },
       "4E 43 02 00 00 01"},
      {"VI in job", VersionInJob, "56 49 02 00 00 01"},
      {"CH", DeepCleaning, "43 48 02 00 00 10"},
      {"SS", CleaningPage, "53 53 02 00 00 05"},
      {"EX nozzle check page", NozzleCheckPage, "45 58 06 00 00 00 00 00 1E 01"},
      {"EX feed read", [](uint8_t* d, size_t r) { return FeedValueRead(d, r, FEED_ID); },
       std::string("45 58 12 00 01 00 00 00 1F ") + FEED_ID_HEX},
      {"EX feed write", [](uint8_t* d, size_t r) { return FeedValueWrite(d, r, FEED_ID, 0x07); },
       std::string("45 58 13 00 00 00 00 00 1F ") + FEED_ID_HEX + " 07"},
      {"LD", LoadSettings, "4C 44 00 00"},
      {"VI query", VersionQuery, "56 49 02 00 01 00"},
      {"sample sheet 0", [](uint8_t* d, size_t r) { return SampleSheet(d, r, 0); },
       "1B 7C 01 06 00 5C 21 9D 4E 08 00"},
      {"sample sheet 2", [](uint8_t* d, size_t r) { return SampleSheet(d, r, 2); },
       "1B 7C 01 06 00 5C 21 9D 4E 08 02"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> expected = Hex(c.hex);
    uint8_t buffer[64];
    std::memset(buffer, 0xEE, sizeof buffer);
    EXPECT_EQ(c.build(buffer, expected.size() - 1), 0u);
    EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + sizeof buffer),
              std::vector<uint8_t>(sizeof buffer, 0xEE));
    ASSERT_EQ(c.build(buffer, expected.size()), expected.size());
    EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + expected.size()), expected);
  }
}

TEST(SnmpWrapping, VersionQueryMessage) {
  std::vector<uint8_t> message;
  ASSERT_TRUE(WrapSnmp(Hex("56 49 02 00 01 00").data(), 6, &message));
  EXPECT_EQ(message, Hex("30 36 02 01 00 04 06 6B 65 72 72 6F 77 A0 29 02 01 01 02 01 00 02 01 00"
                         " 30 1E 30 1C 06 18 2B 06 01 04 01 89 60 01 02 02 28 01 01 02"
                         " 09 08 00 06 56 49 02 00 01 00 05 00"));
  EXPECT_EQ(message.size(), 56u);
}

TEST(SnmpWrapping, HighBytesAreSplitAndGrowEveryLength) {
  std::vector<uint8_t> plain;
  ASSERT_TRUE(WrapSnmp(Hex("56 49 02 00 01 00").data(), 6, &plain));
  struct Case {
    const char* name;
    std::string command;
    std::string encodedCommand;
    int highBytes;
  };
  const Case cases[] = {
      {"FF", "56 49 02 00 01 FF", "56 49 02 00 01 81 7F", 1},
      {"80 and 9D", "80 49 02 00 9D 00", "81 00 49 02 00 81 1D 00", 2},
      {"all high", "FF FE 80 81 C0 90", "81 7F 81 7E 81 00 81 01 81 40 81 10", 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> message;
    ASSERT_TRUE(WrapSnmp(Hex(c.command).data(), 6, &message));
    ASSERT_EQ(message.size(), plain.size() + c.highBytes);
    for (size_t offset : {1, 14, 25, 27, 29}) {
      SCOPED_TRACE(offset);
      EXPECT_EQ(message[offset], plain[offset] + c.highBytes);
    }
    std::vector<uint8_t> block(message.begin() + 44, message.end() - 2);
    EXPECT_EQ(block, Hex("09 08 00 06 " + c.encodedCommand));
    EXPECT_EQ(std::vector<uint8_t>(message.end() - 2, message.end()), Hex("05 00"));
  }
}

TEST(SnmpWrapping, RefusesWhatOneByteLengthsCannotCarry) {
  struct Case {
    const char* name;
    std::vector<uint8_t> command;
    bool wraps;
  };
  const Case cases[] = {
      {"79 plain bytes: length byte 127", std::vector<uint8_t>(79, 0x41), true},
      {"80 plain bytes", std::vector<uint8_t>(80, 0x41), false},
      {"39 high bytes", std::vector<uint8_t>(39, 0xFF), true},
      {"40 high bytes", std::vector<uint8_t>(40, 0xFF), false},
      {"300 bytes", std::vector<uint8_t>(300, 0x41), false},
      {"empty command", {}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> message = {0xAA, 0xBB};
    EXPECT_EQ(WrapSnmp(c.command.data(), c.command.size(), &message), c.wraps);
    if (c.wraps) {
      EXPECT_LE(message[1], 127);
      EXPECT_EQ(message.size(), message[1] + 2u);
    } else {
      EXPECT_EQ(message, (std::vector<uint8_t>{0xAA, 0xBB}));
    }
  }
}

}  // namespace
