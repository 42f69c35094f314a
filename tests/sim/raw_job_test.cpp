// How the simulated printer reads the raw jobs that the programs hand to the spooler.
#include <gtest/gtest.h>

#include <cstring>

#include "sim/job_reader.h"
#include "sim/protocol_bytes.h"
#include "sim/simulated_driver.h"
#include "sim/simulated_printer.h"
#include "tests/sim/sim_test_bytes.h"
#include "tests/support/fake_platform.h"

namespace {

using simtest::Bytes;
using simtest::Join;
using Lines = std::vector<std::string>;

class RawJobTest : public ::testing::Test {
 protected:
  // The log lines one job adds.
  Lines Run(const Bytes& job) {
    size_t before = printer.State().log.size();
    printer.ReceiveJob(job);
    const Lines& log = printer.State().log;
    return Lines(log.begin() + static_cast<std::ptrdiff_t>(before), log.end());
  }

  uint8_t StatusCode() { return printer.StatusBytes()[14]; }

  fakes::FakeClock clock;
  sim::SimulatedPrinter printer{clock};
};

TEST_F(RawJobTest, NozzleCheckStream) {
  EXPECT_EQ(Run(simtest::NOZZLE_CHECK_STREAM),
            (Lines{"job 36 bytes", "remote mode on", "nozzle-check printed",
                   "version request VI 00 01", "remote mode off", "job end"}));
}

TEST_F(RawJobTest, MaintenanceStreams) {
  struct Case {
    const char* name;
    Bytes job;
    Lines log;
  };
  const Case cases[] = {
      {"deep cleaning",
       simtest::DEEP_CLEANING_STREAM,
       {"job 25 bytes", "remote mode on", "deep-cleaning", "remote mode off"}},
      {"cleaning page",
       Join({simtest::ENTER,
             {0x53, 0x53, 0x02, 0x00, 0x00, 0x05},
             simtest::LEAVE,
             simtest::JOB_END}),
       {"job 30 bytes", "remote mode on", "cleaning SS 00 05", "remote mode off", "job end"}},
      {"nozzle check page",
       Join({simtest::ENTER,
             {0x45, 0x58, 0x06, 0x00, 0x00, 0x00, 0x00, 0x00, 0x1E, 0x01},
             simtest::LEAVE}),
       {"job 29 bytes", "remote mode on", "nozzle-check printed (EX 00 00 00 00 1E 01)",
        "remote mode off"}},
      {"sample sheet",
       {0x1B, 0x7C, 0x01, 0x06, 0x00, 0x5C, 0x21, 0x9D, 0x4E, 0x08, 0x02},
       {"job 11 bytes", "sample sheet mode 2"}},
      {"sample sheet with a wrong access value",
       {0x1B, 0x7C, 0x01, 0x06, 0x00, 0x5C, 0x21, 0x9D, 0x4E, 0x09, 0x02},
       {"job 11 bytes", "malformed: sample sheet command with a wrong access value"}},
      {"driver print data",
       Join({simtest::Text("%!PS-Adobe-3.0\nshowpage\n")}),
       {"job 24 bytes", "print data 24 bytes", R"(sample job "" pages 1 images 0 captions cut)"}},
      {"unknown remote command",
       Join({simtest::ENTER, {0x5A, 0x5A, 0x01, 0x00, 0x07}, simtest::LEAVE}),
       {"job 24 bytes", "remote mode on", "unknown command ZZ 07", "remote mode off"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Run(c.job), c.log);
  }
}

TEST_F(RawJobTest, AdjustmentValueTakesEffectOnlyWithLoad) {
  EXPECT_EQ(Run(simtest::FeedValueWriteJob(simtest::FEED_SELECTOR, 0x7B)),
            (Lines{"job 46 bytes", "remote mode on",
                   "wrote value 7B at 0000001F.0102030405060708090A0B0C0D", "settings loaded",
                   "remote mode off"}));
  EXPECT_EQ(printer.State().values["0000001F.0102030405060708090A0B0C0D"], "7B80");

  EXPECT_EQ(Run(simtest::FeedValueWriteJob(simtest::FEED_SELECTOR, 0x01, false)),
            (Lines{"job 42 bytes", "remote mode on", "EX writes dropped without LD: 1",
                   "remote mode off"}));
  EXPECT_EQ(printer.State().values["0000001F.0102030405060708090A0B0C0D"], "7B80");
}

TEST_F(RawJobTest, WrittenValueIsWhatTheNextQueryReads) {
  printer.State().values["0000001F.0102030405060708090A0B0C0D"] = "8A90";
  Run(simtest::FeedValueWriteJob(simtest::FEED_SELECTOR, 0x95));
  std::vector<uint8_t> reply = printer.ReplyTo(simtest::FeedValueRead(simtest::FEED_SELECTOR));
  EXPECT_EQ(std::string(reply.begin(), reply.end()),
            "@BDC PS\r\nEX:0000001F0102030405060708090A0B0C0D9590;\x0C");
}

TEST_F(RawJobTest, PrinterThatRefusesWritesKeepsItsValue) {
  printer.State().faults = {sim::FAULT_REFUSES_WRITES};
  Lines log = Run(simtest::FeedValueWriteJob(simtest::FEED_SELECTOR, 0x7B));
  EXPECT_EQ(log[2], "EX write refused at 0000001F.0102030405060708090A0B0C0D");
  EXPECT_TRUE(printer.State().values.empty());
}

// Every cut of a stream is read without running past its end, and the cut is reported.
TEST_F(RawJobTest, TruncatedStreamsAreReportedNotOverread) {
  const Bytes streams[] = {simtest::NOZZLE_CHECK_STREAM,
                           simtest::FeedValueWriteJob(simtest::FEED_SELECTOR, 1),
                           {0x1B, 0x7C, 0x01, 0x06, 0x00, 0x5C, 0x21, 0x9D, 0x4E, 0x08, 0x02},
                           simtest::FIRMWARE_HEADER};
  for (const Bytes& stream : streams) {
    for (size_t cut = 1; cut < stream.size(); ++cut) {
      SCOPED_TRACE("cut at " + std::to_string(cut) + " of " + std::to_string(stream.size()));
      // A copy of exactly the cut length, so a sanitizer sees any read past it.
      std::vector<uint8_t> part(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(cut));
      std::vector<sim::JobEvent> events = sim::ReadJob(part.data(), part.size());
      ASSERT_FALSE(events.empty());
    }
  }
  std::vector<sim::JobEvent> events =
      sim::ReadJob(simtest::NOZZLE_CHECK_STREAM.data(), 20);  // inside the "NC" packet
  EXPECT_EQ(events.back().piece, sim::JobPiece::MALFORMED);
  EXPECT_EQ(events.back().problem, "truncated NC packet");
}

class FirmwareJobTest : public RawJobTest {
 protected:
  void SetUp() override { printer.State().firmwareBusyMs = 60000; }
};

TEST_F(FirmwareJobTest, UpdateMakesThePrinterBusyThenReportsTheFilesVersion) {
  Bytes file = simtest::FirmwareFile("SN130101");
  Lines log = Run(simtest::FirmwareStream(file, true));
  EXPECT_EQ(log, (Lines{"job 409666 bytes", "lead-in 16384 bytes",
                        "firmware SN120315 -> SN130101 (393272 bytes), busy 60000 ms"}));
  EXPECT_EQ(StatusCode(), sim::STATUS_CODE_BUSY);
  EXPECT_TRUE(printer.ReplyTo(simtest::VERSION_QUERY).empty());

  clock.Advance(60000);
  EXPECT_EQ(StatusCode(), sim::STATUS_CODE_READY);
  EXPECT_EQ(printer.State().firmware, "SN130101");
  EXPECT_EQ(printer.State().log.back(), "restarted with firmware SN130101");
  std::vector<uint8_t> reply = printer.ReplyTo(simtest::VERSION_QUERY);
  EXPECT_EQ(std::string(reply.begin(), reply.end()), "@BDC PS\r\nVI:00SN130101;\x0C");
}

TEST_F(FirmwareJobTest, LeadInFollowsTheCurrentVersion) {
  struct Case {
    const char* name;
    std::string current;
    Bytes stream;
    std::string outcome;  // last log line
  };
  Bytes file = simtest::FirmwareFile("SN130101");
  const Case cases[] = {
      {"lead-in missing", "SN120315", simtest::FirmwareStream(file, false),
       "firmware refused: lead-in missing"},
      {"lead-in short", "SN120315", Join({Bytes(100, 0x11), simtest::FIRMWARE_HEADER, file}),
       "firmware refused: lead-in of 100 bytes"},
      {"version ending 0000 takes none", "SN120000", simtest::FirmwareStream(file, true),
       "firmware refused: lead-in not expected"},
      {"version ending 0000 without lead-in", "SN120000", simtest::FirmwareStream(file, false),
       "firmware SN120000 -> SN130101 (393272 bytes), busy 60000 ms"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sim::SimulatedPrinter fresh(clock);
    fresh.State().firmware = c.current;
    fresh.ReceiveJob(c.stream);
    EXPECT_EQ(fresh.State().log.back(), c.outcome);
  }
}

TEST_F(FirmwareJobTest, DamagedFilesAreRefused) {
  struct Case {
    const char* name;
    std::function<void(Bytes&)> damage;
    std::string problem;
  };
  const Case cases[] = {
      {"outer checksum", [](Bytes& f) { f[0x100] ^= 1; }, "outer checksum wrong"},
      {"version tag",
       [](Bytes& f) {
         f[0x60019] = 'X';
         f[7] = static_cast<uint8_t>(f[7] + 'X' - 'N');  // keeps the outer checksum right
       },
       "version tag is not SN"},
      {"cut short", [](Bytes& f) { f.resize(f.size() - 1); }, "outer length wrong"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes file = simtest::FirmwareFile("SN130101");
    c.damage(file);
    sim::SimulatedPrinter fresh(clock);
    fresh.ReceiveJob(simtest::FirmwareStream(file, true));
    EXPECT_EQ(fresh.State().log.back(), "firmware refused: " + c.problem);
    EXPECT_FALSE(fresh.IsBusy());
  }
}

TEST_F(FirmwareJobTest, VanishingPrinterAnswersNothingAfterTheJob) {
  printer.State().faults = {sim::FAULT_VANISHES};
  Run(simtest::FirmwareStream(simtest::FirmwareFile("SN130101"), true));
  clock.Advance(120000);
  EXPECT_LT(printer.OpenChannel(1, "Plotter", sim::CHANNEL_TYPE_CONTROL), 1);
  char id[256];
  uint32_t size = sizeof id;
  EXPECT_NE(printer.GetDeviceId(1, "Plotter", id, &size), 0);
}

TEST_F(FirmwareJobTest, FileLengthBoundsTheFirmwareSoAFollowingJobIsStillRead) {
  Bytes file = simtest::FirmwareFile("SN130101");
  Lines log = Run(Join({simtest::FirmwareStream(file, true), simtest::NOZZLE_CHECK_STREAM}));
  ASSERT_GE(log.size(), 4u);
  EXPECT_EQ(log[3], "remote mode on");
  EXPECT_EQ(log[4], "nozzle-check printed");
}

// The sample sheet commands as a printer follows them: a run of sheet modes ("0", "1", "2") and
// sample jobs on sheets ("S") or plain jobs ("J"), and the protocol faults it leaves.
TEST_F(RawJobTest, SampleSheetCommandsOutOfOrderAreProtocolFaults) {
  struct Case {
    std::string run;
    Lines faults;
  } cases[] = {
      {"1 S S 0 S 1 S 0 S 2", {}},
      {"1 S 0 J 2", {}},
      {"0 S 2", {"mode 0 with no sheet open"}},
      {"1 S 1 S 0 S 2", {"mode 1 while a sheet is open"}},
      {"1 S 0 1 S 0 S 2", {"mode 1 while a sheet is open"}},
      {"1 S 2", {"mode 2 while a sheet is open"}},
      {"S 2 S", {"sample job after mode 2", "run on sheets ended without mode 2"}},
      {"S S", {"run on sheets ended without mode 2"}},
  };
  sim::DriverSettings sample;
  sample.samplePrint = sim::SAMPLE_PRINT_ON;
  sample.handling = 4;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.run);
    sim::SimulatedPrinter fresh(clock);
    for (char step : c.run) {
      if (step == 'S' || step == 'J') {
        sim::DriverSettings settings = sample;
        settings.samplePrint = step == 'S' ? sim::SAMPLE_PRINT_ON : 0;
        fresh.ReceiveDriverJob({"x", {}, sim::SimulatedDriver::DevMode(settings, "Q"), 1});
      } else if (step != ' ') {
        fresh.ReceiveJob(Bytes{0x1B, 0x7C, 0x01, 0x06, 0x00, 0x5C, 0x21, 0x9D, 0x4E, 0x08,
                               static_cast<uint8_t>(step - '0')});
      }
    }
    Lines faults;
    for (const std::string& f : fresh.EndSampleRun())
      faults.push_back(f.substr(std::strlen(sim::PROTOCOL_FAULT_PREFIX)));
    EXPECT_EQ(faults, c.faults);
  }
}

}  // namespace
