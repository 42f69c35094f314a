// The system headers of the Win32 realisation, minus the macros that would rename the seam's
// own operations (MessageBox, CreateFont, OpenPrinter, StartDoc, DrawText).
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// windows.h first: the other system headers build on it.
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <winspool.h>

#undef MessageBox
#undef CreateFont
#undef OpenPrinter
#undef StartDoc
#undef DrawText
