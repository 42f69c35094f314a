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
#include "shell/platform_set.h"
#include "shell/settings_reader.h"
#include "shell/texts.h"
#include "shell/tool_seat.h"
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

// What the update asks of the program around it, on the console: the Settings folder's texts, the
// system's spooler, library and clock, and waits without windows. Nothing is remembered.
class ConsoleSeat : public shell::ToolSeat {
 public:
  ConsoleSeat(Context& c, shell::PlatformSet platform)
      : c_(c),
        platform_(std::move(platform)),
        reader_(c.files, c.settingsFolder, shell::SETTINGS_LINE_CHUNK, c.codePage),
        texts_(reader_, shell::TextKeyStyle::Zeros00),
        fonts_(texts_, *platform_.host),
        waits_(*platform_.host),
        printer_(*this) {}

  void SetPrinter(const std::string& queue, const std::string& driver) {
    queue_ = queue;
    driver_ = driver;
  }

  shell::LaunchMode Launch() override { return shell::LaunchMode::Normal; }
  const shell::Texts& GetTexts() override { return texts_; }
  shell::FontCache& Fonts() override { return fonts_; }
  ui::Answer Message(ui::View*, const std::string& text, ui::Icon icon, ui::Buttons) override {
    c_.out << "message (" << IconName(icon) << "): " << text << "\n";
    return ui::Answer::Ok;
  }
  std::string PrinterName() override { return queue_; }
  std::string DriverName() override { return driver_; }
  bool OpenedByPrinterChoice() override { return false; }
  shell::CheckedPrinter& Printer() override { return printer_; }
  printer_link::BidiApi* PrinterLink() override { return link_; }
  printer_link::PrinterChannel Channel(printer_link::BidiApi* link) override {
    return printer_link::PrinterChannel(link, *platform_.clock, &waits_);
  }
  printer_link::WaitWindows& Waits() override { return waits_; }
  platform::Files& Files() override { return c_.files; }
  const platform::CodePage& SystemCodePage() override { return c_.codePage; }
  platform::Spooler& Spooler() override { return *platform_.spooler; }
  platform::Clock& Clock() override { return *platform_.clock; }
  ui::Host& Host() override { return *platform_.host; }
  shell::ToolOptions& Options() override { return options_; }

  void SetLink(printer_link::BidiApi* link) { link_ = link; }
  platform::Library& Library() { return *platform_.library; }

 private:
  // A console shows no busy dialogs; the waits keep their limits on the clock.
  class NoWindows : public printer_link::WaitWindows {
   public:
    explicit NoWindows(ui::Host& host) : host_(host) {}
    std::unique_ptr<printer_link::ProgressWait> NewWait() override { return nullptr; }
    void PumpMessages() override { host_.PumpMessages(); }

   private:
    ui::Host& host_;
  };
  // The queue over the link; a queue named on the command line counts as installed.
  class LinkPrinter : public shell::CheckedPrinter {
   public:
    explicit LinkPrinter(ConsoleSeat& seat) : seat_(seat) {}
    bool StillInstalled() override { return true; }
    bool MatchDeviceId() override {
      return seat_.Channel(seat_.link_).MatchDeviceId(seat_.queue_, seat_.driver_);
    }
    int WaitUntilReady(bool showDialog, ui::View* parent) override {
      return seat_.Channel(seat_.link_).WaitUntilReady(seat_.queue_, showDialog, parent);
    }

   private:
    ConsoleSeat& seat_;
  };
  // kdtool keeps no values of its own: every option reads as its default.
  class NoOptions : public shell::ToolOptions {
    int32_t Get(const shell::NumberOption& option) override { return option.fallback; }
    std::string Get(const shell::StringOption& option) override { return option.fallback; }
    void Set(const shell::NumberOption&, int32_t) override {}
    void Set(const shell::StringOption&, const std::string&) override {}
  };

