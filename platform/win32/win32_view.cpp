// A dialog window behind ui::View, and the dialog procedure that feeds its handler.
#include <algorithm>
#include <cstring>

#include "platform/win32/win32_canvas.h"
#include "platform/win32/win32_dialogs.h"

namespace platform {

namespace {

// Marks our dialog windows for the keyboard routing, which walks foreign windows too.
constexpr char VIEW_PROPERTY[] = "KdDialogView";
// Owner-drawn list entries until the handler says otherwise: WM_MEASUREITEM arrives while the
// template's controls are created, before any handler is attached (LearnControls then).
constexpr UINT OWNER_DRAWN_ITEM_HEIGHT = 15;

// The handlers read command codes as the system sends them.
static_assert(ui::BUTTON_CLICKED == BN_CLICKED, "button click code");
static_assert(ui::COMBO_SELECTION_CHANGED == CBN_SELCHANGE, "combo selection change code");
static_assert(ui::COMBO_DROPPED_DOWN == CBN_DROPDOWN, "combo drop-down code");
static_assert(ui::COMBO_CHOICE_CONFIRMED == CBN_SELENDOK, "combo confirmed choice code");

RECT ToRect(const ui::Rect& rect) {
  return RECT{rect.left, rect.top, rect.right, rect.bottom};
}
ui::Rect FromRect(const RECT& rect) {
  return ui::Rect{rect.left, rect.top, rect.right, rect.bottom};
}

// Mouse coordinates are signed: with the capture held the pointer may be left of or above the
// client area.
int ClientX(LPARAM lParam) {
  return static_cast<int>(static_cast<short>(LOWORD(lParam)));
}
int ClientY(LPARAM lParam) {
  return static_cast<int>(static_cast<short>(HIWORD(lParam)));
}

bool IsTabStop(HWND child) {
  LONG style = GetWindowLongA(child, GWL_STYLE);
  return (style & WS_TABSTOP) && (style & WS_VISIBLE) && !(style & WS_DISABLED);
}

// The direct child of `parent` that holds the focus, or null.
HWND FocusedChildOf(HWND parent) {
  for (HWND window = GetFocus(); window; window = GetParent(window)) {
    if (GetParent(window) == parent) return window;
  }
  return nullptr;
}

}  // namespace

Win32View::Win32View(Win32Host& host, ui::DialogHandler& handler, bool modal)
    : host_(host), handler_(handler), modal_(modal) {}

Win32View::~Win32View() {
  if (hwnd_) DestroyWindow(hwnd_);
  if (hwnd_) Detach();  // the window refused to go; never leave it pointing here
}

Win32View* Win32View::FromWindow(HWND window) {
  if (!window) return nullptr;
  return static_cast<Win32View*>(GetPropA(window, VIEW_PROPERTY));
}

void Win32View::Attach(HWND window) {
  hwnd_ = window;
  SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(this));
  SetPropA(window, VIEW_PROPERTY, this);
}

void Win32View::Detach() {
  RemovePropA(hwnd_, VIEW_PROPERTY);
  SetWindowLongPtrA(hwnd_, DWLP_USER, 0);
  hwnd_ = nullptr;
  controls_.clear();
  placementPending_ = false;
  for (HGDIOBJ bitmap : bitmaps_) DeleteObject(bitmap);
  bitmaps_.clear();
  for (HICON icon : icons_) DestroyIcon(icon);
  icons_.clear();
}

bool Win32View::IsChildWindow() const {
  return hwnd_ && (GetWindowLongA(hwnd_, GWL_STYLE) & WS_CHILD);
}

INT_PTR CALLBACK Win32View::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    Win32View* view = reinterpret_cast<Win32View*>(lParam);
    view->Attach(window);
    view->LearnControls();
    // What OnInit asks of the window's size and place is done at once when it returns.
    view->initialising_ = true;
    BOOL focusByDefault = view->handler_.OnInit(*view) ? TRUE : FALSE;
    view->initialising_ = false;
    if (!view->DefersPlacement()) view->FlushPlacement();  // a hidden page waits until shown
    return focusByDefault;
  }
  if (message == WM_MEASUREITEM) {
    MEASUREITEMSTRUCT* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (measure->CtlType == ODT_COMBOBOX || measure->CtlType == ODT_LISTBOX) {
      measure->itemHeight = OWNER_DRAWN_ITEM_HEIGHT;
      return TRUE;
    }
    return FALSE;
  }
  Win32View* view = reinterpret_cast<Win32View*>(GetWindowLongPtrA(window, DWLP_USER));
  if (!view) return FALSE;
  return view->HandleMessage(message, wParam, lParam);
}

