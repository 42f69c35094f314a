// The Update command against a scripted printer on the fake clock: checks before the transfer,
// the job's bytes, the settle time, polling, the time limit and the verdict on the new version.
#include "firmware/firmware_update.h"

#include <gtest/gtest.h>

#include <cstring>

#include "firmware/firmware_texts.h"
#include "programs/seats/app_seat.h"
#include "tests/firmware/firmware_fixture.h"

namespace firmware_tests {
namespace {

using firmware::UpdateOutcome;

struct Shown {
  int text;
  ui::Icon icon;
  uint32_t at;
  bool operator==(const Shown& o) const { return text == o.text && icon == o.icon; }
};

std::ostream& operator<<(std::ostream& out, const Shown& s) {
  return out << "text " << s.text << " icon " << static_cast<int>(s.icon);
}

class RecordingTarget : public firmware::UpdateTarget {
 public:
  explicit RecordingTarget(fakes::FakeClock& clock) : clock_(clock) {}
  std::string PrinterVersionText() override { return printerVersion; }
  void ShowPrinterVersion(const std::string& version) override { shownVersions.push_back(version); }
  void ShowMessage(int text, ui::Icon icon) override {
    messages.push_back({text, icon, clock_.now});
  }
  void SelectFirmwarePage() override { ++pageSelections; }

  std::string printerVersion = "SN010001";
  std::vector<Shown> messages;
  std::vector<std::string> shownVersions;
  int pageSelections = 0;

 private:
  fakes::FakeClock& clock_;
};

class UpdateFlowTest : public FirmwareFixture {
 public:
  UpdateFlowTest() : target(*clock) { PutFirmware(FILE_PATH, "SN010100"); }

  UpdateOutcome Update(const std::string& selectedVersion = "SN010100") {
    startedAt = clock->now;
    programs::AppSeat<shell::ToolSeat> seat(*app);
    return firmware::UpdateFirmware(seat, api.get(), target, FILE_PATH, selectedVersion);
  }
  std::vector<uint8_t> FileBytes() {
    const std::string& f = files->files[FILE_PATH];
    return std::vector<uint8_t>(f.begin(), f.end());
  }
  std::vector<Shown> Messages(std::initializer_list<std::pair<int, ui::Icon>> list) {
    std::vector<Shown> out;
    for (auto& m : list) out.push_back({m.first, m.second, 0});
    return out;
  }

