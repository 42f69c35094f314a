// The layout of a firmware file (*.UPG) and the check a file must pass before it may be sent.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/files.h"

namespace firmware {

// Results of CheckFirmwareFile.
constexpr int FW_FILE_OK = 0;
constexpr int FW_FILE_UNREADABLE = -1;
constexpr int FW_FILE_DAMAGED = -2;
constexpr int FW_FILE_BAD_VERSION_TAG = -3;
constexpr int FW_FILE_NOT_FIRMWARE = -4;

// Offsets from the start of the file. The outer header is big-endian, the inner little-endian.
constexpr size_t FW_OUTER_LENGTH_OFFSET = 0x00000;
constexpr size_t FW_OUTER_CHECKSUM_OFFSET = 0x00004;
constexpr size_t FW_OUTER_HEADER_SIZE = 0x00008;  // the outer checksum covers what follows
constexpr size_t FW_MARKER_OFFSET = 0x20008;
constexpr size_t FW_MARKER_LENGTH = 8;
constexpr uint8_t FW_MARKER_BYTE = 0xFF;
constexpr size_t FW_IMAGE_LENGTH_OFFSET = 0x60010;
constexpr size_t FW_IMAGE_CHECKSUM_OFFSET = 0x60014;
constexpr size_t FW_VERSION_OFFSET = 0x60018;
constexpr size_t FW_VERSION_LENGTH = 8;
constexpr size_t FW_IMAGE_OFFSET = 0x60028;
// All headers and an empty image.
constexpr uint64_t FW_MIN_FILE_SIZE = FW_IMAGE_OFFSET;
constexpr char FW_VERSION_TAG[] = "SN";  // compared in upper case

// The transfer buffer holds the file behind this many bytes (lead-in and update header); a file
// whose size plus this cannot be held in memory is refused as unreadable.
constexpr uint64_t FW_TRANSFER_EXTRA = 16394;

// Plain byte sum in 32 bits, wrapping on overflow; vector instructions where the build has them.
uint32_t ByteSum(const uint8_t* data, size_t size);
// The same sum a 64-bit word at a time: ByteSum's way where no vector unit is known (the 32-bit
// build), and its tail.
uint32_t ByteSumByWords(const uint8_t* data, size_t size);

// The checks on a whole file already in memory, in the order that decides which result a file
// with several faults gets (size, outer length, outer checksum, marker, image length, image
// checksum, version tag). Reads nothing outside data[0, size). *version is set only on FW_FILE_OK.
int CheckFirmwareBytes(const uint8_t* data, size_t size, std::string* version);

// Reads the file at path whole, in one read without sharing, into one buffer of its size and
// checks it. *version is empty unless the result is FW_FILE_OK. Nothing is kept afterwards.
int CheckFirmwareFile(platform::Files& files, const std::string& path, std::string* version);

// Whether a file of that size can be held with the transfer's extra bytes in one buffer.
bool FitsInMemory(uint64_t fileSize);

// A buffer of size bytes, left unfilled; null when the memory cannot be obtained.
std::unique_ptr<uint8_t[]> TryAllocate(size_t size);

// A valid firmware file around an image of imageSize bytes of a fixed pattern, with the given
// version text (at most 8 characters; longer texts are cut). The caller checks that the sizes fit
// the 32-bit fields.
std::vector<uint8_t> MakeFirmwareFile(const std::string& version, size_t imageSize);

// Largest image MakeFirmwareFile can describe in the 32-bit outer length.
constexpr uint64_t FW_MAX_IMAGE_SIZE = 0xFFFFFFFFull - (FW_IMAGE_OFFSET - FW_OUTER_HEADER_SIZE);

}  // namespace firmware
