// Version keys (characters 6, 7, 4, 5 read as hexadecimal) and the verdict of two versions.
#include <charconv>
#include <string>

#include "firmware/firmware_version.h"
#include "fuzz/fuzz_input.h"

namespace {

constexpr size_t TEXT_LIMIT = 24;
constexpr size_t KEY_POSITIONS[] = {5, 6, 3, 4};  // from 0
constexpr size_t KEY_MIN_LENGTH = 6;
constexpr uint32_t KEY_LIMIT = 0xFFFF;

// The key string read by the standard library's own hexadecimal conversion.
uint32_t ModelKey(const std::string& text) {
  if (text.size() < KEY_MIN_LENGTH) return 0;
  std::string digits;
  for (size_t position : KEY_POSITIONS) {
    if (position >= text.size()) break;
    digits += text[position];
  }
  uint32_t key = 0;
  std::from_chars(digits.data(), digits.data() + digits.size(), key, 16);
  return key;
}

void CheckKey(const std::string& text) {
  uint32_t key = firmware::VersionKey(text);
  FUZZ_CHECK(key <= KEY_LIMIT);
  FUZZ_CHECK(key == ModelKey(text));
  // The page reads at most 15 characters; the key never looks beyond the seventh.
  FUZZ_CHECK(key == firmware::VersionKey(text.substr(0, firmware::VERSION_FIELD_LENGTH)));
}

int Mirror(int verdict) {
  if (verdict == firmware::VERDICT_FILE_NEWER) return firmware::VERDICT_FILE_OLDER;
  if (verdict == firmware::VERDICT_FILE_OLDER) return firmware::VERDICT_FILE_NEWER;
  return verdict;
}

}  // namespace

// Input: the first text's length byte, the first text, then the second text.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::FuzzInput in(data, size);
  const std::string printer = in.Text(in.Byte() % (TEXT_LIMIT + 1));
  const std::string file = in.Text(TEXT_LIMIT);
  CheckKey(printer);
  CheckKey(file);

  int verdict = firmware::CompareVersions(printer, file);
  if (printer.empty() || file.empty()) {
    FUZZ_CHECK(verdict == firmware::VERDICT_NONE);
    return 0;
  }
  uint32_t printerKey = firmware::VersionKey(printer);
  uint32_t fileKey = firmware::VersionKey(file);
  int expected = printerKey > fileKey   ? firmware::VERDICT_FILE_OLDER
                 : printerKey < fileKey ? firmware::VERDICT_FILE_NEWER
                                        : firmware::VERDICT_SAME;
  FUZZ_CHECK(verdict == expected);
  FUZZ_CHECK(firmware::CompareVersions(file, printer) == Mirror(verdict));
  FUZZ_CHECK(firmware::CompareVersions(printer, printer) == firmware::VERDICT_SAME);
  return 0;
}
