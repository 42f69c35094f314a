// The modeless wait dialog: blinking picture, optional Cancel, time limit; polled by its caller.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "link/progress_wait.h"
#include "platform/ui.h"
#include "shell/busy_dialog_ids.h"

namespace shell {

class ToolApp;

using BusyState = printer_link::WaitState;

constexpr int BUSY_CELL_WIDTH = 32;
constexpr int BUSY_BLINK_TIMER = 100;
constexpr int BUSY_LIMIT_TIMER = 101;
constexpr uint32_t BUSY_BLINK_MS = 1000;

class BusyDialog : public ui::DialogHandler, public printer_link::ProgressWait {
 public:
  explicit BusyDialog(ToolApp& app);
  ~BusyDialog() override;

  // False when the dialog cannot be created (the state then stays Cancelled).
  bool Start(const std::string& caption, uint32_t limitMs, bool cancellable,
             ui::View* owner) override;
  // Processes every pending message, then answers the state.
  BusyState Poll() override;
  void DisableCancel() override;
  void Stop() override;

  BusyState State() const { return state_; }

  // ui::DialogHandler
  bool OnInit(ui::View& view) override;
  void OnCommand(int id, int code) override;
  void OnTimer(int id) override;
  void OnPaint(ui::Canvas& canvas) override;
  void OnDestroy() override;
  bool WhiteBackground() override;

 private:
  ToolApp& app_;
  BusyState state_ = BusyState::Running;
  int phase_ = 0;
  bool cancellable_ = true;
  bool cancelDisabled_ = false;
  std::string caption_;
  ui::View* owner_ = nullptr;
  ui::View* view_ = nullptr;
  std::unique_ptr<ui::View> window_;
};

// The busy dialogs and message pumping the printer link's waits use.
class BusyWindows : public printer_link::WaitWindows {
 public:
  explicit BusyWindows(ToolApp& app) : app_(app) {}
  std::unique_ptr<printer_link::ProgressWait> NewWait() override;
  void PumpMessages() override;

 private:
  ToolApp& app_;
};

}  // namespace shell
