// The paper feed detail dialog over a scripted seat: the edits' filter, the range edits and the
// slider moving each other, the sample print it asks for, the value read at opening and the
// Save chain in every launch mode.
#include "feed/paper_feed_detail.h"

#include <gtest/gtest.h>

#include <array>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "programs/seats/trevalo_seats.h"
#include "programs/trevalo/trevalo_tables.h"
#include "shell/tool_app.h"
#include "tests/support/map_options.h"
#include "tests/support/program_world.h"
#include "tests/support/recording_canvas.h"
#include "tests/support/test_app.h"
#include "tests/support/trevalo_pages.h"

namespace {

using feed::PaperFeedDetail;
using shell::LaunchMode;
using ui::Icon;
using Texts = std::vector<std::string>;

class RecordingSamples : public feed::SamplePrinter {
 public:
  void Run(const feed::SampleRunRequest& request, ui::View* parent) override {
    requests.push_back(request);
    parents.push_back(parent);
  }
  std::vector<feed::SampleRunRequest> requests;
  std::vector<ui::View*> parents;
};

struct Write {
  int value;
  std::string valueString;
  int valueKind;
  bool operator==(const Write& o) const {
    return value == o.value && valueString == o.valueString && valueKind == o.valueKind;
  }
};

class ScriptedDetailSeat : public programs::AppSeat<feed::DetailSeat>,
                           private shell::CheckedPrinter {
 public:
  explicit ScriptedDetailSeat(shell::ToolApp& app) : AppSeat(app), app_(app) {}
  LaunchMode Launch() override { return launch; }
  const shell::Texts& GetTexts() override { return app_.GetTexts(); }
  shell::FontCache& Fonts() override { return app_.Fonts(); }
  ui::Answer Message(ui::View* owner, const std::string& text, Icon icon,
                     ui::Buttons buttons) override {
    return app_.Host().MessageBox(owner, text, "T0", icon, buttons);
  }
  shell::ToolOptions& Options() override { return options; }
  bool ChooseFile(ui::View*, const std::string& filter, std::string* chosen) override {
    filters.push_back(filter);
    if (chooseResult) *chosen = chosenFile;
    return chooseResult;
  }
  void OpenManual(int page, int topic) override { manuals.push_back({page, topic}); }
  shell::CheckedPrinter& Printer() override { return *this; }
  bool StillInstalled() override { return installed; }
  bool MatchDeviceId() override { return matches; }
  int WaitUntilReady(bool, ui::View*) override {
    return ready ? printer_link::WAIT_READY : printer_link::WAIT_NOT_READY;
  }
  std::string ReadAdjustValue(const feed::AdjustmentSelection& selection, int kind) override {
    readKinds.push_back(kind);
    EXPECT_EQ(selection.adjustmentKind, feed::ADJUST_PAPER_FEED);
    if (reads.empty()) return std::string();
    std::string text = reads.front();
    reads.pop_front();
    return text;
  }
  int WriteAdjustValue(const feed::AdjustmentSelection&, int value, const std::string& valueString,
                       int kind) override {
    writes.push_back({value, valueString, kind});
    return writeResult;
  }
  void Sleep(uint32_t ms) override { sleeps.push_back(ms); }
  feed::SamplePrinter& Samples() override { return samples; }

  LaunchMode launch = LaunchMode::Normal;
  std::map<std::string, int32_t> numbers;
  std::map<std::string, std::string> strings;
  fakes::MapOptions options{numbers, strings};
  bool chooseResult = false;
  std::string chosenFile;
  std::vector<std::string> filters;
  std::vector<std::pair<int, int>> manuals;
  bool installed = true;
  bool matches = true;
  bool ready = true;
  std::deque<std::string> reads = {"8A80"};  // current 0x8A, reference 0x80: shown as 10
  std::vector<int> readKinds;
  int writeResult = 1;
  std::vector<Write> writes;
  std::vector<uint32_t> sleeps;
  RecordingSamples samples;

 private:
  shell::ToolApp& app_;
};

class PaperFeedDetailTest : public ::testing::Test {
 protected:
  PaperFeedDetailTest() {
    app = std::make_unique<shell::ToolApp>(programs::TrevaloProfile(),
                                           fakes::MakeFakePlatform(&platform));
    fakes::InstallTestSettings(
        *platform.files,
        {0,     310,   312,   318,   320,   330,   20000, 20001, 20002, 20003, 20004, 20005,
         20006, 20007, 20008, 20009, 20010, 20011, 20012, 20090, 20100, 20101, 20102, 20103,
         20104, 20300, 20302, 20305, 20307, 20309, 20311, 20400, 20600, 20601, 120000});
    fakes::DeclareProgramTemplates(*platform.host, "Trevalo");
    seat = std::make_unique<ScriptedDetailSeat>(*app);
    selection.mediaName = "# 12 Plain Paper";
    selection.paperFeedName = "T10200";
    selection.qualityName = "T10203/T10280";
    selection.mediaCode = 12;
    selection.adjustmentKind = feed::ADJUST_PELLAN;  // the dialog sets its own
  }

