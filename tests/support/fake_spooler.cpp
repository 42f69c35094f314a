// The recording spooler.
#include "tests/support/fake_spooler.h"

#include <algorithm>

namespace fakes {

void RecordingSpooler::AddQueue(const std::string& printer, const std::string& port,
                                const std::string& driver) {
  queues.push_back(platform::PrinterQueue{printer, port, driver});
}

RecordingSpooler::OpenQueue* RecordingSpooler::Find(platform::PrinterHandle printer) {
  auto found = open_.find(printer);
  return found == open_.end() ? nullptr : &found->second;
}

bool RecordingSpooler::EnumeratePrinters(std::vector<platform::PrinterQueue>* list) {
  if (failEnumerate) return false;
  *list = queues;
  return true;
}

platform::PrinterHandle RecordingSpooler::OpenPrinter(const std::string& printerName) {
  bool known = std::any_of(queues.begin(), queues.end(), [&](const platform::PrinterQueue& q) {
    return q.printerName == printerName;
  });
  if (refuseOpen || !known) return 0;
  platform::PrinterHandle handle = nextHandle_++;
  open_[handle].queue = printerName;
  ++opened;
  return handle;
}

void RecordingSpooler::ClosePrinter(platform::PrinterHandle printer) {
  if (open_.erase(printer) > 0) ++closed;
}

bool RecordingSpooler::GetDriverInfo(platform::PrinterHandle printer, platform::DriverInfo* info) {
  OpenQueue* q = Find(printer);
  if (!q) return false;
  auto found = driverInfo.find(q->queue);
  if (found == driverInfo.end()) return false;
  *info = found->second;
  return true;
}

bool RecordingSpooler::GetDeviceSettings(platform::PrinterHandle printer,
                                         const std::string& printerName, ui::View* owner,
                                         std::vector<uint8_t>* block) {
  settingsOwners.push_back(owner);
  if (!Find(printer)) return false;
  auto found = deviceSettings.find(printerName);
  if (found == deviceSettings.end()) return false;
  *block = found->second;
  return true;
}

uint32_t RecordingSpooler::StartDoc(platform::PrinterHandle printer,
                                    const std::string& documentName) {
  OpenQueue* q = Find(printer);
  if (!q || q->inDoc || refuseStartDoc) return 0;
  q->inDoc = true;
  q->job = RecordedJob{q->queue, documentName, {}, nextJob_++};
  ++docsStarted;
  return q->job.id;
}

bool RecordingSpooler::StartPage(platform::PrinterHandle printer) {
  OpenQueue* q = Find(printer);
  if (!q || !q->inDoc || q->inPage || refuseStartPage) return false;
  q->inPage = true;
  ++pagesStarted;
  return true;
}

bool RecordingSpooler::Write(platform::PrinterHandle printer, const uint8_t* data, uint32_t size,
                             uint32_t* written) {
  *written = 0;
  OpenQueue* q = Find(printer);
  if (!q || !q->inDoc || refuseWrite) return false;
  ++writes;
  uint32_t accepted =
      acceptOnly < 0 ? size : std::min<uint32_t>(size, static_cast<uint32_t>(acceptOnly));
  q->job.bytes.insert(q->job.bytes.end(), data, data + accepted);
  *written = accepted;
  return true;
}

bool RecordingSpooler::EndPage(platform::PrinterHandle printer) {
  OpenQueue* q = Find(printer);
  if (!q || !q->inPage) return false;
  q->inPage = false;
  ++pagesEnded;
  return true;
}

bool RecordingSpooler::EndDoc(platform::PrinterHandle printer) {
  OpenQueue* q = Find(printer);
  if (!q || !q->inDoc) return false;
  q->inDoc = false;
  q->inPage = false;
  ++docsEnded;
  jobs.push_back(q->job);
  if (onJob) onJob(jobs.back().bytes);
  return true;
}

bool RecordingSpooler::EnumerateJobs(platform::PrinterHandle printer,
                                     std::vector<platform::JobInfo>* list) {
  OpenQueue* q = Find(printer);
  if (!q || failEnumerateJobs) return false;
  list->clear();
  if (!jobListStory.empty()) {
    size_t at = std::min<size_t>(static_cast<size_t>(jobListReads), jobListStory.size() - 1);
    ++jobListReads;
    *list = jobListStory[at];
    return true;
  }
  ++jobListReads;
  auto found = queueJobs.find(q->queue);
  if (found != queueJobs.end()) *list = found->second;
  return true;
}

}  // namespace fakes
