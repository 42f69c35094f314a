// Millisecond tick count and sleep, so that waits can run on a fake clock in tests.
#pragma once

#include <cstdint>

namespace platform {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since an arbitrary start; wraps like the system tick count.
  virtual uint32_t TickCount() = 0;
  // Blocks for at least ms milliseconds (a fake clock only advances).
  virtual void Sleep(uint32_t ms) = 0;
};

}  // namespace platform
