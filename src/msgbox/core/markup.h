// The markup of message texts and its layout onto the message area.
// "~b", "~i", "~u" toggle bold, italic and underline; "~c#RRGGBB" sets the colour;
// "~n" breaks the line; the letter is compared without case. Any other letter, or a
// tilde at the very end, ends the drawing. Lengths are twips.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace iv::msgbox {

struct FontFlags {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool operator==(const FontFlags&) const = default;
  int Index() const { return (bold ? 1 : 0) | (italic ? 2 : 0) | (underline ? 4 : 0); }  // 0..7
};

// Colour value: red + 256 * green + 65536 * blue (the layout of a COLORREF).
using Colour = std::uint32_t;

// Six characters RRGGBB to a colour. Each pair is read as a leading hexadecimal
// number ("1Z" is 1, "GG" is 0); with fewer than six characters the pairs are the
// first two, the third and fourth, and the last two of what there is.
Colour HexToRGB(std::string_view digits);

// How the layout measures text; the Win32 layer measures with GDI, tests with fakes.
class Measurer {
 public:
  virtual ~Measurer() = default;
  virtual double TextWidth(std::string_view utf8, FontFlags font) = 0;  // twips
  virtual double LineHeight(FontFlags font) = 0;                        // twips
};

inline constexpr int kMarginWithIcon = 750;
inline constexpr int kMarginWithoutIcon = 90;
inline constexpr int kAreaWidth = 5355;
inline constexpr int kAreaHeight = 540;
inline constexpr int kLineGrowth = 240;
inline constexpr int kTopY = 60;

struct AreaGeometry {
  int leftMargin = kMarginWithoutIcon;
  int width = kAreaWidth;
  int height = kAreaHeight;  // height before the layout
  int iconBottom = 0;        // top + height of the icon image in the window, 0 without one
};

// Text drawn in one font and colour on one line, starting at (x, y) of the area.
struct TextRun {
  std::string text;  // UTF-8
  FontFlags font;
  Colour colour = 0;
  double x = 0;
  double y = 0;
  double width = 0;
  int line = 0;  // 0 for the first line
};

struct Layout {
  std::vector<TextRun> runs;
  int height = kAreaHeight;  // final height of the message area
};

// Lays the message out once, word-wrapping at spaces only. A word that would reach
// within 30 twips of the right edge moves to the next line; a word longer than the
// line is never broken. CR, LF and CR LF break the line like "~n".
Layout LayoutMessage(std::string_view message, const AreaGeometry& area, Measurer& measurer);

// The message as plain text, without its codes ("~n" becomes "\n"), up to where the
// drawing would stop. Given to screen readers as the message area's text.
std::string PlainText(std::string_view message);

}  // namespace iv::msgbox
