// ui::Canvas over a GDI device context, for painting and owner-drawn entries.
#pragma once

#include <map>
#include <tuple>

#include "platform/ui.h"
#include "platform/win32/win32_headers.h"

namespace platform {

// System colours become their current value; plain colours pass unchanged.
COLORREF ResolveColor(ui::Color color);

// The program's bitmap resources as drawn: each picture is loaded and converted once, on first
// use, and kept until the host ends. A repaint (and each blink of the busy picture) would
// otherwise load, convert and drop the same resource again.
class PictureCache {
 public:
  explicit PictureCache(HINSTANCE instance) : instance_(instance) {}
  ~PictureCache();
  PictureCache(const PictureCache&) = delete;
  PictureCache& operator=(const PictureCache&) = delete;

  HINSTANCE Instance() const { return instance_; }
  // Null when the resource is missing; the cache keeps what it hands out.
  HBITMAP Bitmap(int resourceId);
  HIMAGELIST Strip(int resourceId, int cellWidth, COLORREF transparent);

 private:
  struct StripKey {
    int resourceId;
    int cellWidth;
    COLORREF transparent;
    bool operator<(const StripKey& other) const {
      return std::tie(resourceId, cellWidth, transparent) <
             std::tie(other.resourceId, other.cellWidth, other.transparent);
    }
  };
  HINSTANCE instance_;
  std::map<int, HBITMAP> bitmaps_;
  std::map<StripKey, HIMAGELIST> strips_;
};

class GdiCanvas : public ui::Canvas {
 public:
  // The context stays the caller's; the canvas restores what it selects.
  GdiCanvas(HDC dc, HWND window, PictureCache& pictures);
  ~GdiCanvas() override;
  GdiCanvas(const GdiCanvas&) = delete;
  GdiCanvas& operator=(const GdiCanvas&) = delete;

  ui::Rect ClientRect() override;
  void Fill(const ui::Rect& rect, ui::Color color) override;
  void DottedLine(int x1, int y, int x2, ui::Color color) override;
  void Line(int x1, int y1, int x2, int y2, ui::Color color) override;
  void Text(const std::string& text, const ui::Rect& rect, ui::Font font, ui::Color color) override;
  void TextRight(const std::string& text, const ui::Rect& rect, ui::Font font,
                 ui::Color color) override;
  void Bitmap(int resourceId, int x, int y) override;
  void StripCell(int resourceId, int cellWidth, ui::Color transparent, int index, int x,
                 int y) override;
  void Icon(int resourceId, int x, int y) override;

 private:
  void Draw(const std::string& text, const ui::Rect& rect, ui::Font font, ui::Color color,
            unsigned alignment);
  HDC dc_;
  HWND window_;
  PictureCache& pictures_;
  int savedState_;
};

}  // namespace platform
