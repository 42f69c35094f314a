// Fixed pixel layout, fonts and texts of a dialog's controls, from one table per dialog.
#pragma once

#include <cstddef>

#include "platform/ui.h"
#include "shell/fonts.h"
#include "shell/texts.h"

namespace shell {

// Text number -1 keeps the control's own text and gives it the base font.
constexpr int NO_TEXT = -1;

struct ControlLayout {
  int id;
  ui::Rect rect;
  int text;
};

void PlaceControls(ui::View& view, const ControlLayout* table, int count);
void ApplyFonts(ui::View& view, FontCache& fonts, const ControlLayout* table, int count);
void ApplyTexts(ui::View& view, const Texts& texts, const ControlLayout* table, int count);

// The three in the order every dialog uses them.
template <size_t N>
void LayOutControls(ui::View& view, FontCache& fonts, const Texts& texts,
                    const ControlLayout (&table)[N]) {
  PlaceControls(view, table, static_cast<int>(N));
  ApplyFonts(view, fonts, table, static_cast<int>(N));
  ApplyTexts(view, texts, table, static_cast<int>(N));
}

}  // namespace shell
