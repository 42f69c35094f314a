// Reading a fuzz input as small fields, and the check that stops a run on a broken property.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// A property that must hold for every input; libFuzzer keeps the input that breaks it as a
// crash reproducer. A macro, so that the message names the expression and the line.
#define FUZZ_CHECK(condition)                                                                \
  do {                                                                                       \
    if (!(condition)) {                                                                      \
      std::fprintf(stderr, "property broken: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
      std::abort();                                                                          \
    }                                                                                        \
  } while (0)

namespace fuzzing {

// Fields are taken front to back, integers little-endian; an exhausted input reads as zeros,
// so every input is a valid one and seeds can be written by hand.
class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  uint16_t U16() {
    uint16_t low = Byte();
    return static_cast<uint16_t>(low | (Byte() << 8));
  }
  uint32_t U24() {
    uint32_t low = U16();
    return low | (static_cast<uint32_t>(Byte()) << 16);
  }
  // At most n bytes: fewer when the input ends first.
  std::vector<uint8_t> Bytes(size_t n) {
    size_t take = n < Left() ? n : Left();
    std::vector<uint8_t> bytes(data_ + pos_, data_ + pos_ + take);
    pos_ += take;
    return bytes;
  }
  std::string Text(size_t n) {
    std::vector<uint8_t> bytes = Bytes(n);
    return std::string(bytes.begin(), bytes.end());
  }
  std::vector<uint8_t> Rest() { return Bytes(Left()); }
  std::string RestText() { return Text(Left()); }
  size_t Left() const { return size_ - pos_; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

}  // namespace fuzzing
