// Answers a program's calls from a trace: each call takes the next recorded call of the same
// export and arguments that has not answered yet.
#pragma once

#include <string>

#include "trace/trace_format.h"

namespace trace {

struct Divergence {
  size_t callNumber = 0;  // of the program's calls in this replay, from 1
  std::string expected;   // the next recorded call not yet answered, or "end of trace"
  std::string actual;     // what the program asked
};

std::string FormatDivergence(const Divergence& divergence);

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
  const Trace& trace_;
  std::string& used_;
  size_t& calls_;
};

}  // namespace trace
