// Trevalo's paper feed detail dialog: the range of sample values with its slider, the sample
// print, and the value saved to the printer and read back.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "feed/detail_parts.h"
#include "feed/detail_seat.h"
#include "feed/paper_feed_detail_ids.h"
#include "platform/code_page.h"
#include "samples/adjustment_selection.h"
#include "samples/sample_values.h"
#include "shell/range_slider.h"

namespace feed {

// The limits of the edits: lowest sample, highest sample, value to save.
constexpr int FEED_RANGE_MIN = -25;
constexpr int FEED_RANGE_MAX = 25;

// Texts of the dialog's messages.
constexpr int TEXT_FEED_SAVED = 20300;
constexpr int TEXT_FEED_SAVE_CONFIRM = 20302;
constexpr int TEXT_FEED_NOT_SAVED = 20305;
constexpr int TEXT_FEED_NO_PICTURE = 20307;
constexpr int TEXT_FEED_PICTURE_SIZE = 20309;
constexpr int TEXT_FEED_VALUE_UNREADABLE = 318;
constexpr int TEXT_FEED_NO_MANUAL = 320;

// The labels of the sample pages' first three captions, and the fourth caption's "%s=%d".
constexpr int TEXT_FEED_MEDIA_LABEL = 20007;
constexpr int TEXT_FEED_PAPER_LABEL = 20090;
constexpr int TEXT_FEED_QUALITY_LABEL = 20008;
constexpr int TEXT_FEED_SAMPLE_CAPTION = 120000;

// Registry values of the picture choice under the tool's subkey.
constexpr char SAMPLE_FEEDING_RADIO[] = "SampleFeedingR";
constexpr char SAMPLE_FEEDING_PATH[] = "SampleFeeding";
// The stored image choice is the radio's id, as installed registries hold it.
constexpr shell::NumberOption FEED_IMAGE_OPTION = {SAMPLE_FEEDING_RADIO, IDC_FEED_STANDARD_IMAGE};
constexpr shell::StringOption FEED_IMAGE_PATH_OPTION = {SAMPLE_FEEDING_PATH, ""};

// Where the manual opens for this dialog.
constexpr int FEED_DETAIL_MANUAL_PAGE = 4;
constexpr int FEED_DETAIL_MANUAL_TOPIC = 0;

// The write waits this long before reading the value back.
constexpr uint32_t FEED_VERIFY_WAIT_MS = 1000;

// Outer size of the dialog, and where the slider lies in its client area: 238 pixels wide, so
// that the 114 pixels the thumbs keep apart are the 25 units they keep apart.
constexpr ui::Rect FEED_DETAIL_WINDOW{0, 0, 396, 508};
constexpr ui::Rect FEED_SLIDER_TRACK{76, 146, 314, 186};

// What the edits of the dialog let through: digits only (a double-byte character of codePage goes
// whole, whatever its trail byte), an odd number of minus signs makes the number negative, the
// number clamped into minimum..maximum and written with "%d". Without digits the text is empty,
// or "-" when negative and the range allows it; a typed "-0" stays.
std::string FilterRangeText(const std::string& typed, int minimum, int maximum,
                            const platform::CodePage& codePage = platform::SingleByte());

// The number a filtered text stands for; 0 for "", "-" and "-0".
int RangeTextValue(const std::string& text);

// What the dialog shows; the view is filled from it and never read back, except the edits'
// typed texts.
struct PaperFeedDetailState {
  std::string lowText;   // lowest sample value, as filtered
  std::string highText;  // highest sample value, as filtered
  std::string saveText;  // value to save, as filtered
  std::array<int64_t, FEED_SAMPLE_COUNT> samples{};
  // Characters 3 and 4 of the value text read at opening: the reference the write adds to.
  std::string valueString;
  std::string printerValue;  // the printer's value as shown; empty until read
};

class PaperFeedDetail : public ui::DialogHandler, private shell::RangeSliderParent {
 public:
  PaperFeedDetail(DetailSeat& seat, AdjustmentSelection& selection)
      : seat_(seat),
        selection_(selection),
        image_(seat, {IDC_FEED_STANDARD_IMAGE, IDC_FEED_USER_IMAGE, IDC_FEED_IMAGE_NAME,
                      IDC_FEED_BROWSE, FEED_IMAGE_OPTION, FEED_IMAGE_PATH_OPTION}) {}

  // ui::DialogHandler
  bool OnInit(ui::View& view) override;
  void OnCommand(int id, int code) override;
  void OnPaint(ui::Canvas& canvas) override { slider_.Paint(canvas); }
  bool OnKeyDown(int key, bool shift) override;
  intptr_t OnMessage(unsigned message, uintptr_t wParam, intptr_t lParam, bool* handled) override;
  void OnClose() override;
  void OnMouseDown(int x, int y) override { slider_.MouseDown(x, y); }
  void OnMouseMove(int x, int /*y*/) override { slider_.MouseMove(x); }
  void OnLeftButtonUp() override { slider_.MouseUp(); }
  void OnDestroy() override { view_ = nullptr; }

  const PaperFeedDetailState& State() const { return state_; }
  const shell::RangeSlider& Slider() const { return slider_; }

 private:
  // shell::RangeSliderParent
  void SliderChanged(unsigned message, int value) override;
  void RepaintNow(const ui::Rect& area) override;
  void CaptureMouse(bool capture) override;

  ui::Answer Message(int text, ui::Icon icon, ui::Buttons buttons = ui::Buttons::Ok);
  void ShowPreviewMessages();
  void LayOut();
  // False, with 318 shown, when the printer's value cannot be read.
  bool ReadPrinterValue();
  // Edits: the typed text filtered and, when the filter changed it, put back.
  std::string FilterEdit(int id, int minimum, int maximum);
  void SetEdit(int id, std::string* text, int value);
  void LeaveRange(int id);
  void LeaveSave();
  void SaveTextChanged();
  void ShowSamples();

  void PrintSamples();
  void Save();

  DetailSeat& seat_;
  AdjustmentSelection& selection_;
  ui::View* view_ = nullptr;
  shell::RangeSlider slider_;
  PaperFeedDetailState state_;
  SampleImageChoice image_;
};

}  // namespace feed
