// The status block copied out of a status reply, and the walk over its fields.
#include "link/status_reply.h"

namespace printer_link {

namespace {

constexpr uint8_t CR = 0x0D;
constexpr uint8_t LF = 0x0A;
constexpr size_t LENGTH_WORD = 2;
constexpr size_t FIELD_HEAD = 2;  // type byte, length byte
// Ink table: the first data byte is the entry size; each entry's third byte is the level.
constexpr size_t INK_ENTRY_SIZE_BYTE = 1;
constexpr size_t INK_LEVEL_OFFSET = 2;

}  // namespace

long FindStatusBlock(const uint8_t* reply, size_t replySize) {
  for (size_t i = 0; i + 1 < replySize; ++i) {
    if (reply[i] == CR && reply[i + 1] == LF) return static_cast<long>(i + 2);
  }
  return -1;
}

bool StatusReply::Assign(const uint8_t* reply, size_t replySize) {
  body_.clear();
  long start = FindStatusBlock(reply, replySize);
  if (start < 0) return false;
  size_t at = static_cast<size_t>(start);
  if (replySize - at < LENGTH_WORD) return false;
  size_t length = reply[at] | (static_cast<size_t>(reply[at + 1]) << 8);
  at += LENGTH_WORD;
  // A length word that claims more than arrived is no status, not a licence to read on.
  if (length == 0 || length > replySize - at) return false;
  body_.assign(reply + at, reply + at + length);
  return true;
}

bool StatusReply::FindField(uint8_t type, const uint8_t** data, size_t* length) const {
  size_t at = 0;
  while (body_.size() - at >= FIELD_HEAD) {
    size_t n = body_[at + 1];
    if (n > body_.size() - at - FIELD_HEAD) return false;
    if (body_[at] == type) {
      *data = body_.data() + at + FIELD_HEAD;
      *length = n;
      return true;
    }
    at += FIELD_HEAD + n;
  }
  return false;
}

bool StatusReply::IsReady() const {
  const uint8_t* data;
  size_t n;
  return FindField(FIELD_STATUS, &data, &n) && n > 0 && data[0] == STATUS_READY;
}

bool StatusReply::IsInkLow() const {
  const uint8_t* data;
  size_t n;
  if (!FindField(FIELD_INK, &data, &n) || n == 0) return false;
  size_t e = data[0];
  if (e == 0) return false;
  // The printer counts its entries as n / e; a level byte that would lie outside the field is
  // not read.
  size_t count = n / e;
  for (size_t i = 0; i < count; ++i) {
    size_t level = INK_ENTRY_SIZE_BYTE + i * e + INK_LEVEL_OFFSET;
    if (level < n && data[level] <= INK_LOW_LEVEL) return true;
  }
  return false;
}

bool StatusReply::IsField0DLow() const {
  const uint8_t* data;
  size_t n;
  return FindField(FIELD_0D, &data, &n) && n > 0 && data[n - 1] <= FIELD_0D_LOW;
}

}  // namespace printer_link
