// kddriver: drives the suite's dialogs from outside, for the Wine end-to-end scripts. Every wait
// is bounded; the exit code says whether the step succeeded.
#include <windows.h>
// windows.h first: winspool.h builds on it.
#include <winspool.h>
// The seam's print surface has an operation of the same name.
#undef DrawText

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/native.h"
#include "tests/e2e/driver/fits_hook.h"

namespace {

constexpr char DIALOG_CLASS[] = "#32770";
constexpr int MESSAGE_TEXT_ID = 0xFFFF;  // the static text of a system message box
constexpr DWORD POLL_MS = 100;

enum Exit { EXIT_OK = 0, EXIT_FAILED = 1, EXIT_USAGE = 2 };

bool IsMessageBox(HWND window) {
  return GetDlgItem(window, MESSAGE_TEXT_ID) != nullptr;
}

constexpr char ANY_TITLE[] = "*";

struct Search {
  const char* title;  // null or "*": any
  bool messageBox;
  bool either;  // main window or message box
  HWND found;
};

BOOL CALLBACK Match(HWND window, LPARAM lParam) {
  Search* search = reinterpret_cast<Search*>(lParam);
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  if (std::strcmp(name, DIALOG_CLASS) != 0 || !IsWindowVisible(window)) return TRUE;
  if (!search->either && IsMessageBox(window) != search->messageBox) return TRUE;
  if (search->title && std::strcmp(search->title, ANY_TITLE) != 0) {
    char title[256] = {};
    GetWindowTextA(window, title, sizeof title);
    if (std::strcmp(title, search->title) != 0) return TRUE;
  }
  search->found = window;
  return FALSE;
}

// A visible top-level dialog: the program's window by title ("*": any), or any message box.
HWND FindDialog(const char* title, bool messageBox, bool either = false) {
  Search search{title, messageBox, either, nullptr};
  EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForDialog(const char* title, bool messageBox, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    if (HWND window = FindDialog(title, messageBox)) return window;
    if (GetTickCount() - start >= timeoutMs) return nullptr;
    Sleep(POLL_MS);
  }
}

std::string TextOf(HWND window) {
  char text[1024] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

// A control's text; for a combo box the selected entry's (a drop-down list has no edit text).
std::string ControlText(HWND control) {
  char name[16] = {};
  GetClassNameA(control, name, sizeof name);
  if (_stricmp(name, "ComboBox") != 0) return TextOf(control);
  LRESULT selection = SendMessageA(control, CB_GETCURSEL, 0, 0);
  if (selection == CB_ERR) return std::string();
  // The wide form: Wine hands the ANSI form's text across processes unconverted.
  LRESULT length = SendMessageW(control, CB_GETLBTEXTLEN, static_cast<WPARAM>(selection), 0);
  if (length == CB_ERR) return std::string();
  std::vector<wchar_t> wide(static_cast<size_t>(length) + 1, L'\0');
  SendMessageW(control, CB_GETLBTEXT, static_cast<WPARAM>(selection),
               reinterpret_cast<LPARAM>(wide.data()));
  char text[1024] = {};
  WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, text, sizeof text, nullptr, nullptr);
  return text;
}

// The control with that id anywhere inside the window (pages are child dialogs).
HWND FindControl(HWND window, int id) {
  if (HWND direct = GetDlgItem(window, id)) return direct;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (HWND inner = FindControl(child, id)) return inner;
  }
  return nullptr;
}

// --- Which standard icon a message box shows -------------------------------------------------
//
// Icon handles belong to the process that loaded them, so the box's icon cannot be compared
// with our own LoadIcon handles. Instead the icon's pixels on screen are compared with each
// standard icon drawn here: drawn once on black and once on white, the pixels that come out
// equal are the opaque ones, and those must match the screen.

struct StandardIcon {
  const char* name;
  LPCSTR id;
};
const StandardIcon STANDARD_ICONS[] = {
    {"error", IDI_HAND},
    {"warning", IDI_EXCLAMATION},
    {"information", IDI_ASTERISK},
    {"question", IDI_QUESTION},
};
constexpr double ICON_MATCH = 0.9;    // share of opaque pixels that must match
constexpr int COLOUR_TOLERANCE = 24;  // per channel: screen depth and blending may round
constexpr int ICON_ATTEMPTS = 20;     // the box may not have painted yet

using Pixels = std::vector<DWORD>;

// The 32-bit pixels of a memory bitmap, top row first.
Pixels ReadPixels(HDC dc, HBITMAP bitmap, int width, int height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  Pixels pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
  GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
  return pixels;
}

// Runs paint(dc) on a fresh width x height bitmap and returns its pixels.
template <typename Paint>
Pixels Render(int width, int height, Paint paint) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(dc, bitmap);
  paint(dc, screen);
  SelectObject(dc, old);
  Pixels pixels = ReadPixels(dc, bitmap, width, height);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return pixels;
}

bool Near(DWORD a, DWORD b) {
  for (int shift = 0; shift < 24; shift += 8) {
    int x = static_cast<int>((a >> shift) & 0xFF);
    int y = static_cast<int>((b >> shift) & 0xFF);
    if (std::abs(x - y) > COLOUR_TOLERANCE) return false;
  }
  return true;
}

