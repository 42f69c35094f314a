// kdtool: firmware file check, version comparison, test files and (on Windows) the update itself.
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <limits>
#include <string>

#include "firmware/firmware_file.h"
#include "firmware/firmware_version.h"
#include "tools/kdtool/commands.h"

#ifdef _WIN32
#include "firmware/firmware_texts.h"
#include "firmware/firmware_update.h"
#include "link/printer_channel.h"
#include "programs/common/native_platform.h"
#include "programs/sunnabar/sunnabar_tables.h"
#include "shell/tool_app.h"
#endif

namespace kdtool {

namespace {

int FirmwareCheck(Context& c);
int VersionCompare(Context& c);
int MakeUpg(Context& c);
int Update(Context& c);

}  // namespace

const Command FIRMWARE_COMMANDS[] = {
    {"firmware-check", "FILE", FirmwareCheck},
    {"version-compare", "PRINTER_VERSION FILE_VERSION", VersionCompare},
    {"make-upg", "--version TEXT --image-size N OUT", MakeUpg},
    {"update", "QUEUE FILE", Update},
};
const int FIRMWARE_COMMAND_COUNT = sizeof FIRMWARE_COMMANDS / sizeof FIRMWARE_COMMANDS[0];

namespace {

struct Meaning {
  int code;
  const char* word;    // printed beside the number; scripts read the number, the first word
  const char* detail;  // for the error line on standard error
};

const Meaning FILE_CHECK_MEANINGS[] = {
    {firmware::FW_FILE_OK, "ok", "a good firmware file"},
    {firmware::FW_FILE_UNREADABLE, "unreadable", "cannot be read (missing, in use or too large)"},
    {firmware::FW_FILE_DAMAGED, "damaged", "a length or checksum does not match"},
    {firmware::FW_FILE_BAD_VERSION_TAG, "bad-version-tag", "the version does not start with SN"},
    {firmware::FW_FILE_NOT_FIRMWARE, "not-firmware", "too small or without the firmware marker"},
};

const Meaning VERDICT_MEANINGS[] = {
    {firmware::VERDICT_FILE_NEWER, "file-newer", "the file is newer than the printer's firmware"},
    {firmware::VERDICT_FILE_OLDER, "file-older", "the file is older than the printer's firmware"},
    {firmware::VERDICT_SAME, "same", "the file has the printer's version"},
    {firmware::VERDICT_NONE, "no-version", "a version text is empty"},
};

template <size_t N>
const Meaning& MeaningOf(const Meaning (&table)[N], int code) {
  static const Meaning UNKNOWN = {0, "unknown", "an unknown result"};
  for (const Meaning& m : table) {
    if (m.code == code) return m;
  }
  return UNKNOWN;
}

// "-3 bad-version-tag": the number first, as scripts read it, its meaning beside it.
std::string CodeLine(const Meaning& meaning, int code) {
  return std::to_string(code) + " " + meaning.word;
}

// A whole unsigned decimal number; false on anything else or on overflow.
bool ParseCount(const std::string& text, uint64_t* value) {
  if (text.empty()) return false;
  uint64_t n = 0;
  for (char ch : text) {
    if (ch < '0' || ch > '9') return false;
    uint64_t digit = static_cast<uint64_t>(ch - '0');
    if (n > (std::numeric_limits<uint64_t>::max() - digit) / 10) return false;
    n = n * 10 + digit;
  }
  *value = n;
  return true;
}

int FirmwareCheck(Context& c) {
  if (c.args.size() != 1) return Usage(c, FIRMWARE_COMMANDS[0]);
  std::string version;
  int result = firmware::CheckFirmwareFile(c.files, c.args[0], &version);
  if (result == firmware::FW_FILE_OK) {
    c.out << result << " " << version << "\n";
    return EXIT_OK;
  }
  const Meaning& meaning = MeaningOf(FILE_CHECK_MEANINGS, result);
  c.out << CodeLine(meaning, result) << "\n";
  c.err << "kdtool: " << c.args[0] << ": " << meaning.detail << "\n";
  return EXIT_FAILED;
}

int VersionCompare(Context& c) {
  if (c.args.size() != 2) return Usage(c, FIRMWARE_COMMANDS[1]);
  int verdict = firmware::CompareVersions(c.args[0], c.args[1]);
  c.out << CodeLine(MeaningOf(VERDICT_MEANINGS, verdict), verdict) << "\n";
  return EXIT_OK;
}

int MakeUpg(Context& c) {
  const Command& self = FIRMWARE_COMMANDS[2];
  uint64_t imageSize = 0;
  if (c.args.size() != 5 || c.args[0] != "--version" || c.args[2] != "--image-size") {
    return Usage(c, self);
  }
  if (c.args[1].size() > firmware::FW_VERSION_LENGTH) {
    return BadArgument(c, self, "version " + c.args[1] + " is longer than 8 characters");
  }
  if (!ParseCount(c.args[3], &imageSize)) {
    return BadArgument(c, self, "image size " + c.args[3] + " is not a whole number of bytes");
  }
  if (imageSize > firmware::FW_MAX_IMAGE_SIZE ||
      imageSize > std::numeric_limits<size_t>::max() - firmware::FW_IMAGE_OFFSET) {
    c.err << "kdtool: an image of " << imageSize << " bytes does not fit the length fields\n";
    return EXIT_FAILED;
  }
  std::vector<uint8_t> file = firmware::MakeFirmwareFile(c.args[1], static_cast<size_t>(imageSize));
  std::ofstream out(c.args[4], std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  out.close();
  if (!out) {
    c.err << "kdtool: cannot write " << c.args[4] << "\n";
    return EXIT_FAILED;
  }
  c.out << file.size() << "\n";
  return EXIT_OK;
}

#ifdef _WIN32

const char* IconName(ui::Icon icon) {
  switch (icon) {
    case ui::Icon::Information:
      return "information";
    case ui::Icon::Warning:
      return "warning";
    case ui::Icon::Error:
      return "error";
    default:
      return "none";
  }
}

// The update's page, on the console: messages and versions are printed.
class ConsoleTarget : public firmware::UpdateTarget {
 public:
  ConsoleTarget(Context& c, shell::ToolApp& app, std::string printerVersion)
      : c_(c), app_(app), printerVersion_(std::move(printerVersion)) {}

  std::string PrinterVersionText() override { return printerVersion_; }
  void ShowPrinterVersion(const std::string& version) override {
    printerVersion_ = version;
    c_.out << "printer version: "
           << (version.empty() ? app_.GetText(firmware::TEXT_NO_VERSION) : version) << "\n";
  }
  void ShowMessage(int text, ui::Icon icon) override {
    c_.out << "message " << text << " (" << IconName(icon) << "): " << app_.GetText(text) << "\n";
  }
  void SelectFirmwarePage() override { c_.out << "the printer did not come back\n"; }
  void Step(const char* description) override { c_.out << "-- " << description << "\n"; }

 private:
  Context& c_;
  shell::ToolApp& app_;
  std::string printerVersion_;
};

int Update(Context& c) {
  if (c.args.size() != 2) return Usage(c, FIRMWARE_COMMANDS[3]);
  const std::string& queue = c.args[0];
  const std::string& path = c.args[1];

  shell::ToolApp app(programs::SunnabarProfile(), programs::NativePlatform());

  std::vector<platform::PrinterQueue> queues;
  app.Spooler().EnumeratePrinters(&queues);
  bool found = false;
  for (const platform::PrinterQueue& q : queues) {
    if (q.printerName != queue) continue;
    app.SetPrinter(q.printerName, q.driverName, q.portName);
    found = true;
    break;
  }
  if (!found) {
    c.err << "kdtool: no printer queue named " << queue << "\n";
    return EXIT_FAILED;
  }
  c.out << "queue " << queue << ", driver " << app.DriverName() << "\n";

  std::string fileVersion;
  int check = firmware::CheckFirmwareFile(app.Files(), path, &fileVersion);
  c.out << "file check: "
        << (check == 0 ? std::to_string(check) + " " + fileVersion
                       : CodeLine(MeaningOf(FILE_CHECK_MEANINGS, check), check))
        << "\n";
  if (check != firmware::FW_FILE_OK) {
    c.out << "message " << firmware::FileRejectionText(check) << ": "
          << app.GetText(firmware::FileRejectionText(check)) << "\n";
    return EXIT_FAILED;
  }

  printer_link::BidiApi link(app.Library(), app.Spooler(), app.Files());
  if (printer_link::BindWithFallback(link, queue, app.Clock()) != 1) {
    c.out << "the printer link could not be bound\n";
  }
  printer_link::PrinterChannel channel = app.Channel(&link);
  std::string printerVersion = firmware::QueryFirmwareVersion(channel, queue);
  c.out << "printer version: " << (printerVersion.empty() ? "(none)" : printerVersion) << "\n";
  int verdict = firmware::CompareVersions(printerVersion, fileVersion);
  c.out << "verdict: " << CodeLine(MeaningOf(VERDICT_MEANINGS, verdict), verdict) << "\n";
  // As on the page: no update without a printer version or with an older file.
  if (verdict != firmware::VERDICT_FILE_NEWER && verdict != firmware::VERDICT_SAME) {
    link.Release();
    return EXIT_FAILED;
  }

  ConsoleTarget target(c, app, printerVersion);
  firmware::UpdateOutcome outcome = firmware::UpdateFirmware(app, &link, target, path, fileVersion);
  link.Release();
  return outcome == firmware::UpdateOutcome::Updated ? EXIT_OK : EXIT_FAILED;
}

#else

int Update(Context& c) {
  c.err << "kdtool: update needs the Windows build (spooler and printer library)\n";
  return EXIT_FAILED;
}

#endif

}  // namespace

}  // namespace kdtool
