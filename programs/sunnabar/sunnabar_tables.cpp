// Sunnabar's tables.
#include "programs/sunnabar/sunnabar_tables.h"

namespace programs {

shell::ProgramProfile SunnabarProfile() {
  return shell::ProgramProfile{shell::Program::Sunnabar,
                               "Sunnabar",
                               400,  // program title
                               303,  // shared objects could not be created
                               shell::CommonRequiredFiles(),
                               shell::SETTINGS_LINE_CHUNK,
                               shell::TextKeyStyle::Zeros00,
                               7,
                               {{0, 0, 400, -1}, {7, 135, 0, 1}}};
}

}  // namespace programs
