// The firmware update page.
#include "firmware/firmware_page.h"

#include "firmware/firmware_file.h"
#include "firmware/firmware_texts.h"
#include "firmware/firmware_version.h"
#include "link/printer_channel.h"
#include "shell/multibyte.h"

namespace firmware {

namespace {

constexpr size_t REMEMBERED_FOLDER_MIN_CUT = 3;  // "C:\" keeps the file name, "C:\A\" does not
constexpr int MANUAL_PAGE = 0;
constexpr int MANUAL_TOPIC = 0;

constexpr shell::ControlLayout PAGE_LAYOUT[] = {
    {IDC_FILE_CAPTION, {22, 26, 128, 45}, TEXT_FILE_CAPTION},
    {IDC_FILE_NAME, {137, 26, 430, 43}, shell::NO_TEXT},
    {IDC_BROWSE, {455, 24, 547, 47}, TEXT_BROWSE},
    {IDC_VERSION_GROUP, {53, 77, 430, 227}, TEXT_VERSION_FRAME},
    {IDC_PRINTER_VERSION_CAPTION, {117, 100, 390, 114}, TEXT_PRINTER_VERSION_CAPTION},
    {IDC_PRINTER_VERSION, {180, 124, 390, 137}, shell::NO_TEXT},
    {IDC_FILE_VERSION_CAPTION, {117, 161, 390, 175}, TEXT_FILE_VERSION_CAPTION},
    {IDC_FILE_VERSION, {180, 185, 390, 198}, shell::NO_TEXT},
    {IDC_VERDICT, {60, 183, 170, 200}, shell::NO_TEXT},
    {IDC_UPDATE, {455, 153, 547, 174}, TEXT_UPDATE},
    {IDC_HELP_BUTTON, {11, 245, 124, 267}, TEXT_MANUAL},
    {IDC_CLOSE_BUTTON, {476, 245, 589, 267}, TEXT_CLOSE},
};

// What launch mode U shows once at page start, so that every message can be looked at.
struct PreviewMessage {
  int text;
  ui::Icon icon;
};
constexpr PreviewMessage PREVIEW_MESSAGES[] = {
    {TEXT_NO_PRINTER_VERSION, ui::Icon::Warning}, {TEXT_FILE_DAMAGED, ui::Icon::Error},
    {TEXT_BAD_VERSION_TAG, ui::Icon::Error},      {TEXT_UPDATE_TIMED_OUT, ui::Icon::Warning},
    {TEXT_STILL_NOT_READY, ui::Icon::Warning},    {TEXT_UPDATED, ui::Icon::Information},
    {TEXT_VERSION_DIFFERS, ui::Icon::Warning},
};

}  // namespace

std::string RememberedFolder(const std::string& path, const platform::CodePage& codePage) {
  size_t slash = shell::LastBackslash(codePage, path);
  if (slash != std::string::npos && slash > REMEMBERED_FOLDER_MIN_CUT) return path.substr(0, slash);
  return path;
}

bool FirmwarePage::OnInit(ui::View& view) {
  view_ = &view;
  view.SetWindowRect(FIRMWARE_PAGE_RECT);
  view.SetClientSize(FIRMWARE_PAGE_RECT.Width(), FIRMWARE_PAGE_RECT.Height());
  shell::LayOutControls(view, seat_.Fonts(), seat_.GetTexts(), PAGE_LAYOUT);
  view.ShowControl(IDC_VERDICT, false);

  view.SetControlText(IDC_PRINTER_VERSION, seat_.GetText(TEXT_NO_VERSION));
  view.SetControlText(IDC_FILE_VERSION, std::string());
  SetVerdict(VERDICT_NONE);
  view.EnableControl(IDC_BROWSE, false);
  view.EnableControl(IDC_UPDATE, false);

  if (seat_.Launch() == shell::LaunchMode::U) {
    for (const PreviewMessage& message : PREVIEW_MESSAGES) ShowMessage(message.text, message.icon);
  }
  return true;
}

bool FirmwarePage::OnRefresh() {
  Refresh();
  return true;
}

void FirmwarePage::OnCommand(int id, int code) {
  if (code != ui::BUTTON_CLICKED) return;
  switch (id) {
    case IDC_BROWSE:
      Browse();
      break;
    case IDC_UPDATE:
      Update();
      break;
    case IDC_HELP_BUTTON:
      host_.OpenManual(MANUAL_PAGE, MANUAL_TOPIC);
      break;
    case IDC_CLOSE_BUTTON:
      if (ui::View* main = host_.Window()) main->PostClose();
      break;
    default:
      break;
  }
}

void FirmwarePage::SetActionsEnabled(bool enabled) {
  // Enabling is the refresh's business: Browse needs a version from an identified printer and
  // Update a verdict.
  if (enabled || !view_) return;
  view_->EnableControl(IDC_BROWSE, false);
  view_->EnableControl(IDC_UPDATE, false);
}

void FirmwarePage::ForgetPrinter() {
  if (!view_) return;
  view_->SetControlText(IDC_PRINTER_VERSION, std::string());
  view_->SetControlText(IDC_FILE_NAME, std::string());
  view_->SetControlText(IDC_FILE_VERSION, std::string());
  selectedFile_.clear();
  selectedVersion_.clear();
  SetVerdict(VERDICT_NONE);
  view_->Invalidate();
}

void FirmwarePage::Refresh() {
  if (!view_) return;
  ui::Host& host = seat_.Host();
  host.SetWaitCursor(true);
  selectedFile_.clear();
  selectedVersion_.clear();
  view_->SetControlText(IDC_FILE_NAME, std::string());
  view_->SetControlText(IDC_FILE_VERSION, std::string());
  SetVerdict(VERDICT_NONE);

  std::unique_ptr<printer_link::ProgressWait> progress = seat_.Waits().NewWait();
  if (progress) {
    progress->Start(seat_.GetText(TEXT_PAGE_CAPTION), REFRESH_DIALOG_LIMIT_MS, false, nullptr);
    progress->Poll();
  }
  bool identified = true;
  std::string version;
  if (seat_.Launch() == shell::LaunchMode::Normal) {
    printer_link::PrinterChannel channel = seat_.Channel(seat_.PrinterLink());
    identified = channel.MatchDeviceId(seat_.PrinterName(), seat_.DriverName());
    if (identified) version = QueryFirmwareVersion(channel, seat_.PrinterName());
  }
  if (progress) progress->Stop();
  view_->SetControlText(IDC_PRINTER_VERSION, version);

  if (!identified || version.empty()) {
    if (!identified) {
      ShowMessage(TEXT_WRONG_PRINTER, ui::Icon::Error);
    } else if (seat_.Launch() != shell::LaunchMode::U) {
      ShowMessage(TEXT_NO_PRINTER_VERSION, ui::Icon::Warning);
    }
    Compare();
    view_->SetControlText(IDC_PRINTER_VERSION, seat_.GetText(TEXT_NO_VERSION));
    view_->EnableControl(IDC_BROWSE, false);
  } else {
    Compare();
    view_->EnableControl(IDC_BROWSE, true);
  }
  host.SetWaitCursor(false);
}

void FirmwarePage::Browse() {
  if (!view_) return;
  std::string folder = seat_.Options().Get(FIRMWARE_FOLDER_OPTION);
  if (folder.empty()) folder = FIRMWARE_DEFAULT_FOLDER;

  std::string path;
  if (!seat_.Host().ChooseFile(view_, FIRMWARE_FILE_FILTER, FIRMWARE_FILE_EXTENSION, folder,
                               &path)) {
    return;
  }
  std::string version;
  int result = CheckFirmwareFile(seat_.Files(), path, &version);
  if (result != FW_FILE_OK) {
    // The previous selection, its version and the verdict stay as they were.
    ShowMessage(FileRejectionText(result), ui::Icon::Error);
    return;
  }
  selectedFile_ = path;
  selectedVersion_ = version;
  view_->SetControlText(IDC_FILE_VERSION, version);
  Compare();
  view_->SetControlText(IDC_FILE_NAME, shell::FileNameOf(seat_.SystemCodePage(), path));
  seat_.Options().Set(FIRMWARE_FOLDER_OPTION, RememberedFolder(path, seat_.SystemCodePage()));
}

void FirmwarePage::Update() {
  if (!view_ || selectedFile_.empty()) return;
  UpdateFirmware(seat_, seat_.PrinterLink(), *this, selectedFile_, selectedVersion_);
}

std::string FirmwarePage::ReadVersionField(int id) {
  return view_ ? view_->ControlText(id).substr(0, VERSION_FIELD_LENGTH) : std::string();
}

void FirmwarePage::SetVerdict(int verdict) {
  verdict_ = verdict;
  if (view_) view_->SetControlText(IDC_VERDICT, std::to_string(verdict));
}

void FirmwarePage::Compare() {
  if (!view_) return;
  int verdict =
      CompareVersions(ReadVersionField(IDC_PRINTER_VERSION), ReadVersionField(IDC_FILE_VERSION));
  SetVerdict(verdict);
  view_->EnableControl(IDC_UPDATE, verdict == VERDICT_FILE_NEWER || verdict == VERDICT_SAME);
  view_->Invalidate();
}

void FirmwarePage::OnPaint(ui::Canvas& canvas) {
  canvas.Fill(canvas.ClientRect(), ui::WHITE);
  if (!view_ || verdict_ == VERDICT_NONE) return;
  // An older file is drawn in red: it cannot be sent.
  ui::Color color = verdict_ == VERDICT_FILE_OLDER ? ui::RED : ui::SYS_WINDOW_TEXT;
  canvas.TextRight(seat_.GetText(verdict_), view_->ControlRect(IDC_VERDICT),
                   seat_.Fonts().FontFor(verdict_), color);
}

std::string FirmwarePage::PrinterVersionText() {
  return ReadVersionField(IDC_PRINTER_VERSION);
}

void FirmwarePage::ShowPrinterVersion(const std::string& version) {
  if (!view_) return;
  view_->SetControlText(IDC_PRINTER_VERSION, version);
  Compare();
  if (version.empty()) view_->SetControlText(IDC_PRINTER_VERSION, seat_.GetText(TEXT_NO_VERSION));
}

void FirmwarePage::ShowMessage(int text, ui::Icon icon) {
  seat_.Message(view_, text, icon);
}

void FirmwarePage::SelectFirmwarePage() {
  host_.SelectPage(FIRMWARE_PAGE_NUMBER);
}

}  // namespace firmware
