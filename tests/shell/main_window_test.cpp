// The main window of Kestrune and Sunnabar: printer list and choice, page switch, closing.
#include "shell/main_window.h"

#include <gtest/gtest.h>

#include "cleaning/maintenance_page.h"
#include "programs/kestrune/kestrune_tables.h"
#include "programs/kestrune/resource.h"
#include "programs/sunnabar/sunnabar_tables.h"
#include "programs/trevalo/trevalo_tables.h"
#include "tests/support/program_world.h"
#include "tests/support/recording_canvas.h"

namespace {

using fakes::FakeView;

// A page that records what the main window asks of it.
class StubPage : public shell::Page {
 public:
  int TemplateId() const override { return 134; }
  void SetActionsEnabled(bool enabled) override { enabledLog.push_back(enabled); }
  ui::View* Window() override { return view; }
  bool OnInit(ui::View& v) override {
    view = &v;
    v.SetClientSize(600, 278);
    return true;
  }
  bool OnRefresh() override {
    calls.push_back(REFRESH);
    return accept;
  }
  void OnLeave() override { calls.push_back(LEAVE); }
  void OnDestroy() override { view = nullptr; }

  static constexpr char REFRESH[] = "refresh";
  static constexpr char LEAVE[] = "leave";
  ui::View* view = nullptr;
  bool accept = true;
  std::vector<std::string> calls;
  std::vector<bool> enabledLog;
};

class MainWindowTest : public ::testing::Test {
 protected:
  explicit MainWindowTest(shell::ProgramProfile profile = programs::KestruneProfile())
      : world(std::move(profile)) {}

  shell::PageFactory Stub() {
    return [this](shell::ToolApp&, shell::PageHost& host, int) {
      pageHost = &host;
      auto page = std::make_unique<StubPage>();
      stub = page.get();
      return std::unique_ptr<shell::Page>(std::move(page));
    };
  }
  std::vector<std::string> ListTexts(FakeView& main) {
    std::vector<std::string> texts;
    for (auto& item : main.controls[IDC_PRINTER_LIST].items) texts.push_back(item.first);
    return texts;
  }

