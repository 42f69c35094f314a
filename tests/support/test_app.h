// A ToolApp over fakes with a test Settings folder whose text N reads "T<N>".
#pragma once

#include <memory>
#include <string>

#include "shell/tool_app.h"
#include "tests/support/fake_platform.h"
#include "tests/support/fake_ui.h"

namespace fakes {

constexpr char TEST_PROGRAM_DIR[] = "C:\\Tools\\Maint";
constexpr char TEST_SETTINGS_DIR[] = "C:\\Tools\\Maint\\Settings";

// The fakes a ToolApp runs on; pointers stay valid for the app's life.
struct TestPlatform {
  FakeFiles* files;
  FakeRegistry* registry;
  FakeClock* clock;
  FakeSystem* system;
  FakeHost* host;
  platform::Spooler* spooler;
  platform::Library* library;
  FakeCodePage* codePage;  // 1252 unless a test sets another before making its ToolApp
};

// Builds a PlatformSet of fakes; spooler and library may be given (default: inert ones), and a
// clock that the caller keeps (so that a simulated printer can share it).
shell::PlatformSet MakeFakePlatform(TestPlatform* out,
                                    std::unique_ptr<platform::Spooler> spooler = nullptr,
                                    std::unique_ptr<platform::Library> library = nullptr,
                                    FakeClock* sharedClock = nullptr);

// Writes every required settings file, with "T<N>" texts for the numbers given.
void InstallTestSettings(FakeFiles& files, const std::vector<int>& textNumbers);

// Settings file path in the test folder.
std::string SettingsPath(const std::string& file);

}  // namespace fakes
