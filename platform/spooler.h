// The print spooler: local queues, driver information, device settings and raw documents.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/ui.h"

namespace platform {

using PrinterHandle = uintptr_t;  // 0 = not open

struct PrinterQueue {
  std::string printerName;
  std::string portName;
  std::string driverName;
};

// The level-2 driver information fields the suite reads.
struct DriverInfo {
  std::string driverPath;  // full path of the driver file
  std::string dataFile;    // full path of the driver's data file
};

// Bits of JobInfo::status, as the system's level-1 job records carry them.
constexpr uint32_t SPOOLER_JOB_SPOOLING = 0x0008;
constexpr uint32_t SPOOLER_JOB_PRINTING = 0x0010;
constexpr uint32_t SPOOLER_JOB_PRINTED = 0x0080;

struct JobInfo {
  uint32_t id = 0;
  std::string documentName;
  uint32_t status = 0;  // SPOOLER_JOB_* bits, others passed through
};

class Spooler {
 public:
  virtual ~Spooler() = default;
  // Local queues in the system's order; false when the enumeration fails.
  virtual bool EnumeratePrinters(std::vector<PrinterQueue>* queues) = 0;
  // Opens a queue with default access and no defaults; 0 on failure.
  virtual PrinterHandle OpenPrinter(const std::string& printerName) = 0;
  virtual void ClosePrinter(PrinterHandle printer) = 0;
  // Level-2 driver information; false when the size query or the read fails.
  virtual bool GetDriverInfo(PrinterHandle printer, DriverInfo* info) = 0;
  // The queue's current driver settings block, asked with owner (may be null) as the window
  // that owns anything the driver shows; false when the driver gives none.
  virtual bool GetDeviceSettings(PrinterHandle printer, const std::string& printerName,
                                 ui::View* owner, std::vector<uint8_t>* block) = 0;
  // Raw level-1 document: no output file, the queue's default data type. StartDoc answers the
  // job id (above 0) or 0 on failure.
  virtual uint32_t StartDoc(PrinterHandle printer, const std::string& documentName) = 0;
  virtual bool StartPage(PrinterHandle printer) = 0;
  // One write call; *written receives the bytes the spooler accepted.
  virtual bool Write(PrinterHandle printer, const uint8_t* data, uint32_t size,
                     uint32_t* written) = 0;
  virtual bool EndPage(PrinterHandle printer) = 0;
  virtual bool EndDoc(PrinterHandle printer) = 0;
  // The queue's jobs (level 1, oldest first); false when they cannot be listed.
  virtual bool EnumerateJobs(PrinterHandle printer, std::vector<JobInfo>* jobs) = 0;
};

}  // namespace platform
