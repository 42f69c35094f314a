// The pellan detail dialog over a scripted seat: modes and their labels and samples, the values
// read at opening, the Save chain against printers that verify, ignore writes or answer a
// foreign code, and the values put back after every sample print however it ended.
#include "feed/pellan_detail.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "feed/adjustment_page.h"
#include "programs/seats/trevalo_seats.h"
#include "programs/trevalo/trevalo_tables.h"
#include "shell/main_window.h"
#include "shell/tool_app.h"
#include "tests/support/map_options.h"
#include "tests/support/program_world.h"
#include "tests/support/test_app.h"
#include "tests/support/trevalo_pages.h"

namespace {

using shell::LaunchMode;
using ui::Icon;
using Texts = std::vector<std::string>;
using Events = std::vector<std::string>;

const std::vector<int> PELLAN_TEXTS = {
    0,     310,   312,   318,   320,   330,   20300, 20302, 20305, 20307, 20309, 20311,
    20313, 20314, 20315, 20316, 30000, 30001, 30002, 30003, 30004, 30005, 30006, 30007,
    30009, 30017, 30018, 30019, 30020, 30021, 30022, 30023, 30024, 30025, 30026, 30080,
    30100, 30101, 30102, 30103, 30104, 30300, 30400, 30600, 30601, 120001};

// The sample print: hands each sample to applySetting until `applied` of them (all when
// negative) went through, as a run that a Cancel or a failed job ends would.
class ScriptedSamples : public feed::SamplePrinter {
 public:
  explicit ScriptedSamples(Events& events) : events_(events) {}
  void Run(const feed::SampleRunRequest& request, ui::View* parent) override {
    events_.push_back("run");
    last = request;
    parentWindow = parent;
    size_t count = applied < 0 ? request.samples.size() : static_cast<size_t>(applied);
    for (size_t i = 0; i < count && i < request.samples.size(); ++i) {
      if (!request.applySetting(i)) break;
    }
    events_.push_back("end");
  }
  int applied = -1;
  feed::SampleRunRequest last;
  ui::View* parentWindow = nullptr;

 private:
  Events& events_;
};

// A seat whose printer holds the two pellan values as value texts and logs every read, write
// and wait in order.
class ScriptedDetailSeat : public programs::AppSeat<feed::DetailSeat>,
                           private shell::CheckedPrinter {
 public:
  explicit ScriptedDetailSeat(shell::ToolApp& app) : AppSeat(app), samples(events), app_(app) {}

  LaunchMode Launch() override { return launch; }
  const shell::Texts& GetTexts() override { return app_.GetTexts(); }
  shell::FontCache& Fonts() override { return app_.Fonts(); }
  ui::Answer Message(ui::View* owner, const std::string& text, Icon icon,
                     ui::Buttons buttons) override {
    return app_.Host().MessageBox(owner, text, "T0", icon, buttons);
  }
  shell::ToolOptions& Options() override { return options; }
  bool ChooseFile(ui::View*, const std::string& f, std::string* chosen) override {
    filter = f;
    if (chosenFile.empty()) return false;
    *chosen = chosenFile;
    return true;
  }
  void OpenManual(int page, int topic) override { manuals.push_back({page, topic}); }
  shell::CheckedPrinter& Printer() override { return *this; }
  bool StillInstalled() override {
    events.push_back("installed?");
    return installed;
  }
  bool MatchDeviceId() override {
    events.push_back("match?");
    return matches;
  }
  int WaitUntilReady(bool, ui::View*) override {
    events.push_back("ready?");
    return ready ? printer_link::WAIT_READY : printer_link::WAIT_NOT_READY;
  }
  std::string ReadAdjustValue(const feed::AdjustmentSelection& s, int kind) override {
    EXPECT_EQ(s.adjustmentKind, feed::ADJUST_PELLAN);
    events.push_back("read " + std::to_string(kind));
    if (noSelector.count(kind)) return "";
    return values[kind];
  }
  int WriteAdjustValue(const feed::AdjustmentSelection& s, int value, const std::string& text,
                       int kind) override {
    EXPECT_EQ(s.adjustmentKind, feed::ADJUST_PELLAN);
    EXPECT_EQ(text, "00");
    if (noSelector.count(kind)) {
      events.push_back("no selector " + std::to_string(kind));
      return 0;
    }
    events.push_back("write " + std::to_string(kind) + "=" + std::to_string(value));
    auto after = afterWrite.find(kind);
    if (after != afterWrite.end()) {
      values[kind] = after->second;
    } else if (!ignoresWrites.count(kind)) {
      char current[3];
      std::snprintf(current, sizeof current, "%02X", value & 0xFF);
      values[kind] = current + values[kind].substr(2);
    }
    return 1;
  }
  void Sleep(uint32_t ms) override { events.push_back("sleep " + std::to_string(ms)); }
  feed::SamplePrinter& Samples() override { return samples; }

  LaunchMode launch = LaunchMode::Normal;
  std::map<int, std::string> values = {{0, "0000"}, {1, "8000"}};
  std::set<int> noSelector;
  std::set<int> ignoresWrites;
  std::map<int, std::string> afterWrite;  // what the printer holds after any write of a kind
  bool installed = true;
  bool matches = true;
  bool ready = true;
  std::map<std::string, int32_t> numbers;
  std::map<std::string, std::string> strings;
  fakes::MapOptions options{numbers, strings};
  std::string chosenFile;
  std::string filter;
  std::vector<std::pair<int, int>> manuals;
  Events events;
  ScriptedSamples samples;

 private:
  shell::ToolApp& app_;
};

// Selections of each mode: ink class and print quality position.
struct ModeSelection {
  int inkClass;
  int position;
};
constexpr ModeSelection MODE_SELECTIONS[feed::PELLAN_MODE_COUNT] = {{feed::INK_CLASS_FOUR, 2},
                                                                    {feed::INK_CLASS_FOUR, 3},
                                                                    {feed::INK_CLASS_FOUR, 5},
                                                                    {feed::INK_CLASS_EIGHT, 3},
                                                                    {feed::INK_CLASS_EIGHT, 4}};

class PellanDetailTest : public ::testing::Test {
 protected:
  PellanDetailTest() {
    app = std::make_unique<shell::ToolApp>(programs::TrevaloProfile(),
                                           fakes::MakeFakePlatform(&platform));
    fakes::InstallTestSettings(*platform.files, PELLAN_TEXTS);
    fakes::DeclareProgramTemplates(*platform.host, "Trevalo");
    seat = std::make_unique<ScriptedDetailSeat>(*app);
  }

