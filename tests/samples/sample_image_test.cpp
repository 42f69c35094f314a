// The sample picture check: which files pass, which get 20307 or 20309, and the per-job read.
#include "samples/sample_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/posix/posix_platform.h"
#include "tests/support/fake_platform.h"

namespace {

using feed::SAMPLE_IMAGE_OK;
using feed::TEXT_SAMPLE_IMAGE_UNREADABLE;
using feed::TEXT_SAMPLE_IMAGE_WRONG_SIZE;

struct Fields {
  uint32_t offset = 54;
  uint32_t infoSize = 40;
  int32_t width = 3060;
  int32_t height = 425;
  uint16_t planes = 1;
  uint16_t bitCount = 24;
  uint32_t compression = 0;
};

void Put32(std::string* f, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) (*f)[at + i] = static_cast<char>(v >> (8 * i));
}

uint64_t Rows(const Fields& h) {
  return (static_cast<uint64_t>(h.width) * 3 + 3) / 4 * 4 * static_cast<uint64_t>(h.height);
}

// A bitmap file of the given fields, `extra` bytes longer (or shorter, when negative) than the
// 24-bit rows the fields describe; the rows hold their own row number.
std::string Bitmap(const Fields& h, long extra = 0) {
  uint64_t rows = h.width > 0 && h.height > 0 && Rows(h) < (64u << 20) ? Rows(h) : 0;
  std::string f(static_cast<size_t>(static_cast<long>(h.offset + rows) + extra), '\0');
  if (f.size() < 54) f.resize(54);
  f[0] = 'B';
  f[1] = 'M';
  Put32(&f, 2, static_cast<uint32_t>(f.size()));
  Put32(&f, 10, h.offset);
  Put32(&f, 14, h.infoSize);
  Put32(&f, 18, static_cast<uint32_t>(h.width));
  Put32(&f, 22, static_cast<uint32_t>(h.height));
  f[26] = static_cast<char>(h.planes);
  f[28] = static_cast<char>(h.bitCount);
  Put32(&f, 30, h.compression);
  if (rows > 0) {
    size_t rowBytes = static_cast<size_t>(rows / static_cast<uint64_t>(h.height));
    for (size_t at = h.offset, row = 0; at < f.size(); at += rowBytes, ++row) {
      std::memset(&f[at], static_cast<int>(row), std::min(rowBytes, f.size() - at));
    }
  }
  return f;
}

Fields With(void (*change)(Fields&)) {
  Fields h;
  change(h);
  return h;
}

struct Case {
  const char* name;
  std::string file;
  int expected;
};

TEST(SampleImage, FilesByTheirHeaders) {
  const Case cases[] = {
      {"the sample picture", Bitmap(Fields()), SAMPLE_IMAGE_OK},
      {"bytes after the rows", Bitmap(Fields(), 100), SAMPLE_IMAGE_OK},
      {"larger header and a gap", Bitmap(With([](Fields& h) { h.infoSize = 124, h.offset = 200; })),
       SAMPLE_IMAGE_OK},
      {"last row one byte short", Bitmap(Fields(), -1), TEXT_SAMPLE_IMAGE_UNREADABLE},
      {"headers only", Bitmap(Fields(), -static_cast<long>(Rows(Fields()))),
       TEXT_SAMPLE_IMAGE_UNREADABLE},
      {"shorter than the headers", std::string(53, 'B'), TEXT_SAMPLE_IMAGE_UNREADABLE},
      {"empty", std::string(), TEXT_SAMPLE_IMAGE_UNREADABLE},
      {"small and whole", Bitmap(With([](Fields& h) { h.width = 100, h.height = 100; })),
       TEXT_SAMPLE_IMAGE_WRONG_SIZE},
      {"one row less", Bitmap(With([](Fields& h) { h.height = 424; })),
       TEXT_SAMPLE_IMAGE_WRONG_SIZE},
      {"one column more, padded rows", Bitmap(With([](Fields& h) { h.width = 3061; })),
       TEXT_SAMPLE_IMAGE_WRONG_SIZE},
      // Too short decides before the size, as the operator can do nothing about a size of a
      // file that cannot be read.
      {"wrong size and short", Bitmap(With([](Fields& h) { h.width = 3061; }), -1),
       TEXT_SAMPLE_IMAGE_UNREADABLE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, feed::CheckSampleImageBytes(
                              reinterpret_cast<const uint8_t*>(c.file.data()), c.file.size()));
  }
}

