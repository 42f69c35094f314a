// Trevalo's cleaning and nozzle check pages against the simulated printer: every message in each
// launch mode, what reaches the printer, and the page's own controls.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "cleaning/cleaning_page.h"
#include "cleaning/nozzle_check_page.h"
#include "link/command_framing.h"
#include "programs/trevalo/trevalo_tables.h"
#include "tests/support/trevalo_pages.h"

namespace {

using ui::Icon;

constexpr int CLEANING = 2;
constexpr int NOZZLE_CHECK = 3;

struct Seen {
  std::string text;
  Icon icon;
  bool operator==(const Seen& o) const { return text == o.text && icon == o.icon; }
};
void PrintTo(const Seen& s, std::ostream* out) {
  *out << s.text << "/" << static_cast<int>(s.icon);
}

enum class Sent { Nothing, Stream };

struct PageCase {
  const char* name;
  int page;
  const char* launch;  // "" for Normal
  std::function<void(fakes::ProgramWorld&)> setUp;
  std::vector<Seen> shown;
  Sent sent;
};

const Seen CONFIRM{"T50300", Icon::Question};
const Seen CLEANED{"T40300", Icon::Information};
const Seen CHECKED{"T50303", Icon::Information};
const Seen WRONG_MODEL{"T310", Icon::Error};
const Seen NOT_READY{"T312", Icon::Warning};
const Seen GONE{"T330", Icon::Error};

void Nothing(fakes::ProgramWorld&) {}
std::function<void(fakes::ProgramWorld&)> Fault(const char* fault) {
  return [fault](fakes::ProgramWorld& w) { w.printer.State().faults.insert(fault); };
}
void Cancelled(fakes::ProgramWorld& w) {
  w.fake.host->answers.push_back(ui::Answer::Cancel);
}
// The queue changed after the choice: the pages read the spooler again at every press.
void QueueRemoved(fakes::ProgramWorld& w) {
  w.spooler->queues[0].printerName = "Printer B";
}
void PortRefused(fakes::ProgramWorld& w) {
  w.spooler->queues[0].portName = "LPT1:";
}
void DriverReplaced(fakes::ProgramWorld& w) {
  w.spooler->queues[0].driverName = "KALDO Model 7000";
}
void SpoolerRefuses(fakes::ProgramWorld& w) {
  w.spooler->refuseStartDoc = true;
}
// What Wine reports, with the only port the rule leaves there.
void WineLikePlatform(fakes::ProgramWorld& w) {
  w.fake.system->version = {6, 1};
  w.spooler->queues[0].portName = "KD1394D3_1";
}
void WinePlatformUsbPort(fakes::ProgramWorld& w) {
  w.fake.system->version = {6, 1};
}

// setUp runs on the chosen page, before the press (the queue changes happen after the choice).
const PageCase CASES[] = {
    {"cleaning/sent", CLEANING, "", Nothing, {CLEANED}, Sent::Stream},
    {"cleaning/wrong model",
     CLEANING,
     "",
     Fault(sim::FAULT_WRONG_MODEL),
     {WRONG_MODEL},
     Sent::Nothing},
    {"cleaning/never ready",
     CLEANING,
     "",
     Fault(sim::FAULT_NEVER_READY),
     {NOT_READY},
     Sent::Nothing},
    {"cleaning/switched off",
     CLEANING,
     "",
     Fault(sim::FAULT_OFFLINE),
     {WRONG_MODEL},
     Sent::Nothing},
    {"cleaning/printer removed", CLEANING, "", QueueRemoved, {GONE}, Sent::Nothing},
    {"cleaning/port refused", CLEANING, "", PortRefused, {GONE}, Sent::Nothing},
    {"cleaning/driver replaced", CLEANING, "", DriverReplaced, {GONE}, Sent::Nothing},
    {"cleaning/refused job says nothing", CLEANING, "", SpoolerRefuses, {}, Sent::Nothing},
    {"cleaning/6.1 with its port", CLEANING, "", WineLikePlatform, {CLEANED}, Sent::Stream},
    {"cleaning/6.1 with a USB port", CLEANING, "", WinePlatformUsbPort, {GONE}, Sent::Nothing},
    {"cleaning/P does nothing", CLEANING, "P", Nothing, {}, Sent::Nothing},
    {"cleaning/P ignores a removed printer", CLEANING, "P", QueueRemoved, {}, Sent::Nothing},
    {"cleaning/U does nothing", CLEANING, "U", Fault(sim::FAULT_OFFLINE), {}, Sent::Nothing},

    {"nozzle/sent", NOZZLE_CHECK, "", Nothing, {CONFIRM, CHECKED}, Sent::Stream},
    {"nozzle/cancelled", NOZZLE_CHECK, "", Cancelled, {CONFIRM}, Sent::Nothing},
    {"nozzle/wrong model",
     NOZZLE_CHECK,
     "",
     Fault(sim::FAULT_WRONG_MODEL),
     {CONFIRM, WRONG_MODEL},
     Sent::Nothing},
    {"nozzle/never ready",
     NOZZLE_CHECK,
     "",
     Fault(sim::FAULT_NEVER_READY),
     {CONFIRM, NOT_READY},
     Sent::Nothing},
    {"nozzle/switched off",
     NOZZLE_CHECK,
     "",
     Fault(sim::FAULT_OFFLINE),
     {CONFIRM, WRONG_MODEL},
     Sent::Nothing},
    {"nozzle/printer removed", NOZZLE_CHECK, "", QueueRemoved, {CONFIRM, GONE}, Sent::Nothing},
    {"nozzle/port refused", NOZZLE_CHECK, "", PortRefused, {CONFIRM, GONE}, Sent::Nothing},
    {"nozzle/refused job says nothing", NOZZLE_CHECK, "", SpoolerRefuses, {CONFIRM}, Sent::Nothing},
    {"nozzle/6.1 with its port",
     NOZZLE_CHECK,
     "",
     WineLikePlatform,
     {CONFIRM, CHECKED},
     Sent::Stream},
    {"nozzle/P asks and does nothing", NOZZLE_CHECK, "P", Nothing, {CONFIRM}, Sent::Nothing},
    {"nozzle/P cancelled", NOZZLE_CHECK, "P", Cancelled, {CONFIRM}, Sent::Nothing},
    {"nozzle/U asks and does nothing",
     NOZZLE_CHECK,
     "U",
     Fault(sim::FAULT_OFFLINE),
     {CONFIRM},
     Sent::Nothing},
};

std::vector<Seen> SeenSince(const fakes::ProgramWorld& world, size_t before) {
  std::vector<Seen> seen;
  const auto& messages = world.fake.host->messages;
  for (size_t i = before; i < messages.size(); ++i) {
    seen.push_back({messages[i].text, messages[i].icon});
  }
  return seen;
}

TEST(ExecutionPages, MessagesAndDeliveryInEachLaunchMode) {
  for (const PageCase& c : CASES) {
    SCOPED_TRACE(c.name);
    fakes::ProgramWorld world(programs::TrevaloProfile());
    fakes::AddMaintenanceTexts(world);
    if (*c.launch) world.SetLaunchMode(c.launch);
    std::vector<Seen> shown;
    uint32_t took = 0;
    bool ran = fakes::RunTrevaloOnPage(
        world, c.page, false, [&](fakes::FakeView& page, shell::MainWindow&) {
          size_t before = world.fake.host->messages.size();
          c.setUp(world);
          uint32_t start = world.clock.now;
          page.Click(c.page == CLEANING ? IDC_CLEANING_EXECUTE : IDC_NOZZLE_PAGE_EXECUTE);
          took = world.clock.now - start;
          shown = SeenSince(world, before);
        });
    ASSERT_TRUE(ran);
    EXPECT_EQ(shown, c.shown);
    for (const auto& message : world.fake.host->messages) EXPECT_EQ(message.caption, "T0");
    if (!c.shown.empty() && c.shown[0] == CONFIRM) {
      EXPECT_EQ(world.fake.host->messages.back().buttons == ui::Buttons::OkCancel,
                c.shown.size() == 1);
    }
    std::vector<std::vector<uint8_t>> jobs;
    for (const auto& job : world.spooler->jobs) jobs.push_back(job.bytes);
    if (c.sent == Sent::Nothing) {
      EXPECT_TRUE(jobs.empty());
      EXPECT_TRUE(world.spooler->Balanced());
      continue;
    }
    printer_link::CommandStream expected = c.page == CLEANING
                                               ? printer_link::CleaningPageStream()
                                               : printer_link::NozzleCheckPageStream();
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0], std::vector<uint8_t>(expected.bytes, expected.bytes + expected.length));
    EXPECT_EQ(jobs[0].size(), c.page == CLEANING ? 30u : 29u);
    // Only the nozzle check waits for the printer before it reports.
    if (c.page == NOZZLE_CHECK) {
      EXPECT_GE(took, cleaning::NOZZLE_CHECK_PAGE_PAUSE_MS);
      EXPECT_EQ(world.fake.host->waitCursor, (std::vector<bool>{true, false}));
    } else {
      EXPECT_TRUE(world.fake.host->waitCursor.empty());
    }
  }
}