  // Opens the dialog for a mode; script acts while it is open.
  int Open(int mode, std::function<void(fakes::FakeView&)> script = nullptr) {
    selection = feed::AdjustmentSelection{};
    selection.mediaName = "# 7 Film";
    selection.paperFeedName = "T10200";
    selection.qualityName = "Fine";
    selection.mediaCode = 7;
    selection.inkClass = MODE_SELECTIONS[mode].inkClass;
    selection.qualityPosition = MODE_SELECTIONS[mode].position;
    dialog = std::make_unique<feed::PellanDetail>(*seat, selection);
    platform.host->modalScripts[IDD_PELLAN_DETAIL] = [this, script](fakes::FakeView& view) {
      opened = true;
      view.handler.OnCommand(IDC_PELLAN_MODE_LIST, 0);  // not a selection change
      if (script) script(view);
    };
    opened = false;
    return platform.host->RunModal(IDD_PELLAN_DETAIL, nullptr, *dialog);
  }
  Texts Shown() const {
    Texts texts;
    for (const fakes::ShownMessage& m : platform.host->messages) texts.push_back(m.text);
    return texts;
  }
  std::vector<Icon> Icons() const {
    std::vector<Icon> icons;
    for (const fakes::ShownMessage& m : platform.host->messages) icons.push_back(m.icon);
    return icons;
  }
  void Forget() {
    platform.host->messages.clear();
    seat->events.clear();
  }
  static Texts Items(fakes::FakeView& view, int id) {
    Texts items;
    for (const auto& item : view.controls[id].items) items.push_back(item.first);
    return items;
  }
  static std::vector<intptr_t> Data(fakes::FakeView& view, int id) {
    std::vector<intptr_t> data;
    for (const auto& item : view.controls[id].items) data.push_back(item.second);
    return data;
  }
  static void Tick(fakes::FakeView& view, int box, bool ticked) {
    view.SetChecked(box, ticked);
    view.Click(box);
  }

