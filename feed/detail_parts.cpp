// Pieces the two detail dialogs share.
#include "feed/detail_parts.h"

#include "shell/multibyte.h"

namespace feed {

ui::Answer DetailMessage(DetailSeat& seat, ui::View* view, int text, ui::Icon icon,
                         ui::Buttons buttons) {
  return seat.Message(view, seat.GetTexts().GetText(text), icon, buttons);
}

void SampleImageChoice::Load() {
  user_ = seat_.Options().Get(controls_.radioOption) == controls_.userRadio;
  path_ = seat_.Options().Get(controls_.pathOption);
}

void SampleImageChoice::Show(ui::View& view) const {
  view.SetChecked(controls_.standardRadio, !user_);
  view.SetChecked(controls_.userRadio, user_);
  view.EnableControl(controls_.browse, user_);
  view.EnableControl(controls_.fileName, user_);
  view.SetControlText(controls_.fileName, shell::FileNameOf(seat_.SystemCodePage(), path_));
}

void SampleImageChoice::Choose(ui::View& view, int radio) {
  user_ = radio == controls_.userRadio;
  seat_.Options().Set(controls_.radioOption, user_ ? controls_.userRadio : controls_.standardRadio);
  Show(view);
}

void SampleImageChoice::Browse(ui::View& view) {
  std::string chosen;
  if (!seat_.ChooseFile(&view, BITMAP_FILE_FILTER, &chosen)) return;
  path_ = chosen;
  seat_.Options().Set(controls_.pathOption, chosen);
  Show(view);
}

}  // namespace feed
