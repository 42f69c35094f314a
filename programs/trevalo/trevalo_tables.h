// Trevalo's own tables: title, required files, pages, and its long-lived objects.
#pragma once

#include <memory>

#include "feed/media_table.h"
#include "shell/main_window.h"
#include "shell/program_objects.h"
#include "shell/program_profile.h"

namespace programs {

shell::ProgramProfile TrevaloProfile();
// Trevalo's four pages: cleaning (2) and nozzle check (3); the others are empty until their own
// classes arrive.
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
  void DestroyBeforeLinkRelease() override { media_.reset(); }
  shell::DriverConnection* Driver() override { return &driver_; }

  feed::MediaTable* Media() { return media_.get(); }

 private:
  std::unique_ptr<feed::MediaTable> media_;
  TrevaloDriverConnection driver_;
};

}  // namespace programs
