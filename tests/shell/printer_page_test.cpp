// Trevalo's printer choice page: its list and guide items, the choice a guide item runs, the
// launch mode U preview and the start-up objects around it.
#include "shell/printer_page.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "programs/trevalo/resource.h"
#include "programs/trevalo/trevalo_tables.h"
#include "shell/printer_choice.h"
#include "sim/printer_state.h"
#include "tests/support/program_world.h"

namespace {

using fakes::FakeGuideList;
using fakes::FakeView;
using ui::Icon;

constexpr char ACCEPTED_QUEUE[] = "Printer B";
constexpr char ACCEPTED_PORT[] = "KD1394D3_1";
constexpr char DRIVER_SETTINGS_PATH[] = "C:\\Drivers\\KDSET32.DLL";

// Trevalo on a version 6.1 system: the test queue on a USB port is refused there, the second
// queue on a KD1394D3 port is listed. driver: that queue's model.
struct TrevaloWorld {
  explicit TrevaloWorld(const std::string& driver = fakes::TEST_DRIVER)
      : world(programs::TrevaloProfile()) {
    world.fake.system->version = {6, 1};
    world.spooler->AddQueue(ACCEPTED_QUEUE, ACCEPTED_PORT, driver);
    world.spooler->driverInfo[ACCEPTED_QUEUE] = {"C:\\Drivers\\KD9000.DLL",
                                                 "C:\\Drivers\\KD9000.INI"};
    world.app->SetProgramObjects(std::make_unique<programs::TrevaloObjects>());
    std::string guideIni;
    for (int n = 0; n <= 3; ++n) {
      std::string file = "Settings\\Guide\\guide" + std::to_string(n) + ".txt";
      world.fake.files->Put(std::string(fakes::TEST_PROGRAM_DIR) + "\\" + file,
                            "guide " + std::to_string(n));
      guideIni += "GUIDE_0" + std::to_string(n) + "00=" + file + "\r\n";
    }
    world.fake.files->Put(fakes::SettingsPath("Guide.ini"), guideIni);
  }

  void Run(std::function<void(FakeView& main, FakeView& page, FakeGuideList& guide)> script) {
    world.Run(programs::TrevaloPages(), [&](FakeView& main) {
      FakeView* page = world.Window(IDD_PRINTER_PAGE);
      ASSERT_NE(page, nullptr);
      ASSERT_EQ(world.fake.host->guideLists.size(), 1u);
      ran = true;
      script(main, *page, *world.fake.host->guideLists[0]);
    });
  }
  std::string Remembered() {
    auto* value = world.fake.registry->Find(
        platform::HIVE_CURRENT_USER, "SoftWare\\KALDO\\KALDO Maroset\\Model 9000", "SelectPrinter");
    return value ? std::string(value->data.begin(), value->data.end()).c_str() : "";
  }

