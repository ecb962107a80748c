// Colour fade of a text into HTML font tags, and the colour cycle of the
// promotion button that is derived from it. Pure text processing.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace iv::fader {

// Red in the low byte: red + 256 * green + 65536 * blue.
using Color = int32_t;

// The value in upper-case hexadecimal, zero-padded to at least six digits.
std::string HexColor6(Color c);

// Components read from the digits of HexColor6: red the last two, green the
// middle two of the first four, blue the first two.
void ColorToRGB(Color c, uint8_t& red, uint8_t& green, uint8_t& blue);

// "RRGGBB" back to a colour value; a pair that is not hexadecimal reads as 0.
Color HtmlToColor(std::string_view rrggbb);

// Finds the first smiley of the table anywhere in the window, removes every
// occurrence of it and reports true. Works on code points (UTF-32).
bool HasSmiley(std::u32string& window);

// Takes the colour tags out of a just-completed smiley so it keeps the colour
// of its first character. 'copy' is the window before HasSmiley changed it.
std::u32string UnsplitSmiley(std::u32string output, std::u32string copy);

// The text with a colour tag before every step-th character (every character
// for step <= 1), colours interpolated over the list. Fewer than two colours
// or an empty text give an empty result. UTF-8 in and out.
std::string FadeText(std::string_view text, const std::vector<Color>& colors, int step);

// The 101 colours of the promotion cycle: 0, then 100 steps fading
// black, blue, black, red, black.
std::vector<Color> BuildAdColors();

// The counter of the colour cycle timer: each tick gives the colour to show, or
// nothing on the one resting tick when the counter wraps back to 0.
class AdCycle {
 public:
  explicit AdCycle(std::vector<Color> colors) : colors_(std::move(colors)) {}
  std::optional<Color> Tick();
  int counter() const { return counter_; }

 private:
  std::vector<Color> colors_;
  int counter_ = 0;
};

}  // namespace iv::fader
