// Sheet grouping of the sample print.
#include "samples/sheet_grouping.h"

#include "link/command_framing.h"

namespace feed {

bool PaperFeedFor(int paperFeed, PaperFeedRow* row) {
  for (const PaperFeedRow& r : PAPER_FEED_ROWS) {
    if (r.paperFeed == paperFeed) {
      *row = r;
      return true;
    }
  }
  return false;
}

SheetPlan PlanSheets(PaperHandling handling, int samples, int64_t paperLength) {
  SheetPlan plan;
  plan.pages = 2 * samples;
  // A roll is one sheet; sheets up to SHEET_SAMPLE_LENGTH long carry one sample each.
  if (handling == PaperHandling::Sheets) {
    if (paperLength > SHEET_SAMPLE_LENGTH) {
      plan.perSheet = static_cast<int>(paperLength / SHEET_SAMPLE_LENGTH);
    }
    plan.sheets = samples <= 0 ? 0 : (samples + plan.perSheet - 1) / plan.perSheet;
  }
  return plan;
}

bool CutAfter(PaperHandling handling, int sample, int samples, int32_t autoCut) {
  return handling == PaperHandling::Roll && sample == samples && autoCut == AUTO_CUT_ON;
}

SheetGrouping::SheetGrouping(PaperHandling handling, int samples, int perSheet)
    : handling_(handling), samples_(samples), perSheet_(perSheet) {}

std::vector<uint8_t> SheetGrouping::Before(int sample) {
  std::vector<uint8_t> modes;
  if (handling_ != PaperHandling::Sheets || perSheet_ <= 1) return modes;
  if (sample % perSheet_ == 1 && sample < samples_) {
    modes.push_back(printer_link::SAMPLE_SHEET_OPEN);
    open_ = true;
  }
  // Mode byte 0 announces the job that ends the shared sheet, so it goes out before that job.
  if ((sample % perSheet_ == 0 || sample == samples_) && open_) {
    modes.push_back(printer_link::SAMPLE_SHEET_CLOSE);
    open_ = false;
    closeSent_ = true;
  }
  return modes;
}

void SheetGrouping::Printed(int) {
  closeSent_ = false;
}

std::vector<RunStep> SheetGrouping::Closing() const {
  std::vector<RunStep> steps;
  if (handling_ != PaperHandling::Sheets) return steps;
  // A sheet whose closing job never reached the spooler is still waiting in the printer: the
  // page "." ends it, also when mode byte 0 already went out.
  if (open_) steps.push_back({RunStepKind::SheetCommand, printer_link::SAMPLE_SHEET_CLOSE});
  if (SheetPending()) steps.push_back({RunStepKind::ClosingPage, 0});
  steps.push_back({RunStepKind::SheetCommand, printer_link::SAMPLE_SHEET_FINISH});
  return steps;
}

std::vector<RunStep> PlanRunOrder(PaperHandling handling, int samples, int perSheet, int printed) {
  SheetGrouping grouping(handling, samples, perSheet);
  std::vector<RunStep> steps;
  for (int i = 1; i <= printed && i <= samples; ++i) {
    for (uint8_t mode : grouping.Before(i)) steps.push_back({RunStepKind::SheetCommand, mode});
    steps.push_back({RunStepKind::Sample, i});
    grouping.Printed(i);
  }
  std::vector<RunStep> closing = grouping.Closing();
  steps.insert(steps.end(), closing.begin(), closing.end());
  return steps;
}

std::string FormatRunOrder(const std::vector<RunStep>& steps) {
  std::string text;
  for (const RunStep& step : steps) {
    if (!text.empty()) text += ' ';
    switch (step.kind) {
      case RunStepKind::SheetCommand:
        text += std::to_string(step.value);
        break;
      case RunStepKind::Sample:
        text += 'S' + std::to_string(step.value);
        break;
      case RunStepKind::ClosingPage:
        text += '.';
        break;
    }
  }
  return text;
}

}  // namespace feed
