#include "fader/core/fader.h"

#include <gtest/gtest.h>

namespace iv::fader {
namespace {

std::string T(const char* rrggbb) { return std::string("<font color=#") + rrggbb + ">"; }

size_t Count(const std::string& s, const std::string& what) {
  size_t n = 0;
  for (size_t p = s.find(what); p != std::string::npos; p = s.find(what, p + 1)) ++n;
  return n;
}

const std::vector<Color> kBlackWhite{0x000000, 0xFFFFFF};

}  // namespace

TEST(FadeText, TagsEachCharacterWithItsPlaceInTheFade) {
  const std::vector<Color> flat{0xFFFFFF, 0xFFFFFF};
  const std::string w = T("FFFFFF");
  struct Case {
    std::string text;
    std::vector<Color> colors;
    int step;
    std::string expected;
  } cases[] = {
      // Rounding halves to even.
      {"abcd", kBlackWhite, 1, T("404040") + "a" + T("808080") + "b" + T("BFBFBF") + "c" + w + "d"},
      // Five characters over three colours: segments of 3 and 2.
      {"abcde", {0x000000, 0xFFFFFF, 0x000000}, 1,
       T("555555") + "a" + T("AAAAAA") + "b" + w + "c" + T("808080") + "d" + T("000000") + "e"},
      // More segments than characters: the trailing segments stay empty.
      {"a", {0x000000, 0xFFFFFF, 0x0000FF}, 1, w + "a"},
      // Red is in the low byte and written first.
      {"x", {0x0000FF, 0x0000FF}, 1, T("FF0000") + "x"},
      {"x", {0xFF0000, 0xFF0000}, 1, T("0000FF") + "x"},
      // Degenerate inputs give empty text.
      {"abc", {0x123456}, 1, ""},
      {"abc", {}, 1, ""},
      {"", kBlackWhite, 1, ""},
      // HTML characters are copied as they are; multi-byte characters stay whole.
      {"<&>", flat, 1, w + "<" + w + "&" + w + ">"},
      {"\xC3\xA9\xE2\x82\xAC", kBlackWhite, 1, T("808080") + "\xC3\xA9" + w + "\xE2\x82\xAC"},
      // Two- and four-byte characters (the first of four); a lead byte without its tail is read as Latin-1.
      {"\xD0\x96\xF0\x90\x80\x80\xC3(", kBlackWhite, 1,
       T("404040") + "\xD0\x96" + T("808080") + "\xF0\x90\x80\x80" + T("BFBFBF") + "\xC3\x83" + w + "("},
      // Smileys keep the colour of their first character.
      {":)", flat, 1, w + ":)"},
      {":-)", flat, 1, w + ":-)"},
      {"8-)", flat, 1, w + "8-)"},
      {">:o", flat, 1, w + ">:o"},
      {"a:(b", flat, 1, w + "a" + w + ":(" + w + "b"},
      {"O:-)", flat, 1, w + "O" + w + ":-)"},  // the tail is found as ":-)"
      {":):)", flat, 1, w + ":)" + w + ":)"},  // not found twice once taken from the window
      // A ">" after a tag is not taken for the end of the tag.
      {"a>:o", flat, 2, w + "a" + w + ">:o"},
      {">:o", flat, 3, w + ">:o"},
  };
  for (const Case& c : cases) EXPECT_EQ(FadeText(c.text, c.colors, c.step), c.expected) << c.text << " " << c.step;
}

TEST(FadeText, StepPlacesTagsAcrossTheWholeText) {
  const std::string out = FadeText("abcdefghij", {0x000000, 0xFFFFFF, 0x000000}, 3);
  EXPECT_EQ(Count(out, "<font"), 4u);
  for (char tagged : std::string("acfi")) EXPECT_NE(out.find(std::string(">") + tagged), std::string::npos) << tagged;
  for (char plain : std::string("bdegh")) EXPECT_EQ(out.find(std::string(">") + plain), std::string::npos) << plain;
  // Step 0 or below tags every character like step 1.
  EXPECT_EQ(Count(FadeText("abcdef", kBlackWhite, 0), "<font"), 6u);
}

TEST(Smileys, HasSmileyRemovesEveryOccurrenceOfTheFirstMatch) {
  std::u32string w = U"x:)";
  EXPECT_TRUE(HasSmiley(w));
  EXPECT_EQ(w, U"x");
  w = U":-\\";
  EXPECT_TRUE(HasSmiley(w));
  EXPECT_EQ(w, U"");
  w = U"abc";
  EXPECT_FALSE(HasSmiley(w));
  EXPECT_EQ(w, U"abc");
  w = U":-p";  // case matters
  EXPECT_FALSE(HasSmiley(w));
}

TEST(Smileys, UnsplitSmileyNarrowsToTheTwoCharacterSmiley) {
  const std::u32string tag = U"<font color=#119933>";
  EXPECT_EQ(UnsplitSmiley(tag + U"x" + tag + U":" + tag + U")", U"x:)"), tag + U"x" + tag + U":)");
  // No tag before the last characters: nothing to remove.
  EXPECT_EQ(UnsplitSmiley(tag + U":-)", U":-)"), tag + U":-)");
  EXPECT_EQ(UnsplitSmiley(tag + U"x", U":)"), tag + U"x");  // the output does not end with the smiley
  EXPECT_EQ(UnsplitSmiley(U"<font color=@119933>)", U":)"), U"<font color=@119933>)");  // shaped like a tag
}

TEST(Colors, HexAndComponents) {
  EXPECT_EQ(HexColor6(0), "000000");
  EXPECT_EQ(HexColor6(0xABC), "000ABC");
  EXPECT_EQ(HexColor6(static_cast<Color>(0x8000000Du)), "8000000D");
  uint8_t r, g, b;
  ColorToRGB(0x123456, r, g, b);
  EXPECT_EQ(r, 0x56);
  EXPECT_EQ(g, 0x34);
  EXPECT_EQ(b, 0x12);
  ColorToRGB(static_cast<Color>(0x8000000Du), r, g, b);
  EXPECT_EQ(r, 0x0D);
  EXPECT_EQ(g, 0x00);
  EXPECT_EQ(b, 0x80);
  EXPECT_EQ(HtmlToColor("FF0000"), 0x0000FF);
  EXPECT_EQ(HtmlToColor("0000ff"), 0xFF0000);
  EXPECT_EQ(HtmlToColor("12zz56"), 0x560012);
  EXPECT_EQ(HtmlToColor("129456"), 0x569412);
  EXPECT_EQ(HtmlToColor(""), 0);
}

TEST(AdColors, HundredAndOneEntriesThroughBlueAndRed) {
  const std::vector<Color> c = BuildAdColors();
  ASSERT_EQ(c.size(), 101u);
  EXPECT_EQ(c[0], 0);
  EXPECT_EQ(c[1], 10 * 65536);  // 255 / 25 = 10.2
  EXPECT_EQ(c[25], 0xFF0000);
  EXPECT_EQ(c[50], 0);
  EXPECT_EQ(c[75], 0x0000FF);
  EXPECT_EQ(c[100], 0);
}

TEST(AdColors, CycleShowsEveryEntryButTheFirstThenRestsOneTick) {
  AdCycle cycle(BuildAdColors());
  const std::vector<Color> c = BuildAdColors();
  for (int i = 1; i <= 100; ++i) EXPECT_EQ(cycle.Tick(), c[i]) << i;
  EXPECT_EQ(cycle.Tick(), std::nullopt);
  EXPECT_EQ(cycle.counter(), 0);
  EXPECT_EQ(cycle.Tick(), c[1]);
}

}  // namespace iv::fader
