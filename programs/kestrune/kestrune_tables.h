// Kestrune's own tables: title, required files, pages.
#pragma once

#include "shell/main_window.h"
#include "shell/program_profile.h"

namespace programs {

shell::ProgramProfile KestruneProfile();
// Kestrune's one page: the maintenance page, page number 2.
shell::PageFactory KestrunePages();

}  // namespace programs
