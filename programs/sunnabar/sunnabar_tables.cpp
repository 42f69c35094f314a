// Sunnabar's tables.
#include "programs/sunnabar/sunnabar_tables.h"

#include "firmware/firmware_page.h"

namespace programs {

constexpr int SUNNABAR_PAGE = 7;

shell::ProgramProfile SunnabarProfile() {
  return shell::ProgramProfile{
      shell::Program::Sunnabar,
      "Sunnabar",
      400,  // program title
      303,  // shared objects could not be created
      shell::CommonRequiredFiles(),
      shell::SETTINGS_LINE_CHUNK,
      shell::TextKeyStyle::Zeros00,
      SUNNABAR_PAGE,
      {{0, 0, 400, -1}, {SUNNABAR_PAGE, firmware::FIRMWARE_PAGE_TEMPLATE, 0, 1}}};
}

shell::PageFactory SunnabarPages() {
  return [](shell::ToolApp& app, shell::PageHost& host, int pageNumber) {
    std::unique_ptr<shell::Page> page;
    if (pageNumber == SUNNABAR_PAGE) page = std::make_unique<firmware::FirmwarePage>(app, host);
    return page;
  };
}

}  // namespace programs
