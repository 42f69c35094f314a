// Kestrune's maintenance page against the simulated printer: every message and what was sent.
#include "cleaning/maintenance_page.h"

#include <gtest/gtest.h>

#include "link/command_framing.h"
#include "link/printer_channel.h"
#include "programs/kestrune/kestrune_tables.h"
#include "shell/busy_dialog.h"
#include "tests/support/program_world.h"

namespace {

using ui::Icon;

std::vector<uint8_t> Bytes(const printer_link::CommandStream& s) {
  return std::vector<uint8_t>(s.bytes, s.bytes + s.length);
}

class MaintenancePageTest : public ::testing::Test {
 protected:
  MaintenancePageTest() : world(programs::KestruneProfile()) { world.Remember(fakes::TEST_QUEUE); }

  // Starts Kestrune and presses one button of the page.
  void Press(int button) {
    world.Run(programs::KestrunePages(), [&](fakes::FakeView&) {
      fakes::FakeView* page = world.Window(IDD_MAINTENANCE_PAGE);
      ASSERT_NE(page, nullptr);
      messagesBefore = world.fake.host->messages.size();
      startedAt = world.clock.now;
      page->Click(button);
      finishedAt = world.clock.now;
    });
  }
  // Messages the action showed (after start-up), as "T<N>" texts.
  std::vector<std::string> Shown() const {
    std::vector<std::string> all = world.MessageTexts();
    return std::vector<std::string>(all.begin() + static_cast<long>(messagesBefore), all.end());
  }
  Icon LastIcon() const { return world.fake.host->messages.back().icon; }
  std::vector<std::vector<uint8_t>> Jobs() const {
    std::vector<std::vector<uint8_t>> jobs;
    for (const auto& job : world.spooler->jobs) jobs.push_back(job.bytes);
    return jobs;
  }

