/* Trevalo's resource and control ids: the shared frame's, then its own About box and pages.
   Read by the resource compiler and by C++ alike. */
#pragma once

#include "cleaning/cleaning_page_ids.h"
#include "cleaning/nozzle_check_page_ids.h"
#include "programs/common/frame_ids.h"

/* Paper feed adjustment page (template 133), its detail dialogs and the paper setting dialog
   their sample prints show. */
#include "feed/adjustment_page_ids.h"
#include "feed/paper_feed_detail_ids.h"
#include "feed/paper_setting_ids.h"
#include "feed/pellan_detail_ids.h"

/* About box (template 147), its picture and its system menu command. */
#define IDD_ABOUT 147
#define IDC_ABOUT_TITLE 1705
#define IDC_ABOUT_VERSION 1706
#define IDC_ABOUT_TEXT 1707
#define IDB_ABOUT 183
#define IDM_ABOUT 32772

/* Pages: printer choice and guide list (0), paper feed adjustment (1), cleaning (2), nozzle
   check (3). */
#define IDD_PRINTER_PAGE 132
#define IDD_CLEANING_PAGE 134
#define IDD_NOZZLE_CHECK_PAGE 135

/* Page 0's guide list item pictures, and the icon strip of the owner-drawn controls (twelve
   images of equal width). */
#define IDB_GUIDE_ADJUSTMENT 149
#define IDB_GUIDE_CLEANING 150
#define IDB_GUIDE_NOZZLE_CHECK 151
#define IDB_ICON_STRIP 171
#define ICON_STRIP_IMAGES 12
