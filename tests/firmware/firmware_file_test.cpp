// The firmware file rules: layout, checksums, the order of the checks and the reading of the file.
#include "firmware/firmware_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "firmware/firmware_update.h"
#include "tests/support/fake_platform.h"

namespace {

using firmware::CheckFirmwareBytes;
using firmware::CheckFirmwareFile;

constexpr char FILE_PATH[] = "C:\\Firmware\\FW.UPG";
constexpr size_t MINIMAL_SIZE = 393256;

void PutBigEndian(std::string& f, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) f[at + i] = static_cast<char>(v >> (24 - 8 * i));
}

void PutLittleEndian(std::string& f, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) f[at + i] = static_cast<char>(v >> (8 * i));
}

// The sum as the format defines it, computed apart from the code under test.
uint32_t Sum(const std::string& f, size_t from, size_t to) {
  uint64_t sum = 0;
  for (size_t i = from; i < to; ++i) sum += static_cast<uint8_t>(f[i]);
  return static_cast<uint32_t>(sum & 0xFFFFFFFFu);
}

// Makes every length and checksum field agree with the content again.
void Reseal(std::string& f) {
  PutLittleEndian(f, 0x60010, static_cast<uint32_t>(f.size() - 0x60028));
  PutLittleEndian(f, 0x60014, Sum(f, 0x60028, f.size()));
  PutBigEndian(f, 0, static_cast<uint32_t>(f.size() - 8));
  PutBigEndian(f, 4, Sum(f, 8, f.size()));
}

// A file built by hand: all headers, an empty image, version SN012345.
std::string MinimalFile() {
  std::string f(MINIMAL_SIZE, '\0');
  const uint8_t outer[] = {0x00, 0x06, 0x00, 0x20,   // 393,248 = size - 8
                           0x00, 0x00, 0x09, 0xC8};  // 8 x 0xFF + "SN012345" = 2,504
  std::memcpy(&f[0], outer, sizeof outer);
  std::memset(&f[0x20008], 0xFF, 8);
  std::memcpy(&f[0x60018], "SN012345", 8);
  return f;
}

std::string FileWithImage(size_t imageSize, const char* version = "SN012345") {
  std::string f = MinimalFile();
  f.resize(MINIMAL_SIZE + imageSize);
  for (size_t i = 0; i < imageSize; ++i) f[MINIMAL_SIZE + i] = static_cast<char>(i * 31 + 5);
  std::memset(&f[0x60018], 0, 8);
  std::memcpy(&f[0x60018], version, strnlen(version, 8));
  Reseal(f);
  return f;
}

int Check(const std::string& f, std::string* version) {
  return CheckFirmwareBytes(reinterpret_cast<const uint8_t*>(f.data()), f.size(), version);
}

// Files whose size and read can be made to lie, counting the reads.
class ScriptedFiles : public fakes::FakeFiles {
 public:
  bool Size(const std::string& path, uint64_t* size) override {
    if (reportedSize) {
      *size = *reportedSize;
      return true;
    }
    return FakeFiles::Size(path, size);
  }
  int64_t ReadExclusive(const std::string& path, uint8_t* buffer, uint64_t size) override {
    ++reads;
    int64_t n = FakeFiles::ReadExclusive(path, buffer, size);
    return n > 0 && shortBy > 0 ? n - shortBy : n;
  }
  const uint64_t* reportedSize = nullptr;
  int64_t shortBy = 0;
  int reads = 0;
};

TEST(FirmwareFileTest, HandBuiltMinimalFileIsAccepted) {
  fakes::FakeFiles files;
  files.Put(FILE_PATH, MinimalFile());
  std::string version = "stale";
  EXPECT_EQ(CheckFirmwareFile(files, FILE_PATH, &version), firmware::FW_FILE_OK);
  EXPECT_EQ(version, "SN012345");

  std::vector<uint8_t> made = firmware::MakeFirmwareFile("SN012345", 0);
  EXPECT_EQ(std::string(made.begin(), made.end()), MinimalFile());
}

