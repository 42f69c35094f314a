// The simulated printer's state file and the kdsim commands over it.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "sim/kdsim_cli.h"
#include "sim/printer_state.h"
#include "sim/protocol_bytes.h"
#include "sim/simulated_printer.h"
#include "tests/sim/sim_test_bytes.h"
#include "tests/support/fake_platform.h"

namespace {

void Append(const std::string& path, const simtest::Bytes& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::app)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

TEST(StateFile, EveryFieldSurvivesTheRoundTrip) {
  sim::PrinterState s;
  s.model = "KALDO Model 7000";
  s.deviceId = "MFG:KALDO;DES:X;";
  s.queue = "Plotter";
  s.statusCode = 9;
  s.ink = {0, 25, 255};
  s.field0d = 13;
  s.firmware = "SN120000";
  s.firmwareBusyMs = 1234;
  s.actionBusyMs = 50;
  s.channels = {{sim::CHANNEL_TYPE_CONTROL, 6}, {sim::CHANNEL_TYPE_NETWORK, 7}, {0x99, 7}};
  s.faults = {sim::FAULT_SILENT, sim::FAULT_OPEN_FAILS};
  s.missingExport = "KBSend";
  s.readyAfter = 3;
  s.input = "/tmp/port file.prn";
  s.inputOffset = 5000000000ull;
  s.busyUntil = 0xFFFFFFF0u;
  s.pendingFirmware = "SN130101";
  s.statusPolls = 7;
  s.vanished = true;
  s.nextHandle = 12;
  s.openChannels = {{3, sim::CHANNEL_TYPE_CONTROL}, {11, sim::CHANNEL_TYPE_NETWORK}};
  s.replies = {{3, {0x00, 0x40, 0xFF}}};
  s.values = {{"0000001F.0102", "8A80"}};
  s.log = {"job 36 bytes", "text with = and ; in it"};

  std::string text = sim::FormatState(s);
  sim::PrinterState back;
  std::string error;
  ASSERT_TRUE(sim::ParseState(text, &back, &error)) << error;
  EXPECT_EQ(sim::FormatState(back), text);
  EXPECT_EQ(back.channels[0].flags, 6);
  EXPECT_EQ(back.replies[3], (simtest::Bytes{0x00, 0x40, 0xFF}));
  EXPECT_EQ(*back.busyUntil, 0xFFFFFFF0u);
  EXPECT_EQ(back.log[1], "text with = and ; in it");
}

TEST(StateFile, BadLinesAreRefusedByName) {
  const char* bad[] = {"ink=10,300",
                       "ink=10,,20",
                       "status=idle",
                       "0d=-1",
                       "faults=on_fire",
                       "channels=usb",
                       "channels=control:x",
                       "vanished=yes",
                       "reply.1=ABC",
                       "value.X=8A",
                       "nokey",
                       "=value",
                       "colour=blue",
                       "channel.x=control",
                       "firmware_busy_ms=5000000000"};
  for (const char* line : bad) {
    SCOPED_TRACE(line);
    sim::PrinterState s;
    std::string error;
    EXPECT_FALSE(sim::ApplySetting(line, &s, &error));
    EXPECT_NE(error.find(line), std::string::npos);
  }
}

TEST(StateFile, InputFileIsTakenInOnceEvenAcrossRestarts) {
  std::string folder = simtest::TempFolder();
  std::string port = folder + "port.prn";
  fakes::FakeClock clock;
  sim::SimulatedPrinter printer(clock);
  printer.State().input = port;
  EXPECT_EQ(printer.IngestInput(), 0);  // nothing written yet

  Append(port, simtest::NOZZLE_CHECK_STREAM);
  EXPECT_EQ(printer.IngestInput(), 36);
  EXPECT_EQ(printer.IngestInput(), 0);
  Append(port, simtest::DEEP_CLEANING_STREAM);
  EXPECT_EQ(printer.IngestInput(), 25);

  // A port that starts its file afresh for a job.
  std::ofstream(port, std::ios::binary | std::ios::trunc).write("\x1B@", 2);
  EXPECT_EQ(printer.IngestInput(), 2);
  EXPECT_EQ(printer.State().log.back(), "job 2 bytes");
}

class KdsimTest : public ::testing::Test {
 protected:
  void SetUp() override { state = simtest::TempFolder() + "printer.state"; }

  int Run(std::vector<std::string> args) {
    out.str("");
    err.str("");
    return sim::RunKdsim(args, out, err, clock);
  }

  sim::PrinterState Saved() {
    sim::PrinterState s;
    EXPECT_TRUE(sim::LoadState(state, &s, nullptr));
    return s;
  }

