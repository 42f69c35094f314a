// The one main window frame as each of the three programs runs it: what its profile changes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "programs/kestrune/kestrune_tables.h"
#include "programs/sunnabar/sunnabar_tables.h"
#include "programs/trevalo/trevalo_tables.h"
#include "shell/main_window.h"
#include "tests/support/program_world.h"
#include "tests/support/recording_canvas.h"

namespace {

using fakes::FakeView;
using fakes::PaintOp;
using fakes::RecordingCanvas;
using Entries = std::vector<std::pair<std::string, intptr_t>>;

struct FrameCase {
  const char* name;
  shell::ProgramProfile (*profile)();
  int toolPage;
  Entries selector;
  std::pair<int, std::string> aboutItem;
  int aboutTemplate;
  std::vector<int> aboutLabels;  // title, version, body
  std::string versionLabel;      // at file version 3.13.0.0
  std::string aboutBody;
  int aboutPicture;
  std::string closeText;
  std::string manualText;
  std::string pageFailedText;
  std::string toolCaption;  // with "Printer A" chosen
  bool selectorShownOnToolPage;
  bool centred;
  ui::Rect toolTitle;
  std::string secondLine;  // empty: none
  ui::Rect toolSecondLine;
  ui::Rect toolDescription;
  bool titleOnPageZero;
  ui::Rect pageZeroTitle;
};

void PrintTo(const FrameCase& c, std::ostream* out) {
  *out << c.name;
}

const FrameCase CASES[] = {
    {"Kestrune",
     programs::KestruneProfile,
     2,
     {{"T400", 0}, {"T0", 2}},
     {16, "T280"},
     183,
     {1173, 1174, 1175},
     "T10001 3.13",
     "T10000",
     186,
     "T300",
     "T311",
     "T303",
     "T400",
     false,
     true,
     {54, 7, 370, 42},
     "",
     {},
     {54, 42, 595, 60},
     false,
     {}},
    {"Sunnabar",
     programs::SunnabarProfile,
     7,
     {{"T400", 0}, {"T0", 7}},
     {16, "T280"},
     183,
     {1173, 1174, 1175},
     "T10001 3.13",
     "T10000",
     184,
     "T300",
     "T313",
     "T303",
     "T400",
     false,
     true,
     {54, 7, 370, 42},
     "",
     {},
     {54, 42, 595, 60},
     false,
     {}},
    {"Trevalo",
     programs::TrevaloProfile,
     1,
     {{"T0", 0}, {"T10000", 1}, {"T40000", 2}, {"T50000", 3}},
     {32772, "T780"},
     147,
     {1705, 1706, 1707},
     "T80001 3.13",
     "T80000",
     183,
     "T302",
     "T320",
     "T314",
     "T0 - Printer A",
     true,
     false,
     {39, 0, 370, 42},
     "T10400",
     {56, 5, 370, 17},
     {56, 42, 595, 60},
     true,
     {0, 0, 370, 42}},
};

// A page with nothing to do but be shown.
class PlainPage : public shell::Page {
 public:
  explicit PlainPage(int templateId) : templateId_(templateId) {}
  int TemplateId() const override { return templateId_; }
  void SetActionsEnabled(bool) override {}
  ui::View* Window() override { return view_; }
  bool OnInit(ui::View& view) override {
    view_ = &view;
    view.SetClientSize(600, 278);
    return true;
  }
  void OnDestroy() override { view_ = nullptr; }

 private:
  int templateId_;
  ui::View* view_ = nullptr;
};

// The driver-settings connection as the frame works it.
class RecordingDriver : public shell::DriverConnection {
 public:
  void Close() override { log.push_back("close"); }
  void Open(const std::string& printer) override { log.push_back("open " + printer); }
  std::vector<std::string> log;
};

class RecordingObjects : public shell::ProgramObjects {
 public:
  explicit RecordingObjects(RecordingDriver* driver) : driver_(driver) {}
  shell::DriverConnection* Driver() override { return driver_; }

 private:
  RecordingDriver* driver_;
};

class FrameTest : public ::testing::TestWithParam<FrameCase> {
 protected:
  FrameTest() : world(GetParam().profile()) {
    world.fake.system->fileVersionHigh = 0x0003000D;  // 3.13.0.0
    world.app->SetProgramObjects(std::make_unique<RecordingObjects>(&driver));
  }

  shell::PageFactory Pages() {
    shell::ProgramProfile profile = GetParam().profile();
    return [profile](shell::ToolApp&, shell::PageHost&, int number) {
      std::unique_ptr<shell::Page> page;
      for (const shell::PageEntry& entry : profile.pages) {
        if (entry.number == number) page = std::make_unique<PlainPage>(entry.templateId);
      }
      return page;
    };
  }
  static shell::MainWindow& Frame(FakeView& main) {
    return static_cast<shell::MainWindow&>(main.handler);
  }
  static std::vector<PaintOp> Texts(const RecordingCanvas& canvas) {
    std::vector<PaintOp> texts;
    for (const PaintOp& op : canvas.ops) {
      if (op.kind == "text") texts.push_back(op);
    }
    return texts;
  }

