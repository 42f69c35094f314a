// Sunnabar's own tables: title, required files, pages.
#pragma once

#include "shell/main_window.h"
#include "shell/program_profile.h"

namespace programs {

shell::ProgramProfile SunnabarProfile();
// Sunnabar's one page: the firmware update page, page number 7.
shell::PageFactory SunnabarPages();

}  // namespace programs
