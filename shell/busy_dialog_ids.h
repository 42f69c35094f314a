/* Resource and control ids of the busy dialog (template 169). Read by the resource compiler and
   by C++ alike; Cancel is the system's IDCANCEL (2). */
#pragma once

#define IDD_BUSY 169
#define IDC_BUSY_PICTURE 1158
#define IDC_BUSY_MESSAGE 1159
#define IDB_BUSY_FRAMES 170
