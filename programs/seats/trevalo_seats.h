// Trevalo's seats for the adjustment page, the detail dialogs and the sample print, over the
// application object.
#pragma once

#include "feed/adjustment_page.h"
#include "feed/detail_seat.h"
#include "link/driver_settings_api.h"
#include "programs/seats/app_seat.h"
#include "samples/sample_print.h"
#include "shell/page.h"

namespace programs {

class AppDetailSeat : public AppSeat<feed::DetailSeat> {
 public:
  AppDetailSeat(shell::ToolApp& app, shell::PageHost& host, feed::SamplePrinter& samples)
      : AppSeat(app), host_(host), samples_(samples) {}

  bool ChooseFile(ui::View* owner, const std::string& filter, std::string* chosen) override {
    return app_.Host().ChooseFile(owner, filter, "", "", chosen);
  }
  void OpenManual(int page, int topic) override { host_.OpenManual(page, topic); }
  std::string ReadAdjustValue(const feed::AdjustmentSelection& selection, int valueKind) override;
  int WriteAdjustValue(const feed::AdjustmentSelection& selection, int value,
                       const std::string& valueString, int valueKind) override;
  void Sleep(uint32_t ms) override { app_.Clock().Sleep(ms); }
  feed::SamplePrinter& Samples() override { return samples_; }

 private:
  shell::PageHost& host_;
  feed::SamplePrinter& samples_;
};

class AppAdjustmentSeat : public AppSeat<feed::AdjustmentSeat> {
 public:
  AppAdjustmentSeat(shell::ToolApp& app, feed::DetailSeat& details)
      : AppSeat(app), details_(details) {}

  int ReadInkClass() override;
  int RunDetail(int adjustmentKind, feed::AdjustmentSelection& selection,
                ui::View* parent) override;

 private:
  feed::DetailSeat& details_;
};

// The sample print's seat: the application object's printer, texts, registry, busy dialog,
// spooler and printing, with the program's driver settings.
class AppSamplePrintSeat : public feed::SamplePrintSeat {
 public:
  // driverSettings may be null (the run then fails its first driver step).
  AppSamplePrintSeat(shell::ToolApp& app, printer_link::DriverSettingsApi* driverSettings)
      : app_(app),
        dialogs_(app),
        driverSettings_(driverSettings),
        printer_(app),
        options_(app.Registry(), app.Profile().optionsSubkey, [&app] { return app.DriverName(); }) {
  }

  bool StillInstalled() override { return printer_.StillInstalled(); }
  bool MatchDeviceId() override { return printer_.MatchDeviceId(); }
  int WaitUntilReady(bool showDialog, ui::View* parent) override {
    return printer_.WaitUntilReady(showDialog, parent);
  }
  shell::LaunchMode Launch() override { return app_.Launch(); }
  std::string Text(int number) override { return app_.GetText(number); }
  ui::Answer Message(ui::View* owner, const std::string& text, ui::Icon icon,
                     ui::Buttons buttons) override {
    return dialogs_.Message(owner, text, icon, buttons);
  }
  platform::Files& Files() override { return app_.Files(); }
  std::string ProgramFolder() override { return app_.ProgramDirectory(); }
  shell::ToolOptions& Options() override { return options_; }
  std::string PrinterName() override { return app_.PrinterName(); }
  std::string DriverName() override { return app_.DriverName(); }
  std::unique_ptr<printer_link::ProgressWait> NewBusyDialog() override {
    return app_.Waits().NewWait();
  }
  int RunPaperSetting(const feed::AdjustmentSelection& selection, ui::View* parent) override;
  printer_link::DriverSettingsApi* DriverSettings() override { return driverSettings_; }
  platform::Spooler& Spooler() override { return app_.Spooler(); }
  platform::Clock& Clock() override { return app_.Clock(); }
  platform::Printing* Printing() override { return app_.Printing(); }
  ui::FontDescription InterfaceFont() override { return app_.Fonts().BaseDescription(); }

 private:
  shell::ToolApp& app_;
  // The paper setting dialog's, and the message boxes'.
  AppSeat<shell::ToolSeat> dialogs_;
  printer_link::DriverSettingsApi* driverSettings_;
  ChosenPrinter printer_;
  shell::ModelKeyOptions options_;
};

}  // namespace programs
