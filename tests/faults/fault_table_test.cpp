// Every fault against every action: the messages the operator sees and what reaches the printer.
#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <ostream>
#include <string>

#include "cleaning/cleaning_page.h"
#include "cleaning/maintenance_page.h"
#include "cleaning/nozzle_check_page.h"
#include "firmware/firmware_file.h"
#include "firmware/firmware_page.h"
#include "link/command_framing.h"
#include "programs/kestrune/kestrune_tables.h"
#include "programs/sunnabar/sunnabar_tables.h"
#include "programs/trevalo/resource.h"
#include "programs/trevalo/trevalo_tables.h"
#include "tests/support/program_world.h"
#include "tests/support/trevalo_pages.h"

namespace {

using ui::Icon;

enum class Action {
  NozzleCheck,
  DeepCleaning,
  PrinterChoice,
  FirmwareRefresh,
  FirmwareUpdate,
  PageCleaning,     // Trevalo's cleaning page
  PageNozzleCheck,  // Trevalo's nozzle check page
  PageAdjustment,   // Trevalo's adjustment page, shown for the chosen printer
};
enum class Delivery { Nothing, Stream, Partial };

using Setup = std::function<void(fakes::ProgramWorld&)>;

struct Shown {
  const char* text;
  Icon icon;
};

struct FaultRow {
  const char* name;
  Action action;
  Setup setUp;  // before start-up; for an update, after the refresh and the file choice
  std::vector<Shown> messages;
  Delivery delivery;
};

// A failing row is named in the report, not dumped as bytes.
void PrintTo(const FaultRow& row, std::ostream* out) {
  *out << row.name;
}

constexpr char FIRMWARE_PATH[] = "D:\\Updates\\NEW.UPG";
constexpr char NEW_VERSION[] = "SN130315";

Setup WithFault(const char* fault) {
  return [fault](fakes::ProgramWorld& w) { w.printer.State().faults.insert(fault); };
}
Setup WithoutExport(const char* name) {
  return [name](fakes::ProgramWorld& w) { w.printer.State().missingExport = name; };
}
Setup ReadyOnTheLastPoll() {
  return [](fakes::ProgramWorld& w) {
    w.printer.State().readyAfter = w.printer.State().statusPolls + 2;
  };
}
Setup Spooler(std::function<void(fakes::RecordingSpooler&)> f) {
  return [f](fakes::ProgramWorld& w) { f(*w.spooler); };
}
Setup RefuseOpen() {
  return Spooler([](fakes::RecordingSpooler& s) { s.refuseOpen = true; });
}
Setup RefuseDocument() {
  return Spooler([](fakes::RecordingSpooler& s) { s.refuseStartDoc = true; });
}
Setup RefusePage() {
  return Spooler([](fakes::RecordingSpooler& s) { s.refuseStartPage = true; });
}
Setup RefuseWrite() {
  return Spooler([](fakes::RecordingSpooler& s) { s.refuseWrite = true; });
}
Setup ShortWrite() {
  return Spooler([](fakes::RecordingSpooler& s) { s.acceptOnly = 20; });
}
Setup DriverUnknownToTheMonitor() {
  return [](fakes::ProgramWorld& w) { w.spooler->queues[0].driverName = "KALDO Model 7000"; };
}

std::vector<Shown> Says(const char* text, Icon icon) {
  return {{text, icon}};
}
std::vector<Shown> Silent() {
  return {};
}

const std::vector<Shown> NOT_READY = Says("T302", Icon::Warning);
const std::vector<Shown> WRONG = Says("T305", Icon::Error);
const std::vector<Shown> NOZZLE_SENT = Says("T308", Icon::Information);
const std::vector<Shown> CLEANING_SENT = Says("T306", Icon::Information);
const std::vector<Shown> NO_VERSION = Says("T306", Icon::Warning);
const std::vector<Shown> UPDATED = Says("T309", Icon::Information);

// Trevalo's pages.
const std::vector<Shown> PAGE_WRONG = Says("T310", Icon::Error);
const std::vector<Shown> PAGE_NOT_READY = Says("T312", Icon::Warning);
const std::vector<Shown> PAGE_GONE = Says("T330", Icon::Error);
const std::vector<Shown> PAGE_CLEANED = Says("T40300", Icon::Information);
// The nozzle check page asks before anything else.
std::vector<Shown> Asked(std::vector<Shown> then) {
  then.insert(then.begin(), Shown{"T50300", Icon::Question});
  return then;
}
Setup QueueRenamed() {
  return Spooler([](fakes::RecordingSpooler& s) { s.queues[0].printerName = "Printer B"; });
}
// Another queue on an accepted port keeps page 0 from ending the program at start.
Setup PortRefused() {
  return Spooler([](fakes::RecordingSpooler& s) {
    s.queues[0].portName = "COM1:";
    s.AddQueue("Printer B", "USB002", fakes::TEST_DRIVER);
  });
}
Setup DriverOpenFails() {
  return [](fakes::ProgramWorld& w) { w.printer.State().driver.openFails = true; };
}
Setup DriverRefuses(int item) {
  return [item](fakes::ProgramWorld& w) { w.printer.State().driver.refusedItems.insert(item); };
}
Setup NoDriverInformation() {
  return Spooler([](fakes::RecordingSpooler& s) { s.driverInfo.clear(); });
}
Setup Healthy() {
  return [](fakes::ProgramWorld&) {};
}
Setup Cancelled() {
  return [](fakes::ProgramWorld& w) { w.fake.host->answers.push_back(ui::Answer::Cancel); };
}

const FaultRow ROWS[] = {
    // Nozzle check: identity first, then readiness, then the job.
    {"nozzle/library missing", Action::NozzleCheck, WithFault(sim::FAULT_NO_LIBRARY), WRONG,
     Delivery::Nothing},
    {"nozzle/device id export missing", Action::NozzleCheck, WithoutExport("KBGetDeviceID"), WRONG,
     Delivery::Nothing},
    {"nozzle/status export missing", Action::NozzleCheck, WithoutExport("KBGetStatus"), NOT_READY,
     Delivery::Nothing},
    // A bind whose initialisation failed stays loaded; the printer still answers through it.
    {"nozzle/initialise fails", Action::NozzleCheck, WithFault(sim::FAULT_INIT_FAILS), NOZZLE_SENT,
     Delivery::Stream},
    {"nozzle/no usable channel", Action::NozzleCheck, WithFault(sim::FAULT_NO_CHANNEL), NOT_READY,
     Delivery::Nothing},
    {"nozzle/open fails", Action::NozzleCheck, WithFault(sim::FAULT_OPEN_FAILS), NOT_READY,
     Delivery::Nothing},
    {"nozzle/status without CR LF", Action::NozzleCheck, WithFault(sim::FAULT_STATUS_NO_CRLF),
     NOT_READY, Delivery::Nothing},
    {"nozzle/status length beyond reply", Action::NozzleCheck,
     WithFault(sim::FAULT_STATUS_OVERLONG), NOT_READY, Delivery::Nothing},
    {"nozzle/never ready", Action::NozzleCheck, WithFault(sim::FAULT_NEVER_READY), NOT_READY,
     Delivery::Nothing},
    {"nozzle/ready on the last poll", Action::NozzleCheck, ReadyOnTheLastPoll(), NOZZLE_SENT,
     Delivery::Stream},
    {"nozzle/silent printer", Action::NozzleCheck, WithFault(sim::FAULT_SILENT), NOZZLE_SENT,
     Delivery::Stream},
    {"nozzle/wrong model", Action::NozzleCheck, WithFault(sim::FAULT_WRONG_MODEL), WRONG,
     Delivery::Nothing},
    {"nozzle/printer switched off", Action::NozzleCheck, WithFault(sim::FAULT_OFFLINE), WRONG,
     Delivery::Nothing},
    {"nozzle/spooler refuses open", Action::NozzleCheck, RefuseOpen(), Silent(), Delivery::Nothing},
    {"nozzle/spooler refuses document", Action::NozzleCheck, RefuseDocument(), Silent(),
     Delivery::Nothing},
    {"nozzle/spooler refuses page", Action::NozzleCheck, RefusePage(), Silent(), Delivery::Nothing},
    {"nozzle/spooler refuses write", Action::NozzleCheck, RefuseWrite(), Silent(),
     Delivery::Nothing},
    {"nozzle/short write", Action::NozzleCheck, ShortWrite(), Silent(), Delivery::Partial},

    // Deep cleaning: the same gate, then its own status read and checks.
    {"cleaning/library missing", Action::DeepCleaning, WithFault(sim::FAULT_NO_LIBRARY), WRONG,
     Delivery::Nothing},
    {"cleaning/device id export missing", Action::DeepCleaning, WithoutExport("KBGetDeviceID"),
     WRONG, Delivery::Nothing},
    {"cleaning/initialise fails", Action::DeepCleaning, WithFault(sim::FAULT_INIT_FAILS),
     CLEANING_SENT, Delivery::Stream},
    {"cleaning/no usable channel", Action::DeepCleaning, WithFault(sim::FAULT_NO_CHANNEL),
     NOT_READY, Delivery::Nothing},
    {"cleaning/open fails", Action::DeepCleaning, WithFault(sim::FAULT_OPEN_FAILS), NOT_READY,
     Delivery::Nothing},
    {"cleaning/status without CR LF", Action::DeepCleaning, WithFault(sim::FAULT_STATUS_NO_CRLF),
     NOT_READY, Delivery::Nothing},
    {"cleaning/status length beyond reply", Action::DeepCleaning,
     WithFault(sim::FAULT_STATUS_OVERLONG), NOT_READY, Delivery::Nothing},
    {"cleaning/never ready", Action::DeepCleaning, WithFault(sim::FAULT_NEVER_READY), NOT_READY,
     Delivery::Nothing},
    {"cleaning/ready on the last poll", Action::DeepCleaning, ReadyOnTheLastPoll(), CLEANING_SENT,
     Delivery::Stream},
    {"cleaning/silent printer", Action::DeepCleaning, WithFault(sim::FAULT_SILENT), CLEANING_SENT,
     Delivery::Stream},
    {"cleaning/wrong model", Action::DeepCleaning, WithFault(sim::FAULT_WRONG_MODEL), WRONG,
     Delivery::Nothing},
    {"cleaning/spooler refuses open", Action::DeepCleaning, RefuseOpen(), Silent(),
     Delivery::Nothing},
    {"cleaning/spooler refuses document", Action::DeepCleaning, RefuseDocument(), Silent(),
     Delivery::Nothing},
    {"cleaning/spooler refuses page", Action::DeepCleaning, RefusePage(), Silent(),
     Delivery::Nothing},
    {"cleaning/spooler refuses write", Action::DeepCleaning, RefuseWrite(), Silent(),
     Delivery::Nothing},
    {"cleaning/short write", Action::DeepCleaning, ShortWrite(), Silent(), Delivery::Partial},

    // The printer choice itself says nothing of the library; only the status monitor speaks.
    {"choice/library missing", Action::PrinterChoice, WithFault(sim::FAULT_NO_LIBRARY), Silent(),
     Delivery::Nothing},
    {"choice/export missing", Action::PrinterChoice, WithoutExport("KBReceive"), Silent(),
     Delivery::Nothing},
    {"choice/initialise fails", Action::PrinterChoice, WithFault(sim::FAULT_INIT_FAILS), Silent(),
     Delivery::Nothing},
    {"choice/no usable channel", Action::PrinterChoice, WithFault(sim::FAULT_NO_CHANNEL), Silent(),
     Delivery::Nothing},
    {"choice/wrong model", Action::PrinterChoice, WithFault(sim::FAULT_WRONG_MODEL), Silent(),
     Delivery::Nothing},
    {"choice/spooler refuses open", Action::PrinterChoice, RefuseOpen(), Silent(),
     Delivery::Nothing},
    {"choice/driver unknown to the status monitor", Action::PrinterChoice,
     DriverUnknownToTheMonitor(), Says("T380", Icon::Error), Delivery::Nothing},

    // Sunnabar's refresh after the printer choice: identity, then the version query.
    {"refresh/library missing", Action::FirmwareRefresh, WithFault(sim::FAULT_NO_LIBRARY), WRONG,
     Delivery::Nothing},
    {"refresh/device id export missing", Action::FirmwareRefresh, WithoutExport("KBGetDeviceID"),
     WRONG, Delivery::Nothing},
    {"refresh/receive export missing", Action::FirmwareRefresh, WithoutExport("KBReceive"),
     NO_VERSION, Delivery::Nothing},
    {"refresh/initialise fails", Action::FirmwareRefresh, WithFault(sim::FAULT_INIT_FAILS),
     Silent(), Delivery::Nothing},
    {"refresh/no usable channel", Action::FirmwareRefresh, WithFault(sim::FAULT_NO_CHANNEL),
     NO_VERSION, Delivery::Nothing},
    {"refresh/open fails", Action::FirmwareRefresh, WithFault(sim::FAULT_OPEN_FAILS), NO_VERSION,
     Delivery::Nothing},
    {"refresh/status without CR LF", Action::FirmwareRefresh, WithFault(sim::FAULT_STATUS_NO_CRLF),
     Silent(), Delivery::Nothing},
    {"refresh/never ready", Action::FirmwareRefresh, WithFault(sim::FAULT_NEVER_READY), Silent(),
     Delivery::Nothing},
    {"refresh/silent printer", Action::FirmwareRefresh, WithFault(sim::FAULT_SILENT), NO_VERSION,
     Delivery::Nothing},
    {"refresh/wrong model", Action::FirmwareRefresh, WithFault(sim::FAULT_WRONG_MODEL), WRONG,
     Delivery::Nothing},
    {"refresh/driver unknown to the status monitor", Action::FirmwareRefresh,
     DriverUnknownToTheMonitor(), Says("T380", Icon::Error), Delivery::Nothing},

    // Sunnabar's update, faults arising after the file was chosen.
    {"update/no usable channel", Action::FirmwareUpdate, WithFault(sim::FAULT_NO_CHANNEL),
     NOT_READY, Delivery::Nothing},
    {"update/open fails", Action::FirmwareUpdate, WithFault(sim::FAULT_OPEN_FAILS), NOT_READY,
     Delivery::Nothing},
    {"update/status without CR LF", Action::FirmwareUpdate, WithFault(sim::FAULT_STATUS_NO_CRLF),
     NOT_READY, Delivery::Nothing},
    {"update/status length beyond reply", Action::FirmwareUpdate,
     WithFault(sim::FAULT_STATUS_OVERLONG), NOT_READY, Delivery::Nothing},
    {"update/never ready", Action::FirmwareUpdate, WithFault(sim::FAULT_NEVER_READY), NOT_READY,
     Delivery::Nothing},
    {"update/ready on the last poll", Action::FirmwareUpdate, ReadyOnTheLastPoll(), UPDATED,
     Delivery::Stream},
    {"update/silent after restart", Action::FirmwareUpdate, WithFault(sim::FAULT_SILENT),
     Says("T311", Icon::Warning), Delivery::Stream},
    {"update/wrong model", Action::FirmwareUpdate, WithFault(sim::FAULT_WRONG_MODEL), WRONG,
     Delivery::Nothing},
    {"update/printer switched off", Action::FirmwareUpdate, WithFault(sim::FAULT_OFFLINE), WRONG,
     Delivery::Nothing},
    {"update/spooler refuses open", Action::FirmwareUpdate, RefuseOpen(), NOT_READY,
     Delivery::Nothing},
    {"update/spooler refuses document", Action::FirmwareUpdate, RefuseDocument(), NOT_READY,
     Delivery::Nothing},
    {"update/spooler refuses page", Action::FirmwareUpdate, RefusePage(), NOT_READY,
     Delivery::Nothing},
    {"update/spooler refuses write", Action::FirmwareUpdate, RefuseWrite(), NOT_READY,
     Delivery::Nothing},
    {"update/short write", Action::FirmwareUpdate, ShortWrite(), NOT_READY, Delivery::Partial},
    {"update/printer vanishes in its restart",
     Action::FirmwareUpdate,
     WithFault(sim::FAULT_VANISHES),
     {{"T310", Icon::Warning}, {"T312", Icon::Warning}},
     Delivery::Stream},

    // Trevalo's cleaning page: installed, identity, readiness, then the job; a refused job is
    // not reported as handed over.
    {"page cleaning/library missing", Action::PageCleaning, WithFault(sim::FAULT_NO_LIBRARY),
     PAGE_WRONG, Delivery::Nothing},
    {"page cleaning/device id export missing", Action::PageCleaning, WithoutExport("KBGetDeviceID"),
     PAGE_WRONG, Delivery::Nothing},
    {"page cleaning/initialise fails", Action::PageCleaning, WithFault(sim::FAULT_INIT_FAILS),
     PAGE_CLEANED, Delivery::Stream},
    {"page cleaning/no usable channel", Action::PageCleaning, WithFault(sim::FAULT_NO_CHANNEL),
     PAGE_NOT_READY, Delivery::Nothing},
    {"page cleaning/open fails", Action::PageCleaning, WithFault(sim::FAULT_OPEN_FAILS),
     PAGE_NOT_READY, Delivery::Nothing},
    {"page cleaning/never ready", Action::PageCleaning, WithFault(sim::FAULT_NEVER_READY),
     PAGE_NOT_READY, Delivery::Nothing},
    {"page cleaning/ready on the last poll", Action::PageCleaning, ReadyOnTheLastPoll(),
     PAGE_CLEANED, Delivery::Stream},
    {"page cleaning/silent printer", Action::PageCleaning, WithFault(sim::FAULT_SILENT),
     PAGE_CLEANED, Delivery::Stream},
    {"page cleaning/wrong model", Action::PageCleaning, WithFault(sim::FAULT_WRONG_MODEL),
     PAGE_WRONG, Delivery::Nothing},
    {"page cleaning/printer switched off", Action::PageCleaning, WithFault(sim::FAULT_OFFLINE),
     PAGE_WRONG, Delivery::Nothing},
    {"page cleaning/printer removed since chosen", Action::PageCleaning, QueueRenamed(), PAGE_GONE,
     Delivery::Nothing},
    {"page cleaning/port refused", Action::PageCleaning, PortRefused(), PAGE_GONE,
     Delivery::Nothing},
    {"page cleaning/spooler refuses open", Action::PageCleaning, RefuseOpen(), Silent(),
     Delivery::Nothing},
    {"page cleaning/spooler refuses document", Action::PageCleaning, RefuseDocument(), Silent(),
     Delivery::Nothing},
    {"page cleaning/spooler refuses page", Action::PageCleaning, RefusePage(), Silent(),
     Delivery::Nothing},
    {"page cleaning/spooler refuses write", Action::PageCleaning, RefuseWrite(), Silent(),
     Delivery::Nothing},
    {"page cleaning/short write", Action::PageCleaning, ShortWrite(), Silent(), Delivery::Partial},

    // Trevalo's nozzle check page: the same after its question.
    {"page nozzle/cancelled", Action::PageNozzleCheck, Cancelled(), Asked({}), Delivery::Nothing},
    {"page nozzle/library missing", Action::PageNozzleCheck, WithFault(sim::FAULT_NO_LIBRARY),
     Asked(PAGE_WRONG), Delivery::Nothing},
    {"page nozzle/no usable channel", Action::PageNozzleCheck, WithFault(sim::FAULT_NO_CHANNEL),
     Asked(PAGE_NOT_READY), Delivery::Nothing},
    {"page nozzle/never ready", Action::PageNozzleCheck, WithFault(sim::FAULT_NEVER_READY),
     Asked(PAGE_NOT_READY), Delivery::Nothing},
    {"page nozzle/ready on the last poll", Action::PageNozzleCheck, ReadyOnTheLastPoll(),
     Asked(Says("T50303", Icon::Information)), Delivery::Stream},
    {"page nozzle/wrong model", Action::PageNozzleCheck, WithFault(sim::FAULT_WRONG_MODEL),
     Asked(PAGE_WRONG), Delivery::Nothing},
    {"page nozzle/printer removed since chosen", Action::PageNozzleCheck, QueueRenamed(),
     Asked(PAGE_GONE), Delivery::Nothing},
    {"page nozzle/port refused", Action::PageNozzleCheck, PortRefused(), Asked(PAGE_GONE),
     Delivery::Nothing},
    {"page nozzle/spooler refuses document", Action::PageNozzleCheck, RefuseDocument(), Asked({}),
     Delivery::Nothing},
    {"page nozzle/short write", Action::PageNozzleCheck, ShortWrite(), Asked({}),
     Delivery::Partial},

    // Trevalo's adjustment page lists the driver's media for the roll as it is shown; whatever
    // keeps the driver from taking the roll handling is text 318 and empty lists.
    {"page adjustment/driver healthy", Action::PageAdjustment, Healthy(), Silent(),
     Delivery::Nothing},
    {"page adjustment/KDDM_Open fails", Action::PageAdjustment, DriverOpenFails(),
     Says("T318", Icon::Warning), Delivery::Nothing},
    {"page adjustment/paper handling refused", Action::PageAdjustment,
     DriverRefuses(printer_link::ITEM_PAPER_HANDLING), Says("T318", Icon::Warning),
     Delivery::Nothing},
    {"page adjustment/driver-settings library not beside the driver", Action::PageAdjustment,
     NoDriverInformation(), Says("T318", Icon::Warning), Delivery::Nothing},
};

bool IsKestrune(Action action) {
  return action == Action::NozzleCheck || action == Action::DeepCleaning ||
         action == Action::PrinterChoice;
}

bool IsTrevalo(Action action) {
  return action == Action::PageCleaning || action == Action::PageNozzleCheck ||
         action == Action::PageAdjustment;
}

int TrevaloPageOf(Action action) {
  return action == Action::PageAdjustment ? 1 : action == Action::PageCleaning ? 2 : 3;
}

shell::ProgramProfile ProfileFor(Action action) {
  if (IsKestrune(action)) return programs::KestruneProfile();
  if (IsTrevalo(action)) return programs::TrevaloProfile();
  return programs::SunnabarProfile();
}

std::vector<uint8_t> Expected(Action action, const std::vector<uint8_t>& firmware) {
  if (action == Action::FirmwareUpdate) {
    // The simulated printer's version does not end in "0000": the stream has its lead-in.
    std::vector<uint8_t> stream;
    stream.reserve(firmware::FW_LEAD_IN_SIZE + firmware::FW_UPDATE_HEADER_SIZE + firmware.size());
    stream.assign(firmware::FW_LEAD_IN_SIZE, firmware::FW_LEAD_IN_BYTE);
    stream.insert(stream.end(), firmware::FW_UPDATE_HEADER,
                  firmware::FW_UPDATE_HEADER + firmware::FW_UPDATE_HEADER_SIZE);
    stream.insert(stream.end(), firmware.begin(), firmware.end());
    return stream;
  }
  printer_link::CommandStream s =
      action == Action::NozzleCheck       ? printer_link::NozzleCheckStream()
      : action == Action::PageCleaning    ? printer_link::CleaningPageStream()
      : action == Action::PageNozzleCheck ? printer_link::NozzleCheckPageStream()
                                          : printer_link::DeepCleaningStream();
  return std::vector<uint8_t>(s.bytes, s.bytes + s.length);
}

class FaultTable : public ::testing::TestWithParam<FaultRow> {};

TEST_P(FaultTable, MessagesAndDelivery) {
  const FaultRow& row = GetParam();
  bool kestrune = IsKestrune(row.action);
  fakes::ProgramWorld world(ProfileFor(row.action));
  world.Remember(fakes::TEST_QUEUE);
  std::vector<uint8_t> firmware = firmware::MakeFirmwareFile(NEW_VERSION, 4096);
  world.fake.files->Put(FIRMWARE_PATH, std::string(firmware.begin(), firmware.end()));
  world.fake.host->chooseFileResult = true;
  world.fake.host->chosenFile = FIRMWARE_PATH;
  if (row.action != Action::FirmwareUpdate) row.setUp(world);

  size_t before = 0;
  if (IsTrevalo(row.action)) {
    // The page is shown for the test printer as the printer choice leaves it; the row's fault
    // was in place before.
    fakes::AddMaintenanceTexts(world);
    bool cleaning = row.action == Action::PageCleaning;
    bool adjustment = row.action == Action::PageAdjustment;
    // The adjustment page needs the driver-settings library object and the media table.
    if (adjustment) {
      world.app->SetProgramObjects(std::make_unique<programs::TrevaloObjects>());
      world.fake.files->Put(fakes::SettingsPath("MediaP1.ini"),
                            "MEDIAP1_NUM=1\r\nMEDIAP1_001=5,12,0,0,1,3,-1,-1,-1,-1\r\n");
    }
    bool ran = fakes::RunTrevaloOnPage(
        world, TrevaloPageOf(row.action), false, [&](fakes::FakeView& page, shell::MainWindow&) {
          if (adjustment) {
            // Its outcome is the showing itself; the lists follow it.
            bool listed = !page.controls[IDC_MEDIA_LIST].items.empty();
            EXPECT_EQ(listed, row.messages.empty());
            EXPECT_EQ(!page.controls[IDC_QUALITY_LIST].items.empty(), listed);
            EXPECT_TRUE(world.printer.State().driver.handles.empty());
            return;
          }
          ASSERT_TRUE(world.fake.host->messages.empty()) << world.MessageTexts()[0];
          page.Click(cleaning ? IDC_CLEANING_EXECUTE : IDC_NOZZLE_PAGE_EXECUTE);
        });
    ASSERT_TRUE(ran);
  } else {
    world.Run(kestrune ? programs::KestrunePages() : programs::SunnabarPages(),
              [&](fakes::FakeView& main) {
                if (row.action == Action::PrinterChoice) return;
                if (!kestrune) {
                  main.ChooseComboEntry(IDC_PRINTER_LIST, 0, ui::COMBO_SELECTION_CHANGED);
                  if (row.action == Action::FirmwareRefresh) return;
                  fakes::FakeView* page = world.Window(IDD_FIRMWARE_PAGE);
                  ASSERT_TRUE(page->IsControlEnabled(IDC_BROWSE));
                  page->Click(IDC_BROWSE);
                  ASSERT_TRUE(page->IsControlEnabled(IDC_UPDATE));
                  ASSERT_TRUE(world.fake.host->messages.empty()) << world.MessageTexts()[0];
                  row.setUp(world);
                  page->Click(IDC_UPDATE);
                  return;
                }
                ASSERT_TRUE(world.fake.host->messages.empty()) << world.MessageTexts()[0];
                int button =
                    row.action == Action::NozzleCheck ? IDC_NOZZLE_CHECK : IDC_DEEP_CLEANING;
                world.Window(IDD_MAINTENANCE_PAGE)->Click(button);
              });
  }

  const auto& messages = world.fake.host->messages;
  ASSERT_EQ(messages.size(), before + row.messages.size())
      << "first: " << (messages.empty() ? std::string("none") : messages[0].text);
  for (size_t i = 0; i < row.messages.size(); ++i) {
    EXPECT_EQ(messages[before + i].text, row.messages[i].text);
    EXPECT_EQ(messages[before + i].icon, row.messages[i].icon);
  }

  std::vector<std::vector<uint8_t>> delivered;
  for (const auto& job : world.spooler->jobs) {
    if (!job.bytes.empty()) delivered.push_back(job.bytes);
  }
  std::vector<uint8_t> whole = Expected(row.action, firmware);
  switch (row.delivery) {
    case Delivery::Nothing:
      EXPECT_TRUE(delivered.empty());
      break;
    case Delivery::Stream:
      ASSERT_EQ(delivered.size(), 1u);
      EXPECT_TRUE(delivered[0] == whole) << delivered[0].size() << " bytes";
      break;
    case Delivery::Partial:
      ASSERT_EQ(delivered.size(), 1u);
      EXPECT_LT(delivered[0].size(), whole.size());
      EXPECT_TRUE(std::equal(delivered[0].begin(), delivered[0].end(), whole.begin()));
      break;
  }
  EXPECT_TRUE(world.spooler->Balanced());
}

std::string RowName(const ::testing::TestParamInfo<FaultRow>& info) {
  std::string name;
  for (const char* c = info.param.name; *c; ++c) {
    name.push_back(std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_');
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Suite, FaultTable, ::testing::ValuesIn(ROWS), RowName);

TEST(FaultRows, AreReportedByName) {
  EXPECT_EQ(::testing::PrintToString(ROWS[0]), ROWS[0].name);
}

// Trevalo's printer choice on a version 6.1 system, through a guide item of page 0 that opens the
// cleaning page.
struct TrevaloFaultRow {
  const char* name;
  const char* port;  // of the only queue
  bool driverSettingsBesideDriver;
  std::vector<Shown> messages;
  int pageAfter;  // the page current after the guide item; -1: the window ended at start
};

void PrintTo(const TrevaloFaultRow& row, std::ostream* out) {
  *out << row.name;
}

const TrevaloFaultRow TREVALO_ROWS[] = {
    // Refused ports are never listed, so they can never be chosen nor get a job.
    {"port the rule refuses", "USB001", true, Says("T330", Icon::Error), -1},
    // The cleaning page opened by the choice says so (text 300).
    {"port the rule accepts", "KD1394D3_1", true, Says("T300", Icon::Information), 2},
    // The frame binds at the switch and says nothing; the page's own calls then fail softly.
    {"driver-settings library not found at a page switch", "KD1394D3_1", false,
     Says("T300", Icon::Information), 2},
};

class TrevaloFaultTable : public ::testing::TestWithParam<TrevaloFaultRow> {};

TEST_P(TrevaloFaultTable, MessagesAndDelivery) {
  const TrevaloFaultRow& row = GetParam();
  fakes::ProgramWorld world(programs::TrevaloProfile());
  world.fake.system->version = {6, 1};
  world.spooler->queues[0].portName = row.port;
  if (!row.driverSettingsBesideDriver) world.spooler->driverInfo.clear();
  world.app->SetProgramObjects(std::make_unique<programs::TrevaloObjects>());
  world.Remember(fakes::TEST_QUEUE);
  int pageAfter = -1;
  world.Run(programs::TrevaloPages(), [&](fakes::FakeView& main) {
    ASSERT_EQ(world.fake.host->guideLists.size(), 1u);
    world.fake.host->guideLists[0]->Click(1);
    pageAfter = static_cast<shell::MainWindow&>(main.handler).CurrentPage();
  });
  EXPECT_EQ(pageAfter, row.pageAfter);
  const auto& messages = world.fake.host->messages;
  ASSERT_EQ(messages.size(), row.messages.size());
  for (size_t i = 0; i < row.messages.size(); ++i) {
    EXPECT_EQ(messages[i].text, row.messages[i].text);
    EXPECT_EQ(messages[i].icon, row.messages[i].icon);
  }
  for (const auto& job : world.spooler->jobs) EXPECT_TRUE(job.bytes.empty());
  EXPECT_TRUE(world.spooler->Balanced());
}

std::string TrevaloRowName(const ::testing::TestParamInfo<TrevaloFaultRow>& info) {
  std::string name;
  for (const char* c = info.param.name; *c; ++c) {
    name.push_back(std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_');
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Trevalo, TrevaloFaultTable, ::testing::ValuesIn(TREVALO_ROWS),
                         TrevaloRowName);

}  // namespace
