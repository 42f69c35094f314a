// Trevalo's paper setting dialog, shown before every sample print: whether roll paper is cut
// after the samples, and the paper size they are printed on. Both are kept under the tool's
// registry key for the sample print to read.
//
// The program runs it from the sample print's seat (RunPaperSetting (selection, parent)):
//
//   DriverPaperSizeSource driver(objects->DriverSettings(), app.PrinterName());
//   PaperSettingDialog dialog(toolSeat, driver, selection);
//   int result = app.Host().RunModal(IDD_PAPER_SETTING, parent, dialog);  // 1 OK, 2 Cancel
//
// or in one call, RunPaperSetting below.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "feed/paper_setting_ids.h"
#include "link/driver_settings_api.h"
#include "platform/ui.h"
#include "samples/adjustment_selection.h"
#include "samples/sample_print.h"
#include "shell/marked_combo.h"
#include "shell/tool_seat.h"

namespace feed {

// Texts of the dialog.
constexpr int TEXT_AUTO_CUT_LABEL = 70000;
constexpr int TEXT_PAPER_SIZE_LABEL = 70001;
constexpr int TEXT_PAPER_SETTING_OK = 70100;
constexpr int TEXT_PAPER_SETTING_CANCEL = 70101;
constexpr int TEXT_PAPER_SETTING_TITLE = 70400;
constexpr int TEXT_AUTO_CUT_ON = 70600;
constexpr int TEXT_AUTO_CUT_OFF = 70601;
constexpr int TEXT_DRIVER_SETTING_FAILED = 318;

constexpr ui::Rect PAPER_SETTING_WINDOW{0, 0, 280, 210};

// Paper size codes the media kinds ask for; the driver's user-defined size is never offered.
constexpr int PAPER_CODE_USER_DEFINED = printer_link::PAPER_USER_DEFINED;

struct PaperSize {
  int code = 0;
  std::string name;
};

enum class RollCut { Failed, Cuttable, NotCuttable };

// What the dialog asks of the printer driver. Each call opens its own driver-settings handle
// and closes it again before it returns, whatever failed.
class PaperSizeSource {
 public:
  virtual ~PaperSizeSource() = default;
  // With roll paper handling and the media's print mode set, whether the roll cutter may cut
  // the media of this driver id. Failed when no handle opened, a setting was refused, the
  // question went unanswered or the id is no driver media id at all.
  virtual RollCut CanCutOnRoll(int driverMediaId) = 0;
  // The driver's paper sizes in its order, on a handle opened without a device mode; false,
  // with *sizes untouched, when they cannot be read.
  virtual bool PaperSizes(std::vector<PaperSize>* sizes) = 0;
};

// The source over the driver-settings library bound for the chosen printer. A null api (no
// library object) fails every question.
class DriverPaperSizeSource : public PaperSizeSource {
 public:
  // The open number the dialog's handles carry.
  static constexpr int OPEN_NUMBER = 1;

  DriverPaperSizeSource(printer_link::DriverSettingsApi* api, std::string printerName)
      : api_(api), printer_(std::move(printerName)) {}
  RollCut CanCutOnRoll(int driverMediaId) override;
  bool PaperSizes(std::vector<PaperSize>* sizes) override;

 private:
  printer_link::DriverSettingsApi* api_;
  std::string printer_;
};

// Which paper sizes a media kind may use and which one the list starts on.
struct PaperSizeRule {
  bool listed = true;           // false: the list stays empty
  std::vector<int> selectable;  // empty: every size
  int preselected = -1;         // -1: the stored paper size
};
PaperSizeRule PaperSizeRuleFor(int mediaKind);

// The list entry of one size: its name, and its code with the mark when the rule refuses it.
struct PaperSizeEntry {
  std::string text;
  intptr_t data = 0;
};

// What the dialog shows; the view is filled from it and never read back but for the
// operator's choices.
struct PaperSettingState {
  int autoCut = AUTO_CUT_ON;  // the stored value
  bool autoCutEnabled = true;
  std::vector<PaperSizeEntry> sizes;
  int sizeSelection = -1;
};

class PaperSettingDialog : public ui::DialogHandler {
 public:
  // The media is the selection's record: one the table lacks leaves the list empty. Seat, driver
  // and selection must outlive the dialog.
  PaperSettingDialog(shell::ToolSeat& seat, PaperSizeSource& driver,
                     const AdjustmentSelection& selection)
      : seat_(seat), driver_(driver), selection_(selection) {}

  bool OnInit(ui::View& view) override;
  void OnCommand(int id, int code) override;
  void OnClose() override;
  int OnMeasureItem(int controlId) override;
  void OnDrawItem(int controlId, int index, bool selected, bool inSelectionField,
                  ui::Canvas& canvas, const ui::Rect& rect) override;
  void OnDestroy() override;

  const PaperSettingState& State() const { return state_; }

 private:
  // False when the driver could not be asked and the dialog was ended with 318.
  bool ReadCutAbility();
  bool FillPaperSizes();
  void ShowAutoCut();
  void SayFailed();  // text 318, error
  void Fail();       // says so and ends the dialog with Cancel
  void Accept();

  shell::ToolSeat& seat_;
  PaperSizeSource& driver_;
  const AdjustmentSelection& selection_;
  ui::View* view_ = nullptr;
  std::optional<shell::MarkedCombo> sizeList_;
  PaperSettingState state_;
};

// Runs the dialog modally over parent against the chosen printer's driver; 1 for OK, 2 for
// Cancel or a failure, -1 when the window cannot be created.
int RunPaperSetting(ui::Host& host, shell::ToolSeat& seat, printer_link::DriverSettingsApi* api,
                    const std::string& printerName, const AdjustmentSelection& selection,
                    ui::View* parent);

}  // namespace feed
