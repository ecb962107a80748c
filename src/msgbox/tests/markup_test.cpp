#include "msgbox/core/markup.h"

#include <gtest/gtest.h>

#include <string>

#include "msgbox/tests/fake_measurer.h"

namespace iv::msgbox {
namespace {

Layout Lay(std::string_view text, int margin = kMarginWithoutIcon, int iconBottom = 0) {
  testing::FakeMeasurer m;
  AreaGeometry area;
  area.leftMargin = margin;
  area.iconBottom = iconBottom;
  return LayoutMessage(text, area, m);
}

std::string Drawn(const Layout& l) {
  std::string s;
  int line = 0;
  for (const TextRun& r : l.runs) {
    for (; line < r.line; ++line) s += '|';
    s += r.text;
  }
  return s;
}

std::string W(int n) { return std::string(n, 'W'); }

TEST(HexToRGB, ReadsPairsAsLeadingHexNumbers) {
  EXPECT_EQ(HexToRGB("3E9CEA"), 0xEA9C3Eu);
  EXPECT_EQ(HexToRGB("3e9cea"), 0xEA9C3Eu);
  EXPECT_EQ(HexToRGB("3E9CEA77"), 0xEA9C3Eu);  // digits past six are not read
  EXPECT_EQ(HexToRGB("0A0B0C"), 0x0C0B0Au);
  EXPECT_EQ(HexToRGB("GG0000"), 0u);
  EXPECT_EQ(HexToRGB("1Z0000"), 1u);
  EXPECT_EQ(HexToRGB("00FF00"), 0x00FF00u);
  // Short texts: first two, third and fourth, last two of what there is.
  EXPECT_EQ(HexToRGB("3E9"), 0xE9093Eu);
  EXPECT_EQ(HexToRGB("ff"), 0xFF00FFu);
  EXPECT_EQ(HexToRGB(""), 0u);
}

TEST(Markup, CodesToggleInEitherCase) {
  const Layout l = Lay("~B~IA~b~i~UB~uC");
  ASSERT_EQ(l.runs.size(), 3u);
  EXPECT_EQ(l.runs[0].text, "A");
  EXPECT_EQ(l.runs[0].font, (FontFlags{true, true, false}));
  EXPECT_EQ(l.runs[1].font, (FontFlags{false, false, true}));
  EXPECT_EQ(l.runs[2].font, FontFlags{});

  // A run starts where the one before it on the line ends.
  EXPECT_EQ(l.runs[1].x, l.runs[0].x + l.runs[0].width);

  const Layout twice = Lay("~b~bA");
  ASSERT_EQ(twice.runs.size(), 1u);
  EXPECT_FALSE(twice.runs[0].font.bold);
}

TEST(Markup, ColourCodeTakesNineCharactersAndPersists) {
  const Layout l = Lay("~C#3e9ceaAb~n~c#1Z0000c ~c#GG00FFd");
  ASSERT_EQ(l.runs.size(), 3u);
  EXPECT_EQ(l.runs[0].text, "Ab");
  EXPECT_EQ(l.runs[0].colour, 0xEA9C3Eu);
  EXPECT_EQ(l.runs[1].text, "c ");
  EXPECT_EQ(l.runs[1].colour, 1u);
  EXPECT_EQ(l.runs[2].colour, 0xFF0000u);
}

TEST(Markup, UnknownCodeOrFinalTildeEndsTheDrawing) {
  EXPECT_EQ(Drawn(Lay("ab~xcd~nef")), "ab");
  EXPECT_EQ(Drawn(Lay("ab~~cd")), "ab");
  EXPECT_EQ(Drawn(Lay("abc~")), "abc");
  EXPECT_EQ(Drawn(Lay("~")), "");
  EXPECT_EQ(Lay("ab~x~n~n").height, kAreaHeight);
  // A colour code cut short by the end of the text draws nothing more.
  EXPECT_EQ(Drawn(Lay("ab~c#12")), "ab");
}

TEST(Markup, LineBreaksGrowTheAreaAndRestartAtTheMargin) {
  const Layout l = Lay("a~nb~N c\r\nd\n\ne", kMarginWithIcon);
  EXPECT_EQ(Drawn(l), "a|b| c|d||e");
  EXPECT_EQ(l.height, kAreaHeight + 5 * kLineGrowth);
  for (const TextRun& r : l.runs) {
    EXPECT_EQ(r.x, kMarginWithIcon);
    EXPECT_EQ(r.y, kTopY + 225 * r.line);
  }
  EXPECT_EQ(Lay("x").runs[0].x, kMarginWithoutIcon);
}

TEST(Markup, OneLineKeepsTheInitialHeightUnlessTheIconIsTaller) {
  EXPECT_EQ(Lay("Hello there", kMarginWithIcon, 60 + 480).height, 540);
  EXPECT_EQ(Lay("Hello", kMarginWithIcon, 600).height, 630);
  testing::FakeMeasurer m;
  AreaGeometry tall;
  tall.height = 700;
  EXPECT_EQ(LayoutMessage("Hello", tall, m).height, 700);
}

// At the space the line is 90 + 40 * 100 + 50 = 4140 twips wide; the next word and its
// space must stay below 5355 - 30 = 5325.
TEST(Wrap, WordReachingWithin30TwipsOfTheEdgeMovesDown) {
  const std::string first = W(40) + " ";
  const Layout fits = Lay(first + W(11) + "iii" + "jjjj");  // reaches 5324
  EXPECT_EQ(Drawn(fits), first + W(11) + "iiijjjj");
  EXPECT_EQ(fits.height, kAreaHeight);

  const Layout moves = Lay(first + W(11) + "iii" + "jjjjj");  // reaches 5325
  EXPECT_EQ(Drawn(moves), W(40) + "|" + W(11) + "iiijjjjj");  // the space is not drawn
  EXPECT_EQ(moves.height, kAreaHeight + kLineGrowth);
  EXPECT_EQ(moves.runs[1].x, kMarginWithoutIcon);
  EXPECT_EQ(moves.runs[1].y, kTopY + 225);
}

TEST(Wrap, LookAheadSkipsCodesAndUsesTheFontAtTheSpace) {
  // Measured without the codes, the word ends at 5320 and fits.
  EXPECT_EQ(Lay(W(40) + " ~b~iW" + W(10) + "iii").height, kAreaHeight);
  EXPECT_EQ(Lay(W(40) + " ~u" + W(11) + "iiijjjjj").height, kAreaHeight + kLineGrowth);  // reaches 5325
  // A line break ends the word: the next line's text is not counted with it.
  EXPECT_EQ(Lay(W(40) + " " + W(11) + "~n" + W(20)).height, kAreaHeight + kLineGrowth);
  EXPECT_EQ(Lay(W(40) + " " + W(11) + "\r\n" + W(20)).height, kAreaHeight + kLineGrowth);
  // Bold at the space measures every character 20 twips wider.
  EXPECT_EQ(Lay("~b" + W(33) + " " + W(10)).height, kAreaHeight + kLineGrowth);
}

TEST(Wrap, LongWordIsNeverBrokenAndOtherSpacesAreDrawn) {
  const Layout alone = Lay(W(80));
  EXPECT_EQ(alone.runs.size(), 1u);
  EXPECT_EQ(alone.height, kAreaHeight);

  const Layout after = Lay("ab " + W(80) + "  c");
  EXPECT_EQ(Drawn(after), "ab|" + W(80) + "| c");  // only the space at the break is dropped
  EXPECT_EQ(after.height, kAreaHeight + 2 * kLineGrowth);

  EXPECT_EQ(Drawn(Lay("a  b~n c")), "a  b| c");
}

TEST(Wrap, LongMessageWrapsLineByLine) {
  std::string text;
  for (int i = 0; i < 30; ++i) text += "WWWWWWWWW ";  // ten words of 950 twips: five per line
  const Layout l = Lay(text);
  EXPECT_EQ(l.height, kAreaHeight + 5 * kLineGrowth);
  for (const TextRun& r : l.runs) EXPECT_LT(r.x + r.width, kAreaWidth);
}

TEST(PlainText, ABrokenUtf8SequenceIsOneReplacementCharacter) {
  // A lead byte whose next byte is no continuation: only the lead byte is replaced.
  EXPECT_EQ(PlainText("\xC3\x28"), "\xEF\xBF\xBD(");
  EXPECT_EQ(PlainText("caf\xC3\xA9"), "caf\xC3\xA9");
}

TEST(PlainText, DropsCodesAndStopsWhereTheDrawingStops) {
  EXPECT_EQ(PlainText("~bExit Iconvane?~b~nAre you sure you want to exit Iconvane?"),
            "Exit Iconvane?\nAre you sure you want to exit Iconvane?");
  EXPECT_EQ(PlainText("~b~c#3E9CEAConfirm~B ~C#000000it~N~U?~u"), "Confirm it\n?");
  EXPECT_EQ(PlainText("ab~zcd"), "ab");
  EXPECT_EQ(PlainText("ab~"), "ab");
  EXPECT_EQ(PlainText("a~c#12"), "a");
}

TEST(Markup, CharactersOutsideAsciiAreSingleCharacters) {
  const Layout l = Lay("\xC3\xA9~b\xC3\xBC\xFF");
  ASSERT_EQ(l.runs.size(), 2u);
  EXPECT_EQ(l.runs[0].text, "\xC3\xA9");
  EXPECT_EQ(l.runs[0].width, 100);
  EXPECT_EQ(l.runs[1].text, "\xC3\xBC\xEF\xBF\xBD");  // the stray byte becomes U+FFFD
  EXPECT_EQ(PlainText("\xC3\xA9~n"), "\xC3\xA9\n");
  EXPECT_EQ(PlainText("\xF0\x90\x80\x80\xF0\x9F\x98\x80"), "\xF0\x90\x80\x80\xF0\x9F\x98\x80");
  EXPECT_EQ(PlainText("\xC0\xAF"), "\xEF\xBF\xBD\xEF\xBF\xBD");  // an overlong "/" is no character
  // The first and last characters of each length, and some with every lead bit used.
  const std::string_view each = "\xC2\x80\xD0\x96\xDF\xBF\xE0\xA0\x80\xEA\xB0\x80\xF0\x90\x80\x80\xF4\x8F\xBF\xBF";
  EXPECT_EQ(PlainText(each), each);
  // Surrogates, a stray continuation byte and a sequence cut by the end of the view: each byte is U+FFFD.
  EXPECT_EQ(PlainText("\xED\xA0\x80\xED\xBF\xBF\x80").size(), 7 * 3u);
  EXPECT_EQ(PlainText(std::string_view("\xE2\x82\xAC", 2)), "\xEF\xBF\xBD\xEF\xBF\xBD");
}

}  // namespace
}  // namespace iv::msgbox
