/* Ids of the About box (template 183) that Kestrune and Sunnabar share with their main window
   (printer_frame.rc); each program names its own picture IDB_ABOUT. Read by the resource
   compiler and by C++ alike. */
#pragma once

#define IDD_ABOUT 183
#define IDC_ABOUT_TITLE 1173
#define IDC_ABOUT_VERSION 1174
#define IDC_ABOUT_TEXT 1175
