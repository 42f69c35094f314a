// Sunnabar's own tables: title, required files, pages.
#pragma once

#include "shell/program_profile.h"

namespace programs {

shell::ProgramProfile SunnabarProfile();

}  // namespace programs
