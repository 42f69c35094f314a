/* Sunnabar's resource and control ids: the shared frame's, its About box and the firmware
   page. Read by the resource compiler and by C++ alike. */
#pragma once

#include "firmware/firmware_page_ids.h"
#include "programs/common/frame_ids.h"
#include "programs/common/printer_frame_ids.h"

/* The About box's picture. */
#define IDB_ABOUT 184
