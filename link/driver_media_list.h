// The printer driver's media types (ids and names), loaded once per queue and shared by holders.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "link/driver_settings_api.h"

namespace printer_link {

// One per program, owned by the application object; pages reach it through holders.
class DriverMediaList {
 public:
  DriverMediaList() = default;
  DriverMediaList(const DriverMediaList&) = delete;
  DriverMediaList& operator=(const DriverMediaList&) = delete;

  int Count() const { return static_cast<int>(ids_.size()); }
  // 0 when the index lies outside the list.
  uint16_t IdAt(int index) const;
  // Empty when the index lies outside the list.
  std::string NameAt(int index) const;
  // The queue the list holds the media of; empty when none.
  const std::string& QueueName() const { return queueName_; }
  int Holders() const { return holders_; }

 private:
  friend class DriverMediaHolder;

  void Discard();
  // Fills the list from an open handle; false when the driver gave no range.
  bool Load(DriverSettingsApi& api, KddmHandle handle);

  std::string queueName_;
  std::vector<uint16_t> ids_;
  std::vector<std::string> names_;
  int holders_ = 0;
};

// Holds the shared list for as long as it lives; the last holder to go discards it.
class DriverMediaHolder {
 public:
  // Loads on a handle of its own, opened with openNumber, unless the list already holds this
  // queue's media. Without a library binding the list stays as it is.
  DriverMediaHolder(DriverMediaList& list, DriverSettingsApi* api, const std::string& queueName,
                    int openNumber);
  // Loads on the caller's open handle, always anew.
  DriverMediaHolder(DriverMediaList& list, DriverSettingsApi& api, const std::string& queueName,
                    KddmHandle handle);
  ~DriverMediaHolder();
  DriverMediaHolder(const DriverMediaHolder&) = delete;
  DriverMediaHolder& operator=(const DriverMediaHolder&) = delete;

  int Count() const { return list_.Count(); }
  uint16_t Id(int index) const { return list_.IdAt(index); }
  std::string Name(int index) const { return list_.NameAt(index); }

 private:
  DriverMediaList& list_;
};

}  // namespace printer_link
