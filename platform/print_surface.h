// Printing through the printer's own driver: a device context made from the driver's settings,
// on which sample pages are drawn as ordinary documents.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui.h"

namespace platform {

// Resolution and printable size of the surface, in device pixels.
struct PrintMetrics {
  int dpiX = 0;
  int dpiY = 0;
  int width = 0;
  int height = 0;
};

// A 24-bit bottom-up picture as its file holds it: the information header (and whatever lies
// between it and the pixel data), then the pixel rows, bottom row first, padded to 4 bytes.
struct PrintImage {
  const uint8_t* info = nullptr;
  size_t infoSize = 0;
  const uint8_t* pixels = nullptr;
  int32_t width = 0;
  int32_t height = 0;
};

class PrintSurface {
 public:
  virtual ~PrintSurface() = default;
  virtual PrintMetrics Metrics() = 0;
  // Every call answers false on failure; a failed document is aborted by the caller.
  virtual bool StartDocument(const std::string& documentName) = 0;
  virtual bool StartPage() = 0;
  // Selects a font for the text calls that follow; height in device pixels (negative: the
  // character height, as font descriptions carry it).
  virtual bool SelectFont(const ui::FontDescription& font) = 0;
  // Width in device pixels of the text in the selected font; -1 on failure.
  virtual int TextWidth(const std::string& text) = 0;
  // One line, bottom-aligned in the rectangle, not clipped.
  virtual bool DrawText(const std::string& text, const ui::Rect& rect) = 0;
  // Stretches rows [firstRow, firstRow + rows) of the picture, counted from its bottom row,
  // onto the target rectangle.
  virtual bool DrawImage(const PrintImage& image, int firstRow, int rows,
                         const ui::Rect& target) = 0;
  virtual bool EndPage() = 0;
  virtual bool EndDocument() = 0;
  virtual void AbortDocument() = 0;
};

class Printing {
 public:
  virtual ~Printing() = default;
  // A surface on the printer made from its driver and device names and a device mode block as
  // the driver-settings library gives it; null when it cannot be made.
  virtual std::unique_ptr<PrintSurface> Open(const std::string& driverName,
                                             const std::string& deviceName,
                                             const std::vector<uint8_t>& devMode) = 0;
};

}  // namespace platform