void Win32View::LearnControls() {
  controls_.clear();
  char className[16];
  for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    ControlKind kind = ControlKind::Other;
    if (GetClassNameA(child, className, sizeof className)) {
      if (lstrcmpiA(className, "ComboBox") == 0) kind = ControlKind::ComboBox;
      if (lstrcmpiA(className, "ListBox") == 0) kind = ControlKind::ListBox;
    }
    int id = GetDlgCtrlID(child);
    controls_.push_back(ControlEntry{id, child, kind});
    LONG style = GetWindowLongA(child, GWL_STYLE);
    bool combo = kind == ControlKind::ComboBox && (style & CBS_OWNERDRAWFIXED);
    bool list = kind == ControlKind::ListBox && (style & LBS_OWNERDRAWFIXED);
    if (!combo && !list) continue;
    int height = handler_.OnMeasureItem(id);
    if (height <= 0) continue;
    // Index 0 sets the height of the list's entries; the selection field keeps its own.
    SendMessageA(child, combo ? CB_SETITEMHEIGHT : LB_SETITEMHEIGHT, 0, height);
  }
}

INT_PTR Win32View::Answer(LRESULT result) {
  SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
  return TRUE;
}

INT_PTR Win32View::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      handler_.OnCommand(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_TIMER:
      handler_.OnTimer(static_cast<int>(wParam));
      return FALSE;  // the system's own timer handling still runs
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(hwnd_, &paint);
      {
        GdiCanvas canvas(dc, hwnd_, host_.Pictures());
        handler_.OnPaint(canvas);
      }
      EndPaint(hwnd_, &paint);
      return TRUE;
    }
    case WM_CLOSE:
      handler_.OnClose();
      return TRUE;
    case WM_SYSCOMMAND: {
      bool handled = false;
      handler_.OnSystemCommand(static_cast<int>(wParam), &handled);
      return handled ? Answer(0) : FALSE;
    }
    case WM_SIZE:
      handler_.OnSize(wParam == SIZE_MINIMIZED);
      return FALSE;
    case WM_LBUTTONDOWN:
      handler_.OnMouseDown(ClientX(lParam), ClientY(lParam));
      return FALSE;
    case WM_MOUSEMOVE:
      handler_.OnMouseMove(ClientX(lParam), ClientY(lParam));
      return FALSE;
    case WM_LBUTTONUP:
      handler_.OnLeftButtonUp();
      return FALSE;
    case WM_DRAWITEM: {
      DRAWITEMSTRUCT* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      if (item->CtlType != ODT_COMBOBOX && item->CtlType != ODT_LISTBOX) return FALSE;
      if (item->itemAction == ODA_FOCUS) {
        DrawFocusRect(item->hDC, &item->rcItem);
        return TRUE;
      }
      {
        GdiCanvas canvas(item->hDC, item->hwndItem, host_.Pictures());
        handler_.OnDrawItem(static_cast<int>(item->CtlID), static_cast<int>(item->itemID),
                            (item->itemState & ODS_SELECTED) != 0,
                            (item->itemState & ODS_COMBOBOXEDIT) != 0, canvas,
                            FromRect(item->rcItem));
      }
      if (item->itemState & ODS_FOCUS) DrawFocusRect(item->hDC, &item->rcItem);
      return TRUE;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
      if (!handler_.WhiteBackground()) return FALSE;
      SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
      return reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH));
    case WM_SETCURSOR:
      if (!host_.WaitCursorShown()) return FALSE;
      SetCursor(LoadCursor(nullptr, IDC_WAIT));
      return Answer(TRUE);
    case WM_DESTROY:
      handler_.OnDestroy();
      return FALSE;
    case WM_NCDESTROY:
      Detach();
      return FALSE;
    default:
      break;
  }
  if (message >= WM_USER) {
    bool handled = false;
    intptr_t result = handler_.OnMessage(message, wParam, lParam, &handled);
    return handled ? Answer(result) : FALSE;
  }
  return FALSE;
}

