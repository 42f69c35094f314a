// The printer choice page.
#include "shell/printer_page.h"

#include "shell/layout.h"
#include "shell/main_window_ids.h"
#include "shell/page_ids.h"
#include "shell/printer_choice.h"

namespace shell {

namespace {

constexpr int LABEL_TEXT = 2;
constexpr int HELP_TEXT = 100;
constexpr int CLOSE_TEXT = 180;

const ControlLayout LAYOUT[] = {
    {IDC_PRINTER_LABEL, {70, 6, 200, 24}, LABEL_TEXT},
    {IDC_PRINTER_LIST, {210, 4, 460, 22}, NO_TEXT},
    {IDC_SEPARATOR_LINE, {10, 32, 590, 34}, NO_TEXT},
    {IDC_HELP_BUTTON, {10, 250, 123, 272}, HELP_TEXT},
    {IDC_CLOSE_BUTTON, {477, 250, 590, 272}, CLOSE_TEXT},
};

}  // namespace

bool PrinterPage::OnInit(ui::View& view) {
  view_ = &view;
  view.SetClientSize(PRINTER_PAGE_WIDTH, PRINTER_PAGE_HEIGHT);
  LayOutControls(view, app_.Fonts(), app_.GetTexts(), LAYOUT);

  const Texts& texts = app_.GetTexts();
  const std::string& folder = app_.ProgramDirectory();
  created_ = guide_.Create(app_.Host(), view, GUIDE_LIST_RECT,
                           texts.GuideText(data_.defaultGuide, folder));
  if (!created_) return false;
  if (!data_.items.empty()) {
    FontCache& fonts = app_.Fonts();
    guide_.Windows()->SetFonts(fonts.FontFor(data_.items[0].titleText),
                               fonts.FontFor(data_.items[0].descriptionText), fonts.BaseFont());
  }
  for (const GuideItem& item : data_.items) {
    guide_.List()->AddItem(item.guideNumber, item.bitmapId, app_.GetText(item.titleText),
                           app_.GetText(item.descriptionText),
                           texts.GuideText(item.guideNumber, folder));
  }
  EnableGuideItems();
  return false;
}

void PrinterPage::OnDestroy() {
  guide_.Destroy();
  view_ = nullptr;
}

bool PrinterPage::RealPrinterSelected() {
  if (!view_) return false;
  int selection = view_->ComboSelection(IDC_PRINTER_LIST);
  return selection >= 0 && view_->ComboData(IDC_PRINTER_LIST, selection) != NO_PRINTER_DATA;
}

void PrinterPage::EnableGuideItems() {
  GuideList* list = guide_.List();
  if (!list) return;
  bool enable = RealPrinterSelected();
  for (int i = 0; i < list->Count(); ++i) list->EnableItem(i, enable);
}

void PrinterPage::OnCommand(int id, int code) {
  if (id == IDC_HELP_BUTTON) host_.OpenManual(PRINTER_PAGE_MANUAL, 0);
  if (id == IDC_CLOSE_BUTTON && host_.Window()) host_.Window()->PostClose();
  if (id == IDC_PRINTER_LIST && code == ui::COMBO_SELECTION_CHANGED) EnableGuideItems();
}

bool PrinterPage::OnKeyDown(int key, bool shift) {
  GuideList* list = guide_.List();
  if (!list) return false;
  int focused = guide_.Windows()->FocusedItem();
  return focused >= 0 && list->OnKey(key, shift, focused);
}

intptr_t PrinterPage::OnMessage(unsigned message, uintptr_t wParam, intptr_t /*lParam*/,
                                bool* handled) {
  *handled = message == GUIDE_CHOSEN;
  if (!*handled) return 0;
  size_t index = static_cast<size_t>(wParam);
  if (index < data_.items.size() && guide_.List() &&
      guide_.List()->IsEnabled(static_cast<int>(index))) {
    host_.ChoosePrinter(data_.items[index].pageNumber);
    EnableGuideItems();  // a refused choice may have left the list on the no-printer entry
  }
  return 0;
}

void PrinterPage::ShowPreview() {
  ui::View* owner = host_.Window();
  app_.Host().MessageBox(owner, MISSING_FILE_MESSAGE, app_.GetText(app_.Profile().titleText),
                         ui::Icon::Error, ui::Buttons::Ok);
  app_.Message(owner, PREVIEW_NO_PRINTER_TEXT, ui::Icon::Error);
  app_.Message(owner, PREVIEW_MONITOR_TEXT, ui::Icon::Error);
  app_.Message(owner, PREVIEW_WRONG_MODEL_TEXT, ui::Icon::Error);
  app_.Message(owner, PREVIEW_NOT_READY_TEXT, ui::Icon::Warning);
  app_.Message(owner, PREVIEW_NO_OBJECTS_TEXT, ui::Icon::Error);
  app_.Message(owner, PREVIEW_CLOSE_TEXT, ui::Icon::Information, ui::Buttons::OkCancel);
}

bool PrinterPage::OnRefresh() {
  if (!view_) return true;
  if (app_.Launch() == LaunchMode::U) ShowPreview();
  bool hasNoPrinter = false;
  for (int i = 0; i < view_->ComboCount(IDC_PRINTER_LIST); ++i) {
    if (view_->ComboData(IDC_PRINTER_LIST, i) == NO_PRINTER_DATA) hasNoPrinter = true;
  }
  if (!hasNoPrinter) {
    int entry = view_->ComboAdd(IDC_PRINTER_LIST, app_.GetText(NO_PRINTER_TEXT), NO_PRINTER_DATA);
    if (view_->ComboSelection(IDC_PRINTER_LIST) < 0) view_->ComboSelect(IDC_PRINTER_LIST, entry);
  } else if (view_->ComboSelection(IDC_PRINTER_LIST) < 0) {
    for (int i = 0; i < view_->ComboCount(IDC_PRINTER_LIST); ++i) {
      if (view_->ComboData(IDC_PRINTER_LIST, i) == NO_PRINTER_DATA) {
        view_->ComboSelect(IDC_PRINTER_LIST, i);
        break;
      }
    }
  }
  EnableGuideItems();
  if (guide_.List()) guide_.List()->OnShow();
  return true;
}

}  // namespace shell
