// The simulated printer's answers and its reading of raw jobs.
#include "sim/simulated_printer.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <map>

#include "sim/document_reader.h"
#include "sim/job_reader.h"
#include "sim/protocol_bytes.h"
#include "sim/replayed_calls.h"
#include "sim/simulated_driver.h"
#include "sim/snmp_message.h"

namespace sim {

namespace {

constexpr char DEVICE_ID_MAKER[] = "MFG:KALDO;CMD:REMOTE1,BDC;MDL:";
constexpr char DEVICE_ID_CLASS[] = ";CLS:PRINTER;DES:";

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// Parameters as the log shows them: "00 10".
std::string SpacedHex(const std::vector<uint8_t>& bytes) {
  std::string text;
  for (size_t i = 0; i < bytes.size(); ++i) text += (i ? " " : "") + ToHex(&bytes[i], 1);
  return text;
}

uint32_t Be32(const std::vector<uint8_t>& b, size_t at) {
  return (uint32_t{b[at]} << 24) | (uint32_t{b[at + 1]} << 16) | (uint32_t{b[at + 2]} << 8) |
         b[at + 3];
}

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (uint32_t{b[at + 1]} << 8) | (uint32_t{b[at + 2]} << 16) |
         (uint32_t{b[at + 3]} << 24);
}

uint32_t ByteSum(const std::vector<uint8_t>& b, size_t from, size_t length) {
  uint32_t sum = 0;
  for (size_t i = from; i < from + length; ++i) sum += b[i];
  return sum;
}

std::vector<uint8_t> Bytes(const std::string& text) {
  return std::vector<uint8_t>(text.begin(), text.end());
}

// Tick comparison that survives the counter's wrap.
bool Before(uint32_t now, uint32_t until) {
  return static_cast<int32_t>(now - until) < 0;
}

// "GROUP.KEY" under which an "EX" value is kept.
std::string ValueKey(const std::vector<uint8_t>& params, size_t keyEnd) {
  return ToHex(&params[EX_GROUP_AT], EX_GROUP_LENGTH) + "." +
         ToHex(params.data() + EX_KEY_AT, keyEnd - EX_KEY_AT);
}

// The same key for a selector given on its own.
std::string AdjustmentKey(const std::vector<uint8_t>& selector) {
  return std::string(EX_GROUP_ADJUSTMENT) + "." + ToHex(selector.data(), selector.size());
}

// Items 70 and 214 as "70:1,2,4,2" or "214:1,20,2,4,6", whichever was set; "none" without.
std::string PrintModeText(const DriverSettings& settings) {
  auto words = [](const auto& block) {
    std::string text;
    for (auto word : block) text += (text.empty() ? "" : ",") + std::to_string(word);
    return text;
  };
  auto set = [](const auto& block) {
    return std::any_of(block.begin(), block.end(), [](auto word) { return word != 0; });
  };
  if (set(settings.mediaMode)) return "70:" + words(settings.mediaMode);
  if (set(settings.printMode)) return "214:" + words(settings.printMode);
  return "none";
}

}  // namespace

// What one job has set up so far.
struct SimulatedPrinter::JobSession {
  bool remote = false;
  size_t leadIn = 0;                      // length of the lead-in just before
  std::map<std::string, uint8_t> staged;  // adjustment writes waiting for "LD"
};

