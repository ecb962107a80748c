// The custom push button: its properties and colour scheme, how they are saved
// and read back, and how mouse, keyboard and focus input turn into its events
// and into drawing operations on its surface. Lengths are twips (15 to a pixel).
#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "widgets/aolbutton/core/colors.h"

namespace iv::aolbutton {

inline constexpr int kTwipsPerPixel = 15;

// The built-in colour scheme.
inline constexpr Color kAolBack = 0xAA6D01;
inline constexpr Color kAolBackClick = 0x8000000D;
inline constexpr Color kAolBorderLight = 0xFFB691;
inline constexpr Color kAolBorderDark = 0;
inline constexpr Color kAolFore = 0xFFFFFF;
inline constexpr Color kAolFocus = 0x5592FE;
inline constexpr Color kAolFocusClicked = 0x95DBF5;

struct Font {
  std::string name = "Tahoma";
  float size = 8.25f;
  bool bold = false, italic = false, underline = false, strikethrough = false;
  bool operator==(const Font&) const = default;
};

// A picture drawn in place of the caption; the caption stays the window's text.
enum class Glyph { None, ArrowUp, ArrowDown };

enum class Event { MouseDown = 1, MouseUp, MouseEnter, MouseLeave, Click, DblClick, KeyDown, KeyUp, KeyPress };

// Event arguments; handlers may change them and the button goes on with the change.
struct EventArgs {
  int16_t button = 0, shift = 0;
  float x = 0, y = 0;
  int16_t keyCode = 0, keyAscii = 0;
};

// One drawing step. Rectangles include both corners; a Clear fills the surface.
struct DrawOp {
  enum class Kind { Clear, Fill, Point, Text } kind = Kind::Clear;
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  Color color = 0;
  float textX = 0, textY = 0;
  std::string text;
  bool operator==(const DrawOp&) const = default;
};

// What the button needs from its window and from the window that hosts it.
class Surface {
 public:
  virtual ~Surface() = default;
  virtual int Width() const = 0;  // twips, as placed in the container
  virtual int Height() const = 0;
  virtual std::optional<Color> ContainerBackColor() const = 0;
  virtual void TextExtent(const std::string& text, const Font& font, float& width, float& height) const = 0;
  virtual void Draw(const DrawOp& op) = 0;
  virtual void SetCapture() = 0;
  virtual void ReleaseCapture() = 0;
  virtual bool HasCapture() const = 0;
  virtual void MoveBy(int dx, int dy, int dw, int dh) = 0;
  virtual void SetEnabled(bool enabled) = 0;  // disabling also releases the capture
  virtual void SetHandPointer() {}
  virtual void Refresh() {}
  virtual bool DesignMode() const { return false; }
  virtual void PropertyChanged(std::string_view /*name*/) {}
  virtual void Raise(Event event, EventArgs& args) = 0;
};

// Saved properties: names compared without regard to case, kept in write order.
class PropertyBag {
 public:
  using Value = std::variant<bool, int64_t, std::string, Font>;
  void Write(std::string_view name, Value value);
  const Value* Find(std::string_view name) const;
  void Erase(std::string_view name);
  const std::vector<std::string>& Names() const { return order_; }

 private:
  std::map<std::string, Value> values_;  // lower-case names
  std::vector<std::string> order_;
};

class Button {
 public:
  explicit Button(Surface& surface) : surface_(surface) {}

