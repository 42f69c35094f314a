// Sample pages through the printer's own driver: a GDI printer context made with the driver's
// device mode, so that the settings chosen for a sample reach its job.
#include "platform/win32/win32_print.h"

#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/native.h"
#include "platform/win32/win32_headers.h"

namespace platform {

namespace {

// Where the two size fields sit; a block must hold them before they can be read.
constexpr size_t DEVMODE_SIZE_AT = offsetof(DEVMODEA, dmSize);
constexpr size_t DEVMODE_EXTRA_AT = offsetof(DEVMODEA, dmDriverExtra);
// The smallest public part worth a context: up to and with the field mask.
constexpr size_t DEVMODE_SMALLEST_PUBLIC = offsetof(DEVMODEA, dmFields) + sizeof(DWORD);

constexpr UINT CAPTION_FORMAT = DT_SINGLELINE | DT_BOTTOM | DT_NOCLIP | DT_NOPREFIX;

uint16_t Word(const uint8_t* at) {
  return static_cast<uint16_t>(at[0] | (at[1] << 8));
}

// Bytes of one pixel row of an uncompressed picture, rows padded to four bytes; 0 when the
// values cannot describe one.
uint64_t RowBytes(int32_t width, WORD bitCount) {
  if (width <= 0 || bitCount == 0) return 0;
  return ((static_cast<uint64_t>(width) * bitCount + 31) / 32) * 4;
}

class GdiPrintSurface : public PrintSurface {
 public:
  explicit GdiPrintSurface(HDC dc) : dc_(dc) {
    SetBkMode(dc_, TRANSPARENT);
    SetTextColor(dc_, RGB(0, 0, 0));
  }
  ~GdiPrintSurface() override {
    // A document left open would stay in the queue unfinished.
    if (inDocument_) AbortDocument();
    if (originalFont_) SelectObject(dc_, originalFont_);
    if (font_) DeleteObject(font_);
    DeleteDC(dc_);
  }
  GdiPrintSurface(const GdiPrintSurface&) = delete;
  GdiPrintSurface& operator=(const GdiPrintSurface&) = delete;

  PrintMetrics Metrics() override {
    PrintMetrics metrics;
    metrics.dpiX = GetDeviceCaps(dc_, LOGPIXELSX);
    metrics.dpiY = GetDeviceCaps(dc_, LOGPIXELSY);
    metrics.width = GetDeviceCaps(dc_, HORZRES);
    metrics.height = GetDeviceCaps(dc_, VERTRES);
    return metrics;
  }

  bool StartDocument(const std::string& documentName) override {
    DOCINFOA document = {};
    document.cbSize = sizeof document;
    document.lpszDocName = documentName.c_str();
    if (StartDocA(dc_, &document) <= 0) return false;
    inDocument_ = true;
    return true;
  }

  bool StartPage() override { return ::StartPage(dc_) > 0; }

  bool SelectFont(const ui::FontDescription& description) override {
    LOGFONTA logical = {};
    // The interface font's own description carries the rest of its logical font.
    if (description.rest.size() == sizeof logical) {
      std::memcpy(&logical, description.rest.data(), sizeof logical);
    } else {
      logical.lfCharSet = DEFAULT_CHARSET;
    }
    logical.lfHeight = description.height;
    logical.lfWidth = 0;  // the face's own proportions at the device's height
    logical.lfWeight = description.weight;
    logical.lfItalic = description.italic ? TRUE : FALSE;
    logical.lfUnderline = description.underline ? TRUE : FALSE;
    if (!description.faceName.empty()) {
      lstrcpynA(logical.lfFaceName, description.faceName.c_str(), LF_FACESIZE);
    }
    HFONT font = CreateFontIndirectA(&logical);
    if (!font) return false;
    HGDIOBJ previous = SelectObject(dc_, font);
    if (!previous || previous == HGDI_ERROR) {
      DeleteObject(font);
      return false;
    }
    if (!originalFont_) originalFont_ = previous;
    if (font_) DeleteObject(font_);
    font_ = font;
    return true;
  }