  fakes::TestPlatform platform{};
  std::unique_ptr<shell::ToolApp> app;
  std::unique_ptr<ScriptedDetailSeat> seat;
  feed::AdjustmentSelection selection;
  std::unique_ptr<feed::PellanDetail> dialog;
  bool opened = false;
};

// Labels of the three print modes and their pattern texts, per mode.
struct ModeLook {
  Texts labels;
  Texts patterns;
  bool dotShift;
};
const ModeLook MODE_LOOKS[feed::PELLAN_MODE_COUNT] = {
    {{"T30020T30009 1", "T30021T30023", "T30022T30009 2"}, {"T30017", "T30017", "T30017"}, false},
    {{"T30020T30009 1", "T30021T30023", "T30022T30009 2"}, {"T30019", "T30017", "T30019"}, true},
    {{"T30020T30009", "T30021T30023 1", "T30022T30023 2"}, {"T30017", "T30017", "T30017"}, false},
    {{"T30020T30009 1", "T30021T30023", "T30022T30009 2"}, {"T30018", "T30017", "T30019"}, true},
    {{"T30020T30023 1", "T30021T30009", "T30022T30023 2"}, {"T30017", "T30017", "T30017"}, false},
};

TEST(PellanModes, FromInkClassAndPrintQualityPosition) {
  const int four[] = {-1, 0, 0, 1, 2, 2};  // positions 0 to 5
  const int eight[] = {-1, -1, -1, 3, 4, 4};
  for (int position = 0; position < 6; ++position) {
    SCOPED_TRACE(position);
    EXPECT_EQ(feed::PellanMode(feed::INK_CLASS_FOUR, position), four[position]);
    EXPECT_EQ(feed::PellanMode(feed::INK_CLASS_EIGHT, position), eight[position]);
  }
  EXPECT_EQ(feed::PellanMode(feed::INK_CLASS_FOUR, 6), feed::NO_PELLAN_MODE);
  EXPECT_EQ(feed::PellanMode(0, 3), feed::NO_PELLAN_MODE);
}

TEST_F(PellanDetailTest, LabelsPatternsAndListsOfEveryMode) {
  for (int mode = 0; mode < feed::PELLAN_MODE_COUNT; ++mode) {
    SCOPED_TRACE(mode);
    const ModeLook& look = MODE_LOOKS[mode];
    seat->values = {{0, "1000"}, {1, "7E00"}};
    Forget();
    Open(mode, [&](fakes::FakeView& view) {
      EXPECT_EQ(view.title, "T30400");
      EXPECT_EQ(view.windowRect, (ui::Rect{0, 0, 616, 493}));
      EXPECT_EQ(view.controls[IDC_PELLAN_MEDIA_LABEL].text, "T30000 : ");
      EXPECT_EQ(view.controls[IDC_PELLAN_FEED_LABEL].text, "T30080 : ");
      EXPECT_EQ(view.controls[IDC_PELLAN_QUALITY_LABEL].text, "T30001 : ");
      EXPECT_EQ(view.controls[IDC_PELLAN_MEDIA_NAME].text, "# 7 Film");
      EXPECT_EQ(view.controls[IDC_PELLAN_QUALITY_NAME].text, "Fine");
      const int boxes[] = {IDC_PELLAN_SAMPLE_FIRST, IDC_PELLAN_SAMPLE_SECOND,
                           IDC_PELLAN_SAMPLE_THIRD};
      const int patterns[] = {IDC_PELLAN_PATTERN_FIRST, IDC_PELLAN_PATTERN_SECOND,
                              IDC_PELLAN_PATTERN_THIRD};
      for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(view.controls[boxes[i]].text, look.labels[i]);
        EXPECT_TRUE(view.controls[boxes[i]].checked);
        EXPECT_EQ(view.controls[patterns[i]].text, look.patterns[i]);
      }
      EXPECT_EQ(Items(view, IDC_PELLAN_MODE_LIST), look.labels);
      EXPECT_EQ(Data(view, IDC_PELLAN_MODE_LIST), (std::vector<intptr_t>{0x00, 0x10, 0x20}));
      EXPECT_EQ(view.controls[IDC_PELLAN_MODE_LIST].selection, 0);
      // The value read at opening: code 0x10, and shift 126 - 128.
      EXPECT_EQ(view.controls[IDC_PELLAN_CURRENT_MODE].text, look.labels[1]);
      EXPECT_EQ(view.controls[IDC_PELLAN_CURRENT_SHIFT].text, look.dotShift ? "-2" : "");
      for (int id : {IDC_PELLAN_CURRENT_SHIFT, IDC_PELLAN_SHIFT_LABEL, IDC_PELLAN_SHIFT_LIST}) {
        EXPECT_EQ(view.controls[id].enabled, look.dotShift) << id;
      }
      EXPECT_TRUE(view.controls[IDC_PELLAN_SAMPLE_PRINT].enabled);
    });
    EXPECT_TRUE(opened);
    EXPECT_EQ(selection.adjustmentKind, feed::ADJUST_PELLAN);
    EXPECT_EQ(seat->events, look.dotShift ? (Events{"read 0", "read 1"}) : (Events{"read 0"}));
    EXPECT_TRUE(Shown().empty());
  }
  EXPECT_TRUE(platform.host->missingControls.empty());
}