  fakes::ProgramWorld world;
  bool ran = false;
};

shell::MainWindow& Frame(FakeView& main) {
  return static_cast<shell::MainWindow&>(main.handler);
}
std::vector<std::string> Entries(FakeView& page) {
  std::vector<std::string> entries;
  for (auto& item : page.controls[IDC_PRINTER_LIST].items) entries.push_back(item.first);
  return entries;
}
std::vector<bool> Enabled(const FakeGuideList& guide) {
  std::vector<bool> enabled;
  for (const auto& item : guide.items) enabled.push_back(item.enabled);
  return enabled;
}

class PrinterPageTest : public ::testing::Test {
 protected:
  void Run(std::function<void(FakeView& main, FakeView& page, FakeGuideList& guide)> script) {
    t.Run(std::move(script));
  }
  TrevaloWorld t;
  fakes::ProgramWorld& world = t.world;
};

TEST_F(PrinterPageTest, RefreshAddsTheNoPrinterEntryOnceAndGuideItemsFollowTheSelection) {
  Run([&](FakeView& main, FakeView& page, FakeGuideList& guide) {
    EXPECT_EQ(Entries(page), (std::vector<std::string>{ACCEPTED_QUEUE, "T200"}));
    EXPECT_EQ(page.controls[IDC_PRINTER_LIST].selection, 1);  // nothing remembered
    EXPECT_EQ(Enabled(guide), (std::vector<bool>{false, false, false}));
    EXPECT_EQ(guide.items[0].bitmapId, IDB_GUIDE_ADJUSTMENT);
    EXPECT_EQ(guide.items[2].bitmapId, IDB_GUIDE_NOZZLE_CHECK);
    EXPECT_EQ(guide.items[1].title, "T5");
    EXPECT_EQ(guide.items[1].description, "T6");
    EXPECT_EQ(guide.guideText, "guide 0");
    EXPECT_EQ(page.clientWidth, shell::PRINTER_PAGE_WIDTH);
    EXPECT_EQ(page.clientHeight, shell::PRINTER_PAGE_HEIGHT);

    page.ChooseComboEntry(IDC_PRINTER_LIST, 0, 1);
    EXPECT_EQ(Enabled(guide), (std::vector<bool>{true, true, true}));
    // Page 0 shown again: no second no-printer entry.
    Frame(main).SelectPage(0);
    EXPECT_EQ(Entries(page).size(), 2u);
    page.ChooseComboEntry(IDC_PRINTER_LIST, 1, 1);
    EXPECT_EQ(Enabled(guide), (std::vector<bool>{false, false, false}));
    guide.Click(0);  // disabled: nothing happens
    EXPECT_EQ(Frame(main).CurrentPage(), 0);
  });
  EXPECT_TRUE(t.ran);
  EXPECT_TRUE(world.fake.host->messages.empty());
}

TEST_F(PrinterPageTest, RememberedPrinterStartsSelectedWithItsGuideItemsEnabled) {
  world.Remember(ACCEPTED_QUEUE);
  Run([&](FakeView&, FakeView& page, FakeGuideList& guide) {
    EXPECT_EQ(page.controls[IDC_PRINTER_LIST].selection, 0);
    EXPECT_EQ(Enabled(guide), (std::vector<bool>{true, true, true}));
  });
  EXPECT_TRUE(t.ran);
}

struct ChoiceCase {
  const char* name;
  const char* launch;
  const char* driver;  // the queue's model; 7000 is registered but unknown to the monitor
  bool wrongModel;     // the printer reports another model
  std::vector<std::string> messages;
  bool opens;
  bool noPrinterAfter;  // refused: the no-printer entry is selected and the functions disabled
};

TEST(TrevaloPrinterChoice, FailsAtEachOfItsChecksInOrder) {
  constexpr char UNMONITORED[] = "KALDO Model 7000";
  const ChoiceCase cases[] = {
      // The page opened by the choice says so (text 300).
      {"accepted", "", fakes::TEST_DRIVER, false, {"T300"}, true, false},
      {"driver unknown to the status monitor", "", UNMONITORED, false, {"T380"}, false, true},
      {"printer reports another model", "", fakes::TEST_DRIVER, true, {"T310"}, false, false},
      {"both: the monitor is asked first", "", UNMONITORED, true, {"T380"}, false, true},
      {"launch mode P relaxes both", "P", UNMONITORED, true, {"T300"}, true, false},
  };
  for (const ChoiceCase& c : cases) {
    SCOPED_TRACE(c.name);
    TrevaloWorld t(c.driver);
    if (*c.launch) t.world.SetLaunchMode(c.launch);
    if (c.wrongModel) t.world.printer.State().faults.insert(sim::FAULT_WRONG_MODEL);
    t.Run([&](FakeView& main, FakeView& page, FakeGuideList& guide) {
      // Launch mode P lists the USB queue too, first.
      int entry = *c.launch ? 1 : 0;
      ASSERT_EQ(page.controls[IDC_PRINTER_LIST].items[entry].first, ACCEPTED_QUEUE);
      page.ChooseComboEntry(IDC_PRINTER_LIST, entry, 1);
      guide.Click(1);
      EXPECT_EQ(Frame(main).CurrentPage(), c.opens ? 2 : 0);
      if (c.opens) {
        EXPECT_EQ(main.title, "T0 - Printer B");
      }
      int selection = page.controls[IDC_PRINTER_LIST].selection;
      EXPECT_EQ(page.controls[IDC_PRINTER_LIST].items[selection].first,
                c.noPrinterAfter ? "T200" : ACCEPTED_QUEUE);
      EXPECT_EQ(Enabled(guide), std::vector<bool>(3, !c.noPrinterAfter));
    });
    EXPECT_TRUE(t.ran);
    EXPECT_EQ(t.world.MessageTexts(), c.messages);
    std::vector<ui::Icon> icons = t.world.MessageIcons();
    for (size_t i = 0; i < icons.size(); ++i) {
      EXPECT_EQ(icons[i], c.opens ? Icon::Information : Icon::Error);
    }
    EXPECT_EQ(t.world.app->PrinterName(), ACCEPTED_QUEUE);
    EXPECT_EQ(t.Remembered(), c.opens && c.driver == fakes::TEST_DRIVER ? ACCEPTED_QUEUE : "");
    EXPECT_FALSE(t.world.app->OpenedByPrinterChoice());
  }
}

TEST_F(PrinterPageTest, LaunchModeUPreviewsItsMessagesInOrderAtEveryRefresh) {
  world.SetLaunchMode("U");
  Run([&](FakeView& main, FakeView&, FakeGuideList&) {
    world.fake.host->messages.clear();
    Frame(main).SelectPage(0);
  });
  ASSERT_TRUE(t.ran);
  EXPECT_EQ(world.MessageTexts(),
            (std::vector<std::string>{shell::MISSING_FILE_MESSAGE, "T330", "T380", "T310", "T312",
                                      "T314", "T302"}));
  EXPECT_EQ(world.MessageIcons(),
            (std::vector<Icon>{Icon::Error, Icon::Error, Icon::Error, Icon::Error, Icon::Warning,
                               Icon::Error, Icon::Information}));
  EXPECT_EQ(world.fake.host->messages.back().buttons, ui::Buttons::OkCancel);
  EXPECT_EQ(world.fake.host->messages.front().caption, "T0");
}

TEST(TrevaloNoPrinter, EndsTheWindowWithText330OnlyInLaunchModeNormal) {
  for (const char* launch : {"", "P"}) {
    SCOPED_TRACE(*launch ? launch : "Normal");
    TrevaloWorld t("Plain Printer");  // not a registered model: nothing is listed
    t.world.spooler->queues[0].driverName = "Plain Printer";
    if (*launch) t.world.SetLaunchMode(launch);
    t.Run([&](FakeView&, FakeView& page, FakeGuideList& guide) {
      EXPECT_EQ(Entries(page), std::vector<std::string>{"T200"});
      EXPECT_EQ(Enabled(guide), (std::vector<bool>{false, false, false}));
    });
    bool normal = *launch == '\0';
    EXPECT_EQ(t.ran, !normal);  // ended before the operator could act
    EXPECT_EQ(t.world.MessageTexts(),
              normal ? std::vector<std::string>{"T330"} : std::vector<std::string>{});
  }
}

TEST(TrevaloStartUp, AnObjectThatCannotBeCreatedGivesText314AndNoWindow) {
  for (bool guideList : {false, true}) {
    SCOPED_TRACE(guideList ? "page 0's guide list" : "the icon strip");
    TrevaloWorld t;
    if (guideList) {
      t.world.fake.host->guideListsFail = true;
    } else {
      t.world.fake.host->missingBitmaps.insert(IDB_ICON_STRIP);
    }
    t.Run([](FakeView&, FakeView&, FakeGuideList&) {});
    EXPECT_FALSE(t.ran);
    EXPECT_EQ(t.world.MessageTexts(), std::vector<std::string>{"T314"});
    EXPECT_EQ(t.world.MessageIcons(), std::vector<Icon>{Icon::Error});
  }
}

TEST_F(PrinterPageTest, DriverSettingsAreBoundBesideTheDriverForToolPagesOnly) {
  auto loadsOf = [&](const std::string& name) {
    int n = 0;
    for (const std::string& loaded : world.loads->loaded) n += loaded == name;
    return n;
  };
  Run([&](FakeView& main, FakeView& page, FakeGuideList& guide) {
    page.ChooseComboEntry(IDC_PRINTER_LIST, 0, 1);
    guide.Click(1);
    EXPECT_EQ(Frame(main).CurrentPage(), 2);
    EXPECT_EQ(loadsOf(DRIVER_SETTINGS_PATH), 1);
    Frame(main).SelectPage(0);
    EXPECT_EQ(loadsOf(DRIVER_SETTINGS_PATH), 1);
    Frame(main).SelectPage(3);
    EXPECT_EQ(loadsOf(DRIVER_SETTINGS_PATH), 2);
  });
  ASSERT_TRUE(t.ran);
  // The frame says nothing of the binding (the cleaning page only greets the new printer).
  for (const std::string& text : world.MessageTexts()) EXPECT_EQ(text, "T300");
  EXPECT_EQ(loadsOf("KDSET32.DLL"), 0);  // never by plain name while the driver is known
}

TEST_F(PrinterPageTest, TheChosenPrintersPortIsCheckedAgainAsTheQueuesStandNow) {
  Run([&](FakeView&, FakeView& page, FakeGuideList& guide) {
    page.ChooseComboEntry(IDC_PRINTER_LIST, 0, 1);
    guide.Click(2);
  });
  ASSERT_TRUE(t.ran);
  shell::ToolApp& app = *world.app;
  EXPECT_TRUE(shell::ChosenPrinterStillInstalled(app));
  world.spooler->queues[1].portName = "USB002";
  EXPECT_FALSE(shell::ChosenPrinterStillInstalled(app));
  world.spooler->queues[1].portName = "";
  EXPECT_FALSE(shell::ChosenPrinterStillInstalled(app));  // a printer without port name
  world.spooler->queues[1].portName = ACCEPTED_PORT;
  world.spooler->queues[1].driverName = "KALDO Model 7000";
  EXPECT_FALSE(shell::ChosenPrinterStillInstalled(app));  // no queue of that name and driver now
}

}  // namespace