  int TextWidth(const std::string& text) override {
    SIZE size = {};
    if (!GetTextExtentPoint32A(dc_, text.c_str(), static_cast<int>(text.size()), &size)) {
      return -1;
    }
    return size.cx;
  }

  bool DrawText(const std::string& text, const ui::Rect& rect) override {
    RECT area = {rect.left, rect.top, rect.right, rect.bottom};
    if (text.empty()) return true;
    return DrawTextA(dc_, text.c_str(), static_cast<int>(text.size()), &area, CAPTION_FORMAT) != 0;
  }

  bool DrawImage(const PrintImage& image, int firstRow, int rows, const ui::Rect& target) override {
    if (!image.info || !image.pixels || image.infoSize < sizeof(BITMAPINFOHEADER)) return false;
    if (image.width <= 0 || image.height <= 0) return false;
    if (firstRow < 0 || rows <= 0 || rows > image.height - firstRow) return false;
    // The header and its colour table, copied so that the band can be described as a picture
    // of its own: a bottom-up picture of `rows` rows starting at the band's bottom row. That
    // leaves no doubt about which end the source rows are counted from.
    std::vector<uint8_t> info(image.info, image.info + image.infoSize);
    BITMAPINFOHEADER header;
    std::memcpy(&header, info.data(), sizeof header);
    if (header.biSize < sizeof header || header.biSize > info.size()) return false;
    if (header.biWidth != image.width || header.biHeight != image.height) return false;
    if (header.biCompression != BI_RGB || header.biPlanes != 1) return false;
    uint64_t rowBytes = RowBytes(image.width, header.biBitCount);
    if (rowBytes == 0) return false;
    header.biHeight = rows;
    header.biSizeImage = 0;
    std::memcpy(info.data(), &header, sizeof header);
    const uint8_t* band = image.pixels + static_cast<size_t>(rowBytes * firstRow);
    int lines = StretchDIBits(
        dc_, target.left, target.top, target.Width(), target.Height(), 0, 0, image.width, rows,
        band, reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS, SRCCOPY);
    return lines > 0 && lines != static_cast<int>(GDI_ERROR);
  }

  bool EndPage() override { return ::EndPage(dc_) > 0; }

  bool EndDocument() override {
    inDocument_ = false;
    return EndDoc(dc_) > 0;
  }

  void AbortDocument() override {
    if (!inDocument_) return;
    inDocument_ = false;
    AbortDoc(dc_);
  }

 private:
  HDC dc_;
  HFONT font_ = nullptr;
  HGDIOBJ originalFont_ = nullptr;
  bool inDocument_ = false;
};

class GdiPrinting : public Printing {
 public:
  std::unique_ptr<PrintSurface> Open(const std::string& driverName, const std::string& deviceName,
                                     const std::vector<uint8_t>& devMode) override {
    // Without the driver's settings the page would print with whatever the queue holds, not
    // with the sample's own; so no block, no context.
    if (!DeviceModeBlockWhole(devMode.data(), devMode.size())) return nullptr;
    // A copy: the system's structure wants its natural alignment.
    std::vector<DEVMODEA> aligned((devMode.size() + sizeof(DEVMODEA) - 1) / sizeof(DEVMODEA));
    std::memcpy(aligned.data(), devMode.data(), devMode.size());
    HDC dc = CreateDCA(driverName.c_str(), deviceName.c_str(), nullptr, aligned.data());
    if (!dc) return nullptr;
    return std::make_unique<GdiPrintSurface>(dc);
  }
};

}  // namespace

bool DeviceModeBlockWhole(const uint8_t* block, size_t size) {
  if (!block || size < DEVMODE_EXTRA_AT + sizeof(WORD)) return false;
  size_t publicPart = Word(block + DEVMODE_SIZE_AT);
  size_t privatePart = Word(block + DEVMODE_EXTRA_AT);
  return publicPart >= DEVMODE_SMALLEST_PUBLIC && publicPart + privatePart <= size;
}

std::unique_ptr<Printing> MakeNativePrinting() {
  return std::make_unique<GdiPrinting>();
}

}  // namespace platform
