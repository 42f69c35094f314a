// One-button maintenance pages: printer checks, the stream, the closing message.
#include "cleaning/execution_page.h"

#include "link/command_job.h"

namespace cleaning {

namespace {

constexpr int MANUAL_TOPIC = 0;
constexpr int FIRST_PAGE = 0;
constexpr char FORMAT_FIELD[] = "%s";

}  // namespace

std::string FillFormat(const std::string& format, const std::vector<std::string>& values) {
  std::string out;
  size_t next = 0;
  size_t at = 0;
  for (size_t field = format.find(FORMAT_FIELD); field != std::string::npos;
       field = format.find(FORMAT_FIELD, at)) {
    out.append(format, at, field - at);
    if (next < values.size()) out += values[next];
    ++next;
    at = field + sizeof FORMAT_FIELD - 1;
  }
  out.append(format, at, std::string::npos);
  return out;
}

bool ExecutionPage::OnInit(ui::View& view) {
  view_ = &view;
  view.SetWindowRect(data_.pageRect);
  view.SetClientSize(data_.pageRect.Width(), data_.pageRect.Height());
  const shell::ControlLayout* table = data_.layout.data();
  int count = static_cast<int>(data_.layout.size());
  shell::PlaceControls(view, table, count);
  shell::ApplyFonts(view, seat_.Fonts(), table, count);
  shell::ApplyTexts(view, seat_.GetTexts(), table, count);
  for (const FormattedControl& control : data_.formatted) {
    std::vector<std::string> values;
    for (int text : control.texts) values.push_back(seat_.GetText(text));
    view.SetControlText(control.id, FillFormat(control.format, values));
  }
  SetTitle();
  return true;
}

void ExecutionPage::SetTitle() {
  if (view_)
    view_->SetTitle(seat_.GetText(data_.titleText) + TITLE_SEPARATOR + seat_.PrinterName());
}

void ExecutionPage::SetActionsEnabled(bool enabled) {
  if (view_) view_->EnableControl(data_.executeButton, enabled);
}

void ExecutionPage::OnCommand(int id, int /*code*/) {
  if (id == data_.executeButton) {
    Execute();
  } else if (id == IDC_HELP_BUTTON) {
    host_.OpenManual(data_.manualPage, MANUAL_TOPIC);
  } else if (id == data_.closeButton) {
    host_.SelectPage(FIRST_PAGE);
  }
}

bool ExecutionPage::OnRefresh() {
  // The printer may have changed since the page was made.
  SetTitle();
  if (seat_.OpenedByPrinterChoice()) Show(shell::TEXT_PAGE_PRINTER_CHANGED, ui::Icon::Information);
  if (seat_.Launch() == shell::LaunchMode::U) {
    for (const PageMessage& message : data_.preview) {
      Show(message.text, message.icon, message.buttons);
    }
  }
  return true;
}

void ExecutionPage::OnPaint(ui::Canvas& canvas) {
  canvas.Fill(canvas.ClientRect(), ui::WHITE);
}

ui::Answer ExecutionPage::Show(int text, ui::Icon icon, ui::Buttons buttons) {
  return seat_.Message(view_, text, icon, buttons);
}

void ExecutionPage::Execute() {
  if (data_.confirmText != shell::NO_TEXT &&
      Show(data_.confirmText, ui::Icon::Question, ui::Buttons::OkCancel) != ui::Answer::Ok) {
    return;
  }
  // Outside launch mode Normal these pages only show themselves.
  if (seat_.Launch() != shell::LaunchMode::Normal) return;
  if (!seat_.PrinterUsable(EXECUTION_CHECK, view_, view_)) return;
  bool waits = data_.pauseMs > 0;
  if (waits) seat_.Host().SetWaitCursor(true);
  printer_link::CommandStream stream = data_.stream();
  int sent = printer_link::SendCommandJob(seat_.Spooler(), seat_.PrinterName(), stream.bytes,
                                          stream.length);
  if (waits) seat_.Clock().Sleep(data_.pauseMs);
  // A refused job is not reported as handed over; the operator may simply press again.
  if (sent == 0) Show(data_.handedOverText, ui::Icon::Information);
  if (waits) seat_.Host().SetWaitCursor(false);
}

}  // namespace cleaning
