// Channel selection, status, readiness and command replies between a page and the library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "link/bidi_api.h"
#include "link/progress_wait.h"
#include "link/status_reply.h"
#include "platform/clock.h"
#include "platform/ui.h"

namespace printer_link {

constexpr uint32_t CHANNEL_CONTROL = 0x10010003;
constexpr uint32_t CHANNEL_NETWORK = 4;
constexpr int KB_CONSTANT = 1;  // first argument of the library's queue calls
constexpr size_t DEVICE_ID_BUFFER = 256;
constexpr size_t STATUS_BUFFER = 256;
constexpr size_t CHANNEL_ENTRY_SIZE = 8;
constexpr int KB_SIZE_QUERY = -4;         // KBGetAvailableChannel: buffer size needed
constexpr uint32_t READY_POLL_MS = 5000;  // between readiness polls
constexpr int READY_EXTRA_POLLS = 2;
constexpr uint32_t READY_DIALOG_LIMIT_MS = 15000;
constexpr size_t NETWORK_WORK_BUFFER = 512;

// What WaitUntilReady answers.
constexpr int WAIT_READY = 1;
constexpr int WAIT_NOT_READY = 0;
constexpr int WAIT_NO_LIBRARY = -1;

// True when the device ID's first "DES:" field, closed by ';' and not empty, equals driverName.
// Never reads past size bytes of deviceId.
bool DeviceIdMatches(const char* deviceId, size_t size, const std::string& driverName);

// Index of the "@BDC PS" CR LF marker in work (start positions 0 to 502 only), or -1.
long FindReplyMarker(const uint8_t* work, size_t size);

// Binds api by the library's plain name first; when that bound but no channel to queueName
// opens through it, releases it and binds the copy the queue's driver names instead. 1 when the
// library is bound, 0 when not; a failed bind is left for the caller's Release.
int BindWithFallback(BidiApi& api, const std::string& queueName, platform::Clock& clock);

// How a status reply reads in the program's buffer.
enum class StatusRead {
  NoBlock,  // no CR LF: reply is left as it was
  Unsound,  // a CR LF but no sound block after it: reply is emptied
  Read,
};
// The received bytes (those beyond STATUS_BUFFER never arrive) in a zero-cleared buffer of
// STATUS_BUFFER bytes, read as ReadStatus reads the library's answer; tools read bytes given to
// them through it too, so that both give the same verdict.
StatusRead ReadStatusBytes(const uint8_t* received, size_t size, StatusReply& reply);

class PrinterChannel {
 public:
  // api may be null. windows may be null: the readiness wait then shows no dialog and does not
  // pump messages. waitCaption is the caption of the readiness wait's dialog.
  PrinterChannel(BidiApi* api, platform::Clock& clock, WaitWindows* windows = nullptr,
                 std::string waitCaption = std::string());

  bool MatchDeviceId(const std::string& queueName, const std::string& driverName);
  int Open(const std::string& queueName);
  void Close(int handle);
  int ReadStatus(int handle, StatusReply& reply);
  // WAIT_READY, WAIT_NOT_READY or WAIT_NO_LIBRARY.
  int WaitUntilReady(const std::string& queueName, bool showDialog, ui::View* parent);
  // Above 0 success; the repeated receives end when timeLimitMs has passed.
  int QueryPrinter(const std::string& queueName, const uint8_t* command, size_t length,
                   uint8_t* reply, uint32_t replySize, uint32_t timeLimitMs);

  uint32_t CachedType() const { return channelType_; }

 private:
  int SelectChannel(const std::string& queueName);

  BidiApi* api_;
  platform::Clock& clock_;
  WaitWindows* windows_;
  std::string waitCaption_;
  uint32_t channelType_ = static_cast<uint32_t>(-1);
};

}  // namespace printer_link
