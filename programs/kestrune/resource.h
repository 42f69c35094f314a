/* Kestrune's resource and control ids: the shared frame's, then the About box and the
   maintenance page. Read by the resource compiler and by C++ alike. */
#pragma once

#include "programs/common/frame_ids.h"

/* About box (template 183) and its picture. */
#define IDD_ABOUT 183
#define IDC_ABOUT_TITLE 1173
#define IDC_ABOUT_VERSION 1174
#define IDC_ABOUT_TEXT 1175
#define IDB_ABOUT 186

/* Maintenance page (template 134). */
#define IDD_MAINTENANCE_PAGE 134
#define IDC_NOZZLE_CHECK_GROUP 1160
#define IDC_NOZZLE_CHECK 1038
#define IDC_NOZZLE_CHECK_TEXT 1040
#define IDC_DEEP_CLEANING_GROUP 1161
#define IDC_DEEP_CLEANING 1039
#define IDC_DEEP_CLEANING_TEXT 1041
#define IDB_DEEP_CLEANING 159
#define IDB_NOZZLE_CHECK 160
