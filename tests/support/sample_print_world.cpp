// The sample print's test world.
#include "tests/support/sample_print_world.h"

#include <gtest/gtest.h>

#include <cstring>

#include "feed/paper_setting_dialog.h"
#include "samples/sample_image.h"
#include "shell/tool_app.h"
#include "tests/support/program_world.h"
#include "tests/support/test_app.h"

namespace fakes {

namespace {

constexpr char DRIVER_FOLDER_LIBRARY[] = "C:\\Drivers\\KDSET32.DLL";
constexpr char MEDIA_ROWS[] =
    "MEDIAP1_NUM=2\r\n"
    "MEDIAP1_001=4,12,0,0,0,1,3,-1,-1,-1\r\n"
    "MEDIAP1_002=7,14,1,0,5,6,7,-1,-1,-1\r\n";

void Put32(std::string* f, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) (*f)[at + i] = static_cast<char>(v >> (8 * i));
}

class ScriptedBusy : public printer_link::ProgressWait {
 public:
  explicit ScriptedBusy(BusyRecord& record) : record_(record) {}
  bool Start(const std::string& caption, uint32_t limitMs, bool cancellable, ui::View*) override {
    ++record_.started;
    record_.caption = caption;
    record_.limitMs = limitMs;
    record_.cancellable = cancellable;
    return true;
  }
  printer_link::WaitState Poll() override {
    int n = ++record_.polls;
    if (state_ == printer_link::WaitState::Running) {
      if (record_.cancelAtPoll > 0 && n >= record_.cancelAtPoll && !record_.cancelDisabled) {
        state_ = printer_link::WaitState::Cancelled;
      } else if (record_.timeOutAtPoll > 0 && n >= record_.timeOutAtPoll) {
        state_ = printer_link::WaitState::TimedOut;
      }
    }
    return state_;
  }
  void DisableCancel() override { record_.cancelDisabled = true; }
  void Stop() override { ++record_.stopped; }

 private:
  BusyRecord& record_;
  printer_link::WaitState state_ = printer_link::WaitState::Running;
};

}  // namespace

std::string SampleBitmapFile(int32_t width, int32_t height) {
  uint32_t rowBytes = (static_cast<uint32_t>(width) * 3 + 3) / 4 * 4;
  std::string f(54 + static_cast<size_t>(rowBytes) * static_cast<size_t>(height), '\0');
  f[0] = 'B';
  f[1] = 'M';
  Put32(&f, 2, static_cast<uint32_t>(f.size()));
  Put32(&f, 10, 54);
  Put32(&f, 14, 40);
  Put32(&f, 18, static_cast<uint32_t>(width));
  Put32(&f, 22, static_cast<uint32_t>(height));
  f[26] = 1;
  f[28] = 24;
  for (int32_t row = 0; row < height; ++row) {
    std::memset(&f[54 + static_cast<size_t>(row) * rowBytes], row & 0xFF, rowBytes);
  }
  return f;
}

SampleWorld::SampleWorld()
    : library(printer, {}, {DRIVER_FOLDER_LIBRARY}),
      api(library, spooler),
      settings(files, TEST_SETTINGS_DIR, shell::SETTINGS_LINE_CHUNK_TREVALO),
      launch(shell::LaunchMode::Normal),
      paperSetting(ui::RESULT_OK) {
  spooler.AddQueue(TEST_QUEUE, "KD1394D3_1", TEST_DRIVER);
  spooler.driverInfo[TEST_QUEUE] = {"C:\\Drivers\\KDDRV.DLL", "C:\\Drivers\\KDDRV.INI"};
  spooler.onJob = [this](const std::vector<uint8_t>& bytes) { printer.ReceiveJob(bytes); };
  printing.onDocument = [this](const PrintedDocument& document) {
    printer.ReceiveDriverJob(DriverJobOf(document));
  };
  bound = api.Bind(TEST_QUEUE) == 1;
  files.programPath = std::string(TEST_PROGRAM_DIR) + "\\Trevalo.exe";
  files.Put(std::string(TEST_SETTINGS_DIR) + "\\" + feed::MEDIA_TABLE_FILE, MEDIA_ROWS);
  files.Put(std::string(TEST_SETTINGS_DIR) + "\\Sample.bmp",
            SampleBitmapFile(feed::SAMPLE_IMAGE_WIDTH, feed::SAMPLE_IMAGE_HEIGHT));
  media = std::make_unique<feed::MediaTable>(settings, feed::MEDIA_TABLE_FILE);
  font.faceName = "Test Sans";
  font.height = -13;
  numbers[feed::PAPER_SIZE_VALUE] = SAMPLE_A3;
  // The driver starts from what a sample must change: sheets fed one by one (its default), and
  // on roll the cut on without the roll bit.
  printer.State().driver.defaults.rollFlags = sim::ROLL_CUT_FLAG;
}