struct RefreshCase {
  const char* name;
  int page;
  const char* launch;
  bool printerChanged;
  std::vector<Seen> shown;
};

TEST(ExecutionPages, ShowingThePageSaysWhatItsLaunchModeAndThePrinterChoiceCall) {
  const RefreshCase cases[] = {
      {"cleaning, Normal", CLEANING, "", false, {}},
      {"cleaning, Normal, new printer", CLEANING, "", true, {{"T300", Icon::Information}}},
      {"cleaning, P, new printer", CLEANING, "P", true, {{"T300", Icon::Information}}},
      {"cleaning, U", CLEANING, "U", false, {NOT_READY, CLEANED}},
      {"cleaning, U, new printer",
       CLEANING,
       "U",
       true,
       {{"T300", Icon::Information}, NOT_READY, CLEANED}},
      {"nozzle, Normal", NOZZLE_CHECK, "", false, {}},
      {"nozzle, Normal, new printer", NOZZLE_CHECK, "", true, {{"T300", Icon::Information}}},
      {"nozzle, U", NOZZLE_CHECK, "U", false, {NOT_READY, CONFIRM, CHECKED}},
      {"nozzle, U, new printer",
       NOZZLE_CHECK,
       "U",
       true,
       {{"T300", Icon::Information}, NOT_READY, CONFIRM, CHECKED}},
  };
  for (const RefreshCase& c : cases) {
    SCOPED_TRACE(c.name);
    fakes::ProgramWorld world(programs::TrevaloProfile());
    fakes::AddMaintenanceTexts(world);
    if (*c.launch) world.SetLaunchMode(c.launch);
    // The preview's answer to the confirmation changes nothing.
    world.fake.host->answers.assign(4, ui::Answer::Cancel);
    bool ran = fakes::RunTrevaloOnPage(world, c.page, c.printerChanged,
                                       [](fakes::FakeView&, shell::MainWindow&) {});
    ASSERT_TRUE(ran);
    EXPECT_EQ(SeenSince(world, 0), c.shown);
    EXPECT_TRUE(world.spooler->jobs.empty());
  }
}

