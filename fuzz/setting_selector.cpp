// Setting selectors from any PaperSet.ini content and selection: the key, the index table and
// the hex pairs against models written from the tables, and the query and write streams.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "feed/paper_setting_data.h"
#include "fuzz/fuzz_input.h"
#include "shell/settings_reader.h"
#include "tests/support/fake_platform.h"

namespace {

constexpr char FOLDER[] = "S";

// The index table row by row: columns pellan 0-2, 3/0, 3/1, 4-5, paper feed 0-2, 3, 4-5.
int ModelIndex(int paperFeed, int kind, int position, int valueKind) {
  if (paperFeed < 0 || paperFeed > 2 || kind < 0 || kind > 1 || position < 0 || position > 5) {
    return 0;
  }
  int column;
  if (kind == 1) {
    column = position < 3 ? 0 : position == 3 ? (valueKind == 1 ? 2 : 1) : 3;
  } else {
    column = position < 3 ? 4 : position == 3 ? 5 : 6;
  }
  return paperFeed * 7 + column + 1;
}

uint8_t ModelPair(const std::string& value, size_t at) {
  std::string digits;
  for (size_t i = at;
       i < at + 2 && i < value.size() && std::isxdigit(static_cast<unsigned char>(value[i])); ++i) {
    digits += value[i];
  }
  return digits.empty() ? 0 : static_cast<uint8_t>(std::stoi(digits, nullptr, 16));
}

}  // namespace

// Input: media code (16 bits, signed), paper feed, adjustment kind, position and value kind
// (signed bytes), value and reference for the write, then the content of PaperSet.ini.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::FuzzInput in(data, size);
  feed::AdjustmentSelection selection;
  selection.mediaCode = static_cast<int16_t>(in.U16());
  selection.paperFeed = static_cast<int8_t>(in.Byte());
  selection.adjustmentKind = static_cast<int8_t>(in.Byte());
  selection.qualityPosition = static_cast<int8_t>(in.Byte());
  int valueKind = static_cast<int8_t>(in.Byte());
  int writeValue = static_cast<int16_t>(in.U16());
  std::string reference = in.Text(2);
  const std::string content = in.RestText();

  fakes::FakeFiles files;
  files.Put(shell::JoinPath(FOLDER, feed::PAPER_SET_FILE), content);
  shell::SettingsReader settings(files, FOLDER, shell::SETTINGS_LINE_CHUNK_TREVALO);

  int index = ModelIndex(selection.paperFeed, selection.adjustmentKind, selection.qualityPosition,
                         valueKind);
  FUZZ_CHECK(feed::SettingIndex(selection.paperFeed, selection.adjustmentKind,
                                selection.qualityPosition, valueKind) == index);
  std::string key;
  feed::SettingSelector selector;
  bool found = feed::FindSettingSelector(settings, selection, valueKind, &selector, &key);
  std::string value;
  if (index == 0) {
    FUZZ_CHECK(key.empty());
  } else {
    char expectedKey[32];
    std::snprintf(expectedKey, sizeof expectedKey, "%d,%02d", selection.mediaCode, index);
    FUZZ_CHECK(key == expectedKey);
    value = shell::LookupSetting(content, key, shell::SETTINGS_LINE_CHUNK_TREVALO);
  }
  FUZZ_CHECK(found == !value.empty());
  if (!found) return 0;
  for (size_t i = 0; i < feed::SELECTOR_LENGTH; ++i) {
    FUZZ_CHECK(selector[i] == ModelPair(value, 2 * i));
  }

  printer_link::CommandStream query = feed::AdjustQuery(selector);
  FUZZ_CHECK(query.length == 22);
  FUZZ_CHECK(std::equal(selector.begin(), selector.end(), query.bytes + 9));
  printer_link::CommandStream write =
      feed::AdjustWrite(selector, selection.adjustmentKind, writeValue, reference);
  FUZZ_CHECK(write.length == 46);
  FUZZ_CHECK(std::equal(selector.begin(), selector.end(), write.bytes + 24));
  uint8_t byte = write.bytes[37];
  if (selection.adjustmentKind == feed::ADJUST_PAPER_FEED) {
    FUZZ_CHECK(byte >= feed::FEED_BYTE_MIN && byte <= feed::FEED_BYTE_MAX);
    int sum = writeValue + ModelPair(reference, 0);
    FUZZ_CHECK(byte == std::clamp(sum, feed::FEED_BYTE_MIN, feed::FEED_BYTE_MAX));
  } else {
    FUZZ_CHECK(byte == std::clamp(writeValue, 0, 255));
  }
  return 0;
}
