// The recording fake of views and the window host.
#include "tests/support/fake_ui.h"

#include <algorithm>

namespace fakes {

FakeView::FakeView(FakeHost& host, int id, FakeView* parentView, ui::DialogHandler& h)
    : templateId(id), parent(parentView), handler(h), host_(host) {
  auto found = host.templates.find(id);
  if (found != host.templates.end()) {
    for (int control : found->second) controls[control];
  }
  dialogFont.height = -11;
  dialogFont.faceName = "MS Shell Dlg";
  host.views.push_back(this);
}

FakeView::~FakeView() {
  Destroy();
  host_.Unregister(this);
  if (host_.MainWindow() == this) host_.SetMainWindow(nullptr);
}

void FakeView::Destroy() {
  if (destroyed) return;
  destroyed = true;
  handler.OnDestroy();
}

FakeControl* FakeView::Find(int id) {
  auto found = controls.find(id);
  return found == controls.end() ? nullptr : &found->second;
}

FakeControl* FakeView::Change(int id) {
  FakeControl* c = Find(id);
  if (!c) host_.missingControls.push_back({templateId, id});
  return c;
}

void FakeView::PlaceControl(int id, const ui::Rect& rect) {
  if (FakeControl* c = Change(id)) c->rect = rect;
}

ui::Rect FakeView::ControlRect(int id) {
  FakeControl* c = Find(id);
  return c ? c->rect : ui::Rect();
}

void FakeView::SetControlFont(int id, ui::Font font) {
  if (FakeControl* c = Change(id)) c->font = font;
}

void FakeView::SetControlText(int id, const std::string& text) {
  if (FakeControl* c = Change(id)) c->text = text;
}

std::string FakeView::ControlText(int id) {
  FakeControl* c = Find(id);
  return c ? c->text : std::string();
}

void FakeView::EnableControl(int id, bool enable) {
  if (FakeControl* c = Change(id)) c->enabled = enable;
}

bool FakeView::IsControlEnabled(int id) {
  FakeControl* c = Find(id);
  return c && c->enabled;
}

void FakeView::ShowControl(int id, bool show) {
  if (FakeControl* c = Change(id)) c->visible = show;
}

bool FakeView::IsControlVisible(int id) {
  FakeControl* c = Find(id);
  return c && c->visible;
}

void FakeView::SetChecked(int id, bool checked) {
  if (FakeControl* c = Change(id)) c->checked = checked;
}

bool FakeView::IsChecked(int id) {
  FakeControl* c = Find(id);
  return c && c->checked;
}

void FakeView::SetButtonBitmap(int id, int resourceId) {
  if (FakeControl* c = Change(id)) c->bitmap = resourceId;
}

void FakeView::FocusControl(int id) {
  Change(id);
  focusedControl = id;
}

void FakeView::ComboClear(int id) {
  if (FakeControl* c = Change(id)) {
    c->items.clear();
    c->selection = -1;
  }
}

int FakeView::ComboAdd(int id, const std::string& text, intptr_t data) {
  FakeControl* c = Change(id);
  if (!c) return -1;
  c->items.emplace_back(text, data);
  return static_cast<int>(c->items.size()) - 1;
}

int FakeView::ComboCount(int id) {
  FakeControl* c = Find(id);
  return c ? static_cast<int>(c->items.size()) : 0;
}

std::string FakeView::ComboText(int id, int index) {
  FakeControl* c = Find(id);
  if (!c || index < 0 || index >= static_cast<int>(c->items.size())) return std::string();
  return c->items[index].first;
}

intptr_t FakeView::ComboData(int id, int index) {
  FakeControl* c = Find(id);
  if (!c || index < 0 || index >= static_cast<int>(c->items.size())) return -1;
  return c->items[index].second;
}

void FakeView::ComboSetData(int id, int index, intptr_t data) {
  FakeControl* c = Find(id);
  if (!c || index < 0 || index >= static_cast<int>(c->items.size())) return;
  c->items[index].second = data;
}

int FakeView::ComboSelection(int id) {
  FakeControl* c = Find(id);
  return c ? c->selection : -1;
}

void FakeView::ComboSelect(int id, int index) {
  FakeControl* c = Change(id);
  if (!c) return;
  c->selection = index >= 0 && index < static_cast<int>(c->items.size()) ? index : -1;
}

void FakeView::ChooseComboEntry(int id, int index, int changeCode) {
  ComboSelect(id, index);
  handler.OnCommand(id, changeCode);
}

void FakeView::Type(int id, const std::string& text) {
  SetControlText(id, text);
  handler.OnCommand(id, ui::EDIT_CHANGED);
}

void FakeView::SetClientSize(int width, int height) {
  clientWidth = width;
  clientHeight = height;
}

void FakeView::SetTimer(int id, uint32_t ms) {
  timers[id] = Timer{ms, host_.Clock().now + ms};
}

intptr_t FakeView::Send(unsigned message, uintptr_t wParam, intptr_t lParam) {
  bool handled = false;
  return handler.OnMessage(message, wParam, lParam, &handled);
}

void FakeView::EndDialog(int code) {
  ended = true;
  result = code;
  visible = false;
}

void FakeView::FocusTabStopNear(int childIndex, bool previous) {
  focusedControl = previous ? -1 - childIndex : 1000000 + childIndex;
}

void FakeView::AppendSystemMenuItem(int commandId, const std::string& text) {
  systemMenu.emplace_back(commandId, text);
}

FakeHost::~FakeHost() = default;

void FakeHost::Unregister(FakeView* view) {
  views.erase(std::remove(views.begin(), views.end(), view), views.end());
}

FakeView* FakeHost::Find(int templateId) {
  for (FakeView* view : views) {
    if (view->templateId == templateId && !view->destroyed) return view;
  }
  return nullptr;
}

int FakeHost::RunModal(int templateId, ui::View* parent, ui::DialogHandler& handler) {
  if (failingTemplates.count(templateId)) return -1;
  FakeView view(*this, templateId, static_cast<FakeView*>(parent), handler);
  view.visible = true;
  handler.OnInit(view);
  auto script = modalScripts.find(templateId);
  if (!view.ended && script != modalScripts.end()) script->second(view);
  int result = view.ended ? view.result : ui::RESULT_CANCEL;
  view.Destroy();
  return result;
}

std::unique_ptr<ui::View> FakeHost::CreateModeless(int templateId, ui::View* parent, bool child,
                                                   ui::DialogHandler& handler) {
  if (failingTemplates.count(templateId)) return nullptr;
  auto view =
      std::make_unique<FakeView>(*this, templateId, static_cast<FakeView*>(parent), handler);
  (void)child;
  handler.OnInit(*view);
  return view;
}

ui::Answer FakeHost::MessageBox(ui::View* owner, const std::string& text,
                                const std::string& caption, ui::Icon icon, ui::Buttons buttons) {
  messages.push_back(ShownMessage{text, caption, icon, buttons, static_cast<FakeView*>(owner)});
  if (onMessage) onMessage(messages.back());
  if (answers.empty()) return ui::Answer::Ok;
  ui::Answer answer = answers.front();
  answers.pop_front();
  return answer;
}

void FakeHost::PumpMessages() {
  ++pumps;
  if (onPump) onPump();
  std::vector<FakeView*> live = views;
  for (FakeView* view : live) {
    if (std::find(views.begin(), views.end(), view) == views.end() || view->destroyed) continue;
    std::vector<int> due;
    for (auto& [id, timer] : view->timers) {
      if (static_cast<int32_t>(clock_.now - timer.due) >= 0) due.push_back(id);
    }
    for (int id : due) {
      auto timer = view->timers.find(id);
      if (timer == view->timers.end()) continue;
      timer->second.due = clock_.now + timer->second.interval;
      view->handler.OnTimer(id);
      if (std::find(views.begin(), views.end(), view) == views.end()) break;
    }
  }
}

bool FakeHost::ShellOpen(ui::View*, const std::string& path) {
  opened.push_back(path);
  return shellOpenResult;
}

bool FakeHost::ChooseFile(ui::View*, const std::string& filter, const std::string& defaultExt,
                          const std::string& initialFolder, std::string* chosen) {
  lastFilter = filter;
  lastDefaultExt = defaultExt;
  lastInitialFolder = initialFolder;
  if (chooseFileResult) *chosen = chosenFile;
  return chooseFileResult;
}

ui::Font FakeHost::CreateFont(const ui::FontDescription& description) {
  ui::Font font = nextFont_++;
  liveFonts[font] = description;
  ++fontsCreated;
  return font;
}

FakeGuideList::~FakeGuideList() {
  host.Unregister(this);
}

void FakeGuideList::CreateItem(int index, int bitmapId, const std::string& title,
                               const std::string& description) {
  if (index >= static_cast<int>(items.size())) items.resize(static_cast<size_t>(index) + 1);
  Item& item = items[static_cast<size_t>(index)];
  item.bitmapId = bitmapId;
  item.title = title;
  item.description = description;
}

void FakeGuideList::PlaceItem(int index, const ui::Rect& button, const ui::Rect&, const ui::Rect&) {
  if (index >= 0 && index < static_cast<int>(items.size())) {
    items[static_cast<size_t>(index)].button = button;
  }
}

void FakeGuideList::EnableItem(int index, bool enable) {
  if (index >= 0 && index < static_cast<int>(items.size())) {
    items[static_cast<size_t>(index)].enabled = enable;
  }
}

void FakeGuideList::ItemChosen(int index) {
  bool handled = false;
  parent.handler.OnMessage(0x702, static_cast<uintptr_t>(index), 0, &handled);
}

void FakeGuideList::Click(int index) {
  // A disabled button gets no mouse input at all.
  if (index < 0 || index >= static_cast<int>(items.size())) return;
  if (!items[static_cast<size_t>(index)].enabled) return;
  events.OnButtonMouseMove(index, true);
  events.OnButtonDown(index);
  events.OnButtonUp(index);
}

std::unique_ptr<ui::GuideListWindows> FakeHost::CreateGuideList(ui::View& parent,
                                                                const ui::Rect& panel,
                                                                const ui::Rect& pane,
                                                                ui::GuideListEvents& events) {
  if (guideListsFail) return nullptr;
  auto list = std::make_unique<FakeGuideList>(*this, static_cast<FakeView&>(parent), events);
  list->panel = panel;
  list->pane = pane;
  guideLists.push_back(list.get());
  return list;
}

void FakeHost::Unregister(FakeGuideList* list) {
  guideLists.erase(std::remove(guideLists.begin(), guideLists.end(), list), guideLists.end());
}

}  // namespace fakes
