// The range slider's rules: value clamps, the push rules that keep the thumbs apart, dragging
// limits and painting with the system colours.
#include "shell/range_slider.h"

#include <algorithm>
#include <cstdint>

namespace shell {

namespace {

constexpr int TRACK_INSET = 5;        // the track line leaves this much at each end
constexpr int THUMB_MARGIN = 2;       // between a thumb's outer edge and the track rectangle
constexpr int THUMB_LINE_GAP = 4;     // between a thumb's tip and the centre line
constexpr int THUMB_TIP = 5;          // height of the pointed part
constexpr int LOW_RIGHT_LIMIT = 124;  // the low thumb stays this far from the track's right
constexpr int TICKS = 11;
constexpr int UPPER_TICK_TOP = -6;
constexpr int UPPER_TICK_BOTTOM = -3;
constexpr int LOWER_TICK_TOP = 2;
constexpr int LOWER_TICK_BOTTOM = 6;
constexpr ui::Color MIDDLE_MARKER = ui::RED;

bool Covers(int left, int x) {
  return x >= left && x < left + RangeSlider::THUMB_WIDTH;
}

}  // namespace

void RangeSlider::Attach(RangeSliderParent* parent, const ui::Rect& track) {
  parent_ = parent;
  track_ = track;
  SetRange(DEFAULT_MAXIMUM, DEFAULT_MINIMUM);
}

bool RangeSlider::SetRange(int maximum, int minimum) {
  if (int64_t{maximum} - minimum < MIN_SPAN) return false;
  maximum_ = maximum;
  minimum_ = minimum;
  high_ = maximum;
  low_ = minimum;
  highLeft_ = Position(high_);
  lowLeft_ = Position(low_);
  return true;
}

// Wide ranges must not overflow on the way.
int RangeSlider::Position(int value) const {
  int64_t span = int64_t{maximum_} - minimum_;
  return track_.left + static_cast<int>(int64_t{track_.Width() - THUMB_WIDTH} *
                                        (int64_t{value} - minimum_) / span);
}

int RangeSlider::ValueAt(int left) const {
  int64_t pixels = track_.Width() - THUMB_WIDTH;
  if (pixels <= 0) return minimum_;
  return static_cast<int>(minimum_ +
                          (int64_t{maximum_} - minimum_) * (left - track_.left) / pixels);
}

ui::Rect RangeSlider::ThumbRect(SliderThumb thumb) const {
  int y = CentreY();
  if (thumb == SliderThumb::Low) {
    return {lowLeft_, track_.top + THUMB_MARGIN, lowLeft_ + THUMB_WIDTH, y - THUMB_LINE_GAP};
  }
  return {highLeft_, y + THUMB_LINE_GAP, highLeft_ + THUMB_WIDTH, track_.bottom - THUMB_MARGIN};
}

void RangeSlider::Tell(SliderThumb thumb, int value) {
  if (parent_) {
    parent_->SliderChanged(thumb == SliderThumb::Low ? SLIDER_LOW_CHANGED : SLIDER_HIGH_CHANGED,
                           value);
  }
}

void RangeSlider::Repaint(const ui::Rect& area) {
  if (parent_) parent_->RepaintNow(area);
}

void RangeSlider::SetValue(SliderThumb thumb, int value, bool redraw) {
  if (thumb == SliderThumb::None) return;
  ui::Rect before = ThumbRect(thumb);
  if (thumb == SliderThumb::High) {
    value = std::clamp(value, minimum_ + MIN_SPAN, maximum_);
    if (value == high_) return;
    high_ = value;
    highLeft_ = Position(value);
    if (value == minimum_ + MIN_SPAN && low_ == minimum_) {
      high_ = low_ + MIN_SPAN;
      Tell(SliderThumb::High, high_);
      highLeft_ = lowLeft_ + PUSH_DISTANCE;
    }
  } else {
    value = std::clamp(value, minimum_, maximum_ - MIN_SPAN);
    if (value == low_) return;
    low_ = value;
    lowLeft_ = Position(value);
    if (value == maximum_ - MIN_SPAN && high_ == maximum_) {
      low_ = high_ - MIN_SPAN;
      Tell(SliderThumb::Low, low_);
      lowLeft_ = highLeft_ - PUSH_DISTANCE;
    }
  }
  if (redraw) {
    Repaint(before);
    Repaint(ThumbRect(thumb));
  }
}

void RangeSlider::MouseDown(int x, int y) {
  if (!enabled_) return;
  bool inTrack = x >= track_.left && x < track_.right && y >= track_.top && y < track_.bottom;
  if (!inTrack) return;
  for (SliderThumb thumb : {SliderThumb::Low, SliderThumb::High}) {
    ui::Rect r = ThumbRect(thumb);
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) {
      dragging_ = thumb;
      dragX_ = x;
      if (parent_) parent_->CaptureMouse(true);
      return;
    }
  }
}

