// The firmware page with the recording window fakes: start, refresh, Browse, the verdict and its
// painting, the printer choice's disabling, the keyboard and Update through the page.
#include "firmware/firmware_page.h"

#include <gtest/gtest.h>

#include "firmware/firmware_texts.h"
#include "firmware/firmware_version.h"
#include "shell/page.h"
#include "shell/printer_choice.h"
#include "tests/firmware/firmware_fixture.h"
#include "tests/support/linked_seat.h"
#include "tests/support/program_world.h"
#include "tests/support/recording_canvas.h"

namespace firmware_tests {
namespace {

using fakes::NullHandler;
using fakes::RecordingCanvas;
using namespace firmware;

constexpr char REMEMBERED_KEY[] = "SoftWare\\KALDO\\KALDO Maroset\\Model 9000\\Sunnabar";

class RecordingPageHost : public shell::PageHost {
 public:
  void SelectPage(int pageNumber) override { selected.push_back(pageNumber); }
  void OpenManual(int pageNumber, int topic) override { manuals.emplace_back(pageNumber, topic); }
  ui::View* Window() override { return window; }

  ui::View* window = nullptr;
  std::vector<int> selected;
  std::vector<std::pair<int, int>> manuals;
};

using Message = std::pair<std::string, ui::Icon>;

class FirmwarePageTest : public FirmwareFixture {
 public:
  FirmwarePageTest() {
    fakes::DeclareSuiteTemplates(*host);
    main = host->CreateModeless(IDD_MAIN_WINDOW, nullptr, false, mainHandler);
    host->SetMainWindow(main.get());
    pageHost.window = main.get();
    PutFirmware(FILE_PATH, "SN010100");
  }
  ~FirmwarePageTest() override {
    pageView.reset();
    page.reset();
  }

  void Open() {
    seat = std::make_unique<fakes::LinkedSeat>(*app, api.get());
    page = std::make_unique<FirmwarePage>(*seat, pageHost);
    pageView = host->CreateModeless(IDD_FIRMWARE_PAGE, main.get(), true, *page);
    host->messages.clear();
  }
  fakes::FakeView& V() { return *static_cast<fakes::FakeView*>(pageView.get()); }
  bool Refresh() { return page->OnRefresh(); }
  // Open, then a refresh that reads printerVersion from the printer.
  void OpenWithPrinterVersion(const std::string& printerVersion) {
    Open();
    ReplyVersion(printerVersion);
    EXPECT_NE(Refresh(), 0);
    host->messages.clear();
  }
  void Browse(const std::string& path) {
    host->chooseFileResult = true;
    host->chosenFile = path;
    V().Click(IDC_BROWSE);
  }
  std::vector<Message> Messages() {
    std::vector<Message> out;
    for (const fakes::ShownMessage& m : host->messages) {
      EXPECT_EQ(m.caption, "T400");
      out.emplace_back(m.text, m.icon);
    }
    return out;
  }
  std::string Text(int id) { return V().ControlText(id); }
  bool Enabled(int id) { return V().IsControlEnabled(id); }
  std::string Remembered() {
    const fakes::FakeRegistry::Value* value =
        platform.registry->Find(platform::HIVE_CURRENT_USER, REMEMBERED_KEY, "FwPath");
    if (!value || value->data.empty()) return "(none)";
    return std::string(value->data.begin(), value->data.end() - 1);
  }