bool Win32View::LeavePageAtTabEdge(bool backwards) {
  if (!IsChildWindow()) return false;
  HWND focused = FocusedChildOf(hwnd_);
  if (!focused) return false;
  HWND first = nullptr;
  HWND last = nullptr;
  for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsTabStop(child)) continue;
    if (!first) first = child;
    last = child;
  }
  if (focused != (backwards ? first : last)) return false;
  SetFocus(GetParent(hwnd_));
  return true;
}

const Win32View::ControlEntry* Win32View::Entry(int id) const {
  // GetDlgItem answers the first child with the id, as the first entry here does.
  for (const ControlEntry& entry : controls_) {
    if (entry.id == id) return &entry;
  }
  return nullptr;
}

HWND Win32View::Control(int id) const {
  if (!hwnd_) return nullptr;
  if (const ControlEntry* entry = Entry(id)) return entry->window;
  // Windows made after the template's (the guide list's) are asked for each time.
  return GetDlgItem(hwnd_, id);
}

bool Win32View::IsListBox(HWND control) const {
  for (const ControlEntry& entry : controls_) {
    if (entry.window == control) return entry.kind == ControlKind::ListBox;
  }
  char name[32] = {};
  GetClassNameA(control, name, sizeof name);
  return lstrcmpiA(name, "ListBox") == 0;
}

bool Win32View::HasControl(int id) {
  return Control(id) != nullptr;
}

void Win32View::PlaceControl(int id, const ui::Rect& rect) {
  HWND control = Control(id);
  if (!control) return;
  int height = rect.Height();
  const ControlEntry* entry = Entry(id);
  bool combo = entry ? entry->kind == ControlKind::ComboBox : false;
  if (!entry) {
    char name[32] = {};
    GetClassNameA(control, name, sizeof name);
    combo = lstrcmpiA(name, "ComboBox") == 0;
  }
  if (combo) {
    // A combo box's height includes its drop-down list; the layout gives only the closed field,
    // so the list keeps the height the template gave it.
    RECT dropped = {};
    SendMessageA(control, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    if (dropped.bottom - dropped.top > height) height = dropped.bottom - dropped.top;
  }
  RECT now = {};
  GetWindowRect(control, &now);
  MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&now), 2);
  if (now.left == rect.left && now.top == rect.top && now.right - now.left == rect.Width() &&
      now.bottom - now.top == height) {
    return;  // already there: a move would only cost round trips
  }
  MoveWindow(control, rect.left, rect.top, rect.Width(), height, TRUE);
}

ui::Rect Win32View::ControlRect(int id) {
  HWND control = Control(id);
  if (!control) return ui::Rect{};
  RECT rect = {};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&rect), 2);
  return FromRect(rect);
}

namespace {

bool SameFont(HFONT a, HFONT b) {
  if (a == b) return true;
  if (!a || !b) return false;
  LOGFONTA first = {};
  LOGFONTA second = {};
  if (!GetObjectA(a, sizeof first, &first) || !GetObjectA(b, sizeof second, &second)) return false;
  return first.lfHeight == second.lfHeight && first.lfWidth == second.lfWidth &&
         first.lfEscapement == second.lfEscapement && first.lfOrientation == second.lfOrientation &&
         first.lfWeight == second.lfWeight && first.lfItalic == second.lfItalic &&
         first.lfUnderline == second.lfUnderline && first.lfStrikeOut == second.lfStrikeOut &&
         first.lfCharSet == second.lfCharSet && first.lfOutPrecision == second.lfOutPrecision &&
         first.lfClipPrecision == second.lfClipPrecision && first.lfQuality == second.lfQuality &&
         first.lfPitchAndFamily == second.lfPitchAndFamily &&
         lstrcmpiA(first.lfFaceName, second.lfFaceName) == 0;
}

// True when the window already shows that text: setting it again changes nothing on the screen
// but costs a round trip to the Wine server.
bool HasText(HWND window, const std::string& text) {
  int length = GetWindowTextLengthA(window);
  if (length != static_cast<int>(text.size())) return false;
  if (length == 0) return true;
  std::string now(static_cast<size_t>(length) + 1, '\0');
  int got = GetWindowTextA(window, &now[0], length + 1);
  return got == length && now.compare(0, static_cast<size_t>(got), text) == 0;
}

}  // namespace

