// The sample print run: checks, driver settings per sample, the jobs, the sheet commands, the
// waits on the spooler and the closing steps, over a narrow seat.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "link/driver_settings_api.h"
#include "link/progress_wait.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/print_surface.h"
#include "platform/spooler.h"
#include "platform/ui.h"
#include "samples/adjustment_selection.h"
#include "samples/sample_run.h"
#include "samples/sheet_grouping.h"
#include "shell/launch_mode.h"
#include "shell/printer_check.h"
#include "shell/tool_options.h"

namespace feed {

// The standard picture under the program's folder.
constexpr char STANDARD_SAMPLE_IMAGE[] = "Settings\\Sample.bmp";

// Texts of the run.
constexpr int TEXT_RUN_TITLE = 0;  // the busy dialog's caption
constexpr int TEXT_CONFIRM_HEAD = 20313;
constexpr int TEXT_CONFIRM_PAGES = 20314;
constexpr int TEXT_CONFIRM_SHEETS = 20315;
constexpr int TEXT_CONFIRM_SAMPLES = 20316;

// The busy dialog's limit for the whole run.
constexpr uint32_t SAMPLE_RUN_LIMIT_MS = 1800000;
// Closing steps: the printer must report ready within this, asked every look interval.
constexpr uint32_t CLOSING_READY_LIMIT_MS = 60000;
// The open number the run's driver-settings handle is asked with.
constexpr int SAMPLE_OPEN_NUMBER = 1;

// Before the jobs: still installed, the model in launch mode Normal, ready in Normal (the paper
// feed detail asks readiness in every launch mode).
constexpr shell::PrinterCheck SAMPLE_CHECK = {
    shell::IN_EVERY_MODE, shell::IN_NORMAL, shell::IN_NORMAL, true, false, shell::PAGE_CHECK_TEXTS};

// The paper size and auto cut the paper setting dialog stores for the run.
constexpr char AUTO_CUT_VALUE[] = "AutoCutR";
constexpr char PAPER_SIZE_VALUE[] = "PaperSize";  // the driver's paper size code
constexpr shell::NumberOption AUTO_CUT_OPTION = {AUTO_CUT_VALUE, AUTO_CUT_ON};
constexpr shell::NumberOption PAPER_SIZE_OPTION = {PAPER_SIZE_VALUE, 0};

// What the run needs from the program around it; the chosen printer answers the run's check.
class SamplePrintSeat : public shell::CheckedPrinter {
 public:
  virtual shell::LaunchMode Launch() = 0;
  virtual std::string Text(int number) = 0;
  // A message box with the program title as caption; OK/Cancel boxes answer which was pressed.
  virtual ui::Answer Message(ui::View* owner, const std::string& text, ui::Icon icon,
                             ui::Buttons buttons) = 0;
  virtual platform::Files& Files() = 0;
  // The program's folder, without a closing backslash.
  virtual std::string ProgramFolder() = 0;
  // The values under the program's subkey of the model's key.
  virtual shell::ToolOptions& Options() = 0;
  virtual std::string PrinterName() = 0;
  virtual std::string DriverName() = 0;
  // A new, not yet started busy dialog; null when none can be made.
  virtual std::unique_ptr<printer_link::ProgressWait> NewBusyDialog() = 0;
  // The paper setting dialog, modal over parent: RESULT_OK or RESULT_CANCEL.
  virtual int RunPaperSetting(const AdjustmentSelection& selection, ui::View* parent) = 0;
  // The bound driver-settings library; null when there is none.
  virtual printer_link::DriverSettingsApi* DriverSettings() = 0;
  virtual platform::Spooler& Spooler() = 0;
  virtual platform::Clock& Clock() = 0;
  // Null where nothing can be printed.
  virtual platform::Printing* Printing() = 0;
  // The description of the program's interface font, for the captions.
  virtual ui::FontDescription InterfaceFont() = 0;
};

class SamplePrint : public SamplePrinter {
 public:
  explicit SamplePrint(SamplePrintSeat& seat) : seat_(seat) {}
  void Run(const SampleRunRequest& request, ui::View* parent) override;

 private:
  SamplePrintSeat& seat_;
};

}  // namespace feed
