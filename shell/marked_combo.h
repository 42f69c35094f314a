// An owner-drawn drop-down list whose marked entries are grey and cannot be chosen.
#pragma once

#include <cstdint>

#include "platform/ui.h"

namespace shell {

constexpr ui::Color MARKED_TEXT = ui::Rgb(178, 178, 178);

class MarkedCombo {
 public:
  static constexpr int ITEM_HEIGHT = 13;
  static constexpr int TEXT_INDENT = 2;

  // Item data with bit 31 set from mark and the caller's value in bits 0 to 30. The mark makes
  // the data negative on every build, as the list has always tested it.
  static intptr_t WithMark(intptr_t data, bool mark);
  static bool IsMarkedData(intptr_t data) { return (static_cast<uint32_t>(data) & MARK) != 0; }
  static int32_t Value(intptr_t data) { return static_cast<int32_t>(data & VALUE_BITS); }

  MarkedCombo(ui::View& view, int controlId) : view_(view), id_(controlId) {}

  void SetMark(int index, bool mark);
  // True also for an index outside the list (its data reads as -1).
  bool IsMarked(int index) { return IsMarkedData(view_.ComboData(id_, index)); }

  // The list drops down: the current choice is remembered.
  void OnDropDown() { KeepSelection(); }
  // The owner filled the list or chose for it: that choice is the one a refusal returns to.
  void KeepSelection() { previous_ = view_.ComboSelection(id_); }
  // The operator confirmed a choice; a marked entry gives way to the remembered one, an unmarked
  // one is remembered in turn (a choice made with the list closed has no drop-down before it).
  // False when the choice was refused.
  bool OnChoiceConfirmed();
  // The selection moved without a confirmation (the arrow keys in the open list): a marked entry
  // is passed over, neither refused nor taken, so that the keys reach the entries below it; an
  // unmarked one is taken as a confirmed choice. False when the selection is marked.
  bool OnSelectionChanged();

  // One entry, drawn on its rectangle of the list or the selection field.
  void DrawItem(ui::Canvas& canvas, const ui::Rect& rect, int index, bool selected, ui::Font font);

 private:
  static constexpr uint32_t MARK = 0x80000000u;
  static constexpr intptr_t VALUE_BITS = 0x7FFFFFFF;

  ui::View& view_;
  int id_;
  int previous_ = -1;
};

}  // namespace shell