void Win32View::SetControlFont(int id, ui::Font font) {
  HWND control = Control(id);
  if (!control) return;
  // A font that draws the same as the one the control has (the base font where L_Font.ini
  // changes nothing of the dialog's font) would only make the control measure itself again.
  HFONT now = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
  if (SameFont(now, reinterpret_cast<HFONT>(font))) return;
  // A control nobody can see (on a page not yet shown) is painted whole when it is shown; asking
  // it to repaint now only costs round trips.
  SendMessageA(control, WM_SETFONT, font, IsWindowVisible(control) ? TRUE : FALSE);
}

void Win32View::SetControlText(int id, const std::string& text) {
  HWND control = Control(id);
  if (control && !HasText(control, text)) SetWindowTextA(control, text.c_str());
}

std::string Win32View::ControlText(int id) {
  HWND control = Control(id);
  if (!control) return std::string();
  int length = GetWindowTextLengthA(control);
  if (length <= 0) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  int got = GetWindowTextA(control, &text[0], length + 1);
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

void Win32View::EnableControl(int id, bool enable) {
  if (HWND control = Control(id)) EnableWindow(control, enable ? TRUE : FALSE);
}

bool Win32View::IsControlEnabled(int id) {
  HWND control = Control(id);
  return control && IsWindowEnabled(control);
}

void Win32View::ShowControl(int id, bool show) {
  HWND control = Control(id);
  if (!control) return;
  bool shown = (GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE) != 0;
  if (shown != show) ShowWindow(control, show ? SW_SHOWNA : SW_HIDE);
}

bool Win32View::IsControlVisible(int id) {
  HWND control = Control(id);
  return control && (GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE);
}

void Win32View::SetChecked(int id, bool checked) {
  if (Control(id)) CheckDlgButton(hwnd_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool Win32View::IsChecked(int id) {
  return Control(id) && IsDlgButtonChecked(hwnd_, id) == BST_CHECKED;
}

void Win32View::SetButtonBitmap(int id, int resourceId) {
  HWND control = Control(id);
  if (!control) return;
  HANDLE bitmap = LoadImageA(host_.Instance(), MAKEINTRESOURCEA(resourceId), IMAGE_BITMAP, 0, 0,
                             LR_DEFAULTCOLOR);
  if (!bitmap) return;
  bitmaps_.push_back(bitmap);
  SendMessageA(control, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
}

void Win32View::FocusControl(int id) {
  if (HWND control = Control(id)) {
    SendMessageA(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
  }
}

void Win32View::ComboClear(int id) {
  HWND control = Control(id);
  if (!control) return;
  SendMessageA(control, IsListBox(control) ? LB_RESETCONTENT : CB_RESETCONTENT, 0, 0);
}

int Win32View::ComboAdd(int id, const std::string& text, intptr_t data) {
  HWND control = Control(id);
  if (!control) return -1;
  bool list = IsListBox(control);
  LRESULT index = SendMessageA(control, list ? LB_ADDSTRING : CB_ADDSTRING, 0,
                               reinterpret_cast<LPARAM>(text.c_str()));
  if (index < 0) return -1;
  SendMessageA(control, list ? LB_SETITEMDATA : CB_SETITEMDATA, static_cast<WPARAM>(index), data);
  return static_cast<int>(index);
}

int Win32View::ComboCount(int id) {
  HWND control = Control(id);
  if (!control) return 0;
  LRESULT count = SendMessageA(control, IsListBox(control) ? LB_GETCOUNT : CB_GETCOUNT, 0, 0);
  return count < 0 ? 0 : static_cast<int>(count);
}

std::string Win32View::ComboText(int id, int index) {
  HWND control = Control(id);
  if (!control || index < 0) return std::string();
  bool list = IsListBox(control);
  LRESULT length = SendMessageA(control, list ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, index, 0);
  if (length < 0) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  LRESULT got = SendMessageA(control, list ? LB_GETTEXT : CB_GETLBTEXT, index,
                             reinterpret_cast<LPARAM>(&text[0]));
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

intptr_t Win32View::ComboData(int id, int index) {
  HWND control = Control(id);
  if (!control || index < 0 || index >= ComboCount(id)) return -1;
  return SendMessageA(control, IsListBox(control) ? LB_GETITEMDATA : CB_GETITEMDATA, index, 0);
}

void Win32View::ComboSetData(int id, int index, intptr_t data) {
  HWND control = Control(id);
  if (!control || index < 0 || index >= ComboCount(id)) return;
  SendMessageA(control, IsListBox(control) ? LB_SETITEMDATA : CB_SETITEMDATA,
               static_cast<WPARAM>(index), static_cast<LPARAM>(data));
}

int Win32View::ComboSelection(int id) {
  HWND control = Control(id);
  if (!control) return -1;
  LRESULT index = SendMessageA(control, IsListBox(control) ? LB_GETCURSEL : CB_GETCURSEL, 0, 0);
  return index < 0 ? -1 : static_cast<int>(index);
}

void Win32View::ComboSelect(int id, int index) {
  HWND control = Control(id);
  if (!control) return;
  SendMessageA(control, IsListBox(control) ? LB_SETCURSEL : CB_SETCURSEL,
               static_cast<WPARAM>(index), 0);
}

void Win32View::SetTitle(const std::string& text) {
  if (hwnd_ && !HasText(hwnd_, text)) SetWindowTextA(hwnd_, text.c_str());
}

RECT Win32View::PlacedRect() const {
  // Where MoveWindow takes it from: the parent's client area for a child, else the screen.
  RECT rect = {};
  GetWindowRect(hwnd_, &rect);
  if (GetWindowLongA(hwnd_, GWL_STYLE) & WS_CHILD) {
    MapWindowPoints(nullptr, GetParent(hwnd_), reinterpret_cast<POINT*>(&rect), 2);
  }
  return rect;
}

bool Win32View::DefersPlacement() const {
  if (!hwnd_) return false;
  if (initialising_) return true;
  LONG style = GetWindowLongA(hwnd_, GWL_STYLE);
  return (style & WS_CHILD) && !(style & WS_VISIBLE);
}

void Win32View::Place(const RECT& rect) {
  if (DefersPlacement()) {
    pendingRect_ = rect;
    placementPending_ = true;
    return;
  }
  placementPending_ = false;
  RECT now = PlacedRect();
  if (EqualRect(&now, &rect)) return;
  MoveWindow(hwnd_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

void Win32View::FlushPlacement() {
  if (!hwnd_ || !placementPending_) return;
  placementPending_ = false;
  RECT now = PlacedRect();
  if (EqualRect(&now, &pendingRect_)) return;
  MoveWindow(hwnd_, pendingRect_.left, pendingRect_.top, pendingRect_.right - pendingRect_.left,
             pendingRect_.bottom - pendingRect_.top, TRUE);
}

void Win32View::SetWindowRect(const ui::Rect& rect) {
  if (hwnd_) Place(ToRect(rect));
}

void Win32View::SetClientSize(int width, int height) {
  if (!hwnd_) return;
  RECT rect = {0, 0, width, height};
  AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_EXSTYLE)));
  RECT placed = placementPending_ ? pendingRect_ : PlacedRect();
  placed.right = placed.left + (rect.right - rect.left);
  placed.bottom = placed.top + (rect.bottom - rect.top);
  Place(placed);
}

ui::Rect Win32View::ClientSize() {
  RECT rect = {};
  if (hwnd_ && placementPending_) {
    // The client area the pending placement will give: the window less its frame.
    RECT frame = {};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_EXSTYLE)));
    rect.right = (pendingRect_.right - pendingRect_.left) - (frame.right - frame.left);
    rect.bottom = (pendingRect_.bottom - pendingRect_.top) - (frame.bottom - frame.top);
  } else if (hwnd_) {
    GetClientRect(hwnd_, &rect);
  }
  return FromRect(rect);
}

void Win32View::CenterIn(const RECT& area) {
  RECT window = {};
  if (placementPending_) {
    window = pendingRect_;  // only its size counts here
  } else {
    GetWindowRect(hwnd_, &window);
  }
  int width = window.right - window.left;
  int height = window.bottom - window.top;
  int x = area.left + ((area.right - area.left) - width) / 2;
  int y = area.top + ((area.bottom - area.top) - height) / 2;
  if (IsChildWindow()) {
    POINT origin = {x, y};
    ScreenToClient(GetParent(hwnd_), &origin);
    x = origin.x;
    y = origin.y;
  } else {
    // A window taller or wider than its owner stays on the screen, its caption reachable:
    // kept inside the work area of the monitor the area lies on.
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoA(MonitorFromRect(&area, MONITOR_DEFAULTTONEAREST), &monitor)) {
      const RECT& work = monitor.rcWork;
      x = std::max<int>(work.left, std::min<int>(x, work.right - width));
      y = std::max<int>(work.top, std::min<int>(y, work.bottom - height));
    }
  }
  Place(RECT{x, y, x + width, y + height});
}

void Win32View::CenterOnParent() {
  if (!hwnd_) return;
  HWND parent = IsChildWindow() ? GetParent(hwnd_) : GetWindow(hwnd_, GW_OWNER);
  if (Win32View* parentView = FromWindow(parent)) parentView->FlushPlacement();
  if (!parent || (!IsChildWindow() && IsIconic(parent))) {
    CenterOnScreen();
    return;
  }
  RECT area = {};
  if (IsChildWindow()) {
    GetClientRect(parent, &area);
    MapWindowPoints(parent, nullptr, reinterpret_cast<POINT*>(&area), 2);
  } else {
    GetWindowRect(parent, &area);
  }
  CenterIn(area);
}

void Win32View::CenterOnScreen() {
  if (!hwnd_) return;
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoA(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &monitor);
  CenterIn(monitor.rcWork);
}

void Win32View::Show(bool show) {
  if (!hwnd_) return;
  if (show) FlushPlacement();
  // A hidden page hidden again (every page switch hides all but one) needs no round trip.
  if (!show && !(GetWindowLongA(hwnd_, GWL_STYLE) & WS_VISIBLE)) return;
  ShowWindow(hwnd_, show ? SW_SHOW : SW_HIDE);
}

bool Win32View::IsVisible() {
  return hwnd_ && IsWindowVisible(hwnd_);
}

void Win32View::Enable(bool enable) {
  if (hwnd_) EnableWindow(hwnd_, enable ? TRUE : FALSE);
}

bool Win32View::IsEnabled() {
  return hwnd_ && IsWindowEnabled(hwnd_);
}

void Win32View::Focus() {
  if (hwnd_) SetFocus(hwnd_);
}

int Win32View::FocusedControl() {
  HWND focused = hwnd_ ? FocusedChildOf(hwnd_) : nullptr;
  return focused ? GetDlgCtrlID(focused) : 0;
}

void Win32View::CaptureMouse(bool capture) {
  if (!hwnd_) return;
  if (capture) {
    SetCapture(hwnd_);
  } else if (GetCapture() == hwnd_) {
    ReleaseCapture();
  }
}

void Win32View::RepaintNow(const ui::Rect& area) {
  if (!hwnd_) return;
  FlushPlacement();
  RECT rect = ToRect(area);
  InvalidateRect(hwnd_, &rect, TRUE);
  UpdateWindow(hwnd_);
}

void Win32View::Invalidate() {
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void Win32View::InvalidateControl(int id) {
  // The control's area of this window: a hidden frame control marks where the window paints.
  if (!Control(id)) return;
  RECT rect = ToRect(ControlRect(id));
  InvalidateRect(hwnd_, &rect, TRUE);
}

int Win32View::Dpi() {
  HDC dc = GetDC(hwnd_);
  int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
  if (dc) ReleaseDC(hwnd_, dc);
  return dpi;
}

ui::FontDescription Win32View::DialogFont() {
  HFONT font = hwnd_ ? reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0)) : nullptr;
  if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  LOGFONTA logical = {};
  GetObjectA(font, sizeof logical, &logical);
  ui::FontDescription description;
  description.height = logical.lfHeight;
  description.weight = logical.lfWeight;
  description.italic = logical.lfItalic != 0;
  description.underline = logical.lfUnderline != 0;
  description.faceName = logical.lfFaceName;
  description.rest.resize(sizeof logical);
  std::memcpy(description.rest.data(), &logical, sizeof logical);
  return description;
}

