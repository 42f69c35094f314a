// The main window of every program: header, printer list, the tool pages, About, closing.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "shell/main_window_ids.h"
#include "shell/page.h"
#include "shell/printer_choice.h"
#include "shell/tool_app.h"

namespace shell {

constexpr int PAGE_ICON_WIDTH = 34;
constexpr int HEADER_WIDTH = 600;
constexpr int HEADER_HEIGHT = 70;
constexpr int PAGE_TOP = HEADER_HEIGHT + 45;
constexpr int PAGE_COUNT = 10;
constexpr int SELECTOR_ITEM_HEIGHT = 15;

using PageFactory = std::function<std::unique_ptr<Page>(ToolApp&, PageHost&, int pageNumber)>;

class MainWindow : public MainFrame, public PageHost {
 public:
  MainWindow(ToolApp& app, PageFactory makePage);
  ~MainWindow() override;

  // MainFrame
  int TemplateId() const override { return IDD_MAIN_WINDOW; }
  bool OnInit(ui::View& view) override;
  void OnCommand(int id, int code) override;
  void OnPaint(ui::Canvas& canvas) override;
  bool OnKeyDown(int key, bool shift) override;
  void OnClose() override;
  void OnSystemCommand(int id, bool* handled) override;
  void OnSize(bool minimized) override;
  int OnMeasureItem(int controlId) override;
  void OnDrawItem(int controlId, int index, bool selected, bool inSelectionField,
                  ui::Canvas& canvas, const ui::Rect& rect) override;
  void OnDestroy() override;
  bool WhiteBackground() override { return true; }

  // PageHost
  void SelectPage(int pageNumber) override;
  void OpenManual(int pageNumber, int topic) override;
  ui::View* Window() override { return view_; }
  void ChoosePrinter(int pageNumber) override;

  int CurrentPage() const { return current_; }
  const std::string& CurrentTitle() const { return title_; }
  const std::string& CurrentDescription() const { return description_; }
  Page* PageAt(int number) { return InRange(number) ? pages_[number].get() : nullptr; }

 private:
  static bool InRange(int n) { return n >= 0 && n < PAGE_COUNT; }
  const PageEntry* EntryOf(int pageNumber) const;
  bool CreatePage(ui::View& view, const PageEntry& entry);
  void Fail(ui::View& view);
  void FillPrinterList(ui::View& listView);
  void SwitchPage();
  void ShowAbout();
  int SelectedPageNumber();
  void LeaveCurrentPage();
  void DestroyPages();

  ToolApp& app_;
  const ProgramProfile& profile_;
  PageFactory makePage_;
  ui::View* view_ = nullptr;
  PrinterList printers_;
  std::array<std::unique_ptr<Page>, PAGE_COUNT> pages_;
  std::array<std::unique_ptr<ui::View>, PAGE_COUNT> pageViews_;
  std::array<std::string, PAGE_COUNT> pageNames_;
  int current_;
  std::string programTitle_;
  std::string title_;
  std::string description_;
};

// The About dialog: program title, version from the executable, body text, picture.
class AboutDialog : public ui::DialogHandler {
 public:
  AboutDialog(ToolApp& app, const AboutProfile& about) : app_(app), about_(about) {}
  bool OnInit(ui::View& view) override;
  void OnPaint(ui::Canvas& canvas) override;
  void OnLeftButtonUp() override;
  bool WhiteBackground() override { return true; }

 private:
  ToolApp& app_;
  const AboutProfile& about_;
  ui::View* view_ = nullptr;
};

// "%s %d.%02d" of the label and the file version (high part + low part >> 16).
std::string VersionLabel(const std::string& label, uint32_t high, uint32_t low);

}  // namespace shell
