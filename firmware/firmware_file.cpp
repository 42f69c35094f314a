// The firmware file check.
#include "firmware/firmware_file.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace firmware {

namespace {

uint32_t ReadBigEndian32(const uint8_t* p) {
  return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
         (static_cast<uint32_t>(p[2]) << 8) | static_cast<uint32_t>(p[3]);
}

uint32_t ReadLittleEndian32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

void WriteBigEndian32(uint8_t* p, uint32_t value) {
  p[0] = static_cast<uint8_t>(value >> 24);
  p[1] = static_cast<uint8_t>(value >> 16);
  p[2] = static_cast<uint8_t>(value >> 8);
  p[3] = static_cast<uint8_t>(value);
}

void WriteLittleEndian32(uint8_t* p, uint32_t value) {
  p[0] = static_cast<uint8_t>(value);
  p[1] = static_cast<uint8_t>(value >> 8);
  p[2] = static_cast<uint8_t>(value >> 16);
  p[3] = static_cast<uint8_t>(value >> 24);
}

// Upper case of ASCII letters only, whatever the locale.
uint8_t AsciiUpper(uint8_t c) {
  return c >= 'a' && c <= 'z' ? static_cast<uint8_t>(c - 0x20) : c;
}

}  // namespace

uint32_t ByteSumByWords(const uint8_t* data, size_t size) {
  // Eight bytes at a time: the even and the odd bytes of a word go into two accumulators of
  // four 16-bit lanes each. A lane gains at most 255 per word, so 256 words fit before the
  // lanes are folded into the 32-bit sum; a byte loop runs at a fraction of memory speed.
  constexpr size_t WORD = sizeof(uint64_t);
  constexpr size_t WORDS_PER_FOLD = 256;
  constexpr uint64_t EVEN_BYTES = 0x00FF00FF00FF00FFull;
  constexpr uint64_t EVEN_LANES = 0x0000FFFF0000FFFFull;
  uint32_t sum = 0;
  size_t at = 0;
  while (size - at >= WORD) {
    size_t words = std::min((size - at) / WORD, WORDS_PER_FOLD);
    uint64_t even = 0;
    uint64_t odd = 0;
    for (size_t w = 0; w < words; ++w, at += WORD) {
      uint64_t word;
      std::memcpy(&word, data + at, WORD);  // any alignment; compiles to one load
      even += word & EVEN_BYTES;
      odd += (word >> 8) & EVEN_BYTES;
    }
    // Lanes to two 32-bit halves (each at most 4 * 65280), then the halves to the sum.
    uint64_t halves = (even & EVEN_LANES) + ((even >> 16) & EVEN_LANES) + (odd & EVEN_LANES) +
                      ((odd >> 16) & EVEN_LANES);
    sum += static_cast<uint32_t>(halves) + static_cast<uint32_t>(halves >> 32);
  }
  for (; at < size; ++at) sum += data[at];
  return sum;
}

uint32_t ByteSum(const uint8_t* data, size_t size) {
#if defined(__SSE2__)
  // Sixty-four bytes per step: each sum of absolute differences against zero adds eight bytes
  // into a 64-bit lane, which no file can overflow. Four accumulators keep the loads streaming;
  // this runs at the memory's speed, the words above at about two thirds of it.
  constexpr size_t BLOCK = 64;
  const __m128i zero = _mm_setzero_si128();
  __m128i lanes[4] = {zero, zero, zero, zero};
  size_t at = 0;
  for (; size - at >= BLOCK; at += BLOCK) {
    for (int i = 0; i < 4; ++i) {
      __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at + 16 * i));
      lanes[i] = _mm_add_epi64(lanes[i], _mm_sad_epu8(bytes, zero));
    }
  }
  __m128i total =
      _mm_add_epi64(_mm_add_epi64(lanes[0], lanes[1]), _mm_add_epi64(lanes[2], lanes[3]));
  uint64_t halves[2];
  _mm_storeu_si128(reinterpret_cast<__m128i*>(halves), total);
  return static_cast<uint32_t>(halves[0] + halves[1]) + ByteSumByWords(data + at, size - at);
#else
  return ByteSumByWords(data, size);
#endif
}

