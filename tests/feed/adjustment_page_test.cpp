// The paper feed adjustment page over a scripted seat and driver: its three lists for both paper
// feed positions, the pellan rule, the Detail checks per launch mode, a refused paper handling,
// and the driver-settings handles it opens.
#include "feed/adjustment_page.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "programs/seats/app_seat.h"
#include "programs/trevalo/trevalo_tables.h"
#include "shell/main_window.h"
#include "shell/marked_combo.h"
#include "shell/tool_app.h"
#include "tests/support/fake_spooler.h"
#include "tests/support/program_world.h"
#include "tests/support/recording_canvas.h"
#include "tests/support/test_app.h"

namespace {

using feed::AdjustmentPage;
using feed::DriverMediaType;
using shell::LaunchMode;
using ui::Icon;
using Texts = std::vector<std::string>;

// Driver media 7, 5, 9 in the driver's order; rows for every feed class, kinds with and without
// a suffix, a single-digit code, skipped quality slots and a media without any.
constexpr char MEDIA_TABLE[] =
    "MEDIAP1_NUM=5\r\n"
    "MEDIAP1_001=5,12,0,0,0,1,-1,-1,-1,-1\r\n"
    "MEDIAP1_002=5,14,3,9,4,-1,7,-1,-1,8\r\n"
    "MEDIAP1_003=7,3,1,2,2,3,-1,-1,-1,-1\r\n"
    "MEDIAP1_004=7,4,2,3,5,6,-1,-1,-1,-1\r\n"
    "MEDIAP1_005=9,30,0,1,-1,-1,-1,-1,-1,-1\r\n";

// The detail dialogs as the page sees them: take the selection, set the adjustment kind, close.
class DetailStandIn : public ui::DialogHandler {
 public:
  DetailStandIn(feed::AdjustmentSelection& selection, int kind)
      : selection_(selection), kind_(kind) {}
  bool OnInit(ui::View& view) override {
    view_ = &view;
    selection_.adjustmentKind = kind_;
    return true;
  }
  void OnCommand(int id, int) override {
    if (view_ && (id == ui::ID_OK || id == ui::ID_CANCEL)) view_->EndDialog(id);
  }
  void OnClose() override {
    if (view_) view_->EndDialog(ui::RESULT_CANCEL);
  }

 private:
  feed::AdjustmentSelection& selection_;
  int kind_;
  ui::View* view_ = nullptr;
};

class ScriptedSeat : public programs::AppSeat<feed::AdjustmentSeat>, private shell::CheckedPrinter {
 public:
  explicit ScriptedSeat(shell::ToolApp& app) : AppSeat(app), app_(app) {}
  LaunchMode Launch() override { return launch; }
  std::string PrinterName() override { return fakes::TEST_QUEUE; }
  bool OpenedByPrinterChoice() override { return openedByChoice; }
  const shell::Texts& GetTexts() override { return app_.GetTexts(); }
  shell::FontCache& Fonts() override { return app_.Fonts(); }
  int RunModal(int templateId, ui::View* parent, ui::DialogHandler& dialog) {
    opened.push_back(templateId);
    return app_.Host().RunModal(templateId, parent, dialog);
  }
  int RunDetail(int kind, feed::AdjustmentSelection& selection, ui::View* parent) override {
    DetailStandIn dialog(selection, kind);
    return RunModal(feed::DetailTemplate(kind), parent, dialog);
  }
  int ReadInkClass() override {
    ++inkReads;
    return inkClass;
  }
  shell::CheckedPrinter& Printer() override { return *this; }
  bool StillInstalled() override {
    ++checks;
    return installed;
  }
  bool MatchDeviceId() override {
    ++checks;
    if (matches.empty()) return true;
    bool m = matches.front();
    matches.pop_front();
    return m;
  }
  int WaitUntilReady(bool, ui::View*) override {
    ++checks;
    return ready ? printer_link::WAIT_READY : printer_link::WAIT_NOT_READY;
  }

  LaunchMode launch = LaunchMode::Normal;
  bool openedByChoice = false;
  int inkClass = feed::INK_CLASS_EIGHT;
  bool installed = true;
  std::deque<bool> matches;  // answers in turn; true once they run out
  bool ready = true;
  int inkReads = 0;
  int checks = 0;
  std::vector<int> opened;