  NullHandler mainHandler;
  std::unique_ptr<ui::View> main;
  RecordingPageHost pageHost;
  std::unique_ptr<fakes::LinkedSeat> seat;
  std::unique_ptr<FirmwarePage> page;
  std::unique_ptr<ui::View> pageView;
};

TEST_F(FirmwarePageTest, StartsWithoutVersionsAndWithBothActionsDisabled) {
  Open();
  EXPECT_EQ(V().windowRect, (ui::Rect{0, 0, 600, 278}));
  EXPECT_EQ(Text(IDC_PRINTER_VERSION), "T5");
  EXPECT_EQ(Text(IDC_FILE_VERSION), "");
  EXPECT_EQ(Text(IDC_FILE_CAPTION), "T2");
  EXPECT_EQ(Text(IDC_UPDATE), "T101");
  EXPECT_EQ(Text(IDC_VERDICT), "-1");
  EXPECT_FALSE(V().IsControlVisible(IDC_VERDICT));
  EXPECT_FALSE(Enabled(IDC_BROWSE));
  EXPECT_FALSE(Enabled(IDC_UPDATE));
  EXPECT_TRUE(page->WhiteBackground());
  EXPECT_TRUE(host->messages.empty());
}

TEST_F(FirmwarePageTest, LaunchModeUPreviewsEveryFirmwareMessageOnce) {
  SetLaunchMode("U");
  seat = std::make_unique<fakes::LinkedSeat>(*app, api.get());
  page = std::make_unique<FirmwarePage>(*seat, pageHost);
  pageView = host->CreateModeless(IDD_FIRMWARE_PAGE, main.get(), true, *page);
  EXPECT_EQ(Messages(), (std::vector<Message>{{"T306", ui::Icon::Warning},
                                              {"T308", ui::Icon::Error},
                                              {"T307", ui::Icon::Error},
                                              {"T310", ui::Icon::Warning},
                                              {"T312", ui::Icon::Warning},
                                              {"T309", ui::Icon::Information},
                                              {"T311", ui::Icon::Warning}}));
}

TEST_F(FirmwarePageTest, RefreshShowsThePrinterVersionAndEnablesBrowseOnly) {
  Open();
  std::vector<std::string> busyCaptions;
  host->onPump = [&] {
    if (fakes::FakeView* busy = host->Find(IDD_BUSY)) busyCaptions.push_back(busy->title);
  };
  ReplyVersion("SN010001");
  EXPECT_NE(Refresh(), 0);
  EXPECT_EQ(Text(IDC_PRINTER_VERSION), "SN010001");
  EXPECT_TRUE(Enabled(IDC_BROWSE));
  EXPECT_FALSE(Enabled(IDC_UPDATE));
  EXPECT_EQ(page->Verdict(), VERDICT_NONE);
  EXPECT_TRUE(host->messages.empty());
  EXPECT_EQ(host->waitCursor, (std::vector<bool>{true, false}));
  ASSERT_FALSE(busyCaptions.empty());
  EXPECT_EQ(busyCaptions.front(), "T0");
  EXPECT_EQ(host->Find(IDD_BUSY), nullptr);  // closed again
}

TEST_F(FirmwarePageTest, RefreshWithoutAVersionKeepsBrowseDisabled) {
  struct Case {
    const char* mode;
    const char* deviceId;
    bool replies;
    std::vector<Message> messages;
  } cases[] = {
      {"N", OTHER_DEVICE_ID, true, {{"T305", ui::Icon::Error}}},
      {"N", DEVICE_ID, false, {{"T306", ui::Icon::Warning}}},
      {"P", DEVICE_ID, true, {{"T306", ui::Icon::Warning}}},  // never asked in mode P
      {"U", DEVICE_ID, true, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.mode) + " " + c.deviceId);
    SetLaunchMode(c.mode);
    pageView.reset();
    Open();
    kb->deviceId = c.deviceId;
    kb->receives.clear();
    if (c.replies) ReplyVersion("SN010001");
    EXPECT_NE(Refresh(), 0);
    EXPECT_EQ(Messages(), c.messages);
    EXPECT_EQ(Text(IDC_PRINTER_VERSION), "T5");
    EXPECT_FALSE(Enabled(IDC_BROWSE));
    EXPECT_FALSE(Enabled(IDC_UPDATE));
    EXPECT_EQ(page->Verdict(), VERDICT_NONE);
    if (std::string(c.mode) != "N") {
      EXPECT_EQ(kb->Count("KBGetDeviceID"), 0);
    }
  }
}

TEST_F(FirmwarePageTest, BrowseAcceptsAFileAndRemembersItsFolder) {
  OpenWithPrinterVersion("SN010001");
  host->chooseFileResult = false;
  V().Click(IDC_BROWSE);
  EXPECT_EQ(host->lastInitialFolder, "C:\\");
  EXPECT_EQ(host->lastFilter, "UPG File(*.UPG)|*.UPG||");
  EXPECT_EQ(host->lastDefaultExt, "UPG");
  EXPECT_EQ(page->SelectedFile(), "");  // cancelled: nothing changes

  Browse(FILE_PATH);
  EXPECT_TRUE(host->messages.empty());
  EXPECT_EQ(page->SelectedFile(), FILE_PATH);
  EXPECT_EQ(Text(IDC_FILE_NAME), "FW.UPG");
  EXPECT_EQ(Text(IDC_FILE_VERSION), "SN010100");
  EXPECT_EQ(page->Verdict(), VERDICT_FILE_NEWER);
  EXPECT_EQ(Text(IDC_VERDICT), "7");
  EXPECT_TRUE(Enabled(IDC_UPDATE));
  EXPECT_EQ(Remembered(), "D:\\Updates");

  Browse(FILE_PATH);
  EXPECT_EQ(host->lastInitialFolder, "D:\\Updates");

  PutFirmware("C:\\FW.UPG", "SN010100");
  Browse("C:\\FW.UPG");
  EXPECT_EQ(Remembered(), "C:\\FW.UPG");  // a file in the root is remembered with its name
}

TEST_F(FirmwarePageTest, RememberedFolderAndModelKey) {
  struct Case {
    const char* path;
    const char* folder;
  } folders[] = {{"C:\\FW.UPG", "C:\\FW.UPG"},
                 {"C:\\A\\FW.UPG", "C:\\A"},
                 {"D:\\Updates\\New\\FW.UPG", "D:\\Updates\\New"},
                 {"C:A\\FW.UPG", "C:A\\FW.UPG"},  // backslash at position 3: kept whole
                 {"C:AB\\FW.UPG", "C:AB"},        // at position 4: cut
                 {"FW.UPG", "FW.UPG"},
                 {"\\\\srv\\FW.UPG", "\\\\srv"}};
  for (const auto& c : folders) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(RememberedFolder(c.path), c.folder);
  }
  struct KeyCase {
    const char* driver;
    const char* key;
  } keys[] = {{"KALDO Model 9000", "Model 9000"},
              {"Model 9000", "err"},
              {"The KALDO 9", "LDO 9"},  // removed by length, not where the name stands
              {"KALDO", ""},             // nothing left: no read past the name
              {"KALDO ", ""}};
  for (const auto& c : keys) {
    SCOPED_TRACE(c.driver);
    EXPECT_EQ(shell::ModelKeyName(c.driver), c.key);
  }
}

