// The sample print over a simulated printer and driver: a seat with scripted answers, the
// recording spooler and print surface feeding the printer, a fake clock and a test picture.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "feed/media_table.h"
#include "link/driver_settings_api.h"
#include "samples/sample_print.h"
#include "shell/settings_reader.h"
#include "sim/simulated_library.h"
#include "sim/simulated_printer.h"
#include "tests/support/fake_platform.h"
#include "tests/support/fake_spooler.h"
#include "tests/support/map_options.h"
#include "tests/support/recording_print_surface.h"

namespace fakes {

// Media code 12 is driver media 4 with qualities 0, 1, 3; code 14 is driver media 7 with 5, 6, 7.
constexpr int SAMPLE_MEDIA_CODE = 12;
constexpr int SAMPLE_MEDIA_ID = 4;
constexpr int SAMPLE_OTHER_MEDIA_CODE = 14;
constexpr int SAMPLE_OTHER_MEDIA_ID = 7;
// Paper size codes of the simulated driver: A3 sheets (length 4200) and a 610 mm roll.
constexpr int SAMPLE_A3 = 8;
constexpr int SAMPLE_ROLL_610 = 257;

// A 24-bit bitmap file of width x height whose rows hold their row number.
std::string SampleBitmapFile(int32_t width, int32_t height);

// What the busy dialog was asked and answered.
struct BusyRecord {
  int started = 0;
  int stopped = 0;
  int polls = 0;
  bool cancelDisabled = false;
  std::string caption;
  uint32_t limitMs = 0;
  bool cancellable = false;
  int cancelAtPoll = 0;   // from this poll on the dialog answers Cancelled (0: never)
  int timeOutAtPoll = 0;  // ... TimedOut
};

class SampleWorld : public feed::SamplePrintSeat {
 public:
  SampleWorld();
  ~SampleWorld() override;

  // A run of samples "Sample=1" ... with these feed corrections, on the given paper feed.
  feed::SampleRunRequest Request(const std::vector<int>& corrections, int paperFeed) const;

  // The printer's record: sheet commands ("sample sheet mode N") and printed jobs. At its end
  // the world expects the run to have left no protocol fault.
  std::vector<std::string> Record() const;
  // The record as "1 S1 S2 0 S3 ... 2": samples numbered as they were printed, "." the page.
  std::string RunOrder() const;
  // Message texts ("T<N>" or the confirmation) in order.
  std::vector<std::string> MessageTexts() const;
  // Driver handles still open.
  size_t OpenHandles() const { return printer.State().driver.handles.size(); }

  // feed::SamplePrintSeat
  shell::LaunchMode Launch() override { return launch; }
  std::string Text(int number) override { return "T" + std::to_string(number); }
  ui::Answer Message(ui::View* owner, const std::string& text, ui::Icon icon,
                     ui::Buttons buttons) override;
  platform::Files& Files() override { return files; }
  std::string ProgramFolder() override;
  shell::ToolOptions& Options() override { return options; }
  std::string PrinterName() override;
  std::string DriverName() override;
  bool StillInstalled() override { return installed; }
  bool MatchDeviceId() override {
    ++matchCalls;
    return matches;
  }
  int WaitUntilReady(bool showDialog, ui::View* parent) override;
  std::unique_ptr<printer_link::ProgressWait> NewBusyDialog() override;
  int RunPaperSetting(const feed::AdjustmentSelection& selection, ui::View* parent) override;
  printer_link::DriverSettingsApi* DriverSettings() override { return bound ? &api : nullptr; }
  platform::Spooler& Spooler() override { return spooler; }
  platform::Clock& Clock() override { return clock; }
  platform::Printing* Printing() override { return &printing; }
  ui::FontDescription InterfaceFont() override { return font; }

  FakeClock clock;
  sim::SimulatedPrinter printer{clock};
  RecordingSpooler spooler;
  sim::SimulatedLibrary library;
  printer_link::DriverSettingsApi api;
  bool bound = false;
  FakeFiles files;
  shell::SettingsReader settings;
  std::unique_ptr<feed::MediaTable> media;
  RecordingPrinting printing;
  ui::FontDescription font;

  // Scripted answers.
  shell::LaunchMode launch;
  bool installed = true;
  bool matches = true;
  bool ready = true;
  int quietNotReady = 0;  // readiness asks without dialog that answer "not ready" first
  bool confirm = true;
  int paperSetting;
  std::map<std::string, int32_t> numbers;
  std::map<std::string, std::string> strings;
  MapOptions options{numbers, strings};
  BusyRecord busy;

  // What the run asked.
  struct Shown {
    std::string text;
    ui::Icon icon;
    ui::Buttons buttons;
  };
  std::vector<Shown> messages;
  int matchCalls = 0;
  int readyCalls = 0;
  int quietReadyCalls = 0;
  int paperSettingCalls = 0;
};

}  // namespace fakes
