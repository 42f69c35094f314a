// The main window frame every program runs in; what differs between them is the profile's.
#include "shell/main_window.h"

#include <cstdio>

#include "shell/layout.h"

namespace shell {

namespace {

constexpr int PAGE_ICON_X = 15;
constexpr int PAGE_ICON_Y = 13;
constexpr int ENTRY_TEXT_INSET = 2;
constexpr int SYSTEM_ICON_SIZE = 32;  // the program icon as the minimised window shows it
constexpr char CAPTION_PRINTER_SEPARATOR[] = " - ";

constexpr int ABOUT_VERSION_LABEL = 1;  // index of the version label in the About tables
constexpr int ABOUT_PICTURE_X = 121;
constexpr int ABOUT_PICTURE_Y = 10;
const ui::Rect ABOUT_WINDOW{0, 0, 370, 255};

ui::Rect Shifted(ui::Rect rect, int by) {
  rect.left += by;
  return rect;
}

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
      profile_(app.Profile()),
      makePage_(std::move(makePage)),
      printers_(app),
      current_(app.Profile().startPage) {}

MainWindow::~MainWindow() {
  DestroyPages();
}

const PageEntry* MainWindow::EntryOf(int pageNumber) const {
  for (const PageEntry& entry : profile_.pages) {
    if (entry.number == pageNumber) return &entry;
  }
  return nullptr;
}

bool MainWindow::CreatePage(ui::View& view, const PageEntry& entry) {
  std::unique_ptr<Page> page = makePage_ ? makePage_(app_, *this, entry.number) : nullptr;
  if (!page) return false;
  std::unique_ptr<ui::View> window =
      app_.Host().CreateModeless(entry.templateId, &view, true, *page);
  if (!window || !page->Created()) return false;
  int height = window->ClientSize().Height();
  window->SetWindowRect(ui::Rect{0, PAGE_TOP, HEADER_WIDTH, PAGE_TOP + height});
  pages_[entry.number] = std::move(page);
  pageViews_[entry.number] = std::move(window);
  return true;
}

void MainWindow::Fail(ui::View& view) {
  app_.Message(&view, profile_.pageFailedText, ui::Icon::Error);
  view.EndDialog(ui::RESULT_CANCEL);
}

bool MainWindow::OnInit(ui::View& view) {
  view_ = &view;
  app_.Host().SetMainWindow(&view);
  std::string aboutItem = app_.GetText(profile_.about.menuText);
  if (view.HasSystemMenu() && !aboutItem.empty()) {
    view.AppendSystemMenuItem(profile_.about.commandFirst, aboutItem);
  }
  programTitle_ = app_.GetText(profile_.titleText);
  view.SetIcon(IDI_PROGRAM);
  app_.Fonts().MakeBaseFont(view.DialogFont(), view.Dpi());
  view.SetProperty(app_.InstanceName(), 1);

  for (const PageEntry& entry : profile_.pages) {
    if (entry.templateId == 0 || !InRange(entry.number)) continue;
    if (!CreatePage(view, entry)) {
      Fail(view);
      return true;
    }
  }
  // The header draws from this strip for every page; without it the window cannot run.
  if (!app_.Host().BitmapLoads(IDB_PAGE_ICONS)) {
    Fail(view);
    return true;
  }

  for (int n = 0; n < PAGE_COUNT; ++n) {
    const PageEntry* entry = EntryOf(n);
    pageNames_[n] = entry ? app_.GetText(entry->nameText) : std::string();
    if (!pageNames_[n].empty()) view.ComboAdd(IDC_PAGE_SELECTOR, pageNames_[n], n);
  }

  const ControlLayout selector[] = {{IDC_PAGE_SELECTOR, profile_.selectorRect, NO_TEXT}};
  LayOutControls(view, app_.Fonts(), app_.GetTexts(), selector);
  if (profile_.printerListInFrame) {
    const ControlLayout layout[] = {
        {IDC_PRINTER_LABEL, {70, 72, 200, 90}, profile_.printerLabelText},
        {IDC_PRINTER_LIST, {210, 70, 460, 88}, NO_TEXT},
        {IDC_SEPARATOR_LINE, {60, 98, 540, 100}, NO_TEXT},
    };
    LayOutControls(view, app_.Fonts(), app_.GetTexts(), layout);
    FillPrinterList(view);
    printers_.Choose(view, IDC_PRINTER_LIST, PageAt(profile_.startPage));
  } else if (InRange(profile_.startPage) && pageViews_[profile_.startPage]) {
    // The start page holds the list; the choice waits for one of its functions.
    FillPrinterList(*pageViews_[profile_.startPage]);
  }

  view.RemoveMaximizeAndSize();
  view.SetMinimizeRestoreGreyed(false);
  SelectPage(profile_.startPage);
  return true;
}

void MainWindow::FillPrinterList(ui::View& listView) {
  bool noneRegistered = false;
  printers_.Fill(listView, IDC_PRINTER_LIST, &noneRegistered);
  if (noneRegistered && app_.Launch() == LaunchMode::Normal) {
    app_.Message(view_, profile_.noRegisteredPrinterText, ui::Icon::Error);
    view_->EndDialog(ui::RESULT_CANCEL);
  }
}

void MainWindow::ChoosePrinter(int pageNumber) {
  if (!view_ || !InRange(profile_.startPage) || !pageViews_[profile_.startPage]) return;
  if (!printers_.ChooseForPage(*pageViews_[profile_.startPage], IDC_PRINTER_LIST, view_)) return;
  app_.SetOpenedByPrinterChoice(true);
  SelectPage(pageNumber);
  app_.SetOpenedByPrinterChoice(false);
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

void MainWindow::LeaveCurrentPage() {
  if (InRange(current_) && pages_[current_]) pages_[current_]->OnLeave();
}

void MainWindow::SwitchPage() {
  ui::View& view = *view_;
  LeaveCurrentPage();
  DriverConnection* driver = app_.Objects() ? app_.Objects()->Driver() : nullptr;
  if (driver) driver->Close();
  int n = SelectedPageNumber();
  if (n < 0) return;
  if (driver && n != 0) driver->Open(app_.PrinterName());

  bool refreshes = profile_.refreshesOnPageSwitch;
  if (refreshes && n != 0 && pages_[n] && !pages_[n]->OnRefresh()) {
    // A page that refuses keeps page 0 current; elsewhere the switch goes on.
    if (current_ == 0) {
      SelectPage(0);
      return;
    }
  } else if (refreshes && n == 0 && pages_[0]) {
    pages_[0]->OnRefresh();
  }

  bool showSelector = n != 0 && profile_.selectorShown == SelectorShown::OnToolPages;
  view.EnableControl(IDC_PAGE_SELECTOR, n != 0);
  view.ShowControl(IDC_PAGE_SELECTOR, showSelector);
  if (n != 0) view.Focus();
  std::string caption = pageNames_[0];
  if (n != 0 && profile_.captionNamesPrinter) {
    caption += CAPTION_PRINTER_SEPARATOR + app_.PrinterName();
  }
  view.SetTitle(caption);

  for (int number = 0; number < PAGE_COUNT; ++number) {
    ui::View* page = pageViews_[number].get();
    if (!page) continue;
    if (number != n) {
      page->Show(false);
      continue;
    }
    view.SetClientSize(HEADER_WIDTH, PAGE_TOP + page->ClientSize().Height());
    if (profile_.placement == Placement::Centred) view.CenterOnScreen();
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
  if (code != ui::COMBO_SELECTION_CHANGED) return;
  if (id == IDC_PAGE_SELECTOR) SwitchPage();
  if (id == IDC_PRINTER_LIST && profile_.printerListInFrame) {
    printers_.Choose(*view_, IDC_PRINTER_LIST, PageAt(profile_.startPage));
  }
}

void MainWindow::OnPaint(ui::Canvas& canvas) {
  ui::Rect client = canvas.ClientRect();
  if (view_ && view_->IsMinimized()) {
    canvas.Fill(client, ui::SYS_BUTTON_FACE);
    canvas.Icon(IDI_PROGRAM, (client.Width() - SYSTEM_ICON_SIZE + 1) / 2,
                (client.Height() - SYSTEM_ICON_SIZE + 1) / 2);
    return;
  }
  canvas.Fill(client, ui::WHITE);
  canvas.Bitmap(IDB_HEADER, 0, 0);
  int n = view_ ? SelectedPageNumber() : -1;
  if (n < 0) n = 0;
  const HeaderProfile& header = profile_.header;
  ui::Rect titleRect = header.title;
  ui::Rect secondRect = header.secondLine;
  ui::Rect descriptionRect = header.description;
  if (n != 0) {
    canvas.StripCell(IDB_PAGE_ICONS, PAGE_ICON_WIDTH, ui::MAGENTA, n, PAGE_ICON_X, PAGE_ICON_Y);
    titleRect = Shifted(titleRect, header.titleShift);
    secondRect = Shifted(secondRect, header.otherShift);
    descriptionRect = Shifted(descriptionRect, header.otherShift);
  }
  const PageEntry* entry = EntryOf(n);
  if (!entry || (n == 0 && !header.titleOnPageZero)) return;
  FontCache& fonts = app_.Fonts();
  canvas.Text(title_, titleRect, fonts.FontFor(entry->nameText), ui::SYS_WINDOW_TEXT);
  if (n != 0 && header.secondLineText != NO_TEXT) {
    canvas.Text(app_.GetText(header.secondLineText), secondRect,
                fonts.FontFor(header.secondLineText), ui::SYS_WINDOW_TEXT);
  }
  canvas.Text(description_, descriptionRect, fonts.FontFor(entry->descriptionText),
              ui::SYS_WINDOW_TEXT);
}

int MainWindow::OnMeasureItem(int controlId) {
  return controlId == IDC_PAGE_SELECTOR ? SELECTOR_ITEM_HEIGHT : 0;
}

void MainWindow::OnDrawItem(int controlId, int index, bool selected, bool inSelectionField,
                            ui::Canvas& canvas, const ui::Rect& rect) {
  if (controlId != IDC_PAGE_SELECTOR) return;
  ui::Color text = selected ? ui::SYS_HIGHLIGHT_TEXT : ui::SYS_WINDOW_TEXT;
  canvas.Fill(rect, selected ? ui::SYS_HIGHLIGHT : ui::SYS_WINDOW);
  if (index < 0) return;
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
  if (app_.Message(view_, profile_.closeConfirmText, ui::Icon::Information,
                   ui::Buttons::OkCancel) != ui::Answer::Ok) {
    return;
  }
  // Removed first, so that a program started now does not activate a closing window.
  view_->RemoveProperty(app_.InstanceName());
  view_->EndDialog(ui::RESULT_CANCEL);
}

void MainWindow::OnSystemCommand(int id, bool* handled) {
  *handled = id >= profile_.about.commandFirst && id <= profile_.about.commandLast;
  if (*handled) ShowAbout();
}

void MainWindow::OnSize(bool minimized) {
  if (view_) view_->SetMinimizeRestoreGreyed(minimized);
}

void MainWindow::ShowAbout() {
  AboutDialog about(app_, profile_.about);
  app_.Host().RunModal(profile_.about.templateId, view_, about);
}

void MainWindow::OpenManual(int pageNumber, int topic) {
  std::string path = app_.GetTexts().ManualPath(pageNumber, topic, app_.InstallPath());
  if (path.empty()) return;
  if (app_.Host().ShellOpen(view_, path)) return;
  app_.Message(view_, profile_.manualFailedText, ui::Icon::Information);
}

void MainWindow::DestroyPages() {
  for (int n = 0; n < PAGE_COUNT; ++n) {
    pageViews_[n].reset();
    pages_[n].reset();
  }
}

void MainWindow::OnDestroy() {
  LeaveCurrentPage();
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
      {about_.labels[0], about_.rects[0], about_.texts[0]},
      {about_.labels[1], about_.rects[1], about_.texts[1]},
      {about_.labels[2], about_.rects[2], about_.texts[2]},
  };
  LayOutControls(view, app_.Fonts(), app_.GetTexts(), layout);
  uint32_t high = 0, low = 0;
  if (app_.System().ProgramFileVersion(&high, &low)) {
    view.SetControlText(about_.labels[ABOUT_VERSION_LABEL],
                        VersionLabel(app_.GetText(about_.texts[ABOUT_VERSION_LABEL]), high, low));
  }
  return true;
}

void AboutDialog::OnPaint(ui::Canvas& canvas) {
  canvas.Fill(canvas.ClientRect(), ui::WHITE);
  canvas.Bitmap(about_.picture, ABOUT_PICTURE_X, ABOUT_PICTURE_Y);
}

void AboutDialog::OnLeftButtonUp() {
  if (view_) view_->EndDialog(ui::RESULT_OK);
}

}  // namespace shell