  void Open() {
    view.reset();
    dialog = std::make_unique<PaperFeedDetail>(*seat, selection);
    view = platform.host->CreateModeless(IDD_PAPER_FEED_DETAIL, nullptr, false, *dialog);
    ASSERT_NE(view, nullptr);
    before = platform.host->messages.size();
  }
  fakes::FakeView& View() { return static_cast<fakes::FakeView&>(*view); }
  std::string Text(int id) { return View().controls[id].text; }
  bool Enabled(int id) { return View().controls[id].enabled; }
  void Type(int id, const std::string& text) { View().Type(id, text); }
  void Leave(int id) { dialog->OnCommand(id, ui::EDIT_LOST_FOCUS); }
  Texts Shown() const {
    Texts texts;
    for (size_t i = before; i < platform.host->messages.size(); ++i) {
      texts.push_back(platform.host->messages[i].text);
    }
    return texts;
  }
  std::vector<Icon> Icons() const {
    std::vector<Icon> icons;
    for (size_t i = before; i < platform.host->messages.size(); ++i) {
      icons.push_back(platform.host->messages[i].icon);
    }
    return icons;
  }
  // Drags a thumb (grabbed at its middle) by dx pixels and lets go.
  void Drag(shell::SliderThumb thumb, int dx) {
    ui::Rect r = dialog->Slider().ThumbRect(thumb);
    int x = (r.left + r.right) / 2;
    int y = (r.top + r.bottom) / 2;
    dialog->OnMouseDown(x, y);
    EXPECT_TRUE(View().mouseCaptured);
    dialog->OnMouseMove(x + dx, y);
    dialog->OnLeftButtonUp();
    EXPECT_FALSE(View().mouseCaptured);
  }

  fakes::TestPlatform platform{};
  std::unique_ptr<shell::ToolApp> app;
  std::unique_ptr<ScriptedDetailSeat> seat;
  feed::AdjustmentSelection selection;
  std::unique_ptr<PaperFeedDetail> dialog;
  std::unique_ptr<ui::View> view;
  size_t before = 0;
};

TEST(FeedEditFilter, TypedTextsAndWhatTheFilterLeaves) {
  struct Case {
    const char* typed;
    int minimum;
    int maximum;
    const char* left;
  } cases[] = {
      {"", -25, 0, ""},
      {"12", -25, 25, "12"},
      {"007", 0, 25, "7"},
      {"1a2", 0, 25, "12"},
      {" 1 0 ", -25, 25, "10"},
      // Clamped into the range.
      {"30", 0, 25, "25"},
      {"-30", -25, 0, "-25"},
      {"5", -25, 0, "0"},
      {"-5", 0, 25, "0"},
      {"99999999999999999999999", -25, 25, "25"},
      {"-99999999999999999999999", -25, 25, "-25"},
      // Minus signs anywhere count; an odd number makes the number negative.
      {"5-", -25, 25, "-5"},
      {"--5", -25, 25, "5"},
      {"-1-2-", -25, 25, "-12"},
      // A lone minus stays where negative values are allowed, and "-0" is kept while typing.
      {"-", -25, 0, "-"},
      {"-", 0, 25, ""},
      {"--", -25, 25, ""},
      {"---", -25, 25, "-"},
      {"-0", -25, 25, "-0"},
      {"-00", -25, 0, "-0"},
      {"-0", 0, 25, "0"},
      {"-0x", -25, 25, "-0"},
      // Double-byte characters go whole: a full-width eight, a full-width minus.
      {"\x82\x57", -25, 25, ""},
      {"1\x81\x7c"
       "5",
       -25, 25, "15"},
      {"\x81\x7c\x82\x57-3", -25, 25, "-3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("\"") + c.typed + "\" in " + std::to_string(c.minimum) + ".." +
                 std::to_string(c.maximum));
    EXPECT_EQ(feed::FilterRangeText(c.typed, c.minimum, c.maximum), c.left);
  }
}

