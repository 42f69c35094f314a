/* Resource and control ids of Trevalo's paper setting dialog (template 138), shown before every
   sample print. Read by the resource compiler and by C++ alike. */
#pragma once

#define IDD_PAPER_SETTING 138

#define IDC_AUTO_CUT_LABEL 1700
#define IDC_AUTO_CUT_ON 1701
#define IDC_AUTO_CUT_OFF 1702
#define IDC_PAPER_SIZE_LABEL 1703
#define IDC_PAPER_SIZE_LIST 1704
