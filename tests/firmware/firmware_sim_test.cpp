// The firmware page end to end against the simulated printer: the job goes through the recording
// spooler into the printer, which checks lead-in, header and file on its own and restarts with
// the new version.
#include <gtest/gtest.h>

#include <algorithm>

#include "firmware/firmware_page.h"
#include "firmware/firmware_version.h"
#include "link/bidi_api.h"
#include "programs/sunnabar/sunnabar_tables.h"
#include "shell/busy_dialog.h"
#include "shell/main_window.h"
#include "sim/simulated_library.h"
#include "sim/simulated_printer.h"
#include "tests/support/fake_spooler.h"
#include "tests/support/linked_seat.h"
#include "tests/support/program_world.h"
#include "tests/support/recording_canvas.h"
#include "tests/support/test_app.h"

namespace {

using fakes::NullHandler;
using namespace firmware;

constexpr char QUEUE[] = "Plotter on USB001";
constexpr char DRIVER[] = "KALDO Model 9000";
constexpr char FILE_PATH[] = "D:\\Updates\\NEW.UPG";

class NoPageHost : public shell::PageHost {
 public:
  void SelectPage(int pageNumber) override { selected.push_back(pageNumber); }
  void OpenManual(int, int) override {}
  ui::View* Window() override { return nullptr; }
  std::vector<int> selected;
};

class FirmwareSimTest : public ::testing::Test {
 public:
  FirmwareSimTest() {
    auto spoolerOwned = std::make_unique<fakes::RecordingSpooler>();
    spooler = spoolerOwned.get();
    shell::PlatformSet set = fakes::MakeFakePlatform(&platform, std::move(spoolerOwned));
    printer = std::make_unique<sim::SimulatedPrinter>(*platform.clock);
    auto library = std::make_unique<sim::SimulatedLibrary>(*printer);
    platform.library = library.get();
    set.library = std::move(library);
    app = std::make_unique<shell::ToolApp>(programs::SunnabarProfile(), std::move(set));
    fakes::InstallTestSettings(*platform.files, {0, 5, 7, 8, 9, 302, 305, 306, 307, 308, 309, 310,
                                                 311, 312, 314, 400, 20000, 20100});
    platform.host->templates[IDD_BUSY] = {IDC_BUSY_PICTURE, IDC_BUSY_MESSAGE, ui::ID_CANCEL};
    platform.host->templates[IDD_FIRMWARE_PAGE] = {
        IDC_BROWSE, IDC_UPDATE, IDC_FILE_NAME, IDC_PRINTER_VERSION, IDC_FILE_VERSION, IDC_VERDICT};
    spooler->AddQueue(QUEUE, "USB001", DRIVER);
    spooler->onJob = [this](const std::vector<uint8_t>& job) { printer->ReceiveJob(job); };
    app->SetPrinter(QUEUE, DRIVER, "USB001");
    api = std::make_unique<printer_link::BidiApi>(app->Library(), app->Spooler(), app->Files());
    EXPECT_EQ(api->Bind(QUEUE, printer_link::LibrarySearch::PlainNameFirst), 1);
  }
  ~FirmwareSimTest() override {
    view.reset();
    page.reset();
    api.reset();
  }

  void OpenAndRefresh() {
    view.reset();  // the window goes before its handler
    seat = std::make_unique<fakes::LinkedSeat>(*app, api.get());
    page = std::make_unique<FirmwarePage>(*seat, pageHost);
    view = platform.host->CreateModeless(IDD_FIRMWARE_PAGE, nullptr, true, *page);
    EXPECT_TRUE(page->OnRefresh());
  }
  fakes::FakeView& View() { return *static_cast<fakes::FakeView*>(view.get()); }
  void BrowseNewFirmware(const char* version) {
    std::vector<uint8_t> file = MakeFirmwareFile(version, 50000);
    platform.files->Put(FILE_PATH, std::string(file.begin(), file.end()));
    platform.host->chooseFileResult = true;
    platform.host->chosenFile = FILE_PATH;
    View().Click(IDC_BROWSE);
  }
  std::vector<std::string> Messages() {
    std::vector<std::string> texts;
    for (const auto& m : platform.host->messages) texts.push_back(m.text);
    return texts;
  }
  bool Logged(const std::string& line) {
    const auto& log = printer->State().log;
    return std::find(log.begin(), log.end(), line) != log.end();
  }