TEST_F(PaperFeedDetailTest, OpensWithTheChoiceTheRangeAndThePrinterValue) {
  Open();
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ(View().title, "T20400");
  EXPECT_EQ(View().windowRect, feed::FEED_DETAIL_WINDOW);
  EXPECT_EQ(Text(IDC_FEED_MEDIA_LABEL), "T20007 : ");
  EXPECT_EQ(Text(IDC_FEED_MEDIA_NAME), "# 12 Plain Paper");
  EXPECT_EQ(Text(IDC_FEED_PAPER_LABEL), "T20090 : ");
  EXPECT_EQ(Text(IDC_FEED_PAPER_NAME), "T10200");
  EXPECT_EQ(Text(IDC_FEED_QUALITY_LABEL), "T20008 : ");
  EXPECT_EQ(Text(IDC_FEED_QUALITY_NAME), "T10203/T10280");
  EXPECT_EQ(Text(IDC_FEED_SAVE), "T20100");
  EXPECT_EQ(Text(IDC_FEED_LOW_EDIT), "-25");
  EXPECT_EQ(Text(IDC_FEED_HIGH_EDIT), "25");
  EXPECT_EQ(Text(IDC_FEED_SAMPLES), "-25, -13,   0,  13,  25");
  EXPECT_EQ(dialog->Slider().Low(), -25);
  EXPECT_EQ(dialog->Slider().High(), 25);
  EXPECT_EQ(View().controls[IDC_FEED_SLIDER_FRAME].rect, feed::FEED_SLIDER_TRACK);
  EXPECT_FALSE(Enabled(IDC_FEED_SAVE));
  EXPECT_EQ(selection.adjustmentKind, feed::ADJUST_PAPER_FEED);
  EXPECT_EQ(Text(IDC_FEED_PRINTER_VALUE), "10");
  EXPECT_EQ(dialog->State().valueString, "80");
  EXPECT_EQ(seat->readKinds, std::vector<int>{0});
  EXPECT_FALSE(View().ended);
  EXPECT_TRUE(platform.host->missingControls.empty());

  // The slider is painted on the dialog.
  fakes::RecordingCanvas canvas;
  dialog->OnPaint(canvas);
  EXPECT_FALSE(canvas.ops.empty());
}

TEST_F(PaperFeedDetailTest, UnreadableValueClosesTheDialogAtOpening) {
  seat->reads = {""};
  PaperFeedDetail modal(*seat, selection);
  EXPECT_EQ(platform.host->RunModal(IDD_PAPER_FEED_DETAIL, nullptr, modal), ui::RESULT_CANCEL);
  EXPECT_EQ(Shown(), Texts{"T318"});
  EXPECT_EQ(Icons(), std::vector<Icon>{Icon::Error});
}

TEST_F(PaperFeedDetailTest, PreviewAndPrinterReadPerLaunchMode) {
  struct Case {
    LaunchMode mode;
    Texts texts;
    size_t reads;
  } cases[] = {
      {LaunchMode::Normal, {}, 1},
      {LaunchMode::P, {}, 0},
      {LaunchMode::U,
       {"T312", "T20300", "T20305", "T20302", "T20307", "T20309", "T20311", "T320"},
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.mode));
    seat->launch = c.mode;
    seat->readKinds.clear();
    size_t first = platform.host->messages.size();
    Open();
    before = first;
    EXPECT_EQ(Shown(), c.texts);
    EXPECT_EQ(seat->readKinds.size(), c.reads);
    EXPECT_EQ(Text(IDC_FEED_PRINTER_VALUE), c.reads ? "10" : "");
  }
  const std::vector<Icon> icons = {Icon::Warning, Icon::Information, Icon::Warning, Icon::Warning,
                                   Icon::Warning, Icon::Warning,     Icon::Warning, Icon::Error};
  EXPECT_EQ(Icons(), icons);
  EXPECT_EQ(platform.host->messages[before + 3].buttons, ui::Buttons::OkCancel);
}

