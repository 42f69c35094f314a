// Status replies: the block after the first CR LF, the field walk and the three checks, on a
// reply of exactly its own size and through ReadStatus with the library's claimed counts.
#include "link/status_reply.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "fuzz/fuzz_printer.h"
#include "link/printer_channel.h"

namespace {

using Bytes = std::vector<uint8_t>;
using printer_link::StatusReply;

// Mode byte: bit 0 also reads the reply through ReadStatus; bits 1-2 choose what the library
// answers as its count; the bits above give the non-positive answer.
constexpr uint8_t MODE_READ_STATUS = 0x01;
constexpr int COUNT_SHIFT = 1;
constexpr uint8_t COUNT_MASK = 0x03;
enum CountAnswer { COUNT_DELIVERED = 0, COUNT_TOO_MANY = 1, COUNT_HALF = 2, COUNT_NONE = 3 };
constexpr int NEGATIVE_SHIFT = 3;
constexpr int TOO_MANY_EXTRA = 300;

// The block the reply carries: 16-bit length, then that many body bytes after the first CR LF.
std::optional<Bytes> ModelBody(const uint8_t* reply, size_t size) {
  for (size_t i = 0; i + 1 < size; ++i) {
    if (reply[i] != 0x0D || reply[i + 1] != 0x0A) continue;
    size_t at = i + 2;
    if (size - at < 2) return std::nullopt;
    size_t length = reply[at] | (reply[at + 1] << 8);
    at += 2;
    if (length == 0 || length > size - at) return std::nullopt;
    return Bytes(reply + at, reply + at + length);
  }
  return std::nullopt;
}

// Data of the first field of that type, when the walk reaches it without leaving the body.
std::optional<Bytes> ModelField(const Bytes& body, uint8_t type) {
  size_t at = 0;
  while (at + 2 <= body.size()) {
    size_t n = body[at + 1];
    if (at + 2 + n > body.size()) return std::nullopt;
    if (body[at] == type) return Bytes(body.begin() + at + 2, body.begin() + at + 2 + n);
    at += 2 + n;
  }
  return std::nullopt;
}

struct Checks {
  bool ready;
  bool inkLow;
  bool low0D;
};

Checks ModelChecks(const std::optional<Bytes>& body) {
  Checks c{false, false, false};
  if (!body) return c;
  if (auto status = ModelField(*body, printer_link::FIELD_STATUS)) {
    c.ready = !status->empty() && (*status)[0] == printer_link::STATUS_READY;
  }
  if (auto ink = ModelField(*body, printer_link::FIELD_INK)) {
    // n / e entries of e bytes after the size byte, each with its level as its third byte;
    // a level that would lie outside the field is not read.
    size_t n = ink->size();
    size_t e = n == 0 ? 0 : (*ink)[0];
    for (size_t i = 0; e > 0 && i < n / e; ++i) {
      size_t level = 1 + i * e + 2;
      if (level < n && (*ink)[level] <= printer_link::INK_LOW_LEVEL) c.inkLow = true;
    }
  }
  if (auto field = ModelField(*body, printer_link::FIELD_0D)) {
    c.low0D = !field->empty() && field->back() <= printer_link::FIELD_0D_LOW;
  }
  return c;
}

void CheckAgainstModel(const StatusReply& reply, const std::optional<Bytes>& body) {
  FUZZ_CHECK(reply.Empty() == !body.has_value());
  if (body) FUZZ_CHECK(reply.Body() == *body);
  Checks expected = ModelChecks(body);
  FUZZ_CHECK(reply.IsReady() == expected.ready);
  FUZZ_CHECK(reply.IsInkLow() == expected.inkLow);
  FUZZ_CHECK(reply.IsField0DLow() == expected.low0D);
}

void ReadThroughLibrary(const Bytes& reply, uint8_t mode) {
  fuzzing::FuzzPrinter& printer = fuzzing::TheFuzzPrinter();
  printer.Reset();
  printer.kb->statusReplies = {reply};
  int delivered = static_cast<int>(std::min(reply.size(), printer_link::STATUS_BUFFER));
  int claimed = delivered;
  switch ((mode >> COUNT_SHIFT) & COUNT_MASK) {
    case COUNT_TOO_MANY:
      claimed = static_cast<int>(reply.size()) + TOO_MANY_EXTRA;
      break;
    case COUNT_HALF:
      claimed = delivered / 2;
      break;
    case COUNT_NONE:
      claimed = -(mode >> NEGATIVE_SHIFT);
      break;
    default:
      break;
  }
  printer.kb->statusResult = claimed;

  printer_link::PrinterChannel channel = printer.app->Channel(printer.api.get());
  StatusReply status;
  int result = channel.ReadStatus(1, status);

  // What the library left in the zero-cleared 256-byte buffer: a positive count, whatever it
  // claims, makes the whole buffer the reply.
  uint8_t buffer[printer_link::STATUS_BUFFER] = {};
  std::copy(reply.begin(), reply.begin() + delivered, buffer);
  size_t believed = claimed > 0 ? sizeof buffer : 0;
  std::optional<Bytes> body = ModelBody(buffer, believed);
  bool hasCrLf = false;
  for (size_t i = 0; i + 1 < believed; ++i) hasCrLf |= buffer[i] == 0x0D && buffer[i + 1] == 0x0A;

  if (claimed <= 0 || !hasCrLf) {
    FUZZ_CHECK(result == claimed);
    FUZZ_CHECK(status.Empty());
  } else {
    FUZZ_CHECK(result == (body ? claimed : -1));
  }
  CheckAgainstModel(status, body);
}

}  // namespace

// Input: the mode byte, then the reply as KBGetStatus delivers it.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::FuzzInput in(data, size);
  uint8_t mode = in.Byte();
  const Bytes reply = in.Rest();

  // Exactly the reply's bytes on the heap, so a read past them is seen.
  auto exact = std::make_unique<uint8_t[]>(reply.size());
  if (!reply.empty()) std::memcpy(exact.get(), reply.data(), reply.size());
  StatusReply status;
  bool assigned = status.Assign(exact.get(), reply.size());
  std::optional<Bytes> body = ModelBody(exact.get(), reply.size());
  FUZZ_CHECK(assigned == body.has_value());
  CheckAgainstModel(status, body);

  if (mode & MODE_READ_STATUS) ReadThroughLibrary(reply, mode);
  return 0;
}
