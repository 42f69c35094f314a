// The guide list's geometry, scrolling, hover, click and keyboard rules.
#include "shell/guide_list.h"

#include <algorithm>

namespace shell {

namespace {

constexpr int PANEL_PERCENT = 67;
constexpr int PANE_GAP = 4;
constexpr int PAGE_ROWS = 2;
const ui::Rect BUTTON_IN_ROW{5, 5, 44, 44};
const ui::Rect TITLE_IN_ROW{50, 4, 350, 23};
const ui::Rect DESCRIPTION_IN_ROW{50, 24, 350, 65};

ui::Rect InRow(const ui::Rect& r, int place) {
  int top = GuideList::ROW_HEIGHT * place;
  return {r.left, r.top + top, r.right, r.bottom + top};
}

bool Contains(const ui::Rect& r, int x, int y) {
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

}  // namespace

ui::Rect GuideList::PanelRect(const ui::Rect& rect) {
  int split = rect.left + rect.Width() * PANEL_PERCENT / 100;
  return {rect.left, rect.top, split - PANE_GAP, rect.bottom};
}

ui::Rect GuideList::PaneRect(const ui::Rect& rect) {
  int split = rect.left + rect.Width() * PANEL_PERCENT / 100;
  return {split + PANE_GAP, rect.top, rect.right, rect.bottom};
}

ui::Rect GuideList::ButtonRect(int place) {
  return InRow(BUTTON_IN_ROW, place);
}
ui::Rect GuideList::TitleRect(int place) {
  return InRow(TITLE_IN_ROW, place);
}
ui::Rect GuideList::DescriptionRect(int place) {
  return InRow(DESCRIPTION_IN_ROW, place);
}

void GuideList::Create(const ui::Rect& rect, const std::string& defaultGuide) {
  defaultGuide_ = defaultGuide;
  clientHeight_ = std::max(0, PanelRect(rect).Height() - 2 * CLIENT_EDGE);
  shownGuide_ = defaultGuide_;
  windows_.SetGuideText(shownGuide_);
  UpdateScrollBar();
}

int GuideList::AddItem(int guideNumber, int bitmapId, const std::string& title,
                       const std::string& description, const std::string& guideText) {
  if (GUIDE_BUTTON_FIRST + Count() > GUIDE_BUTTON_LAST) return -1;
  items_.push_back({guideNumber, bitmapId, title, description, guideText, true});
  int index = Count() - 1;
  int place = index - firstRow_;
  windows_.CreateItem(index, bitmapId, title, description);
  windows_.PlaceItem(index, ButtonRect(place), TitleRect(place), DescriptionRect(place));
  UpdateScrollBar();
  return index;
}

bool GuideList::IsEnabled(int index) const {
  return index >= 0 && index < Count() && items_[static_cast<size_t>(index)].enabled;
}

void GuideList::EnableItem(int index, bool enable, const std::string* newGuideText) {
  if (index < 0 || index >= Count()) return;
  Item& item = items_[static_cast<size_t>(index)];
  item.enabled = enable;
  if (newGuideText) item.guideText = *newGuideText;
  windows_.EnableItem(index, enable);
}

void GuideList::SetClientHeight(int height) {
  clientHeight_ = std::max(0, height);
  firstRow_ = std::min(firstRow_, ScrollLimit());
  UpdateScrollBar();
  PlaceRows();
}

int GuideList::ScrollLimit() const {
  return HasScrollBar() ? Count() - VisibleRows() : 0;
}

void GuideList::UpdateScrollBar() {
  if (HasScrollBar()) {
    windows_.SetScrollBar(true, Count() - 1, VisibleRows(), firstRow_);
  } else {
    windows_.SetScrollBar(false, 0, 0, 0);
  }
}

void GuideList::PlaceRows() {
  for (int i = 0; i < Count(); ++i) {
    int place = i - firstRow_;
    windows_.PlaceItem(i, ButtonRect(place), TitleRect(place), DescriptionRect(place));
  }
}

void GuideList::Scroll(GuideScroll action, int position) {
  int row = firstRow_;
  switch (action) {
    case GuideScroll::LineUp:
      row -= 1;
      break;
    case GuideScroll::LineDown:
      row += 1;
      break;
    case GuideScroll::PageUp:
      row -= PAGE_ROWS;
      break;
    case GuideScroll::PageDown:
      row += PAGE_ROWS;
      break;
    case GuideScroll::Top:
      row = 0;
      break;
    case GuideScroll::Bottom:
      row = ScrollLimit();
      break;
    case GuideScroll::Thumb:
      row = position;
      break;
  }
  firstRow_ = std::clamp(row, 0, ScrollLimit());
  UpdateScrollBar();
  PlaceRows();
  windows_.RepaintPanel();
}

void GuideList::Wheel(int delta) {
  if (delta < 0) Scroll(GuideScroll::LineDown);
  if (delta > 0) Scroll(GuideScroll::LineUp);
}

void GuideList::ButtonMouseMove(int index, bool inside) {
  if (!IsEnabled(index)) return;
  if (inside) {
    Hover(GUIDE_BUTTON_FIRST + index);
    if (hovered_ != index) {
      ui::Rect b = ButtonRect(0);
      windows_.DrawFocusFrame(
          index, {FOCUS_INSET, FOCUS_INSET, b.Width() - FOCUS_INSET, b.Height() - FOCUS_INSET});
      windows_.CaptureMouse(true);
      hovered_ = index;
    }
    return;
  }
  if (hovered_ != index) return;
  hovered_ = -1;
  pressed_ = -1;
  Hover(0);
  windows_.CaptureMouse(false);
  windows_.NudgeMouse();
  windows_.RepaintItem(index);
}

void GuideList::PanelMouseMove(int x, int y) {
  if (disabledHovered_ >= 0) {
    if (Contains(disabledRect_, x, y)) return;
    disabledHovered_ = -1;
    Hover(0);
    windows_.CaptureMouse(false);
    return;
  }
  for (int i = 0; i < Count(); ++i) {
    ui::Rect r = ButtonRect(i - firstRow_);
    if (IsEnabled(i) || !Contains(r, x, y)) continue;
    Hover(GUIDE_BUTTON_FIRST + i);
    windows_.CaptureMouse(true);
    disabledHovered_ = i;
    disabledRect_ = r;
    return;
  }
}

void GuideList::ButtonDown(int index) {
  if (IsEnabled(index)) pressed_ = index;
}

void GuideList::ButtonUp(int index) {
  if (pressed_ != index || index < 0) return;
  pressed_ = -1;
  hovered_ = -1;
  windows_.CaptureMouse(false);
  PanelCommand(GUIDE_BUTTON_FIRST + index);
}

void GuideList::PanelCommand(int id) {
  if (id < GUIDE_BUTTON_FIRST || id > GUIDE_BUTTON_LAST) return;
  int index = id - GUIDE_BUTTON_FIRST;
  if (index < Count()) windows_.ItemChosen(index);
}

void GuideList::Hover(int buttonId) {
  int index = buttonId - GUIDE_BUTTON_FIRST;
  if (buttonId != 0 && index >= 0 && index < Count()) {
    ShowGuide(items_[static_cast<size_t>(index)].guideText);
  } else {
    ShowGuide(defaultGuide_);
  }
}

void GuideList::ShowGuide(const std::string& text) {
  if (text == shownGuide_) return;
  shownGuide_ = text;
  windows_.SetGuideText(text);
}

void GuideList::OnShow() {
  ShowGuide(defaultGuide_);
  for (int i = 0; i < Count(); ++i) windows_.RepaintItem(i);
}

int GuideList::NextEnabled(int from, int step) const {
  for (int i = from + step; i >= 0 && i < Count(); i += step) {
    if (IsEnabled(i)) return i;
  }
  return -1;
}

bool GuideList::OnKey(int key, bool shift, int focused) {
  if (key == ui::KEY_ESCAPE) return true;
  if (key == ui::KEY_TAB) {
    int next = NextEnabled(focused, shift ? -1 : 1);
    if (next < 0) return false;
    windows_.FocusItem(next);
    return true;
  }
  if (key == ui::KEY_RETURN && IsEnabled(focused)) {
    PanelCommand(GUIDE_BUTTON_FIRST + focused);
    return true;
  }
  return false;
}

void GuideList::OnFocus(bool shift) {
  int target = shift ? NextEnabled(Count(), -1) : NextEnabled(-1, 1);
  if (target >= 0) windows_.FocusItem(target);
}

void GuideList::ButtonFocused(int index) {
  if (index < 0 || index >= Count()) return;
  ui::Rect row = InRow({0, 0, 0, ROW_HEIGHT}, index - firstRow_);
  bool outside = row.bottom <= 0 || row.top >= clientHeight_;
  if (outside) Scroll(GuideScroll::Thumb, index);
}

bool HostedGuideList::Create(ui::Host& host, ui::View& parent, const ui::Rect& rect,
                             const std::string& defaultGuide) {
  windows_ =
      host.CreateGuideList(parent, GuideList::PanelRect(rect), GuideList::PaneRect(rect), *this);
  if (!windows_) return false;
  list_ = std::make_unique<GuideList>(*windows_);
  list_->Create(rect, defaultGuide);
  return true;
}

void HostedGuideList::Destroy() {
  list_.reset();
  windows_.reset();
}

void HostedGuideList::OnScroll(int action, int position) {
  if (list_ && action >= 0 && action <= static_cast<int>(GuideScroll::Thumb)) {
    list_->Scroll(static_cast<GuideScroll>(action), position);
  }
}
void HostedGuideList::OnWheel(int delta) {
  if (list_) list_->Wheel(delta);
}
void HostedGuideList::OnButtonMouseMove(int index, bool inside) {
  if (list_) list_->ButtonMouseMove(index, inside);
}
void HostedGuideList::OnPanelMouseMove(int x, int y) {
  if (list_) list_->PanelMouseMove(x, y);
}
void HostedGuideList::OnButtonDown(int index) {
  if (list_) list_->ButtonDown(index);
}
void HostedGuideList::OnButtonUp(int index) {
  if (list_) list_->ButtonUp(index);
}
void HostedGuideList::OnPanelFocus(bool shift) {
  if (list_) list_->OnFocus(shift);
}
void HostedGuideList::OnButtonFocus(int index) {
  if (list_) list_->ButtonFocused(index);
}
void HostedGuideList::OnPaintPanel(ui::Canvas& canvas) {
  canvas.Fill(canvas.ClientRect(), ui::WHITE);
}

}  // namespace shell
