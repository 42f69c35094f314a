// The busy dialog on the fake host and clock: layout, owner, Cancel and Escape, time limit,
// blinking and painting, for the plain programs and for Trevalo.
#include "shell/busy_dialog.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "programs/kestrune/kestrune_tables.h"
#include "programs/trevalo/trevalo_tables.h"
#include "shell/tool_app.h"
#include "tests/support/recording_canvas.h"
#include "tests/support/test_app.h"

namespace {

using fakes::NullHandler;
using fakes::PaintOp;
using fakes::RecordingCanvas;
using shell::BusyDialog;
using shell::BusyState;

class BusyDialogTest : public ::testing::Test {
 protected:
  void Make(shell::ProgramProfile profile) {
    owner.reset();
    app.reset();
    app = std::make_unique<shell::ToolApp>(std::move(profile), fakes::MakeFakePlatform(&platform));
    fakes::InstallTestSettings(*platform.files, {20000, 20100, 90000, 100000, 100100});
    host().templates[IDD_BUSY] = {IDC_BUSY_PICTURE, IDC_BUSY_MESSAGE, ui::ID_CANCEL};
    owner = host().CreateModeless(102, nullptr, false, ownerHandler);
    host().SetMainWindow(owner.get());
  }
  void SetUp() override { Make(programs::KestruneProfile()); }

  fakes::FakeHost& host() { return *platform.host; }
  fakes::FakeView* Window() { return host().Find(IDD_BUSY); }
  void Wait(uint32_t ms) { platform.clock->Advance(ms); }

  fakes::TestPlatform platform{};
  std::unique_ptr<shell::ToolApp> app;
  NullHandler ownerHandler;
  std::unique_ptr<ui::View> owner;
};

TEST_F(BusyDialogTest, StartLaysOutTheDialogAndDisablesTheOwner) {
  BusyDialog dialog(*app);
  ASSERT_TRUE(dialog.Start("Waiting", 15000, true, nullptr));
  fakes::FakeView* w = Window();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->parent, owner.get());
  EXPECT_EQ(w->title, "Waiting");
  EXPECT_TRUE(w->visible);
  EXPECT_EQ(w->windowRect, (ui::Rect{0, 0, 332, 131}));
  EXPECT_EQ(w->controls[IDC_BUSY_PICTURE].rect, (ui::Rect{12, 11, 63, 59}));
  EXPECT_EQ(w->controls[IDC_BUSY_MESSAGE].rect, (ui::Rect{74, 18, 316, 53}));
  EXPECT_EQ(w->controls[ui::ID_CANCEL].rect, (ui::Rect{122, 75, 210, 96}));
  EXPECT_EQ(w->controls[IDC_BUSY_MESSAGE].text, "T20000");
  EXPECT_EQ(w->controls[ui::ID_CANCEL].text, "T20100");
  EXPECT_TRUE(w->controls[ui::ID_CANCEL].visible);
  EXPECT_EQ(w->timers.at(shell::BUSY_BLINK_TIMER).interval, shell::BUSY_BLINK_MS);
  EXPECT_EQ(w->timers.at(shell::BUSY_LIMIT_TIMER).interval, 15000u);
  EXPECT_TRUE(dialog.WhiteBackground());
  EXPECT_FALSE(owner->IsEnabled());
  EXPECT_EQ(dialog.Poll(), BusyState::Running);

  dialog.Stop();
  EXPECT_EQ(Window(), nullptr);
  EXPECT_TRUE(owner->IsEnabled());
}

TEST_F(BusyDialogTest, TimesOutWhenTheLimitPassesWithoutPolls) {
  BusyDialog dialog(*app);
  ASSERT_TRUE(dialog.Start("Waiting", 15000, false, nullptr));
  Wait(14999);
  EXPECT_EQ(dialog.Poll(), BusyState::Running);
  Wait(5001);
  EXPECT_EQ(dialog.Poll(), BusyState::TimedOut);
  // Later firings of the limit timer leave the outcome as it is.
  Wait(15000);
  EXPECT_EQ(dialog.Poll(), BusyState::TimedOut);
}

TEST_F(BusyDialogTest, CancelEndsTheWaitButKeepsTheOwnerDisabledUntilStop) {
  BusyDialog dialog(*app);
  ASSERT_TRUE(dialog.Start("Waiting", 15000, true, nullptr));
  Window()->Click(ui::ID_CANCEL);
  EXPECT_EQ(dialog.Poll(), BusyState::Cancelled);
  EXPECT_FALSE(Window()->visible);
  EXPECT_FALSE(owner->IsEnabled());
  Wait(20000);
  EXPECT_EQ(dialog.Poll(), BusyState::Cancelled);
  dialog.Stop();
  EXPECT_TRUE(owner->IsEnabled());
}

