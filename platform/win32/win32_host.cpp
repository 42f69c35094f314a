// Program-wide window services: dialogs from templates, message boxes, the message pump and the
// keyboard routing that lets portable handlers see keys before the dialog manager does.
#include <cstring>

#include "platform/native.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_guide_list.h"
#include "platform/win32/win32_on_demand.h"

namespace platform {

namespace {

constexpr char SHELL_VERB_OPEN[] = "open";
// ShellExecute answers a value above this on success.
constexpr intptr_t SHELL_EXECUTE_FAILED_MAX = 32;

bool IsKeyMessage(UINT message) {
  return message >= WM_KEYFIRST && message <= WM_KEYLAST;
}

HWND WindowOf(ui::View* view) {
  return view ? static_cast<Win32View*>(view)->Window() : nullptr;
}

// A window about to own a message box or a modal dialog is where its handler asked it to be.
HWND PlacedWindowOf(ui::View* view) {
  if (!view) return nullptr;
  static_cast<Win32View*>(view)->FlushPlacement();
  return WindowOf(view);
}

// The innermost of our dialogs that contains window (the window itself included).
Win32View* DialogAround(HWND window) {
  for (HWND w = window; w; w = (GetWindowLongA(w, GWL_STYLE) & WS_CHILD) ? GetParent(w) : nullptr) {
    if (Win32View* view = Win32View::FromWindow(w)) return view;
  }
  return nullptr;
}

UINT IconFlag(ui::Icon icon) {
  switch (icon) {
    case ui::Icon::Information:
      return MB_ICONINFORMATION;
    case ui::Icon::Warning:
      return MB_ICONEXCLAMATION;
    case ui::Icon::Error:
      return MB_ICONERROR;
    case ui::Icon::Question:
      return MB_ICONQUESTION;
    case ui::Icon::None:
      break;
  }
  return 0;
}

struct ActivationWalk {
  const char* property;
};

BOOL CALLBACK ActivateIfMarked(HWND window, LPARAM lParam) {
  const ActivationWalk* walk = reinterpret_cast<const ActivationWalk*>(lParam);
  if (!GetPropA(window, walk->property)) return TRUE;
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  SetForegroundWindow(window);
  SetForegroundWindow(GetLastActivePopup(window));
  return TRUE;  // every marked window, not only the first
}

// The pump and nested modal loops run their own routing; the flag only guards the direct
// re-entry from the dialog managers that RouteKeyMessage calls.
class RoutingPause {
 public:
  explicit RoutingPause(bool& flag) : flag_(flag), saved_(flag) { flag_ = false; }
  ~RoutingPause() { flag_ = saved_; }
  RoutingPause(const RoutingPause&) = delete;
  RoutingPause& operator=(const RoutingPause&) = delete;