 private:
  shell::ToolApp& app_;
};

class ScriptedDriver : public feed::DriverMediaSource {
 public:
  bool MediaTypesFor(const std::string& queue, int handling,
                     std::vector<DriverMediaType>* media) override {
    asked.push_back(handling);
    EXPECT_EQ(queue, fakes::TEST_QUEUE);
    if (refused.count(handling)) return false;
    *media = types;
    return true;
  }
  std::vector<DriverMediaType> types = {{7, "Film"}, {5, "Plain Paper"}, {9, "Glossy"}};
  std::set<int> refused;
  std::vector<int> asked;
};

class RecordingPageHost : public shell::PageHost {
 public:
  void SelectPage(int n) override { selected.push_back(n); }
  void OpenManual(int page, int topic) override { manuals.push_back({page, topic}); }
  ui::View* Window() override { return window; }
  ui::View* window = nullptr;
  std::vector<int> selected;
  std::vector<std::pair<int, int>> manuals;
};

class AdjustmentPageTest : public ::testing::Test {
 protected:
  AdjustmentPageTest() {
    app = std::make_unique<shell::ToolApp>(programs::TrevaloProfile(),
                                           fakes::MakeFakePlatform(&platform));
    fakes::InstallTestSettings(
        *platform.files,
        {0,     300,   310,   312,   318,   330,   10002, 10003, 10004, 10005, 10006,
         10007, 10090, 10092, 10100, 10101, 10102, 10103, 10200, 10202, 10203, 10204,
         10205, 10206, 10207, 10208, 10209, 10280, 10281, 10282, 10283});
    platform.files->Put(fakes::SettingsPath("MediaP1.ini"), MEDIA_TABLE);
    media = std::make_unique<feed::MediaTable>(app->Settings(), "MediaP1.ini");
    fakes::DeclareProgramTemplates(*platform.host, "Trevalo");
    seat = std::make_unique<ScriptedSeat>(*app);
    main = platform.host->CreateModeless(IDD_MAIN_WINDOW, nullptr, false, mainHandler);
    pageHost.window = main.get();
  }

  // Creates the page and shows it as the frame does.
  void Show() {
    view.reset();
    page = std::make_unique<AdjustmentPage>(*seat, pageHost, driver, media.get());
    view = platform.host->CreateModeless(IDD_ADJUSTMENT_PAGE, main.get(), true, *page);
    ASSERT_NE(view, nullptr);
    before = platform.host->messages.size();
    ASSERT_TRUE(page->OnRefresh());
  }
  fakes::FakeView& View() { return static_cast<fakes::FakeView&>(*view); }
  Texts Items(int id) {
    Texts items;
    for (const auto& item : View().controls[id].items) items.push_back(item.first);
    return items;
  }
  std::vector<intptr_t> Data(int id) {
    std::vector<intptr_t> data;
    for (const auto& item : View().controls[id].items) data.push_back(item.second);
    return data;
  }
  int Selected(int id) { return View().controls[id].selection; }
  bool PellanEnabled() { return View().controls[IDC_PELLAN_DETAIL].enabled; }
  void Choose(int id, int index) {
    View().ChooseComboEntry(id, index, ui::COMBO_SELECTION_CHANGED);
  }
  // Messages since the page was shown, and their icons.
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

