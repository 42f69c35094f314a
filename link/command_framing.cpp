// Remote-mode blocks, the streams composed from them and the SNMP wrapping of one command.
#include "link/command_framing.h"

#include <cstring>

namespace printer_link {

namespace {

// ESC "@", ESC "(" "R", length 8, 00, "REMOTE1".
constexpr uint8_t ENTER_REMOTE_MODE[] = {0x1B, 0x40, 0x1B, 0x28, 0x52, 0x08, 0x00, 0x00,
                                         0x52, 0x45, 0x4D, 0x4F, 0x54, 0x45, 0x31};
constexpr uint8_t LEAVE_REMOTE_MODE[] = {0x1B, 0x00, 0x00, 0x00};
// CR, LF, form feed, ESC "@".
constexpr uint8_t JOB_END[] = {0x0D, 0x0A, 0x0C, 0x1B, 0x40};

// Remote command packet: two letters, 16-bit little-endian parameter count, parameters.
constexpr size_t PACKET_HEAD = 4;

constexpr char CMD_NOZZLE_CHECK[] = "NC";
constexpr char CMD_VERSION[] = "VI";
constexpr char CMD_DEEP_CLEANING[] = "CH";
constexpr char CMD_CLEANING_PAGE[] = "SS";
constexpr char CMD_EXTENDED[] = "EX";
constexpr char CMD_LOAD_SETTINGS[] = "LD";

constexpr uint8_t NOZZLE_CHECK_PLAIN = 0x00;
constexpr uint8_t NOZZLE_CHECK_FLAGGED = 0x01;
constexpr uint8_t VERSION_IN_JOB_PARAMS[] = {0x00, 0x01};
constexpr uint8_t VERSION_QUERY_PARAMS[] = {0x01, 0x00};
constexpr uint8_t DEEP_CLEANING_PARAMS[] = {0x00, 0x10};
constexpr uint8_t CLEANING_PAGE_PARAMS[] = {0x00, 0x05};
constexpr uint8_t NOZZLE_CHECK_PAGE_PARAMS[] = {0x00, 0x00, 0x00, 0x00, 0x1E, 0x01};
// Lead of the paper feed value packets; the 13 identifier bytes follow.
constexpr uint8_t FEED_READ_LEAD[] = {0x01, 0x00, 0x00, 0x00, 0x1F};
constexpr uint8_t FEED_WRITE_LEAD[] = {0x00, 0x00, 0x00, 0x00, 0x1F};
constexpr size_t FEED_READ_PARAMS = sizeof FEED_READ_LEAD + FEED_ID_LENGTH;
constexpr size_t FEED_WRITE_PARAMS = sizeof FEED_WRITE_LEAD + FEED_ID_LENGTH + 1;

// ESC "|", 01, count 6 (little-endian), the fixed access value, then the mode byte.
constexpr uint8_t SAMPLE_SHEET_HEAD[] = {0x1B, 0x7C, 0x01, 0x06, 0x00,
                                         0x5C, 0x21, 0x9D, 0x4E, 0x08};
constexpr size_t SAMPLE_SHEET_LENGTH = sizeof SAMPLE_SHEET_HEAD + 1;

// SNMP GetRequest of one command. Every length is one byte.
constexpr uint8_t SNMP_SEQUENCE = 0x30;
constexpr uint8_t SNMP_VERSION_1[] = {0x02, 0x01, 0x00};
constexpr uint8_t SNMP_COMMUNITY[] = {0x04, 0x06, 'k', 'e', 'r', 'r', 'o', 'w'};
constexpr uint8_t SNMP_GET_REQUEST = 0xA0;
constexpr uint8_t SNMP_REQUEST_ID[] = {0x02, 0x01, 0x01};  // always 1
constexpr uint8_t SNMP_ERROR_STATUS[] = {0x02, 0x01, 0x00};
constexpr uint8_t SNMP_ERROR_INDEX[] = {0x02, 0x01, 0x00};
constexpr uint8_t SNMP_OBJECT_ID = 0x06;
// 1.3.6.1.4.1.1248.1.2.2.40.1.1.2
constexpr uint8_t SNMP_OID_PREFIX[] = {0x2B, 0x06, 0x01, 0x04, 0x01, 0x89, 0x60,
                                       0x01, 0x02, 0x02, 0x28, 0x01, 0x01, 0x02};
constexpr uint8_t SNMP_NULL_VALUE[] = {0x05, 0x00};
// Lengths of what follows each length byte, over the encoded block length N.
constexpr size_t SNMP_MESSAGE_EXTRA = 44;
constexpr size_t SNMP_REQUEST_EXTRA = 31;
constexpr size_t SNMP_BINDING_LIST_EXTRA = 20;
constexpr size_t SNMP_BINDING_EXTRA = 18;
constexpr size_t SNMP_OID_EXTRA = 14;
constexpr size_t SNMP_MAX_LENGTH = 127;  // one-byte definite length
constexpr size_t SNMP_AREA = 256;        // the command copy and the encoded block
// Inner block before encoding: L + 3, 08, L / 256, L % 256, then the command.
constexpr size_t SNMP_INNER_HEAD = 4;
constexpr uint8_t SNMP_INNER_COUNT_EXTRA = 3;
constexpr uint8_t SNMP_INNER_TAG = 0x08;
// Sub-identifier bytes of 80 or more travel as 81, b - 80.
constexpr uint8_t SNMP_HIGH_BYTE = 0x80;
constexpr uint8_t SNMP_HIGH_LEAD = 0x81;

size_t Copy(uint8_t* dst, size_t room, const uint8_t* block, size_t length) {
  if (room < length) return 0;
  std::memcpy(dst, block, length);
  return length;
}

template <size_t N>
size_t Copy(uint8_t* dst, size_t room, const uint8_t (&block)[N]) {
  return Copy(dst, room, block, N);
}

void PutPacketHead(uint8_t* dst, const char* letters, size_t count) {
  dst[0] = static_cast<uint8_t>(letters[0]);
  dst[1] = static_cast<uint8_t>(letters[1]);
  dst[2] = static_cast<uint8_t>(count & 0xFF);
  dst[3] = static_cast<uint8_t>((count >> 8) & 0xFF);
}

// A packet whose parameters are the given parts, in order.
size_t Packet(uint8_t* dst, size_t room, const char* letters, const uint8_t* params, size_t count) {
  if (room < PACKET_HEAD + count) return 0;
  PutPacketHead(dst, letters, count);
  if (count > 0) std::memcpy(dst + PACKET_HEAD, params, count);
  return PACKET_HEAD + count;
}

template <size_t N>
size_t Packet(uint8_t* dst, size_t room, const char* letters, const uint8_t (&params)[N]) {
  return Packet(dst, room, letters, params, N);
}

// Composes a stream by calling each builder with the room that is left.
class StreamWriter {
 public:
  template <typename Builder>
  StreamWriter& Add(Builder build) {
    stream_.length += build(stream_.bytes + stream_.length, STREAM_BUFFER - stream_.length);
    return *this;
  }
  CommandStream Done() const { return stream_; }

