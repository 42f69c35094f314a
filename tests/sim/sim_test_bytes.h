// Byte streams the sim tests hand to the printer, written out as the programs send them.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace simtest {

using Bytes = std::vector<uint8_t>;

inline Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

inline Bytes Text(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

const Bytes ENTER = {0x1B, 0x40, 0x1B, 0x28, 0x52, 0x08, 0x00, 0x00,
                     0x52, 0x45, 0x4D, 0x4F, 0x54, 0x45, 0x31};
const Bytes LEAVE = {0x1B, 0x00, 0x00, 0x00};
const Bytes JOB_END = {0x0D, 0x0A, 0x0C, 0x1B, 0x40};
const Bytes NOZZLE_CHECK_STREAM = {0x1B, 0x40, 0x1B, 0x28, 0x52, 0x08, 0x00, 0x00, 0x52,
                                   0x45, 0x4D, 0x4F, 0x54, 0x45, 0x31, 0x4E, 0x43, 0x02,
                                   0x00, 0x00, 0x00, 0x56, 0x49, 0x02, 0x00, 0x00, 0x01,
                                   0x1B, 0x00, 0x00, 0x00, 0x0D, 0x0A, 0x0C, 0x1B, 0x40};
const Bytes DEEP_CLEANING_STREAM = Join({ENTER, {0x43, 0x48, 0x02, 0x00, 0x00, 0x10}, LEAVE});
const Bytes VERSION_QUERY = {0x56, 0x49, 0x02, 0x00, 0x01, 0x00};
const Bytes FEED_SELECTOR = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07,
                             0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D};
const Bytes FIRMWARE_HEADER = {0x1B, 0x7D, 0x01, 0x05, 0x00, 0xA4, 0x3B, 0x19, 0xE2, 0x6D};

inline Bytes FeedValueRead(const Bytes& selector) {
  return Join({{0x45, 0x58, 0x12, 0x00, 0x01, 0x00, 0x00, 0x00, 0x1F}, selector});
}

inline Bytes FeedValueWriteJob(const Bytes& selector, uint8_t value, bool withLoad = true) {
  Bytes write = Join({{0x45, 0x58, 0x13, 0x00, 0x00, 0x00, 0x00, 0x00, 0x1F}, selector, {value}});
  return Join({ENTER, write, withLoad ? Bytes{0x4C, 0x44, 0x00, 0x00} : Bytes{}, LEAVE});
}

// A firmware file that passes every check, with the given version text and image.
inline Bytes FirmwareFile(const std::string& version, size_t imageLength = 16) {
  const size_t imageAt = 0x60028;
  Bytes file(imageAt + imageLength, 0);
  for (size_t i = 0; i < 8; ++i) file[0x20008 + i] = 0xFF;
  uint32_t imageSum = 0;
  for (size_t i = 0; i < imageLength; ++i) {
    file[imageAt + i] = static_cast<uint8_t>(i * 7 + 1);
    imageSum += file[imageAt + i];
  }
  auto le32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  le32(0x60010, static_cast<uint32_t>(imageLength));
  le32(0x60014, imageSum);
  for (size_t i = 0; i < version.size() && i < 8; ++i) file[0x60018 + i] = version[i];
  uint32_t outer = static_cast<uint32_t>(file.size() - 8);
  uint32_t outerSum = 0;
  for (size_t i = 8; i < file.size(); ++i) outerSum += file[i];
  for (int i = 0; i < 4; ++i) {
    file[i] = static_cast<uint8_t>(outer >> (24 - 8 * i));
    file[4 + i] = static_cast<uint8_t>(outerSum >> (24 - 8 * i));
  }
  return file;
}

inline Bytes FirmwareStream(const Bytes& file, bool leadIn) {
  return Join({leadIn ? Bytes(0x4000, 0x11) : Bytes{}, FIRMWARE_HEADER, file});
}

// The SNMP GetRequest the programs wrap a command in on a network channel.
inline Bytes SnmpRequest(const Bytes& command) {
  size_t length = command.size();
  Bytes inner = Join({{static_cast<uint8_t>(length + 3), 0x08, static_cast<uint8_t>(length / 256),
                       static_cast<uint8_t>(length % 256)},
                      command});
  Bytes encoded;
  for (uint8_t b : inner) {
    if (b < 0x80) {
      encoded.push_back(b);
    } else {
      encoded.push_back(0x81);
      encoded.push_back(static_cast<uint8_t>(b - 0x80));
    }
  }
  uint8_t n = static_cast<uint8_t>(encoded.size());
  return Join({{0x30, static_cast<uint8_t>(n + 44), 0x02, 0x01, 0x00, 0x04, 0x06},
               Text("kerrow"),
               {0xA0, static_cast<uint8_t>(n + 31), 0x02, 0x01, 0x01, 0x02, 0x01, 0x00, 0x02, 0x01,
                0x00, 0x30, static_cast<uint8_t>(n + 20), 0x30, static_cast<uint8_t>(n + 18), 0x06,
                static_cast<uint8_t>(n + 14)},
               {0x2B, 0x06, 0x01, 0x04, 0x01, 0x89, 0x60, 0x01, 0x02, 0x02, 0x28, 0x01, 0x01, 0x02},
               encoded,
               {0x05, 0x00}});
}

// A fresh folder for files of one test.
inline std::string TempFolder() {
  std::string pattern = ::testing::TempDir() + "kdsimXXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  const char* made = mkdtemp(buffer.data());
  return made ? std::string(made) + "/" : std::string();
}

}  // namespace simtest
