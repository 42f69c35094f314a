// The paper feed adjustment page.
#include "feed/adjustment_page.h"

#include <cstdio>

#include "shell/layout.h"

namespace feed {

namespace {

const shell::ControlLayout LAYOUT[] = {
    {IDC_MEDIA_LABEL, {30, 14, 150, 30}, 10002},
    {IDC_MEDIA_LIST, {160, 10, 570, 200}, shell::NO_TEXT},
    {IDC_PAPER_FEED_LABEL, {30, 42, 150, 58}, 10090},
    {IDC_PAPER_FEED_LIST, {160, 38, 370, 160}, shell::NO_TEXT},
    {IDC_QUALITY_LABEL, {30, 70, 150, 86}, 10003},
    {IDC_QUALITY_LIST, {160, 66, 370, 200}, shell::NO_TEXT},
    {IDC_PAPER_FEED_GROUP, {30, 98, 295, 192}, 10004},
    {IDC_PAPER_FEED_DETAIL, {45, 118, 158, 140}, 10100},
    {IDC_PAPER_FEED_TEXT, {45, 146, 285, 186}, 10005},
    {IDC_PELLAN_GROUP, {305, 98, 570, 192}, 10006},
    {IDC_PELLAN_DETAIL, {320, 118, 433, 140}, 10101},
    {IDC_PELLAN_TEXT, {320, 146, 560, 186}, 10007},
    {IDC_ADJUSTMENT_TEXT, {30, 200, 570, 238}, 10092},
    {IDC_HELP_BUTTON, {11, 246, 124, 268}, 10102},
    {IDC_ADJUSTMENT_CLOSE, {476, 246, 589, 268}, 10103},
};

// Labels of print-quality codes 0 to 8: first text, second text (0: none).
struct QualityTexts {
  int first;
  int second;
};
constexpr QualityTexts QUALITY_TEXTS[] = {
    {10203, 10280}, {10204, 10280}, {10203, 10281}, {10204, 10281}, {10281, 0},
    {10283, 0},     {10282, 0},     {10205, 10282}, {10280, 0},
};
constexpr int QUALITY_CODE_COUNT = static_cast<int>(sizeof QUALITY_TEXTS / sizeof QUALITY_TEXTS[0]);

constexpr int NO_QUALITY = -1;
constexpr char MEDIA_PREFIX[] = "# ";

// Pellan needs the print qualities that eight inks print in both directions.
constexpr int FIRST_PELLAN_POSITION_EIGHT_INKS = 3;
constexpr int FIRST_PELLAN_POSITION_FOUR_INKS = 1;

template <typename Entry>
void FillCombo(ui::View& view, int id, const std::vector<Entry>& entries, int selection,
               intptr_t (*data)(const Entry&)) {
  view.ComboClear(id);
  for (const Entry& entry : entries) view.ComboAdd(id, entry.text, data(entry));
  view.ComboSelect(id, selection);
}

}  // namespace

std::string QualityLabel(const shell::Texts& texts, int code) {
  if (code < 0 || code >= QUALITY_CODE_COUNT) return std::string();
  const QualityTexts& q = QUALITY_TEXTS[code];
  std::string label = texts.GetText(q.first);
  if (q.second != 0) label += "/" + texts.GetText(q.second);
  return label;
}

std::string MediaEntryText(int mediaCode, const std::string& driverName, int kind,
                           const shell::Texts& texts) {
  char number[16];
  std::snprintf(number, sizeof number, "%2d", mediaCode);
  std::string text = MEDIA_PREFIX + std::string(number) + " " + driverName;
  if (kind >= 0 && kind < MEDIA_KIND_COUNT) text += " " + texts.GetText(TEXT_FIRST_KIND + kind);
  return text;
}

bool PellanDetailEnabled(int inkClass, int qualityPosition) {
  if (qualityPosition < 0) return false;
  int first = inkClass == INK_CLASS_FOUR ? FIRST_PELLAN_POSITION_FOUR_INKS
                                         : FIRST_PELLAN_POSITION_EIGHT_INKS;
  return qualityPosition >= first;
}

bool DriverSettingsMediaSource::MediaTypesFor(const std::string& queue, int paperHandling,
                                              std::vector<DriverMediaType>* media) {
  printer_link::KddmHandle handle = nullptr;
  if (api_.KDDM_Open(queue.c_str(), OPEN_NUMBER, printer_link::KDDM_OPEN_PLAIN, nullptr, &handle) !=
      printer_link::KDDM_OK) {
    return false;
  }
  bool set = api_.KDDM_SetData(handle, printer_link::ITEM_PAPER_HANDLING, paperHandling) ==
             printer_link::KDDM_OK;
  if (set) {
    printer_link::DriverMediaHolder holder(list_, api_, queue, handle);
    media->clear();
    for (int i = 0; i < holder.Count(); ++i) media->push_back({holder.Id(i), holder.Name(i)});
  }
  api_.KDDM_Close(handle);
  return set;
}

bool AdjustmentPage::OnInit(ui::View& view) {
  view_ = &view;
  view.SetWindowRect(ADJUSTMENT_PAGE_RECT);
  view.SetClientSize(ADJUSTMENT_PAGE_RECT.Width(), ADJUSTMENT_PAGE_RECT.Height());
  shell::LayOutControls(view, seat_.Fonts(), seat_.GetTexts(), LAYOUT);
  view.ShowControl(IDC_ADJUSTMENT_SPARE, false);
  mediaList_.emplace(view, IDC_MEDIA_LIST);
  return true;
}

void AdjustmentPage::OnDestroy() {
  mediaList_.reset();
  view_ = nullptr;
}

bool AdjustmentPage::OnRefresh() {
  if (seat_.OpenedByPrinterChoice())
    seat_.Message(view_, shell::TEXT_PAGE_PRINTER_CHANGED, ui::Icon::Information);
  if (seat_.Launch() == shell::LaunchMode::U)
    seat_.Message(view_, shell::TEXT_PAGE_NOT_READY, ui::Icon::Warning);
  state_.inkClass =
      seat_.Launch() == shell::LaunchMode::Normal ? seat_.ReadInkClass() : INK_CLASS_EIGHT;
  state_.printerName = seat_.PrinterName();
  FillMedia(0);
  FillQualities();
  ShowLists();
  if (host_.Window()) {
    host_.Window()->SetTitle(seat_.GetTexts().GetText(0) + " - " + state_.printerName);
  }
  return true;
}

bool AdjustmentPage::FillMedia(int position) {
  const PaperFeedPosition& feed = PAPER_FEED_POSITIONS[position];
  std::vector<DriverMediaType> types;
  if (!driver_.MediaTypesFor(state_.printerName, feed.handling, &types)) {
    seat_.Message(view_, TEXT_HANDLING_REFUSED, ui::Icon::Warning);
    return false;
  }
  std::vector<MediaEntry> entries;
  if (media_) {
    for (const DriverMediaType& type : types) {
      int kind = 0;
      for (int row = 0; row < media_->RowCount(); ++row) {
        int code = media_->NextMatch(type.id, feed.paperFeed, &row, &kind);
        if (code == MEDIA_NOT_FOUND) break;
        entries.push_back({MediaEntryText(code, type.name, kind, seat_.GetTexts()), code});
      }
    }
  }
  state_.media = std::move(entries);
  state_.mediaSelection = state_.media.empty() ? -1 : 0;
  state_.paperFeedPosition = position;
  return true;
}

void AdjustmentPage::FillQualities() {
  state_.qualities.clear();
  state_.qualitySelection = -1;
  if (!media_ || state_.mediaSelection < 0) return;
  int32_t codes[MEDIA_QUALITY_COUNT];
  for (int32_t& code : codes) code = NO_QUALITY;
  media_->QualityCodes(state_.media[state_.mediaSelection].code, codes, MEDIA_QUALITY_COUNT);
  for (int slot = 0; slot < MEDIA_QUALITY_COUNT; ++slot) {
    if (codes[slot] == NO_QUALITY) continue;
    state_.qualities.push_back({QualityLabel(seat_.GetTexts(), codes[slot]), slot, codes[slot]});
  }
  if (!state_.qualities.empty()) state_.qualitySelection = 0;
}

void AdjustmentPage::ShowLists() {
  if (!view_) return;
  view_->ComboClear(IDC_PAPER_FEED_LIST);
  for (const PaperFeedPosition& feed : PAPER_FEED_POSITIONS) {
    view_->ComboAdd(IDC_PAPER_FEED_LIST, seat_.GetTexts().GetText(feed.text), feed.paperFeed);
  }
  view_->ComboSelect(IDC_PAPER_FEED_LIST, state_.paperFeedPosition);
  FillCombo<MediaEntry>(*view_, IDC_MEDIA_LIST, state_.media, state_.mediaSelection,
                        [](const MediaEntry& e) { return static_cast<intptr_t>(e.code); });
  if (mediaList_) mediaList_->KeepSelection();
  ShowQualities();
}

void AdjustmentPage::ShowQualities() {
  if (!view_) return;
  FillCombo<QualityEntry>(*view_, IDC_QUALITY_LIST, state_.qualities, state_.qualitySelection,
                          [](const QualityEntry& e) { return static_cast<intptr_t>(e.position); });
  int position =
      state_.qualitySelection < 0 ? -1 : state_.qualities[state_.qualitySelection].position;
  view_->EnableControl(IDC_PELLAN_DETAIL, PellanDetailEnabled(state_.inkClass, position));
}

void AdjustmentPage::OnCommand(int id, int code) {
  bool changed = code == ui::COMBO_SELECTION_CHANGED;
  switch (id) {
    case IDC_MEDIA_LIST: {
      if (!view_ || !mediaList_) break;
      if (code == ui::COMBO_DROPPED_DOWN) {
        mediaList_->OnDropDown();
        break;
      }
      if (!changed && code != ui::COMBO_CHOICE_CONFIRMED) break;
      // Only a confirmation refuses a marked entry; the arrow keys in the open list pass it.
      bool taken = changed ? mediaList_->OnSelectionChanged() : mediaList_->OnChoiceConfirmed();
      if (!taken) break;
      // The confirmation and the change of one choice arrive one after the other.
      int chosen = view_->ComboSelection(IDC_MEDIA_LIST);
      if (chosen == state_.mediaSelection) break;
      state_.mediaSelection = chosen;
      FillQualities();
      ShowQualities();
      break;
    }
    case IDC_PAPER_FEED_LIST: {
      if (!changed || !view_) break;
      int position = view_->ComboSelection(IDC_PAPER_FEED_LIST);
      // A failed fill puts the paper feed back, so that all three lists still agree.
      if (position >= 0 && position < PAPER_FEED_POSITION_COUNT && FillMedia(position)) {
        FillQualities();
      }
      ShowLists();
      break;
    }
    case IDC_QUALITY_LIST:
      if (!changed || !view_) break;
      state_.qualitySelection = view_->ComboSelection(IDC_QUALITY_LIST);
      ShowQualities();
      break;
    case IDC_PAPER_FEED_DETAIL:
      OpenDetail(ADJUST_PAPER_FEED);
      break;
    case IDC_PELLAN_DETAIL:
      OpenDetail(ADJUST_PELLAN);
      break;
    case IDC_HELP_BUTTON:
      host_.OpenManual(ADJUSTMENT_MANUAL_PAGE, ADJUSTMENT_MANUAL_TOPIC);
      break;
    case IDC_ADJUSTMENT_CLOSE:
      host_.SelectPage(0);
      break;
    default:
      break;
  }
}

bool AdjustmentPage::OnKeyDown(int key, bool /*shift*/) {
  return key == ui::KEY_ESCAPE;
}

int AdjustmentPage::OnMeasureItem(int controlId) {
  return controlId == IDC_MEDIA_LIST ? MEDIA_ITEM_HEIGHT : 0;
}

void AdjustmentPage::OnDrawItem(int controlId, int index, bool selected, bool /*inSelectionField*/,
                                ui::Canvas& canvas, const ui::Rect& rect) {
  if (controlId != IDC_MEDIA_LIST || !mediaList_) return;
  mediaList_->DrawItem(canvas, rect, index, selected, seat_.Fonts().BaseFont());
}

void AdjustmentPage::OnPaint(ui::Canvas& canvas) {
  canvas.Fill(canvas.ClientRect(), ui::WHITE);
}

void AdjustmentPage::OpenDetail(int adjustmentKind) {
  // Without a media and a print quality there is nothing to adjust.
  if (state_.mediaSelection < 0 || state_.qualitySelection < 0) return;
  if (adjustmentKind == ADJUST_PELLAN &&
      !PellanDetailEnabled(state_.inkClass, state_.qualities[state_.qualitySelection].position)) {
    return;
  }
  if (!seat_.PrinterUsable(ADJUSTMENT_CHECK, view_, view_)) return;
  const MediaEntry& media = state_.media[state_.mediaSelection];
  const QualityEntry& quality = state_.qualities[state_.qualitySelection];
  const PaperFeedPosition& feed = PAPER_FEED_POSITIONS[state_.paperFeedPosition];
  selection_ = AdjustmentSelection{};
  selection_.mediaName = media.text;
  selection_.paperFeedName = seat_.GetTexts().GetText(feed.text);
  selection_.qualityName = quality.text;
  selection_.mediaCode = shell::MarkedCombo::Value(media.code);
  // Looked up by the code the dialogs and the sample print key on, not by the entry's own.
  if (media_) selection_.mediaRecord = media_->Record(selection_.mediaCode);
  selection_.paperFeed = feed.paperFeed;
  selection_.inkClass = state_.inkClass;
  selection_.qualityPosition = quality.position;
  selection_.qualityCode = quality.code;
  seat_.RunDetail(adjustmentKind, selection_, view_);
}

}  // namespace feed
