// Sunnabar over fakes, with a scripted printer that goes away for a while after a firmware job.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "firmware/firmware_file.h"
#include "link/bidi_api.h"
#include "link/printer_channel.h"
#include "link/status_reply.h"
#include "programs/sunnabar/sunnabar_tables.h"
#include "shell/busy_dialog.h"
#include "shell/tool_app.h"
#include "tests/support/fake_kbapi.h"
#include "tests/support/fake_spooler.h"
#include "tests/support/test_app.h"

namespace firmware_tests {

constexpr char QUEUE[] = "Model 9000 on USB001";
constexpr char DRIVER[] = "KALDO Model 9000";
constexpr char PORT[] = "USB001";
constexpr char DEVICE_ID[] = "MFG:KALDO;CMD:ESC;DES:KALDO Model 9000;";
constexpr char OTHER_DEVICE_ID[] = "MFG:KALDO;DES:KALDO Model 7000;";
constexpr char FILE_PATH[] = "D:\\Updates\\FW.UPG";

// Files whose one read can be made to come up short, as when the file shrinks meanwhile.
class ShortReadFiles : public fakes::FakeFiles {
 public:
  int64_t ReadExclusive(const std::string& path, uint8_t* buffer, uint64_t size) override {
    int64_t n = FakeFiles::ReadExclusive(path, buffer, size);
    return n > 0 && shortBy > 0 ? n - shortBy : n;
  }
  int64_t shortBy = 0;
};

class IdleFrame : public shell::MainFrame {
 public:
  int TemplateId() const override { return IDD_MAIN_WINDOW; }
  bool OnInit(ui::View&) override { return true; }
};

class FirmwareFixture : public ::testing::Test {
 public:
  FirmwareFixture() {
    auto library = std::make_unique<fakes::FakeKbLibrary>();
    kb = &library->script;
    auto spoolerOwned = std::make_unique<fakes::RecordingSpooler>();
    spooler = spoolerOwned.get();
    shell::PlatformSet set =
        fakes::MakeFakePlatform(&platform, std::move(spoolerOwned), std::move(library));
    auto filesOwned = std::make_unique<ShortReadFiles>();
    filesOwned->programPath = std::string(fakes::TEST_PROGRAM_DIR) + "\\Sunnabar.exe";
    files = filesOwned.get();
    platform.files = files;
    set.files = std::move(filesOwned);
    clock = platform.clock;
    host = platform.host;
    app = std::make_unique<shell::ToolApp>(programs::SunnabarProfile(), std::move(set));
    fakes::InstallTestSettings(
        *files, {0,   2,   3,   4,   5,   6,   7,   8,   9,   100, 101, 102, 180,   302,
                 303, 305, 306, 307, 308, 309, 310, 311, 312, 313, 314, 400, 20000, 20100});
    host->templates[IDD_BUSY] = {IDC_BUSY_PICTURE, IDC_BUSY_MESSAGE, ui::ID_CANCEL};
    spooler->AddQueue(QUEUE, PORT, DRIVER);
    app->SetPrinter(QUEUE, DRIVER, PORT);

    api = std::make_unique<printer_link::BidiApi>(app->Library(), app->Spooler(), app->Files());
    EXPECT_EQ(api->Bind(QUEUE, printer_link::LibrarySearch::PlainNameFirst), 1);
    kb->calls.clear();
    kb->deviceId = DEVICE_ID;
    kb->channels = {{printer_link::CHANNEL_CONTROL, 0x07}};
    kb->openResult = ONLINE_HANDLE;
    SetStatus(true);

    spooler->onJob = [this](const std::vector<uint8_t>&) {
      jobAt = clock->now;
      statusCalls = kb->Count("KBGetStatus");
      openCalls = kb->Count("KBOpenChannel");
      SetPrinterAfterJob(clock->now);
    };
    // Calls noticed when the clock moves on were made at the time before the step.
    clock->onAdvance = [this](uint32_t now) {
      NotePrinterCalls(lastNow);
      lastNow = now;
      SetPrinterAfterJob(now);
    };
    host->onPump = [this] { NotePrinterCalls(clock->now); };
  }

