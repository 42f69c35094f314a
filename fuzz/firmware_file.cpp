// Firmware files through CheckFirmwareFile: a valid file of about the minimal size whose fields
// the input may spoil, checked against the rules read the plain way.
#include "firmware/firmware_file.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "platform/files.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Offsets and sizes written out again here, so that the target does not take the layout from
// the code it checks.
constexpr size_t OUTER_LENGTH = 0x00000;
constexpr size_t OUTER_SUM = 0x00004;
constexpr size_t OUTER_COVERS = 0x00008;
constexpr size_t MARKER = 0x20008;
constexpr size_t IMAGE_LENGTH = 0x60010;
constexpr size_t IMAGE_SUM = 0x60014;
constexpr size_t VERSION = 0x60018;
constexpr size_t IMAGE = 0x60028;
constexpr size_t MIN_SIZE = 393256;
static_assert(MIN_SIZE == IMAGE, "headers and an empty image");
constexpr int SIZE_SPREAD = 1024;  // sizes from MIN_SIZE - 1023 to MIN_SIZE + 1023

// Fields the builder leaves correct (bits of the first flags byte), and the file system's faults.
constexpr uint8_t KEEP_OUTER_LENGTH = 0x01;
constexpr uint8_t KEEP_OUTER_SUM = 0x02;
constexpr uint8_t KEEP_MARKER = 0x04;
constexpr uint8_t KEEP_IMAGE_LENGTH = 0x08;
constexpr uint8_t KEEP_IMAGE_SUM = 0x10;
constexpr uint8_t READ_SHORT = 0x20;
constexpr uint8_t SIZE_FAILS = 0x40;
constexpr uint8_t OPEN_FAILS = 0x80;
constexpr size_t PATCH_LIMIT = 64;

// One file behind the Files seam, with the faults the check must survive.
class OneFile : public platform::Files {
 public:
  Bytes bytes;
  bool sizeFails = false;
  bool openFails = false;
  bool readShort = false;
  int reads = 0;

  bool Exists(const std::string&) override { return true; }
  bool Size(const std::string&, uint64_t* size) override {
    if (sizeFails) return false;
    *size = bytes.size();
    return true;
  }
  bool ReadAll(const std::string&, std::string*) override { return false; }
  int64_t ReadExclusive(const std::string&, uint8_t* buffer, uint64_t size) override {
    ++reads;
    if (openFails) return -1;
    size_t n = std::min<uint64_t>(size, bytes.size());
    if (readShort && n > 0) --n;
    std::memcpy(buffer, bytes.data(), n);
    return static_cast<int64_t>(n);
  }
  std::string ProgramPath() override { return std::string(); }
  std::string ProfileString(const std::string&, const std::string&, const std::string&,
                            const std::string& fallback) override {
    return fallback;
  }
};

// The target's own sums are not what is fuzzed: left uninstrumented, they keep a run of the
// 384 KiB file fast. The range lies inside f (the callers' offsets are below its size).
[[clang::no_sanitize("address", "undefined", "coverage")]] uint32_t Sum(const Bytes& f, size_t from,
                                                                        size_t to) {
  uint32_t sum = 0;
  const uint8_t* p = f.data();
  for (size_t i = from; i < to; ++i) sum += p[i];
  return sum;
}

uint32_t Big(const Bytes& f, size_t at) {
  return (uint32_t{f[at]} << 24) | (uint32_t{f[at + 1]} << 16) | (uint32_t{f[at + 2]} << 8) |
         f[at + 3];
}

uint32_t Little(const Bytes& f, size_t at) {
  return f[at] | (uint32_t{f[at + 1]} << 8) | (uint32_t{f[at + 2]} << 16) |
         (uint32_t{f[at + 3]} << 24);
}

void PutBig(Bytes* f, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) (*f)[at + i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}

