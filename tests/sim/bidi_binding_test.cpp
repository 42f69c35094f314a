// The binding of the bidirectional library against the stand-in: the real shared library
// loaded with dlopen, and the in-process simulation.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "link/bidi_api.h"
#include "link/command_framing.h"
#include "link/command_job.h"
#include "link/printer_channel.h"
#include "platform/posix/posix_platform.h"
#include "programs/kestrune/kestrune_tables.h"
#include "shell/tool_app.h"
#include "sim/printer_state.h"
#include "sim/protocol_bytes.h"
#include "sim/simulated_library.h"
#include "tests/sim/sim_test_bytes.h"
#include "tests/support/fake_platform.h"
#include "tests/support/fake_spooler.h"
#include "tests/support/test_app.h"

namespace {

using printer_link::BidiApi;
using simtest::Bytes;

constexpr char QUEUE[] = "Plotter";
constexpr char DRIVER_DATA_FILE[] = "C:\\Drivers\\KDDRV.INI";

// One queue whose driver lies in driverFolder (folders joined by a backslash at the end).
std::unique_ptr<fakes::RecordingSpooler> DriverSpooler(const std::string& driverFolder) {
  auto spooler = std::make_unique<fakes::RecordingSpooler>();
  spooler->AddQueue(QUEUE, "LPT1:", "KALDO Model 9000");
  spooler->driverInfo[QUEUE] = {driverFolder + "\\KDDRV.DLL", DRIVER_DATA_FILE};
  return spooler;
}

// The system search order finds "KBAPI.DLL" at the given path.
class DefaultNameLibrary : public platform::Library {
 public:
  explicit DefaultNameLibrary(std::string path) : path_(std::move(path)) {}
  std::unique_ptr<platform::LoadedLibrary> Load(const std::string& name) override {
    return real_.Load(name == printer_link::KBAPI_LIBRARY ? path_ : name);
  }

 private:
  std::string path_;
  platform::PosixLibrary real_;
};

void Append(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::app)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

std::string FolderOf(const std::string& path) {
  return path.substr(0, path.rfind('/'));
}
std::string NameOf(const std::string& path) {
  return path.substr(path.rfind('/') + 1);
}

class StandInTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = simtest::TempFolder();
    ASSERT_FALSE(folder.empty());
    statePath = folder + "printer.state";
    setenv("KD_SIM_STATE", statePath.c_str(), 1);
    ASSERT_TRUE(sim::SaveState(statePath, state));
  }
  void TearDown() override { unsetenv("KD_SIM_STATE"); }

  sim::PrinterState Saved() {
    sim::PrinterState saved;
    EXPECT_TRUE(sim::LoadState(statePath, &saved, nullptr));
    return saved;
  }

  void DriverNamesLibrary(const std::string& fileName) {
    files.Put(DRIVER_DATA_FILE,
              "[User Mode Printer Driver Information]\r\nKBAPII=" + fileName + "\r\n");
  }

  std::string folder;
  std::string statePath;
  sim::PrinterState state;
  fakes::FakeFiles files;
  std::unique_ptr<fakes::RecordingSpooler> spoolerOwned =
      DriverSpooler(FolderOf(KD_STANDIN_LIBRARY));
  fakes::RecordingSpooler& spooler = *spoolerOwned;
};

TEST_F(StandInTest, BindsByDefaultNameAndTalksToThePrinterOfTheStateFile) {
  DefaultNameLibrary library(KD_STANDIN_LIBRARY);
  BidiApi api(library, spooler, files);
  ASSERT_EQ(api.Bind(QUEUE, printer_link::LibrarySearch::PlainNameFirst), 1);
  EXPECT_TRUE(spooler.Balanced());

  char id[256] = {};
  uint32_t size = sizeof id;
  ASSERT_EQ(api.KBGetDeviceID(1, QUEUE, id, &size), 0);
  EXPECT_NE(std::string(id).find("DES:KALDO Model 9000;"), std::string::npos);

  int handle = api.KBOpenChannel(1, QUEUE, sim::CHANNEL_TYPE_CONTROL);
  ASSERT_GE(handle, 1);
  uint8_t status[256] = {};
  size = sizeof status;
  EXPECT_GT(api.KBGetStatus(handle, status, &size), 14);
  EXPECT_EQ(status[14], sim::STATUS_CODE_READY);
  EXPECT_EQ(api.KBSend(handle, simtest::VERSION_QUERY.data(), 6), 6);
  uint8_t reply[512] = {};
  size = sizeof reply;
  int received = api.KBReceive(handle, reply, &size, 10000);
  ASSERT_GT(received, 0);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(reply), static_cast<size_t>(received)),
            "@BDC PS\r\nVI:00SN120315;\x0C");
  api.KBCloseChannel(handle);
  EXPECT_TRUE(Saved().openChannels.empty());

  EXPECT_EQ(api.Release(), 1);
  EXPECT_FALSE(api.IsLoaded());
}

