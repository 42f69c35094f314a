// kdtool: the sample print's parts that need no printer: picture check, sheet plan, print-mode
// kind and paper feed sample values.
#include <cstdint>
#include <iostream>
#include <limits>

#include "feed/media_table.h"
#include "samples/sample_image.h"
#include "samples/sample_values.h"
#include "samples/sheet_grouping.h"
#include "tools/kdtool/commands.h"

namespace kdtool {

namespace {

// Longer runs than this are no sample run; the limit keeps the order line readable.
constexpr int MAX_PLAN_SAMPLES = 1000;

int SampleImageCommand(Context& c);
int SheetPlanCommand(Context& c);
int PrintModeKindCommand(Context& c);
int SampleValuesCommand(Context& c);

}  // namespace

const Command SAMPLE_COMMANDS[] = {
    {"sample-image", "FILE", SampleImageCommand},
    {"sheet-plan", "SAMPLES LENGTH", SheetPlanCommand},
    {"print-mode-kind", "QUALITY_CODE [MEDIA_QUALITY_CODES...]", PrintModeKindCommand},
    {"sample-values", "LOW HIGH", SampleValuesCommand},
};
const int SAMPLE_COMMAND_COUNT = sizeof SAMPLE_COMMANDS / sizeof SAMPLE_COMMANDS[0];

namespace {

// A whole decimal number, a leading minus allowed, inside the 32-bit range.
bool ParseInt32(const std::string& text, int32_t* value) {
  size_t i = !text.empty() && text[0] == '-' ? 1 : 0;
  if (i == text.size()) return false;
  int64_t n = 0;
  for (size_t j = i; j < text.size(); ++j) {
    if (text[j] < '0' || text[j] > '9') return false;
    n = n * 10 + (text[j] - '0');
    if (n > int64_t{std::numeric_limits<int32_t>::max()} + 1) return false;
  }
  if (i == 1) n = -n;
  if (n > std::numeric_limits<int32_t>::max()) return false;
  *value = static_cast<int32_t>(n);
  return true;
}

int SampleImageCommand(Context& c) {
  if (c.args.size() != 1) return Usage(c, SAMPLE_COMMANDS[0]);
  int result = feed::CheckSampleImage(c.files, c.args[0]);
  if (result == feed::SAMPLE_IMAGE_OK) {
    c.out << "ok\n";
    return EXIT_OK;
  }
  c.out << result << "\n";
  return EXIT_FAILED;
}

int SheetPlanCommand(Context& c) {
  int32_t samples = 0;
  int32_t length = 0;
  if (c.args.size() != 2 || !ParseInt32(c.args[0], &samples) || !ParseInt32(c.args[1], &length) ||
      samples < 1 || samples > MAX_PLAN_SAMPLES) {
    return Usage(c, SAMPLE_COMMANDS[1]);
  }
  feed::SheetPlan plan = feed::PlanSheets(feed::PaperHandling::Sheets, samples, length);
  c.out << "k=" << plan.perSheet << " s=" << plan.sheets << "\n"
        << feed::FormatRunOrder(
               feed::PlanRunOrder(feed::PaperHandling::Sheets, samples, plan.perSheet, samples))
        << "\n";
  return EXIT_OK;
}

int PrintModeKindCommand(Context& c) {
  int32_t quality = 0;
  int32_t media[feed::MEDIA_QUALITY_COUNT] = {};
  size_t count = c.args.empty() ? 0 : c.args.size() - 1;
  bool ok =
      !c.args.empty() && count <= feed::MEDIA_QUALITY_COUNT && ParseInt32(c.args[0], &quality);
  for (size_t i = 0; ok && i < count; ++i) ok = ParseInt32(c.args[i + 1], &media[i]);
  if (!ok) return Usage(c, SAMPLE_COMMANDS[2]);
  c.out << feed::PrintModeKind(quality, media, static_cast<int>(count)) << "\n";
  return EXIT_OK;
}

int SampleValuesCommand(Context& c) {
  int32_t low = 0;
  int32_t high = 0;
  if (c.args.size() != 2 || !ParseInt32(c.args[0], &low) || !ParseInt32(c.args[1], &high)) {
    return Usage(c, SAMPLE_COMMANDS[3]);
  }
  const char* separator = "";
  for (int64_t value : feed::FeedSampleValues(low, high)) {
    c.out << separator << value;
    separator = " ";
  }
  c.out << "\n";
  return EXIT_OK;
}

}  // namespace

}  // namespace kdtool
