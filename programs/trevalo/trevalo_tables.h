// Trevalo's own tables: title, required files, pages, and its long-lived objects.
#pragma once

#include <memory>

#include "feed/media_table.h"
#include "link/driver_media_list.h"
#include "link/driver_settings_api.h"
#include "shell/main_window.h"
#include "shell/program_objects.h"
#include "shell/program_profile.h"

namespace programs {

shell::ProgramProfile TrevaloProfile();
// Trevalo's four pages; page 1 is the adjustment page, the others empty until theirs arrive.
shell::PageFactory TrevaloPages();

// The driver-settings connection the frame closes and opens at page switches; it has nothing
// to connect to until the driver-settings binding exists.
class TrevaloDriverConnection : public shell::DriverConnection {
 public:
  void Close() override {}
  void Open(const std::string& /*printerName*/) override {}
};

// Trevalo's objects beside the printer link: the media table (after the link, torn down before
// it is released).
class TrevaloObjects : public shell::ProgramObjects {
 public:
  bool CreateAfterLink(shell::ToolApp& app) override;
  bool FilesLoaded() const override { return !media_ || media_->IsLoaded(); }
  void DestroyBeforeLinkRelease() override {
    media_.reset();
    driverSettings_.reset();
  }
  shell::DriverConnection* Driver() override { return &driver_; }

  feed::MediaTable* Media() { return media_.get(); }

  // The driver-settings library and the driver's media list the pages share.
  printer_link::DriverSettingsApi* DriverSettings() { return driverSettings_.get(); }
  printer_link::DriverMediaList& DriverMedia() { return driverMedia_; }

 private:
  std::unique_ptr<feed::MediaTable> media_;
  std::unique_ptr<printer_link::DriverSettingsApi> driverSettings_;
  printer_link::DriverMediaList driverMedia_;
  TrevaloDriverConnection driver_;
};

}  // namespace programs
