// Registered printer models, the printer list and carrying out the operator's choice.
#pragma once

#include <string>
#include <vector>

#include "platform/registry.h"
#include "platform/spooler.h"
#include "platform/system.h"
#include "platform/ui.h"
#include "shell/page.h"
#include "shell/settings_reader.h"

namespace shell {

class ToolApp;
enum class LaunchMode;

constexpr int NO_PRINTER_TEXT = 200;
constexpr int MONITOR_UNKNOWN_TEXT = 380;
constexpr int WRONG_MODEL_TEXT = 310;  // Trevalo's choice
constexpr intptr_t NO_PRINTER_DATA = -1;
constexpr char MAKER_NAME[] = "KALDO";
constexpr char MODEL_KEY_ERROR[] = "err";

// PRINTER1 ... PRINTER<PRINTER_NUM> of Printer.ini, compared byte for byte.
bool IsRegisteredModel(const SettingsReader& settings, const std::string& driverName);
// The driver name without its first six characters when it names the maker anywhere; else "err".
std::string ModelKeyName(const std::string& driverName);
// A subkey of the status monitor's driver key carries exactly this name.
bool IsMonitoredDriver(platform::Registry& registry, const std::string& driverName);
// Trevalo's port rule; every port is accepted outside launch mode Normal.
bool IsAcceptedPort(LaunchMode mode, platform::OsVersion version, const std::string& portName);

// The main window's printer list: the enumeration snapshot, filling and the choice.
class PrinterList {
 public:
  explicit PrinterList(ToolApp& app) : app_(app) {}

  // Fills the combo box and selects the entry to start with. *noneRegistered tells that no
  // registered printer was listed (the caller decides what that means for the window).
  void Fill(ui::View& view, int comboId, bool* noneRegistered);
  // Carries out the choice of the list's selected entry (Kestrune and Sunnabar).
  void Choose(ui::View& view, int comboId, Page* page);
  // The choice as a function of a page opens it (Trevalo): monitored driver (380), rebinding,
  // identity (310), remembering. True when the page may open; no selection or the no-printer
  // entry keep the previous names; 380 selects the no-printer entry. Messages are owned by owner.
  bool ChooseForPage(ui::View& listView, int comboId, ui::View* owner);
  void Clear() { snapshot_.clear(); }

 private:
  std::string RememberedPrinter();
  void Remember(const std::string& printerName);
  void Rebind();

  ToolApp& app_;
  std::vector<platform::PrinterQueue> snapshot_;
};

// Some local queue has exactly this printer and driver name, on a port the launch mode accepts:
// the chosen printer is still installed as it was chosen.
bool PrinterStillInstalled(platform::Spooler& spooler, LaunchMode mode, platform::OsVersion version,
                           const std::string& printerName, const std::string& driverName);
// The same for the application object's chosen printer, as the queues report it now.
bool ChosenPrinterStillInstalled(ToolApp& app);

// The chosen queue's driver settings block into the application object.
void LoadDeviceSettings(ToolApp& app);

}  // namespace shell
