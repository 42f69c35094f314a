// The window side of the seam: dialogs as portable handlers over views of real windows.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ui {

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const Rect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

using Color = uint32_t;  // 0x00BBGGRR, as the system packs it
constexpr Color Rgb(int r, int g, int b) {
  return static_cast<Color>(r) | (static_cast<Color>(g) << 8) | (static_cast<Color>(b) << 16);
}
constexpr Color WHITE = Rgb(255, 255, 255);
constexpr Color BLACK = Rgb(0, 0, 0);
constexpr Color RED = Rgb(255, 0, 0);
constexpr Color MAGENTA = Rgb(255, 0, 255);

// System colours, resolved by the platform when drawn (outside the 0x00BBGGRR range; the low
// byte is the system's colour index).
constexpr Color SYSTEM_COLOR = 0x80000000u;
constexpr Color SYS_WINDOW = SYSTEM_COLOR | 5;
constexpr Color SYS_WINDOW_TEXT = SYSTEM_COLOR | 8;
constexpr Color SYS_HIGHLIGHT = SYSTEM_COLOR | 13;
constexpr Color SYS_HIGHLIGHT_TEXT = SYSTEM_COLOR | 14;
constexpr Color SYS_BUTTON_FACE = SYSTEM_COLOR | 15;
constexpr Color SYS_BUTTON_SHADOW = SYSTEM_COLOR | 16;
constexpr Color SYS_GRAY_TEXT = SYSTEM_COLOR | 17;
constexpr Color SYS_BUTTON_HIGHLIGHT = SYSTEM_COLOR | 20;
constexpr Color SYS_3D_DARK_SHADOW = SYSTEM_COLOR | 21;
constexpr Color SYS_3D_LIGHT = SYSTEM_COLOR | 22;

enum class Icon { None, Information, Warning, Error, Question };
enum class Buttons { Ok, OkCancel };
enum class Answer { Ok, Cancel };

// Dialog results.
constexpr int RESULT_OK = 1;
constexpr int RESULT_CANCEL = 2;

// Standard control and command ids.
constexpr int ID_OK = 1;
constexpr int ID_CANCEL = 2;

// Notification codes that come with a control's command (OnCommand's code). A drop-down list
// reports a confirmed choice before its selection change; a choice made while the list is
// closed may come with the change alone.
constexpr int BUTTON_CLICKED = 0;
constexpr int COMBO_SELECTION_CHANGED = 1;
constexpr int COMBO_DROPPED_DOWN = 7;
constexpr int COMBO_CHOICE_CONFIRMED = 9;

// Virtual keys the handlers look at.
constexpr int KEY_TAB = 0x09;
constexpr int KEY_RETURN = 0x0D;
constexpr int KEY_ESCAPE = 0x1B;

// Notification codes of edit controls, as OnCommand receives them.
constexpr int EDIT_CHANGED = 0x0300;     // the text changed
constexpr int EDIT_LOST_FOCUS = 0x0200;  // the control lost the keyboard focus

// A logical font: the fields of the system's description that the suite reads or changes; the
// rest travels unchanged in `rest`.
struct FontDescription {
  int height = 0;
  int weight = 400;
  bool italic = false;
  bool underline = false;
  std::string faceName;
  std::vector<uint8_t> rest;  // platform-specific remainder, opaque to the core
};

using Font = uintptr_t;  // 0 = none

// Drawing on a window or memory surface during painting.
class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual Rect ClientRect() = 0;
  virtual void Fill(const Rect& rect, Color color) = 0;
  virtual void DottedLine(int x1, int y, int x2, Color color) = 0;
  // Solid 1-pixel line from (x1, y1) up to, not including, (x2, y2). Realisations with a pen
  // override this; the default sets the pixels one by one.
  virtual void Line(int x1, int y1, int x2, int y2, Color color);
  // Single line, vertically centred, no prefix processing, transparent background.
  virtual void Text(const std::string& text, const Rect& rect, Font font, Color color) = 0;
  // The same, right-aligned in rect. Realisations that can align override this.
  virtual void TextRight(const std::string& text, const Rect& rect, Font font, Color color) {
    Text(text, rect, font, color);
  }
  // Bitmap resource at its own size, top-left at (x, y).
  virtual void Bitmap(int resourceId, int x, int y) = 0;
  // Cell `index` of a strip bitmap resource cut into cells cellWidth wide, with a transparent
  // colour.
  virtual void StripCell(int resourceId, int cellWidth, Color transparent, int index, int x,
                         int y) = 0;
  virtual void Icon(int resourceId, int x, int y) = 0;
};