TEST_F(StandInTest, BindsThroughTheDriversOwnCopy) {
  DriverNamesLibrary(NameOf(KD_STANDIN_LIBRARY));
  platform::PosixLibrary library;
  BidiApi api(library, spooler, files);
  EXPECT_EQ(api.Bind(QUEUE, printer_link::LibrarySearch::DriverPathOnly), 1);
  EXPECT_TRUE(spooler.Balanced());
  EXPECT_EQ(api.Release(), 1);
}

TEST_F(StandInTest, BindFailures) {
  struct Case {
    const char* name;
    std::string defaultPath;  // where "KBAPI.DLL" is found
    std::string driverValue;  // KBAPII of the driver's data file
    std::function<void(sim::PrinterState&)> setup;
  };
  const std::string missing = folder + "nothing-here.so";
  const Case cases[] = {
      {"library missing under both names", missing, "nothing-here.so", [](sim::PrinterState&) {}},
      {"driver names no library", missing, "", [](sim::PrinterState&) {}},
      {"initialisation fails", KD_STANDIN_LIBRARY, "",
       [](sim::PrinterState& s) { s.faults = {sim::FAULT_INIT_FAILS}; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sim::PrinterState s;
    c.setup(s);
    ASSERT_TRUE(sim::SaveState(statePath, s));
    DriverNamesLibrary(c.driverValue);
    DefaultNameLibrary library(c.defaultPath);
    BidiApi api(library, spooler, files);
    EXPECT_EQ(api.Bind(QUEUE, printer_link::LibrarySearch::PlainNameFirst), 0);
    char id[256];
    uint32_t size = sizeof id;
    if (!api.IsLoaded()) {
      EXPECT_EQ(api.KBGetDeviceID(1, QUEUE, id, &size), printer_link::KBAPI_MISSING);
    }
    api.Release();
  }
}

TEST_F(StandInTest, WithoutAStateFileThereIsNoPrinter) {
  std::remove(statePath.c_str());
  DefaultNameLibrary library(KD_STANDIN_LIBRARY);
  BidiApi api(library, spooler, files);
  EXPECT_EQ(api.Bind(QUEUE, printer_link::LibrarySearch::PlainNameFirst), 0);
  char id[256];
  uint32_t size = sizeof id;
  EXPECT_NE(api.KBGetDeviceID(1, QUEUE, id, &size), 0);
  EXPECT_EQ(api.Release(), 0);
}

TEST_F(StandInTest, LibraryShortOfOneExportBindsToZeroButKeepsTheRestWorking) {
  DefaultNameLibrary library(KD_STANDIN_PARTIAL_LIBRARY);
  BidiApi api(library, spooler, files);
  EXPECT_EQ(api.Bind(QUEUE, printer_link::LibrarySearch::PlainNameFirst), 0);
  ASSERT_TRUE(api.IsLoaded());
  EXPECT_EQ(api.KBSend(1, simtest::VERSION_QUERY.data(), 6), printer_link::KBAPI_MISSING);
  char id[256] = {};
  uint32_t size = sizeof id;
  EXPECT_EQ(api.KBGetDeviceID(1, QUEUE, id, &size), 0);
  EXPECT_EQ(api.Release(), 1);
}

TEST_F(StandInTest, JobsWrittenToTheInputFileReachThePrinterBeforeItAnswers) {
  std::string port = folder + "port.prn";
  state.input = port;
  ASSERT_TRUE(sim::SaveState(statePath, state));
  std::ofstream(port, std::ios::binary | std::ios::app)
      .write(reinterpret_cast<const char*>(simtest::NOZZLE_CHECK_STREAM.data()), 36);

  DefaultNameLibrary library(KD_STANDIN_LIBRARY);
  BidiApi api(library, spooler, files);
  ASSERT_EQ(api.Bind(QUEUE, printer_link::LibrarySearch::PlainNameFirst), 1);
  sim::PrinterState saved = Saved();
  EXPECT_EQ(saved.inputOffset, 36u);
  ASSERT_FALSE(saved.log.empty());
  EXPECT_EQ(saved.log.front(), "job 36 bytes");
  EXPECT_EQ(saved.log[2], "nozzle-check printed");

  std::ofstream(port, std::ios::binary | std::ios::app)
      .write(reinterpret_cast<const char*>(simtest::DEEP_CLEANING_STREAM.data()), 25);
  char id[256];
  uint32_t size = sizeof id;
  api.KBGetDeviceID(1, QUEUE, id, &size);
  saved = Saved();
  EXPECT_EQ(saved.inputOffset, 61u);
  EXPECT_EQ(saved.log.back(), "remote mode off");
  EXPECT_EQ(saved.log[saved.log.size() - 2], "deep-cleaning");
  api.Release();
}

TEST_F(StandInTest, StateLiesBesideTheLibraryWhenNoneIsNamed) {
  unsetenv("KD_SIM_STATE");
  std::string beside = FolderOf(KD_STANDIN_LIBRARY) + "/kdsim.state";
  sim::PrinterState s;
  s.model = "KALDO Model 7000";
  ASSERT_TRUE(sim::SaveState(beside, s));
  DefaultNameLibrary library(KD_STANDIN_LIBRARY);
  BidiApi api(library, spooler, files);
  EXPECT_EQ(api.Bind(QUEUE, printer_link::LibrarySearch::PlainNameFirst), 1);
  char id[256] = {};
  uint32_t size = sizeof id;
  api.KBGetDeviceID(1, QUEUE, id, &size);
  EXPECT_NE(std::string(id).find("DES:KALDO Model 7000;"), std::string::npos);
  api.Release();
  std::remove(beside.c_str());
}

// The link layer end to end over the real stand-in: a network-only printer that needs two
// extra polls, its SNMP-wrapped version reply, and a job that reaches it through its port file.
TEST_F(StandInTest, PrinterChannelOverTheStandIn) {
  std::string port = folder + "port.prn";
  state.channels = {{sim::CHANNEL_TYPE_NETWORK, sim::CHANNEL_FLAGS_USABLE}};
  state.readyAfter = 2;
  state.input = port;
  ASSERT_TRUE(sim::SaveState(statePath, state));

  auto spooler = std::make_unique<fakes::RecordingSpooler>();
  spooler->AddQueue(QUEUE, "LPT1:", "KALDO Model 9000");
  spooler->onJob = [port](const std::vector<uint8_t>& job) { Append(port, job); };
  fakes::RecordingSpooler* jobs = spooler.get();
  fakes::TestPlatform platform{};
  shell::ToolApp app(
      programs::KestruneProfile(),
      fakes::MakeFakePlatform(&platform, std::move(spooler),
                              std::make_unique<DefaultNameLibrary>(KD_STANDIN_LIBRARY)));
  fakes::InstallTestSettings(*platform.files, {0});
  BidiApi api(app.Library(), app.Spooler(), app.Files());
  ASSERT_EQ(api.Bind(QUEUE, printer_link::LibrarySearch::PlainNameFirst), 1);
  printer_link::PrinterChannel channel = app.Channel(&api);

  EXPECT_TRUE(channel.MatchDeviceId(QUEUE, "KALDO Model 9000"));
  EXPECT_FALSE(channel.MatchDeviceId(QUEUE, "KALDO Model 7000"));
  EXPECT_EQ(channel.WaitUntilReady(QUEUE, false, nullptr), 1);
  EXPECT_EQ(Saved().statusPolls, 3);

  uint8_t reply[512] = {};
  int received =
      channel.QueryPrinter(QUEUE, simtest::VERSION_QUERY.data(), 6, reply, sizeof reply, 10000);
  ASSERT_GT(received, 0);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(reply)), "@BDC PS\r\nVI:00SN120315;\x0C");

  printer_link::CommandStream stream = printer_link::DeepCleaningStream();
  ASSERT_EQ(printer_link::SendCommandJob(*jobs, QUEUE, stream.bytes, stream.length), 0);
  char id[256];
  uint32_t size = sizeof id;
  api.KBGetDeviceID(1, QUEUE, id, &size);  // any call takes the new job in
  sim::PrinterState saved = Saved();
  EXPECT_EQ(saved.log[saved.log.size() - 2], "deep-cleaning");
  EXPECT_TRUE(saved.openChannels.empty());
  api.Release();
}

