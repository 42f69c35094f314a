// The SNMP messages of the network channel, as the printer's side sees them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

struct SnmpRequest {
  long requestId = 0;
  std::vector<uint8_t> oid;      // the object identifier's content bytes, as sent
  std::vector<uint8_t> command;  // the remote command carried inside it
};

// Reads a GetRequest that carries one command; false with *problem when the bytes are not such
// a message (wrong community, lengths that do not add up, an unknown object, ...).
bool ReadSnmpRequest(const uint8_t* bytes, size_t length, SnmpRequest* request,
                     std::string* problem);

// The GetResponse whose value, an octet string, is the reply text.
std::vector<uint8_t> BuildSnmpResponse(const SnmpRequest& request,
                                       const std::vector<uint8_t>& reply);

}  // namespace sim
