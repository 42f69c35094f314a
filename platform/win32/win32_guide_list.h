// The guide list's windows: an item panel of picture buttons and labels beside a guide pane. The
// window procedures only report mouse, wheel, scroll, focus and paint to the portable list.
#pragma once

#include <string>
#include <vector>

#include "platform/ui.h"
#include "platform/win32/win32_canvas.h"
#include "platform/win32/win32_headers.h"

namespace platform {

class Win32GuideList : public ui::GuideListWindows {
 public:
  Win32GuideList(PictureCache& pictures, ui::GuideListEvents& events)
      : pictures_(pictures), events_(events) {}
  ~Win32GuideList() override;
  Win32GuideList(const Win32GuideList&) = delete;
  Win32GuideList& operator=(const Win32GuideList&) = delete;

  // Creates the panel and the pane on parent; false when a window cannot be made.
  bool Create(HWND parent, const ui::Rect& panel, const ui::Rect& pane);

  void CreateItem(int index, int bitmapId, const std::string& title,
                  const std::string& description) override;
  void SetFonts(ui::Font title, ui::Font description, ui::Font guide) override;
  void SetGuideText(const std::string& text) override;
  void PlaceItem(int index, const ui::Rect& button, const ui::Rect& title,
                 const ui::Rect& description) override;
  void SetScrollBar(bool shown, int maximum, int page, int position) override;
  void RepaintPanel() override;
  void RepaintItem(int index) override;
  void EnableItem(int index, bool enable) override;
  void DrawFocusFrame(int index, const ui::Rect& frame) override;
  void CaptureMouse(bool capture) override;
  void NudgeMouse() override;
  void FocusItem(int index) override;
  int FocusedItem() override;
  void ItemChosen(int index) override;

 private:
  struct ItemWindows {
    HWND button = nullptr;
    HWND title = nullptr;
    HWND description = nullptr;
    // Between CreateItem and the first PlaceItem: what the windows will be made with.
    bool pending = false;
    int bitmapId = 0;
    std::string titleText;
    std::string descriptionText;
  };
  static LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static Win32GuideList* From(HWND window);
  LRESULT Panel(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Button(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  ItemWindows* Item(int index);
  void MakeItemWindows(ItemWindows& item, int index, const ui::Rect& button, const ui::Rect& title,
                       const ui::Rect& description);
  int IndexOf(HWND button) const;

  PictureCache& pictures_;
  ui::GuideListEvents& events_;
  HWND parent_ = nullptr;
  HWND panel_ = nullptr;
  HWND pane_ = nullptr;
  HWND mouseWindow_ = nullptr;  // the window that reported the last mouse move
  WNDPROC buttonDefault_ = nullptr;
  HFONT titleFont_ = nullptr;
  HFONT descriptionFont_ = nullptr;
  std::vector<ItemWindows> items_;
};

}  // namespace platform
