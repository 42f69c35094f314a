// The sample print against the simulated printer and driver: what the printer records (sheet
// commands, jobs with their paper handling, feed correction and values in force), the checks
// before a run, early ends with their closing steps, the job wait's stories, and the page.
#include "samples/sample_print.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "feed/adjustment_page.h"
#include "feed/paper_setting_dialog.h"
#include "samples/sample_image.h"
#include "samples/sample_page.h"
#include "samples/sheet_grouping.h"
#include "shell/tool_app.h"
#include "tests/support/sample_print_world.h"

namespace {

using fakes::SampleWorld;
using Lines = std::vector<std::string>;

constexpr int SHEET_FEED = 2;  // driver paper handling 4
constexpr int ROLL_FEED = 0;

std::string Job(int n, const std::string& rest) {
  return "printed \"Sample=" + std::to_string(n) + "\" pages 1 " + rest;
}

class SamplePrintTest : public ::testing::Test {
 protected:
  void Run(const feed::SampleRunRequest& request) {
    feed::SamplePrint(world).Run(request, nullptr);
  }
  int Warnings(const std::string& text) const {
    int n = 0;
    for (const auto& m : world.messages) n += m.text == text && m.icon == ui::Icon::Warning;
    return n;
  }
  // Every run, however it ends, leaves no handle, queue or document open.
  void ExpectTidy() const {
    EXPECT_EQ(world.OpenHandles(), 0u);
    EXPECT_TRUE(world.spooler.Balanced());
    EXPECT_EQ(world.printing.surfacesOpen, 0);
    EXPECT_EQ(world.busy.started, world.busy.stopped);
  }
  SampleWorld world;
};

TEST_F(SamplePrintTest, FiveSamplesOnSheetsShareTwoSheets) {
  ASSERT_TRUE(world.bound);
  Run(world.Request({-4, -2, 0, 2, 4}, SHEET_FEED));

  EXPECT_EQ(world.MessageTexts(), Lines{"T20313\nT20314    10\nT20315     2\nT20316     5"});
  EXPECT_EQ(world.RunOrder(), "1 S1 S2 0 S3 1 S4 0 S5 2");
  // Each a sample, on sheets not fed one by one, on the A3 width cut to the sample page.
  const std::string paper =
      "sample 1 handling 4 one-by-one 0 mode 70:1,2,4,2 paper 256 2970x1480 feed ";
  EXPECT_EQ(world.Record(), (Lines{"sample sheet mode 1", Job(1, paper + "-4 values none"),
                                   Job(2, paper + "-2 values none"), "sample sheet mode 0",
                                   Job(3, paper + "0 values none"), "sample sheet mode 1",
                                   Job(4, paper + "2 values none"), "sample sheet mode 0",
                                   Job(5, paper + "4 values none"), "sample sheet mode 2"}));
  // Each page carries the three selection captions and the sample's own.
  ASSERT_EQ(world.printing.documents.size(), 5u);
  std::vector<std::string> texts;
  for (const auto& t : world.printing.documents[4].pages[0].texts) texts.push_back(t.text);
  EXPECT_EQ(texts, (Lines{"T20007=Matte,", "T20090=Sheet,", "T20008=Fine,", "Sample=5"}));
  EXPECT_EQ(world.busy.caption, "T0");
  EXPECT_EQ(world.busy.limitMs, feed::SAMPLE_RUN_LIMIT_MS);
  EXPECT_TRUE(world.busy.cancellable);
  EXPECT_TRUE(world.busy.cancelDisabled);
  ExpectTidy();
}

TEST_F(SamplePrintTest, RollIsCutOnlyAfterTheLastSampleWhenAutoCutIsOn) {
  struct Case {
    int32_t autoCut;
    bool lastCut;
  } cases[] = {{feed::AUTO_CUT_ON, true}, {1700, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.autoCut);
    SampleWorld w;
    w.numbers[feed::PAPER_SIZE_VALUE] = fakes::SAMPLE_ROLL_610;
    w.numbers[feed::AUTO_CUT_VALUE] = c.autoCut;
    feed::SamplePrint(w).Run(w.Request({-1, 0, 1}, ROLL_FEED), nullptr);
    const std::string roll = "sample 1 handling 256 roll 1 cut ";
    const std::string paper = " mode 70:1,2,4,2 paper 256 6100x1480 feed ";
    EXPECT_EQ(w.Record(),
              (Lines{Job(1, roll + "0" + paper + "-1 values none"),
                     Job(2, roll + "0" + paper + "0 values none"),
                     Job(3, roll + (c.lastCut ? "1" : "0") + paper + "1 values none")}));
    // One sheet and three samples: t = 6.
    EXPECT_EQ(w.MessageTexts(), Lines{"T20313\nT20314     6\nT20315     1\nT20316     3"});
  }
}

TEST_F(SamplePrintTest, OneSampleOnSheetsOnlyFinishes) {
  Run(world.Request({3}, SHEET_FEED));
  EXPECT_EQ(world.RunOrder(), "S1 2");
}

TEST_F(SamplePrintTest, UserDefinedPaperTakesTheDriversUserWidth) {
  world.numbers[feed::PAPER_SIZE_VALUE] = printer_link::PAPER_USER_DEFINED;
  Run(world.Request({0}, ROLL_FEED));
  EXPECT_EQ(world.Record(), Lines{Job(1,
                                      "sample 1 handling 256 roll 1 cut 1 mode 70:1,2,4,2 paper "
                                      "256 6100x1480 feed 0 values none")});
}

// The sample's own setting reaches the printer before its job: the record shows it in force.
TEST_F(SamplePrintTest, SampleSettingIsInForceForItsJob) {
  feed::SampleRunRequest r = world.Request({0, 0}, ROLL_FEED);
  r.waitsOnRoll = true;
  std::vector<uint8_t> selector(13, 0x11);
  r.applySetting = [&](size_t i) {
    world.printer.SetAdjustmentValue(selector, static_cast<uint8_t>(0x10 * i), 0x80);
    return true;
  };
  world.numbers[feed::PAPER_SIZE_VALUE] = fakes::SAMPLE_ROLL_610;
  Run(r);
  Lines record = world.Record();
  ASSERT_EQ(record.size(), 2u);
  EXPECT_NE(record[0].find("=0080"), std::string::npos) << record[0];
  EXPECT_NE(record[1].find("=1080"), std::string::npos) << record[1];
}

TEST_F(SamplePrintTest, PrintModeItemFollowsTheQualityAndMedia) {
  struct Case {
    const char* name;
    int mediaCode;
    int quality;
    std::string set;
  } cases[] = {
      {"kind 1", fakes::SAMPLE_MEDIA_CODE, 0, " mode 70:1,2,4,2 "},
      {"kind 2", fakes::SAMPLE_MEDIA_CODE, 1, " mode 70:1,1,4,2 "},
      {"code 3 without 7", fakes::SAMPLE_MEDIA_CODE, 3, " mode 70:1,1,4,2 "},
      {"code 3 with 7", fakes::SAMPLE_OTHER_MEDIA_CODE, 3, " mode 70:1,2,7,2 "},
      {"kind 3", fakes::SAMPLE_MEDIA_CODE, 6, " mode 214:1,20,2,4,6 "},
      {"kind 4", fakes::SAMPLE_MEDIA_CODE, 5, " mode 214:1,20,2,4,15 "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SampleWorld w;
    feed::SampleRunRequest r = w.Request({0}, SHEET_FEED);
    r.selection.mediaCode = c.mediaCode;
    r.selection.mediaRecord = w.media->Record(c.mediaCode);
    r.selection.qualityCode = c.quality;
    feed::SamplePrint(w).Run(r, nullptr);
    ASSERT_EQ(w.Record().size(), 2u);
    EXPECT_NE(w.Record()[0].find(c.set), std::string::npos) << w.Record()[0];
  }
}

// Checks before anything is printed: each stops the run with its message (or none), and no
// handle stays open.
TEST_F(SamplePrintTest, PreparationStops) {
  struct Case {
    const char* name;
    std::function<void(SampleWorld&, feed::SampleRunRequest&)> setup;
    std::string message;  // the last message; empty: none after the confirmation
    ui::Icon icon;
  } cases[] = {
      {"no user image", [](SampleWorld&, feed::SampleRunRequest& r) { r.userImage = true; },
       "T20307", ui::Icon::Warning},
      {"picture of another size",
       [](SampleWorld& w, feed::SampleRunRequest& r) {
         r.userImage = true;
         r.userImagePath = "C:\\Pictures\\small.bmp";
         w.files.Put(r.userImagePath, fakes::SampleBitmapFile(100, 100));
       },
       "T20309", ui::Icon::Warning},
      {"paper setting cancelled",
       [](SampleWorld& w, feed::SampleRunRequest&) { w.paperSetting = ui::RESULT_CANCEL; }, "",
       ui::Icon::None},
      {"paper size refused",
       [](SampleWorld& w, feed::SampleRunRequest&) { w.numbers[feed::PAPER_SIZE_VALUE] = 999; },
       "T20311", ui::Icon::Warning},
      {"no library", [](SampleWorld& w, feed::SampleRunRequest&) { w.bound = false; }, "T20311",
       ui::Icon::Warning},
      {"confirmation cancelled", [](SampleWorld& w, feed::SampleRunRequest&) { w.confirm = false; },
       "", ui::Icon::None},
      {"printer gone", [](SampleWorld& w, feed::SampleRunRequest&) { w.installed = false; }, "T330",
       ui::Icon::Error},
      {"wrong printer", [](SampleWorld& w, feed::SampleRunRequest&) { w.matches = false; }, "T310",
       ui::Icon::Error},
      {"not ready", [](SampleWorld& w, feed::SampleRunRequest&) { w.ready = false; }, "T312",
       ui::Icon::Warning},
      {"launch mode P",
       [](SampleWorld& w, feed::SampleRunRequest&) { w.launch = shell::LaunchMode::P; }, "",
       ui::Icon::None},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SampleWorld w;
    feed::SampleRunRequest r = w.Request({0, 1}, SHEET_FEED);
    c.setup(w, r);
    feed::SamplePrint(w).Run(r, nullptr);
    EXPECT_TRUE(w.Record().empty());
    EXPECT_EQ(w.busy.started, 0);
    EXPECT_EQ(w.OpenHandles(), 0u);
    std::string last = w.messages.empty() ? "" : w.messages.back().text;
    if (c.message.empty()) {
      EXPECT_TRUE(w.messages.empty() || w.messages.back().buttons == ui::Buttons::OkCancel);
    } else {
      EXPECT_EQ(last, c.message);
      EXPECT_EQ(w.messages.back().icon, c.icon);
    }
  }
}

// The pellan detail asks for readiness only in launch mode Normal; in P the run stops before
// printing either way.
TEST_F(SamplePrintTest, ReadinessByLaunchModeAndCaller) {
  for (bool everyMode : {true, false}) {
    SampleWorld w;
    w.launch = shell::LaunchMode::P;
    feed::SampleRunRequest r = w.Request({0}, SHEET_FEED);
    r.readyInEveryLaunchMode = everyMode;
    feed::SamplePrint(w).Run(r, nullptr);
    EXPECT_EQ(w.readyCalls, everyMode ? 1 : 0);
    EXPECT_EQ(w.matchCalls, 0);
    EXPECT_TRUE(w.Record().empty());
  }
}

// Early ends: the shared sheet still waiting in the printer is ended with mode byte 0 (unless it
// went out) and the page ".", and the run is finished with mode byte 2.
TEST_F(SamplePrintTest, EarlyEndsCloseThePendingSheet) {
  struct Case {
    const char* name;
    std::function<void(SampleWorld&, feed::SampleRunRequest&)> setup;
    std::string order;
    int failures;  // 20311 warnings
  } cases[] = {
      {"cancel after sample 1",
       [](SampleWorld& w, feed::SampleRunRequest&) { w.busy.cancelAtPoll = 1; }, "1 S1 0 . 2", 0},
      {"cancel after sample 2",
       [](SampleWorld& w, feed::SampleRunRequest&) { w.busy.cancelAtPoll = 3; }, "1 S1 S2 0 . 2",
       0},
      {"cancel after sample 3 ends no sheet",
       [](SampleWorld& w, feed::SampleRunRequest&) { w.busy.cancelAtPoll = 5; }, "1 S1 S2 0 S3 2",
       0},
      {"busy dialog's limit",
       [](SampleWorld& w, feed::SampleRunRequest&) { w.busy.timeOutAtPoll = 1; }, "1 S1 0 . 2", 1},
      {"job 2 fails",
       [](SampleWorld& w, feed::SampleRunRequest&) {
         w.printing.failCopy = [&w](int, const fakes::PrintedCopy&) {
           return w.printing.documents.size() == 1;
         };
       },
       "1 S1 0 . 2", 1},
      {"job 3 fails after mode byte 0",
       [](SampleWorld& w, feed::SampleRunRequest&) {
         w.printing.failCopy = [&w](int, const fakes::PrintedCopy&) {
           return w.printing.documents.size() == 2;
         };
       },
       "1 S1 S2 0 . 2", 1},
      {"correction beyond the signed byte",
       [](SampleWorld&, feed::SampleRunRequest& r) { r.samples[1].feedCorrection = 128; },
       "1 S1 0 . 2", 1},
      {"driver refuses the feed data",
       [](SampleWorld& w, feed::SampleRunRequest&) {
         w.printer.State().driver.refusedItems = {219};
       },
       "1 0 . 2", 1},
      {"setting fails",
       [](SampleWorld&, feed::SampleRunRequest& r) {
         r.applySetting = [](size_t i) { return i == 0; };
       },
       "1 S1 0 . 2", 1},
      {"setting fails with its own message",
       [](SampleWorld&, feed::SampleRunRequest& r) {
         r.applySetting = [](size_t i) { return i == 0; };
         r.settingShowsMessage = true;
       },
       "1 S1 0 . 2", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SampleWorld w;
    feed::SampleRunRequest r = w.Request({-4, -2, 0, 2, 4}, SHEET_FEED);
    c.setup(w, r);
    feed::SamplePrint(w).Run(r, nullptr);
    EXPECT_EQ(w.RunOrder(), c.order);
    int failures = 0;
    for (const auto& m : w.messages) failures += m.text == "T20311";
    EXPECT_EQ(failures, c.failures);
    EXPECT_EQ(w.OpenHandles(), 0u);
    EXPECT_TRUE(w.spooler.Balanced());
    EXPECT_EQ(w.busy.stopped, 1);
  }
}

// The wait for the earlier job, by the spooler's job list (pellan samples wait on roll too).
TEST_F(SamplePrintTest, JobWaitStories) {
  using platform::JobInfo;
  const JobInfo spooling{1, "Sample=1", platform::SPOOLER_JOB_SPOOLING};
  const JobInfo printing{1, "Sample=1", platform::SPOOLER_JOB_PRINTING};
  struct Case {
    const char* name;
    std::vector<std::vector<JobInfo>> story;
    int busyLimitAtPoll;
    size_t printed;
    bool failed;
  } cases[] = {
      {"printing", {{spooling}, {printing}}, 0, 2, false},
      {"gone", {{spooling}, {spooling}, {}}, 0, 2, false},
      {"never seen", {{}}, 0, 2, false},
      {"stuck until the limit", {{spooling}}, 0, 1, true},
      {"stuck until the busy dialog's limit", {{spooling}}, 4, 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SampleWorld w;
    w.numbers[feed::PAPER_SIZE_VALUE] = fakes::SAMPLE_ROLL_610;
    w.spooler.jobListStory = c.story;
    w.busy.timeOutAtPoll = c.busyLimitAtPoll;
    feed::SampleRunRequest r = w.Request({0, 1}, ROLL_FEED);
    r.waitsOnRoll = true;
    feed::SamplePrint(w).Run(r, nullptr);
    EXPECT_EQ(w.printing.documents.size(), c.printed);
    int failures = 0;
    for (const auto& m : w.messages) failures += m.text == "T20311";
    EXPECT_EQ(failures, c.failed ? 1 : 0);
    EXPECT_EQ(w.OpenHandles(), 0u);
    EXPECT_TRUE(w.spooler.Balanced());
  }
}

// Paper feed samples on roll do not wait between jobs; the sheet run's end waits for the last
// job to leave the queue and for the printer before mode byte 2.
TEST_F(SamplePrintTest, ClosingWaitsBeforeFinishing) {
  world.quietNotReady = 2;
  Run(world.Request({0}, SHEET_FEED));
  EXPECT_EQ(world.quietReadyCalls, 3);
  EXPECT_EQ(world.RunOrder(), "S1 2");

  SampleWorld roll;
  roll.numbers[feed::PAPER_SIZE_VALUE] = fakes::SAMPLE_ROLL_610;
  roll.spooler.jobListStory = {{{1, "Sample=1", platform::SPOOLER_JOB_SPOOLING}}};
  feed::SamplePrint(roll).Run(roll.Request({0, 1}, ROLL_FEED), nullptr);
  EXPECT_EQ(roll.spooler.jobListReads, 0);
  EXPECT_EQ(roll.printing.documents.size(), 2u);
}

class SamplePageTest : public ::testing::Test {
 protected:
  SamplePageTest() {
    printing.pageWidth = 1500;
    std::string file = fakes::SampleBitmapFile(feed::SAMPLE_IMAGE_WIDTH, feed::SAMPLE_IMAGE_HEIGHT);
    files.Put("C:\\s.bmp", file);
    EXPECT_EQ(feed::LoadSampleImage(files, "C:\\s.bmp", &image), feed::SAMPLE_IMAGE_OK);
    font.faceName = "Test Sans";
  }
  int Draw() {
    auto surface = printing.Open("drv", "queue", {});
    return feed::DrawSamplePage(*surface, font, captions, image);
  }
  fakes::RecordingPrinting printing;
  fakes::FakeFiles files;
  feed::SampleImage image;
  ui::FontDescription font;
  std::array<std::string, feed::CAPTION_COUNT> captions = {"T20007=Matte,", "T20090=Sheet,",
                                                           "T20008=Fine,", "Sample=1"};
};

// At 720 dpi the captions are 100 and 110 pixels high (10 and 11 points), half that wide per
// byte; the third does not fit beside the second and starts a line below.
TEST_F(SamplePageTest, CaptionsWrapWithTheirFonts) {
  ASSERT_EQ(Draw(), feed::SAMPLE_PAGE_OK);
  const auto& texts = printing.documents.at(0).pages.at(0).texts;
  ASSERT_EQ(texts.size(), 4u);
  struct Expected {
    int left, top, height, weight;
  } expected[] = {
      {0, 852, -100, 400}, {700, 852, -100, 400}, {0, 1014, -100, 400}, {650, 1014, -110, 700}};
  for (size_t i = 0; i < texts.size(); ++i) {
    SCOPED_TRACE(texts[i].text);
    EXPECT_EQ(texts[i].rect.left, expected[i].left);
    EXPECT_EQ(texts[i].rect.top, expected[i].top);
    EXPECT_EQ(texts[i].rect.right, 1500);
    EXPECT_EQ(texts[i].rect.bottom, expected[i].top + 110);
    EXPECT_EQ(texts[i].font.height, expected[i].height);
    EXPECT_EQ(texts[i].font.weight, expected[i].weight);
    EXPECT_EQ(texts[i].font.faceName, "Test Sans");
  }
  EXPECT_EQ(printing.documents[0].name, "Sample=1");
}

TEST_F(SamplePageTest, BandsAreHalvedUntilCopiesGoThrough) {
  struct Case {
    int maxRows;  // copies of more rows fail
    int bandRows;
    bool drawn;
  } cases[] = {{425, 425, true}, {300, 212, true}, {100, 53, true}, {1, 0, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.maxRows);
    printing.documents.clear();
    printing.failCopy = [&](int, const fakes::PrintedCopy& copy) { return copy.rows > c.maxRows; };
    EXPECT_EQ(Draw(), c.drawn ? feed::SAMPLE_PAGE_OK : feed::SAMPLE_PAGE_FAILED);
    ASSERT_EQ(printing.documents.size(), 1u);
    const auto& doc = printing.documents[0];
    EXPECT_EQ(doc.aborted, !c.drawn);
    if (!c.drawn) continue;
    // Every row drawn once per copy column, the first band at the bottom of the picture.
    int rows = 0;
    for (const auto& copy : doc.pages[0].copies) {
      EXPECT_LE(copy.rows, c.bandRows);
      if (copy.rect.left == 0) rows += copy.rows;
    }
    EXPECT_EQ(rows, feed::SAMPLE_IMAGE_HEIGHT);
    EXPECT_EQ(doc.pages[0].copies.front().firstRow, 0);
  }
}

}  // namespace
