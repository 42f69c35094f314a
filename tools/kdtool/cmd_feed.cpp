// kdtool: the media table, adjustment value selectors and streams, value texts and ink class.
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ostream>

#include "feed/ink_configuration.h"
#include "feed/media_table.h"
#include "feed/paper_setting_data.h"
#include "link/hex.h"
#include "link/printer_channel.h"
#include "link/status_reply.h"
#include "shell/settings_reader.h"
#include "tools/kdtool/commands.h"

namespace kdtool {

namespace {

int MediaTableCommand(Context& c);
int MediaRows(Context& c);
int Selector(Context& c);
int ExQuery(Context& c);
int ExWrite(Context& c);
int ValueText(Context& c);
int InkClass(Context& c);

}  // namespace

const Command FEED_COMMANDS[] = {
    {"media-table", "", MediaTableCommand},
    {"media-rows", "DRIVER_ID FEED", MediaRows},
    {"selector", "MEDIA FEED KIND POSITION VALUE_KIND", Selector},
    {"ex-query", "MEDIA FEED KIND POSITION VALUE_KIND", ExQuery},
    {"ex-write", "MEDIA FEED KIND POSITION VALUE_KIND VALUE VALUE_STRING", ExWrite},
    {"value-text", "TEXT KIND", ValueText},
    {"ink-class", "HEX", InkClass},
};
const int FEED_COMMAND_COUNT = sizeof FEED_COMMANDS / sizeof FEED_COMMANDS[0];

namespace {

constexpr char NONE[] = "none";
constexpr size_t SELECTION_ARGS = 5;

// A whole signed decimal number that fits an int; false on anything else.
bool ParseInt(const std::string& text, int* value) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  long n = std::strtol(text.c_str(), &end, 10);
  if (*end != '\0' || errno == ERANGE || n < INT_MIN || n > INT_MAX) return false;
  // strtol would also take leading blanks.
  if (text[0] != '-' && text[0] != '+' && (text[0] < '0' || text[0] > '9')) return false;
  *value = static_cast<int>(n);
  return true;
}

shell::SettingsReader Settings(Context& c) {
  return shell::SettingsReader(c.files, c.settingsFolder, shell::SETTINGS_LINE_CHUNK_TREVALO,
                               c.codePage);
}

// MEDIA FEED KIND POSITION VALUE_KIND from the first five arguments.
bool ParseSelection(Context& c, feed::AdjustmentSelection* selection, int* valueKind) {
  if (c.args.size() < SELECTION_ARGS) return false;
  return ParseInt(c.args[0], &selection->mediaCode) && ParseInt(c.args[1], &selection->paperFeed) &&
         ParseInt(c.args[2], &selection->adjustmentKind) &&
         ParseInt(c.args[3], &selection->qualityPosition) && ParseInt(c.args[4], valueKind);
}

int MediaTableCommand(Context& c) {
  if (!c.args.empty()) return Usage(c, FEED_COMMANDS[0]);
  shell::SettingsReader settings = Settings(c);
  feed::MediaTable table(settings, feed::MEDIA_TABLE_FILE);
  if (table.IsLoaded()) {
    c.out << "loaded " << table.RowCount() << "\n";
  } else {
    c.out << "not-loaded\n";
  }
  return EXIT_OK;
}

int MediaRows(Context& c) {
  int driverMediaId = 0;
  int paperFeed = 0;
  if (c.args.size() != 2 || !ParseInt(c.args[0], &driverMediaId) ||
      !ParseInt(c.args[1], &paperFeed)) {
    return Usage(c, FEED_COMMANDS[1]);
  }
  shell::SettingsReader settings = Settings(c);
  feed::MediaTable table(settings, feed::MEDIA_TABLE_FILE);
  if (!table.IsLoaded()) {
    c.err << "kdtool: the media table is not loaded\n";
    return EXIT_FAILED;
  }
  std::string rows;
  for (int position = 0; position < table.RowCount(); ++position) {
    int kind = 0;
    int code = table.NextMatch(driverMediaId, paperFeed, &position, &kind);
    if (code == feed::MEDIA_NOT_FOUND) break;
    rows += (rows.empty() ? "" : " ") + std::to_string(code) + ":" + std::to_string(kind);
  }
  c.out << rows << "\n";
  return EXIT_OK;
}

int Selector(Context& c) {
  feed::AdjustmentSelection selection;
  int valueKind = 0;
  if (c.args.size() != SELECTION_ARGS || !ParseSelection(c, &selection, &valueKind)) {
    return Usage(c, FEED_COMMANDS[2]);
  }
  feed::SettingSelector selector;
  std::string key;
  if (!feed::FindSettingSelector(Settings(c), selection, valueKind, &selector, &key)) {
    c.out << NONE << "\n";
  } else {
    c.out << key << " " << ToHex(selector.data(), selector.size()) << "\n";
  }
  return EXIT_OK;
}

int ExQuery(Context& c) {
  feed::AdjustmentSelection selection;
  int valueKind = 0;
  if (c.args.size() != SELECTION_ARGS || !ParseSelection(c, &selection, &valueKind)) {
    return Usage(c, FEED_COMMANDS[3]);
  }
  feed::SettingSelector selector;
  if (!feed::FindSettingSelector(Settings(c), selection, valueKind, &selector)) {
    c.out << NONE << "\n";
    return EXIT_OK;
  }
  printer_link::CommandStream query = feed::AdjustQuery(selector);
  c.out << ToHex(query.bytes, query.length) << "\n";
  return EXIT_OK;
}

int ExWrite(Context& c) {
  feed::AdjustmentSelection selection;
  int valueKind = 0;
  int value = 0;
  if (c.args.size() != SELECTION_ARGS + 2 || !ParseSelection(c, &selection, &valueKind) ||
      !ParseInt(c.args[SELECTION_ARGS], &value)) {
    return Usage(c, FEED_COMMANDS[4]);
  }
  feed::SettingSelector selector;
  if (!feed::FindSettingSelector(Settings(c), selection, valueKind, &selector)) {
    c.out << NONE << "\n";
    return EXIT_OK;
  }
  printer_link::CommandStream stream =
      feed::AdjustWrite(selector, selection.adjustmentKind, value, c.args[SELECTION_ARGS + 1]);
  c.out << ToHex(stream.bytes, stream.length) << "\n";
  return EXIT_OK;
}

int ValueText(Context& c) {
  feed::AdjustmentSelection selection;
  if (c.args.size() != 2 || !ParseInt(c.args[1], &selection.adjustmentKind)) {
    return Usage(c, FEED_COMMANDS[5]);
  }
  c.out << feed::AdjustValueText(c.args[0], selection) << "\n";
  return EXIT_OK;
}

int InkClass(Context& c) {
  std::vector<uint8_t> reply;
  if (c.args.size() != 1 ||
      !printer_link::BytesFromHex(c.args[0], &reply, printer_link::HexBlanks::Skipped)) {
    return Usage(c, FEED_COMMANDS[6]);
  }
  printer_link::StatusReply status;
  // No status counts as eight inks.
  printer_link::ReadStatusBytes(reply.data(), reply.size(), status);
  c.out << feed::InkClassOf(feed::InkConfiguration(status)) << "\n";
  return EXIT_OK;
}

}  // namespace

}  // namespace kdtool