int CheckFirmwareBytes(const uint8_t* data, size_t size, std::string* version) {
  version->clear();
  if (size < FW_MIN_FILE_SIZE) return FW_FILE_NOT_FIRMWARE;

  // Compared in 64 bits: a file above 4 GiB cannot match a 32-bit length field.
  uint64_t outerLength = ReadBigEndian32(data + FW_OUTER_LENGTH_OFFSET);
  if (outerLength != static_cast<uint64_t>(size) - FW_OUTER_HEADER_SIZE) return FW_FILE_DAMAGED;

  // The image runs to the end of the file, so its sum is also the tail of the outer sum: one
  // pass over the image serves both checksums.
  uint32_t imageSum = ByteSum(data + FW_IMAGE_OFFSET, size - FW_IMAGE_OFFSET);
  uint32_t outerSum =
      ByteSum(data + FW_OUTER_HEADER_SIZE, FW_IMAGE_OFFSET - FW_OUTER_HEADER_SIZE) + imageSum;
  if (outerSum != ReadBigEndian32(data + FW_OUTER_CHECKSUM_OFFSET)) return FW_FILE_DAMAGED;

  for (size_t i = 0; i < FW_MARKER_LENGTH; ++i) {
    if (data[FW_MARKER_OFFSET + i] != FW_MARKER_BYTE) return FW_FILE_NOT_FIRMWARE;
  }

  uint64_t imageLength = ReadLittleEndian32(data + FW_IMAGE_LENGTH_OFFSET);
  if (imageLength != static_cast<uint64_t>(size) - FW_IMAGE_OFFSET) return FW_FILE_DAMAGED;
  if (imageSum != ReadLittleEndian32(data + FW_IMAGE_CHECKSUM_OFFSET)) return FW_FILE_DAMAGED;

  const uint8_t* tag = data + FW_VERSION_OFFSET;
  if (AsciiUpper(tag[0]) != static_cast<uint8_t>(FW_VERSION_TAG[0]) ||
      AsciiUpper(tag[1]) != static_cast<uint8_t>(FW_VERSION_TAG[1])) {
    return FW_FILE_BAD_VERSION_TAG;
  }

  // At most eight characters; a NUL inside cuts the text short.
  const char* text = reinterpret_cast<const char*>(tag);
  version->assign(text, strnlen(text, FW_VERSION_LENGTH));
  return FW_FILE_OK;
}

bool FitsInMemory(uint64_t fileSize) {
  // The size must survive the addition of the transfer's extra bytes in size_t (32 bits on the
  // shipped build) and be a count the one-read file interface can report.
  constexpr uint64_t sizeLimit = std::numeric_limits<size_t>::max();
  constexpr uint64_t readLimit = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
  return fileSize <= sizeLimit - FW_TRANSFER_EXTRA && fileSize <= readLimit - FW_TRANSFER_EXTRA;
}

std::unique_ptr<uint8_t[]> TryAllocate(size_t size) {
  // Left unfilled: the one read that follows writes it whole, and a zero fill would be a second
  // pass over tens of megabytes.
  return std::unique_ptr<uint8_t[]>(new (std::nothrow) uint8_t[size]);
}

int CheckFirmwareFile(platform::Files& files, const std::string& path, std::string* version) {
  version->clear();
  uint64_t size = 0;
  if (!files.Size(path, &size)) return FW_FILE_UNREADABLE;
  if (size < FW_MIN_FILE_SIZE) return FW_FILE_NOT_FIRMWARE;  // not opened at all
  if (!FitsInMemory(size)) return FW_FILE_UNREADABLE;

  std::unique_ptr<uint8_t[]> buffer = TryAllocate(static_cast<size_t>(size));
  if (!buffer) return FW_FILE_UNREADABLE;
  int64_t read = files.ReadExclusive(path, buffer.get(), size);
  if (read < 0 || static_cast<uint64_t>(read) != size) return FW_FILE_UNREADABLE;
  return CheckFirmwareBytes(buffer.get(), static_cast<size_t>(size), version);
}

std::vector<uint8_t> MakeFirmwareFile(const std::string& version, size_t imageSize) {
  std::vector<uint8_t> file(FW_IMAGE_OFFSET + imageSize, 0);
  uint8_t* data = file.data();
  std::memset(data + FW_MARKER_OFFSET, FW_MARKER_BYTE, FW_MARKER_LENGTH);
  // A pattern that is neither constant nor a plain counter, so that a shifted or cut image
  // changes the sums.
  for (size_t i = 0; i < imageSize; ++i) {
    data[FW_IMAGE_OFFSET + i] = static_cast<uint8_t>((i * 7 + (i >> 8) * 13 + 0x5A) & 0xFF);
  }
  std::memcpy(data + FW_VERSION_OFFSET, version.data(),
              version.size() < FW_VERSION_LENGTH ? version.size() : FW_VERSION_LENGTH);
  WriteLittleEndian32(data + FW_IMAGE_LENGTH_OFFSET, static_cast<uint32_t>(imageSize));
  WriteLittleEndian32(data + FW_IMAGE_CHECKSUM_OFFSET, ByteSum(data + FW_IMAGE_OFFSET, imageSize));
  WriteBigEndian32(data + FW_OUTER_LENGTH_OFFSET,
                   static_cast<uint32_t>(file.size() - FW_OUTER_HEADER_SIZE));
  WriteBigEndian32(data + FW_OUTER_CHECKSUM_OFFSET,
                   ByteSum(data + FW_OUTER_HEADER_SIZE, file.size() - FW_OUTER_HEADER_SIZE));
  return file;
}

}  // namespace firmware
