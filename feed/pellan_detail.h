// Trevalo's pellan detail dialog: samples of the print modes (and dot shifts) of the chosen
// media and print quality, and the Save of the best combination with its verification.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "feed/detail_parts.h"
#include "feed/detail_seat.h"
#include "feed/pellan_detail_ids.h"
#include "platform/ui.h"
#include "samples/adjustment_selection.h"
#include "shell/texts.h"

namespace feed {

// Texts of the dialog's messages (the printer checks' 310, 312 and 330 are the page's).
constexpr int TEXT_PELLAN_UNREADABLE = 318;
constexpr int TEXT_PELLAN_PREVIEW_ERROR = 320;
constexpr int TEXT_PELLAN_SAVED = 20300;
constexpr int TEXT_PELLAN_SAVE_QUESTION = 20302;
constexpr int TEXT_PELLAN_NOT_SAVED = 20305;
constexpr int TEXT_PELLAN_NO_IMAGE = 20307;
constexpr int TEXT_PELLAN_IMAGE_SIZE = 20309;
constexpr int TEXT_PELLAN_RUN_FIRST = 20313;  // 20313 to 20316: the run's confirmation
constexpr int TEXT_PELLAN_UNKNOWN_CODE = 30300;
// The sample caption's name of the print mode, and of the dot shift.
constexpr int TEXT_PELLAN_SAMPLE_NAME = 120001;
constexpr int TEXT_PELLAN_SHIFT_NAME = 30007;

// Where the manual opens for this dialog.
constexpr int PELLAN_MANUAL_PAGE = 5;
constexpr int PELLAN_MANUAL_TOPIC = 0;

// The dialog's registry values under the tool's subkey.
constexpr char SAMPLE_PELLAN_RADIO[] = "SamplePellanR";
constexpr char SAMPLE_PELLAN_PATH[] = "SamplePellan";
// The stored image choice is the radio's id, as installed registries hold it.
constexpr shell::NumberOption PELLAN_IMAGE_OPTION = {SAMPLE_PELLAN_RADIO,
                                                     IDC_PELLAN_STANDARD_IMAGE};
constexpr shell::StringOption PELLAN_IMAGE_PATH_OPTION = {SAMPLE_PELLAN_PATH, ""};

// The outer window, centred on the page.
constexpr ui::Rect PELLAN_DETAIL_RECT{0, 0, 616, 493};

// A selection's pellan mode follows from its ink class and print quality position.
constexpr int PELLAN_MODE_COUNT = 5;
constexpr int NO_PELLAN_MODE = -1;
constexpr int PRINT_MODE_COUNT = 3;
// The printer's codes of the three print modes, the same in every pellan mode.
constexpr int PRINT_MODE_CODES[PRINT_MODE_COUNT] = {0x00, 0x10, 0x20};
// A dot shift is held by the printer as this plus the signed shift.
constexpr int DOT_SHIFT_ZERO = 128;
// Between a write and the next write or its read-back.
constexpr uint32_t PELLAN_WRITE_WAIT_MS = 1000;

// NO_PELLAN_MODE for a combination the page never opens the dialog with.
int PellanMode(int inkClass, int qualityPosition);
bool UsesDotShift(int mode);
// The dot shifts sampled and offered for print mode 0 to 2; empty without dot shift.
std::vector<int> DotShifts(int mode, int printMode);
// The index of a print mode code, or -1 for none of the three.
int PrintModeIndex(int code);
// Base text, caption text and suffix of print mode 0 to 2.
std::string PrintModeLabel(const shell::Texts& texts, int mode, int printMode);
// The text of pattern description 0 to 2.
int PatternText(int mode, int printMode);

struct PellanSample {
  int code = 0;  // the print mode code written before the job
  bool shifted = false;
  int shift = 0;  // written as DOT_SHIFT_ZERO + shift when shifted
  std::string caption;
};

// The samples of the ticked print modes in print order: one per print mode, or with dot shift
// one per shift of that print mode.
std::vector<PellanSample> PellanSamples(const shell::Texts& texts, int mode,
                                        const std::array<bool, PRINT_MODE_COUNT>& ticked);

// What the dialog shows; the view is filled from it.
struct PellanDetailState {
  int mode = NO_PELLAN_MODE;
  std::array<std::string, PRINT_MODE_COUNT> labels;
  // The printer's values as read at opening or last saved: the first two characters (hex) of
  // its answers, written back after every sample print.
  std::string restoreCode;
  std::string restoreShift;
  std::array<bool, PRINT_MODE_COUNT> ticked{};
  int printMode = 0;      // entry of the print mode list
  int shiftEntry = 0;     // entry of the dot shift list
  std::string shownCode;  // the current print mode label
  std::string shownShift;
};

class PellanDetail : public ui::DialogHandler {
 public:
  PellanDetail(DetailSeat& seat, AdjustmentSelection& selection)
      : seat_(seat),
        selection_(selection),
        image_(seat, {IDC_PELLAN_STANDARD_IMAGE, IDC_PELLAN_USER_IMAGE, IDC_PELLAN_IMAGE_FILE,
                      IDC_PELLAN_BROWSE, PELLAN_IMAGE_OPTION, PELLAN_IMAGE_PATH_OPTION}) {}

  bool OnInit(ui::View& view) override;
  void OnCommand(int id, int code) override;
  bool OnKeyDown(int key, bool shift) override;
  void OnClose() override;
  void OnDestroy() override { view_ = nullptr; }

  const PellanDetailState& State() const { return state_; }

 private:
  bool DotShift() const { return UsesDotShift(state_.mode); }
  void Message(int text, ui::Icon icon);
  void ShowPreviewMessages();
  // False, with its message shown, when the dialog must close.
  bool ReadRestoreValues();
  void FillDotShifts();
  void EnableSamplePrint();
  void PrintSamples();
  // The per-sample step of the run; *changed tells that a write reached the spooler.
  bool ApplySample(const PellanSample& sample, bool* changed);
  void RestoreValues();
  void Save();

  DetailSeat& seat_;
  AdjustmentSelection& selection_;
  ui::View* view_ = nullptr;
  PellanDetailState state_;
  SampleImageChoice image_;
};

}  // namespace feed
