// What every tool page and dialog asks of the program around it. The tool libraries extend it
// with what each of them needs; the programs implement it over their application object, the
// tests over fakes.
#pragma once

#include <string>

#include "link/bidi_api.h"
#include "link/printer_channel.h"
#include "link/progress_wait.h"
#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/files.h"
#include "platform/spooler.h"
#include "platform/ui.h"
#include "shell/fonts.h"
#include "shell/launch_mode.h"
#include "shell/printer_check.h"
#include "shell/texts.h"
#include "shell/tool_options.h"

namespace shell {

class ToolSeat {
 public:
  virtual ~ToolSeat() = default;

  virtual LaunchMode Launch() = 0;
  virtual const Texts& GetTexts() = 0;
  virtual FontCache& Fonts() = 0;
  // A message box with the program title as caption; OK/Cancel boxes answer which was pressed.
  virtual ui::Answer Message(ui::View* owner, const std::string& text, ui::Icon icon,
                             ui::Buttons buttons) = 0;
  // The chosen printer's queue and driver names.
  virtual std::string PrinterName() = 0;
  virtual std::string DriverName() = 0;
  // True while a page is being shown because a printer was just chosen.
  virtual bool OpenedByPrinterChoice() = 0;
  // The chosen printer, for CheckPrinter.
  virtual CheckedPrinter& Printer() = 0;
  // The program's printer link, and a channel over a link with the program's clock, busy
  // dialogs and wait caption.
  virtual printer_link::BidiApi* PrinterLink() = 0;
  virtual printer_link::PrinterChannel Channel(printer_link::BidiApi* link) = 0;
  virtual printer_link::WaitWindows& Waits() = 0;

  virtual platform::Files& Files() = 0;
  // The system's code page, for rules that walk typed or stored text character by character.
  virtual const platform::CodePage& SystemCodePage() = 0;
  virtual platform::Spooler& Spooler() = 0;
  virtual platform::Clock& Clock() = 0;
  virtual ui::Host& Host() = 0;
  // The values the program keeps under its subkey of the chosen model's key.
  virtual ToolOptions& Options() = 0;

  std::string GetText(int number) { return GetTexts().GetText(number); }
  ui::Answer Message(ui::View* owner, int text, ui::Icon icon,
                     ui::Buttons buttons = ui::Buttons::Ok) {
    return Message(owner, GetText(text), icon, buttons);
  }
  // The chosen printer's check in the current launch mode, its message owned by owner.
  bool PrinterUsable(const PrinterCheck& check, ui::View* parent, ui::View* owner) {
    return shell::PrinterUsable(
        Printer(), Launch(), check, parent,
        [this, owner](int text, ui::Icon icon) { Message(owner, text, icon); });
  }
};

}  // namespace shell