void Win32View::SetIcon(int resourceId) {
  if (!hwnd_) return;
  const struct {
    WPARAM kind;
    int width;
    int height;
  } sizes[] = {{ICON_BIG, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)},
               {ICON_SMALL, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)}};
  for (const auto& size : sizes) {
    HICON icon = static_cast<HICON>(LoadImageA(host_.Instance(), MAKEINTRESOURCEA(resourceId),
                                               IMAGE_ICON, size.width, size.height, 0));
    if (!icon) continue;
    icons_.push_back(icon);
    SendMessageA(hwnd_, WM_SETICON, size.kind, reinterpret_cast<LPARAM>(icon));
  }
}

void Win32View::SetProperty(const std::string& name, intptr_t value) {
  if (hwnd_) SetPropA(hwnd_, name.c_str(), reinterpret_cast<HANDLE>(value));
}

void Win32View::RemoveProperty(const std::string& name) {
  if (hwnd_) RemovePropA(hwnd_, name.c_str());
}

void Win32View::SetTimer(int id, uint32_t ms) {
  if (hwnd_) ::SetTimer(hwnd_, static_cast<UINT_PTR>(id), ms, nullptr);
}

void Win32View::KillTimer(int id) {
  if (hwnd_) ::KillTimer(hwnd_, static_cast<UINT_PTR>(id));
}

