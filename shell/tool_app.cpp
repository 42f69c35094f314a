// Start-up and teardown of every program of the suite.
#include "shell/tool_app.h"

#include <new>

#include "shell/multibyte.h"
#include "shell/registry_key.h"

namespace shell {

namespace {

// The readiness wait's caption.
constexpr int TEXT_WAITING_CAPTION = 0;

PlatformSet WithCodePage(PlatformSet set) {
  if (!set.codePage) set.codePage = std::make_unique<platform::SingleByteCodePage>();
  return set;
}

// Allocation failure of a shared object is reported, not thrown through start-up.
template <typename T, typename... Args>
std::unique_ptr<T> MakeShared(Args&&... args) {
  try {
    return std::make_unique<T>(std::forward<Args>(args)...);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

}  // namespace

std::vector<std::string> CommonRequiredFiles() {
  return {"Printer.ini", "L_Refer.ini", "Localize.ini", "L_Const.ini", "L_Font.ini", "Manual.ini"};
}

ToolApp::ToolApp(ProgramProfile profile, PlatformSet platform)
    : profile_(std::move(profile)),
      platform_(WithCodePage(std::move(platform))),
      programDirectory_(DirectoryOf(*platform_.codePage, platform_.files->ProgramPath())),
      settings_(*platform_.files, JoinPath(programDirectory_, SETTINGS_FOLDER), profile_.lineChunk,
                *platform_.codePage),
      texts_(settings_, profile_.keyStyle),
      fonts_(texts_, *platform_.host) {}

ToolApp::~ToolApp() {
  TearDown();
}

printer_link::PrinterChannel ToolApp::Channel(printer_link::BidiApi* api) {
  return printer_link::PrinterChannel(api, *platform_.clock, &waits_,
                                      GetText(TEXT_WAITING_CAPTION));
}

std::string ToolApp::SettingsDirectory() const {
  return settings_.Folder();
}

std::string ToolApp::InstallPath() {
  RegistryKey key(*platform_.registry, platform::HIVE_LOCAL_MACHINE, REG_MAKER_PATH, false);
  return key.GetString(REG_SUITE_SUBKEY, REG_INSTALL_PATH, "");
}

// The folder's own backslashes go (a lock name holds none); the trail bytes of 表 and ソ stay,
// or the name would hold half characters and two folders could share one name.
std::string ToolApp::InstanceName() const {
  const platform::CodePage& codePage = *platform_.codePage;
  std::string name;
  for (size_t i = 0; i < programDirectory_.size();) {
    size_t length =
        CharacterLength(codePage, programDirectory_.data() + i, programDirectory_.size() - i);
    if (length > 1 || programDirectory_[i] != '\\') name.append(programDirectory_, i, length);
    i += length;
  }
  return name;
}

bool ToolApp::RequiredFilesPresent() {
  for (const std::string& file : profile_.requiredFiles) {
    if (!platform_.files->Exists(JoinPath(settings_.Folder(), file))) return false;
  }
  return true;
}

void ToolApp::SetPrinter(const std::string& printer, const std::string& driver,
                         const std::string& port) {
  printerName_ = printer;
  driverName_ = driver;
  portName_ = port;
}

void ToolApp::SetDeviceSettings(std::vector<uint8_t> block) {
  deviceSettings_ = std::move(block);
  hasDeviceSettings_ = true;
}

void ToolApp::ClearDeviceSettings() {
  deviceSettings_.clear();
  hasDeviceSettings_ = false;
}

ui::Answer ToolApp::Message(ui::View* owner, int text, ui::Icon icon, ui::Buttons buttons) {
  return platform_.host->MessageBox(owner, GetText(text), GetText(profile_.titleText), icon,
                                    buttons);
}

bool ToolApp::CreateSharedObjects() {
  objectsStarted_ = objects_ != nullptr;
  if (objects_ && !objects_->CreateBeforeLink(*this)) return false;
  printerLink_ =
      MakeShared<printer_link::BidiApi>(*platform_.library, *platform_.spooler, *platform_.files);
  if (!printerLink_) return false;
  return !objects_ || objects_->CreateAfterLink(*this);
}

void ToolApp::Run(const MainFrameFactory& makeMainWindow) {
  ui::Host& host = *platform_.host;
  launchMode_ = ReadLaunchMode(settings_);
  if (launchMode_ != LaunchMode::U && !RequiredFilesPresent()) {
    host.MessageBox(nullptr, MISSING_FILE_MESSAGE, profile_.name, ui::Icon::Error, ui::Buttons::Ok);
    return;
  }
  std::string instance = InstanceName();
  if (platform_.system->InstanceLockExists(instance)) {
    host.ActivateWindowsWithProperty(instance);
    return;
  }

  std::unique_ptr<MainFrame> mainWindow = makeMainWindow(*this);
  instanceLock_ = platform_.system->CreateInstanceLock(instance);
  std::string caption = GetText(profile_.titleText);
  if (!mainWindow || !CreateSharedObjects()) {
    host.MessageBox(nullptr, GetText(profile_.sharedObjectsFailedText), caption, ui::Icon::Error,
                    ui::Buttons::Ok);
  } else if (objects_ && !objects_->FilesLoaded()) {
    host.MessageBox(nullptr, MISSING_FILE_MESSAGE, caption, ui::Icon::Error, ui::Buttons::Ok);
  } else {
    driverName_ = settings_.ReadSetting(PRINTER_FILE, "PRINTER1");
    host.RunModal(mainWindow->TemplateId(), nullptr, *mainWindow);
  }
  TearDown();
  mainWindow.reset();
}

void ToolApp::TearDown() {
  bool objects = objectsStarted_;
  objectsStarted_ = false;
  if (objects) objects_->DestroyBeforeLinkRelease();
  if (printerLink_) {
    printerLink_->Release();
    printerLink_.reset();
  }
  if (objects) objects_->DestroyAfterLinkRelease();
  instanceLock_.reset();
}

}  // namespace shell
