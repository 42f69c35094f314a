// The printer's adjustment values: their selectors in PaperSet.ini, the "EX" read and write, and
// the conversions between the printer's value text, the shown number and the written byte.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "link/command_framing.h"
#include "link/printer_channel.h"
#include "platform/spooler.h"
#include "samples/adjustment_selection.h"
#include "shell/settings_reader.h"

namespace feed {

constexpr char PAPER_SET_FILE[] = "PaperSet.ini";
constexpr size_t SELECTOR_LENGTH = printer_link::FEED_ID_LENGTH;
using SettingSelector = std::array<uint8_t, SELECTOR_LENGTH>;

// Setting indices run 1 to 21; 0 means the selection has none.
constexpr int NO_SETTING_INDEX = 0;

// The "EX" value query and its reply.
constexpr uint32_t ADJUST_REPLY_SIZE = 512;
constexpr uint32_t ADJUST_QUERY_LIMIT_MS = 10000;
constexpr char ADJUST_REPLY_TAG[] = "EX:0000001F";
constexpr char ADJUST_REPLY_END = ';';
// After the tag the printer repeats the selector (26 hex digits), then current and reference.
constexpr size_t ADJUST_VALUE_AT = 26;
constexpr size_t ADJUST_VALUE_LENGTH = 4;

// Written paper feed values stay inside what the printer takes as a current value.
constexpr int FEED_BYTE_MIN = 1;
constexpr int FEED_BYTE_MAX = 254;

// The index of the table of setting indices, or NO_SETTING_INDEX for a paper feed value outside
// 0 to 2, an adjustment kind outside 0 and 1 or a print quality position outside 0 to 5.
int SettingIndex(int paperFeed, int adjustmentKind, int qualityPosition, int valueKind);

// PaperSet.ini's key: media code in decimal, ",", index as two digits ("12,05").
std::string SettingKey(int mediaCode, int index);

// The 13 bytes of a selector value: pairs of hex digits, a pair cut short by a non-digit or the
// end reads as far as it got (0 when nothing). False, with nothing read, for an empty value.
bool ReadSelector(const std::string& value, SettingSelector* selector);

// The two characters of text at `at` as a hex number, reading stops at a non-digit; 0 when
// none is there.
int ReadHexPair(const std::string& text, size_t at);

// The selector of the selection's value: false when the selection is out of range, the settings
// folder is unknown, or PaperSet.ini holds no value for the key. *key (when given) receives the
// key that was looked up, or is emptied when there was none.
bool FindSettingSelector(const shell::SettingsReader& settings,
                         const AdjustmentSelection& selection, int valueKind,
                         SettingSelector* selector, std::string* key = nullptr);

// The 22-byte "EX" query of a selector.
printer_link::CommandStream AdjustQuery(const SettingSelector& selector);

// The 46-byte write job of a selector: remote mode, the "EX" write of the value byte, "LD".
printer_link::CommandStream AdjustWrite(const SettingSelector& selector, int adjustmentKind,
                                        int value, const std::string& valueString);

// The byte a write carries: pellan writes the value (kept to a byte), paper feed the value plus
// the reference in the first two characters of valueString, kept to 1..254.
uint8_t AdjustValueByte(int adjustmentKind, int value, const std::string& valueString);

// The value text in the first `received` bytes of a reply: cut at the first zero and the first
// ';' inside them, then characters 27 to 30 of the text after "EX:0000001F" (fewer when it is
// shorter); empty without the tag.
std::string ParseAdjustReply(const uint8_t* reply, size_t received);

// The four characters of the printer's value, or empty when there is no selector (nothing is
// sent), the query fails or the reply lacks the tag.
std::string ReadAdjustValue(printer_link::PrinterChannel& channel,
                            const shell::SettingsReader& settings, const std::string& queueName,
                            const AdjustmentSelection& selection, int valueKind);

// 1 when a selector was found and the write job was handed to the spooler (whatever became of
// it: callers read back to verify), 0 when there is no selector and nothing was sent.
int WriteAdjustValue(platform::Spooler& spooler, const shell::SettingsReader& settings,
                     const std::string& queueName, const AdjustmentSelection& selection, int value,
                     const std::string& valueString, int valueKind);

// The value as the dialogs show it: current for pellan, current - reference for paper feed.
std::string AdjustValueText(const std::string& valueText, const AdjustmentSelection& selection);

}  // namespace feed