 private:
  CommandStream stream_;
};

}  // namespace

size_t EnterRemoteMode(uint8_t* dst, size_t room) {
  return Copy(dst, room, ENTER_REMOTE_MODE);
}

size_t LeaveRemoteMode(uint8_t* dst, size_t room) {
  return Copy(dst, room, LEAVE_REMOTE_MODE);
}

size_t JobEnd(uint8_t* dst, size_t room) {
  return Copy(dst, room, JOB_END);
}

size_t NozzleCheck(uint8_t* dst, size_t room, bool flag) {
  const uint8_t params[] = {0x00, flag ? NOZZLE_CHECK_FLAGGED : NOZZLE_CHECK_PLAIN};
  return Packet(dst, room, CMD_NOZZLE_CHECK, params);
}

size_t VersionInJob(uint8_t* dst, size_t room) {
  return Packet(dst, room, CMD_VERSION, VERSION_IN_JOB_PARAMS);
}

size_t DeepCleaning(uint8_t* dst, size_t room) {
  return Packet(dst, room, CMD_DEEP_CLEANING, DEEP_CLEANING_PARAMS);
}

size_t CleaningPage(uint8_t* dst, size_t room) {
  return Packet(dst, room, CMD_CLEANING_PAGE, CLEANING_PAGE_PARAMS);
}

size_t NozzleCheckPage(uint8_t* dst, size_t room) {
  return Packet(dst, room, CMD_EXTENDED, NOZZLE_CHECK_PAGE_PARAMS);
}

size_t FeedValueRead(uint8_t* dst, size_t room, const uint8_t* id) {
  uint8_t params[FEED_READ_PARAMS];
  std::memcpy(params, FEED_READ_LEAD, sizeof FEED_READ_LEAD);
  std::memcpy(params + sizeof FEED_READ_LEAD, id, FEED_ID_LENGTH);
  return Packet(dst, room, CMD_EXTENDED, params);
}

size_t FeedValueWrite(uint8_t* dst, size_t room, const uint8_t* id, uint8_t value) {
  uint8_t params[FEED_WRITE_PARAMS];
  std::memcpy(params, FEED_WRITE_LEAD, sizeof FEED_WRITE_LEAD);
  std::memcpy(params + sizeof FEED_WRITE_LEAD, id, FEED_ID_LENGTH);
  params[FEED_WRITE_PARAMS - 1] = value;
  return Packet(dst, room, CMD_EXTENDED, params);
}

size_t LoadSettings(uint8_t* dst, size_t room) {
  return Packet(dst, room, CMD_LOAD_SETTINGS, nullptr, 0);
}

size_t VersionQuery(uint8_t* dst, size_t room) {
  return Packet(dst, room, CMD_VERSION, VERSION_QUERY_PARAMS);
}

size_t SampleSheet(uint8_t* dst, size_t room, uint8_t mode) {
  if (room < SAMPLE_SHEET_LENGTH) return 0;
  std::memcpy(dst, SAMPLE_SHEET_HEAD, sizeof SAMPLE_SHEET_HEAD);
  dst[sizeof SAMPLE_SHEET_HEAD] = mode;
  return SAMPLE_SHEET_LENGTH;
}

CommandStream NozzleCheckStream() {
  return StreamWriter()
      .Add(EnterRemoteMode)
      .Add([](uint8_t* d, size_t r) { return NozzleCheck(d, r, false); })
      .Add(VersionInJob)
      .Add(LeaveRemoteMode)
      .Add(JobEnd)
      .Done();
}

CommandStream DeepCleaningStream() {
  return StreamWriter().Add(EnterRemoteMode).Add(DeepCleaning).Add(LeaveRemoteMode).Done();
}

CommandStream CleaningPageStream() {
  return StreamWriter()
      .Add(EnterRemoteMode)
      .Add(CleaningPage)
      .Add(LeaveRemoteMode)
      .Add(JobEnd)
      .Done();
}

CommandStream NozzleCheckPageStream() {
  return StreamWriter().Add(EnterRemoteMode).Add(NozzleCheckPage).Add(LeaveRemoteMode).Done();
}

CommandStream FeedValueWriteStream(const uint8_t* id, uint8_t value) {
  return StreamWriter()
      .Add(EnterRemoteMode)
      .Add([id, value](uint8_t* d, size_t r) { return FeedValueWrite(d, r, id, value); })
      .Add(LoadSettings)
      .Add(LeaveRemoteMode)
      .Done();
}

CommandStream SampleSheetStream(uint8_t mode) {
  return StreamWriter()
      .Add([mode](uint8_t* d, size_t r) { return SampleSheet(d, r, mode); })
      .Done();
}

bool WrapSnmp(const uint8_t* command, size_t length, std::vector<uint8_t>* message) {
  if (length > SNMP_AREA - SNMP_INNER_HEAD) return false;
  uint8_t inner[SNMP_AREA];
  inner[0] = static_cast<uint8_t>(length + SNMP_INNER_COUNT_EXTRA);
  inner[1] = SNMP_INNER_TAG;
  inner[2] = static_cast<uint8_t>(length / 256);
  inner[3] = static_cast<uint8_t>(length % 256);
  if (length > 0) std::memcpy(inner + SNMP_INNER_HEAD, command, length);
  size_t innerLength = SNMP_INNER_HEAD + length;

  uint8_t encoded[SNMP_AREA];
  size_t n = 0;
  for (size_t i = 0; i < innerLength; ++i) {
    size_t needed = inner[i] < SNMP_HIGH_BYTE ? 1 : 2;
    if (n + needed > SNMP_AREA) return false;
    if (needed == 1) {
      encoded[n++] = inner[i];
    } else {
      encoded[n++] = SNMP_HIGH_LEAD;
      encoded[n++] = static_cast<uint8_t>(inner[i] - SNMP_HIGH_BYTE);
    }
  }
  if (n + SNMP_MESSAGE_EXTRA > SNMP_MAX_LENGTH) return false;

  std::vector<uint8_t>& m = *message;
  m.clear();
  auto append = [&m](const uint8_t* bytes, size_t count) {
    m.insert(m.end(), bytes, bytes + count);
  };
  m.push_back(SNMP_SEQUENCE);
  m.push_back(static_cast<uint8_t>(n + SNMP_MESSAGE_EXTRA));
  append(SNMP_VERSION_1, sizeof SNMP_VERSION_1);
  append(SNMP_COMMUNITY, sizeof SNMP_COMMUNITY);
  m.push_back(SNMP_GET_REQUEST);
  m.push_back(static_cast<uint8_t>(n + SNMP_REQUEST_EXTRA));
  append(SNMP_REQUEST_ID, sizeof SNMP_REQUEST_ID);
  append(SNMP_ERROR_STATUS, sizeof SNMP_ERROR_STATUS);
  append(SNMP_ERROR_INDEX, sizeof SNMP_ERROR_INDEX);
  m.push_back(SNMP_SEQUENCE);  // variable-binding list
  m.push_back(static_cast<uint8_t>(n + SNMP_BINDING_LIST_EXTRA));
  m.push_back(SNMP_SEQUENCE);  // variable binding
  m.push_back(static_cast<uint8_t>(n + SNMP_BINDING_EXTRA));
  m.push_back(SNMP_OBJECT_ID);
  m.push_back(static_cast<uint8_t>(n + SNMP_OID_EXTRA));
  append(SNMP_OID_PREFIX, sizeof SNMP_OID_PREFIX);
  append(encoded, n);
  append(SNMP_NULL_VALUE, sizeof SNMP_NULL_VALUE);
  return true;
}

}  // namespace printer_link
