// Pieces the two detail dialogs share: the message boxes by text number, the sample image
// choice, and the printer checks before a value is saved.
#pragma once

#include <string>

#include "feed/detail_seat.h"
#include "platform/ui.h"
#include "shell/printer_check.h"
#include "shell/tool_options.h"

namespace feed {

constexpr char BITMAP_FILE_FILTER[] = "Bitmap File(*.BMP)|*.BMP||";

// One box of the launch mode U preview.
struct PreviewMessage {
  int text;
  ui::Icon icon;
  ui::Buttons buttons;
};

// The message box of a text number, owned by view.
ui::Answer DetailMessage(DetailSeat& seat, ui::View* view, int text, ui::Icon icon,
                         ui::Buttons buttons = ui::Buttons::Ok);

// The image radios, the user image's name and Browse, with the registry values that keep them.
struct ImageControls {
  int standardRadio;
  int userRadio;
  int fileName;
  int browse;
  shell::NumberOption radioOption;  // stores the checked radio's id
  shell::StringOption pathOption;
};

class SampleImageChoice {
 public:
  SampleImageChoice(DetailSeat& seat, const ImageControls& controls)
      : seat_(seat), controls_(controls) {}
  // Reads the stored radio and path.
  void Load();
  // Checks the radio; Browse and the file name are enabled for the user image only.
  void Show(ui::View& view) const;
  // The operator pressed a radio: it is stored and shown.
  void Choose(ui::View& view, int radio);
  // The file-open dialog; a chosen path is stored and shown.
  void Browse(ui::View& view);
  bool User() const { return user_; }
  const std::string& UserPath() const { return path_; }

 private:
  DetailSeat& seat_;
  ImageControls controls_;
  bool user_ = false;
  std::string path_;
};

// Before a Save, which the dialogs make in launch mode Normal only: still installed and ready;
// the model is asked only of a printer that did not become ready.
constexpr shell::PrinterCheck SAVE_CHECK = {
    shell::IN_EVERY_MODE,   shell::IN_NO_MODE, shell::IN_EVERY_MODE, true, false,
    shell::PAGE_CHECK_TEXTS};

}  // namespace feed