  RecordingTarget target;
  uint32_t startedAt = 0;
};

TEST_F(UpdateFlowTest, JobCarriesLeadInHeaderAndTheFileUnchanged) {
  ReplyVersion("SN010100");
  EXPECT_EQ(Update(), UpdateOutcome::Updated);

  ASSERT_EQ(spooler->jobs.size(), 1u);
  const std::vector<uint8_t>& job = spooler->jobs[0].bytes;
  std::vector<uint8_t> file = FileBytes();
  ASSERT_EQ(job.size(), 16384 + 10 + file.size());
  EXPECT_EQ(std::vector<uint8_t>(job.begin(), job.begin() + 16384),
            std::vector<uint8_t>(16384, 0x11));
  const uint8_t header[] = {0x1B, 0x7D, 0x01, 0x05, 0x00, 0xA4, 0x3B, 0x19, 0xE2, 0x6D};
  EXPECT_EQ(std::memcmp(job.data() + 16384, header, sizeof header), 0);
  EXPECT_EQ(std::vector<uint8_t>(job.begin() + 16394, job.end()), file);
  EXPECT_EQ(spooler->jobs[0].documentName, "KDSU Command");
  EXPECT_EQ(spooler->writes, 1);

  EXPECT_EQ(target.messages, Messages({{309, ui::Icon::Information}}));
  EXPECT_EQ(target.shownVersions, std::vector<std::string>{"SN010100"});
  EXPECT_EQ(busyTitle, "T400");
  EXPECT_FALSE(busyCancelVisible);
}

TEST_F(UpdateFlowTest, PrinterVersionEndingInFourZerosGetsNoLeadIn) {
  struct Case {
    const char* printerVersion;
    size_t jobLength;
  } cases[] = {{"SN010000", 393266}, {"SN010001", 393266 + 16384}, {"000", 393266 + 16384}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.printerVersion);
    spooler->jobs.clear();
    jobAt.reset();
    PutFirmware(FILE_PATH, "SN010100", 0);  // the smallest file: 393,256 bytes
    target.printerVersion = c.printerVersion;
    ReplyVersion("SN010100");
    EXPECT_EQ(Update(), UpdateOutcome::Updated);
    ASSERT_EQ(spooler->jobs.size(), 1u);
    EXPECT_EQ(spooler->jobs[0].bytes.size(), c.jobLength);
    EXPECT_EQ(spooler->jobs[0].bytes[0], c.jobLength == 393266 ? 0x1B : 0x11);
  }
}

TEST_F(UpdateFlowTest, PrinterReadyAtOnceIsNotAskedBeforeTheSettleTimeEnds) {
  ReplyVersion("SN010100");
  EXPECT_EQ(Update(), UpdateOutcome::Updated);
  ASSERT_FALSE(statusTimes.empty());
  EXPECT_GE(statusTimes.front(), 70000u);
  EXPECT_LT(statusTimes.front(), 70100u);
  EXPECT_EQ(statusTimes.size(), 1u);  // ready at the first query
}

TEST_F(UpdateFlowTest, PrinterBackAfterItsRestartIsPolledEveryTwoSeconds) {
  offlineMs = 72000;  // channels refused until 72 s
  busyMs = 6000;      // then busy until 78 s
  ReplyVersion("SN010100");
  EXPECT_EQ(Update(), UpdateOutcome::Updated);
  EXPECT_EQ(target.messages, Messages({{309, ui::Icon::Information}}));
  // Opens at 70 s (refused, 5 s pause) and 75 s; then queries more than 2 s apart until ready.
  ASSERT_GE(openTimes.size(), 2u);
  EXPECT_GE(openTimes[1] - openTimes[0], 5000u);
  ASSERT_GE(statusTimes.size(), 2u);
  for (size_t i = 1; i < statusTimes.size(); ++i) {
    EXPECT_GT(statusTimes[i] - statusTimes[i - 1], 2000u);
    EXPECT_LT(statusTimes[i] - statusTimes[i - 1], 2100u);
  }
  EXPECT_GE(statusTimes.back(), 78000u);
  EXPECT_LT(statusTimes.back(), 81000u);
}

TEST_F(UpdateFlowTest, PrinterThatNeverAnswersGets310Then312AtOnce) {
  neverBack = true;
  EXPECT_EQ(Update(), UpdateOutcome::NotBack);
  EXPECT_EQ(target.messages, Messages({{310, ui::Icon::Warning}, {312, ui::Icon::Warning}}));
  uint32_t limitAt = *jobAt + 90000;
  EXPECT_GE(target.messages[0].at, limitAt);
  EXPECT_LT(target.messages[0].at, limitAt + 5100);
  EXPECT_LT(target.messages[1].at - target.messages[0].at, 100u);  // no channel: no wait
  EXPECT_EQ(target.pageSelections, 1);
  EXPECT_TRUE(target.shownVersions.empty());  // the version field stays as it was
  EXPECT_EQ(kb->Count("KBSend"), 0);          // nor is the version asked
  // Channel attempts every 5 s from the end of the settle time to the limit.
  ASSERT_GE(openTimes.size(), 4u);
  EXPECT_LT(openTimes.front(), 70100u);
  for (size_t i = 1; i < openTimes.size(); ++i) {
    EXPECT_GE(openTimes[i] - openTimes[i - 1], 5000u);
    EXPECT_LT(openTimes[i] - openTimes[i - 1], 5100u);
  }
}

TEST_F(UpdateFlowTest, PrinterThatAnswersButNeverGetsReadyGets312TenSecondsAfter310) {
  neverReady = true;
  EXPECT_EQ(Update(), UpdateOutcome::NotBack);
  ASSERT_EQ(target.messages, Messages({{310, ui::Icon::Warning}, {312, ui::Icon::Warning}}));
  uint32_t between = target.messages[1].at - target.messages[0].at;
  EXPECT_GE(between, 10000u);
  EXPECT_LT(between, 10500u);
  EXPECT_EQ(target.pageSelections, 1);
}

TEST_F(UpdateFlowTest, PrinterReadyOnlyAfterTheLimitStillGetsItsVersionRead) {
  busyMs = 93000;  // ready during the last readiness check, after the limit
  ReplyVersion("SN010100");
  EXPECT_EQ(Update(), UpdateOutcome::Updated);
  EXPECT_EQ(target.messages, Messages({{310, ui::Icon::Warning}, {309, ui::Icon::Information}}));
  EXPECT_EQ(target.pageSelections, 0);
}

TEST_F(UpdateFlowTest, VersionThatDiffersOrIsMissingGets311) {
  struct Case {
    const char* name;
    std::optional<std::string> reply;
  } cases[] = {{"old version kept", std::string("SN010001")},
               {"silent printer", std::nullopt},
               {"version of another file", std::string("SN010101")}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    jobAt.reset();
    target.messages.clear();
    target.shownVersions.clear();
    kb->receives.clear();
    if (c.reply) ReplyVersion(*c.reply);
    EXPECT_EQ(Update(), UpdateOutcome::VersionDiffers);
    EXPECT_EQ(target.messages, Messages({{311, ui::Icon::Warning}}));
    EXPECT_EQ(target.shownVersions, std::vector<std::string>{c.reply.value_or("")});
  }
}

TEST_F(UpdateFlowTest, RefusedOrShortJobReports302AndNeverSuccess) {
  struct Case {
    const char* name;
    void (*arrange)(fakes::RecordingSpooler&);
  } cases[] = {
      {"queue refused", [](fakes::RecordingSpooler& s) { s.refuseOpen = true; }},
      {"document refused", [](fakes::RecordingSpooler& s) { s.refuseStartDoc = true; }},
      {"write refused", [](fakes::RecordingSpooler& s) { s.refuseWrite = true; }},
      {"short write", [](fakes::RecordingSpooler& s) { s.acceptOnly = 4096; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    *spooler = fakes::RecordingSpooler();
    spooler->AddQueue(QUEUE, PORT, DRIVER);
    c.arrange(*spooler);
    target.messages.clear();
    ReplyVersion("SN010100");
    EXPECT_EQ(Update(), UpdateOutcome::JobFailed);
    EXPECT_EQ(target.messages, Messages({{302, ui::Icon::Warning}}));
    EXPECT_LT(clock->now - startedAt, 1000u);  // no wait for a restart that cannot come
    EXPECT_EQ(host->Find(IDD_BUSY), nullptr);
    EXPECT_TRUE(spooler->Balanced());
    kb->receives.clear();
  }
}

TEST_F(UpdateFlowTest, ChecksBeforeTheTransferDependOnTheLaunchMode) {
  struct Case {
    const char* mode;
    bool ready;
    bool sameModel;
    std::vector<Shown> messages;
    UpdateOutcome outcome;
  } cases[] = {
      {"N", true, false, {{305, ui::Icon::Error, 0}}, UpdateOutcome::WrongPrinter},
      {"N", false, true, {{302, ui::Icon::Warning, 0}}, UpdateOutcome::NotReady},
      {"P", false, false, {{305, ui::Icon::Error, 0}}, UpdateOutcome::NotReady},
      {"P", false, true, {{302, ui::Icon::Warning, 0}}, UpdateOutcome::NotReady},
      {"P", true, false, {{309, ui::Icon::Information, 0}}, UpdateOutcome::Updated},
      {"U", false, false, {{309, ui::Icon::Information, 0}}, UpdateOutcome::Updated},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.mode) + (c.ready ? " ready" : " not ready") +
                 (c.sameModel ? " same model" : " other model"));
    SetLaunchMode(c.mode);
    jobAt.reset();
    spooler->jobs.clear();
    target.messages.clear();
    kb->receives.clear();
    kb->deviceId = c.sameModel ? DEVICE_ID : OTHER_DEVICE_ID;
    SetStatus(c.ready);
    ReplyVersion("SN010100");
    EXPECT_EQ(Update(), c.outcome);
    EXPECT_EQ(target.messages, c.messages);
    bool sent = c.outcome == UpdateOutcome::Updated;
    EXPECT_EQ(spooler->jobs.size(), sent ? 1u : 0u);
    if (std::string(c.mode) == "U") {
      // Straight to the file: no identity or readiness check before the job.
      EXPECT_EQ(kb->Count("KBGetDeviceID"), 0);
    }
  }
}

TEST_F(UpdateFlowTest, FileThatChangedSinceItWasSelectedIsSentOnlyWholeAndSound) {
  struct Case {
    const char* name;
    void (*change)(UpdateFlowTest&);
    Shown message;
    UpdateOutcome outcome;
  } cases[] = {
      {"shrunk before the read",
       [](UpdateFlowTest& t) { t.files->shortBy = 1; },
       {302, ui::Icon::Warning, 0},
       UpdateOutcome::JobFailed},
      {"gone",
       [](UpdateFlowTest& t) { t.files->files.erase(FILE_PATH); },
       {302, ui::Icon::Warning, 0},
       UpdateOutcome::FileUnreadable},
      {"locked",
       [](UpdateFlowTest& t) { t.files->unreadable.insert(FILE_PATH); },
       {302, ui::Icon::Warning, 0},
       UpdateOutcome::FileUnreadable},
      {"damaged",
       [](UpdateFlowTest& t) { t.files->files[FILE_PATH][0x60030] ^= 0x01; },
       {308, ui::Icon::Error, 0},
       UpdateOutcome::FileRejected},
      {"cut short",
       [](UpdateFlowTest& t) { t.files->files[FILE_PATH].resize(1000); },
       {314, ui::Icon::Error, 0},
       UpdateOutcome::FileRejected},
      {"replaced by an older firmware",
       [](UpdateFlowTest& t) { t.PutFirmware(FILE_PATH, "SN010000"); },
       {308, ui::Icon::Error, 0},
       UpdateOutcome::FileRejected},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PutFirmware(FILE_PATH, "SN010100");
    files->shortBy = 0;
    files->unreadable.clear();
    target.messages.clear();
    c.change(*this);
    EXPECT_EQ(Update("SN010100"), c.outcome);
    EXPECT_EQ(target.messages, std::vector<Shown>{c.message});
    EXPECT_TRUE(spooler->jobs.empty());
    EXPECT_EQ(spooler->opened, 0);
  }
}

}  // namespace
}  // namespace firmware_tests
