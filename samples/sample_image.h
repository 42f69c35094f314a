// The sample print's test picture: the bitmap file check and the per-job read of its pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/files.h"

namespace feed {

// Results of the checks: 0, or the text number of the warning the sample print shows.
constexpr int SAMPLE_IMAGE_OK = 0;
constexpr int TEXT_SAMPLE_IMAGE_UNREADABLE = 20307;
constexpr int TEXT_SAMPLE_IMAGE_WRONG_SIZE = 20309;

constexpr int32_t SAMPLE_IMAGE_WIDTH = 3060;
constexpr int32_t SAMPLE_IMAGE_HEIGHT = 425;

// Bitmap file layout: a 14-byte file header, then the information header.
constexpr size_t BMP_FILE_HEADER_SIZE = 14;
constexpr size_t BMP_INFO_HEADER_SIZE = 40;
constexpr size_t BMP_HEADERS_SIZE = BMP_FILE_HEADER_SIZE + BMP_INFO_HEADER_SIZE;
constexpr size_t BMP_PIXEL_OFFSET_AT = 10;
constexpr size_t BMP_INFO_SIZE_AT = 14;
constexpr size_t BMP_WIDTH_AT = 18;
constexpr size_t BMP_HEIGHT_AT = 22;
constexpr size_t BMP_PLANES_AT = 26;
constexpr size_t BMP_BIT_COUNT_AT = 28;
constexpr size_t BMP_COMPRESSION_AT = 30;
// What the drawing takes: one plane of uncompressed 24-bit bottom-up rows.
constexpr uint16_t BMP_PLANES = 1;
constexpr uint16_t BMP_BIT_COUNT = 24;
constexpr uint32_t BMP_UNCOMPRESSED = 0;

struct SampleImageHeader {
  uint32_t pixelOffset = 0;
  uint32_t infoSize = 0;
  int32_t width = 0;
  int32_t height = 0;
  uint16_t planes = 0;
  uint16_t bitCount = 0;
  uint32_t compression = 0;
};

// Bytes of one pixel row of a 24-bit image, padded to 4 bytes.
uint64_t SampleRowBytes(int32_t width);

// Checks the header bytes (at least BMP_HEADERS_SIZE of them, else unreadable) of a file of
// fileSize bytes. Unreadable when the fields do not describe 24-bit uncompressed bottom-up pixel
// data lying inside the file; wrong size when they do but the picture is not 3060 x 425.
// *header is filled whenever the header bytes were there.
int CheckSampleHeader(const uint8_t* data, size_t size, uint64_t fileSize,
                      SampleImageHeader* header);

// The same check on a whole file already in memory.
int CheckSampleImageBytes(const uint8_t* data, size_t size);

// Checks the file at path, reading only its headers. An empty or missing path is unreadable.
int CheckSampleImage(platform::Files& files, const std::string& path);

// A checked picture in memory: the file up to the end of its pixel rows.
class SampleImage {
 public:
  const SampleImageHeader& Header() const { return header_; }
  // Row 0 is the bottom row of the picture.
  const uint8_t* Row(int32_t fromBottom) const;
  uint64_t RowBytes() const { return SampleRowBytes(header_.width); }
  // The file header and the information header up to the pixel data.
  const uint8_t* Headers() const { return bytes_.get(); }
  size_t Size() const { return size_; }
  void Clear();

 private:
  friend int LoadSampleImage(platform::Files&, const std::string&, SampleImage*);
  SampleImageHeader header_;
  std::unique_ptr<uint8_t[]> bytes_;
  size_t size_ = 0;
};

// Reads the file for one job, in one read, and checks it again on the bytes actually read, so a
// file changed since the last check is never drawn past its end. *image is cleared unless the
// result is SAMPLE_IMAGE_OK.
int LoadSampleImage(platform::Files& files, const std::string& path, SampleImage* image);

}  // namespace feed