TEST_F(PellanDetailTest, DotShiftListFollowsThePrintMode) {
  struct Case {
    int mode;
    int printMode;
    Texts shifts;
    std::vector<intptr_t> data;
  } cases[] = {
      {1, 0, {"-4", "-2", " 0", " 2", " 4"}, {124, 126, 128, 130, 132}},
      {1, 1, {" 0"}, {128}},
      {3, 0, {"-2", " 0", " 2"}, {126, 128, 130}},
      {3, 2, {"-4", "-2", " 0", " 2", " 4"}, {124, 126, 128, 130, 132}},
      {4, 2, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode * 10 + c.printMode);
    Open(c.mode, [&](fakes::FakeView& view) {
      // Away and back, so that the list is refilled from a selection that moved on.
      view.ChooseComboEntry(IDC_PELLAN_MODE_LIST, c.printMode == 1 ? 2 : 1,
                            ui::COMBO_SELECTION_CHANGED);
      view.ChooseComboEntry(IDC_PELLAN_SHIFT_LIST, 0, ui::COMBO_SELECTION_CHANGED);
      view.ChooseComboEntry(IDC_PELLAN_MODE_LIST, c.printMode, ui::COMBO_SELECTION_CHANGED);
      EXPECT_EQ(Items(view, IDC_PELLAN_SHIFT_LIST), c.shifts);
      EXPECT_EQ(Data(view, IDC_PELLAN_SHIFT_LIST), c.data);
      EXPECT_EQ(view.controls[IDC_PELLAN_SHIFT_LIST].selection, c.shifts.empty() ? -1 : 0);
    });
  }
}

// The samples each mode prints for every choice of boxes, with their captions and what each
// writes before its job.
TEST_F(PellanDetailTest, SampleListsForEveryModeAndBoxes) {
  // Per mode and print mode: the samples as "code/shift" ("code" without dot shift).
  const std::vector<Texts> perPrintMode[feed::PELLAN_MODE_COUNT] = {
      {{"0"}, {"16"}, {"32"}},
      {{"0/-4", "0/-2", "0/0", "0/2", "0/4"}, {"16/0"}, {"32/-4", "32/-2", "32/0", "32/2", "32/4"}},
      {{"0"}, {"16"}, {"32"}},
      {{"0/-2", "0/0", "0/2"}, {"16/0"}, {"32/-4", "32/-2", "32/0", "32/2", "32/4"}},
      {{"0"}, {"16"}, {"32"}},
  };
  const int boxes[] = {IDC_PELLAN_SAMPLE_FIRST, IDC_PELLAN_SAMPLE_SECOND, IDC_PELLAN_SAMPLE_THIRD};
  for (int mode = 0; mode < feed::PELLAN_MODE_COUNT; ++mode) {
    const ModeLook& look = MODE_LOOKS[mode];
    for (int mask = 1; mask < 8; ++mask) {
      SCOPED_TRACE(std::to_string(mode) + " boxes " + std::to_string(mask));
      Texts expected, captions;
      for (int i = 0; i < 3; ++i) {
        if (!(mask & (1 << i))) continue;
        for (const std::string& s : perPrintMode[mode][i]) {
          expected.push_back(s);
          size_t slash = s.find('/');
          captions.push_back("T120001=" + look.labels[i] +
                             (slash == std::string::npos ? "" : ", T30007=" + s.substr(slash + 1)));
        }
      }
      seat->samples.applied = -1;
      Open(mode, [&](fakes::FakeView& view) {
        for (int i = 0; i < 3; ++i) Tick(view, boxes[i], (mask & (1 << i)) != 0);
        Forget();
        view.Click(IDC_PELLAN_SAMPLE_PRINT);
      });
      const feed::SampleRunRequest& run = seat->samples.last;
      Texts shown;
      for (const feed::SampleJob& job : run.samples) {
        shown.push_back(job.caption);
        EXPECT_FALSE(job.setsFeedCorrection);
      }
      EXPECT_EQ(shown, captions);
      // What the run wrote for each sample, from the writes between "run" and "end".
      Texts written;
      for (const std::string& e : seat->events) {
        if (e.rfind("write 0=", 0) == 0) written.push_back(e.substr(8));
        if (e.rfind("write 1=", 0) == 0 && !written.empty())
          written.back() += "/" + std::to_string(std::stoi(e.substr(8)) - 128);
        if (e == "end") break;
      }
      EXPECT_EQ(written, expected);
    }
  }
}