  fakes::TestPlatform platform{};
  fakes::RecordingSpooler* spooler = nullptr;
  std::unique_ptr<sim::SimulatedPrinter> printer;
  std::unique_ptr<shell::ToolApp> app;
  std::unique_ptr<printer_link::BidiApi> api;
  NoPageHost pageHost;
  std::unique_ptr<fakes::LinkedSeat> seat;
  std::unique_ptr<FirmwarePage> page;
  std::unique_ptr<ui::View> view;
};

TEST_F(FirmwareSimTest, PrinterRestartsWithTheNewFirmware) {
  struct Case {
    const char* before;
    const char* file;
  } cases[] = {{"SN120315", "SN130315"},   // with lead-in
               {"SN120000", "SN130000"},   // a printer that expects none
               {"SN130315", "SN130315"}};  // the same firmware again
  for (const auto& c : cases) {
    SCOPED_TRACE(c.before);
    printer->State().firmware = c.before;
    platform.host->messages.clear();
    OpenAndRefresh();
    EXPECT_EQ(View().ControlText(IDC_PRINTER_VERSION), c.before);
    BrowseNewFirmware(c.file);
    ASSERT_TRUE(View().IsControlEnabled(IDC_UPDATE));
    View().Click(IDC_UPDATE);
    EXPECT_EQ(Messages(), std::vector<std::string>{"T309"});
    EXPECT_EQ(printer->State().firmware, c.file);
    EXPECT_TRUE(Logged("restarted with firmware " + std::string(c.file)));
    EXPECT_EQ(View().ControlText(IDC_PRINTER_VERSION), c.file);
    EXPECT_EQ(page->Verdict(), VERDICT_SAME);
  }
}

TEST_F(FirmwareSimTest, PrinterThatVanishesInItsUpdateBringsThePageBack) {
  printer->State().faults.insert(sim::FAULT_VANISHES);
  OpenAndRefresh();
  BrowseNewFirmware("SN130315");
  View().Click(IDC_UPDATE);
  EXPECT_EQ(Messages(), (std::vector<std::string>{"T310", "T312"}));
  EXPECT_EQ(pageHost.selected, std::vector<int>{FIRMWARE_PAGE_NUMBER});
  EXPECT_EQ(View().ControlText(IDC_PRINTER_VERSION), "SN120315");
}

TEST_F(FirmwareSimTest, PrinterBusyBeyondTheLimitIsStillAskedForItsVersion) {
  printer->State().firmwareBusyMs = 93000;  // ready during the last check after the limit
  OpenAndRefresh();
  BrowseNewFirmware("SN130315");
  View().Click(IDC_UPDATE);
  EXPECT_EQ(Messages(), (std::vector<std::string>{"T310", "T309"}));
  EXPECT_EQ(printer->State().firmware, "SN130315");
}

TEST_F(FirmwareSimTest, OlderFirmwareIsShownInRedAndCannotBeSent) {
  OpenAndRefresh();
  BrowseNewFirmware("SN110315");
  EXPECT_EQ(page->Verdict(), VERDICT_FILE_OLDER);
  EXPECT_FALSE(View().IsControlEnabled(IDC_UPDATE));
  EXPECT_TRUE(spooler->jobs.empty());
}

}  // namespace

namespace {

// Sunnabar as a whole: main window, printer choice, the firmware page and the simulated printer.
TEST(SunnabarProgramTest, ChooseBrowseUpdateAndChooseNoPrinter) {
  fakes::ProgramWorld world(programs::SunnabarProfile());
  std::vector<uint8_t> file = MakeFirmwareFile("SN130315", 20000);
  world.fake.files->Put(FILE_PATH, std::string(file.begin(), file.end()));
  world.fake.host->chooseFileResult = true;
  world.fake.host->chosenFile = FILE_PATH;
  FirmwarePage* page = nullptr;
  bool ran = false;
  world.Run(
      [&](shell::ToolApp& app, shell::PageHost& host, int) {
        auto made = std::make_unique<programs::SeatedPage<FirmwarePage>>(app, host);
        page = made.get();
        return std::unique_ptr<shell::Page>(std::move(made));
      },
      [&](fakes::FakeView& main) {
        ran = true;
        fakes::FakeView* view = world.Window(IDD_FIRMWARE_PAGE);
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(main.clientHeight, 115 + 278);
        EXPECT_FALSE(view->IsControlEnabled(IDC_BROWSE));  // the no-printer entry to start

        main.ChooseComboEntry(IDC_PRINTER_LIST, 0, ui::COMBO_SELECTION_CHANGED);
        EXPECT_EQ(view->ControlText(IDC_PRINTER_VERSION), "SN120315");
        ASSERT_TRUE(view->IsControlEnabled(IDC_BROWSE));
        view->Click(IDC_BROWSE);
        EXPECT_EQ(page->Verdict(), VERDICT_FILE_NEWER);
        view->Click(IDC_UPDATE);
        EXPECT_EQ(world.MessageTexts(), std::vector<std::string>{"T309"});
        EXPECT_EQ(world.printer.State().firmware, "SN130315");

        main.ChooseComboEntry(IDC_PRINTER_LIST, 1, ui::COMBO_SELECTION_CHANGED);
        EXPECT_EQ(view->ControlText(IDC_PRINTER_VERSION), "");
        EXPECT_EQ(view->ControlText(IDC_FILE_NAME), "");
        EXPECT_EQ(view->ControlText(IDC_FILE_VERSION), "");
        EXPECT_EQ(page->Verdict(), VERDICT_NONE);
        EXPECT_FALSE(view->IsControlEnabled(IDC_BROWSE));
        EXPECT_FALSE(view->IsControlEnabled(IDC_UPDATE));
      });
  EXPECT_TRUE(ran);
}

}  // namespace
