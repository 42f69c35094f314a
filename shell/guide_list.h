// The guide list of the printer choice page: picture buttons in scrolling rows beside a pane
// that shows the guide text of the item under the mouse.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ui.h"

namespace shell {

constexpr unsigned GUIDE_HOVER = 0x701;   // wParam: the hovered button's id, 0 when left
constexpr unsigned GUIDE_CHOSEN = 0x702;  // wParam: the item index
constexpr int GUIDE_BUTTON_FIRST = 300;   // button id of item 0
constexpr int GUIDE_BUTTON_LAST = 400;    // panel commands beyond this are not items

enum class GuideScroll { LineUp, LineDown, PageUp, PageDown, Top, Bottom, Thumb };

// The windows the list is made of, as the platform realises them.
using GuideListWindows = ui::GuideListWindows;

class GuideList {
 public:
  static constexpr int ROW_HEIGHT = 65;
  static constexpr int CLIENT_EDGE = 2;  // the panel's sunken edge, each side
  static constexpr int FOCUS_INSET = 3;

  explicit GuideList(GuideListWindows& windows) : windows_(windows) {}

  // The item panel and the guide pane within the list's rectangle (list client pixels).
  static ui::Rect PanelRect(const ui::Rect& rect);
  static ui::Rect PaneRect(const ui::Rect& rect);
  // A row's windows relative to the panel, for the row shown at the given place.
  static ui::Rect ButtonRect(int place);
  static ui::Rect TitleRect(int place);
  static ui::Rect DescriptionRect(int place);

  void Create(const ui::Rect& rect, const std::string& defaultGuide);
  // Index of the new item, or -1 when no more button ids are left.
  int AddItem(int guideNumber, int bitmapId, const std::string& title,
              const std::string& description, const std::string& guideText);
  void EnableItem(int index, bool enable, const std::string* newGuideText = nullptr);
  // The panel's client height, when the platform knows it better than Create did.
  void SetClientHeight(int height);

  void Scroll(GuideScroll action, int position = 0);
  // Positive: turned away from the user.
  void Wheel(int delta);

  // Mouse over an enabled item button (its own client pixels tell inside).
  void ButtonMouseMove(int index, bool inside);
  // Mouse over the panel itself (panel client pixels), where disabled buttons lie.
  void PanelMouseMove(int x, int y);
  void ButtonDown(int index);
  void ButtonUp(int index);
  // A command the panel received.
  void PanelCommand(int id);
  // GUIDE_HOVER with a button id or 0.
  void Hover(int buttonId);
  void OnShow();

  // Keys within the list; true when consumed. focused: the item whose button has the focus.
  bool OnKey(int key, bool shift, int focused);
  // The list itself gets the focus.
  void OnFocus(bool shift);
  // An item button got the focus.
  void ButtonFocused(int index);

  int Count() const { return static_cast<int>(items_.size()); }
  int FirstRow() const { return firstRow_; }
  int ScrollLimit() const;
  bool HasScrollBar() const { return Count() > VisibleRows(); }
  int VisibleRows() const { return clientHeight_ / ROW_HEIGHT; }
  const std::string& GuideText() const { return shownGuide_; }
  bool IsEnabled(int index) const;

 private:
  struct Item {
    int guideNumber = 0;
    int bitmapId = 0;
    std::string title;
    std::string description;
    std::string guideText;
    bool enabled = true;
  };

  void PlaceRows();
  void UpdateScrollBar();
  void ShowGuide(const std::string& text);
  int NextEnabled(int from, int step) const;

  GuideListWindows& windows_;
  std::vector<Item> items_;
  std::string defaultGuide_;
  std::string shownGuide_;
  int clientHeight_ = 0;
  int firstRow_ = 0;
  int hovered_ = -1;          // enabled button holding the mouse
  int disabledHovered_ = -1;  // disabled button the panel holds the mouse for
  ui::Rect disabledRect_;
  int pressed_ = -1;
};

// A guide list in windows the host creates: the host's events reach the list through it.
class HostedGuideList : public ui::GuideListEvents {
 public:
  // The windows over rect of parent (parent client pixels); false when the host cannot make them.
  bool Create(ui::Host& host, ui::View& parent, const ui::Rect& rect,
              const std::string& defaultGuide);
  void Destroy();
  GuideList* List() { return list_.get(); }
  GuideListWindows* Windows() { return windows_.get(); }

  void OnScroll(int action, int position) override;
  void OnWheel(int delta) override;
  void OnButtonMouseMove(int index, bool inside) override;
  void OnPanelMouseMove(int x, int y) override;
  void OnButtonDown(int index) override;
  void OnButtonUp(int index) override;
  void OnPanelFocus(bool shift) override;
  void OnButtonFocus(int index) override;
  void OnPaintPanel(ui::Canvas& canvas) override;

 private:
  std::unique_ptr<GuideListWindows> windows_;
  std::unique_ptr<GuideList> list_;
};

}  // namespace shell