std::string FirmwareFileVersion(const std::vector<uint8_t>& file, std::string* problem) {
  auto refuse = [problem](const char* why) {
    if (problem) *problem = why;
    return std::string();
  };
  size_t size = file.size();
  if (size < FW_IMAGE_AT) return refuse("file too small");
  if (Be32(file, FW_OUTER_LENGTH_AT) != size - 8) return refuse("outer length wrong");
  if (ByteSum(file, FW_OUTER_SUM_FROM, size - FW_OUTER_SUM_FROM) != Be32(file, FW_OUTER_SUM_AT)) {
    return refuse("outer checksum wrong");
  }
  for (size_t i = 0; i < FW_MARKER_LENGTH; ++i) {
    if (file[FW_MARKER_AT + i] != 0xFF) return refuse("marker missing");
  }
  if (Le32(file, FW_IMAGE_LENGTH_AT) != size - FW_IMAGE_AT) return refuse("image length wrong");
  if (ByteSum(file, FW_IMAGE_AT, size - FW_IMAGE_AT) != Le32(file, FW_IMAGE_SUM_AT)) {
    return refuse("image checksum wrong");
  }
  char tag0 = static_cast<char>(file[FW_VERSION_AT]);
  char tag1 = static_cast<char>(file[FW_VERSION_AT + 1]);
  if ((tag0 != 'S' && tag0 != 's') || (tag1 != 'N' && tag1 != 'n')) {
    return refuse("version tag is not SN");
  }
  auto begin = file.begin() + FW_VERSION_AT;
  auto end = std::find(begin, begin + FW_VERSION_LENGTH, 0);
  return std::string(begin, end);
}

void SimulatedPrinter::Settle() {
  if (state_.busyUntil && !Before(clock_.TickCount(), *state_.busyUntil)) {
    state_.busyUntil.reset();
  }
  if (!state_.busyUntil && !state_.pendingFirmware.empty()) {
    state_.firmware = state_.pendingFirmware;
    state_.pendingFirmware.clear();
    Note("restarted with firmware " + state_.firmware);
  }
}

bool SimulatedPrinter::IsBusy() {
  Settle();
  return state_.busyUntil.has_value();
}

void SimulatedPrinter::MakeBusyFor(uint32_t ms) {
  uint32_t until = clock_.TickCount() + ms;
  if (!state_.busyUntil || Before(*state_.busyUntil, until)) state_.busyUntil = until;
}

bool SimulatedPrinter::Reachable() const {
  return !state_.Has(FAULT_OFFLINE) && !state_.vanished;
}

bool SimulatedPrinter::QueueMatches(const char* queue) const {
  return queue != nullptr && (state_.queue.empty() || state_.queue == queue);
}

std::string SimulatedPrinter::DeviceId() const {
  if (!state_.deviceId.empty()) return state_.deviceId;
  std::string model = state_.Has(FAULT_WRONG_MODEL) ? WRONG_MODEL_NAME : state_.model;
  return DEVICE_ID_MAKER + model + DEVICE_ID_CLASS + model + ";";
}

int SimulatedPrinter::Initialize() {
  if (Replaying(state_)) return ReplayedCalls(state_, &clock_).KBInitialize();
  Settle();
  return state_.Has(FAULT_INIT_FAILS) ? KB_FAILED : KB_OK;
}

int SimulatedPrinter::Release() {
  if (Replaying(state_)) return ReplayedCalls(state_, &clock_).KBRelease();
  state_.openChannels.clear();
  state_.replies.clear();
  return KB_OK;
}

int SimulatedPrinter::GetDeviceId(int constant, const char* queue, char* buffer, uint32_t* size) {
  if (Replaying(state_))
    return ReplayedCalls(state_, &clock_).KBGetDeviceID(constant, queue, buffer, size);
  Settle();
  if (constant != KB_QUEUE_CONSTANT || buffer == nullptr || size == nullptr) {
    return KB_BAD_ARGUMENT;
  }
  if (!Reachable() || !QueueMatches(queue)) return KB_FAILED;
  std::string id = DeviceId();
  if (id.size() + 1 > *size) {
    *size = static_cast<uint32_t>(id.size() + 1);
    return KB_MORE_ROOM;
  }
  std::memcpy(buffer, id.c_str(), id.size() + 1);
  *size = static_cast<uint32_t>(id.size());
  return KB_OK;
}

