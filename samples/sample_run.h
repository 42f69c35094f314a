// What a detail dialog hands to the sample print: the selection, the picture, the samples with
// their captions, and the caller's own differences (readiness, waits, the per-sample setting).
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui.h"
#include "samples/adjustment_selection.h"

namespace feed {

// Text of the warning every failed step of a run shows.
constexpr int TEXT_SAMPLE_RUN_FAILED = 20311;

struct SampleJob {
  // The fourth caption of the page, also the job's document name.
  std::string caption;
  // Paper feed samples set byte 9 of the feed data (item 219) to this correction; others leave
  // the feed data as read.
  bool setsFeedCorrection = false;
  int feedCorrection = 0;
};

struct SampleRunRequest {
  AdjustmentSelection selection;
  bool userImage = false;  // the user image rather than the standard one
  std::string userImagePath;
  // Label texts of the first three captions: media, paper feed, print quality.
  std::array<int, 3> labelTexts{};
  std::vector<SampleJob> samples;
  // Paper feed detail asks for readiness in every launch mode, pellan detail only in Normal.
  bool readyInEveryLaunchMode = false;
  // Pellan detail waits for the earlier job on roll paper too, and for the last job at the end.
  bool waitsOnRoll = false;
  // The sample's own printer setting, applied before its job; false ends the run. May be empty.
  std::function<bool(size_t sample)> applySetting;
  // True when applySetting shows its own message on failure; otherwise the run shows 20311.
  bool settingShowsMessage = false;
};

// The sample print as the detail dialogs see it; every outcome is a message.
class SamplePrinter {
 public:
  virtual ~SamplePrinter() = default;
  // Runs modally over parent (which is disabled behind the busy dialog meanwhile).
  virtual void Run(const SampleRunRequest& request, ui::View* parent) = 0;
};

}  // namespace feed
