/* The ids of the shared frame's templates and pictures, for the programs' resource headers. */
#pragma once

#include "shell/busy_dialog_ids.h"
#include "shell/main_window_ids.h"
#include "shell/page_ids.h"