  fakes::TestPlatform platform{};
  std::unique_ptr<shell::ToolApp> app;
  std::unique_ptr<feed::MediaTable> media;
  std::unique_ptr<ScriptedSeat> seat;
  ScriptedDriver driver;
  fakes::NullHandler mainHandler;
  std::unique_ptr<ui::View> main;
  RecordingPageHost pageHost;
  std::unique_ptr<AdjustmentPage> page;
  std::unique_ptr<ui::View> view;
  size_t before = 0;
};

TEST_F(AdjustmentPageTest, ListsForBothPaperFeedPositions) {
  struct Case {
    int position;
    int handling;
    Texts media;
    std::vector<intptr_t> codes;
    Texts qualities;
    std::vector<intptr_t> slots;
  } cases[] = {
      // Roll lists class 0 only; kinds 0 and 1 carry their suffixes.
      {0,
       256,
       {"# 12 Plain Paper T10206", "# 30 Glossy T10207"},
       {12, 30},
       {"T10203/T10280", "T10204/T10280"},
       {0, 1}},
      // Sheets list classes 2 and 3, never class 1; kind 9 has no suffix; "%2d" pads.
      {1, 4, {"#  4 Film T10209", "# 14 Plain Paper"}, {4, 14}, {"T10283", "T10282"}, {0, 1}},
  };
  Show();
  EXPECT_EQ(Items(IDC_PAPER_FEED_LIST), (Texts{"T10200", "T10202"}));
  EXPECT_EQ(Data(IDC_PAPER_FEED_LIST), (std::vector<intptr_t>{0, 2}));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.position);
    if (c.position != 0) Choose(IDC_PAPER_FEED_LIST, c.position);
    EXPECT_EQ(driver.asked.back(), c.handling);
    EXPECT_EQ(Selected(IDC_PAPER_FEED_LIST), c.position);
    EXPECT_EQ(Items(IDC_MEDIA_LIST), c.media);
    EXPECT_EQ(Data(IDC_MEDIA_LIST), c.codes);
    EXPECT_EQ(Selected(IDC_MEDIA_LIST), 0);
    EXPECT_EQ(Items(IDC_QUALITY_LIST), c.qualities);
    EXPECT_EQ(Data(IDC_QUALITY_LIST), c.slots);
    EXPECT_EQ(Selected(IDC_QUALITY_LIST), 0);
  }
  EXPECT_TRUE(Shown().empty());
}

TEST_F(AdjustmentPageTest, QualityListSkipsEmptySlotsAndMayBeEmpty) {
  Show();
  Choose(IDC_PAPER_FEED_LIST, 1);
  Choose(IDC_MEDIA_LIST, 1);  // code 14: slots 0, 2 and 5
  EXPECT_EQ(Items(IDC_QUALITY_LIST), (Texts{"T10281", "T10205/T10282", "T10280"}));
  EXPECT_EQ(Data(IDC_QUALITY_LIST), (std::vector<intptr_t>{0, 2, 5}));

  Choose(IDC_PAPER_FEED_LIST, 0);
  Choose(IDC_MEDIA_LIST, 1);  // code 30: no print quality at all
  EXPECT_TRUE(Items(IDC_QUALITY_LIST).empty());
  EXPECT_EQ(Selected(IDC_QUALITY_LIST), -1);
  EXPECT_FALSE(PellanEnabled());
}

TEST(PellanRule, OpenFromTheFourthPositionForEightInksAndTheSecondForFour) {
  const bool eight[] = {false, false, false, false, true, true, true};  // positions -1 to 5
  const bool four[] = {false, false, true, true, true, true, true};
  for (int position = -1; position <= 5; ++position) {
    SCOPED_TRACE(position);
    EXPECT_EQ(feed::PellanDetailEnabled(feed::INK_CLASS_EIGHT, position), eight[position + 1]);
    EXPECT_EQ(feed::PellanDetailEnabled(feed::INK_CLASS_FOUR, position), four[position + 1]);
  }
}

TEST_F(AdjustmentPageTest, PellanButtonFollowsTheSlotAndTheInkClassRead) {
  struct Case {
    LaunchMode mode;
    int printerInks;
    int reads;
    std::vector<bool> enabled;  // for slots 0, 2 and 5 of code 14
  } cases[] = {
      {LaunchMode::Normal, feed::INK_CLASS_FOUR, 1, {false, true, true}},
      {LaunchMode::Normal, feed::INK_CLASS_EIGHT, 1, {false, false, true}},
      // Outside Normal the printer is not asked: eight inks.
      {LaunchMode::P, feed::INK_CLASS_FOUR, 0, {false, false, true}},
      {LaunchMode::U, feed::INK_CLASS_FOUR, 0, {false, false, true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.mode) * 10 + c.printerInks);
    seat->launch = c.mode;
    seat->inkClass = c.printerInks;
    seat->inkReads = 0;
    Show();
    EXPECT_EQ(seat->inkReads, c.reads);
    Choose(IDC_PAPER_FEED_LIST, 1);
    Choose(IDC_MEDIA_LIST, 1);
    std::vector<bool> enabled;
    for (int i = 0; i < 3; ++i) {
      Choose(IDC_QUALITY_LIST, i);
      enabled.push_back(PellanEnabled());
    }
    EXPECT_EQ(enabled, c.enabled);
  }
}

