// The job wait on the spooler's list: stories of a sample job and when the wait ends.
#include "samples/job_wait.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/fake_platform.h"
#include "tests/support/fake_spooler.h"

namespace {

using feed::JobWaitResult;
using platform::JobInfo;
using shell::BusyState;
using List = std::vector<JobInfo>;

const char DOC[] = "Feed=5";
const List SPOOLING = {{7, DOC, platform::SPOOLER_JOB_SPOOLING}};
const List PRINTING = {{7, DOC, platform::SPOOLER_JOB_PRINTING}};
const List PRINTING_WHILE_SPOOLING = {
    {7, DOC, platform::SPOOLER_JOB_SPOOLING | platform::SPOOLER_JOB_PRINTING}};
const List KEPT_AFTER_PRINTING = {{7, DOC, platform::SPOOLER_JOB_PRINTED}};
const List QUEUED = {{7, DOC, 0}};
const List GONE = {};
const List OTHER_PRINTING = {{6, "Feed=-5", platform::SPOOLER_JOB_PRINTING}};
const List TWO_OF_THE_NAME = {{5, DOC, 0}, {7, DOC, platform::SPOOLER_JOB_PRINTING}};

// The busy dialog's answers, one per poll, the last one staying.
class ScriptedPoll : public feed::WaitPoll {
 public:
  explicit ScriptedPoll(std::vector<BusyState> states) : states_(std::move(states)) {}
  BusyState Poll() override {
    size_t at = std::min(polls_++, states_.size() - 1);
    return states_[at];
  }

 private:
  std::vector<BusyState> states_;
  size_t polls_ = 0;
};

class JobWaitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    spooler_.AddQueue("Plotter", "USB001", "Driver");
    queue_ = spooler_.OpenPrinter("Plotter");
  }
  fakes::RecordingSpooler spooler_;
  fakes::FakeClock clock_;
  platform::PrinterHandle queue_ = 0;
};

