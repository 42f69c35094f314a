// Bitmap files through the sample picture check and the per-job read: a header whose fields the
// input may replace, a file size placed around what the header asks for, and the file system's
// faults, checked against the rules read the plain way.
#include "samples/sample_image.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "fuzz/fuzz_input.h"
#include "platform/files.h"

namespace {

// Offsets written out again here, so that the target does not take the layout from the code it
// checks.
constexpr size_t HEADERS = 54;
constexpr size_t OFFSET_AT = 10;
constexpr size_t INFO_SIZE_AT = 14;
constexpr size_t WIDTH_AT = 18;
constexpr size_t HEIGHT_AT = 22;
constexpr size_t PLANES_AT = 26;
constexpr size_t BITS_AT = 28;
constexpr size_t COMPRESSION_AT = 30;
// Reads of whole files above this are left out: the picture itself is under 4 MB.
constexpr uint64_t LOAD_LIMIT = 8u << 20;

// Fields the input replaces (bits of the first mask byte), and the file system's faults.
constexpr uint8_t SET_OFFSET = 0x01;
constexpr uint8_t SET_INFO_SIZE = 0x02;
constexpr uint8_t SET_WIDTH = 0x04;
constexpr uint8_t SET_HEIGHT = 0x08;
constexpr uint8_t SET_PLANES = 0x10;
constexpr uint8_t SET_BITS = 0x20;
constexpr uint8_t SET_COMPRESSION = 0x40;
constexpr uint8_t SIZE_FAILS = 0x01;
constexpr uint8_t OPEN_FAILS = 0x02;
constexpr uint8_t READ_SHORT = 0x04;

using u128 = unsigned __int128;

uint32_t Little(const uint8_t* p) {
  return p[0] | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

void PutLittle(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

// A file of any size whose first bytes are the header and the rest a pattern: nothing beyond
// the header is stored, so that sizes far above memory can be described.
class VirtualFile : public platform::Files {
 public:
  uint8_t head[HEADERS] = {};
  uint64_t size = 0;
  bool sizeFails = false;
  bool openFails = false;
  bool readShort = false;
  int reads = 0;

  static uint8_t Pattern(uint64_t at) { return static_cast<uint8_t>(at * 31 + (at >> 9)); }

  bool Exists(const std::string&) override { return true; }
  bool Size(const std::string&, uint64_t* s) override {
    if (sizeFails) return false;
    *s = size;
    return true;
  }
  bool ReadAll(const std::string&, std::string*) override { return false; }
  int64_t ReadExclusive(const std::string&, uint8_t* buffer, uint64_t n) override {
    ++reads;
    if (openFails) return -1;
    uint64_t count = std::min(n, size);
    if (readShort && count > 0) --count;
    Fill(buffer, count);
    return static_cast<int64_t>(count);
  }
  // The target's own fill is not what is fuzzed: left uninstrumented, it keeps a run over
  // megabytes of picture fast.
  [[clang::no_sanitize("address", "undefined", "coverage")]] void Fill(uint8_t* buffer,
                                                                       uint64_t count) {
    for (uint64_t i = 0; i < count; ++i) buffer[i] = i < HEADERS ? head[i] : Pattern(i);
  }
  std::string ProgramPath() override { return std::string(); }
  std::string ProfileString(const std::string&, const std::string&, const std::string&,
                            const std::string& fallback) override {
    return fallback;
  }
};

// Bytes the header asks for: the pixel offset and 24-bit rows padded to four bytes.
u128 Needed(const uint8_t* h) {
  int32_t width = static_cast<int32_t>(Little(h + WIDTH_AT));
  int32_t height = static_cast<int32_t>(Little(h + HEIGHT_AT));
  if (width <= 0 || height <= 0) return Little(h + OFFSET_AT);
  u128 row = (u128{static_cast<uint32_t>(width)} * 3 + 3) / 4 * 4;
  return u128{Little(h + OFFSET_AT)} + row * static_cast<uint32_t>(height);
}

// The rules in their order; the first that fails decides.
int ModelCheck(const VirtualFile& f) {
  if (f.sizeFails || f.openFails || f.readShort || f.size < HEADERS) return 20307;
  const uint8_t* h = f.head;
  uint32_t offset = Little(h + OFFSET_AT);
  uint32_t info = Little(h + INFO_SIZE_AT);
  int32_t width = static_cast<int32_t>(Little(h + WIDTH_AT));
  int32_t height = static_cast<int32_t>(Little(h + HEIGHT_AT));
  if (offset < 54 || info < 40 || info > offset - 14) return 20307;
  if ((h[PLANES_AT] | h[PLANES_AT + 1] << 8) != 1) return 20307;
  if ((h[BITS_AT] | h[BITS_AT + 1] << 8) != 24) return 20307;
  if (Little(h + COMPRESSION_AT) != 0) return 20307;
  if (width <= 0 || height <= 0) return 20307;
  if (u128{f.size} < Needed(h)) return 20307;
  if (width != 3060 || height != 425) return 20309;
  return 0;
}

uint64_t Clamp64(u128 v) {
  return v > ~uint64_t{0} ? ~uint64_t{0} : static_cast<uint64_t>(v);
}

}  // namespace

// Input: the field mask, the fault flags, the size mode and a 16-bit size amount, then the
// replacement of each field the mask names (32 bits each; planes and bits per pixel 16), then
// bytes laid over the header from byte 34 on.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::FuzzInput in(data, size);
  uint8_t mask = in.Byte();
  uint8_t faults = in.Byte();
  uint8_t sizeMode = in.Byte();
  uint16_t amount = in.U16();

  VirtualFile file;
  uint8_t* h = file.head;
  h[0] = 'B';
  h[1] = 'M';
  PutLittle(h + OFFSET_AT, 54);
  PutLittle(h + INFO_SIZE_AT, 40);
  PutLittle(h + WIDTH_AT, 3060);
  PutLittle(h + HEIGHT_AT, 425);
  h[PLANES_AT] = 1;
  h[BITS_AT] = 24;
  if (mask & SET_OFFSET) PutLittle(h + OFFSET_AT, in.U16() | uint32_t{in.U16()} << 16);
  if (mask & SET_INFO_SIZE) PutLittle(h + INFO_SIZE_AT, in.U16() | uint32_t{in.U16()} << 16);
  if (mask & SET_WIDTH) PutLittle(h + WIDTH_AT, in.U16() | uint32_t{in.U16()} << 16);
  if (mask & SET_HEIGHT) PutLittle(h + HEIGHT_AT, in.U16() | uint32_t{in.U16()} << 16);
  if (mask & SET_PLANES) {
    uint16_t v = in.U16();
    h[PLANES_AT] = static_cast<uint8_t>(v), h[PLANES_AT + 1] = static_cast<uint8_t>(v >> 8);
  }
  if (mask & SET_BITS) {
    uint16_t v = in.U16();
    h[BITS_AT] = static_cast<uint8_t>(v), h[BITS_AT + 1] = static_cast<uint8_t>(v >> 8);
  }
  if (mask & SET_COMPRESSION) PutLittle(h + COMPRESSION_AT, in.U16() | uint32_t{in.U16()} << 16);
  std::vector<uint8_t> rest = in.Bytes(HEADERS - 34);
  std::copy(rest.begin(), rest.end(), h + 34);

  u128 needed = Needed(h);
  switch (sizeMode % 5) {
    case 0:
      file.size = Clamp64(needed);
      break;
    case 1:
      file.size = Clamp64(needed > amount ? needed - amount : 0);
      break;
    case 2:
      file.size = Clamp64(needed + amount);
      break;
    case 3:
      file.size = amount % HEADERS;  // shorter than the headers
      break;
    default:
      file.size = amount;
      break;
  }
  file.sizeFails = faults & SIZE_FAILS;
  file.openFails = faults & OPEN_FAILS;
  file.readShort = faults & READ_SHORT;

  int expected = ModelCheck(file);
  int result = feed::CheckSampleImage(file, "C:\\P\\Settings\\Sample.bmp");
  FUZZ_CHECK(result == expected);
  FUZZ_CHECK(result == 0 || result == 20307 || result == 20309);
  if (file.sizeFails) FUZZ_CHECK(file.reads == 0);
  if (!file.sizeFails && !file.openFails && !file.readShort) {
    feed::SampleImageHeader header;
    FUZZ_CHECK(feed::CheckSampleHeader(h, HEADERS, file.size, &header) == expected);
  }

  // The per-job read agrees with the check and hands out only rows that lie inside the file.
  if (expected == 0 && needed <= LOAD_LIMIT) {
    feed::SampleImage image;
    FUZZ_CHECK(feed::LoadSampleImage(file, "C:\\P\\Settings\\Sample.bmp", &image) == 0);
    FUZZ_CHECK(image.Size() == static_cast<size_t>(needed));
    uint64_t rowBytes = image.RowBytes();
    const uint8_t* top = image.Row(image.Header().height - 1);
    uint64_t at = top - image.Headers() + rowBytes - 1;
    FUZZ_CHECK(at == image.Size() - 1);
    FUZZ_CHECK(top[rowBytes - 1] == VirtualFile::Pattern(at));
  } else if (needed <= LOAD_LIMIT) {
    feed::SampleImage image;
    FUZZ_CHECK(feed::LoadSampleImage(file, "x", &image) == expected);
    FUZZ_CHECK(image.Size() == 0);
  }
  return 0;
}
