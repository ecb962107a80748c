// A surface that records what the button does to it.
#pragma once
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "widgets/aolbutton/core/button.h"

namespace iv::aolbutton {

struct FakeSurface : Surface {
  int width = 1500, height = 450;  // 100 x 30 pixels
  std::optional<Color> container = 0xC0C0C0;
  bool capture = false, enabled = true, handPointer = false;
  int refreshes = 0;
  std::vector<DrawOp> ops;
  std::vector<Event> events;
  std::vector<std::string> changed;
  std::vector<std::array<int, 4>> moves;
  // Lets a test change the arguments of the next event like a handler would.
  std::function<void(Event, EventArgs&)> handler;

  int Width() const override { return width; }
  int Height() const override { return height; }
  std::optional<Color> ContainerBackColor() const override { return container; }
  void TextExtent(const std::string& text, const Font&, float& w, float& h) const override {
    w = static_cast<float>(text.size() * 90);
    h = 195;
  }
  void Draw(const DrawOp& op) override { ops.push_back(op); }
  void Refresh() override { ++refreshes; }
  void SetCapture() override { capture = true; }
  void ReleaseCapture() override { capture = false; }
  bool HasCapture() const override { return capture; }
  void MoveBy(int dx, int dy, int dw, int dh) override {
    moves.push_back({dx, dy, dw, dh});
    width += dw;
    height += dh;
  }
  void SetEnabled(bool on) override {
    enabled = on;
    if (!on) capture = false;
  }
  void SetHandPointer() override { handPointer = true; }
  void PropertyChanged(std::string_view name) override { changed.emplace_back(name); }
  void Raise(Event e, EventArgs& a) override {
    events.push_back(e);
    if (handler) handler(e, a);
  }

  void Forget() {
    ops.clear();
    events.clear();
    changed.clear();
    moves.clear();
  }
  // The colour of the surface clear in the last PaintButton, or nullopt.
  std::optional<Color> LastClear() const {
    for (auto it = ops.rbegin(); it != ops.rend(); ++it)
      if (it->kind == DrawOp::Kind::Clear) return it->color;
    return std::nullopt;
  }
  size_t CountPoints(Color c) const {
    size_t n = 0;
    for (const DrawOp& op : ops) n += op.kind == DrawOp::Kind::Point && op.color == c;
    return n;
  }
  bool HasFill(int x1, int y1, int x2, int y2, Color c) const {
    for (const DrawOp& op : ops)
      if (op.kind == DrawOp::Kind::Fill && op.x1 == x1 && op.y1 == y1 && op.x2 == x2 && op.y2 == y2 &&
          op.color == c)
        return true;
    return false;
  }
};

}  // namespace iv::aolbutton