TEST_F(PellanDetailTest, TheRunGetsTheSelectionPictureAndPellanRules) {
  seat->numbers["SamplePellanR"] = IDC_PELLAN_USER_IMAGE;
  seat->strings["SamplePellan"] = "D:\\Pictures\\Mine.bmp";
  Open(3, [&](fakes::FakeView& view) {
    Tick(view, IDC_PELLAN_SAMPLE_SECOND, false);
    Tick(view, IDC_PELLAN_SAMPLE_THIRD, false);
    Forget();
    view.Click(IDC_PELLAN_SAMPLE_PRINT);
    EXPECT_EQ(seat->samples.parentWindow, &view);
  });
  const feed::SampleRunRequest& run = seat->samples.last;
  EXPECT_EQ(run.selection.mediaCode, 7);
  EXPECT_EQ(run.selection.adjustmentKind, feed::ADJUST_PELLAN);
  EXPECT_TRUE(run.userImage);
  EXPECT_EQ(run.userImagePath, "D:\\Pictures\\Mine.bmp");
  EXPECT_EQ(run.labelTexts, (std::array<int, 3>{30000, 30080, 30001}));
  EXPECT_FALSE(run.readyInEveryLaunchMode);
  EXPECT_TRUE(run.waitsOnRoll);
  // Mode 3, first print mode: -2, 0, +2, each code then shift a second later; then the values
  // read at opening go back.
  EXPECT_EQ(seat->events, (Events{"run", "write 0=0", "sleep 1000", "write 1=126", "write 0=0",
                                  "sleep 1000", "write 1=128", "write 0=0", "sleep 1000",
                                  "write 1=130", "end", "write 0=0", "sleep 1000", "write 1=128"}));
  EXPECT_TRUE(Shown().empty());
}

