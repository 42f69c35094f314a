// The "VI" version reply: cut at the first zero and ';', then the text after "VI:00"; on a reply
// of exactly its own size and through QueryFirmwareVersion with the library's claimed count.
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "firmware/firmware_version.h"
#include "fuzz/fuzz_input.h"
#include "fuzz/fuzz_printer.h"
#include "link/command_framing.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint8_t FLAG_CLAIMED_COUNT = 0x01;  // the library answers the next value as its count

std::string ModelVersion(const uint8_t* reply, size_t length) {
  std::string text;
  for (size_t i = 0; i < length && reply[i] != 0 && reply[i] != ';'; ++i) {
    text += static_cast<char>(reply[i]);
  }
  size_t tag = text.find("VI:00");
  return tag == std::string::npos ? std::string() : text.substr(tag + 5);
}

}  // namespace

// Input: flags, a 16-bit signed count the library may claim, then the reply bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::FuzzInput in(data, size);
  uint8_t flags = in.Byte();
  int claimed = static_cast<int16_t>(in.U16());
  const Bytes reply = in.Rest();

  auto exact = std::make_unique<uint8_t[]>(reply.size());
  if (!reply.empty()) std::memcpy(exact.get(), reply.data(), reply.size());
  std::string version = firmware::ParseVersionReply(exact.get(), reply.size());
  FUZZ_CHECK(version == ModelVersion(exact.get(), reply.size()));
  FUZZ_CHECK(version.find(';') == std::string::npos);
  FUZZ_CHECK(version.find('\0') == std::string::npos);
  if (!version.empty()) {
    std::string whole(reply.begin(), reply.end());
    FUZZ_CHECK(whole.find("VI:00" + version) != std::string::npos);
  }

  // Through the control channel: the library writes into the 512-byte reply area and claims a
  // count that may be larger than what it wrote or than the area.
  fuzzing::FuzzPrinter& printer = fuzzing::TheFuzzPrinter();
  printer.Reset();
  printer.kb->channels = {{printer_link::CHANNEL_CONTROL, 0x07}};
  int count = (flags & FLAG_CLAIMED_COUNT) ? claimed : static_cast<int>(reply.size());
  printer.kb->receives.emplace_back(count, reply);
  printer_link::PrinterChannel channel = printer.app->Channel(printer.api.get());
  std::string queried = firmware::QueryFirmwareVersion(channel, fuzzing::FUZZ_QUEUE);

  uint8_t area[firmware::VERSION_REPLY_SIZE] = {};
  std::copy(reply.begin(), reply.begin() + std::min(reply.size(), sizeof area), area);
  std::string expected =
      count > 0 ? ModelVersion(area, std::min<size_t>(static_cast<size_t>(count), sizeof area))
                : std::string();
  FUZZ_CHECK(queried == expected);
  FUZZ_CHECK(printer.kb->receiveSizes.size() >= 1);
  FUZZ_CHECK(printer.kb->receiveSizes[0] == firmware::VERSION_REPLY_SIZE);
  uint8_t command[printer_link::STREAM_BUFFER];
  size_t length = printer_link::VersionQuery(command, sizeof command);
  FUZZ_CHECK(printer.kb->sent.size() == 1 &&
             printer.kb->sent[0] == Bytes(command, command + length));
  return 0;
}
