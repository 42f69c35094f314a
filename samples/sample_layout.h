// Where a sample page puts its captions and its picture, in device pixels; the drawing itself
// goes through a print surface.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace feed {

// The page's resolution and printable width in device pixels.
struct PageMetrics {
  int dpiX = 0;
  int dpiY = 0;
  int width = 0;
};

// Lengths at 180 dpi, scaled to the page.
constexpr int CAPTION_TOP = 213;
constexpr int CAPTION_LINE_GAP = 13;
constexpr int CAPTION_SPACING = 50;  // device pixels after each caption
constexpr int IMAGE_SPACING = 5;     // picture pixels between copies
constexpr int SAMPLE_BASE_DPI = 180;
// In points: the line height and the gap above the picture.
constexpr int CAPTION_LINE_POINTS = 11;
constexpr int IMAGE_GAP_POINTS = 5;
constexpr int POINTS_PER_INCH = 72;
// Bands of the picture are halved on a failed copy down to this many rows.
constexpr int BAND_MIN_ROWS = 2;

int LineHeight(const PageMetrics& page);

// A caption's rectangle is (x, y, page width, y + line height), text bottom-aligned.
struct TextPlace {
  int x;
  int y;
  bool operator==(const TextPlace& o) const { return x == o.x && y == o.y; }
};

struct CaptionLayout {
  std::vector<TextPlace> places;  // one per caption, in order
  int imageTop = 0;               // y0
  int imageGap = 0;               // g
};

// Places captions of the given widths left to right, starting a new line for a caption that
// would reach the page's right edge.
CaptionLayout PlaceCaptions(const std::vector<int>& widths, const PageMetrics& page);

// One copy of a band of the picture: rows [firstRow, firstRow + rows) counted from the bottom
// row, stretched into the rectangle (x, y, width, height).
struct ImageCopy {
  int x;
  int y;
  int width;
  int height;
  int firstRow;
  int rows;
  bool operator==(const ImageCopy& o) const {
    return x == o.x && y == o.y && width == o.width && height == o.height &&
           firstRow == o.firstRow && rows == o.rows;
  }
};

// Draws the picture in bands of copies side by side across the page through drawCopy, the
// first band the whole picture; a failed copy halves its band and the band starts again. False
// when a band would drop below BAND_MIN_ROWS rows, or when the page's resolution would put every
// copy at the same place.
bool DrawImageBands(int imageWidth, int imageHeight, const PageMetrics& page,
                    const CaptionLayout& layout,
                    const std::function<bool(const ImageCopy&)>& drawCopy);

// Top of the rectangle of the closing page's "." (its height is the line height).
int ClosingPageTop(const PageMetrics& page);

}  // namespace feed