  fakes::ProgramWorld world;
  size_t messagesBefore = 0;
  uint32_t startedAt = 0;
  uint32_t finishedAt = 0;
};

TEST_F(MaintenancePageTest, NozzleCheckSendsTheStreamWaitsAndReports) {
  Press(IDC_NOZZLE_CHECK);
  EXPECT_EQ(Shown(), std::vector<std::string>{"T308"});
  EXPECT_EQ(LastIcon(), Icon::Information);
  EXPECT_EQ(world.fake.host->messages.back().caption, "T400");
  ASSERT_EQ(Jobs().size(), 1u);
  EXPECT_EQ(Jobs()[0], Bytes(printer_link::NozzleCheckStream()));
  EXPECT_EQ(Jobs()[0].size(), 36u);
  EXPECT_EQ(world.spooler->jobs[0].documentName, "KDSU Command");
  EXPECT_GE(finishedAt - startedAt, cleaning::NOZZLE_CHECK_PAUSE_MS);
  EXPECT_EQ(world.fake.host->waitCursor, (std::vector<bool>{true, false}));
}

TEST_F(MaintenancePageTest, DeepCleaningSendsTheStreamWhenInkAndFieldAreEnough) {
  world.printer.State().ink = {26, 90, 26};
  world.printer.State().field0d = 14;
  Press(IDC_DEEP_CLEANING);
  EXPECT_EQ(Shown(), std::vector<std::string>{"T306"});
  EXPECT_EQ(LastIcon(), Icon::Information);
  ASSERT_EQ(Jobs().size(), 1u);
  EXPECT_EQ(Jobs()[0], Bytes(printer_link::DeepCleaningStream()));
  EXPECT_EQ(Jobs()[0].size(), 25u);
}

struct Refusal {
  const char* name;
  std::function<void(sim::PrinterState&)> setUp;
  int button;
  const char* text;
  Icon icon;
};

TEST_F(MaintenancePageTest, RefusalsShowTheirMessageAndSendNothing) {
  const Refusal cases[] = {
      {"ink exactly 25",
       [](sim::PrinterState& s) {
         s.ink = {80, 25, 80};
       },
       IDC_DEEP_CLEANING, "T309", Icon::Warning},
      {"0D field 13", [](sim::PrinterState& s) { s.field0d = 13; }, IDC_DEEP_CLEANING, "T310",
       Icon::Warning},
      {"another model", [](sim::PrinterState& s) { s.faults.insert(sim::FAULT_WRONG_MODEL); },
       IDC_NOZZLE_CHECK, "T305", Icon::Error},
      {"never ready", [](sim::PrinterState& s) { s.faults.insert(sim::FAULT_NEVER_READY); },
       IDC_NOZZLE_CHECK, "T302", Icon::Warning},
      {"busy", [](sim::PrinterState& s) { s.statusCode = 3; }, IDC_DEEP_CLEANING, "T302",
       Icon::Warning},
      {"switched off", [](sim::PrinterState& s) { s.faults.insert(sim::FAULT_OFFLINE); },
       IDC_NOZZLE_CHECK, "T305", Icon::Error},
      {"library missing", [](sim::PrinterState& s) { s.faults.insert(sim::FAULT_NO_LIBRARY); },
       IDC_DEEP_CLEANING, "T305", Icon::Error},
  };
  for (const Refusal& c : cases) {
    SCOPED_TRACE(c.name);
    fakes::ProgramWorld fresh(programs::KestruneProfile());
    fresh.Remember(fakes::TEST_QUEUE);
    c.setUp(fresh.printer.State());
    size_t before = 0;
    fresh.Run(programs::KestrunePages(), [&](fakes::FakeView&) {
      before = fresh.fake.host->messages.size();
      fresh.Window(IDD_MAINTENANCE_PAGE)->Click(c.button);
    });
    ASSERT_EQ(fresh.fake.host->messages.size(), before + 1);
    EXPECT_EQ(fresh.fake.host->messages[before].text, c.text);
    EXPECT_EQ(fresh.fake.host->messages[before].icon, c.icon);
    EXPECT_TRUE(fresh.spooler->jobs.empty());
  }
}

TEST_F(MaintenancePageTest, NotReadyWaitsTwoMoreTimesWithTheBusyDialog) {
  world.printer.State().faults.insert(sim::FAULT_NEVER_READY);
  Press(IDC_NOZZLE_CHECK);
  EXPECT_EQ(Shown()[0], "T302");
  EXPECT_GE(finishedAt - startedAt, 2 * printer_link::READY_POLL_MS);
  EXPECT_EQ(world.Window(IDD_BUSY), nullptr);  // closed again
}

TEST_F(MaintenancePageTest, ReadyOnTheSecondPollGoesAhead) {
  world.printer.State().readyAfter = 1;
  Press(IDC_NOZZLE_CHECK);
  EXPECT_EQ(Shown(), std::vector<std::string>{"T308"});
  EXPECT_EQ(Jobs().size(), 1u);
}

TEST_F(MaintenancePageTest, RefusedJobShowsNothing) {
  world.spooler->refuseStartDoc = true;
  Press(IDC_NOZZLE_CHECK);
  EXPECT_TRUE(Shown().empty());
  EXPECT_TRUE(world.spooler->Balanced());
  world.spooler->refuseStartDoc = false;
  world.spooler->acceptOnly = 10;
  world.printer.State().ink = {80};
  Press(IDC_DEEP_CLEANING);
  EXPECT_TRUE(Shown().empty());
}

TEST_F(MaintenancePageTest, LaunchModePSendsToAReadyPrinterOfAnotherModel) {
  world.SetLaunchMode("P");
  world.printer.State().faults.insert(sim::FAULT_WRONG_MODEL);
  Press(IDC_NOZZLE_CHECK);
  EXPECT_EQ(Shown()[0], "T308");
  EXPECT_EQ(Jobs().size(), 1u);
}

TEST_F(MaintenancePageTest, LaunchModeUSendsWithoutQueriesAndPreviewsTheMessages) {
  world.SetLaunchMode("U");
  world.printer.State().faults.insert(sim::FAULT_OFFLINE);
  world.printer.State().ink = {0};
  std::vector<std::string> preview;
  world.Run(programs::KestrunePages(), [&](fakes::FakeView&) {
    preview = world.MessageTexts();
    size_t before = preview.size();
    fakes::FakeView* page = world.Window(IDD_MAINTENANCE_PAGE);
    page->Click(IDC_NOZZLE_CHECK);
    page->Click(IDC_DEEP_CLEANING);
    std::vector<std::string> after = world.MessageTexts();
    EXPECT_EQ(std::vector<std::string>(after.begin() + static_cast<long>(before), after.end()),
              (std::vector<std::string>{"T308", "T306"}));
  });
  EXPECT_EQ(preview, (std::vector<std::string>{"T306", "T307", "T308", "T309", "T310"}));
  std::vector<Icon> icons = world.MessageIcons();
  icons.resize(5);
  EXPECT_EQ(icons, (std::vector<Icon>{Icon::Information, Icon::Warning, Icon::Information,
                                      Icon::Warning, Icon::Warning}));
  ASSERT_EQ(Jobs().size(), 2u);
  EXPECT_EQ(Jobs()[1], Bytes(printer_link::DeepCleaningStream()));
}

TEST_F(MaintenancePageTest, StatusWithoutInkAndFieldLetsDeepCleaningPass) {
  world.printer.State().ink.clear();
  Press(IDC_DEEP_CLEANING);
  EXPECT_EQ(Shown()[0], "T306");
}

TEST_F(MaintenancePageTest, LayoutButtonsHelpAndClose) {
  world.fake.registry->PutString(platform::HIVE_LOCAL_MACHINE, "SoftWare\\KALDO\\KALDO Maroset",
                                 "InstallPath", "C:\\Panel");
  world.Run(programs::KestrunePages(), [&](fakes::FakeView& main) {
    fakes::FakeView* page = world.Window(IDD_MAINTENANCE_PAGE);
    EXPECT_EQ(page->controls[IDC_NOZZLE_CHECK].rect, (ui::Rect{111, 35, 150, 74}));
    EXPECT_EQ(page->controls[IDC_NOZZLE_CHECK].bitmap, IDB_NOZZLE_CHECK);
    EXPECT_EQ(page->controls[IDC_DEEP_CLEANING].bitmap, IDB_DEEP_CLEANING);
    EXPECT_EQ(page->controls[IDC_NOZZLE_CHECK_TEXT].text, "T3");
    EXPECT_EQ(page->controls[IDC_CLOSE_BUTTON].text, "T180");
    EXPECT_EQ(page->controls[IDC_NOZZLE_CHECK].text, "");  // keeps its own (empty) text
    page->Click(IDC_HELP_BUTTON);
    EXPECT_EQ(world.fake.host->opened, std::vector<std::string>{"C:\\Panel\\Manual\\index.htm"});
    page->Click(IDC_CLOSE_BUTTON);
    EXPECT_TRUE(main.closePosted);
  });
}

}  // namespace
