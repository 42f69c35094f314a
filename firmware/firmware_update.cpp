// The Update command of the firmware page.
#include "firmware/firmware_update.h"

#include <cstring>

#include "firmware/firmware_texts.h"
#include "firmware/firmware_version.h"
#include "link/command_job.h"
#include "link/printer_channel.h"
#include "link/status_reply.h"
#include "shell/busy_dialog.h"
#include "shell/printer_check.h"

namespace firmware {

namespace {

// The progress dialog of the wait for the restart. Should the dialog not come up, the clock keeps
// its time limit, so that the wait still ends.
class RestartWait {
 public:
  explicit RestartWait(shell::ToolSeat& seat) : seat_(seat), dialog_(seat.Waits().NewWait()) {}
  ~RestartWait() { Stop(); }

  void Start() {
    shown_ = dialog_ && dialog_->Start(seat_.GetText(TEXT_PROGRAM_TITLE), UPDATE_WAIT_LIMIT_MS,
                                       false, nullptr);
    start_ = seat_.Clock().TickCount();
  }
  uint32_t Elapsed() { return seat_.Clock().TickCount() - start_; }
  shell::BusyState Poll() {
    if (shown_) return dialog_->Poll();
    seat_.Host().PumpMessages();
    return Elapsed() >= UPDATE_WAIT_LIMIT_MS ? shell::BusyState::TimedOut
                                             : shell::BusyState::Running;
  }
  void Stop() {
    if (shown_) dialog_->Stop();
    shown_ = false;
  }

