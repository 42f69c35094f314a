/* Resource and control ids of the main window every program runs in (template 102), its icon
   and header pictures. Read by the resource compiler and by C++ alike. */
#pragma once

#define IDI_PROGRAM 128

#define IDD_MAIN_WINDOW 102
#define IDC_PAGE_SELECTOR 1000
#define IDC_PRINTER_LIST 1026
#define IDC_PRINTER_LABEL 1028
#define IDC_SEPARATOR_LINE 1137
#define IDB_HEADER 131
#define IDB_PAGE_ICONS 163
