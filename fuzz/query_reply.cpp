// Command replies through QueryPrinter: the network path's marker search and copy out of the
// 512-byte work buffer, and the control path's repeated receive, with scripted library answers.
#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "fuzz/fuzz_printer.h"
#include "link/command_framing.h"
#include "link/printer_channel.h"

namespace {

using Bytes = std::vector<uint8_t>;
using printer_link::NETWORK_WORK_BUFFER;

constexpr uint8_t MARKER[] = {'@', 'B', 'D', 'C', ' ', 'P', 'S', 0x0D, 0x0A};
constexpr size_t MARKER_LAST_START = 502;
constexpr uint8_t FLAG_CONTROL = 0x01;
constexpr uint8_t FLAG_SIZE_AFTER = 0x01;
constexpr size_t REPLY_SIZE_LIMIT = 1024;
constexpr size_t RECEIVE_LIMIT = 8;
constexpr size_t RECEIVE_BYTES_LIMIT = 600;
constexpr uint32_t TIME_LIMIT_MS = 1000;
constexpr int HANDLE = 5;
constexpr uint8_t UNTOUCHED = 0xA5;
const Bytes COMMAND = {0x56, 0x49, 0x02, 0x00, 0x01, 0x00};

struct Receive {
  int result;
  std::optional<uint32_t> sizeAfter;
  Bytes bytes;
};

// Marker positions the search must report: the first within 0 to 502, or none.
long ModelMarker(const uint8_t* work, size_t size) {
  for (size_t k = 0; k <= MARKER_LAST_START && k + sizeof MARKER <= size; ++k) {
    if (std::equal(MARKER, MARKER + sizeof MARKER, work + k)) return static_cast<long>(k);
  }
  return -1;
}

void CheckMarkerSearch(const Bytes& bytes) {
  auto exact = std::make_unique<uint8_t[]>(bytes.size());
  if (!bytes.empty()) std::memcpy(exact.get(), bytes.data(), bytes.size());
  long k = printer_link::FindReplyMarker(exact.get(), bytes.size());
  FUZZ_CHECK(k == ModelMarker(exact.get(), bytes.size()));
  if (k >= 0) {
    FUZZ_CHECK(k <= static_cast<long>(MARKER_LAST_START));
    FUZZ_CHECK(std::memcmp(exact.get() + k, MARKER, sizeof MARKER) == 0);
  }
}

// The network path: each receive lands in a zeroed work buffer offered at most 512 bytes; the
// first with a positive count and a marker ends the query, copying from the marker when the
// bytes up to the count fit the reply area and the receive's size.
int ModelNetwork(const std::vector<Receive>& receives, uint32_t replySize, Bytes* reply) {
  uint32_t offered = std::min<uint32_t>(replySize, NETWORK_WORK_BUFFER);
  for (const Receive& r : receives) {
    uint8_t work[NETWORK_WORK_BUFFER] = {};
    size_t n = std::min<size_t>(r.bytes.size(), offered);
    std::copy(r.bytes.begin(), r.bytes.begin() + n, work);
    uint32_t size = r.sizeAfter.value_or(static_cast<uint32_t>(n));
    if (r.result < 0) return r.result;
    if (r.result == 0) continue;
    long k = ModelMarker(work, sizeof work);
    if (k < 0) continue;
    long m = r.result - k;
    if (m > 0 && m < static_cast<long>(size) && m < static_cast<long>(replySize) &&
        k + m <= static_cast<long>(sizeof work)) {
      std::copy(work + k, work + k + m, reply->begin());
    }
    return r.result;
  }
  return 0;  // silent until the time limit
}

// The control path: the reply area is handed to every receive; the first count other than 0
// is the answer.
int ModelControl(const std::vector<Receive>& receives, uint32_t replySize, Bytes* reply) {
  for (const Receive& r : receives) {
    size_t n = std::min<size_t>(r.bytes.size(), replySize);
    std::copy(r.bytes.begin(), r.bytes.begin() + n, reply->begin());
    if (r.result != 0) return r.result;
  }
  return 0;
}

}  // namespace

// Input: flags (bit 0: control channel), the reply area's size, the number of receives, and
// per receive: its 16-bit signed count, a flags byte (bit 0: the size argument is left at the
// next 16-bit value), that value, the byte count and the bytes written.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::FuzzInput in(data, size);
  uint8_t flags = in.Byte();
  uint32_t replySize = 1 + in.U16() % REPLY_SIZE_LIMIT;
  size_t count = in.Byte() % (RECEIVE_LIMIT + 1);
  std::vector<Receive> receives;
  for (size_t i = 0; i < count; ++i) {
    Receive r;
    r.result = static_cast<int16_t>(in.U16());
    bool hasSizeAfter = in.Byte() & FLAG_SIZE_AFTER;
    uint16_t sizeAfter = in.U16();
    if (hasSizeAfter) r.sizeAfter = sizeAfter;
    r.bytes = in.Bytes(in.U16() % RECEIVE_BYTES_LIMIT);
    CheckMarkerSearch(r.bytes);
    receives.push_back(r);
  }
  bool control = flags & FLAG_CONTROL;

  fuzzing::FuzzPrinter& printer = fuzzing::TheFuzzPrinter();
  printer.Reset();
  fakes::KbScript& kb = *printer.kb;
  kb.channels = {{control ? printer_link::CHANNEL_CONTROL : printer_link::CHANNEL_NETWORK, 0x07}};
  kb.openResult = HANDLE;
  for (const Receive& r : receives) kb.receives.emplace_back(r.result, r.bytes, r.sizeAfter);

  // The reply area is exactly replySize bytes on the heap: a copy past it is seen.
  auto area = std::make_unique<uint8_t[]>(replySize);
  std::memset(area.get(), UNTOUCHED, replySize);
  printer_link::PrinterChannel channel = printer.app->Channel(printer.api.get());
  int result = channel.QueryPrinter(fuzzing::FUZZ_QUEUE, COMMAND.data(), COMMAND.size(), area.get(),
                                    replySize, TIME_LIMIT_MS);

  Bytes expected(replySize, UNTOUCHED);
  int expectedResult = control ? ModelControl(receives, replySize, &expected)
                               : ModelNetwork(receives, replySize, &expected);
  FUZZ_CHECK(result == expectedResult);
  FUZZ_CHECK(std::equal(expected.begin(), expected.end(), area.get()));

  // The library is never told of more room than the buffer it writes into has.
  uint32_t room = control ? replySize : std::min<uint32_t>(replySize, NETWORK_WORK_BUFFER);
  for (uint32_t offered : kb.receiveSizes) FUZZ_CHECK(offered == room);
  FUZZ_CHECK(kb.receiveLimits.size() == kb.receiveSizes.size());
  FUZZ_CHECK(kb.closedHandles == std::vector<int>{HANDLE});
  FUZZ_CHECK(kb.sent.size() == 1);
  if (control) {
    FUZZ_CHECK(kb.sent[0] == COMMAND);
  } else {
    Bytes wrapped;
    FUZZ_CHECK(printer_link::WrapSnmp(COMMAND.data(), COMMAND.size(), &wrapped));
    FUZZ_CHECK(kb.sent[0] == wrapped);
  }
  return 0;
}
