// Test stand-ins for the window side: a handler that does nothing and a canvas that records.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/ui.h"

namespace fakes {

class NullHandler : public ui::DialogHandler {
 public:
  bool OnInit(ui::View&) override { return true; }
};

// One drawing call; fields that the call does not have stay 0.
struct PaintOp {
  std::string kind;  // fill, line, text, bitmap, cell, icon
  ui::Rect rect;
  ui::Color color = 0;
  std::string text;
  ui::Font font = 0;
  bool rightAligned = false;
  int resource = 0, cellWidth = 0, index = 0, x = 0, y = 0;
};

class RecordingCanvas : public ui::Canvas {
 public:
  struct TextCall {
    std::string text;
    ui::Rect rect;
    ui::Font font;
    ui::Color color;
    bool rightAligned;
  };

  explicit RecordingCanvas(ui::Rect client = ui::Rect{0, 0, 600, 278}) : client_(client) {}

  ui::Rect ClientRect() override { return client_; }
  void Fill(const ui::Rect& rect, ui::Color color) override {
    fills.emplace_back(rect, color);
    PaintOp op = Op("fill");
    op.rect = rect;
    op.color = color;
    ops.push_back(op);
  }
  void DottedLine(int x1, int y, int x2, ui::Color color) override {
    PaintOp op = Op("line");
    op.rect = ui::Rect{x1, y, x2, y};
    op.color = color;
    ops.push_back(op);
  }
  void Text(const std::string& text, const ui::Rect& rect, ui::Font font,
            ui::Color color) override {
    AddText(text, rect, font, color, false);
  }
  void TextRight(const std::string& text, const ui::Rect& rect, ui::Font font,
                 ui::Color color) override {
    AddText(text, rect, font, color, true);
  }
  void Bitmap(int resourceId, int x, int y) override {
    PaintOp op = Op("bitmap");
    op.resource = resourceId;
    op.x = x;
    op.y = y;
    ops.push_back(op);
  }
  void StripCell(int resourceId, int cellWidth, ui::Color transparent, int index, int x,
                 int y) override {
    PaintOp op = Op("cell");
    op.color = transparent;
    op.resource = resourceId;
    op.cellWidth = cellWidth;
    op.index = index;
    op.x = x;
    op.y = y;
    ops.push_back(op);
  }
  void Icon(int resourceId, int x, int y) override {
    PaintOp op = Op("icon");
    op.resource = resourceId;
    op.x = x;
    op.y = y;
    ops.push_back(op);
  }

  std::vector<PaintOp> ops;
  std::vector<std::pair<ui::Rect, ui::Color>> fills;
  std::vector<TextCall> texts;

 private:
  static PaintOp Op(const std::string& kind) {
    PaintOp op;
    op.kind = kind;
    return op;
  }
  void AddText(const std::string& text, const ui::Rect& rect, ui::Font font, ui::Color color,
               bool right) {
    texts.push_back({text, rect, font, color, right});
    PaintOp op = Op("text");
    op.text = text;
    op.rect = rect;
    op.font = font;
    op.color = color;
    op.rightAligned = right;
    ops.push_back(op);
  }

  ui::Rect client_;
};

}  // namespace fakes
