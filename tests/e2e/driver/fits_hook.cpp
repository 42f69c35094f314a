// kdfits.dll: measures every text of a window in the fonts its controls really have.
#include "fits_hook.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

// Room a check box or radio button keeps for its box and the gap after it; a group box for the
// line that runs into its title on each side.
constexpr int CHECK_BOX_GAP = 4;
constexpr int GROUP_TITLE_MARGIN = 8;

std::string TextOf(HWND window) {
  char text[1024] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

// The extent of a control's text in the font it has: one line, or wrapped at width.
SIZE TextExtent(HWND control, const std::string& text, int width, bool wraps) {
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
  RECT room = {0, 0, width, 0};
  UINT format = DT_CALCRECT | DT_EXPANDTABS | (wraps ? DT_WORDBREAK : DT_SINGLELINE);
  DrawTextA(dc, text.c_str(), -1, &room, format);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return {room.right - room.left, room.bottom - room.top};
}

// Checks every visible text control below window; adds a line to report for each that does
// not fit.
int CheckFits(HWND window, std::string& report) {
  int cut = 0;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    cut += CheckFits(child, report);
    char name[64] = {};
    GetClassNameA(child, name, sizeof name);
    std::string text = TextOf(child);
    if (text.empty()) continue;
    LONG style = GetWindowLongA(child, GWL_STYLE);
    RECT client = {};
    GetClientRect(child, &client);
    int width = client.right;
    int height = client.bottom;
    bool wraps = false;
    if (lstrcmpiA(name, "Static") == 0) {
      LONG kind = style & SS_TYPEMASK;
      if (kind != SS_LEFT && kind != SS_CENTER && kind != SS_RIGHT && kind != SS_LEFTNOWORDWRAP &&
          kind != SS_SIMPLE) {
        continue;  // pictures, frames, owner-drawn
      }
      wraps = kind == SS_LEFT || kind == SS_CENTER || kind == SS_RIGHT;
    } else if (lstrcmpiA(name, "Button") == 0) {
      if (style & (BS_BITMAP | BS_ICON)) continue;
      LONG kind = style & BS_TYPEMASK;
      if (kind == BS_OWNERDRAW) continue;
      if (kind == BS_GROUPBOX) {
        width -= 2 * GROUP_TITLE_MARGIN;
        height = 0;
      } else if (kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_RADIOBUTTON ||
                 kind == BS_AUTORADIOBUTTON || kind == BS_3STATE || kind == BS_AUTO3STATE) {
        width -= GetSystemMetrics(SM_CXMENUCHECK) + CHECK_BOX_GAP;
      }
      wraps = (style & BS_MULTILINE) != 0;
    } else {
      continue;
    }
    SIZE needed = TextExtent(child, text, width, wraps);
    if (needed.cx > width || (height > 0 && needed.cy > height)) {
      char line[1280];
      std::snprintf(line, sizeof line, "cut: %d %s \"%s\" needs %ldx%ld, has %dx%d\n",
                    GetDlgCtrlID(child), name, text.c_str(), static_cast<long>(needed.cx),
                    static_cast<long>(needed.cy), width, height);
      report += line;
      ++cut;
    }
  }
  return cut;
}

void WriteReport(DWORD driver, const std::string& report) {
  char folder[MAX_PATH] = {};
  GetTempPathA(sizeof folder, folder);
  char path[MAX_PATH + 32];
  std::snprintf(path, sizeof path, FITS_REPORT_FORMAT, folder, static_cast<unsigned long>(driver));
  if (FILE* file = std::fopen(path, "wb")) {
    std::fwrite(report.data(), 1, report.size(), file);
    std::fclose(file);
  }
}

}  // namespace

// Runs in the program's thread before the window sees the message.
extern "C" __declspec(dllexport) LRESULT CALLBACK FitsHook(int code, WPARAM wParam, LPARAM lParam) {
  static const UINT message = RegisterWindowMessageA(FITS_MESSAGE);
  const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && call->message == message) {
    std::string report;
    CheckFits(call->hwnd, report);
    WriteReport(static_cast<DWORD>(call->wParam), report.empty() ? "fits\n" : report);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
