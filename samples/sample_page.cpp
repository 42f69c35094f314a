// The sample job's page.
#include "samples/sample_page.h"

#include <vector>

namespace feed {

namespace {

PageMetrics PageOf(const platform::PrintMetrics& metrics) {
  return PageMetrics{metrics.dpiX, metrics.dpiY, metrics.width};
}

// The document is begun; every later failure aborts it.
int Abort(platform::PrintSurface& surface) {
  surface.AbortDocument();
  return SAMPLE_PAGE_FAILED;
}

int Finish(platform::PrintSurface& surface) {
  if (!surface.EndPage()) return Abort(surface);
  if (!surface.EndDocument()) return Abort(surface);
  return SAMPLE_PAGE_OK;
}

platform::PrintImage PrintImageOf(const SampleImage& image) {
  const SampleImageHeader& h = image.Header();
  platform::PrintImage p;
  p.info = image.Headers() + BMP_FILE_HEADER_SIZE;
  p.infoSize = h.pixelOffset - BMP_FILE_HEADER_SIZE;
  p.pixels = image.Row(0);
  p.width = h.width;
  p.height = h.height;
  return p;
}

}  // namespace

ui::FontDescription CaptionFont(const ui::FontDescription& interfaceFont, int dpiY, bool sample) {
  ui::FontDescription font = interfaceFont;
  int points = sample ? SAMPLE_CAPTION_POINTS : CAPTION_POINTS;
  // Negative: the character height, so the points hold whatever the face's leading.
  font.height = -(points * dpiY / POINTS_PER_INCH);
  font.weight = sample ? SAMPLE_CAPTION_WEIGHT : CAPTION_WEIGHT;
  return font;
}

int DrawSamplePage(platform::PrintSurface& surface, const ui::FontDescription& interfaceFont,
                   const std::array<std::string, CAPTION_COUNT>& captions,
                   const SampleImage& image) {
  // A picture that was not loaded is never drawn from.
  if (image.Size() == 0) return SAMPLE_PAGE_FAILED;
  platform::PrintMetrics metrics = surface.Metrics();
  PageMetrics page = PageOf(metrics);
  if (page.dpiX <= 0 || page.dpiY <= 0 || page.width <= 0) return SAMPLE_PAGE_FAILED;
  if (!surface.StartDocument(captions[CAPTION_COUNT - 1])) return SAMPLE_PAGE_FAILED;
  if (!surface.StartPage()) return Abort(surface);

  const ui::FontDescription fonts[] = {CaptionFont(interfaceFont, page.dpiY, false),
                                       CaptionFont(interfaceFont, page.dpiY, true)};
  auto fontOf = [&](size_t i) -> const ui::FontDescription& {
    return fonts[i + 1 == captions.size() ? 1 : 0];
  };
  std::vector<int> widths;
  for (size_t i = 0; i < captions.size(); ++i) {
    if (!surface.SelectFont(fontOf(i))) return Abort(surface);
    int width = surface.TextWidth(captions[i]);
    if (width < 0) return Abort(surface);
    widths.push_back(width);
  }
  CaptionLayout layout = PlaceCaptions(widths, page);
  int h = LineHeight(page);
  for (size_t i = 0; i < captions.size(); ++i) {
    const TextPlace& at = layout.places[i];
    if (!surface.SelectFont(fontOf(i)) ||
        !surface.DrawText(captions[i], ui::Rect{at.x, at.y, page.width, at.y + h})) {
      return Abort(surface);
    }
  }

  platform::PrintImage picture = PrintImageOf(image);
  bool drawn = DrawImageBands(picture.width, picture.height, page, layout, [&](const ImageCopy& c) {
    return surface.DrawImage(picture, c.firstRow, c.rows,
                             ui::Rect{c.x, c.y, c.x + c.width, c.y + c.height});
  });
  if (!drawn) return Abort(surface);
  return Finish(surface);
}

int DrawClosingPage(platform::PrintSurface& surface, const ui::FontDescription& interfaceFont,
                    const std::string& documentName) {
  platform::PrintMetrics metrics = surface.Metrics();
  PageMetrics page = PageOf(metrics);
  if (page.dpiY <= 0 || page.width <= 0) return SAMPLE_PAGE_FAILED;
  if (!surface.StartDocument(documentName)) return SAMPLE_PAGE_FAILED;
  if (!surface.StartPage()) return Abort(surface);
  int top = ClosingPageTop(page);
  if (!surface.SelectFont(CaptionFont(interfaceFont, page.dpiY, false)) ||
      !surface.DrawText(CLOSING_PAGE_TEXT, ui::Rect{0, top, page.width, top + LineHeight(page)})) {
    return Abort(surface);
  }
  return Finish(surface);
}

}  // namespace feed
