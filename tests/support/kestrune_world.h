// Kestrune over fakes with a simulated printer behind a recording spooler, for flow tests.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "shell/main_window.h"
#include "sim/simulated_library.h"
#include "sim/simulated_printer.h"
#include "tests/support/fake_spooler.h"
#include "tests/support/test_app.h"

namespace fakes {

constexpr char TEST_QUEUE[] = "Printer A";
constexpr char TEST_DRIVER[] = "KALDO Model 9000";
// The driver's own copy of the library, named by its data file.
constexpr char TEST_DRIVER_LIBRARY[] = "C:\\Drivers\\KBAPI.DLL";

// Control ids of the templates the flows create.
void DeclareSuiteTemplates(FakeHost& host);

class ProgramWorld {
 public:
  explicit ProgramWorld(shell::ProgramProfile profile);

  void SetLaunchMode(const std::string& value);
  // The printer the program remembers for the test driver's model.
  void Remember(const std::string& queue);
  // Runs the program; script acts inside the modal main window.
  void Run(shell::PageFactory pages, std::function<void(FakeView& main)> script);

  FakeView* Window(int templateId) { return fake.host->Find(templateId); }
  // Texts of the message boxes shown so far ("T<N>"), and their icons.
  std::vector<std::string> MessageTexts() const;
  std::vector<ui::Icon> MessageIcons() const;

  FakeClock clock;
  sim::SimulatedPrinter printer{clock};
  RecordingSpooler* spooler = nullptr;
  sim::SimulatedLibrary* library = nullptr;
  TestPlatform fake{};
  std::unique_ptr<shell::ToolApp> app;
};

}  // namespace fakes
