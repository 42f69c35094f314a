/* Control ids of Trevalo's pellan detail dialog (template IDD_PELLAN_DETAIL). Read by the
   resource compiler and by C++ alike. */
#pragma once

#include "feed/adjustment_page_ids.h"

/* The selection: labels and names of media type, paper feed and print quality. */
#define IDC_PELLAN_MEDIA_LABEL 1500
#define IDC_PELLAN_MEDIA_NAME 1501
#define IDC_PELLAN_FEED_LABEL 1502
#define IDC_PELLAN_FEED_NAME 1503
#define IDC_PELLAN_QUALITY_LABEL 1504
#define IDC_PELLAN_QUALITY_NAME 1505

/* Sample print: the print modes to sample, their patterns, the button. */
#define IDC_PELLAN_SAMPLE_GROUP 1506
#define IDC_PELLAN_MODE_HEADING 1709
#define IDC_PELLAN_PATTERN_HEADING 1710
#define IDC_PELLAN_SAMPLE_FIRST 1522
#define IDC_PELLAN_SAMPLE_SECOND 1523
#define IDC_PELLAN_SAMPLE_THIRD 1524
#define IDC_PELLAN_PATTERN_FIRST 1711
#define IDC_PELLAN_PATTERN_SECOND 1712
#define IDC_PELLAN_PATTERN_THIRD 1713
#define IDC_PELLAN_SAMPLE_PRINT 1145

/* Sample image: standard or the operator's own file. */
#define IDC_PELLAN_IMAGE_GROUP 1155
#define IDC_PELLAN_STANDARD_IMAGE 1151
#define IDC_PELLAN_USER_IMAGE 1152
#define IDC_PELLAN_IMAGE_FILE 1153
#define IDC_PELLAN_BROWSE 1001

/* Save step: the values to save, the values the printer holds. */
#define IDC_PELLAN_SAVE_GROUP 1515
#define IDC_PELLAN_SAVE_HEADING 1519
#define IDC_PELLAN_CURRENT_HEADING 1521
#define IDC_PELLAN_MODE_LABEL 1526
#define IDC_PELLAN_SHIFT_LABEL 1527
#define IDC_PELLAN_MODE_LIST 1518
#define IDC_PELLAN_SHIFT_LIST 1517
#define IDC_PELLAN_CURRENT_MODE 1525
#define IDC_PELLAN_CURRENT_SHIFT 1520
#define IDC_PELLAN_SAVE 1102

/* Help is the pages' IDC_HELP_BUTTON; Close is IDCANCEL. */
