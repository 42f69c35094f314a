// The chosen printer of the application object.
#include "programs/seats/app_seat.h"

#include "shell/printer_choice.h"

namespace programs {

bool ChosenPrinter::StillInstalled() {
  return shell::ChosenPrinterStillInstalled(app_);
}

// A channel of its own for each question, as the printer may be chosen anew between two.
bool ChosenPrinter::MatchDeviceId() {
  return app_.Channel(app_.PrinterLink()).MatchDeviceId(app_.PrinterName(), app_.DriverName());
}

int ChosenPrinter::WaitUntilReady(bool showDialog, ui::View* parent) {
  return app_.Channel(app_.PrinterLink()).WaitUntilReady(app_.PrinterName(), showDialog, parent);
}

}  // namespace programs
