// Layout of a sample page.
#include "samples/sample_layout.h"

#include <algorithm>

namespace feed {

namespace {

double ScaleX(const PageMetrics& page) {
  return static_cast<double>(page.dpiX) / SAMPLE_BASE_DPI;
}

double ScaleY(const PageMetrics& page) {
  return static_cast<double>(page.dpiY) / SAMPLE_BASE_DPI;
}

int Scaled(int length, double scale) {
  return static_cast<int>(length * scale);
}

}  // namespace

int LineHeight(const PageMetrics& page) {
  return CAPTION_LINE_POINTS * page.dpiY / POINTS_PER_INCH;
}

CaptionLayout PlaceCaptions(const std::vector<int>& widths, const PageMetrics& page) {
  CaptionLayout layout;
  double sy = ScaleY(page);
  int h = LineHeight(page);
  int lineStep = h + Scaled(CAPTION_LINE_GAP, sy);
  int x = 0;
  int y = Scaled(CAPTION_TOP, sy);
  for (int width : widths) {
    if (x + width < page.width) {
      layout.places.push_back({x, y});
      x += width + CAPTION_SPACING;
    } else {
      y += lineStep;
      layout.places.push_back({0, y});
      x = width + CAPTION_SPACING;
    }
  }
  layout.imageTop = y + lineStep;
  layout.imageGap = IMAGE_GAP_POINTS * page.dpiY / POINTS_PER_INCH;
  return layout;
}

bool DrawImageBands(int imageWidth, int imageHeight, const PageMetrics& page,
                    const CaptionLayout& layout,
                    const std::function<bool(const ImageCopy&)>& drawCopy) {
  double sx = ScaleX(page);
  double sy = ScaleY(page);
  int copyWidth = Scaled(imageWidth, sx);
  int advance = Scaled(imageWidth + IMAGE_SPACING, sx);
  // Without a step the copies would never reach the right edge.
  if (advance < 1) return false;

  int band = imageHeight;
  int fromBottom = 0;
  while (fromBottom < imageHeight) {
    int rows = std::min(band, imageHeight - fromBottom);
    int y = layout.imageGap + layout.imageTop + Scaled(imageHeight - rows - fromBottom, sy);
    bool drawn = true;
    for (int x = 0; x < page.width; x += advance) {
      if (!drawCopy({x, y, copyWidth, Scaled(rows, sy), fromBottom, rows})) {
        drawn = false;
        break;
      }
    }
    if (drawn) {
      fromBottom += rows;
    } else {
      band = rows / 2;
      if (band < BAND_MIN_ROWS) return false;
    }
  }
  return true;
}

int ClosingPageTop(const PageMetrics& page) {
  return LineHeight(page) + CAPTION_LINE_GAP * page.dpiY / (2 * SAMPLE_BASE_DPI);
}

}  // namespace feed
