// The adjustment page's seat over the application object.
#include "feed/adjustment_seat.h"

#include "feed/ink_configuration.h"
#include "shell/printer_choice.h"

namespace feed {

int AppAdjustmentSeat::ReadInkClass() {
  printer_link::PrinterChannel channel = app_.Channel(app_.PrinterLink());
  return feed::ReadInkClass(channel, app_.PrinterName());
}

bool AppAdjustmentSeat::PrinterInstalled() {
  return shell::ChosenPrinterStillInstalled(app_);
}

bool AppAdjustmentSeat::MatchDeviceId() {
  return app_.Channel(app_.PrinterLink()).MatchDeviceId(app_.PrinterName(), app_.DriverName());
}

bool AppAdjustmentSeat::WaitUntilReady(ui::View* parent) {
  printer_link::PrinterChannel channel = app_.Channel(app_.PrinterLink());
  return channel.WaitUntilReady(app_.PrinterName(), true, parent) != printer_link::WAIT_NOT_READY;
}

}  // namespace feed
