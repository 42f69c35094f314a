// SNMP request reading and response building for the simulated network channel.
#include "sim/snmp_message.h"

#include <cstring>

#include "sim/protocol_bytes.h"

namespace sim {

namespace {

constexpr uint8_t TAG_INTEGER = 0x02;
constexpr uint8_t TAG_OCTET_STRING = 0x04;
constexpr uint8_t TAG_NULL = 0x05;
constexpr uint8_t TAG_OID = 0x06;
constexpr uint8_t TAG_SEQUENCE = 0x30;
constexpr uint8_t TAG_GET_REQUEST = 0xA0;
constexpr uint8_t TAG_GET_RESPONSE = 0xA2;
constexpr uint8_t SNMP_VERSION_1 = 0;
constexpr uint8_t LONG_LENGTH = 0x80;
constexpr uint8_t SUB_ID_MORE = 0x80;

// A bounded view of encoded bytes.
struct Span {
  const uint8_t* at;
  size_t size;
};

// Reads one tag-length-value of the wanted tag from the front of *span.
bool Take(Span* span, uint8_t tag, Span* content) {
  if (span->size < 2 || span->at[0] != tag) return false;
  size_t length = span->at[1];
  size_t head = 2;
  if (length & LONG_LENGTH) {
    size_t octets = length & ~LONG_LENGTH;
    if (octets == 0 || octets > 2 || span->size < 2 + octets) return false;
    length = 0;
    for (size_t i = 0; i < octets; ++i) length = (length << 8) | span->at[2 + i];
    head += octets;
  }
  if (span->size - head < length) return false;
  *content = {span->at + head, length};
  span->at += head + length;
  span->size -= head + length;
  return true;
}

bool TakeInteger(Span* span, long* value) {
  Span content;
  if (!Take(span, TAG_INTEGER, &content) || content.size == 0 || content.size > 4) return false;
  int64_t v = 0;
  for (size_t i = 0; i < content.size; ++i) v = (v << 8) | content.at[i];
  if (content.at[0] & 0x80) v -= int64_t{1} << (8 * content.size);  // two's complement
  *value = static_cast<long>(v);
  return true;
}

void PutLength(std::vector<uint8_t>* out, size_t length) {
  if (length < LONG_LENGTH) {
    out->push_back(static_cast<uint8_t>(length));
  } else if (length <= 0xFF) {
    out->push_back(LONG_LENGTH | 1);
    out->push_back(static_cast<uint8_t>(length));
  } else {
    out->push_back(LONG_LENGTH | 2);
    out->push_back(static_cast<uint8_t>(length >> 8));
    out->push_back(static_cast<uint8_t>(length));
  }
}

std::vector<uint8_t> Tlv(uint8_t tag, const std::vector<uint8_t>& content) {
  std::vector<uint8_t> out{tag};
  PutLength(&out, content.size());
  out.insert(out.end(), content.begin(), content.end());
  return out;
}

std::vector<uint8_t> Concat(std::initializer_list<std::vector<uint8_t>> parts) {
  std::vector<uint8_t> out;
  for (const auto& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

std::vector<uint8_t> Integer(long value) {
  // Small values only: request ids and error fields of one byte.
  return Tlv(TAG_INTEGER, {static_cast<uint8_t>(value & 0x7F)});
}

bool Fail(std::string* problem, const char* what) {
  if (problem) *problem = what;
  return false;
}

}  // namespace

bool ReadSnmpRequest(const uint8_t* bytes, size_t length, SnmpRequest* request,
                     std::string* problem) {
  Span whole{bytes, length};
  Span message, community, pdu, bindings, binding, oid, value;
  long version = -1, requestId = 0, errorStatus = -1, errorIndex = -1;
  if (bytes == nullptr || !Take(&whole, TAG_SEQUENCE, &message) || whole.size != 0) {
    return Fail(problem, "not one SNMP message");
  }
  if (!TakeInteger(&message, &version) || version != SNMP_VERSION_1) {
    return Fail(problem, "not SNMP version 1");
  }
  if (!Take(&message, TAG_OCTET_STRING, &community) ||
      community.size != std::strlen(SNMP_COMMUNITY) ||
      std::memcmp(community.at, SNMP_COMMUNITY, community.size) != 0) {
    return Fail(problem, "wrong SNMP community");
  }
  if (!Take(&message, TAG_GET_REQUEST, &pdu) || message.size != 0) {
    return Fail(problem, "not a GetRequest");
  }
  if (!TakeInteger(&pdu, &requestId) || !TakeInteger(&pdu, &errorStatus) ||
      !TakeInteger(&pdu, &errorIndex) || errorStatus != 0 || errorIndex != 0) {
    return Fail(problem, "bad GetRequest head");
  }
  if (!Take(&pdu, TAG_SEQUENCE, &bindings) || pdu.size != 0 ||
      !Take(&bindings, TAG_SEQUENCE, &binding) || bindings.size != 0 ||
      !Take(&binding, TAG_OID, &oid) || !Take(&binding, TAG_NULL, &value) || value.size != 0 ||
      binding.size != 0) {
    return Fail(problem, "bad variable binding");
  }
  if (oid.size < sizeof SNMP_OID_PREFIX ||
      std::memcmp(oid.at, SNMP_OID_PREFIX, sizeof SNMP_OID_PREFIX) != 0) {
    return Fail(problem, "unknown SNMP object");
  }

  // The rest of the object identifier carries one byte per sub-identifier.
  std::vector<uint8_t> inner;
  unsigned subId = 0;
  for (size_t i = sizeof SNMP_OID_PREFIX; i < oid.size; ++i) {
    subId = (subId << 7) | (oid.at[i] & ~SUB_ID_MORE);
    if (subId > 0xFF) return Fail(problem, "sub-identifier above 255");
    if (oid.at[i] & SUB_ID_MORE) {
      if (i + 1 == oid.size) return Fail(problem, "unfinished sub-identifier");
      continue;
    }
    inner.push_back(static_cast<uint8_t>(subId));
    subId = 0;
  }
  if (inner.size() < SNMP_INNER_HEAD) return Fail(problem, "short command block");
  size_t commandLength = (size_t{inner[2]} << 8) | inner[3];
  if (inner[1] != SNMP_INNER_KIND || inner.size() != SNMP_INNER_HEAD + commandLength ||
      inner[0] != static_cast<uint8_t>(commandLength + 3)) {
    return Fail(problem, "command block lengths do not add up");
  }

  request->requestId = requestId;
  request->oid.assign(oid.at, oid.at + oid.size);
  request->command.assign(inner.begin() + SNMP_INNER_HEAD, inner.end());
  return true;
}

std::vector<uint8_t> BuildSnmpResponse(const SnmpRequest& request,
                                       const std::vector<uint8_t>& reply) {
  std::vector<uint8_t> binding =
      Tlv(TAG_SEQUENCE, Concat({Tlv(TAG_OID, request.oid), Tlv(TAG_OCTET_STRING, reply)}));
  std::vector<uint8_t> pdu =
      Tlv(TAG_GET_RESPONSE,
          Concat({Integer(request.requestId), Integer(0), Integer(0), Tlv(TAG_SEQUENCE, binding)}));
  std::vector<uint8_t> community(SNMP_COMMUNITY, SNMP_COMMUNITY + std::strlen(SNMP_COMMUNITY));
  return Tlv(TAG_SEQUENCE,
             Concat({Integer(SNMP_VERSION_1), Tlv(TAG_OCTET_STRING, community), pdu}));
}

}  // namespace sim
