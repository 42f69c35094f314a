// The sample print run.
#include "samples/sample_print.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <vector>

#include "link/command_framing.h"
#include "link/command_job.h"
#include "link/driver_settings_handle.h"
#include "samples/job_wait.h"
#include "samples/sample_image.h"
#include "samples/sample_page.h"
#include "samples/sample_values.h"
#include "samples/sheet_grouping.h"

namespace feed {

namespace {

using printer_link::DriverSettingsApi;
using printer_link::KDDM_OK;
using printer_link::KddmHandle;

// Item blocks as the driver reads them (little-endian, as the host and the driver run).
constexpr uint32_t BLOCK_VERSION = 1;
constexpr uint32_t USER_SIZE_BLOCK_SIZE = 36;  // item 203: 1, 36, zeros, 256 in the ninth word
constexpr size_t USER_SIZE_WORDS = 9;
constexpr size_t USER_SIZE_CODE_WORD = 8;
constexpr size_t USER_WIDTH_WORD = 2;
constexpr size_t PAPER_WIDTH_WORD = 0;  // item 30: width, length, code, 0
constexpr size_t PAPER_LENGTH_WORD = 1;
constexpr uint16_t SAMPLE_PAGE_LENGTH = 1480;
constexpr uint32_t PRINT_MODE_BLOCK_SIZE = 20;  // item 214: 1, 20, 2, media id, 6 or 15
constexpr uint32_t PRINT_MODE_GROUP = 2;
constexpr uint32_t PRINT_MODE_KIND_3_VALUE = 6;
constexpr uint32_t PRINT_MODE_KIND_4_VALUE = 15;
constexpr size_t FEED_BLOCK_SIZE = 20;  // item 219: 1, 20, then the driver's data
constexpr size_t FEED_CORRECTION_AT = 9;
constexpr int FEED_CORRECTION_MIN = -128;
constexpr int FEED_CORRECTION_MAX = 127;
constexpr uint32_t SAMPLE_PRINT_ON = 1;  // item 20

using Words16 = std::array<uint16_t, 4>;
using printer_link::DriverSettingsHandle;
using printer_link::FlagsBlock;

// The queue the job list is read from, for the run's life.
class WatchedQueue {
 public:
  WatchedQueue(platform::Spooler& spooler, const std::string& name)
      : spooler_(spooler), handle_(spooler.OpenPrinter(name)) {}
  ~WatchedQueue() {
    if (handle_) spooler_.ClosePrinter(handle_);
  }
  WatchedQueue(const WatchedQueue&) = delete;
  WatchedQueue& operator=(const WatchedQueue&) = delete;
  platform::PrinterHandle Handle() const { return handle_; }

 private:
  platform::Spooler& spooler_;
  platform::PrinterHandle handle_;
};

// The busy dialog's Cancel and time limit, as a wait between samples sees them.
class BusyPoll : public WaitPoll {
 public:
  explicit BusyPoll(printer_link::ProgressWait* busy) : busy_(busy) {}
  shell::BusyState Poll() override {
    // Without a dialog nothing can cancel; a dialog that did not start answers Cancelled.
    return busy_ ? busy_->Poll() : shell::BusyState::Running;
  }

 private:
  printer_link::ProgressWait* busy_;
};

// The closing waits keep the dialog alive but are ended only by their own limits.
class QuietPoll : public WaitPoll {
 public:
  explicit QuietPoll(printer_link::ProgressWait* busy) : busy_(busy) {}
  shell::BusyState Poll() override {
    if (busy_) busy_->Poll();
    return shell::BusyState::Running;
  }

 private:
  printer_link::ProgressWait* busy_;
};

std::string Padded(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%2d", value);
  return text;
}

class SampleRun {
 public:
  SampleRun(SamplePrintSeat& seat, const SampleRunRequest& request, ui::View* parent)
      : seat_(seat), request_(request), parent_(parent), queue_(seat.PrinterName()) {}

  void Go();

