/* Resource and control ids of Trevalo's paper feed adjustment page (template 133) and the two
   detail dialogs it opens. Read by the resource compiler and by C++ alike. */
#pragma once

#include "shell/page_ids.h"

#define IDD_ADJUSTMENT_PAGE 133
#define IDD_PELLAN_DETAIL 136
#define IDD_PAPER_FEED_DETAIL 137

#define IDC_MEDIA_LABEL 1095
#define IDC_MEDIA_LIST 1096
#define IDC_PAPER_FEED_LABEL 1203
#define IDC_PAPER_FEED_LIST 1204
#define IDC_QUALITY_LABEL 1205
#define IDC_QUALITY_LIST 1206
#define IDC_PAPER_FEED_GROUP 1207
#define IDC_PAPER_FEED_DETAIL 1208
#define IDC_PAPER_FEED_TEXT 1209
#define IDC_PELLAN_GROUP 1210
#define IDC_PELLAN_DETAIL 1211
#define IDC_PELLAN_TEXT 1212
#define IDC_ADJUSTMENT_TEXT 1213
#define IDC_ADJUSTMENT_CLOSE 1215
/* Hidden from the start; kept because the template has always carried it. */
#define IDC_ADJUSTMENT_SPARE 1163
