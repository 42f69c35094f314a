// Drawing one sample job, and the closing page of a shared sheet, on a print surface.
#pragma once

#include <array>
#include <string>

#include "platform/print_surface.h"
#include "platform/ui.h"
#include "samples/sample_image.h"
#include "samples/sample_layout.h"

namespace feed {

constexpr int CAPTION_COUNT = 4;
// Caption fonts in points, and their weights; the last caption (the sample's own) is bold.
constexpr int CAPTION_POINTS = 10;
constexpr int SAMPLE_CAPTION_POINTS = 11;
constexpr int CAPTION_WEIGHT = 400;
constexpr int SAMPLE_CAPTION_WEIGHT = 700;

constexpr char CLOSING_PAGE_TEXT[] = ".";

// The job's result: 0 when every step went through, negative when one failed (the document
// is then aborted).
constexpr int SAMPLE_PAGE_OK = 0;
constexpr int SAMPLE_PAGE_FAILED = -1;

// The caption fonts: the interface font at the caption's size and weight for the page's
// vertical resolution.
ui::FontDescription CaptionFont(const ui::FontDescription& interfaceFont, int dpiY, bool sample);

// One document of one page: the four captions (the fourth also names the document), then the
// picture in bands across the page.
int DrawSamplePage(platform::PrintSurface& surface, const ui::FontDescription& interfaceFont,
                   const std::array<std::string, CAPTION_COUNT>& captions,
                   const SampleImage& image);

// One document named documentName whose page carries only ".", to end a shared sheet.
int DrawClosingPage(platform::PrintSurface& surface, const ui::FontDescription& interfaceFont,
                    const std::string& documentName);

}  // namespace feed