TEST_F(AdjustmentPageTest, ActivationMessages) {
  struct Case {
    LaunchMode mode;
    bool choice;
    Texts texts;
    std::vector<Icon> icons;
  } cases[] = {
      {LaunchMode::Normal, false, {}, {}},
      {LaunchMode::Normal, true, {"T300"}, {Icon::Information}},
      {LaunchMode::U, false, {"T312"}, {Icon::Warning}},
      {LaunchMode::U, true, {"T300", "T312"}, {Icon::Information, Icon::Warning}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.mode) * 10 + c.choice);
    seat->launch = c.mode;
    seat->openedByChoice = c.choice;
    Show();
    EXPECT_EQ(Shown(), c.texts);
    EXPECT_EQ(Icons(), c.icons);
    EXPECT_EQ(static_cast<fakes::FakeView&>(*main).title, "T0 - Printer A");
  }
}

// As the system reports a choice in the media list: drop-down, confirmation, then the change.
TEST_F(AdjustmentPageTest, MediaChoiceIsTakenOnceAndAMarkedEntryGivesWay) {
  Show();
  Choose(IDC_PAPER_FEED_LIST, 1);  // codes 4 and 14
  View().handler.OnCommand(IDC_MEDIA_LIST, ui::COMBO_DROPPED_DOWN);
  View().ChooseComboEntry(IDC_MEDIA_LIST, 1, ui::COMBO_CHOICE_CONFIRMED);
  EXPECT_EQ(Data(IDC_QUALITY_LIST), (std::vector<intptr_t>{0, 2, 5}));
  Choose(IDC_QUALITY_LIST, 2);
  // The change that follows the confirmation does not build the qualities again.
  View().handler.OnCommand(IDC_MEDIA_LIST, ui::COMBO_SELECTION_CHANGED);
  EXPECT_EQ(Selected(IDC_QUALITY_LIST), 2);

  // Were an entry marked, choosing it, dropped down or not (the arrow keys in the closed list
  // confirm at once), returns to the media in use.
  View().ComboSetData(IDC_MEDIA_LIST, 0, shell::MarkedCombo::WithMark(4, true));
  for (bool dropped : {true, false}) {
    SCOPED_TRACE(dropped);
    if (dropped) View().handler.OnCommand(IDC_MEDIA_LIST, ui::COMBO_DROPPED_DOWN);
    View().ChooseComboEntry(IDC_MEDIA_LIST, 0, ui::COMBO_CHOICE_CONFIRMED);
    View().handler.OnCommand(IDC_MEDIA_LIST, ui::COMBO_SELECTION_CHANGED);
    EXPECT_EQ(Selected(IDC_MEDIA_LIST), 1);
    EXPECT_EQ(page->State().mediaSelection, 1);
    EXPECT_EQ(Selected(IDC_QUALITY_LIST), 2);
  }
  // The arrow keys in the open list pass over it without taking it and come back.
  View().handler.OnCommand(IDC_MEDIA_LIST, ui::COMBO_DROPPED_DOWN);
  View().ChooseComboEntry(IDC_MEDIA_LIST, 0, ui::COMBO_SELECTION_CHANGED);
  EXPECT_EQ(Selected(IDC_MEDIA_LIST), 0);
  EXPECT_EQ(page->State().mediaSelection, 1);
  View().ChooseComboEntry(IDC_MEDIA_LIST, 1, ui::COMBO_SELECTION_CHANGED);
  View().handler.OnCommand(IDC_MEDIA_LIST, ui::COMBO_CHOICE_CONFIRMED);
  EXPECT_EQ(Selected(IDC_QUALITY_LIST), 2);
  View().Click(IDC_PAPER_FEED_DETAIL);
  EXPECT_EQ(page->Selection().mediaCode, 14);
  EXPECT_EQ(page->Selection().qualityPosition, 5);
}

