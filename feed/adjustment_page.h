// Trevalo's paper feed adjustment page: media, paper feed and print quality lists, and the two
// Detail buttons that hand the choice to the adjustment dialogs.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "feed/adjustment_page_ids.h"
#include "feed/media_table.h"
#include "link/driver_media_list.h"
#include "link/driver_settings_api.h"
#include "samples/adjustment_selection.h"
#include "shell/fonts.h"
#include "shell/marked_combo.h"
#include "shell/page.h"
#include "shell/texts.h"
#include "shell/tool_seat.h"

namespace feed {

// Texts of the page's messages.
constexpr int TEXT_HANDLING_REFUSED = 318;

// Before a detail dialog opens, in launch mode Normal only.
constexpr shell::PrinterCheck ADJUSTMENT_CHECK = {
    shell::IN_NORMAL, shell::IN_NORMAL, shell::IN_NORMAL, true, false, shell::PAGE_CHECK_TEXTS};

// Texts of the list entries.
constexpr int TEXT_ROLL = 10200;
constexpr int TEXT_SHEET = 10202;
constexpr int TEXT_FIRST_KIND = 10206;  // kinds 0 to 3: 10206 to 10209
constexpr int MEDIA_KIND_COUNT = 4;

// The driver's paper handling (item 40) that lists the media of each paper feed position.
constexpr int PAPER_HANDLING_ROLL = 256;
constexpr int PAPER_HANDLING_SHEET = 4;

// Where the manual opens for this page.
constexpr int ADJUSTMENT_MANUAL_PAGE = 1;
constexpr int ADJUSTMENT_MANUAL_TOPIC = 0;

constexpr int MEDIA_ITEM_HEIGHT = 15;
constexpr ui::Rect ADJUSTMENT_PAGE_RECT{0, 0, 600, 278};

// One paper feed position: its text, the paper feed value it offers, the driver's handling.
struct PaperFeedPosition {
  int text;
  int paperFeed;
  int handling;
};
constexpr PaperFeedPosition PAPER_FEED_POSITIONS[] = {
    {TEXT_ROLL, PAPER_FEED_ROLL, PAPER_HANDLING_ROLL},
    {TEXT_SHEET, PAPER_FEED_SHEET, PAPER_HANDLING_SHEET},
};
constexpr int PAPER_FEED_POSITION_COUNT = 2;

// The label of a print-quality code ("%s/%s" of its two texts, or its one text); empty for a
// code outside 0 to 8.
std::string QualityLabel(const shell::Texts& texts, int code);
// "# ", the media code as "%2d", a blank, the driver's name, and for kinds 0 to 3 a blank and
// the kind's suffix.
std::string MediaEntryText(int mediaCode, const std::string& driverName, int kind,
                           const shell::Texts& texts);
// Pellan adjustment is open to every print quality of four-ink printers but the first, and of
// eight-ink printers from the fourth position on. Nothing chosen: closed.
bool PellanDetailEnabled(int inkClass, int qualityPosition);

// The template of the detail dialog for an adjustment kind.
constexpr int DetailTemplate(int adjustmentKind) {
  return adjustmentKind == ADJUST_PELLAN ? IDD_PELLAN_DETAIL : IDD_PAPER_FEED_DETAIL;
}

struct DriverMediaType {
  int id = 0;
  std::string name;
};

// The driver-settings side of the page: the paper handling and the media types it lists.
class DriverMediaSource {
 public:
  virtual ~DriverMediaSource() = default;
  // Opens a handle for the queue, sets the paper handling and reads the driver's media types on
  // that handle into *media; the handle is closed again before the call returns. False, with
  // *media untouched, when no handle opened or the handling was refused.
  virtual bool MediaTypesFor(const std::string& queue, int paperHandling,
                             std::vector<DriverMediaType>* media) = 0;
};

// The page's source over the driver-settings library and the program's shared media list.
class DriverSettingsMediaSource : public DriverMediaSource {
 public:
  // The open number the page's handles carry.
  static constexpr int OPEN_NUMBER = 1;

  DriverSettingsMediaSource(printer_link::DriverSettingsApi& api,
                            printer_link::DriverMediaList& list)
      : api_(api), list_(list) {}
  bool MediaTypesFor(const std::string& queue, int paperHandling,
                     std::vector<DriverMediaType>* media) override;

 private:
  printer_link::DriverSettingsApi& api_;
  printer_link::DriverMediaList& list_;
};

// What the page asks of the program around it.
class AdjustmentSeat : public shell::ToolSeat {
 public:
  // INK_CLASS_FOUR or INK_CLASS_EIGHT from the printer's status; eight when it cannot be read.
  virtual int ReadInkClass() = 0;
  // Runs the detail dialog of the adjustment kind modally over parent with the selection; its
  // result, or -1 when it cannot be created.
  virtual int RunDetail(int adjustmentKind, AdjustmentSelection& selection, ui::View* parent) = 0;
};

struct MediaEntry {
  std::string text;
  int code = 0;
};

struct QualityEntry {
  std::string text;
  int position = 0;  // the media's slot, 0 to 5
  int code = 0;      // 0 to 8
};

// What the page shows; the view is filled from it and never read back.
struct AdjustmentPageState {
  std::string printerName;
  int inkClass = INK_CLASS_EIGHT;
  int paperFeedPosition = 0;  // the position the media list was built for
  std::vector<MediaEntry> media;
  int mediaSelection = -1;
  std::vector<QualityEntry> qualities;
  int qualitySelection = -1;
};

class AdjustmentPage : public shell::Page {
 public:
  // media may be null (no table: the lists stay empty).
  AdjustmentPage(AdjustmentSeat& seat, shell::PageHost& host, DriverMediaSource& driver,
                 const MediaTable* media)
      : seat_(seat), host_(host), driver_(driver), media_(media) {}

  // shell::Page
  int TemplateId() const override { return IDD_ADJUSTMENT_PAGE; }
  bool OnRefresh() override;
  void SetActionsEnabled(bool /*enabled*/) override {}
  ui::View* Window() override { return view_; }

  // ui::DialogHandler
  bool OnInit(ui::View& view) override;
  void OnCommand(int id, int code) override;
  bool OnKeyDown(int key, bool shift) override;
  int OnMeasureItem(int controlId) override;
  void OnDrawItem(int controlId, int index, bool selected, bool inSelectionField,
                  ui::Canvas& canvas, const ui::Rect& rect) override;
  void OnPaint(ui::Canvas& canvas) override;
  void OnDestroy() override;
  bool WhiteBackground() override { return true; }

  const AdjustmentPageState& State() const { return state_; }
  // The choice handed to the last detail dialog.
  const AdjustmentSelection& Selection() const { return selection_; }

 private:
  // False, with 318 shown and the media list and paper feed as they were, when the driver
  // refused the paper handling.
  bool FillMedia(int position);
  void FillQualities();
  void OpenDetail(int adjustmentKind);
  void ShowLists();
  void ShowQualities();

  AdjustmentSeat& seat_;
  shell::PageHost& host_;
  DriverMediaSource& driver_;
  const MediaTable* media_;
  ui::View* view_ = nullptr;
  // The media list's choices while the window exists: it remembers what a refusal returns to.
  std::optional<shell::MarkedCombo> mediaList_;
  AdjustmentPageState state_;
  AdjustmentSelection selection_;
};

}  // namespace feed