TEST_F(BusyDialogTest, EscapeDoesNothingWithoutCancelButton) {
  BusyDialog dialog(*app);
  ASSERT_TRUE(dialog.Start("Waiting", 15000, false, nullptr));
  EXPECT_FALSE(Window()->controls[ui::ID_CANCEL].visible);
  EXPECT_EQ(Window()->controls[IDC_BUSY_MESSAGE].text, "T20000");
  Window()->handler.OnCommand(ui::ID_CANCEL, 0);  // what Escape sends
  EXPECT_EQ(dialog.Poll(), BusyState::Running);
  EXPECT_TRUE(Window()->visible);
}

TEST_F(BusyDialogTest, PictureBlinksOncePerSecondAtThePicturePosition) {
  BusyDialog dialog(*app);
  ASSERT_TRUE(dialog.Start("Waiting", 15000, false, nullptr));
  std::vector<int> cells;
  for (int second = 0; second < 4; ++second) {
    Wait(1000);
    dialog.Poll();
    RecordingCanvas canvas{ui::Rect{0, 0, 332, 131}};
    Window()->handler.OnPaint(canvas);
    ASSERT_EQ(canvas.ops.size(), 2u);
    EXPECT_EQ(canvas.ops[0].kind, "fill");
    EXPECT_EQ(canvas.ops[0].color, ui::WHITE);
    EXPECT_EQ(canvas.ops[0].rect, (ui::Rect{0, 0, 332, 131}));
    const PaintOp& cell = canvas.ops[1];
    EXPECT_EQ(cell.kind, "cell");
    EXPECT_EQ(cell.resource, IDB_BUSY_FRAMES);
    EXPECT_EQ(cell.cellWidth, 32);
    EXPECT_EQ(cell.color, ui::MAGENTA);
    EXPECT_EQ(cell.x, 12);
    EXPECT_EQ(cell.y, 11);
    cells.push_back(cell.index);
  }
  EXPECT_EQ(cells, (std::vector<int>{1, 0, 1, 0}));
  EXPECT_GE(Window()->invalidations, 4);
}

TEST_F(BusyDialogTest, OwnerIsThePassedWindowAndComesBackOnDestruction) {
  NullHandler pageHandler;
  std::unique_ptr<ui::View> page = host().CreateModeless(134, owner.get(), true, pageHandler);
  {
    BusyDialog dialog(*app);
    ASSERT_TRUE(dialog.Start("Waiting", 15000, true, page.get()));
    EXPECT_EQ(Window()->parent, page.get());
    EXPECT_FALSE(page->IsEnabled());
    EXPECT_TRUE(owner->IsEnabled());
  }
  EXPECT_TRUE(page->IsEnabled());
  EXPECT_EQ(Window(), nullptr);
}

TEST_F(BusyDialogTest, FailedCreationReportsCancelled) {
  host().failingTemplates.insert(IDD_BUSY);
  BusyDialog dialog(*app);
  EXPECT_FALSE(dialog.Start("Waiting", 15000, true, nullptr));
  EXPECT_EQ(dialog.State(), BusyState::Cancelled);
  EXPECT_TRUE(owner->IsEnabled());
}

TEST_F(BusyDialogTest, TrevaloTextsBackgroundAndCancel) {
  Make(programs::TrevaloProfile());
  {
    BusyDialog dialog(*app);
    ASSERT_TRUE(dialog.Start("Waiting", 15000, true, nullptr));
    EXPECT_EQ(Window()->controls[IDC_BUSY_MESSAGE].text, "T100000");
    EXPECT_EQ(Window()->controls[ui::ID_CANCEL].text, "T100100");
    EXPECT_FALSE(dialog.WhiteBackground());
    RecordingCanvas canvas{ui::Rect{0, 0, 332, 131}};
    Window()->handler.OnPaint(canvas);
    ASSERT_EQ(canvas.ops.size(), 1u);
    EXPECT_EQ(canvas.ops[0].kind, "cell");
    // Cancel only sets the state; the dialog stays until the caller stops it.
    Window()->Click(ui::ID_CANCEL);
    EXPECT_EQ(dialog.Poll(), BusyState::Cancelled);
    EXPECT_TRUE(Window()->visible);
    dialog.Stop();
  }
  BusyDialog fixed(*app);
  ASSERT_TRUE(fixed.Start("Waiting", 15000, false, nullptr));
  EXPECT_EQ(Window()->controls[IDC_BUSY_MESSAGE].text, "T90000");
  fixed.Stop();
}

}  // namespace
