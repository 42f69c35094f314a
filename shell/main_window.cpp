// The main window frame of Kestrune and Sunnabar.
#include "shell/main_window.h"

#include <cstdio>

#include "shell/layout.h"

namespace shell {

namespace {

constexpr int SUNNABAR_PRINTER_LABEL_TEXT = 10;
constexpr int KESTRUNE_PRINTER_LABEL_TEXT = 2;
constexpr int ABOUT_TITLE_TEXT = 400;
constexpr int ABOUT_VERSION_TEXT = 10001;
constexpr int ABOUT_BODY_TEXT = 10000;
constexpr int KESTRUNE_ABOUT_PICTURE = 186;
constexpr int SUNNABAR_ABOUT_PICTURE = 184;
constexpr int MANUAL_FAILED_KESTRUNE = 311;
constexpr int MANUAL_FAILED_SUNNABAR = 313;
constexpr int PAGE_ICON_X = 15;
constexpr int PAGE_ICON_Y = 13;
constexpr int HEADER_TEXT_LEFT_WITH_ICON = 54;  // 15 + 39
constexpr int ENTRY_TEXT_INSET = 2;
constexpr ui::Color HIGHLIGHT = ui::Rgb(0, 120, 215);

const ui::Rect TITLE_RECT{15, 7, 370, 42};
const ui::Rect DESCRIPTION_RECT{15, 42, 595, 60};

const ui::Rect ABOUT_WINDOW{0, 0, 370, 255};
constexpr int ABOUT_PICTURE_X = 121;
constexpr int ABOUT_PICTURE_Y = 10;

}  // namespace

std::string VersionLabel(const std::string& label, uint32_t high, uint32_t low) {
  uint32_t v = high + (low >> 16);
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, " %u.%02u", static_cast<unsigned>(v / 65536),
                static_cast<unsigned>(v % 65536));
  return label + buffer;
}

MainWindow::MainWindow(ToolApp& app, PageFactory makePage)
    : app_(app),
      makePage_(std::move(makePage)),
      printers_(app),
      current_(app.Profile().startPage) {}

MainWindow::~MainWindow() {
  DestroyPages();
}

const PageEntry* MainWindow::EntryOf(int pageNumber) const {
  for (const PageEntry& entry : app_.Profile().pages) {
    if (entry.number == pageNumber) return &entry;
  }
  return nullptr;
}

bool MainWindow::CreatePage(ui::View& view, const PageEntry& entry) {
  std::unique_ptr<Page> page = makePage_ ? makePage_(app_, *this, entry.number) : nullptr;
  if (!page) return false;
  std::unique_ptr<ui::View> window =
      app_.Host().CreateModeless(entry.templateId, &view, true, *page);
  if (!window) return false;
  int height = window->ClientSize().Height();
  window->SetWindowRect(ui::Rect{0, PAGE_TOP, HEADER_WIDTH, PAGE_TOP + height});
  pages_[entry.number] = std::move(page);
  pageViews_[entry.number] = std::move(window);
  return true;
}

bool MainWindow::OnInit(ui::View& view) {
  view_ = &view;
  app_.Host().SetMainWindow(&view);
  std::string aboutItem = app_.GetText(ABOUT_MENU_TEXT);
  if (view.HasSystemMenu() && !aboutItem.empty()) {
    view.AppendSystemMenuItem(ABOUT_COMMAND_FIRST, aboutItem);
  }
  programTitle_ = app_.GetText(app_.Profile().titleText);
  view.SetIcon(PROGRAM_ICON);
  app_.Fonts().MakeBaseFont(view.DialogFont(), view.Dpi());
  view.SetProperty(app_.InstanceName(), 1);

  for (const PageEntry& entry : app_.Profile().pages) {
    if (entry.templateId == 0 || !InRange(entry.number)) continue;
    if (!CreatePage(view, entry)) {
      app_.Message(&view, app_.Profile().sharedObjectsFailedText, ui::Icon::Error);
      view.EndDialog(ui::RESULT_CANCEL);
      return true;
    }
  }

  for (int n = 0; n < PAGE_COUNT; ++n) {
    const PageEntry* entry = EntryOf(n);
    pageNames_[n] = entry ? app_.GetText(entry->nameText) : std::string();
    if (!pageNames_[n].empty()) view.ComboAdd(IDC_PAGE_SELECTOR, pageNames_[n], n);
  }

  int labelText = app_.Profile().program == Program::Sunnabar ? SUNNABAR_PRINTER_LABEL_TEXT
                                                              : KESTRUNE_PRINTER_LABEL_TEXT;
  const ControlLayout layout[] = {
      {IDC_PAGE_SELECTOR, {338, 15, 531, 30}, NO_TEXT},
      {IDC_PRINTER_LABEL, {70, 72, 200, 90}, labelText},
      {IDC_PRINTER_LIST, {210, 70, 460, 88}, NO_TEXT},
      {IDC_SEPARATOR, {60, 98, 540, 100}, NO_TEXT},
  };
  LayOutControls(view, app_.Fonts(), app_.GetTexts(), layout);

  bool noneRegistered = false;
  printers_.Fill(view, IDC_PRINTER_LIST, &noneRegistered);
  if (noneRegistered && app_.Launch() == LaunchMode::Normal) {
    app_.Message(&view, NO_REGISTERED_PRINTER_TEXT, ui::Icon::Error);
    view.EndDialog(ui::RESULT_CANCEL);
  }
  printers_.Choose(view, IDC_PRINTER_LIST, PageAt(app_.Profile().startPage));

  view.RemoveMaximizeAndSize();
  view.SetMinimizeRestoreGreyed(false);
  SelectPage(app_.Profile().startPage);
  return true;
}

