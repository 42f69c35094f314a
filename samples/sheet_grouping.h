// How the samples of a run share sheets: the counts, the sheet commands around each job, the
// roll cut and the steps that close a run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace feed {

enum class PaperHandling { Roll, Sheets };

// Paper feed values of the adjustment selection and the driver's paper source (item 40).
struct PaperFeedRow {
  int paperFeed;
  PaperHandling handling;
  int32_t paperSource;
};
constexpr PaperFeedRow PAPER_FEED_ROWS[] = {
    {0, PaperHandling::Roll, 256},
    {1, PaperHandling::Sheets, 7},
    {2, PaperHandling::Sheets, 4},
};
// False for a paper feed value outside the table.
bool PaperFeedFor(int paperFeed, PaperFeedRow* row);

// A sheet longer than this carries length / SHEET_SAMPLE_LENGTH samples.
constexpr int64_t SHEET_SAMPLE_LENGTH = 1180;
// The stored AutoCutR values: cut the roll after the last sample, or leave it. They are the paper
// setting dialog's radio ids, as installed registries hold them.
constexpr int32_t AUTO_CUT_ON = 1701;
constexpr int32_t AUTO_CUT_OFF = 1702;

struct SheetPlan {
  int perSheet = 1;  // k: samples that share a sheet
  int sheets = 1;    // s: sheets of the run, as the confirmation shows them
  int pages = 0;     // t: twice the number of samples
};

// The counts for samples on the given paper; paperLength is the second word of the paper size
// and counts only for sheets.
SheetPlan PlanSheets(PaperHandling handling, int samples, int64_t paperLength);

// Whether the roll is cut after sample (1 based) of samples.
bool CutAfter(PaperHandling handling, int sample, int samples, int32_t autoCut);

// One step of a run as the printer sees it.
enum class RunStepKind { SheetCommand, Sample, ClosingPage };
struct RunStep {
  RunStepKind kind;
  int value;  // the mode byte, or the sample number; 0 for the closing page
  bool operator==(const RunStep& other) const { return kind == other.kind && value == other.value; }
};

// The sheet state of one run, fed sample by sample.
class SheetGrouping {
 public:
  SheetGrouping(PaperHandling handling, int samples, int perSheet);

  // The mode bytes to send before the job of sample (1 based), in order.
  std::vector<uint8_t> Before(int sample);
  // The job of sample was handed over to the spooler.
  void Printed(int sample);
  // True while a shared sheet waits for the job that ends it: opened and not closed, or its
  // closing mode byte sent but that job never handed over.
  bool SheetPending() const { return open_ || closeSent_; }
  // What goes out after the last sample or an early end: for sheets a pending sheet is closed
  // (mode byte 0 unless already sent, then the page "."), then the finishing mode byte.
  std::vector<RunStep> Closing() const;

 private:
  PaperHandling handling_;
  int samples_;
  int perSheet_;
  bool open_ = false;
  bool closeSent_ = false;  // mode byte 0 sent, its job not yet handed over
};

// The steps of a run in which the first `printed` samples are handed over and the run then
// ends (printed = samples for a whole run): sheet commands and samples in order, then Closing.
std::vector<RunStep> PlanRunOrder(PaperHandling handling, int samples, int perSheet, int printed);

// "1 S1 S2 0 S3 ... 2": mode bytes, samples as S<n>, the closing page as ".".
std::string FormatRunOrder(const std::vector<RunStep>& steps);

}  // namespace feed