void RangeSlider::MouseMove(int x) {
  if (dragging_ == SliderThumb::None) return;
  bool low = dragging_ == SliderThumb::Low;
  int& left = low ? lowLeft_ : highLeft_;
  int wanted = left + (x - dragX_);
  int placed = wanted;
  if (low) placed = std::min(placed, track_.right - LOW_RIGHT_LIMIT);
  if (!low) placed = std::max(placed, track_.left + PUSH_DISTANCE);
  placed = std::clamp(placed, track_.left, track_.right - THUMB_WIDTH);
  // A thumb stopped at a limit keeps the recorded x, so the pointer must come back first.
  if (placed == wanted) dragX_ = x;

  ui::Rect before = ThumbRect(dragging_);
  left = placed;
  int value = ValueAt(placed);
  (low ? low_ : high_) = value;
  Repaint(before);
  Repaint(ThumbRect(dragging_));
  Tell(dragging_, value);

  if (highLeft_ - PUSH_DISTANCE < lowLeft_) {
    SliderThumb other = low ? SliderThumb::High : SliderThumb::Low;
    ui::Rect otherBefore = ThumbRect(other);
    if (low) {
      highLeft_ = lowLeft_ + PUSH_DISTANCE;
      high_ = value + MIN_SPAN;
    } else {
      lowLeft_ = highLeft_ - PUSH_DISTANCE;
      low_ = value - MIN_SPAN;
    }
    Repaint(otherBefore);
    Repaint(ThumbRect(other));
    Tell(other, low ? high_ : low_);
  }
}

void RangeSlider::MouseUp() {
  if (dragging_ == SliderThumb::None) return;
  dragging_ = SliderThumb::None;
  if (parent_) parent_->CaptureMouse(false);
}

void RangeSlider::Paint(ui::Canvas& canvas) const {
  int y = CentreY();
  int lineLeft = track_.left + TRACK_INSET;
  int lineRight = track_.right - TRACK_INSET;
  const ui::Color lines[] = {ui::SYS_BUTTON_SHADOW, ui::SYS_3D_DARK_SHADOW, ui::SYS_3D_LIGHT,
                             ui::SYS_BUTTON_HIGHLIGHT};
  for (int i = 0; i < 4; ++i) canvas.Fill({lineLeft, y - 2 + i, lineRight, y - 1 + i}, lines[i]);

  int span = track_.Width() - THUMB_WIDTH;
  for (int i = 0; i < TICKS; ++i) {
    int x = lineLeft + span * i / (TICKS - 1);
    canvas.Line(x, y + UPPER_TICK_TOP, x, y + UPPER_TICK_BOTTOM,
                Covers(lowLeft_, x) ? ui::SYS_BUTTON_FACE : ui::SYS_3D_DARK_SHADOW);
    canvas.Line(x, y + LOWER_TICK_BOTTOM, x, y + LOWER_TICK_TOP,
                Covers(highLeft_, x) ? ui::SYS_BUTTON_FACE : ui::SYS_3D_DARK_SHADOW);
  }
  if (middleMarker_) {
    // The marker's ticks give way to the thumb on the far side of the line, as they always have.
    int x = Position(static_cast<int>((int64_t{maximum_} + minimum_) / 2)) + THUMB_WIDTH / 2;
    canvas.Line(x, y + UPPER_TICK_TOP, x, y + UPPER_TICK_BOTTOM,
                Covers(highLeft_, x) ? ui::SYS_BUTTON_FACE : MIDDLE_MARKER);
    canvas.Line(x, y + LOWER_TICK_BOTTOM, x, y + LOWER_TICK_TOP,
                Covers(lowLeft_, x) ? ui::SYS_BUTTON_FACE : MIDDLE_MARKER);
  }
  PaintThumb(canvas, SliderThumb::Low);
  PaintThumb(canvas, SliderThumb::High);
}

// A five-sided outline whose tip points at the track line, and a second one inside it.
void RangeSlider::PaintThumb(ui::Canvas& canvas, SliderThumb thumb) const {
  ui::Rect r = ThumbRect(thumb);
  bool low = thumb == SliderThumb::Low;
  int outer = low ? r.top : r.bottom - 1;  // edge away from the line
  int tip = low ? r.bottom - 1 : r.top;
  int step = low ? 1 : -1;  // from the outer edge towards the line
  int shoulder = tip - step * THUMB_TIP;
  int right = r.right - 1;
  int middle = r.left + THUMB_WIDTH / 2;

  int bodyTop = std::min(outer, shoulder) + 1;
  int bodyBottom = std::max(outer, shoulder);
  canvas.Fill({r.left + 1, bodyTop, right, bodyBottom}, ui::SYS_BUTTON_FACE);

  for (int inset = 0; inset < 2; ++inset) {
    int l = r.left + inset;
    int rt = right - inset;
    int o = outer + step * inset;
    int s = shoulder;
    int t = tip - step * inset;
    ui::Color leftColor = ui::SYS_3D_LIGHT;
    ui::Color rightColor = inset == 0 ? ui::SYS_3D_DARK_SHADOW : ui::SYS_BUTTON_SHADOW;
    ui::Color outerColor = inset == 0 ? (low ? ui::SYS_3D_LIGHT : ui::SYS_3D_DARK_SHADOW)
                                      : (low ? ui::SYS_3D_LIGHT : ui::SYS_BUTTON_SHADOW);
    canvas.Line(l, o, rt, o, outerColor);
    canvas.Line(l, o, l, s, leftColor);
    canvas.Line(l, s, middle, t, leftColor);
    canvas.Line(rt, o, rt, s, rightColor);
    canvas.Line(rt, s, middle, t, rightColor);
  }
}

}  // namespace shell
