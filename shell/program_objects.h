// The long-lived objects a program adds to the shared ones, and the driver-settings connection
// the frame closes and opens at every page switch.
#pragma once

#include <string>

namespace shell {

class ToolApp;

// The connection to the driver-settings library of the chosen printer.
class DriverConnection {
 public:
  virtual ~DriverConnection() = default;
  virtual void Close() = 0;
  virtual void Open(const std::string& printerName) = 0;
};

// Created around the printer link at start-up and torn down in the reverse order.
class ProgramObjects {
 public:
  virtual ~ProgramObjects() = default;
  // Before the printer link exists; false when an object cannot be created.
  virtual bool CreateBeforeLink(ToolApp& /*app*/) { return true; }
  // Once the printer link exists; false when an object cannot be created.
  virtual bool CreateAfterLink(ToolApp& /*app*/) { return true; }
  // False when an object exists but could not read its installed file.
  virtual bool FilesLoaded() const { return true; }
  // Before the printer link is released.
  virtual void DestroyBeforeLinkRelease() {}
  // After the printer link is gone.
  virtual void DestroyAfterLinkRelease() {}
  // The driver-settings connection the frame closes and opens at page switches, or null.
  virtual DriverConnection* Driver() { return nullptr; }
};

}  // namespace shell