intptr_t Win32View::Send(unsigned message, uintptr_t wParam, intptr_t lParam) {
  return hwnd_ ? SendMessageA(hwnd_, message, wParam, lParam) : 0;
}

void Win32View::PostClose() {
  if (hwnd_) PostMessageA(hwnd_, WM_CLOSE, 0, 0);
}

void Win32View::EndDialog(int result) {
  if (!hwnd_) return;
  // A modeless dialog only hides: the system's EndDialog would also re-enable its owner,
  // which the busy dialog keeps disabled until it is stopped.
  if (modal_) {
    ::EndDialog(hwnd_, result);
  } else {
    ShowWindow(hwnd_, SW_HIDE);
  }
}

void Win32View::FocusTabStopNear(int childIndex, bool previous) {
  if (!hwnd_) return;
  HWND child = GetWindow(hwnd_, GW_CHILD);
  for (int i = 0; child && i < childIndex; ++i) child = GetWindow(child, GW_HWNDNEXT);
  if (!child) return;
  HWND target = GetNextDlgTabItem(hwnd_, child, previous ? TRUE : FALSE);
  if (target) SetFocus(target);
}

bool Win32View::HasSystemMenu() {
  return hwnd_ && (GetWindowLongA(hwnd_, GWL_STYLE) & WS_SYSMENU) &&
         GetSystemMenu(hwnd_, FALSE) != nullptr;
}

void Win32View::AppendSystemMenuItem(int commandId, const std::string& text) {
  HMENU menu = hwnd_ ? GetSystemMenu(hwnd_, FALSE) : nullptr;
  if (!menu) return;
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(commandId), text.c_str());
}

void Win32View::RemoveMaximizeAndSize() {
  HMENU menu = hwnd_ ? GetSystemMenu(hwnd_, FALSE) : nullptr;
  if (!menu) return;
  DeleteMenu(menu, SC_MAXIMIZE, MF_BYCOMMAND);
  DeleteMenu(menu, SC_SIZE, MF_BYCOMMAND);
}

void Win32View::SetMinimizeRestoreGreyed(bool minimized) {
  HMENU menu = hwnd_ ? GetSystemMenu(hwnd_, FALSE) : nullptr;
  if (!menu) return;
  EnableMenuItem(menu, SC_MINIMIZE, MF_BYCOMMAND | (minimized ? MF_GRAYED : MF_ENABLED));
  EnableMenuItem(menu, SC_RESTORE, MF_BYCOMMAND | (minimized ? MF_ENABLED : MF_GRAYED));
}

bool Win32View::IsMinimized() {
  return hwnd_ && IsIconic(hwnd_);
}

}  // namespace platform
