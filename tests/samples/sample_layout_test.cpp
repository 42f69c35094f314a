// Layout of a sample page: caption lines and the picture's bands.
#include "samples/sample_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using feed::ImageCopy;
using feed::PageMetrics;
using feed::TextPlace;

const PageMetrics PAGE_720{720, 720, 10000};  // sx = sy = 4, h = 110, y starts at 852

TEST(SampleLayout, CaptionsWrapBeforeTheRightEdge) {
  const struct {
    const char* name;
    PageMetrics page;
    std::vector<int> widths;
    std::vector<TextPlace> places;
    int imageTop;
  } cases[] = {
      {"all on one line",
       PAGE_720,
       {1000, 1000, 1000, 1000},
       {{0, 852}, {1050, 852}, {2100, 852}, {3150, 852}},
       852 + 162},
      {"wrap before the edge",
       PAGE_720,
       {5000, 4949, 4949, 10},
       {{0, 852}, {5050, 852}, {0, 1014}, {4999, 1014}},
       1014 + 162},
      // 5050 + 4950 reaches the edge exactly: that caption starts a line.
      {"reaching the edge", PAGE_720, {5000, 4950}, {{0, 852}, {0, 1014}}, 1014 + 162},
      {"caption wider than the page", PAGE_720, {10000, 20}, {{0, 1014}, {0, 1176}}, 1176 + 162},
      // 360 dpi: sy = 2, h = 55, line step 55 + 26.
      {"half the resolution",
       PageMetrics{360, 360, 3000},
       {2000, 1000},
       {{0, 426}, {0, 507}},
       507 + 81},
      {"unequal resolutions", PageMetrics{720, 360, 3000}, {100}, {{0, 426}}, 426 + 81},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    feed::CaptionLayout layout = feed::PlaceCaptions(c.widths, c.page);
    EXPECT_EQ(c.places, layout.places);
    EXPECT_EQ(c.imageTop, layout.imageTop);
    EXPECT_EQ(5 * c.page.dpiY / 72, layout.imageGap);
  }
}

// Draws nothing, fails every copy taller than maxRows picture rows.
struct Recorder {
  int maxRows;
  std::vector<ImageCopy> tried;
  bool operator()(const ImageCopy& copy) {
    tried.push_back(copy);
    return copy.rows <= maxRows;
  }
};

TEST(SampleLayout, BandsHalveUntilACopyCanBeDrawn) {
  PageMetrics page{180, 180, 7000};  // scale 1: copies at x = 0, 3065, 6130
  feed::CaptionLayout layout;
  layout.imageTop = 300;
  layout.imageGap = 12;
  const struct {
    const char* name;
    int maxRows;
    bool drawn;
    std::vector<std::pair<int, int>> bands;  // first row and rows of each drawn band
  } cases[] = {
      {"whole picture", 425, true, {{0, 425}}},
      {"halved once", 300, true, {{0, 212}, {212, 212}, {424, 1}}},
      {"halved three times",
       60,
       true,
       {{0, 53},
        {53, 53},
        {106, 53},
        {159, 53},
        {212, 53},
        {265, 53},
        {318, 53},
        {371, 53},
        {424, 1}}},
      {"down to three rows", 3, true, {}},
      // 425 halves to 212, 106, 53, 26, 13, 6, 3 and then 1: two rows are never tried.
      {"never", 2, false, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Recorder recorder{c.maxRows, {}};
    EXPECT_EQ(c.drawn, feed::DrawImageBands(3060, 425, page, layout, std::ref(recorder)));
    std::vector<std::pair<int, int>> bands;
    for (const ImageCopy& copy : recorder.tried) {
      if (copy.rows > c.maxRows) continue;
      EXPECT_EQ(3060, copy.width);
      EXPECT_EQ(copy.rows, copy.height);
      EXPECT_EQ(12 + 300 + 425 - copy.rows - copy.firstRow, copy.y);
      if (copy.x == 0) bands.push_back({copy.firstRow, copy.rows});
    }
    if (!c.bands.empty()) {
      EXPECT_EQ(c.bands, bands);
    }
    if (c.drawn) {
      int rows = 0;
      for (const auto& band : bands) rows += band.second;
      EXPECT_EQ(425, rows);
    }
  }
}

TEST(SampleLayout, CopiesAcrossThePageAtScale) {
  PageMetrics page{720, 360, 25000};
  feed::CaptionLayout layout = feed::PlaceCaptions({100}, page);
  Recorder recorder{425, {}};
  ASSERT_TRUE(feed::DrawImageBands(3060, 425, page, layout, std::ref(recorder)));
  // sx = 4: copies 12240 wide every 12260 pixels; sy = 2: 850 high.
  ASSERT_EQ(3u, recorder.tried.size());
  EXPECT_EQ((ImageCopy{12260, layout.imageTop + layout.imageGap, 12240, 850, 0, 425}),
            recorder.tried[1]);
  EXPECT_EQ(24520, recorder.tried[2].x);
}

// Below 180 / 3065 dpi every copy would land at x = 0 and the loop would never end.
TEST(SampleLayout, ResolutionWithoutAStepFailsThePage) {
  Recorder recorder{425, {}};
  EXPECT_FALSE(feed::DrawImageBands(3060, 425, PageMetrics{0, 720, 1000}, feed::CaptionLayout(),
                                    std::ref(recorder)));
  EXPECT_TRUE(recorder.tried.empty());
}

}  // namespace
