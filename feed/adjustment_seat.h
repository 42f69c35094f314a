// The adjustment page's seat in the running program: the application object's printer, texts,
// fonts, message boxes and printer link.
#pragma once

#include <functional>

#include "feed/adjustment_page.h"
#include "shell/tool_app.h"

namespace feed {

class AppAdjustmentSeat : public AdjustmentSeat {
 public:
  // openedByChoice tells whether the page is being shown because a printer was just chosen;
  // empty: never.
  AppAdjustmentSeat(shell::ToolApp& app, std::function<bool()> openedByChoice)
      : app_(app), openedByChoice_(std::move(openedByChoice)) {}

  shell::LaunchMode Launch() override { return app_.Launch(); }
  std::string PrinterName() override { return app_.PrinterName(); }
  bool OpenedByPrinterChoice() override { return openedByChoice_ && openedByChoice_(); }
  const shell::Texts& GetTexts() override { return app_.GetTexts(); }
  shell::FontCache& Fonts() override { return app_.Fonts(); }
  void Message(ui::View* owner, int text, ui::Icon icon) override {
    app_.Message(owner, text, icon);
  }
  int RunModal(int templateId, ui::View* parent, ui::DialogHandler& dialog) override {
    return app_.Host().RunModal(templateId, parent, dialog);
  }
  int ReadInkClass() override;
  bool PrinterInstalled() override;
  bool MatchDeviceId() override;
  bool WaitUntilReady(ui::View* parent) override;

 private:
  shell::ToolApp& app_;
  std::function<bool()> openedByChoice_;
};

}  // namespace feed
