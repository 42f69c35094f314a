/* Resource and control ids of Kestrune's maintenance page (template 134). Read by the resource
   compiler and by C++ alike. */
#pragma once

#include "shell/page_ids.h"

#define IDD_MAINTENANCE_PAGE 134
#define IDC_NOZZLE_CHECK_GROUP 1160
#define IDC_NOZZLE_CHECK 1038
#define IDC_NOZZLE_CHECK_TEXT 1040
#define IDC_DEEP_CLEANING_GROUP 1161
#define IDC_DEEP_CLEANING 1039
#define IDC_DEEP_CLEANING_TEXT 1041
#define IDB_DEEP_CLEANING 159
#define IDB_NOZZLE_CHECK 160