class DialogHandler;

// One live dialog window and its controls, addressed by control id. Operations on a control
// that does not exist do nothing and answer a neutral value.
class View {
 public:
  virtual ~View() = default;  // destroys the window if it still exists

  virtual bool HasControl(int id) = 0;
  virtual void PlaceControl(int id, const Rect& rect) = 0;  // client pixels, repainted
  virtual Rect ControlRect(int id) = 0;
  virtual void SetControlFont(int id, Font font) = 0;
  virtual void SetControlText(int id, const std::string& text) = 0;
  virtual std::string ControlText(int id) = 0;
  virtual void EnableControl(int id, bool enable) = 0;
  virtual bool IsControlEnabled(int id) = 0;
  virtual void ShowControl(int id, bool show) = 0;
  virtual bool IsControlVisible(int id) = 0;
  virtual void SetChecked(int id, bool checked) = 0;
  virtual bool IsChecked(int id) = 0;
  virtual void SetButtonBitmap(int id, int resourceId) = 0;
  virtual void FocusControl(int id) = 0;

  // Combo boxes and lists.
  virtual void ComboClear(int id) = 0;
  virtual int ComboAdd(int id, const std::string& text, intptr_t data) = 0;  // index
  virtual int ComboCount(int id) = 0;
  virtual std::string ComboText(int id, int index) = 0;
  virtual intptr_t ComboData(int id, int index) = 0;                // -1 for a bad index
  virtual void ComboSetData(int id, int index, intptr_t data) = 0;  // a bad index does nothing
  virtual int ComboSelection(int id) = 0;                           // -1 when nothing is selected
  virtual void ComboSelect(int id, int index) = 0;                  // -1 clears

  // The window itself.
  virtual void SetTitle(const std::string& text) = 0;
  virtual void SetWindowRect(const Rect& rect) = 0;  // outer rectangle, parent's pixels
  virtual void SetClientSize(int width, int height) = 0;
  virtual Rect ClientSize() = 0;  // left and top 0
  virtual void CenterOnParent() = 0;
  virtual void CenterOnScreen() = 0;
  virtual void Show(bool show) = 0;
  virtual bool IsVisible() = 0;
  virtual void Enable(bool enable) = 0;
  virtual bool IsEnabled() = 0;
  virtual void Focus() = 0;
  virtual void Invalidate() = 0;
  virtual void InvalidateControl(int id) = 0;
  virtual int Dpi() = 0;  // vertical dots per inch of the window's display
  virtual FontDescription DialogFont() = 0;
  virtual void SetIcon(int resourceId) = 0;
  virtual void SetProperty(const std::string& name, intptr_t value) = 0;
  virtual void RemoveProperty(const std::string& name) = 0;
  virtual void SetTimer(int id, uint32_t ms) = 0;
  virtual void KillTimer(int id) = 0;
  virtual intptr_t Send(unsigned message, uintptr_t wParam, intptr_t lParam) = 0;
  virtual void PostClose() = 0;            // posts a close request to this window
  virtual void EndDialog(int result) = 0;  // modal dialogs only
  // Moves the focus to the tab stop before the first / after the given child, in z-order.
  virtual void FocusTabStopNear(int childIndex, bool previous) = 0;
  // True when the focus is on this dialog's first (or last) tab stop.
  virtual bool FocusOnEdgeTabStop(bool /*first*/) { return false; }
  // The id of the control (a direct child) that holds the keyboard focus; 0 when none does.
  virtual int FocusedControl() { return 0; }
  // Mouse input goes to this window until released, wherever the pointer is.
  virtual void CaptureMouse(bool /*capture*/) {}
  // Paints the area of the client (client pixels) again before returning.
  virtual void RepaintNow(const Rect& /*area*/) { Invalidate(); }