Pixels DrawIconOn(HICON icon, int width, int height, COLORREF background) {
  return Render(width, height, [&](HDC dc, HDC) {
    RECT all = {0, 0, width, height};
    HBRUSH brush = CreateSolidBrush(background);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    DrawIconEx(dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
  });
}

// Share of the icon's opaque pixels that equal the screen's.
double IconMatch(const Pixels& screen, HICON icon, int width, int height) {
  Pixels onBlack = DrawIconOn(icon, width, height, RGB(0, 0, 0));
  Pixels onWhite = DrawIconOn(icon, width, height, RGB(255, 255, 255));
  size_t opaque = 0;
  size_t matching = 0;
  for (size_t i = 0; i < screen.size(); ++i) {
    if ((onBlack[i] & 0xFFFFFF) != (onWhite[i] & 0xFFFFFF)) continue;
    ++opaque;
    if (Near(screen[i], onBlack[i])) ++matching;
  }
  return opaque == 0 ? 0.0 : static_cast<double>(matching) / static_cast<double>(opaque);
}

BOOL CALLBACK FindIconControl(HWND child, LPARAM lParam) {
  char name[16] = {};
  GetClassNameA(child, name, sizeof name);
  LONG style = GetWindowLongA(child, GWL_STYLE);
  if (_stricmp(name, "Static") == 0 && (style & SS_TYPEMASK) == SS_ICON && IsWindowVisible(child)) {
    *reinterpret_cast<HWND*>(lParam) = child;
    return FALSE;
  }
  return TRUE;
}

// "error", "warning", "information", "question", "none" (no icon control) or "unknown".
std::string IconOf(HWND box) {
  HWND control = nullptr;
  EnumChildWindows(box, FindIconControl, reinterpret_cast<LPARAM>(&control));
  if (!control || !SendMessageA(control, STM_GETICON, 0, 0)) return "none";
  for (int attempt = 0; attempt < ICON_ATTEMPTS; ++attempt) {
    RECT rect = {};
    GetWindowRect(control, &rect);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return "none";
    Pixels screen = Render(width, height, [&](HDC dc, HDC screenDc) {
      BitBlt(dc, 0, 0, width, height, screenDc, rect.left, rect.top, SRCCOPY);
    });
    const char* best = nullptr;
    double bestMatch = 0.0;
    for (const StandardIcon& candidate : STANDARD_ICONS) {
      double match = IconMatch(screen, LoadIconA(nullptr, candidate.id), width, height);
      if (match > bestMatch) {
        bestMatch = match;
        best = candidate.name;
      }
    }
    if (best && bestMatch >= ICON_MATCH) return best;
    Sleep(POLL_MS);
  }
  return "unknown";
}

// Prints the box's caption, icon and text, one per line, then answers it.
void Answer(HWND box, const char* answer) {
  std::printf("caption: %s\nicon: %s\ntext: %s\n", TextOf(box).c_str(), IconOf(box).c_str(),
              TextOf(GetDlgItem(box, MESSAGE_TEXT_ID)).c_str());
  std::fflush(stdout);
  PostMessageA(box, WM_COMMAND, std::strcmp(answer, "cancel") == 0 ? IDCANCEL : IDOK, 0);
}

int Wait(const char* title, DWORD timeoutMs) {
  HWND window = WaitForDialog(title, false, timeoutMs);
  if (!window) {
    std::fprintf(stderr, "no window \"%s\" within %lu ms\n", title, timeoutMs);
    return EXIT_FAILED;
  }
  std::printf("window: %s\n", TextOf(window).c_str());
  return EXIT_OK;
}

// Posts a close request, answers confirmations with OK and waits until the window is gone.
int Close(const char* title, DWORD timeoutMs) {
  HWND window = FindDialog(title, false);
  if (!window) {
    std::fprintf(stderr, "no window \"%s\"\n", title);
    return EXIT_FAILED;
  }
  PostMessageA(window, WM_CLOSE, 0, 0);
  DWORD start = GetTickCount();
  while (IsWindow(window)) {
    if (GetTickCount() - start >= timeoutMs) {
      std::fprintf(stderr, "window \"%s\" still open after %lu ms\n", title, timeoutMs);
      return EXIT_FAILED;
    }
    if (HWND box = FindDialog(nullptr, true)) Answer(box, "ok");
    Sleep(POLL_MS);
  }
  std::printf("closed\n");
  return EXIT_OK;
}

// Waits for the first dialog of any kind and says what it is.
int Appear(DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    if (HWND window = FindDialog(nullptr, false, true)) {
      if (IsMessageBox(window)) {
        std::printf("message box: %s: %s\n", TextOf(window).c_str(),
                    TextOf(GetDlgItem(window, MESSAGE_TEXT_ID)).c_str());
      } else {
        std::printf("window: %s\n", TextOf(window).c_str());
      }
      return EXIT_OK;
    }
    if (GetTickCount() - start >= timeoutMs) break;
    Sleep(POLL_MS);
  }
  std::fprintf(stderr, "no dialog within %lu ms\n", timeoutMs);
  return EXIT_FAILED;
}

int Message(DWORD timeoutMs, const char* answer) {
  HWND box = WaitForDialog(nullptr, true, timeoutMs);
  if (!box) {
    std::fprintf(stderr, "no message box within %lu ms\n", timeoutMs);
    return EXIT_FAILED;
  }
  Answer(box, answer);
  return EXIT_OK;
}

int Click(const char* title, int id) {
  HWND window = FindDialog(title, false);
  HWND control = window ? FindControl(window, id) : nullptr;
  if (!control) {
    std::fprintf(stderr, "no control %d in \"%s\"\n", id, title);
    return EXIT_FAILED;
  }
  // Posted: the click may open a modal message box, which would block a sent message.
  PostMessageA(control, BM_CLICK, 0, 0);
  return EXIT_OK;
}

// Posts a system menu command (the About item, Close) to the window. Posted: the command may
// open a modal dialog.
int SystemCommand(const char* title, int command) {
  HWND window = FindDialog(title, false);
  if (!window) {
    std::fprintf(stderr, "no window \"%s\"\n", title);
    return EXIT_FAILED;
  }
  PostMessageA(window, WM_SYSCOMMAND, static_cast<WPARAM>(command), 0);
  return EXIT_OK;
}

// Releases the left mouse button inside the window, as after a click on it.
int Release(const char* title) {
  HWND window = FindDialog(title, false);
  if (!window) {
    std::fprintf(stderr, "no window \"%s\"\n", title);
    return EXIT_FAILED;
  }
  PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
  return EXIT_OK;
}

