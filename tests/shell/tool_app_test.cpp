// Start-up of the programs: launch mode, required files, single instance, shared objects.
#include "shell/tool_app.h"

#include <gtest/gtest.h>

#include <functional>

#include "feed/media_table.h"
#include "programs/kestrune/kestrune_tables.h"
#include "programs/trevalo/trevalo_tables.h"
#include "tests/support/test_app.h"

namespace {

using fakes::SettingsPath;

// A main window that records that it ran.
class RecordingMainWindow : public shell::MainFrame {
 public:
  explicit RecordingMainWindow(int* runs, std::function<void()> onInit = nullptr)
      : runs_(runs), onInit_(std::move(onInit)) {}
  int TemplateId() const override { return IDD_MAIN_WINDOW; }
  bool OnInit(ui::View&) override {
    ++*runs_;
    if (onInit_) onInit_();
    return true;
  }

 private:
  int* runs_;
  std::function<void()> onInit_;
};

class StartupTest : public ::testing::Test {
 protected:
  void MakeApp(shell::ProgramProfile profile) {
    app = std::make_unique<shell::ToolApp>(std::move(profile), fakes::MakeFakePlatform(&fake));
    fakes::InstallTestSettings(*fake.files, {0, 303, 314, 400});
  }
  void Run() {
    app->Run([this](shell::ToolApp&) { return std::make_unique<RecordingMainWindow>(&mainRuns); });
  }
  fakes::TestPlatform fake{};
  std::unique_ptr<shell::ToolApp> app;
  int mainRuns = 0;
};

TEST_F(StartupTest, LaunchModeIsExactAndFollowsAliases) {
  struct Case {
    const char* file;
    shell::LaunchMode mode;
  } cases[] = {
      {"Ope=P\n", shell::LaunchMode::P},
      {"Ope=U\n", shell::LaunchMode::U},
      {"Ope=p\n", shell::LaunchMode::Normal},
      {"Ope=P \n", shell::LaunchMode::Normal},
      {"Ope:Mode\nMode=P\n", shell::LaunchMode::P},
      {"ope=P\n", shell::LaunchMode::Normal},
      {"", shell::LaunchMode::Normal},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    MakeApp(programs::KestruneProfile());
    fake.files->Put(SettingsPath("Setting_Launch.ini"), c.file);
    Run();
    EXPECT_EQ(app->Launch(), c.mode);
  }
  MakeApp(programs::KestruneProfile());  // no Setting_Launch.ini at all
  Run();
  EXPECT_EQ(app->Launch(), shell::LaunchMode::Normal);
  EXPECT_EQ(mainRuns, 8);
}

TEST_F(StartupTest, FoldersInstanceNameAndInstallPath) {
  MakeApp(programs::KestruneProfile());
  EXPECT_EQ(app->ProgramDirectory(), "C:\\Tools\\Maint");
  EXPECT_EQ(app->SettingsDirectory(), "C:\\Tools\\Maint\\Settings");
  EXPECT_EQ(app->InstanceName(), "C:ToolsMaint");
  EXPECT_EQ(app->InstallPath(), "");
  fake.registry->PutString(platform::HIVE_LOCAL_MACHINE, "SoftWare\\KALDO\\KALDO Maroset",
                           "InstallPath", "C:\\Panel");
  EXPECT_EQ(app->InstallPath(), "C:\\Panel");  // read anew at each use
}

TEST_F(StartupTest, MissingRequiredFileEndsWithTheBuiltInMessage) {
  for (const std::string& file : shell::CommonRequiredFiles()) {
    SCOPED_TRACE(file);
    MakeApp(programs::KestruneProfile());
    fake.files->files.erase(SettingsPath(file));
    Run();
    ASSERT_EQ(fake.host->messages.size(), 1u);
    EXPECT_EQ(fake.host->messages[0].text, shell::MISSING_FILE_MESSAGE);
    EXPECT_EQ(fake.host->messages[0].caption, "Kestrune");
    EXPECT_EQ(fake.host->messages[0].icon, ui::Icon::Error);
    EXPECT_EQ(fake.host->messages[0].owner, nullptr);
    EXPECT_TRUE(fake.system->locks.empty());
    EXPECT_EQ(app->PrinterLink(), nullptr);  // nothing created
  }
  EXPECT_EQ(mainRuns, 0);
}

TEST_F(StartupTest, LaunchModeUSkipsTheRequiredFileCheck) {
  MakeApp(programs::KestruneProfile());
  fake.files->files.clear();
  fake.files->Put(SettingsPath("Setting_Launch.ini"), "Ope=U\n");
  Run();
  EXPECT_TRUE(fake.host->messages.empty());
  EXPECT_EQ(mainRuns, 1);
  EXPECT_EQ(app->GetText(400), "");  // texts come out empty
}

TEST_F(StartupTest, AFolderCountsAsAPresentFile) {
  MakeApp(programs::KestruneProfile());
  fake.files->files.erase(SettingsPath("Manual.ini"));
  fake.files->folders.insert(SettingsPath("Manual.ini"));
  Run();
  EXPECT_EQ(mainRuns, 1);
}

TEST_F(StartupTest, SecondInstanceActivatesTheFirstAndEnds) {
  MakeApp(programs::KestruneProfile());
  fake.system->locks.insert("C:ToolsMaint");
  Run();
  EXPECT_EQ(mainRuns, 0);
  EXPECT_EQ(fake.host->activated, std::vector<std::string>{"C:ToolsMaint"});
  EXPECT_TRUE(fake.host->messages.empty());
}

TEST_F(StartupTest, RunHoldsTheLockAndSetsTheFirstDriverThenTearsDown) {
  MakeApp(programs::KestruneProfile());
  bool lockHeld = false;
  fake.host->modalScripts[IDD_MAIN_WINDOW] = [&](fakes::FakeView&) {
    lockHeld = fake.system->locks.count("C:ToolsMaint") > 0;
    EXPECT_NE(app->PrinterLink(), nullptr);
    EXPECT_EQ(app->DriverName(), "KALDO Model 9000");
  };
  Run();
  EXPECT_TRUE(lockHeld);
  EXPECT_TRUE(fake.system->locks.empty());
  EXPECT_EQ(app->PrinterLink(), nullptr);
}

TEST_F(StartupTest, TrevaloWithoutAMediaTableEndsWithTheMissingFileMessage) {
  MakeApp(programs::TrevaloProfile());
  app->SetProgramObjects(std::make_unique<programs::TrevaloObjects>());
  fake.files->Put(SettingsPath("MediaP1.ini"),
                  "MEDIAP1_NUM=2\nMEDIAP1_001=5,12,3,0,1,3,-1,-1,-1,-1\n");
  Run();
  EXPECT_EQ(mainRuns, 0);
  ASSERT_EQ(fake.host->messages.size(), 1u);
  EXPECT_EQ(fake.host->messages[0].text, shell::MISSING_FILE_MESSAGE);
  EXPECT_EQ(fake.host->messages[0].caption, "T0");  // Trevalo's title, localized
  EXPECT_EQ(fake.host->messages[0].icon, ui::Icon::Error);
  EXPECT_TRUE(fake.system->locks.empty());
}

TEST_F(StartupTest, TrevaloWithItsMediaTableRuns) {
  MakeApp(programs::TrevaloProfile());
  auto objects = std::make_unique<programs::TrevaloObjects>();
  programs::TrevaloObjects* trevalo = objects.get();
  app->SetProgramObjects(std::move(objects));
  // Loaded by the time the main window runs.
  bool loaded = false;
  app->Run([&](shell::ToolApp&) {
    return std::make_unique<RecordingMainWindow>(
        &mainRuns, [&] { loaded = trevalo->Media() && trevalo->Media()->IsLoaded(); });
  });
  EXPECT_EQ(mainRuns, 1);
  EXPECT_TRUE(loaded);
  EXPECT_EQ(trevalo->Media(), nullptr);  // torn down with the link
}

// Records when the program's own objects are made and dropped, against the printer link.
class OrderedObjects : public shell::ProgramObjects {
 public:
  explicit OrderedObjects(std::vector<std::string>* log) : log_(log) {}
  bool CreateBeforeLink(shell::ToolApp& app) override {
    log_->push_back(app.PrinterLink() ? "before: link exists" : "before");
    return true;
  }
  bool CreateAfterLink(shell::ToolApp& app) override {
    log_->push_back(app.PrinterLink() ? "after" : "after: no link");
    return createAfter;
  }
  void DestroyBeforeLinkRelease() override { log_->push_back("drop before release"); }
  void DestroyAfterLinkRelease() override { log_->push_back("drop after release"); }
  bool createAfter = true;

