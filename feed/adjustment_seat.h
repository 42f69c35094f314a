// The adjustment page's and the detail dialogs' seats in the running program: the application
// object's printer, texts, fonts, message boxes, registry and printer link.
#pragma once

#include <functional>

#include "feed/adjustment_page.h"
#include "feed/detail_seat.h"
#include "shell/page.h"
#include "shell/tool_app.h"

namespace feed {

class AppDetailSeat : public DetailSeat {
 public:
  AppDetailSeat(shell::ToolApp& app, shell::PageHost& host, SamplePrinter& samples)
      : app_(app), host_(host), samples_(samples) {}

  shell::LaunchMode Launch() override { return app_.Launch(); }
  const shell::Texts& GetTexts() override { return app_.GetTexts(); }
  shell::FontCache& Fonts() override { return app_.Fonts(); }
  ui::Answer Message(ui::View* owner, const std::string& text, ui::Icon icon,
                     ui::Buttons buttons) override;
  int32_t GetNumber(const std::string& name, int32_t fallback) override;
  void SetNumber(const std::string& name, int32_t value) override;
  std::string GetString(const std::string& name, const std::string& fallback) override;
  void SetString(const std::string& name, const std::string& value) override;
  bool ChooseFile(ui::View* owner, const std::string& filter, std::string* chosen) override;
  void OpenManual(int page, int topic) override { host_.OpenManual(page, topic); }
  bool PrinterInstalled() override;
  bool MatchDeviceId() override;
  bool WaitUntilReady(ui::View* parent) override;
  std::string ReadAdjustValue(const AdjustmentSelection& selection, int valueKind) override;
  int WriteAdjustValue(const AdjustmentSelection& selection, int value,
                       const std::string& valueString, int valueKind) override;
  void Sleep(uint32_t ms) override { app_.Clock().Sleep(ms); }
  SamplePrinter& Samples() override { return samples_; }

 private:
  std::string ModelKeyPath() const;

  shell::ToolApp& app_;
  shell::PageHost& host_;
  SamplePrinter& samples_;
};

class AppAdjustmentSeat : public AdjustmentSeat {
 public:
  // openedByChoice tells whether the page is being shown because a printer was just chosen;
  // empty: never.
  AppAdjustmentSeat(shell::ToolApp& app, std::function<bool()> openedByChoice, DetailSeat& details)
      : app_(app), openedByChoice_(std::move(openedByChoice)), details_(details) {}

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
  int RunDetail(int adjustmentKind, AdjustmentSelection& selection, ui::View* parent) override;

 private:
  shell::ToolApp& app_;
  std::function<bool()> openedByChoice_;
  DetailSeat& details_;
};

}  // namespace feed
