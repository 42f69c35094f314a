// A recording fake of the window side: views keep control state, the host records message boxes
// and answers them from a script.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/ui.h"
#include "tests/support/fake_platform.h"

namespace fakes {

class FakeHost;

struct FakeControl {
  ui::Rect rect;
  ui::Font font = 0;
  std::string text;
  bool enabled = true;
  bool visible = true;
  bool checked = false;
  int bitmap = 0;
  std::vector<std::pair<std::string, intptr_t>> items;
  int selection = -1;
};

class FakeView : public ui::View {
 public:
  FakeView(FakeHost& host, int templateId, FakeView* parent, ui::DialogHandler& handler);
  ~FakeView() override;

  // Runs the handler's teardown once (the window is destroyed).
  void Destroy();

  int templateId;
  FakeView* parent;
  ui::DialogHandler& handler;
  std::map<int, FakeControl> controls;
  std::string title;
  ui::Rect windowRect;
  int clientWidth = 0;
  int clientHeight = 0;
  bool visible = false;
  bool enabled = true;
  bool minimized = false;
  bool ended = false;
  int result = 0;
  bool destroyed = false;
  bool closePosted = false;
  int focusedControl = 0;
  bool focused = false;
  int focusAtEdge = 0;  // 1: on the first tab stop, 2: on the last
  bool mouseCaptured = false;
  std::vector<ui::Rect> repainted;  // areas painted again at once, in order
  int icon = 0;
  int invalidations = 0;
  int dpi = 96;
  int centred = 0;  // times centred on the screen
  ui::FontDescription dialogFont;
  std::map<std::string, intptr_t> properties;
  std::vector<std::pair<int, std::string>> systemMenu;  // appended items
  bool hasSystemMenu = true;
  bool maximizeRemoved = false;
  bool minimizeGreyed = false;
  struct Timer {
    uint32_t interval;
    uint32_t due;
  };
  std::map<int, Timer> timers;

  // ui::View
  bool HasControl(int id) override { return controls.count(id) > 0; }
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
  void SetTitle(const std::string& text) override { title = text; }
  void SetWindowRect(const ui::Rect& rect) override { windowRect = rect; }
  void SetClientSize(int width, int height) override;
  ui::Rect ClientSize() override { return ui::Rect{0, 0, clientWidth, clientHeight}; }
  void CenterOnParent() override {}
  void CenterOnScreen() override { ++centred; }
  void Show(bool show) override { visible = show; }
  bool IsVisible() override { return visible; }
  void Enable(bool enable) override { enabled = enable; }
  bool IsEnabled() override { return enabled; }
  void Focus() override { focused = true; }
  void Invalidate() override { ++invalidations; }
  void InvalidateControl(int) override { ++invalidations; }
  int Dpi() override { return dpi; }
  ui::FontDescription DialogFont() override { return dialogFont; }
  void SetIcon(int resourceId) override { icon = resourceId; }
  void SetProperty(const std::string& name, intptr_t value) override { properties[name] = value; }
  void RemoveProperty(const std::string& name) override { properties.erase(name); }
  void SetTimer(int id, uint32_t ms) override;
  void KillTimer(int id) override { timers.erase(id); }
  intptr_t Send(unsigned message, uintptr_t wParam, intptr_t lParam) override;
  void PostClose() override { closePosted = true; }
  void EndDialog(int code) override;
  void FocusTabStopNear(int childIndex, bool previous) override;
  bool FocusOnEdgeTabStop(bool first) override { return focusAtEdge == (first ? 1 : 2); }
  int FocusedControl() override { return focusedControl; }
  void CaptureMouse(bool capture) override { mouseCaptured = capture; }
  void RepaintNow(const ui::Rect& area) override { repainted.push_back(area); }
  bool HasSystemMenu() override { return hasSystemMenu; }
  void AppendSystemMenuItem(int commandId, const std::string& text) override;
  void RemoveMaximizeAndSize() override { maximizeRemoved = true; }
  void SetMinimizeRestoreGreyed(bool isMinimized) override { minimizeGreyed = isMinimized; }
  bool IsMinimized() override { return minimized; }

  // Test helpers: what an operator does.
  void Click(int id) { handler.OnCommand(id, 0); }
  // Types text into an edit: the new text, then its change notification.
  void Type(int id, const std::string& text);
  void ChooseComboEntry(int id, int index, int changeCode);

 private:
  FakeHost& host_;
  FakeControl* Find(int id);
  // Find for a change; a control the template lacks is recorded with the host.
  FakeControl* Change(int id);
};

// A guide list's windows: what the portable list asked of them, and the events an operator
// causes, forwarded as the host would.
class FakeGuideList : public ui::GuideListWindows {
 public:
  FakeGuideList(FakeHost& host, FakeView& parent, ui::GuideListEvents& events)
      : host(host), parent(parent), events(events) {}
  ~FakeGuideList() override;