TEST_F(PaperFeedDetailTest, TypingFiltersTheEditsAndPutsBackOnlyWhatChanged) {
  Open();
  Type(IDC_FEED_HIGH_EDIT, "3x0");
  EXPECT_EQ(Text(IDC_FEED_HIGH_EDIT), "25");
  Type(IDC_FEED_LOW_EDIT, "-");
  EXPECT_EQ(Text(IDC_FEED_LOW_EDIT), "-");
  Type(IDC_FEED_HIGH_EDIT, "-");
  EXPECT_EQ(Text(IDC_FEED_HIGH_EDIT), "");
  // Typing alone moves neither the thumbs nor the samples.
  EXPECT_EQ(dialog->Slider().High(), 25);
  EXPECT_EQ(Text(IDC_FEED_SAMPLES), "-25, -13,   0,  13,  25");

  struct Case {
    const char* typed;
    const char* left;
    bool saveEnabled;
  } saves[] = {
      {"", "", false},  {"-", "-", false},    {"-0", "-0", true},
      {"7", "7", true}, {"-40", "-25", true}, {"4a0", "25", true},
  };
  for (const auto& c : saves) {
    SCOPED_TRACE(c.typed);
    Type(IDC_FEED_SAVE_EDIT, c.typed);
    EXPECT_EQ(Text(IDC_FEED_SAVE_EDIT), c.left);
    EXPECT_EQ(Enabled(IDC_FEED_SAVE), c.saveEnabled);
  }
}

TEST_F(PaperFeedDetailTest, LeavingTheValueToSaveWithoutANonZeroNumberSetsZero) {
  const struct {
    const char* typed;
    const char* left;
  } cases[] = {{"", "0"}, {"-", "0"}, {"-0", "0"}, {"-7", "-7"}, {"12", "12"}};
  Open();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    Type(IDC_FEED_SAVE_EDIT, c.typed);
    Leave(IDC_FEED_SAVE_EDIT);
    EXPECT_EQ(Text(IDC_FEED_SAVE_EDIT), c.left);
    EXPECT_TRUE(Enabled(IDC_FEED_SAVE));
  }
}

// One operator action on the range.
struct RangeStep {
  enum Kind { Type, Leave, Enter, DragLow, DragHigh, SliderLow, SliderHigh };
  RangeStep(Kind k, int i = 0, std::string t = "", int a = 0)
      : kind(k), id(i), text(std::move(t)), amount(a) {}
  Kind kind;
  int id;            // the edit typed into, left, or focused for Enter
  std::string text;  // typed
  int amount;        // pixels dragged, or the value a slider message carries
};

