// A recording spooler: queues, driver information, settings blocks, raw jobs and fault switches.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/spooler.h"

namespace fakes {

struct RecordedJob {
  std::string queue;
  std::string documentName;
  std::vector<uint8_t> bytes;  // what the spooler accepted
  uint32_t id = 0;
};

class RecordingSpooler : public platform::Spooler {
 public:
  // Known queues; OpenPrinter finds them by printer name.
  std::vector<platform::PrinterQueue> queues;
  std::map<std::string, platform::DriverInfo> driverInfo;           // by printer name
  std::map<std::string, std::vector<uint8_t>> deviceSettings;       // by printer name
  std::map<std::string, std::vector<platform::JobInfo>> queueJobs;  // listed by EnumerateJobs
  // A job list that changes over time: each EnumerateJobs answers the next list, the last one
  // staying; while empty, queueJobs is listed.
  std::vector<std::vector<platform::JobInfo>> jobListStory;

  // Fault switches.
  bool failEnumerate = false;
  bool refuseOpen = false;
  bool refuseStartDoc = false;
  bool refuseStartPage = false;
  bool refuseWrite = false;
  bool failEnumerateJobs = false;
  int64_t acceptOnly = -1;  // bytes one write accepts; -1 = all

  // Called with the bytes of every job when its document ends (the simulated printer reads
  // them here).
  std::function<void(const std::vector<uint8_t>&)> onJob;

  // What happened.
  std::vector<RecordedJob> jobs;  // ended documents, in order
  int opened = 0;
  int closed = 0;
  int docsStarted = 0;
  int docsEnded = 0;
  int pagesStarted = 0;
  int pagesEnded = 0;
  int writes = 0;
  int jobListReads = 0;

  void AddQueue(const std::string& printer, const std::string& port, const std::string& driver);
  // True when every opened handle was closed and every started document ended.
  bool Balanced() const { return opened == closed && docsStarted == docsEnded; }

  bool EnumeratePrinters(std::vector<platform::PrinterQueue>* list) override;
  platform::PrinterHandle OpenPrinter(const std::string& printerName) override;
  void ClosePrinter(platform::PrinterHandle printer) override;
  bool GetDriverInfo(platform::PrinterHandle printer, platform::DriverInfo* info) override;
  bool GetDeviceSettings(platform::PrinterHandle printer, const std::string& printerName,
                         ui::View* owner, std::vector<uint8_t>* block) override;
  // The owner window of every settings request.
  std::vector<ui::View*> settingsOwners;
  uint32_t StartDoc(platform::PrinterHandle printer, const std::string& documentName) override;
  bool StartPage(platform::PrinterHandle printer) override;
  bool Write(platform::PrinterHandle printer, const uint8_t* data, uint32_t size,
             uint32_t* written) override;
  bool EndPage(platform::PrinterHandle printer) override;
  bool EndDoc(platform::PrinterHandle printer) override;
  bool EnumerateJobs(platform::PrinterHandle printer,
                     std::vector<platform::JobInfo>* list) override;

 private:
  struct OpenQueue {
    std::string queue;
    bool inDoc = false;
    bool inPage = false;
    RecordedJob job;
  };
  OpenQueue* Find(platform::PrinterHandle printer);

  std::map<platform::PrinterHandle, OpenQueue> open_;
  platform::PrinterHandle nextHandle_ = 0x2000;
  uint32_t nextJob_ = 1;
};

}  // namespace fakes
