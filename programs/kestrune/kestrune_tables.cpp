// Kestrune's tables.
#include "programs/kestrune/kestrune_tables.h"

#include "cleaning/maintenance_page.h"

namespace programs {

constexpr int KESTRUNE_PAGE = 2;

shell::ProgramProfile KestruneProfile() {
  return shell::ProgramProfile{
      shell::Program::Kestrune,
      "Kestrune",
      400,  // program title
      303,  // shared objects could not be created
      shell::CommonRequiredFiles(),
      shell::SETTINGS_LINE_CHUNK,
      shell::TextKeyStyle::Zeros00,
      KESTRUNE_PAGE,
      {{0, 0, 400, -1}, {KESTRUNE_PAGE, cleaning::MAINTENANCE_TEMPLATE, 0, 1}}};
}

shell::PageFactory KestrunePages() {
  return [](shell::ToolApp& app, shell::PageHost& host, int pageNumber) {
    std::unique_ptr<shell::Page> page;
    if (pageNumber == KESTRUNE_PAGE) page = std::make_unique<cleaning::MaintenancePage>(app, host);
    return page;
  };
}

}  // namespace programs
