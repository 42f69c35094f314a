// The transfer stream: lead-in rule, update header, the file unchanged, and files that changed.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "firmware/firmware_update.h"
#include "tests/support/fake_platform.h"

namespace {

using firmware::FirmwareStream;
using firmware::StreamResult;

constexpr char FILE_PATH[] = "D:\\Updates\\FW.UPG";
const uint8_t HEADER[] = {0x1B, 0x7D, 0x01, 0x05, 0x00, 0xA4, 0x3B, 0x19, 0xE2, 0x6D};

std::string FirmwareText(const char* version, size_t imageSize) {
  std::vector<uint8_t> file = firmware::MakeFirmwareFile(version, imageSize);
  return std::string(file.begin(), file.end());
}

class ShrinkingFiles : public fakes::FakeFiles {
 public:
  int64_t ReadExclusive(const std::string& path, uint8_t* buffer, uint64_t size) override {
    ++reads;
    int64_t n = FakeFiles::ReadExclusive(path, buffer, size);
    return n > 0 ? n - shortBy : n;
  }
  bool Size(const std::string& path, uint64_t* size) override {
    if (reportedSize != 0) {
      *size = reportedSize;
      return true;
    }
    return FakeFiles::Size(path, size);
  }
  int64_t shortBy = 0;
  uint64_t reportedSize = 0;
  int reads = 0;
};

TEST(FirmwareStreamTest, LeadInUnlessTheVersionEndsInFourZeros) {
  struct Case {
    const char* version;
    bool leadIn;
  } cases[] = {
      {"SN010000", false}, {"0000", false},    {"00000", false}, {"SN010001", true},
      {"SN01000", true},   {"000", true},      {"", true},       {"SN010000 ", true},
      {"T5", true},        {"SN01000O", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.version);
    EXPECT_EQ(firmware::NeedsLeadIn(c.version), c.leadIn);
  }
}

TEST(FirmwareStreamTest, MinimalFileWithoutLeadInIsHeaderAndFile) {
  fakes::FakeFiles files;
  std::string file = FirmwareText("SN010100", 0);
  files.Put(FILE_PATH, file);
  FirmwareStream stream;
  ASSERT_EQ(stream.Build(files, FILE_PATH, "SN010000"), StreamResult::Built);
  EXPECT_FALSE(stream.HasLeadIn());
  EXPECT_EQ(stream.Length(), 393266u);
  EXPECT_EQ(stream.Capacity(), file.size() + 16394);  // always room for the lead-in
  EXPECT_EQ(std::memcmp(stream.Data(), HEADER, sizeof HEADER), 0);
  EXPECT_EQ(std::memcmp(stream.Data() + sizeof HEADER, file.data(), file.size()), 0);
  EXPECT_EQ(stream.FileVersion(), "SN010100");
}

TEST(FirmwareStreamTest, LeadInOfSixteenKilobytesComesFirst) {
  fakes::FakeFiles files;
  std::string file = FirmwareText("SN010100", 4096);
  files.Put(FILE_PATH, file);
  FirmwareStream stream;
  ASSERT_EQ(stream.Build(files, FILE_PATH, "SN010001"), StreamResult::Built);
  EXPECT_TRUE(stream.HasLeadIn());
  ASSERT_EQ(stream.Length(), 16384 + 10 + file.size());
  EXPECT_EQ(stream.Capacity(), stream.Length());
  for (size_t i = 0; i < 16384; ++i) {
    if (stream.Data()[i] != 0x11) FAIL() << "lead-in byte " << i;
  }
  EXPECT_EQ(std::memcmp(stream.Data() + 16384, HEADER, sizeof HEADER), 0);
  EXPECT_EQ(std::memcmp(stream.Data() + 16394, file.data(), file.size()), 0);
}

TEST(FirmwareStreamTest, NothingIsBuiltFromAFileThatCannotBeReadWhole) {
  std::string file = FirmwareText("SN010100", 100);
  {
    SCOPED_TRACE("missing");
    fakes::FakeFiles files;
    FirmwareStream stream;
    EXPECT_EQ(stream.Build(files, FILE_PATH, ""), StreamResult::Unreadable);
    EXPECT_EQ(stream.Length(), 0u);
  }
  {
    SCOPED_TRACE("locked");
    fakes::FakeFiles files;
    files.Put(FILE_PATH, file);
    files.unreadable.insert(FILE_PATH);
    FirmwareStream stream;
    EXPECT_EQ(stream.Build(files, FILE_PATH, ""), StreamResult::Unreadable);
  }
  {
    SCOPED_TRACE("shrunk between size and read");
    ShrinkingFiles files;
    files.Put(FILE_PATH, file);
    files.shortBy = 1;
    FirmwareStream stream;
    EXPECT_EQ(stream.Build(files, FILE_PATH, ""), StreamResult::ShortRead);
    EXPECT_EQ(stream.Length(), 0u);
    EXPECT_EQ(stream.Data(), nullptr);  // released at once
  }
  {
    SCOPED_TRACE("too large for one buffer");
    ShrinkingFiles files;
    files.Put(FILE_PATH, file);
    files.reportedSize = std::numeric_limits<uint64_t>::max() - 100;
    FirmwareStream stream;
    EXPECT_EQ(stream.Build(files, FILE_PATH, ""), StreamResult::NoMemory);
    EXPECT_EQ(files.reads, 0);
  }
}

TEST(FirmwareStreamTest, FileDamagedAfterItWasSelectedIsRejected) {
  fakes::FakeFiles files;
  std::string file = FirmwareText("SN010100", 100);
  file[file.size() - 1] ^= 0x01;  // as if rewritten by a broken copy
  files.Put(FILE_PATH, file);
  FirmwareStream stream;
  EXPECT_EQ(stream.Build(files, FILE_PATH, "SN010000"), StreamResult::Rejected);
  EXPECT_EQ(stream.CheckResult(), firmware::FW_FILE_DAMAGED);
  EXPECT_EQ(stream.Length(), 0u);

  files.Put(FILE_PATH, "not firmware at all");
  EXPECT_EQ(stream.Build(files, FILE_PATH, "SN010000"), StreamResult::Rejected);
  EXPECT_EQ(stream.CheckResult(), firmware::FW_FILE_NOT_FIRMWARE);
}

}  // namespace
