// Program worlds for flow tests.
#include "tests/support/program_world.h"

#include "tests/support/rc_templates.h"

namespace fakes {

void DeclareProgramTemplates(FakeHost& host, const std::string& programName) {
  RcTemplates read = ReadRcTemplates(KD_SOURCE_DIR, ProgramRcFile(programName));
  for (auto& entry : read.controls) host.templates[entry.first] = entry.second;
}

void DeclareSuiteTemplates(FakeHost& host) {
  // Kestrune's and Sunnabar's templates share their numbers only where they are the same.
  DeclareProgramTemplates(host, "Kestrune");
  DeclareProgramTemplates(host, "Sunnabar");
}

ProgramWorld::ProgramWorld(shell::ProgramProfile profile, const std::string& queueName)
    : queue(queueName) {
  auto recording = std::make_unique<RecordingSpooler>();
  spooler = recording.get();
  spooler->AddQueue(queue, "USB001", TEST_DRIVER);
  spooler->onJob = [this](const std::vector<uint8_t>& job) { printer.ReceiveJob(job); };
  spooler->driverInfo[queue] = {"C:\\Drivers\\KD9000.DLL", "C:\\Drivers\\KD9000.INI"};
  auto simulated = std::make_unique<sim::SimulatedLibrary>(
      printer, std::vector<std::string>{"KBAPI.DLL", TEST_DRIVER_LIBRARY},
      std::vector<std::string>{TEST_DRIVER_SETTINGS_LIBRARY});
  library = simulated.get();
  auto traced = std::make_unique<sim::TracingLibrary>(std::move(simulated));
  tracing = traced.get();
  auto recordingLibrary = std::make_unique<RecordingLibrary>(std::move(traced));
  loads = recordingLibrary.get();
  app = std::make_unique<shell::ToolApp>(
      std::move(profile),
      MakeFakePlatform(&fake, std::move(recording), std::move(recordingLibrary), &clock));
  std::vector<int> texts = {0,     1,     2,     3,     4,     5,     6,     7,     8,      10,
                            100,   101,   102,   180,   200,   280,   300,   302,   303,    304,
                            305,   306,   307,   308,   309,   310,   311,   312,   313,    314,
                            318,   320,   330,   380,   400,   780,   10000, 10001, 10400,  20000,
                            20100, 40000, 40001, 50000, 50001, 80000, 80001, 90000, 100000, 100100};
  InstallTestSettings(*fake.files, texts);
  fake.files->Put("C:\\Drivers\\KD9000.INI",
                  "[User Mode Printer Driver Information]\r\nKBAPII=KBAPI.DLL\r\n");
  fake.registry->AddKey(platform::HIVE_LOCAL_MACHINE,
                        std::string("Software\\KALDO\\QTW3\\Driver\\") + TEST_DRIVER);
  DeclareProgramTemplates(*fake.host, app->Profile().name);
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
