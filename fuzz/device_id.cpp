// Device ID matching: the first "DES:" field, closed by ';', against the queue's driver name;
// on a bare buffer of exactly the device ID's size and through MatchDeviceId and the library.
#include <cstring>
#include <memory>
#include <string>

#include "fuzz/fuzz_input.h"
#include "fuzz/fuzz_printer.h"
#include "link/printer_channel.h"

namespace {

constexpr uint8_t DRIVER_LENGTH_MASK = 0x3F;
constexpr uint8_t LIBRARY_FAILS = 0x80;  // in the driver length byte

// The first "DES:" of the text up to its zero, and the description up to the next ';'.
bool ModelMatches(const std::string& bytes, const std::string& driver) {
  std::string text = bytes.substr(0, strnlen(bytes.c_str(), bytes.size()));
  size_t key = text.find("DES:");
  if (key == std::string::npos) return false;
  size_t start = key + 4;
  size_t end = text.find(';', start);
  return end != std::string::npos && end > start && text.substr(start, end - start) == driver;
}

}  // namespace

// Input: a byte with the driver name's length (low six bits) and a library failure switch, the
// driver name, then the device ID as the library would store it.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::FuzzInput in(data, size);
  uint8_t head = in.Byte();
  std::string driver = in.Text(head & DRIVER_LENGTH_MASK);
  const std::string deviceId = in.RestText();

  // Exactly the device ID's bytes, with no terminating zero: any read past them is seen.
  auto exact = std::make_unique<char[]>(deviceId.size());
  std::memcpy(exact.get(), deviceId.data(), deviceId.size());
  bool match = printer_link::DeviceIdMatches(exact.get(), deviceId.size(), driver);
  FUZZ_CHECK(match == ModelMatches(deviceId, driver));
  if (match) {
    // The description is the whole driver name: not empty, no ';' and no zero inside it.
    FUZZ_CHECK(!driver.empty());
    FUZZ_CHECK(driver.find(';') == std::string::npos);
    FUZZ_CHECK(driver.find('\0') == std::string::npos);
    size_t first = deviceId.find("DES:");
    FUZZ_CHECK(deviceId.compare(first + 4, driver.size() + 1, driver + ";") == 0);
  }

  // Through the library: a 256-byte buffer, the text cut there when it is longer.
  fuzzing::FuzzPrinter& printer = fuzzing::TheFuzzPrinter();
  printer.Reset();
  printer.kb->deviceId = deviceId;
  printer.kb->deviceIdResult = (head & LIBRARY_FAILS) ? -1 : 0;
  printer_link::PrinterChannel channel = printer.app->Channel(printer.api.get());
  bool viaLibrary = channel.MatchDeviceId(fuzzing::FUZZ_QUEUE, driver);
  std::string stored = deviceId.substr(0, printer_link::DEVICE_ID_BUFFER);
  FUZZ_CHECK(viaLibrary == (!(head & LIBRARY_FAILS) && ModelMatches(stored, driver)));
  FUZZ_CHECK(printer.kb->Count("KBGetDeviceID") == 1);
  return 0;
}
