// Kestrune's maintenance page: nozzle check and deep cleaning of the chosen printer.
#pragma once

#include "cleaning/maintenance_page_ids.h"
#include "shell/page.h"
#include "shell/tool_app.h"

namespace cleaning {

// Texts of the page's messages.
constexpr int TEXT_NOT_READY = 302;
constexpr int TEXT_WRONG_PRINTER = 305;
constexpr int TEXT_CLEANING_SENT = 306;
constexpr int TEXT_PREVIEW_ONLY = 307;
constexpr int TEXT_NOZZLE_CHECK_SENT = 308;
constexpr int TEXT_INK_LOW = 309;
constexpr int TEXT_0D_LOW = 310;

// The pause after the nozzle check job before its message.
constexpr uint32_t NOZZLE_CHECK_PAUSE_MS = 3000;

class MaintenancePage : public shell::Page {
 public:
  MaintenancePage(shell::ToolApp& app, shell::PageHost& host) : app_(app), host_(host) {}

  int TemplateId() const override { return IDD_MAINTENANCE_PAGE; }
  void SetActionsEnabled(bool enabled) override;
  ui::View* Window() override { return view_; }

  bool OnInit(ui::View& view) override;
  void OnCommand(int id, int code) override;
  bool OnRefresh() override;
  void OnPaint(ui::Canvas& canvas) override;
  void OnDestroy() override { view_ = nullptr; }
  bool WhiteBackground() override { return true; }

  void NozzleCheck();
  void DeepCleaning();

 private:
  // Identity and readiness before either action; false when a message ended it.
  bool PrinterIsUsable();
  void Show(int text, ui::Icon icon);
  void ShowPreview();

  shell::ToolApp& app_;
  shell::PageHost& host_;
  ui::View* view_ = nullptr;
};

}  // namespace cleaning
