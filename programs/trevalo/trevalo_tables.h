// Trevalo's own tables: title, required files, pages, and its long-lived objects.
#pragma once

#include <memory>

#include "feed/media_table.h"
#include "link/driver_media_list.h"
#include "link/driver_settings_api.h"
#include "shell/main_window.h"
#include "shell/printer_page.h"
#include "shell/program_objects.h"
#include "shell/program_profile.h"

namespace programs {

shell::ProgramProfile TrevaloProfile();
// Trevalo's four pages: page 0 (printer and guide lists), the adjustment page (1), cleaning (2)
// and nozzle check (3).
shell::PageFactory TrevaloPages();
// Page 0: the printer list and the guide list whose three items open pages 1, 2 and 3.
shell::PrinterPageData TrevaloPrinterPage();

// The driver-settings library as the frame closes and opens it at page switches: unbound at
// every switch, bound beside the chosen printer's driver for pages other than 0.
class TrevaloDriverConnection : public shell::DriverConnection {
 public:
  void Attach(printer_link::DriverSettingsApi* api) { api_ = api; }
  void Close() override {
    if (api_) api_->Unbind();
  }
  // A failed bind leaves the exports absent; the pages' calls then answer -7 and say so.
  void Open(const std::string& printerName) override {
    if (api_) api_->Bind(printerName);
  }

 private:
  printer_link::DriverSettingsApi* api_ = nullptr;
};

// The strip of small pictures the owner-drawn controls draw from: bitmap 171 cut into twelve
// images of equal width.
struct IconStrip {
  int resourceId;
  int images;
};

// Trevalo's objects beside the printer link, created in the order icon strip, driver-settings
// binding, (printer link), media table and torn down in the reverse order.
class TrevaloObjects : public shell::ProgramObjects {
 public:
  bool CreateBeforeLink(shell::ToolApp& app) override;
  bool CreateAfterLink(shell::ToolApp& app) override;
  bool FilesLoaded() const override { return !media_ || media_->IsLoaded(); }
  void DestroyBeforeLinkRelease() override { media_.reset(); }
  void DestroyAfterLinkRelease() override;
  shell::DriverConnection* Driver() override { return &driver_; }

  feed::MediaTable* Media() { return media_.get(); }
  // The driver-settings library and the driver's media list the pages share.
  printer_link::DriverSettingsApi* DriverSettings() { return driverSettings_.get(); }
  printer_link::DriverMediaList& DriverMedia() { return driverMedia_; }

 private:
  std::unique_ptr<IconStrip> icons_;
  std::unique_ptr<printer_link::DriverSettingsApi> driverSettings_;
  std::unique_ptr<feed::MediaTable> media_;
  printer_link::DriverMediaList driverMedia_;
  TrevaloDriverConnection driver_;
};

}  // namespace programs
