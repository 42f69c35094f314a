// The modeless wait dialog that keeps the program alive while a page waits for the printer.
#include "shell/busy_dialog.h"

#include "shell/layout.h"
#include "shell/tool_app.h"

namespace shell {

namespace {

const ui::Rect BUSY_WINDOW = {0, 0, 332, 131};

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
  window_ = host.CreateModeless(IDD_BUSY, owner_, false, *this);
  if (!window_) return false;

  window_->SetTitle(caption_);
  if (owner_) owner_->Enable(false);
  window_->Show(true);
  if (!cancellable_) {
    window_->ShowControl(ui::ID_CANCEL, false);
    int noCancelText = app_.Profile().busy.noCancelMessageText;
    if (noCancelText != NO_TEXT) {
      window_->SetControlText(IDC_BUSY_MESSAGE, app_.GetText(noCancelText));
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

void BusyDialog::DisableCancel() {
  cancelDisabled_ = true;
  if (window_) window_->EnableControl(ui::ID_CANCEL, false);
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
  const BusyProfile& busy = app_.Profile().busy;
  const ControlLayout layout[] = {
      {IDC_BUSY_PICTURE, {12, 11, 63, 59}, NO_TEXT},
      {IDC_BUSY_MESSAGE, {74, 18, 316, 53}, busy.messageText},
      {ui::ID_CANCEL, {122, 75, 210, 96}, busy.cancelText},
  };
  LayOutControls(view, app_.Fonts(), app_.GetTexts(), layout);
  return true;
}

void BusyDialog::OnCommand(int id, int /*code*/) {
  // Escape arrives as the Cancel command too; with the button hidden neither may cancel.
  if (id != ui::ID_CANCEL || !view_ || !view_->IsControlVisible(ui::ID_CANCEL)) return;
  // Escape still arrives when the button is disabled.
  if (cancelDisabled_) return;
  if (state_ == BusyState::Running) state_ = BusyState::Cancelled;
  if (app_.Profile().busy.cancelHides) view_->Show(false);
}

void BusyDialog::OnTimer(int id) {
  if (id == BUSY_BLINK_TIMER) {
    phase_ = 1 - phase_;
    if (view_) view_->InvalidateControl(IDC_BUSY_PICTURE);
  } else if (id == BUSY_LIMIT_TIMER) {
    // The platform timer keeps firing; only the first firing while running counts.
    if (state_ == BusyState::Running) state_ = BusyState::TimedOut;
  }
}

void BusyDialog::OnPaint(ui::Canvas& canvas) {
  if (WhiteBackground()) canvas.Fill(canvas.ClientRect(), ui::WHITE);
  if (!view_) return;
  ui::Rect picture = view_->ControlRect(IDC_BUSY_PICTURE);
  canvas.StripCell(IDB_BUSY_FRAMES, BUSY_CELL_WIDTH, ui::MAGENTA, phase_, picture.left,
                   picture.top);
}

void BusyDialog::OnDestroy() {
  // However the window goes, the owner must not stay disabled.
  if (owner_) owner_->Enable(true);
  view_ = nullptr;
}

bool BusyDialog::WhiteBackground() {
  return app_.Profile().busy.whiteBackground;
}

std::unique_ptr<printer_link::ProgressWait> BusyWindows::NewWait() {
  return std::make_unique<BusyDialog>(app_);
}

void BusyWindows::PumpMessages() {
  app_.Host().PumpMessages();
}

}  // namespace shell
