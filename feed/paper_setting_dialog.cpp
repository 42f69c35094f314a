// The paper setting dialog and its questions to the printer driver.
#include "feed/paper_setting_dialog.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "feed/adjustment_page.h"
#include "feed/media_table.h"
#include "link/driver_settings_handle.h"
#include "shell/layout.h"

namespace feed {

namespace {

using printer_link::DriverSettingsApi;
using printer_link::KddmHandle;

const shell::ControlLayout LAYOUT[] = {
    {IDC_AUTO_CUT_LABEL, {15, 12, 259, 28}, TEXT_AUTO_CUT_LABEL},
    {IDC_AUTO_CUT_ON, {30, 32, 259, 50}, TEXT_AUTO_CUT_ON},
    {IDC_AUTO_CUT_OFF, {30, 54, 259, 72}, TEXT_AUTO_CUT_OFF},
    {IDC_PAPER_SIZE_LABEL, {15, 84, 259, 100}, TEXT_PAPER_SIZE_LABEL},
    {IDC_PAPER_SIZE_LIST, {15, 104, 259, 250}, shell::NO_TEXT},
    {ui::ID_OK, {60, 142, 132, 164}, TEXT_PAPER_SETTING_OK},
    {ui::ID_CANCEL, {142, 142, 214, 164}, TEXT_PAPER_SETTING_CANCEL},
};

const int AUTO_CUT_CONTROLS[] = {IDC_AUTO_CUT_LABEL, IDC_AUTO_CUT_ON, IDC_AUTO_CUT_OFF};

// Paper sizes by media kind: which may be chosen, and which the list starts on.
const int KIND_0_SIZES[] = {9, 258};
const int KIND_1_SIZES[] = {257, 261, 622};
constexpr int KIND_0_PRESELECTED = 9;
constexpr int KIND_1_PRESELECTED = 257;

// Paper size codes arrive as 16-bit words, whatever element size the driver names; a larger
// element than this is no paper size list.
constexpr size_t CODE_BYTES = sizeof(uint16_t);
constexpr size_t MAX_ELEMENT_BYTES = 64;

bool Contains(const std::vector<int>& codes, int code) {
  return std::find(codes.begin(), codes.end(), code) != codes.end();
}

}  // namespace

RollCut DriverPaperSizeSource::CanCutOnRoll(int driverMediaId) {
  // An id the media table does not have is not sent to the driver cut to 16 bits.
  if (!api_ || driverMediaId < 0 || driverMediaId > UINT16_MAX) return RollCut::Failed;
  printer_link::DriverSettingsHandle handle(*api_);
  if (!handle.Open(printer_, OPEN_NUMBER)) return RollCut::Failed;
  printer_link::MediaModeBlock mode =
      printer_link::MediaModeWords(false, static_cast<uint16_t>(driverMediaId));
  printer_link::FlagsBlock range = printer_link::EMPTY_FLAGS_BLOCK;
  if (!handle.Set(printer_link::ITEM_PAPER_HANDLING, PAPER_HANDLING_ROLL) ||
      !handle.SetBlock(printer_link::ITEM_MEDIA_MODE, mode) ||
      !handle.Range(printer_link::ITEM_ROLL_FLAGS, range)) {
    return RollCut::Failed;
  }
  return (range[printer_link::FLAGS_WORD] & printer_link::ROLL_FLAG_CUT) != 0
             ? RollCut::Cuttable
             : RollCut::NotCuttable;
}

bool DriverPaperSizeSource::PaperSizes(std::vector<PaperSize>* sizes) {
  if (!api_) return false;
  printer_link::DriverSettingsHandle handle(*api_);
  if (!handle.Open(printer_, OPEN_NUMBER)) return false;
  // The driver has always been asked for its media types before its paper sizes; the answer
  // itself is not needed.
  printer_link::IdRangeBlock media;
  handle.Range(printer_link::ITEM_MEDIA_TYPES, media);

  printer_link::IdRangeBlock range;
  if (!handle.Range(printer_link::ITEM_PAPER_SIZE, range)) return false;
  size_t count = range.count;
  if (range.elementSize > MAX_ELEMENT_BYTES) return false;
  std::vector<uint8_t> buffer(std::max(count * range.elementSize, count * CODE_BYTES), 0);
  if (count > 0) {
    range.ids = buffer.data();
    if (!handle.Range(printer_link::ITEM_PAPER_SIZE, range)) return false;
  }
  std::vector<PaperSize> read;
  for (size_t i = 0; i < count; ++i) {
    int code = buffer[i * CODE_BYTES] | (buffer[i * CODE_BYTES + 1] << 8);
    // A name the driver cannot give stays empty rather than repeating the one before.
    char name[printer_link::NAME_BUFFER_SIZE] = {};
    printer_link::NameRequestBlock request;
    request.kind = printer_link::NAME_KIND_PAPER_SIZE;
    request.id = static_cast<uint32_t>(code);
    request.name = name;
    handle.Get(printer_link::ITEM_NAME, request);
    name[printer_link::NAME_BUFFER_SIZE - 1] = '\0';
    read.push_back({code, name});
  }
  *sizes = std::move(read);
  return true;
}

PaperSizeRule PaperSizeRuleFor(int mediaKind) {
  PaperSizeRule rule;
  if (mediaKind == MEDIA_NOT_FOUND) {
    rule.listed = false;
  } else if (mediaKind == 0) {
    rule.selectable.assign(std::begin(KIND_0_SIZES), std::end(KIND_0_SIZES));
    rule.preselected = KIND_0_PRESELECTED;
  } else if (mediaKind == 1) {
    rule.selectable.assign(std::begin(KIND_1_SIZES), std::end(KIND_1_SIZES));
    rule.preselected = KIND_1_PRESELECTED;
  }
  return rule;
}

bool PaperSettingDialog::OnInit(ui::View& view) {
  view_ = &view;
  state_ = PaperSettingState{};
  shell::LayOutControls(view, seat_.Fonts(), seat_.GetTexts(), LAYOUT);
  view.SetTitle(seat_.GetTexts().GetText(TEXT_PAPER_SETTING_TITLE));
  view.SetWindowRect(PAPER_SETTING_WINDOW);
  view.CenterOnParent();
  sizeList_.emplace(view, IDC_PAPER_SIZE_LIST);

  // Anything but "no cut" stored reads as the default, so that one radio is always chosen.
  int stored = seat_.Options().Get(AUTO_CUT_OPTION);
  state_.autoCut = stored == AUTO_CUT_OFF ? AUTO_CUT_OFF : AUTO_CUT_ON;
  if (selection_.paperFeed == PAPER_FEED_ROLL) {
    if (!ReadCutAbility()) return false;
  } else {
    state_.autoCutEnabled = false;
  }
  ShowAutoCut();
  return FillPaperSizes();
}

bool PaperSettingDialog::ReadCutAbility() {
  switch (driver_.CanCutOnRoll(selection_.mediaRecord.driverMediaId)) {
    case RollCut::Failed:
      Fail();
      return false;
    case RollCut::NotCuttable:
      state_.autoCut = AUTO_CUT_OFF;
      state_.autoCutEnabled = false;
      break;
    case RollCut::Cuttable:
      break;
  }
  return true;
}

bool PaperSettingDialog::FillPaperSizes() {
  std::vector<PaperSize> sizes;
  if (!driver_.PaperSizes(&sizes)) {
    Fail();
    return false;
  }
  PaperSizeRule rule = PaperSizeRuleFor(selection_.mediaRecord.kind);
  int preselected =
      rule.preselected >= 0 ? rule.preselected : seat_.Options().Get(PAPER_SIZE_OPTION);
  if (rule.listed) {
    for (const PaperSize& size : sizes) {
      if (size.code == PAPER_CODE_USER_DEFINED) continue;
      bool refused = !rule.selectable.empty() && !Contains(rule.selectable, size.code);
      if (state_.sizeSelection < 0 && size.code == preselected) {
        state_.sizeSelection = static_cast<int>(state_.sizes.size());
      }
      state_.sizes.push_back({size.name, shell::MarkedCombo::WithMark(size.code, refused)});
    }
  }
  // Without the preselected size the list starts on the first size this media may take, if any.
  for (size_t i = 0; state_.sizeSelection < 0 && i < state_.sizes.size(); ++i) {
    if (!shell::MarkedCombo::IsMarkedData(state_.sizes[i].data)) {
      state_.sizeSelection = static_cast<int>(i);
    }
  }

  view_->ComboClear(IDC_PAPER_SIZE_LIST);
  for (const PaperSizeEntry& entry : state_.sizes) {
    view_->ComboAdd(IDC_PAPER_SIZE_LIST, entry.text, entry.data);
  }
  view_->ComboSelect(IDC_PAPER_SIZE_LIST, state_.sizeSelection);
  sizeList_->KeepSelection();
  return true;
}

void PaperSettingDialog::ShowAutoCut() {
  view_->SetChecked(IDC_AUTO_CUT_ON, state_.autoCut == AUTO_CUT_ON);
  view_->SetChecked(IDC_AUTO_CUT_OFF, state_.autoCut == AUTO_CUT_OFF);
  for (int id : AUTO_CUT_CONTROLS) view_->EnableControl(id, state_.autoCutEnabled);
}

void PaperSettingDialog::SayFailed() {
  seat_.Message(view_, seat_.GetTexts().GetText(TEXT_DRIVER_SETTING_FAILED), ui::Icon::Error,
                ui::Buttons::Ok);
}

void PaperSettingDialog::Fail() {
  SayFailed();
  view_->EndDialog(ui::RESULT_CANCEL);
}

void PaperSettingDialog::Accept() {
  int chosen = state_.sizeSelection;
  bool allowed = chosen >= 0 && chosen < static_cast<int>(state_.sizes.size()) &&
                 !shell::MarkedCombo::IsMarkedData(state_.sizes[static_cast<size_t>(chosen)].data);
  // Sizes listed but none this media may take: storing nothing would leave an older size for
  // the samples, so OK is not accepted.
  if (!state_.sizes.empty() && !allowed) {
    SayFailed();
    return;
  }
  seat_.Options().Set(AUTO_CUT_OPTION, state_.autoCut);
  // An empty list (media the table lacks) leaves the stored size as it was; the mark is never
  // stored as part of a code.
  if (allowed) {
    intptr_t data = state_.sizes[static_cast<size_t>(chosen)].data;
    seat_.Options().Set(PAPER_SIZE_OPTION, shell::MarkedCombo::Value(data));
  }
  view_->EndDialog(ui::RESULT_OK);
}

void PaperSettingDialog::OnCommand(int id, int code) {
  if (!view_) return;
  switch (id) {
    case IDC_AUTO_CUT_ON:
    case IDC_AUTO_CUT_OFF:
      if (code != ui::BUTTON_CLICKED || !state_.autoCutEnabled) break;
      state_.autoCut = id == IDC_AUTO_CUT_OFF ? AUTO_CUT_OFF : AUTO_CUT_ON;
      ShowAutoCut();
      break;
    case IDC_PAPER_SIZE_LIST:
      if (code == ui::COMBO_DROPPED_DOWN) {
        sizeList_->OnDropDown();
      } else if (code == ui::COMBO_CHOICE_CONFIRMED) {
        // A refused choice has put the last accepted one back; either way the list says.
        sizeList_->OnChoiceConfirmed();
        state_.sizeSelection = view_->ComboSelection(IDC_PAPER_SIZE_LIST);
      } else if (code == ui::COMBO_SELECTION_CHANGED && sizeList_->OnSelectionChanged()) {
        state_.sizeSelection = view_->ComboSelection(IDC_PAPER_SIZE_LIST);
      }
      break;
    case ui::ID_OK:
      Accept();
      break;
    case ui::ID_CANCEL:
      view_->EndDialog(ui::RESULT_CANCEL);
      break;
    default:
      break;
  }
}

void PaperSettingDialog::OnClose() {
  if (view_) view_->EndDialog(ui::RESULT_CANCEL);
}

int PaperSettingDialog::OnMeasureItem(int controlId) {
  return controlId == IDC_PAPER_SIZE_LIST ? shell::MarkedCombo::ITEM_HEIGHT : 0;
}

void PaperSettingDialog::OnDrawItem(int controlId, int index, bool selected,
                                    bool /*inSelectionField*/, ui::Canvas& canvas,
                                    const ui::Rect& rect) {
  if (controlId != IDC_PAPER_SIZE_LIST || !sizeList_) return;
  sizeList_->DrawItem(canvas, rect, index, selected, seat_.Fonts().BaseFont());
}

void PaperSettingDialog::OnDestroy() {
  sizeList_.reset();
  view_ = nullptr;
}

int RunPaperSetting(ui::Host& host, shell::ToolSeat& seat, printer_link::DriverSettingsApi* api,
                    const std::string& printerName, const AdjustmentSelection& selection,
                    ui::View* parent) {
  DriverPaperSizeSource driver(api, printerName);
  PaperSettingDialog dialog(seat, driver, selection);
  return host.RunModal(IDD_PAPER_SETTING, parent, dialog);
}

}  // namespace feed
