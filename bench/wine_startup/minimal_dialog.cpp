// A modal dialog from a template and nothing else: the yardstick for the programs' start-up
// time. Built with KD_MINIMAL_SPOOLER it also imports the spooler and lists the local printers
// (level 2, as every program of the suite must before its window shows) into its combo box:
// the fair yardstick, since no program can start without that.
#include <windows.h>
// windows.h first: commctrl.h builds on it.
#include <commctrl.h>

#include <vector>

#include "bench/wine_startup/minimal_dialog.h"

namespace {

#ifdef KD_MINIMAL_SPOOLER
void ListPrinters(HWND dialog) {
  DWORD needed = 0;
  DWORD count = 0;
  if (EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &needed, &count) || needed == 0) {
    return;
  }
  std::vector<BYTE> buffer(needed);
  if (!EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, buffer.data(), needed, &needed, &count)) {
    return;
  }
  const PRINTER_INFO_2A* info = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
  HWND list = GetDlgItem(dialog, IDC_MINIMAL_PRINTERS);
  for (DWORD i = 0; i < count; ++i) {
    SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(info[i].pPrinterName));
  }
  SendMessageA(list, CB_SETCURSEL, 0, 0);
}
#endif

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
#ifdef KD_MINIMAL_SPOOLER
      ListPrinters(dialog);
#else
      (void)dialog;
#endif
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, 0);
      return TRUE;
    case WM_CLOSE:
      EndDialog(dialog, 0);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  InitCommonControls();
  DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MINIMAL), nullptr, DialogProc, 0);
  return 0;
}
