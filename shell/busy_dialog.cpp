// The modeless wait dialog that keeps the program alive while a page waits for the printer.
#include "shell/busy_dialog.h"

#include "shell/layout.h"
#include "shell/tool_app.h"

namespace shell {

namespace {

const ui::Rect BUSY_WINDOW = {0, 0, 332, 131};

constexpr int TEXT_BUSY_MESSAGE = 20000;
constexpr int TEXT_BUSY_CANCEL = 20100;
constexpr int TEXT_BUSY_MESSAGE_TREVALO = 100000;
constexpr int TEXT_BUSY_CANCEL_TREVALO = 100100;
// Trevalo's message when the wait cannot be cancelled.
constexpr int TEXT_BUSY_NO_CANCEL_TREVALO = 90000;

const ControlLayout BUSY_LAYOUT[] = {
    {BUSY_PICTURE, {12, 11, 63, 59}, NO_TEXT},
    {BUSY_MESSAGE, {74, 18, 316, 53}, TEXT_BUSY_MESSAGE},
    {ui::ID_CANCEL, {122, 75, 210, 96}, TEXT_BUSY_CANCEL},
};

const ControlLayout BUSY_LAYOUT_TREVALO[] = {
    {BUSY_PICTURE, {12, 11, 63, 59}, NO_TEXT},
    {BUSY_MESSAGE, {74, 18, 316, 53}, TEXT_BUSY_MESSAGE_TREVALO},
    {ui::ID_CANCEL, {122, 75, 210, 96}, TEXT_BUSY_CANCEL_TREVALO},
};

}  // namespace

BusyDialog::BusyDialog(ToolApp& app) : app_(app) {}

BusyDialog::~BusyDialog() {
  if (window_) Stop();
}

bool BusyDialog::Start(const std::string& caption, uint32_t limitMs, bool cancellable,
                       ui::View* owner) {
  ui::Host& host = app_.Host();
  owner_ = owner ? owner : host.MainWindow();
  cancellable_ = cancellable;
  caption_ = caption;

  // Until the dialog runs, a caller that polls sees a wait that is already over.
  state_ = BusyState::Cancelled;
  window_ = host.CreateModeless(BUSY_TEMPLATE, owner_, false, *this);
  if (!window_) return false;

  window_->SetTitle(caption_);
  if (owner_) owner_->Enable(false);
  window_->Show(true);
  if (!cancellable_) {
    window_->ShowControl(ui::ID_CANCEL, false);
    if (app_.Profile().program == Program::Trevalo) {
      window_->SetControlText(BUSY_MESSAGE, app_.GetText(TEXT_BUSY_NO_CANCEL_TREVALO));
    }
  }
  host.PumpMessages();

  state_ = BusyState::Running;
  window_->SetTimer(BUSY_BLINK_TIMER, BUSY_BLINK_MS);
  window_->SetTimer(BUSY_LIMIT_TIMER, limitMs);
  return true;
}

BusyState BusyDialog::Poll() {
  app_.Host().PumpMessages();
  return state_;
}

void BusyDialog::Stop() {
  if (owner_) owner_->Enable(true);
  if (window_) {
    window_->KillTimer(BUSY_BLINK_TIMER);
    window_->KillTimer(BUSY_LIMIT_TIMER);
    window_.reset();
    app_.Host().PumpMessages();
  }
}

bool BusyDialog::OnInit(ui::View& view) {
  view_ = &view;
  view.SetWindowRect(BUSY_WINDOW);
  view.CenterOnParent();
  if (app_.Profile().program == Program::Trevalo) {
    LayOutControls(view, app_.Fonts(), app_.GetTexts(), BUSY_LAYOUT_TREVALO);
  } else {
    LayOutControls(view, app_.Fonts(), app_.GetTexts(), BUSY_LAYOUT);
  }
  return true;
}

void BusyDialog::OnCommand(int id, int /*code*/) {
  // Escape arrives as the Cancel command too; with the button hidden neither may cancel.
  if (id != ui::ID_CANCEL || !view_ || !view_->IsControlVisible(ui::ID_CANCEL)) return;
  if (state_ == BusyState::Running) state_ = BusyState::Cancelled;
  // Trevalo leaves its dialog on screen until the caller stops it.
  if (app_.Profile().program != Program::Trevalo) view_->Show(false);
}

void BusyDialog::OnTimer(int id) {
  if (id == BUSY_BLINK_TIMER) {
    phase_ = 1 - phase_;
    if (view_) view_->InvalidateControl(BUSY_PICTURE);
  } else if (id == BUSY_LIMIT_TIMER) {
    // The platform timer keeps firing; only the first firing while running counts.
    if (state_ == BusyState::Running) state_ = BusyState::TimedOut;
  }
}

void BusyDialog::OnPaint(ui::Canvas& canvas) {
  if (WhiteBackground()) canvas.Fill(canvas.ClientRect(), ui::WHITE);
  if (!view_) return;
  ui::Rect picture = view_->ControlRect(BUSY_PICTURE);
  canvas.StripCell(BUSY_BITMAP, BUSY_CELL_WIDTH, ui::MAGENTA, phase_, picture.left, picture.top);
}

void BusyDialog::OnDestroy() {
  // However the window goes, the owner must not stay disabled.
  if (owner_) owner_->Enable(true);
  view_ = nullptr;
}

bool BusyDialog::WhiteBackground() {
  return app_.Profile().program != Program::Trevalo;
}

}  // namespace shell
