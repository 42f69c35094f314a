// Channel choice, status reads, the readiness wait and command replies over the library.
#include "link/printer_channel.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "link/command_framing.h"

namespace printer_link {

namespace {

constexpr char DEVICE_ID_DESCRIPTION[] = "DES:";
constexpr char DEVICE_ID_FIELD_END = ';';

// Channel list entry: 32-bit type (little-endian), flags byte, three bytes not examined.
constexpr size_t CHANNEL_ENTRY_FLAGS = 4;
constexpr uint8_t CHANNEL_USABLE_MASK = 0x07;
// A size answer beyond this is treated like an allocation that failed.
constexpr uint32_t CHANNEL_LIST_LIMIT = 64 * 1024;
constexpr uint32_t NO_CHANNEL = static_cast<uint32_t>(-1);
constexpr int SELECTION_FAILED = -1;

constexpr uint8_t REPLY_MARKER[] = {'@', 'B', 'D', 'C', ' ', 'P', 'S', 0x0D, 0x0A};
constexpr size_t REPLY_MARKER_LAST_START = 502;

// Pause between receives that brought nothing, so that the time limit is reached without
// spinning.
constexpr uint32_t RECEIVE_RETRY_MS = 100;
// What a query answers when the printer stayed silent for the whole time limit.
constexpr int QUERY_TIMED_OUT = 0;
// Pause between message pumps while waiting for readiness; keeps windows alive without
// spinning the processor.
constexpr uint32_t PUMP_INTERVAL_MS = 10;

uint32_t EntryType(const uint8_t* entry) {
  return static_cast<uint32_t>(entry[0]) | (static_cast<uint32_t>(entry[1]) << 8) |
         (static_cast<uint32_t>(entry[2]) << 16) | (static_cast<uint32_t>(entry[3]) << 24);
}

bool IsKnownType(uint32_t type) {
  return type == CHANNEL_CONTROL || type == CHANNEL_NETWORK;
}

// Milliseconds still to run until deadline; 0 once it has passed (wrap-safe).
uint32_t Remaining(uint32_t now, uint32_t deadline) {
  int32_t left = static_cast<int32_t>(deadline - now);
  return left > 0 ? static_cast<uint32_t>(left) : 0;
}

}  // namespace

bool DeviceIdMatches(const char* deviceId, size_t size, const std::string& driverName) {
  // The text ends at its zero, or at the end of the buffer when it fills it.
  const char* end = static_cast<const char*>(std::memchr(deviceId, 0, size));
  std::string text(deviceId, end ? static_cast<size_t>(end - deviceId) : size);
  size_t key = text.find(DEVICE_ID_DESCRIPTION);
  if (key == std::string::npos) return false;
  size_t valueStart = key + std::strlen(DEVICE_ID_DESCRIPTION);
  size_t valueEnd = text.find(DEVICE_ID_FIELD_END, valueStart);
  if (valueEnd == std::string::npos || valueEnd == valueStart) return false;
  return text.compare(valueStart, valueEnd - valueStart, driverName) == 0;
}

long FindReplyMarker(const uint8_t* work, size_t size) {
  for (size_t k = 0; k <= REPLY_MARKER_LAST_START && k + sizeof REPLY_MARKER <= size; ++k) {
    if (std::memcmp(work + k, REPLY_MARKER, sizeof REPLY_MARKER) == 0) return static_cast<long>(k);
  }
  return -1;
}

int BindWithFallback(BidiApi& api, const std::string& queueName, platform::Clock& clock) {
  if (api.Bind(queueName, LibrarySearch::PlainNameFirst) != 1) return 0;
  PrinterChannel trial(&api, clock);
  int handle = trial.Open(queueName);
  if (handle >= 1) {
    trial.Close(handle);
    return 1;
  }
  // The library found by name does not reach this printer: use the driver's own copy.
  api.Release();
  return api.Bind(queueName, LibrarySearch::DriverPathOnly);
}

PrinterChannel::PrinterChannel(BidiApi* api, platform::Clock& clock, WaitWindows* windows,
                               std::string waitCaption)
    : api_(api), clock_(clock), windows_(windows), waitCaption_(std::move(waitCaption)) {}

bool PrinterChannel::MatchDeviceId(const std::string& queueName, const std::string& driverName) {
  if (!api_) return false;
  char buffer[DEVICE_ID_BUFFER] = {};
  uint32_t size = DEVICE_ID_BUFFER;
  if (api_->KBGetDeviceID(KB_CONSTANT, queueName.c_str(), buffer, &size) != 0) return false;
  return DeviceIdMatches(buffer, sizeof buffer, driverName);
}

int PrinterChannel::SelectChannel(const std::string& queueName) {
  if (!api_) return SELECTION_FAILED;
  if (IsKnownType(channelType_)) return static_cast<int>(channelType_);

  channelType_ = NO_CHANNEL;
  uint32_t size = 0;
  int result = api_->KBGetAvailableChannel(KB_CONSTANT, queueName.c_str(), nullptr, &size);
  if (result != KB_SIZE_QUERY || size > CHANNEL_LIST_LIMIT) return SELECTION_FAILED;
  std::vector<uint8_t> list(size + 1);
  uint32_t listSize = size;
  int count = api_->KBGetAvailableChannel(KB_CONSTANT, queueName.c_str(), list.data(), &listSize);
  if (count <= 0) return SELECTION_FAILED;
  // Never more entries than the buffer holds, whatever the library counts.
  size_t entries = std::min<size_t>(static_cast<size_t>(count), size / CHANNEL_ENTRY_SIZE);

  for (uint32_t wanted : {CHANNEL_CONTROL, CHANNEL_NETWORK}) {
    for (size_t i = 0; i < entries; ++i) {
      const uint8_t* entry = list.data() + i * CHANNEL_ENTRY_SIZE;
      bool usable = (entry[CHANNEL_ENTRY_FLAGS] & CHANNEL_USABLE_MASK) == CHANNEL_USABLE_MASK;
      if (usable && EntryType(entry) == wanted) {
        channelType_ = wanted;
        return static_cast<int>(wanted);
      }
    }
  }
  return SELECTION_FAILED;
}

int PrinterChannel::Open(const std::string& queueName) {
  if (SelectChannel(queueName) == SELECTION_FAILED) return -1;
  return api_->KBOpenChannel(KB_CONSTANT, queueName.c_str(), channelType_);
}

void PrinterChannel::Close(int handle) {
  if (api_) api_->KBCloseChannel(handle);
}

StatusRead ReadStatusBytes(const uint8_t* received, size_t size, StatusReply& reply) {
  uint8_t buffer[STATUS_BUFFER] = {};
  if (received) std::copy(received, received + std::min(size, STATUS_BUFFER), buffer);
  // The whole zero-cleared buffer is the reply: a length word beyond the bytes delivered reads
  // the zeros after them, and only one beyond the buffer is no status.
  if (FindStatusBlock(buffer, STATUS_BUFFER) < 0) return StatusRead::NoBlock;
  return reply.Assign(buffer, STATUS_BUFFER) ? StatusRead::Read : StatusRead::Unsound;
}

int PrinterChannel::ReadStatus(int handle, StatusReply& reply) {
  if (!api_) return -1;
  uint8_t buffer[STATUS_BUFFER] = {};
  uint32_t size = STATUS_BUFFER;
  int result = api_->KBGetStatus(handle, buffer, &size);
  if (result <= 0) return result;
  // Whatever count the library gives, it may have written anywhere in the buffer.
  return ReadStatusBytes(buffer, STATUS_BUFFER, reply) == StatusRead::Unsound ? -1 : result;
}

int PrinterChannel::WaitUntilReady(const std::string& queueName, bool showDialog,
                                   ui::View* parent) {
  if (!api_) return WAIT_NO_LIBRARY;
  int handle = Open(queueName);
  if (handle < 1) return WAIT_NOT_READY;

  StatusReply status;
  if (ReadStatus(handle, status) > 0 && status.IsReady()) {
    Close(handle);
    return WAIT_READY;
  }

  platform::Clock& clock = clock_;
  std::unique_ptr<ProgressWait> dialog =
      showDialog && windows_ ? windows_->NewWait() : std::unique_ptr<ProgressWait>();
  bool dialogShown = dialog && dialog->Start(waitCaption_, READY_DIALOG_LIMIT_MS, false, parent);
  if (dialogShown) dialog->Poll();

  int ready = WAIT_NOT_READY;
  for (int round = 0; round < READY_EXTRA_POLLS && ready != WAIT_READY; ++round) {
    uint32_t deadline = clock.TickCount() + READY_POLL_MS;
    for (uint32_t left = Remaining(clock.TickCount(), deadline); left > 0;
         left = Remaining(clock.TickCount(), deadline)) {
      if (dialogShown) {
        dialog->Poll();
        clock.Sleep(std::min(left, PUMP_INTERVAL_MS));
      } else if (!parent || parent->IsEnabled() || !windows_) {
        clock.Sleep(left);
      } else {
        windows_->PumpMessages();
        clock.Sleep(std::min(left, PUMP_INTERVAL_MS));
      }
    }
    ready = ReadStatus(handle, status) > 0 && status.IsReady() ? WAIT_READY : WAIT_NOT_READY;
  }

  if (dialogShown) dialog->Stop();
  Close(handle);
  return ready;
}

int PrinterChannel::QueryPrinter(const std::string& queueName, const uint8_t* command,
                                 size_t length, uint8_t* reply, uint32_t replySize,
                                 uint32_t timeLimitMs) {
  if (!api_ || SelectChannel(queueName) == SELECTION_FAILED) return -1;
  int handle = api_->KBOpenChannel(KB_CONSTANT, queueName.c_str(), channelType_);
  if (handle < 1) return -1;

  platform::Clock& clock = clock_;
  int result = -1;
  if (channelType_ == CHANNEL_CONTROL) {
    result = api_->KBSend(handle, command, static_cast<uint32_t>(length));
    if (result > 0) {
      uint32_t started = clock.TickCount();
      for (;;) {
        uint32_t size = replySize;
        result = api_->KBReceive(handle, reply, &size, timeLimitMs);
        if (result != 0) break;
        if (clock.TickCount() - started >= timeLimitMs) {
          result = QUERY_TIMED_OUT;
          break;
        }
        clock.Sleep(RECEIVE_RETRY_MS);
      }
    }
  } else {
    std::vector<uint8_t> message;
    if (WrapSnmp(command, length, &message)) {
      result = api_->KBSend(handle, message.data(), static_cast<uint32_t>(message.size()));
    }
    if (result > 0) {
      uint8_t work[NETWORK_WORK_BUFFER];
      // The library must never be told the work buffer is larger than it is.
      uint32_t receiveSize = std::min<uint32_t>(replySize, NETWORK_WORK_BUFFER);
      uint32_t started = clock.TickCount();
      for (;;) {
        std::memset(work, 0, sizeof work);
        uint32_t size = receiveSize;
        result = api_->KBReceive(handle, work, &size, timeLimitMs);
        if (result < 0) break;
        if (result > 0) {
          long k = FindReplyMarker(work, sizeof work);
          if (k >= 0) {
            long m = result - k;
            // Copied only when the m bytes from the marker lie inside both buffers.
            if (m > 0 && static_cast<uint32_t>(m) < size && static_cast<uint32_t>(m) < replySize &&
                static_cast<size_t>(k + m) <= sizeof work) {
              std::memcpy(reply, work + k, static_cast<size_t>(m));
            }
            break;
          }
        }
        if (clock.TickCount() - started >= timeLimitMs) {
          result = QUERY_TIMED_OUT;
          break;
        }
        clock.Sleep(RECEIVE_RETRY_MS);
      }
    }
  }

  api_->KBCloseChannel(handle);
  return result;
}

}  // namespace printer_link
