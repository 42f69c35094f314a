// The stand-in main window.
#include "programs/common/placeholder_window.h"

#include "shell/layout.h"

namespace programs {

namespace {

constexpr int MAIN_TEMPLATE = 102;
constexpr int PROGRAM_ICON = 128;
constexpr int HEADER_BITMAP = 131;
constexpr int HEADER_WIDTH = 600;
constexpr int HEADER_HEIGHT = 70;
constexpr int PAGE_TOP = HEADER_HEIGHT + 45;
constexpr int PAGE_ICONS = 163;
constexpr int PAGE_ICON_WIDTH = 34;
constexpr int PAGE_SELECTOR = 1000;
constexpr int PRINTER_LIST = 1026;
constexpr int NO_PRINTER_TEXT = 200;
constexpr int PAGE_COUNT = 10;

const ui::Rect TITLE_RECT{54, 7, 370, 42};
const ui::Rect DESCRIPTION_RECT{54, 42, 595, 60};

}  // namespace

PlaceholderWindow::PlaceholderWindow(shell::ToolApp& app) : app_(app) {
  for (const shell::PageEntry& page : app_.Profile().pages) {
    if (page.number == app_.Profile().startPage) startPage_ = &page;
  }
}

PlaceholderWindow::~PlaceholderWindow() = default;

int PlaceholderWindow::TemplateId() const {
  return MAIN_TEMPLATE;
}

bool PlaceholderWindow::OnInit(ui::View& view) {
  view_ = &view;
  app_.Host().SetMainWindow(&view);
  view.SetTitle(app_.GetText(app_.Profile().titleText));
  view.SetIcon(PROGRAM_ICON);
  view.SetProperty(app_.InstanceName(), 1);
  app_.Fonts().MakeBaseFont(view.DialogFont(), view.Dpi());

  for (int number = 0; number < PAGE_COUNT; ++number) {
    for (const shell::PageEntry& page : app_.Profile().pages) {
      if (page.number != number) continue;
      std::string name = app_.GetText(page.nameText);
      if (!name.empty()) view.ComboAdd(PAGE_SELECTOR, name, number);
    }
  }
  int printerLabelText = app_.Profile().program == shell::Program::Sunnabar ? 10 : 2;
  const shell::ControlLayout frame[] = {{PAGE_SELECTOR, {338, 15, 531, 30}, shell::NO_TEXT},
                                        {1028, {70, 72, 200, 90}, printerLabelText},
                                        {PRINTER_LIST, {210, 70, 460, 88}, shell::NO_TEXT},
                                        {1137, {60, 98, 540, 100}, shell::NO_TEXT}};
  shell::LayOutControls(view, app_.Fonts(), app_.GetTexts(), frame);
  view.ComboSelect(PRINTER_LIST, view.ComboAdd(PRINTER_LIST, app_.GetText(NO_PRINTER_TEXT), -1));
  view.ShowControl(PAGE_SELECTOR, false);
  view.RemoveMaximizeAndSize();
  view.SetMinimizeRestoreGreyed(false);
  ShowStartPage(view);
  return true;
}

void PlaceholderWindow::ShowStartPage(ui::View& view) {
  if (!startPage_ || startPage_->templateId == 0) return;
  page_ = app_.Host().CreateModeless(startPage_->templateId, &view, true, pageHandler_);
  if (!page_) return;
  int height = page_->ClientSize().Height();
  page_->SetWindowRect(ui::Rect{0, PAGE_TOP, HEADER_WIDTH, PAGE_TOP + height});
  view.SetClientSize(HEADER_WIDTH, PAGE_TOP + height);
  view.CenterOnScreen();
  page_->Show(true);
  for (int i = 0; i < view.ComboCount(PAGE_SELECTOR); ++i) {
    if (view.ComboData(PAGE_SELECTOR, i) == startPage_->number) view.ComboSelect(PAGE_SELECTOR, i);
  }
}

void PlaceholderWindow::OnPaint(ui::Canvas& canvas) {
  canvas.Fill(canvas.ClientRect(), ui::WHITE);
  canvas.Bitmap(HEADER_BITMAP, 0, 0);
  if (!startPage_) return;
  canvas.StripCell(PAGE_ICONS, PAGE_ICON_WIDTH, ui::MAGENTA, startPage_->number, 15, 13);
  canvas.Text(app_.GetText(startPage_->nameText), TITLE_RECT,
              app_.Fonts().FontFor(startPage_->nameText), ui::SYS_WINDOW_TEXT);
  canvas.Text(app_.GetText(startPage_->descriptionText), DESCRIPTION_RECT,
              app_.Fonts().FontFor(startPage_->descriptionText), ui::SYS_WINDOW_TEXT);
}

bool PlaceholderWindow::OnKeyDown(int key, bool /*shift*/) {
  return key == ui::KEY_RETURN || key == ui::KEY_ESCAPE;
}

void PlaceholderWindow::OnClose() {
  view_->RemoveProperty(app_.InstanceName());
  view_->EndDialog(ui::RESULT_CANCEL);
}

void PlaceholderWindow::OnDrawItem(int controlId, int index, bool selected, bool inSelectionField,
                                   ui::Canvas& canvas, const ui::Rect& rect) {
  ui::Color text = selected ? ui::SYS_HIGHLIGHT_TEXT : ui::SYS_WINDOW_TEXT;
  canvas.Fill(rect, selected ? ui::SYS_HIGHLIGHT : ui::SYS_WINDOW);
  if (index < 0) return;
  ui::Rect textRect{rect.left + 2, rect.top, rect.right, rect.bottom};
  canvas.Text(view_->ComboText(controlId, index), textRect, app_.Fonts().BaseFont(), text);
  if (index == 1 && !inSelectionField) canvas.DottedLine(rect.left, rect.top, rect.right, text);
}

void PlaceholderWindow::OnDestroy() {
  page_.reset();
  app_.Host().SetMainWindow(nullptr);
  view_ = nullptr;
}

}  // namespace programs