TEST(ExecutionPages, CleaningPageLayoutTitleHelpAndClose) {
  fakes::ProgramWorld world(programs::TrevaloProfile());
  fakes::AddMaintenanceTexts(world);
  world.fake.files->Put(fakes::SettingsPath("Manual.ini"),
                        "MANUAL_0200=Manual\\cleaning.htm\r\nMANUAL_0300=Manual\\nozzle.htm\r\n");
  world.fake.registry->PutString(platform::HIVE_LOCAL_MACHINE, "SoftWare\\KALDO\\KALDO Maroset",
                                 "InstallPath", "C:\\Panel");
  bool ran = fakes::RunTrevaloOnPage(
      world, CLEANING, false, [&](fakes::FakeView& page, shell::MainWindow& frame) {
        EXPECT_EQ(page.title, "T40400 - Printer A");
        EXPECT_EQ(page.ClientSize(), (ui::Rect{0, 0, 600, 362}));
        EXPECT_EQ(page.controls[IDC_CLEANING_INFORMATION].rect, (ui::Rect{10, 80, 590, 325}));
        EXPECT_EQ(page.controls[IDC_CLEANING_EXECUTE].text, "T40101");
        EXPECT_EQ(page.controls[IDC_CLEANING_TEXT].text, "T40003");
        EXPECT_EQ(page.controls[IDC_CLEANING_INFORMATION].text,
                  "\n     T40004\n     T40005\n     T40006\n     T40007\n     T40008\n     T40014\n"
                  "     T40015\n\n     T40016");
        page.Click(IDC_HELP_BUTTON);
        EXPECT_EQ(world.fake.host->opened,
                  std::vector<std::string>{"C:\\Panel\\Manual\\cleaning.htm"});
        page.Click(IDC_CLEANING_CLOSE);
        EXPECT_EQ(frame.CurrentPage(), 0);
        EXPECT_FALSE(page.IsVisible());
      });
  ASSERT_TRUE(ran);
  EXPECT_TRUE(world.fake.host->missingControls.empty());
}