int SimulatedPrinter::GetAvailableChannel(int constant, const char* queue, uint8_t* buffer,
                                          uint32_t* size) {
  if (Replaying(state_)) {
    return ReplayedCalls(state_, &clock_).KBGetAvailableChannel(constant, queue, buffer, size);
  }
  Settle();
  if (constant != KB_QUEUE_CONSTANT || size == nullptr) return KB_BAD_ARGUMENT;
  if (!Reachable() || !QueueMatches(queue)) return KB_FAILED;
  if (state_.Has(FAULT_NO_CHANNEL)) {
    *size = 0;
    return 0;
  }
  uint32_t needed = static_cast<uint32_t>(state_.channels.size() * CHANNEL_ENTRY_BYTES);
  if (buffer == nullptr || *size < needed) {
    *size = needed;
    return KB_MORE_ROOM;
  }
  uint8_t* entry = buffer;
  for (const ChannelEntry& channel : state_.channels) {
    std::memset(entry, 0, CHANNEL_ENTRY_BYTES);
    for (int i = 0; i < 4; ++i) entry[i] = static_cast<uint8_t>(channel.type >> (8 * i));
    entry[4] = channel.flags;
    entry += CHANNEL_ENTRY_BYTES;
  }
  *size = needed;
  return static_cast<int>(state_.channels.size());
}

int SimulatedPrinter::OpenChannel(int constant, const char* queue, uint32_t type) {
  if (Replaying(state_)) return ReplayedCalls(state_, &clock_).KBOpenChannel(constant, queue, type);
  Settle();
  if (constant != KB_QUEUE_CONSTANT) return KB_BAD_ARGUMENT;
  if (!Reachable() || !QueueMatches(queue) || state_.Has(FAULT_OPEN_FAILS)) return KB_FAILED;
  bool offered = std::any_of(state_.channels.begin(), state_.channels.end(), [type](auto& c) {
    return c.type == type && (c.flags & CHANNEL_FLAGS_USABLE) == CHANNEL_FLAGS_USABLE;
  });
  if (!offered) return KB_FAILED;
  int handle = state_.nextHandle++;
  state_.openChannels[handle] = type;
  return handle;
}

int SimulatedPrinter::CloseChannel(int handle) {
  if (Replaying(state_)) return ReplayedCalls(state_, &clock_).KBCloseChannel(handle);
  state_.replies.erase(handle);
  return state_.openChannels.erase(handle) ? KB_OK : KB_FAILED;
}

int SimulatedPrinter::SetOption(int handle, int option, void* data, uint32_t size) {
  if (Replaying(state_))
    return ReplayedCalls(state_, &clock_).KBSetOption(handle, option, data, size);
  return KB_FAILED;
}

int SimulatedPrinter::GetOption(int handle, int option, void* data, uint32_t* size) {
  if (Replaying(state_))
    return ReplayedCalls(state_, &clock_).KBGetOption(handle, option, data, size);
  return KB_FAILED;
}

int SimulatedPrinter::ReceiveCancel(int handle) {
  if (Replaying(state_)) return ReplayedCalls(state_, &clock_).KBReceiveCancel(handle);
  if (!state_.openChannels.count(handle)) return KB_FAILED;
  state_.replies.erase(handle);
  return KB_OK;
}

int SimulatedPrinter::StatusCode() {
  Settle();
  ++state_.statusPolls;
  if (state_.Has(FAULT_NEVER_READY)) return STATUS_CODE_BUSY;
  if (state_.statusPolls <= state_.readyAfter) return STATUS_CODE_BUSY;
  if (state_.busyUntil) return STATUS_CODE_BUSY;
  return state_.statusCode;
}

std::vector<uint8_t> SimulatedPrinter::StatusBytes() {
  uint8_t code = static_cast<uint8_t>(StatusCode());
  std::string head = STATUS_HEAD;
  if (state_.Has(FAULT_STATUS_NO_CRLF)) {
    // Only the unfinished head: there is no block a reader could find by accident.
    return Bytes(head.substr(0, head.size() - 2));
  }

  std::vector<uint8_t> body = {FIELD_STATUS_CODE, 1, code, FIELD_ERROR, 1, 0};
  body.push_back(FIELD_INK_TABLE);
  body.push_back(static_cast<uint8_t>(1 + INK_ENTRY_BYTES * state_.ink.size()));
  body.push_back(INK_ENTRY_BYTES);
  for (size_t slot = 0; slot < state_.ink.size(); ++slot) {
    body.push_back(static_cast<uint8_t>(slot + 1));
    body.push_back(0);
    body.push_back(state_.ink[slot]);
  }
  // The tested value is the field's last byte.
  body.insert(body.end(), {FIELD_0D_VALUE, 2, 0, state_.field0d});

  uint16_t length = state_.Has(FAULT_STATUS_OVERLONG) ? STATUS_OVERLONG_LENGTH
                                                      : static_cast<uint16_t>(body.size());
  std::vector<uint8_t> reply = Bytes(head);
  reply.push_back(static_cast<uint8_t>(length & 0xFF));
  reply.push_back(static_cast<uint8_t>(length >> 8));
  reply.insert(reply.end(), body.begin(), body.end());
  return reply;
}

