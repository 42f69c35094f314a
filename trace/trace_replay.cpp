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

const Call* TraceReplay::Answer(const Call& request, Divergence* divergence) {
  ++calls_;
  for (size_t i = 0; i < trace_.calls.size(); ++i) {
    if (used_[i] == USED || !SameRequest(trace_.calls[i], request)) continue;
    used_[i] = USED;
    return &trace_.calls[i];
  }
  divergence->callNumber = calls_;
  std::string next = FirstUnanswered();
  divergence->expected = next.empty() ? "end of trace" : next;
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
