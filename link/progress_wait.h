// What a printer action shows while it waits: the program's busy dialog realises it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/ui.h"

namespace printer_link {

enum class WaitState { Running = 0, Cancelled = 1, TimedOut = 2 };

// One wait window, started once.
class ProgressWait {
 public:
  virtual ~ProgressWait() = default;
  // False when the window cannot be created (a poll then answers Cancelled). owner null: the
  // program's main window is disabled while the wait shows.
  virtual bool Start(const std::string& caption, uint32_t limitMs, bool cancellable,
                     ui::View* owner) = 0;
  // Processes every pending message, then answers the state.
  virtual WaitState Poll() = 0;
  // Cancel no longer counts (a wait whose closing steps must run through); the state stays.
  virtual void DisableCancel() {}
  virtual void Stop() = 0;
};

// What a long action may ask of the windows around it.
class WaitWindows {
 public:
  virtual ~WaitWindows() = default;
  // A new, not yet started wait window; null when none can be made.
  virtual std::unique_ptr<ProgressWait> NewWait() = 0;
  // Removes and dispatches every waiting message of the thread.
  virtual void PumpMessages() = 0;
};

}  // namespace printer_link
