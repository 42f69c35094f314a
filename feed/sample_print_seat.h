// The sample print's seat in the running program: the application object's printer, texts,
// registry, busy dialog, spooler and printing, with the program's driver settings.
#pragma once

#include "feed/detail_seat.h"
#include "feed/sample_print.h"
#include "shell/tool_app.h"

namespace feed {

class AppSamplePrintSeat : public SamplePrintSeat {
 public:
  // driverSettings may be null (the run then fails its first driver step); the paper setting
  // dialog runs on the dialogs' seat.
  AppSamplePrintSeat(shell::ToolApp& app, DetailSeat& dialogs,
                     printer_link::DriverSettingsApi* driverSettings)
      : app_(app), dialogs_(dialogs), driverSettings_(driverSettings) {}

  shell::LaunchMode Launch() override { return app_.Launch(); }
  std::string Text(int number) override { return app_.GetText(number); }
  ui::Answer Message(ui::View* owner, const std::string& text, ui::Icon icon,
                     ui::Buttons buttons) override;
  platform::Files& Files() override { return app_.Files(); }
  std::string ProgramFolder() override { return app_.ProgramDirectory(); }
  int32_t GetNumber(const std::string& name, int32_t fallback) override;
  std::string PrinterName() override { return app_.PrinterName(); }
  std::string DriverName() override { return app_.DriverName(); }
  bool PrinterInstalled() override;
  bool MatchDeviceId() override;
  bool WaitUntilReady(bool showDialog, ui::View* parent) override;
  std::unique_ptr<printer_link::ProgressWait> NewBusyDialog() override {
    return app_.Waits().NewWait();
  }
  int RunPaperSetting(const AdjustmentSelection& selection, ui::View* parent) override;
  printer_link::DriverSettingsApi* DriverSettings() override { return driverSettings_; }
  platform::Spooler& Spooler() override { return app_.Spooler(); }
  platform::Clock& Clock() override { return app_.Clock(); }
  platform::Printing* Printing() override { return app_.Printing(); }
  ui::FontDescription InterfaceFont() override { return app_.Fonts().BaseDescription(); }

 private:
  shell::ToolApp& app_;
  DetailSeat& dialogs_;
  printer_link::DriverSettingsApi* driverSettings_;
};

}  // namespace feed
