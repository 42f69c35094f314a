// The owner-drawn controls' rules: the range slider's clamps, push rules and drag limits, the
// marked combo's refusal of marked entries, the guide list's scrolling and hover.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "shell/guide_list.h"
#include "shell/marked_combo.h"
#include "shell/range_slider.h"
#include "tests/support/fake_ui.h"

namespace {

using shell::RangeSlider;
using shell::SliderThumb;

// 922 pixels of travel: 25 units of the default range are 114 pixels.
const ui::Rect TRACK{20, 300, 942, 340};
constexpr int THUMB_Y_LOW = 310;
constexpr int THUMB_Y_HIGH = 330;

struct SliderParent : shell::RangeSliderParent {
  void SliderChanged(unsigned message, int value) override { told.push_back({message, value}); }
  void RepaintNow(const ui::Rect&) override { ++repaints; }
  void CaptureMouse(bool capture) override { captured = capture; }
  std::vector<std::pair<unsigned, int>> told;
  int repaints = 0;
  bool captured = false;
};

TEST(RangeSliderTest, SetValueClampsAndPushes) {
  struct Case {
    const char* name;
    std::vector<std::pair<SliderThumb, int>> steps;
    int low;
    int high;
    std::vector<std::pair<unsigned, int>> told;
  };
  const Case cases[] = {
      {"low clamped below the high end",
       {{SliderThumb::Low, 90}},
       75,
       100,
       {{shell::SLIDER_LOW_CHANGED, 75}}},
      {"high clamped above the low end",
       {{SliderThumb::High, -100}},
       -100,
       -75,
       {{shell::SLIDER_HIGH_CHANGED, -75}}},
      {"inside the range nobody is told",
       {{SliderThumb::Low, -40}, {SliderThumb::High, 60}},
       -40,
       60,
       {}},
      {"below the minimum", {{SliderThumb::Low, -500}}, -100, 100, {}},
      {"high at its lowest with the low thumb moved away",
       {{SliderThumb::Low, -90}, {SliderThumb::High, -75}},
       -90,
       -75,
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SliderParent parent;
    RangeSlider slider;
    slider.Attach(&parent, TRACK);
    for (auto [thumb, value] : c.steps) slider.SetValue(thumb, value, true);
    EXPECT_EQ(slider.Low(), c.low);
    EXPECT_EQ(slider.High(), c.high);
    EXPECT_EQ(parent.told, c.told);
    EXPECT_LE(slider.LowLeft() + RangeSlider::THUMB_WIDTH, slider.HighLeft());
  }
}

TEST(RangeSliderTest, PushedThumbStandsTheFixedDistanceAway) {
  RangeSlider slider;
  slider.Attach(nullptr, TRACK);
  slider.SetValue(SliderThumb::Low, 90, false);
  EXPECT_EQ(slider.LowLeft(), slider.HighLeft() - RangeSlider::PUSH_DISTANCE);
}

TEST(RangeSliderTest, RangeNarrowerThanTheThumbsIsRefused) {
  RangeSlider slider;
  slider.Attach(nullptr, TRACK);
  EXPECT_FALSE(slider.SetRange(10, -10));
  EXPECT_FALSE(slider.SetRange(5, 5));
  EXPECT_EQ(slider.Maximum(), 100);
  EXPECT_TRUE(slider.SetRange(25, 0));
  EXPECT_EQ(slider.High(), 25);
}

TEST(RangeSliderTest, DraggingLimitsInTheirOrder) {
  struct Case {
    const char* name;
    SliderThumb thumb;
    std::vector<int> moves;  // mouse x, starting at the thumb's left edge + 1
    int left;                // where the dragged thumb ends
    int otherLeft;
    int low;
    int high;
    int highBefore = 100;  // values set before the drag
    int lowBefore = -100;
  };
  const int lowStart = TRACK.left;         // value -100
  const int highStart = TRACK.right - 10;  // value 100
  const Case cases[] = {
      {"low thumb a little right",
       SliderThumb::Low,
       {lowStart + 1 + 92},
       lowStart + 92,
       highStart,
       -80,
       100},
      {"low thumb stops short of the right end",
       SliderThumb::Low,
       {TRACK.right},
       TRACK.right - 124,
       highStart,
       75,
       100},
      // clang-format off
      {"low thumb pushes the high thumb", SliderThumb::Low, {lowStart + 1 + 650},
       lowStart + 650, lowStart + 764, 42, 67, 50},
      {"high thumb pushes the low thumb", SliderThumb::High, {highStart + 1 - 700},
       highStart - 700, highStart - 814, -79, -54, 100, -40},
      // clang-format on
      {"high thumb stops short of the left end",
       SliderThumb::High,
       {TRACK.left - 50},
       TRACK.left + 114,
       lowStart,
       -100,
       -75},
      {"low thumb not left of the track",
       SliderThumb::Low,
       {lowStart - 30},
       lowStart,
       highStart,
       -100,
       100},
      // Stopped at a limit, the pointer must come back past where it stopped.
      {"stopped thumb waits for the pointer",
       SliderThumb::Low,
       {lowStart - 30, lowStart + 1 + 10},
       lowStart + 10,
       highStart,
       -98,
       100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SliderParent parent;
    RangeSlider slider;
    slider.Attach(&parent, TRACK);
    slider.SetValue(SliderThumb::High, c.highBefore, false);
    slider.SetValue(SliderThumb::Low, c.lowBefore, false);
    bool low = c.thumb == SliderThumb::Low;
    int start = low ? slider.LowLeft() : slider.HighLeft();
    slider.MouseDown(start + 1, low ? THUMB_Y_LOW : THUMB_Y_HIGH);
    ASSERT_TRUE(slider.IsDragging());
    EXPECT_TRUE(parent.captured);
    for (int x : c.moves) slider.MouseMove(x);
    slider.MouseUp();
    EXPECT_FALSE(parent.captured);
    EXPECT_EQ(low ? slider.LowLeft() : slider.HighLeft(), c.left);
    EXPECT_EQ(low ? slider.HighLeft() : slider.LowLeft(), c.otherLeft);
    EXPECT_EQ(slider.Low(), c.low);
    EXPECT_EQ(slider.High(), c.high);
  }
}

TEST(RangeSliderTest, DraggingIntoTheOtherThumbReportsBothValues) {
  SliderParent parent;
  RangeSlider slider;
  slider.Attach(&parent, TRACK);
  slider.SetValue(SliderThumb::High, 50, false);
  slider.MouseDown(TRACK.left + 1, THUMB_Y_LOW);
  slider.MouseMove(TRACK.left + 1 + 650);
  EXPECT_EQ(parent.told, (std::vector<std::pair<unsigned, int>>{{shell::SLIDER_LOW_CHANGED, 42},
                                                                {shell::SLIDER_HIGH_CHANGED, 67}}));
}

TEST(RangeSliderTest, PressesOutsideAThumbOrWhileDisabledDragNothing) {
  RangeSlider slider;
  slider.Attach(nullptr, TRACK);
  slider.MouseDown(TRACK.left + 400, THUMB_Y_LOW);  // on the track, between the thumbs
  slider.MouseDown(TRACK.left + 1, THUMB_Y_HIGH);   // below the low thumb
  EXPECT_FALSE(slider.IsDragging());
  slider.Enable(false);
  slider.MouseDown(TRACK.left + 1, THUMB_Y_LOW);
  EXPECT_FALSE(slider.IsDragging());
}

// Records fills and pixels by colour.
struct CountingCanvas : ui::Canvas {
  ui::Rect ClientRect() override { return {0, 0, 1000, 400}; }
  void Fill(const ui::Rect& r, ui::Color color) override {
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) pixels[{x, y}] = color;
    }
  }
  void DottedLine(int, int, int, ui::Color) override {}
  void Text(const std::string& text, const ui::Rect&, ui::Font, ui::Color color) override {
    texts.push_back({text, color});
  }
  void Bitmap(int, int, int) override {}
  void StripCell(int, int, ui::Color, int, int, int) override {}
  void Icon(int, int, int) override {}
  int Count(ui::Color color) const {
    int n = 0;
    for (const auto& p : pixels) n += p.second == color ? 1 : 0;
    return n;
  }
  std::map<std::pair<int, int>, ui::Color> pixels;
  std::vector<std::pair<std::string, ui::Color>> texts;
};

TEST(RangeSliderTest, MiddleMarkerIsRedUnlessCovered) {
  RangeSlider slider;
  slider.Attach(nullptr, TRACK);
  CountingCanvas plain;
  slider.Paint(plain);
  EXPECT_EQ(plain.Count(ui::RED), 0);
  slider.SetMiddleMarker(true);
  CountingCanvas marked;
  slider.Paint(marked);
  EXPECT_EQ(marked.Count(ui::RED), 7);  // ticks of three and four pixels
  // The track line's four colours, each one pixel high.
  int y = (TRACK.top + TRACK.bottom) / 2;
  EXPECT_EQ((marked.pixels[{TRACK.left + 300, y - 2}]), ui::SYS_BUTTON_SHADOW);
  EXPECT_EQ((marked.pixels[{TRACK.left + 300, y + 1}]), ui::SYS_BUTTON_HIGHLIGHT);
}

TEST(MarkedComboTest, MarkedEntriesAreGreyAndRefused) {
  struct NoHandler : ui::DialogHandler {
    bool OnInit(ui::View&) override { return true; }
  } handler;
  fakes::FakeClock clock;
  fakes::FakeHost host(clock);
  fakes::FakeView view(host, 0, nullptr, handler);
  constexpr int LIST = 1704;
  view.controls[LIST] = fakes::FakeControl();
  for (int i = 0; i < 3; ++i) view.ComboAdd(LIST, "size " + std::to_string(i), 9 + i);
  shell::MarkedCombo combo(view, LIST);
  combo.SetMark(1, true);
  EXPECT_TRUE(combo.IsMarked(1));
  EXPECT_FALSE(combo.IsMarked(0));
  EXPECT_EQ(shell::MarkedCombo::Value(view.ComboData(LIST, 1)), 10);
  EXPECT_LT(view.ComboData(LIST, 1), 0);

  view.ComboSelect(LIST, 2);
  combo.OnDropDown();
  view.ComboSelect(LIST, 1);
  EXPECT_FALSE(combo.OnChoiceConfirmed());
  EXPECT_EQ(view.ComboSelection(LIST), 2);
  view.ComboSelect(LIST, 0);
  EXPECT_TRUE(combo.OnChoiceConfirmed());
  EXPECT_EQ(view.ComboSelection(LIST), 0);

  combo.SetMark(1, false);
  EXPECT_EQ(view.ComboData(LIST, 1), 10);

  combo.SetMark(1, true);
  CountingCanvas canvas;
  combo.DrawItem(canvas, {0, 0, 100, 13}, 1, true, 0);
  ASSERT_EQ(canvas.texts.size(), 1u);
  EXPECT_EQ(canvas.texts[0].second, shell::MARKED_TEXT);
  EXPECT_EQ(canvas.Count(ui::SYS_HIGHLIGHT), 0);
}

struct GuideWindows : shell::GuideListWindows {
  void SetGuideText(const std::string& text) override { guides.push_back(text); }
  void PlaceItem(int index, const ui::Rect& button, const ui::Rect&, const ui::Rect&) override {
    buttons[index] = button;
  }
  void SetScrollBar(bool shown, int maximum, int page, int position) override {
    scrollShown = shown;
    scrollMax = maximum;
    scrollPage = page;
    scrollPos = position;
  }
  void RepaintPanel() override {}
  void RepaintItem(int) override {}
  void EnableItem(int, bool) override {}
  void DrawFocusFrame(int index, const ui::Rect&) override { frames.push_back(index); }
  void CaptureMouse(bool capture) override { captured = capture; }
  void NudgeMouse() override { ++nudges; }
  void FocusItem(int index) override { focused = index; }
  void ItemChosen(int index) override { chosen.push_back(index); }

