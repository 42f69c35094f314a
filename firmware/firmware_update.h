// The firmware transfer: the stream built from a checked file, one raw job, and the wait for the
// printer's restart.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "firmware/firmware_file.h"
#include "link/bidi_api.h"
#include "platform/files.h"
#include "platform/ui.h"
#include "shell/layout.h"
#include "shell/printer_check.h"
#include "shell/shared_texts.h"
#include "shell/tool_seat.h"

namespace firmware {

// The stream: [lead-in] update header, then the file unchanged.
constexpr size_t FW_LEAD_IN_SIZE = 0x4000;
constexpr uint8_t FW_LEAD_IN_BYTE = 0x11;
// ESC "}", 01, count 5 (16 bits, little-endian), then the fixed access value.
constexpr uint8_t FW_UPDATE_HEADER[] = {0x1B, 0x7D, 0x01, 0x05, 0x00, 0xA4, 0x3B, 0x19, 0xE2, 0x6D};
constexpr size_t FW_UPDATE_HEADER_SIZE = sizeof FW_UPDATE_HEADER;
static_assert(FW_LEAD_IN_SIZE + FW_UPDATE_HEADER_SIZE == FW_TRANSFER_EXTRA,
              "the transfer buffer is sized for lead-in and header");
// A printer whose version ends so needs no lead-in.
constexpr char FW_NO_LEAD_IN_SUFFIX[] = "0000";

// Waits after the job was sent.
constexpr uint32_t UPDATE_WAIT_LIMIT_MS = 90000;
constexpr uint32_t UPDATE_SETTLE_MS = 70000;
constexpr uint32_t UPDATE_IDLE_STEP_MS = 1;
constexpr uint32_t UPDATE_STATUS_INTERVAL_MS = 2000;
constexpr uint32_t UPDATE_CHANNEL_RETRY_MS = 5000;

// The page the main window shows again after a printer that did not come back.
constexpr int FIRMWARE_PAGE_NUMBER = 7;

// True unless the text's last four characters are exactly "0000".
bool NeedsLeadIn(const std::string& printerVersion);

enum class StreamResult {
  Built,
  Unreadable,  // no size, not opened or not read
  NoMemory,    // the buffer cannot be obtained
  ShortRead,   // fewer bytes than the size: nothing may be sent
  Rejected,    // the bytes read fail the file check
};

// One buffer of file size + FW_TRANSFER_EXTRA bytes holding the stream to send.
class FirmwareStream {
 public:
  // Reads the file at path behind the header (and lead-in, when printerVersion needs it) and
  // checks the bytes read again, since the file may have changed after it was selected.
  StreamResult Build(platform::Files& files, const std::string& path,
                     const std::string& printerVersion);
  void Release();

  const uint8_t* Data() const { return buffer_.get(); }
  size_t Length() const { return length_; }
  size_t Capacity() const { return capacity_; }
  bool HasLeadIn() const { return leadIn_; }
  // Result of the check of the bytes read, and their version text when it passed.
  int CheckResult() const { return checkResult_; }
  const std::string& FileVersion() const { return fileVersion_; }

 private:
  std::unique_ptr<uint8_t[]> buffer_;
  size_t capacity_ = 0;
  size_t length_ = 0;
  bool leadIn_ = false;
  int checkResult_ = FW_FILE_UNREADABLE;
  std::string fileVersion_;
};

// What an update reads from and tells its page (or the command-line tool).
class UpdateTarget {
 public:
  virtual ~UpdateTarget() = default;
  // The printer version the page shows now.
  virtual std::string PrinterVersionText() = 0;
  // The version read after the update; the page shows it (text 5 when empty) and compares again.
  virtual void ShowPrinterVersion(const std::string& version) = 0;
  virtual void ShowMessage(int text, ui::Icon icon) = 0;
  // The printer did not come back: the main window shows the firmware page again.
  virtual void SelectFirmwarePage() = 0;
  // A note of the step about to run, for a console; pages ignore it.
  virtual void Step(const char* /*description*/) {}
};

enum class UpdateOutcome {
  WrongPrinter,    // identity check failed (text 305)
  NotReady,        // not ready before the transfer (302 or 305)
  FileUnreadable,  // 302
  NoMemory,        // 303
  FileRejected,    // the file no longer passes the check or is not the selected one
  JobFailed,       // short read, too long, or the job was refused (302)
  NotBack,         // not ready within the limit nor after it (310, 312)
  VersionDiffers,  // 311
  Updated,         // 309
};

// Before the transfer: the model in launch mode Normal, readiness outside U; only a printer that
// answered ready is sent the file.
constexpr shell::PrinterCheck UPDATE_CHECK = {
    shell::IN_NO_MODE,      shell::IN_NORMAL, shell::IN_NORMAL | shell::IN_P, true, true,
    shell::TOOL_CHECK_TEXTS};

// The Update command: checks the printer (by launch mode), sends the file selected with
// selectedVersion as one raw job and waits for the printer to come back with a new version.
// link is the printer link to use (the application's in the program).
UpdateOutcome UpdateFirmware(shell::ToolSeat& seat, printer_link::BidiApi* link,
                             UpdateTarget& target, const std::string& filePath,
                             const std::string& selectedVersion);

}  // namespace firmware
