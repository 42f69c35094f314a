// The guide list's windows over the portable list.
#include "platform/win32/win32_guide_list.h"

namespace platform {

namespace {

constexpr char PANEL_CLASS[] = "KdGuidePanel";
constexpr char LIST_PROPERTY[] = "KdGuideList";
constexpr int FIRST_BUTTON_ID = 300;
constexpr UINT GUIDE_CHOSEN_MESSAGE = WM_USER + 0x302;

bool RegisterPanelClass(HINSTANCE instance, WNDPROC proc) {
  WNDCLASSA existing;
  if (GetClassInfoA(instance, PANEL_CLASS, &existing)) return true;
  WNDCLASSA panel = {};
  panel.style = CS_DBLCLKS;
  panel.lpfnWndProc = proc;
  panel.hInstance = instance;
  panel.hCursor = LoadCursor(nullptr, IDC_ARROW);
  panel.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  panel.lpszClassName = PANEL_CLASS;
  return RegisterClassA(&panel) != 0;
}

HWND Child(DWORD exStyle, const char* className, const char* text, DWORD style, const ui::Rect& r,
           HWND parent, int id, HINSTANCE instance) {
  return CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                         r.Width(), r.Height(), parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

void Move(HWND window, const ui::Rect& r) {
  if (!window) return;
  RECT now = {};
  GetWindowRect(window, &now);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&now), 2);
  if (now.left == r.left && now.top == r.top && now.right == r.right && now.bottom == r.bottom) {
    return;  // already there: a move would only cost round trips
  }
  MoveWindow(window, r.left, r.top, r.Width(), r.Height(), TRUE);
}

// The scroll bar's request in the order of the portable actions.
int ScrollAction(WORD code) {
  switch (code) {
    case SB_LINEUP:
      return 0;
    case SB_LINEDOWN:
      return 1;
    case SB_PAGEUP:
      return 2;
    case SB_PAGEDOWN:
      return 3;
    case SB_TOP:
      return 4;
    case SB_BOTTOM:
      return 5;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
      return 6;
    default:
      return -1;
  }
}

}  // namespace

Win32GuideList::~Win32GuideList() {
  if (panel_ && IsWindow(panel_)) {
    RemovePropA(panel_, LIST_PROPERTY);
    DestroyWindow(panel_);  // the items go with it
  }
  if (pane_ && IsWindow(pane_)) DestroyWindow(pane_);
}

Win32GuideList* Win32GuideList::From(HWND window) {
  return static_cast<Win32GuideList*>(GetPropA(window, LIST_PROPERTY));
}

bool Win32GuideList::Create(HWND parent, const ui::Rect& panel, const ui::Rect& pane) {
  HINSTANCE instance = pictures_.Instance();
  if (!RegisterPanelClass(instance, PanelProc)) return false;
  parent_ = parent;
  panel_ = Child(WS_EX_CLIENTEDGE | WS_EX_CONTROLPARENT, PANEL_CLASS, "",
                 WS_VSCROLL | WS_TABSTOP | WS_CLIPCHILDREN, panel, parent, 0, instance);
  if (!panel_) return false;
  SetPropA(panel_, LIST_PROPERTY, this);
  pane_ = Child(WS_EX_CLIENTEDGE, "STATIC", "", SS_NOPREFIX | SS_LEFT, pane, parent, 0, instance);
  return pane_ != nullptr;
}

Win32GuideList::ItemWindows* Win32GuideList::Item(int index) {
  if (index < 0 || index >= static_cast<int>(items_.size())) return nullptr;
  ItemWindows& item = items_[static_cast<size_t>(index)];
  // Asked for before it was placed: made at no size, to be moved when it is.
  if (item.pending) MakeItemWindows(item, index, ui::Rect{}, ui::Rect{}, ui::Rect{});
  return &item;
}

