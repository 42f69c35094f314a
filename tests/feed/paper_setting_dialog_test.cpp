// The paper setting dialog: sizes, marks and preselection by media kind and paper feed, the auto
// cut choice, what OK and Cancel store, the 318 failures, and its driver questions against the
// simulated driver (every handle closed again).
#include "feed/paper_setting_dialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "programs/seats/trevalo_seats.h"
#include "programs/trevalo/trevalo_tables.h"
#include "shell/main_window.h"
#include "tests/support/program_world.h"
#include "tests/support/test_app.h"

namespace {

using feed::PaperSize;
using feed::RollCut;
using Texts = std::vector<std::string>;

// Driver media ids 5, 11, 7, 9 with media codes of kinds 0, 1, 2 and 9.
constexpr char MEDIA_TABLE[] =
    "MEDIAP1_NUM=4\r\n"
    "MEDIAP1_001=5,12,0,0,1,-1,-1,-1,-1,-1\r\n"
    "MEDIAP1_002=11,21,0,1,1,-1,-1,-1,-1,-1\r\n"
    "MEDIAP1_003=7,30,2,2,1,-1,-1,-1,-1,-1\r\n"
    "MEDIAP1_004=9,40,0,9,1,-1,-1,-1,-1,-1\r\n";
constexpr int KIND_0 = 12;
constexpr int KIND_1 = 21;
constexpr int KIND_2 = 30;
constexpr int KIND_9 = 40;
constexpr int NOT_IN_TABLE = 77;

const std::vector<PaperSize> DRIVER_SIZES = {
    {9, "A4"},        {8, "A3"},        {258, "A1"},      {256, "User"},
    {257, "Roll 24"}, {261, "Roll 36"}, {622, "Roll 44"},
};
const std::vector<PaperSize> SIZES_WITHOUT_A4 = {{8, "A3"}, {258, "A1"}, {257, "Roll 24"}};

constexpr int ABSENT = -5;  // a registry value never written reads as its fallback

class ScriptedPaperSizes : public feed::PaperSizeSource {
 public:
  RollCut CanCutOnRoll(int driverMediaId) override {
    askedIds.push_back(driverMediaId);
    return cut;
  }
  bool PaperSizes(std::vector<PaperSize>* out) override {
    ++sizeReads;
    if (sizesFail) return false;
    *out = sizes;
    return true;
  }
  RollCut cut = RollCut::Cuttable;
  bool sizesFail = false;
  std::vector<PaperSize> sizes = DRIVER_SIZES;
  std::vector<int> askedIds;
  int sizeReads = 0;
};

class NullPageHost : public shell::PageHost {
 public:
  void SelectPage(int) override {}
  void OpenManual(int, int) override {}
  ui::View* Window() override { return nullptr; }
};

class NoSamples : public feed::SamplePrinter {
 public:
  void Run(const feed::SampleRunRequest&, ui::View*) override {}
};

// What the operator saw when the dialog opened.
struct Seen {
  Texts items;
  std::vector<bool> marks;
  int selection = -1;
  bool cutChecked = false;
  bool noCutChecked = false;
  bool radiosEnabled = false;
};

class PaperSettingDialogTest : public ::testing::Test {
 protected:
  PaperSettingDialogTest() { Reset(); }

  // A fresh program with an empty registry.
  void Reset() {
    dialog.reset();
    seat.reset();
    media.reset();
    app.reset();
    platform = fakes::TestPlatform{};
    driver = ScriptedPaperSizes();
    app = std::make_unique<shell::ToolApp>(programs::TrevaloProfile(),
                                           fakes::MakeFakePlatform(&platform));
    fakes::InstallTestSettings(*platform.files,
                               {0, 318, 70000, 70001, 70100, 70101, 70400, 70600, 70601});
    platform.files->Put(fakes::SettingsPath("MediaP1.ini"), MEDIA_TABLE);
    media = std::make_unique<feed::MediaTable>(app->Settings(), "MediaP1.ini");
    fakes::DeclareProgramTemplates(*platform.host, "Trevalo");
    app->SetPrinter(fakes::TEST_QUEUE, fakes::TEST_DRIVER, "USB001");
    seat = std::make_unique<programs::AppDetailSeat>(*app, pageHost, samples);
  }