  fakes::ProgramWorld world;
  StubPage* stub = nullptr;
  shell::PageHost* pageHost = nullptr;
};

TEST_F(MainWindowTest, InitialisesHeaderSelectorAndPage) {
  world.fake.system->fileVersionHigh = 0x0003000D;  // 3.13.0.0
  world.Run(Stub(), [&](FakeView& main) {
    EXPECT_EQ(main.systemMenu, (std::vector<std::pair<int, std::string>>{{16, "T280"}}));
    EXPECT_EQ(main.icon, IDI_PROGRAM);
    EXPECT_EQ(main.properties.count("C:ToolsMaint"), 1u);
    auto& selector = main.controls[IDC_PAGE_SELECTOR];
    ASSERT_EQ(selector.items.size(), 2u);
    EXPECT_EQ(selector.items[0], (std::pair<std::string, intptr_t>{"T400", 0}));
    EXPECT_EQ(selector.items[1], (std::pair<std::string, intptr_t>{"T0", 2}));
    EXPECT_FALSE(selector.visible);
    EXPECT_EQ(main.controls[IDC_PRINTER_LABEL].text, "T2");
    EXPECT_EQ(main.controls[IDC_PRINTER_LABEL].rect, (ui::Rect{70, 72, 200, 90}));
    EXPECT_EQ(main.title, "T400");
    EXPECT_TRUE(main.maximizeRemoved);
    EXPECT_TRUE(stub->view->IsVisible());
    EXPECT_EQ(main.clientWidth, 600);
    EXPECT_EQ(main.clientHeight, 393);  // 70 + 45 + 278
    auto* window = static_cast<shell::MainWindow*>(&main.handler);
    EXPECT_EQ(window->CurrentTitle(), "T0");
    EXPECT_EQ(window->CurrentDescription(), "T1");
    // The start page is current from the beginning: it is left, then refreshed.
    EXPECT_EQ(stub->calls, (std::vector<std::string>{StubPage::LEAVE, StubPage::REFRESH}));

    // About, from the system menu, with the executable's version.
    world.fake.host->modalScripts[IDD_ABOUT] = [](FakeView& about) {
      EXPECT_EQ(about.controls[IDC_ABOUT_VERSION].text, "T10001 3.13");
      EXPECT_EQ(about.controls[IDC_ABOUT_TITLE].text, "T400");
      about.handler.OnLeftButtonUp();
      EXPECT_TRUE(about.ended);
    };
    bool handled = false;
    main.handler.OnSystemCommand(16, &handled);
    EXPECT_TRUE(handled);
    main.handler.OnSystemCommand(0xF060, &handled);
    EXPECT_FALSE(handled);
  });
}

TEST_F(MainWindowTest, RemembersThePrinterAmongTwoOfOneModel) {
  world.spooler->AddQueue("Printer B", "USB002", fakes::TEST_DRIVER);
  world.spooler->AddQueue("Other", "LPT1", "Plain Printer");
  world.Remember("Printer B");
  world.Run(Stub(), [&](FakeView& main) {
    EXPECT_EQ(ListTexts(main), (std::vector<std::string>{"Printer A", "Printer B", "T200"}));
    EXPECT_EQ(main.controls[IDC_PRINTER_LIST].selection, 1);
    EXPECT_EQ(main.controls[IDC_PRINTER_LIST].items[2].second, -1);
    EXPECT_EQ(world.app->PrinterName(), "Printer B");
    EXPECT_EQ(world.app->PortName(), "USB002");
    EXPECT_EQ(stub->enabledLog, std::vector<bool>{true});
    // Choosing Printer A stores it under the model's key.
    main.ChooseComboEntry(IDC_PRINTER_LIST, 0, ui::COMBO_SELECTION_CHANGED);
  });
  auto* value = world.fake.registry->Find(
      platform::HIVE_CURRENT_USER, "SoftWare\\KALDO\\KALDO Maroset\\Model 9000", "SelectPrinter");
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(std::string(value->data.begin(), value->data.end() - 1), "Printer A");
  EXPECT_TRUE(world.library->Loads() > 0);  // the link was bound to the chosen printer
}

TEST_F(MainWindowTest, RebindingFallsBackToTheDriversLibraryWhenTheTrialChannelFails) {
  struct Case {
    const char* name;
    const char* fault;
    std::vector<std::string> loaded;
  } cases[] = {
      {"trial channel opens", nullptr, {"KBAPI.DLL"}},
      {"trial channel fails", sim::FAULT_OPEN_FAILS, {"KBAPI.DLL", fakes::TEST_DRIVER_LIBRARY}},
      // A first binding that fails is not retried with the driver's copy.
      {"first binding fails", sim::FAULT_INIT_FAILS, {"KBAPI.DLL"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fakes::ProgramWorld w(programs::KestruneProfile());
    if (c.fault) w.printer.State().faults.insert(c.fault);
    w.Remember(fakes::TEST_QUEUE);
    w.Run(Stub(), [&](FakeView&) { EXPECT_EQ(w.loads->loaded, c.loaded); });
  }
}

TEST_F(MainWindowTest, DeviceSettingsAreAskedWithTheMainWindowAsOwner) {
  world.Remember(fakes::TEST_QUEUE);
  world.spooler->deviceSettings[fakes::TEST_QUEUE] = {1, 2, 3};
  world.Run(Stub(), [&](FakeView& main) {
    ASSERT_EQ(world.spooler->settingsOwners.size(), 1u);
    EXPECT_EQ(world.spooler->settingsOwners[0], &main);
    ASSERT_NE(world.app->DeviceSettings(), nullptr);
  });
}

TEST_F(MainWindowTest, RememberedQueueOfAnUnregisteredDriverIsNotListed) {
  world.spooler->AddQueue("Mine", "USB003", "Plain Printer");
  world.Remember("Mine");
  world.Run(Stub(), [&](FakeView& main) {
    EXPECT_EQ(ListTexts(main), (std::vector<std::string>{"Printer A", "T200"}));
    EXPECT_EQ(main.controls[IDC_PRINTER_LIST].selection, 1);
    EXPECT_EQ(stub->enabledLog, std::vector<bool>{false});
    EXPECT_EQ(world.app->PrinterName(), "");
  });
}

TEST_F(MainWindowTest, NoRegisteredPrinterEndsTheWindowInLaunchModeNormalOnly) {
  world.spooler->queues.clear();
  world.Run(Stub(), [](FakeView&) { FAIL() << "the window should have ended"; });
  ASSERT_EQ(world.MessageTexts(), std::vector<std::string>{"T304"});
  EXPECT_EQ(world.MessageIcons(), std::vector<ui::Icon>{ui::Icon::Error});

  fakes::ProgramWorld relaxed(programs::KestruneProfile());
  relaxed.spooler->queues.clear();
  relaxed.SetLaunchMode("P");
  bool ran = false;
  relaxed.Run(Stub(), [&](FakeView& main) {
    ran = true;
    EXPECT_EQ(ListTexts(main), std::vector<std::string>{"T200"});
  });
  EXPECT_TRUE(ran);
  EXPECT_TRUE(relaxed.MessageTexts().empty());
}

TEST_F(MainWindowTest, FailingEnumerationLeavesOnlyTheNoPrinterEntry) {
  world.spooler->failEnumerate = true;
  world.SetLaunchMode("P");
  world.Run(Stub(),
            [&](FakeView& main) { EXPECT_EQ(ListTexts(main), std::vector<std::string>{"T200"}); });
}

TEST_F(MainWindowTest, DriverUnknownToTheStatusMonitor) {
  // The status monitor knows only Model 9000.
  world.spooler->queues.clear();
  world.spooler->AddQueue("Seven", "USB001", "KALDO Model 7000");
  world.Remember("Seven");
  world.Run(Stub(), [&](FakeView& main) {
    EXPECT_EQ(world.MessageTexts(), std::vector<std::string>{"T380"});
    EXPECT_EQ(main.controls[IDC_PRINTER_LIST].selection, 1);  // the no-printer entry
    EXPECT_EQ(stub->enabledLog, std::vector<bool>{false});
    EXPECT_EQ(world.library->Loads(), 0);  // nothing bound to that printer
  });
  // Launch mode P skips the check.
  fakes::ProgramWorld relaxed(programs::KestruneProfile());
  relaxed.spooler->queues.clear();
  relaxed.spooler->AddQueue("Seven", "USB001", "KALDO Model 7000");
  relaxed.Remember("Seven");
  relaxed.SetLaunchMode("P");
  relaxed.Run(Stub(), [&](FakeView&) { EXPECT_TRUE(relaxed.MessageTexts().empty()); });
}

TEST_F(MainWindowTest, ChoosingNoPrinterOnlyDisablesTheActions) {
  world.Remember(fakes::TEST_QUEUE);
  world.Run(Stub(), [&](FakeView& main) {
    main.ChooseComboEntry(IDC_PRINTER_LIST, 1, ui::COMBO_SELECTION_CHANGED);
    EXPECT_EQ(stub->enabledLog, (std::vector<bool>{true, false}));
    EXPECT_EQ(world.app->PrinterName(), fakes::TEST_QUEUE);
  });
}

TEST_F(MainWindowTest, CloseIsConfirmedAndRemovesTheInstanceMarkFirst) {
  world.Run(Stub(), [&](FakeView& main) {
    world.fake.host->answers.push_back(ui::Answer::Cancel);
    main.handler.OnClose();
    EXPECT_FALSE(main.ended);
    EXPECT_EQ(world.fake.host->messages.back().text, "T300");
    EXPECT_EQ(world.fake.host->messages.back().buttons, ui::Buttons::OkCancel);
    EXPECT_EQ(world.fake.host->messages.back().icon, ui::Icon::Information);
    main.handler.OnClose();
    EXPECT_TRUE(main.ended);
    EXPECT_EQ(main.result, ui::RESULT_CANCEL);
    EXPECT_EQ(main.properties.count("C:ToolsMaint"), 0u);
  });
}

TEST_F(MainWindowTest, KeysEnterAndEscapeAreConsumedTabGoesIntoThePage) {
  world.Run(Stub(), [&](FakeView& main) {
    EXPECT_TRUE(main.handler.OnKeyDown(ui::KEY_RETURN, false));
    EXPECT_TRUE(main.handler.OnKeyDown(ui::KEY_ESCAPE, false));
    EXPECT_FALSE(main.ended);
    EXPECT_TRUE(main.handler.OnKeyDown(ui::KEY_TAB, false));
    EXPECT_EQ(static_cast<FakeView*>(stub->view)->focusedControl, 1000000 + 1);
    EXPECT_TRUE(main.handler.OnKeyDown(ui::KEY_TAB, true));
    EXPECT_EQ(static_cast<FakeView*>(stub->view)->focusedControl, -1);
    EXPECT_FALSE(main.handler.OnKeyDown('A', false));
  });
}

TEST_F(MainWindowTest, PageRefusingRefreshKeepsPageZero) {
  world.Run(Stub(), [&](FakeView& main) {
    auto* window = static_cast<shell::MainWindow*>(&main.handler);
    window->SelectPage(0);
    EXPECT_EQ(window->CurrentPage(), 0);
    stub->accept = false;
    window->SelectPage(2);
    EXPECT_EQ(window->CurrentPage(), 0);
    EXPECT_FALSE(stub->view->IsVisible());
    stub->accept = true;
    window->SelectPage(2);
    EXPECT_EQ(window->CurrentPage(), 2);
    EXPECT_TRUE(stub->view->IsVisible());
  });
}

TEST_F(MainWindowTest, EmptyPageNameLeavesThePageUnshown) {
  world.fake.files->Put(fakes::SettingsPath("Localize.ini"), "00000400=Title\r\n");
  world.Run(Stub(), [&](FakeView& main) {
    EXPECT_EQ(main.controls[IDC_PAGE_SELECTOR].items.size(), 1u);
    EXPECT_FALSE(stub->view->IsVisible());
    EXPECT_EQ(main.clientHeight, 0);  // the template's own size
  });
}

TEST_F(MainWindowTest, ManualThatCannotBeOpenedIsReported) {
  world.Run(Stub(), [&](FakeView&) {
    world.fake.host->shellOpenResult = false;
    pageHost->OpenManual(0, 0);
    EXPECT_EQ(world.MessageTexts().back(), "T311");
    EXPECT_EQ(world.MessageIcons().back(), ui::Icon::Information);
    size_t shown = world.MessageTexts().size();
    pageHost->OpenManual(7, 0);  // no entry: nothing happens
    EXPECT_EQ(world.MessageTexts().size(), shown);
  });
}

TEST_F(MainWindowTest, PageThatCannotBeCreatedEndsTheWindow) {
  world.fake.host->failingTemplates.insert(134);
  world.Run(Stub(), [](FakeView&) { FAIL(); });
  EXPECT_EQ(world.MessageTexts(), std::vector<std::string>{"T303"});
}

TEST_F(MainWindowTest, SunnabarSelectsNoPrinterAndRefreshesOnlyAfterAChoice) {
  fakes::ProgramWorld sunnabar(programs::SunnabarProfile());
  sunnabar.Remember(fakes::TEST_QUEUE);
  sunnabar.fake.host->templates[135] = {};
  sunnabar.Run(
      [this](shell::ToolApp&, shell::PageHost&, int) {
        auto page = std::make_unique<StubPage>();
        stub = page.get();
        return std::unique_ptr<shell::Page>(std::move(page));
      },
      [&](FakeView& main) {
        EXPECT_EQ(main.controls[IDC_PRINTER_LIST].selection, 1);  // never the remembered one
        EXPECT_EQ(main.controls[IDC_PRINTER_LABEL].text, "T10");
        EXPECT_TRUE(stub->calls.empty() || stub->calls.back() != StubPage::REFRESH);
        main.ChooseComboEntry(IDC_PRINTER_LIST, 0, ui::COMBO_SELECTION_CHANGED);
        EXPECT_EQ(stub->calls.back(), StubPage::REFRESH);
        EXPECT_TRUE(stub->enabledLog.empty() || !stub->enabledLog.back());
      });
}

TEST(PrinterListStart, FollowsTheProfile) {
  struct Case {
    const char* name;
    shell::ProgramProfile (*profile)();
    bool remembered;
    std::vector<std::string> entries;
    int selection;
  } cases[] = {
      {"Kestrune, remembered",
       programs::KestruneProfile,
       true,
       {"Printer A", "Printer B", "T200"},
       1},
      {"Kestrune, nothing remembered",
       programs::KestruneProfile,
       false,
       {"Printer A", "Printer B", "T200"},
       2},
      {"Sunnabar, remembered",
       programs::SunnabarProfile,
       true,
       {"Printer A", "Printer B", "T200"},
       2},
      // Trevalo's page 0 appends the no-printer entry; its ports rule drops the USB queue on a
      // system version 6 machine.
      {"Trevalo, remembered", programs::TrevaloProfile, true, {"Printer B"}, 0},
      {"Trevalo, nothing remembered", programs::TrevaloProfile, false, {"Printer B"}, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fakes::ProgramWorld world(c.profile());
    world.fake.system->version = {6, 1};
    world.spooler->AddQueue("Printer B", "KD1394D3_1", fakes::TEST_DRIVER);
    if (c.remembered) world.Remember("Printer B");
    world.app->SetDriverName(fakes::TEST_DRIVER);
    world.fake.host->templates[1] = {IDC_PRINTER_LIST};
    fakes::NullHandler handler;
    std::unique_ptr<ui::View> view = world.fake.host->CreateModeless(1, nullptr, false, handler);
    auto& list = static_cast<FakeView&>(*view).controls[IDC_PRINTER_LIST];
    shell::PrinterList printers(*world.app);
    bool noneRegistered = true;
    printers.Fill(*view, IDC_PRINTER_LIST, &noneRegistered);
    EXPECT_FALSE(noneRegistered);
    std::vector<std::string> entries;
    for (auto& item : list.items) entries.push_back(item.first);
    EXPECT_EQ(entries, c.entries);
    EXPECT_EQ(list.selection, c.selection);
  }
}

TEST(ModelKeyName, DropsTheMakerByLength) {
  EXPECT_EQ(shell::ModelKeyName("KALDO Model 9000"), "Model 9000");
  EXPECT_EQ(shell::ModelKeyName("New KALDO X"), "LDO X");  // by length, not by position
  EXPECT_EQ(shell::ModelKeyName("Plain Printer"), "err");
  EXPECT_EQ(shell::ModelKeyName("KALDO"), "");
}

TEST(RegisteredModel, ComparesPrinterEntriesUpToTheCount) {
  fakes::FakeFiles files;
  shell::SettingsReader reader(files, "C:\\S", shell::SETTINGS_LINE_CHUNK);
  files.Put("C:\\S\\Printer.ini", "PRINTER_NUM=2\nPRINTER1=A\nPRINTER3=C\n");
  EXPECT_TRUE(shell::IsRegisteredModel(reader, "A"));
  EXPECT_FALSE(shell::IsRegisteredModel(reader, "C"));
  EXPECT_FALSE(shell::IsRegisteredModel(reader, "B"));  // PRINTER2 is missing: compared with ""

  files.Put("C:\\S\\Printer.ini", "PRINTER_NUM=x\nPRINTER1=A\n");
  EXPECT_FALSE(shell::IsRegisteredModel(reader, "A"));
}

TEST(AcceptedPort, FollowsTheSystemVersion) {
  using shell::LaunchMode;
  EXPECT_TRUE(shell::IsAcceptedPort(LaunchMode::Normal, {5, 1}, "USB001"));
  EXPECT_FALSE(shell::IsAcceptedPort(LaunchMode::Normal, {5, 1}, "KDUSB1"));
  EXPECT_TRUE(shell::IsAcceptedPort(LaunchMode::Normal, {4, 90}, "KDUSB1"));
  EXPECT_FALSE(shell::IsAcceptedPort(LaunchMode::Normal, {4, 10}, "USB001"));
  EXPECT_TRUE(shell::IsAcceptedPort(LaunchMode::Normal, {6, 1}, "KD1394D3:"));
  EXPECT_FALSE(shell::IsAcceptedPort(LaunchMode::Normal, {6, 1}, "KD1394D"));
  EXPECT_FALSE(shell::IsAcceptedPort(LaunchMode::Normal, {6, 1}, "USB001"));
  EXPECT_FALSE(shell::IsAcceptedPort(LaunchMode::Normal, {5, 1}, ""));
  EXPECT_TRUE(shell::IsAcceptedPort(LaunchMode::P, {6, 1}, ""));
}

}  // namespace
