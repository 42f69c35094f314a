// Kestrune's maintenance page: nozzle check and deep cleaning of the chosen printer.
#pragma once

#include "cleaning/maintenance_page_ids.h"
#include "shell/layout.h"
#include "shell/page.h"
#include "shell/printer_check.h"
#include "shell/shared_texts.h"
#include "shell/tool_seat.h"

namespace cleaning {

// Texts of the page's messages.
constexpr int TEXT_NOT_READY = shell::TEXT_TOOL_NOT_READY;
constexpr int TEXT_CLEANING_SENT = 306;
constexpr int TEXT_PREVIEW_ONLY = 307;
constexpr int TEXT_NOZZLE_CHECK_SENT = 308;
constexpr int TEXT_INK_LOW = 309;
constexpr int TEXT_0D_LOW = 310;

// Before either action: the model in launch mode Normal, readiness outside U.
constexpr shell::PrinterCheck MAINTENANCE_CHECK = {
    shell::IN_NO_MODE,      shell::IN_NORMAL, shell::IN_NORMAL | shell::IN_P, true, false,
    shell::TOOL_CHECK_TEXTS};

// The pause after the nozzle check job before its message.
constexpr uint32_t NOZZLE_CHECK_PAUSE_MS = 3000;

class MaintenancePage : public shell::Page {
 public:
  MaintenancePage(shell::ToolSeat& seat, shell::PageHost& host) : seat_(seat), host_(host) {}

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
  void Show(int text, ui::Icon icon);
  void ShowPreview();

  shell::ToolSeat& seat_;
  shell::PageHost& host_;
  ui::View* view_ = nullptr;
};

}  // namespace cleaning