void MainWindow::SelectPage(int pageNumber) {
  if (!view_) return;
  for (int i = 0; i < view_->ComboCount(IDC_PAGE_SELECTOR); ++i) {
    if (view_->ComboData(IDC_PAGE_SELECTOR, i) == pageNumber) {
      view_->ComboSelect(IDC_PAGE_SELECTOR, i);
      SwitchPage();
      return;
    }
  }
}

int MainWindow::SelectedPageNumber() {
  intptr_t n = view_->ComboData(IDC_PAGE_SELECTOR, view_->ComboSelection(IDC_PAGE_SELECTOR));
  return InRange(static_cast<int>(n)) ? static_cast<int>(n) : -1;
}

void MainWindow::SwitchPage() {
  ui::View& view = *view_;
  if (InRange(current_) && pageViews_[current_]) pageViews_[current_]->Send(PAGE_LEAVE, 0, 0);
  int n = SelectedPageNumber();
  if (n < 0) return;

  bool refreshes = app_.Profile().program != Program::Sunnabar;
  if (refreshes && n != 0 && pageViews_[n] && pageViews_[n]->Send(PAGE_REFRESH, 0, 0) == 0) {
    // A page that refuses keeps page 0 current; elsewhere the switch goes on.
    if (current_ == 0) {
      SelectPage(0);
      return;
    }
  } else if (refreshes && n == 0 && pageViews_[0]) {
    pageViews_[0]->Send(PAGE_REFRESH, 0, 0);
  }

  // The selector is never visible here; it only records the current page.
  view.EnableControl(IDC_PAGE_SELECTOR, n != 0);
  view.ShowControl(IDC_PAGE_SELECTOR, false);
  if (n != 0) view.Focus();
  view.SetTitle(pageNames_[0]);

  for (int number = 0; number < PAGE_COUNT; ++number) {
    ui::View* page = pageViews_[number].get();
    if (!page) continue;
    if (number != n) {
      page->Show(false);
      continue;
    }
    view.SetClientSize(HEADER_WIDTH, PAGE_TOP + page->ClientSize().Height());
    view.CenterOnScreen();
    page->Show(true);
    const PageEntry* entry = EntryOf(n);
    title_ = pageNames_[n];
    description_ = entry ? app_.GetText(entry->descriptionText) : std::string();
  }
  view.Invalidate();
  current_ = n;
  for (int i = 0; i < view.ComboCount(IDC_PAGE_SELECTOR); ++i) {
    if (view.ComboData(IDC_PAGE_SELECTOR, i) == n) view.ComboSelect(IDC_PAGE_SELECTOR, i);
  }
}

void MainWindow::OnCommand(int id, int code) {
  if (code != COMBO_SELECTION_CHANGED) return;
  if (id == IDC_PAGE_SELECTOR) SwitchPage();
  if (id == IDC_PRINTER_LIST) {
    printers_.Choose(*view_, IDC_PRINTER_LIST, PageAt(app_.Profile().startPage));
  }
}

void MainWindow::OnPaint(ui::Canvas& canvas) {
  if (view_ && view_->IsMinimized()) {
    ui::Rect client = canvas.ClientRect();
    canvas.Icon(PROGRAM_ICON, client.Width() / 2, client.Height() / 2);
    return;
  }
  canvas.Fill(canvas.ClientRect(), ui::WHITE);
  canvas.Bitmap(HEADER_PICTURE, 0, 0);
  int n = view_ ? SelectedPageNumber() : -1;
  if (n <= 0) return;
  canvas.StripCell(PAGE_ICONS, PAGE_ICON_WIDTH, ui::MAGENTA, n, PAGE_ICON_X, PAGE_ICON_Y);
  ui::Rect titleRect = TITLE_RECT;
  ui::Rect descriptionRect = DESCRIPTION_RECT;
  titleRect.left = descriptionRect.left = HEADER_TEXT_LEFT_WITH_ICON;
  const PageEntry* entry = EntryOf(n);
  if (!entry) return;
  canvas.Text(title_, titleRect, app_.Fonts().FontFor(entry->nameText), ui::BLACK);
  canvas.Text(description_, descriptionRect, app_.Fonts().FontFor(entry->descriptionText),
              ui::BLACK);
}