SampleWorld::~SampleWorld() {
  api.Unbind();
  // Whatever a test asserts, the printer was told nothing out of order.
  EXPECT_EQ(printer.EndSampleRun(), std::vector<std::string>{});
}

feed::SampleRunRequest SampleWorld::Request(const std::vector<int>& corrections,
                                            int paperFeed) const {
  feed::SampleRunRequest r;
  r.selection.mediaName = "Matte";
  r.selection.paperFeedName = paperFeed == 0 ? "Roll" : "Sheet";
  r.selection.qualityName = "Fine";
  r.selection.mediaCode = SAMPLE_MEDIA_CODE;
  r.selection.mediaRecord = media->Record(SAMPLE_MEDIA_CODE);
  r.selection.paperFeed = paperFeed;
  r.selection.qualityCode = 0;
  r.labelTexts = {20007, 20090, 20008};
  r.readyInEveryLaunchMode = true;
  for (size_t i = 0; i < corrections.size(); ++i) {
    feed::SampleJob job;
    job.caption = "Sample=" + std::to_string(i + 1);
    job.setsFeedCorrection = true;
    job.feedCorrection = corrections[i];
    r.samples.push_back(job);
  }
  return r;
}

std::vector<std::string> SampleWorld::Record() const {
  std::vector<std::string> record;
  for (const std::string& line : printer.State().log) {
    if (line.rfind("sample sheet mode ", 0) == 0 || line.rfind("printed ", 0) == 0) {
      record.push_back(line);
    }
  }
  return record;
}

std::string SampleWorld::RunOrder() const {
  std::string order;
  int printed = 0;
  for (const std::string& line : Record()) {
    if (!order.empty()) order += ' ';
    if (line.rfind("sample sheet mode ", 0) == 0) {
      order += line.substr(std::strlen("sample sheet mode "));
    } else if (line.rfind("printed \".\"", 0) == 0) {
      order += '.';
    } else {
      order += 'S' + std::to_string(++printed);
    }
  }
  return order;
}

std::vector<std::string> SampleWorld::MessageTexts() const {
  std::vector<std::string> texts;
  for (const Shown& m : messages) texts.push_back(m.text);
  return texts;
}

ui::Answer SampleWorld::Message(ui::View*, const std::string& text, ui::Icon icon,
                                ui::Buttons buttons) {
  messages.push_back({text, icon, buttons});
  if (buttons == ui::Buttons::OkCancel && !confirm) return ui::Answer::Cancel;
  return ui::Answer::Ok;
}

std::string SampleWorld::ProgramFolder() {
  return TEST_PROGRAM_DIR;
}

std::string SampleWorld::PrinterName() {
  return TEST_QUEUE;
}

std::string SampleWorld::DriverName() {
  return TEST_DRIVER;
}

int SampleWorld::WaitUntilReady(bool showDialog, ui::View*) {
  if (showDialog) {
    ++readyCalls;
    return ready ? printer_link::WAIT_READY : printer_link::WAIT_NOT_READY;
  }
  ++quietReadyCalls;
  // Without its dialog the real wait polls for about ten seconds when the printer is busy.
  if (quietReadyCalls <= quietNotReady) {
    clock.Sleep(10000);
    return printer_link::WAIT_NOT_READY;
  }
  return printer_link::WAIT_READY;
}

std::unique_ptr<printer_link::ProgressWait> SampleWorld::NewBusyDialog() {
  return std::make_unique<ScriptedBusy>(busy);
}

int SampleWorld::RunPaperSetting(const feed::AdjustmentSelection&, ui::View*) {
  ++paperSettingCalls;
  return paperSetting;
}

}  // namespace fakes
