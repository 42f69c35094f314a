// A maintenance page with one "Execution" button that hands one command stream to the chosen
// printer after checking that the printer is still installed, is the expected model and is ready.
// Trevalo's cleaning and nozzle check pages are two tables of this page.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "link/command_framing.h"
#include "platform/spooler.h"
#include "platform/system.h"
#include "shell/layout.h"
#include "shell/page.h"
#include "shell/page_ids.h"
#include "shell/printer_check.h"
#include "shell/shared_texts.h"
#include "shell/tool_seat.h"

namespace cleaning {

// Before the job, in launch mode Normal only: still installed, the expected model, ready.
constexpr shell::PrinterCheck EXECUTION_CHECK = {
    shell::IN_NORMAL, shell::IN_NORMAL, shell::IN_NORMAL, true, false, shell::PAGE_CHECK_TEXTS};

constexpr char TITLE_SEPARATOR[] = " - ";

struct PageMessage {
  int text;
  ui::Icon icon;
  ui::Buttons buttons;
};

// A control whose text is a format filled with several numbered texts.
struct FormattedControl {
  int id;
  const char* format;  // "%s" stands for the next text; nothing else is special
  std::vector<int> texts;
};

struct ExecutionPageData {
  int templateId;
  ui::Rect pageRect;
  std::vector<shell::ControlLayout> layout;
  std::vector<FormattedControl> formatted;
  int titleText;  // the page's title names the printer after it
  int executeButton;
  int closeButton;
  int manualPage;   // topic 0
  int confirmText;  // shell::NO_TEXT: the action asks nothing
  printer_link::CommandStream (*stream)();
  uint32_t pauseMs;    // after the job, under the wait cursor; 0: no pause and no wait cursor
  int handedOverText;  // shown only when the spooler took the whole job
  std::vector<PageMessage> preview;  // launch mode U, each time the page is shown
};

// format with each "%s" replaced by the next value (an empty one once they run out).
std::string FillFormat(const std::string& format, const std::vector<std::string>& values);

class ExecutionPage : public shell::Page {
 public:
  ExecutionPage(shell::ToolSeat& seat, shell::PageHost& host, const ExecutionPageData& data)
      : seat_(seat), host_(host), data_(data) {}

  int TemplateId() const override { return data_.templateId; }
  void SetActionsEnabled(bool enabled) override;
  ui::View* Window() override { return view_; }

  bool OnInit(ui::View& view) override;
  void OnCommand(int id, int code) override;
  bool OnRefresh() override;
  void OnPaint(ui::Canvas& canvas) override;
  void OnDestroy() override { view_ = nullptr; }
  bool WhiteBackground() override { return true; }

  void Execute();

 private:
  void SetTitle();
  ui::Answer Show(int text, ui::Icon icon, ui::Buttons buttons = ui::Buttons::Ok);

  shell::ToolSeat& seat_;
  shell::PageHost& host_;
  const ExecutionPageData& data_;
  ui::View* view_ = nullptr;
};

}  // namespace cleaning