int SimulatedPrinter::GetStatus(int handle, uint8_t* buffer, uint32_t* size) {
  if (Replaying(state_)) return ReplayedCalls(state_, &clock_).KBGetStatus(handle, buffer, size);
  Settle();
  if (buffer == nullptr || size == nullptr) return KB_BAD_ARGUMENT;
  if (!state_.openChannels.count(handle) || !Reachable()) return KB_FAILED;
  std::vector<uint8_t> reply = StatusBytes();
  if (reply.size() > *size) {
    *size = static_cast<uint32_t>(reply.size());
    return KB_MORE_ROOM;
  }
  std::memcpy(buffer, reply.data(), reply.size());
  *size = static_cast<uint32_t>(reply.size());
  return static_cast<int>(reply.size());
}

std::vector<uint8_t> SimulatedPrinter::ReplyTo(const std::vector<uint8_t>& command) {
  Settle();
  if (command.size() < REMOTE_PACKET_HEAD ||
      command.size() - REMOTE_PACKET_HEAD != static_cast<size_t>(command[2] | (command[3] << 8))) {
    Note("query malformed: " + SpacedHex(command));
    return {};
  }
  std::string name(command.begin(), command.begin() + 2);
  std::vector<uint8_t> params(command.begin() + REMOTE_PACKET_HEAD, command.end());
  if (state_.Has(FAULT_SILENT)) {
    Note("query " + name + " unanswered (silent)");
    return {};
  }
  if (!state_.pendingFirmware.empty()) {
    Note("query " + name + " unanswered (updating firmware)");
    return {};
  }

  std::string text;
  if (name == "VI") {
    text = "VI:" + std::string(REPLY_OK) + state_.firmware;
  } else if (name == "EX" && params.size() >= EX_KEY_AT && params[0] == EX_READ) {
    text = AdjustmentReply(params);
  } else {
    text = name + ":" + REPLY_NOT_AVAILABLE;
  }
  if (name == "EX" && state_.Has(FAULT_GARBLED_REPLY)) {
    // The letters of the answer swapped and its end lost: nothing a reader can take a value from.
    std::swap(text[0], text[1]);
    Note("query " + name + " answered garbled " + text);
    return Bytes(REPLY_MARKER + text);
  }
  Note("query " + name + " answered " + text);
  return Bytes(REPLY_MARKER + text + REPLY_END);
}

std::string SimulatedPrinter::AdjustmentReply(const std::vector<uint8_t>& params) const {
  auto found = state_.values.find(ValueKey(params, params.size()));
  std::string value = found != state_.values.end()
                          ? found->second
                          : ToHex(&EX_DEFAULT_VALUE, 1) + ToHex(&EX_DEFAULT_VALUE, 1);
  return "EX:" + ToHex(&params[EX_GROUP_AT], EX_GROUP_LENGTH) +
         ToHex(params.data() + EX_KEY_AT, params.size() - EX_KEY_AT) + value;
}

std::string SimulatedPrinter::AdjustmentValue(const std::vector<uint8_t>& selector) const {
  auto found = state_.values.find(AdjustmentKey(selector));
  return found != state_.values.end() ? found->second
                                      : ToHex(&EX_DEFAULT_VALUE, 1) + ToHex(&EX_DEFAULT_VALUE, 1);
}

void SimulatedPrinter::SetAdjustmentValue(const std::vector<uint8_t>& selector, uint8_t current,
                                          uint8_t reference) {
  state_.values[AdjustmentKey(selector)] = ToHex(&current, 1) + ToHex(&reference, 1);
}

