// ui::Canvas over a GDI device context, for painting and owner-drawn entries.
#pragma once

#include "platform/ui.h"
#include "platform/win32/win32_headers.h"

namespace platform {

// System colours become their current value; plain colours pass unchanged.
COLORREF ResolveColor(ui::Color color);

class GdiCanvas : public ui::Canvas {
 public:
  // The context stays the caller's; the canvas restores what it selects.
  GdiCanvas(HDC dc, HWND window, HINSTANCE instance);
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
  HINSTANCE instance_;
  int savedState_;
};

}  // namespace platform
