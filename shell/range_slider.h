// A two-thumb range slider drawn on its parent's surface: values, thumb positions, dragging.
#pragma once

#include "platform/ui.h"

namespace shell {

constexpr unsigned SLIDER_LOW_CHANGED = 0x501;   // lParam: the new low value
constexpr unsigned SLIDER_HIGH_CHANGED = 0x502;  // lParam: the new high value

enum class SliderThumb { None, Low, High };

// The window the slider is drawn on.
class RangeSliderParent {
 public:
  virtual ~RangeSliderParent() = default;
  // SLIDER_LOW_CHANGED or SLIDER_HIGH_CHANGED with the value, sent at once.
  virtual void SliderChanged(unsigned message, int value) = 0;
  // Paints the area again at once (the parent's paint calls RangeSlider::Paint).
  virtual void RepaintNow(const ui::Rect& area) = 0;
  virtual void CaptureMouse(bool capture) = 0;
};

class RangeSlider {
 public:
  static constexpr int THUMB_WIDTH = 10;
  static constexpr int MIN_SPAN = 25;        // units the thumbs stay apart
  static constexpr int PUSH_DISTANCE = 114;  // pixels the thumbs stay apart when pushed
  static constexpr int DEFAULT_MAXIMUM = 100;
  static constexpr int DEFAULT_MINIMUM = -100;

  RangeSlider() = default;
  RangeSlider(const RangeSlider&) = delete;
  RangeSlider& operator=(const RangeSlider&) = delete;

  // Binds to the parent and its track rectangle with the range 100 / -100.
  void Attach(RangeSliderParent* parent, const ui::Rect& track);
  // Places the high thumb at the maximum and the low thumb at the minimum. A range narrower
  // than 25 units has no room for both thumbs: refused, nothing changes.
  bool SetRange(int maximum, int minimum);
  void SetValue(SliderThumb thumb, int value, bool redraw);
  void SetMiddleMarker(bool show) { middleMarker_ = show; }
  void Enable(bool enable) { enabled_ = enable; }

  void Paint(ui::Canvas& canvas) const;
  void MouseDown(int x, int y);
  void MouseMove(int x);
  void MouseUp();
  bool IsDragging() const { return dragging_ != SliderThumb::None; }

  int Low() const { return low_; }
  int High() const { return high_; }
  int Maximum() const { return maximum_; }
  int Minimum() const { return minimum_; }
  int LowLeft() const { return lowLeft_; }
  int HighLeft() const { return highLeft_; }
  // Left edge of a thumb standing at value.
  int Position(int value) const;
  // Where each thumb lies on the parent.
  ui::Rect ThumbRect(SliderThumb thumb) const;

 private:
  int CentreY() const { return (track_.top + track_.bottom) / 2; }
  int ValueAt(int left) const;
  void Tell(SliderThumb thumb, int value);
  void Repaint(const ui::Rect& area);
  void PaintThumb(ui::Canvas& canvas, SliderThumb thumb) const;

  RangeSliderParent* parent_ = nullptr;
  ui::Rect track_;
  int maximum_ = DEFAULT_MAXIMUM;
  int minimum_ = DEFAULT_MINIMUM;
  bool middleMarker_ = false;
  int high_ = DEFAULT_MAXIMUM;
  int low_ = DEFAULT_MINIMUM;
  int highLeft_ = 0;
  int lowLeft_ = 0;
  SliderThumb dragging_ = SliderThumb::None;
  int dragX_ = 0;
  bool enabled_ = true;
};

}  // namespace shell
