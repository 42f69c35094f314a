// The sample print's seat over the application object.
#include "feed/sample_print_seat.h"

#include "feed/detail_seat.h"
#include "feed/paper_setting_dialog.h"
#include "shell/printer_choice.h"
#include "shell/registry_key.h"

namespace feed {

ui::Answer AppSamplePrintSeat::Message(ui::View* owner, const std::string& text, ui::Icon icon,
                                       ui::Buttons buttons) {
  return app_.Host().MessageBox(owner, text, app_.GetText(app_.Profile().titleText), icon, buttons);
}

int32_t AppSamplePrintSeat::GetNumber(const std::string& name, int32_t fallback) {
  std::string model =
      std::string(shell::REG_SUITE_PATH) + "\\" + shell::ModelKeyName(app_.DriverName());
  shell::RegistryKey key(app_.Registry(), platform::HIVE_CURRENT_USER, model, false);
  return key.GetNumber(TOOL_REGISTRY_SUBKEY, name, fallback);
}

bool AppSamplePrintSeat::PrinterInstalled() {
  return shell::ChosenPrinterStillInstalled(app_);
}

bool AppSamplePrintSeat::MatchDeviceId() {
  return app_.Channel(app_.PrinterLink()).MatchDeviceId(app_.PrinterName(), app_.DriverName());
}

bool AppSamplePrintSeat::WaitUntilReady(bool showDialog, ui::View* parent) {
  printer_link::PrinterChannel channel = app_.Channel(app_.PrinterLink());
  // As the detail dialogs' own checks: only a printer that answered "not ready" stops the run.
  return channel.WaitUntilReady(app_.PrinterName(), showDialog, parent) !=
         printer_link::WAIT_NOT_READY;
}

int AppSamplePrintSeat::RunPaperSetting(const AdjustmentSelection& selection, ui::View* parent) {
  return feed::RunPaperSetting(app_.Host(), dialogs_, driverSettings_, app_.PrinterName(),
                               selection, parent);
}

}  // namespace feed
