// Sample values and print-mode kinds.
#include "samples/sample_values.h"

namespace feed {

namespace {

// Print quality codes with a fixed kind; code 3 depends on the media.
struct QualityKind {
  int code;
  int kind;
};
constexpr QualityKind QUALITY_KINDS[] = {
    {0, PRINT_MODE_KIND_1}, {2, PRINT_MODE_KIND_1}, {1, PRINT_MODE_KIND_2},
    {7, PRINT_MODE_KIND_2}, {5, PRINT_MODE_KIND_4}, {6, PRINT_MODE_KIND_3},
};
constexpr int QUALITY_MEDIA_DEPENDENT = 3;
// A media offering this quality takes code 3 in the kind-1 form.
constexpr int32_t QUALITY_SELECTING_KIND_1 = 7;

}  // namespace

std::array<int64_t, FEED_SAMPLE_COUNT> FeedSampleValues(int64_t a, int64_t b) {
  int64_t d = b - a;
  // int(3d * 0.25 + 0.5) is (3d + 2) / 4 exactly, truncated toward zero like the cast.
  return {a, a + d / 4, a + (2 * d) / 4, a + (3 * d + 2) / 4, b};
}

int PrintModeKind(int qualityCode, const int32_t* mediaQualities, int count) {
  if (qualityCode == QUALITY_MEDIA_DEPENDENT) {
    for (int i = 0; i < count; ++i) {
      if (mediaQualities[i] == QUALITY_SELECTING_KIND_1) return PRINT_MODE_KIND_1;
    }
    return PRINT_MODE_KIND_2;
  }
  for (const QualityKind& q : QUALITY_KINDS) {
    if (q.code == qualityCode) return q.kind;
  }
  return PRINT_MODE_KIND_2;
}

}  // namespace feed
