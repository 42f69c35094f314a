// The chosen printer's check before an action.
#include "shell/printer_check.h"

namespace shell {

PrinterVerdict CheckPrinter(CheckedPrinter& printer, LaunchMode mode, const PrinterCheck& check,
                            ui::View* parent, const PrinterCheckSteps& steps) {
  if (RunsIn(check.installedIn, mode) && !printer.StillInstalled()) return PrinterVerdict::Gone;
  if (RunsIn(check.modelIn, mode)) {
    if (steps) steps(PrinterCheckStep::Model);
    if (!printer.MatchDeviceId()) return PrinterVerdict::WrongModel;
  }
  if (!RunsIn(check.readyIn, mode)) return PrinterVerdict::Usable;
  if (steps) steps(PrinterCheckStep::Ready);
  int waited = printer.WaitUntilReady(check.readyDialog, parent);
  bool passed = check.onlyReadyPasses ? waited == printer_link::WAIT_READY
                                      : waited != printer_link::WAIT_NOT_READY;
  if (passed) return PrinterVerdict::Usable;
  return printer.MatchDeviceId() ? PrinterVerdict::NotReady : PrinterVerdict::NotReadyWrongModel;
}

PrinterMessage MessageFor(PrinterVerdict verdict, const PrinterCheckTexts& texts) {
  switch (verdict) {
    case PrinterVerdict::Gone:
      return {texts.gone, ui::Icon::Error};
    case PrinterVerdict::NotReady:
      return {texts.notReady, ui::Icon::Warning};
    default:
      return {texts.wrongModel, ui::Icon::Error};
  }
}

bool PrinterUsable(CheckedPrinter& printer, LaunchMode mode, const PrinterCheck& check,
                   ui::View* parent, const std::function<void(int, ui::Icon)>& show) {
  PrinterVerdict verdict = CheckPrinter(printer, mode, check, parent);
  if (verdict == PrinterVerdict::Usable) return true;
  PrinterMessage message = MessageFor(verdict, check.texts);
  show(message.text, message.icon);
  return false;
}

}  // namespace shell