TEST_F(PaperFeedDetailTest, RangeEditsAndSliderMoveEachOther) {
  using S = RangeStep;
  const int LOW = IDC_FEED_LOW_EDIT;
  const int HIGH = IDC_FEED_HIGH_EDIT;
  struct Case {
    const char* name;
    std::vector<RangeStep> steps;
    const char* low;
    const char* high;
    int thumbLow;
    int thumbHigh;
    const char* samples;
  } cases[] = {
      {"high typed, then left: the low end keeps the span",
       {{S::Type, LOW, "-5"}, {S::Leave, LOW}, {S::Type, HIGH, "10"}, {S::Leave, HIGH}},
       "-15",
       "10",
       -15,
       10,
       "-15,  -9,  -3,   4,  10"},
      {"low typed, then left: the high end keeps the span",
       {{S::Type, HIGH, "3"}, {S::Leave, HIGH}, {S::Type, LOW, "-20"}, {S::Leave, LOW}},
       "-20",
       "5",
       -20,
       5,
       "-20, -14,  -8,  -1,   5"},
      {"Enter in an edit counts as leaving it",
       {{S::Type, LOW, "-5"}, {S::Enter, LOW}, {S::Type, HIGH, "10"}, {S::Enter, HIGH}},
       "-15",
       "10",
       -15,
       10,
       "-15,  -9,  -3,   4,  10"},
      {"a range already wide enough stays",
       {{S::Type, LOW, "-25"}, {S::Type, HIGH, "0"}, {S::Leave, HIGH}},
       "-25",
       "0",
       -25,
       0,
       "-25, -19, -13,  -6,   0"},
      {"an empty end reads as 0 when left",
       {{S::Type, HIGH, ""}, {S::Leave, HIGH}},
       "-25",
       "0",
       -25,
       0,
       "-25, -19, -13,  -6,   0"},
      {"dragging the low thumb writes its value",
       {{S::DragLow, 0, "", 57}},
       "-13",
       "25",
       -13,
       25,
       "-13,  -4,   6,  16,  25"},
      {"dragging the low thumb into the high one pushes it",
       {{S::DragHigh, 0, "", -114}, {S::DragLow, 0, "", 57}},
       "-13",
       "12",
       -13,
       12,
       "-13,  -7,  -1,   6,  12"},
      {"dragging the high thumb to its stop",
       {{S::DragHigh, 0, "", -500}},
       "-25",
       "0",
       -25,
       0,
       "-25, -19, -13,  -6,   0"},
      {"a slider message fills an empty other end with 0",
       {{S::Type, HIGH, ""}, {S::SliderLow, 0, "", -20}},
       "-20",
       "0",
       -25,
       0,
       "-20, -15, -10,  -5,   0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Open();
    for (const RangeStep& step : c.steps) {
      switch (step.kind) {
        case S::Type:
          Type(step.id, step.text);
          break;
        case S::Leave:
          Leave(step.id);
          break;
        case S::Enter:
          View().focusedControl = step.id;
          EXPECT_TRUE(dialog->OnKeyDown(ui::KEY_RETURN, false));
          break;
        case S::DragLow:
          Drag(shell::SliderThumb::Low, step.amount);
          break;
        case S::DragHigh:
          Drag(shell::SliderThumb::High, step.amount);
          break;
        case S::SliderLow:
        case S::SliderHigh: {
          bool handled = false;
          dialog->OnMessage(
              step.kind == S::SliderLow ? shell::SLIDER_LOW_CHANGED : shell::SLIDER_HIGH_CHANGED, 0,
              step.amount, &handled);
          EXPECT_TRUE(handled);
          break;
        }
      }
    }
    EXPECT_EQ(Text(LOW), c.low);
    EXPECT_EQ(Text(HIGH), c.high);
    EXPECT_EQ(dialog->Slider().Low(), c.thumbLow);
    EXPECT_EQ(dialog->Slider().High(), c.thumbHigh);
    EXPECT_EQ(Text(IDC_FEED_SAMPLES), c.samples);
  }
}

TEST_F(PaperFeedDetailTest, EditNotificationsDuringADragAreIgnored) {
  Open();
  ui::Rect r = dialog->Slider().ThumbRect(shell::SliderThumb::Low);
  dialog->OnMouseDown(r.left + 1, r.top + 1);
  ASSERT_TRUE(dialog->Slider().IsDragging());
  Type(IDC_FEED_LOW_EDIT, "abc");
  EXPECT_EQ(Text(IDC_FEED_LOW_EDIT), "abc");
  dialog->OnLeftButtonUp();
  Type(IDC_FEED_LOW_EDIT, "abc");
  EXPECT_EQ(Text(IDC_FEED_LOW_EDIT), "");
}

TEST_F(PaperFeedDetailTest, EnterAndEscapeRules) {
  Open();
  const struct {
    int focused;
    int key;
    bool swallowed;
  } cases[] = {
      {IDC_FEED_SAVE_EDIT, ui::KEY_RETURN, true},
      {IDC_FEED_STANDARD_IMAGE, ui::KEY_RETURN, true},
      {IDC_FEED_USER_IMAGE, ui::KEY_RETURN, true},
      {IDC_FEED_SAVE, ui::KEY_RETURN, false},
      {IDC_FEED_SAMPLE_PRINT, ui::KEY_RETURN, false},
      {IDC_FEED_SAVE_EDIT, ui::KEY_ESCAPE, true},
      {IDC_FEED_SAVE, ui::KEY_ESCAPE, true},
      {IDC_FEED_SAVE_EDIT, ui::KEY_TAB, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.focused) + " key " + std::to_string(c.key));
    View().focusedControl = c.focused;
    EXPECT_EQ(dialog->OnKeyDown(c.key, false), c.swallowed);
  }
  EXPECT_FALSE(View().ended);
  View().Click(IDC_HELP_BUTTON);
  EXPECT_EQ(seat->manuals, (std::vector<std::pair<int, int>>{{4, 0}}));
  View().Click(ui::ID_CANCEL);
  EXPECT_TRUE(View().ended);
  EXPECT_EQ(View().result, ui::RESULT_CANCEL);
}