 private:
  bool& flag_;
  bool saved_;
};

}  // namespace

std::string FileDialogFilter(const std::string& filter) {
  std::string converted = filter;
  for (char& c : converted) {
    if (c == '|') c = '\0';
  }
  // The list ends with an empty entry, two NULs, whether or not the caller wrote the bars.
  while (converted.size() < 2 || converted[converted.size() - 1] != '\0' ||
         converted[converted.size() - 2] != '\0') {
    converted.push_back('\0');
  }
  return converted;
}

Win32Host::Win32Host() : instance_(GetModuleHandleA(nullptr)), pictures_(instance_) {
  // Dialog managers (modal loops, message boxes, IsDialogMessage) report every message here
  // before they act on it.
  filter_ = SetWindowsHookExA(WH_MSGFILTER, MessageFilter, nullptr, GetCurrentThreadId());
}

Win32Host::~Win32Host() {
  if (filter_) UnhookWindowsHookEx(filter_);
}

LRESULT CALLBACK Win32Host::MessageFilter(int code, WPARAM wParam, LPARAM lParam) {
  if (code == MSGF_DIALOGBOX) {
    MSG* message = reinterpret_cast<MSG*>(lParam);
    if (message && message->hwnd && IsKeyMessage(message->message)) {
      if (Win32View* view = DialogAround(message->hwnd)) {
        if (view->Host().RouteKeyMessage(message)) return 1;
      }
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool Win32Host::RouteKeyMessage(MSG* message) {
  if (routing_) return false;
  std::vector<HWND> chain;
  for (HWND w = message->hwnd; w;
       w = (GetWindowLongA(w, GWL_STYLE) & WS_CHILD) ? GetParent(w) : nullptr) {
    if (Win32View::FromWindow(w)) chain.push_back(w);
  }
  if (chain.empty()) return false;
  routing_ = true;
  bool consumed = false;
  bool shift = GetKeyState(VK_SHIFT) < 0;
  for (HWND dialog : chain) {
    Win32View* view = Win32View::FromWindow(dialog);
    if (!view) continue;  // destroyed by an earlier handler
    if (message->message == WM_KEYDOWN) {
      int key = static_cast<int>(message->wParam);
      if (view->Handler().OnKeyDown(key, shift) ||
          (key == VK_TAB && view->LeavePageAtTabEdge(shift))) {
        consumed = true;
        break;
      }
    }
    if (IsWindow(dialog) && IsDialogMessageA(dialog, message)) {
      consumed = true;
      break;
    }
  }
  routing_ = false;
  return consumed;
}

int Win32Host::RunModal(int templateId, ui::View* parent, ui::DialogHandler& handler) {
  Win32View view(*this, handler, true);
  RoutingPause pause(routing_);
  INT_PTR result = DialogBoxParamA(instance_, MAKEINTRESOURCEA(templateId), PlacedWindowOf(parent),
                                   Win32View::DialogProc, reinterpret_cast<LPARAM>(&view));
  return static_cast<int>(result);
}

std::unique_ptr<ui::View> Win32Host::CreateModeless(int templateId, ui::View* parent, bool child,
                                                    ui::DialogHandler& handler) {
  // Whether the window is a child page or an owned pop-up is the template's style.
  (void)child;
  auto view = std::make_unique<Win32View>(*this, handler, false);
  HWND window = CreateDialogParamA(instance_, MAKEINTRESOURCEA(templateId), WindowOf(parent),
                                   Win32View::DialogProc, reinterpret_cast<LPARAM>(view.get()));
  if (!window) return nullptr;
  return view;
}

ui::Answer Win32Host::MessageBox(ui::View* owner, const std::string& text,
                                 const std::string& caption, ui::Icon icon, ui::Buttons buttons) {
  UINT flags = IconFlag(icon) | (buttons == ui::Buttons::OkCancel ? MB_OKCANCEL : MB_OK);
  int answer = MessageBoxA(PlacedWindowOf(owner), text.c_str(), caption.c_str(), flags);
  return answer == IDOK ? ui::Answer::Ok : ui::Answer::Cancel;
}

bool Win32Host::BitmapLoads(int resourceId) {
  HANDLE bitmap =
      LoadImageA(instance_, MAKEINTRESOURCEA(resourceId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
  if (!bitmap) return false;
  DeleteObject(bitmap);
  return true;
}

void Win32Host::PumpMessages() {
  RoutingPause pause(routing_);
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));  // for the loop that owns it
      break;
    }
    if (message.hwnd && IsKeyMessage(message.message) && RouteKeyMessage(&message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

void Win32Host::SetWaitCursor(bool wait) {
  waitCursor_ = wait;
  SetCursor(LoadCursor(nullptr, wait ? IDC_WAIT : IDC_ARROW));
}

void Win32Host::ActivateWindowsWithProperty(const std::string& name) {
  ActivationWalk walk{name.c_str()};
  EnumWindows(ActivateIfMarked, reinterpret_cast<LPARAM>(&walk));
}

bool Win32Host::ShellOpen(ui::View* owner, const std::string& path) {
  using ShellExecuteFn = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
  auto shellExecute = OnDemandExport<ShellExecuteFn>("shell32.dll", "ShellExecuteA");
  if (!shellExecute) return false;
  HINSTANCE result =
      shellExecute(WindowOf(owner), SHELL_VERB_OPEN, path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<intptr_t>(result) > SHELL_EXECUTE_FAILED_MAX;
}

bool Win32Host::ChooseFile(ui::View* owner, const std::string& filter,
                           const std::string& defaultExt, const std::string& initialFolder,
                           std::string* chosen) {
  std::string filters = FileDialogFilter(filter);
  char file[MAX_PATH] = {};
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = WindowOf(owner);
  dialog.lpstrFilter = filters.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrInitialDir = initialFolder.empty() ? nullptr : initialFolder.c_str();
  dialog.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING;
  using GetOpenFileNameFn = BOOL(WINAPI*)(LPOPENFILENAMEA);
  auto getOpenFileName = OnDemandExport<GetOpenFileNameFn>("comdlg32.dll", "GetOpenFileNameA");
  if (!getOpenFileName || !getOpenFileName(&dialog)) return false;
  *chosen = file;
  return true;
}

ui::Font Win32Host::CreateFont(const ui::FontDescription& description) {
  LOGFONTA logical = {};
  if (description.rest.size() == sizeof logical) {
    std::memcpy(&logical, description.rest.data(), sizeof logical);
  } else {
    logical.lfCharSet = DEFAULT_CHARSET;
  }
  logical.lfHeight = description.height;
  logical.lfWeight = description.weight;
  logical.lfItalic = description.italic ? TRUE : FALSE;
  logical.lfUnderline = description.underline ? TRUE : FALSE;
  if (!description.faceName.empty()) {
    lstrcpynA(logical.lfFaceName, description.faceName.c_str(), LF_FACESIZE);
  }
  return reinterpret_cast<ui::Font>(CreateFontIndirectA(&logical));
}

void Win32Host::DeleteFont(ui::Font font) {
  if (font) DeleteObject(reinterpret_cast<HFONT>(font));
}

std::unique_ptr<ui::GuideListWindows> Win32Host::CreateGuideList(ui::View& parent,
                                                                 const ui::Rect& panel,
                                                                 const ui::Rect& pane,
                                                                 ui::GuideListEvents& events) {
  auto list = std::make_unique<Win32GuideList>(pictures_, events);
  if (!list->Create(WindowOf(&parent), panel, pane)) return nullptr;
  return list;
}

std::unique_ptr<ui::Host> MakeNativeHost() {
  return std::make_unique<Win32Host>();
}

}  // namespace platform
