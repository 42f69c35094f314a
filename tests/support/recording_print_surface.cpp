// The recording print surface.
#include "tests/support/recording_print_surface.h"

#include <cstdlib>

#include "sim/simulated_driver.h"

namespace fakes {

namespace {

constexpr int TENTHS_MM_PER_INCH = 254;

class RecordingSurface : public platform::PrintSurface {
 public:
  RecordingSurface(RecordingPrinting& printing, PrintedDocument document, int width)
      : printing_(printing), document_(std::move(document)), width_(width) {
    ++printing_.surfacesOpen;
  }
  ~RecordingSurface() override { --printing_.surfacesOpen; }

  platform::PrintMetrics Metrics() override {
    return {printing_.dpiX, printing_.dpiY, width_, printing_.dpiY * 11};
  }
  bool StartDocument(const std::string& name) override {
    if (printing_.refuseStartDoc || inDoc_) return false;
    inDoc_ = true;
    document_.name = name;
    return true;
  }
  bool StartPage() override {
    if (!inDoc_ || inPage_) return false;
    inPage_ = true;
    document_.pages.emplace_back();
    return true;
  }
  bool SelectFont(const ui::FontDescription& font) override {
    font_ = font;
    return true;
  }
  int TextWidth(const std::string& text) override { return RecordedTextWidth(text, font_); }
  bool DrawText(const std::string& text, const ui::Rect& rect) override {
    if (!inPage_) return false;
    document_.pages.back().texts.push_back({text, font_, rect});
    return true;
  }
  bool DrawImage(const platform::PrintImage& image, int firstRow, int rows,
                 const ui::Rect& target) override {
    if (!inPage_ || !image.pixels || firstRow < 0 || rows < 1 || firstRow + rows > image.height) {
      return false;
    }
    PrintedCopy copy{firstRow, rows, target};
    int number = ++printing_.copiesAsked;
    if (printing_.failCopy && printing_.failCopy(number, copy)) return false;
    document_.pages.back().copies.push_back(copy);
    return true;
  }
  bool EndPage() override {
    if (!inPage_) return false;
    inPage_ = false;
    return true;
  }
  bool EndDocument() override {
    if (!inDoc_ || inPage_) return false;
    inDoc_ = false;
    document_.ended = true;
    printing_.documents.push_back(document_);
    if (printing_.onDocument) printing_.onDocument(document_);
    return true;
  }
  void AbortDocument() override {
    inDoc_ = inPage_ = false;
    document_.aborted = true;
    printing_.documents.push_back(document_);
  }

 private:
  RecordingPrinting& printing_;
  PrintedDocument document_;
  int width_;
  ui::FontDescription font_;
  bool inDoc_ = false;
  bool inPage_ = false;
};

}  // namespace

int RecordedTextWidth(const std::string& text, const ui::FontDescription& font) {
  return static_cast<int>(text.size()) * (std::abs(font.height) / 2);
}

std::unique_ptr<platform::PrintSurface> RecordingPrinting::Open(
    const std::string& driverName, const std::string& deviceName,
    const std::vector<uint8_t>& devMode) {
  if (refuseOpen) return nullptr;
  int width = pageWidth;
  sim::DriverSettings settings;
  if (width == 0 && sim::SimulatedDriver::FromDevMode(devMode, &settings)) {
    width = settings.paperWidth * dpiX / TENTHS_MM_PER_INCH;
  }
  PrintedDocument document;
  document.driverName = driverName;
  document.deviceName = deviceName;
  document.devMode = devMode;
  return std::make_unique<RecordingSurface>(*this, std::move(document), width);
}

sim::DriverJob DriverJobOf(const PrintedDocument& document) {
  sim::DriverJob job;
  job.documentName = document.name;
  job.devMode = document.devMode;
  job.pages = static_cast<int>(document.pages.size());
  for (const PrintedPage& page : document.pages) {
    for (const PrintedText& text : page.texts) job.texts.push_back(text.text);
  }
  return job;
}

}  // namespace fakes
