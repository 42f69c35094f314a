// Every fault against every action: the message the operator sees and what reaches the printer.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "cleaning/maintenance_page.h"
#include "link/command_framing.h"
#include "programs/kestrune/kestrune_tables.h"
#include "tests/support/kestrune_world.h"

namespace {

using ui::Icon;

enum class Action { NozzleCheck, DeepCleaning, PrinterChoice };
enum class Delivery { Nothing, Stream, Partial };

using Setup = std::function<void(fakes::ProgramWorld&)>;

struct FaultRow {
  const char* name;
  Action action;
  Setup setUp;
  const char* text;  // "" = no message
  Icon icon;
  Delivery delivery;
};

void Fault(fakes::ProgramWorld& w, const char* fault) {
  w.printer.State().faults.insert(fault);
}

Setup WithFault(const char* fault) {
  return [fault](fakes::ProgramWorld& w) { Fault(w, fault); };
}
Setup WithoutExport(const char* name) {
  return [name](fakes::ProgramWorld& w) { w.printer.State().missingExport = name; };
}
Setup ReadyOnTheLastPoll() {
  return [](fakes::ProgramWorld& w) { w.printer.State().readyAfter = 2; };
}
Setup Spooler(std::function<void(fakes::RecordingSpooler&)> f) {
  return [f](fakes::ProgramWorld& w) { f(*w.spooler); };
}

const FaultRow ROWS[] = {
    // Nozzle check: identity first, then readiness, then the job.
    {"nozzle/library missing", Action::NozzleCheck, WithFault(sim::FAULT_NO_LIBRARY), "T305",
     Icon::Error, Delivery::Nothing},
    {"nozzle/device id export missing", Action::NozzleCheck, WithoutExport("KBGetDeviceID"), "T305",
     Icon::Error, Delivery::Nothing},
    {"nozzle/status export missing", Action::NozzleCheck, WithoutExport("KBGetStatus"), "T302",
     Icon::Warning, Delivery::Nothing},
    // A bind whose initialisation failed stays loaded; the printer still answers through it.
    {"nozzle/initialise fails", Action::NozzleCheck, WithFault(sim::FAULT_INIT_FAILS), "T308",
     Icon::Information, Delivery::Stream},
    {"nozzle/no usable channel", Action::NozzleCheck, WithFault(sim::FAULT_NO_CHANNEL), "T302",
     Icon::Warning, Delivery::Nothing},
    {"nozzle/open fails", Action::NozzleCheck, WithFault(sim::FAULT_OPEN_FAILS), "T302",
     Icon::Warning, Delivery::Nothing},
    {"nozzle/status without CR LF", Action::NozzleCheck, WithFault(sim::FAULT_STATUS_NO_CRLF),
     "T302", Icon::Warning, Delivery::Nothing},
    {"nozzle/status length beyond reply", Action::NozzleCheck,
     WithFault(sim::FAULT_STATUS_OVERLONG), "T302", Icon::Warning, Delivery::Nothing},
    {"nozzle/never ready", Action::NozzleCheck, WithFault(sim::FAULT_NEVER_READY), "T302",
     Icon::Warning, Delivery::Nothing},
    {"nozzle/ready on the last poll", Action::NozzleCheck, ReadyOnTheLastPoll(), "T308",
     Icon::Information, Delivery::Stream},
    {"nozzle/silent printer", Action::NozzleCheck, WithFault(sim::FAULT_SILENT), "T308",
     Icon::Information, Delivery::Stream},
    {"nozzle/wrong model", Action::NozzleCheck, WithFault(sim::FAULT_WRONG_MODEL), "T305",
     Icon::Error, Delivery::Nothing},
    {"nozzle/printer switched off", Action::NozzleCheck, WithFault(sim::FAULT_OFFLINE), "T305",
     Icon::Error, Delivery::Nothing},
    {"nozzle/spooler refuses open", Action::NozzleCheck,
     Spooler([](fakes::RecordingSpooler& s) { s.refuseOpen = true; }), "", Icon::None,
     Delivery::Nothing},
    {"nozzle/spooler refuses document", Action::NozzleCheck,
     Spooler([](fakes::RecordingSpooler& s) { s.refuseStartDoc = true; }), "", Icon::None,
     Delivery::Nothing},
    {"nozzle/spooler refuses page", Action::NozzleCheck,
     Spooler([](fakes::RecordingSpooler& s) { s.refuseStartPage = true; }), "", Icon::None,
     Delivery::Nothing},
    {"nozzle/spooler refuses write", Action::NozzleCheck,
     Spooler([](fakes::RecordingSpooler& s) { s.refuseWrite = true; }), "", Icon::None,
     Delivery::Nothing},
    {"nozzle/short write", Action::NozzleCheck,
     Spooler([](fakes::RecordingSpooler& s) { s.acceptOnly = 20; }), "", Icon::None,
     Delivery::Partial},

    // Deep cleaning: the same gate, then its own status read and checks.
    {"cleaning/library missing", Action::DeepCleaning, WithFault(sim::FAULT_NO_LIBRARY), "T305",
     Icon::Error, Delivery::Nothing},
    {"cleaning/device id export missing", Action::DeepCleaning, WithoutExport("KBGetDeviceID"),
     "T305", Icon::Error, Delivery::Nothing},
    {"cleaning/initialise fails", Action::DeepCleaning, WithFault(sim::FAULT_INIT_FAILS), "T306",
     Icon::Information, Delivery::Stream},
    {"cleaning/no usable channel", Action::DeepCleaning, WithFault(sim::FAULT_NO_CHANNEL), "T302",
     Icon::Warning, Delivery::Nothing},
    {"cleaning/open fails", Action::DeepCleaning, WithFault(sim::FAULT_OPEN_FAILS), "T302",
     Icon::Warning, Delivery::Nothing},
    {"cleaning/status without CR LF", Action::DeepCleaning, WithFault(sim::FAULT_STATUS_NO_CRLF),
     "T302", Icon::Warning, Delivery::Nothing},
    {"cleaning/status length beyond reply", Action::DeepCleaning,
     WithFault(sim::FAULT_STATUS_OVERLONG), "T302", Icon::Warning, Delivery::Nothing},
    {"cleaning/never ready", Action::DeepCleaning, WithFault(sim::FAULT_NEVER_READY), "T302",
     Icon::Warning, Delivery::Nothing},
    {"cleaning/ready on the last poll", Action::DeepCleaning, ReadyOnTheLastPoll(), "T306",
     Icon::Information, Delivery::Stream},
    {"cleaning/silent printer", Action::DeepCleaning, WithFault(sim::FAULT_SILENT), "T306",
     Icon::Information, Delivery::Stream},
    {"cleaning/wrong model", Action::DeepCleaning, WithFault(sim::FAULT_WRONG_MODEL), "T305",
     Icon::Error, Delivery::Nothing},
    {"cleaning/spooler refuses open", Action::DeepCleaning,
     Spooler([](fakes::RecordingSpooler& s) { s.refuseOpen = true; }), "", Icon::None,
     Delivery::Nothing},
    {"cleaning/spooler refuses document", Action::DeepCleaning,
     Spooler([](fakes::RecordingSpooler& s) { s.refuseStartDoc = true; }), "", Icon::None,
     Delivery::Nothing},
    {"cleaning/spooler refuses page", Action::DeepCleaning,
     Spooler([](fakes::RecordingSpooler& s) { s.refuseStartPage = true; }), "", Icon::None,
     Delivery::Nothing},
    {"cleaning/spooler refuses write", Action::DeepCleaning,
     Spooler([](fakes::RecordingSpooler& s) { s.refuseWrite = true; }), "", Icon::None,
     Delivery::Nothing},
    {"cleaning/short write", Action::DeepCleaning,
     Spooler([](fakes::RecordingSpooler& s) { s.acceptOnly = 20; }), "", Icon::None,
     Delivery::Partial},

    // The printer choice itself says nothing of the library; only the status monitor speaks.
    {"choice/library missing", Action::PrinterChoice, WithFault(sim::FAULT_NO_LIBRARY), "",
     Icon::None, Delivery::Nothing},
    {"choice/export missing", Action::PrinterChoice, WithoutExport("KBReceive"), "", Icon::None,
     Delivery::Nothing},
    {"choice/initialise fails", Action::PrinterChoice, WithFault(sim::FAULT_INIT_FAILS), "",
     Icon::None, Delivery::Nothing},
    {"choice/no usable channel", Action::PrinterChoice, WithFault(sim::FAULT_NO_CHANNEL), "",
     Icon::None, Delivery::Nothing},
    {"choice/wrong model", Action::PrinterChoice, WithFault(sim::FAULT_WRONG_MODEL), "", Icon::None,
     Delivery::Nothing},
    {"choice/spooler refuses open", Action::PrinterChoice,
     Spooler([](fakes::RecordingSpooler& s) { s.refuseOpen = true; }), "", Icon::None,
     Delivery::Nothing},
    {"choice/driver unknown to the status monitor", Action::PrinterChoice,
     [](fakes::ProgramWorld& w) { w.spooler->queues[0].driverName = "KALDO Model 7000"; }, "T380",
     Icon::Error, Delivery::Nothing},
};

std::vector<uint8_t> Expected(Action action) {
  printer_link::CommandStream s = action == Action::NozzleCheck
                                      ? printer_link::NozzleCheckStream()
                                      : printer_link::DeepCleaningStream();
  return std::vector<uint8_t>(s.bytes, s.bytes + s.length);
}

class FaultTable : public ::testing::TestWithParam<FaultRow> {};

TEST_P(FaultTable, MessageAndDelivery) {
  const FaultRow& row = GetParam();
  fakes::ProgramWorld world(programs::KestruneProfile());
  world.Remember(fakes::TEST_QUEUE);
  row.setUp(world);
  size_t before = 0;
  world.Run(programs::KestrunePages(), [&](fakes::FakeView&) {
    if (row.action == Action::PrinterChoice) return;
    before = world.fake.host->messages.size();
    ASSERT_EQ(before, 0u) << "start-up showed " << world.MessageTexts()[0];
    int button = row.action == Action::NozzleCheck ? cleaning::IDC_NOZZLE_CHECK
                                                   : cleaning::IDC_DEEP_CLEANING;
    world.Window(cleaning::MAINTENANCE_TEMPLATE)->Click(button);
  });

  const auto& messages = world.fake.host->messages;
  if (std::string(row.text).empty()) {
    EXPECT_EQ(messages.size(), before) << messages.back().text;
  } else {
    ASSERT_EQ(messages.size(), before + 1);
    EXPECT_EQ(messages.back().text, row.text);
    EXPECT_EQ(messages.back().icon, row.icon);
  }

  std::vector<std::vector<uint8_t>> delivered;
  for (const auto& job : world.spooler->jobs) {
    if (!job.bytes.empty()) delivered.push_back(job.bytes);
  }
  switch (row.delivery) {
    case Delivery::Nothing:
      EXPECT_TRUE(delivered.empty());
      break;
    case Delivery::Stream:
      ASSERT_EQ(delivered.size(), 1u);
      EXPECT_EQ(delivered[0], Expected(row.action));
      break;
    case Delivery::Partial: {
      ASSERT_EQ(delivered.size(), 1u);
      std::vector<uint8_t> whole = Expected(row.action);
      EXPECT_LT(delivered[0].size(), whole.size());
      EXPECT_TRUE(std::equal(delivered[0].begin(), delivered[0].end(), whole.begin()));
      break;
    }
  }
  EXPECT_TRUE(world.spooler->Balanced());
}

std::string RowName(const ::testing::TestParamInfo<FaultRow>& info) {
  std::string name;
  for (const char* c = info.param.name; *c; ++c) name.push_back(std::isalnum(*c) ? *c : '_');
  return name;
}

INSTANTIATE_TEST_SUITE_P(Kestrune, FaultTable, ::testing::ValuesIn(ROWS), RowName);

}  // namespace