void PutLittle(Bytes* f, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) (*f)[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

int Upper(uint8_t c) {
  return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
}

// The rules in their order; the first that fails decides.
int ModelCheck(const Bytes& f, std::string* version) {
  version->clear();
  size_t size = f.size();
  if (size < MIN_SIZE) return firmware::FW_FILE_NOT_FIRMWARE;
  if (Big(f, OUTER_LENGTH) != size - 8) return firmware::FW_FILE_DAMAGED;
  if (Big(f, OUTER_SUM) != Sum(f, OUTER_COVERS, size)) return firmware::FW_FILE_DAMAGED;
  for (size_t i = 0; i < 8; ++i) {
    if (f[MARKER + i] != 0xFF) return firmware::FW_FILE_NOT_FIRMWARE;
  }
  if (Little(f, IMAGE_LENGTH) != size - IMAGE) return firmware::FW_FILE_DAMAGED;
  if (Little(f, IMAGE_SUM) != Sum(f, IMAGE, size)) return firmware::FW_FILE_DAMAGED;
  if (Upper(f[VERSION]) != 'S' || Upper(f[VERSION + 1]) != 'N') {
    return firmware::FW_FILE_BAD_VERSION_TAG;
  }
  for (size_t i = 0; i < 8 && f[VERSION + i] != 0; ++i)
    *version += static_cast<char>(f[VERSION + i]);
  return firmware::FW_FILE_OK;
}

// Where a patch lands: the outer header, the marker, the inner header, the image, anywhere.
size_t PatchOffset(uint8_t region, uint32_t offset, size_t size) {
  size_t image = size > IMAGE ? size - IMAGE : 0;
  switch (region % 5) {
    case 0:
      return OUTER_LENGTH + offset % 8;
    case 1:
      return MARKER + offset % 8;
    case 2:
      return IMAGE_LENGTH + offset % 24;
    case 3:
      return image > 0 ? IMAGE + offset % image : size;
    default:
      return offset % size;
  }
}

// A file of the minimal layout: fill bytes, the marker, the version field and an image, then
// the input's patches, then the length and sum fields that the flags keep correct.
Bytes BuildFile(fuzzing::FuzzInput& in, uint8_t flags) {
  long spread = static_cast<int16_t>(in.U16()) % SIZE_SPREAD;
  size_t size = static_cast<size_t>(static_cast<long>(MIN_SIZE) + spread);
  Bytes version = in.Bytes(8);
  uint8_t fill = in.Byte();
  uint8_t step = in.Byte();
  Bytes f(size, fill);
  if (flags & KEEP_MARKER) std::fill(f.begin() + MARKER, f.begin() + MARKER + 8, 0xFF);
  if (size >= VERSION + 8) std::copy(version.begin(), version.end(), f.begin() + VERSION);
  for (size_t i = IMAGE; i < size; ++i) f[i] = static_cast<uint8_t>(fill + step * (i - IMAGE));
  for (size_t p = 0; p < PATCH_LIMIT && in.Left() >= 5; ++p) {
    uint8_t region = in.Byte();
    uint32_t offset = in.U24();
    uint8_t value = in.Byte();
    size_t at = PatchOffset(region, offset, size);
    if (at < size) f[at] = value;
  }
  if (size < MIN_SIZE) return f;
  if (flags & KEEP_IMAGE_LENGTH) PutLittle(&f, IMAGE_LENGTH, static_cast<uint32_t>(size - IMAGE));
  if (flags & KEEP_IMAGE_SUM) PutLittle(&f, IMAGE_SUM, Sum(f, IMAGE, size));
  if (flags & KEEP_OUTER_LENGTH) PutBig(&f, OUTER_LENGTH, static_cast<uint32_t>(size - 8));
  if (flags & KEEP_OUTER_SUM) PutBig(&f, OUTER_SUM, Sum(f, OUTER_COVERS, size));
  return f;
}

}  // namespace

// Input: flags, a 16-bit signed size offset from the minimal size, the 8-byte version field, a
// fill byte and an image step, then patches of five bytes (region, 24-bit offset, value).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::FuzzInput in(data, size);
  uint8_t flags = in.Byte();
  OneFile file;
  file.bytes = BuildFile(in, flags);
  file.sizeFails = flags & SIZE_FAILS;
  file.openFails = flags & OPEN_FAILS;
  file.readShort = flags & READ_SHORT;

  std::string version = "left over";
  int result = firmware::CheckFirmwareFile(file, "C:\\Firmware\\FUZZ.UPG", &version);

  std::string expectedVersion;
  int expected = ModelCheck(file.bytes, &expectedVersion);
  bool tooSmall = file.bytes.size() < MIN_SIZE;
  if (file.sizeFails) {
    expected = firmware::FW_FILE_UNREADABLE;
  } else if (!tooSmall && (file.openFails || file.readShort)) {
    expected = firmware::FW_FILE_UNREADABLE;
  }
  if (expected != firmware::FW_FILE_OK) expectedVersion.clear();

  FUZZ_CHECK(result == expected);
  FUZZ_CHECK(version == expectedVersion);
  // A file too small to be firmware is never opened.
  if (tooSmall || file.sizeFails) FUZZ_CHECK(file.reads == 0);
  if (result == firmware::FW_FILE_OK) {
    // What passed is whole: lengths, sums, marker and tag as the layout wants them.
    const Bytes& f = file.bytes;
    FUZZ_CHECK(Big(f, OUTER_LENGTH) == f.size() - 8);
    FUZZ_CHECK(Little(f, IMAGE_LENGTH) == f.size() - IMAGE);
    FUZZ_CHECK(Big(f, OUTER_SUM) == Sum(f, OUTER_COVERS, f.size()));
    FUZZ_CHECK(Little(f, IMAGE_SUM) == Sum(f, IMAGE, f.size()));
    FUZZ_CHECK(version.size() >= 2 && version.size() <= 8);
    FUZZ_CHECK(std::memcmp(f.data() + VERSION, version.data(), version.size()) == 0);
  }
  return 0;
}
