/* Sunnabar's resource and control ids: the shared frame's, then the About box and the
   firmware page. Read by the resource compiler and by C++ alike. */
#pragma once

#include "programs/common/frame_ids.h"

/* About box (template 183) and its picture. */
#define IDD_ABOUT 183
#define IDC_ABOUT_TITLE 1173
#define IDC_ABOUT_VERSION 1174
#define IDC_ABOUT_TEXT 1175
#define IDB_ABOUT 184

/* Firmware update page (template 135). */
#define IDD_FIRMWARE_PAGE 135
#define IDC_BROWSE 1001
#define IDC_FILE_CAPTION 1059
#define IDC_FILE_NAME 1060
#define IDC_VERSION_GROUP 1061
#define IDC_PRINTER_VERSION_CAPTION 1062
#define IDC_FILE_VERSION_CAPTION 1063
#define IDC_PRINTER_VERSION 1064
#define IDC_FILE_VERSION 1065
#define IDC_UPDATE 1066
#define IDC_VERDICT 1138