int Win32GuideList::IndexOf(HWND button) const {
  for (size_t i = 0; i < items_.size(); ++i) {
    if (items_[i].button == button) return static_cast<int>(i);
  }
  return -1;
}

void Win32GuideList::CreateItem(int index, int bitmapId, const std::string& title,
                                const std::string& description) {
  if (index < 0 || !panel_) return;
  if (index >= static_cast<int>(items_.size())) items_.resize(static_cast<size_t>(index) + 1);
  // The windows are made when the list places the item, which it does at once: made where they
  // belong, with their texts, they need no move afterwards.
  ItemWindows& item = items_[static_cast<size_t>(index)];
  item.pending = true;
  item.bitmapId = bitmapId;
  item.titleText = title;
  item.descriptionText = description;
}

void Win32GuideList::MakeItemWindows(ItemWindows& item, int index, const ui::Rect& button,
                                     const ui::Rect& title, const ui::Rect& description) {
  item.pending = false;
  HINSTANCE instance = pictures_.Instance();
  item.button = Child(0, "BUTTON", "", BS_PUSHBUTTON | BS_BITMAP | WS_TABSTOP, button, panel_,
                      FIRST_BUTTON_ID + index, instance);
  item.title = Child(0, "STATIC", item.titleText.c_str(), SS_NOPREFIX, title, panel_, -1, instance);
  item.description = Child(0, "STATIC", item.descriptionText.c_str(), SS_NOPREFIX, description,
                           panel_, -1, instance);
  item.titleText.clear();
  item.descriptionText.clear();
  if (item.button) {
    SetPropA(item.button, LIST_PROPERTY, this);
    WNDPROC previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        item.button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32GuideList::ButtonProc)));
    if (!buttonDefault_) buttonDefault_ = previous;
    if (HBITMAP picture = pictures_.Bitmap(item.bitmapId)) {
      SendMessageA(item.button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
    }
  }
  if (titleFont_ && item.title) SendMessageA(item.title, WM_SETFONT, (WPARAM)titleFont_, FALSE);
  if (descriptionFont_ && item.description) {
    SendMessageA(item.description, WM_SETFONT, (WPARAM)descriptionFont_, FALSE);
  }
}

void Win32GuideList::SetFonts(ui::Font title, ui::Font description, ui::Font guide) {
  titleFont_ = reinterpret_cast<HFONT>(title);
  descriptionFont_ = reinterpret_cast<HFONT>(description);
  if (pane_ && guide) SendMessageA(pane_, WM_SETFONT, static_cast<WPARAM>(guide), TRUE);
}

void Win32GuideList::SetGuideText(const std::string& text) {
  if (pane_) SetWindowTextA(pane_, text.c_str());
}

void Win32GuideList::PlaceItem(int index, const ui::Rect& button, const ui::Rect& title,
                               const ui::Rect& description) {
  if (index < 0 || index >= static_cast<int>(items_.size())) return;
  ItemWindows& pending = items_[static_cast<size_t>(index)];
  if (pending.pending) {
    MakeItemWindows(pending, index, button, title, description);
    return;
  }
  ItemWindows* item = Item(index);
  if (!item) return;
  Move(item->button, button);
  Move(item->title, title);
  Move(item->description, description);
}

void Win32GuideList::SetScrollBar(bool shown, int maximum, int page, int position) {
  if (!panel_) return;
  if (!shown) {
    ShowScrollBar(panel_, SB_VERT, FALSE);
    return;
  }
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMin = 0;
  info.nMax = maximum;
  info.nPage = static_cast<UINT>(page);
  info.nPos = position;
  SetScrollInfo(panel_, SB_VERT, &info, TRUE);
  ShowScrollBar(panel_, SB_VERT, TRUE);
}

void Win32GuideList::RepaintPanel() {
  if (panel_) InvalidateRect(panel_, nullptr, TRUE);
}

void Win32GuideList::RepaintItem(int index) {
  if (ItemWindows* item = Item(index)) InvalidateRect(item->button, nullptr, TRUE);
}

