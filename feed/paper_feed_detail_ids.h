/* Control ids of Trevalo's paper feed detail dialog (template IDD_PAPER_FEED_DETAIL, 137).
   Read by the resource compiler and by C++ alike. */
#pragma once

#include "feed/adjustment_page_ids.h"

/* The adjustment page's choice: "label : " and name of media, paper feed and print quality. */
#define IDC_FEED_MEDIA_LABEL 1600
#define IDC_FEED_MEDIA_NAME 1601
#define IDC_FEED_PAPER_LABEL 1602
#define IDC_FEED_PAPER_NAME 1603
#define IDC_FEED_QUALITY_LABEL 1604
#define IDC_FEED_QUALITY_NAME 1605

/* Sample print: the range of sample values, its slider, the five values and the picture. */
#define IDC_FEED_SAMPLE_GROUP 1606
#define IDC_FEED_RANGE_HEADING 1081
#define IDC_FEED_LOW_LABEL 1157
#define IDC_FEED_HIGH_LABEL 1158
/* Hidden: marks where the dialog draws its range slider. */
#define IDC_FEED_SLIDER_FRAME 1030
#define IDC_FEED_LOW_EDIT 1022
#define IDC_FEED_HIGH_EDIT 1024
#define IDC_FEED_SCALE_LEFT 1116
#define IDC_FEED_SCALE_RIGHT 1117
#define IDC_FEED_SAMPLES_HEADING 1159
#define IDC_FEED_SAMPLES 1154
#define IDC_FEED_SAMPLE_PRINT 1145
#define IDC_FEED_IMAGE_GROUP 1155
#define IDC_FEED_STANDARD_IMAGE 1151
#define IDC_FEED_USER_IMAGE 1152
#define IDC_FEED_IMAGE_NAME 1153
#define IDC_FEED_BROWSE 1001

/* Saving the chosen value. */
#define IDC_FEED_SAVE_GROUP 1624
#define IDC_FEED_SAVE_HEADING 1625
#define IDC_FEED_SAVE_EDIT 1627
#define IDC_FEED_PRINTER_HEADING 1626
#define IDC_FEED_PRINTER_VALUE 1628
#define IDC_FEED_SAVE 1102

/* Help is IDC_HELP_BUTTON (1003); Close is IDCANCEL (2). */
