// GDI drawing for the portable paint handlers.
#include "platform/win32/win32_canvas.h"

namespace platform {

namespace {

RECT ToRect(const ui::Rect& rect) {
  return RECT{rect.left, rect.top, rect.right, rect.bottom};
}

// A bitmap selected into a memory context for as long as the object lives; the bitmap stays
// the picture cache's.
class SelectedBitmap {
 public:
  SelectedBitmap(HDC target, HBITMAP bitmap)
      : memory_(bitmap ? CreateCompatibleDC(target) : nullptr),
        previous_(memory_ ? SelectObject(memory_, bitmap) : nullptr) {
    if (bitmap) GetObjectA(bitmap, sizeof size_, &size_);
  }
  ~SelectedBitmap() {
    if (memory_) {
      SelectObject(memory_, previous_);
      DeleteDC(memory_);
    }
  }
  SelectedBitmap(const SelectedBitmap&) = delete;
  SelectedBitmap& operator=(const SelectedBitmap&) = delete;

  bool Ok() const { return memory_ != nullptr; }
  HDC Dc() const { return memory_; }
  int Width() const { return size_.bmWidth; }
  int Height() const { return size_.bmHeight; }

 private:
  HDC memory_;
  HGDIOBJ previous_;
  BITMAP size_ = {};
};

}  // namespace

PictureCache::~PictureCache() {
  for (auto& entry : strips_) ImageList_Destroy(entry.second);
  for (auto& entry : bitmaps_) DeleteObject(entry.second);
}

HBITMAP PictureCache::Bitmap(int resourceId) {
  auto found = bitmaps_.find(resourceId);
  if (found != bitmaps_.end()) return found->second;
  HBITMAP bitmap = static_cast<HBITMAP>(
      LoadImageA(instance_, MAKEINTRESOURCEA(resourceId), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
  if (bitmap) bitmaps_[resourceId] = bitmap;
  return bitmap;
}

HIMAGELIST PictureCache::Strip(int resourceId, int cellWidth, COLORREF transparent) {
  StripKey key{resourceId, cellWidth, transparent};
  auto found = strips_.find(key);
  if (found != strips_.end()) return found->second;
  // An image list cut from the strip draws a cell with its transparent colour masked out.
  HIMAGELIST strip = ImageList_LoadImageA(instance_, MAKEINTRESOURCEA(resourceId), cellWidth, 0,
                                          transparent, IMAGE_BITMAP, LR_CREATEDIBSECTION);
  if (strip) strips_[key] = strip;
  return strip;
}

COLORREF ResolveColor(ui::Color color) {
  if (color & ui::SYSTEM_COLOR) return GetSysColor(static_cast<int>(color & 0xFF));
  return static_cast<COLORREF>(color);
}

GdiCanvas::GdiCanvas(HDC dc, HWND window, PictureCache& pictures)
    : dc_(dc), window_(window), pictures_(pictures), savedState_(SaveDC(dc)) {}

GdiCanvas::~GdiCanvas() {
  if (savedState_ != 0) RestoreDC(dc_, savedState_);
}

ui::Rect GdiCanvas::ClientRect() {
  RECT rect = {};
  GetClientRect(window_, &rect);
  return ui::Rect{rect.left, rect.top, rect.right, rect.bottom};
}

void GdiCanvas::Fill(const ui::Rect& rect, ui::Color color) {
  RECT area = ToRect(rect);
  if (color & ui::SYSTEM_COLOR) {
    FillRect(dc_, &area, GetSysColorBrush(static_cast<int>(color & 0xFF)));
    return;
  }
  HBRUSH brush = CreateSolidBrush(ResolveColor(color));
  FillRect(dc_, &area, brush);
  DeleteObject(brush);
}

void GdiCanvas::DottedLine(int x1, int y, int x2, ui::Color color) {
  HPEN pen = CreatePen(PS_DOT, 1, ResolveColor(color));
  HGDIOBJ previous = SelectObject(dc_, pen);
  int previousMode = SetBkMode(dc_, TRANSPARENT);
  MoveToEx(dc_, x1, y, nullptr);
  LineTo(dc_, x2, y);
  SetBkMode(dc_, previousMode);
  SelectObject(dc_, previous);
  DeleteObject(pen);
}

void GdiCanvas::Line(int x1, int y1, int x2, int y2, ui::Color color) {
  HPEN pen = CreatePen(PS_SOLID, 1, ResolveColor(color));
  HGDIOBJ previous = SelectObject(dc_, pen);
  MoveToEx(dc_, x1, y1, nullptr);
  LineTo(dc_, x2, y2);
  SelectObject(dc_, previous);
  DeleteObject(pen);
}

void GdiCanvas::Text(const std::string& text, const ui::Rect& rect, ui::Font font,
                     ui::Color color) {
  Draw(text, rect, font, color, DT_LEFT);
}

void GdiCanvas::TextRight(const std::string& text, const ui::Rect& rect, ui::Font font,
                          ui::Color color) {
  Draw(text, rect, font, color, DT_RIGHT);
}

void GdiCanvas::Draw(const std::string& text, const ui::Rect& rect, ui::Font font, ui::Color color,
                     unsigned alignment) {
  RECT area = ToRect(rect);
  HGDIOBJ previous = font ? SelectObject(dc_, reinterpret_cast<HFONT>(font)) : nullptr;
  COLORREF previousColor = SetTextColor(dc_, ResolveColor(color));
  int previousMode = SetBkMode(dc_, TRANSPARENT);
  DrawTextA(dc_, text.c_str(), static_cast<int>(text.size()), &area,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | alignment);
  SetBkMode(dc_, previousMode);
  SetTextColor(dc_, previousColor);
  if (previous) SelectObject(dc_, previous);
}

void GdiCanvas::Bitmap(int resourceId, int x, int y) {
  SelectedBitmap bitmap(dc_, pictures_.Bitmap(resourceId));
  if (!bitmap.Ok()) return;
  BitBlt(dc_, x, y, bitmap.Width(), bitmap.Height(), bitmap.Dc(), 0, 0, SRCCOPY);
}

void GdiCanvas::StripCell(int resourceId, int cellWidth, ui::Color transparent, int index, int x,
                          int y) {
  if (cellWidth <= 0 || index < 0) return;
  HIMAGELIST strip = pictures_.Strip(resourceId, cellWidth, ResolveColor(transparent));
  if (!strip) return;
  if (index < ImageList_GetImageCount(strip))
    ImageList_Draw(strip, index, dc_, x, y, ILD_TRANSPARENT);
}

void GdiCanvas::Icon(int resourceId, int x, int y) {
  HICON icon = static_cast<HICON>(LoadImageA(pictures_.Instance(), MAKEINTRESOURCEA(resourceId),
                                             IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
  if (!icon) return;
  DrawIcon(dc_, x, y, icon);
  DestroyIcon(icon);
}

}  // namespace platform
