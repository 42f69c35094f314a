// Kestrune's tables.
#include "programs/kestrune/kestrune_tables.h"

namespace programs {

shell::ProgramProfile KestruneProfile() {
  return shell::ProgramProfile{shell::Program::Kestrune,
                               "Kestrune",
                               400,  // program title
                               303,  // shared objects could not be created
                               shell::CommonRequiredFiles(),
                               shell::SETTINGS_LINE_CHUNK,
                               shell::TextKeyStyle::Zeros00,
                               2,
                               {{0, 0, 400, -1}, {2, 134, 0, 1}}};
}

}  // namespace programs
