// Sheet grouping of the sample print: counts, the order of sheet commands and samples, cuts,
// and how an early end closes a shared sheet.
#include "samples/sheet_grouping.h"

#include <gtest/gtest.h>

#include "link/command_framing.h"

namespace {

using feed::PaperHandling;

TEST(SheetGrouping, CountsAndOrderOfWholeRuns) {
  const struct {
    const char* name;
    PaperHandling handling;
    int samples;
    int64_t length;
    int k, s;
    const char* order;
  } cases[] = {
      {"five on sheets of 4200", PaperHandling::Sheets, 5, 4200, 3, 2, "1 S1 S2 0 S3 1 S4 0 S5 2"},
      {"six fill two sheets", PaperHandling::Sheets, 6, 4200, 3, 2, "1 S1 S2 0 S3 1 S4 S5 0 S6 2"},
      {"one on sheets", PaperHandling::Sheets, 1, 4200, 3, 1, "S1 2"},
      {"two a sheet", PaperHandling::Sheets, 5, 2360, 2, 3, "1 S1 0 S2 1 S3 0 S4 S5 2"},
      {"just under two a sheet", PaperHandling::Sheets, 3, 2359, 1, 3, "S1 S2 S3 2"},
      {"short sheets: one each", PaperHandling::Sheets, 4, 1180, 1, 4, "S1 S2 S3 S4 2"},
      {"no length", PaperHandling::Sheets, 2, -5, 1, 2, "S1 S2 2"},
      {"one long sheet for all", PaperHandling::Sheets, 5, 65535, 55, 1, "1 S1 S2 S3 S4 0 S5 2"},
      {"roll ignores the length", PaperHandling::Roll, 3, 4200, 1, 1, "S1 S2 S3"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    feed::SheetPlan plan = feed::PlanSheets(c.handling, c.samples, c.length);
    EXPECT_EQ(c.k, plan.perSheet);
    EXPECT_EQ(c.s, plan.sheets);
    EXPECT_EQ(2 * c.samples, plan.pages);
    EXPECT_EQ(c.order, feed::FormatRunOrder(
                           feed::PlanRunOrder(c.handling, c.samples, plan.perSheet, c.samples)));
  }
}

TEST(SheetGrouping, RunsEndedAfterASample) {
  const struct {
    const char* name;
    int printed;
    const char* order;
  } cases[] = {
      // Five on sheets of 4200, Cancel after the given sample was handed over.
      {"before any sample", 0, "2"},
      {"inside the first sheet", 2, "1 S1 S2 0 . 2"},
      {"with the first sheet closed", 3, "1 S1 S2 0 S3 2"},
      {"on the second sheet", 4, "1 S1 S2 0 S3 1 S4 0 . 2"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.order,
              feed::FormatRunOrder(feed::PlanRunOrder(PaperHandling::Sheets, 5, 3, c.printed)));
  }
}

// Mode byte 0 goes out before the job that ends the sheet. When that job then fails, the
// printer still holds the sheet open: the page "." must end it, without a second mode byte 0.
TEST(SheetGrouping, ClosingJobThatFailedStillGetsTheClosingPage) {
  feed::SheetGrouping grouping(PaperHandling::Sheets, 5, 3);
  for (int i = 1; i <= 2; ++i) {
    grouping.Before(i);
    grouping.Printed(i);
  }
  EXPECT_EQ(std::vector<uint8_t>{printer_link::SAMPLE_SHEET_CLOSE}, grouping.Before(3));
  EXPECT_TRUE(grouping.SheetPending());
  EXPECT_EQ(". 2", feed::FormatRunOrder(grouping.Closing()));

  grouping.Printed(3);
  EXPECT_FALSE(grouping.SheetPending());
  EXPECT_EQ("2", feed::FormatRunOrder(grouping.Closing()));
}

TEST(SheetGrouping, RollIsCutOnlyAfterTheLastSampleWithAutoCut) {
  const struct {
    PaperHandling handling;
    int32_t autoCut;
    const char* cuts;
  } cases[] = {
      {PaperHandling::Roll, feed::AUTO_CUT_ON, "001"},
      {PaperHandling::Roll, 1700, "000"},
      {PaperHandling::Sheets, feed::AUTO_CUT_ON, "000"},
  };
  for (const auto& c : cases) {
    std::string cuts;
    for (int i = 1; i <= 3; ++i) cuts += feed::CutAfter(c.handling, i, 3, c.autoCut) ? '1' : '0';
    EXPECT_EQ(c.cuts, cuts) << c.autoCut;
  }
}

}  // namespace
