// Selectors, the "EX" value read and write, and the value conversions.
#include "feed/paper_setting_data.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "link/command_job.h"
#include "link/hex.h"

namespace feed {

namespace {

constexpr int PAPER_FEED_VALUES = 3;
constexpr int QUALITY_POSITIONS = 6;
constexpr int INDICES_PER_FEED = 7;
constexpr int FIRST_INDEX = 1;
// Offsets inside one paper feed value's seven indices.
constexpr int PAPER_FEED_OFFSET = 4;  // paper feed adjustment follows the four pellan indices
constexpr int MIDDLE_POSITION = 3;    // has an index of its own
constexpr int MIDDLE_OFFSET = 1;
constexpr int DOT_SHIFT_OFFSET = 1;    // pellan's second value at the middle position
constexpr int HIGH_OFFSET_PELLAN = 3;  // positions 4 and 5
constexpr int HIGH_OFFSET_PAPER_FEED = 2;

constexpr int PELLAN_BYTE_MIN = 0;
constexpr int PELLAN_BYTE_MAX = 255;
constexpr size_t HEX_PAIR = 2;
constexpr size_t REFERENCE_AT = 2;  // in a value text, after the current value

}  // namespace

int SettingIndex(int paperFeed, int adjustmentKind, int qualityPosition, int valueKind) {
  if (paperFeed < 0 || paperFeed >= PAPER_FEED_VALUES) return NO_SETTING_INDEX;
  if (adjustmentKind != ADJUST_PAPER_FEED && adjustmentKind != ADJUST_PELLAN) {
    return NO_SETTING_INDEX;
  }
  if (qualityPosition < 0 || qualityPosition >= QUALITY_POSITIONS) return NO_SETTING_INDEX;
  bool pellan = adjustmentKind == ADJUST_PELLAN;
  int index = FIRST_INDEX + INDICES_PER_FEED * paperFeed + (pellan ? 0 : PAPER_FEED_OFFSET);
  if (qualityPosition == MIDDLE_POSITION) {
    index += MIDDLE_OFFSET;
    if (pellan && valueKind == VALUE_DOT_SHIFT) index += DOT_SHIFT_OFFSET;
  } else if (qualityPosition > MIDDLE_POSITION) {
    index += pellan ? HIGH_OFFSET_PELLAN : HIGH_OFFSET_PAPER_FEED;
  }
  return index;
}

std::string SettingKey(int mediaCode, int index) {
  char key[32];
  std::snprintf(key, sizeof key, "%d,%02d", mediaCode, index);
  return key;
}

int ReadHexPair(const std::string& text, size_t at) {
  int number = 0;
  for (size_t i = at; i < at + HEX_PAIR && i < text.size(); ++i) {
    int digit = printer_link::HexDigit(text[i]);
    if (digit < 0) break;
    number = number * 16 + digit;
  }
  return number;
}

bool ReadSelector(const std::string& value, SettingSelector* selector) {
  if (value.empty()) return false;
  for (size_t i = 0; i < SELECTOR_LENGTH; ++i) {
    (*selector)[i] = static_cast<uint8_t>(ReadHexPair(value, HEX_PAIR * i));
  }
  return true;
}

bool FindSettingSelector(const shell::SettingsReader& settings,
                         const AdjustmentSelection& selection, int valueKind,
                         SettingSelector* selector, std::string* key) {
  if (key) key->clear();
  int index = SettingIndex(selection.paperFeed, selection.adjustmentKind, selection.qualityPosition,
                           valueKind);
  if (index == NO_SETTING_INDEX) return false;
  std::string settingKey = SettingKey(selection.mediaCode, index);
  if (key) *key = settingKey;
  if (settings.Folder().empty()) return false;
  return ReadSelector(settings.ReadSetting(PAPER_SET_FILE, settingKey), selector);
}

printer_link::CommandStream AdjustQuery(const SettingSelector& selector) {
  printer_link::CommandStream query;
  query.length = printer_link::FeedValueRead(query.bytes, sizeof query.bytes, selector.data());
  return query;
}

printer_link::CommandStream AdjustWrite(const SettingSelector& selector, int adjustmentKind,
                                        int value, const std::string& valueString) {
  return printer_link::FeedValueWriteStream(selector.data(),
                                            AdjustValueByte(adjustmentKind, value, valueString));
}

uint8_t AdjustValueByte(int adjustmentKind, int value, const std::string& valueString) {
  if (adjustmentKind == ADJUST_PELLAN) {
    return static_cast<uint8_t>(std::clamp(value, PELLAN_BYTE_MIN, PELLAN_BYTE_MAX));
  }
  long long sum = static_cast<long long>(value) + ReadHexPair(valueString, 0);
  return static_cast<uint8_t>(std::clamp<long long>(sum, FEED_BYTE_MIN, FEED_BYTE_MAX));
}

std::string ParseAdjustReply(const uint8_t* reply, size_t received) {
  // Only what arrived counts: the reply area need not hold a zero after it.
  const char* text = reinterpret_cast<const char*>(reply);
  std::string answer(text, strnlen(text, received));
  size_t end = answer.find(ADJUST_REPLY_END);
  if (end != std::string::npos) answer.resize(end);
  size_t tag = answer.find(ADJUST_REPLY_TAG);
  if (tag == std::string::npos) return std::string();
  size_t at = tag + std::strlen(ADJUST_REPLY_TAG) + ADJUST_VALUE_AT;
  if (at >= answer.size()) return std::string();
  return answer.substr(at, ADJUST_VALUE_LENGTH);
}

std::string ReadAdjustValue(printer_link::PrinterChannel& channel,
                            const shell::SettingsReader& settings, const std::string& queueName,
                            const AdjustmentSelection& selection, int valueKind) {
  SettingSelector selector;
  if (!FindSettingSelector(settings, selection, valueKind, &selector)) return std::string();
  printer_link::CommandStream query = AdjustQuery(selector);
  uint8_t reply[ADJUST_REPLY_SIZE] = {};
  int result = channel.QueryPrinter(queueName, query.bytes, query.length, reply, sizeof reply,
                                    ADJUST_QUERY_LIMIT_MS);
  if (result <= 0) return std::string();
  // A library that claims more than the area held is not believed beyond the area.
  return ParseAdjustReply(reply, std::min(static_cast<size_t>(result), sizeof reply));
}

int WriteAdjustValue(platform::Spooler& spooler, const shell::SettingsReader& settings,
                     const std::string& queueName, const AdjustmentSelection& selection, int value,
                     const std::string& valueString, int valueKind) {
  SettingSelector selector;
  if (!FindSettingSelector(settings, selection, valueKind, &selector)) return 0;
  printer_link::CommandStream stream =
      AdjustWrite(selector, selection.adjustmentKind, value, valueString);
  printer_link::SendCommandJob(spooler, queueName, stream.bytes, stream.length);
  return 1;
}

std::string AdjustValueText(const std::string& valueText, const AdjustmentSelection& selection) {
  int current = ReadHexPair(valueText, 0);
  if (selection.adjustmentKind == ADJUST_PELLAN) return std::to_string(current);
  return std::to_string(current - ReadHexPair(valueText, REFERENCE_AT));
}

}  // namespace feed
