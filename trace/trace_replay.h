// Answers a program's calls from a trace, in the recorded order of each export: a call takes the
// next recorded call of its export that has not answered yet, and must ask what that one asked.
#pragma once

#include <string>

#include "trace/trace_format.h"

namespace trace {

struct Divergence {
  size_t callNumber = 0;  // of the program's calls in this replay, from 1
  std::string expected;   // the recorded call due, or "end of trace"
  std::string actual;     // what the program asked
};

std::string FormatDivergence(const Divergence& divergence);

// The export whose calls a timed wait repeats: the number of them depends on the clock of the
// run, not on the printer, so a run of equal polls answers a run of any length.
constexpr char POLL_EXPORT[] = "KBGetStatus";

class TraceReplay {
 public:
  // used holds one '1' or '0' per recorded call and calls the number of calls answered or not;
  // both are kept by the owner between calls (the simulated printer keeps them in its state).
  TraceReplay(const Trace& trace, std::string* used, size_t* calls);

  // The recorded call that answers request, or null with *divergence filled.
  const Call* Answer(const Call& request, Divergence* divergence);

  // Recorded calls that no call took, in order.
  size_t Unanswered() const;
  // The first of them as FormatRequest writes it, or empty.
  std::string FirstUnanswered() const;

 private:
  // Index of the first recorded call of name not yet taken, or the number of calls.
  size_t NextOf(const std::string& name) const;
  // Index of the last recorded call of name taken before NextOf(name), or the number of calls.
  size_t LastTakenOf(const std::string& name) const;

  const Trace& trace_;
  std::string& used_;
  size_t& calls_;
};

}  // namespace trace
