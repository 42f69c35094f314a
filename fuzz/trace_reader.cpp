// Trace lines: the reader never reads past a line, every line it takes writes back to itself,
// and a replayed answer never writes past the program's buffers, whatever a hand-edited trace
// holds.
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "link/driver_settings_api.h"
#include "trace/trace_calls.h"
#include "trace/trace_format.h"
#include "trace/trace_replay.h"

namespace {

using trace::Flow;

constexpr size_t BUFFER = 256;
constexpr size_t GUARD = 16;
constexpr uint8_t GUARD_BYTE = 0xA5;

// A buffer of room bytes with a guard behind it that no answer may touch.
struct Guarded {
  std::vector<uint8_t> bytes = std::vector<uint8_t>(BUFFER + GUARD, GUARD_BYTE);
  uint8_t* data() { return bytes.data(); }
  bool Intact(size_t room) const {
    for (size_t i = room; i < bytes.size(); ++i) {
      if (bytes[i] != GUARD_BYTE) return false;
    }
    return true;
  }
};

void AnswerEverything(trace::Call call) {
  uint32_t size = BUFFER;
  Guarded a;
  trace::KBGetStatusAnswer(call, Flow::Replay, a.data(), BUFFER, &size);
  FUZZ_CHECK(a.Intact(BUFFER));
  Guarded b;
  trace::KBReceiveAnswer(call, Flow::Replay, b.data(), BUFFER / 2, &size);
  FUZZ_CHECK(b.Intact(BUFFER / 2));
  Guarded c;
  trace::KBGetDeviceIDAnswer(call, Flow::Replay, reinterpret_cast<char*>(c.data()), BUFFER, &size);
  FUZZ_CHECK(c.Intact(BUFFER));
  Guarded d;
  trace::KDDM_GetDevModeAnswer(call, Flow::Replay, d.data(), BUFFER / 4);
  FUZZ_CHECK(d.Intact(BUFFER / 4));

  // The name block and the id range with the program's own room.
  Guarded name;
  printer_link::NameRequestBlock request;
  request.nameSize = BUFFER / 2;
  request.name = reinterpret_cast<char*>(name.data());
  trace::KDDM_GetDataAnswer(call, Flow::Replay, printer_link::ITEM_NAME, &request);
  FUZZ_CHECK(name.Intact(BUFFER / 2));
  Guarded ids;
  printer_link::IdRangeBlock range;
  range.count = 3;
  range.elementSize = 2;
  range.ids = ids.data();
  trace::KDDM_GetRangeAnswer(call, Flow::Replay, printer_link::ITEM_MEDIA_TYPES, &range);
  FUZZ_CHECK(ids.Intact(6));
  Guarded block;
  trace::KDDM_GetDataAnswer(call, Flow::Replay, printer_link::ITEM_FEED_DATA, block.data());
  FUZZ_CHECK(block.Intact(trace::ItemBlockSize(printer_link::ITEM_FEED_DATA)));
}

}  // namespace

// Input: the text of a trace.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  trace::Trace read = trace::ReadTrace(text);
  FUZZ_CHECK(read.calls.size() == read.lineNumbers.size());
  for (size_t i = 0; i < read.calls.size(); ++i) {
    const trace::Call& call = read.calls[i];
    // Written again, the call reads back the same.
    trace::Call again;
    std::string problem;
    FUZZ_CHECK(trace::ParseLine(trace::FormatCall(call), &again, &problem) ==
               trace::LineRead::Call);
    FUZZ_CHECK(trace::SameRequest(call, again) && again.result == call.result &&
               again.out == call.out && again.timeMs == call.timeMs);
    AnswerEverything(call);
  }
  // Each call replays against the trace itself: it finds itself or an equal one earlier.
  std::string used;
  size_t calls = 0;
  trace::TraceReplay replay(read, &used, &calls);
  for (const trace::Call& call : read.calls) {
    trace::Divergence divergence;
    FUZZ_CHECK(replay.Answer(call, &divergence) != nullptr);
  }
  FUZZ_CHECK(replay.Unanswered() == 0);
  return 0;
}