void Win32GuideList::EnableItem(int index, bool enable) {
  ItemWindows* item = Item(index);
  if (!item) return;
  for (HWND window : {item->button, item->title, item->description}) {
    if (window) EnableWindow(window, enable ? TRUE : FALSE);
  }
}

void Win32GuideList::DrawFocusFrame(int index, const ui::Rect& frame) {
  ItemWindows* item = Item(index);
  if (!item || !item->button) return;
  HDC dc = GetDC(item->button);
  RECT r{frame.left, frame.top, frame.right, frame.bottom};
  DrawFocusRect(dc, &r);
  ReleaseDC(item->button, dc);
}

void Win32GuideList::CaptureMouse(bool capture) {
  if (!capture) {
    ReleaseCapture();
  } else if (mouseWindow_) {
    SetCapture(mouseWindow_);
  }
}

void Win32GuideList::NudgeMouse() {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = MOUSEEVENTF_MOVE;
  SendInput(1, &input, sizeof input);
}

void Win32GuideList::FocusItem(int index) {
  if (ItemWindows* item = Item(index)) SetFocus(item->button);
}

int Win32GuideList::FocusedItem() {
  return IndexOf(GetFocus());
}

void Win32GuideList::ItemChosen(int index) {
  if (parent_) PostMessageA(parent_, GUIDE_CHOSEN_MESSAGE, static_cast<WPARAM>(index), 0);
}

LRESULT CALLBACK Win32GuideList::PanelProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
  Win32GuideList* list = From(window);
  if (!list) return DefWindowProcA(window, message, wParam, lParam);
  return list->Panel(message, wParam, lParam);
}

LRESULT Win32GuideList::Panel(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_VSCROLL: {
      int action = ScrollAction(LOWORD(wParam));
      if (action >= 0) events_.OnScroll(action, static_cast<short>(HIWORD(wParam)));
      return 0;
    }
    case WM_MOUSEWHEEL:
      events_.OnWheel(GET_WHEEL_DELTA_WPARAM(wParam));
      return 0;
    case WM_MOUSEMOVE:
      mouseWindow_ = panel_;
      events_.OnPanelMouseMove(static_cast<short>(LOWORD(lParam)),
                               static_cast<short>(HIWORD(lParam)));
      return 0;
    case WM_SETFOCUS:
      events_.OnPanelFocus(GetKeyState(VK_SHIFT) < 0);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(panel_, &paint);
      {
        GdiCanvas canvas(dc, panel_, pictures_);
        events_.OnPaintPanel(canvas);
      }
      EndPaint(panel_, &paint);
      return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
      return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    case WM_COMMAND:
      // Choices come from the portable list's own press and release, not the button's click.
      return 0;
    default:
      return DefWindowProcA(panel_, message, wParam, lParam);
  }
}

LRESULT CALLBACK Win32GuideList::ButtonProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
  Win32GuideList* list = From(window);
  if (!list) return DefWindowProcA(window, message, wParam, lParam);
  return list->Button(window, message, wParam, lParam);
}

LRESULT Win32GuideList::Button(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  int index = IndexOf(window);
  switch (message) {
    case WM_MOUSEMOVE: {
      mouseWindow_ = window;
      RECT client;
      GetClientRect(window, &client);
      POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      events_.OnButtonMouseMove(index, PtInRect(&client, p) != 0);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      SetFocus(window);
      events_.OnButtonDown(index);
      return 0;
    case WM_LBUTTONUP:
      events_.OnButtonUp(index);
      return 0;
    case WM_SETFOCUS:
      events_.OnButtonFocus(index);
      break;
    case WM_NCDESTROY:
      RemovePropA(window, LIST_PROPERTY);
      break;
    default:
      break;
  }
  return CallWindowProcA(buttonDefault_, window, message, wParam, lParam);
}

}  // namespace platform
