// Which printers may be chosen, and what choosing one does.
#include "shell/printer_choice.h"

#include <cstdio>

#include "link/printer_channel.h"
#include "shell/registry_key.h"
#include "shell/tool_app.h"

namespace shell {

namespace {

constexpr char COUNT_KEY[] = "PRINTER_NUM";
// The maker's name and the blank after it are dropped by length, wherever the name stands.
constexpr size_t MODEL_PREFIX_LENGTH = sizeof(MAKER_NAME);  // "KALDO" + 1

bool StartsWith(const std::string& text, const char* prefix) {
  return text.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

// A refused choice leaves the list on the no-printer entry, so nothing offers the printer's
// functions.
void SelectNoPrinter(ui::View& view, int comboId) {
  for (int i = 0; i < view.ComboCount(comboId); ++i) {
    if (view.ComboData(comboId, i) == NO_PRINTER_DATA) {
      view.ComboSelect(comboId, i);
      return;
    }
  }
}

}  // namespace

bool IsRegisteredModel(const SettingsReader& settings, const std::string& driverName) {
  int count = ParseLeadingInt(settings.ReadSetting(PRINTER_FILE, COUNT_KEY));
  for (int i = 1; i <= count; ++i) {
    char key[32];
    std::snprintf(key, sizeof key, "PRINTER%d", i);
    if (settings.ReadSetting(PRINTER_FILE, key) == driverName) return true;
  }
  return false;
}

std::string ModelKeyName(const std::string& driverName) {
  if (driverName.find(MAKER_NAME) == std::string::npos) return MODEL_KEY_ERROR;
  return driverName.size() > MODEL_PREFIX_LENGTH ? driverName.substr(MODEL_PREFIX_LENGTH)
                                                 : std::string();
}

bool IsMonitoredDriver(platform::Registry& registry, const std::string& driverName) {
  RegistryKey monitor(registry, platform::HIVE_LOCAL_MACHINE, REG_MONITOR_PATH, true);
  std::string name;
  for (uint32_t index = 0; monitor.EnumSubkey(index, &name) == platform::REG_OK; ++index) {
    if (name == driverName) return true;
  }
  return false;
}

bool IsAcceptedPort(LaunchMode mode, platform::OsVersion version, const std::string& portName) {
  if (mode != LaunchMode::Normal) return true;
  if (portName.empty()) return false;
  if (StartsWith(portName, "KD1394D3")) return true;
  bool windows9x = version.major == 4 && (version.minor == 10 || version.minor == 90);
  if (windows9x) return StartsWith(portName, "KDUSB");
  if (version.major == 5) return StartsWith(portName, "USB");
  return false;
}

std::string PrinterList::RememberedPrinter() {
  RegistryKey key(app_.Registry(), platform::HIVE_CURRENT_USER, REG_SUITE_PATH, false);
  return key.GetString(ModelKeyName(app_.DriverName()), REG_SELECT_PRINTER, "");
}

void PrinterList::Remember(const std::string& printerName) {
  RegistryKey key(app_.Registry(), platform::HIVE_CURRENT_USER, REG_SUITE_PATH, false);
  key.SetString(ModelKeyName(app_.DriverName()), REG_SELECT_PRINTER, printerName);
}

void PrinterList::Fill(ui::View& view, int comboId, bool* noneRegistered) {
  const ProgramProfile& profile = app_.Profile();
  bool remembers = profile.listStart != PrinterListStart::AlwaysNoPrinter;
  std::string remembered = remembers ? RememberedPrinter() : std::string();

  snapshot_.clear();
  if (!app_.Spooler().EnumeratePrinters(&snapshot_)) snapshot_.clear();
  int chosen = -1;
  int listed = 0;
  for (size_t i = 0; i < snapshot_.size(); ++i) {
    const platform::PrinterQueue& queue = snapshot_[i];
    if (!IsRegisteredModel(app_.Settings(), queue.driverName)) continue;
    if (profile.checksPorts &&
        !IsAcceptedPort(app_.Launch(), app_.System().Version(), queue.portName)) {
      continue;
    }
    int index = view.ComboAdd(comboId, queue.printerName, static_cast<intptr_t>(i));
    ++listed;
    if (remembers && !remembered.empty() && queue.printerName == remembered) chosen = index;
  }
  *noneRegistered = listed == 0;
  // Where a page appends the no-printer entry itself, the list starts without it.
  if (profile.listStart != PrinterListStart::RememberedElseNothing) {
    int noPrinter = view.ComboAdd(comboId, app_.GetText(NO_PRINTER_TEXT), NO_PRINTER_DATA);
    if (profile.listStart == PrinterListStart::AlwaysNoPrinter || chosen < 0) chosen = noPrinter;
  }
  view.ComboSelect(comboId, chosen);
}

void PrinterList::Rebind() {
  printer_link::BidiApi* link = app_.PrinterLink();
  if (!link) return;
  link->Release();
  printer_link::BindWithFallback(*link, app_.PrinterName(), app_.Clock());
}

void PrinterList::Choose(ui::View& view, int comboId, Page* page) {
  auto setActions = [page](bool enabled) {
    if (page) page->SetActionsEnabled(enabled);
  };
  int selection = view.ComboSelection(comboId);
  intptr_t data = view.ComboData(comboId, selection);
  if (selection < 0 || data == NO_PRINTER_DATA) {
    if (page) page->ForgetPrinter();
    setActions(false);
    return;
  }
  if (!snapshot_.empty() && data >= 0 && static_cast<size_t>(data) < snapshot_.size()) {
    const platform::PrinterQueue& queue = snapshot_[static_cast<size_t>(data)];
    app_.SetPrinter(queue.printerName, queue.driverName, queue.portName);
    LoadDeviceSettings(app_);
  }
  if (app_.Launch() == LaunchMode::Normal &&
      !IsMonitoredDriver(app_.Registry(), app_.DriverName())) {
    app_.Message(&view, MONITOR_UNKNOWN_TEXT, ui::Icon::Error);
    SelectNoPrinter(view, comboId);
    setActions(false);
    return;
  }
  const ProgramProfile& profile = app_.Profile();
  if (!profile.refreshesOnChoice) setActions(true);
  Rebind();
  if (profile.refreshesOnChoice && page && page->Window()) page->OnRefresh();
  if (profile.remembersPrinter) Remember(app_.PrinterName());
}

bool PrinterList::ChooseForPage(ui::View& listView, int comboId, ui::View* owner) {
  int selection = listView.ComboSelection(comboId);
  intptr_t data = listView.ComboData(comboId, selection);
  if (selection < 0 || data == NO_PRINTER_DATA) return false;
  if (data >= 0 && static_cast<size_t>(data) < snapshot_.size()) {
    const platform::PrinterQueue& queue = snapshot_[static_cast<size_t>(data)];
    app_.SetPrinter(queue.printerName, queue.driverName, queue.portName);
    LoadDeviceSettings(app_);
  }
  bool normal = app_.Launch() == LaunchMode::Normal;
  if (normal && !IsMonitoredDriver(app_.Registry(), app_.DriverName())) {
    app_.Message(owner, MONITOR_UNKNOWN_TEXT, ui::Icon::Error);
    SelectNoPrinter(listView, comboId);
    return false;
  }
  Rebind();
  if (normal) {
    printer_link::PrinterChannel channel = app_.Channel(app_.PrinterLink());
    if (!channel.MatchDeviceId(app_.PrinterName(), app_.DriverName())) {
      app_.Message(owner, WRONG_MODEL_TEXT, ui::Icon::Error);
      return false;
    }
  }
  if (app_.Profile().remembersPrinter) Remember(app_.PrinterName());
  return true;
}

bool PrinterStillInstalled(platform::Spooler& spooler, LaunchMode mode, platform::OsVersion version,
                           const std::string& printerName, const std::string& driverName) {
  std::vector<platform::PrinterQueue> queues;
  if (!spooler.EnumeratePrinters(&queues)) return false;
  for (const platform::PrinterQueue& queue : queues) {
    if (queue.printerName == printerName && queue.driverName == driverName &&
        IsAcceptedPort(mode, version, queue.portName)) {
      return true;
    }
  }
  return false;
}

bool ChosenPrinterStillInstalled(ToolApp& app) {
  return PrinterStillInstalled(app.Spooler(), app.Launch(), app.System().Version(),
                               app.PrinterName(), app.DriverName());
}

void LoadDeviceSettings(ToolApp& app) {
  app.ClearDeviceSettings();
  platform::Spooler& spooler = app.Spooler();
  platform::PrinterHandle printer = spooler.OpenPrinter(app.PrinterName());
  if (printer == 0) return;
  std::vector<uint8_t> block;
  if (spooler.GetDeviceSettings(printer, app.PrinterName(), app.Host().MainWindow(), &block) &&
      !block.empty()) {
    app.SetDeviceSettings(std::move(block));
  }
  spooler.ClosePrinter(printer);
}

}  // namespace shell
