/* Resource and control ids of Trevalo's cleaning page (template 134). Read by the resource
   compiler and by C++ alike. */
#pragma once

#include "shell/page_ids.h"

#define IDD_CLEANING_PAGE 134
#define IDC_CLEANING_GROUP 1300
#define IDC_CLEANING_EXECUTE 1301
#define IDC_CLEANING_TEXT 1302
#define IDC_CLEANING_CLOSE 1304
#define IDC_CLEANING_INFORMATION 1708
