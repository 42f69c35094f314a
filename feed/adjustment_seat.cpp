// The adjustment page's and the detail dialogs' seats over the application object.
#include "feed/adjustment_seat.h"

#include "feed/ink_configuration.h"
#include "feed/paper_feed_detail.h"
#include "feed/paper_setting_data.h"
#include "feed/pellan_detail.h"
#include "shell/printer_choice.h"
#include "shell/registry_key.h"

namespace feed {

namespace {

bool ChosenPrinterMatches(shell::ToolApp& app) {
  return app.Channel(app.PrinterLink()).MatchDeviceId(app.PrinterName(), app.DriverName());
}

bool ChosenPrinterReady(shell::ToolApp& app, ui::View* parent) {
  printer_link::PrinterChannel channel = app.Channel(app.PrinterLink());
  return channel.WaitUntilReady(app.PrinterName(), true, parent) != printer_link::WAIT_NOT_READY;
}

}  // namespace

int AppAdjustmentSeat::ReadInkClass() {
  printer_link::PrinterChannel channel = app_.Channel(app_.PrinterLink());
  return feed::ReadInkClass(channel, app_.PrinterName());
}

bool AppAdjustmentSeat::PrinterInstalled() {
  return shell::ChosenPrinterStillInstalled(app_);
}

bool AppAdjustmentSeat::MatchDeviceId() {
  return ChosenPrinterMatches(app_);
}

bool AppAdjustmentSeat::WaitUntilReady(ui::View* parent) {
  return ChosenPrinterReady(app_, parent);
}

int AppAdjustmentSeat::RunDetail(int adjustmentKind, AdjustmentSelection& selection,
                                 ui::View* parent) {
  switch (adjustmentKind) {
    case ADJUST_PAPER_FEED: {
      PaperFeedDetail dialog(details_, selection);
      return app_.Host().RunModal(IDD_PAPER_FEED_DETAIL, parent, dialog);
    }
    case ADJUST_PELLAN: {
      PellanDetail dialog(details_, selection);
      return app_.Host().RunModal(IDD_PELLAN_DETAIL, parent, dialog);
    }
    default:
      return -1;
  }
}

ui::Answer AppDetailSeat::Message(ui::View* owner, const std::string& text, ui::Icon icon,
                                  ui::Buttons buttons) {
  return app_.Host().MessageBox(owner, text, app_.GetText(app_.Profile().titleText), icon, buttons);
}

std::string AppDetailSeat::ModelKeyPath() const {
  return std::string(shell::REG_SUITE_PATH) + "\\" + shell::ModelKeyName(app_.DriverName());
}

int32_t AppDetailSeat::GetNumber(const std::string& name, int32_t fallback) {
  shell::RegistryKey key(app_.Registry(), platform::HIVE_CURRENT_USER, ModelKeyPath(), false);
  return key.GetNumber(TOOL_REGISTRY_SUBKEY, name, fallback);
}

void AppDetailSeat::SetNumber(const std::string& name, int32_t value) {
  shell::RegistryKey key(app_.Registry(), platform::HIVE_CURRENT_USER, ModelKeyPath(), false);
  key.SetNumber(TOOL_REGISTRY_SUBKEY, name, value);
}

std::string AppDetailSeat::GetString(const std::string& name, const std::string& fallback) {
  shell::RegistryKey key(app_.Registry(), platform::HIVE_CURRENT_USER, ModelKeyPath(), false);
  return key.GetString(TOOL_REGISTRY_SUBKEY, name, fallback);
}

void AppDetailSeat::SetString(const std::string& name, const std::string& value) {
  shell::RegistryKey key(app_.Registry(), platform::HIVE_CURRENT_USER, ModelKeyPath(), false);
  key.SetString(TOOL_REGISTRY_SUBKEY, name, value);
}

bool AppDetailSeat::ChooseFile(ui::View* owner, const std::string& filter, std::string* chosen) {
  return app_.Host().ChooseFile(owner, filter, "", "", chosen);
}

bool AppDetailSeat::PrinterInstalled() {
  return shell::ChosenPrinterStillInstalled(app_);
}

bool AppDetailSeat::MatchDeviceId() {
  return ChosenPrinterMatches(app_);
}

bool AppDetailSeat::WaitUntilReady(ui::View* parent) {
  return ChosenPrinterReady(app_, parent);
}

std::string AppDetailSeat::ReadAdjustValue(const AdjustmentSelection& selection, int valueKind) {
  printer_link::PrinterChannel channel = app_.Channel(app_.PrinterLink());
  return feed::ReadAdjustValue(channel, app_.Settings(), app_.PrinterName(), selection, valueKind);
}

int AppDetailSeat::WriteAdjustValue(const AdjustmentSelection& selection, int value,
                                    const std::string& valueString, int valueKind) {
  return feed::WriteAdjustValue(app_.Spooler(), app_.Settings(), app_.PrinterName(), selection,
                                value, valueString, valueKind);
}

}  // namespace feed