  void CreateItem(int index, int bitmapId, const std::string& title,
                  const std::string& description) override;
  void SetGuideText(const std::string& text) override { guideText = text; }
  void PlaceItem(int index, const ui::Rect& button, const ui::Rect&, const ui::Rect&) override;
  void SetScrollBar(bool shown, int, int, int) override { scrollBar = shown; }
  void RepaintPanel() override {}
  void RepaintItem(int) override {}
  void EnableItem(int index, bool enable) override;
  void DrawFocusFrame(int, const ui::Rect&) override {}
  void CaptureMouse(bool capture) override { captured = capture; }
  void NudgeMouse() override {}
  void FocusItem(int index) override { focusedItem = index; }
  int FocusedItem() override { return focusedItem; }
  void ItemChosen(int index) override;

  // The operator clicks item index (the press and release on its button).
  void Click(int index);

  struct Item {
    int bitmapId = 0;
    std::string title;
    std::string description;
    bool enabled = true;
    ui::Rect button;
  };
  FakeHost& host;
  FakeView& parent;
  ui::GuideListEvents& events;
  std::vector<Item> items;
  std::string guideText;
  bool scrollBar = false;
  bool captured = false;
  int focusedItem = -1;
  ui::Rect panel, pane;
};

struct ShownMessage {
  std::string text;
  std::string caption;
  ui::Icon icon;
  ui::Buttons buttons;
  FakeView* owner;
};

class FakeHost : public ui::Host {
 public:
  explicit FakeHost(FakeClock& clock) : clock_(clock) {}
  ~FakeHost() override;

  // Control ids each template creates; a template not listed creates a window with no controls.
  std::map<int, std::vector<int>> templates;
  // Templates whose creation fails.
  std::set<int> failingTemplates;
  // (template, control) of every change asked of a control the template does not have.
  std::vector<std::pair<int, int>> missingControls;
  // Bitmap resources that cannot be loaded.
  std::set<int> missingBitmaps;
  // Called while a modal dialog of that template runs (after OnInit), to act as the operator.
  std::map<int, std::function<void(FakeView&)>> modalScripts;
  // Answers to message boxes in order; Ok when the queue is empty.
  std::deque<ui::Answer> answers;
  // Called after each message box is recorded, before it is answered.
  std::function<void(const ShownMessage&)> onMessage;
  std::function<void()> onPump;

  std::vector<ShownMessage> messages;
  std::vector<std::string> activated;
  std::vector<std::string> opened;
  bool shellOpenResult = true;
  std::vector<bool> waitCursor;  // every change
  bool chooseFileResult = false;
  std::string chosenFile;
  std::string lastFilter, lastDefaultExt, lastInitialFolder;
  int pumps = 0;
  std::map<ui::Font, ui::FontDescription> liveFonts;
  int fontsCreated = 0;
  std::vector<FakeView*> views;            // live windows
  std::vector<FakeGuideList*> guideLists;  // live guide lists
  bool guideListsFail = false;

  int RunModal(int templateId, ui::View* parent, ui::DialogHandler& handler) override;
  std::unique_ptr<ui::View> CreateModeless(int templateId, ui::View* parent, bool child,
                                           ui::DialogHandler& handler) override;
  ui::Answer MessageBox(ui::View* owner, const std::string& text, const std::string& caption,
                        ui::Icon icon, ui::Buttons buttons) override;
  void PumpMessages() override;
  void SetWaitCursor(bool wait) override { waitCursor.push_back(wait); }
  void ActivateWindowsWithProperty(const std::string& name) override { activated.push_back(name); }
  bool ShellOpen(ui::View* owner, const std::string& path) override;
  bool ChooseFile(ui::View* owner, const std::string& filter, const std::string& defaultExt,
                  const std::string& initialFolder, std::string* chosen) override;
  bool BitmapLoads(int resourceId) override { return missingBitmaps.count(resourceId) == 0; }
  ui::Font CreateFont(const ui::FontDescription& description) override;
  void DeleteFont(ui::Font font) override { liveFonts.erase(font); }
  ui::View* MainWindow() override { return mainWindow_; }
  void SetMainWindow(ui::View* view) override { mainWindow_ = view; }
  std::unique_ptr<ui::GuideListWindows> CreateGuideList(ui::View& parent, const ui::Rect& panel,
                                                        const ui::Rect& pane,
                                                        ui::GuideListEvents& events) override;
  void Unregister(FakeGuideList* list);

  FakeClock& Clock() { return clock_; }
  // The live view of a template, or null.
  FakeView* Find(int templateId);

 private:
  friend class FakeView;
  void Unregister(FakeView* view);

  FakeClock& clock_;
  ui::View* mainWindow_ = nullptr;
  ui::Font nextFont_ = 0x1000;
};

}  // namespace fakes