TEST_F(JobWaitTest, StoriesOfTheEarlierJob) {
  const BusyState R = BusyState::Running;
  const uint32_t LIMIT_LOOKS = feed::JOB_PRINT_LIMIT_MS / feed::JOB_LOOK_INTERVAL_MS + 1;
  const struct {
    const char* name;
    std::vector<List> story;
    bool handedOver;
    std::vector<BusyState> poll;  // empty: no dialog
    JobWaitResult result;
    uint32_t looks;
    uint32_t sleeps;
  } cases[] = {
      {"spooling, then printing",
       {SPOOLING, SPOOLING, PRINTING},
       true,
       {R},
       JobWaitResult::Printing,
       3,
       2},
      {"printing while still spooling",
       {PRINTING_WHILE_SPOOLING},
       true,
       {R},
       JobWaitResult::Printing,
       1,
       0},
      {"seen, then gone", {SPOOLING, QUEUED, GONE}, true, {R}, JobWaitResult::Gone, 3, 2},
      {"kept by the spooler after printing",
       {SPOOLING, KEPT_AFTER_PRINTING},
       true,
       {},
       JobWaitResult::Printing,
       2,
       1},
      {"first of two with the name decides",
       {TWO_OF_THE_NAME, GONE},
       true,
       {R},
       JobWaitResult::Gone,
       2,
       1},
      {"printed before the first look", {GONE}, true, {R}, JobWaitResult::NeverSeen, 1, 0},
      {"only another sample is listed",
       {OTHER_PRINTING},
       true,
       {R},
       JobWaitResult::NeverSeen,
       1,
       0},
      {"never seen and not handed over",
       {GONE},
       false,
       {R},
       JobWaitResult::TimedOut,
       LIMIT_LOOKS,
       LIMIT_LOOKS - 1},
      {"stuck spooling until the limit",
       {SPOOLING},
       true,
       {R},
       JobWaitResult::TimedOut,
       LIMIT_LOOKS,
       LIMIT_LOOKS - 1},
      {"stuck in a paused queue",
       {QUEUED},
       true,
       {},
       JobWaitResult::TimedOut,
       LIMIT_LOOKS,
       LIMIT_LOOKS - 1},
      {"cancelled while spooling",
       {SPOOLING},
       true,
       {R, R, BusyState::Cancelled},
       JobWaitResult::Cancelled,
       2,
       2},
      {"busy dialog's limit",
       {SPOOLING},
       true,
       {R, BusyState::TimedOut},
       JobWaitResult::TimedOut,
       1,
       1},
      // A press of Cancel wins over a job that has just started printing.
      {"cancelled before the look",
       {PRINTING},
       true,
       {BusyState::Cancelled},
       JobWaitResult::Cancelled,
       0,
       0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    spooler_.jobListStory = c.story;
    spooler_.jobListReads = 0;
    clock_.slept = 0;
    ScriptedPoll poll(c.poll.empty() ? std::vector<BusyState>{R} : c.poll);
    feed::JobWatch watch(spooler_, queue_, clock_);
    JobWaitResult result = watch.WaitForPrinting(DOC, c.handedOver, feed::JOB_PRINT_LIMIT_MS,
                                                 c.poll.empty() ? nullptr : &poll);
    EXPECT_EQ(c.result, result);
    EXPECT_EQ(c.looks, static_cast<uint32_t>(watch.Looks()));
    EXPECT_EQ(uint64_t{feed::JOB_LOOK_INTERVAL_MS} * c.sleeps, clock_.slept);
    EXPECT_EQ(c.result == JobWaitResult::Printing || c.result == JobWaitResult::Gone ||
                  c.result == JobWaitResult::NeverSeen,
              feed::JobWaitDone(result));
  }
}

// A list that cannot be read tells nothing: neither that the job is gone nor that it was seen.
TEST_F(JobWaitTest, UnreadableListsAnswerNothing) {
  spooler_.jobListStory = {SPOOLING, GONE};
  spooler_.failEnumerateJobs = true;
  clock_.onAdvance = [this](uint32_t now) { spooler_.failEnumerateJobs = now < 3000; };
  feed::JobWatch watch(spooler_, queue_, clock_);
  // Unreadable until 3 s, then spooling, then gone: seen and gone, not "never seen".
  EXPECT_EQ(JobWaitResult::Gone,
            watch.WaitForPrinting(DOC, true, feed::JOB_PRINT_LIMIT_MS, nullptr));
  EXPECT_EQ(6, watch.Looks());

  spooler_.jobListStory = {GONE};
  spooler_.jobListReads = 0;
  spooler_.failEnumerateJobs = true;
  clock_.onAdvance = nullptr;
  feed::JobWatch blind(spooler_, queue_, clock_);
  EXPECT_EQ(JobWaitResult::TimedOut, blind.WaitForPrinting(DOC, true, 2000, nullptr));

  // A spooler that never lists its jobs cannot be watched: both waits end after 5 s instead of
  // running to their limits (the print wait's would end in a failure).
  feed::JobWatch never(spooler_, queue_, clock_);
  EXPECT_EQ(JobWaitResult::Unwatched,
            never.WaitForPrinting(DOC, true, feed::JOB_PRINT_LIMIT_MS, nullptr));
  EXPECT_EQ(11, never.Looks());
  EXPECT_TRUE(feed::JobWaitDone(JobWaitResult::Unwatched));
  feed::JobWatch leaving(spooler_, queue_, clock_);
  EXPECT_EQ(JobWaitResult::Unwatched,
            leaving.WaitUntilGone(DOC, feed::JOB_LEAVE_LIMIT_MS, nullptr));
  EXPECT_EQ(11, leaving.Looks());
}

TEST_F(JobWaitTest, LastJobLeavingTheQueue) {
  const struct {
    const char* name;
    std::vector<List> story;
    JobWaitResult result;
    int looks;
  } cases[] = {
      {"printing, then gone", {PRINTING, PRINTING, GONE}, JobWaitResult::Gone, 3},
      {"already gone", {GONE}, JobWaitResult::Gone, 1},
      {"kept after printing",
       {KEPT_AFTER_PRINTING},
       JobWaitResult::TimedOut,
       feed::JOB_LEAVE_LIMIT_MS / feed::JOB_LOOK_INTERVAL_MS + 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    spooler_.jobListStory = c.story;
    spooler_.jobListReads = 0;
    feed::JobWatch watch(spooler_, queue_, clock_);
    EXPECT_EQ(c.result, watch.WaitUntilGone(DOC, feed::JOB_LEAVE_LIMIT_MS, nullptr));
    EXPECT_EQ(c.looks, watch.Looks());
  }
}

}  // namespace
