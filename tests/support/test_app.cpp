// Test applications over fakes.
#include "tests/support/test_app.h"

#include <cstdio>

namespace fakes {

namespace {

class NoLibrary : public platform::Library {
 public:
  std::unique_ptr<platform::LoadedLibrary> Load(const std::string&) override { return nullptr; }
};

class NoSpooler : public platform::Spooler {
 public:
  bool EnumeratePrinters(std::vector<platform::PrinterQueue>*) override { return false; }
  platform::PrinterHandle OpenPrinter(const std::string&) override { return 0; }
  void ClosePrinter(platform::PrinterHandle) override {}
  bool GetDriverInfo(platform::PrinterHandle, platform::DriverInfo*) override { return false; }
  bool GetDeviceSettings(platform::PrinterHandle, const std::string&, ui::View*,
                         std::vector<uint8_t>*) override {
    return false;
  }
  uint32_t StartDoc(platform::PrinterHandle, const std::string&) override { return 0; }
  bool StartPage(platform::PrinterHandle) override { return false; }
  bool Write(platform::PrinterHandle, const uint8_t*, uint32_t, uint32_t*) override {
    return false;
  }
  bool EndPage(platform::PrinterHandle) override { return false; }
  bool EndDoc(platform::PrinterHandle) override { return false; }
  bool EnumerateJobs(platform::PrinterHandle, std::vector<platform::JobInfo>*) override {
    return false;
  }
};

// The platform's clock when the test keeps the fake clock itself.
class ClockRef : public platform::Clock {
 public:
  explicit ClockRef(FakeClock& clock) : clock_(clock) {}
  uint32_t TickCount() override { return clock_.TickCount(); }
  void Sleep(uint32_t ms) override { clock_.Sleep(ms); }

 private:
  FakeClock& clock_;
};

}  // namespace

shell::PlatformSet MakeFakePlatform(TestPlatform* out, std::unique_ptr<platform::Spooler> spooler,
                                    std::unique_ptr<platform::Library> library,
                                    FakeClock* sharedClock) {
  shell::PlatformSet set;
  auto files = std::make_unique<FakeFiles>();
  files->programPath = std::string(TEST_PROGRAM_DIR) + "\\Kestrune.exe";
  std::unique_ptr<platform::Clock> clock;
  if (sharedClock) {
    clock = std::make_unique<ClockRef>(*sharedClock);
  } else {
    auto owned = std::make_unique<FakeClock>();
    sharedClock = owned.get();
    clock = std::move(owned);
  }
  auto host = std::make_unique<FakeHost>(*sharedClock);
  out->files = files.get();
  out->clock = sharedClock;
  out->host = host.get();
  auto registry = std::make_unique<FakeRegistry>();
  out->registry = registry.get();
  auto system = std::make_unique<FakeSystem>();
  out->system = system.get();
  if (!spooler) spooler = std::make_unique<NoSpooler>();
  if (!library) library = std::make_unique<NoLibrary>();
  out->spooler = spooler.get();
  out->library = library.get();
  auto codePage = std::make_unique<FakeCodePage>();
  out->codePage = codePage.get();
  set.files = std::move(files);
  set.registry = std::move(registry);
  set.clock = std::move(clock);
  set.system = std::move(system);
  set.spooler = std::move(spooler);
  set.library = std::move(library);
  set.host = std::move(host);
  set.codePage = std::move(codePage);
  return set;
}

std::string SettingsPath(const std::string& file) {
  return std::string(TEST_SETTINGS_DIR) + "\\" + file;
}

void InstallTestSettings(FakeFiles& files, const std::vector<int>& textNumbers) {
  std::string localize;
  for (int n : textNumbers) {
    char line[64];
    std::snprintf(line, sizeof line, "%08d=T%d\r\n", n, n);
    localize += line;
  }
  files.Put(SettingsPath("Localize.ini"), localize);
  files.Put(SettingsPath("L_Const.ini"), "");
  files.Put(SettingsPath("L_Refer.ini"), "");
  files.Put(SettingsPath("L_Font.ini"), "");
  files.Put(SettingsPath("Manual.ini"), "MANUAL_0000=Manual\\index.htm\r\n");
  files.Put(SettingsPath("Printer.ini"),
            "PRINTER_NUM=2\r\nPRINTER1=KALDO Model 9000\r\nPRINTER2=KALDO Model 7000\r\n");
  files.Put(SettingsPath("MediaP1.ini"),
            "MEDIAP1_NUM=1\r\nMEDIAP1_001=5,12,3,0,1,3,-1,-1,-1,-1\r\n");
  files.Put(SettingsPath("PaperSet.ini"), "");
}

}  // namespace fakes