  // A button placed for the first time; the instance name becomes its caption.
  void InitNew(const std::string& instanceName);
  void ReadProperties(const PropertyBag& bag, const std::string& instanceName);
  void WriteProperties(PropertyBag& bag) const;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  int32_t ButtonStyle() const { return buttonStyle_; }
  void SetButtonStyle(int32_t style);
  bool DrawFocusRect() const { return drawFocusRect_; }
  void SetDrawFocusRect(bool on);
  bool ButtonShadow() const { return buttonShadow_; }
  void SetButtonShadow(bool on);
  Color BackColor() const { return surfaceBack_; }
  void SetBackColor(Color c);
  Color BackColorClick() const { return backColorClick_; }
  void SetBackColorClick(Color c);
  Color BorderLight() const { return borderLight_; }
  void SetBorderLight(Color c);
  Color BorderDark() const { return borderDark_; }
  void SetBorderDark(Color c);
  Color ForeColor() const { return surfaceFore_; }
  void SetForeColor(Color c);
  Color FocusBorder() const { return focusBorder_; }
  void SetFocusBorder(Color c);
  Color FocusBorderClicked() const { return focusBorderClicked_; }
  void SetFocusBorderClicked(Color c);
  bool FocusInverseColor() const { return focusInverseColor_; }
  void SetFocusInverseColor(bool on);
  bool AutoBorderLighten() const { return autoBorderLighten_; }
  void SetAutoBorderLighten(bool on);
  const Font& GetFont() const { return holdFont_; }
  const Font& SurfaceFont() const { return surfaceFont_; }
  void SetFont(const Font& font);
  // Set by code at run time, like the caption; not among the saved properties.
  Glyph GetGlyph() const { return glyph_; }
  void SetGlyph(Glyph glyph);
  bool AOLStyle() const { return aolStyle_; }
  void SetAOLStyle(bool on);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on);
  void Refresh();
  void FloatDown();

  // Input from the platform. Positions are twips relative to the surface.
  void MouseDown(int16_t button, int16_t shift, float x, float y);
  void MouseMove(int16_t button, int16_t shift, float x, float y);
  void MouseUp(int16_t button, int16_t shift, float x, float y);
  void PlatformClick();
  void PlatformDblClick();
  void KeyDown(int16_t keyCode, int16_t shift);
  void KeyUp(int16_t keyCode, int16_t shift);
  void KeyPress(int16_t keyAscii);
  void GotFocus();
  void ExitFocus();
  void LostFocus();
  void AmbientBackColorChanged() { PaintButton(); }
  void Resized();

  void PaintButton();
  void SetSchemeColor(Color& field, Color c, Color builtIn, std::string_view name);
  void DrawFocusDots() { DrawDots(focusBorder_); }
  void DrawFocusDotsClicked() { DrawDots(focusBorderClicked_); }

  // A press by mouse or space bar is in progress.
  bool Pressed() const { return mouseDown_ || spaceDown_; }
  bool Floated() const { return floated_; }

 private:
  void Notify(std::string_view name) { surface_.PropertyChanged(name); }
  void Raise(Event e, EventArgs& a) { surface_.Raise(e, a); }
  void Unfloat();
  void DrawDots(Color color);
  void DrawCaption(int w, int h);
  void DrawArrow(int w, int h);
  void Fill(int x1, int y1, int x2, int y2, Color c);
  void Point(int x, int y, Color c);
  int FaceWidth() const { return buttonShadow_ ? surface_.Width() - 45 : surface_.Width(); }
  int FaceHeight() const { return buttonShadow_ ? surface_.Height() - 45 : surface_.Height(); }

  Surface& surface_;
  uint8_t lastButton_ = 0;
  std::string caption_;
  Glyph glyph_ = Glyph::None;
  int32_t buttonStyle_ = 0;
  bool buttonShadow_ = true;
  bool enabled_ = true;
  Color backColorClick_ = kAolBackClick;
  Color borderLight_ = kAolBorderLight;
  Color backColor_ = kAolBack;
  Color borderDark_ = kAolBorderDark;
  Color focusBorder_ = kAolFocus;
  Color focusBorderClicked_ = kAolFocusClicked;
  bool aolStyle_ = true;
  bool wasOutside_ = false;
  bool floated_ = false;
  bool leftReported_ = false, insideReported_ = false;
  bool mouseDown_ = false;
  // The last left release ended a press on the button, over it: the platform's click
  // that follows is this press's click.
  bool clickArmed_ = false;
  bool drawFocusRect_ = true;
  bool spaceDown_ = false;
  bool focusInverseColor_ = false;
  bool autoBorderLighten_ = false;
  Font holdFont_;
  // The surface's own state.
  Color surfaceBack_ = kAolBack;
  Color surfaceFore_ = kAolFore;
  Font surfaceFont_;
};

}  // namespace iv::aolbutton
