#include "widgets/aolbutton/core/colors.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "base/core/text.h"

namespace iv::aolbutton {
namespace {

int Nearest(double v) { return static_cast<int>(RoundHalfEven(v)); }

// The component readers keep their historic masks: green also takes bit 24.
int64_t Red(Color c) { return c & 0xFF; }
int64_t Green(Color c) { return (c & 0x100FF00) / 256; }
int64_t Blue(Color c) { return (c & 0xFF0000) / 65536; }

// A full-scale 240 reads as 255.5, which rounds to 256 and would spill into the
// next component: keep it within the byte.
int Component(int hlsValue) { return std::clamp(Nearest((hlsValue * 255.0 + 120) / 240), 0, 255); }

int HexPair(const std::string& hex, size_t pos) { return std::stoi(hex.substr(pos, 2), nullptr, 16); }

}  // namespace

Color InverseColor(Color c) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%06X", static_cast<unsigned>(c));
  const std::string hex = buf;
  const int red = HexPair(hex, hex.size() - 2);
  const int green = HexPair(hex, 2);
  const int blue = HexPair(hex, 0);
  return static_cast<Color>((255 - red) + 256 * (255 - green) + 65536 * (255 - blue));
}

Hls ColorToHLS(Color c) {
  const double r = static_cast<double>(Red(c)), g = static_cast<double>(Green(c)), b = static_cast<double>(Blue(c));
  const double mx = std::max({r, g, b}), mn = std::min({r, g, b});
  const double sum = mx + mn, d = mx - mn;
  const double l = (sum * 240 + 255) / 510;
  double h = 160, s = 0;
  if (d != 0) {
    s = l <= 120 ? (d * 240 + 0.5) / sum : (d * 240 + 0.5) / (510 - sum);
    const double rd = ((mx - r) * 40 + 0.5) / d;
    const double gd = ((mx - g) * 40 + 0.5) / d;
    const double bd = ((mx - b) * 40 + 0.5) / d;
    if (r == mx) h = bd - gd;
    else if (g == mx) h = 80 + rd - bd;
    else h = 160 + gd - rd;
    if (h < 0) h += 240;
  }
  return {static_cast<int16_t>(Nearest(h)), static_cast<int16_t>(Nearest(s)), static_cast<int16_t>(Nearest(l))};
}

int HueToRGB(int n1, int n2, int hue) {
  double h = hue;
  if (h < 0) h += 240;
  else if (h > 240) h -= 240;
  if (h < 40) return Nearest(n1 + ((n2 - n1) * h + 20) / 40);
  if (h < 120) return n2;
  if (h < 160) return Nearest(n1 + ((n2 - n1) * (160 - h) + 20) / 40);
  return n1;
}

Color HLSToColor(Hls hls) {
  const double s = hls.saturation, l = hls.luminance;
  int r, g, b;
  if (s == 0) {
    r = g = b = Nearest(l * 255 / 240);
  } else {
    const int m2 = l <= 120 ? Nearest((l * (240 + s) + 120) / 240) : Nearest(l + s - (l * s + 120) / 240);
    const int m1 = static_cast<int>(2 * l) - m2;
    const int hue = hls.hue;
    r = Component(HueToRGB(m1, m2, hue + 80));
    g = Component(HueToRGB(m1, m2, hue));
    b = Component(HueToRGB(m1, m2, hue - 80));
  }
  return static_cast<Color>(r + 256 * g + 65536 * b);
}

Color LightenColor(Color c, float f) {
  if (!(f > 0)) return c;
  Hls hls = ColorToHLS(c);
  hls.luminance = static_cast<int16_t>(std::min(Nearest(hls.luminance + static_cast<double>(f) * 240), 240));
  return HLSToColor(hls);
}

Color DarkenColor(Color c, float f) {
  if (!(f > 0)) return c;
  Hls hls = ColorToHLS(c);
  const double l = hls.luminance;
  hls.luminance = static_cast<int16_t>(std::max(Nearest(l - l * static_cast<double>(f)), 0));
  return HLSToColor(hls);
}

}  // namespace iv::aolbutton