// Headers the earlier check let through because it trusted them: the file was long enough
// by the 24-bit formula, so the drawing would have read headers as pixels, walked past the
// rows, or met a format it cannot draw.
TEST(SampleImage, HeadersTheDrawingCannotTakeAreUnreadable) {
  const Case cases[] = {
      {"pixel data at offset 0", Bitmap(With([](Fields& h) { h.offset = 0; }), 54),
       TEXT_SAMPLE_IMAGE_UNREADABLE},
      {"pixel data inside the headers", Bitmap(With([](Fields& h) { h.offset = 53; }), 1),
       TEXT_SAMPLE_IMAGE_UNREADABLE},
      {"information header past the pixel offset",
       Bitmap(With([](Fields& h) { h.infoSize = 124; })), TEXT_SAMPLE_IMAGE_UNREADABLE},
      {"core header", Bitmap(With([](Fields& h) { h.infoSize = 12; })),
       TEXT_SAMPLE_IMAGE_UNREADABLE},
      {"32 bits a pixel", Bitmap(With([](Fields& h) { h.bitCount = 32; }), 3060 * 425),
       TEXT_SAMPLE_IMAGE_UNREADABLE},
      {"8 bits a pixel", Bitmap(With([](Fields& h) { h.bitCount = 8; })),
       TEXT_SAMPLE_IMAGE_UNREADABLE},
      {"no plane", Bitmap(With([](Fields& h) { h.planes = 0; })), TEXT_SAMPLE_IMAGE_UNREADABLE},
      {"run-length compressed", Bitmap(With([](Fields& h) { h.compression = 1; })),
       TEXT_SAMPLE_IMAGE_UNREADABLE},
      {"top-down rows", Bitmap(With([](Fields& h) { h.height = -425; }), 3060 * 3 * 425),
       TEXT_SAMPLE_IMAGE_UNREADABLE},
      {"no columns", Bitmap(With([](Fields& h) { h.width = 0; })), TEXT_SAMPLE_IMAGE_UNREADABLE},
      // 0x55555556 * 3 wraps to 2 in 32 bits: one short row would have seemed enough.
      {"row size wrapping in 32 bits",
       Bitmap(With([](Fields& h) { h.width = 0x55555556, h.height = 1; }), 4),
       TEXT_SAMPLE_IMAGE_UNREADABLE},
      {"largest header",
       Bitmap(With([](Fields& h) { h.width = 0x7FFFFFFF, h.height = 0x7FFFFFFF; }), 1000),
       TEXT_SAMPLE_IMAGE_UNREADABLE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, feed::CheckSampleImageBytes(
                              reinterpret_cast<const uint8_t*>(c.file.data()), c.file.size()));
  }
}

TEST(SampleImage, PathsThroughTheFilesSeam) {
  fakes::FakeFiles files;
  files.Put("C:\\P\\Settings\\Sample.bmp", Bitmap(Fields()));
  files.Put("C:\\P\\small.bmp", Bitmap(With([](Fields& h) { h.width = 10, h.height = 10; })));
  files.Put("C:\\P\\locked.bmp", Bitmap(Fields()));
  files.unreadable.insert("C:\\P\\locked.bmp");
  const struct {
    const char* path;
    int expected;
  } cases[] = {
      {"C:\\P\\Settings\\Sample.bmp", SAMPLE_IMAGE_OK},
      {"C:\\P\\small.bmp", TEXT_SAMPLE_IMAGE_WRONG_SIZE},
      {"C:\\P\\locked.bmp", TEXT_SAMPLE_IMAGE_UNREADABLE},
      {"C:\\P\\missing.bmp", TEXT_SAMPLE_IMAGE_UNREADABLE},
      {"", TEXT_SAMPLE_IMAGE_UNREADABLE},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(c.expected, feed::CheckSampleImage(files, c.path));
    feed::SampleImage image;
    EXPECT_EQ(c.expected, feed::LoadSampleImage(files, c.path, &image));
    EXPECT_EQ(c.expected == SAMPLE_IMAGE_OK, image.Size() > 0);
  }
}

TEST(SampleImage, LoadedRowsCountFromTheBottom) {
  fakes::FakeFiles files;
  Fields h = With([](Fields& f) { f.offset = 70; });
  files.Put("a.bmp", Bitmap(h, 9));
  feed::SampleImage image;
  ASSERT_EQ(SAMPLE_IMAGE_OK, feed::LoadSampleImage(files, "a.bmp", &image));
  EXPECT_EQ(9180u, image.RowBytes());
  EXPECT_EQ(70 + 9180u * 425, image.Size());  // the bytes after the rows are not read
  EXPECT_EQ(0, image.Row(0)[0]);
  EXPECT_EQ(1, image.Row(1)[9179]);
  EXPECT_EQ(424 % 256, image.Row(424)[0]);
}

// The picture is read again for every job; a file cut short since the header was read must
// not be drawn from the bytes it no longer has.
class ShrinkingFiles : public fakes::FakeFiles {
 public:
  int64_t ReadExclusive(const std::string& path, uint8_t* buffer, uint64_t size) override {
    if (++reads == 2) files[path].resize(files[path].size() / 2);
    return FakeFiles::ReadExclusive(path, buffer, size);
  }
  int reads = 0;
};

TEST(SampleImage, FileCutShortBetweenHeaderAndRowsIsUnreadable) {
  ShrinkingFiles files;
  files.Put("a.bmp", Bitmap(Fields()));
  feed::SampleImage image;
  EXPECT_EQ(TEXT_SAMPLE_IMAGE_UNREADABLE, feed::LoadSampleImage(files, "a.bmp", &image));
  EXPECT_EQ(0u, image.Size());
}

TEST(SampleImage, ShippedPicturePasses) {
  platform::PosixFiles files;
  feed::SampleImage image;
  ASSERT_EQ(
      SAMPLE_IMAGE_OK,
      feed::LoadSampleImage(files, KD_SOURCE_DIR "/install/Trevalo/Settings/Sample.bmp", &image));
  EXPECT_EQ(54u, image.Header().pixelOffset);
}

}  // namespace
