// Trevalo's tables.
#include "programs/trevalo/trevalo_tables.h"

#include <new>

#include "cleaning/cleaning_page.h"
#include "cleaning/nozzle_check_page.h"
#include "feed/adjustment_page.h"
#include "programs/seats/trevalo_seats.h"
#include "programs/trevalo/resource.h"
#include "shell/layout.h"
#include "shell/printer_page.h"

namespace programs {

namespace {

constexpr char MEDIA_FILE[] = "MediaP1.ini";

// The pages' numbers: page 0 is the printer and guide lists.
constexpr int PRINTER_PAGE_NUMBER = 0;
constexpr int ADJUSTMENT_PAGE_NUMBER = 1;
constexpr int CLEANING_PAGE_NUMBER = 2;
constexpr int NOZZLE_CHECK_PAGE_NUMBER = 3;

// The adjustment page's parts, created before the page that holds them.
struct AdjustmentParts {
  AdjustmentParts(shell::ToolApp& app, shell::PageHost& host)
      : objects(dynamic_cast<TrevaloObjects*>(app.Objects())),
        detailSeat(app, host, samples),
        sampleSeat(app, objects ? objects->DriverSettings() : nullptr),
        samples(sampleSeat),
        seat(app, detailSeat) {
    if (objects && objects->DriverSettings()) {
      source = std::make_unique<feed::DriverSettingsMediaSource>(*objects->DriverSettings(),
                                                                 objects->DriverMedia());
    } else {
      source = std::make_unique<NoDriverSettings>();
    }
  }

  // Without the library every paper handling is refused.
  class NoDriverSettings : public feed::DriverMediaSource {
    bool MediaTypesFor(const std::string&, int, std::vector<feed::DriverMediaType>*) override {
      return false;
    }
  };

  TrevaloObjects* objects;
  // The dialogs' seat holds the sample print by reference, the sample print its own seat.
  AppDetailSeat detailSeat;
  AppSamplePrintSeat sampleSeat;
  feed::SamplePrint samples;
  AppAdjustmentSeat seat;
  std::unique_ptr<feed::DriverMediaSource> source;
};

class TrevaloAdjustmentPage : private AdjustmentParts, public feed::AdjustmentPage {
 public:
  TrevaloAdjustmentPage(shell::ToolApp& app, shell::PageHost& host)
      : AdjustmentParts(app, host),
        feed::AdjustmentPage(seat, host, *source, objects ? objects->Media() : nullptr) {}
};

}  // namespace

shell::ProgramProfile TrevaloProfile() {
  shell::ProgramProfile p{};
  p.name = "Trevalo";
  p.optionsSubkey = "Trevalo";
  p.titleText = 0;
  p.sharedObjectsFailedText = 314;
  p.requiredFiles = shell::CommonRequiredFiles();
  p.requiredFiles.push_back(MEDIA_FILE);
  p.requiredFiles.push_back("PaperSet.ini");
  p.lineChunk = shell::SETTINGS_LINE_CHUNK_TREVALO;
  p.keyStyle = shell::TextKeyStyle::Padded08;
  p.startPage = 0;
  p.pages = {{0, IDD_PRINTER_PAGE, 0, 1},
             {1, IDD_ADJUSTMENT_PAGE, 10000, 10001},
             {2, IDD_CLEANING_PAGE, 40000, 40001},
             {3, IDD_NOZZLE_CHECK_PAGE, 50000, 50001}};

  // Page 0 holds the printer list and appends its no-printer entry itself.
  p.printerListInFrame = false;
  p.printerLabelText = 2;
  p.listStart = shell::PrinterListStart::RememberedElseNothing;
  p.checksPorts = true;
  p.remembersPrinter = true;
  p.refreshesOnChoice = false;
  p.refreshesOnPageSwitch = true;
  p.noRegisteredPrinterText = 330;
  p.pageFailedText = 314;
  p.manualFailedText = 320;
  p.closeConfirmText = 302;
  p.selectorRect = {356, 15, 549, 30};
  p.selectorShown = shell::SelectorShown::OnToolPages;
  p.placement = shell::Placement::KeepTopLeft;
  p.captionNamesPrinter = true;
  p.header = {{0, 0, 370, 42}, {15, 5, 370, 17}, {15, 42, 595, 60}, 10400, 39, 41, true};
  p.about = {IDD_ABOUT,
             {IDC_ABOUT_TITLE, IDC_ABOUT_VERSION, IDC_ABOUT_TEXT},
             {{{0, 150, 370, 170}, {0, 170, 370, 190}, {0, 200, 370, 240}}},
             {400, 80001, 80000},
             IDB_ABOUT,
             IDM_ABOUT,
             IDM_ABOUT,
             780};
  p.busy = {100000, 100100, 90000, false, false};
  return p;
}

shell::PrinterPageData TrevaloPrinterPage() {
  // Guide number, picture, title and description texts, and the page each item opens.
  return {IDD_PRINTER_PAGE,
          0,
          {{1, IDB_GUIDE_ADJUSTMENT, 3, 4, 1},
           {2, IDB_GUIDE_CLEANING, 5, 6, 2},
           {3, IDB_GUIDE_NOZZLE_CHECK, 7, 8, 3}}};
}

shell::PageFactory TrevaloPages() {
  return [](shell::ToolApp& app, shell::PageHost& host,
            int pageNumber) -> std::unique_ptr<shell::Page> {
    switch (pageNumber) {
      case PRINTER_PAGE_NUMBER:
        return std::make_unique<shell::PrinterPage>(app, host, TrevaloPrinterPage());
      case ADJUSTMENT_PAGE_NUMBER:
        return std::make_unique<TrevaloAdjustmentPage>(app, host);
      case CLEANING_PAGE_NUMBER:
        return MakeSeatedPage<cleaning::CleaningPage>(app, host);
      case NOZZLE_CHECK_PAGE_NUMBER:
        return MakeSeatedPage<cleaning::NozzleCheckPage>(app, host);
      default:
        return nullptr;
    }
  };
}

bool TrevaloObjects::CreateBeforeLink(shell::ToolApp& app) {
  if (!app.Host().BitmapLoads(IDB_ICON_STRIP)) return false;
  try {
    icons_ = std::make_unique<IconStrip>(IconStrip{IDB_ICON_STRIP, ICON_STRIP_IMAGES});
    driverSettings_ =
        std::make_unique<printer_link::DriverSettingsApi>(app.Library(), app.Spooler());
  } catch (const std::bad_alloc&) {
    return false;
  }
  driver_.Attach(driverSettings_.get());
  return true;
}

void TrevaloObjects::DestroyAfterLinkRelease() {
  driver_.Attach(nullptr);
  if (driverSettings_) driverSettings_->Unbind();
  driverSettings_.reset();
  icons_.reset();
}

bool TrevaloObjects::CreateAfterLink(shell::ToolApp& app) {
  try {
    media_ = std::make_unique<feed::MediaTable>(app.Settings(), MEDIA_FILE);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

}  // namespace programs