  fakes::ProgramWorld world;
  RecordingDriver driver;
};

TEST_P(FrameTest, InitialisesItsSelectorAndShowsItsOwnAbout) {
  const FrameCase& c = GetParam();
  bool ran = false;
  world.Run(Pages(), [&](FakeView& main) {
    ran = true;
    EXPECT_EQ(main.systemMenu, (std::vector<std::pair<int, std::string>>{c.aboutItem}));
    EXPECT_EQ(main.icon, IDI_PROGRAM);
    EXPECT_EQ(main.properties.count("C:ToolsMaint"), 1u);
    EXPECT_EQ(main.controls[IDC_PAGE_SELECTOR].items, c.selector);
    EXPECT_EQ(Frame(main).OnMeasureItem(IDC_PAGE_SELECTOR), 15);
    EXPECT_EQ(Frame(main).OnMeasureItem(IDC_PRINTER_LIST), 0);

    bool painted = false;
    world.fake.host->modalScripts[c.aboutTemplate] = [&](FakeView& about) {
      EXPECT_EQ(about.controls[c.aboutLabels[0]].text, "T400");
      EXPECT_EQ(about.controls[c.aboutLabels[1]].text, c.versionLabel);
      EXPECT_EQ(about.controls[c.aboutLabels[2]].text, c.aboutBody);
      RecordingCanvas canvas;
      about.handler.OnPaint(canvas);
      ASSERT_EQ(canvas.ops.size(), 2u);
      EXPECT_EQ(canvas.ops[1].resource, c.aboutPicture);
      painted = true;
      about.handler.OnLeftButtonUp();
      EXPECT_TRUE(about.ended);
    };
    bool handled = false;
    main.handler.OnSystemCommand(c.aboutItem.first, &handled);
    EXPECT_TRUE(handled);
    EXPECT_TRUE(painted);
    main.handler.OnSystemCommand(0xF060, &handled);  // Close goes to the platform
    EXPECT_FALSE(handled);
  });
  EXPECT_TRUE(ran);
  EXPECT_TRUE(world.fake.host->missingControls.empty());
}

TEST_P(FrameTest, ClosingAsksWithItsText) {
  const FrameCase& c = GetParam();
  world.Run(Pages(), [&](FakeView& main) {
    world.fake.host->answers.push_back(ui::Answer::Cancel);
    main.handler.OnClose();
    EXPECT_FALSE(main.ended);
    const fakes::ShownMessage& asked = world.fake.host->messages.back();
    EXPECT_EQ(asked.text, c.closeText);
    EXPECT_EQ(asked.buttons, ui::Buttons::OkCancel);
    EXPECT_EQ(asked.icon, ui::Icon::Information);
    main.handler.OnClose();
    EXPECT_TRUE(main.ended);
    EXPECT_EQ(main.properties.count("C:ToolsMaint"), 0u);
  });
}

TEST_P(FrameTest, ManualThatCannotBeOpenedIsReportedWithItsText) {
  const FrameCase& c = GetParam();
  world.Run(Pages(), [&](FakeView& main) {
    world.fake.host->shellOpenResult = false;
    Frame(main).OpenManual(0, 0);
    EXPECT_EQ(world.MessageTexts().back(), c.manualText);
  });
}

TEST_P(FrameTest, PageIconsThatCannotBeLoadedEndTheWindow) {
  world.fake.host->missingBitmaps.insert(IDB_PAGE_ICONS);
  world.Run(Pages(), [](FakeView&) { FAIL() << "the window should have ended"; });
  EXPECT_EQ(world.MessageTexts(), std::vector<std::string>{GetParam().pageFailedText});
  EXPECT_EQ(world.MessageIcons(), std::vector<ui::Icon>{ui::Icon::Error});
}

TEST_P(FrameTest, ToolPageSwitch) {
  const FrameCase& c = GetParam();
  world.Run(Pages(), [&](FakeView& main) {
    world.app->SetPrinter("Printer A", fakes::TEST_DRIVER, "USB001");
    Frame(main).SelectPage(0);
    driver.log.clear();
    int centredBefore = main.centred;
    Frame(main).SelectPage(c.toolPage);
    EXPECT_EQ(Frame(main).CurrentPage(), c.toolPage);
    EXPECT_EQ(main.title, c.toolCaption);
    EXPECT_EQ(main.controls[IDC_PAGE_SELECTOR].visible, c.selectorShownOnToolPage);
    EXPECT_TRUE(main.controls[IDC_PAGE_SELECTOR].enabled);
    EXPECT_EQ(main.centred > centredBefore, c.centred);
    EXPECT_EQ(main.clientHeight, 70 + 45 + 278);
    // The driver-settings connection is closed at every switch and opened for a tool page.
    EXPECT_EQ(driver.log, (std::vector<std::string>{"close", "open Printer A"}));
    Frame(main).SelectPage(0);
    EXPECT_EQ(driver.log.back(), "close");
    EXPECT_FALSE(main.controls[IDC_PAGE_SELECTOR].visible);
  });
}

TEST_P(FrameTest, HeaderOfAToolPageAndOfPageZero) {
  const FrameCase& c = GetParam();
  world.Run(Pages(), [&](FakeView& main) {
    Frame(main).SelectPage(c.toolPage);
    RecordingCanvas canvas;
    main.handler.OnPaint(canvas);
    ASSERT_GE(canvas.ops.size(), 3u);
    EXPECT_EQ(canvas.ops[0].kind, "fill");
    EXPECT_EQ(canvas.ops[0].color, ui::WHITE);
    EXPECT_EQ(canvas.ops[1].resource, IDB_HEADER);
    EXPECT_EQ(canvas.ops[2].kind, "cell");
    EXPECT_EQ(canvas.ops[2].index, c.toolPage);
    EXPECT_EQ(canvas.ops[2].x, 15);
    EXPECT_EQ(canvas.ops[2].y, 13);
    std::vector<PaintOp> texts = Texts(canvas);
    std::vector<ui::Rect> rects;
    for (const PaintOp& text : texts) {
      rects.push_back(text.rect);
      EXPECT_EQ(text.color, ui::SYS_WINDOW_TEXT) << text.text;
    }
    std::vector<ui::Rect> expected = {c.toolTitle, c.toolDescription};
    if (!c.secondLine.empty()) {
      expected.insert(expected.begin() + 1, c.toolSecondLine);
      ASSERT_EQ(texts.size(), 3u);
      EXPECT_EQ(texts[1].text, c.secondLine);
    }
    EXPECT_EQ(rects, expected);

    Frame(main).SelectPage(0);
    RecordingCanvas zero;
    main.handler.OnPaint(zero);
    texts = Texts(zero);
    for (const PaintOp& op : zero.ops) EXPECT_NE(op.kind, "cell");
    if (c.titleOnPageZero) {
      ASSERT_EQ(texts.size(), 2u);
      EXPECT_EQ(texts[0].rect, c.pageZeroTitle);
    } else {
      EXPECT_TRUE(texts.empty());
    }
  });
}

TEST_P(FrameTest, MinimisedWindowErasesAndCentresItsIcon) {
  world.Run(Pages(), [&](FakeView& main) {
    main.minimized = true;
    RecordingCanvas canvas(ui::Rect{0, 0, 36, 36});
    main.handler.OnPaint(canvas);
    ASSERT_EQ(canvas.ops.size(), 2u);
    EXPECT_EQ(canvas.ops[0].kind, "fill");
    EXPECT_EQ(canvas.ops[0].color, ui::SYS_BUTTON_FACE);
    EXPECT_EQ(canvas.ops[1].kind, "icon");
    EXPECT_EQ(canvas.ops[1].resource, IDI_PROGRAM);
    EXPECT_EQ(canvas.ops[1].x, 2);  // (36 - 32 + 1) / 2
    EXPECT_EQ(canvas.ops[1].y, 2);
  });
}

TEST_P(FrameTest, SelectorEntriesInTheSystemColours) {
  world.Run(Pages(), [&](FakeView& main) {
    struct Entry {
      bool selected;
      bool inField;
      ui::Color fill, text;
      bool line;
    } entries[] = {{true, false, ui::SYS_HIGHLIGHT, ui::SYS_HIGHLIGHT_TEXT, true},
                   {false, false, ui::SYS_WINDOW, ui::SYS_WINDOW_TEXT, true},
                   {false, true, ui::SYS_WINDOW, ui::SYS_WINDOW_TEXT, false}};
    for (const Entry& e : entries) {
      SCOPED_TRACE(std::string(e.selected ? "selected" : "plain") + (e.inField ? " field" : ""));
      RecordingCanvas canvas;
      main.handler.OnDrawItem(IDC_PAGE_SELECTOR, 1, e.selected, e.inField, canvas,
                              ui::Rect{0, 15, 190, 30});
      ASSERT_GE(canvas.ops.size(), 2u);
      EXPECT_EQ(canvas.ops[0].color, e.fill);
      EXPECT_EQ(canvas.ops[1].color, e.text);
      EXPECT_EQ(canvas.ops[1].rect.left, 2);
      EXPECT_EQ(canvas.ops.size(), e.line ? 3u : 2u);  // the dotted line under the title
    }
  });
}

INSTANTIATE_TEST_SUITE_P(Programs, FrameTest, ::testing::ValuesIn(CASES),
                         [](const ::testing::TestParamInfo<FrameCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
