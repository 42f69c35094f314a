// GDI drawing for the portable paint handlers.
#include "platform/win32/win32_canvas.h"

namespace platform {

namespace {

RECT ToRect(const ui::Rect& rect) {
  return RECT{rect.left, rect.top, rect.right, rect.bottom};
}

// A bitmap resource selected into a memory context for as long as the object lives.
class ResourceBitmap {
 public:
  ResourceBitmap(HDC target, HINSTANCE instance, int resourceId)
      : bitmap_(static_cast<HBITMAP>(LoadImageA(instance, MAKEINTRESOURCEA(resourceId),
                                                IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR))),
        memory_(bitmap_ ? CreateCompatibleDC(target) : nullptr),
        previous_(memory_ ? SelectObject(memory_, bitmap_) : nullptr) {
    if (bitmap_) GetObjectA(bitmap_, sizeof size_, &size_);
  }
  ~ResourceBitmap() {
    if (memory_) {
      SelectObject(memory_, previous_);
      DeleteDC(memory_);
    }
    if (bitmap_) DeleteObject(bitmap_);
  }
  ResourceBitmap(const ResourceBitmap&) = delete;
  ResourceBitmap& operator=(const ResourceBitmap&) = delete;

  bool Ok() const { return memory_ != nullptr; }
  HDC Dc() const { return memory_; }
  int Width() const { return size_.bmWidth; }
  int Height() const { return size_.bmHeight; }

 private:
  HBITMAP bitmap_;
  HDC memory_;
  HGDIOBJ previous_;
  BITMAP size_ = {};
};

}  // namespace

COLORREF ResolveColor(ui::Color color) {
  if (color & ui::SYSTEM_COLOR) return GetSysColor(static_cast<int>(color & 0xFF));
  return static_cast<COLORREF>(color);
}

GdiCanvas::GdiCanvas(HDC dc, HWND window, HINSTANCE instance)
    : dc_(dc), window_(window), instance_(instance), savedState_(SaveDC(dc)) {}

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
  ResourceBitmap bitmap(dc_, instance_, resourceId);
  if (!bitmap.Ok()) return;
  BitBlt(dc_, x, y, bitmap.Width(), bitmap.Height(), bitmap.Dc(), 0, 0, SRCCOPY);
}

void GdiCanvas::StripCell(int resourceId, int cellWidth, ui::Color transparent, int index, int x,
                          int y) {
  if (cellWidth <= 0 || index < 0) return;
  // An image list cut from the strip draws the cell with its transparent colour masked out.
  HIMAGELIST strip =
      ImageList_LoadImageA(instance_, MAKEINTRESOURCEA(resourceId), cellWidth, 0,
                           ResolveColor(transparent), IMAGE_BITMAP, LR_CREATEDIBSECTION);
  if (!strip) return;
  if (index < ImageList_GetImageCount(strip))
    ImageList_Draw(strip, index, dc_, x, y, ILD_TRANSPARENT);
  ImageList_Destroy(strip);
}

void GdiCanvas::Icon(int resourceId, int x, int y) {
  HICON icon = static_cast<HICON>(
      LoadImageA(instance_, MAKEINTRESOURCEA(resourceId), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
  if (!icon) return;
  DrawIcon(dc_, x, y, icon);
  DestroyIcon(icon);
}

}  // namespace platform
