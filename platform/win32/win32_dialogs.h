// The generic dialog host: portable dialog handlers over real dialog windows from templates.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ui.h"
#include "platform/win32/win32_canvas.h"
#include "platform/win32/win32_headers.h"

namespace platform {

class Win32Host;

// One dialog window. The dialog procedure finds this object through DWLP_USER (set at
// WM_INITDIALOG) and forwards the window's messages to its handler.
class Win32View : public ui::View {
 public:
  Win32View(Win32Host& host, ui::DialogHandler& handler, bool modal);
  ~Win32View() override;  // destroys the window if it still exists
  Win32View(const Win32View&) = delete;
  Win32View& operator=(const Win32View&) = delete;

  HWND Window() const { return hwnd_; }
  ui::DialogHandler& Handler() { return handler_; }
  Win32Host& Host() { return host_; }
  bool IsChildWindow() const;

  // The view of one of our dialog windows, or null for any other window.
  static Win32View* FromWindow(HWND window);
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  // Tab on a child page's last tab stop (Shift+Tab on its first) leaves the page for its parent
  // instead of wrapping; true when the focus moved.
  bool LeavePageAtTabEdge(bool backwards);
  // Carries out a placement held back while the window was hidden or being initialised; before
  // anything else looks at where the window is (a message box centred on it).
  void FlushPlacement();
  // Notes the template's controls (once, at WM_INITDIALOG) and gives owner-drawn lists the entry
  // height their handler asks for.
  void LearnControls();

  // ui::View
  bool HasControl(int id) override;
  void PlaceControl(int id, const ui::Rect& rect) override;
  ui::Rect ControlRect(int id) override;
  void SetControlFont(int id, ui::Font font) override;
  void SetControlText(int id, const std::string& text) override;
  std::string ControlText(int id) override;
  void EnableControl(int id, bool enable) override;
  bool IsControlEnabled(int id) override;
  void ShowControl(int id, bool show) override;
  bool IsControlVisible(int id) override;
  void SetChecked(int id, bool checked) override;
  bool IsChecked(int id) override;
  void SetButtonBitmap(int id, int resourceId) override;
  void FocusControl(int id) override;
  void ComboClear(int id) override;
  int ComboAdd(int id, const std::string& text, intptr_t data) override;
  int ComboCount(int id) override;
  std::string ComboText(int id, int index) override;
  intptr_t ComboData(int id, int index) override;
  void ComboSetData(int id, int index, intptr_t data) override;
  int ComboSelection(int id) override;
  void ComboSelect(int id, int index) override;
  void SetTitle(const std::string& text) override;
  void SetWindowRect(const ui::Rect& rect) override;
  void SetClientSize(int width, int height) override;
  ui::Rect ClientSize() override;
  void CenterOnParent() override;
  void CenterOnScreen() override;
  void Show(bool show) override;
  bool IsVisible() override;
  void Enable(bool enable) override;
  bool IsEnabled() override;
  void Focus() override;
  void Invalidate() override;
  void InvalidateControl(int id) override;
  int Dpi() override;
  ui::FontDescription DialogFont() override;
  void SetIcon(int resourceId) override;
  void SetProperty(const std::string& name, intptr_t value) override;
  void RemoveProperty(const std::string& name) override;
  void SetTimer(int id, uint32_t ms) override;
  void KillTimer(int id) override;
  intptr_t Send(unsigned message, uintptr_t wParam, intptr_t lParam) override;
  void PostClose() override;
  void EndDialog(int result) override;
  void FocusTabStopNear(int childIndex, bool previous) override;
  int FocusedControl() override;
  void CaptureMouse(bool capture) override;
  void RepaintNow(const ui::Rect& area) override;
  bool HasSystemMenu() override;
  void AppendSystemMenuItem(int commandId, const std::string& text) override;
  void RemoveMaximizeAndSize() override;
  void SetMinimizeRestoreGreyed(bool minimized) override;
  bool IsMinimized() override;

 private:
  void Attach(HWND window);
  void Detach();
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Answer(LRESULT result);
  enum class ControlKind { Other, ComboBox, ListBox };
  struct ControlEntry {
    int id;
    HWND window;
    ControlKind kind;
  };
  const ControlEntry* Entry(int id) const;
  HWND Control(int id) const;
  bool IsListBox(HWND control) const;
  void CenterIn(const RECT& area);
  RECT PlacedRect() const;
  bool DefersPlacement() const;
  void Place(const RECT& rect);

  Win32Host& host_;
  ui::DialogHandler& handler_;
  bool modal_;
  HWND hwnd_ = nullptr;
  std::vector<HGDIOBJ> bitmaps_;  // button pictures, freed with the window
  std::vector<HICON> icons_;
  // The template's controls, looked up once: every GetDlgItem is a round trip to the Wine server.
  std::vector<ControlEntry> controls_;
  // A hidden page is placed where it is asked to be only when it is shown (or centred): pages
  // size themselves and are then placed by the main window, and each move costs round trips.
  // The same while OnInit runs: a dialog sized, then centred, moves once.
  bool placementPending_ = false;
  bool initialising_ = false;
  RECT pendingRect_ = {};
};

class Win32Host : public ui::Host {
 public:
  Win32Host();
  ~Win32Host() override;
  Win32Host(const Win32Host&) = delete;
  Win32Host& operator=(const Win32Host&) = delete;

  HINSTANCE Instance() const { return instance_; }
  PictureCache& Pictures() { return pictures_; }
  bool WaitCursorShown() const { return waitCursor_; }

  // Offers a keyboard message to our dialogs from the innermost outwards: first the handler's
  // OnKeyDown, then the page's Tab edge rule, then that dialog's own dialog manager. True when
  // the message was consumed.
  bool RouteKeyMessage(MSG* message);

  // ui::Host
  int RunModal(int templateId, ui::View* parent, ui::DialogHandler& handler) override;
  std::unique_ptr<ui::View> CreateModeless(int templateId, ui::View* parent, bool child,
                                           ui::DialogHandler& handler) override;
  ui::Answer MessageBox(ui::View* owner, const std::string& text, const std::string& caption,
                        ui::Icon icon, ui::Buttons buttons) override;
  void PumpMessages() override;
  void SetWaitCursor(bool wait) override;
  void ActivateWindowsWithProperty(const std::string& name) override;
  bool ShellOpen(ui::View* owner, const std::string& path) override;
  bool ChooseFile(ui::View* owner, const std::string& filter, const std::string& defaultExt,
                  const std::string& initialFolder, std::string* chosen) override;
  bool BitmapLoads(int resourceId) override;
  ui::Font CreateFont(const ui::FontDescription& description) override;
  void DeleteFont(ui::Font font) override;
  ui::View* MainWindow() override { return mainWindow_; }
  void SetMainWindow(ui::View* view) override { mainWindow_ = view; }
  std::unique_ptr<ui::GuideListWindows> CreateGuideList(ui::View& parent, const ui::Rect& panel,
                                                        const ui::Rect& pane,
                                                        ui::GuideListEvents& events) override;

 private:
  static LRESULT CALLBACK MessageFilter(int code, WPARAM wParam, LPARAM lParam);

  HINSTANCE instance_;
  PictureCache pictures_;
  HHOOK filter_ = nullptr;
  bool routing_ = false;  // inside RouteKeyMessage: the dialog managers it calls come back here
  bool waitCursor_ = false;
  ui::View* mainWindow_ = nullptr;
};

// Translates the suite's "Text|*.ext||" filter into the system's NUL-separated form.
std::string FileDialogFilter(const std::string& filter);

}  // namespace platform