  // System menu editing of a top-level dialog.
  virtual bool HasSystemMenu() = 0;
  virtual void AppendSystemMenuItem(int commandId, const std::string& text) = 0;  // separator first
  virtual void RemoveMaximizeAndSize() = 0;
  virtual void SetMinimizeRestoreGreyed(bool minimized) = 0;
  virtual bool IsMinimized() = 0;
};

// Portable dialog logic; the host forwards the window's messages to it.
class DialogHandler {
 public:
  virtual ~DialogHandler() = default;
  // Called once the window exists; the view stays valid until OnDestroy returns.
  // Answer true to let the platform set the initial focus.
  virtual bool OnInit(View& view) = 0;
  virtual void OnCommand(int /*id*/, int /*code*/) {}
  virtual void OnTimer(int /*id*/) {}
  virtual void OnPaint(Canvas& /*canvas*/) {}
  // Key-down before the dialog's own handling; true consumes it.
  virtual bool OnKeyDown(int /*key*/, bool /*shift*/) { return false; }
  // Private messages (PAGE_REFRESH and the like); *handled tells the host.
  virtual intptr_t OnMessage(unsigned /*message*/, uintptr_t /*wParam*/, intptr_t /*lParam*/,
                             bool* handled) {
    *handled = false;
    return 0;
  }
  // Close request (system menu Close, Alt+F4, posted close, Escape/Cancel command aside).
  virtual void OnClose() {}
  virtual void OnSystemCommand(int /*id*/, bool* handled) { *handled = false; }
  virtual void OnSize(bool /*minimized*/) {}
  // Left button pressed and mouse moved over the dialog's own surface (not a control), or
  // anywhere while it holds the capture; client pixels, negative outside the client area.
  virtual void OnMouseDown(int /*x*/, int /*y*/) {}
  virtual void OnMouseMove(int /*x*/, int /*y*/) {}
  virtual void OnLeftButtonUp() {}
  // Height in pixels of the entries of an owner-drawn list or combo box; 0 leaves the
  // platform's default. Asked once the window exists.
  virtual int OnMeasureItem(int /*controlId*/) { return 0; }
  // Owner-drawn entries of a combo box.
  virtual void OnDrawItem(int /*controlId*/, int /*index*/, bool /*selected*/,
                          bool /*inSelectionField*/, Canvas& /*canvas*/, const Rect& /*rect*/) {}
  virtual void OnDestroy() {}
  // Children painted on white when true.
  virtual bool WhiteBackground() { return false; }
};

// The windows of a guide list (an item panel of picture-button rows beside a guide pane), as the
// host made them; indexes are item indexes, rectangles in the panel's client pixels.
class GuideListWindows {
 public:
  virtual ~GuideListWindows() = default;
  // The item's button (id 300 + index, showing the bitmap resource) and its two labels.
  virtual void CreateItem(int /*index*/, int /*bitmapId*/, const std::string& /*title*/,
                          const std::string& /*description*/) {}
  virtual void SetFonts(Font /*title*/, Font /*description*/, Font /*guide*/) {}
  virtual void SetGuideText(const std::string& text) = 0;
  virtual void PlaceItem(int index, const Rect& button, const Rect& title,
                         const Rect& description) = 0;
  // Scroll range 0 ... maximum with the page size; shown false removes the bar.
  virtual void SetScrollBar(bool shown, int maximum, int page, int position) = 0;
  virtual void RepaintPanel() = 0;
  virtual void RepaintItem(int index) = 0;
  virtual void EnableItem(int index, bool enable) = 0;
  virtual void DrawFocusFrame(int index, const Rect& frame) = 0;  // button client pixels
  // Captures the mouse for the window that reported the last mouse move, or releases it.
  virtual void CaptureMouse(bool capture) = 0;
  // A relative mouse move of 0 pixels, so that the window under the pointer sees the mouse.
  virtual void NudgeMouse() = 0;
  virtual void FocusItem(int index) = 0;
  // The item whose button holds the focus, or -1.
  virtual int FocusedItem() { return -1; }
  // GUIDE_CHOSEN (0x702, wParam the index) posted to the dialog the list lies on.
  virtual void ItemChosen(int index) = 0;
};