 private:
  shell::ToolSeat& seat_;
  std::unique_ptr<printer_link::ProgressWait> dialog_;
  bool shown_ = false;
  uint32_t start_ = 0;
};

// Settle, then poll the status until the printer reports ready or the dialog's limit passes.
// Answers the dialog's state at the end: anything but Running means the limit was reached.
shell::BusyState WaitForRestart(shell::ToolSeat& seat, printer_link::PrinterChannel& channel,
                                const std::string& queue, UpdateTarget& target) {
  platform::Clock& clock = seat.Clock();
  RestartWait wait(seat);
  wait.Start();

  // The printer rewrites its firmware meanwhile; it is not asked anything, whatever it says.
  target.Step("waiting for the printer to rewrite its firmware");
  while (wait.Elapsed() < UPDATE_SETTLE_MS) {
    seat.Host().PumpMessages();
    clock.Sleep(UPDATE_IDLE_STEP_MS);
  }

  target.Step("polling the printer's status");
  int handle = 0;
  bool queried = false;
  uint32_t lastQuery = 0;
  shell::BusyState state = shell::BusyState::Running;
  for (;;) {
    if (handle < 1) {
      handle = channel.Open(queue);
      if (handle < 1) clock.Sleep(UPDATE_CHANNEL_RETRY_MS);
    }
    if (handle >= 1 && (!queried || clock.TickCount() - lastQuery > UPDATE_STATUS_INTERVAL_MS)) {
      printer_link::StatusReply reply;
      if (channel.ReadStatus(handle, reply) > 0 && reply.IsReady()) {
        state = wait.Poll();
        break;
      }
      queried = true;
      lastQuery = clock.TickCount();
    }
    state = wait.Poll();
    if (state != shell::BusyState::Running) break;
    // Keeps the loop from spinning between status queries.
    clock.Sleep(UPDATE_IDLE_STEP_MS);
  }
  if (handle >= 1) channel.Close(handle);
  wait.Stop();
  return state;
}

}  // namespace

bool NeedsLeadIn(const std::string& printerVersion) {
  size_t suffix = sizeof FW_NO_LEAD_IN_SUFFIX - 1;
  return printerVersion.size() < suffix ||
         printerVersion.compare(printerVersion.size() - suffix, suffix, FW_NO_LEAD_IN_SUFFIX) != 0;
}

StreamResult FirmwareStream::Build(platform::Files& files, const std::string& path,
                                   const std::string& printerVersion) {
  Release();
  uint64_t size = 0;
  if (!files.Size(path, &size)) return StreamResult::Unreadable;
  if (!FitsInMemory(size)) return StreamResult::NoMemory;
  size_t fileSize = static_cast<size_t>(size);
  // Always room for the lead-in, whether it is sent or not.
  size_t capacity = fileSize + static_cast<size_t>(FW_TRANSFER_EXTRA);
  buffer_ = TryAllocate(capacity);
  if (!buffer_) return StreamResult::NoMemory;
  capacity_ = capacity;

  size_t at = 0;
  leadIn_ = NeedsLeadIn(printerVersion);
  if (leadIn_) {
    std::memset(buffer_.get(), FW_LEAD_IN_BYTE, FW_LEAD_IN_SIZE);
    at = FW_LEAD_IN_SIZE;
  }
  std::memcpy(buffer_.get() + at, FW_UPDATE_HEADER, FW_UPDATE_HEADER_SIZE);
  at += FW_UPDATE_HEADER_SIZE;

  int64_t read = files.ReadExclusive(path, buffer_.get() + at, size);
  if (read < 0) {
    Release();
    return StreamResult::Unreadable;
  }
  if (static_cast<uint64_t>(read) != size) {
    Release();
    return StreamResult::ShortRead;
  }
  // The file was checked when it was selected, but it may have been replaced since; only bytes
  // that pass the check now go to the printer.
  checkResult_ = CheckFirmwareBytes(buffer_.get() + at, fileSize, &fileVersion_);
  if (checkResult_ != FW_FILE_OK) {
    Release();
    return StreamResult::Rejected;
  }
  length_ = at + fileSize;
  return StreamResult::Built;
}

void FirmwareStream::Release() {
  buffer_.reset();
  capacity_ = 0;
  length_ = 0;
}

UpdateOutcome UpdateFirmware(shell::ToolSeat& seat, printer_link::BidiApi* link,
                             UpdateTarget& target, const std::string& filePath,
                             const std::string& selectedVersion) {
  const std::string queue = seat.PrinterName();
  printer_link::PrinterChannel channel = seat.Channel(link);
  shell::ChannelPrinter printer(channel, queue, seat.DriverName());
  shell::PrinterVerdict verdict = shell::CheckPrinter(
      printer, seat.Launch(), UPDATE_CHECK, nullptr, [&target](shell::PrinterCheckStep step) {
        target.Step(step == shell::PrinterCheckStep::Model ? "checking the printer's identity"
                                                           : "waiting until the printer is ready");
      });
  if (verdict != shell::PrinterVerdict::Usable) {
    shell::PrinterMessage message = shell::MessageFor(verdict, UPDATE_CHECK.texts);
    target.ShowMessage(message.text, message.icon);
    return verdict == shell::PrinterVerdict::WrongModel ? UpdateOutcome::WrongPrinter
                                                        : UpdateOutcome::NotReady;
  }

  target.Step("reading the firmware file");
  FirmwareStream stream;
  switch (stream.Build(seat.Files(), filePath, target.PrinterVersionText())) {
    case StreamResult::Built:
      break;
    case StreamResult::Unreadable:
      target.ShowMessage(TEXT_NOT_READY, ui::Icon::Warning);
      return UpdateOutcome::FileUnreadable;
    case StreamResult::NoMemory:
      target.ShowMessage(TEXT_NO_MEMORY, ui::Icon::Error);
      return UpdateOutcome::NoMemory;
    case StreamResult::ShortRead:
      target.ShowMessage(TEXT_NOT_READY, ui::Icon::Warning);
      return UpdateOutcome::JobFailed;
    case StreamResult::Rejected:
      target.ShowMessage(FileRejectionText(stream.CheckResult()), ui::Icon::Error);
      return UpdateOutcome::FileRejected;
  }
  // The version verdict that allowed the update was made for the selected file; a file replaced
  // by another firmware since then is not sent in its place.
  if (stream.FileVersion() != selectedVersion) {
    target.ShowMessage(TEXT_FILE_DAMAGED, ui::Icon::Error);
    return UpdateOutcome::FileRejected;
  }

  target.Step("sending the firmware as one job");
  // One write: a stream too long for it fails the job rather than going out in pieces.
  int sent = printer_link::SendCommandJob(seat.Spooler(), queue, stream.Data(), stream.Length());
  stream.Release();
  if (sent != 0) {
    target.ShowMessage(TEXT_NOT_READY, ui::Icon::Warning);
    return UpdateOutcome::JobFailed;
  }

  if (WaitForRestart(seat, channel, queue, target) != shell::BusyState::Running) {
    target.ShowMessage(TEXT_UPDATE_TIMED_OUT, ui::Icon::Warning);
    target.Step("checking once more whether the printer is ready");
    if (channel.WaitUntilReady(queue, false, nullptr) != printer_link::WAIT_READY) {
      target.ShowMessage(TEXT_STILL_NOT_READY, ui::Icon::Warning);
      target.SelectFirmwarePage();
      return UpdateOutcome::NotBack;
    }
  }

  target.Step("asking the printer for its version");
  std::string version = QueryFirmwareVersion(channel, queue);
  target.ShowPrinterVersion(version);
  if (!version.empty() && version == selectedVersion) {
    target.ShowMessage(TEXT_UPDATED, ui::Icon::Information);
    return UpdateOutcome::Updated;
  }
  target.ShowMessage(TEXT_VERSION_DIFFERS, ui::Icon::Warning);
  return UpdateOutcome::VersionDiffers;
}

}  // namespace firmware
