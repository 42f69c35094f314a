// The application's seat over a printer link the test bound itself.
#pragma once

#include "link/bidi_api.h"
#include "programs/seats/app_seat.h"

namespace fakes {

class LinkedSeat : public programs::AppSeat<shell::ToolSeat> {
 public:
  LinkedSeat(shell::ToolApp& app, printer_link::BidiApi* link) : AppSeat(app), link_(link) {}
  printer_link::BidiApi* PrinterLink() override { return link_; }

 private:
  printer_link::BidiApi* link_;
};

}  // namespace fakes
