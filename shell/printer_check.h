// The one rule before anything reaches the chosen printer: still installed, the expected model,
// ready. A printer that did not become ready is asked its model again, so that another printer
// behind the queue is not reported as a busy one.
#pragma once

#include <functional>
#include <string>

#include "link/printer_channel.h"
#include "platform/ui.h"
#include "shell/launch_mode.h"
#include "shell/layout.h"
#include "shell/shared_texts.h"

namespace shell {

// The chosen printer as the check asks it.
class CheckedPrinter {
 public:
  virtual ~CheckedPrinter() = default;
  // The queue is still installed with its driver on an accepted port.
  virtual bool StillInstalled() = 0;
  virtual bool MatchDeviceId() = 0;
  // printer_link::WAIT_READY, WAIT_NOT_READY or WAIT_NO_LIBRARY.
  virtual int WaitUntilReady(bool showDialog, ui::View* parent) = 0;
};

// The check over a channel to a named queue; the channel keeps what it learns for later use.
// installed answers StillInstalled; empty: the queue counts as installed (a caller that never
// asks).
class ChannelPrinter : public CheckedPrinter {
 public:
  ChannelPrinter(printer_link::PrinterChannel& channel, std::string queue, std::string driver,
                 std::function<bool()> installed = nullptr)
      : channel_(channel),
        queue_(std::move(queue)),
        driver_(std::move(driver)),
        installed_(std::move(installed)) {}

  bool StillInstalled() override { return !installed_ || installed_(); }
  bool MatchDeviceId() override { return channel_.MatchDeviceId(queue_, driver_); }
  int WaitUntilReady(bool showDialog, ui::View* parent) override {
    return channel_.WaitUntilReady(queue_, showDialog, parent);
  }

 private:
  printer_link::PrinterChannel& channel_;
  std::string queue_;
  std::string driver_;
  std::function<bool()> installed_;
};

// Launch modes as a set, for the modes in which a step of the check runs.
using LaunchModes = unsigned;
constexpr LaunchModes IN_NO_MODE = 0;
constexpr LaunchModes IN_NORMAL = 1u << static_cast<int>(LaunchMode::Normal);
constexpr LaunchModes IN_P = 1u << static_cast<int>(LaunchMode::P);
constexpr LaunchModes IN_U = 1u << static_cast<int>(LaunchMode::U);
constexpr LaunchModes IN_EVERY_MODE = IN_NORMAL | IN_P | IN_U;

constexpr bool RunsIn(LaunchModes modes, LaunchMode mode) {
  return (modes & (1u << static_cast<int>(mode))) != 0;
}

// The texts of a check's messages.
struct PrinterCheckTexts {
  int gone;        // the queue is no longer installed (error)
  int wrongModel;  // another model answers (error)
  int notReady;    // the right printer did not become ready (warning)
};

// Kestrune's and Sunnabar's checks never ask whether the queue is still installed.
constexpr PrinterCheckTexts TOOL_CHECK_TEXTS = {NO_TEXT, TEXT_TOOL_WRONG_PRINTER,
                                                TEXT_TOOL_NOT_READY};
constexpr PrinterCheckTexts PAGE_CHECK_TEXTS = {TEXT_PAGE_PRINTER_GONE, TEXT_PAGE_WRONG_PRINTER,
                                                TEXT_PAGE_NOT_READY};

// One caller's check: which steps run in which launch modes, and how the wait shows itself.
struct PrinterCheck {
  LaunchModes installedIn;
  LaunchModes modelIn;  // checked before the wait
  LaunchModes readyIn;
  bool readyDialog;      // the wait shows the busy dialog
  bool onlyReadyPasses;  // a wait without the library stops too (else only "not ready" does)
  PrinterCheckTexts texts;
};

enum class PrinterVerdict {
  Usable,
  Gone,
  WrongModel,          // before the wait
  NotReady,            // the right model, not ready
  NotReadyWrongModel,  // not ready, and another model answers now
};

// The steps as they start, for a console that narrates them.
enum class PrinterCheckStep { Model, Ready };
using PrinterCheckSteps = std::function<void(PrinterCheckStep)>;

PrinterVerdict CheckPrinter(CheckedPrinter& printer, LaunchMode mode, const PrinterCheck& check,
                            ui::View* parent, const PrinterCheckSteps& steps = nullptr);

struct PrinterMessage {
  int text;
  ui::Icon icon;
};
// The message for a verdict other than Usable.
PrinterMessage MessageFor(PrinterVerdict verdict, const PrinterCheckTexts& texts);

// The check with its message shown through show; true when the printer may be used.
bool PrinterUsable(CheckedPrinter& printer, LaunchMode mode, const PrinterCheck& check,
                   ui::View* parent, const std::function<void(int, ui::Icon)>& show);

}  // namespace shell
