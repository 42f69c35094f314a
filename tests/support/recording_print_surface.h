// A print surface that records documents, pages, texts with their fonts and places, and picture
// copies; it can fail a chosen copy. Its printing factory hands each finished document with its
// device mode on, for a simulated printer to read.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/print_surface.h"
#include "sim/simulated_printer.h"

namespace fakes {

struct PrintedText {
  std::string text;
  ui::FontDescription font;
  ui::Rect rect;
};

struct PrintedCopy {
  int firstRow = 0;
  int rows = 0;
  ui::Rect rect;
};

struct PrintedPage {
  std::vector<PrintedText> texts;
  std::vector<PrintedCopy> copies;
};

struct PrintedDocument {
  std::string name;
  std::string driverName;
  std::string deviceName;
  std::vector<uint8_t> devMode;
  std::vector<PrintedPage> pages;
  bool ended = false;
  bool aborted = false;
};

class RecordingPrinting : public platform::Printing {
 public:
  // Resolution; the page width follows the device mode's paper width (tenths of a millimetre)
  // unless pageWidth is set.
  int dpiX = 720;
  int dpiY = 720;
  int pageWidth = 0;
  bool refuseOpen = false;
  bool refuseStartDoc = false;
  // Copies are numbered from 1 across the whole printing; a failed copy answers false.
  std::function<bool(int copy, const PrintedCopy&)> failCopy;
  // Called with each document when it ends.
  std::function<void(const PrintedDocument&)> onDocument;

  std::vector<PrintedDocument> documents;
  int copiesAsked = 0;
  int surfacesOpen = 0;

  std::unique_ptr<platform::PrintSurface> Open(const std::string& driverName,
                                               const std::string& deviceName,
                                               const std::vector<uint8_t>& devMode) override;
};

// The document as the simulated printer receives a driver job.
sim::DriverJob DriverJobOf(const PrintedDocument& document);

// Width a recorded text has: half the character height per byte.
int RecordedTextWidth(const std::string& text, const ui::FontDescription& font);

}  // namespace fakes
