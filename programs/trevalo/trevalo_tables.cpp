// Trevalo's tables.
#include "programs/trevalo/trevalo_tables.h"

namespace programs {

shell::ProgramProfile TrevaloProfile() {
  std::vector<std::string> required = shell::CommonRequiredFiles();
  required.push_back("MediaP1.ini");
  required.push_back("PaperSet.ini");
  return shell::ProgramProfile{
      shell::Program::Trevalo,
      "Trevalo",
      0,    // program title
      314,  // shared objects or pages could not be created
      required,
      shell::SETTINGS_LINE_CHUNK_TREVALO,
      shell::TextKeyStyle::Padded08,
      0,
      {{0, 132, 0, 1}, {1, 133, 10000, 10001}, {2, 134, 40000, 40001}, {3, 135, 50000, 50001}}};
}

}  // namespace programs