TEST(FirmwareFileTest, FileOneByteTooShortIsNotFirmwareAndNotOpened) {
  ScriptedFiles files;
  std::string f = MinimalFile();
  f.pop_back();
  files.Put(FILE_PATH, f);
  files.unreadable.insert(FILE_PATH);  // opening it would give -1
  std::string version = "stale";
  EXPECT_EQ(CheckFirmwareFile(files, FILE_PATH, &version), firmware::FW_FILE_NOT_FIRMWARE);
  EXPECT_EQ(version, "");
  EXPECT_EQ(files.reads, 0);
}

TEST(FirmwareFileTest, FirstFailingCheckDecidesTheResult) {
  struct Case {
    const char* name;
    void (*spoil)(std::string&);
    int expected;
  } cases[] = {
      {"outer length", [](std::string& f) { f[3] ^= 1; }, firmware::FW_FILE_DAMAGED},
      {"outer checksum", [](std::string& f) { f[7] ^= 1; }, firmware::FW_FILE_DAMAGED},
      {"byte in the unexamined region", [](std::string& f) { f[0x100] ^= 1; },
       firmware::FW_FILE_DAMAGED},
      {"marker",
       [](std::string& f) {
         f[0x2000F] = 0x7F;
         Reseal(f);
       },
       firmware::FW_FILE_NOT_FIRMWARE},
      {"image length",
       [](std::string& f) {
         Reseal(f);
         PutLittleEndian(f, 0x60010, 99);
         PutBigEndian(f, 4, Sum(f, 8, f.size()));
       },
       firmware::FW_FILE_DAMAGED},
      {"image checksum",
       [](std::string& f) {
         PutLittleEndian(f, 0x60014, Sum(f, 0x60028, f.size()) + 1);
         PutBigEndian(f, 4, Sum(f, 8, f.size()));
       },
       firmware::FW_FILE_DAMAGED},
      {"version tag SX",
       [](std::string& f) {
         f[0x60019] = 'X';
         Reseal(f);
       },
       firmware::FW_FILE_BAD_VERSION_TAG},
      {"outer checksum and marker",
       [](std::string& f) {
         f[0x20008] = 0;
         PutBigEndian(f, 4, Sum(f, 8, f.size()) + 5);
       },
       firmware::FW_FILE_DAMAGED},
      {"marker and image length",
       [](std::string& f) {
         f[0x20008] = 0;
         PutLittleEndian(f, 0x60010, 1);
         PutBigEndian(f, 4, Sum(f, 8, f.size()));
       },
       firmware::FW_FILE_NOT_FIRMWARE},
      {"image checksum and version tag",
       [](std::string& f) {
         f[0x60018] = 'X';
         PutLittleEndian(f, 0x60014, 0);
         PutBigEndian(f, 4, Sum(f, 8, f.size()));
       },
       firmware::FW_FILE_DAMAGED},
      {"truncated after sealing", [](std::string& f) { f.pop_back(); }, firmware::FW_FILE_DAMAGED},
      {"byte appended after sealing", [](std::string& f) { f.push_back('\x01'); },
       firmware::FW_FILE_DAMAGED},
      {"image byte changed", [](std::string& f) { f[f.size() - 1] ^= 0x10; },
       firmware::FW_FILE_DAMAGED},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string f = FileWithImage(1000);
    c.spoil(f);
    std::string version = "stale";
    EXPECT_EQ(Check(f, &version), c.expected);
    EXPECT_EQ(version, "");
  }
}

