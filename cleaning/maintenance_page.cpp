// Nozzle check and deep cleaning.
#include "cleaning/maintenance_page.h"

#include "link/command_framing.h"
#include "link/command_job.h"
#include "link/printer_channel.h"
#include "shell/layout.h"

namespace cleaning {

namespace {

constexpr int MANUAL_PAGE = 0;
constexpr int MANUAL_TOPIC = 0;

const shell::ControlLayout LAYOUT[] = {
    {IDC_NOZZLE_CHECK_GROUP, {80, 10, 470, 95}, 100},
    {IDC_NOZZLE_CHECK, {111, 35, 150, 74}, shell::NO_TEXT},
    {IDC_NOZZLE_CHECK_TEXT, {175, 36, 445, 74}, 3},
    {IDC_DEEP_CLEANING_GROUP, {80, 105, 470, 191}, 101},
    {IDC_DEEP_CLEANING, {111, 130, 150, 170}, shell::NO_TEXT},
    {IDC_DEEP_CLEANING_TEXT, {175, 131, 445, 170}, 4},
    {IDC_HELP_BUTTON, {11, 204, 124, 226}, 102},
    {IDC_CLOSE_BUTTON, {476, 204, 589, 226}, 180},
};

const ui::Rect PAGE_RECT{0, 0, 600, 236};

}  // namespace

bool MaintenancePage::OnInit(ui::View& view) {
  view_ = &view;
  view.SetWindowRect(PAGE_RECT);
  view.SetClientSize(PAGE_RECT.Width(), PAGE_RECT.Height());
  shell::LayOutControls(view, seat_.Fonts(), seat_.GetTexts(), LAYOUT);
  view.SetButtonBitmap(IDC_NOZZLE_CHECK, IDB_NOZZLE_CHECK);
  view.SetButtonBitmap(IDC_DEEP_CLEANING, IDB_DEEP_CLEANING);
  return true;
}

void MaintenancePage::SetActionsEnabled(bool enabled) {
  if (!view_) return;
  view_->EnableControl(IDC_NOZZLE_CHECK, enabled);
  view_->EnableControl(IDC_DEEP_CLEANING, enabled);
}

void MaintenancePage::OnCommand(int id, int /*code*/) {
  switch (id) {
    case IDC_NOZZLE_CHECK:
      NozzleCheck();
      break;
    case IDC_DEEP_CLEANING:
      DeepCleaning();
      break;
    case IDC_HELP_BUTTON:
      host_.OpenManual(MANUAL_PAGE, MANUAL_TOPIC);
      break;
    case IDC_CLOSE_BUTTON:
      if (host_.Window()) host_.Window()->PostClose();
      break;
    default:
      break;
  }
}

bool MaintenancePage::OnRefresh() {
  if (seat_.Launch() == shell::LaunchMode::U) ShowPreview();
  return true;
}

void MaintenancePage::OnPaint(ui::Canvas& canvas) {
  canvas.Fill(canvas.ClientRect(), ui::WHITE);
}

void MaintenancePage::Show(int text, ui::Icon icon) {
  seat_.Message(view_, text, icon);
}

void MaintenancePage::ShowPreview() {
  Show(TEXT_CLEANING_SENT, ui::Icon::Information);
  Show(TEXT_PREVIEW_ONLY, ui::Icon::Warning);
  Show(TEXT_NOZZLE_CHECK_SENT, ui::Icon::Information);
  Show(TEXT_INK_LOW, ui::Icon::Warning);
  Show(TEXT_0D_LOW, ui::Icon::Warning);
}

void MaintenancePage::NozzleCheck() {
  if (!seat_.PrinterUsable(MAINTENANCE_CHECK, nullptr, view_)) return;
  seat_.Host().SetWaitCursor(true);
  printer_link::CommandStream stream = printer_link::NozzleCheckStream();
  int sent = printer_link::SendCommandJob(seat_.Spooler(), seat_.PrinterName(), stream.bytes,
                                          stream.length);
  seat_.Clock().Sleep(NOZZLE_CHECK_PAUSE_MS);
  if (sent == 0) Show(TEXT_NOZZLE_CHECK_SENT, ui::Icon::Information);
  seat_.Host().SetWaitCursor(false);
}

void MaintenancePage::DeepCleaning() {
  if (!seat_.PrinterUsable(MAINTENANCE_CHECK, nullptr, view_)) return;
  if (seat_.Launch() != shell::LaunchMode::U) {
    printer_link::PrinterChannel channel = seat_.Channel(seat_.PrinterLink());
    int handle = channel.Open(seat_.PrinterName());
    if (handle < 1) {
      Show(TEXT_NOT_READY, ui::Icon::Warning);
      return;
    }
    printer_link::StatusReply status;
    int read = channel.ReadStatus(handle, status);
    channel.Close(handle);
    if (read < 0) {
      Show(TEXT_NOT_READY, ui::Icon::Warning);
      return;
    }
    if (status.IsInkLow()) {
      Show(TEXT_INK_LOW, ui::Icon::Warning);
      return;
    }
    if (status.IsField0DLow()) {
      Show(TEXT_0D_LOW, ui::Icon::Warning);
      return;
    }
  }
  printer_link::CommandStream stream = printer_link::DeepCleaningStream();
  if (printer_link::SendCommandJob(seat_.Spooler(), seat_.PrinterName(), stream.bytes,
                                   stream.length) == 0) {
    Show(TEXT_CLEANING_SENT, ui::Icon::Information);
  }
}

}  // namespace cleaning