// What the host forwards from a guide list's windows to its portable logic.
class GuideListEvents {
 public:
  virtual ~GuideListEvents() = default;
  // Scroll bar actions in the order line up, line down, page up, page down, top, bottom, thumb.
  virtual void OnScroll(int action, int position) = 0;
  virtual void OnWheel(int delta) = 0;  // positive: turned away from the user
  virtual void OnButtonMouseMove(int index, bool inside) = 0;
  virtual void OnPanelMouseMove(int x, int y) = 0;
  virtual void OnButtonDown(int index) = 0;
  virtual void OnButtonUp(int index) = 0;
  virtual void OnPanelFocus(bool shift) = 0;
  virtual void OnButtonFocus(int index) = 0;
  virtual void OnPaintPanel(Canvas& canvas) = 0;
};

// Services of the windowing system for the whole program.
class Host {
 public:
  virtual ~Host() = default;
  // Modal dialog from a template; returns the result passed to EndDialog, or -1 when the window
  // cannot be created.
  virtual int RunModal(int templateId, View* parent, DialogHandler& handler) = 0;
  // Modeless dialog (or child page when child is true); null when it cannot be created. The
  // handler must outlive the view.
  virtual std::unique_ptr<View> CreateModeless(int templateId, View* parent, bool child,
                                               DialogHandler& handler) = 0;
  virtual Answer MessageBox(View* owner, const std::string& text, const std::string& caption,
                            Icon icon, Buttons buttons) = 0;
  // Removes and dispatches every waiting message of the thread.
  virtual void PumpMessages() = 0;
  virtual void SetWaitCursor(bool wait) = 0;
  // Brings every top-level window carrying the property to the front (restored, then its last
  // active pop-up).
  virtual void ActivateWindowsWithProperty(const std::string& name) = 0;
  // The shell's "open" verb; false when the shell reports failure.
  virtual bool ShellOpen(View* owner, const std::string& path) = 0;
  // File-open dialog; false when cancelled. filter uses '|' separators as the suite writes them.
  virtual bool ChooseFile(View* owner, const std::string& filter, const std::string& defaultExt,
                          const std::string& initialFolder, std::string* chosen) = 0;
  // True when the bitmap resource can be loaded (it is loaded and freed again).
  virtual bool BitmapLoads(int resourceId) = 0;
  virtual Font CreateFont(const FontDescription& description) = 0;  // 0 on failure
  virtual void DeleteFont(Font font) = 0;
  // The main window for ownership defaults; may be null.
  virtual View* MainWindow() = 0;
  virtual void SetMainWindow(View* view) = 0;
  // A guide list's windows on parent: the item panel and the guide pane over their rectangles
  // (parent client pixels). Null when they cannot be created; events must outlive them.
  virtual std::unique_ptr<GuideListWindows> CreateGuideList(View& /*parent*/, const Rect& /*panel*/,
                                                            const Rect& /*pane*/,
                                                            GuideListEvents& /*events*/) {
    return nullptr;
  }
};

inline void Canvas::Line(int x1, int y1, int x2, int y2, Color color) {
  int dx = x2 > x1 ? x2 - x1 : x1 - x2;
  int dy = y2 > y1 ? y2 - y1 : y1 - y2;
  int sx = x1 < x2 ? 1 : -1;
  int sy = y1 < y2 ? 1 : -1;
  int error = dx - dy;
  for (int x = x1, y = y1; x != x2 || y != y2;) {
    Fill(Rect{x, y, x + 1, y + 1}, color);
    int twice = 2 * error;
    if (twice > -dy) {
      error -= dy;
      x += sx;
    }
    if (twice < dx) {
      error += dx;
      y += sy;
    }
  }
}

}  // namespace ui