class SimulatedLibraryTest : public ::testing::Test {
 protected:
  fakes::FakeClock clock;
  sim::SimulatedPrinter printer{clock};
  fakes::FakeFiles files;
  std::unique_ptr<fakes::RecordingSpooler> spoolerOwned = DriverSpooler("C:\\Drivers");
  fakes::RecordingSpooler& spooler = *spoolerOwned;
};

TEST_F(SimulatedLibraryTest, LoadsUnderItsNamesAndHonoursTheLibraryFaults) {
  struct Case {
    const char* name;
    std::function<void(sim::PrinterState&)> setup;
    printer_link::LibrarySearch search;
    int bound;
    bool loaded;
  };
  constexpr auto PLAIN = printer_link::LibrarySearch::PlainNameFirst;
  constexpr auto DRIVER_PATH = printer_link::LibrarySearch::DriverPathOnly;
  const Case cases[] = {
      {"default name", [](sim::PrinterState&) {}, PLAIN, 1, true},
      {"driver's copy", [](sim::PrinterState&) {}, DRIVER_PATH, 1, true},
      {"no library", [](sim::PrinterState& s) { s.faults = {sim::FAULT_NO_LIBRARY}; }, PLAIN, 0,
       false},
      {"export missing", [](sim::PrinterState& s) { s.missingExport = "KBGetStatus"; }, PLAIN, 0,
       true},
      {"initialisation fails", [](sim::PrinterState& s) { s.faults = {sim::FAULT_INIT_FAILS}; },
       PLAIN, 0, true},
  };
  files.Put(DRIVER_DATA_FILE, "[User Mode Printer Driver Information]\nKBAPII=KBAPI2.DLL\n");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sim::SimulatedPrinter p(clock);
    c.setup(p.State());
    sim::SimulatedLibrary library(p, {"KBAPI.DLL", "C:\\Drivers\\KBAPI2.DLL"});
    BidiApi api(library, spooler, files);
    EXPECT_EQ(api.Bind(QUEUE, c.search), c.bound);
    EXPECT_EQ(api.IsLoaded(), c.loaded);
    uint8_t status[256];
    uint32_t size = sizeof status;
    if (!p.State().missingExport.empty()) {
      EXPECT_EQ(api.KBGetStatus(1, status, &size), printer_link::KBAPI_MISSING);
    }
    api.Release();
  }
}

TEST_F(SimulatedLibraryTest, SilentPrinterWaitsOnTheFakeClock) {
  printer.State().faults = {sim::FAULT_SILENT};
  sim::SimulatedLibrary library(printer);
  BidiApi api(library, spooler, files);
  ASSERT_EQ(api.Bind(QUEUE, printer_link::LibrarySearch::PlainNameFirst), 1);
  int handle = api.KBOpenChannel(1, QUEUE, sim::CHANNEL_TYPE_NETWORK);
  Bytes request = simtest::SnmpRequest(simtest::VERSION_QUERY);
  EXPECT_EQ(api.KBSend(handle, request.data(), static_cast<uint32_t>(request.size())), 56);
  uint8_t work[512];
  uint32_t size = sizeof work;
  EXPECT_EQ(api.KBReceive(handle, work, &size, 10000), 0);
  EXPECT_EQ(clock.slept, 10000u);
  api.Release();
}

}  // namespace
