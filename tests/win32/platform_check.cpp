// Checks of the Win32 realisation that only a real (or Wine) system can answer: hive handles,
// unshared reads, profile strings, named objects, the version resource, and the dialog host's
// keyboard routing. Run under wine64 by scripts/test.d/wine_smoke.sh; exit code 0 = all passed.
#include "tests/win32/platform_check.h"

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/native.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_print.h"

namespace {

class Checker {
 public:
  void Expect(bool ok, const char* what, int line) {
    if (ok) return;
    ++failures_;
    std::printf("FAILED line %d: %s\n", line, what);
  }
  int Failures() const { return failures_; }

 private:
  int failures_ = 0;
};

#define CHECK(cond) checker.Expect((cond), #cond, __LINE__)

constexpr char CHECK_KEY[] = "Software\\KdPlatformCheck";

void RegistryHivesAndValues(Checker& checker) {
  auto registry = platform::MakeNativeRegistry();
  // The hive numbers must reach the real predefined keys on 64-bit builds too.
  platform::RegHandle machine = 0;
  CHECK(registry->OpenKey(platform::HIVE_LOCAL_MACHINE, "Software",
                          platform::RegAccess::EnumerateSubkeys, &machine) == platform::REG_OK);
  CHECK(machine != 0);
  char name[260] = {};
  CHECK(registry->EnumKey(machine, 0, name, sizeof name) == platform::REG_OK);
  registry->CloseKey(machine);

  platform::RegHandle model = 0;
  std::string path = std::string(CHECK_KEY) + "\\Model";
  CHECK(registry->CreateKey(platform::HIVE_CURRENT_USER, path, platform::RegAccess::Full, &model) ==
        platform::REG_OK);
  const char printer[] = "Queue 1";
  CHECK(registry->SetValue(model, "SelectPrinter", platform::REG_TYPE_STRING,
                           reinterpret_cast<const uint8_t*>(printer), sizeof printer) == 0);
  uint8_t buffer[260] = {};
  uint32_t size = sizeof buffer;
  uint32_t type = 0;
  CHECK(registry->QueryValue(model, "SelectPrinter", buffer, &size, &type) == platform::REG_OK);
  CHECK(type == platform::REG_TYPE_STRING && size == sizeof printer);
  CHECK(std::strcmp(reinterpret_cast<char*>(buffer), printer) == 0);
  size = 3;
  CHECK(registry->QueryValue(model, "SelectPrinter", buffer, &size, &type) ==
        platform::REG_MORE_DATA);
  registry->CloseKey(model);

  platform::RegHandle parent = 0;
  CHECK(registry->OpenKey(platform::HIVE_CURRENT_USER, CHECK_KEY,
                          platform::RegAccess::EnumerateSubkeys, &parent) == platform::REG_OK);
  CHECK(registry->EnumKey(parent, 0, name, sizeof name) == platform::REG_OK);
  CHECK(std::strcmp(name, "Model") == 0);
  CHECK(registry->EnumKey(parent, 1, name, sizeof name) == platform::REG_NO_MORE_ITEMS);
  registry->CloseKey(parent);
  RegDeleteKeyA(HKEY_CURRENT_USER, path.c_str());
  RegDeleteKeyA(HKEY_CURRENT_USER, CHECK_KEY);
}

void FilesReadsAndProfiles(Checker& checker) {
  auto files = platform::MakeNativeFiles();
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  std::string path = std::string(folder) + "kd_platform_check.ini";
  const std::string content =
      "[User Mode Printer Driver Information]\r\nKBAPII=C:\\Driver\\KBAPI.DLL\r\n";
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  CloseHandle(file);

  CHECK(files->Exists(path));
  CHECK(files->Exists(folder));
  uint64_t size = 0;
  CHECK(files->Size(path, &size) && size == content.size());
  CHECK(!files->Size(folder, &size));
  std::string read;
  CHECK(files->ReadAll(path, &read) && read == content);
  std::vector<uint8_t> bytes(content.size() + 10);
  CHECK(files->ReadExclusive(path, bytes.data(), bytes.size()) ==
        static_cast<int64_t>(content.size()));
  CHECK(files->ProfileString(path, "User Mode Printer Driver Information", "KBAPII", "") ==
        "C:\\Driver\\KBAPI.DLL");
  CHECK(files->ProfileString(path, "User Mode Printer Driver Information", "Other", "none") ==
        "none");

  // Held open by someone else: the unshared read is refused, the settings read is not.
  HANDLE holder =
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  CHECK(files->ReadExclusive(path, bytes.data(), bytes.size()) == -1);
  CHECK(files->ReadAll(path, &read));
  CloseHandle(holder);
  DeleteFileA(path.c_str());
  CHECK(!files->Exists(path));
  CHECK(files->ReadExclusive(path, bytes.data(), bytes.size()) == -1);
}

void LibrariesAndSystem(Checker& checker) {
  auto library = platform::MakeNativeLibrary();
  auto kernel = library->Load("kernel32.dll");
  CHECK(kernel != nullptr);
  if (kernel) {
    CHECK(kernel->Export("GetTickCount") != nullptr);
    CHECK(kernel->Export("KdNoSuchExport") == nullptr);
  }
  CHECK(library->Load("kd-no-such-library.dll") == nullptr);
  CHECK(library->Load("") == nullptr);

  auto system = platform::MakeNativeSystem();
  const std::string lock = "Z:KdPlatformCheck";
  CHECK(!system->InstanceLockExists(lock));
  auto held = system->CreateInstanceLock(lock);
  CHECK(held != nullptr);
  CHECK(system->InstanceLockExists(lock));
  held.reset();
  CHECK(!system->InstanceLockExists(lock));
  CHECK(system->Version().major >= 5);
  uint32_t high = 0;
  uint32_t low = 0;
  CHECK(system->ProgramFileVersion(&high, &low) && high == 0x0003000D && low == 0);

  auto spooler = platform::MakeNativeSpooler();
  std::vector<platform::PrinterQueue> queues;
  CHECK(spooler->EnumeratePrinters(&queues));
  CHECK(spooler->OpenPrinter("Kd No Such Printer") == 0);
}

// Records what reaches it; consumes Enter so the dialog manager never sees it.
class RecordingHandler : public ui::DialogHandler {
 public:
  static constexpr unsigned FINISH = WM_USER + 7;
  std::vector<int> keys;
  std::vector<int> commands;
  int destroyed = 0;
  ui::View* view = nullptr;
  std::function<void(ui::View&)> onInit;