TEST(ExecutionPages, NozzleCheckPageLayoutTitleHelpAndClose) {
  fakes::ProgramWorld world(programs::TrevaloProfile());
  fakes::AddMaintenanceTexts(world);
  world.fake.files->Put(fakes::SettingsPath("Manual.ini"),
                        "MANUAL_0200=Manual\\cleaning.htm\r\nMANUAL_0300=Manual\\nozzle.htm\r\n");
  world.fake.registry->PutString(platform::HIVE_LOCAL_MACHINE, "SoftWare\\KALDO\\KALDO Maroset",
                                 "InstallPath", "C:\\Panel");
  bool ran = fakes::RunTrevaloOnPage(
      world, NOZZLE_CHECK, false, [&](fakes::FakeView& page, shell::MainWindow& frame) {
        EXPECT_EQ(page.title, "T50400 - Printer A");
        EXPECT_EQ(page.ClientSize(), (ui::Rect{0, 0, 600, 282}));
        EXPECT_EQ(page.controls[IDC_NOZZLE_PAGE_EXECUTE].rect, (ui::Rect{60, 95, 180, 125}));
        EXPECT_EQ(page.controls[IDC_NOZZLE_PAGE_TEXT].text, "T50003");
        EXPECT_EQ(page.controls[IDC_NOZZLE_PAGE_CLOSE].text, "T50102");
        EXPECT_EQ(page.controls[IDC_HELP_BUTTON].text, "T50101");
        page.Click(IDC_HELP_BUTTON);
        EXPECT_EQ(world.fake.host->opened,
                  std::vector<std::string>{"C:\\Panel\\Manual\\nozzle.htm"});
        page.Click(IDC_NOZZLE_PAGE_CLOSE);
        EXPECT_EQ(frame.CurrentPage(), 0);
      });
  ASSERT_TRUE(ran);
  EXPECT_TRUE(world.fake.host->missingControls.empty());
}

TEST(ExecutionPages, ChosenThroughPageZeroOnVersion61TheCleaningReachesThePrinter) {
  fakes::ProgramWorld world(programs::TrevaloProfile());
  fakes::AddMaintenanceTexts(world);
  world.fake.system->version = {6, 1};
  world.spooler->queues[0].portName = "KD1394D3_1";
  world.Remember(fakes::TEST_QUEUE);
  world.Run(programs::TrevaloPages(), [&](fakes::FakeView& main) {
    ASSERT_EQ(world.fake.host->guideLists.size(), 1u);
    world.fake.host->guideLists[0]->Click(1);  // the cleaning item
    ASSERT_EQ(static_cast<shell::MainWindow&>(main.handler).CurrentPage(), CLEANING);
    world.Window(IDD_CLEANING_PAGE)->Click(IDC_CLEANING_EXECUTE);
  });
  EXPECT_EQ(world.MessageTexts(), (std::vector<std::string>{"T300", "T40300"}));
  ASSERT_EQ(world.spooler->jobs.size(), 1u);
  printer_link::CommandStream expected = printer_link::CleaningPageStream();
  EXPECT_EQ(world.spooler->jobs[0].bytes,
            std::vector<uint8_t>(expected.bytes, expected.bytes + expected.length));
  EXPECT_FALSE(world.app->OpenedByPrinterChoice());
}

TEST(ExecutionPages, FillFormatTakesValuesInOrderAndLeavesThemAlone) {
  using cleaning::FillFormat;
  EXPECT_EQ(FillFormat("%s", {"50% off %s"}), "50% off %s");
  EXPECT_EQ(FillFormat("a %s b %s c", {"1"}), "a 1 b  c");
  EXPECT_EQ(FillFormat("none", {"x"}), "none");
  EXPECT_EQ(FillFormat("%d %s", {"x"}), "%d x");
}

}  // namespace