TEST_F(PellanDetailTest, ValuesGoBackHoweverTheRunEnds) {
  struct Case {
    const char* name;
    int mode;
    int applied;  // samples the run got through; -1 all
    std::set<int> noSelector;
    Events after;  // events after "end"
    Texts texts;
  } cases[] = {
      {"completed, dot shift", 1, -1, {}, {"write 0=16", "sleep 1000", "write 1=130"}, {}},
      {"completed", 2, -1, {}, {"write 0=16"}, {}},
      // A Cancel or a failed job ends the run after two samples: the values still go back.
      {"cancelled or failed, dot shift", 1, 2, {}, {"write 0=16", "sleep 1000", "write 1=130"}, {}},
      {"cancelled or failed", 4, 2, {}, {"write 0=16"}, {}},
      // Ended before any sample changed the printer: nothing to put back.
      {"ended before the first sample", 3, 0, {}, {}, {}},
      {"no selector for the print mode", 3, -1, {0}, {}, {"T20311"}},
      // The print mode changed but the dot shift could not: both are written back, and the
      // one that cannot be is reported.
      {"no selector for the dot shift",
       3,
       -1,
       {1},
       {"write 0=16", "sleep 1000", "no selector 1"},
       {"T20311", "T20311"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    seat->values = {{0, "1000"}, {1, "8200"}};
    seat->noSelector.clear();
    seat->samples.applied = c.applied;
    Open(c.mode, [&](fakes::FakeView& view) {
      seat->noSelector = c.noSelector;
      Forget();
      view.Click(IDC_PELLAN_SAMPLE_PRINT);
    });
    Events after(std::find(seat->events.begin(), seat->events.end(), "end") + 1,
                 seat->events.end());
    EXPECT_EQ(after, c.after);
    EXPECT_EQ(Shown(), c.texts);
    for (Icon icon : Icons()) EXPECT_EQ(icon, Icon::Warning);
  }
}

TEST_F(PellanDetailTest, OpeningClosesWhenTheValuesCannotBeRead) {
  struct Case {
    const char* name;
    int mode;
    std::map<int, std::string> values;
    std::set<int> noSelector;
    Events events;
    const char* text;
  } cases[] = {
      {"print mode unreadable", 3, {{0, ""}, {1, "8000"}}, {}, {"read 0"}, "T318"},
      {"no selector", 4, {}, {0}, {"read 0"}, "T318"},
      {"foreign print mode code", 3, {{0, "3000"}, {1, "8000"}}, {}, {"read 0"}, "T30300"},
      {"dot shift unreadable", 1, {{0, "2000"}, {1, ""}}, {}, {"read 0", "read 1"}, "T318"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    seat->values = c.values;
    seat->noSelector = c.noSelector;
    Forget();
    EXPECT_EQ(Open(c.mode), ui::RESULT_CANCEL);
    EXPECT_FALSE(opened);
    EXPECT_EQ(seat->events, c.events);
    EXPECT_EQ(Shown(), Texts{c.text});
    EXPECT_EQ(Icons(), std::vector<Icon>{Icon::Error});
  }
}

TEST_F(PellanDetailTest, LaunchModeUPreviewsItsMessages) {
  seat->launch = LaunchMode::U;
  Open(0);
  EXPECT_TRUE(opened);
  EXPECT_EQ(Shown(), (Texts{"T312", "T20300", "T20305", "T20302", "T20307", "T20309", "T20311",
                            "T20313\nT20314\nT20315\nT20316", "T320"}));
  EXPECT_EQ(Icons(), (std::vector<Icon>{Icon::Warning, Icon::Information, Icon::Warning,
                                        Icon::Warning, Icon::Warning, Icon::Warning, Icon::Warning,
                                        Icon::Warning, Icon::Error}));
  std::vector<ui::Buttons> buttons;
  for (const fakes::ShownMessage& m : platform.host->messages) buttons.push_back(m.buttons);
  EXPECT_EQ(buttons[3], ui::Buttons::OkCancel);
  EXPECT_EQ(buttons[7], ui::Buttons::OkCancel);
  EXPECT_TRUE(seat->events.empty());
}

// What goes wrong with the printer of a Save case, set once the dialog is open.
void Misbehave(ScriptedDetailSeat& s, const std::string& how) {
  if (how == "ignores writes") s.ignoresWrites = {0, 1};
  if (how == "ignores the dot shift") s.ignoresWrites = {1};
  if (how == "answers a foreign code") s.afterWrite[0] = "3000";
  if (how == "answers another code") s.afterWrite[0] = "1000";
  if (how == "answers nothing") s.afterWrite[0] = "";
  if (how == "answers no dot shift") s.afterWrite[1] = "";
  if (how == "has no selector") s.noSelector = {0};
  if (how == "is gone") s.installed = false;
  if (how == "is not ready") s.ready = false;
  if (how == "is another model, not ready") s.ready = s.matches = false;
}

// Saves of the third print mode and, with dot shift, of +4.
TEST_F(PellanDetailTest, SaveChains) {
  const Events code = {"installed?", "ready?", "write 0=32", "sleep 1000", "read 0"};
  Events shift = code;
  for (const char* e : {"write 1=132", "sleep 1000", "read 1"}) shift.push_back(e);
  const Events notReady = {"installed?", "ready?", "match?"};
  struct Case {
    const char* printer;
    int mode;
    Events events;  // after the question
    const char* text;
    Icon icon;
  } cases[] = {
      {"verifies", 4, code, "T20300", Icon::Information},
      {"verifies", 3, shift, "T20300", Icon::Information},
      {"ignores writes", 4, code, "T20305", Icon::Warning},
      {"ignores the dot shift", 3, shift, "T20305", Icon::Warning},
      {"answers a foreign code", 3, code, "T30300", Icon::Error},
      {"answers another code", 4, code, "T20305", Icon::Warning},
      {"answers nothing", 4, code, "T20305", Icon::Warning},
      {"answers no dot shift", 3, shift, "T20305", Icon::Warning},
      {"has no selector", 4, {"installed?", "ready?", "no selector 0"}, "T20305", Icon::Warning},
      // The printer checks end the Save: nothing is written after their message.
      {"is gone", 3, {"installed?"}, "T330", Icon::Error},
      {"is not ready", 3, notReady, "T312", Icon::Warning},
      {"is another model, not ready", 3, notReady, "T310", Icon::Error},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.printer) + " " + std::to_string(c.mode));
    seat = std::make_unique<ScriptedDetailSeat>(*app);
    bool saved = std::string(c.text) == "T20300";
    std::string shownCode, shownShift;
    Open(c.mode, [&](fakes::FakeView& view) {
      view.ChooseComboEntry(IDC_PELLAN_MODE_LIST, 2, ui::COMBO_SELECTION_CHANGED);
      view.ChooseComboEntry(IDC_PELLAN_SHIFT_LIST, 4, ui::COMBO_SELECTION_CHANGED);
      Misbehave(*seat, c.printer);
      shownCode = view.controls[IDC_PELLAN_CURRENT_MODE].text;
      shownShift = view.controls[IDC_PELLAN_CURRENT_SHIFT].text;
      Forget();
      view.Click(IDC_PELLAN_SAVE);
      ASSERT_FALSE(platform.host->messages.empty());
      EXPECT_EQ(platform.host->messages[0].text, "T20302");
      EXPECT_EQ(platform.host->messages[0].icon, Icon::Question);
      EXPECT_EQ(platform.host->messages[0].buttons, ui::Buttons::OkCancel);
      Texts texts = Shown();
      std::vector<Icon> icons = Icons();
      EXPECT_EQ(Texts(texts.begin() + 1, texts.end()), Texts{c.text});
      EXPECT_EQ(std::vector<Icon>(icons.begin() + 1, icons.end()), std::vector<Icon>{c.icon});
      EXPECT_EQ(seat->events, c.events);
      bool dotShift = feed::UsesDotShift(c.mode);
      EXPECT_EQ(view.controls[IDC_PELLAN_CURRENT_MODE].text,
                saved ? MODE_LOOKS[c.mode].labels[2] : shownCode);
      EXPECT_EQ(view.controls[IDC_PELLAN_CURRENT_SHIFT].text,
                saved && dotShift ? " 4" : shownShift);

      // The next sample print puts back the saved values, or those read at opening.
      seat->events.clear();
      seat->noSelector.clear();
      view.Click(IDC_PELLAN_SAMPLE_PRINT);
      Events restore;
      restore.push_back(saved ? "write 0=32" : "write 0=0");
      if (dotShift) {
        restore.push_back("sleep 1000");
        restore.push_back(saved ? "write 1=132" : "write 1=128");
      }
      Events after2(std::find(seat->events.begin(), seat->events.end(), "end") + 1,
                    seat->events.end());
      EXPECT_EQ(after2, restore);
    });
  }
}

TEST_F(PellanDetailTest, SaveAsksAndStopsOnCancelOrOutsideNormal) {
  struct Case {
    LaunchMode launch;
    ui::Answer answer;
  } cases[] = {{LaunchMode::Normal, ui::Answer::Cancel},
               {LaunchMode::P, ui::Answer::Ok},
               {LaunchMode::U, ui::Answer::Ok}};
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.launch));
    seat->launch = c.launch;
    Open(1, [&](fakes::FakeView& view) {
      Forget();
      platform.host->answers = {c.answer};
      view.Click(IDC_PELLAN_SAVE);
    });
    EXPECT_EQ(Shown(), Texts{"T20302"});
    EXPECT_TRUE(seat->events.empty());
  }
}

