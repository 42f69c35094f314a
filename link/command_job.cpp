// One command stream as one raw spool job, so that it reaches the printer in order with the
// queue's other jobs.
#include "link/command_job.h"

#include <limits>

namespace printer_link {

int SendCommandJob(platform::Spooler& spooler, const std::string& queueName, const uint8_t* bytes,
                   size_t length) {
  if (length > std::numeric_limits<uint32_t>::max()) return -1;
  platform::PrinterHandle printer = spooler.OpenPrinter(queueName);
  if (printer == 0) return -1;

  bool sent = false;
  if (spooler.StartDoc(printer, COMMAND_JOB_NAME) != 0) {
    if (spooler.StartPage(printer)) {
      uint32_t written = 0;
      uint32_t size = static_cast<uint32_t>(length);
      // A short write fails the job even though the write call itself succeeded.
      sent = spooler.Write(printer, bytes, size, &written) && written == size;
      spooler.EndPage(printer);
    }
    spooler.EndDoc(printer);
  }
  spooler.ClosePrinter(printer);
  return sent ? 0 : -1;
}

}  // namespace printer_link