  Context& c_;
  shell::PlatformSet platform_;
  shell::SettingsReader reader_;
  shell::Texts texts_;
  shell::FontCache fonts_;
  NoWindows waits_;
  NoOptions options_;
  std::string queue_;
  std::string driver_;
  printer_link::BidiApi* link_ = nullptr;
  LinkPrinter printer_;
};

// The update's page, on the console: messages and versions are printed.
class ConsoleTarget : public firmware::UpdateTarget {
 public:
  ConsoleTarget(Context& c, shell::ToolSeat& seat, std::string printerVersion)
      : c_(c), seat_(seat), printerVersion_(std::move(printerVersion)) {}

  std::string PrinterVersionText() override { return printerVersion_; }
  void ShowPrinterVersion(const std::string& version) override {
    printerVersion_ = version;
    c_.out << "printer version: "
           << (version.empty() ? seat_.GetText(firmware::TEXT_NO_VERSION) : version) << "\n";
  }
  void ShowMessage(int text, ui::Icon icon) override {
    c_.out << "message " << text << " (" << IconName(icon) << "): " << seat_.GetText(text) << "\n";
  }
  void SelectFirmwarePage() override { c_.out << "the printer did not come back\n"; }
  void Step(const char* description) override { c_.out << "-- " << description << "\n"; }

 private:
  Context& c_;
  shell::ToolSeat& seat_;
  std::string printerVersion_;
};

int Update(Context& c) {
  if (c.args.size() != 2) return Usage(c, FIRMWARE_COMMANDS[3]);
  const std::string& queue = c.args[0];
  const std::string& path = c.args[1];

  ConsoleSeat seat(c, programs::NativePlatform());

  std::vector<platform::PrinterQueue> queues;
  seat.Spooler().EnumeratePrinters(&queues);
  bool found = false;
  for (const platform::PrinterQueue& q : queues) {
    if (q.printerName != queue) continue;
    seat.SetPrinter(q.printerName, q.driverName);
    found = true;
    break;
  }
  if (!found) {
    c.err << "kdtool: no printer queue named " << queue << "\n";
    return EXIT_FAILED;
  }
  c.out << "queue " << queue << ", driver " << seat.DriverName() << "\n";

  std::string fileVersion;
  int check = firmware::CheckFirmwareFile(seat.Files(), path, &fileVersion);
  c.out << "file check: "
        << (check == 0 ? std::to_string(check) + " " + fileVersion
                       : CodeLine(MeaningOf(FILE_CHECK_MEANINGS, check), check))
        << "\n";
  if (check != firmware::FW_FILE_OK) {
    c.out << "message " << firmware::FileRejectionText(check) << ": "
          << seat.GetText(firmware::FileRejectionText(check)) << "\n";
    return EXIT_FAILED;
  }

  printer_link::BidiApi link(seat.Library(), seat.Spooler(), seat.Files());
  if (printer_link::BindWithFallback(link, queue, seat.Clock()) != 1) {
    c.out << "the printer link could not be bound\n";
  }
  seat.SetLink(&link);
  printer_link::PrinterChannel channel = seat.Channel(&link);
  std::string printerVersion = firmware::QueryFirmwareVersion(channel, queue);
  c.out << "printer version: " << (printerVersion.empty() ? "(none)" : printerVersion) << "\n";
  int verdict = firmware::CompareVersions(printerVersion, fileVersion);
  c.out << "verdict: " << CodeLine(MeaningOf(VERDICT_MEANINGS, verdict), verdict) << "\n";
  // As on the page: no update without a printer version or with an older file.
  if (verdict != firmware::VERDICT_FILE_NEWER && verdict != firmware::VERDICT_SAME) {
    link.Release();
    return EXIT_FAILED;
  }

  ConsoleTarget target(c, seat, printerVersion);
  firmware::UpdateOutcome outcome =
      firmware::UpdateFirmware(seat, &link, target, path, fileVersion);
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
