// Live and peak heap bytes of the benchmark binary, counted by its own operator new.
#pragma once

#include <cstdint>

namespace bench {

uint64_t HeapLive();
// The highest live count since the last reset.
uint64_t HeapPeak();
// Starts a new peak at the live count.
void ResetHeapPeak();

}  // namespace bench
