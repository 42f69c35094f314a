/* Trevalo's resource and control ids: the shared frame's, then its own About box. Its pages
   add theirs here. Read by the resource compiler and by C++ alike. */
#pragma once

#include "programs/common/frame_ids.h"

/* About box (template 147) and its picture. */
#define IDD_ABOUT 147
#define IDC_ABOUT_TITLE 1705
#define IDC_ABOUT_VERSION 1706
#define IDC_ABOUT_TEXT 1707
#define IDB_ABOUT 183
