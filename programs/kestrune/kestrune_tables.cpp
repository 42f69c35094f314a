// Kestrune's tables.
#include "programs/kestrune/kestrune_tables.h"

#include "cleaning/maintenance_page.h"
#include "programs/kestrune/resource.h"
#include "programs/seats/app_seat.h"
#include "shell/layout.h"

namespace programs {

constexpr int KESTRUNE_PAGE = 2;

shell::ProgramProfile KestruneProfile() {
  shell::ProgramProfile p{};
  p.name = "Kestrune";
  p.titleText = 400;
  p.sharedObjectsFailedText = 303;
  p.requiredFiles = shell::CommonRequiredFiles();
  p.lineChunk = shell::SETTINGS_LINE_CHUNK;
  p.keyStyle = shell::TextKeyStyle::Zeros00;
  p.startPage = KESTRUNE_PAGE;
  p.pages = {{0, 0, 400, shell::NO_TEXT}, {KESTRUNE_PAGE, IDD_MAINTENANCE_PAGE, 0, 1}};

  p.printerListInFrame = true;
  p.printerLabelText = 2;
  p.listStart = shell::PrinterListStart::RememberedElseNoPrinter;
  p.checksPorts = false;
  p.remembersPrinter = true;
  p.refreshesOnChoice = false;
  p.refreshesOnPageSwitch = true;
  p.noRegisteredPrinterText = 304;
  p.pageFailedText = 303;
  p.manualFailedText = 311;
  p.closeConfirmText = 300;
  p.selectorRect = {338, 15, 531, 30};
  p.selectorShown = shell::SelectorShown::Never;
  p.placement = shell::Placement::Centred;
  p.captionNamesPrinter = false;
  p.header = {{15, 7, 370, 42}, {}, {15, 42, 595, 60}, shell::NO_TEXT, 39, 39, false};
  p.about = {IDD_ABOUT,
             {IDC_ABOUT_TITLE, IDC_ABOUT_VERSION, IDC_ABOUT_TEXT},
             {{{0, 140, 370, 155}, {0, 155, 370, 170}, {16, 200, 354, 250}}},
             {400, 10001, 10000},
             IDB_ABOUT,
             16,
             31,
             280};
  p.busy = {20000, 20100, shell::NO_TEXT, true, true};
  return p;
}

shell::PageFactory KestrunePages() {
  return [](shell::ToolApp& app, shell::PageHost& host, int pageNumber) {
    std::unique_ptr<shell::Page> page;
    if (pageNumber == KESTRUNE_PAGE) page = MakeSeatedPage<cleaning::MaintenancePage>(app, host);
    return page;
  };
}

}  // namespace programs
