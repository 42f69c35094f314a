// kddriver: drives the suite's dialogs from outside, for the Wine end-to-end scripts. Every wait
// is bounded; the exit code says whether the step succeeded.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

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

// The control with that id anywhere inside the window (pages are child dialogs).
HWND FindControl(HWND window, int id) {
  if (HWND direct = GetDlgItem(window, id)) return direct;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (HWND inner = FindControl(child, id)) return inner;
  }
  return nullptr;
}

void Answer(HWND box, const char* answer) {
  std::printf("message: %s\n", TextOf(GetDlgItem(box, MESSAGE_TEXT_ID)).c_str());
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

int Text(const char* title, int id) {
  HWND window = FindDialog(title, false);
  HWND control = window ? FindControl(window, id) : nullptr;
  if (!control) {
    std::fprintf(stderr, "no control %d in \"%s\"\n", id, title);
    return EXIT_FAILED;
  }
  std::printf("%s\n", TextOf(control).c_str());
  return EXIT_OK;
}

int Usage() {
  std::fprintf(
      stderr,
      "usage: kddriver wait TITLE MS | close TITLE MS | appear MS | message MS [ok|cancel]\n"
      "       | click TITLE ID | text TITLE ID      (TITLE \"*\": any main window)\n");
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
  return Usage();
}
