// Control placement, fonts and texts from layout tables.
#include "shell/layout.h"

namespace shell {

void PlaceControls(ui::View& view, const ControlLayout* table, int count) {
  for (int i = 0; i < count; ++i) {
    if (view.HasControl(table[i].id)) view.PlaceControl(table[i].id, table[i].rect);
  }
}

void ApplyFonts(ui::View& view, FontCache& fonts, const ControlLayout* table, int count) {
  for (int i = 0; i < count; ++i) {
    if (view.HasControl(table[i].id))
      view.SetControlFont(table[i].id, fonts.FontFor(table[i].text));
  }
}

void ApplyTexts(ui::View& view, const Texts& texts, const ControlLayout* table, int count) {
  for (int i = 0; i < count; ++i) {
    if (table[i].text == NO_TEXT || !view.HasControl(table[i].id)) continue;
    view.SetControlText(table[i].id, texts.GetText(table[i].text));
  }
}

}  // namespace shell