  bool OnInit(ui::View& v) override {
    view = &v;
    if (onInit) onInit(v);
    return true;
  }
  bool OnKeyDown(int key, bool) override {
    keys.push_back(key);
    return key == ui::KEY_RETURN;
  }
  void OnCommand(int id, int) override { commands.push_back(id); }
  intptr_t OnMessage(unsigned message, uintptr_t, intptr_t, bool* handled) override {
    *handled = message == FINISH;
    if (*handled) view->EndDialog(7);
    return *handled ? 1 : 0;
  }
  void OnDestroy() override { ++destroyed; }
};

HWND WindowOf(ui::View& view) {
  return static_cast<platform::Win32View&>(view).Window();
}

void PostKey(HWND window, int key) {
  PostMessageA(window, WM_KEYDOWN, key, 0);
}

void ModalDialogRoutesKeysAndControls(Checker& checker, platform::Win32Host& host) {
  RecordingHandler handler;
  handler.onInit = [&](ui::View& view) {
    CHECK(view.ComboAdd(IDC_CHECK_COMBO, "first", 10) == 0);
    CHECK(view.ComboAdd(IDC_CHECK_COMBO, "second", -1) == 1);
    CHECK(view.ComboCount(IDC_CHECK_COMBO) == 2);
    CHECK(view.ComboData(IDC_CHECK_COMBO, 1) == -1 && view.ComboData(IDC_CHECK_COMBO, 0) == 10);
    CHECK(view.ComboData(IDC_CHECK_COMBO, 5) == -1);
    CHECK(view.ComboSelection(IDC_CHECK_COMBO) == -1);
    view.ComboSelect(IDC_CHECK_COMBO, 1);
    CHECK(view.ComboSelection(IDC_CHECK_COMBO) == 1 &&
          view.ComboText(IDC_CHECK_COMBO, 1) == "second");
    CHECK(view.ComboAdd(IDC_CHECK_LIST, "entry", 3) == 0 && view.ComboData(IDC_CHECK_LIST, 0) == 3);
    view.SetControlText(IDC_CHECK_LABEL, "label text");
    CHECK(view.ControlText(IDC_CHECK_LABEL) == "label text");
    view.PlaceControl(IDC_CHECK_LABEL, ui::Rect{12, 140, 212, 158});
    CHECK(view.ControlRect(IDC_CHECK_LABEL) == (ui::Rect{12, 140, 212, 158}));
    // A combo box keeps its drop-down height when placed at the height of its closed field.
    view.PlaceControl(IDC_CHECK_COMBO, ui::Rect{100, 10, 300, 28});
    RECT dropped = {};
    SendMessageA(GetDlgItem(WindowOf(view), IDC_CHECK_COMBO), CB_GETDROPPEDCONTROLRECT, 0,
                 reinterpret_cast<LPARAM>(&dropped));
    CHECK(dropped.bottom - dropped.top > 50);
    CHECK(SendMessageA(GetDlgItem(WindowOf(view), IDC_CHECK_OWNER_DRAWN), CB_GETITEMHEIGHT, 0, 0) ==
          15);
    CHECK(!view.HasControl(4711) && view.ControlText(4711).empty());
    view.SetButtonBitmap(IDC_CHECK_PICTURE, IDB_CHECK_PICTURE);
    CHECK(SendMessageA(GetDlgItem(WindowOf(view), IDC_CHECK_PICTURE), BM_GETIMAGE, IMAGE_BITMAP,
                       0) != 0);
    CHECK(view.HasSystemMenu());

    ui::FontDescription description = view.DialogFont();
    CHECK(!description.faceName.empty() && description.rest.size() == sizeof(LOGFONTA));
    description.height = -16;
    description.weight = 700;
    ui::Font font = host.CreateFont(description);
    LOGFONTA logical = {};
    CHECK(font != 0 && GetObjectA(reinterpret_cast<HFONT>(font), sizeof logical, &logical));
    CHECK(logical.lfHeight == -16 && logical.lfWeight == 700 &&
          description.faceName == logical.lfFaceName);
    host.DeleteFont(font);

    HWND button = GetDlgItem(WindowOf(view), IDC_CHECK_BUTTON);
    PostKey(button, VK_RETURN);
    PostKey(button, VK_ESCAPE);
    PostMessageA(WindowOf(view), RecordingHandler::FINISH, 0, 0);
  };
  int result = host.RunModal(IDD_CHECK_DIALOG, nullptr, handler);
  CHECK(result == 7);
  CHECK(handler.keys == (std::vector<int>{VK_RETURN, VK_ESCAPE}));
  // Enter was consumed by the handler; Escape reached the dialog manager as Cancel.
  CHECK(handler.commands == (std::vector<int>{IDCANCEL}));
  CHECK(handler.destroyed == 1);
  CHECK(host.RunModal(4711, nullptr, handler) == -1);
}

void ModelessPagesAndPump(Checker& checker, platform::Win32Host& host) {
  RecordingHandler frameHandler;
  RecordingHandler pageHandler;
  auto frame = host.CreateModeless(IDD_CHECK_DIALOG, nullptr, false, frameHandler);
  CHECK(frame != nullptr);
  if (!frame) return;
  auto page = host.CreateModeless(IDD_CHECK_PAGE, frame.get(), true, pageHandler);
  CHECK(page != nullptr);
  if (!page) return;
  CHECK(host.CreateModeless(4711, nullptr, false, pageHandler) == nullptr);
  frame->Show(true);
  page->Show(true);
  SetForegroundWindow(WindowOf(*frame));
  host.PumpMessages();

  HWND first = GetDlgItem(WindowOf(*page), IDC_PAGE_FIRST);
  HWND last = GetDlgItem(WindowOf(*page), IDC_PAGE_LAST);
  page->FocusTabStopNear(0, true);  // before the first child: wraps to the last stop
  CHECK(GetFocus() == last);
  page->FocusTabStopNear(1, false);  // after the second child: wraps to the first stop
  CHECK(GetFocus() == first);

  // Keys reach the page's handler first, then its parent's; Tab on the page's last stop
  // leaves the page for its parent instead of wrapping.
  SetFocus(last);
  PostKey(last, VK_TAB);
  host.PumpMessages();
  // The dialog passes focus given to itself on to one of its own controls.
  HWND focus = GetFocus();
  CHECK(!IsChild(WindowOf(*page), focus) &&
        (focus == WindowOf(*frame) || IsChild(WindowOf(*frame), focus)));
  CHECK(pageHandler.keys == (std::vector<int>{VK_TAB}));
  CHECK(frameHandler.keys.empty());

  PostKey(first, VK_RETURN);
  host.PumpMessages();
  CHECK(pageHandler.keys.back() == VK_RETURN && frameHandler.keys.empty());

  // A modeless dialog's EndDialog only hides it.
  frame->EndDialog(1);
  CHECK(!frame->IsVisible() && IsWindow(WindowOf(*frame)));

  frame.reset();  // destroys the page window with it
  CHECK(frameHandler.destroyed == 1 && pageHandler.destroyed == 1);
  page.reset();
  CHECK(pageHandler.destroyed == 1);
}

void FilterConversion(Checker& checker) {
  const char expected[] = "UPG File(*.UPG)\0*.UPG\0";  // with the literal's own NUL: two
  CHECK(platform::FileDialogFilter("UPG File(*.UPG)|*.UPG||") ==
        std::string(expected, sizeof expected));
  // Without the closing bars the list is still ended.
  CHECK(platform::FileDialogFilter("All|*.*") == std::string("All\0*.*\0\0", 9));
}

// A device mode block is handed to the system only when it holds what its size fields say.
void DeviceModeBlocks(Checker& checker) {
  struct Case {
    size_t bytes;
    WORD publicPart;
    WORD privatePart;
    bool whole;
  };
  const size_t head = offsetof(DEVMODEA, dmDriverExtra) + sizeof(WORD);
  const Case cases[] = {
      {sizeof(DEVMODEA), sizeof(DEVMODEA), 0, true},
      {sizeof(DEVMODEA) + 8, sizeof(DEVMODEA), 8, true},
      {sizeof(DEVMODEA) + 7, sizeof(DEVMODEA), 8, false},  // private part cut
      {sizeof(DEVMODEA) - 1, sizeof(DEVMODEA), 0, false},  // public part cut
      {head, offsetof(DEVMODEA, dmFields), 0, false},      // no field mask
      {head - 1, 0, 0, false},                             // size fields cut
      {0xFFFF + 0xFFFF, 0xFFFF, 0xFFFF, true},             // largest sizes, all there
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> block(c.bytes, 0);
    if (block.size() >= head) {
      std::memcpy(block.data() + offsetof(DEVMODEA, dmSize), &c.publicPart, sizeof(WORD));
      std::memcpy(block.data() + offsetof(DEVMODEA, dmDriverExtra), &c.privatePart, sizeof(WORD));
    }
    CHECK(platform::DeviceModeBlockWhole(block.data(), block.size()) == c.whole);
  }
  CHECK(!platform::DeviceModeBlockWhole(nullptr, 0));
  auto printing = platform::MakeNativePrinting();
  CHECK(printing->Open("any", "any", {}) == nullptr);
  CHECK(printing->Open("any", "any", std::vector<uint8_t>(head, 0)) == nullptr);
}

}  // namespace

int main() {
  Checker checker;
  RegistryHivesAndValues(checker);
  FilesReadsAndProfiles(checker);
  LibrariesAndSystem(checker);
  FilterConversion(checker);
  DeviceModeBlocks(checker);
  {
    platform::Win32Host host;
    ModalDialogRoutesKeysAndControls(checker, host);
    ModelessPagesAndPump(checker, host);
  }
  std::printf("platform check: %d failure(s)\n", checker.Failures());
  return checker.Failures() == 0 ? 0 : 1;
}