  // Runs the application once with Setting_Launch.ini holding the value, so that it takes the
  // launch mode; the printer choice is made again afterwards.
  void SetLaunchMode(const char* value) {
    files->Put(fakes::SettingsPath("Setting_Launch.ini"), std::string("Ope=") + value + "\r\n");
    app->Run([](shell::ToolApp&) { return std::make_unique<IdleFrame>(); });
    app->SetPrinter(QUEUE, DRIVER, PORT);
    kb->calls.clear();
  }

  void PutFirmware(const std::string& path, const char* version, size_t imageSize = 1000) {
    std::vector<uint8_t> file = firmware::MakeFirmwareFile(version, imageSize);
    files->Put(path, std::string(file.begin(), file.end()));
  }

  // Queues the printer's answer to one "VI" query.
  void ReplyVersion(const std::string& version) {
    std::string reply = "VI:00" + version + ";";
    kb->receives.emplace_back(static_cast<int>(reply.size()),
                              std::vector<uint8_t>(reply.begin(), reply.end()));
  }

  void SetStatus(bool ready) {
    if (statusReady && *statusReady == ready) return;
    statusReady = ready;
    const std::vector<uint8_t> body = {printer_link::FIELD_STATUS, 0x01,
                                       ready ? printer_link::STATUS_READY : uint8_t{0x03}};
    kb->statusReplies = {fakes::StatusReplyBytes(body)};
    kb->statusIndex = 0;
  }

  // After a job the printer refuses channels for offlineMs, then reports busy for busyMs.
  void SetPrinterAfterJob(uint32_t now) {
    if (!jobAt) return;
    uint32_t since = now - *jobAt;
    kb->openResult = neverBack || since < offlineMs ? -1 : ONLINE_HANDLE;
    SetStatus(!neverReady && since >= offlineMs + busyMs);
  }

  // Times (since the job) at which status queries and channel opens happened.
  void NotePrinterCalls(uint32_t at) {
    if (!jobAt) return;
    if (kb->calls.size() != seenCalls) {
      seenCalls = kb->calls.size();
      NoteCounts(at);
    }
    if (fakes::FakeView* busy = host->Find(IDD_BUSY)) {
      busyTitle = busy->title;
      busyCancelVisible = busy->IsControlVisible(ui::ID_CANCEL);
    }
  }

  void NoteCounts(uint32_t at) {
    int status = kb->Count("KBGetStatus");
    if (status > statusCalls) statusTimes.push_back(at - *jobAt);
    statusCalls = status;
    int opens = kb->Count("KBOpenChannel");
    if (opens > openCalls) openTimes.push_back(at - *jobAt);
    openCalls = opens;
  }

  static constexpr int ONLINE_HANDLE = 7;

  fakes::TestPlatform platform{};
  ShortReadFiles* files = nullptr;
  fakes::FakeClock* clock = nullptr;
  fakes::FakeHost* host = nullptr;
  fakes::RecordingSpooler* spooler = nullptr;
  fakes::KbScript* kb = nullptr;
  std::unique_ptr<shell::ToolApp> app;
  std::unique_ptr<printer_link::BidiApi> api;

  // The printer after a job.
  uint32_t offlineMs = 0;
  uint32_t busyMs = 0;
  bool neverBack = false;
  bool neverReady = false;
  std::optional<uint32_t> jobAt;
  std::optional<bool> statusReady;
  uint32_t lastNow = 1000;  // the fake clock's start

  // What was seen during the wait.
  int statusCalls = 0;
  int openCalls = 0;
  size_t seenCalls = 0;
  std::vector<uint32_t> statusTimes;
  std::vector<uint32_t> openTimes;
  std::string busyTitle;
  bool busyCancelVisible = true;
};

}  // namespace firmware_tests
