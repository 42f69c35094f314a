// Program worlds for flow tests.
#include "tests/support/program_world.h"

#include "firmware/firmware_page.h"

namespace fakes {

void DeclareSuiteTemplates(FakeHost& host) {
  host.templates[IDD_MAIN_WINDOW] = {IDC_PAGE_SELECTOR, IDC_PRINTER_LIST, IDC_PRINTER_LABEL,
                                     IDC_SEPARATOR_LINE};
  host.templates[134] = {1160, 1038, 1040, 1161, 1039, 1041, 1003, 1004};
  host.templates[169] = {1158, 1159, 2};
  using namespace firmware;
  host.templates[IDD_FIRMWARE_PAGE] = {IDC_FILE_CAPTION,
                                       IDC_FILE_NAME,
                                       IDC_BROWSE,
                                       IDC_VERSION_GROUP,
                                       IDC_PRINTER_VERSION_CAPTION,
                                       IDC_PRINTER_VERSION,
                                       IDC_FILE_VERSION_CAPTION,
                                       IDC_FILE_VERSION,
                                       IDC_VERDICT,
                                       IDC_UPDATE,
                                       IDC_HELP_BUTTON,
                                       IDC_CLOSE_BUTTON};
  host.templates[183] = {1173, 1174, 1175};
}

ProgramWorld::ProgramWorld(shell::ProgramProfile profile) {
  auto recording = std::make_unique<RecordingSpooler>();
  spooler = recording.get();
  spooler->AddQueue(TEST_QUEUE, "USB001", TEST_DRIVER);
  spooler->onJob = [this](const std::vector<uint8_t>& job) { printer.ReceiveJob(job); };
  spooler->driverInfo[TEST_QUEUE] = {"C:\\Drivers\\KD9000.DLL", "C:\\Drivers\\KD9000.INI"};
  auto simulated = std::make_unique<sim::SimulatedLibrary>(
      printer, std::vector<std::string>{"KBAPI.DLL", TEST_DRIVER_LIBRARY});
  library = simulated.get();
  app = std::make_unique<shell::ToolApp>(
      std::move(profile),
      MakeFakePlatform(&fake, std::move(recording), std::move(simulated), &clock));
  std::vector<int> texts = {0,   1,   2,   3,   4,   10,    100,   101,   102,  180, 200,
                            280, 300, 302, 303, 304, 305,   306,   307,   308,  309, 310,
                            311, 312, 313, 380, 400, 10000, 10001, 20000, 20100};
  InstallTestSettings(*fake.files, texts);
  fake.files->Put("C:\\Drivers\\KD9000.INI",
                  "[User Mode Printer Driver Information]\r\nKBAPII=KBAPI.DLL\r\n");
  fake.registry->AddKey(platform::HIVE_LOCAL_MACHINE,
                        std::string("Software\\KALDO\\QTW3\\Driver\\") + TEST_DRIVER);
  DeclareSuiteTemplates(*fake.host);
}

void ProgramWorld::SetLaunchMode(const std::string& value) {
  fake.files->Put(SettingsPath("Setting_Launch.ini"), "Ope=" + value + "\r\n");
}

void ProgramWorld::Remember(const std::string& queue) {
  fake.registry->PutString(platform::HIVE_CURRENT_USER,
                           "SoftWare\\KALDO\\KALDO Maroset\\" + shell::ModelKeyName(TEST_DRIVER),
                           "SelectPrinter", queue);
}

void ProgramWorld::Run(shell::PageFactory pages, std::function<void(FakeView& main)> script) {
  fake.host->modalScripts[IDD_MAIN_WINDOW] = std::move(script);
  app->Run([&pages](shell::ToolApp& a) { return std::make_unique<shell::MainWindow>(a, pages); });
}

std::vector<std::string> ProgramWorld::MessageTexts() const {
  std::vector<std::string> texts;
  for (const ShownMessage& m : fake.host->messages) texts.push_back(m.text);
  return texts;
}

std::vector<ui::Icon> ProgramWorld::MessageIcons() const {
  std::vector<ui::Icon> icons;
  for (const ShownMessage& m : fake.host->messages) icons.push_back(m.icon);
  return icons;
}

}  // namespace fakes
