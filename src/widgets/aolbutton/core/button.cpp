#include "widgets/aolbutton/core/button.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "base/core/text.h"

namespace iv::aolbutton {

// ---- Property bag ----

void PropertyBag::Write(std::string_view name, Value value) {
  const std::string key = ToLowerAscii(name);
  if (!values_.count(key)) order_.emplace_back(name);
  values_[key] = std::move(value);
}

const PropertyBag::Value* PropertyBag::Find(std::string_view name) const {
  const auto it = values_.find(ToLowerAscii(name));
  return it == values_.end() ? nullptr : &it->second;
}

void PropertyBag::Erase(std::string_view name) {
  if (!values_.erase(ToLowerAscii(name))) return;
  std::erase_if(order_, [&](const std::string& n) { return EqualsNoCase(n, name); });
}

namespace {

// A whole decimal number, nothing before or after it.
std::optional<int64_t> ParseInteger(const std::string& text) {
  const std::string t = Trim(text);
  if (t.empty()) return std::nullopt;
  char* end = nullptr;
  const long long v = std::strtoll(t.c_str(), &end, 10);
  if (*end != '\0') return std::nullopt;
  return v;
}

std::optional<int64_t> AsNumber(const PropertyBag::Value& v) {
  if (const auto* i = std::get_if<int64_t>(&v)) return *i;
  if (const auto* b = std::get_if<bool>(&v)) return *b ? -1 : 0;
  if (const auto* s = std::get_if<std::string>(&v)) return ParseInteger(*s);
  return std::nullopt;
}

std::optional<bool> AsBool(const PropertyBag::Value& v) {
  if (const auto* s = std::get_if<std::string>(&v)) {
    if (EqualsNoCase(*s, "true")) return true;
    if (EqualsNoCase(*s, "false")) return false;
  }
  if (auto n = AsNumber(v)) return *n != 0;
  return std::nullopt;
}

std::optional<std::string> AsText(const PropertyBag::Value& v) {
  if (const auto* s = std::get_if<std::string>(&v)) return *s;
  if (const auto* i = std::get_if<int64_t>(&v)) return std::to_string(*i);
  if (const auto* b = std::get_if<bool>(&v)) return *b ? "True" : "False";
  return std::nullopt;
}

// Missing keys give the default; entries of the wrong kind leave the field alone.
template <typename T, typename Conv>
void ReadInto(const PropertyBag& bag, std::string_view key, T def, T& field, Conv conv) {
  const PropertyBag::Value* v = bag.Find(key);
  if (!v) {
    field = def;
    return;
  }
  if (auto got = conv(*v)) field = static_cast<T>(*got);
}

}  // namespace

// ---- Lifecycle and persistence ----

void Button::InitNew(const std::string& instanceName) {
  holdFont_ = Font{"MS Sans Serif", 8.25f};
  caption_ = instanceName;
  buttonStyle_ = 0;
  buttonShadow_ = true;
  backColor_ = surfaceBack_ = kAolBack;
  backColorClick_ = kAolBackClick;
  borderLight_ = kAolBorderLight;
  borderDark_ = kAolBorderDark;
  surfaceFore_ = kAolFore;
  focusBorder_ = kAolFocus;
  focusBorderClicked_ = kAolFocusClicked;
  aolStyle_ = true;
  focusInverseColor_ = false;
  SetEnabled(true);
  autoBorderLighten_ = false;
  drawFocusRect_ = true;
  holdFont_.name = surfaceFont_.name;
}

void Button::WriteProperties(PropertyBag& bag) const {
  bag.Write("Caption", caption_);
  bag.Write("ButtonStyle", int64_t{buttonStyle_});
  bag.Write("ButtonShadow", buttonShadow_);
  bag.Write("BackColor", int64_t{backColor_});
  bag.Write("BackColorClick", int64_t{backColorClick_});
  bag.Write("BorderLight", int64_t{borderLight_});
  bag.Write("BorderDark", int64_t{borderDark_});
  bag.Write("Focus", int64_t{focusBorder_});
  bag.Write("FocusClick", int64_t{focusBorderClicked_});
  bag.Write("ForeColor", int64_t{surfaceFore_});
  bag.Write("Font", holdFont_);
  bag.Write("AOLStyle", aolStyle_);
  bag.Write("FocusInverseColor", focusInverseColor_);
  bag.Write("AutoBorderLighten", autoBorderLighten_);
  bag.Write("DrawFocusRect", drawFocusRect_);
  if (!enabled_) bag.Write("Enabled", false);
}

void Button::ReadProperties(const PropertyBag& bag, const std::string& instanceName) {
  if (const auto* v = bag.Find("Font"))
    if (const auto* f = std::get_if<Font>(v)) SetFont(*f);
  ReadInto(bag, "Caption", instanceName, caption_, AsText);
  ReadInto<int32_t>(bag, "ButtonStyle", 1, buttonStyle_, AsNumber);
  ReadInto(bag, "ButtonShadow", true, buttonShadow_, AsBool);
  ReadInto<Color>(bag, "BackColor", 0xAA6D00, backColor_, AsNumber);
  surfaceBack_ = backColor_;
  ReadInto<Color>(bag, "BackColorClick", kAolBackClick, backColorClick_, AsNumber);
  ReadInto<Color>(bag, "BorderLight", kAolBorderLight, borderLight_, AsNumber);
  ReadInto<Color>(bag, "BorderDark", 0, borderDark_, AsNumber);
  ReadInto<Color>(bag, "Focus", 0x5894FF, focusBorder_, AsNumber);
  ReadInto<Color>(bag, "FocusClick", 0xFFFF88, focusBorderClicked_, AsNumber);
  ReadInto<Color>(bag, "ForeColor", kAolFore, surfaceFore_, AsNumber);
  // Saved as "FocusInverseColor" but read from a key that is never written, so a
  // restored button never re-derives its focus colours behind the saved ones.
  ReadInto(bag, "holdFocusInverseColor", false, focusInverseColor_, AsBool);
  ReadInto(bag, "AOLStyle", true, aolStyle_, AsBool);
  ReadInto(bag, "AutoBorderLighten", false, autoBorderLighten_, AsBool);
  ReadInto(bag, "DrawFocusRect", true, drawFocusRect_, AsBool);
  bool enabled = enabled_;
  ReadInto(bag, "Enabled", true, enabled, AsBool);
  SetEnabled(enabled);
  PaintButton();
}

// ---- Properties ----

void Button::SetCaption(const std::string& caption) {
  caption_ = caption;
  Notify("Caption");
  PaintButton();
}

void Button::SetGlyph(Glyph glyph) {
  glyph_ = glyph;
  Notify("Glyph");
  PaintButton();
}

void Button::SetButtonStyle(int32_t style) {
  buttonStyle_ = style;
  Notify("ButtonStyle");
  PaintButton();
}

void Button::SetDrawFocusRect(bool on) {
  if (!on) SetAOLStyle(false);
  drawFocusRect_ = on;
  Notify("DrawFocusRect");
  PaintButton();
}

void Button::SetButtonShadow(bool on) {
  buttonShadow_ = on;
  Notify("ButtonShadow");
  PaintButton();
}

void Button::SetBackColor(Color c) {
  if (c != kAolBack) SetAOLStyle(false);
  backColor_ = c;
  Notify("BackColor");
  surfaceBack_ = c;
  if (focusInverseColor_) SetFocusInverseColor(true);
  if (autoBorderLighten_) SetAutoBorderLighten(true);
  PaintButton();
}

void Button::SetBackColorClick(Color c) {
  if (c != kAolBackClick) SetAOLStyle(false);
  backColorClick_ = c;
  Notify("BackColorClick");
  if (focusInverseColor_) SetFocusInverseColor(true);
  PaintButton();
}

void Button::SetBorderLight(Color c) {
  if (c != kAolBorderLight) SetAOLStyle(false);
  if (autoBorderLighten_) return;  // derived from the face colour instead
  borderLight_ = c;
  Notify("BorderLight");
  PaintButton();
}

// A colour of the scheme: any value but the built-in one ends the built-in look.
void Button::SetSchemeColor(Color& field, Color c, Color builtIn, std::string_view name) {
  if (c != builtIn) SetAOLStyle(false);
  field = c;
  Notify(name);
  PaintButton();
}

void Button::SetBorderDark(Color c) { SetSchemeColor(borderDark_, c, kAolBorderDark, "BorderDark"); }

void Button::SetForeColor(Color c) { SetSchemeColor(surfaceFore_, c, kAolFore, "ForeColor"); }

void Button::SetFocusBorder(Color c) { SetSchemeColor(focusBorder_, c, kAolFocus, "Focus"); }

void Button::SetFocusBorderClicked(Color c) {
  SetSchemeColor(focusBorderClicked_, c, kAolFocusClicked, "FocusClick");
}

void Button::SetFocusInverseColor(bool on) {
  if (on) {
    SetAOLStyle(false);
    focusBorder_ = InverseColor(backColor_);
    focusBorderClicked_ = DarkenColor(InverseColor(backColorClick_), 0.35f);
  }
  focusInverseColor_ = on;
  Notify("FocusInverseColor");
  PaintButton();
}

void Button::SetAutoBorderLighten(bool on) {
  if (on) {
    SetAOLStyle(false);
    borderLight_ = LightenColor(backColor_, 0.25f);
  }
  autoBorderLighten_ = on;
  Notify("AutoBorderLighten");
  PaintButton();
}

void Button::SetFont(const Font& font) {
  holdFont_ = font;
  surfaceFont_ = font;
  PaintButton();
  Refresh();
  Notify("Font");
}

void Button::SetAOLStyle(bool on) {
  aolStyle_ = on;
  Notify("AOLStyle");
  if (!on) return;
  backColor_ = surfaceBack_ = kAolBack;
  backColorClick_ = kAolBackClick;
  borderLight_ = kAolBorderLight;
  borderDark_ = kAolBorderDark;
  surfaceFore_ = kAolFore;
  focusBorder_ = kAolFocus;
  focusBorderClicked_ = kAolFocusClicked;
  holdFont_.name = surfaceFont_.name;
  aolStyle_ = true;
  focusInverseColor_ = false;
  SetAutoBorderLighten(false);
  drawFocusRect_ = true;
  PaintButton();
}

void Button::SetEnabled(bool on) {
  enabled_ = on;
  surface_.SetEnabled(on);
  PaintButton();
  Notify("Enabled");
}

void Button::Refresh() {
  surface_.Refresh();
  Resized();
}

void Button::Resized() {
  // Outside design mode a resize keeps the picture, which is what lets a press
  // sink the existing drawing onto the shadow.
  if (surface_.DesignMode()) PaintButton();
  surface_.Refresh();
}

// ---- Drawing ----

void Button::Fill(int x1, int y1, int x2, int y2, Color c) {
  DrawOp op;
  op.kind = DrawOp::Kind::Fill;
  op.x1 = x1, op.y1 = y1, op.x2 = x2, op.y2 = y2, op.color = c;
  surface_.Draw(op);
}

void Button::Point(int x, int y, Color c) {
  DrawOp op;
  op.kind = DrawOp::Kind::Point;
  op.x1 = op.x2 = x, op.y1 = op.y2 = y, op.color = c;
  surface_.Draw(op);
}

void Button::PaintButton() {
  const int w = FaceWidth(), h = FaceHeight();
  DrawOp clear;
  clear.color = surfaceBack_;
  surface_.Draw(clear);

  const Color far = buttonStyle_ != 0 ? borderLight_ : borderDark_;
  Fill(0, 0, w, 0, borderLight_);
  Fill(0, 0, 0, h, borderLight_);
  Fill(0, h - 15, w, h - 15, far);
  Fill(w - 15, 0, w - 15, h, far);

  const bool sunk = buttonStyle_ == 1 && mouseDown_ && insideReported_;
  if (!sunk && buttonShadow_) {
    const std::optional<Color> container = surface_.ContainerBackColor();
    const Color g128 = 0x808080, g160 = 0xA0A0A0, g192 = 0xC0C0C0;
    if (container) Fill(w, 0, w + 30, 75, *container);
    Fill(w, 75, w, h + 15, g128);
    Fill(w + 15, 75, w + 15, h + 30, g160);
    Fill(w + 30, 75, w + 30, h + 45, g192);
    if (container) Fill(0, h, 75, h + 30, *container);
    Fill(75, h, w, h + 15, g128);
    Fill(75, h + 15, w + 15, h + 30, g160);
    Fill(75, h + 30, w + 30, h + 45, g192);
  }

  if (!enabled_) {
    const int m = buttonShadow_ ? 75 : 30;
    bool firstKind = true;
    for (int x = 0; x <= surface_.Width() - m; x += 15, firstKind = !firstKind)
      for (int y = firstKind ? 0 : 15; y <= surface_.Height() - m; y += 30) Point(x, y, 0xFFFFFF);
  }

  if (glyph_ == Glyph::None)
    DrawCaption(w, h);
  else
    DrawArrow(w, h);
}

void Button::DrawCaption(int w, int h) {
  float tw = 0, th = 0;
  surface_.TextExtent(caption_, surfaceFont_, tw, th);
  DrawOp text;
  text.kind = DrawOp::Kind::Text;
  text.textX = static_cast<float>(w) / 2 - tw / 2;
  text.textY = static_cast<float>(h) / 2 - th / 2;
  text.text = caption_;
  text.color = surfaceFore_;
  surface_.Draw(text);
}

// A solid triangle in the caption's colour, centred on the face, one pixel row at a
// time: rows grow by a pixel each side, so the edges stay crisp at any size.
void Button::DrawArrow(int w, int h) {
  constexpr int px = kTwipsPerPixel;
  const int rows = std::clamp(std::min(w, h) / px / 4, 2, 8);
  const int cx = (w / px) / 2 * px, top = ((h / px) - rows) / 2 * px;
  for (int i = 0; i < rows; ++i) {
    const int half = glyph_ == Glyph::ArrowUp ? i : rows - 1 - i;
    Fill(cx - half * px, top + i * px, cx + half * px, top + i * px, surfaceFore_);
  }
}

void Button::DrawDots(Color color) {
  if (!drawFocusRect_) return;
  const int w = FaceWidth(), h = FaceHeight();
  for (int x = 75; x <= w - 60; x += 30) {
    Point(x, 45, color);
    Point(x, h - 45, color);
  }
  for (int y = 45; y <= h - 45; y += 30) {
    Point(45, y, color);
    Point(w - 45, y, color);
  }
}

void Button::FloatDown() {
  floated_ = true;
  DrawFocusDots();
  surface_.MoveBy(45, 45, buttonShadow_ ? -45 : 0, buttonShadow_ ? -45 : 0);
}

void Button::Unfloat() {
  surface_.MoveBy(-45, -45, buttonShadow_ ? 45 : 0, buttonShadow_ ? 45 : 0);
  floated_ = false;
}

// ---- Input ----

void Button::MouseDown(int16_t button, int16_t shift, float x, float y) {
  EventArgs a{button, shift, x, y};
  Raise(Event::MouseDown, a);
  if (spaceDown_) return;
  if (a.button >= 1 && a.button <= 5) lastButton_ = static_cast<uint8_t>(a.button);
  if (a.button != 1) return;
  mouseDown_ = true;
  surface_.SetCapture();
  if (buttonStyle_ != 0) {
    FloatDown();
  } else {
    surfaceBack_ = backColorClick_;
    PaintButton();
    DrawFocusDotsClicked();
  }
}

void Button::MouseMove(int16_t button, int16_t /*shift*/, float x, float y) {
  if (button != 1 || !surface_.HasCapture()) return;
  const float width = static_cast<float>(surface_.Width()), height = static_cast<float>(surface_.Height());
  const bool outside = x < 0 || y < 0 || x > width || y > height;
  if (outside) {
    // A sunk button still owns the strip it moved away from.
    if (floated_ && x >= -45 && y >= -45 && x <= width && y <= height) return;
    if (!leftReported_) {
      leftReported_ = true;
      insideReported_ = false;
      EventArgs a;
      Raise(Event::MouseLeave, a);
    }
    if (wasOutside_) return;
    wasOutside_ = true;
    if (buttonStyle_ != 0) Unfloat();
    else surfaceBack_ = backColor_;
    PaintButton();
    DrawFocusDots();
    surface_.SetCapture();
  } else {
    if (!wasOutside_) return;
    if (!insideReported_) {
      insideReported_ = true;
      leftReported_ = false;
      EventArgs a;
      Raise(Event::MouseEnter, a);
    }
    wasOutside_ = false;
    if (buttonStyle_ == 0) {
      surfaceBack_ = backColorClick_;
      PaintButton();
      DrawFocusDotsClicked();
    } else if (!floated_) {
      FloatDown();
    }
    surface_.SetCapture();
  }
}

void Button::MouseUp(int16_t button, int16_t shift, float x, float y) {
  EventArgs a{button, shift, x, y};
  Raise(Event::MouseUp, a);
  // A release without a press here (pressed elsewhere) is no click, like a push button's.
  if (a.button == 1) clickArmed_ = false;
  if (a.button != 1 || spaceDown_ || !mouseDown_) return;
  // A sunk button still owns the strip it moved away from.
  const int edge = floated_ ? -45 : 0;
  clickArmed_ = a.x >= edge && a.y >= edge && a.x <= surface_.Width() && a.y <= surface_.Height();
  mouseDown_ = leftReported_ = insideReported_ = false;
  if (buttonStyle_ == 0) {
    surfaceBack_ = backColor_;
  } else if (floated_) {
    Unfloat();
  }
  PaintButton();
  DrawFocusDots();
}

void Button::PlatformClick() {
  if (lastButton_ != 1 || !std::exchange(clickArmed_, false)) return;
  EventArgs a;
  Raise(Event::Click, a);
}

void Button::PlatformDblClick() {
  if (lastButton_ != 1) return;
  EventArgs a;
  Raise(Event::DblClick, a);
  MouseDown(1, 0, 0, 0);
}

void Button::KeyDown(int16_t keyCode, int16_t shift) {
  EventArgs a;
  a.keyCode = keyCode, a.shift = shift;
  Raise(Event::KeyDown, a);
  if (mouseDown_ || spaceDown_ || a.keyCode != 32) return;
  MouseDown(1, 0, 0, 0);
  mouseDown_ = false;
  surface_.ReleaseCapture();
  spaceDown_ = true;
}

void Button::KeyUp(int16_t keyCode, int16_t shift) {
  EventArgs a;
  a.keyCode = keyCode, a.shift = shift;
  Raise(Event::KeyUp, a);
  if (mouseDown_ || a.keyCode != 32 || !spaceDown_) return;
  mouseDown_ = true;
  spaceDown_ = false;
  MouseUp(1, 0, 0, 0);
  clickArmed_ = false;  // the space bar's click is raised here
  surface_.SetHandPointer();
  EventArgs click;
  Raise(Event::Click, click);
}

void Button::KeyPress(int16_t keyAscii) {
  EventArgs a;
  a.keyAscii = keyAscii;
  Raise(Event::KeyPress, a);
  if (spaceDown_ || mouseDown_ || a.keyAscii != 13) return;
  spaceDown_ = false;
  EventArgs click;
  Raise(Event::Click, click);
}

void Button::GotFocus() {
  if (!mouseDown_) DrawFocusDots();
}

void Button::ExitFocus() { PaintButton(); }

void Button::LostFocus() {
  KeyUp(32, 0);
  MouseUp(1, 0, 0, 0);
  clickArmed_ = false;  // a press cut short by the focus moving away is no click
  PaintButton();
}

}  // namespace iv::aolbutton
