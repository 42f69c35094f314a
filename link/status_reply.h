// The printer's status block and the checks made on its fields.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace printer_link {

constexpr uint8_t STATUS_READY = 4;
constexpr uint8_t FIELD_STATUS = 0x01;
constexpr uint8_t FIELD_INK = 0x0F;
constexpr uint8_t FIELD_0D = 0x0D;
constexpr uint8_t INK_LOW_LEVEL = 25;
constexpr uint8_t FIELD_0D_LOW = 13;

class StatusReply {
 public:
  // Takes a copy of the block that follows the reply's first CR LF: the 16-bit length word and
  // that many body bytes. Returns false, leaving the reply empty, when no sound block is there.
  bool Assign(const uint8_t* reply, size_t replySize);
  void Clear() { body_.clear(); }
  bool Empty() const { return body_.empty(); }
  const std::vector<uint8_t>& Body() const { return body_; }

  bool IsReady() const;
  bool IsInkLow() const;
  bool IsField0DLow() const;

  // Data of the first field of that type, or false when the walk does not reach one.
  bool FindField(uint8_t type, const uint8_t** data, size_t* length) const;

 private:
  std::vector<uint8_t> body_;
};

// Offset just past the first CR LF in reply, or -1 when it has none.
long FindStatusBlock(const uint8_t* reply, size_t replySize);

}  // namespace printer_link