TEST_F(PaperFeedDetailTest, ImageRadiosAndBrowseKeepTheirRegistryValues) {
  seat->numbers[feed::SAMPLE_FEEDING_RADIO] = IDC_FEED_USER_IMAGE;
  seat->strings[feed::SAMPLE_FEEDING_PATH] = "D:\\Pictures\\Old.bmp";
  Open();
  EXPECT_TRUE(View().controls[IDC_FEED_USER_IMAGE].checked);
  EXPECT_FALSE(View().controls[IDC_FEED_STANDARD_IMAGE].checked);
  EXPECT_TRUE(Enabled(IDC_FEED_BROWSE));
  EXPECT_TRUE(Enabled(IDC_FEED_IMAGE_NAME));
  EXPECT_EQ(Text(IDC_FEED_IMAGE_NAME), "Old.bmp");

  View().Click(IDC_FEED_STANDARD_IMAGE);
  EXPECT_EQ(seat->numbers[feed::SAMPLE_FEEDING_RADIO], IDC_FEED_STANDARD_IMAGE);
  EXPECT_FALSE(Enabled(IDC_FEED_BROWSE));
  EXPECT_FALSE(Enabled(IDC_FEED_IMAGE_NAME));

  View().Click(IDC_FEED_USER_IMAGE);
  seat->chooseResult = false;
  View().Click(IDC_FEED_BROWSE);
  EXPECT_EQ(seat->strings[feed::SAMPLE_FEEDING_PATH], "D:\\Pictures\\Old.bmp");
  seat->chooseResult = true;
  seat->chosenFile = "E:\\Samples\\Strip.BMP";
  View().Click(IDC_FEED_BROWSE);
  EXPECT_EQ(seat->filters.back(), "Bitmap File(*.BMP)|*.BMP||");
  EXPECT_EQ(seat->strings[feed::SAMPLE_FEEDING_PATH], "E:\\Samples\\Strip.BMP");
  EXPECT_EQ(Text(IDC_FEED_IMAGE_NAME), "Strip.BMP");
  EXPECT_EQ(seat->numbers[feed::SAMPLE_FEEDING_RADIO], IDC_FEED_USER_IMAGE);
}

