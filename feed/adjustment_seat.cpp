// The adjustment page's seat over the application object.
#include "feed/adjustment_seat.h"

#include <vector>

#include "feed/ink_configuration.h"
#include "shell/printer_choice.h"

namespace feed {

bool PrinterStillInstalled(platform::Spooler& spooler, shell::LaunchMode mode,
                           platform::OsVersion version, const std::string& printerName,
                           const std::string& driverName) {
  std::vector<platform::PrinterQueue> queues;
  if (!spooler.EnumeratePrinters(&queues)) return false;
  for (const platform::PrinterQueue& queue : queues) {
    if (queue.printerName == printerName && queue.driverName == driverName &&
        shell::IsAcceptedPort(mode, version, queue.portName)) {
      return true;
    }
  }
  return false;
}

int AppAdjustmentSeat::ReadInkClass() {
  printer_link::PrinterChannel channel = app_.Channel(app_.PrinterLink());
  return feed::ReadInkClass(channel, app_.PrinterName());
}

bool AppAdjustmentSeat::PrinterInstalled() {
  return PrinterStillInstalled(app_.Spooler(), app_.Launch(), app_.System().Version(),
                               app_.PrinterName(), app_.DriverName());
}

bool AppAdjustmentSeat::MatchDeviceId() {
  return app_.Channel(app_.PrinterLink()).MatchDeviceId(app_.PrinterName(), app_.DriverName());
}

bool AppAdjustmentSeat::WaitUntilReady(ui::View* parent) {
  printer_link::PrinterChannel channel = app_.Channel(app_.PrinterLink());
  return channel.WaitUntilReady(app_.PrinterName(), true, parent) != printer_link::WAIT_NOT_READY;
}

}  // namespace feed