TEST_F(AdjustmentPageTest, DetailChecksInEachLaunchMode) {
  struct Case {
    const char* name;
    LaunchMode mode;
    bool installed;
    std::deque<bool> matches;
    bool ready;
    Texts texts;
    std::vector<Icon> icons;
    bool opens;
  } cases[] = {
      {"usable", LaunchMode::Normal, true, {}, true, {}, {}, true},
      {"uninstalled", LaunchMode::Normal, false, {}, true, {"T330"}, {Icon::Error}, false},
      {"other model", LaunchMode::Normal, true, {false}, true, {"T310"}, {Icon::Error}, false},
      {"not ready",
       LaunchMode::Normal,
       true,
       {true, true},
       false,
       {"T312"},
       {Icon::Warning},
       false},
      {"not ready, then other model",
       LaunchMode::Normal,
       true,
       {true, false},
       false,
       {"T310"},
       {Icon::Error},
       false},
      // P and U open the dialog without asking the printer anything.
      {"P", LaunchMode::P, false, {false}, false, {}, {}, true},
      {"U", LaunchMode::U, false, {false}, false, {}, {}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (int button : {IDC_PAPER_FEED_DETAIL, IDC_PELLAN_DETAIL}) {
      seat->launch = c.mode;
      seat->installed = c.installed;
      seat->matches = c.matches;
      seat->ready = c.ready;
      seat->checks = 0;
      seat->opened.clear();
      Show();
      // The fourth position of code 14 opens pellan in every ink class.
      Choose(IDC_PAPER_FEED_LIST, 1);
      Choose(IDC_MEDIA_LIST, 1);
      Choose(IDC_QUALITY_LIST, 2);
      before = platform.host->messages.size();
      View().Click(button);
      EXPECT_EQ(Shown(), c.texts);
      EXPECT_EQ(Icons(), c.icons);
      EXPECT_EQ(seat->opened.size(), c.opens ? 1u : 0u);
      if (c.mode != LaunchMode::Normal) {
        EXPECT_EQ(seat->checks, 0);
      }
    }
  }
}

TEST_F(AdjustmentPageTest, DetailHandsTheChoiceToItsDialog) {
  seat->inkClass = feed::INK_CLASS_FOUR;
  Show();
  Choose(IDC_PAPER_FEED_LIST, 1);
  Choose(IDC_MEDIA_LIST, 1);
  Choose(IDC_QUALITY_LIST, 1);
  struct Case {
    int button;
    int templateId;
    int kind;
  } cases[] = {{IDC_PAPER_FEED_DETAIL, IDD_PAPER_FEED_DETAIL, feed::ADJUST_PAPER_FEED},
               {IDC_PELLAN_DETAIL, IDD_PELLAN_DETAIL, feed::ADJUST_PELLAN}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.templateId);
    seat->opened.clear();
    View().Click(c.button);
    EXPECT_EQ(seat->opened, std::vector<int>{c.templateId});
    const feed::AdjustmentSelection& s = page->Selection();
    EXPECT_EQ(s.mediaName, "# 14 Plain Paper");
    EXPECT_EQ(s.paperFeedName, "T10202");
    EXPECT_EQ(s.qualityName, "T10205/T10282");
    EXPECT_EQ(s.mediaCode, 14);
    EXPECT_EQ(s.paperFeed, feed::PAPER_FEED_SHEET);
    EXPECT_EQ(s.inkClass, feed::INK_CLASS_FOUR);
    EXPECT_EQ(s.qualityPosition, 2);
    EXPECT_EQ(s.qualityCode, 7);
    EXPECT_EQ(s.adjustmentKind, c.kind);
  }
}

