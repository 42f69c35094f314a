// The job wait of the sample print.
#include "samples/job_wait.h"

namespace feed {

JobAnswer LookUpJob(const std::vector<platform::JobInfo>& jobs, const std::string& documentName) {
  for (const platform::JobInfo& job : jobs) {
    if (job.documentName != documentName) continue;
    if (job.status & (platform::SPOOLER_JOB_PRINTING | platform::SPOOLER_JOB_PRINTED)) {
      return JobAnswer::Printing;
    }
    if (job.status & platform::SPOOLER_JOB_SPOOLING) return JobAnswer::Spooling;
    return JobAnswer::Other;
  }
  return JobAnswer::NotFound;
}

bool JobWaitDone(JobWaitResult result) {
  return result == JobWaitResult::Printing || result == JobWaitResult::Gone ||
         result == JobWaitResult::NeverSeen || result == JobWaitResult::Unwatched;
}

JobWatch::JobWatch(platform::Spooler& spooler, platform::PrinterHandle queue,
                   platform::Clock& clock)
    : spooler_(spooler), queue_(queue), clock_(clock) {}

bool JobWatch::Look(const std::string& documentName, JobAnswer* answer) {
  std::vector<platform::JobInfo> jobs;
  ++looks_;
  if (!spooler_.EnumerateJobs(queue_, &jobs)) return false;
  *answer = LookUpJob(jobs, documentName);
  return true;
}

namespace {

// Cancel first: a press during the wait must not let one more sample go.
bool Stopped(WaitPoll* poll, JobWaitResult* result) {
  if (!poll) return false;
  switch (poll->Poll()) {
    case shell::BusyState::Running:
      return false;
    case shell::BusyState::Cancelled:
      *result = JobWaitResult::Cancelled;
      return true;
    case shell::BusyState::TimedOut:
      break;
  }
  *result = JobWaitResult::TimedOut;
  return true;
}

}  // namespace

bool JobWatch::OutOfTime(uint32_t start, uint32_t limitMs, bool answered, JobWaitResult* result) {
  uint32_t waited = clock_.TickCount() - start;
  if (!answered && waited >= JOB_BLIND_LIMIT_MS && waited < limitMs) {
    *result = JobWaitResult::Unwatched;
    return true;
  }
  if (waited >= limitMs) {
    *result = JobWaitResult::TimedOut;
    return true;
  }
  clock_.Sleep(JOB_LOOK_INTERVAL_MS);
  return false;
}

JobWaitResult JobWatch::WaitForPrinting(const std::string& documentName, bool handedOver,
                                        uint32_t limitMs, WaitPoll* poll) {
  uint32_t start = clock_.TickCount();
  bool answered = false;
  bool seen = false;
  for (;;) {
    JobWaitResult stop;
    if (Stopped(poll, &stop)) return stop;
    JobAnswer answer;
    if (Look(documentName, &answer)) {
      if (answer == JobAnswer::Printing) return JobWaitResult::Printing;
      if (answer == JobAnswer::NotFound) {
        if (seen) return JobWaitResult::Gone;
        // A fast spooler finishes a small job before the first look; waiting for it to show
        // up would only end in a false failure.
        if (!answered && handedOver) return JobWaitResult::NeverSeen;
      } else {
        seen = true;
      }
      answered = true;
    }
    if (OutOfTime(start, limitMs, answered, &stop)) return stop;
  }
}

JobWaitResult JobWatch::WaitUntilGone(const std::string& documentName, uint32_t limitMs,
                                      WaitPoll* poll) {
  uint32_t start = clock_.TickCount();
  bool answered = false;
  for (;;) {
    JobWaitResult stop;
    if (Stopped(poll, &stop)) return stop;
    JobAnswer answer;
    if (Look(documentName, &answer)) {
      if (answer == JobAnswer::NotFound) return JobWaitResult::Gone;
      answered = true;
    }
    if (OutOfTime(start, limitMs, answered, &stop)) return stop;
  }
}

}  // namespace feed
