// The application object: start-up, single instance, launch mode, folders and shared state.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/bidi_api.h"
#include "link/printer_channel.h"
#include "platform/ui.h"
#include "shell/busy_dialog.h"
#include "shell/fonts.h"
#include "shell/launch_mode.h"
#include "shell/platform_set.h"
#include "shell/program_objects.h"
#include "shell/program_profile.h"
#include "shell/settings_reader.h"
#include "shell/texts.h"

namespace shell {

constexpr char PRINTER_FILE[] = "Printer.ini";
constexpr char SETTINGS_FOLDER[] = "Settings";
// Built in, not localized: the texts themselves may be what is missing.
constexpr char MISSING_FILE_MESSAGE[] =
    "The necessary file cannot be found. Install the program again.";

// The main window as start-up sees it: a dialog handler run modally from its template.
class MainFrame : public ui::DialogHandler {
 public:
  virtual int TemplateId() const = 0;
};

class ToolApp;
using MainFrameFactory = std::function<std::unique_ptr<MainFrame>(ToolApp&)>;

class ToolApp {
 public:
  ToolApp(ProgramProfile profile, PlatformSet platform);
  ~ToolApp();
  ToolApp(const ToolApp&) = delete;
  ToolApp& operator=(const ToolApp&) = delete;

  // The program's own long-lived objects; set before Run.
  void SetProgramObjects(std::unique_ptr<ProgramObjects> objects) { objects_ = std::move(objects); }
  ProgramObjects* Objects() { return objects_.get(); }

  // Start-up, the modal main window and teardown.
  void Run(const MainFrameFactory& makeMainWindow);

  const ProgramProfile& Profile() const { return profile_; }
  LaunchMode Launch() const { return launchMode_; }
  const std::string& ProgramDirectory() const { return programDirectory_; }
  std::string SettingsDirectory() const;
  std::string InstallPath();
  std::string InstanceName() const;
  bool RequiredFilesPresent();

  const std::string& PrinterName() const { return printerName_; }
  const std::string& DriverName() const { return driverName_; }
  const std::string& PortName() const { return portName_; }
  void SetPrinter(const std::string& printer, const std::string& driver, const std::string& port);
  void SetDriverName(const std::string& driver) { driverName_ = driver; }
  std::vector<uint8_t>* DeviceSettings() { return hasDeviceSettings_ ? &deviceSettings_ : nullptr; }
  void SetDeviceSettings(std::vector<uint8_t> block);
  void ClearDeviceSettings();
  // Set while a page is being opened by a printer choice, so that its refresh knows.
  bool OpenedByPrinterChoice() const { return openedByPrinterChoice_; }
  void SetOpenedByPrinterChoice(bool value) { openedByPrinterChoice_ = value; }

  printer_link::BidiApi* PrinterLink() { return printerLink_.get(); }
  // A channel over api with the clock, the busy dialog and the readiness wait's caption.
  printer_link::PrinterChannel Channel(printer_link::BidiApi* api);
  printer_link::WaitWindows& Waits() { return waits_; }

  const SettingsReader& Settings() const { return settings_; }
  const Texts& GetTexts() const { return texts_; }
  std::string GetText(int number) const { return texts_.GetText(number); }
  FontCache& Fonts() { return fonts_; }

  platform::Files& Files() { return *platform_.files; }
  platform::Registry& Registry() { return *platform_.registry; }
  platform::Library& Library() { return *platform_.library; }
  platform::Clock& Clock() { return *platform_.clock; }
  platform::System& System() { return *platform_.system; }
  platform::Spooler& Spooler() { return *platform_.spooler; }
  ui::Host& Host() { return *platform_.host; }
  platform::Printing* Printing() { return platform_.printing.get(); }
  const platform::CodePage& SystemCodePage() const { return *platform_.codePage; }

  // A message box with the program title as caption.
  ui::Answer Message(ui::View* owner, int text, ui::Icon icon,
                     ui::Buttons buttons = ui::Buttons::Ok);

 private:
  bool CreateSharedObjects();
  void TearDown();

  ProgramProfile profile_;
  PlatformSet platform_;
  std::string programDirectory_;
  SettingsReader settings_;
  Texts texts_;
  FontCache fonts_;
  LaunchMode launchMode_ = LaunchMode::Normal;

  std::string printerName_;
  std::string driverName_;
  std::string portName_;
  std::vector<uint8_t> deviceSettings_;
  bool hasDeviceSettings_ = false;
  bool openedByPrinterChoice_ = false;

  std::unique_ptr<platform::InstanceLock> instanceLock_;
  std::unique_ptr<printer_link::BidiApi> printerLink_;
  std::unique_ptr<ProgramObjects> objects_;
  bool objectsStarted_ = false;  // their teardown is due
  BusyWindows waits_{*this};
};

}  // namespace shell
