/* Resource and control ids of Sunnabar's firmware update page (template 135). Read by the
   resource compiler and by C++ alike. */
#pragma once

#include "shell/page_ids.h"

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
/* Hidden: it keeps the verdict number and marks where the page paints it. */
#define IDC_VERDICT 1138
