// The sample picture check and read.
#include "samples/sample_image.h"

#include <limits>
#include <new>

namespace feed {

namespace {

uint16_t Le16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// File bytes up to the end of the last pixel row; only meaningful for a header that passed.
uint64_t RequiredLength(const SampleImageHeader& h) {
  return uint64_t{h.pixelOffset} + SampleRowBytes(h.width) * static_cast<uint64_t>(h.height);
}

// The header names the file's own read buffer: the drawing hands the information header and the
// rows to the system as they stand, so anything it cannot take is refused here, before a page
// is started.
bool DrawingTakes(const SampleImageHeader& h) {
  return h.pixelOffset >= BMP_HEADERS_SIZE && h.infoSize >= BMP_INFO_HEADER_SIZE &&
         uint64_t{h.infoSize} <= uint64_t{h.pixelOffset} - BMP_FILE_HEADER_SIZE &&
         h.planes == BMP_PLANES && h.bitCount == BMP_BIT_COUNT &&
         h.compression == BMP_UNCOMPRESSED && h.width > 0 && h.height > 0;
}

}  // namespace

uint64_t SampleRowBytes(int32_t width) {
  // 64 bits: three bytes a pixel of the widest header overflow 32.
  return width <= 0 ? 0 : (static_cast<uint64_t>(width) * 3 + 3) / 4 * 4;
}

int CheckSampleHeader(const uint8_t* data, size_t size, uint64_t fileSize,
                      SampleImageHeader* header) {
  *header = SampleImageHeader();
  if (size < BMP_HEADERS_SIZE || fileSize < BMP_HEADERS_SIZE) return TEXT_SAMPLE_IMAGE_UNREADABLE;
  SampleImageHeader h;
  h.pixelOffset = Le32(data + BMP_PIXEL_OFFSET_AT);
  h.infoSize = Le32(data + BMP_INFO_SIZE_AT);
  h.width = static_cast<int32_t>(Le32(data + BMP_WIDTH_AT));
  h.height = static_cast<int32_t>(Le32(data + BMP_HEIGHT_AT));
  h.planes = Le16(data + BMP_PLANES_AT);
  h.bitCount = Le16(data + BMP_BIT_COUNT_AT);
  h.compression = Le32(data + BMP_COMPRESSION_AT);
  *header = h;
  if (!DrawingTakes(h) || fileSize < RequiredLength(h)) return TEXT_SAMPLE_IMAGE_UNREADABLE;
  if (h.width != SAMPLE_IMAGE_WIDTH || h.height != SAMPLE_IMAGE_HEIGHT) {
    return TEXT_SAMPLE_IMAGE_WRONG_SIZE;
  }
  return SAMPLE_IMAGE_OK;
}

int CheckSampleImageBytes(const uint8_t* data, size_t size) {
  SampleImageHeader header;
  return CheckSampleHeader(data, size, size, &header);
}

namespace {

// The header and the file size of path, checked.
int ReadHeader(platform::Files& files, const std::string& path, SampleImageHeader* header) {
  *header = SampleImageHeader();
  uint64_t fileSize = 0;
  if (path.empty() || !files.Size(path, &fileSize)) return TEXT_SAMPLE_IMAGE_UNREADABLE;
  uint8_t head[BMP_HEADERS_SIZE];
  int64_t read = files.ReadExclusive(path, head, sizeof head);
  if (read != static_cast<int64_t>(sizeof head)) return TEXT_SAMPLE_IMAGE_UNREADABLE;
  return CheckSampleHeader(head, sizeof head, fileSize, header);
}

}  // namespace

int CheckSampleImage(platform::Files& files, const std::string& path) {
  SampleImageHeader header;
  return ReadHeader(files, path, &header);
}

const uint8_t* SampleImage::Row(int32_t fromBottom) const {
  return bytes_.get() + header_.pixelOffset + RowBytes() * static_cast<uint64_t>(fromBottom);
}

void SampleImage::Clear() {
  header_ = SampleImageHeader();
  bytes_.reset();
  size_ = 0;
}

int LoadSampleImage(platform::Files& files, const std::string& path, SampleImage* image) {
  image->Clear();
  SampleImageHeader header;
  int result = ReadHeader(files, path, &header);
  if (result != SAMPLE_IMAGE_OK) return result;

  uint64_t length = RequiredLength(header);
  if (length > std::numeric_limits<size_t>::max() ||
      length > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) {
    return TEXT_SAMPLE_IMAGE_UNREADABLE;
  }
  std::unique_ptr<uint8_t[]> bytes(new (std::nothrow) uint8_t[static_cast<size_t>(length)]);
  if (!bytes) return TEXT_SAMPLE_IMAGE_UNREADABLE;
  int64_t read = files.ReadExclusive(path, bytes.get(), length);
  if (read < 0 || static_cast<uint64_t>(read) > length) return TEXT_SAMPLE_IMAGE_UNREADABLE;

  // The file may have changed since its header was read: what counts is what arrived.
  result = CheckSampleHeader(bytes.get(), static_cast<size_t>(read), static_cast<uint64_t>(read),
                             &header);
  if (result != SAMPLE_IMAGE_OK) return result;
  image->header_ = header;
  image->bytes_ = std::move(bytes);
  image->size_ = static_cast<size_t>(read);
  return SAMPLE_IMAGE_OK;
}

}  // namespace feed
