// Waiting on the spooler for a sample job, by its document name, so that samples come out one
// after the other.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/spooler.h"
#include "shell/busy_dialog.h"

namespace feed {

constexpr uint32_t JOB_LOOK_INTERVAL_MS = 500;
// Limits of the waits: until the earlier job prints, and until the last job leaves the queue.
constexpr uint32_t JOB_PRINT_LIMIT_MS = 600000;
constexpr uint32_t JOB_LEAVE_LIMIT_MS = 60000;
// A spooler that cannot list its jobs for this long from the start of a wait cannot be watched
// (some spoolers never can); the wait ends rather than run to its limit and report a failure.
constexpr uint32_t JOB_BLIND_LIMIT_MS = 5000;

enum class JobAnswer { NotFound = 0, Spooling = 1, Printing = 2, Other = 3 };

// The answer for the first job of that document name. A job the spooler keeps after printing
// counts as printing: it will not print again.
JobAnswer LookUpJob(const std::vector<platform::JobInfo>& jobs, const std::string& documentName);

// What a wait polls besides the job list: the busy dialog's Cancel and time limit.
class WaitPoll {
 public:
  virtual ~WaitPoll() = default;
  virtual shell::BusyState Poll() = 0;
};

enum class JobWaitResult {
  Printing,   // the job is printing
  Gone,       // the job was seen and has left the queue
  NeverSeen,  // handed over and already gone at the first look: it has printed
  Unwatched,  // the job list could not be read from the start for JOB_BLIND_LIMIT_MS
  Cancelled,
  TimedOut,  // the wait's limit or the busy dialog's
};

// Printing, Gone, NeverSeen and Unwatched: the next sample may go.
bool JobWaitDone(JobWaitResult result);

class JobWatch {
 public:
  // The queue stays open for the watch's life; the caller owns it.
  JobWatch(platform::Spooler& spooler, platform::PrinterHandle queue, platform::Clock& clock);

  // Looks every 500 ms until the job prints, or has been seen and is gone; handedOver says the
  // job's document was ended without fault, so its absence at the first look means it printed.
  // A list that cannot be read answers nothing; one never readable for JOB_BLIND_LIMIT_MS ends
  // the wait as Unwatched. poll may be null (a wait without dialog).
  JobWaitResult WaitForPrinting(const std::string& documentName, bool handedOver, uint32_t limitMs,
                                WaitPoll* poll);

  // Looks every 500 ms until the job is no longer listed.
  JobWaitResult WaitUntilGone(const std::string& documentName, uint32_t limitMs, WaitPoll* poll);

  // Job lists read so far.
  int Looks() const { return looks_; }

 private:
  // False when the list could not be read.
  bool Look(const std::string& documentName, JobAnswer* answer);
  // After a look: Unwatched when the spooler has not answered within the blind limit, TimedOut
  // at the limit; otherwise waits until the next look and returns false.
  bool OutOfTime(uint32_t start, uint32_t limitMs, bool answered, JobWaitResult* result);

  platform::Spooler& spooler_;
  platform::PrinterHandle queue_;
  platform::Clock& clock_;
  int looks_ = 0;
};

}  // namespace feed
