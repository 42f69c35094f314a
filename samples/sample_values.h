// The settings a sample run varies: the five paper feed sample values and the print-mode kind
// of the driver items that select the media's print mode.
#pragma once

#include <array>
#include <cstdint>

namespace feed {

constexpr int FEED_SAMPLE_COUNT = 5;

// a, a + d/4, a + 2d/4, a + int(3d * 0.25 + 0.5), b with d = b - a, the divisions truncating
// toward zero. Computed in 64 bits, so any two 32-bit values are safe.
std::array<int64_t, FEED_SAMPLE_COUNT> FeedSampleValues(int64_t a, int64_t b);

// Print-mode kinds: 1 and 2 go through item 70, 3 and 4 through item 214.
constexpr int PRINT_MODE_KIND_1 = 1;
constexpr int PRINT_MODE_KIND_2 = 2;
constexpr int PRINT_MODE_KIND_3 = 3;
constexpr int PRINT_MODE_KIND_4 = 4;

// The kind for the selection's print quality code; mediaQualities are the media's print-quality
// codes (count of them, none when count is 0), consulted only for code 3.
int PrintModeKind(int qualityCode, const int32_t* mediaQualities, int count);

}  // namespace feed
