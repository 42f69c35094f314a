// The "EX" value reply: cut at the first zero and ';' inside the bytes received, then characters
// 27 to 30 after "EX:0000001F"; alone and through ReadAdjustValue with the library's claimed count.
#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "feed/paper_setting_data.h"
#include "fuzz/fuzz_input.h"
#include "fuzz/fuzz_printer.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint8_t FLAG_CLAIMED_COUNT = 0x01;
constexpr char TAG[] = "EX:0000001F";
constexpr char PAPER_SET[] = "7,21=0102030405060708090A0B0C0D\n";

std::string ModelValue(const uint8_t* reply, size_t length) {
  std::string text;
  for (size_t i = 0; i < length && reply[i] != 0 && reply[i] != ';'; ++i) {
    text += static_cast<char>(reply[i]);
  }
  size_t tag = text.find(TAG);
  if (tag == std::string::npos) return std::string();
  std::string after = text.substr(tag + std::strlen(TAG));
  return after.size() > 26 ? after.substr(26, 4) : std::string();
}

}  // namespace

// Input: flags, a 16-bit signed count the library may claim, then the reply bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::FuzzInput in(data, size);
  uint8_t flags = in.Byte();
  int claimed = static_cast<int16_t>(in.U16());
  const Bytes reply = in.Rest();

  // Exactly the bytes received, in an area of their own size: nothing after them is read.
  auto exact = std::make_unique<uint8_t[]>(reply.size());
  if (!reply.empty()) std::memcpy(exact.get(), reply.data(), reply.size());
  std::string value = feed::ParseAdjustReply(exact.get(), reply.size());
  FUZZ_CHECK(value == ModelValue(exact.get(), reply.size()));
  FUZZ_CHECK(value.size() <= feed::ADJUST_VALUE_LENGTH);
  FUZZ_CHECK(value.find(';') == std::string::npos);
  FUZZ_CHECK(value.find('\0') == std::string::npos);

  fuzzing::FuzzPrinter& printer = fuzzing::TheFuzzPrinter();
  printer.Reset();
  printer.platform.files->Put(fakes::SettingsPath(feed::PAPER_SET_FILE), PAPER_SET);
  printer.kb->channels = {{printer_link::CHANNEL_CONTROL, 0x07}};
  int count = (flags & FLAG_CLAIMED_COUNT) ? claimed : static_cast<int>(reply.size());
  printer.kb->receives.emplace_back(count, reply);
  printer_link::PrinterChannel channel = printer.app->Channel(printer.api.get());
  shell::SettingsReader settings(*printer.platform.files, fakes::TEST_SETTINGS_DIR,
                                 shell::SETTINGS_LINE_CHUNK_TREVALO);
  feed::AdjustmentSelection selection;
  selection.mediaCode = 7;
  selection.paperFeed = 2;
  selection.qualityPosition = 5;
  std::string read = feed::ReadAdjustValue(channel, settings, fuzzing::FUZZ_QUEUE, selection, 0);

  uint8_t area[feed::ADJUST_REPLY_SIZE] = {};
  std::copy(reply.begin(), reply.begin() + std::min(reply.size(), sizeof area), area);
  std::string expected =
      count > 0 ? ModelValue(area, std::min<size_t>(static_cast<size_t>(count), sizeof area))
                : std::string();
  FUZZ_CHECK(read == expected);
  FUZZ_CHECK(printer.kb->sent.size() == 1 && printer.kb->sent[0].size() == 22);
  FUZZ_CHECK(printer.kb->receiveSizes.size() >= 1 &&
             printer.kb->receiveSizes[0] == feed::ADJUST_REPLY_SIZE);
  return 0;
}
