// Deterministic random messages through the layout: under the sanitizers this finds
// out-of-range reads, and the checks hold for any input.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "msgbox/core/markup.h"
#include "msgbox/tests/fake_measurer.h"

namespace iv::msgbox {
namespace {

std::string RandomMessage(std::mt19937& rng) {
  static const std::string pieces[] = {"~", "b", "B", "i", "u", "c", "C", "n", "N", "#", "3E", "9c", "G", "Z",
                                       " ", "  ", "W", "word", "\r", "\n", "\xC3\xA9", "\xFF", "\xE2\x82", "x"};
  std::uniform_int_distribution<size_t> pick(0, std::size(pieces) - 1);
  std::uniform_int_distribution<int> length(0, 120);
  std::string s;
  for (int n = length(rng); n > 0; --n) s += pieces[pick(rng)];
  return s;
}

TEST(LayoutRandom, AnyMessageLaysOutWithinItsRules) {
  std::mt19937 rng(20261206);
  std::uniform_int_distribution<int> width(-100, 6000);
  for (int round = 0; round < 20000; ++round) {
    const std::string text = RandomMessage(rng);
    testing::FakeMeasurer m;
    AreaGeometry area;
    area.leftMargin = round % 2 ? kMarginWithIcon : kMarginWithoutIcon;
    area.width = width(rng);
    const Layout l = LayoutMessage(text, area, m);

    ASSERT_GE(l.height, kAreaHeight) << text;
    ASSERT_EQ((l.height - kAreaHeight) % kLineGrowth, 0) << text;
    const int lines = (l.height - kAreaHeight) / kLineGrowth + 1;
    size_t drawnBytes = 0;
    for (const TextRun& r : l.runs) {
      ASSERT_LT(r.line, lines) << text;
      ASSERT_GE(r.x, area.leftMargin) << text;
      ASSERT_FALSE(r.text.empty());
      drawnBytes += r.text.size();
    }
    // Each character is measured at most three times (drawing, and two look-aheads).
    ASSERT_LE(m.calls, 3 * static_cast<long>(text.size()) + 3) << text;
    ASSERT_LE(PlainText(text).size(), text.size() * 3);
    ASSERT_LE(drawnBytes, text.size() * 3 + 1);
  }
}

}  // namespace
}  // namespace iv::msgbox
