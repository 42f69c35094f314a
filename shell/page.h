// A tool page: a child dialog of the main window, and what it may ask of the main window.
#pragma once

#include "platform/ui.h"

namespace shell {

// What a page may ask of the window that owns it.
class PageHost {
 public:
  virtual ~PageHost() = default;
  virtual void SelectPage(int pageNumber) = 0;
  virtual void OpenManual(int pageNumber, int topic) = 0;
  virtual ui::View* Window() = 0;
  // Where a page holds the printer list: carry out the choice of its selected printer and, when
  // it is accepted, open the page.
  virtual void ChoosePrinter(int /*pageNumber*/) {}
};

class Page : public ui::DialogHandler {
 public:
  virtual int TemplateId() const = 0;
  // After OnInit: false when the page could not make what it shows, so it cannot be created.
  virtual bool Created() const { return true; }
  // Shown, or (where the profile says so) a printer was accepted: the page updates itself and
  // answers false to refuse being shown.
  virtual bool OnRefresh() { return true; }
  // About to be hidden, or the main window is going.
  virtual void OnLeave() {}
  // The printer choice enables or disables the page's printer-dependent actions.
  virtual void SetActionsEnabled(bool enabled) = 0;
  // The no-printer entry was chosen: drop what the page shows of the previous printer.
  virtual void ForgetPrinter() {}
  // The page's window while it exists, else null.
  virtual ui::View* Window() = 0;
};

}  // namespace shell