  std::vector<std::string> guides;
  std::map<int, ui::Rect> buttons;
  bool scrollShown = false;
  int scrollMax = 0, scrollPage = 0, scrollPos = 0;
  std::vector<int> frames;
  bool captured = false;
  int nudges = 0;
  int focused = -1;
  std::vector<int> chosen;
};

class GuideListTest : public ::testing::Test {
 protected:
  // Rows visible: (height - 4) / 65.
  void Make(int rows, int height) {
    list.Create({0, 0, 600, height}, "default");
    for (int i = 0; i < rows; ++i) {
      list.AddItem(i + 1, 149 + i, "title", "description", "guide " + std::to_string(i));
    }
  }
  GuideWindows windows;
  shell::GuideList list{windows};
};

TEST_F(GuideListTest, Geometry) {
  EXPECT_EQ(shell::GuideList::PanelRect({10, 0, 610, 300}), (ui::Rect{10, 0, 408, 300}));
  EXPECT_EQ(shell::GuideList::PaneRect({10, 0, 610, 300}), (ui::Rect{416, 0, 610, 300}));
  Make(3, 300);
  EXPECT_EQ(windows.buttons[2], (ui::Rect{5, 135, 44, 174}));
}

TEST_F(GuideListTest, ScrollingStaysWithinItsLimits) {
  Make(3, 300);  // four rows fit: no scroll bar
  EXPECT_FALSE(windows.scrollShown);
  list.Scroll(shell::GuideScroll::LineDown);
  EXPECT_EQ(list.FirstRow(), 0);

  GuideWindows w;
  shell::GuideList longList(w);
  longList.Create({0, 0, 600, 134}, "default");  // two rows fit
  for (int i = 0; i < 6; ++i) longList.AddItem(i, 149, "t", "d", "g");
  EXPECT_TRUE(w.scrollShown);
  EXPECT_EQ(w.scrollMax, 5);
  EXPECT_EQ(w.scrollPage, 2);
  struct Step {
    shell::GuideScroll action;
    int position;
    int first;
  };
  const Step steps[] = {{shell::GuideScroll::LineUp, 0, 0},   {shell::GuideScroll::PageDown, 0, 2},
                        {shell::GuideScroll::PageDown, 0, 4}, {shell::GuideScroll::PageDown, 0, 4},
                        {shell::GuideScroll::Thumb, 1, 1},    {shell::GuideScroll::Thumb, 9, 4},
                        {shell::GuideScroll::Top, 0, 0},      {shell::GuideScroll::Bottom, 0, 4}};
  for (const Step& s : steps) {
    longList.Scroll(s.action, s.position);
    EXPECT_EQ(longList.FirstRow(), s.first);
    EXPECT_EQ(w.scrollPos, s.first);
  }
  EXPECT_EQ(w.buttons[4], (ui::Rect{5, 5, 44, 44}));
  longList.Wheel(120);
  EXPECT_EQ(longList.FirstRow(), 3);
  longList.Wheel(-120);
  EXPECT_EQ(longList.FirstRow(), 4);
}

TEST_F(GuideListTest, HoverOnEnabledAndDisabledItems) {
  Make(3, 300);
  list.ButtonMouseMove(0, true);
  list.ButtonMouseMove(0, true);
  EXPECT_EQ(list.GuideText(), "guide 0");
  EXPECT_EQ(windows.frames, std::vector<int>{0});
  EXPECT_TRUE(windows.captured);
  list.ButtonMouseMove(0, false);
  EXPECT_EQ(list.GuideText(), "default");
  EXPECT_FALSE(windows.captured);
  EXPECT_EQ(windows.nudges, 1);

  // A disabled button gets no mouse input; the panel shows its guide all the same.
  std::string replaced = "not yet";
  list.EnableItem(1, false, &replaced);
  list.PanelMouseMove(20, 65 + 20);
  EXPECT_EQ(list.GuideText(), "not yet");
  EXPECT_TRUE(windows.captured);
  list.PanelMouseMove(21, 65 + 21);
  list.PanelMouseMove(200, 65 + 20);
  EXPECT_EQ(list.GuideText(), "default");
  EXPECT_FALSE(windows.captured);
  size_t writes = windows.guides.size();
  list.Hover(0);
  EXPECT_EQ(windows.guides.size(), writes);  // unchanged text is not written again
}

TEST_F(GuideListTest, ClicksAndKeys) {
  Make(3, 300);
  list.ButtonUp(2);  // released without a press
  list.ButtonDown(2);
  list.ButtonUp(2);
  EXPECT_EQ(windows.chosen, std::vector<int>{2});
  list.PanelCommand(shell::GUIDE_BUTTON_LAST + 1);
  EXPECT_EQ(windows.chosen.size(), 1u);

  list.EnableItem(1, false);
  EXPECT_TRUE(list.OnKey(ui::KEY_TAB, false, 0));
  EXPECT_EQ(windows.focused, 2);
  EXPECT_FALSE(list.OnKey(ui::KEY_TAB, false, 2));  // no wrap
  EXPECT_TRUE(list.OnKey(ui::KEY_TAB, true, 2));
  EXPECT_EQ(windows.focused, 0);
  EXPECT_TRUE(list.OnKey(ui::KEY_ESCAPE, false, 0));
  EXPECT_TRUE(list.OnKey(ui::KEY_RETURN, false, 0));
  EXPECT_EQ(windows.chosen.back(), 0);
  list.OnFocus(true);
  EXPECT_EQ(windows.focused, 2);
}

}  // namespace