TEST_F(AdjustmentPageTest, DetailWithoutMediaOrQualityDoesNothing) {
  struct Case {
    const char* name;
    std::vector<DriverMediaType> types;
    int media;  // chosen on the roll list, -1: none
  } cases[] = {
      {"no media listed", {}, -1},
      {"media without print quality", {{9, "Glossy"}}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    driver.types = c.types;
    seat->opened.clear();
    seat->checks = 0;
    Show();
    if (c.media >= 0) Choose(IDC_MEDIA_LIST, c.media);
    View().Click(IDC_PAPER_FEED_DETAIL);
    View().Click(IDC_PELLAN_DETAIL);
    EXPECT_TRUE(seat->opened.empty());
    EXPECT_EQ(seat->checks, 0);
    EXPECT_TRUE(Shown().empty());
  }
}

TEST_F(AdjustmentPageTest, RefusedPaperHandlingRestoresThePaperFeedList) {
  driver.refused = {feed::PAPER_HANDLING_SHEET};
  Show();
  Choose(IDC_MEDIA_LIST, 1);
  Choose(IDC_QUALITY_LIST, 0);
  Texts media = Items(IDC_MEDIA_LIST);
  Texts qualities = Items(IDC_QUALITY_LIST);
  Choose(IDC_PAPER_FEED_LIST, 1);
  EXPECT_EQ(Shown(), Texts{"T318"});
  EXPECT_EQ(Icons(), std::vector<Icon>{Icon::Warning});
  EXPECT_EQ(Selected(IDC_PAPER_FEED_LIST), 0);
  EXPECT_EQ(Items(IDC_MEDIA_LIST), media);
  EXPECT_EQ(Selected(IDC_MEDIA_LIST), 1);
  EXPECT_EQ(Items(IDC_QUALITY_LIST), qualities);
  EXPECT_EQ(page->State().paperFeedPosition, 0);

  // The choice handed on still names the roll that the media list was built for.
  Choose(IDC_MEDIA_LIST, 0);
  View().Click(IDC_PAPER_FEED_DETAIL);
  EXPECT_EQ(page->Selection().paperFeed, feed::PAPER_FEED_ROLL);
  EXPECT_EQ(page->Selection().mediaCode, 12);
}

TEST_F(AdjustmentPageTest, RefusedAtActivationLeavesTheListsEmpty) {
  driver.refused = {feed::PAPER_HANDLING_ROLL};
  Show();
  EXPECT_EQ(Shown(), Texts{"T318"});
  EXPECT_TRUE(Items(IDC_MEDIA_LIST).empty());
  EXPECT_TRUE(Items(IDC_QUALITY_LIST).empty());
  EXPECT_EQ(Selected(IDC_PAPER_FEED_LIST), 0);
}

TEST_F(AdjustmentPageTest, HelpCloseEscapeAndTheMediaEntriesHeight) {
  Show();
  View().Click(IDC_HELP_BUTTON);
  View().Click(IDC_ADJUSTMENT_CLOSE);
  EXPECT_EQ(pageHost.manuals, (std::vector<std::pair<int, int>>{{1, 0}}));
  EXPECT_EQ(pageHost.selected, std::vector<int>{0});
  EXPECT_TRUE(page->OnKeyDown(ui::KEY_ESCAPE, false));
  EXPECT_FALSE(page->OnKeyDown(ui::KEY_TAB, false));
  EXPECT_EQ(page->OnMeasureItem(IDC_MEDIA_LIST), feed::MEDIA_ITEM_HEIGHT);
  EXPECT_FALSE(View().controls[IDC_ADJUSTMENT_SPARE].visible);
}

// The page's handles through the driver-settings binding, counted by a scripted library.
struct ScriptedKddm {
  bool openFails = false;
  bool setFails = false;
  int opens = 0;
  int closes = 0;
  std::vector<intptr_t> handlings;
  std::vector<uint16_t> ids = {5, 9};
};
ScriptedKddm* kddm = nullptr;

int Open(const char*, int, uint32_t, void*, printer_link::KddmHandle* handle) {
  ++kddm->opens;
  if (kddm->openFails) return -1;
  *handle = reinterpret_cast<printer_link::KddmHandle>(intptr_t{kddm->opens});
  return 0;
}
int SetData(printer_link::KddmHandle, int item, intptr_t value) {
  if (item == printer_link::ITEM_PAPER_HANDLING) kddm->handlings.push_back(value);
  return kddm->setFails ? -1 : 0;
}
int GetRange(printer_link::KddmHandle, int, void* block) {
  auto* range = static_cast<printer_link::IdRangeBlock*>(block);
  range->count = static_cast<uint16_t>(kddm->ids.size());
  range->elementSize = sizeof(uint16_t);
  if (range->ids) std::memcpy(range->ids, kddm->ids.data(), kddm->ids.size() * sizeof(uint16_t));
  return 0;
}
int GetData(printer_link::KddmHandle, int, void* block) {
  auto* request = static_cast<printer_link::NameRequestBlock*>(block);
  std::string name = "Media " + std::to_string(request->id);
  std::memcpy(request->name, name.c_str(), name.size() + 1);
  return 0;
}
int Close(printer_link::KddmHandle) {
  ++kddm->closes;
  return 0;
}
int Other(printer_link::KddmHandle, void*) {
  return 0;
}

class ScriptedKddmModule : public platform::LoadedLibrary {
 public:
  void* Export(const char* name) override {
    static const std::map<std::string, void*> exports = {
        {"KDDM_Open", reinterpret_cast<void*>(&Open)},
        {"KDDM_SetData", reinterpret_cast<void*>(&SetData)},
        {"KDDM_GetRange", reinterpret_cast<void*>(&GetRange)},
        {"KDDM_GetData", reinterpret_cast<void*>(&GetData)},
        {"KDDM_Close", reinterpret_cast<void*>(&Close)}};
    auto found = exports.find(name);
    return found == exports.end() ? reinterpret_cast<void*>(&Other) : found->second;
  }
};

class ScriptedKddmLibrary : public platform::Library {
 public:
  std::unique_ptr<platform::LoadedLibrary> Load(const std::string&) override {
    return std::make_unique<ScriptedKddmModule>();
  }
};

TEST(AdjustmentDriverHandles, EveryHandleOpenedIsClosed) {
  struct Case {
    const char* name;
    bool openFails;
    bool setFails;
    bool listed;
    int closes;
  } cases[] = {
      {"handling accepted", false, false, true, 1},
      {"handling refused", false, true, false, 1},
      {"no handle", true, false, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedKddm script;
    script.openFails = c.openFails;
    script.setFails = c.setFails;
    kddm = &script;
    ScriptedKddmLibrary library;
    fakes::RecordingSpooler spooler;
    printer_link::DriverSettingsApi api(library, spooler);
    ASSERT_EQ(api.Bind("Plotter"), 1);
    printer_link::DriverMediaList list;
    feed::DriverSettingsMediaSource source(api, list);
    std::vector<DriverMediaType> media = {{1, "before"}};
    EXPECT_EQ(source.MediaTypesFor("Plotter", feed::PAPER_HANDLING_SHEET, &media), c.listed);
    EXPECT_EQ(script.opens, 1);
    EXPECT_EQ(script.closes, c.closes);
    if (c.listed) {
      ASSERT_EQ(media.size(), 2u);
      EXPECT_EQ(media[1].id, 9);
      EXPECT_EQ(media[1].name, "Media 1");  // names go by index
      EXPECT_EQ(script.handlings, std::vector<intptr_t>{feed::PAPER_HANDLING_SHEET});
    } else {
      EXPECT_EQ(media.size(), 1u);
    }
    // The holder let go of the shared list again.
    EXPECT_EQ(list.Holders(), 0);
    kddm = nullptr;
  }
}

// The page in the running program: Trevalo's page 1, whatever the driver answers.
TEST(AdjustmentPageInTrevalo, IsPageOneAndTouchesOnlyItsTemplate) {
  fakes::ProgramWorld world(programs::TrevaloProfile());
  world.app->SetProgramObjects(std::make_unique<programs::TrevaloObjects>());
  world.fake.files->Put(fakes::SettingsPath("MediaP1.ini"), MEDIA_TABLE);
  bool shown = false;
  world.Run(programs::TrevaloPages(), [&](fakes::FakeView& main) {
    static_cast<shell::MainWindow&>(main.handler).SelectPage(1);
    fakes::FakeView* page = world.Window(IDD_ADJUSTMENT_PAGE);
    ASSERT_NE(page, nullptr);
    shown = page->visible;
    page->Click(IDC_ADJUSTMENT_CLOSE);
  });
  EXPECT_TRUE(shown);
  EXPECT_TRUE(world.fake.host->missingControls.empty());
}

}  // namespace
