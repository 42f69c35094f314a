// The printer choice page: the printer list and the guide list whose items open the tool pages
// once the chosen printer is accepted.
#pragma once

#include <string>
#include <vector>

#include "shell/guide_list.h"
#include "shell/page.h"
#include "shell/tool_app.h"

namespace shell {

constexpr int PRINTER_PAGE_WIDTH = 600;
constexpr int PRINTER_PAGE_HEIGHT = 282;
constexpr int PRINTER_PAGE_MANUAL = 0;
const ui::Rect GUIDE_LIST_RECT{10, 41, 590, 240};

// Texts of the launch mode U preview, in the order it shows them after the built-in
// missing-file message.
constexpr int PREVIEW_NO_PRINTER_TEXT = 330;
constexpr int PREVIEW_MONITOR_TEXT = 380;
constexpr int PREVIEW_WRONG_MODEL_TEXT = 310;
constexpr int PREVIEW_NOT_READY_TEXT = 312;
constexpr int PREVIEW_NO_OBJECTS_TEXT = 314;
constexpr int PREVIEW_CLOSE_TEXT = 302;

struct GuideItem {
  int guideNumber;
  int bitmapId;
  int titleText;
  int descriptionText;
  int pageNumber;  // the page the item opens
};

struct PrinterPageData {
  int templateId;
  int defaultGuide;  // guide file of the pane when no item is under the mouse
  std::vector<GuideItem> items;
};

class PrinterPage : public Page {
 public:
  PrinterPage(ToolApp& app, PageHost& host, PrinterPageData data)
      : app_(app), host_(host), data_(std::move(data)) {}

  int TemplateId() const override { return data_.templateId; }
  // Without its guide list the page has no functions to offer.
  bool Created() const override { return created_; }
  ui::View* Window() override { return view_; }
  // The guide items follow the list's selection, whatever the frame asks.
  void SetActionsEnabled(bool /*enabled*/) override { EnableGuideItems(); }

  bool OnInit(ui::View& view) override;
  void OnCommand(int id, int code) override;
  bool OnKeyDown(int key, bool shift) override;
  intptr_t OnMessage(unsigned message, uintptr_t wParam, intptr_t lParam, bool* handled) override;
  bool OnRefresh() override;
  void OnDestroy() override;
  bool WhiteBackground() override { return true; }

  GuideList* Guide() { return guide_.List(); }

 private:
  bool RealPrinterSelected();
  void EnableGuideItems();
  void ShowPreview();

  ToolApp& app_;
  PageHost& host_;
  PrinterPageData data_;
  ui::View* view_ = nullptr;
  HostedGuideList guide_;
  bool created_ = false;
};

}  // namespace shell
