// Pieces the two detail dialogs share.
#include "feed/detail_parts.h"

#include "feed/adjustment_page.h"

namespace feed {

ui::Answer DetailMessage(DetailSeat& seat, ui::View* view, int text, ui::Icon icon,
                         ui::Buttons buttons) {
  return seat.Message(view, seat.GetTexts().GetText(text), icon, buttons);
}

std::string FileNameOf(const std::string& path) {
  size_t slash = path.rfind('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

void SampleImageChoice::Load() {
  user_ = seat_.GetNumber(controls_.radioValue, controls_.standardRadio) == controls_.userRadio;
  path_ = seat_.GetString(controls_.pathValue, "");
}

void SampleImageChoice::Show(ui::View& view) const {
  view.SetChecked(controls_.standardRadio, !user_);
  view.SetChecked(controls_.userRadio, user_);
  view.EnableControl(controls_.browse, user_);
  view.EnableControl(controls_.fileName, user_);
  view.SetControlText(controls_.fileName, FileNameOf(path_));
}

void SampleImageChoice::Choose(ui::View& view, int radio) {
  user_ = radio == controls_.userRadio;
  seat_.SetNumber(controls_.radioValue, user_ ? controls_.userRadio : controls_.standardRadio);
  Show(view);
}

void SampleImageChoice::Browse(ui::View& view) {
  std::string chosen;
  if (!seat_.ChooseFile(&view, BITMAP_FILE_FILTER, &chosen)) return;
  path_ = chosen;
  seat_.SetString(controls_.pathValue, chosen);
  Show(view);
}

bool PrinterReadyForSave(DetailSeat& seat, ui::View* view) {
  if (!seat.PrinterInstalled()) {
    DetailMessage(seat, view, TEXT_PRINTER_GONE, ui::Icon::Error);
    return false;
  }
  if (seat.WaitUntilReady(view)) return true;
  if (seat.MatchDeviceId()) {
    DetailMessage(seat, view, TEXT_NOT_READY, ui::Icon::Warning);
  } else {
    DetailMessage(seat, view, TEXT_WRONG_PRINTER, ui::Icon::Error);
  }
  return false;
}

}  // namespace feed
