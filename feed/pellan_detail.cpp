// The pellan detail dialog.
#include "feed/pellan_detail.h"

#include <cstdio>
#include <cstdlib>

#include "feed/adjustment_page.h"
#include "feed/paper_setting_data.h"
#include "shell/layout.h"
#include "shell/tool_app.h"

namespace feed {

namespace {

// Which selections give a mode, and what each mode shows and samples.
struct ShiftList {
  int count;
  int values[5];
};

struct ModeData {
  int inkClass;
  int firstPosition;
  int lastPosition;
  bool dotShift;
  int captions[PRINT_MODE_COUNT];
  const char* suffixes[PRINT_MODE_COUNT];
  int patterns[PRINT_MODE_COUNT];
  ShiftList shifts[PRINT_MODE_COUNT];
};

constexpr ShiftList NO_SHIFTS{0, {}};
constexpr ShiftList FIVE_SHIFTS{5, {-4, -2, 0, 2, 4}};
constexpr ShiftList THREE_SHIFTS{3, {-2, 0, 2}};
constexpr ShiftList ZERO_SHIFT{1, {0}};

constexpr int TEXT_SINGLE = 30009;
constexpr int TEXT_DOUBLE = 30023;
constexpr int TEXT_PATTERN_PLAIN = 30017;
constexpr int TEXT_PATTERN_NARROW = 30018;
constexpr int TEXT_PATTERN_WIDE = 30019;

const ModeData MODES[PELLAN_MODE_COUNT] = {
    {INK_CLASS_FOUR,
     1,
     2,
     false,
     {TEXT_SINGLE, TEXT_DOUBLE, TEXT_SINGLE},
     {" 1", "", " 2"},
     {TEXT_PATTERN_PLAIN, TEXT_PATTERN_PLAIN, TEXT_PATTERN_PLAIN},
     {NO_SHIFTS, NO_SHIFTS, NO_SHIFTS}},
    {INK_CLASS_FOUR,
     3,
     3,
     true,
     {TEXT_SINGLE, TEXT_DOUBLE, TEXT_SINGLE},
     {" 1", "", " 2"},
     {TEXT_PATTERN_WIDE, TEXT_PATTERN_PLAIN, TEXT_PATTERN_WIDE},
     {FIVE_SHIFTS, ZERO_SHIFT, FIVE_SHIFTS}},
    {INK_CLASS_FOUR,
     4,
     5,
     false,
     {TEXT_SINGLE, TEXT_DOUBLE, TEXT_DOUBLE},
     {"", " 1", " 2"},
     {TEXT_PATTERN_PLAIN, TEXT_PATTERN_PLAIN, TEXT_PATTERN_PLAIN},
     {NO_SHIFTS, NO_SHIFTS, NO_SHIFTS}},
    {INK_CLASS_EIGHT,
     3,
     3,
     true,
     {TEXT_SINGLE, TEXT_DOUBLE, TEXT_SINGLE},
     {" 1", "", " 2"},
     {TEXT_PATTERN_NARROW, TEXT_PATTERN_PLAIN, TEXT_PATTERN_WIDE},
     {THREE_SHIFTS, ZERO_SHIFT, FIVE_SHIFTS}},
    {INK_CLASS_EIGHT,
     4,
     5,
     false,
     {TEXT_DOUBLE, TEXT_SINGLE, TEXT_DOUBLE},
     {" 1", "", " 2"},
     {TEXT_PATTERN_PLAIN, TEXT_PATTERN_PLAIN, TEXT_PATTERN_PLAIN},
     {NO_SHIFTS, NO_SHIFTS, NO_SHIFTS}},
};

// Base texts of the three print mode labels.
constexpr int TEXT_PRINT_MODE_BASE[PRINT_MODE_COUNT] = {30020, 30021, 30022};

constexpr int TEXT_TITLE = 30400;
constexpr int TEXT_MEDIA_LABEL = 30000;
constexpr int TEXT_FEED_LABEL = 30080;
constexpr int TEXT_QUALITY_LABEL = 30001;

constexpr int SAMPLE_BOXES[PRINT_MODE_COUNT] = {IDC_PELLAN_SAMPLE_FIRST, IDC_PELLAN_SAMPLE_SECOND,
                                                IDC_PELLAN_SAMPLE_THIRD};
constexpr int PATTERNS[PRINT_MODE_COUNT] = {IDC_PELLAN_PATTERN_FIRST, IDC_PELLAN_PATTERN_SECOND,
                                            IDC_PELLAN_PATTERN_THIRD};
// The selection labels and the text each shows as "%s : ".
constexpr int SELECTION_LABELS[][2] = {{IDC_PELLAN_MEDIA_LABEL, TEXT_MEDIA_LABEL},
                                       {IDC_PELLAN_FEED_LABEL, TEXT_FEED_LABEL},
                                       {IDC_PELLAN_QUALITY_LABEL, TEXT_QUALITY_LABEL}};

const shell::ControlLayout LAYOUT[] = {
    {IDC_PELLAN_MEDIA_LABEL, {15, 12, 150, 28}, TEXT_MEDIA_LABEL},
    {IDC_PELLAN_MEDIA_NAME, {155, 12, 600, 28}, shell::NO_TEXT},
    {IDC_PELLAN_FEED_LABEL, {15, 32, 150, 48}, TEXT_FEED_LABEL},
    {IDC_PELLAN_FEED_NAME, {155, 32, 600, 48}, shell::NO_TEXT},
    {IDC_PELLAN_QUALITY_LABEL, {15, 52, 150, 68}, TEXT_QUALITY_LABEL},
    {IDC_PELLAN_QUALITY_NAME, {155, 52, 600, 68}, shell::NO_TEXT},
    {IDC_PELLAN_SAMPLE_GROUP, {10, 76, 600, 296}, 30002},
    {IDC_PELLAN_MODE_HEADING, {25, 94, 250, 110}, 30026},
    {IDC_PELLAN_PATTERN_HEADING, {260, 94, 585, 110}, 30025},
    {IDC_PELLAN_SAMPLE_FIRST, {25, 114, 250, 134}, TEXT_PRINT_MODE_BASE[0]},
    {IDC_PELLAN_PATTERN_FIRST, {260, 116, 585, 132}, shell::NO_TEXT},
    {IDC_PELLAN_SAMPLE_SECOND, {25, 138, 250, 158}, TEXT_PRINT_MODE_BASE[1]},
    {IDC_PELLAN_PATTERN_SECOND, {260, 140, 585, 156}, shell::NO_TEXT},
    {IDC_PELLAN_SAMPLE_THIRD, {25, 162, 250, 182}, TEXT_PRINT_MODE_BASE[2]},
    {IDC_PELLAN_PATTERN_THIRD, {260, 164, 585, 180}, shell::NO_TEXT},
    {IDC_PELLAN_IMAGE_GROUP, {180, 190, 585, 286}, 30003},
    {IDC_PELLAN_STANDARD_IMAGE, {195, 208, 450, 226}, 30600},
    {IDC_PELLAN_USER_IMAGE, {195, 230, 450, 248}, 30601},
    {IDC_PELLAN_IMAGE_FILE, {215, 256, 470, 274}, shell::NO_TEXT},
    {IDC_PELLAN_BROWSE, {480, 252, 575, 276}, 30101},
    {IDC_PELLAN_SAMPLE_PRINT, {25, 250, 160, 276}, 30100},
    {IDC_PELLAN_SAVE_GROUP, {10, 304, 600, 418}, 30004},
    {IDC_PELLAN_SAVE_HEADING, {160, 320, 370, 336}, 30005},
    {IDC_PELLAN_CURRENT_HEADING, {385, 320, 585, 336}, 30024},
    {IDC_PELLAN_MODE_LABEL, {25, 344, 150, 360}, 30006},
    {IDC_PELLAN_MODE_LIST, {160, 340, 370, 440}, shell::NO_TEXT},
    {IDC_PELLAN_CURRENT_MODE, {385, 344, 585, 360}, shell::NO_TEXT},
    {IDC_PELLAN_SHIFT_LABEL, {25, 372, 150, 388}, TEXT_PELLAN_SHIFT_NAME},
    {IDC_PELLAN_SHIFT_LIST, {160, 368, 240, 468}, shell::NO_TEXT},
    {IDC_PELLAN_CURRENT_SHIFT, {385, 372, 585, 388}, shell::NO_TEXT},
    {IDC_PELLAN_SAVE, {160, 390, 295, 412}, 30102},
    {IDC_HELP_BUTTON, {10, 428, 123, 452}, 30103},
    {ui::ID_CANCEL, {487, 428, 600, 452}, 30104},
};

// The U launch mode's preview of every message the dialog and its sample print may show.
constexpr PreviewMessage PREVIEW_BEFORE_RUN[] = {
    {TEXT_NOT_READY, ui::Icon::Warning, ui::Buttons::Ok},
    {TEXT_PELLAN_SAVED, ui::Icon::Information, ui::Buttons::Ok},
    {TEXT_PELLAN_NOT_SAVED, ui::Icon::Warning, ui::Buttons::Ok},
    {TEXT_PELLAN_SAVE_QUESTION, ui::Icon::Warning, ui::Buttons::OkCancel},
    {TEXT_PELLAN_NO_IMAGE, ui::Icon::Warning, ui::Buttons::Ok},
    {TEXT_PELLAN_IMAGE_SIZE, ui::Icon::Warning, ui::Buttons::Ok},
    {TEXT_SAMPLE_RUN_FAILED, ui::Icon::Warning, ui::Buttons::Ok},
};
constexpr int RUN_CONFIRMATION_LINES = 4;

// The value string every pellan write passes; pellan writes ignore it.
constexpr char PELLAN_VALUE_STRING[] = "00";
constexpr size_t RESTORE_LENGTH = 2;

std::string ShiftText(int shift) {
  char text[16];
  std::snprintf(text, sizeof text, "%2d", shift);
  return text;
}

// The value text's number as the dialogs show it, read back as a decimal number.
int ShownNumber(const std::string& valueText, const AdjustmentSelection& selection) {
  return std::atoi(AdjustValueText(valueText, selection).c_str());
}

}  // namespace

int PellanMode(int inkClass, int qualityPosition) {
  for (int mode = 0; mode < PELLAN_MODE_COUNT; ++mode) {
    const ModeData& m = MODES[mode];
    if (m.inkClass == inkClass && qualityPosition >= m.firstPosition &&
        qualityPosition <= m.lastPosition) {
      return mode;
    }
  }
  return NO_PELLAN_MODE;
}

bool UsesDotShift(int mode) {
  return mode >= 0 && mode < PELLAN_MODE_COUNT && MODES[mode].dotShift;
}

std::vector<int> DotShifts(int mode, int printMode) {
  if (!UsesDotShift(mode) || printMode < 0 || printMode >= PRINT_MODE_COUNT) return {};
  const ShiftList& list = MODES[mode].shifts[printMode];
  return std::vector<int>(list.values, list.values + list.count);
}

int PrintModeIndex(int code) {
  for (int i = 0; i < PRINT_MODE_COUNT; ++i) {
    if (PRINT_MODE_CODES[i] == code) return i;
  }
  return -1;
}

std::string PrintModeLabel(const shell::Texts& texts, int mode, int printMode) {
  if (mode < 0 || mode >= PELLAN_MODE_COUNT || printMode < 0 || printMode >= PRINT_MODE_COUNT) {
    return std::string();
  }
  const ModeData& m = MODES[mode];
  return texts.GetText(TEXT_PRINT_MODE_BASE[printMode]) + texts.GetText(m.captions[printMode]) +
         m.suffixes[printMode];
}

int PatternText(int mode, int printMode) {
  if (mode < 0 || mode >= PELLAN_MODE_COUNT || printMode < 0 || printMode >= PRINT_MODE_COUNT) {
    return shell::NO_TEXT;
  }
  return MODES[mode].patterns[printMode];
}

std::vector<PellanSample> PellanSamples(const shell::Texts& texts, int mode,
                                        const std::array<bool, PRINT_MODE_COUNT>& ticked) {
  std::vector<PellanSample> samples;
  if (mode < 0 || mode >= PELLAN_MODE_COUNT) return samples;
  std::string name = texts.GetText(TEXT_PELLAN_SAMPLE_NAME);
  std::string shiftName = texts.GetText(TEXT_PELLAN_SHIFT_NAME);
  for (int i = 0; i < PRINT_MODE_COUNT; ++i) {
    if (!ticked[i]) continue;
    std::string label = PrintModeLabel(texts, mode, i);
    if (!UsesDotShift(mode)) {
      samples.push_back({PRINT_MODE_CODES[i], false, 0, name + "=" + label});
      continue;
    }
    for (int shift : DotShifts(mode, i)) {
      samples.push_back({PRINT_MODE_CODES[i], true, shift,
                         name + "=" + label + ", " + shiftName + "=" + std::to_string(shift)});
    }
  }
  return samples;
}

void PellanDetail::Message(int text, ui::Icon icon) {
  DetailMessage(seat_, view_, text, icon);
}

bool PellanDetail::OnInit(ui::View& view) {
  view_ = &view;
  const shell::Texts& texts = seat_.GetTexts();
  if (seat_.Launch() == shell::LaunchMode::U) ShowPreviewMessages();

  view.SetWindowRect(PELLAN_DETAIL_RECT);
  view.CenterOnParent();
  view.SetTitle(texts.GetText(TEXT_TITLE));
  shell::LayOutControls(view, seat_.Fonts(), texts, LAYOUT);
  for (const auto& label : SELECTION_LABELS) {
    view.SetControlText(label[0], texts.GetText(label[1]) + " : ");
  }
  view.SetControlText(IDC_PELLAN_MEDIA_NAME, selection_.mediaName);
  view.SetControlText(IDC_PELLAN_FEED_NAME, selection_.paperFeedName);
  view.SetControlText(IDC_PELLAN_QUALITY_NAME, selection_.qualityName);

  state_ = PellanDetailState{};
  state_.mode = PellanMode(selection_.inkClass, selection_.qualityPosition);
  selection_.adjustmentKind = ADJUST_PELLAN;
  // The page never opens the dialog for other selections; there is nothing to adjust.
  if (state_.mode == NO_PELLAN_MODE) {
    view.EndDialog(ui::RESULT_CANCEL);
    return true;
  }
  view.ComboClear(IDC_PELLAN_MODE_LIST);
  for (int i = 0; i < PRINT_MODE_COUNT; ++i) {
    state_.labels[i] = PrintModeLabel(texts, state_.mode, i);
    view.SetControlText(SAMPLE_BOXES[i], state_.labels[i]);
    int pattern = PatternText(state_.mode, i);
    view.SetControlFont(PATTERNS[i], seat_.Fonts().FontFor(pattern));
    view.SetControlText(PATTERNS[i], texts.GetText(pattern));
    view.ComboAdd(IDC_PELLAN_MODE_LIST, state_.labels[i], PRINT_MODE_CODES[i]);
  }
  view.ComboSelect(IDC_PELLAN_MODE_LIST, state_.printMode);

  if (seat_.Launch() == shell::LaunchMode::Normal && !ReadRestoreValues()) {
    view.EndDialog(ui::RESULT_CANCEL);
    return true;
  }

  for (int id : {IDC_PELLAN_CURRENT_SHIFT, IDC_PELLAN_SHIFT_LABEL, IDC_PELLAN_SHIFT_LIST}) {
    view.EnableControl(id, DotShift());
  }
  if (DotShift()) FillDotShifts();

  image_.Load();
  image_.Show(view);

  for (int i = 0; i < PRINT_MODE_COUNT; ++i) {
    state_.ticked[i] = true;
    view.SetChecked(SAMPLE_BOXES[i], true);
  }
  EnableSamplePrint();
  return true;
}

void PellanDetail::ShowPreviewMessages() {
  const shell::Texts& texts = seat_.GetTexts();
  for (const PreviewMessage& p : PREVIEW_BEFORE_RUN) {
    seat_.Message(view_, texts.GetText(p.text), p.icon, p.buttons);
  }
  std::string confirmation;
  for (int line = 0; line < RUN_CONFIRMATION_LINES; ++line) {
    if (line > 0) confirmation += "\n";
    confirmation += texts.GetText(TEXT_PELLAN_RUN_FIRST + line);
  }
  seat_.Message(view_, confirmation, ui::Icon::Warning, ui::Buttons::OkCancel);
  Message(TEXT_PELLAN_PREVIEW_ERROR, ui::Icon::Error);
}

bool PellanDetail::ReadRestoreValues() {
  std::string code = seat_.ReadAdjustValue(selection_, VALUE_PRINT_MODE);
  if (code.empty()) {
    Message(TEXT_PELLAN_UNREADABLE, ui::Icon::Error);
    return false;
  }
  state_.restoreCode = code.substr(0, RESTORE_LENGTH);
  int index = PrintModeIndex(ReadHexPair(code, 0));
  if (index < 0) {
    Message(TEXT_PELLAN_UNKNOWN_CODE, ui::Icon::Error);
    return false;
  }
  state_.shownCode = state_.labels[index];
  view_->SetControlText(IDC_PELLAN_CURRENT_MODE, state_.shownCode);
  if (!DotShift()) return true;

  std::string shift = seat_.ReadAdjustValue(selection_, VALUE_DOT_SHIFT);
  if (shift.empty()) {
    Message(TEXT_PELLAN_UNREADABLE, ui::Icon::Error);
    return false;
  }
  state_.restoreShift = shift.substr(0, RESTORE_LENGTH);
  state_.shownShift = ShiftText(ReadHexPair(shift, 0) - DOT_SHIFT_ZERO);
  view_->SetControlText(IDC_PELLAN_CURRENT_SHIFT, state_.shownShift);
  return true;
}

void PellanDetail::FillDotShifts() {
  view_->ComboClear(IDC_PELLAN_SHIFT_LIST);
  for (int shift : DotShifts(state_.mode, state_.printMode)) {
    view_->ComboAdd(IDC_PELLAN_SHIFT_LIST, ShiftText(shift), DOT_SHIFT_ZERO + shift);
  }
  state_.shiftEntry = 0;
  view_->ComboSelect(IDC_PELLAN_SHIFT_LIST, state_.shiftEntry);
}

void PellanDetail::EnableSamplePrint() {
  bool any = state_.ticked[0] || state_.ticked[1] || state_.ticked[2];
  view_->EnableControl(IDC_PELLAN_SAMPLE_PRINT, any);
}

void PellanDetail::OnCommand(int id, int code) {
  if (!view_) return;
  switch (id) {
    case IDC_PELLAN_SAMPLE_FIRST:
    case IDC_PELLAN_SAMPLE_SECOND:
    case IDC_PELLAN_SAMPLE_THIRD:
      state_.ticked[id - IDC_PELLAN_SAMPLE_FIRST] = view_->IsChecked(id);
      EnableSamplePrint();
      break;
    case IDC_PELLAN_MODE_LIST: {
      if (code != ui::COMBO_SELECTION_CHANGED) break;
      int entry = view_->ComboSelection(IDC_PELLAN_MODE_LIST);
      if (entry < 0 || entry >= PRINT_MODE_COUNT) break;
      state_.printMode = entry;
      if (DotShift()) FillDotShifts();
      break;
    }
    case IDC_PELLAN_SHIFT_LIST: {
      if (code != ui::COMBO_SELECTION_CHANGED) break;
      int entry = view_->ComboSelection(IDC_PELLAN_SHIFT_LIST);
      if (entry >= 0) state_.shiftEntry = entry;
      break;
    }
    case IDC_PELLAN_STANDARD_IMAGE:
    case IDC_PELLAN_USER_IMAGE:
      image_.Choose(*view_, id);
      break;
    case IDC_PELLAN_BROWSE:
      image_.Browse(*view_);
      break;
    case IDC_PELLAN_SAMPLE_PRINT:
      PrintSamples();
      break;
    case IDC_PELLAN_SAVE:
      Save();
      break;
    case IDC_HELP_BUTTON:
      seat_.OpenManual(PELLAN_MANUAL_PAGE, PELLAN_MANUAL_TOPIC);
      break;
    case ui::ID_CANCEL:
      view_->EndDialog(ui::RESULT_CANCEL);
      break;
    default:
      // The OK command that Enter on a list or a radio button sends is swallowed here: the
      // template has no OK button.
      break;
  }
}

bool PellanDetail::OnKeyDown(int key, bool /*shift*/) {
  // Escape would close the dialog through the Cancel command, which is its Close button.
  return key == ui::KEY_ESCAPE;
}

void PellanDetail::OnClose() {
  if (view_) view_->EndDialog(ui::RESULT_CANCEL);
}

void PellanDetail::PrintSamples() {
  std::vector<PellanSample> samples = PellanSamples(seat_.GetTexts(), state_.mode, state_.ticked);
  if (samples.empty()) return;
  SampleRunRequest request;
  request.selection = selection_;
  request.userImage = image_.User();
  request.userImagePath = image_.UserPath();
  request.labelTexts = {TEXT_MEDIA_LABEL, TEXT_FEED_LABEL, TEXT_QUALITY_LABEL};
  for (const PellanSample& sample : samples) request.samples.push_back({sample.caption});
  request.readyInEveryLaunchMode = false;
  request.waitsOnRoll = true;
  // The per-sample step shows its own 20311.
  request.settingShowsMessage = true;
  bool changed = false;
  request.applySetting = [this, &samples, &changed](size_t i) {
    return i < samples.size() && ApplySample(samples[i], &changed);
  };
  seat_.Samples().Run(request, view_);
  // Whatever ended the run, the printer gets back the values it had (or that were last saved)
  // once a sample changed them.
  if (changed && seat_.Launch() == shell::LaunchMode::Normal) RestoreValues();
}

bool PellanDetail::ApplySample(const PellanSample& sample, bool* changed) {
  if (!seat_.WriteAdjustValue(selection_, sample.code, PELLAN_VALUE_STRING, VALUE_PRINT_MODE)) {
    Message(TEXT_SAMPLE_RUN_FAILED, ui::Icon::Warning);
    return false;
  }
  *changed = true;
  if (!sample.shifted) return true;
  seat_.Sleep(PELLAN_WRITE_WAIT_MS);
  if (!seat_.WriteAdjustValue(selection_, DOT_SHIFT_ZERO + sample.shift, PELLAN_VALUE_STRING,
                              VALUE_DOT_SHIFT)) {
    Message(TEXT_SAMPLE_RUN_FAILED, ui::Icon::Warning);
    return false;
  }
  return true;
}

void PellanDetail::RestoreValues() {
  bool restored = seat_.WriteAdjustValue(selection_, ReadHexPair(state_.restoreCode, 0),
                                         PELLAN_VALUE_STRING, VALUE_PRINT_MODE) != 0;
  if (DotShift()) {
    seat_.Sleep(PELLAN_WRITE_WAIT_MS);
    restored = seat_.WriteAdjustValue(selection_, ReadHexPair(state_.restoreShift, 0),
                                      PELLAN_VALUE_STRING, VALUE_DOT_SHIFT) != 0 &&
               restored;
  }
  if (!restored) Message(TEXT_SAMPLE_RUN_FAILED, ui::Icon::Warning);
}

void PellanDetail::Save() {
  if (seat_.Message(view_, seat_.GetTexts().GetText(TEXT_PELLAN_SAVE_QUESTION), ui::Icon::Question,
                    ui::Buttons::OkCancel) != ui::Answer::Ok) {
    return;
  }
  if (seat_.Launch() != shell::LaunchMode::Normal) return;
  // A printer that is gone, foreign or not ready gets nothing written.
  if (!PrinterReadyForSave(seat_, view_)) return;

  int printMode = state_.printMode;
  int code = PRINT_MODE_CODES[printMode];
  if (!seat_.WriteAdjustValue(selection_, code, PELLAN_VALUE_STRING, VALUE_PRINT_MODE)) {
    Message(TEXT_PELLAN_NOT_SAVED, ui::Icon::Warning);
    return;
  }
  seat_.Sleep(PELLAN_WRITE_WAIT_MS);
  std::string codeAnswer = seat_.ReadAdjustValue(selection_, VALUE_PRINT_MODE);
  if (codeAnswer.empty()) {
    Message(TEXT_PELLAN_NOT_SAVED, ui::Icon::Warning);
    return;
  }
  int readCode = ShownNumber(codeAnswer, selection_);
  if (PrintModeIndex(readCode) < 0) {
    Message(TEXT_PELLAN_UNKNOWN_CODE, ui::Icon::Error);
    return;
  }
  if (readCode != code) {
    Message(TEXT_PELLAN_NOT_SAVED, ui::Icon::Warning);
    return;
  }

  std::string shiftAnswer;
  if (DotShift()) {
    std::vector<int> shifts = DotShifts(state_.mode, printMode);
    if (state_.shiftEntry < 0 || state_.shiftEntry >= static_cast<int>(shifts.size())) {
      Message(TEXT_PELLAN_NOT_SAVED, ui::Icon::Warning);
      return;
    }
    int shift = shifts[state_.shiftEntry];
    int value = DOT_SHIFT_ZERO + shift;
    if (!seat_.WriteAdjustValue(selection_, value, PELLAN_VALUE_STRING, VALUE_DOT_SHIFT)) {
      Message(TEXT_PELLAN_NOT_SAVED, ui::Icon::Warning);
      return;
    }
    seat_.Sleep(PELLAN_WRITE_WAIT_MS);
    shiftAnswer = seat_.ReadAdjustValue(selection_, VALUE_DOT_SHIFT);
    if (shiftAnswer.empty() || ShownNumber(shiftAnswer, selection_) != value) {
      Message(TEXT_PELLAN_NOT_SAVED, ui::Icon::Warning);
      return;
    }
    state_.shownShift = ShiftText(shift);
    state_.restoreShift = shiftAnswer.substr(0, RESTORE_LENGTH);
    view_->SetControlText(IDC_PELLAN_CURRENT_SHIFT, state_.shownShift);
  }
  state_.shownCode = state_.labels[printMode];
  state_.restoreCode = codeAnswer.substr(0, RESTORE_LENGTH);
  view_->SetControlText(IDC_PELLAN_CURRENT_MODE, state_.shownCode);
  Message(TEXT_PELLAN_SAVED, ui::Icon::Information);
}

}  // namespace feed