  std::string state;
  std::ostringstream out;
  std::ostringstream err;
  fakes::FakeClock clock;
};

TEST_F(KdsimTest, CreatesThePrintersTheTestsNeed) {
  ASSERT_EQ(Run({"create",     state,
                 "--model",    "KALDO Model 7000",
                 "--status",   "busy",
                 "--ink",      "80,20",
                 "--0d",       "12",
                 "--firmware", "SN120000",
                 "--channels", "network",
                 "--fault",    "silent",
                 "--fault",    "ready_after=2",
                 "--input",    "/tmp/p.prn",
                 "--busy-for", "5000"}),
            0)
      << err.str();
  sim::PrinterState s = Saved();
  EXPECT_EQ(s.model, "KALDO Model 7000");
  EXPECT_EQ(s.statusCode, sim::STATUS_CODE_BUSY);
  EXPECT_EQ(s.ink, (std::vector<uint8_t>{80, 20}));
  EXPECT_EQ(s.field0d, 12);
  EXPECT_EQ(s.firmware, "SN120000");
  ASSERT_EQ(s.channels.size(), 1u);
  EXPECT_EQ(s.channels[0].type, sim::CHANNEL_TYPE_NETWORK);
  EXPECT_TRUE(s.Has(sim::FAULT_SILENT));
  EXPECT_EQ(s.readyAfter, 2);
  EXPECT_EQ(s.input, "/tmp/p.prn");
  EXPECT_EQ(*s.busyUntil, clock.now + 5000);

  ASSERT_EQ(Run({"show", state}), 0);
  EXPECT_NE(out.str().find("\nstatus=busy\n"), std::string::npos);
}

TEST_F(KdsimTest, UsageErrors) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"create"},
      {"create", "x.state", "--fault", "on_fire"},
      {"create", "x.state", "--fault", "silent=1"},
      {"create", "x.state", "--ink"},
      {"create", "x.state", "--ink", "1,999"},
      {"create", "x.state", "--colour", "blue"},
      {"frobnicate", "x.state"},
  };
  for (const auto& args : cases) {
    SCOPED_TRACE(args.empty() ? "(none)" : args[0] + " ...");
    EXPECT_EQ(Run(args), 2);
    EXPECT_NE(err.str().find("usage:"), std::string::npos);
  }
}

TEST_F(KdsimTest, SetIngestAndLog) {
  ASSERT_EQ(Run({"create", state}), 0);
  ASSERT_EQ(Run({"set", state, "faults=wrong_model", "ink=10"}), 0);
  EXPECT_TRUE(Saved().Has(sim::FAULT_WRONG_MODEL));
  EXPECT_EQ(Run({"set", state, "ink=10,x"}), 2);
  EXPECT_EQ(Saved().ink, std::vector<uint8_t>{10});

  std::string job = state + ".job";
  Append(job, simtest::DEEP_CLEANING_STREAM);
  ASSERT_EQ(Run({"ingest", state, job}), 0);
  EXPECT_EQ(out.str(), "job 25 bytes\nremote mode on\ndeep-cleaning\nremote mode off\n");

  std::string port = state + ".port";
  ASSERT_EQ(Run({"set", state, "input=" + port}), 0);
  Append(port, simtest::NOZZLE_CHECK_STREAM);
  ASSERT_EQ(Run({"log", state}), 0);
  EXPECT_NE(out.str().find("deep-cleaning\n"), std::string::npos);
  EXPECT_NE(out.str().find("nozzle-check printed\n"), std::string::npos);
  EXPECT_EQ(Saved().inputOffset, 36u);

  EXPECT_EQ(Run({"show", state + ".missing"}), 1);
}

TEST_F(KdsimTest, AdjustmentValuesBySelector) {
  const std::string selector = "0102030405060708090A0B0C0D";
  ASSERT_EQ(Run({"create", state, "--fault", "garbled_reply"}), 0);
  ASSERT_EQ(Run({"value", state, selector}), 0);
  EXPECT_EQ(out.str(), "8080\n");  // never written
  ASSERT_EQ(Run({"value", state, selector, "8a", "7C"}), 0);
  ASSERT_EQ(Run({"value", state, selector}), 0);
  EXPECT_EQ(out.str(), "8A7C\n");
  EXPECT_EQ(Saved().values.at("0000001F." + selector), "8A7C");
  EXPECT_TRUE(Saved().Has(sim::FAULT_GARBLED_REPLY));
  // The state file's own spelling, either case, reads back the same.
  ASSERT_EQ(Run({"set", state, "value.0000001F." + selector + "=7b80"}), 0);
  EXPECT_EQ(Saved().values.at("0000001F." + selector), "7B80");

  // A write already handed to the printer counts when the value is read.
  std::string port = state + ".port";
  ASSERT_EQ(Run({"set", state, "input=" + port}), 0);
  Append(port, simtest::FeedValueWriteJob(simtest::FEED_SELECTOR, 0x85));
  ASSERT_EQ(Run({"value", state, selector}), 0);
  EXPECT_EQ(out.str().substr(0, 2), "85");

  for (const std::vector<std::string>& bad : {std::vector<std::string>{"value", state, "0102"},
                                              {"value", state, selector, "80"},
                                              {"value", state, selector, "800", "80"},
                                              {"value", state, selector + "0G", "80", "80"}}) {
    EXPECT_EQ(Run(bad), 2);
  }
}

}  // namespace
