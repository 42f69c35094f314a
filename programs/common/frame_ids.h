/* Resource and control ids of the frame all three programs share: main window, busy dialog,
   header and page pictures. Read by the resource compiler and by C++ alike. */
#pragma once

#define IDI_PROGRAM 128

/* Main window (template 102). */
#define IDD_MAIN_WINDOW 102
#define IDC_PAGE_SELECTOR 1000
#define IDC_PRINTER_LIST 1026
#define IDC_PRINTER_LABEL 1028
#define IDC_SEPARATOR_LINE 1137
#define IDB_HEADER 131
#define IDB_PAGE_ICONS 163

/* Busy dialog (template 169). */
#define IDD_BUSY 169
#define IDC_BUSY_PICTURE 1158
#define IDC_BUSY_MESSAGE 1159
#define IDB_BUSY_FRAMES 170

/* Buttons every tool page has. */
#define IDC_HELP_BUTTON 1003
#define IDC_CLOSE_BUTTON 1004
