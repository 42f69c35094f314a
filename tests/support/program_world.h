// A whole program over fakes, with a simulated printer behind a recording spooler, for flow tests.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "shell/main_window.h"
#include "sim/simulated_library.h"
#include "sim/simulated_printer.h"
#include "sim/tracing_library.h"
#include "tests/support/fake_spooler.h"
#include "tests/support/test_app.h"

namespace fakes {

constexpr char TEST_QUEUE[] = "Printer A";
constexpr char TEST_DRIVER[] = "KALDO Model 9000";
// The driver's own copy of the library, named by its data file.
constexpr char TEST_DRIVER_LIBRARY[] = "C:\\Drivers\\KBAPI.DLL";
// The driver-settings library beside the test driver (its driver path's folder).
constexpr char TEST_DRIVER_SETTINGS_LIBRARY[] = "C:\\Drivers\\KDSET32.DLL";

// The control ids of a program's templates, as its .rc declares them.
void DeclareProgramTemplates(FakeHost& host, const std::string& programName);
// Kestrune's and Sunnabar's templates together.
void DeclareSuiteTemplates(FakeHost& host);

// The program's library loads, by the name or path asked for.
class RecordingLibrary : public platform::Library {
 public:
  explicit RecordingLibrary(std::unique_ptr<platform::Library> inner) : inner_(std::move(inner)) {}
  std::unique_ptr<platform::LoadedLibrary> Load(const std::string& nameOrPath) override {
    loaded.push_back(nameOrPath);
    return inner_->Load(nameOrPath);
  }
  std::vector<std::string> loaded;

 private:
  std::unique_ptr<platform::Library> inner_;
};

class ProgramWorld {
 public:
  // queue: the name of the test driver's queue (a recorded trace's, for a replay).
  explicit ProgramWorld(shell::ProgramProfile profile, const std::string& queue = TEST_QUEUE);

  void SetLaunchMode(const std::string& value);
  // The printer the program remembers for the test driver's model.
  void Remember(const std::string& queue);
  // Runs the program; script acts inside the modal main window.
  void Run(shell::PageFactory pages, std::function<void(FakeView& main)> script);

  FakeView* Window(int templateId) { return fake.host->Find(templateId); }
  // Texts of the message boxes shown so far ("T<N>"), and their icons.
  std::vector<std::string> MessageTexts() const;
  std::vector<ui::Icon> MessageIcons() const;

  std::string queue;
  FakeClock clock;
  sim::SimulatedPrinter printer{clock};
  RecordingSpooler* spooler = nullptr;
  sim::SimulatedLibrary* library = nullptr;
  sim::TracingLibrary* tracing = nullptr;  // records nothing until asked to
  RecordingLibrary* loads = nullptr;
  TestPlatform fake{};
  std::unique_ptr<shell::ToolApp> app;
};

}  // namespace fakes
