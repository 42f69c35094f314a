// A stand-in main window until the real frame lands: title, icon, header and the start page
// shown from its template; a close request ends it without asking.
#pragma once

#include <memory>

#include "shell/tool_app.h"

namespace programs {

class PlaceholderWindow : public shell::MainFrame {
 public:
  explicit PlaceholderWindow(shell::ToolApp& app);
  ~PlaceholderWindow() override;

  int TemplateId() const override;
  bool OnInit(ui::View& view) override;
  void OnPaint(ui::Canvas& canvas) override;
  bool OnKeyDown(int key, bool shift) override;
  void OnClose() override;
  void OnDrawItem(int controlId, int index, bool selected, bool inSelectionField,
                  ui::Canvas& canvas, const ui::Rect& rect) override;
  void OnDestroy() override;
  bool WhiteBackground() override { return true; }

 private:
  // The start page's template with nothing behind it.
  class BlankPage : public ui::DialogHandler {
   public:
    bool OnInit(ui::View&) override { return false; }
    void OnPaint(ui::Canvas& canvas) override { canvas.Fill(canvas.ClientRect(), ui::WHITE); }
    bool WhiteBackground() override { return true; }
  };

  void ShowStartPage(ui::View& view);

  shell::ToolApp& app_;
  ui::View* view_ = nullptr;
  const shell::PageEntry* startPage_ = nullptr;
  BlankPage pageHandler_;  // outlives page_
  std::unique_ptr<ui::View> page_;
};

}  // namespace programs