 private:
  void Show(int text, ui::Icon icon) {
    seat_.Message(parent_, seat_.Text(text), icon, ui::Buttons::Ok);
  }
  // The one warning of a failed step; a run shows it once.
  void Fail() {
    if (failShown_) return;
    failShown_ = true;
    Show(TEXT_SAMPLE_RUN_FAILED, ui::Icon::Warning);
  }
  bool Confirm(const SheetPlan& plan, int samples);
  bool PrinterChecks();
  // The per-sample items; false when the driver refused one.
  bool SetSampleItems(DriverSettingsHandle& driver, int sample, bool cut);
  bool PrintJob(DriverSettingsHandle& driver, size_t index);
  bool PrintClosingPage(DriverSettingsHandle& driver);
  bool SendSheet(uint8_t mode) {
    printer_link::CommandStream stream = printer_link::SampleSheetStream(mode);
    return printer_link::SendCommandJob(seat_.Spooler(), queue_, stream.bytes, stream.length) == 0;
  }
  void PrintSamples(DriverSettingsHandle& driver);
  void Close(JobWatch& watch, printer_link::ProgressWait* busy, DriverSettingsHandle& driver);
  void WaitReadyQuietly();

  SamplePrintSeat& seat_;
  const SampleRunRequest& request_;
  ui::View* parent_;
  std::string queue_;
  std::string imagePath_;
  PaperFeedRow feed_{};
  SheetPlan plan_;
  int32_t paperSize_ = 0;
  int32_t autoCut_ = AUTO_CUT_ON;
  bool failShown_ = false;
  std::unique_ptr<SheetGrouping> grouping_;
  std::string lastJob_;  // document name of the last job handed over
};

bool SampleRun::Confirm(const SheetPlan& plan, int samples) {
  std::string text = seat_.Text(TEXT_CONFIRM_HEAD) + "\n" + seat_.Text(TEXT_CONFIRM_PAGES) +
                     "    " + Padded(plan.pages) + "\n" + seat_.Text(TEXT_CONFIRM_SHEETS) + "    " +
                     Padded(plan.sheets) + "\n" + seat_.Text(TEXT_CONFIRM_SAMPLES) + "    " +
                     Padded(samples);
  return seat_.Message(parent_, text, ui::Icon::Information, ui::Buttons::OkCancel) ==
         ui::Answer::Ok;
}

bool SampleRun::PrinterChecks() {
  shell::PrinterCheck check = SAMPLE_CHECK;
  if (request_.readyInEveryLaunchMode) check.readyIn = shell::IN_EVERY_MODE;
  return shell::PrinterUsable(seat_, seat_.Launch(), check, parent_,
                              [this](int text, ui::Icon icon) { Show(text, icon); });
}

void SampleRun::Go() {
  imagePath_ = request_.userImage ? request_.userImagePath
                                  : seat_.ProgramFolder() + "\\" + STANDARD_SAMPLE_IMAGE;
  int image = CheckSampleImage(seat_.Files(), imagePath_);
  if (image != SAMPLE_IMAGE_OK) {
    Show(image, ui::Icon::Warning);
    return;
  }
  if (seat_.RunPaperSetting(request_.selection, parent_) != ui::RESULT_OK) return;

  paperSize_ = seat_.Options().Get(PAPER_SIZE_OPTION);
  DriverSettingsApi* api = seat_.DriverSettings();
  if (!api) {
    Fail();
    return;
  }
  DriverSettingsHandle driver(*api);
  Words16 paper = {0, 0, static_cast<uint16_t>(paperSize_), 0};
  if (paperSize_ < 0 || paperSize_ > UINT16_MAX || !driver.Open(queue_, SAMPLE_OPEN_NUMBER) ||
      !driver.SetBlock(printer_link::ITEM_PAPER_SIZE, paper)) {
    Fail();
    return;
  }

  int samples = static_cast<int>(request_.samples.size());
  if (samples == 0) return;
  if (!PaperFeedFor(request_.selection.paperFeed, &feed_)) {
    Fail();
    return;
  }
  int64_t length = 0;
  if (feed_.handling == PaperHandling::Sheets) {
    Words16 current{};
    if (!driver.Get(printer_link::ITEM_PAPER_SIZE, current)) {
      Fail();
      return;
    }
    length = current[PAPER_LENGTH_WORD];
  }
  plan_ = PlanSheets(feed_.handling, samples, length);
  if (!Confirm(plan_, samples) || !PrinterChecks()) return;

  if (!driver.Set(printer_link::ITEM_SAMPLE_PRINT, SAMPLE_PRINT_ON)) {
    Fail();
    return;
  }
  if (feed_.handling == PaperHandling::Roll) autoCut_ = seat_.Options().Get(AUTO_CUT_OPTION);
  // The relaxed launch modes go through the dialogs and checks but print nothing.
  if (seat_.Launch() != shell::LaunchMode::Normal) return;

  PrintSamples(driver);
}

bool SampleRun::SetSampleItems(DriverSettingsHandle& driver, int sample, bool cut) {
  using namespace printer_link;
  if (!driver.Set(ITEM_SAMPLE_PRINT, SAMPLE_PRINT_ON) ||
      !driver.Set(ITEM_PAPER_HANDLING, feed_.paperSource)) {
    return false;
  }
  if (feed_.handling == PaperHandling::Roll) {
    FlagsBlock roll = printer_link::EMPTY_FLAGS_BLOCK;
    if (!driver.Get(ITEM_ROLL_FLAGS, roll)) return false;
    roll[printer_link::FLAGS_WORD] |= printer_link::ROLL_FLAG_FED;
    // Only the sample the roll is cut after carries the cut; the handle lives for all samples.
    if (cut) {
      roll[printer_link::FLAGS_WORD] |= printer_link::ROLL_FLAG_CUT;
    } else {
      roll[printer_link::FLAGS_WORD] &= ~printer_link::ROLL_FLAG_CUT;
    }
    if (!driver.SetBlock(ITEM_ROLL_FLAGS, roll)) return false;
  } else {
    FlagsBlock range = printer_link::EMPTY_FLAGS_BLOCK;
    if (!driver.Range(ITEM_SHEET_FLAGS, range)) return false;
    if (range[printer_link::FLAGS_WORD] & printer_link::SHEET_FLAG_SINGLE) {
      FlagsBlock sheet = printer_link::EMPTY_FLAGS_BLOCK;
      if (!driver.Get(ITEM_SHEET_FLAGS, sheet)) return false;
      sheet[printer_link::FLAGS_WORD] &= ~printer_link::SHEET_FLAG_SINGLE;
      if (!driver.SetBlock(ITEM_SHEET_FLAGS, sheet)) return false;
    }
  }

  const AdjustmentSelection& selection = request_.selection;
  // A media the table lacks has MEDIA_NOT_FOUND here; past this check its row was found.
  int mediaId = selection.mediaRecord.driverMediaId;
  if (mediaId < 0 || mediaId > UINT16_MAX) return false;
  int kind = PrintModeKind(selection.qualityCode, selection.mediaRecord.qualityCodes.data(),
                           MEDIA_QUALITY_COUNT);
  if (kind == PRINT_MODE_KIND_1 || kind == PRINT_MODE_KIND_2) {
    printer_link::MediaModeBlock mode =
        printer_link::MediaModeWords(kind == PRINT_MODE_KIND_1, static_cast<uint16_t>(mediaId));
    if (!driver.SetBlock(ITEM_MEDIA_MODE, mode)) return false;
  } else {
    std::array<uint32_t, 5> mode = {
        BLOCK_VERSION, PRINT_MODE_BLOCK_SIZE, PRINT_MODE_GROUP, static_cast<uint32_t>(mediaId),
        kind == PRINT_MODE_KIND_3 ? PRINT_MODE_KIND_3_VALUE : PRINT_MODE_KIND_4_VALUE};
    if (!driver.SetBlock(ITEM_PRINT_MODE, mode)) return false;
  }

  uint32_t width = 0;
  if (paperSize_ == PAPER_USER_DEFINED) {
    std::array<uint32_t, USER_SIZE_WORDS> user{};
    user[0] = BLOCK_VERSION;
    user[1] = USER_SIZE_BLOCK_SIZE;
    user[USER_SIZE_CODE_WORD] = PAPER_USER_DEFINED;
    if (!driver.Get(ITEM_USER_SIZE, user)) return false;
    width = user[USER_WIDTH_WORD];
  } else {
    Words16 current{};
    if (!driver.Get(ITEM_PAPER_SIZE, current)) return false;
    width = current[PAPER_WIDTH_WORD];
  }
  if (width == 0 || width > UINT16_MAX) return false;
  Words16 page = {static_cast<uint16_t>(width), SAMPLE_PAGE_LENGTH, PAPER_USER_DEFINED, 0};
  if (!driver.SetBlock(ITEM_PAPER_SIZE, page)) return false;

  std::array<uint8_t, FEED_BLOCK_SIZE> feed{};
  const uint32_t head[] = {BLOCK_VERSION, static_cast<uint32_t>(FEED_BLOCK_SIZE)};
  std::memcpy(feed.data(), head, sizeof head);
  if (!driver.Get(ITEM_FEED_DATA, feed)) return false;
  const SampleJob& job = request_.samples[static_cast<size_t>(sample - 1)];
  if (job.setsFeedCorrection) {
    // The byte is signed: a correction it cannot hold is refused, never wrapped.
    if (job.feedCorrection < FEED_CORRECTION_MIN || job.feedCorrection > FEED_CORRECTION_MAX) {
      return false;
    }
    feed[FEED_CORRECTION_AT] = static_cast<uint8_t>(static_cast<int8_t>(job.feedCorrection));
  }
  return driver.SetBlock(ITEM_FEED_DATA, feed);
}

bool SampleRun::PrintJob(DriverSettingsHandle& driver, size_t index) {
  std::vector<uint8_t> devMode;
  platform::Printing* printing = seat_.Printing();
  if (!printing || !driver.DevMode(&devMode)) return false;
  std::unique_ptr<platform::PrintSurface> surface =
      printing->Open(seat_.DriverName(), queue_, devMode);
  if (!surface) return false;

  const AdjustmentSelection& s = request_.selection;
  const std::string* names[] = {&s.mediaName, &s.paperFeedName, &s.qualityName};
  std::array<std::string, CAPTION_COUNT> captions;
  for (size_t i = 0; i < request_.labelTexts.size(); ++i) {
    captions[i] = seat_.Text(request_.labelTexts[i]) + "=" + *names[i] + ",";
  }
  captions[CAPTION_COUNT - 1] = request_.samples[index].caption;

  // Read anew for every job and freed with it: the file may have changed since the check.
  SampleImage image;
  if (LoadSampleImage(seat_.Files(), imagePath_, &image) != SAMPLE_IMAGE_OK) return false;
  return DrawSamplePage(*surface, seat_.InterfaceFont(), captions, image) == SAMPLE_PAGE_OK;
}

bool SampleRun::PrintClosingPage(DriverSettingsHandle& driver) {
  std::vector<uint8_t> devMode;
  platform::Printing* printing = seat_.Printing();
  if (!printing || !driver.DevMode(&devMode)) return false;
  std::unique_ptr<platform::PrintSurface> surface =
      printing->Open(seat_.DriverName(), queue_, devMode);
  return surface &&
         DrawClosingPage(*surface, seat_.InterfaceFont(), CLOSING_PAGE_TEXT) == SAMPLE_PAGE_OK;
}

void SampleRun::PrintSamples(DriverSettingsHandle& driver) {
  std::unique_ptr<printer_link::ProgressWait> busy = seat_.NewBusyDialog();
  if (busy) busy->Start(seat_.Text(TEXT_RUN_TITLE), SAMPLE_RUN_LIMIT_MS, true, parent_);
  WatchedQueue queue(seat_.Spooler(), queue_);
  JobWatch watch(seat_.Spooler(), queue.Handle(), seat_.Clock());
  BusyPoll poll(busy.get());
  grouping_ = std::make_unique<SheetGrouping>(
      feed_.handling, static_cast<int>(request_.samples.size()), plan_.perSheet);
  bool sheets = feed_.handling == PaperHandling::Sheets;
  int samples = static_cast<int>(request_.samples.size());

  for (int i = 1; i <= samples; ++i) {
    if (!lastJob_.empty() && (sheets || request_.waitsOnRoll)) {
      JobWaitResult waited = watch.WaitForPrinting(lastJob_, true, JOB_PRINT_LIMIT_MS, &poll);
      if (waited == JobWaitResult::Cancelled) break;
      if (!JobWaitDone(waited)) {
        Fail();
        break;
      }
    }
    bool cut = CutAfter(feed_.handling, i, samples, autoCut_);
    bool sent = true;
    for (uint8_t mode : grouping_->Before(i)) {
      if (sent) sent = SendSheet(mode);
    }
    if (!sent || !SetSampleItems(driver, i, cut)) {
      Fail();
      break;
    }
    size_t index = static_cast<size_t>(i - 1);
    if (request_.applySetting && !request_.applySetting(index)) {
      if (!request_.settingShowsMessage) Fail();
      break;
    }
    if (!PrintJob(driver, index)) {
      Fail();
      break;
    }
    lastJob_ = request_.samples[index].caption;
    grouping_->Printed(i);

    shell::BusyState state = poll.Poll();
    if (state == shell::BusyState::Cancelled) break;
    if (state == shell::BusyState::TimedOut) {
      Fail();
      break;
    }
  }
  Close(watch, busy.get(), driver);
  if (busy) busy->Stop();
}

void SampleRun::WaitReadyQuietly() {
  platform::Clock& clock = seat_.Clock();
  uint32_t start = clock.TickCount();
  while (seat_.WaitUntilReady(false, nullptr) == printer_link::WAIT_NOT_READY) {
    if (clock.TickCount() - start >= CLOSING_READY_LIMIT_MS) return;
    clock.Sleep(JOB_LOOK_INTERVAL_MS);
  }
}

void SampleRun::Close(JobWatch& watch, printer_link::ProgressWait* busy,
                      DriverSettingsHandle& driver) {
  if (busy) busy->DisableCancel();
  QuietPoll quiet(busy);
  if (feed_.handling == PaperHandling::Sheets) {
    if (grouping_->SheetPending()) {
      for (const RunStep& step : grouping_->Closing()) {
        if (step.kind == RunStepKind::SheetCommand &&
            step.value == printer_link::SAMPLE_SHEET_CLOSE) {
          if (!SendSheet(printer_link::SAMPLE_SHEET_CLOSE)) Fail();
        } else if (step.kind == RunStepKind::ClosingPage) {
          if (PrintClosingPage(driver)) {
            lastJob_ = CLOSING_PAGE_TEXT;
          } else {
            Fail();
          }
        }
      }
    } else if (!lastJob_.empty()) {
      watch.WaitForPrinting(lastJob_, true, JOB_PRINT_LIMIT_MS, &quiet);
    }
    if (!lastJob_.empty()) watch.WaitUntilGone(lastJob_, JOB_LEAVE_LIMIT_MS, &quiet);
    WaitReadyQuietly();
    if (!SendSheet(printer_link::SAMPLE_SHEET_FINISH)) Fail();
  } else if (request_.waitsOnRoll && !lastJob_.empty()) {
    watch.WaitForPrinting(lastJob_, true, JOB_PRINT_LIMIT_MS, &quiet);
  }
}

}  // namespace

void SamplePrint::Run(const SampleRunRequest& request, ui::View* parent) {
  SampleRun(seat_, request, parent).Go();
}

}  // namespace feed