int Text(const char* title, int id) {
  HWND window = FindDialog(title, false);
  HWND control = window ? FindControl(window, id) : nullptr;
  if (!control) {
    std::fprintf(stderr, "no control %d in \"%s\"\n", id, title);
    return EXIT_FAILED;
  }
  std::printf("%s\n", ControlText(control).c_str());
  return EXIT_OK;
}

// Selects the combo box entry with exactly that text and tells the combo's owner, as a change
// by the operator would. Posted: the owner may answer with a modal message box.
// Every entry of a combo box, one a line, in list order.
int Entries(const char* title, int id) {
  HWND window = FindDialog(title, false);
  HWND combo = window ? FindControl(window, id) : nullptr;
  if (!combo) {
    std::fprintf(stderr, "no control %d in \"%s\"\n", id, title);
    return EXIT_FAILED;
  }
  LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    // The wide form, as for the selected entry's text.
    LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    if (length == CB_ERR) return EXIT_FAILED;
    std::vector<wchar_t> wide(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i),
                 reinterpret_cast<LPARAM>(wide.data()));
    char text[1024] = {};
    WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, text, sizeof text, nullptr, nullptr);
    std::printf("%s\n", text);
  }
  return EXIT_OK;
}

int Enabled(const char* title, int id) {
  HWND window = FindDialog(title, false);
  HWND control = window ? FindControl(window, id) : nullptr;
  if (!control) {
    std::fprintf(stderr, "no control %d in \"%s\"\n", id, title);
    return EXIT_FAILED;
  }
  std::printf("%s\n", IsWindowEnabled(control) ? "enabled" : "disabled");
  return EXIT_OK;
}

int Choose(const char* title, int id, const char* entry) {
  HWND window = FindDialog(title, false);
  HWND combo = window ? FindControl(window, id) : nullptr;
  if (!combo) {
    std::fprintf(stderr, "no control %d in \"%s\"\n", id, title);
    return EXIT_FAILED;
  }
  LRESULT index = SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                               reinterpret_cast<LPARAM>(entry));
  if (index == CB_ERR) {
    std::fprintf(stderr, "no entry \"%s\" in control %d\n", entry, id);
    return EXIT_FAILED;
  }
  SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  PostMessageA(GetParent(combo), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
  std::printf("chosen: %s\n", entry);
  return EXIT_OK;
}

// Keys pressed on a control as the keyboard delivers them, one after the other: "f4" opens or
// closes a drop-down list, "down", "up", "enter", "escape". After each, the control's text (a
// combo box's selected entry) as "KEY: TEXT", so that a script sees where every key left it.
int Keys(const char* title, int id, const std::vector<std::string>& keys) {
  static const std::pair<const char*, WPARAM> KEYS[] = {
      {"f4", VK_F4}, {"down", VK_DOWN}, {"up", VK_UP}, {"enter", VK_RETURN}, {"escape", VK_ESCAPE},
  };
  HWND window = FindDialog(title, false);
  HWND control = window ? FindControl(window, id) : nullptr;
  if (!control) {
    std::fprintf(stderr, "no control %d in \"%s\"\n", id, title);
    return EXIT_FAILED;
  }
  for (const std::string& key : keys) {
    WPARAM code = 0;
    for (const auto& known : KEYS) {
      if (key == known.first) code = known.second;
    }
    if (code == 0) {
      std::fprintf(stderr, "no key \"%s\"\n", key.c_str());
      return EXIT_USAGE;
    }
    // Sent, not posted: the control and the dialog have acted on the key when the call returns.
    SendMessageA(control, WM_KEYDOWN, code, 1);
    SendMessageA(control, WM_KEYUP, code, 0xC0000001);
    std::printf("%s: %s\n", key.c_str(), ControlText(control).c_str());
  }
  return EXIT_OK;
}

// The window's client area on the screen as X geometry, WIDTHxHEIGHT+X+Y (for cropping
// screenshots: without a window manager nobody draws the frame).
int Geometry(const char* title) {
  HWND window = FindDialog(title, false);
  RECT client = {};
  POINT origin = {0, 0};
  if (!window || !GetClientRect(window, &client) || !ClientToScreen(window, &origin)) {
    std::fprintf(stderr, "no window \"%s\"\n", title);
    return EXIT_FAILED;
  }
  std::printf("%ldx%ld+%ld+%ld\n", client.right, client.bottom, origin.x, origin.y);
  return EXIT_OK;
}

BOOL CALLBACK MatchHolder(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<std::pair<int, HWND>*>(lParam);
  if (IsWindowVisible(window) && GetDlgItem(window, search->first)) {
    search->second = window;
    return FALSE;
  }
  return TRUE;
}

// Waits for a visible top-level window that holds control ID (a dialog known by its content).
int WaitControl(int id, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    std::pair<int, HWND> search{id, nullptr};
    EnumWindows(MatchHolder, reinterpret_cast<LPARAM>(&search));
    if (search.second) {
      std::printf("window with control %d: %s\n", id, TextOf(search.second).c_str());
      return EXIT_OK;
    }
    if (GetTickCount() - start >= timeoutMs) break;
    Sleep(POLL_MS);
  }
  std::fprintf(stderr, "no window with control %d within %lu ms\n", id, timeoutMs);
  return EXIT_FAILED;
}

// --- The common file-open dialog ----------------------------------------------------------------

constexpr int FILE_NAME_COMBO = 0x047C;  // cmb13: the file name field of the explorer-style dialog
constexpr int FILE_NAME_EDIT = 0x0480;   // edt1: the file name field of older templates
constexpr int LOOK_IN_COMBO = 0x0471;    // cmb2: the folder the dialog shows

