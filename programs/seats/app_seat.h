// The tool libraries' seats over the application object: what every page and dialog asks of the
// program, implemented once; each library's seat adds its own few operations on top.
#pragma once

#include <memory>
#include <string>

#include "shell/page.h"
#include "shell/printer_check.h"
#include "shell/tool_app.h"
#include "shell/tool_options.h"
#include "shell/tool_seat.h"

namespace programs {

// The application object's chosen printer over its printer link, as the printer check asks it.
class ChosenPrinter : public shell::CheckedPrinter {
 public:
  explicit ChosenPrinter(shell::ToolApp& app) : app_(app) {}
  bool StillInstalled() override;
  bool MatchDeviceId() override;
  int WaitUntilReady(bool showDialog, ui::View* parent) override;

 private:
  shell::ToolApp& app_;
};

// Seat is shell::ToolSeat or a library's seat derived from it.
template <typename Seat>
class AppSeat : public Seat {
 public:
  explicit AppSeat(shell::ToolApp& app)
      : app_(app),
        printer_(app),
        options_(app.Registry(), app.Profile().optionsSubkey, [&app] { return app.DriverName(); }) {
  }

  shell::LaunchMode Launch() override { return app_.Launch(); }
  const shell::Texts& GetTexts() override { return app_.GetTexts(); }
  shell::FontCache& Fonts() override { return app_.Fonts(); }
  ui::Answer Message(ui::View* owner, const std::string& text, ui::Icon icon,
                     ui::Buttons buttons) override {
    return app_.Host().MessageBox(owner, text, app_.GetText(app_.Profile().titleText), icon,
                                  buttons);
  }
  using Seat::Message;
  std::string PrinterName() override { return app_.PrinterName(); }
  std::string DriverName() override { return app_.DriverName(); }
  bool OpenedByPrinterChoice() override { return app_.OpenedByPrinterChoice(); }
  shell::CheckedPrinter& Printer() override { return printer_; }
  printer_link::BidiApi* PrinterLink() override { return app_.PrinterLink(); }
  printer_link::PrinterChannel Channel(printer_link::BidiApi* link) override {
    return app_.Channel(link);
  }
  printer_link::WaitWindows& Waits() override { return app_.Waits(); }
  platform::Files& Files() override { return app_.Files(); }
  const platform::CodePage& SystemCodePage() override { return app_.SystemCodePage(); }
  platform::Spooler& Spooler() override { return app_.Spooler(); }
  platform::Clock& Clock() override { return app_.Clock(); }
  ui::Host& Host() override { return app_.Host(); }
  shell::ToolOptions& Options() override { return options_; }

 protected:
  shell::ToolApp& app_;

 private:
  ChosenPrinter printer_;
  shell::ModelKeyOptions options_;
};

// A page together with the seat it sits on: the seat is made first and goes last.
template <typename Seat>
struct SeatHolder {
  explicit SeatHolder(shell::ToolApp& app) : seat(app) {}
  Seat seat;
};

template <typename P, typename Seat = AppSeat<shell::ToolSeat>>
class SeatedPage : private SeatHolder<Seat>, public P {
 public:
  SeatedPage(shell::ToolApp& app, shell::PageHost& host)
      : SeatHolder<Seat>(app), P(SeatHolder<Seat>::seat, host) {}
};

template <typename P, typename Seat = AppSeat<shell::ToolSeat>>
std::unique_ptr<shell::Page> MakeSeatedPage(shell::ToolApp& app, shell::PageHost& host) {
  return std::make_unique<SeatedPage<P, Seat>>(app, host);
}

}  // namespace programs