int SimulatedPrinter::Send(int handle, const uint8_t* data, uint32_t length) {
  if (Replaying(state_)) return ReplayedCalls(state_, &clock_).KBSend(handle, data, length);
  Settle();
  if (data == nullptr || length == 0) return KB_BAD_ARGUMENT;
  auto channel = state_.openChannels.find(handle);
  if (channel == state_.openChannels.end() || !Reachable()) return KB_FAILED;

  std::vector<uint8_t> sent(data, data + length);
  std::vector<uint8_t> reply;
  if (channel->second == CHANNEL_TYPE_NETWORK) {
    SnmpRequest request;
    std::string problem;
    if (!ReadSnmpRequest(data, length, &request, &problem)) {
      Note("network request dropped: " + problem);
      return static_cast<int>(length);
    }
    reply = ReplyTo(request.command);
    if (!reply.empty()) reply = BuildSnmpResponse(request, reply);
  } else {
    reply = ReplyTo(sent);
  }
  if (reply.empty()) {
    state_.replies.erase(handle);
  } else {
    state_.replies[handle] = reply;
  }
  return static_cast<int>(length);
}

int SimulatedPrinter::Receive(int handle, uint8_t* buffer, uint32_t* size, uint32_t timeLimitMs) {
  if (Replaying(state_))
    return ReplayedCalls(state_, &clock_).KBReceive(handle, buffer, size, timeLimitMs);
  Settle();
  if (buffer == nullptr || size == nullptr) return KB_BAD_ARGUMENT;
  if (!state_.openChannels.count(handle) || !Reachable()) return KB_FAILED;
  auto pending = state_.replies.find(handle);
  if (pending == state_.replies.end()) {
    clock_.Sleep(timeLimitMs);
    return 0;
  }
  std::vector<uint8_t>& reply = pending->second;
  size_t n = std::min<size_t>(*size, reply.size());
  std::memcpy(buffer, reply.data(), n);
  reply.erase(reply.begin(), reply.begin() + static_cast<std::ptrdiff_t>(n));
  if (reply.empty()) state_.replies.erase(pending);
  *size = static_cast<uint32_t>(n);
  return static_cast<int>(n);
}

void SimulatedPrinter::ReceiveJob(const uint8_t* bytes, size_t length) {
  Settle();
  if (!Reachable()) {
    Note("job " + std::to_string(length) + " bytes lost (printer unreachable)");
    return;
  }
  Note("job " + std::to_string(length) + " bytes");
  JobSession session;
  auto dropStaged = [&]() {
    if (session.staged.empty()) return;
    Note("EX writes dropped without LD: " + std::to_string(session.staged.size()));
    session.staged.clear();
  };
  for (const JobEvent& event : ReadJob(bytes, length)) {
    size_t leadIn = session.leadIn;
    session.leadIn = 0;
    switch (event.piece) {
      case JobPiece::RESET:
        break;
      case JobPiece::ENTER_REMOTE:
        session.remote = true;
        Note("remote mode on");
        break;
      case JobPiece::REMOTE_COMMAND:
        ActOnCommand(event.command, event.data, &session);
        break;
      case JobPiece::LEAVE_REMOTE:
        dropStaged();
        session.remote = false;
        Note("remote mode off");
        break;
      case JobPiece::PAGE_END:
        Note("job end");
        break;
      case JobPiece::LEAD_IN:
        session.leadIn = event.count;
        Note("lead-in " + std::to_string(event.count) + " bytes");
        break;
      case JobPiece::SAMPLE_SHEET:
        Note("sample sheet mode " + std::to_string(event.count));
        SheetCommand(static_cast<int>(event.count));
        break;
      case JobPiece::FIRMWARE:
        TakeFirmware(event.data, leadIn);
        break;
      case JobPiece::PRINT_DATA:
        Note("print data " + std::to_string(event.count) + " bytes");
        break;
      case JobPiece::DOCUMENT:
        Note("print data " + std::to_string(event.count) + " bytes");
        Note(DocumentRecord(ReadDocument(bytes + event.at, event.count)));
        SheetJob();
        break;
      case JobPiece::MALFORMED:
        Note("malformed: " + event.problem);
        break;
    }
  }
  dropStaged();
}