TEST_F(PaperFeedDetailTest, SamplePrintAsksForTheShownSamplesAgainstThePrinterValue) {
  seat->strings[feed::SAMPLE_FEEDING_PATH] = "D:\\Pictures\\Mine.bmp";
  Open();
  Type(IDC_FEED_LOW_EDIT, "-5");
  Leave(IDC_FEED_LOW_EDIT);
  // Still typing in the high end when the button is pressed: that end counts as left.
  Type(IDC_FEED_HIGH_EDIT, "22");
  View().focusedControl = IDC_FEED_HIGH_EDIT;
  View().Click(IDC_FEED_SAMPLE_PRINT);

  ASSERT_EQ(seat->samples.requests.size(), 1u);
  const feed::SampleRunRequest& r = seat->samples.requests[0];
  EXPECT_EQ(seat->samples.parents[0], view.get());
  EXPECT_EQ(Text(IDC_FEED_SAMPLES), " -5,   1,   8,  15,  22");
  Texts captions;
  std::vector<int> corrections;
  for (const feed::SampleJob& job : r.samples) {
    captions.push_back(job.caption);
    corrections.push_back(job.feedCorrection);
    EXPECT_TRUE(job.setsFeedCorrection);
  }
  EXPECT_EQ(captions, (Texts{"T120000=-5", "T120000=1", "T120000=8", "T120000=15", "T120000=22"}));
  // The printer holds 10: each sample is fed that much less or more.
  EXPECT_EQ(corrections, (std::vector<int>{-15, -9, -2, 5, 12}));
  EXPECT_EQ(r.labelTexts, (std::array<int, 3>{20007, 20090, 20008}));
  EXPECT_TRUE(r.readyInEveryLaunchMode);
  EXPECT_FALSE(r.waitsOnRoll);
  EXPECT_FALSE(r.applySetting);
  EXPECT_FALSE(r.userImage);
  EXPECT_EQ(r.userImagePath, "D:\\Pictures\\Mine.bmp");
  EXPECT_EQ(r.selection.mediaCode, 12);
  EXPECT_EQ(r.selection.adjustmentKind, feed::ADJUST_PAPER_FEED);

  // Without a value read (launch mode P) the samples are the corrections themselves.
  seat->launch = LaunchMode::P;
  Open();
  View().Click(IDC_FEED_USER_IMAGE);
  View().Click(IDC_FEED_SAMPLE_PRINT);
  const feed::SampleRunRequest& p = seat->samples.requests.back();
  EXPECT_TRUE(p.userImage);
  std::vector<int> pCorrections;
  for (const feed::SampleJob& job : p.samples) pCorrections.push_back(job.feedCorrection);
  EXPECT_EQ(pCorrections, (std::vector<int>{-25, -13, 0, 13, 25}));
}

