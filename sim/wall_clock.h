// A clock on calendar time, so that separate processes sharing one state file agree on ticks.
#pragma once

#include "platform/clock.h"

namespace sim {

class WallClock : public platform::Clock {
 public:
  // Milliseconds since the epoch, cut to 32 bits like a tick count.
  uint32_t TickCount() override;
  void Sleep(uint32_t ms) override;
};

}  // namespace sim
