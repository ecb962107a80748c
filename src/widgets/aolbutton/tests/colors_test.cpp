#include "widgets/aolbutton/core/colors.h"

#include <gtest/gtest.h>

namespace iv::aolbutton {

TEST(InverseColor, InvertsEachComponent) {
  EXPECT_EQ(InverseColor(0x000000), 0xFFFFFFu);
  EXPECT_EQ(InverseColor(0xAA6D01), 0x5592FEu);
  // A system colour is split by the positions of its last six hex digits.
  EXPECT_EQ(InverseColor(0x8000000D), (255u - 0x0D) + 256u * 255 + 65536u * (255 - 0x80));
}

TEST(Hls, GreyHasNoSaturationAndHue160) {
  for (Color grey : {0x000000u, 0x7F7F7Fu, 0xFFFFFFu}) {
    const Hls hls = ColorToHLS(grey);
    EXPECT_EQ(hls.saturation, 0);
    EXPECT_EQ(hls.hue, 160);
  }
  EXPECT_EQ(ColorToHLS(0xFFFFFF).luminance, 240);
  EXPECT_EQ(ColorToHLS(0x7F7F7F).luminance, 120);
}

TEST(Hls, PureColoursAndRoundTrip) {
  const Hls red = ColorToHLS(0x0000FF);
  EXPECT_EQ(red.hue, 0);
  EXPECT_EQ(red.saturation, 240);
  EXPECT_EQ(red.luminance, 120);
  EXPECT_EQ(ColorToHLS(0x00FF00).hue, 80);
  EXPECT_EQ(ColorToHLS(0xFF0000).hue, 160);
  EXPECT_EQ(ColorToHLS(0xFF00FF).hue, 200);  // magenta: below 0 before it wraps
  EXPECT_EQ(ColorToHLS(0x0000FC).saturation, 240);  // a shade darker than red is as saturated
  for (Color c : {0x0000FFu, 0x00FF00u, 0xFF0000u, 0xFF00FFu, 0xFFFFFFu, 0x000000u})
    EXPECT_EQ(HLSToColor(ColorToHLS(c)), c);
  EXPECT_EQ(HueToRGB(0, 240, -10), 0);  // wraps to 230: n1
  EXPECT_EQ(HueToRGB(0, 240, 20), 120);
  EXPECT_EQ(HueToRGB(0, 240, 250), 60);  // wraps to 10
}

TEST(Hls, EdgesOfTheHueCycleRoundTheSameWay) {
  EXPECT_EQ(HueToRGB(1, 241, 0), 2);  // hue 0 starts the rising edge, it does not end the cycle
  EXPECT_EQ(HueToRGB(1, 241, 240), 1);  // and hue 240 ends it, it does not start it again
  EXPECT_EQ(HueToRGB(0, 10, 1), 1);   // (10 + 20) / 40 rounds up
  EXPECT_EQ(HueToRGB(0, 40, 159), 2);  // (40 + 20) / 40 = 1.5, to even
  EXPECT_EQ(HueToRGB(0, 41, 40), 41);     // the plateau starts at 40
  EXPECT_EQ(HueToRGB(0, 240, 119), 240);  // and ends below 120,
  EXPECT_EQ(HueToRGB(0, 41, 120), 42);    // where the falling edge starts: 41.5, to even
  // Luminance 120 takes the lower formula, 121 the upper one.
  EXPECT_EQ(HLSToColor({0, 2, 120}), 0x7E7E82u);
  EXPECT_EQ(HLSToColor({0, 240, 121}), 0x0303FFu);
}

TEST(Hls, ShadesOfAMixedColourKeepItsHue) {
  EXPECT_EQ(DarkenColor(0x996633, 0.35f), 0x644220u);
  EXPECT_EQ(LightenColor(0x996633, 0.2f), 0xCC9A66u);
}

TEST(Hls, LightenAddsAShareOfTheFullScale) {
  // Grey 0x808080 has luminance 121; 0.25 adds 60.
  EXPECT_EQ(ColorToHLS(0x808080).luminance, 121);
  EXPECT_EQ(LightenColor(0x808080, 0.25f), 0xC0C0C0u);
  EXPECT_EQ(ColorToHLS(0xC0C0C0).luminance, 181);
  EXPECT_EQ(LightenColor(0xE0E0E0, 0.25f), 0xFFFFFFu);  // capped at 240
  EXPECT_EQ(LightenColor(0x123456, 0), 0x123456u);
  EXPECT_EQ(LightenColor(0x123456, -0.5f), 0x123456u);
}

TEST(Hls, DarkenRemovesAShareOfTheOwnLuminance) {
  // Luminance 120 with 0.35 gives 78, drawn as grey 83.
  EXPECT_EQ(DarkenColor(0x7F7F7F, 0.35f), 0x535353u);
  // Luminance 10: the single-precision 0.35 leaves 6.50000006, which rounds up to 7.
  EXPECT_EQ(ColorToHLS(0x0A0A0A).luminance, 10);
  EXPECT_EQ(DarkenColor(0x0A0A0A, 0.35f), 0x070707u);
  EXPECT_EQ(DarkenColor(0x123456, 0), 0x123456u);
}

}  // namespace iv::aolbutton