void SimulatedPrinter::ActOnCommand(const std::string& command, const std::vector<uint8_t>& params,
                                    JobSession* session) {
  std::string shown = command + (params.empty() ? "" : " " + SpacedHex(params));
  if (command == "NC") {
    Note(params.size() == 2 && params[1] == 1 ? "nozzle-check printed (flag 1)"
                                              : "nozzle-check printed");
    MakeBusyFor(state_.actionBusyMs);
  } else if (command == "CH") {
    Note(params == std::vector<uint8_t>{0x00, 0x10} ? "deep-cleaning" : "cleaning " + shown);
    MakeBusyFor(state_.actionBusyMs);
  } else if (command == "SS") {
    Note("cleaning " + shown);
    MakeBusyFor(state_.actionBusyMs);
  } else if (command == "VI") {
    Note("version request " + shown);
  } else if (command == "LD") {
    for (const auto& [key, value] : session->staged) {
      auto found = state_.values.find(key);
      std::string reference =
          found != state_.values.end() ? found->second.substr(2) : ToHex(&EX_DEFAULT_VALUE, 1);
      state_.values[key] = ToHex(&value, 1) + reference;
      Note("wrote value " + ToHex(&value, 1) + " at " + key);
    }
    session->staged.clear();
    Note("settings loaded");
  } else if (command == "EX" && params.size() > EX_KEY_AT && params[0] == EX_WRITE) {
    std::string key = ValueKey(params, params.size() - 1);
    uint8_t value = params.back();
    std::string group = ToHex(&params[EX_GROUP_AT], EX_GROUP_LENGTH);
    if (state_.Has(FAULT_REFUSES_WRITES)) {
      Note("EX write refused at " + key);
    } else if (group == EX_GROUP_ADJUSTMENT) {
      session->staged[key] = value;
    } else if (group == EX_GROUP_NOZZLE_CHECK) {
      Note("nozzle-check printed (" + shown + ")");
      MakeBusyFor(state_.actionBusyMs);
    } else {
      Note("EX write ignored: " + shown);
    }
  } else {
    Note("unknown command " + shown);
  }
}

void SimulatedPrinter::TakeFirmware(const std::vector<uint8_t>& file, size_t leadIn) {
  bool wantsLeadIn = !EndsWith(state_.firmware, VERSION_WITHOUT_LEAD_IN);
  if (wantsLeadIn && leadIn != LEAD_IN_LENGTH) {
    Note(leadIn == 0 ? "firmware refused: lead-in missing"
                     : "firmware refused: lead-in of " + std::to_string(leadIn) + " bytes");
    return;
  }
  if (!wantsLeadIn && leadIn != 0) {
    Note("firmware refused: lead-in not expected");
    return;
  }
  std::string problem;
  std::string version = FirmwareFileVersion(file, &problem);
  if (version.empty()) {
    Note("firmware refused: " + problem);
    return;
  }
  Note("firmware " + state_.firmware + " -> " + version + " (" + std::to_string(file.size()) +
       " bytes), busy " + std::to_string(state_.firmwareBusyMs) + " ms");
  state_.pendingFirmware = version;
  MakeBusyFor(state_.firmwareBusyMs);
  if (state_.Has(FAULT_VANISHES)) {
    state_.vanished = true;
    Note("printer vanished");
  }
}

