// Kestrune's maintenance page: nozzle check and deep cleaning of the chosen printer.
#pragma once

#include "shell/page.h"
#include "shell/tool_app.h"

namespace cleaning {

constexpr int MAINTENANCE_TEMPLATE = 134;
constexpr int IDC_NOZZLE_GROUP = 1160;
constexpr int IDC_NOZZLE_CHECK = 1038;
constexpr int IDC_NOZZLE_TEXT = 1040;
constexpr int IDC_CLEANING_GROUP = 1161;
constexpr int IDC_DEEP_CLEANING = 1039;
constexpr int IDC_CLEANING_TEXT = 1041;
constexpr int IDC_HELP = 1003;
constexpr int IDC_CLOSE = 1004;
constexpr int NOZZLE_CHECK_BITMAP = 160;
constexpr int DEEP_CLEANING_BITMAP = 159;

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

  int TemplateId() const override { return MAINTENANCE_TEMPLATE; }
  void SetActionsEnabled(bool enabled) override;
  ui::View* Window() override { return view_; }

  bool OnInit(ui::View& view) override;
  void OnCommand(int id, int code) override;
  intptr_t OnMessage(unsigned message, uintptr_t wParam, intptr_t lParam, bool* handled) override;
  void OnPaint(ui::Canvas& canvas) override;
  bool OnKeyDown(int key, bool shift) override;
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