TEST_F(PellanDetailTest, BoxesEnableSamplePrint) {
  Open(0, [&](fakes::FakeView& view) {
    const int boxes[] = {IDC_PELLAN_SAMPLE_FIRST, IDC_PELLAN_SAMPLE_SECOND,
                         IDC_PELLAN_SAMPLE_THIRD};
    for (int box : boxes) {
      EXPECT_TRUE(view.controls[IDC_PELLAN_SAMPLE_PRINT].enabled);
      Tick(view, box, false);
    }
    EXPECT_FALSE(view.controls[IDC_PELLAN_SAMPLE_PRINT].enabled);
    Tick(view, IDC_PELLAN_SAMPLE_SECOND, true);
    EXPECT_TRUE(view.controls[IDC_PELLAN_SAMPLE_PRINT].enabled);
  });
}

TEST_F(PellanDetailTest, ImageChoiceIsKeptInItsOwnRegistryValues) {
  // Nothing stored: the standard image, its file controls disabled.
  Open(0, [&](fakes::FakeView& view) {
    EXPECT_TRUE(view.controls[IDC_PELLAN_STANDARD_IMAGE].checked);
    EXPECT_FALSE(view.controls[IDC_PELLAN_USER_IMAGE].checked);
    EXPECT_FALSE(view.controls[IDC_PELLAN_BROWSE].enabled);
    EXPECT_FALSE(view.controls[IDC_PELLAN_IMAGE_FILE].enabled);

    view.Click(IDC_PELLAN_USER_IMAGE);
    EXPECT_EQ(seat->numbers["SamplePellanR"], IDC_PELLAN_USER_IMAGE);
    EXPECT_TRUE(view.controls[IDC_PELLAN_BROWSE].enabled);
    view.Click(IDC_PELLAN_BROWSE);  // cancelled
    EXPECT_EQ(seat->filter, "Bitmap File(*.BMP)|*.BMP||");
    EXPECT_EQ(seat->strings.count("SamplePellan"), 0u);
    seat->chosenFile = "E:\\Art\\Strip.bmp";
    view.Click(IDC_PELLAN_BROWSE);
    EXPECT_EQ(seat->strings["SamplePellan"], "E:\\Art\\Strip.bmp");
    EXPECT_EQ(view.controls[IDC_PELLAN_IMAGE_FILE].text, "Strip.bmp");
    view.Click(IDC_PELLAN_STANDARD_IMAGE);
    EXPECT_EQ(seat->numbers["SamplePellanR"], IDC_PELLAN_STANDARD_IMAGE);
    EXPECT_FALSE(view.controls[IDC_PELLAN_BROWSE].enabled);
    view.Click(IDC_PELLAN_SAMPLE_PRINT);
  });
  EXPECT_FALSE(seat->samples.last.userImage);
  EXPECT_EQ(seat->samples.last.userImagePath, "E:\\Art\\Strip.bmp");
}

