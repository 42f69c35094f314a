/* Resource ids of the Win32 platform check. */
#pragma once

#define IDD_CHECK_DIALOG 200
#define IDD_CHECK_PAGE 201
#define IDC_CHECK_BUTTON 100
#define IDC_CHECK_COMBO 101
#define IDC_CHECK_LIST 102
#define IDC_CHECK_LABEL 103
#define IDC_CHECK_OWNER_DRAWN 104
#define IDC_CHECK_PICTURE 105
#define IDB_CHECK_PICTURE 300
#define IDC_PAGE_FIRST 110
#define IDC_PAGE_LAST 111