  // Opens the dialog for the media and paper feed; operator acts on the open window (OK when
  // empty).
  int Run(int mediaCode, int paperFeed, std::function<void(fakes::FakeView&)> operatorActs = {}) {
    selection.mediaCode = mediaCode;
    selection.mediaRecord = media->Record(mediaCode);
    selection.paperFeed = paperFeed;
    dialog = std::make_unique<feed::PaperSettingDialog>(*seat, driver, selection);
    seen = Seen{};
    platform.host->modalScripts[IDD_PAPER_SETTING] = [&, operatorActs](fakes::FakeView& view) {
      const fakes::FakeControl& list = view.controls[IDC_PAPER_SIZE_LIST];
      for (const auto& item : list.items) {
        seen.items.push_back(item.first);
        seen.marks.push_back(shell::MarkedCombo::IsMarkedData(item.second));
      }
      seen.selection = list.selection;
      seen.cutChecked = view.controls[IDC_AUTO_CUT_ON].checked;
      seen.noCutChecked = view.controls[IDC_AUTO_CUT_OFF].checked;
      seen.radiosEnabled = view.controls[IDC_AUTO_CUT_ON].enabled;
      EXPECT_EQ(view.controls[IDC_AUTO_CUT_OFF].enabled, seen.radiosEnabled);
      EXPECT_EQ(view.controls[IDC_AUTO_CUT_LABEL].enabled, seen.radiosEnabled);
      if (operatorActs) {
        operatorActs(view);
      } else {
        view.Click(ui::ID_OK);
      }
    };
    return platform.host->RunModal(IDD_PAPER_SETTING, nullptr, *dialog);
  }
  void Store(int autoCut, int paperSize) {
    if (autoCut != ABSENT) seat->Options().Set(feed::AUTO_CUT_OPTION, autoCut);
    if (paperSize != ABSENT) seat->Options().Set(feed::PAPER_SIZE_OPTION, paperSize);
  }
  int Stored(const char* name) { return seat->Options().Get(shell::NumberOption{name, ABSENT}); }
  Texts Shown() const {
    Texts texts;
    for (const auto& m : platform.host->messages) texts.push_back(m.text);
    return texts;
  }