TEST_F(FirmwarePageTest, VerdictDecidesWhetherUpdateIsPossible) {
  struct Case {
    const char* printer;
    const char* file;
    int verdict;
    bool update;
  } cases[] = {
      {"SN010001", "SN010100", VERDICT_FILE_NEWER, true},
      {"SN010100", "SN010100", VERDICT_SAME, true},  // the same firmware may be written again
      {"SN010100", "SN010001", VERDICT_FILE_OLDER, false},
      {"XY010100", "SN010109", VERDICT_SAME, true},  // only characters 4 to 7 count
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.printer) + " / " + c.file);
    pageView.reset();
    OpenWithPrinterVersion(c.printer);
    PutFirmware(FILE_PATH, c.file);
    Browse(FILE_PATH);
    EXPECT_EQ(page->Verdict(), c.verdict);
    EXPECT_EQ(Enabled(IDC_UPDATE), c.update);
  }
}

TEST_F(FirmwarePageTest, RejectedFileLeavesThePreviousSelection) {
  OpenWithPrinterVersion("SN010100");
  Browse(FILE_PATH);
  ASSERT_EQ(page->Verdict(), VERDICT_SAME);

  std::string tooShort(1000, '\0');
  std::vector<uint8_t> bad = MakeFirmwareFile("SX010100", 10);
  std::vector<uint8_t> damaged = MakeFirmwareFile("SN010200", 10);
  damaged.back() ^= 1;
  files->Put("E:\\short.UPG", tooShort);
  files->Put("E:\\tag.UPG", std::string(bad.begin(), bad.end()));
  files->Put("E:\\damaged.UPG", std::string(damaged.begin(), damaged.end()));
  PutFirmware("E:\\locked.UPG", "SN010200");
  files->unreadable.insert("E:\\locked.UPG");
  struct Case {
    const char* path;
    const char* text;
  } cases[] = {{"E:\\short.UPG", "T314"},
               {"E:\\tag.UPG", "T307"},
               {"E:\\damaged.UPG", "T308"},
               {"E:\\locked.UPG", "T308"},
               {"E:\\missing.UPG", "T308"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    host->messages.clear();
    Browse(c.path);
    EXPECT_EQ(Messages(), (std::vector<Message>{{c.text, ui::Icon::Error}}));
    EXPECT_EQ(page->SelectedFile(), FILE_PATH);
    EXPECT_EQ(Text(IDC_FILE_NAME), "FW.UPG");
    EXPECT_EQ(Text(IDC_FILE_VERSION), "SN010100");
    EXPECT_EQ(page->Verdict(), VERDICT_SAME);
    EXPECT_TRUE(Enabled(IDC_UPDATE));
    EXPECT_EQ(Remembered(), "D:\\Updates");
  }
}

TEST_F(FirmwarePageTest, RefreshEmptiesTheSelection) {
  OpenWithPrinterVersion("SN010001");
  Browse(FILE_PATH);
  ReplyVersion("SN010001");
  EXPECT_NE(Refresh(), 0);
  EXPECT_EQ(page->SelectedFile(), "");
  EXPECT_EQ(Text(IDC_FILE_NAME), "");
  EXPECT_EQ(Text(IDC_FILE_VERSION), "");
  EXPECT_EQ(page->Verdict(), VERDICT_NONE);
  EXPECT_FALSE(Enabled(IDC_UPDATE));
  EXPECT_TRUE(Enabled(IDC_BROWSE));
}

TEST_F(FirmwarePageTest, VerdictIsPaintedRightAlignedInTheHiddenControlsRectangle) {
  struct Case {
    const char* printer;
    const char* text;
    ui::Color color;
  } cases[] = {{"SN010001", "T7", ui::SYS_WINDOW_TEXT},
               {"SN010200", "T8", ui::RED},
               {"SN010100", "T9", ui::SYS_WINDOW_TEXT}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    pageView.reset();
    OpenWithPrinterVersion(c.printer);
    Browse(FILE_PATH);
    RecordingCanvas canvas;
    page->OnPaint(canvas);
    ASSERT_EQ(canvas.fills.size(), 1u);
    EXPECT_EQ(canvas.fills[0].first, (ui::Rect{0, 0, 600, 278}));
    EXPECT_EQ(canvas.fills[0].second, ui::WHITE);
    ASSERT_EQ(canvas.texts.size(), 1u);
    EXPECT_EQ(canvas.texts[0].text, c.text);
    EXPECT_EQ(canvas.texts[0].rect, (ui::Rect{60, 183, 170, 200}));
    EXPECT_EQ(canvas.texts[0].color, c.color);
    EXPECT_TRUE(canvas.texts[0].rightAligned);
  }
  pageView.reset();
  Open();
  RecordingCanvas canvas;
  page->OnPaint(canvas);
  EXPECT_EQ(canvas.fills.size(), 1u);
  EXPECT_TRUE(canvas.texts.empty());  // no verdict, no text
}

TEST_F(FirmwarePageTest, RefusedPrinterOnlyDisablesNoPrinterAlsoClears) {
  OpenWithPrinterVersion("SN010001");
  Browse(FILE_PATH);
  ASSERT_TRUE(Enabled(IDC_UPDATE));
  page->SetActionsEnabled(false);  // a printer refused by the status monitor check
  EXPECT_FALSE(Enabled(IDC_BROWSE));
  EXPECT_FALSE(Enabled(IDC_UPDATE));
  EXPECT_NE(Text(IDC_PRINTER_VERSION), "");
  page->ForgetPrinter();  // the no-printer entry
  EXPECT_EQ(Text(IDC_PRINTER_VERSION), "");
  EXPECT_EQ(Text(IDC_FILE_NAME), "");
  EXPECT_EQ(Text(IDC_FILE_VERSION), "");
  EXPECT_EQ(page->Verdict(), VERDICT_NONE);
  page->SetActionsEnabled(true);  // enabling waits for the refresh
  EXPECT_FALSE(Enabled(IDC_BROWSE));
  EXPECT_FALSE(Enabled(IDC_UPDATE));
}

TEST_F(FirmwarePageTest, TabAtThePagesEndsIsLeftToTheHost) {
  // The Win32 host moves the focus out of a page at its edge tab stops; the page must not
  // swallow the key before the host sees it.
  OpenWithPrinterVersion("SN010001");
  auto& mainView = *static_cast<fakes::FakeView*>(main.get());
  for (int edge : {0, 1, 2}) {
    SCOPED_TRACE(edge);
    V().focusAtEdge = edge;
    EXPECT_FALSE(page->OnKeyDown(ui::KEY_TAB, edge == 1));
    EXPECT_FALSE(mainView.focused);
  }
}

TEST_F(FirmwarePageTest, ManualAndCloseGoToTheMainWindow) {
  Open();
  V().Click(IDC_HELP_BUTTON);
  EXPECT_EQ(pageHost.manuals, (std::vector<std::pair<int, int>>{{0, 0}}));
  V().Click(IDC_CLOSE_BUTTON);
  EXPECT_TRUE(static_cast<fakes::FakeView*>(main.get())->closePosted);
}

TEST_F(FirmwarePageTest, UpdateShowsTheNewVersionAndKeepsTheSelection) {
  OpenWithPrinterVersion("SN010001");
  Browse(FILE_PATH);
  ReplyVersion("SN010100");
  V().Click(IDC_UPDATE);
  EXPECT_EQ(Messages(), (std::vector<Message>{{"T309", ui::Icon::Information}}));
  ASSERT_EQ(spooler->jobs.size(), 1u);
  EXPECT_EQ(spooler->jobs[0].bytes.size(), 16384 + 10 + files->files[FILE_PATH].size());
  EXPECT_EQ(Text(IDC_PRINTER_VERSION), "SN010100");
  EXPECT_EQ(page->Verdict(), VERDICT_SAME);
  EXPECT_TRUE(Enabled(IDC_UPDATE));
  EXPECT_EQ(page->SelectedFile(), FILE_PATH);
}

TEST_F(FirmwarePageTest, UpdateWithoutAnAnswerShowsTextFiveAndDisablesUpdate) {
  OpenWithPrinterVersion("SN010000");  // no lead-in for this printer
  Browse(FILE_PATH);
  V().Click(IDC_UPDATE);  // the printer comes back but stays silent
  EXPECT_EQ(Messages(), (std::vector<Message>{{"T311", ui::Icon::Warning}}));
  ASSERT_EQ(spooler->jobs.size(), 1u);
  EXPECT_EQ(spooler->jobs[0].bytes[0], 0x1B);
  EXPECT_EQ(Text(IDC_PRINTER_VERSION), "T5");
  EXPECT_EQ(page->Verdict(), VERDICT_NONE);
  EXPECT_FALSE(Enabled(IDC_UPDATE));
}

TEST_F(FirmwarePageTest, PrinterThatDoesNotComeBackSelectsTheFirmwarePageAgain) {
  OpenWithPrinterVersion("SN010001");
  Browse(FILE_PATH);
  neverBack = true;
  V().Click(IDC_UPDATE);
  EXPECT_EQ(Messages(),
            (std::vector<Message>{{"T310", ui::Icon::Warning}, {"T312", ui::Icon::Warning}}));
  EXPECT_EQ(pageHost.selected, std::vector<int>{7});
  EXPECT_EQ(Text(IDC_PRINTER_VERSION), "SN010001");  // unchanged
  EXPECT_EQ(page->SelectedFile(), FILE_PATH);
}

}  // namespace
}  // namespace firmware_tests
