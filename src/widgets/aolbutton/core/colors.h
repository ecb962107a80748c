// Colour arithmetic of the custom button: inverse colours and the 0..240 HLS
// model used to derive lighter and darker shades.
#pragma once
#include <cstdint>

namespace iv::aolbutton {

// Red in the low byte; a value with the top bit set names a system colour.
using Color = uint32_t;

struct Hls {
  int16_t hue = 0, saturation = 0, luminance = 0;
};

Color InverseColor(Color c);
Hls ColorToHLS(Color c);
Color HLSToColor(Hls hls);
int HueToRGB(int n1, int n2, int hue);
// Adds a share of the full luminance scale; f <= 0 leaves the colour as it is.
Color LightenColor(Color c, float f);
// Removes a share of the colour's own luminance; f <= 0 leaves it as it is.
Color DarkenColor(Color c, float f);

}  // namespace iv::aolbutton
