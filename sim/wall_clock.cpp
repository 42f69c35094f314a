// Calendar-time ticks for the stand-in library and kdsim.
#include "sim/wall_clock.h"

#include <chrono>
#include <thread>

namespace sim {

uint32_t WallClock::TickCount() {
  auto now = std::chrono::system_clock::now().time_since_epoch();
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void WallClock::Sleep(uint32_t ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace sim