 private:
  std::vector<std::string>* log_;
};

TEST_F(StartupTest, ProgramObjectsAreMadeAroundTheLinkAndDroppedInReverse) {
  for (bool fails : {false, true}) {
    SCOPED_TRACE(fails ? "an object cannot be made" : "all made");
    std::vector<std::string> log;
    MakeApp(programs::TrevaloProfile());
    auto objects = std::make_unique<OrderedObjects>(&log);
    objects->createAfter = !fails;
    app->SetProgramObjects(std::move(objects));
    mainRuns = 0;
    Run();
    EXPECT_EQ(mainRuns, fails ? 0 : 1);
    EXPECT_EQ(log, (std::vector<std::string>{"before", "after", "drop before release",
                                             "drop after release"}));
    if (fails) {
      EXPECT_EQ(fake.host->messages.at(0).text, "T314");
    }
    app.reset();  // teardown runs once, not again at destruction
    EXPECT_EQ(log.size(), 4u);
  }
}

TEST_F(StartupTest, MainWindowThatCannotBeMadeReportsSharedObjects) {
  MakeApp(programs::KestruneProfile());
  app->Run([](shell::ToolApp&) { return std::unique_ptr<shell::MainFrame>(); });
  ASSERT_EQ(fake.host->messages.size(), 1u);
  EXPECT_EQ(fake.host->messages[0].text, "T303");
  EXPECT_EQ(fake.host->messages[0].caption, "T400");
}

}  // namespace