  fakes::TestPlatform platform{};
  std::unique_ptr<shell::ToolApp> app;
  std::unique_ptr<feed::MediaTable> media;
  NullPageHost pageHost;
  NoSamples samples;
  std::unique_ptr<programs::AppDetailSeat> seat;
  ScriptedPaperSizes driver;
  feed::AdjustmentSelection selection;
  std::unique_ptr<feed::PaperSettingDialog> dialog;
  Seen seen;
};

TEST_F(PaperSettingDialogTest, SizesMarksAndAutoCutByMediaKindAndPaperFeed) {
  constexpr int ROLL = feed::PAPER_FEED_ROLL;
  constexpr int SHEET = feed::PAPER_FEED_SHEET;
  constexpr int ON = IDC_AUTO_CUT_ON;
  constexpr int OFF = IDC_AUTO_CUT_OFF;
  constexpr RollCut CUTS = RollCut::Cuttable;
  constexpr RollCut NO_CUT = RollCut::NotCuttable;
  constexpr RollCut UNASKED = RollCut::Failed;  // sheets never ask
  struct Case {
    const char* name;
    int media, paperFeed;
    RollCut cut;
    const std::vector<PaperSize>* sizes;
    int storedCut, storedSize;
    const char* marks;  // one per listed size: 'x' marked, '.' not
    int selection;
    int checked;  // the radio checked, and what OK stores
    bool radiosEnabled;
    int sizeAfter;  // stored after OK
  } cases[] = {
      {"kind 0 on a roll that cuts", KIND_0, ROLL, CUTS, &DRIVER_SIZES, ABSENT, ABSENT, ".x.xxx", 0,
       ON, true, 9},
      {"kind 1 on a roll the cutter leaves alone", KIND_1, ROLL, NO_CUT, &DRIVER_SIZES, ON, 9,
       "xxx...", 3, OFF, false, 257},
      {"kind 2 on sheets keeps both stored values", KIND_2, SHEET, UNASKED, &DRIVER_SIZES, OFF, 258,
       "......", 2, OFF, false, 258},
      {"kind 9 with a stored size the driver lacks", KIND_9, ROLL, CUTS, &DRIVER_SIZES, ABSENT, 999,
       "......", 0, ON, true, 9},
      {"stored nonsense for auto cut reads as cut", KIND_2, SHEET, UNASKED, &DRIVER_SIZES, 5, 622,
       "......", 5, ON, false, 622},
      // Not the first size, which is marked, but the first this media may take.
      {"kind 0 on a driver without A4", KIND_0, SHEET, UNASKED, &SIZES_WITHOUT_A4, ON, 622, "x.x",
       1, ON, false, 258},
      {"media not in the table", NOT_IN_TABLE, SHEET, UNASKED, &DRIVER_SIZES, ABSENT, 261, "", -1,
       ON, false, 261},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Reset();
    Store(c.storedCut, c.storedSize);
    driver.cut = c.cut;
    driver.sizes = *c.sizes;
    EXPECT_EQ(Run(c.media, c.paperFeed), ui::RESULT_OK);
    Texts listed;
    std::string marks;
    for (const PaperSize& size : *c.sizes) {
      if (size.code != feed::PAPER_CODE_USER_DEFINED && *c.marks) listed.push_back(size.name);
    }
    for (bool marked : seen.marks) marks += marked ? 'x' : '.';
    EXPECT_EQ(seen.items, listed);
    EXPECT_EQ(marks, c.marks);
    EXPECT_EQ(seen.selection, c.selection);
    EXPECT_EQ(seen.cutChecked, c.checked == ON);
    EXPECT_EQ(seen.noCutChecked, c.checked == OFF);
    EXPECT_EQ(seen.radiosEnabled, c.radiosEnabled);
    EXPECT_EQ(Stored(feed::AUTO_CUT_VALUE), c.checked);
    EXPECT_EQ(Stored(feed::PAPER_SIZE_VALUE), c.sizeAfter);
    // Only the roll asks about the cutter, with the media's driver id.
    std::vector<int> asked;
    if (c.paperFeed == ROLL) asked.push_back(media->DriverMediaId(c.media));
    EXPECT_EQ(driver.askedIds, asked);
    EXPECT_TRUE(Shown().empty());
  }
}

TEST_F(PaperSettingDialogTest, MarkedChoicesGiveWayAndOkStoresTheLastAcceptedOne) {
  // Kind 1: A4, A3 and A1 are marked; Roll 24 (index 3) is preselected.
  EXPECT_EQ(Run(KIND_1, feed::PAPER_FEED_ROLL,
                [](fakes::FakeView& view) {
                  EXPECT_EQ(view.title, "T70400");
                  EXPECT_EQ(view.controls[IDC_AUTO_CUT_OFF].text, "T70601");
                  view.handler.OnCommand(IDC_PAPER_SIZE_LIST, ui::COMBO_DROPPED_DOWN);
                  view.ChooseComboEntry(IDC_PAPER_SIZE_LIST, 0, ui::COMBO_CHOICE_CONFIRMED);
                  EXPECT_EQ(view.controls[IDC_PAPER_SIZE_LIST].selection, 3);
                  view.ChooseComboEntry(IDC_PAPER_SIZE_LIST, 5, ui::COMBO_CHOICE_CONFIRMED);
                  view.handler.OnCommand(IDC_PAPER_SIZE_LIST, ui::COMBO_SELECTION_CHANGED);
                  // Chosen with the list closed (the arrow keys confirm at once): back to the
                  // last accepted size, not the one before the last drop-down.
                  view.ChooseComboEntry(IDC_PAPER_SIZE_LIST, 1, ui::COMBO_CHOICE_CONFIRMED);
                  view.handler.OnCommand(IDC_PAPER_SIZE_LIST, ui::COMBO_SELECTION_CHANGED);
                  EXPECT_EQ(view.controls[IDC_PAPER_SIZE_LIST].selection, 5);
                  view.Click(IDC_AUTO_CUT_OFF);
                  EXPECT_TRUE(view.controls[IDC_AUTO_CUT_OFF].checked);
                  EXPECT_FALSE(view.controls[IDC_AUTO_CUT_ON].checked);
                  view.Click(ui::ID_OK);
                }),
            ui::RESULT_OK);
  EXPECT_EQ(Stored(feed::AUTO_CUT_VALUE), IDC_AUTO_CUT_OFF);
  EXPECT_EQ(Stored(feed::PAPER_SIZE_VALUE), 622);
}

TEST_F(PaperSettingDialogTest, ArrowKeysInTheOpenListPassMarkedSizes) {
  // Kind 0, A4 preselected; the keys go down over the marked A3 to A1.
  EXPECT_EQ(Run(KIND_0, feed::PAPER_FEED_SHEET,
                [](fakes::FakeView& view) {
                  view.handler.OnCommand(IDC_PAPER_SIZE_LIST, ui::COMBO_DROPPED_DOWN);
                  for (int entry : {1, 2}) {
                    view.ChooseComboEntry(IDC_PAPER_SIZE_LIST, entry, ui::COMBO_SELECTION_CHANGED);
                    EXPECT_EQ(view.controls[IDC_PAPER_SIZE_LIST].selection, entry);
                  }
                  view.handler.OnCommand(IDC_PAPER_SIZE_LIST, ui::COMBO_CHOICE_CONFIRMED);
                  view.Click(ui::ID_OK);
                }),
            ui::RESULT_OK);
  EXPECT_EQ(Stored(feed::PAPER_SIZE_VALUE), 258);
}

TEST_F(PaperSettingDialogTest, OkIsRefusedWhenTheMediaMayTakeNoListedSize) {
  driver.sizes = {{8, "A3"}, {257, "Roll 24"}};
  Store(IDC_AUTO_CUT_OFF, 622);
  EXPECT_EQ(Run(KIND_0, feed::PAPER_FEED_SHEET,
                [&](fakes::FakeView& view) {
                  view.Click(ui::ID_OK);
                  EXPECT_FALSE(view.ended);
                  view.Click(ui::ID_CANCEL);
                }),
            ui::RESULT_CANCEL);
  EXPECT_EQ(seen.selection, -1);
  ASSERT_EQ(Shown(), Texts{"T318"});
  EXPECT_EQ(platform.host->messages[0].icon, ui::Icon::Error);
  EXPECT_EQ(Stored(feed::AUTO_CUT_VALUE), IDC_AUTO_CUT_OFF);
  EXPECT_EQ(Stored(feed::PAPER_SIZE_VALUE), 622);
}

TEST_F(PaperSettingDialogTest, CancelAndCloseStoreNothing) {
  for (int button : {ui::ID_CANCEL, 0}) {
    SCOPED_TRACE(button);
    EXPECT_EQ(Run(KIND_1, feed::PAPER_FEED_ROLL,
                  [button](fakes::FakeView& view) {
                    view.ChooseComboEntry(IDC_PAPER_SIZE_LIST, 5, ui::COMBO_CHOICE_CONFIRMED);
                    view.Click(IDC_AUTO_CUT_OFF);
                    if (button == 0) {
                      view.handler.OnClose();
                    } else {
                      view.Click(button);
                    }
                  }),
              ui::RESULT_CANCEL);
    EXPECT_EQ(Stored(feed::AUTO_CUT_VALUE), ABSENT);
    EXPECT_EQ(Stored(feed::PAPER_SIZE_VALUE), ABSENT);
  }
}

TEST_F(PaperSettingDialogTest, DriverFailuresSay318AndCancel) {
  struct Case {
    const char* name;
    int media;
    int paperFeed;
    RollCut cut;
    bool sizesFail;
    int sizeReads;
  } cases[] = {
      {"cutter question fails", KIND_0, feed::PAPER_FEED_ROLL, RollCut::Failed, false, 0},
      {"sizes unreadable on a roll", KIND_0, feed::PAPER_FEED_ROLL, RollCut::Cuttable, true, 1},
      {"sizes unreadable on sheets", KIND_0, feed::PAPER_FEED_SHEET, RollCut::Cuttable, true, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    platform.host->messages.clear();
    driver = ScriptedPaperSizes();
    driver.cut = c.cut;
    driver.sizesFail = c.sizesFail;
    bool opened = false;
    EXPECT_EQ(Run(c.media, c.paperFeed, [&](fakes::FakeView&) { opened = true; }),
              ui::RESULT_CANCEL);
    EXPECT_FALSE(opened);  // ended before the operator could act
    EXPECT_EQ(Shown(), Texts{"T318"});
    EXPECT_EQ(platform.host->messages[0].icon, ui::Icon::Error);
    EXPECT_EQ(driver.sizeReads, c.sizeReads);
    EXPECT_EQ(Stored(feed::AUTO_CUT_VALUE), ABSENT);
    EXPECT_EQ(Stored(feed::PAPER_SIZE_VALUE), ABSENT);
  }
}

// The driver questions against the simulated driver, loaded in-process beside the test driver.
class DriverPaperSizesTest : public ::testing::Test {
 protected:
  DriverPaperSizesTest() {
    spooler.AddQueue(fakes::TEST_QUEUE, "USB001", fakes::TEST_DRIVER);
    spooler.driverInfo[fakes::TEST_QUEUE] = {"C:\\Drivers\\KD9000.DLL", "C:\\Drivers\\KD9000.INI"};
    EXPECT_EQ(api.Bind(fakes::TEST_QUEUE), 1);
  }
  sim::DriverState& Driver() { return printer.State().driver; }
  int LogCount(const std::string& start) {
    int n = 0;
    for (const std::string& line : printer.State().log)
      n += line.compare(0, start.size(), start) == 0;
    return n;
  }

  fakes::FakeClock clock;
  sim::SimulatedPrinter printer{clock};
  sim::SimulatedLibrary library{printer, {}, {fakes::TEST_DRIVER_SETTINGS_LIBRARY}};
  fakes::RecordingSpooler spooler;
  printer_link::DriverSettingsApi api{library, spooler};
  feed::DriverPaperSizeSource source{&api, fakes::TEST_QUEUE};
};

TEST_F(DriverPaperSizesTest, CutterQuestionSetsRollAndTheMediaKind2Mode) {
  ASSERT_FALSE(Driver().uncuttable.empty());
  uint16_t uncuttable = *Driver().uncuttable.begin();
  EXPECT_EQ(source.CanCutOnRoll(1), RollCut::Cuttable);
  EXPECT_EQ(source.CanCutOnRoll(uncuttable), RollCut::NotCuttable);
  EXPECT_EQ(LogCount("driver: set 40 256"), 2);
  EXPECT_EQ(LogCount("driver: set 70 0100010001000200"), 1);  // words 1, 1, id, 2
  // An id the table does not know never reaches the driver.
  int opens = LogCount("driver: open");
  EXPECT_EQ(source.CanCutOnRoll(feed::MEDIA_NOT_FOUND), RollCut::Failed);
  EXPECT_EQ(LogCount("driver: open"), opens);
}

TEST_F(DriverPaperSizesTest, EveryHandleIsClosedWhateverFails) {
  struct Case {
    const char* name;
    bool openFails;
    std::set<int> refused;
    RollCut cut;
    bool sizesRead;
  } cases[] = {
      {"nothing fails", false, {}, RollCut::Cuttable, true},
      {"no handle", true, {}, RollCut::Failed, false},
      {"roll handling refused", false, {40}, RollCut::Failed, true},
      {"media mode refused", false, {70}, RollCut::Failed, true},
      {"cutter range refused", false, {205}, RollCut::Failed, true},
      {"media types refused", false, {60}, RollCut::Cuttable, true},
      {"paper sizes refused", false, {30}, RollCut::Cuttable, false},
      {"names refused", false, {213}, RollCut::Cuttable, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Driver().openFails = c.openFails;
    Driver().refusedItems = c.refused;
    printer.State().log.clear();
    EXPECT_EQ(source.CanCutOnRoll(1), c.cut);
    std::vector<PaperSize> sizes = {{1, "before"}};
    EXPECT_EQ(source.PaperSizes(&sizes), c.sizesRead);
    if (!c.sizesRead) {
      EXPECT_EQ(sizes.size(), 1u);
    } else {
      // The driver's order, its names (none when it refuses them, never the one before).
      ASSERT_EQ(sizes.size(), Driver().papers.size());
      EXPECT_EQ(sizes[2].code, Driver().papers[2].code);
      EXPECT_EQ(sizes[2].name, c.refused.count(213) ? "" : Driver().papers[2].name);
    }
    EXPECT_TRUE(Driver().handles.empty());
    EXPECT_EQ(LogCount("driver: open ") - LogCount("driver: open refused"),
              LogCount("driver: close "));
  }
}

// In the running program: the adjustment page's printer, its bound library and the simulated
// driver behind it, the template's own controls.
TEST(PaperSettingInTrevalo, StoresUnderTheToolKeyThroughTheBoundDriver) {
  fakes::ProgramWorld world(programs::TrevaloProfile());
  world.app->SetProgramObjects(std::make_unique<programs::TrevaloObjects>());
  world.Remember(fakes::TEST_QUEUE);
  int result = 0;
  int first = 0;  // the dialog's first handle
  Texts items;
  world.Run(programs::TrevaloPages(), [&](fakes::FakeView& main) {
    shell::ToolApp& app = *world.app;
    app.SetPrinter(fakes::TEST_QUEUE, fakes::TEST_DRIVER, "USB001");
    static_cast<shell::MainWindow&>(main.handler).SelectPage(1);
    auto* objects = dynamic_cast<programs::TrevaloObjects*>(app.Objects());
    ASSERT_NE(objects, nullptr);
    NullPageHost host;
    NoSamples samples;
    programs::AppDetailSeat seat(app, host, samples);
    feed::AdjustmentSelection selection;
    selection.mediaCode = 12;  // the test table's one row: driver media 5, kind 0
    selection.mediaRecord = objects->Media()->Record(12);
    selection.paperFeed = feed::PAPER_FEED_ROLL;
    world.fake.host->modalScripts[IDD_PAPER_SETTING] = [&](fakes::FakeView& view) {
      for (const auto& item : view.controls[IDC_PAPER_SIZE_LIST].items) items.push_back(item.first);
      view.Click(ui::ID_OK);
    };
    world.printer.State().driver.calls.clear();
    first = world.printer.State().driver.nextHandle;
    result = feed::RunPaperSetting(app.Host(), seat, objects->DriverSettings(), app.PrinterName(),
                                   selection, &main);
    EXPECT_EQ(seat.Options().Get(shell::NumberOption{feed::PAPER_SIZE_VALUE, -1}), 9);
    EXPECT_EQ(seat.Options().Get(shell::NumberOption{feed::AUTO_CUT_VALUE, -1}), IDC_AUTO_CUT_ON);
  });
  EXPECT_EQ(result, ui::RESULT_OK);
  const sim::DriverState& driver = world.printer.State().driver;
  EXPECT_EQ(items.size(), driver.papers.size() - 1);  // no user size
  EXPECT_TRUE(driver.handles.empty());
  // The roll's cutter on one handle, then the media types before the paper sizes, their count
  // and codes, and each size's name by its code, on a second.
  std::string cut = std::to_string(first), sizes = std::to_string(first + 1);
  Texts calls = {"open " + cut,
                 "set " + cut + " 40",
                 "set " + cut + " 70",
                 "range " + cut + " 205",
                 "close " + cut,
                 "open " + sizes,
                 "range " + sizes + " 60",
                 "range " + sizes + " 30",
                 "range " + sizes + " 30"};
  for (const sim::DriverPaper& paper : driver.papers) {
    calls.push_back("get " + sizes + " 213 kind 1 id " + std::to_string(paper.code));
  }
  calls.push_back("close " + sizes);
  EXPECT_EQ(driver.calls, calls);
  EXPECT_TRUE(world.fake.host->missingControls.empty());
}

}  // namespace
