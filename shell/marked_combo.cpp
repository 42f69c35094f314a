// The marked-entry combo box: marks in the item data, refusing marked choices, drawing entries.
#include "shell/marked_combo.h"

namespace shell {

intptr_t MarkedCombo::WithMark(intptr_t data, bool mark) {
  uint32_t bits = static_cast<uint32_t>(data & VALUE_BITS) | (mark ? MARK : 0u);
  return static_cast<intptr_t>(static_cast<int32_t>(bits));
}

void MarkedCombo::SetMark(int index, bool mark) {
  if (index < 0 || index >= view_.ComboCount(id_)) return;
  view_.ComboSetData(id_, index, WithMark(view_.ComboData(id_, index), mark));
}

bool MarkedCombo::OnChoiceConfirmed() {
  int chosen = view_.ComboSelection(id_);
  if (chosen < 0 || !IsMarked(chosen)) {
    previous_ = chosen;
    return true;
  }
  view_.ComboSelect(id_, previous_);
  return false;
}

bool MarkedCombo::OnSelectionChanged() {
  int chosen = view_.ComboSelection(id_);
  if (chosen >= 0 && IsMarked(chosen)) return false;
  return OnChoiceConfirmed();
}

void MarkedCombo::DrawItem(ui::Canvas& canvas, const ui::Rect& rect, int index, bool selected,
                           ui::Font font) {
  bool marked = IsMarked(index);
  ui::Color background = ui::SYS_WINDOW;
  ui::Color text = ui::SYS_WINDOW_TEXT;
  if (marked) {
    text = MARKED_TEXT;
  } else if (selected) {
    background = ui::SYS_HIGHLIGHT;
    text = ui::SYS_HIGHLIGHT_TEXT;
  }
  canvas.Fill(rect, background);
  if (index < 0) return;
  ui::Rect textRect = rect;
  textRect.left += TEXT_INDENT;
  canvas.Text(view_.ComboText(id_, index), textRect, font, text);
}

}  // namespace shell
