// The print spooler through winspool: queues, driver information, device settings, raw jobs.
#include <memory>
#include <string>
#include <vector>

#include "platform/native.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_headers.h"

namespace platform {

namespace {

// Jobs beyond this many in one queue are not looked at; a queue never holds that many here.
constexpr DWORD MAX_JOBS = 1024;

HANDLE ToHandle(PrinterHandle printer) {
  return reinterpret_cast<HANDLE>(printer);
}

std::string Text(const char* text) {
  return text ? std::string(text) : std::string();
}

class Win32Spooler : public Spooler {
 public:
  bool EnumeratePrinters(std::vector<PrinterQueue>* queues) override {
    queues->clear();
    DWORD needed = 0;
    DWORD count = 0;
    // A size query that succeeds means there is nothing to list.
    if (EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &needed, &count)) return true;
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed == 0) return false;
    std::vector<BYTE> buffer(needed);
    if (!EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, buffer.data(), needed, &needed, &count)) {
      return false;
    }
    const PRINTER_INFO_2A* info = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
      queues->push_back(PrinterQueue{Text(info[i].pPrinterName), Text(info[i].pPortName),
                                     Text(info[i].pDriverName)});
    }
    return true;
  }

  PrinterHandle OpenPrinter(const std::string& printerName) override {
    HANDLE printer = nullptr;
    std::vector<char> name(printerName.begin(), printerName.end());
    name.push_back('\0');
    if (!OpenPrinterA(name.data(), &printer, nullptr)) return 0;
    return reinterpret_cast<PrinterHandle>(printer);
  }

  void ClosePrinter(PrinterHandle printer) override {
    if (printer != 0) ::ClosePrinter(ToHandle(printer));
  }

  bool GetDriverInfo(PrinterHandle printer, DriverInfo* info) override {
    DWORD needed = 0;
    GetPrinterDriverA(ToHandle(printer), nullptr, 2, nullptr, 0, &needed);
    if (needed == 0) return false;
    std::vector<BYTE> buffer(needed);
    if (!GetPrinterDriverA(ToHandle(printer), nullptr, 2, buffer.data(), needed, &needed)) {
      return false;
    }
    const DRIVER_INFO_2A* driver = reinterpret_cast<const DRIVER_INFO_2A*>(buffer.data());
    info->driverPath = Text(driver->pDriverPath);
    info->dataFile = Text(driver->pDataFile);
    return true;
  }

  bool GetDeviceSettings(PrinterHandle printer, const std::string& printerName, ui::View* owner,
                         std::vector<uint8_t>* block) override {
    std::vector<char> name(printerName.begin(), printerName.end());
    name.push_back('\0');
    HWND window = owner ? static_cast<Win32View*>(owner)->Window() : nullptr;
    LONG size = DocumentPropertiesA(window, ToHandle(printer), name.data(), nullptr, nullptr, 0);
    if (size <= 0) return false;
    std::vector<uint8_t> settings(static_cast<size_t>(size));
    LONG result =
        DocumentPropertiesA(window, ToHandle(printer), name.data(),
                            reinterpret_cast<DEVMODEA*>(settings.data()), nullptr, DM_OUT_BUFFER);
    if (result != IDOK) return false;
    *block = std::move(settings);
    return true;
  }

  uint32_t StartDoc(PrinterHandle printer, const std::string& documentName) override {
    std::vector<char> name(documentName.begin(), documentName.end());
    name.push_back('\0');
    DOC_INFO_1A doc = {};
    doc.pDocName = name.data();
    doc.pOutputFile = nullptr;
    doc.pDatatype = nullptr;  // the queue's default data type
    return StartDocPrinterA(ToHandle(printer), 1, reinterpret_cast<BYTE*>(&doc));
  }

  bool StartPage(PrinterHandle printer) override {
    return StartPagePrinter(ToHandle(printer)) != FALSE;
  }

  bool Write(PrinterHandle printer, const uint8_t* data, uint32_t size,
             uint32_t* written) override {
    DWORD accepted = 0;
    BOOL ok = WritePrinter(ToHandle(printer), const_cast<uint8_t*>(data), size, &accepted);
    *written = accepted;
    return ok != FALSE;
  }

  bool EndPage(PrinterHandle printer) override {
    return EndPagePrinter(ToHandle(printer)) != FALSE;
  }
  bool EndDoc(PrinterHandle printer) override { return EndDocPrinter(ToHandle(printer)) != FALSE; }

  bool EnumerateJobs(PrinterHandle printer, std::vector<JobInfo>* jobs) override {
    static_assert(SPOOLER_JOB_SPOOLING == JOB_STATUS_SPOOLING &&
                      SPOOLER_JOB_PRINTING == JOB_STATUS_PRINTING &&
                      SPOOLER_JOB_PRINTED == JOB_STATUS_PRINTED,
                  "status bits pass through unchanged");
    jobs->clear();
    DWORD needed = 0;
    DWORD count = 0;
    if (EnumJobsA(ToHandle(printer), 0, MAX_JOBS, 1, nullptr, 0, &needed, &count)) return true;
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed == 0) return false;
    std::vector<BYTE> buffer(needed);
    if (!EnumJobsA(ToHandle(printer), 0, MAX_JOBS, 1, buffer.data(), needed, &needed, &count)) {
      return false;
    }
    const JOB_INFO_1A* info = reinterpret_cast<const JOB_INFO_1A*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
      jobs->push_back(JobInfo{info[i].JobId, Text(info[i].pDocument), info[i].Status});
    }
    return true;
  }
};

}  // namespace

std::unique_ptr<Spooler> MakeNativeSpooler() {
  return std::make_unique<Win32Spooler>();
}

}  // namespace platform
