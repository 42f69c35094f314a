/* Resource and control ids of Trevalo's nozzle check page (template 135). Read by the resource
   compiler and by C++ alike. */
#pragma once

#include "shell/page_ids.h"

#define IDD_NOZZLE_CHECK_PAGE 135
#define IDC_NOZZLE_PAGE_GROUP 1400
#define IDC_NOZZLE_PAGE_EXECUTE 1401
#define IDC_NOZZLE_PAGE_TEXT 1402
#define IDC_NOZZLE_PAGE_CLOSE 1404
