/* Sunnabar's resource and control ids: the shared frame's, its About box and the firmware
   page. Read by the resource compiler and by C++ alike. */
#pragma once

#include "firmware/firmware_page_ids.h"
#include "programs/common/frame_ids.h"

/* About box (template 183) and its picture. */
#define IDD_ABOUT 183
#define IDC_ABOUT_TITLE 1173
#define IDC_ABOUT_VERSION 1174
#define IDC_ABOUT_TEXT 1175
#define IDB_ABOUT 184
