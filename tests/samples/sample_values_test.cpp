// Paper feed sample values and print-mode kinds.
#include "samples/sample_values.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(SampleValues, FiveValuesWithTruncatingSteps) {
  const struct {
    int64_t a, b;
    std::array<int64_t, 5> values;
  } cases[] = {
      {-25, 0, {-25, -19, -13, -6, 0}},
      {-25, 25, {-25, -13, 0, 13, 25}},
      {0, 25, {0, 6, 12, 19, 25}},
      {-10, 15, {-10, -4, 2, 9, 15}},
      // The rounding term 0.5 is added before the cast, which truncates toward zero.
      {0, 1, {0, 0, 0, 1, 1}},
      {0, -1, {0, 0, 0, 0, -1}},
      {0, -3, {0, 0, -1, -1, -3}},
      {5, 5, {5, 5, 5, 5, 5}},
      {-2147483648LL, 2147483647LL, {-2147483648LL, -1073741825LL, -1, 1073741823LL, 2147483647LL}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.values, feed::FeedSampleValues(c.a, c.b)) << c.a << " " << c.b;
  }
}

TEST(SampleValues, PrintModeKindByQualityCode) {
  const std::vector<int32_t> withSeven = {0, 1, 7, 0, 0, 0};
  const std::vector<int32_t> withoutSeven = {0, 1, 3, 5, 6, 2};
  const struct {
    int quality;
    const std::vector<int32_t>* media;
    int kind;
  } cases[] = {
      {0, &withoutSeven, 1}, {2, &withSeven, 1},    {1, &withSeven, 2},  {7, &withoutSeven, 2},
      {3, &withSeven, 1},    {3, &withoutSeven, 2}, {3, nullptr, 2},     {5, &withSeven, 4},
      {6, &withoutSeven, 3}, {4, &withSeven, 2},    {-1, &withSeven, 2}, {8, nullptr, 2},
  };
  for (const auto& c : cases) {
    const int32_t* codes = c.media ? c.media->data() : nullptr;
    int count = c.media ? static_cast<int>(c.media->size()) : 0;
    EXPECT_EQ(c.kind, feed::PrintModeKind(c.quality, codes, count)) << c.quality;
  }
}

}  // namespace