void SimulatedPrinter::SheetCommand(int mode) {
  if (mode == SAMPLE_SHEET_OPEN) {
    if (state_.sheet != SharedSheet::None) ProtocolFault("mode 1 while a sheet is open");
    state_.sheet = SharedSheet::Open;
    state_.sheetRun = SheetRun::Open;
  } else if (mode == SAMPLE_SHEET_CLOSE) {
    if (state_.sheet != SharedSheet::Open) ProtocolFault("mode 0 with no sheet open");
    state_.sheet = SharedSheet::Closing;
    state_.sheetRun = SheetRun::Open;
  } else if (mode == SAMPLE_SHEET_FINISH) {
    if (state_.sheet != SharedSheet::None) ProtocolFault("mode 2 while a sheet is open");
    state_.sheet = SharedSheet::None;
    // A finish without a run (nothing went out on sheets) finishes nothing.
    if (state_.sheetRun == SheetRun::Open) state_.sheetRun = SheetRun::Finished;
  } else {
    ProtocolFault("sample sheet mode " + std::to_string(mode) + " unknown");
  }
}

void SimulatedPrinter::SheetJob() {
  if (state_.sheet == SharedSheet::Closing) state_.sheet = SharedSheet::None;
}

std::vector<std::string> SimulatedPrinter::EndSampleRun() {
  if (state_.sheetRun == SheetRun::Open) ProtocolFault("run on sheets ended without mode 2");
  state_.sheet = SharedSheet::None;
  state_.sheetRun = SheetRun::None;
  std::vector<std::string> faults;
  for (const std::string& line : state_.log) {
    if (line.rfind(PROTOCOL_FAULT_PREFIX, 0) == 0) faults.push_back(line);
  }
  return faults;
}

void SimulatedPrinter::ReceiveDriverJob(const DriverJob& job) {
  Settle();
  std::string line = "printed \"" + job.documentName + "\" pages " + std::to_string(job.pages);
  if (!Reachable()) {
    Note(line + " lost (printer unreachable)");
    return;
  }
  DriverSettings settings;
  if (!SimulatedDriver::FromDevMode(job.devMode, &settings)) {
    Note(line + " with a foreign device mode");
    return;
  }
  bool roll = settings.handling == ROLL_HANDLING;
  bool sample = settings.samplePrint == SAMPLE_PRINT_ON;
  auto bit = [](uint32_t flags, uint32_t flag) { return (flags & flag) ? " 1" : " 0"; };
  line += " sample " + std::to_string(settings.samplePrint);
  line += " handling " + std::to_string(settings.handling);
  if (roll) {
    line += std::string(" roll") + bit(settings.rollFlags, ROLL_FED_FLAG) + " cut" +
            bit(settings.rollFlags, ROLL_CUT_FLAG);
  } else {
    line += std::string(" one-by-one") + bit(settings.sheetFlags, SHEET_ONE_BY_ONE_FLAG);
  }
  line += " mode " + PrintModeText(settings);
  line += " paper " + std::to_string(settings.paperCode) + " " +
          std::to_string(settings.paperWidth) + "x" + std::to_string(settings.paperLength);
  line += " feed " + std::to_string(static_cast<int8_t>(settings.feedData[FEED_CORRECTION_BYTE]));
  line += " values";
  if (state_.values.empty()) line += " none";
  for (const auto& [key, value] : state_.values) line += " " + key + "=" + value;
  Note(line);
  SheetJob();
  if (sample && !roll) {
    if (state_.sheetRun == SheetRun::Finished) ProtocolFault("sample job after mode 2");
    state_.sheetRun = SheetRun::Open;
  }
}

long SimulatedPrinter::IngestInput() {
  if (state_.input.empty()) return 0;
  std::ifstream in(SystemPath(state_.input), std::ios::binary | std::ios::ate);
  if (!in) return 0;
  uint64_t size = static_cast<uint64_t>(in.tellg());
  // A file shorter than what was read before has been started afresh.
  if (size < state_.inputOffset) state_.inputOffset = 0;
  if (size == state_.inputOffset) return 0;
  std::vector<uint8_t> bytes(static_cast<size_t>(size - state_.inputOffset));
  in.seekg(static_cast<std::streamoff>(state_.inputOffset));
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<size_t>(in.gcount()));
  // A document the spooler is still writing is taken in whole, at a later call.
  bytes.resize(WholeJobsLength(bytes.data(), bytes.size()));
  state_.inputOffset += bytes.size();
  if (!bytes.empty()) ReceiveJob(bytes);
  return static_cast<long>(bytes.size());
}

}  // namespace sim