// The edit control inside a field (a combo box nests it, under Wine two levels deep), or the
// field itself.
HWND InnerEdit(HWND field) {
  for (HWND child = GetWindow(field, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char name[16] = {};
    GetClassNameA(child, name, sizeof name);
    if (_stricmp(name, "Edit") == 0) return child;
    HWND inner = InnerEdit(child);
    if (inner != child) return inner;
  }
  return field;
}

HWND FileNameField(HWND dialog) {
  HWND field = FindControl(dialog, FILE_NAME_COMBO);
  if (!field) field = FindControl(dialog, FILE_NAME_EDIT);
  return field ? InnerEdit(field) : nullptr;
}

struct FileDialogSearch {
  const char* title;  // "*": any
  HWND found;
};

BOOL CALLBACK MatchFileDialog(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<FileDialogSearch*>(lParam);
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  if (std::strcmp(name, DIALOG_CLASS) != 0 || !IsWindowVisible(window)) return TRUE;
  if (std::strcmp(search->title, ANY_TITLE) != 0 && TextOf(window) != search->title) return TRUE;
  if (!FileNameField(window) || !GetDlgItem(window, IDOK)) return TRUE;
  search->found = window;
  return FALSE;
}

HWND FindFileDialog(const char* title) {
  FileDialogSearch search{title, nullptr};
  EnumWindows(MatchFileDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring Wide(const char* text) {
  int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  std::wstring wide(static_cast<size_t>(length > 0 ? length : 1), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], length);
  return wide;
}

// Puts TEXT into the edit ID, as typing would: the edit tells its owner (EN_CHANGE), so the
// owner's filter runs on it. Sent wide, as the file dialog's field is filled; prints what the
// edit shows afterwards.
int SetText(const char* title, int id, const char* text) {
  HWND window = FindDialog(title, false);
  HWND control = window ? FindControl(window, id) : nullptr;
  if (!control) {
    std::fprintf(stderr, "no control %d in \"%s\"\n", id, title);
    return EXIT_FAILED;
  }
  std::wstring wide = Wide(text);
  SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
  // Asked of the edit itself: an edit keeps its text apart from the caption that another
  // process's GetWindowText reads.
  wchar_t shown[256] = {};
  SendMessageW(control, WM_GETTEXT, sizeof shown / sizeof shown[0],
               reinterpret_cast<LPARAM>(shown));
  char narrow[512] = {};
  WideCharToMultiByte(CP_ACP, 0, shown, -1, narrow, sizeof narrow, nullptr, nullptr);
  std::printf("%s\n", narrow);
  return EXIT_OK;
}

// Fills a file-open dialog as an operator would: waits for it, types PATH into its file name
// field, presses Open and waits until the dialog has gone. Prints the dialog's title and the
// folder it showed. A message box that the dialog raises instead (a path it refuses) is printed
// and answered, and the step fails.
int OpenFile(const char* title, const char* path, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  HWND dialog = nullptr;
  while (!(dialog = FindFileDialog(title))) {
    if (GetTickCount() - start >= timeoutMs) {
      std::fprintf(stderr, "no file dialog \"%s\" within %lu ms\n", title, timeoutMs);
      return EXIT_FAILED;
    }
    Sleep(POLL_MS);
  }
  std::printf("dialog: %s\n", TextOf(dialog).c_str());
  if (HWND folder = FindControl(dialog, LOOK_IN_COMBO)) {
    std::printf("folder: %s\n", ControlText(folder).c_str());
  }
  std::fflush(stdout);
  // Wide: the text crosses into the program's process, where Wine converts only the wide form
  // reliably.
  std::wstring text = Wide(path);
  SendMessageW(FileNameField(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
  while (IsWindow(dialog) && IsWindowVisible(dialog)) {
    if (GetTickCount() - start >= timeoutMs) {
      std::fprintf(stderr, "the file dialog is still open after %lu ms\n", timeoutMs);
      return EXIT_FAILED;
    }
    if (HWND box = FindDialog(nullptr, true)) {
      if (GetWindow(box, GW_OWNER) == dialog) {
        std::fprintf(stderr, "the file dialog refused the path:\n");
        Answer(box, "ok");
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return EXIT_FAILED;
      }
    }
    Sleep(POLL_MS);
  }
  std::printf("opened: %s\n", path);
  return EXIT_OK;
}

void ListControls(HWND window, int depth) {
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char name[64] = {};
    GetClassNameA(child, name, sizeof name);
    std::printf("%*s%d (0x%04X) %s%s \"%s\"\n", depth * 2, "", GetDlgCtrlID(child),
                static_cast<unsigned>(GetDlgCtrlID(child)), name,
                IsWindowVisible(child) ? "" : " hidden", ControlText(child).c_str());
    ListControls(child, depth + 1);
  }
}

// Lists the controls of a visible dialog (message boxes included), for writing scripts.
int Controls(const char* title) {
  HWND window = FindDialog(title, false, true);
  if (!window) {
    std::fprintf(stderr, "no window \"%s\"\n", title);
    return EXIT_FAILED;
  }
  std::printf("window: %s\n", TextOf(window).c_str());
  ListControls(window, 1);
  return EXIT_OK;
}

// Every text of a visible dialog and its child pages fits its control, in the control's font.
// The measuring runs in the program's process (kdfits.dll beside kddriver, loaded there by a
// hook on the window's thread), where the controls' fonts are.
int Fits(const char* title) {
  HWND window = FindDialog(title, false, true);
  if (!window) {
    std::fprintf(stderr, "no window \"%s\"\n", title);
    return EXIT_FAILED;
  }
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::string library = path;
  library = library.substr(0, library.find_last_of('\\') + 1) + "kdfits.dll";
  HMODULE module = LoadLibraryA(library.c_str());
  auto hook = module ? reinterpret_cast<HOOKPROC>(
                           reinterpret_cast<void*>(GetProcAddress(module, FITS_HOOK_EXPORT)))
                     : nullptr;
  HHOOK installed = hook ? SetWindowsHookExA(WH_CALLWNDPROC, hook, module,
                                             GetWindowThreadProcessId(window, nullptr))
                         : nullptr;
  if (!installed) {
    std::fprintf(stderr, "cannot load %s into the program\n", library.c_str());
    return EXIT_FAILED;
  }
  char folder[MAX_PATH] = {};
  GetTempPathA(sizeof folder, folder);
  char report[MAX_PATH + 32];
  std::snprintf(report, sizeof report, FITS_REPORT_FORMAT, folder,
                static_cast<unsigned long>(GetCurrentProcessId()));
  DeleteFileA(report);
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(window, RegisterWindowMessageA(FITS_MESSAGE), GetCurrentProcessId(), 0,
                      SMTO_ABORTIFHUNG, 10000, &ignored);
  UnhookWindowsHookEx(installed);
  std::string text;
  if (FILE* file = std::fopen(report, "rb")) {
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
    std::fclose(file);
    DeleteFileA(report);
  }
  if (text.empty()) {
    std::fprintf(stderr, "the program did not measure its window\n");
    return EXIT_FAILED;
  }
  std::fputs(text.c_str(), stdout);
  return text == "fits\n" ? EXIT_OK : EXIT_FAILED;
}

// Short: what the program does between showing its window and the next look (its first paint)
// is counted in the CPU time read at that look.
constexpr DWORD WATCH_POLL_MS = 2;
constexpr ULONGLONG FILETIME_UNIX_EPOCH = 116444736000000000ULL;  // 1970 in 100 ns units

// Microseconds since 1970 on the system clock, which under Wine is the Unix clock: the
// benchmark compares it with the start time its shell took.
ULONGLONG UnixMicroseconds() {
  FILETIME now = {};
  GetSystemTimePreciseAsFileTime(&now);
  ULONGLONG ticks = (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  return (ticks - FILETIME_UNIX_EPOCH) / 10;
}

std::string FileText(const std::string& path) {
  std::string text;
  if (FILE* file = std::fopen(path.c_str(), "rb")) {
    char buffer[256];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
    std::fclose(file);
  }
  return text;
}

// CPU nanoseconds the Unix process PID has run so far, all its threads: the first field of each
// thread's schedstat, read through drive Z: (Wine's view of the Unix root). -1 when unreadable.
long long UnixProcessCpuNs(const std::string& pid) {
  std::string tasks = "Z:\\proc\\" + pid + "\\task\\";
  WIN32_FIND_DATAA found = {};
  HANDLE walk = FindFirstFileA((tasks + "*").c_str(), &found);
  if (walk == INVALID_HANDLE_VALUE) return -1;
  long long total = 0;
  do {
    if (found.cFileName[0] < '0' || found.cFileName[0] > '9') continue;
    total += std::atoll(FileText(tasks + found.cFileName + "\\schedstat").c_str());
  } while (FindNextFileA(walk, &found));
  FindClose(walk);
  return total;
}

// For start-up timing: says "ready" once it watches, then waits (polling every 2 ms) for a
// visible dialog with that title and prints when it became visible, in Unix microseconds. With
// PID_FILE (a file the caller writes the program's Unix process id into once it runs), it also
// prints the CPU time that process had used at that moment ("cpu_ns: N"), before it goes on to
// paint.
int Watch(const char* title, DWORD timeoutMs, const char* pidFile) {
  if (FindDialog(title, false)) {
    std::fprintf(stderr, "window \"%s\" is already open\n", title);
    return EXIT_FAILED;
  }
  std::printf("ready\n");
  std::fflush(stdout);
  DWORD start = GetTickCount();
  while (!FindDialog(title, false)) {
    if (GetTickCount() - start >= timeoutMs) {
      std::fprintf(stderr, "no window \"%s\" within %lu ms\n", title, timeoutMs);
      return EXIT_FAILED;
    }
    Sleep(WATCH_POLL_MS);
  }
  long long cpu = -1;
  if (pidFile) {
    std::string pid = FileText(pidFile);
    pid = pid.substr(0, pid.find_first_not_of("0123456789"));
    if (!pid.empty()) cpu = UnixProcessCpuNs(pid);
  }
  std::printf("visible: %llu\n", UnixMicroseconds());
  if (pidFile) std::printf("cpu_ns: %lld\n", cpu);
  return EXIT_OK;
}

// Wine hands Unix paths through unchanged; the spooler wants Windows paths (root is drive Z:).
std::string WindowsPath(const std::string& path) {
  if (path.empty() || path[0] != '/') return path;
  std::string result = "Z:" + path;
  for (char& c : result) {
    if (c == '/') c = '\\';
  }
  return result;
}

std::vector<char> Writable(const std::string& text) {
  std::vector<char> buffer(text.begin(), text.end());
  buffer.push_back('\0');
  return buffer;
}

constexpr char DRIVER_MODULE[] = "wineps.drv";  // Wine's own; a NULL data file crashes it
constexpr char RAW_DATA_TYPE[] = "RAW";
constexpr char PRINT_PROCESSOR[] = "winprint";

// Registers a printer driver whose data file and further files (the bidirectional library)
// the spooler copies into its driver folder, and a queue on PORT with that driver. An existing
// queue of that name is deleted first, so running it again gives the same result.
int InstallPrinter(const char* driverName, const char* dataFile, const char* queueName,
                   const char* portName, const std::vector<std::string>& files) {
  std::vector<char> queue = Writable(queueName);
  HANDLE existing = nullptr;
  PRINTER_DEFAULTSA access = {nullptr, nullptr, PRINTER_ALL_ACCESS};
  if (OpenPrinterA(queue.data(), &existing, &access)) {
    DeletePrinter(existing);
    ClosePrinter(existing);
  }

  std::vector<char> name = Writable(driverName);
  std::vector<char> module = Writable(DRIVER_MODULE);
  std::vector<char> data = Writable(WindowsPath(dataFile));
  std::vector<char> rawType = Writable(RAW_DATA_TYPE);
  std::string dependent;  // a list of strings closed by an empty one
  for (const std::string& file : files) dependent += WindowsPath(file) + '\0';
  dependent += '\0';
  std::vector<char> dependentFiles(dependent.begin(), dependent.end());

  DRIVER_INFO_3A driver = {};
  driver.cVersion = 3;
  driver.pName = name.data();
  driver.pDriverPath = module.data();
  driver.pDataFile = data.data();
  driver.pConfigFile = module.data();
  driver.pDependentFiles = dependentFiles.data();
  driver.pDefaultDataType = rawType.data();
  if (!AddPrinterDriverExA(nullptr, 3, reinterpret_cast<BYTE*>(&driver),
                           APD_COPY_NEW_FILES | APD_COPY_FROM_DIRECTORY)) {
    std::fprintf(stderr, "AddPrinterDriverEx failed: %lu\n", GetLastError());
    return EXIT_FAILED;
  }

  std::vector<char> port = Writable(portName);
  std::vector<char> processor = Writable(PRINT_PROCESSOR);
  PRINTER_INFO_2A printer = {};
  printer.pPrinterName = queue.data();
  printer.pPortName = port.data();
  printer.pDriverName = name.data();
  printer.pPrintProcessor = processor.data();
  printer.pDatatype = rawType.data();
  printer.Attributes = PRINTER_ATTRIBUTE_LOCAL;
  HANDLE added = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&printer));
  if (!added) {
    std::fprintf(stderr, "AddPrinter failed: %lu\n", GetLastError());
    return EXIT_FAILED;
  }
  ClosePrinter(added);

  // Say where the driver's files landed: the library path is built from the driver path.
  HANDLE opened = nullptr;
  if (!OpenPrinterA(queue.data(), &opened, nullptr)) {
    std::fprintf(stderr, "the new queue does not open: %lu\n", GetLastError());
    return EXIT_FAILED;
  }
  DWORD needed = 0;
  GetPrinterDriverA(opened, nullptr, 2, nullptr, 0, &needed);
  std::vector<BYTE> buffer(needed ? needed : 1);
  bool answered = needed && GetPrinterDriverA(opened, nullptr, 2, buffer.data(), needed, &needed);
  ClosePrinter(opened);
  if (!answered) {
    std::fprintf(stderr, "no driver information for the new queue\n");
    return EXIT_FAILED;
  }
  const DRIVER_INFO_2A* info = reinterpret_cast<const DRIVER_INFO_2A*>(buffer.data());
  std::printf("driver path: %s\ndata file: %s\n", info->pDriverPath, info->pDataFile);
  return EXIT_OK;
}

// --- Which template a dialog was made from ---------------------------------------------------
//
// The dialog's own controls (their ids, in creation order) are compared with the items of the
// program's extended dialog template, read from the executable as data.

constexpr WORD TEMPLATE_EX_SIGNATURE = 0xFFFF;
constexpr WORD NAME_IS_ORDINAL = 0xFFFF;

class TemplateReader {
 public:
  TemplateReader(const BYTE* bytes, size_t size) : bytes_(bytes), size_(size) {}
  bool Ok() const { return ok_; }
  WORD Word() { return static_cast<WORD>(Take(sizeof(WORD))); }
  DWORD Dword() { return static_cast<DWORD>(Take(sizeof(DWORD))); }
  void Skip(size_t n) { at_ = Fits(n) ? at_ + n : (ok_ = false, size_); }
  // A string, or an ordinal behind 0xFFFF, or nothing behind 0.
  void SkipNameOrOrdinal() {
    WORD first = Word();
    if (first == NAME_IS_ORDINAL) {
      Word();
    } else if (first != 0) {
      while (ok_ && Word() != 0) {
      }
    }
  }
  void SkipString() {
    while (ok_ && Word() != 0) {
    }
  }
  void AlignDword() { Skip((sizeof(DWORD) - at_ % sizeof(DWORD)) % sizeof(DWORD)); }

 private:
  bool Fits(size_t n) const { return ok_ && n <= size_ - at_; }
  uint32_t Take(size_t n) {
    if (!Fits(n)) {
      ok_ = false;
      return 0;
    }
    uint32_t value = 0;
    for (size_t i = 0; i < n; ++i) value |= static_cast<uint32_t>(bytes_[at_ + i]) << (8 * i);
    at_ += n;
    return value;
  }
  const BYTE* bytes_;
  size_t size_;
  size_t at_ = 0;
  bool ok_ = true;
};

// The control ids of an extended dialog template in the executable; false when it has none.
bool TemplateControlIds(const char* executable, int templateId, std::vector<int>* ids) {
  HMODULE module = LoadLibraryExA(executable, nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!module) return false;
  bool ok = false;
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(templateId), RT_DIALOG);
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const BYTE* bytes = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
  if (bytes) {
    TemplateReader reader(bytes, SizeofResource(module, found));
    WORD version = reader.Word();
    WORD signature = reader.Word();
    reader.Skip(2 * sizeof(DWORD));  // help id, extended style
    DWORD style = reader.Dword();
    WORD items = reader.Word();
    reader.Skip(4 * sizeof(short));
    reader.SkipNameOrOrdinal();  // menu
    reader.SkipNameOrOrdinal();  // class
    reader.SkipString();         // caption
    if (style & DS_SETFONT) {
      reader.Skip(2 * sizeof(WORD) + 2);  // size, weight, italic, character set
      reader.SkipString();
    }
    ok = version == 1 && signature == TEMPLATE_EX_SIGNATURE;
    for (WORD i = 0; ok && i < items; ++i) {
      reader.AlignDword();
      reader.Skip(3 * sizeof(DWORD) + 4 * sizeof(short));  // help id, styles, place
      ids->push_back(static_cast<int>(reader.Dword()));
      reader.SkipNameOrOrdinal();  // class
      reader.SkipNameOrOrdinal();  // text
      reader.Skip(reader.Word());  // creation data
      ok = reader.Ok();
    }
  }
  FreeLibrary(module);
  return ok;
}

std::vector<int> ChildIds(HWND window) {
  std::vector<int> ids;
  for (HWND child = window ? GetWindow(window, GW_CHILD) : nullptr; child;
       child = GetWindow(child, GW_HWNDNEXT)) {
    ids.push_back(GetDlgCtrlID(child));
  }
  return ids;
}

struct OwnedSearch {
  const std::vector<int>* expected;
  HWND found;  // the dialog with the expected controls, else the first modal dialog seen
  bool matched;
};

// A visible dialog that another window owns and that is no message box: a modal dialog. One
// modal dialog may open another (a detail dialog its paper setting or busy dialog): the one
// with the template's controls wins.
BOOL CALLBACK MatchOwned(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<OwnedSearch*>(lParam);
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  if (std::strcmp(name, DIALOG_CLASS) != 0 || !IsWindowVisible(window)) return TRUE;
  if (IsMessageBox(window) || !GetWindow(window, GW_OWNER)) return TRUE;
  if (!search->found) search->found = window;
  if (ChildIds(window) != *search->expected) return TRUE;
  search->found = window;
  search->matched = true;
  return FALSE;
}

std::string IdList(const std::vector<int>& ids) {
  std::string text;
  for (int id : ids) text += (text.empty() ? "" : " ") + std::to_string(id);
  return text;
}

// Waits for a modal dialog with the controls of the template, answers it with its OK or Cancel
// button and waits for it to go; "none" answers nothing and leaves it open.
int Dialog(const char* executable, int templateId, DWORD timeoutMs, const char* answer) {
  std::vector<int> expected;
  if (!TemplateControlIds(executable, templateId, &expected)) {
    std::fprintf(stderr, "no dialog template %d in %s\n", templateId, executable);
    return EXIT_FAILED;
  }
  // Another modal dialog (the busy dialog of a readiness wait) may come first: wait for one
  // with the template's controls, and say what showed instead when none came.
  DWORD start = GetTickCount();
  HWND dialog = nullptr;
  std::vector<int> shown;
  for (;;) {
    OwnedSearch search{&expected, nullptr, false};
    EnumWindows(MatchOwned, reinterpret_cast<LPARAM>(&search));
    dialog = search.found;
    shown = ChildIds(dialog);
    if (search.matched) break;
    if (GetTickCount() - start >= timeoutMs) {
      std::fprintf(
          stderr, "no dialog of template %d (controls %s) within %lu ms; %s\n", templateId,
          IdList(expected).c_str(), static_cast<unsigned long>(timeoutMs),
          dialog ? ("one with controls " + IdList(shown) + " showed").c_str() : "none showed");
      return EXIT_FAILED;
    }
    Sleep(POLL_MS);
  }
  std::printf("dialog: %s\ncontrols: %s\n", TextOf(dialog).c_str(), IdList(shown).c_str());
  if (std::strcmp(answer, "none") == 0) return EXIT_OK;  // only seen; it stays
  int button = std::strcmp(answer, "cancel") == 0 ? IDCANCEL : IDOK;
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
  start = GetTickCount();
  while (IsWindow(dialog) && IsWindowVisible(dialog)) {
    if (GetTickCount() - start >= timeoutMs) {
      std::fprintf(stderr, "the dialog stayed after %s\n", answer);
      return EXIT_FAILED;
    }
    Sleep(POLL_MS);
  }
  std::printf("closed by %s\n", answer);
  return EXIT_OK;
}

// A sample page in miniature, drawn through the programs' own print surface on the queue's
// driver with the queue's settings: the captions side by side (the last in bold), then a small
// picture in two bands. The printer's record shows what the driver made of it.
constexpr int CAPTION_POINTS = 11;
constexpr int POINTS_PER_INCH = 72;
constexpr int CAPTION_GAP = 50;
constexpr int PICTURE_WIDTH = 8;
constexpr int PICTURE_HEIGHT = 4;
constexpr int PICTURE_BITS = 24;
constexpr int PICTURE_ROW_BYTES = (PICTURE_WIDTH * 3 + 3) / 4 * 4;

int PrintPage(const char* queueName, const char* title, const std::vector<std::string>& captions) {
  auto spooler = platform::MakeNativeSpooler();
  std::vector<platform::PrinterQueue> queues;
  std::string driverName;
  if (spooler->EnumeratePrinters(&queues)) {
    for (const platform::PrinterQueue& queue : queues) {
      if (queue.printerName == queueName) driverName = queue.driverName;
    }
  }
  if (driverName.empty()) {
    std::fprintf(stderr, "no queue %s\n", queueName);
    return EXIT_FAILED;
  }
  std::vector<uint8_t> devMode;
  platform::PrinterHandle printer = spooler->OpenPrinter(queueName);
  bool settings = printer && spooler->GetDeviceSettings(printer, queueName, nullptr, &devMode);
  if (printer) spooler->ClosePrinter(printer);
  if (!settings) {
    std::fprintf(stderr, "no device settings for %s\n", queueName);
    return EXIT_FAILED;
  }
  auto surface = platform::MakeNativePrinting()->Open(driverName, queueName, devMode);
  if (!surface) {
    std::fprintf(stderr, "no print surface on %s\n", queueName);
    return EXIT_FAILED;
  }
  platform::PrintMetrics metrics = surface->Metrics();
  const int lineHeight = CAPTION_POINTS * metrics.dpiY / POINTS_PER_INCH;
  BITMAPINFOHEADER header = {};
  header.biSize = sizeof header;
  header.biWidth = PICTURE_WIDTH;
  header.biHeight = PICTURE_HEIGHT;
  header.biPlanes = 1;
  header.biBitCount = PICTURE_BITS;
  header.biCompression = BI_RGB;
  std::vector<uint8_t> pixels(PICTURE_ROW_BYTES * PICTURE_HEIGHT);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint8_t>(i * 37);
  platform::PrintImage picture;
  picture.info = reinterpret_cast<const uint8_t*>(&header);
  picture.infoSize = sizeof header;
  picture.pixels = pixels.data();
  picture.width = PICTURE_WIDTH;
  picture.height = PICTURE_HEIGHT;

  bool ok = surface->StartDocument(title) && surface->StartPage();
  int x = 0;
  for (size_t i = 0; ok && i < captions.size(); ++i) {
    ui::FontDescription font;
    font.height = -lineHeight;
    font.weight = i + 1 == captions.size() ? FW_BOLD : FW_NORMAL;
    font.faceName = "Tahoma";
    int width = surface->SelectFont(font) ? surface->TextWidth(captions[i]) : -1;
    ok = width >= 0 &&
         surface->DrawText(captions[i], ui::Rect{x, lineHeight, metrics.width, 2 * lineHeight});
    x += width + CAPTION_GAP;
  }
  const int scale = metrics.dpiX / PICTURE_WIDTH;
  const int top = 3 * lineHeight;
  const int half = PICTURE_HEIGHT / 2;
  // The upper band first: its rows lie above the lower band's, counted from the bottom.
  ok = ok &&
       surface->DrawImage(picture, half, half,
                          ui::Rect{0, top, scale * PICTURE_WIDTH, top + scale * half}) &&
       surface->DrawImage(
           picture, 0, half,
           ui::Rect{0, top + scale * half, scale * PICTURE_WIDTH, top + scale * 2 * half});
  ok = ok && surface->EndPage() && surface->EndDocument();
  if (!ok) {
    surface->AbortDocument();
    std::fprintf(stderr, "the page failed\n");
    return EXIT_FAILED;
  }
  std::printf("printed at %dx%d dpi, %dx%d pixels\n", metrics.dpiX, metrics.dpiY, metrics.width,
              metrics.height);
  return EXIT_OK;
}

// A device mode block that does not hold what it announces never reaches the system.
int RefuseShortSettings(const char* queueName) {
  // The size fields announce the whole public part; the block ends right behind them.
  std::vector<uint8_t> cut(offsetof(DEVMODEA, dmDriverExtra) + sizeof(WORD), 0);
  cut[offsetof(DEVMODEA, dmSize)] = sizeof(DEVMODEA);
  auto printing = platform::MakeNativePrinting();
  if (printing->Open("", queueName, {}) || printing->Open("", queueName, cut)) {
    std::fprintf(stderr, "a short device mode block made a surface\n");
    return EXIT_FAILED;
  }
  std::printf("refused\n");
  return EXIT_OK;
}

int Usage() {
  std::fprintf(
      stderr,
      "usage: kddriver wait TITLE MS | close TITLE MS | appear MS | message MS [ok|cancel]\n"
      "       | click TITLE ID | text TITLE ID | choose TITLE ID ENTRY | geometry TITLE\n"
      "       | wait-control ID MS | watch TITLE MS [PID_FILE] | open-file TITLE PATH MS\n"
      "       | controls TITLE | syscommand TITLE ID | release TITLE\n"
      "       | install-printer DRIVER DATA_FILE QUEUE PORT [FILE...]\n"
      "       | print QUEUE TITLE CAPTION... | refuse-settings QUEUE\n"
      "       | dialog EXE TEMPLATE MS [ok|cancel|none] | entries TITLE ID | enabled TITLE ID\n"
      "       | set-text TITLE ID TEXT | keys TITLE ID KEY... | fits TITLE\n"
      "       (TITLE \"*\": any main window)\n");
  return EXIT_USAGE;
}

DWORD Ms(const char* text) {
  return static_cast<DWORD>(std::strtoul(text, nullptr, 10));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  std::string command = argv[1];
  if (command == "wait" && argc == 4) return Wait(argv[2], Ms(argv[3]));
  if (command == "close" && argc == 4) return Close(argv[2], Ms(argv[3]));
  if (command == "appear" && argc == 3) return Appear(Ms(argv[2]));
  if (command == "message" && (argc == 3 || argc == 4)) {
    return Message(Ms(argv[2]), argc == 4 ? argv[3] : "ok");
  }
  if (command == "click" && argc == 4) return Click(argv[2], std::atoi(argv[3]));
  if (command == "text" && argc == 4) return Text(argv[2], std::atoi(argv[3]));
  if (command == "choose" && argc == 5) return Choose(argv[2], std::atoi(argv[3]), argv[4]);
  if (command == "geometry" && argc == 3) return Geometry(argv[2]);
  if (command == "watch" && (argc == 4 || argc == 5)) {
    return Watch(argv[2], Ms(argv[3]), argc == 5 ? argv[4] : nullptr);
  }
  if (command == "wait-control" && argc == 4) return WaitControl(std::atoi(argv[2]), Ms(argv[3]));
  if (command == "open-file" && argc == 5) return OpenFile(argv[2], argv[3], Ms(argv[4]));
  if (command == "controls" && argc == 3) return Controls(argv[2]);
  if (command == "syscommand" && argc == 4) {
    return SystemCommand(argv[2], static_cast<int>(std::strtol(argv[3], nullptr, 0)));
  }
  if (command == "release" && argc == 3) return Release(argv[2]);
  if (command == "install-printer" && argc >= 6) {
    return InstallPrinter(argv[2], argv[3], argv[4], argv[5],
                          std::vector<std::string>(argv + 6, argv + argc));
  }
  if (command == "print" && argc >= 5) {
    return PrintPage(argv[2], argv[3], std::vector<std::string>(argv + 4, argv + argc));
  }
  if (command == "entries" && argc == 4) return Entries(argv[2], std::atoi(argv[3]));
  if (command == "enabled" && argc == 4) return Enabled(argv[2], std::atoi(argv[3]));
  if (command == "dialog" && (argc == 5 || argc == 6)) {
    return Dialog(argv[2], std::atoi(argv[3]), Ms(argv[4]), argc == 6 ? argv[5] : "ok");
  }
  if (command == "set-text" && argc == 5) return SetText(argv[2], std::atoi(argv[3]), argv[4]);
  if (command == "keys" && argc >= 5) {
    return Keys(argv[2], std::atoi(argv[3]), std::vector<std::string>(argv + 4, argv + argc));
  }
  if (command == "refuse-settings" && argc == 3) return RefuseShortSettings(argv[2]);
  if (command == "fits" && argc == 3) return Fits(argv[2]);
  return Usage();
}
