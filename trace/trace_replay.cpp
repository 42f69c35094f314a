// Matching a program's calls to the recorded ones.
#include "trace/trace_replay.h"

namespace trace {

namespace {

constexpr char USED = '1';
constexpr char FREE = '0';

}  // namespace

std::string FormatDivergence(const Divergence& d) {
  return "call " + std::to_string(d.callNumber) + ": expected " + d.expected + "; came " + d.actual;
}

TraceReplay::TraceReplay(const Trace& trace, std::string* used, size_t* calls)
    : trace_(trace), used_(*used), calls_(*calls) {
  // A trace edited since the last call keeps what was answered of its first calls.
  used_.resize(trace_.calls.size(), FREE);
}

size_t TraceReplay::NextOf(const std::string& name) const {
  size_t i = 0;
  while (i < trace_.calls.size() && (used_[i] == USED || trace_.calls[i].name != name)) ++i;
  return i;
}

size_t TraceReplay::LastTakenOf(const std::string& name) const {
  size_t last = trace_.calls.size();
  for (size_t i = 0; i < trace_.calls.size(); ++i) {
    if (trace_.calls[i].name != name) continue;
    if (used_[i] != USED) break;
    last = i;
  }
  return last;
}

const Call* TraceReplay::Answer(const Call& request, Divergence* divergence) {
  ++calls_;
  const size_t end = trace_.calls.size();
  size_t next = NextOf(request.name);
  if (next < end && SameRequest(trace_.calls[next], request)) {
    used_[next] = USED;
    return &trace_.calls[next];
  }
  if (request.name == POLL_EXPORT) {
    size_t last = LastTakenOf(request.name);
    if (last < end) {
      // One poll more than recorded gets the answer that ended the recorded wait.
      if (SameRequest(trace_.calls[last], request)) return &trace_.calls[last];
      // The recorded wait polled longer: its further polls are passed over.
      while (next < end && SameRequest(trace_.calls[next], trace_.calls[last])) {
        used_[next] = USED;
        next = NextOf(request.name);
      }
      if (next < end && SameRequest(trace_.calls[next], request)) {
        used_[next] = USED;
        return &trace_.calls[next];
      }
    }
  }
  divergence->callNumber = calls_;
  std::string expected = next < end ? FormatRequest(trace_.calls[next]) : FirstUnanswered();
  divergence->expected = expected.empty() ? "end of trace" : expected;
  divergence->actual = FormatRequest(request);
  return nullptr;
}

size_t TraceReplay::Unanswered() const {
  size_t count = 0;
  for (char c : used_) count += c == FREE;
  return count;
}

std::string TraceReplay::FirstUnanswered() const {
  for (size_t i = 0; i < trace_.calls.size(); ++i) {
    if (used_[i] == FREE) return FormatRequest(trace_.calls[i]);
  }
  return std::string();
}

}  // namespace trace