void MainWindow::OnDrawItem(int controlId, int index, bool selected, bool inSelectionField,
                            ui::Canvas& canvas, const ui::Rect& rect) {
  if (controlId != IDC_PAGE_SELECTOR || index < 0) return;
  ui::Color text = selected ? ui::WHITE : ui::BLACK;
  canvas.Fill(rect, selected ? HIGHLIGHT : ui::WHITE);
  ui::Rect textRect = rect;
  textRect.left += ENTRY_TEXT_INSET;
  canvas.Text(view_->ComboText(controlId, index), textRect, app_.Fonts().BaseFont(), text);
  // The dotted line separates the program title from the pages below it.
  if (index == 1 && !inSelectionField) canvas.DottedLine(rect.left, rect.top, rect.right, text);
}

bool MainWindow::OnKeyDown(int key, bool shift) {
  if (key == ui::KEY_RETURN || key == ui::KEY_ESCAPE) return true;
  if (key == ui::KEY_TAB && InRange(current_) && pageViews_[current_]) {
    pageViews_[current_]->FocusTabStopNear(shift ? 0 : 1, shift);
    return true;
  }
  return false;
}

void MainWindow::OnClose() {
  if (app_.Message(view_, CLOSE_CONFIRM_TEXT, ui::Icon::Information, ui::Buttons::OkCancel) !=
      ui::Answer::Ok) {
    return;
  }
  // Removed first, so that a program started now does not activate a closing window.
  view_->RemoveProperty(app_.InstanceName());
  view_->EndDialog(ui::RESULT_CANCEL);
}

void MainWindow::OnSystemCommand(int id, bool* handled) {
  *handled = id >= ABOUT_COMMAND_FIRST && id <= ABOUT_COMMAND_LAST;
  if (*handled) ShowAbout();
}

void MainWindow::OnSize(bool minimized) {
  if (view_) view_->SetMinimizeRestoreGreyed(minimized);
}

void MainWindow::ShowAbout() {
  int picture =
      app_.Profile().program == Program::Sunnabar ? SUNNABAR_ABOUT_PICTURE : KESTRUNE_ABOUT_PICTURE;
  AboutDialog about(app_, picture);
  app_.Host().RunModal(ABOUT_TEMPLATE, view_, about);
}

void MainWindow::OpenManual(int pageNumber, int topic) {
  std::string path = app_.GetTexts().ManualPath(pageNumber, topic, app_.InstallPath());
  if (path.empty()) return;
  if (app_.Host().ShellOpen(view_, path)) return;
  int text =
      app_.Profile().program == Program::Sunnabar ? MANUAL_FAILED_SUNNABAR : MANUAL_FAILED_KESTRUNE;
  app_.Message(view_, text, ui::Icon::Information);
}

void MainWindow::DestroyPages() {
  for (int n = 0; n < PAGE_COUNT; ++n) {
    pageViews_[n].reset();
    pages_[n].reset();
  }
}

void MainWindow::OnDestroy() {
  if (InRange(current_) && pageViews_[current_]) pageViews_[current_]->Send(PAGE_LEAVE, 0, 0);
  printers_.Clear();
  DestroyPages();
  if (app_.Host().MainWindow() == view_) app_.Host().SetMainWindow(nullptr);
  view_ = nullptr;
}

bool AboutDialog::OnInit(ui::View& view) {
  view_ = &view;
  view.SetWindowRect(ABOUT_WINDOW);
  view.CenterOnParent();
  const ControlLayout layout[] = {
      {IDC_ABOUT_TITLE, {0, 140, 370, 155}, ABOUT_TITLE_TEXT},
      {IDC_ABOUT_VERSION, {0, 155, 370, 170}, ABOUT_VERSION_TEXT},
      {IDC_ABOUT_BODY, {16, 200, 354, 250}, ABOUT_BODY_TEXT},
  };
  LayOutControls(view, app_.Fonts(), app_.GetTexts(), layout);
  uint32_t high = 0, low = 0;
  if (app_.System().ProgramFileVersion(&high, &low)) {
    view.SetControlText(IDC_ABOUT_VERSION,
                        VersionLabel(app_.GetText(ABOUT_VERSION_TEXT), high, low));
  }
  return true;
}

void AboutDialog::OnPaint(ui::Canvas& canvas) {
  canvas.Fill(canvas.ClientRect(), ui::WHITE);
  canvas.Bitmap(picture_, ABOUT_PICTURE_X, ABOUT_PICTURE_Y);
}

void AboutDialog::OnLeftButtonUp() {
  if (view_) view_->EndDialog(ui::RESULT_OK);
}

}  // namespace shell