TEST_F(PaperFeedDetailTest, SaveChain) {
  struct Case {
    const char* name;
    bool installed;
    bool ready;
    bool matches;
    int writeResult;
    const char* typed;
    std::deque<std::string> readBack;
    Texts texts;
    std::vector<Icon> icons;
    std::vector<Write> writes;
    const char* printerValue;
  } cases[] = {
      {"printer verifies",
       true,
       true,
       true,
       1,
       "-3",
       {"7D80"},
       {"T20302", "T20300"},
       {Icon::Question, Icon::Information},
       {{-3, "80", 0}},
       "-3"},
      {"printer verifies a saved 0",
       true,
       true,
       true,
       1,
       "0",
       {"8080"},
       {"T20302", "T20300"},
       {Icon::Question, Icon::Information},
       {{0, "80", 0}},
       "0"},
      {"printer ignores the write",
       true,
       true,
       true,
       1,
       "5",
       {"8A80"},
       {"T20302", "T20305"},
       {Icon::Question, Icon::Warning},
       {{5, "80", 0}},
       "10"},
      {"printer answers empty",
       true,
       true,
       true,
       1,
       "5",
       {""},
       {"T20302", "T20305"},
       {Icon::Question, Icon::Warning},
       {{5, "80", 0}},
       "10"},
      {"empty read-back does not verify a saved 0",
       true,
       true,
       true,
       1,
       "0",
       {""},
       {"T20302", "T20305"},
       {Icon::Question, Icon::Warning},
       {{0, "80", 0}},
       "10"},
      {"no selector",
       true,
       true,
       true,
       0,
       "5",
       {},
       {"T20302", "T20305"},
       {Icon::Question, Icon::Warning},
       {{5, "80", 0}},
       "10"},
      // Every failed check ends the save: nothing is written.
      {"printer gone",
       false,
       true,
       true,
       1,
       "5",
       {},
       {"T20302", "T330"},
       {Icon::Question, Icon::Error},
       {},
       "10"},
      {"not ready",
       true,
       false,
       true,
       1,
       "5",
       {},
       {"T20302", "T312"},
       {Icon::Question, Icon::Warning},
       {},
       "10"},
      {"not ready, other model",
       true,
       false,
       false,
       1,
       "5",
       {},
       {"T20302", "T310"},
       {Icon::Question, Icon::Error},
       {},
       "10"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    seat->reads = {"8A80"};
    Open();
    seat->installed = c.installed;
    seat->ready = c.ready;
    seat->matches = c.matches;
    seat->writeResult = c.writeResult;
    seat->reads = c.readBack;
    seat->writes.clear();
    seat->sleeps.clear();
    Type(IDC_FEED_SAVE_EDIT, c.typed);
    View().Click(IDC_FEED_SAVE);
    EXPECT_EQ(Shown(), c.texts);
    EXPECT_EQ(Icons(), c.icons);
    EXPECT_EQ(seat->writes, c.writes);
    bool readBack = !c.writes.empty() && c.writeResult == 1;
    EXPECT_EQ(seat->sleeps, readBack ? std::vector<uint32_t>{1000} : std::vector<uint32_t>{});
    EXPECT_EQ(Text(IDC_FEED_PRINTER_VALUE), c.printerValue);
    EXPECT_EQ(platform.host->messages[before].buttons, ui::Buttons::OkCancel);
  }
}

TEST_F(PaperFeedDetailTest, SaveOutsideNormalOnlyAsks) {
  for (LaunchMode mode : {LaunchMode::P, LaunchMode::U}) {
    SCOPED_TRACE(static_cast<int>(mode));
    seat->launch = mode;
    seat->installed = false;
    Open();
    Type(IDC_FEED_SAVE_EDIT, "4");
    View().Click(IDC_FEED_SAVE);
    EXPECT_EQ(Shown(), Texts{"T20302"});
    EXPECT_TRUE(seat->writes.empty());
    EXPECT_TRUE(seat->readKinds.empty());
  }
}

TEST_F(PaperFeedDetailTest, CancelledConfirmationWritesNothing) {
  Open();
  Type(IDC_FEED_SAVE_EDIT, "4");
  platform.host->answers = {ui::Answer::Cancel};
  View().Click(IDC_FEED_SAVE);
  EXPECT_EQ(Shown(), Texts{"T20302"});
  EXPECT_TRUE(seat->writes.empty());
}

// The dialog as the program opens it, reading and writing the simulated printer's value.
TEST(PaperFeedDetailInTrevalo, SaveIsVerifiedByThePrinter) {
  const std::vector<uint8_t> selector = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
  fakes::ProgramWorld world(programs::TrevaloProfile());
  world.fake.files->Put(fakes::SettingsPath("PaperSet.ini"),
                        "12,05=0102030405060708090A0B0C0D\r\n");
  world.printer.SetAdjustmentValue(selector, 0x8A, 0x80);
  world.fake.files->files[fakes::SettingsPath("Localize.ini")] +=
      "00020300=T20300\r\n00020302=T20302\r\n";
  RecordingSamples samples;
  feed::AdjustmentSelection selection;
  selection.mediaCode = 12;
  selection.paperFeed = feed::PAPER_FEED_ROLL;
  selection.qualityPosition = 0;
  std::string shownAtOpening;
  int result = 0;
  bool ran =
      fakes::RunTrevaloOnPage(world, 1, false, [&](fakes::FakeView&, shell::MainWindow& frame) {
        world.fake.host->messages.clear();  // the page's own, without a driver to ask
        programs::AppDetailSeat details(*world.app, frame, samples);
        programs::AppAdjustmentSeat seat(*world.app, details);
        world.fake.host->modalScripts[IDD_PAPER_FEED_DETAIL] = [&](fakes::FakeView& dialog) {
          shownAtOpening = dialog.ControlText(IDC_FEED_PRINTER_VALUE);
          dialog.Type(IDC_FEED_SAVE_EDIT, "-4");
          dialog.Click(IDC_FEED_SAVE);
          EXPECT_EQ(dialog.ControlText(IDC_FEED_PRINTER_VALUE), "-4");
          dialog.Click(ui::ID_CANCEL);
        };
        result = seat.RunDetail(feed::ADJUST_PAPER_FEED, selection, frame.Window());
      });
  ASSERT_TRUE(ran);
  EXPECT_EQ(shownAtOpening, "10");
  EXPECT_EQ(result, ui::RESULT_CANCEL);
  EXPECT_EQ(world.printer.AdjustmentValue(selector), "7C80");
  EXPECT_EQ(world.MessageTexts(), (Texts{"T20302", "T20300"}));
  EXPECT_TRUE(world.fake.host->missingControls.empty());
}

}  // namespace