TEST(FirmwareFileTest, VersionTextAsStored) {
  struct Case {
    const char* field;  // 8 bytes
    const char* expected;
  } cases[] = {
      {"sn01abcd", "sn01abcd"},                            // either case, shown as stored
      {"sN012345", "sN012345"}, {"SN12\0\0\0\0", "SN12"},  // padded with NUL
      {"SN12\0XYZ", "SN12"},                               // a NUL inside cuts it short
      {"SN\0\0\0\0\0\0", "SN"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    std::string f = MinimalFile();
    std::memcpy(&f[0x60018], c.field, 8);
    Reseal(f);
    std::string version;
    EXPECT_EQ(Check(f, &version), firmware::FW_FILE_OK);
    EXPECT_EQ(version, c.expected);
  }
}

TEST(FirmwareFileTest, VersionOfEightCharactersEndsAtTheField) {
  std::string f = MinimalFile();
  std::memcpy(&f[0x60018], "SN123456", 8);
  std::memcpy(&f[0x60020], "TRAILING", 8);  // not part of the version
  Reseal(f);
  std::string version;
  EXPECT_EQ(Check(f, &version), firmware::FW_FILE_OK);
  EXPECT_EQ(version, "SN123456");
}

TEST(FirmwareFileTest, ChecksumsWrapAroundAtThirtyTwoBits) {
  // 16,843,010 bytes of 0xFF sum to 4,294,967,550, which is 254 modulo 2^32.
  constexpr size_t imageSize = 16843010;
  std::string f(0x60028 + imageSize, '\xFF');
  std::memcpy(&f[0x60018], "SN777777", 8);
  std::memset(&f[0x60020], 0, 8);
  Reseal(f);
  uint64_t trueSum = 0;
  for (size_t i = 0x60028; i < f.size(); ++i) trueSum += static_cast<uint8_t>(f[i]);
  ASSERT_GT(trueSum, 0xFFFFFFFFull);
  EXPECT_EQ(Sum(f, 0x60028, f.size()), 254u);

  std::string version;
  EXPECT_EQ(Check(f, &version), firmware::FW_FILE_OK);
  EXPECT_EQ(version, "SN777777");

  PutLittleEndian(f, 0x60014, 255);  // one more than the wrapped sum
  PutBigEndian(f, 4, Sum(f, 8, f.size()));
  EXPECT_EQ(Check(f, &version), firmware::FW_FILE_DAMAGED);
}

// The sums run 64 or 8 bytes at a time and the word sum folds its lanes every 2,048 bytes:
// lengths around those sizes, from every alignment, with bytes that fill its lanes to the top, must
// give the plain sum.
TEST(FirmwareFileTest, ByteSumEqualsThePlainSumAtAnyLengthAndAlignment) {
  const size_t lengths[] = {0,   1,   7,    8,    9,    15,   16,   17,   63,   64,   65,   71,
                            127, 128, 2047, 2048, 2049, 4095, 4096, 4103, 6151, 8192, 8199, 65543};
  struct Content {
    const char* name;
    uint8_t (*byte)(size_t);
  };
  const Content contents[] = {
      {"all 0xFF", [](size_t) -> uint8_t { return 0xFF; }},
      {"pattern", [](size_t i) { return static_cast<uint8_t>(i * 31 + (i >> 9) * 7 + 5); }},
      {"high odd bytes", [](size_t i) -> uint8_t { return i % 2 ? 0xFF : 0x01; }},
  };
  for (const Content& content : contents) {
    std::string bytes(65543 + 8, '\0');
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(content.byte(i));
    for (size_t length : lengths) {
      for (size_t offset = 0; offset < 8; ++offset) {
        SCOPED_TRACE(std::string(content.name) + ", length " + std::to_string(length) +
                     ", offset " + std::to_string(offset));
        const uint8_t* data = reinterpret_cast<const uint8_t*>(bytes.data()) + offset;
        uint32_t expected = Sum(bytes, offset, offset + length);
        EXPECT_EQ(firmware::ByteSum(data, length), expected);
        EXPECT_EQ(firmware::ByteSumByWords(data, length), expected);
      }
    }
  }
}

TEST(FirmwareFileTest, FilesThatCannotBeReadWholeAreUnreadable) {
  std::string version;
  {
    SCOPED_TRACE("missing");
    fakes::FakeFiles files;
    EXPECT_EQ(CheckFirmwareFile(files, FILE_PATH, &version), firmware::FW_FILE_UNREADABLE);
  }
  {
    SCOPED_TRACE("locked by another program");
    fakes::FakeFiles files;
    files.Put(FILE_PATH, FileWithImage(10));
    files.unreadable.insert(FILE_PATH);
    EXPECT_EQ(CheckFirmwareFile(files, FILE_PATH, &version), firmware::FW_FILE_UNREADABLE);
  }
  {
    SCOPED_TRACE("fewer bytes read than the size");
    ScriptedFiles files;
    files.Put(FILE_PATH, FileWithImage(10));
    files.shortBy = 1;
    EXPECT_EQ(CheckFirmwareFile(files, FILE_PATH, &version), firmware::FW_FILE_UNREADABLE);
    EXPECT_EQ(files.reads, 1);
  }
  EXPECT_EQ(version, "");
}

TEST(FirmwareFileTest, SizeThatCannotBeHeldWithTheTransferBytesIsRefusedUnread) {
  const uint64_t sizes[] = {
      std::numeric_limits<uint64_t>::max(),
      static_cast<uint64_t>(std::numeric_limits<size_t>::max()),
      static_cast<uint64_t>(std::numeric_limits<size_t>::max()) - firmware::FW_TRANSFER_EXTRA + 1,
      static_cast<uint64_t>(std::numeric_limits<int64_t>::max()),
  };
  for (uint64_t size : sizes) {
    SCOPED_TRACE(size);
    ScriptedFiles files;
    files.Put(FILE_PATH, MinimalFile());
    files.reportedSize = &size;
    std::string version;
    EXPECT_EQ(CheckFirmwareFile(files, FILE_PATH, &version), firmware::FW_FILE_UNREADABLE);
    EXPECT_EQ(files.reads, 0);
    EXPECT_FALSE(firmware::FitsInMemory(size));
  }
  EXPECT_TRUE(firmware::FitsInMemory(64u << 20));
}

// On the 32-bit build a size past 4 GiB, cut to size_t, would look like a small file (or, with
// the transfer's extra bytes, a small buffer) and the one read would run past it.
TEST(FirmwareFileTest, SizesPastTheWordAreRefusedNotCutOnThe32BitBuild) {
  if (sizeof(size_t) > 4) GTEST_SKIP() << "size_t holds every file size here";
  const uint64_t word = uint64_t{1} << 32;
  const uint64_t sizes[] = {
      word,                                               // cut to 0
      word + MINIMAL_SIZE,                                // cut to a minimal file
      word - firmware::FW_TRANSFER_EXTRA + MINIMAL_SIZE,  // capacity cut to a minimal file
      word - firmware::FW_TRANSFER_EXTRA,                 // capacity cut to 0
  };
  for (uint64_t size : sizes) {
    SCOPED_TRACE(size);
    ScriptedFiles files;
    files.Put(FILE_PATH, MinimalFile());
    files.reportedSize = &size;
    std::string version;
    EXPECT_EQ(CheckFirmwareFile(files, FILE_PATH, &version), firmware::FW_FILE_UNREADABLE);
    firmware::FirmwareStream stream;
    EXPECT_EQ(stream.Build(files, FILE_PATH, ""), firmware::StreamResult::NoMemory);
    EXPECT_EQ(files.reads, 0);
  }
  // The largest size that still fits with the extra bytes.
  EXPECT_TRUE(firmware::FitsInMemory(word - 1 - firmware::FW_TRANSFER_EXTRA));
}

TEST(FirmwareFileTest, FileChangedBetweenSizeAndReadIsNotTakenForTheOldOne) {
  // The size query says one thing and the file has grown by the time it is read: only the first
  // `size` bytes are read, and they no longer agree with the length fields.
  ScriptedFiles files;
  std::string grown = FileWithImage(100);
  uint64_t oldSize = grown.size() - 40;
  files.Put(FILE_PATH, grown);
  files.reportedSize = &oldSize;
  std::string version;
  EXPECT_EQ(CheckFirmwareFile(files, FILE_PATH, &version), firmware::FW_FILE_DAMAGED);
}

}  // namespace
