// The firmware update page of Sunnabar: printer and file versions, the verdict, Browse and Update.
#pragma once

#include <string>

#include "firmware/firmware_page_ids.h"
#include "firmware/firmware_update.h"
#include "link/bidi_api.h"
#include "platform/code_page.h"
#include "shell/layout.h"
#include "shell/page.h"
#include "shell/tool_options.h"
#include "shell/tool_seat.h"

namespace firmware {

constexpr ui::Rect FIRMWARE_PAGE_RECT{0, 0, 600, 278};

// The open dialog for firmware files.
constexpr char FIRMWARE_FILE_FILTER[] = "UPG File(*.UPG)|*.UPG||";
constexpr char FIRMWARE_FILE_EXTENSION[] = "UPG";
constexpr char FIRMWARE_DEFAULT_FOLDER[] = "C:\\";
// The folder of the last file chosen, under the program's subkey of the model's key.
constexpr shell::StringOption FIRMWARE_FOLDER_OPTION = {"FwPath", ""};

constexpr uint32_t REFRESH_DIALOG_LIMIT_MS = 60000;

// Folder to remember for a chosen file: the path cut before its last backslash when that stands
// beyond the drive's root (zero-based position above 3), otherwise the whole path. The trail
// byte of a double-byte character in codePage is no backslash.
std::string RememberedFolder(const std::string& path,
                             const platform::CodePage& codePage = platform::SingleByte());

class FirmwarePage : public shell::Page, private UpdateTarget {
 public:
  FirmwarePage(shell::ToolSeat& seat, shell::PageHost& host) : seat_(seat), host_(host) {}

  // shell::Page
  int TemplateId() const override { return IDD_FIRMWARE_PAGE; }
  void SetActionsEnabled(bool enabled) override;
  void ForgetPrinter() override;
  ui::View* Window() override { return view_; }

  // ui::DialogHandler
  bool OnInit(ui::View& view) override;
  void OnCommand(int id, int code) override;
  void OnPaint(ui::Canvas& canvas) override;
  bool OnRefresh() override;
  void OnDestroy() override { view_ = nullptr; }
  bool WhiteBackground() override { return true; }

  // The page's state, as the operator sees it.
  const std::string& SelectedFile() const { return selectedFile_; }
  int Verdict() const { return verdict_; }

 private:
  void Refresh();
  void Browse();
  void Update();
  // Compares the two version fields, sets the verdict, enables Update and repaints.
  void Compare();
  void SetVerdict(int verdict);
  std::string ReadVersionField(int id);

  // UpdateTarget
  std::string PrinterVersionText() override;
  void ShowPrinterVersion(const std::string& version) override;
  void ShowMessage(int text, ui::Icon icon) override;
  void SelectFirmwarePage() override;

  shell::ToolSeat& seat_;
  shell::PageHost& host_;
  ui::View* view_ = nullptr;
  std::string selectedFile_;
  std::string selectedVersion_;
  int verdict_ = -1;
};

}  // namespace firmware