TEST_F(PellanDetailTest, KeysHelpAndClose) {
  int result = Open(0, [&](fakes::FakeView& view) {
    EXPECT_TRUE(dialog->OnKeyDown(ui::KEY_ESCAPE, false));
    EXPECT_FALSE(dialog->OnKeyDown(ui::KEY_TAB, false));
    // Enter on a list or radio button sends OK, which has no button here.
    view.Click(ui::ID_OK);
    EXPECT_FALSE(view.ended);
    view.Click(IDC_HELP_BUTTON);
    EXPECT_EQ(seat->manuals, (std::vector<std::pair<int, int>>{{5, 0}}));
    view.Click(ui::ID_CANCEL);
  });
  EXPECT_EQ(result, ui::RESULT_CANCEL);
}

// The dialog in the running program: the page's seat opens it over the simulated printer, whose
// values a verified Save changes.
TEST(PellanDetailInTrevalo, SavesThroughThePagesSeat) {
  fakes::ProgramWorld world(programs::TrevaloProfile());
  std::string& localize = world.fake.files->files[fakes::SettingsPath("Localize.ini")];
  for (int n : PELLAN_TEXTS) {
    char line[64];
    std::snprintf(line, sizeof line, "%08d=T%d\r\n", n, n);
    localize += line;
  }
  // Media 7 on roll paper, pellan at position 3: print mode and dot shift.
  const std::vector<uint8_t> codeSelector = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 2};
  const std::vector<uint8_t> shiftSelector = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 3};
  world.fake.files->Put(fakes::SettingsPath("PaperSet.ini"),
                        "7,02=0102030405060708090A0B0C02\r\n7,03=0102030405060708090A0B0C03\r\n");
  world.printer.SetAdjustmentValue(codeSelector, 0x00, 0x00);
  world.printer.SetAdjustmentValue(shiftSelector, 0x80, 0x00);
  Events unused;
  ScriptedSamples samples(unused);  // not run here
  bool ran = fakes::RunTrevaloOnPage(
      world, 1, false, [&](fakes::FakeView& page, shell::MainWindow& frame) {
        // Without the driver-settings library the page has said so (318); that is not the dialog's.
        world.fake.host->messages.clear();
        programs::AppDetailSeat details(*world.app, frame, samples);
        programs::AppAdjustmentSeat seat(*world.app, details);
        feed::AdjustmentSelection selection;
        selection.mediaCode = 7;
        selection.paperFeed = feed::PAPER_FEED_ROLL;
        selection.inkClass = feed::INK_CLASS_EIGHT;
        selection.qualityPosition = 3;
        world.fake.host->modalScripts[IDD_PELLAN_DETAIL] = [&](fakes::FakeView& view) {
          EXPECT_EQ(view.controls[IDC_PELLAN_CURRENT_MODE].text, "T30020T30009 1");
          EXPECT_EQ(view.controls[IDC_PELLAN_CURRENT_SHIFT].text, " 0");
          view.ChooseComboEntry(IDC_PELLAN_MODE_LIST, 2, ui::COMBO_SELECTION_CHANGED);
          view.ChooseComboEntry(IDC_PELLAN_SHIFT_LIST, 1, ui::COMBO_SELECTION_CHANGED);
          view.Click(IDC_PELLAN_SAVE);
          view.Click(ui::ID_CANCEL);
        };
        EXPECT_EQ(seat.RunDetail(feed::ADJUST_PELLAN, selection, &page), ui::RESULT_CANCEL);
      });
  ASSERT_TRUE(ran);
  EXPECT_EQ(world.MessageTexts(), (Texts{"T20302", "T20300"}));
  EXPECT_EQ(world.printer.AdjustmentValue(codeSelector), "2000");
  EXPECT_EQ(world.printer.AdjustmentValue(shiftSelector), "7E00");
  EXPECT_TRUE(world.fake.host->missingControls.empty());
}

}  // namespace
