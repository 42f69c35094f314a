// SendCommandJob over the recording spooler: one raw job, every refusal, short writes.
#include "link/command_job.h"

#include <gtest/gtest.h>

#include <vector>

#include "link/command_framing.h"
#include "tests/support/fake_spooler.h"

namespace {

using printer_link::SendCommandJob;

constexpr char QUEUE[] = "Model 9000 on LPT1";

class CommandJobTest : public ::testing::Test {
 protected:
  CommandJobTest() { spooler.AddQueue(QUEUE, "LPT1:", "KALDO Model 9000"); }
  fakes::RecordingSpooler spooler;
};

TEST_F(CommandJobTest, StreamTravelsAsOneRawJob) {
  printer_link::CommandStream stream = printer_link::NozzleCheckStream();
  std::vector<std::vector<uint8_t>> hooked;
  spooler.onJob = [&](const std::vector<uint8_t>& bytes) { hooked.push_back(bytes); };

  EXPECT_EQ(SendCommandJob(spooler, QUEUE, stream.bytes, stream.length), 0);
  std::vector<uint8_t> expected(stream.bytes, stream.bytes + stream.length);
  ASSERT_EQ(spooler.jobs.size(), 1u);
  EXPECT_EQ(spooler.jobs[0].queue, QUEUE);
  EXPECT_EQ(spooler.jobs[0].documentName, "KDSU Command");
  EXPECT_EQ(spooler.jobs[0].bytes, expected);
  EXPECT_EQ(hooked, std::vector<std::vector<uint8_t>>{expected});
  EXPECT_EQ(spooler.writes, 1);
  EXPECT_EQ(spooler.pagesStarted, 1);
  EXPECT_EQ(spooler.pagesEnded, 1);
  EXPECT_TRUE(spooler.Balanced());
}

TEST_F(CommandJobTest, EveryRefusalFailsAndLeavesNothingOpen) {
  struct Case {
    const char* name;
    void (*arrange)(fakes::RecordingSpooler&);
    int docs;
    int pages;
  };
  const Case cases[] = {
      {"open refused", [](fakes::RecordingSpooler& s) { s.refuseOpen = true; }, 0, 0},
      {"document refused", [](fakes::RecordingSpooler& s) { s.refuseStartDoc = true; }, 0, 0},
      {"page refused", [](fakes::RecordingSpooler& s) { s.refuseStartPage = true; }, 1, 0},
      {"write refused", [](fakes::RecordingSpooler& s) { s.refuseWrite = true; }, 1, 1},
      {"short write", [](fakes::RecordingSpooler& s) { s.acceptOnly = 10; }, 1, 1},
  };
  printer_link::CommandStream stream = printer_link::DeepCleaningStream();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fakes::RecordingSpooler s;
    s.AddQueue(QUEUE, "LPT1:", "KALDO Model 9000");
    c.arrange(s);
    EXPECT_EQ(SendCommandJob(s, QUEUE, stream.bytes, stream.length), -1);
    EXPECT_EQ(s.opened, c.name == std::string("open refused") ? 0 : 1);
    EXPECT_EQ(s.docsStarted, c.docs);
    EXPECT_EQ(s.pagesStarted, c.pages);
    EXPECT_EQ(s.pagesEnded, c.pages);
    EXPECT_TRUE(s.Balanced());
  }
}

TEST_F(CommandJobTest, UnknownQueueIsRefused) {
  uint8_t byte = 0;
  EXPECT_EQ(SendCommandJob(spooler, "Other", &byte, 1), -1);
  EXPECT_TRUE(spooler.jobs.empty());
}

}  // namespace
