// The paper feed detail dialog.
#include "feed/paper_feed_detail.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "feed/adjustment_page.h"
#include "feed/paper_setting_data.h"
#include "shell/layout.h"
#include "shell/multibyte.h"

namespace feed {

namespace {

constexpr int TEXT_TITLE = 20400;

// Paper feed has one value per selection.
constexpr int FEED_VALUE_KIND = 0;

// The edits' ranges: the lowest sample up to 0, the highest from 0, the saved value both ways.
constexpr int LOW_EDIT_MAX = 0;
constexpr int HIGH_EDIT_MIN = 0;

// A typed number stops growing here; every range the dialog uses lies well inside.
constexpr int64_t TYPED_NUMBER_CAP = 1000000;

// Where the reference value stands in the printer's value text (characters 3 and 4).
constexpr size_t REFERENCE_AT = 2;
constexpr size_t REFERENCE_LENGTH = 2;

const char SAMPLE_FORMAT[] = "%3lld, %3lld, %3lld, %3lld, %3lld";
const char LABEL_SUFFIX[] = " : ";

// Texts of the launch mode U preview, each in its own box.
constexpr PreviewMessage PREVIEW[] = {
    {shell::TEXT_PAGE_NOT_READY, ui::Icon::Warning, ui::Buttons::Ok},
    {TEXT_FEED_SAVED, ui::Icon::Information, ui::Buttons::Ok},
    {TEXT_FEED_NOT_SAVED, ui::Icon::Warning, ui::Buttons::Ok},
    {TEXT_FEED_SAVE_CONFIRM, ui::Icon::Warning, ui::Buttons::OkCancel},
    {TEXT_FEED_NO_PICTURE, ui::Icon::Warning, ui::Buttons::Ok},
    {TEXT_FEED_PICTURE_SIZE, ui::Icon::Warning, ui::Buttons::Ok},
    {TEXT_SAMPLE_RUN_FAILED, ui::Icon::Warning, ui::Buttons::Ok},
    {TEXT_FEED_NO_MANUAL, ui::Icon::Error, ui::Buttons::Ok},
};

const shell::ControlLayout LAYOUT[] = {
    {IDC_FEED_MEDIA_LABEL, {15, 10, 130, 26}, TEXT_FEED_MEDIA_LABEL},
    {IDC_FEED_MEDIA_NAME, {135, 10, 378, 26}, shell::NO_TEXT},
    {IDC_FEED_PAPER_LABEL, {15, 30, 130, 46}, TEXT_FEED_PAPER_LABEL},
    {IDC_FEED_PAPER_NAME, {135, 30, 378, 46}, shell::NO_TEXT},
    {IDC_FEED_QUALITY_LABEL, {15, 50, 130, 66}, TEXT_FEED_QUALITY_LABEL},
    {IDC_FEED_QUALITY_NAME, {135, 50, 378, 66}, shell::NO_TEXT},
    {IDC_FEED_SAMPLE_GROUP, {8, 74, 382, 338}, 20009},
    {IDC_FEED_RANGE_HEADING, {20, 94, 370, 110}, 20000},
    {IDC_FEED_LOW_LABEL, {20, 118, 120, 134}, 20001},
    {IDC_FEED_LOW_EDIT, {124, 116, 174, 136}, shell::NO_TEXT},
    {IDC_FEED_HIGH_LABEL, {204, 118, 314, 134}, 20002},
    {IDC_FEED_HIGH_EDIT, {318, 116, 368, 136}, shell::NO_TEXT},
    {IDC_FEED_SCALE_LEFT, {20, 158, 72, 174}, 20012},
    {IDC_FEED_SLIDER_FRAME, FEED_SLIDER_TRACK, shell::NO_TEXT},
    {IDC_FEED_SCALE_RIGHT, {318, 158, 370, 174}, 20011},
    {IDC_FEED_SAMPLES_HEADING, {20, 194, 170, 210}, 20003},
    {IDC_FEED_SAMPLES, {174, 194, 370, 210}, shell::NO_TEXT},
    {IDC_FEED_SAMPLE_PRINT, {20, 216, 133, 238}, 20101},
    {IDC_FEED_IMAGE_GROUP, {20, 246, 370, 330}, 20006},
    {IDC_FEED_STANDARD_IMAGE, {32, 264, 250, 280}, 20600},
    {IDC_FEED_USER_IMAGE, {32, 284, 250, 300}, 20601},
    {IDC_FEED_IMAGE_NAME, {50, 306, 250, 322}, shell::NO_TEXT},
    {IDC_FEED_BROWSE, {257, 302, 360, 324}, 20102},
    {IDC_FEED_SAVE_GROUP, {8, 346, 382, 436}, 20010},
    {IDC_FEED_SAVE_HEADING, {20, 366, 200, 382}, 20004},
    {IDC_FEED_SAVE_EDIT, {204, 364, 254, 384}, shell::NO_TEXT},
    {IDC_FEED_PRINTER_HEADING, {20, 396, 200, 412}, 20005},
    {IDC_FEED_PRINTER_VALUE, {204, 396, 254, 412}, shell::NO_TEXT},
    {IDC_FEED_SAVE, {267, 378, 370, 400}, 20100},
    {IDC_HELP_BUTTON, {8, 446, 111, 468}, 20103},
    {ui::ID_CANCEL, {279, 446, 382, 468}, 20104},
};

// The "label : " captions and the selection's name beside each.
struct SelectionRow {
  int label;
  int nameId;
  int text;
  std::string AdjustmentSelection::*name;
};
const SelectionRow SELECTION_ROWS[] = {
    {IDC_FEED_MEDIA_LABEL, IDC_FEED_MEDIA_NAME, TEXT_FEED_MEDIA_LABEL,
     &AdjustmentSelection::mediaName},
    {IDC_FEED_PAPER_LABEL, IDC_FEED_PAPER_NAME, TEXT_FEED_PAPER_LABEL,
     &AdjustmentSelection::paperFeedName},
    {IDC_FEED_QUALITY_LABEL, IDC_FEED_QUALITY_NAME, TEXT_FEED_QUALITY_LABEL,
     &AdjustmentSelection::qualityName},
};

bool IsRangeEdit(int id) {
  return id == IDC_FEED_LOW_EDIT || id == IDC_FEED_HIGH_EDIT;
}

}  // namespace

std::string FilterRangeText(const std::string& typed, int minimum, int maximum,
                            const platform::CodePage& codePage) {
  int64_t value = 0;
  bool anyDigit = false;
  int minusSigns = 0;
  for (size_t i = 0; i < typed.size();) {
    size_t length = shell::CharacterLength(codePage, typed.data() + i, typed.size() - i);
    char c = typed[i];
    i += length;
    if (length > 1) continue;
    if (c >= '0' && c <= '9') {
      anyDigit = true;
      value = std::min(value * 10 + (c - '0'), TYPED_NUMBER_CAP);
    } else if (c == '-') {
      ++minusSigns;
    }
  }
  bool negative = minusSigns % 2 == 1;
  bool minusAllowed = minimum < 0;
  if (!anyDigit) return negative && minusAllowed ? "-" : "";
  // "-0" is how a negative number starts being typed; it must survive the filter.
  if (value == 0 && negative && minusAllowed) return "-0";
  if (negative) value = -value;
  return std::to_string(std::clamp<int64_t>(value, minimum, maximum));
}

int RangeTextValue(const std::string& text) {
  long value = std::strtol(text.c_str(), nullptr, 10);
  return static_cast<int>(std::clamp<long>(value, -TYPED_NUMBER_CAP, TYPED_NUMBER_CAP));
}

ui::Answer PaperFeedDetail::Message(int text, ui::Icon icon, ui::Buttons buttons) {
  return DetailMessage(seat_, view_, text, icon, buttons);
}

bool PaperFeedDetail::OnInit(ui::View& view) {
  view_ = &view;
  if (seat_.Launch() == shell::LaunchMode::U) ShowPreviewMessages();
  LayOut();

  slider_.Attach(this, FEED_SLIDER_TRACK);
  slider_.SetRange(FEED_RANGE_MAX, FEED_RANGE_MIN);
  SetEdit(IDC_FEED_HIGH_EDIT, &state_.highText, FEED_RANGE_MAX);
  SetEdit(IDC_FEED_LOW_EDIT, &state_.lowText, FEED_RANGE_MIN);
  ShowSamples();

  image_.Load();
  image_.Show(view);

  view.EnableControl(IDC_FEED_SAVE, false);
  selection_.adjustmentKind = ADJUST_PAPER_FEED;
  state_.valueString.clear();
  if (seat_.Launch() == shell::LaunchMode::Normal && !ReadPrinterValue()) {
    view.EndDialog(ui::RESULT_CANCEL);
  }
  return true;
}

void PaperFeedDetail::ShowPreviewMessages() {
  for (const PreviewMessage& p : PREVIEW) Message(p.text, p.icon, p.buttons);
}

void PaperFeedDetail::LayOut() {
  view_->SetWindowRect(FEED_DETAIL_WINDOW);
  view_->CenterOnParent();
  const shell::Texts& texts = seat_.GetTexts();
  shell::LayOutControls(*view_, seat_.Fonts(), texts, LAYOUT);
  for (const SelectionRow& row : SELECTION_ROWS) {
    view_->SetControlText(row.label, texts.GetText(row.text) + LABEL_SUFFIX);
    view_->SetControlText(row.nameId, selection_.*row.name);
  }
  view_->SetTitle(texts.GetText(TEXT_TITLE));
}

bool PaperFeedDetail::ReadPrinterValue() {
  std::string text = seat_.ReadAdjustValue(selection_, FEED_VALUE_KIND);
  if (text.empty()) {
    Message(TEXT_FEED_VALUE_UNREADABLE, ui::Icon::Error);
    return false;
  }
  state_.valueString =
      text.size() > REFERENCE_AT ? text.substr(REFERENCE_AT, REFERENCE_LENGTH) : "";
  state_.printerValue = AdjustValueText(text, selection_);
  view_->SetControlText(IDC_FEED_PRINTER_VALUE, state_.printerValue);
  return true;
}

void PaperFeedDetail::OnCommand(int id, int code) {
  if (!view_) return;
  if (IsRangeEdit(id) || id == IDC_FEED_SAVE_EDIT) {
    if (code == ui::EDIT_CHANGED) {
      if (id == IDC_FEED_SAVE_EDIT) {
        state_.saveText = FilterEdit(id, FEED_RANGE_MIN, FEED_RANGE_MAX);
        SaveTextChanged();
      } else if (!slider_.IsDragging()) {
        // The slider writes its values into these edits; those need no filter.
        bool low = id == IDC_FEED_LOW_EDIT;
        (low ? state_.lowText : state_.highText) = FilterEdit(
            id, low ? FEED_RANGE_MIN : HIGH_EDIT_MIN, low ? LOW_EDIT_MAX : FEED_RANGE_MAX);
      }
    } else if (code == ui::EDIT_LOST_FOCUS) {
      if (id == IDC_FEED_SAVE_EDIT) {
        LeaveSave();
      } else {
        LeaveRange(id);
      }
    }
    return;
  }
  switch (id) {
    case IDC_FEED_STANDARD_IMAGE:
      image_.Choose(*view_, IDC_FEED_STANDARD_IMAGE);
      break;
    case IDC_FEED_USER_IMAGE:
      image_.Choose(*view_, IDC_FEED_USER_IMAGE);
      break;
    case IDC_FEED_BROWSE:
      image_.Browse(*view_);
      break;
    case IDC_FEED_SAMPLE_PRINT:
      PrintSamples();
      break;
    case IDC_FEED_SAVE:
      Save();
      break;
    case IDC_HELP_BUTTON:
      seat_.OpenManual(FEED_DETAIL_MANUAL_PAGE, FEED_DETAIL_MANUAL_TOPIC);
      break;
    case ui::ID_CANCEL:
      view_->EndDialog(ui::RESULT_CANCEL);
      break;
    default:
      break;
  }
}

bool PaperFeedDetail::OnKeyDown(int key, bool /*shift*/) {
  if (key == ui::KEY_ESCAPE) return true;
  if (key != ui::KEY_RETURN || !view_) return false;
  int focused = view_->FocusedControl();
  if (IsRangeEdit(focused)) {
    LeaveRange(focused);
    return true;
  }
  return focused == IDC_FEED_SAVE_EDIT || focused == IDC_FEED_STANDARD_IMAGE ||
         focused == IDC_FEED_USER_IMAGE;
}

intptr_t PaperFeedDetail::OnMessage(unsigned message, uintptr_t /*wParam*/, intptr_t lParam,
                                    bool* handled) {
  *handled = message == shell::SLIDER_LOW_CHANGED || message == shell::SLIDER_HIGH_CHANGED;
  if (*handled) SliderChanged(message, static_cast<int>(lParam));
  return 0;
}

void PaperFeedDetail::OnClose() {
  if (view_) view_->EndDialog(ui::RESULT_CANCEL);
}

std::string PaperFeedDetail::FilterEdit(int id, int minimum, int maximum) {
  std::string typed = view_->ControlText(id);
  std::string filtered = FilterRangeText(typed, minimum, maximum, seat_.SystemCodePage());
  if (filtered != typed) view_->SetControlText(id, filtered);
  return filtered;
}

void PaperFeedDetail::SetEdit(int id, std::string* text, int value) {
  *text = std::to_string(value);
  if (view_) view_->SetControlText(id, *text);
}

// Leaving one end of the range moves its thumb, then keeps the other end at least the slider's
// span away. Both edits show numbers afterwards, so that what is shown is what is printed.
void PaperFeedDetail::LeaveRange(int id) {
  constexpr int SPAN = shell::RangeSlider::MIN_SPAN;
  if (id == IDC_FEED_HIGH_EDIT) {
    int high = RangeTextValue(FilterEdit(id, HIGH_EDIT_MIN, FEED_RANGE_MAX));
    SetEdit(id, &state_.highText, high);
    slider_.SetValue(shell::SliderThumb::High, high, true);
    int low = RangeTextValue(FilterEdit(IDC_FEED_LOW_EDIT, FEED_RANGE_MIN, LOW_EDIT_MAX));
    if (high - low < SPAN) low = high - SPAN;
    SetEdit(IDC_FEED_LOW_EDIT, &state_.lowText, low);
    slider_.SetValue(shell::SliderThumb::Low, low, true);
  } else {
    int low = RangeTextValue(FilterEdit(id, FEED_RANGE_MIN, LOW_EDIT_MAX));
    SetEdit(id, &state_.lowText, low);
    slider_.SetValue(shell::SliderThumb::Low, low, true);
    int high = RangeTextValue(FilterEdit(IDC_FEED_HIGH_EDIT, HIGH_EDIT_MIN, FEED_RANGE_MAX));
    if (high - low < SPAN) high = low + SPAN;
    SetEdit(IDC_FEED_HIGH_EDIT, &state_.highText, high);
    slider_.SetValue(shell::SliderThumb::High, high, true);
  }
  ShowSamples();
}

void PaperFeedDetail::SliderChanged(unsigned message, int value) {
  bool low = message == shell::SLIDER_LOW_CHANGED;
  SetEdit(low ? IDC_FEED_LOW_EDIT : IDC_FEED_HIGH_EDIT, low ? &state_.lowText : &state_.highText,
          value);
  std::string& other = low ? state_.highText : state_.lowText;
  if (other.empty()) {
    SetEdit(low ? IDC_FEED_HIGH_EDIT : IDC_FEED_LOW_EDIT, &other, 0);
    slider_.SetValue(low ? shell::SliderThumb::High : shell::SliderThumb::Low, 0, true);
  }
  ShowSamples();
}

void PaperFeedDetail::RepaintNow(const ui::Rect& area) {
  if (view_) view_->RepaintNow(area);
}

void PaperFeedDetail::CaptureMouse(bool capture) {
  if (view_) view_->CaptureMouse(capture);
}

void PaperFeedDetail::ShowSamples() {
  state_.samples =
      FeedSampleValues(RangeTextValue(state_.lowText), RangeTextValue(state_.highText));
  const auto& s = state_.samples;
  char text[64];
  std::snprintf(text, sizeof text, SAMPLE_FORMAT, static_cast<long long>(s[0]),
                static_cast<long long>(s[1]), static_cast<long long>(s[2]),
                static_cast<long long>(s[3]), static_cast<long long>(s[4]));
  if (view_) view_->SetControlText(IDC_FEED_SAMPLES, text);
}

void PaperFeedDetail::SaveTextChanged() {
  view_->EnableControl(IDC_FEED_SAVE, !state_.saveText.empty() && state_.saveText != "-");
}

void PaperFeedDetail::LeaveSave() {
  std::string text = FilterEdit(IDC_FEED_SAVE_EDIT, FEED_RANGE_MIN, FEED_RANGE_MAX);
  if (RangeTextValue(text) == 0) {
    SetEdit(IDC_FEED_SAVE_EDIT, &state_.saveText, 0);
  } else {
    state_.saveText = text;
  }
  SaveTextChanged();
}

void PaperFeedDetail::PrintSamples() {
  // A range edit still being typed in counts as left, so that the samples are the ones shown.
  int focused = view_->FocusedControl();
  if (IsRangeEdit(focused)) LeaveRange(focused);

  SampleRunRequest request;
  request.selection = selection_;
  request.userImage = image_.User();
  request.userImagePath = image_.UserPath();
  request.labelTexts = {TEXT_FEED_MEDIA_LABEL, TEXT_FEED_PAPER_LABEL, TEXT_FEED_QUALITY_LABEL};
  int64_t low = RangeTextValue(state_.lowText);
  int64_t high = RangeTextValue(state_.highText);
  int64_t current = RangeTextValue(state_.printerValue);
  std::string caption = seat_.GetTexts().GetText(TEXT_FEED_SAMPLE_CAPTION) + "=";
  for (int64_t sample : FeedSampleValues(std::min(low, high), std::max(low, high))) {
    SampleJob job;
    job.caption = caption + std::to_string(sample);
    job.setsFeedCorrection = true;
    job.feedCorrection = static_cast<int>(sample - current);
    request.samples.push_back(job);
  }
  request.readyInEveryLaunchMode = true;
  request.waitsOnRoll = false;
  seat_.Samples().Run(request, view_);
}

// Every check that fails ends the save with its message: nothing is written to a printer that
// is gone, another model or not ready.
void PaperFeedDetail::Save() {
  if (Message(TEXT_FEED_SAVE_CONFIRM, ui::Icon::Question, ui::Buttons::OkCancel) !=
      ui::Answer::Ok) {
    return;
  }
  if (seat_.Launch() != shell::LaunchMode::Normal) return;
  if (!seat_.PrinterUsable(SAVE_CHECK, view_, view_)) return;
  int value = RangeTextValue(state_.saveText);
  bool verified = false;
  if (seat_.WriteAdjustValue(selection_, value, state_.valueString, FEED_VALUE_KIND) == 1) {
    seat_.Sleep(FEED_VERIFY_WAIT_MS);
    std::string text = seat_.ReadAdjustValue(selection_, FEED_VALUE_KIND);
    // An empty read-back would show as 0; it verifies nothing, not even a saved 0.
    if (!text.empty()) {
      std::string shown = AdjustValueText(text, selection_);
      if (RangeTextValue(shown) == value) {
        state_.printerValue = shown;
        if (view_) view_->SetControlText(IDC_FEED_PRINTER_VALUE, shown);
        verified = true;
      }
    }
  }
  if (verified) {
    Message(TEXT_FEED_SAVED, ui::Icon::Information);
  } else {
    Message(TEXT_FEED_NOT_SAVED, ui::Icon::Warning);
  }
}

}  // namespace feed
